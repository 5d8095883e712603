#pragma once

#include "core/failure.h"

#include <optional>
#include <string>
#include <string_view>

// Inner pipe diameter in mm from a design flow and velocity: d = 18.8 * sqrt(q / v), with q
// in m3/h at working conditions and v in m/s. Each formula takes its panel's field texts and
// throws tovrik::SizingFailure, naming the input at fault where there is one.
namespace tovrik {

enum class Medium { Air, Steam, Water };

// Every number of a formula as it computed it, in its order, for the calculation sheet:
//   air    a = T + 273, b = (Q x a) x 0.1, c = P x 273, q = b / c, q' = q / v, d = sqrt(q') x 18.8
//   steam  a = Q x 1000, b = u x a, q' = b / v, d = sqrt(q') x 18.8
//   water  q' = Q / v, d = sqrt(q') x 18.8
struct FormulaSteps
{
    double flow = 0, pressure = 0, temperature = 0, specificVolume = 0, velocity = 0; // as read
    double a = 0, b = 0, c = 0, q = 0;
    double perVelocity = 0; // q', the quotient under the root
    double root = 0; // its square root
};

// A sizing before its result is turned into text.
struct Sizing
{
    double flow; // m3/h at working conditions
    double diameter; // mm
    FormulaSteps steps;
};

Sizing airSizing(std::string_view flow, std::string_view pressure, std::string_view temperature,
                 std::string_view velocity, char32_t decimalSeparator = U'.');
Sizing steamSizing(std::string_view flow, std::string_view specificVolume,
                   std::string_view velocity, char32_t decimalSeparator = U'.');
// The same with the specific volume a number already, as found from the steam's pressure: as if
// its shortest text had been typed, which reads back as exactly that number.
Sizing steamSizing(std::string_view flow, double specificVolume, std::string_view velocity,
                   char32_t decimalSeparator = U'.');
Sizing waterSizing(std::string_view flow, std::string_view velocity,
                   char32_t decimalSeparator = U'.');

// The same as a line list runs them, many of whose rows fail: the first failure is returned in
// failure, the sizing then of no use, instead of thrown.
Sizing airSizing(std::string_view flow, std::string_view pressure, std::string_view temperature,
                 std::string_view velocity, char32_t decimalSeparator,
                 std::optional<SizingFailure> &failure);
Sizing steamSizing(std::string_view flow, std::string_view specificVolume,
                   std::string_view velocity, char32_t decimalSeparator,
                   std::optional<SizingFailure> &failure);
Sizing steamSizing(std::string_view flow, double specificVolume, std::string_view velocity,
                   char32_t decimalSeparator, std::optional<SizingFailure> &failure);
Sizing waterSizing(std::string_view flow, std::string_view velocity, char32_t decimalSeparator,
                   std::optional<SizingFailure> &failure);

// The result text exactly as the result field shows it.

// Compressed air or another gas: flow at 0.1 MPa and 273 K (m3/h), design pressure (MPa),
// design temperature (degrees C), velocity (m/s).
std::string AirDiameter(std::string_view flow, std::string_view pressure,
                        std::string_view temperature, std::string_view velocity,
                        char32_t decimalSeparator = U'.');
// Saturated steam: mass flow (t/h), specific volume (m3/kg), velocity (m/s).
std::string SteamDiameter(std::string_view flow, std::string_view specificVolume,
                          std::string_view velocity, char32_t decimalSeparator = U'.');
// Water: flow (t/h, taken as m3/h), velocity (m/s).
std::string WaterDiameter(std::string_view flow, std::string_view velocity,
                          char32_t decimalSeparator = U'.');

} // namespace tovrik
