#include "core/properties.h"

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

} // namespace tovrik
