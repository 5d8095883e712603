#pragma once

#include "core/pipes.h"
#include "core/sizing.h"
#include "core/steam.h"
#include "runtime/failure.h"

#include <optional>
#include <string>
#include <string_view>

namespace tovrik::cli {

// The inputs of one sizing, as texts; an absent input was not given at all. Steam takes either
// its specific volume or its pressure, from which the specific volume of saturated steam is
// found.
struct SizingInputs
{
    std::optional<std::string_view> flow, pressure, temperature, specificVolume, velocity;
    std::optional<std::string_view> steamPressure;
    std::optional<PressureKind> steamPressureKind;
};

struct SizingResult
{
    bool ok = false;
    double value = 0.0; // mm
    std::string text; // the result text, exactly as the window shows it
    std::string error; // in the window's words; empty when ok
    std::optional<double> specificVolume; // m3/kg, when found from the steam pressure
    std::optional<PipeAdvice> advice; // when ok and the diameter is within the pipe table
};

// Sets of media, as bits.
inline constexpr unsigned AirOnly = 1, SteamOnly = 2, WaterOnly = 4, AllMedia = 7;
unsigned maskOf(Medium medium);

// One input of a sizing: its option on the command line and its column in a batch.
struct InputDef
{
    Operand operand;
    char shortOption;
    const char *longOption;
    const char *column;
    std::optional<std::string_view> SizingInputs::*field;
    unsigned media;
    bool alternative; // steam's specific volume and pressure: exactly one of the two is needed
};

// In the order the window shows them.
inline constexpr InputDef sizingInputs[] = {
    {Operand::Flow, 'Q', "flow", "Q", &SizingInputs::flow, AllMedia, false},
    {Operand::Pressure, 'P', "pressure", "P", &SizingInputs::pressure, AirOnly, false},
    {Operand::Temperature, 'T', "temperature", "T", &SizingInputs::temperature, AirOnly, false},
    {Operand::SpecificVolume, 'u', "specific-volume", "u", &SizingInputs::specificVolume, SteamOnly,
     true},
    {Operand::Pressure, 'p', "steam-pressure", "p", &SizingInputs::steamPressure, SteamOnly, true},
    {Operand::Velocity, 'v', "velocity", "v", &SizingInputs::velocity, AllMedia, false},
};

inline bool takes(Medium medium, const InputDef &input)
{
    return (input.media & maskOf(medium)) != 0;
}

// "-Q/--flow", as messages name an input's option.
std::string optionName(const InputDef &input);

// The text without the blanks and tabs around it.
std::string_view withoutBlanks(std::string_view text);

// "air", "steam", "water" (any case) or 压缩空气, 蒸汽, 水, with blanks around ignored.
std::optional<Medium> mediumFromName(std::string_view name);
std::string_view mediumName(Medium medium);

// Sizes one line as the window would, numbers read with '.' as the decimal point.
SizingResult sizeLine(Medium medium, const SizingInputs &inputs);
// The same into an existing result, reusing its storage.
void sizeLine(Medium medium, const SizingInputs &inputs, SizingResult &result);

// The shortest text that reads back as the same double.
std::string shortestNumber(double value);

} // namespace tovrik::cli
