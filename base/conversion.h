#pragma once

#include "base/failure.h"

#include <cmath>
#include <string>
#include <string_view>

// The runtime's text, number and arithmetic services. Plain C++: no GUI toolkit, so the
// command-line sizer, the tests and the fuzzer use them alone.
namespace tovrik {

// Text to double. Accepts blanks around an optional sign, digits with at most one
// decimalSeparator, and an optional exponent; full-width forms typed by a Chinese input
// method count as their ASCII twins. Throws Failure(NotANumber) for anything else and
// Failure(Overflow) past the double range; an underflow gives the nearest double.
double vbaR8Str(std::string_view text, char32_t decimalSeparator = U'.');

// Double to text: at most 15 significant digits, no trailing zeros, no group separators,
// positional from 1E-4 up to below 1E+15 and exponent form ("1.5E-05") outside.
std::string vbaStrR8(double value, char32_t decimalSeparator = U'.');
// The same text appended to out, for callers that write many results into one buffer.
void appendVbaStrR8(std::string &out, double value, char32_t decimalSeparator = U'.');

// Ordinal comparison, <0, 0 or >0; a text of blanks is not equal to the empty text.
int vbaStrCmp(std::string_view left, std::string_view right) noexcept;

// Throws the failure an IEEE result that is not finite stands for: kept out of line, so the
// checks below inline to a compare and a branch.
[[noreturn]] void raiseFPException(double result);
[[noreturn]] void raiseFault(Fault fault);

// Raises the failure an IEEE result stands for; finite results, subnormal ones included, pass.
inline double vbaFPException(double result)
{
    if (!std::isfinite(result)) [[unlikely]]
        raiseFPException(result);
    return result;
}

inline double checkedAdd(double left, double right)
{
    return vbaFPException(left + right);
}

inline double checkedMul(double left, double right)
{
    return vbaFPException(left * right);
}

// A zero divisor fails as ZeroDivisor, even when the dividend is zero too.
inline double checkedDiv(double dividend, double divisor)
{
    if (divisor == 0.0) [[unlikely]]
        raiseFault(Fault::ZeroDivisor);
    return vbaFPException(dividend / divisor);
}

inline double rtcSqr(double value)
{
    if (value < 0.0) [[unlikely]]
        raiseFault(Fault::NegativeRoot);
    return vbaFPException(std::sqrt(value));
}

// Division whose divisor is still text: converted as by vbaR8Str, then divided.
double vbaVarDiv(double dividend, std::string_view divisorText, char32_t decimalSeparator = U'.');

} // namespace tovrik
