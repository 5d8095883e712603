#include "core/messages.h"

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
        default: return {};
        }
    case Medium::Steam:
        switch (operand) {
        case Operand::Flow: return "蒸汽质量流量Q";
        case Operand::SpecificVolume: return "蒸汽的比容u";
        case Operand::Pressure: return "蒸汽压力p";
        case Operand::Velocity: return "蒸汽设计流速v";
        default: return {};
        }
    case Medium::Water:
        switch (operand) {
        case Operand::Flow: return "水流量Q";
        case Operand::Velocity: return "水的设计流速v";
        default: return {};
        }
    }
    return {};
}

std::string failureMessage(Medium medium, const Failure &failure)
{
    const std::string input(inputDescription(medium, failure.operand()));
    switch (failure.fault()) {
    case Fault::NotANumber: return input + "不是有效的数字。";
    case Fault::ZeroDivisor: return input + "不能为零。";
    case Fault::Overflow:
        if (!input.empty())
            return input + "超出了可以计算的范围。";
        return "计算结果超出了可以计算的范围，请检查输入的数值。";
    case Fault::NegativeRoot: return "算得的流量与流速之比为负数，无法开平方，请检查输入的数值。";
    case Fault::OutOfRange:
        return input + "超出了 IAPWS-IF97 饱和蒸汽的适用范围（绝对压力 0.000611～16.5 MPa）。";
    case Fault::InvalidOperation: break;
    }
    return "无法计算，请检查输入的数值。";
}

} // namespace tovrik
