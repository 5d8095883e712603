#pragma once

#include "base/text.h"
#include "core/pipeline.h"

#include <optional>
#include <string>
#include <string_view>

namespace tovrik {

// The inputs of one sizing, as texts; an absent input was not given at all. Steam takes either
// its specific volume or its pressure, from which the specific volume of saturated steam is
// found.
struct SizingInputs
{
    std::optional<std::string_view> flow, pressure, temperature, specificVolume, velocity;
    std::optional<std::string_view> steamPressure;
    std::optional<std::string_view> service; // of a gas: workshop, site or natural-gas
    std::optional<std::string_view> steamTemperature; // degrees C, of superheated steam
    std::optional<std::string_view> roughness; // mm, of the pipe wall, or its name
    std::optional<std::string_view> series; // asme40, cn, …
    std::optional<std::string_view> gas; // of the air panel: air, natural-gas, …
    std::optional<std::string_view> flowBasis; // of a gas's flow: standard, normal, …
    std::optional<std::string_view> length, fittings, equivalentLength; // of the line
    std::optional<std::string_view> maxDrop; // kPa, over the line or per 100 m
    std::optional<PressureKind> pressureKind; // of P and p, as --gauge or --absolute said
    AdviceOptions advice;
};

// Sets of media, as bits.
inline constexpr unsigned AirOnly = 1, SteamOnly = 2, WaterOnly = 4, AllMedia = 7;
constexpr unsigned maskOf(Medium medium)
{
    switch (medium) {
    case Medium::Air: return AirOnly;
    case Medium::Steam: return SteamOnly;
    case Medium::Water: return WaterOnly;
    }
    return 0;
}

// One input of a sizing: its option on the command line and its column in a batch. Steam's
// specific volume and pressure are alternatives, exactly one of which is needed.
struct InputDef
{
    Operand operand;
    char shortOption; // 0: a long option only
    const char *longOption;
    const char *column;
    std::optional<std::string_view> SizingInputs::*field;
    unsigned media; // the media that take it
    unsigned required; // the media that need it
    bool batchDefault = false; // its option gives a batch's rows a default
};

// The sizing inputs in the order the window shows them, then the choices about the advice.
// clang-format off
inline constexpr InputDef sizingInputs[] = {
    {Operand::Flow, 'Q', "flow", "Q", &SizingInputs::flow, AllMedia, AllMedia},
    {Operand::Pressure, 'P', "pressure", "P", &SizingInputs::pressure, AirOnly | WaterOnly, AirOnly},
    {Operand::Temperature, 'T', "temperature", "T", &SizingInputs::temperature, AirOnly | WaterOnly, AirOnly},
    {Operand::SpecificVolume, 'u', "specific-volume", "u", &SizingInputs::specificVolume, SteamOnly, 0},
    {Operand::Pressure, 'p', "steam-pressure", "p", &SizingInputs::steamPressure, SteamOnly, 0},
    {Operand::Velocity, 'v', "velocity", "v", &SizingInputs::velocity, AllMedia, AllMedia},
    {Operand::Temperature, 0, "steam-temperature", "Ts", &SizingInputs::steamTemperature, SteamOnly, 0},
    {Operand::Roughness, 0, "roughness", "roughness", &SizingInputs::roughness, AllMedia, 0, true},
    {Operand::None, 0, "gas-service", "service", &SizingInputs::service, AirOnly, 0, true},
    {Operand::None, 0, "series", "series", &SizingInputs::series, AllMedia, 0, true},
    {Operand::None, 0, "gas", "gas", &SizingInputs::gas, AirOnly, 0, true},
    {Operand::None, 0, "flow-basis", "basis", &SizingInputs::flowBasis, AirOnly, 0, true},
    {Operand::Length, 0, "length", "length", &SizingInputs::length, AllMedia, 0, true},
    {Operand::Fittings, 0, "fittings", "K", &SizingInputs::fittings, AllMedia, 0, true},
    {Operand::EquivalentLength, 0, "equivalent-length", "Le", &SizingInputs::equivalentLength, AllMedia, 0, true},
    {Operand::MaxDrop, 0, "max-drop", "max_drop", &SizingInputs::maxDrop, AllMedia, 0, true},
};
// clang-format on

inline bool takes(Medium medium, const InputDef &input)
{
    return (input.media & maskOf(medium)) != 0;
}

inline bool needs(Medium medium, const InputDef &input)
{
    return (input.required & maskOf(medium)) != 0;
}

// The text without the blanks and tabs around it. Inline: a line list asks it of every cell.
inline std::string_view withoutBlanks(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// 压缩空气, 蒸汽 or 水, as messages name a medium.
std::string_view mediumTitle(Medium medium);
// What a column or option holds, in words: "蒸汽压力p".
std::string_view columnDescription(const InputDef &input);

// "air", "steam", "water" (any case) or 压缩空气, 蒸汽, 水, and the panels' captions and the
// reference sheet's headings (压缩空气（各种气体）, 饱和蒸汽, 热水); full-width letters count as
// their ASCII twins, and blanks around, ideographic ones too, are ignored.
std::optional<Medium> mediumFromName(std::string_view name);
std::string_view mediumName(Medium medium);

// "workshop", "site" or "natural-gas" (any case), or 车间, 厂区, 天然气.
std::optional<GasService> gasServiceFromName(std::string_view name);
std::string unknownServiceMessage(std::string_view name);

// "asme40", "asme80", "asme10s", "asme40s", "cn" or "gb3091" (any case).
std::optional<PipeSeries> seriesFromName(std::string_view name);
std::string unknownSeriesMessage(std::string_view name);
std::string_view seriesName(PipeSeries series);

std::string_view gasServiceName(GasService service);

// The request the inputs stand for, made over request, every member of which it sets: the
// choices' names read. False, with the error in the window's words, for a name it does not know.
bool requestOf(Medium medium, const SizingInputs &inputs, SizingRequest &request,
               std::string &error);

// Sizes one line as the window would, numbers read with '.' as the decimal point.
SizingReport sizeLine(Medium medium, const SizingInputs &inputs);
// The same into an existing report, reusing its storage.
void sizeLine(Medium medium, const SizingInputs &inputs, SizingReport &report);

} // namespace tovrik
