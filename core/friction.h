#pragma once

#include "core/fluid.h"
#include "core/pipes.h"

#include <limits>
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
    const char *source; // as a sheet cites it: "CJJ 34-2010"
};
std::span<const RoughnessDef> roughnessNames();
// The named roughness of that name, in any case; nullptr for none.
const RoughnessDef *roughnessNamed(std::string_view name);
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

enum class DropMethod : unsigned char {
    Incompressible, // Darcy-Weisbach at the inlet's density
    Isothermal, // a gas or steam losing more than a tenth of its pressure
    Choked, // the line cannot pass the flow: it would reach sonic speed before its end
    Flashing, // water whose outlet pressure falls below its vapour pressure: no liquid drop
};

struct PressureDrop
{
    double reynolds;
    double friction; // Darcy's factor
    double kPaPer100m;
    double roughness; // mm
    DropMethod method = DropMethod::Incompressible; // how the 100 m were taken
};

// For a volume flow in m3/h through a bore in mm of a wall roughness in mm, at the fluid's
// density; throws SizingFailure(OutOfRange, Roughness) for a roughness that is negative or not
// below the bore, and SizingFailure(Reynolds) for a flow whose Reynolds number is outside the
// range above.
PressureDrop pressureDrop(const FluidState &fluid, double flow, double bore, double roughness);

// The same for a gas or steam (compressible) as for a line of 100 m: where the drop at constant
// density is more than compressibleShare of the pressure, the isothermal drop over 100 m; throws
// SizingFailure(Choked) where 100 m of the pipe cannot pass the flow.
PressureDrop dropPer100m(const FluidState &fluid, bool compressible, double flow, double bore,
                         double roughness);

// A real line: its straight length, and its fittings as the sum of their resistance
// coefficients or as the length of straight pipe they are worth; and for a liquid, how far its
// end lies above its start.
struct LineSpec
{
    double length = 0.0; // m
    double fittings = 0.0; // ΣK
    double equivalentLength = 0.0; // m
    double rise = 0.0; // m, of water
};

// A gas or steam whose drop at constant density exceeds this share of its inlet pressure is
// computed as compressible.
inline constexpr double compressibleShare = 0.1;

struct LineDrop
{
    DropMethod method;
    double kPa; // to friction and fittings over the line; NaN when choked
    double share; // of the inlet's absolute pressure
    double staticKPa = 0.0; // of water rising to its end
    double outletPressure = 0.0; // MPa absolute; NaN when choked
    double outletVelocity = 0.0; // m/s; NaN when choked
    double vapourPressure = std::numeric_limits<double>::quiet_NaN(); // MPa, of water
};

// The drop over a line of a flow in m3/h at the inlet's state through a bore in mm, with the
// friction factor the drop per 100 m found. For a gas or steam (compressible) losing more than
// compressibleShare of its inlet pressure at constant density, the isothermal relation of an
// ideal gas, p1² − p2² = G² (p1/ρ1) [f (L + Le)/D + ΣK + 2 ln(p1/p2)], solved for p2. Water
// (vapourPressure its saturation pressure at its temperature, MPa) that would leave the line
// below it flashes.
LineDrop lineDrop(const FluidState &inlet, bool compressible, double friction, double flow,
                  double bore, const LineSpec &line,
                  double vapourPressure = std::numeric_limits<double>::quiet_NaN());

} // namespace tovrik
