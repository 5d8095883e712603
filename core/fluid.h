#pragma once

#include "core/steam.h"

// What a fluid is like in the pipe, for the friction of its flow, and water and steam as
// IAPWS-IF97 gives their density and the IAPWS 2008 formulation their dynamic viscosity. The
// gases (core/gases.h) give their own states of the same kind.
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

// Liquid water at a temperature in degrees C and an absolute pressure in MPa (region 1); throws
// SizingFailure(NotLiquid, Temperature) with the boiling temperature as detail, NoLiquid below
// the triple-point pressure, NotPositive or OutOfRange.
FluidState waterState(double temperature, double pressure);
// Saturated steam of a specific volume; throws as saturationForVolume does.
FluidState saturatedSteamState(double specificVolume);
// Saturated steam at an absolute pressure in MPa, whose specific volume is known.
FluidState saturatedSteamStateAt(double pressure, double specificVolume);
// Steam of a specific volume at a temperature in degrees C, as superheatedSteamVolume found it.
FluidState superheatedSteamState(double specificVolume, double temperature, double pressure);

} // namespace tovrik
