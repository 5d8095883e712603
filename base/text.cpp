#include "base/text.h"

#include "base/digits.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace tovrik {

namespace {

// |value| * 10^decimals rounded to the nearest integer, by one multiplication whose rounding
// cannot mislead: rounding is monotonic, so t = value * 10^d lies on the same side of every
// half-integer as the exact product does, or on it, which happens for a tie and for a product
// within half an ulp of one. Those are left to the exact library, whose rounding of a tie is
// printf's; so are products from 2^52 up, where half-integers are no longer doubles.
bool scaledMagnitude(double value, int decimals, std::uint64_t &scaled)
{
    if (decimals < 0 || decimals > 6)
        return false;
    const double t = value * exactPowersOfTen[decimals];
    if (!(t < 0x1p52))
        return false;
    // Through a signed integer, which the processor converts in one instruction: t < 2^52.
    const auto whole = static_cast<std::int64_t>(t);
    const double fraction = t - static_cast<double>(whole); // exact
    if (fraction == 0.5)
        return false;
    scaled = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    return true;
}

// The point and the Decimals digits of fraction, if any.
template<int Decimals>
char *writeFraction(char *out, std::uint64_t fraction)
{
    if constexpr (Decimals > 0) {
        *out++ = '.';
        char *q = out + Decimals;
        for (int i = Decimals; i >= 2; i -= 2, fraction /= 100) {
            q -= 2;
            writePair(q, fraction % 100);
        }
        if constexpr (Decimals % 2 == 1)
            q[-1] = static_cast<char>('0' + fraction);
        out += Decimals;
    }
    return out;
}

// The scaled integer as digits with a decimal point before the last Decimals of them, written
// in place two digits at a time; the divisions by constants become multiplications.
template<int Decimals>
char *writeScaled(char *out, std::uint64_t scaled)
{
    constexpr std::uint64_t unit = powersOfTen[Decimals];
    std::uint64_t whole = scaled / unit;
    if (whole < 100) // the usual figure, one or two digits before the point
        return writeFraction<Decimals>(writeUpTo99(out, static_cast<unsigned>(whole)),
                                       scaled % unit);
    // Its number of digits without a loop: log10(2) ~ 1233 / 4096 from the bit width gives the
    // count or one more, which the table settles.
    const int guess = (std::bit_width(whole | 1) * 1233) >> 12;
    const int digits = guess + ((whole | 1) >= powersOfTen[guess] ? 1 : 0);
    char *p = out + digits;
    for (; whole >= 100; whole /= 100) {
        p -= 2;
        writePair(p, whole % 100);
    }
    if (whole >= 10)
        writePair(p - 2, whole);
    else
        p[-1] = static_cast<char>('0' + whole);
    return writeFraction<Decimals>(out + digits, scaled % unit);
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
    default: return writeScaled<6>(out, scaled); // scaledMagnitude takes no more
    }
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

template<int Decimals>
char *writeFixed(char *out, double value)
{
    static_assert(Decimals >= 0 && Decimals <= 6, "what scaledMagnitude takes");
    std::uint64_t scaled;
    if (std::fabs(value) < 1e15 && scaledMagnitude(std::fabs(value), Decimals, scaled)) {
        if (std::signbit(value))
            *out++ = '-';
        return writeScaled<Decimals>(out, scaled);
    }
    return writeFixed(out, out + fixedRoom, value, Decimals);
}

template char *writeFixed<0>(char *, double);
template char *writeFixed<2>(char *, double);
template char *writeFixed<3>(char *, double);
template char *writeFixed<5>(char *, double);

void appendFixed(std::string &out, double value, int decimals)
{
    if (decimals <= 20) {
        // Written in place: the columns of a million rows are appended here.
        constexpr std::size_t room = fixedRoom;
        const std::size_t size = out.size();
        out.resize(size + room);
        char *const first = out.data() + size;
        out.resize(
            size
            + static_cast<std::size_t>(writeFixed(first, first + room, value, decimals) - first));
        return;
    }
    char large[400]; // the largest double has 309 integer digits
    out.append(large, writeFixed(large, large + sizeof large, value, decimals));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

void appendSignificant(std::string &out, double value, int figures)
{
    char buf[32];
    out.append(
        buf, std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, figures).ptr);
}

void appendShortest(std::string &out, double value)
{
    char buf[32];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

std::string shortestText(double value)
{
    std::string text;
    appendShortest(text, value);
    return text;
}

} // namespace tovrik
