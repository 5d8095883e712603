#pragma once

#include "core/gases.h"

#include <optional>
#include <span>
#include <string_view>

// Limits a service puts on a line beside its usual velocities: the fire-safety velocity limits of
// oxygen and hydrogen by pressure and pipe material, and the usual largest pressure drop per
// 100 m of a steam line. Data with citations; where a limit could not be read from a source none
// is given, and the standard that governs is named instead.
namespace tovrik {

enum class PipeMaterial : unsigned char { CarbonSteel, Stainless, Copper };

// The standard that limits a gas's velocity for its own safety, for oxygen and hydrogen; else
// empty.
std::string_view velocityStandard(Gas gas);

// The highest velocity in m/s the gas's standard allows at an absolute pressure in MPa in a pipe
// of a material; nullopt where the gas has no such standard, or where its limits are not typed
// here (oxygen's and hydrogen's are not: no confirmed copy of either table was found), in which
// case no velocity is to be called 合适 and velocityStandard names the standard.
std::optional<double> velocityLimit(Gas gas, double pressure, PipeMaterial material);

enum class SteamKind : unsigned char { Saturated, Superheated };

struct DropLimit
{
    double kPaPer100m;
    std::string_view row; // as the table writes it: "饱和蒸汽", "3.5~10.5 kg/cm²G"
    std::string_view citation;
    bool confirmed; // read from the cited standard itself
};

// The usual largest drop per 100 m of a steam line: by the steam's kind, and for the general
// rows by its gauge pressure in MPa. Steam mains of either kind take the kind's row.
const DropLimit &steamDropLimit(SteamKind kind);
const DropLimit &steamDropLimitByPressure(double gaugePressure);

// The rows above, for a test or a sheet's table.
std::span<const DropLimit> steamDropLimits();

} // namespace tovrik
