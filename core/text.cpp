#include "core/text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tovrik {

namespace {

constexpr std::uint64_t powersOfTen[] = {1ull,
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

// |value| * 10^decimals rounded to the nearest integer by exact integer arithmetic: the double
// is m * 2^e2 exactly, so the product is an exact 128-bit number and so is its rounding. Leaves
// to the library a tie (whose rounding direction is the library's), zero, values too small or
// too large for 64 bits, and more decimals than the table holds.
bool scaledMagnitude(double value, int decimals, std::uint64_t &scaled)
{
    __extension__ typedef unsigned __int128 u128; // GCC and Clang both have it
    if (decimals < 0 || decimals >= int(std::size(powersOfTen)))
        return false;
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    if (biased == 0)
        return false;
    const std::uint64_t m = (bits & ((std::uint64_t(1) << 52) - 1)) | (std::uint64_t(1) << 52);
    const int e2 = biased - 1075;
    u128 q;
    if (e2 >= 0) {
        if (e2 > 11)
            return false;
        q = (u128(m) << e2) * powersOfTen[decimals];
    } else {
        const int shift = -e2;
        if (shift > 120)
            return false;
        const u128 n = u128(m) * powersOfTen[decimals]; // below 2^117
        q = n >> shift;
        const u128 rest = n - (q << shift);
        const u128 half = u128(1) << (shift - 1);
        if (rest == half)
            return false;
        if (rest > half)
            ++q;
    }
    if (q >> 64)
        return false;
    scaled = static_cast<std::uint64_t>(q);
    return true;
}

// The scaled integer as digits with a decimal point before the last Decimals of them; the
// divisions by constants become multiplications.
template<int Decimals>
char *writeScaled(char *out, std::uint64_t scaled)
{
    char digits[20];
    char *end = digits + sizeof digits;
    char *p = end;
    for (int i = 0; i < Decimals; ++i) {
        *--p = static_cast<char>('0' + scaled % 10);
        scaled /= 10;
    }
    do {
        *--p = static_cast<char>('0' + scaled % 10);
        scaled /= 10;
    } while (scaled != 0);
    const std::ptrdiff_t whole = end - p - Decimals;
    std::memcpy(out, p, static_cast<std::size_t>(whole));
    out += whole;
    if constexpr (Decimals > 0) {
        *out++ = '.';
        std::memcpy(out, end - Decimals, Decimals);
        out += Decimals;
    }
    return out;
}

char *writeScaled(char *out, std::uint64_t scaled, int decimals)
{
    switch (decimals) {
    case 0: return writeScaled<0>(out, scaled);
    case 1: return writeScaled<1>(out, scaled);
    case 2: return writeScaled<2>(out, scaled);
    case 3: return writeScaled<3>(out, scaled);
    case 4: return writeScaled<4>(out, scaled);
    case 5: return writeScaled<5>(out, scaled);
    case 6: return writeScaled<6>(out, scaled);
    default: break;
    }
    const std::uint64_t unit = powersOfTen[decimals];
    out = std::to_chars(out, out + 20, scaled / unit).ptr;
    *out++ = '.';
    std::uint64_t fraction = scaled % unit;
    for (int i = decimals; i > 0; --i) {
        out[i - 1] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    return out + decimals;
}

} // namespace

char *writeFixed(char *first, char *last, double value, int decimals)
{
    if (!std::isfinite(value))
        return first;
    // The common case without the library's arbitrary-precision path: a sign, 20 digits, the
    // point and the decimals fit.
    std::uint64_t scaled;
    if (last - first >= 2 + 20 + decimals && std::fabs(value) < 1e15
        && scaledMagnitude(std::fabs(value), decimals, scaled)) {
        if (std::signbit(value))
            *first++ = '-';
        return writeScaled(first, scaled, decimals);
    }
    // Past 15 digits a fixed point only pads the figure with digits it does not have.
    const std::to_chars_result result = std::fabs(value) < 1e15
        ? std::to_chars(first, last, value, std::chars_format::fixed, decimals)
        : std::to_chars(first, last, value, std::chars_format::scientific, 2);
    return result.ec == std::errc() ? result.ptr : first;
}

void appendFixed(std::string &out, double value, int decimals)
{
    char buf[400]; // the largest double has 309 integer digits
    out.append(buf, writeFixed(buf, buf + sizeof buf, value, decimals));
}

void appendSignificant(std::string &out, double value, int figures)
{
    char buf[32];
    out.append(
        buf, std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, figures).ptr);
}

std::string shortestText(double value)
{
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

} // namespace tovrik
