#include "core/sizing.h"

#include "base/conversion.h"
#include "core/failure.h"

#include <cmath>

namespace tovrik {

namespace {

constexpr double diameterFactor = 18.8;
constexpr double absoluteZeroOffset = 273.0;
constexpr double standardPressure = 0.1;
constexpr double tonneFactor = 1000.0;

// One run of a formula, step by step in the panel's order. The first failure is kept and no
// step after it is taken, as if it had been thrown: a line list's commonest faults (an empty
// cell, a negative figure) then cost no exception, and the runtime's own are caught where they
// arise.
class Formula
{
public:
    Formula(char32_t decimalSeparator, std::optional<SizingFailure> &failure)
        : m_decimalSeparator(decimalSeparator)
        , m_failure(failure)
    {
        m_failure.reset();
    }

    // A step of the runtime, a fault of which is traced to operand.
    template<typename Step>
    double step(Operand operand, Step &&run)
    {
        if (m_failure)
            return 0.0;
        try {
            return run();
        } catch (const Failure &failure) {
            return fail(SizingFailure(failure, operand));
        }
    }
    // The runtime's conversion of one named input's text.
    double number(std::string_view text, Operand operand)
    {
        if (!m_failure && blankField(text))
            return fail(SizingFailure(Problem::NotANumber, operand));
        return step(operand, [&] { return vbaR8Str(text, m_decimalSeparator); });
    }
    // A checked division whose zero divisor is blamed on the divisor's input, even when the
    // dividend is zero too; an overflow belongs to no single input.
    double dividedBy(double dividend, double divisor, Operand divisorOperand)
    {
        if (!m_failure && divisor == 0.0)
            return fail(SizingFailure(Problem::ZeroDivisor, divisorOperand));
        return step(Operand::None, [&] { return checkedDiv(dividend, divisor); });
    }
    // The runtime's square root, whose negative argument belongs to no single input.
    double squareRoot(double value)
    {
        if (!m_failure && value < 0.0)
            return fail(SizingFailure(Problem::NegativeRoot, Operand::None));
        return step(Operand::None, [&] { return rtcSqr(value); });
    }

private:
    double fail(const SizingFailure &failure)
    {
        m_failure = failure;
        return 0.0;
    }

    char32_t m_decimalSeparator;
    std::optional<SizingFailure> &m_failure;
};

// Steam's formula with its specific volume read by volume(), at the point the panel reads it.
template<typename Volume>
Sizing steamFormula(std::string_view flow, Volume &&volume, std::string_view velocity,
                    char32_t decimalSeparator, std::optional<SizingFailure> &failure)
{
    Formula f(decimalSeparator, failure);
    const double q0 = f.number(flow, Operand::Flow);
    const double a = f.step(Operand::None, [&] { return checkedMul(q0, tonneFactor); });
    const double u = volume(f);
    const double b = f.step(Operand::None, [&] { return checkedMul(u, a); });
    const double v = f.number(velocity, Operand::Velocity);
    const double q = f.dividedBy(b, v, Operand::Velocity);
    const double root = f.squareRoot(q);
    return {b,
            f.step(Operand::None, [&] { return checkedMul(root, diameterFactor); }),
            {q0, 0, 0, u, v, a, b, 0, b, q, root}};
}

// A formula run whose failure is thrown, as the panels' own calls expect.
template<typename Run>
Sizing thrown(Run &&run)
{
    std::optional<SizingFailure> failure;
    const Sizing sizing = run(failure);
    if (failure)
        throw *failure;
    return sizing;
}

} // namespace

// Every step below is one IEEE operation in the stated order and operand order: results must
// match the reference figures to the last bit, so no step may be folded or reordered.

Sizing airSizing(std::string_view flow, std::string_view pressure, std::string_view temperature,
                 std::string_view velocity, char32_t decimalSeparator,
                 std::optional<SizingFailure> &failure)
{
    Formula f(decimalSeparator, failure);
    const double t = f.number(temperature, Operand::Temperature);
    const double a = f.step(Operand::None, [&] { return checkedAdd(t, absoluteZeroOffset); });
    const double q0 = f.number(flow, Operand::Flow);
    const double b
        = f.step(Operand::None, [&] { return checkedMul(checkedMul(q0, a), standardPressure); });
    const double p = f.number(pressure, Operand::Pressure);
    const double c = f.step(Operand::None, [&] { return checkedMul(p, absoluteZeroOffset); });
    const double q = f.dividedBy(b, c, Operand::Pressure);
    // The velocity's text is converted only here, as the divisor of a variant division.
    const double v = f.number(velocity, Operand::Velocity);
    const double qPerVelocity = f.dividedBy(q, v, Operand::Velocity);
    const double root = f.squareRoot(qPerVelocity);
    return {q,
            f.step(Operand::None, [&] { return checkedMul(root, diameterFactor); }),
            {q0, p, t, 0, v, a, b, c, q, qPerVelocity, root}};
}

Sizing steamSizing(std::string_view flow, std::string_view specificVolume,
                   std::string_view velocity, char32_t decimalSeparator,
                   std::optional<SizingFailure> &failure)
{
    return steamFormula(
        flow, [&](Formula &f) { return f.number(specificVolume, Operand::SpecificVolume); },
        velocity, decimalSeparator, failure);
}

Sizing steamSizing(std::string_view flow, double specificVolume, std::string_view velocity,
                   char32_t decimalSeparator, std::optional<SizingFailure> &failure)
{
    // A number that is not finite has no shortest text that reads back as a number.
    return steamFormula(
        flow,
        [&](Formula &f) {
            return f.step(Operand::SpecificVolume, [&] {
                if (!std::isfinite(specificVolume))
                    throw Failure(Fault::NotANumber);
                return specificVolume;
            });
        },
        velocity, decimalSeparator, failure);
}

Sizing waterSizing(std::string_view flow, std::string_view velocity, char32_t decimalSeparator,
                   std::optional<SizingFailure> &failure)
{
    Formula f(decimalSeparator, failure);
    // The velocity field is read before the flow field, so a bad velocity is reported first.
    const double v = f.number(velocity, Operand::Velocity);
    const double volumeFlow = f.number(flow, Operand::Flow);
    const double q = f.dividedBy(volumeFlow, v, Operand::Velocity);
    const double root = f.squareRoot(q);
    return {volumeFlow,
            f.step(Operand::None, [&] { return checkedMul(root, diameterFactor); }),
            {volumeFlow, 0, 0, 0, v, 0, 0, 0, volumeFlow, q, root}};
}

Sizing airSizing(std::string_view flow, std::string_view pressure, std::string_view temperature,
                 std::string_view velocity, char32_t decimalSeparator)
{
    return thrown([&](std::optional<SizingFailure> &failure) {
        return airSizing(flow, pressure, temperature, velocity, decimalSeparator, failure);
    });
}

Sizing steamSizing(std::string_view flow, std::string_view specificVolume,
                   std::string_view velocity, char32_t decimalSeparator)
{
    return thrown([&](std::optional<SizingFailure> &failure) {
        return steamSizing(flow, specificVolume, velocity, decimalSeparator, failure);
    });
}

Sizing steamSizing(std::string_view flow, double specificVolume, std::string_view velocity,
                   char32_t decimalSeparator)
{
    return thrown([&](std::optional<SizingFailure> &failure) {
        return steamSizing(flow, specificVolume, velocity, decimalSeparator, failure);
    });
}

Sizing waterSizing(std::string_view flow, std::string_view velocity, char32_t decimalSeparator)
{
    return thrown([&](std::optional<SizingFailure> &failure) {
        return waterSizing(flow, velocity, decimalSeparator, failure);
    });
}

std::string AirDiameter(std::string_view flow, std::string_view pressure,
                        std::string_view temperature, std::string_view velocity,
                        char32_t decimalSeparator)
{
    return vbaStrR8(airSizing(flow, pressure, temperature, velocity, decimalSeparator).diameter,
                    decimalSeparator);
}

std::string SteamDiameter(std::string_view flow, std::string_view specificVolume,
                          std::string_view velocity, char32_t decimalSeparator)
{
    return vbaStrR8(steamSizing(flow, specificVolume, velocity, decimalSeparator).diameter,
                    decimalSeparator);
}

std::string WaterDiameter(std::string_view flow, std::string_view velocity,
                          char32_t decimalSeparator)
{
    return vbaStrR8(waterSizing(flow, velocity, decimalSeparator).diameter, decimalSeparator);
}

} // namespace tovrik
