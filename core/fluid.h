#pragma once

#include "core/steam.h"

// What a fluid is like in the pipe, for the friction of its flow: density from IAPWS-IF97 or the
// ideal-gas law, dynamic viscosity from the IAPWS 2008 formulation for water and steam and from
// Sutherland's law for air.
namespace tovrik {

struct FluidState
{
    double density; // kg/m3
    double viscosity; // Pa s
    double temperature; // degrees C
    double pressure; // MPa absolute
};

// IAPWS R12-08, "Release on the IAPWS Formulation 2008 for the Viscosity of Ordinary Water
// Substance", for industrial use (the critical enhancement taken as 1): temperature in K,
// density in kg/m3, viscosity in Pa s.
double waterViscosity(double temperature, double density);

// Sutherland's law for air with the constants of F. M. White, Viscous Fluid Flow, 3rd ed.
// (2006), table 1-2: 1.716e-5 Pa s at 273.15 K, S = 110.4 K. Temperature in K.
double airViscosity(double temperature);

// Liquid water at a temperature in degrees C and an absolute pressure in MPa (region 1); throws
// SizingFailure(NotLiquid, Temperature) with the boiling temperature as detail, NoLiquid below
// the triple-point pressure, NotPositive or OutOfRange.
FluidState waterState(double temperature, double pressure);
// A gas with air's properties at an absolute pressure in MPa and a temperature in degrees C;
// throws SizingFailure(NotPositive) for a pressure not above zero or a temperature not above
// 0 K.
FluidState airState(double pressure, double temperature);
// Saturated steam of a specific volume; throws as saturationForVolume does.
FluidState saturatedSteamState(double specificVolume);
// Saturated steam at an absolute pressure in MPa, whose specific volume is known.
FluidState saturatedSteamStateAt(double pressure, double specificVolume);
// Steam of a specific volume at a temperature in degrees C, as superheatedSteamVolume found it.
FluidState superheatedSteamState(double specificVolume, double temperature, double pressure);

} // namespace tovrik
