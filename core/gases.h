#pragma once

#include "core/fluid.h"

#include <optional>
#include <span>
#include <string_view>

// The gases the compressed-air panel ("压缩空气（各种气体）") sizes for: ideal gases of their own
// molar mass, with Sutherland's law for their viscosity. The diameter's formula takes a volume
// flow and is the same for all; the gas matters to the aids (density, viscosity, the pressure
// drop) and to a flow given as a mass.
namespace tovrik {

enum class Gas : unsigned char {
    Air,
    NaturalGas,
    Nitrogen,
    Oxygen,
    CarbonDioxide,
    Hydrogen,
    Argon
};

struct GasDef
{
    Gas gas;
    std::string_view name; // for the command line and CSV: "carbon-dioxide"
    const char *title; // 二氧化碳
    double gasConstant; // J/(kg K)
    // Sutherland's law: mu = mu0 (T / t0)^1.5 (t0 + s) / (T + s), T in K.
    double mu0; // Pa s
    double t0; // K
    double sutherland; // K
};

const GasDef &gasDef(Gas gas);
// Every gas, in the order above.
std::span<const GasDef> gasDefs();

// "air", "natural-gas", … in any case, or 空气, 天然气, 氮气, 氧气, 二氧化碳, 氢气, 氩气.
std::optional<Gas> gasFromName(std::string_view name);

// How a gas's flow Q is given. The diameter's formula takes it at the standard state, 0.1 MPa
// and 273 K; the others are turned into that first.
enum class FlowBasis : unsigned char {
    Standard, // m3/h at 0.1 MPa and 273 K
    Normal, // Nm3/h at 101.325 kPa and 0 C
    Fad, // free air delivery: m3/h at 0.1 MPa and 20 C
    Actual, // m3/h at the design pressure and temperature
    Mass, // kg/h
};

std::optional<FlowBasis> flowBasisFromName(std::string_view name);
const char *flowBasisName(FlowBasis basis); // "normal"
const char *flowBasisTitle(FlowBasis basis); // "Nm³/h（101.325 kPa、0 °C）"

// The state a basis's volume is given at: absolute pressure in MPa, temperature in degrees C as
// the formula reads them; none for the actual and the mass basis.
struct ReferenceState
{
    double pressure;
    double temperature;
};
std::optional<ReferenceState> referenceState(FlowBasis basis);

// The flow at the standard state, m3/h, of a flow Q on a basis, for a gas at an absolute
// pressure in MPa and a temperature in degrees C (which only the actual basis reads). The
// temperatures of the standard state and of the design are the formula's, T + 273.
double standardFlow(FlowBasis basis, double flow, Gas gas, double pressure, double temperature);

// Pa s at a temperature in K.
double gasViscosity(Gas gas, double kelvin);

// The gas at an absolute pressure in MPa and a temperature in degrees C; throws
// SizingFailure(NotPositive) for a pressure not above zero or a temperature not above 0 K.
FluidState gasState(Gas gas, double pressure, double temperature);

} // namespace tovrik
