#pragma once

#include "base/conversion.h"
#include "base/failure.h"

#include <algorithm>
#include <cstdint>
#include <exception>

namespace tovrik {

// The input a failure is traced to, so the window can point at the field the user must mend.
// None means the failure belongs to no single input (an overflow mid-way, a negative root).
enum class Operand : std::uint8_t {
    None,
    Flow,
    Pressure,
    Temperature,
    SpecificVolume,
    Velocity,
    Roughness, // of the pipe wall
    Length, // of the line
    Fittings, // the sum of their K
    EquivalentLength, // of the fittings
    MaxDrop, // the pressure drop allowed
    Elevation, // the rise of the line from its start to its end
};

// What is wrong: one of the runtime's faults, traced to an input, or a state the engineering
// cannot take.
enum class Problem : std::uint8_t {
    NotANumber,
    ZeroDivisor,
    Overflow,
    NegativeRoot,
    InvalidOperation,
    OutOfRange, // a value outside the range a correlation holds for
    NotPositive, // a flow, volume or absolute pressure not above zero, or a temperature not above 0
                 // K
    NotSuperheated, // steam at or below its saturation temperature; detail: that, in degrees C
    BelowRegion2, // steam above 16.53 MPa colder than region 2 begins; detail: that, in degrees C
    NotLiquid, // water at or above its boiling temperature; detail: that, in degrees C
    NoLiquid, // water below the triple-point pressure, where no liquid exists
    NeedsPressure, // a superheated steam temperature without the steam's pressure
    Reynolds, // a flow whose Reynolds number lies outside what the friction factor is for
    Choked, // a gas or steam that would reach sonic speed within the pipe
    UnknownRoughness, // neither a figure nor the name of a wall
    BelowFormulaZero, // a temperature at or below the formula's 0 K, -273 C, for a flow to convert
};

// Why a figure cannot be had: what is wrong, the input at fault, and a figure the words need.
struct Reason
{
    Problem problem;
    Operand operand = Operand::None;
    double detail = 0.0;
};

// The failure of a sizing, its properties and its aids.
class SizingFailure : public std::exception
{
public:
    explicit SizingFailure(Problem problem, Operand operand = Operand::None,
                           double detail = 0.0) noexcept
        : m_reason {problem, operand, detail}
    {
    }
    // The runtime's fault, traced to the input it came from.
    SizingFailure(const Failure &failure, Operand operand) noexcept
        : SizingFailure(static_cast<Problem>(failure.fault()), operand)
    {
    }

    const Reason &reason() const noexcept { return m_reason; }
    Problem problem() const noexcept { return m_reason.problem; }
    Operand operand() const noexcept { return m_reason.operand; }
    // A figure the message needs, as the problem says.
    double detail() const noexcept { return m_reason.detail; }
    const char *what() const noexcept override { return "sizing failed"; }

private:
    Reason m_reason;
};

static_assert(int(Problem::InvalidOperation) == int(Fault::InvalidOperation),
              "the runtime's faults lead the problems, in the same order");

// Runs one step of the runtime, tracing a fault of its to the input at fault.
template<typename Step>
auto tracedTo(Operand operand, Step &&step) -> decltype(step())
{
    try {
        return step();
    } catch (const Failure &failure) {
        throw SizingFailure(failure, operand);
    }
}

// An empty field, or one of blanks: the commonest fault of a line list, which fails as the
// conversion would without asking it.
inline bool blankField(std::string_view text)
{
    // A loop, not find_first_not_of, which asks the library of every character.
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The runtime's conversion of one named input's text: a failure names the input.
inline double readNumber(std::string_view text, Operand operand, char32_t decimalSeparator = U'.')
{
    if (blankField(text))
        throw SizingFailure(Problem::NotANumber, operand);
    return tracedTo(operand, [&] { return vbaR8Str(text, decimalSeparator); });
}

} // namespace tovrik
