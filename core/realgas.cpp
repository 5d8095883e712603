#include "core/realgas.h"

#include "core/failure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <span>

namespace tovrik {

namespace {

// The critical points are those of each gas's reference equation of state, the acentric factors
// those NIST's REFPROP lists with it (as transcribed in the fluid files of CoolProp 6 and, for
// nitrogen and argon, REFPROP 10's own):
// - air: E. W. Lemmon, R. T. Jacobsen, S. G. Penoncello, D. G. Friend, "Thermodynamic properties
//   of air and mixtures of nitrogen, argon, and oxygen from 60 to 2000 K at pressures to 2000
//   MPa", J. Phys. Chem. Ref. Data 29 (2000) 331, the critical point of air as a pseudo-pure
//   fluid, 132.5306 K and 3.7860 MPa;
// - methane: U. Setzmann, W. Wagner, J. Phys. Chem. Ref. Data 20 (1991) 1061;
// - nitrogen: R. Span et al., J. Phys. Chem. Ref. Data 29 (2000) 1361;
// - oxygen: R. Schmidt, W. Wagner, Fluid Phase Equilib. 19 (1985) 175;
// - carbon dioxide: R. Span, W. Wagner, J. Phys. Chem. Ref. Data 25 (1996) 1509, table 3;
// - hydrogen (normal): J. W. Leachman et al., J. Phys. Chem. Ref. Data 38 (2009) 721;
// - argon: Ch. Tegeler, R. Span, W. Wagner, J. Phys. Chem. Ref. Data 28 (1999) 779.
// In Gas's order.
constexpr CriticalPoint criticalPoints[] = {
    {132.5306, 3.7860, 0.0335}, // air
    {190.564, 4.5992, 0.01142}, // methane
    {126.192, 3.3958, 0.0372}, // nitrogen
    {154.581, 5.043, 0.0222}, // oxygen
    {304.1282, 7.3773, 0.22394}, // carbon dioxide
    {33.145, 1.2964, -0.219}, // hydrogen
    {150.687, 4.863, -0.00219}, // argon
};

// A vapour-pressure equation of the form ln(ps/pc) = (Tc/T) sum n_i (1 - T/Tc)^t_i, valid from
// the triple point (lowest, K) to the critical point above.
struct VapourPressureTerm
{
    double n;
    double t;
};
struct VapourPressureEquation
{
    double lowest; // K
    std::span<const VapourPressureTerm> terms;
};

// Span & Wagner (1996), eq. (3.13), as quoted by SINTEF's MRST (CO2VaporPressure.m) and
// pychemqt; it gives 3.4850 MPa at 0 °C and 1.9696 MPa at −20 °C, as NIST's tables do.
constexpr VapourPressureTerm carbonDioxideTerms[]
    = {{-7.0602087, 1.0}, {1.9391218, 1.5}, {-1.6463597, 2.0}, {-3.2995634, 4.0}};
// The ancillary equations that accompany the other reference equations, with the coefficients
// as pychemqt quotes them (the papers themselves not seen). Each gives the saturation pressure
// of its paper's table at the triple point (or, for oxygen, that of the equation of state at
// 150 K) within 0.02 %; only the cryogenic states below −82 °C need them.
constexpr VapourPressureTerm methaneTerms[] = { // Setzmann & Wagner (1991)
    {-6.036219, 1.0},
    {1.409353, 1.5},
    {-0.4945199, 2.0},
    {-1.443048, 4.5}};
constexpr VapourPressureTerm nitrogenTerms[] = { // Span et al. (2000)
    {-6.12445284, 1.0},
    {1.2632722, 1.5},
    {-0.765910082, 2.5},
    {-1.77570564, 5.0}};
constexpr VapourPressureTerm oxygenTerms[]
    = {{-6.0595, 1.0}, {1.3050, 1.5}, {-0.54178, 2.2}, {-1.9410, 4.8}, {0.35514, 6.2}};
constexpr VapourPressureTerm hydrogenTerms[] = { // Leachman et al. (2009), table 8
    {-4.89789, 1.0},
    {0.988558, 1.5},
    {0.349689, 2.0},
    {0.499356, 2.85}};
constexpr VapourPressureTerm argonTerms[] = { // Tegeler et al. (1999)
    {-5.9409785, 1.0},
    {1.3553888, 1.5},
    {-0.4649761, 2.0},
    {-1.5399043, 4.5}};

// Triple points of the same equations, K. Air has none typed: its dew and bubble lines differ.
constexpr VapourPressureEquation vapourPressures[] = {
    {0.0, {}}, // air
    {90.6941, methaneTerms},
    {63.151, nitrogenTerms},
    {54.361, oxygenTerms},
    {216.592, carbonDioxideTerms},
    {13.957, hydrogenTerms},
    {83.8058, argonTerms},
};

constexpr std::size_t indexOf(Gas gas)
{
    return static_cast<std::size_t>(gas);
}

// The largest real root of z^3 + a z^2 + b z + c, by Cardano's or the trigonometric form, made
// exact to the last bits by Newton's step.
double largestRoot(double a, double b, double c)
{
    const double p = b - a * a / 3.0;
    const double q = 2.0 * a * a * a / 27.0 - a * b / 3.0 + c;
    const double discriminant = q * q / 4.0 + p * p * p / 27.0;
    double y;
    if (discriminant > 0.0) {
        const double root = std::sqrt(discriminant);
        y = std::cbrt(-q / 2.0 + root) + std::cbrt(-q / 2.0 - root);
    } else {
        const double r = std::sqrt(-p / 3.0);
        const double cosine = std::clamp(-q / (2.0 * r * r * r), -1.0, 1.0);
        y = 2.0 * r * std::cos(std::acos(cosine) / 3.0);
    }
    double z = y - a / 3.0;
    for (int i = 0; i < 2; ++i) {
        const double f = ((z + a) * z + b) * z + c;
        const double slope = (3.0 * z + 2.0 * a) * z + b;
        if (slope == 0.0)
            break;
        z -= f / slope;
    }
    return z;
}

void checkState(double pressure, double kelvin)
{
    if (!(pressure > 0.0))
        throw SizingFailure(Problem::NotPositive, Operand::Pressure);
    if (pressure > highestGasPressure)
        throw SizingFailure(Problem::OutOfRange, Operand::Pressure);
    if (!(kelvin > 0.0))
        throw SizingFailure(Problem::NotPositive, Operand::Temperature);
}

} // namespace

const CriticalPoint &criticalPoint(Gas gas)
{
    return criticalPoints[indexOf(gas)];
}

RealGas realGas(Gas gas, double pressure, double temperature)
{
    const double kelvin = temperature + kelvinOffset;
    checkState(pressure, kelvin);
    // D.-Y. Peng, D. B. Robinson, "A new two-constant equation of state", Ind. Eng. Chem.
    // Fundam. 15 (1976) 59, eqs. (9)–(12), (17), (18) and the cubic (5) in Z.
    const CriticalPoint &c = criticalPoint(gas);
    const double kappa = 0.37464 + 1.54226 * c.acentric - 0.26992 * c.acentric * c.acentric;
    const double root = 1.0 + kappa * (1.0 - std::sqrt(kelvin / c.temperature));
    const double reducedPressure = pressure / c.pressure;
    const double reducedKelvin = kelvin / c.temperature;
    const double A = 0.45724 * root * root * reducedPressure / (reducedKelvin * reducedKelvin);
    const double B = 0.07780 * reducedPressure / reducedKelvin;
    const double z
        = largestRoot(-(1.0 - B), A - 3.0 * B * B - 2.0 * B, -(A * B - B * B - B * B * B));
    // Far past any pipe's pressure the cubic's coefficients overflow: no density, said so.
    if (!std::isfinite(z) || !(z > 0.0))
        throw SizingFailure(Problem::OutOfRange, Operand::Pressure);
    return {z, pressure * 1.0e6 / (z * gasDef(gas).gasConstant * kelvin)};
}

FluidState realGasState(Gas gas, double pressure, double temperature)
{
    FluidState state = gasState(gas, pressure, temperature);
    state.density = realGas(gas, pressure, temperature).density;
    return state;
}

double vapourPressure(Gas gas, double temperature)
{
    const double kelvin = temperature + kelvinOffset;
    const CriticalPoint &c = criticalPoint(gas);
    const VapourPressureEquation &equation = vapourPressures[indexOf(gas)];
    // The triple point itself belongs to the range, though typed in degrees C it may round below.
    if (equation.terms.empty() || !(kelvin >= equation.lowest - 1e-9) || !(kelvin < c.temperature))
        return std::numeric_limits<double>::quiet_NaN();
    const double theta = 1.0 - kelvin / c.temperature;
    double sum = 0.0;
    for (const VapourPressureTerm &term : equation.terms)
        sum += term.n * std::pow(theta, term.t);
    return c.pressure * std::exp(c.temperature / kelvin * sum);
}

PhaseCheck gasPhase(Gas gas, double pressure, double temperature)
{
    const double critical = criticalPoint(gas).temperature;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    PhaseCheck check {GasPhase::Gas, nan, critical - kelvinOffset};
    if (temperature + kelvinOffset >= critical)
        return check;
    check.vapourPressure = vapourPressure(gas, temperature);
    if (std::isnan(check.vapourPressure))
        check.phase = GasPhase::Unjudged;
    else if (pressure >= check.vapourPressure)
        check.phase = GasPhase::Liquid;
    return check;
}

} // namespace tovrik
