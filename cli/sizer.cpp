#include "cli/sizer.h"

#include "core/messages.h"
#include "runtime/conversion.h"

#include <algorithm>
#include <charconv>

namespace tovrik::cli {

unsigned maskOf(Medium medium)
{
    switch (medium) {
    case Medium::Air: return AirOnly;
    case Medium::Steam: return SteamOnly;
    case Medium::Water: return WaterOnly;
    }
    return 0;
}

std::string optionName(const InputDef &input)
{
    std::string name;
    if (input.shortOption) {
        name += '-';
        name += input.shortOption;
        name += '/';
    }
    name += "--";
    name += input.longOption;
    return name;
}

std::string_view withoutBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

std::optional<Medium> mediumFromName(std::string_view name)
{
    // The usual spellings first: a batch asks once a row.
    if (name == "air")
        return Medium::Air;
    if (name == "steam")
        return Medium::Steam;
    if (name == "water")
        return Medium::Water;
    name = withoutBlanks(name);
    const auto is = [&](std::string_view english) { return equalsIgnoringCase(name, english); };
    if (is("air") || name == "压缩空气")
        return Medium::Air;
    if (is("steam") || name == "蒸汽")
        return Medium::Steam;
    if (is("water") || name == "水")
        return Medium::Water;
    return std::nullopt;
}

std::string_view mediumName(Medium medium)
{
    switch (medium) {
    case Medium::Air: return "air";
    case Medium::Steam: return "steam";
    case Medium::Water: return "water";
    }
    return {};
}

std::optional<GasService> gasServiceFromName(std::string_view name)
{
    name = withoutBlanks(name);
    const auto is = [&](std::string_view english) { return equalsIgnoringCase(name, english); };
    if (is("workshop") || name == "车间")
        return GasService::Workshop;
    if (is("site") || name == "厂区")
        return GasService::Site;
    if (is("natural-gas") || name == "天然气")
        return GasService::NaturalGas;
    return std::nullopt;
}

std::string unknownServiceMessage(std::string_view name)
{
    return "不认识的气体用途“" + std::string(name)
        + "”，应为 workshop（车间）、site（厂区）或 natural-gas（天然气）。";
}

std::string_view gasServiceName(GasService service)
{
    switch (service) {
    case GasService::Workshop: return "workshop";
    case GasService::Site: return "site";
    case GasService::NaturalGas: return "natural-gas";
    }
    return {};
}

std::string shortestNumber(double value)
{
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::string(buf, end);
}

SizingResult sizeLine(Medium medium, const SizingInputs &inputs)
{
    SizingResult result;
    sizeLine(medium, inputs, result);
    return result;
}

void sizeLine(Medium medium, const SizingInputs &inputs, SizingResult &result)
{
    result.ok = false;
    result.value = 0.0;
    result.text.clear();
    result.error.clear();
    result.specificVolume.reset();
    result.advice = {};
    const auto text = [](const std::optional<std::string_view> &input) {
        return input.value_or(std::string_view());
    };
    if (medium == Medium::Air) {
        // The window's own checks, in its order, before anything is computed.
        if (vbaStrCmp("", text(inputs.flow)) == 0)
            result.error += airFlowPrompt;
        if (vbaStrCmp("", text(inputs.pressure)) == 0)
            result.error += airPressurePrompt;
        if (!result.error.empty())
            return;
    }
    AdviceOptions advice = inputs.advice;
    if (inputs.service && !inputs.service->empty()) {
        const std::optional<GasService> service = gasServiceFromName(*inputs.service);
        if (!service) {
            result.error = unknownServiceMessage(*inputs.service);
            return;
        }
        advice.service = *service;
    }
    try {
        Sizing sizing {};
        switch (medium) {
        case Medium::Air:
            sizing = airSizing(text(inputs.flow), text(inputs.pressure), text(inputs.temperature),
                               text(inputs.velocity));
            break;
        case Medium::Steam:
            if (inputs.steamPressure) {
                const double pressure = vbaR8Str(*inputs.steamPressure, Operand::Pressure);
                result.specificVolume = saturatedSteamVolume(
                    pressure, inputs.steamPressureKind.value_or(PressureKind::Absolute));
                // The shortest text that reads back as the same double: the formula sees
                // exactly the volume found.
                const std::string volume = shortestNumber(*result.specificVolume);
                sizing = steamSizing(text(inputs.flow), volume, text(inputs.velocity));
            } else {
                sizing = steamSizing(text(inputs.flow), text(inputs.specificVolume),
                                     text(inputs.velocity));
            }
            break;
        case Medium::Water: sizing = waterSizing(text(inputs.flow), text(inputs.velocity)); break;
        }
        result.value = sizing.diameter;
        appendVbaStrR8(result.text, result.value);
        result.advice = advise(medium, sizing.flow, sizing.diameter, advice);
        result.ok = true;
    } catch (const Failure &failure) {
        result.error = failureMessage(medium, failure);
    }
}

} // namespace tovrik::cli
