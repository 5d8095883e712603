#include "core/servicelimits.h"

#include <iterator>

namespace tovrik {

namespace {

// Oxygen: GB 16912-2008 (深度冷冻法生产氧气及相关气体安全技术规程), whose 4.6.27 sends oxygen
// line velocities and materials to its chapter 8 (as quoted on bbs.kongfen.org.cn); the limits
// by pressure and material were not found in any copy seen. Hydrogen: GB 50177-2005
// (氢气站设计规范, issued 2005-04-15, in force 2005-10-01, from a copy of the standard whose
// text could not be read).
constexpr std::string_view oxygenStandard
    = "GB 16912-2008《深度冷冻法生产氧气及相关气体安全技术规程》";
constexpr std::string_view hydrogenStandard = "GB 50177-2005《氢气站设计规范》";

// 1 kgf/cm² = 98.0665 kPa.
constexpr double kgfPerSquareCentimetre = 98.0665; // kPa

// "一般蒸汽管道的流速" (doczj.com/doc/0613202909.html and reprints; its source not named),
// column 最大允许压降 kg/cm²/100m: (1) 一般, by 压力等级 0.0~3.5 kg/cm²G 0.06, 3.5~10.5 0.12,
// 10.5~21.0 0.23, >21.0 0.35, with 10.0~35.0 m/s; (2) 过热蒸汽 0.35; (3) 饱和蒸汽 0.20.
constexpr std::string_view reprint = "《一般蒸汽管道的流速》表（转载，原出处未注明）";
constexpr DropLimit limits[] = {
    {0.20 * kgfPerSquareCentimetre, "饱和蒸汽", reprint, false},
    {0.35 * kgfPerSquareCentimetre, "过热蒸汽", reprint, false},
    {0.06 * kgfPerSquareCentimetre, "一般 0.0~3.5 kg/cm²G", reprint, false},
    {0.12 * kgfPerSquareCentimetre, "一般 3.5~10.5 kg/cm²G", reprint, false},
    {0.23 * kgfPerSquareCentimetre, "一般 10.5~21.0 kg/cm²G", reprint, false},
    {0.35 * kgfPerSquareCentimetre, "一般 >21.0 kg/cm²G", reprint, false},
};
// The general rows' upper gauge pressures, MPa.
constexpr double generalClasses[]
    = {3.5 * kgfPerSquareCentimetre / 1000.0, 10.5 * kgfPerSquareCentimetre / 1000.0,
       21.0 * kgfPerSquareCentimetre / 1000.0};

} // namespace

std::string_view velocityStandard(Gas gas)
{
    switch (gas) {
    case Gas::Oxygen: return oxygenStandard;
    case Gas::Hydrogen: return hydrogenStandard;
    default: return {};
    }
}

// No limits are typed: a gas whose velocityStandard is not empty has its velocity judged by a
// standard whose table was not read.
std::optional<double> velocityLimit(Gas, double, PipeMaterial)
{
    return std::nullopt;
}

const DropLimit &steamDropLimit(SteamKind kind)
{
    return limits[kind == SteamKind::Saturated ? 0 : 1];
}

const DropLimit &steamDropLimitByPressure(double gaugePressure)
{
    std::size_t i = 0;
    while (i < std::size(generalClasses) && gaugePressure > generalClasses[i])
        ++i;
    return limits[2 + i];
}

std::span<const DropLimit> steamDropLimits()
{
    return limits;
}

} // namespace tovrik
