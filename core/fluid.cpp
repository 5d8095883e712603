#include "core/fluid.h"

#include "core/failure.h"

#include <cmath>

namespace tovrik {

namespace {

// IAPWS R12-08, tables 1 and 2.
constexpr double h0[] = {1.67752, 2.20462, 0.6366564, -0.241605};
constexpr double h1[6][7] = {
    {5.20094e-1, 2.22531e-1, -2.81378e-1, 1.61913e-1, -3.25372e-2, 0.0, 0.0},
    {8.50895e-2, 9.99115e-1, -9.06851e-1, 2.57399e-1, 0.0, 0.0, 0.0},
    {-1.08374, 1.88797, -7.72479e-1, 0.0, 0.0, 0.0, 0.0},
    {-2.89555e-1, 1.26613, -4.89837e-1, 0.0, 6.98452e-2, 0.0, -4.35673e-3},
    {0.0, 0.0, -2.57040e-1, 0.0, 0.0, 8.72102e-3, 0.0},
    {0.0, 1.20573e-1, 0.0, 0.0, 0.0, 0.0, -5.93264e-4},
};
constexpr double criticalTemperature = 647.096; // K
constexpr double criticalDensity = 322.0; // kg/m3
constexpr double referenceViscosity = 1.0e-6; // Pa s

constexpr double waterHighest = 623.15; // K, where region 1 ends
constexpr double waterHighestPressure = 100.0; // MPa
constexpr double triplePointPressure = 611.657e-6; // MPa, IAPWS-IF97 section 2.1

} // namespace

double waterViscosity(double temperature, double density)
{
    const double t = temperature / criticalTemperature;
    const double rho = density / criticalDensity;
    double sum0 = 0.0;
    double inverse = 1.0;
    for (const double h : h0) {
        sum0 += h * inverse;
        inverse /= t;
    }
    const double mu0 = 100.0 * std::sqrt(t) / sum0;
    double sum1 = 0.0;
    double a = 1.0; // (1/t - 1)^i
    for (const auto &row : h1) {
        double inner = 0.0;
        double b = 1.0; // (rho - 1)^j
        for (const double h : row) {
            inner += h * b;
            b *= rho - 1.0;
        }
        sum1 += a * inner;
        a *= 1.0 / t - 1.0;
    }
    const double mu1 = std::exp(rho * sum1);
    return referenceViscosity * mu0 * mu1;
}

FluidState waterState(double temperature, double pressure)
{
    if (!std::isfinite(temperature))
        throw SizingFailure(Problem::NotANumber, Operand::Temperature);
    if (!std::isfinite(pressure))
        throw SizingFailure(Problem::NotANumber, Operand::Pressure);
    const double kelvin = temperature + kelvinOffset;
    if (!(pressure > 0.0))
        throw SizingFailure(Problem::NotPositive, Operand::Pressure);
    if (pressure > waterHighestPressure)
        throw SizingFailure(Problem::OutOfRange, Operand::Pressure);
    if (pressure < triplePointPressure)
        throw SizingFailure(Problem::NoLiquid, Operand::Pressure);
    if (kelvin < kelvinOffset || kelvin > waterHighest)
        throw SizingFailure(Problem::OutOfRange, Operand::Temperature);
    if (pressure < saturationPressure(waterHighest)) {
        const double boiling = saturationTemperature(pressure);
        if (kelvin >= boiling)
            throw SizingFailure(Problem::NotLiquid, Operand::Temperature, boiling - kelvinOffset);
    }
    const double density = 1.0 / region1SpecificVolume(pressure, kelvin);
    return FluidState {density, waterViscosity(kelvin, density), temperature, pressure};
}

FluidState saturatedSteamState(double specificVolume)
{
    const SaturationState saturation = saturationForVolume(specificVolume);
    const double density = 1.0 / specificVolume;
    return FluidState {density, waterViscosity(saturation.temperature, density),
                       saturation.temperature - kelvinOffset, saturation.pressure};
}

FluidState saturatedSteamStateAt(double pressure, double specificVolume)
{
    const double saturation = saturationTemperature(pressure);
    const double density = 1.0 / specificVolume;
    return FluidState {density, waterViscosity(saturation, density), saturation - kelvinOffset,
                       pressure};
}

FluidState superheatedSteamState(double specificVolume, double temperature, double pressure)
{
    const double density = 1.0 / specificVolume;
    return {density, waterViscosity(temperature + kelvinOffset, density), temperature, pressure};
}

} // namespace tovrik
