#pragma once

#include "SZBaseOrder.h"

/** Bilinear-transform filter of order 2, for one channel or a left/right pair. */
class SZBase2s : public SZBaseOrder<2>
{
public:
    /** Creates a silent filter with cleared states. */
    SZBase2s() noexcept;
    ~SZBase2s() override;
};
