#pragma once

#include "SZBaseOrder.h"

/** Bilinear-transform filter of order 4, for one channel or a left/right pair. */
class SZBase4s : public SZBaseOrder<4>
{
public:
    /** Creates a silent filter with cleared states. */
    SZBase4s() noexcept;
    ~SZBase4s() override;
};
