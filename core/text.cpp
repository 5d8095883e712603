#include "core/text.h"

#include <charconv>
#include <cmath>

namespace tovrik {

char *writeFixed(char *first, char *last, double value, int decimals)
{
    if (!std::isfinite(value))
        return first;
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
