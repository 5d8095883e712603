// Feeds arbitrary bytes to the text converter and the three formulas. Besides the sanitizers'
// findings, any result text that does not read back as (nearly) the value it came from is a
// crash, so rounding and formatting faults surface here too.

#include "core/sizing.h"
#include "runtime/conversion.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

void checkRoundTrip(double value, char32_t separator)
{
    const std::string text = tovrik::vbaStrR8(value, separator);
    const double back = tovrik::vbaR8Str(text, separator);
    if (std::fabs(back - value) > std::fabs(value) * 1e-14)
        std::abort();
    if (tovrik::vbaStrR8(back, separator) != text)
        std::abort();
}

template<typename Function>
void attempt(Function &&function)
{
    try {
        function();
    } catch (const tovrik::Failure &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char32_t separator = (data[0] & 1) ? U',' : U'.';
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);

    attempt([&] { checkRoundTrip(tovrik::vbaR8Str(text, separator), separator); });

    // Fields are separated by '|': flow, second input, third input, velocity.
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (fields.size() < 3) {
        const std::size_t bar = text.find('|', start);
        if (bar == std::string_view::npos)
            break;
        fields.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    fields.push_back(text.substr(start));
    fields.resize(4);

    attempt([&] {
        checkRoundTrip(
            tovrik::airSizing(fields[0], fields[1], fields[2], fields[3], separator).diameter,
            separator);
    });
    attempt([&] {
        checkRoundTrip(tovrik::steamSizing(fields[0], fields[1], fields[3], separator).diameter,
                       separator);
    });
    attempt([&] {
        checkRoundTrip(tovrik::waterSizing(fields[0], fields[3], separator).diameter, separator);
    });
    return 0;
}
