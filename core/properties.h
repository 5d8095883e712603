#pragma once

#include "core/fluid.h"
#include "core/gases.h"
#include "core/memo.h"
#include "core/steam.h"

// The states of water and steam a line list meets, each worked out once: a list repeats its
// steam volumes, pressures and water temperatures thousands of times, and an IF97 state costs a
// hundred times a lookup. The batch owns one and passes it to every row; a single sizing needs
// none. Each gives exactly what the function of the same name gives, and throws as it does.
namespace tovrik {

class PropertyCache
{
public:
    FluidState waterState(double temperature, double pressure);
    FluidState saturatedSteamState(double specificVolume);
    FluidState saturatedSteamStateAt(double pressure, double specificVolume);
    double saturatedSteamVolume(double pressure, PressureKind kind);
    double superheatedSteamVolume(double pressure, PressureKind kind, double temperature);
    // A real gas in the pipe, and its compressibility: realGasState and realGas together.
    struct GasInPipe
    {
        FluidState state;
        double compressibility;
    };
    GasInPipe gasInPipe(Gas gas, double pressure, double temperature);

private:
    Memo<FluidState, 2> m_water;
    Memo<FluidState, 1, 16384> m_saturatedByVolume; // thousands of volumes in a list
    Memo<FluidState, 2> m_saturatedAt;
    Memo<double, 1> m_saturatedVolume;
    Memo<double, 2> m_superheatedVolume;
    Memo<GasInPipe, 3> m_gases; // by gas, pressure and temperature
};

} // namespace tovrik
