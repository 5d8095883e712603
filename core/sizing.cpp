#include "core/sizing.h"

#include "core/failure.h"
#include "runtime/conversion.h"

#include <cmath>

namespace tovrik {

namespace {

constexpr double diameterFactor = 18.8;
constexpr double absoluteZeroOffset = 273.0;
constexpr double standardPressure = 0.1;
constexpr double tonneFactor = 1000.0;

} // namespace

// Every step below is one IEEE operation in the stated order and operand order: results must
// match the reference figures to the last bit, so no step may be folded or reordered.

Sizing airSizing(std::string_view flow, std::string_view pressure, std::string_view temperature,
                 std::string_view velocity, char32_t decimalSeparator)
{
    const auto number = [&](std::string_view text, Operand operand) {
        return readNumber(text, operand, decimalSeparator);
    };
    const double t = number(temperature, Operand::Temperature);
    const double a = tracedTo(Operand::None, [&] { return checkedAdd(t, absoluteZeroOffset); });
    const double q0 = number(flow, Operand::Flow);
    const double b
        = tracedTo(Operand::None, [&] { return checkedMul(checkedMul(q0, a), standardPressure); });
    const double p = number(pressure, Operand::Pressure);
    const double c = tracedTo(Operand::None, [&] { return checkedMul(p, absoluteZeroOffset); });
    const double q = dividedBy(b, c, Operand::Pressure);
    // The velocity's text is converted only here, as the divisor of a variant division.
    const double v = number(velocity, Operand::Velocity);
    const double qPerVelocity = dividedBy(q, v, Operand::Velocity);
    const double root = squareRoot(qPerVelocity);
    return {q,
            tracedTo(Operand::None, [&] { return checkedMul(root, diameterFactor); }),
            {q0, p, t, 0, v, a, b, c, q, qPerVelocity, root}};
}

namespace {

// Steam's formula with its specific volume read by volume(), at the point the panel reads it.
template<typename Volume>
Sizing steamFormula(std::string_view flow, Volume &&volume, std::string_view velocity,
                    char32_t decimalSeparator)
{
    const auto number = [&](std::string_view text, Operand operand) {
        return readNumber(text, operand, decimalSeparator);
    };
    const double q0 = number(flow, Operand::Flow);
    const double a = tracedTo(Operand::None, [&] { return checkedMul(q0, tonneFactor); });
    const double u = volume();
    const double b = tracedTo(Operand::None, [&] { return checkedMul(u, a); });
    const double v = number(velocity, Operand::Velocity);
    const double q = dividedBy(b, v, Operand::Velocity);
    const double root = squareRoot(q);
    return {b,
            tracedTo(Operand::None, [&] { return checkedMul(root, diameterFactor); }),
            {q0, 0, 0, u, v, a, b, 0, b, q, root}};
}

} // namespace

Sizing steamSizing(std::string_view flow, std::string_view specificVolume,
                   std::string_view velocity, char32_t decimalSeparator)
{
    return steamFormula(
        flow, [&] { return readNumber(specificVolume, Operand::SpecificVolume, decimalSeparator); },
        velocity, decimalSeparator);
}

Sizing steamSizing(std::string_view flow, double specificVolume, std::string_view velocity,
                   char32_t decimalSeparator)
{
    if (!std::isfinite(specificVolume))
        throw SizingFailure(Problem::NotANumber, Operand::SpecificVolume);
    return steamFormula(
        flow, [&] { return specificVolume; }, velocity, decimalSeparator);
}

Sizing waterSizing(std::string_view flow, std::string_view velocity, char32_t decimalSeparator)
{
    // The velocity field is read before the flow field, so a bad velocity is reported first.
    const double v = readNumber(velocity, Operand::Velocity, decimalSeparator);
    const double volumeFlow = readNumber(flow, Operand::Flow, decimalSeparator);
    const double q = dividedBy(volumeFlow, v, Operand::Velocity);
    const double root = squareRoot(q);
    return {volumeFlow,
            tracedTo(Operand::None, [&] { return checkedMul(root, diameterFactor); }),
            {volumeFlow, 0, 0, 0, v, 0, 0, 0, volumeFlow, q, root}};
}

std::string AirDiameter(std::string_view flow, std::string_view pressure,
                        std::string_view temperature, std::string_view velocity,
                        char32_t decimalSeparator)
{
    return vbaStrR8(airSizing(flow, pressure, temperature, velocity, decimalSeparator).diameter,
                    decimalSeparator);
}

std::string SteamDiameter(std::string_view flow, std::string_view specificVolume,
                          std::string_view velocity, char32_t decimalSeparator)
{
    return vbaStrR8(steamSizing(flow, specificVolume, velocity, decimalSeparator).diameter,
                    decimalSeparator);
}

std::string WaterDiameter(std::string_view flow, std::string_view velocity,
                          char32_t decimalSeparator)
{
    return vbaStrR8(waterSizing(flow, velocity, decimalSeparator).diameter, decimalSeparator);
}

} // namespace tovrik
