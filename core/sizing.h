#pragma once

#include <string>
#include <string_view>

// Inner pipe diameter in mm from a design flow and velocity: d = 18.8 * sqrt(q / v), with q
// in m3/h at working conditions and v in m/s. Each formula takes its panel's field texts and
// throws tovrik::SizingFailure, naming the input at fault where there is one.
namespace tovrik {

enum class Medium { Air, Steam, Water };

// A sizing before its result is turned into text.
struct Sizing
{
    double flow; // m3/h at working conditions
    double diameter; // mm
};

Sizing airSizing(std::string_view flow, std::string_view pressure, std::string_view temperature,
                 std::string_view velocity, char32_t decimalSeparator = U'.');
Sizing steamSizing(std::string_view flow, std::string_view specificVolume,
                   std::string_view velocity, char32_t decimalSeparator = U'.');
Sizing waterSizing(std::string_view flow, std::string_view velocity,
                   char32_t decimalSeparator = U'.');

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
