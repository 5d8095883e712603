#pragma once

// Water and steam from IAPWS-IF97 (the 2007 revised release): liquid water of region 1, the
// vapour of region 2, the saturation line of region 4 and the boundary of regions 2 and 3, in
// MPa, K and m3/kg.
namespace tovrik {

enum class PressureKind { Gauge, Absolute };

inline constexpr double atmosphericPressure = 0.101325; // MPa, added to a gauge reading
inline constexpr double lowestSteamPressure = 0.000611; // MPa absolute, about the triple point
inline constexpr double highestSteamPressure = 16.5; // MPa absolute, where saturated region 2 ends
inline constexpr double kelvinOffset = 273.15;

constexpr double absolutePressure(double pressure, PressureKind kind)
{
    return kind == PressureKind::Gauge ? pressure + atmosphericPressure : pressure;
}

// Saturation temperature at an absolute pressure (region 4, the backward equation).
double saturationTemperature(double pressure);
// Saturation pressure at a temperature (region 4, the basic equation).
double saturationPressure(double temperature);
// The pressure on the boundary between regions 2 and 3 at a temperature from 623.15 K, and the
// temperature on it at a pressure from 16.53 MPa.
double boundary23Pressure(double temperature);
double boundary23Temperature(double pressure);
// Where region 2 begins at an absolute pressure, in K: the saturation temperature, or above
// 16.53 MPa the B23 line.
double lowestSuperheatedTemperature(double pressure);
// Specific volume of liquid water at an absolute pressure and a temperature (region 1).
double region1SpecificVolume(double pressure, double temperature);
// Specific volume of steam at an absolute pressure and a temperature (region 2).
double region2SpecificVolume(double pressure, double temperature);

// Specific volume of saturated steam; throws SizingFailure(OutOfRange, Pressure) outside the
// range above, and SizingFailure(NotANumber) for a pressure that is not finite.
double saturatedSteamVolume(double pressure, PressureKind kind);

// Specific volume of superheated steam at a pressure and a temperature in degrees C, in region
// 2: up to 800 C and 100 MPa, short of region 3. Throws SizingFailure(NotSuperheated,
// Temperature) with the saturation temperature in degrees C as its detail when the steam would
// not be superheated, SizingFailure(BelowRegion2, Temperature) with the B23 temperature above
// 16.53 MPa where it would lie in region 3 or be compressed liquid, and SizingFailure(OutOfRange
// or NotPositive) outside the region's pressures and temperatures.
double superheatedSteamVolume(double pressure, PressureKind kind, double temperature);

struct SaturationState
{
    double pressure; // MPa absolute
    double temperature; // K
};
// The saturated steam whose specific volume is the one given; throws SizingFailure(OutOfRange,
// SpecificVolume) where no saturated steam of the range above has it. A volume that is one of
// the range's ends to six figures is taken as that end.
SaturationState saturationForVolume(double specificVolume);

} // namespace tovrik
