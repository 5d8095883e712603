#pragma once

#include "core/fluid.h"
#include "core/pipes.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The pressure lost to friction in a straight pipe, by Darcy and Weisbach:
// dp = f (L / D) rho v^2 / 2.
namespace tovrik {

enum class Medium;

inline constexpr double commercialSteelRoughness = 0.046; // mm, absolute

// A wall's roughness by the name engineers give it.
struct RoughnessDef
{
    const char *name; // "steam-network"
    double mm;
    const char *title; // 蒸汽管网
};
std::span<const RoughnessDef> roughnessNames();
// A name of the table above, in any case, or none.
std::optional<double> roughnessFromName(std::string_view name);
inline constexpr double laminarLimit = 2300.0;
inline constexpr double turbulentFrom = 4000.0;
// The Reynolds numbers the pressure drop is given for.
inline constexpr double lowestReynolds = 1.0;
inline constexpr double highestReynolds = 1.0e9;

// Colebrook and White's friction factor (Darcy's), solved for 1/sqrt(f) by Halley's method until
// a step moves it by less than a part in 1e5, past which the cubic convergence leaves an error
// below the rounding of the result.
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

// A real line: its straight length, and its fittings as the sum of their resistance
// coefficients or as the length of straight pipe they are worth.
struct LineSpec
{
    double length = 0.0; // m
    double fittings = 0.0; // ΣK
    double equivalentLength = 0.0; // m
};

enum class DropMethod : unsigned char {
    Incompressible, // Darcy-Weisbach at the inlet's density
    Isothermal, // a gas or steam losing more than a tenth of its pressure
    Choked, // the line cannot pass the flow: it would reach sonic speed before its end
};

// A gas or steam whose drop at constant density exceeds this share of its inlet pressure is
// computed as compressible.
inline constexpr double compressibleShare = 0.1;

struct LineDrop
{
    DropMethod method;
    double kPa; // over the line; NaN when choked
    double share; // of the inlet's absolute pressure
};

// The drop over a line of a flow in m3/h at the inlet's state through a bore in mm, with the
// friction factor the drop per 100 m found. For a gas or steam (compressible) losing more than
// compressibleShare of its inlet pressure at constant density, the isothermal relation of an
// ideal gas, p1² − p2² = G² (p1/ρ1) [f (L + Le)/D + ΣK + 2 ln(p1/p2)], solved for p2.
LineDrop lineDrop(const FluidState &inlet, bool compressible, double friction, double flow,
                  double bore, const LineSpec &line);

// "全线（管长 150 m，ΣK 6）压降约 23.4 kPa", with how it was found when not at constant
// density.
std::string lineDropText(const LineDrop &drop, const LineSpec &line);

// In the advice's recommended pipe. None where no pipe is recommended, or where the drop cannot
// be had: then note says why, as the medium's failures are worded.
std::optional<PressureDrop> recommendedPipeDrop(Medium medium, const PipeAdvice &advice,
                                                double flow, double roughness,
                                                const FluidState &fluid, std::string &note);

// "每 100 m 压降约 12.3 kPa（粗糙度 0.046 mm）", to three figures; a condition the figure
// assumes goes into the brackets.
std::string pressureDropText(const PressureDrop &drop, std::string_view condition = {});

} // namespace tovrik
