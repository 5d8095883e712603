#pragma once

#include "runtime/failure.h"

#include <QString>

// Renders a failure as "Fault" or "Fault:Operand", so expected outcomes read as plain text
// beside successful result texts in the same data column.
inline QString faultName(const tovrik::Failure &failure)
{
    using tovrik::Fault;
    using tovrik::Operand;
    QString text;
    switch (failure.fault()) {
    case Fault::NotANumber: text = QStringLiteral("NotANumber"); break;
    case Fault::ZeroDivisor: text = QStringLiteral("ZeroDivisor"); break;
    case Fault::Overflow: text = QStringLiteral("Overflow"); break;
    case Fault::NegativeRoot: text = QStringLiteral("NegativeRoot"); break;
    case Fault::InvalidOperation: text = QStringLiteral("InvalidOperation"); break;
    case Fault::OutOfRange: text = QStringLiteral("OutOfRange"); break;
    case Fault::NotSuperheated: text = QStringLiteral("NotSuperheated"); break;
    case Fault::NotLiquid: text = QStringLiteral("NotLiquid"); break;
    }
    switch (failure.operand()) {
    case Operand::None: break;
    case Operand::Flow: text += QStringLiteral(":Flow"); break;
    case Operand::Pressure: text += QStringLiteral(":Pressure"); break;
    case Operand::Temperature: text += QStringLiteral(":Temperature"); break;
    case Operand::SpecificVolume: text += QStringLiteral(":SpecificVolume"); break;
    case Operand::Velocity: text += QStringLiteral(":Velocity"); break;
    case Operand::Roughness: text += QStringLiteral(":Roughness"); break;
    }
    return text;
}

template<typename Function>
QString outcome(Function &&function)
{
    try {
        return function();
    } catch (const tovrik::Failure &failure) {
        return faultName(failure);
    }
}
