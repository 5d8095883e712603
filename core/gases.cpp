#include "core/gases.h"

#include "base/text.h"
#include "core/failure.h"

#include <cmath>
#include <iterator>

namespace tovrik {

namespace {

// The molar gas constant, CODATA 2018, J/(mol K).
constexpr double molarGasConstant = 8.314462618;

// kg/kmol: IUPAC standard atomic weights (2013), C 12.011, H 1.008, N 14.007, O 15.999,
// Ar 39.948, so that e.g. CO2 = 12.011 + 2 × 15.999.
constexpr double specific(double molarMass)
{
    return molarGasConstant * 1000.0 / molarMass;
}

// Sutherland's constants: F. M. White, Viscous Fluid Flow, 3rd ed. (McGraw-Hill, 2006),
// table 1-2, mu0 at t0 = 273 K, for nitrogen, oxygen, carbon dioxide, hydrogen and argon. Air
// keeps the constants it has always had here (White's, at 273.15 K with S = 110.4 K) and the
// gas constant 287.05 J/(kg K). White lists no methane: natural gas is taken as methane, its
// viscosity 11.2 µPa s at 300 K from the CRC Handbook of Chemistry and Physics, 97th ed.
// (2016), "Viscosity of Gases", with S = 198 K (Kaye & Laby, Tables of Physical and Chemical
// Constants, 16th ed., 1995), which gives that table's 200 K and 400 K values within 1 %.
constexpr GasDef gases[] = {
    {Gas::Air, "air", "空气", 287.05, 1.716e-5, 273.15, 110.4},
    {Gas::NaturalGas, "natural-gas", "天然气（按甲烷）", specific(16.043), 1.12e-5, 300.0, 198.0},
    {Gas::Nitrogen, "nitrogen", "氮气", specific(28.014), 1.663e-5, 273.0, 107.0},
    {Gas::Oxygen, "oxygen", "氧气", specific(31.998), 1.919e-5, 273.0, 139.0},
    {Gas::CarbonDioxide, "carbon-dioxide", "二氧化碳", specific(44.009), 1.370e-5, 273.0, 222.0},
    {Gas::Hydrogen, "hydrogen", "氢气", specific(2.016), 8.411e-6, 273.0, 97.0},
    {Gas::Argon, "argon", "氩气", specific(39.948), 2.125e-5, 273.0, 114.0},
};

} // namespace

const GasDef &gasDef(Gas gas)
{
    return gases[static_cast<std::size_t>(gas)];
}

std::optional<Gas> gasFromName(std::string_view name)
{
    for (const GasDef &def : gases) {
        const std::string_view title = def.title;
        if (equalsIgnoringCase(name, def.name) || name == title.substr(0, title.find("（")))
            return def.gas;
    }
    return std::nullopt;
}

std::span<const GasDef> gasDefs()
{
    return gases;
}

namespace {

struct FlowBasisDef
{
    FlowBasis basis;
    const char *name;
    const char *title;
};

constexpr FlowBasisDef flowBases[] = {
    {FlowBasis::Standard, "standard", "标态 m³/h（0.1 MPa、273 K）"},
    {FlowBasis::Normal, "normal", "Nm³/h（101.325 kPa、0 °C）"},
    {FlowBasis::Fad, "fad", "自由空气量 m³/h（0.1 MPa、20 °C）"},
    {FlowBasis::Actual, "actual", "工况 m³/h（设计压力、温度下）"},
    {FlowBasis::Mass, "mass", "质量流量 kg/h"},
};

} // namespace

std::optional<FlowBasis> flowBasisFromName(std::string_view name)
{
    for (const FlowBasisDef &def : flowBases) {
        if (equalsIgnoringCase(name, def.name))
            return def.basis;
    }
    return std::nullopt;
}

const char *flowBasisName(FlowBasis basis)
{
    return flowBases[static_cast<std::size_t>(basis)].name;
}

const char *flowBasisTitle(FlowBasis basis)
{
    return flowBases[static_cast<std::size_t>(basis)].title;
}

std::optional<ReferenceState> referenceState(FlowBasis basis)
{
    switch (basis) {
    case FlowBasis::Standard: return ReferenceState {0.1, 0.0};
    case FlowBasis::Normal: return ReferenceState {0.101325, 0.0};
    case FlowBasis::Fad: return ReferenceState {0.1, 20.0};
    case FlowBasis::Actual:
    case FlowBasis::Mass: break;
    }
    return std::nullopt;
}

double standardFlow(FlowBasis basis, double flow, Gas gas, double pressure, double temperature)
{
    // The formula takes a flow at 0.1 MPa and 273 K to the design state by (0.1 / P) ((T + 273) /
    // 273). A flow given at a reference state of its own (p_r, t_r) is turned into the standard
    // state by the same law, p_r / 0.1 (273 / (t_r + 273)), so that at a design state equal to
    // its reference state it comes back unchanged: 1000 Nm3/h at 101.325 kPa and 0 C is 1000
    // m3/h there, not 999.45 as with 0 C taken as 273.15 K against the formula's 273.
    constexpr double standardPressure = 0.1; // MPa
    constexpr double standardKelvin = 273.0; // the formula's, and its offset from degrees C
    const auto fromReference = [&](double referencePressure, double referenceTemperature) {
        return flow * (referencePressure / standardPressure)
            * (standardKelvin / (referenceTemperature + standardKelvin));
    };
    if (basis == FlowBasis::Mass)
        return flow * (gasDef(gas).gasConstant * standardKelvin) / (standardPressure * 1.0e6);
    if (basis == FlowBasis::Actual)
        return fromReference(pressure, temperature);
    const ReferenceState reference = *referenceState(basis);
    return basis == FlowBasis::Standard ? flow
                                        : fromReference(reference.pressure, reference.temperature);
}

double gasViscosity(Gas gas, double kelvin)
{
    const GasDef &d = gasDef(gas);
    const double ratio = kelvin / d.t0;
    return d.mu0 * (ratio * std::sqrt(ratio)) * (d.t0 + d.sutherland) / (kelvin + d.sutherland);
}

FluidState gasState(Gas gas, double pressure, double temperature)
{
    const double kelvin = temperature + kelvinOffset;
    if (!(pressure > 0.0))
        throw SizingFailure(Problem::NotPositive, Operand::Pressure);
    if (!(kelvin > 0.0))
        throw SizingFailure(Problem::NotPositive, Operand::Temperature);
    const double density = pressure * 1.0e6 / (gasDef(gas).gasConstant * kelvin);
    return {density, gasViscosity(gas, kelvin), temperature, pressure};
}

} // namespace tovrik
