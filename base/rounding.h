#pragma once

#include "base/check.h"
#include "base/digits.h"

#include <cmath>
#include <cstdint>

namespace tovrik {

// value * 10^power rounded to the nearest integer by one multiplication, for value >= 0 and
// 10^power exact (power 0 to 22). Rounding is monotonic, so the product t lies on the same side
// of every half-integer as the exact product does, or on it, which a tie and a product within
// half an ulp of one do; those the product's rounding error, exact by a fused multiply-add,
// settles. False for a true tie, whose rounding (half to even) is the library's, and from 2^52
// up, where half-integers are no longer doubles: the caller then asks the library.
inline bool roundScaled(double value, int power, std::uint64_t &rounded)
{
    TOVRIK_ASSERT(value >= 0.0 && power >= 0 && power <= 22, "a magnitude and an exact power");
    const double scale = exactPowersOfTen[power];
    const double t = value * scale;
    if (!(t < 0x1p52))
        return false;
    // Through a signed integer, which the processor converts in one instruction both ways.
    const auto whole = static_cast<std::int64_t>(t);
    const double fraction = t - static_cast<double>(whole); // exact
    rounded = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    if (fraction == 0.5) [[unlikely]] {
        // A product on a half: one in twenty of fifteen digits, and every true tie.
        const double error = std::fma(value, scale, -t);
        if (error == 0.0)
            return false;
        rounded += error > 0.0 ? 1 : 0;
    }
    return true;
}

} // namespace tovrik
