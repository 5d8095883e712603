// Feeds arbitrary bytes to the text converter, the three formulas and the whole sizing with its
// aids. Besides the sanitizers' findings, any result text that does not read back as (nearly) the
// value it came from is a crash, and so is advice holding inf, nan or a run of digits longer than
// a double has, so rounding and formatting faults surface here too.

#include "base/conversion.h"
#include "core/pipeline.h"
#include "core/sizing.h"
#include "core/words.h"

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
    } catch (const tovrik::SizingFailure &) {
    }
}

void checkWords(const std::string &text)
{
    if (text.find("inf") != std::string::npos || text.find("nan") != std::string::npos)
        std::abort();
    int digits = 0;
    for (const char c : text) {
        digits = c >= '0' && c <= '9' ? digits + 1 : 0;
        if (digits > 20)
            std::abort();
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

    // The second and third fields serve every medium: as pressure and temperature, specific
    // volume or steam pressure and temperature, and water's temperature and pressure.
    tovrik::SizingRequest request;
    using tovrik::Input;
    request[Input::Flow] = fields[0];
    request[Input::Velocity] = fields[3];
    request.decimalSeparator = separator;
    request.pressureKind
        = (data[0] & 2) ? tovrik::PressureKind::Gauge : tovrik::PressureKind::Absolute;
    request.advice.series
        = (data[0] & 4) ? tovrik::PipeSeries::Chinese : tovrik::PipeSeries::Asme40;
    for (const tovrik::Medium medium :
         {tovrik::Medium::Air, tovrik::Medium::Steam, tovrik::Medium::Water}) {
        request.medium = medium;
        request[Input::Pressure] = fields[1];
        request[Input::Temperature] = fields[2];
        if (medium == tovrik::Medium::Steam) {
            if (data[0] & 8) {
                request[Input::SteamPressure] = fields[1];
                request[Input::SteamTemperature] = fields[2];
            } else {
                request[Input::SpecificVolume] = fields[1];
            }
        }
        const tovrik::SizingReport report = tovrik::sizePipe(request);
        checkWords(report.ok ? tovrik::reportText(report) : report.error);
    }
    return 0;
}
