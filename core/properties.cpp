#include "core/properties.h"

#include "core/realgas.h"

namespace tovrik {

FluidState PropertyCache::waterState(double temperature, double pressure)
{
    return m_water.remember({temperature, pressure},
                            [&] { return tovrik::waterState(temperature, pressure); });
}

FluidState PropertyCache::saturatedSteamState(double specificVolume)
{
    return m_saturatedByVolume.remember(
        {specificVolume}, [&] { return tovrik::saturatedSteamState(specificVolume); });
}

FluidState PropertyCache::saturatedSteamStateAt(double pressure, double specificVolume)
{
    return m_saturatedAt.remember({pressure, specificVolume}, [&] {
        return tovrik::saturatedSteamStateAt(pressure, specificVolume);
    });
}

double PropertyCache::saturatedSteamVolume(double pressure, PressureKind kind)
{
    return m_saturatedVolume.remember({absolutePressure(pressure, kind)},
                                      [&] { return tovrik::saturatedSteamVolume(pressure, kind); });
}

double PropertyCache::superheatedSteamVolume(double pressure, PressureKind kind, double temperature)
{
    return m_superheatedVolume.remember({absolutePressure(pressure, kind), temperature}, [&] {
        return tovrik::superheatedSteamVolume(pressure, kind, temperature);
    });
}

PropertyCache::GasInPipe PropertyCache::gasInPipe(Gas gas, double pressure, double temperature)
{
    return m_gases.remember({double(gas), pressure, temperature}, [&] {
        const RealGas real = realGas(gas, pressure, temperature);
        FluidState state = gasState(gas, pressure, temperature);
        state.density = real.density;
        return GasInPipe {state, real.compressibility};
    });
}

} // namespace tovrik
