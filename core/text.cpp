#include "core/text.h"

#include <charconv>

namespace tovrik {

char *writeFixed(char *first, char *last, double value, int decimals)
{
    const std::to_chars_result result
        = std::to_chars(first, last, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? result.ptr : first;
}

void appendFixed(std::string &out, double value, int decimals)
{
    char buf[400]; // the largest double has 309 integer digits
    out.append(buf, writeFixed(buf, buf + sizeof buf, value, decimals));
}

std::string shortestText(double value)
{
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

} // namespace tovrik
