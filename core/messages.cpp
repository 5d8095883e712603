#include "core/messages.h"

#include "base/text.h"

namespace tovrik {

std::string_view inputDescription(Medium medium, Operand operand)
{
    switch (medium) {
    case Medium::Air:
        switch (operand) {
        case Operand::Flow: return "压缩空气标态流量Q";
        case Operand::Pressure: return "压缩空气设计压力P";
        case Operand::Temperature: return "压缩空气设计温度T";
        case Operand::Velocity: return "压缩空气设计流速v";
        default: break;
        }
        break;
    case Medium::Steam:
        switch (operand) {
        case Operand::Flow: return "蒸汽质量流量Q";
        case Operand::SpecificVolume: return "蒸汽的比容u";
        case Operand::Pressure: return "蒸汽压力p";
        case Operand::Temperature: return "蒸汽温度Ts";
        case Operand::Velocity: return "蒸汽设计流速v";
        default: break;
        }
        break;
    case Medium::Water:
        switch (operand) {
        case Operand::Flow: return "水流量Q";
        case Operand::Pressure: return "水的压力P";
        case Operand::Temperature: return "水温T";
        case Operand::Velocity: return "水的设计流速v";
        default: break;
        }
        break;
    }
    switch (operand) {
    case Operand::Roughness: return "管壁粗糙度";
    case Operand::Length: return "管长";
    case Operand::Fittings: return "管件阻力系数之和ΣK";
    case Operand::EquivalentLength: return "管件当量长度";
    case Operand::MaxDrop: return "允许压降";
    default: return {};
    }
}

namespace {

std::string degrees(double celsius)
{
    std::string text;
    appendFixed(text, celsius, 2);
    return text + " °C";
}

// Where a correlation stops: IAPWS-IF97's regions, the friction of a wall.
std::string_view outOfRange(Medium medium, Operand operand)
{
    switch (operand) {
    case Operand::Pressure:
        if (medium == Medium::Water)
            return "不能超过 100 MPa（IAPWS-IF97 液态水的适用范围）。";
        return "超出了 IAPWS-IF97 的适用范围（饱和蒸汽绝对压力 0.000611～16.5 MPa，过热蒸汽不超过 "
               "100 MPa）。";
    case Operand::Temperature:
        if (medium == Medium::Water)
            return "超出了 IAPWS-IF97 液态水的适用范围（0～350 °C）。";
        return "超出了 IAPWS-IF97 过热蒸汽的适用范围（0.01～800 °C）。";
    case Operand::SpecificVolume:
        return "不在饱和蒸汽的范围内（绝对压力 0.000611～16.5 MPa 时的比容）。";
    case Operand::Roughness: return "须是不小于零、小于管内径的数值（mm）。";
    case Operand::Length:
    case Operand::Fittings:
    case Operand::EquivalentLength: return "须是不小于零的数值。";
    default: break;
    }
    return "超出了适用范围。";
}

std::string_view notPositive(Operand operand)
{
    switch (operand) {
    case Operand::Pressure: return "须为正的绝对压力。";
    case Operand::Temperature: return "须高于绝对零度（-273.15 °C）。";
    default: return "须为正数。";
    }
}

} // namespace

std::string failureMessage(Medium medium, const SizingFailure &failure)
{
    const std::string input(inputDescription(medium, failure.operand()));
    switch (failure.problem()) {
    case Problem::NotANumber: return input + "不是有效的数字。";
    case Problem::ZeroDivisor: return input + "不能为零。";
    case Problem::Overflow:
        if (!input.empty())
            return input + "超出了可以计算的范围。";
        return "计算结果超出了可以计算的范围，请检查输入的数值。";
    case Problem::NegativeRoot: return "算得的流量与流速之比为负数，无法开平方，请检查输入的数值。";
    case Problem::InvalidOperation: break;
    case Problem::OutOfRange: return input + std::string(outOfRange(medium, failure.operand()));
    case Problem::NotPositive: return input + std::string(notPositive(failure.operand()));
    case Problem::NotSuperheated:
        return input + "须高于该压力下的饱和温度 " + degrees(failure.detail())
            + "，否则不是过热蒸汽。";
    case Problem::BelowRegion2:
        return input + "须高于 " + degrees(failure.detail())
            + "：该压力下更低温度的状态不在 IAPWS-IF97 的过热蒸汽区（2 区）内。";
    case Problem::NotLiquid:
        return input + "须低于该压力下的沸点 " + degrees(failure.detail()) + "；热水请给出"
            + std::string(inputDescription(Medium::Water, Operand::Pressure))
            + "（绝对压力），须高于该水温的饱和压力。";
    case Problem::NoLiquid: return input + "低于水的三相点压力 0.000612 MPa，没有液态水。";
    case Problem::NeedsPressure:
        return input + "须与" + std::string(inputDescription(Medium::Steam, Operand::Pressure))
            + "一起给出：给出比容u时，蒸汽的状态已由比容定出。";
    case Problem::Reynolds: return "管内的雷诺数不在 1～10⁹ 之间，流量过小或过大。";
    }
    return "无法计算，请检查输入的数值。";
}

} // namespace tovrik
