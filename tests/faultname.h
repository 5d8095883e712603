#pragma once

#include "core/failure.h"

#include <QString>

// Renders a failure as "Problem" or "Problem:Operand", so expected outcomes read as plain text
// beside successful result texts in the same data column. The runtime's own faults read as the
// problems of the same names.
inline QString faultName(const tovrik::SizingFailure &failure)
{
    using tovrik::Operand;
    using tovrik::Problem;
    QString text;
    switch (failure.problem()) {
    case Problem::NotANumber: text = QStringLiteral("NotANumber"); break;
    case Problem::ZeroDivisor: text = QStringLiteral("ZeroDivisor"); break;
    case Problem::Overflow: text = QStringLiteral("Overflow"); break;
    case Problem::NegativeRoot: text = QStringLiteral("NegativeRoot"); break;
    case Problem::InvalidOperation: text = QStringLiteral("InvalidOperation"); break;
    case Problem::OutOfRange: text = QStringLiteral("OutOfRange"); break;
    case Problem::NotPositive: text = QStringLiteral("NotPositive"); break;
    case Problem::NotSuperheated: text = QStringLiteral("NotSuperheated"); break;
    case Problem::BelowRegion2: text = QStringLiteral("BelowRegion2"); break;
    case Problem::NotLiquid: text = QStringLiteral("NotLiquid"); break;
    case Problem::NoLiquid: text = QStringLiteral("NoLiquid"); break;
    case Problem::NeedsPressure: text = QStringLiteral("NeedsPressure"); break;
    case Problem::Reynolds: text = QStringLiteral("Reynolds"); break;
    case Problem::Choked: text = QStringLiteral("Choked"); break;
    case Problem::UnknownRoughness: text = QStringLiteral("UnknownRoughness"); break;
    case Problem::BelowFormulaZero: text = QStringLiteral("BelowFormulaZero"); break;
    }
    switch (failure.operand()) {
    case Operand::None: break;
    case Operand::Flow: text += QStringLiteral(":Flow"); break;
    case Operand::Pressure: text += QStringLiteral(":Pressure"); break;
    case Operand::Temperature: text += QStringLiteral(":Temperature"); break;
    case Operand::SpecificVolume: text += QStringLiteral(":SpecificVolume"); break;
    case Operand::Velocity: text += QStringLiteral(":Velocity"); break;
    case Operand::Roughness: text += QStringLiteral(":Roughness"); break;
    case Operand::Length: text += QStringLiteral(":Length"); break;
    case Operand::Fittings: text += QStringLiteral(":Fittings"); break;
    case Operand::EquivalentLength: text += QStringLiteral(":EquivalentLength"); break;
    case Operand::MaxDrop: text += QStringLiteral(":MaxDrop"); break;
    case Operand::Elevation: text += QStringLiteral(":Elevation"); break;
    }
    return text;
}

template<typename Function>
QString outcome(Function &&function)
{
    try {
        return function();
    } catch (const tovrik::Failure &failure) {
        return faultName(tovrik::SizingFailure(failure, tovrik::Operand::None));
    } catch (const tovrik::SizingFailure &failure) {
        return faultName(failure);
    }
}
