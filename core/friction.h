#pragma once

#include "core/fluid.h"
#include "core/pipes.h"

#include <optional>
#include <string>
#include <string_view>

// The pressure lost to friction in a straight pipe, by Darcy and Weisbach:
// dp = f (L / D) rho v^2 / 2.
namespace tovrik {

enum class Medium;

inline constexpr double commercialSteelRoughness = 0.046; // mm, absolute
inline constexpr double laminarLimit = 2300.0;
inline constexpr double turbulentFrom = 4000.0;
// The Reynolds numbers the pressure drop is given for.
inline constexpr double lowestReynolds = 1.0;
inline constexpr double highestReynolds = 1.0e9;

// Colebrook and White's friction factor (Darcy's), solved by Newton's method until the last
// step changes 1/sqrt(f) by less than a part in 1e14.
double colebrook(double reynolds, double relativeRoughness);

// 64/Re in laminar flow; Colebrook in turbulent flow, and also between the two, where the flow
// may already be turbulent: the larger factor errs on the safe side of the pressure drop.
double frictionFactor(double reynolds, double relativeRoughness);

struct PressureDrop
{
    double reynolds;
    double friction; // Darcy's factor
    double kPaPer100m;
    double roughness; // mm
};

// For a volume flow in m3/h through a bore in mm of a wall roughness in mm; throws
// SizingFailure(OutOfRange, Roughness) for a roughness that is negative or not below the bore,
// and SizingFailure(Reynolds) for a flow whose Reynolds number is outside the range above.
PressureDrop pressureDrop(const FluidState &fluid, double flow, double bore, double roughness);

// In the advice's recommended pipe. None where no pipe is recommended, or where the drop cannot
// be had: then note says why, as the medium's failures are worded.
std::optional<PressureDrop> recommendedPipeDrop(Medium medium, const PipeAdvice &advice,
                                                double flow, double roughness,
                                                const FluidState &fluid, std::string &note);

// "每 100 m 压降约 12.3 kPa（粗糙度 0.046 mm）", to three figures; a condition the figure
// assumes goes into the brackets.
std::string pressureDropText(const PressureDrop &drop, std::string_view condition = {});

} // namespace tovrik
