#pragma once

#include <cstdint>
#include <exception>

namespace tovrik {

// Why a conversion or an arithmetic step of the runtime could not give a number.
enum class Fault : std::uint8_t {
    NotANumber,
    ZeroDivisor,
    Overflow,
    NegativeRoot,
    InvalidOperation,
};

// The one failure of the runtime's conversions and checked arithmetic.
class Failure : public std::exception
{
public:
    explicit Failure(Fault fault) noexcept
        : m_fault(fault)
    {
    }

    Fault fault() const noexcept { return m_fault; }
    const char *what() const noexcept override;

private:
    Fault m_fault;
};

} // namespace tovrik
