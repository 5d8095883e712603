#pragma once

#include "core/fluid.h"
#include "core/gases.h"

// The gases of the air panel as real gases: their compressibility from the Peng–Robinson
// equation of state, and whether a state is a gas at all. The diameter's formula keeps its own
// ideal conversion to working flow; these are for the aids (velocity, pressure drop, a flow
// given as a mass), which are judged on the density the gas really has.
namespace tovrik {

struct CriticalPoint
{
    double temperature; // K
    double pressure; // MPa
    double acentric; // Pitzer's acentric factor
};

// The critical point and acentric factor Peng–Robinson is given for a gas; air is taken as a
// pseudo-pure fluid, natural gas as methane.
const CriticalPoint &criticalPoint(Gas gas);

struct RealGas
{
    double compressibility; // Z = p / (rho R T)
    double density; // kg/m3, of the gas constant gasDef gives
};

// Peng & Robinson (1976): Z and the density of a gas at an absolute pressure in MPa and a
// temperature in degrees C, from the largest root of the cubic, which is the gas's wherever
// gasPhase says Gas. Within 3 % of the reference equations of state over 0.1–4 MPa and
// −20–200 °C for every gas. Throws SizingFailure(NotPositive) as gasState does.
RealGas realGas(Gas gas, double pressure, double temperature);
// The highest absolute pressure, MPa, the aids take a gas's density at: ten times the gases' own
// critical pressures, far past any pipe; above it realGas throws SizingFailure(OutOfRange).
inline constexpr double highestGasPressure = 100.0;

// The model realGas applies, for a note saying which Z was used.
inline constexpr const char *realGasModel = "按 Peng–Robinson 方程（1976）";

// gasState with the density of realGas: the viscosity stays the dilute gas's.
FluidState realGasState(Gas gas, double pressure, double temperature);

// The vapour pressure of a gas at a temperature in degrees C, MPa, between its triple point and
// its critical temperature; NaN outside that range or for air, whose dew and bubble lines are not
// typed here.
double vapourPressure(Gas gas, double temperature);

enum class GasPhase : unsigned char {
    Gas, // above the critical temperature, or below the vapour pressure
    Liquid, // below the critical temperature and at or above the vapour pressure
    Unjudged, // below the critical temperature where no vapour pressure is typed: air, or
              // below the triple point
};

struct PhaseCheck
{
    GasPhase phase;
    double vapourPressure; // MPa, for Gas below the critical temperature and Liquid; else NaN
    double criticalTemperature; // degrees C
};

// Whether a gas at an absolute pressure in MPa and a temperature in degrees C is a gas, and if not
// the figure that says why.
PhaseCheck gasPhase(Gas gas, double pressure, double temperature);

} // namespace tovrik
