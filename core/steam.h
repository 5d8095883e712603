#pragma once

// Saturated steam from IAPWS-IF97 (the 2007 revised release): the saturation line of region 4
// and the vapour of region 2, in MPa, K and m3/kg.
namespace tovrik {

enum class PressureKind { Gauge, Absolute };

inline constexpr double atmosphericPressure = 0.101325; // MPa, added to a gauge reading
inline constexpr double lowestSteamPressure = 0.000611; // MPa absolute, about the triple point
inline constexpr double highestSteamPressure = 16.5; // MPa absolute, where region 2 ends

// Saturation temperature at an absolute pressure (region 4, the backward equation).
double saturationTemperature(double pressure);
// Specific volume of steam at an absolute pressure and a temperature (region 2).
double region2SpecificVolume(double pressure, double temperature);
// Specific volume of saturated steam; throws Failure(OutOfRange, Pressure) outside the range
// above, and Failure(NotANumber) for a pressure that is not finite.
double saturatedSteamVolume(double pressure, PressureKind kind);

} // namespace tovrik
