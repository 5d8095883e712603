#pragma once

#include "core/pipes.h"
#include "core/sizing.h"
#include "core/steam.h"

#include <cstdio>
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

// "air", "steam", "water" (any case) or 压缩空气, 蒸汽, 水, with blanks around ignored.
std::optional<Medium> mediumFromName(std::string_view name);
std::string_view mediumName(Medium medium);

// Sizes one line as the window would, numbers read with '.' as the decimal point.
SizingResult sizeLine(Medium medium, const SizingInputs &inputs);
// The same into an existing result, reusing its storage.
void sizeLine(Medium medium, const SizingInputs &inputs, SizingResult &result);

// The whole command line after the program name. Returns the exit status: 0 success, 1 a
// sizing failed, 2 a usage or input error.
int run(int argc, const char *const argv[], std::FILE *in, std::FILE *out, std::FILE *err);

} // namespace tovrik::cli
