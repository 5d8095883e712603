#pragma once

#include <cstdint>
#include <exception>

namespace tovrik {

// Why a conversion or an arithmetic step could not give a number.
enum class Fault : std::uint8_t {
    NotANumber,
    ZeroDivisor,
    Overflow,
    NegativeRoot,
    InvalidOperation,
    OutOfRange, // a value outside the range a correlation holds for
    NotSuperheated, // steam at or below its saturation temperature; detail: that, in degrees C
    NotLiquid, // water at or above its boiling temperature; detail: that, in degrees C
};

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
};

// The one failure type of conversions, checked arithmetic and the sizing formulas.
class Failure : public std::exception
{
public:
    explicit Failure(Fault fault, Operand operand = Operand::None, double detail = 0.0) noexcept
        : m_fault(fault)
        , m_operand(operand)
        , m_detail(detail)
    {
    }

    Fault fault() const noexcept { return m_fault; }
    Operand operand() const noexcept { return m_operand; }
    // A figure the message needs, as the fault says.
    double detail() const noexcept { return m_detail; }
    const char *what() const noexcept override;

private:
    Fault m_fault;
    Operand m_operand;
    double m_detail;
};

} // namespace tovrik
