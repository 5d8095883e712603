#include "base/text.h"

#include "base/digits.h"
#include "base/rounding.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace tovrik {

namespace {

// The reach of the fast path: a magnitude below 1e15 to at most 6 decimals, which the rounding
// kernel rounds scaled; the fallback below writes everything else.
bool fixedScaled(double value, int decimals, std::uint64_t &scaled)
{
    return decimals >= 0 && decimals <= 6 && std::fabs(value) < 1e15
        && roundScaled(std::fabs(value), decimals, scaled);
}

// The library's exact conversion, for what the fast path leaves: a true tie, which it rounds
// half to even as printf does, and values from 1e15 up, where a fixed point only pads the
// figure with digits the double does not have, in three significant figures instead.
char *fixedByLibrary(char *first, char *last, double value, int decimals)
{
    if (!std::isfinite(value))
        return first;
    const std::to_chars_result result = std::fabs(value) < 1e15
        ? std::to_chars(first, last, value, std::chars_format::fixed, decimals)
        : std::to_chars(first, last, value, std::chars_format::scientific, 2);
    return result.ec == std::errc() ? result.ptr : first;
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

} // namespace

template<int Decimals>
char *writeFixed(char *out, double value)
{
    static_assert(Decimals >= 0 && Decimals <= 6, "what the fast path takes");
    std::uint64_t scaled;
    if (fixedScaled(value, Decimals, scaled)) [[likely]] {
        if (std::signbit(value))
            *out++ = '-';
        return writeScaled<Decimals>(out, scaled);
    }
    return fixedByLibrary(out, out + fixedRoom, value, Decimals);
}

template char *writeFixed<0>(char *, double);
template char *writeFixed<2>(char *, double);
template char *writeFixed<3>(char *, double);
template char *writeFixed<5>(char *, double);

char *writeFixed(char *first, char *last, double value, int decimals)
{
    if (last - first >= fixedRoom) {
        switch (decimals) {
        case 0: return writeFixed<0>(first, value);
        case 1: return writeFixed<1>(first, value);
        case 2: return writeFixed<2>(first, value);
        case 3: return writeFixed<3>(first, value);
        case 4: return writeFixed<4>(first, value);
        case 5: return writeFixed<5>(first, value);
        case 6: return writeFixed<6>(first, value);
        default: break;
        }
    }
    return fixedByLibrary(first, last, value, decimals);
}

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
