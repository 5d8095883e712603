#include "core/sizing.h"

#include "runtime/conversion.h"

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
    const double a = checkedAdd(vbaR8Str(temperature, Operand::Temperature, decimalSeparator),
                                absoluteZeroOffset);
    const double b = checkedMul(checkedMul(vbaR8Str(flow, Operand::Flow, decimalSeparator), a),
                                standardPressure);
    const double c
        = checkedMul(vbaR8Str(pressure, Operand::Pressure, decimalSeparator), absoluteZeroOffset);
    const double q = checkedDiv(b, c, Operand::Pressure);
    const double qPerVelocity = vbaVarDiv(q, velocity, Operand::Velocity, decimalSeparator);
    return {q, checkedMul(rtcSqr(qPerVelocity), diameterFactor)};
}

Sizing steamSizing(std::string_view flow, std::string_view specificVolume,
                   std::string_view velocity, char32_t decimalSeparator)
{
    const double a = checkedMul(vbaR8Str(flow, Operand::Flow, decimalSeparator), tonneFactor);
    const double b
        = checkedMul(vbaR8Str(specificVolume, Operand::SpecificVolume, decimalSeparator), a);
    const double q
        = checkedDiv(b, vbaR8Str(velocity, Operand::Velocity, decimalSeparator), Operand::Velocity);
    return {b, checkedMul(rtcSqr(q), diameterFactor)};
}

Sizing waterSizing(std::string_view flow, std::string_view velocity, char32_t decimalSeparator)
{
    // The velocity field is read before the flow field, so a bad velocity is reported first.
    const double v = vbaR8Str(velocity, Operand::Velocity, decimalSeparator);
    const double volumeFlow = vbaR8Str(flow, Operand::Flow, decimalSeparator);
    const double q = checkedDiv(volumeFlow, v, Operand::Velocity);
    return {volumeFlow, checkedMul(rtcSqr(q), diameterFactor)};
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
