#pragma once

#include "core/failure.h"
#include "core/gases.h"
#include "core/pipes.h"
#include "core/sizing.h"
#include "core/steam.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What a sizing is asked: every input it can take, once, as a catalogue that the command line's
// options, a line list's columns, the JSON, the calculation sheet and the keeping of a request
// all read, and the one request that holds them as texts.
namespace tovrik {

// Every input, in the order the panels show them and a line list's row is read, then the aids.
enum class Input : std::uint8_t {
    Flow,
    Pressure, // of air, and of water for the aids
    Temperature, // of air, and of water for the aids
    SpecificVolume, // of steam
    SteamPressure, // instead of the specific volume
    Velocity,
    SteamTemperature, // of superheated steam, with its pressure
    Roughness, // mm, of the pipe wall, or its name
    Service, // of a gas: workshop, site or natural-gas
    Series, // asme40, cn, …
    Gas, // of the air panel: air, natural-gas, …
    FlowBasis, // of a gas's flow: standard, normal, …
    VelocityRows, // which usual velocities judge: cited, or the reference sheet's
    Length, // of the line, m
    Fittings, // the sum of their K
    EquivalentLength, // of the fittings, m
    MaxDrop, // kPa, over the line or per 100 m
    MaxDropBasis, // whether the allowable drop is over the line or per 100 m
    Elevation, // m, the rise of a water line's end above its start
    Count
};
inline constexpr std::size_t inputCount = static_cast<std::size_t>(Input::Count);

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

struct InputDef
{
    Input input;
    Operand operand; // what a failure of its figure is traced to; None for a name
    char shortOption; // 0: a long option only
    const char *longOption;
    const char *column; // in a line list, and its key in JSON
    unsigned media; // the media that take it
    unsigned required; // the media that need it
    // The media for which an empty cell of a line list means the input was not given, where for
    // the others it is an empty figure, which fails as the panel's empty field does.
    unsigned blankIsAbsent;
    bool batchDefault; // its option gives a line list's rows a default
    bool line; // it belongs to the line beyond the pipe: a list that has it gets the line's columns
    // Its column as a Chinese Excel sheet heads it, and the units that column may give in
    // brackets after its name ("流量(t/h)"), blank-separated; empty for a name or a count.
    const char *chineseColumn;
    const char *units;
};

// Steam's specific volume and pressure are alternatives, exactly one of which is needed.
// clang-format off
inline constexpr InputDef inputDefs[] = {
    {Input::Flow, Operand::Flow, 'Q', "flow", "Q", AllMedia, AllMedia, 0, false, false, "流量", "m3/h t/h kg/h"},
    {Input::Pressure, Operand::Pressure, 'P', "pressure", "P", AirOnly | WaterOnly, AirOnly, WaterOnly, false, false, "压力", "MPa"},
    {Input::Temperature, Operand::Temperature, 'T', "temperature", "T", AirOnly | WaterOnly, AirOnly, WaterOnly, false, false, "温度", "°C"},
    {Input::SpecificVolume, Operand::SpecificVolume, 'u', "specific-volume", "u", SteamOnly, 0, 0, false, false, "比容", "m3/kg"},
    {Input::SteamPressure, Operand::Pressure, 'p', "steam-pressure", "p", SteamOnly, 0, 0, false, false, "蒸汽压力", "MPa"},
    {Input::Velocity, Operand::Velocity, 'v', "velocity", "v", AllMedia, AllMedia, 0, false, false, "流速", "m/s"},
    {Input::SteamTemperature, Operand::Temperature, 0, "steam-temperature", "Ts", SteamOnly, 0, SteamOnly, false, false, "蒸汽温度", "°C"},
    {Input::Roughness, Operand::Roughness, 0, "roughness", "roughness", AllMedia, 0, AllMedia, true, false, "粗糙度", "mm"},
    {Input::Service, Operand::None, 0, "gas-service", "service", AirOnly, 0, AllMedia, true, false, "用途", ""},
    {Input::Series, Operand::None, 0, "series", "series", AllMedia, 0, AllMedia, true, false, "管子系列", ""},
    {Input::Gas, Operand::None, 0, "gas", "gas", AirOnly, 0, AllMedia, true, false, "气体", ""},
    {Input::FlowBasis, Operand::None, 0, "flow-basis", "basis", AirOnly, 0, AllMedia, true, false, "流量基准", ""},
    {Input::VelocityRows, Operand::None, 0, "velocity-table", "velocity_table", AllMedia, 0, AllMedia, true, false, "常用流速表", ""},
    {Input::Length, Operand::Length, 0, "length", "length", AllMedia, 0, AllMedia, true, true, "管长", "m"},
    {Input::Fittings, Operand::Fittings, 0, "fittings", "K", AllMedia, 0, AllMedia, true, true, "局部阻力系数", ""},
    {Input::EquivalentLength, Operand::EquivalentLength, 0, "equivalent-length", "Le", AllMedia, 0, AllMedia, true, true, "当量长度", "m"},
    {Input::MaxDrop, Operand::MaxDrop, 0, "max-drop", "max_drop", AllMedia, 0, AllMedia, true, true, "允许压降", "kPa"},
    {Input::MaxDropBasis, Operand::None, 0, "max-drop-per", "max_drop_per", AllMedia, 0, AllMedia, true, true, "允许压降基准", ""},
    {Input::Elevation, Operand::Elevation, 0, "elevation", "elevation", WaterOnly, 0, AllMedia, true, true, "高差", "m"},
};
// clang-format on
static_assert(std::size(inputDefs) == inputCount);
static_assert(
    [] {
        for (std::size_t i = 0; i < inputCount; ++i) {
            if (inputDefs[i].input != Input(i))
                return false;
        }
        return true;
    }(),
    "one row per input, in its order");

constexpr const InputDef &inputDef(Input input)
{
    return inputDefs[static_cast<std::size_t>(input)];
}

inline bool takes(Medium medium, const InputDef &input)
{
    return (input.media & maskOf(medium)) != 0;
}

inline bool needs(Medium medium, const InputDef &input)
{
    return (input.required & maskOf(medium)) != 0;
}

// A sizing's inputs as texts, each absent or as given, and the choices made elsewhere (the
// window's menu, a command line's defaults) that a named input overrides. Text is a view for a
// request that lives no longer than its texts (a click, a row of a list), or a string for one
// kept after them (the sheet of a calculation made earlier).
template<typename Text>
struct BasicRequest
{
    Medium medium = Medium::Water;
    std::array<std::optional<Text>, inputCount> texts;
    // How the pressures P and p were read; none where nobody said. Air's formula takes an
    // absolute pressure, as the window's field holds one, and so do the aids when none is said.
    std::optional<PressureKind> pressureKind;
    AdviceOptions advice;
    char32_t decimalSeparator = U'.';

    BasicRequest() = default;
    // The same request over other texts: kept as strings, or viewed again.
    template<typename Other>
    explicit BasicRequest(const BasicRequest<Other> &other)
        : medium(other.medium)
        , pressureKind(other.pressureKind)
        , advice(other.advice)
        , decimalSeparator(other.decimalSeparator)
    {
        for (std::size_t i = 0; i < inputCount; ++i) {
            if (other.texts[i])
                texts[i].emplace(*other.texts[i]);
        }
    }

    std::optional<Text> &operator[](Input input) { return texts[static_cast<std::size_t>(input)]; }
    const std::optional<Text> &operator[](Input input) const
    {
        return texts[static_cast<std::size_t>(input)];
    }
    // Given, and not empty.
    bool given(Input input) const
    {
        const std::optional<Text> &text = (*this)[input];
        return text && !text->empty();
    }
    std::string_view text(Input input) const
    {
        const std::optional<Text> &text = (*this)[input];
        return text ? std::string_view(*text) : std::string_view();
    }
};

using SizingRequest = BasicRequest<std::string_view>;
using KeptInputs = BasicRequest<std::string>;

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

// "air", "steam", "water" (any case) or 压缩空气, 蒸汽, 水, and the panels' captions and the
// reference sheet's headings (压缩空气（各种气体）, 饱和蒸汽, 热水); full-width letters count as
// their ASCII twins, and blanks around, ideographic ones too, are ignored.
std::optional<Medium> mediumFromName(std::string_view name);
std::string_view mediumName(Medium medium);

// The named inputs, read as typed with a Chinese input method too: "workshop", "site" or
// "natural-gas" (any case), or 车间, 厂区, 天然气; a series' code; a gas's name; a flow basis.
std::optional<GasService> gasServiceFromName(std::string_view name);
std::string_view gasServiceName(GasService service);
std::optional<PipeSeries> seriesFromName(std::string_view name);
std::string_view seriesName(PipeSeries series);
std::optional<Gas> gasFromTypedName(std::string_view name);
// Over the whole line, or per 100 m of it.
enum class DropLimitBasis : unsigned char { Line, Per100m };
// "line" or "100m" (any case), or 全线, 每100m.
std::optional<DropLimitBasis> dropLimitBasisFromName(std::string_view name);

// "cited" or "sheet" (any case), or 标准, 参考表.
std::optional<VelocityRows> velocityRowsFromName(std::string_view name);
std::string_view velocityRowsName(VelocityRows rows);

// The choices of a request's named inputs over its own advice options, and its flow basis; the
// input whose name is not known, where one is not.
struct Choices
{
    AdviceOptions advice;
    FlowBasis flowBasis = FlowBasis::Standard;
    std::optional<Input> unknown;
};
Choices choicesOf(const SizingRequest &request);

} // namespace tovrik
