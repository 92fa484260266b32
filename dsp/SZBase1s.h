#pragma once

#include "SZBaseOrder.h"

/** Bilinear-transform filter of order 1, for one channel or a left/right pair. */
class SZBase1s : public SZBaseOrder<1>
{
public:
    /** Creates a silent filter with cleared states. */
    SZBase1s() noexcept;
    ~SZBase1s() override;
};
