#pragma once

#include <cstdint>
#include <cstring>

/** Raw IEEE-754 bits of a float, for checks of exact constants and results. */
inline std::uint32_t bitsOf (float value)
{
    std::uint32_t bits;
    std::memcpy (&bits, &value, sizeof bits);
    return bits;
}

/** Raw IEEE-754 bits of a double. */
inline std::uint64_t bitsOf (double value)
{
    std::uint64_t bits;
    std::memcpy (&bits, &value, sizeof bits);
    return bits;
}
