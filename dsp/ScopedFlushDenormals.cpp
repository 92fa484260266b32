#include "ScopedFlushDenormals.h"

#if defined (__SSE__) || defined (__x86_64__) || defined (_M_X64)
 #include <xmmintrin.h>

namespace
{
    constexpr unsigned int flushToZero = 0x8000;      // MXCSR.FTZ
    constexpr unsigned int denormalsAreZero = 0x0040; // MXCSR.DAZ
}

ScopedFlushDenormals::ScopedFlushDenormals() noexcept
    : previousMode (_mm_getcsr())
{
    _mm_setcsr (previousMode | flushToZero | denormalsAreZero);
}

ScopedFlushDenormals::~ScopedFlushDenormals() noexcept
{
    _mm_setcsr (previousMode);
}

#else

ScopedFlushDenormals::ScopedFlushDenormals() noexcept = default;
ScopedFlushDenormals::~ScopedFlushDenormals() noexcept = default;

#endif
