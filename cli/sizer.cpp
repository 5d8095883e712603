#include "cli/sizer.h"

#include "core/messages.h"
#include "core/text.h"
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

std::string optionName(char shortOption, const char *longOption)
{
    std::string name;
    if (shortOption) {
        name += '-';
        name += shortOption;
        name += '/';
    }
    name += "--";
    name += longOption;
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

std::optional<PipeSeries> seriesFromName(std::string_view name)
{
    name = withoutBlanks(name);
    if (equalsIgnoringCase(name, "asme40"))
        return PipeSeries::Asme40;
    if (equalsIgnoringCase(name, "cn"))
        return PipeSeries::Chinese;
    return std::nullopt;
}

std::string unknownSeriesMessage(std::string_view name)
{
    return "不认识的管子系列“" + std::string(name)
        + "”，应为 asme40（ASME B36.10M Sch40）或 cn（国内公制系列）。";
}

std::string_view seriesName(PipeSeries series)
{
    return series == PipeSeries::Chinese ? "cn" : "asme40";
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

std::string adviceLines(const SizingResult &result)
{
    return adviceWithDrop(result.advice, result.drop, result.dropCondition, result.dropNote);
}

SizingResult sizeLine(Medium medium, const SizingInputs &inputs)
{
    SizingResult result;
    sizeLine(medium, inputs, result);
    return result;
}

void SizingResult::reset()
{
    ok = false;
    value = 0.0;
    text.clear();
    error.clear();
    specificVolume.reset();
    advice = {};
    fluid.reset();
    drop.reset();
    dropNote.clear();
    dropCondition = {};
}

void sizeLine(Medium medium, const SizingInputs &inputs, SizingResult &result)
{
    result.reset();
    const auto text = [](const std::optional<std::string_view> &input) {
        return input.value_or(std::string_view());
    };
    const auto given
        = [](const std::optional<std::string_view> &input) { return input && !input->empty(); };
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
    if (given(inputs.service)) {
        const std::optional<GasService> service = gasServiceFromName(*inputs.service);
        if (!service) {
            result.error = unknownServiceMessage(*inputs.service);
            return;
        }
        advice.service = *service;
    }
    if (given(inputs.series)) {
        const std::optional<PipeSeries> series = seriesFromName(*inputs.series);
        if (!series) {
            result.error = unknownSeriesMessage(*inputs.series);
            return;
        }
        advice.series = *series;
    }
    try {
        const double roughness = given(inputs.roughness)
            ? vbaR8Str(*inputs.roughness, Operand::Roughness)
            : commercialSteelRoughness;
        if (!(roughness >= 0.0))
            throw Failure(Fault::OutOfRange, Operand::Roughness);
        // What the pressure drop needs beyond the sizing; where a state cannot be had the
        // sizing stands, without a pressure drop.
        const auto state = [&](auto &&make) -> std::optional<FluidState> {
            try {
                return make();
            } catch (const Failure &failure) {
                result.dropNote = failureMessage(medium, failure);
                return std::nullopt;
            }
        };
        Sizing sizing {};
        std::optional<FluidState> fluid;
        switch (medium) {
        case Medium::Air:
            sizing = airSizing(text(inputs.flow), text(inputs.pressure), text(inputs.temperature),
                               text(inputs.velocity));
            fluid = state([&] {
                return airState(vbaR8Str(text(inputs.pressure), Operand::Pressure),
                                vbaR8Str(text(inputs.temperature), Operand::Temperature));
            });
            break;
        case Medium::Steam:
            if (inputs.steamPressure) {
                const double pressure = vbaR8Str(*inputs.steamPressure, Operand::Pressure);
                const PressureKind kind = inputs.steamPressureKind.value_or(PressureKind::Absolute);
                const double absolute = absolutePressure(pressure, kind);
                if (given(inputs.steamTemperature)) {
                    const double temperature
                        = vbaR8Str(*inputs.steamTemperature, Operand::Temperature);
                    result.specificVolume = superheatedSteamVolume(pressure, kind, temperature);
                    fluid = superheatedSteamState(*result.specificVolume, temperature, absolute);
                } else {
                    result.specificVolume = saturatedSteamVolume(pressure, kind);
                    const double saturation = saturationTemperature(absolute);
                    fluid = superheatedSteamState(*result.specificVolume, saturation - kelvinOffset,
                                                  absolute);
                }
                // The shortest text that reads back as the same double: the formula sees
                // exactly the volume found.
                const std::string volume = shortestText(*result.specificVolume);
                sizing = steamSizing(text(inputs.flow), volume, text(inputs.velocity));
            } else {
                sizing = steamSizing(text(inputs.flow), text(inputs.specificVolume),
                                     text(inputs.velocity));
                // A volume given is taken as saturated steam's: the state is the one of that
                // volume.
                fluid = state([&] {
                    return saturatedSteamState(
                        vbaR8Str(text(inputs.specificVolume), Operand::SpecificVolume));
                });
            }
            break;
        case Medium::Water: {
            sizing = waterSizing(text(inputs.flow), text(inputs.velocity));
            const double temperature = given(inputs.temperature)
                ? vbaR8Str(*inputs.temperature, Operand::Temperature)
                : usualWaterTemperature;
            const double pressure = given(inputs.pressure)
                ? vbaR8Str(*inputs.pressure, Operand::Pressure)
                : atmosphericPressure;
            fluid = waterState(temperature, pressure);
            if (!given(inputs.temperature))
                result.dropCondition = "水温按 20 °C";
            break;
        }
        }
        result.value = sizing.diameter;
        appendVbaStrR8(result.text, result.value);
        result.advice = advise(medium, sizing.flow, sizing.diameter, advice);
        if (fluid) {
            result.drop = recommendedPipeDrop(
                medium, result.advice, sizing.flow, roughness, [&] { return *fluid; },
                result.dropNote);
        }
        result.fluid = fluid;
        result.ok = true;
    } catch (const Failure &failure) {
        result.error = failureMessage(medium, failure);
        result.dropNote.clear();
    }
}

} // namespace tovrik::cli
