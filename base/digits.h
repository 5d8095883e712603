#pragma once

#include <cstdint>

// The tables that numbers are written with by integer arithmetic.
namespace tovrik {

// 10^0 to 10^19, every power of ten a 64-bit integer holds.
inline constexpr std::uint64_t powersOfTen[] = {1ull,
                                                10ull,
                                                100ull,
                                                1000ull,
                                                10000ull,
                                                100000ull,
                                                1000000ull,
                                                10000000ull,
                                                100000000ull,
                                                1000000000ull,
                                                10000000000ull,
                                                100000000000ull,
                                                1000000000000ull,
                                                10000000000000ull,
                                                100000000000000ull,
                                                1000000000000000ull,
                                                10000000000000000ull,
                                                100000000000000000ull,
                                                1000000000000000000ull,
                                                10000000000000000000ull};

// 10^0 to 10^22, every power of ten a double holds exactly.
inline constexpr double exactPowersOfTen[]
    = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// "00" to "99": two digits at a time, pair n at 2n.
inline constexpr char digitPairs[]
    = "00010203040506070809101112131415161718192021222324252627282930"
      "31323334353637383940414243444546474849505152535455565758596061"
      "62636465666768697071727374757677787980818283848586878889909192"
      "93949596979899";

// The eight decimal digits of n < 10^8, leading zeros included, as the bytes of a
// little-endian word from the first digit up, each digit's value (not yet its ASCII): n splits
// into two halves of four digits, each into two pairs and each pair into two digits, side by
// side in one word, the divisions by 100 and 10 done as multiplications exact in that range.
inline std::uint64_t eightDigits(std::uint32_t n)
{
    const std::uint64_t halves = n / 10000 | std::uint64_t(n % 10000) << 32;
    const std::uint64_t high = (halves * 10486 >> 20) & 0x0000007F'0000007Full; // / 100
    const std::uint64_t pairs = high | (halves - high * 100) << 16;
    const std::uint64_t tens = (pairs * 103 >> 10) & 0x000F000F'000F000Full; // / 10
    return tens | (pairs - tens * 10) << 8;
}

// The two digits of pair < 100 at out.
inline void writePair(char *out, std::uint64_t pair)
{
    out[0] = digitPairs[2 * pair];
    out[1] = digitPairs[2 * pair + 1];
}

// n < 100 as one or two digits at out, which has room for two: the pair, its leading zero
// skipped, with no branch on the count. Returns the end.
inline char *writeUpTo99(char *out, unsigned n)
{
    const bool two = n >= 10;
    out[0] = digitPairs[2 * n + (two ? 0 : 1)];
    out[1] = digitPairs[2 * n + 1];
    return out + 1 + (two ? 1 : 0);
}

} // namespace tovrik
