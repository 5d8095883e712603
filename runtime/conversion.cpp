#include "runtime/conversion.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tovrik {

const char *Failure::what() const noexcept
{
    switch (m_fault) {
    case Fault::NotANumber:
        return "not a number";
    case Fault::ZeroDivisor:
        return "division by zero";
    case Fault::Overflow:
        return "overflow";
    case Fault::NegativeRoot:
        return "square root of a negative number";
    case Fault::InvalidOperation:
        return "invalid floating-point operation";
    }
    return "calculation failed";
}

namespace {

bool isAsciiBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool decodeUtf8(std::string_view text, std::size_t &pos, char32_t &out)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    int extra;
    char32_t cp;
    char32_t minimum;
    if (lead < 0x80) {
        out = lead;
        ++pos;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - pos <= static_cast<std::size_t>(extra))
        return false;
    for (int i = 1; i <= extra; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    pos += extra + 1;
    out = cp;
    return true;
}

// A Chinese input method in full-width mode types U+FF0B..U+FF5A for + - . 0-9 E e, and
// U+3000 for a blank; these mean exactly their ASCII twins.
char32_t narrowed(char32_t cp)
{
    if (cp >= 0xFF01 && cp <= 0xFF5E)
        return cp - 0xFEE0;
    if (cp == 0x3000)
        return U' ';
    return cp;
}

// Rewrites text into the ASCII form the grammar below reads, with '.' as the decimal point.
// Anything that cannot belong to a number becomes '?', so the grammar rejects it.
bool normalize(std::string_view text, char32_t decimalSeparator, std::string &out)
{
    out.clear();
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t cp;
        if (!decodeUtf8(text, pos, cp))
            return false;
        const char32_t plain = narrowed(cp);
        if (cp == decimalSeparator || plain == decimalSeparator)
            out += '.';
        else if (plain == U'.' || plain >= 0x80)
            out += '?'; // a point that is not this locale's separator, or any other letter
        else
            out += static_cast<char>(plain);
    }
    return true;
}

// Decimal exponent of the leading non-zero digit, saturated well past the double range.
// Only called when the mantissa has a non-zero digit.
std::int64_t magnitude(std::string_view intDigits, std::string_view fracDigits,
                       std::string_view expDigits, bool expNegative)
{
    constexpr std::int64_t limit = 1'000'000'000'000;
    std::int64_t exponent = 0;
    for (char c : expDigits) {
        exponent = exponent * 10 + (c - '0');
        if (exponent > limit) {
            exponent = limit;
            break;
        }
    }
    if (expNegative)
        exponent = -exponent;
    const std::size_t firstInt = intDigits.find_first_not_of('0');
    if (firstInt != std::string_view::npos)
        return exponent + static_cast<std::int64_t>(intDigits.size() - firstInt - 1);
    const std::size_t firstFrac = fracDigits.find_first_not_of('0');
    return exponent - static_cast<std::int64_t>(firstFrac + 1);
}

double parseAscii(std::string_view s)
{
    while (!s.empty() && isAsciiBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isAsciiBlank(s.back()))
        s.remove_suffix(1);

    std::size_t p = 0;
    const std::size_t n = s.size();
    const auto digitsFrom = [&](std::size_t start) {
        while (p < n && isDigit(s[p]))
            ++p;
        return s.substr(start, p - start);
    };

    bool negative = false;
    if (p < n && (s[p] == '+' || s[p] == '-'))
        negative = s[p++] == '-';
    const std::size_t numberStart = p;
    const std::string_view intDigits = digitsFrom(p);
    std::string_view fracDigits;
    if (p < n && s[p] == '.') {
        ++p;
        fracDigits = digitsFrom(p);
    }
    if (intDigits.empty() && fracDigits.empty())
        throw Failure(Fault::NotANumber);
    std::string_view expDigits;
    bool expNegative = false;
    if (p < n && (s[p] == 'e' || s[p] == 'E')) {
        ++p;
        if (p < n && (s[p] == '+' || s[p] == '-'))
            expNegative = s[p++] == '-';
        expDigits = digitsFrom(p);
        if (expDigits.empty())
            throw Failure(Fault::NotANumber);
    }
    if (p != n)
        throw Failure(Fault::NotANumber);

    // The grammar is checked, so from_chars sees no inf, nan or hex; it rounds correctly.
    double value = 0.0;
    const auto [end, ec] = std::from_chars(s.data() + numberStart, s.data() + n, value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (magnitude(intDigits, fracDigits, expDigits, expNegative) > 0)
            throw Failure(Fault::Overflow);
        value = 0.0; // too small for even the least subnormal
    } else if (ec != std::errc() || end != s.data() + n) {
        throw Failure(Fault::NotANumber);
    }
    return negative ? -value : value;
}

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

double vbaR8Str(std::string_view text, char32_t decimalSeparator)
{
    bool plainAscii = decimalSeparator == U'.';
    for (std::size_t i = 0; plainAscii && i < text.size(); ++i)
        plainAscii = static_cast<unsigned char>(text[i]) < 0x80;
    if (plainAscii)
        return parseAscii(text);

    std::string ascii;
    if (!normalize(text, decimalSeparator, ascii))
        throw Failure(Fault::NotANumber);
    return parseAscii(ascii);
}

std::string vbaStrR8(double value, char32_t decimalSeparator)
{
    if (!std::isfinite(value))
        throw Failure(std::isnan(value) ? Fault::InvalidOperation : Fault::Overflow);
    if (value == 0.0)
        return "0"; // negative zero included

    // 15 significant digits, rounded once, as "d.dddddddddddddde+XX".
    char buf[32];
    const auto written = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                       std::chars_format::scientific, 14);
    const char *ePos = static_cast<const char *>(std::memchr(buf, 'e', written.ptr - buf));
    int exponent = 0;
    std::from_chars(ePos + (ePos[1] == '+' ? 2 : 1), written.ptr, exponent);

    char digits[15];
    int count = 0;
    for (const char *c = buf; c < ePos; ++c) {
        if (*c != '.')
            digits[count++] = *c;
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;

    std::string out;
    out.reserve(24);
    if (value < 0)
        out += '-';
    const auto separator = [&] { appendUtf8(out, decimalSeparator); };
    if (exponent >= -4 && exponent <= 14) {
        if (exponent >= 0) {
            const int whole = exponent + 1;
            if (count <= whole) {
                out.append(digits, count);
                out.append(whole - count, '0');
            } else {
                out.append(digits, whole);
                separator();
                out.append(digits + whole, count - whole);
            }
        } else {
            out += '0';
            separator();
            out.append(-exponent - 1, '0');
            out.append(digits, count);
        }
        return out;
    }
    out += digits[0];
    if (count > 1) {
        separator();
        out.append(digits + 1, count - 1);
    }
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        out += '0';
    char expBuf[8];
    const auto expEnd = std::to_chars(expBuf, expBuf + sizeof expBuf, magnitude).ptr;
    out.append(expBuf, expEnd);
    return out;
}

int vbaStrCmp(std::string_view left, std::string_view right) noexcept
{
    const int order = left.compare(right);
    return (order > 0) - (order < 0);
}

double vbaFPException(double result, Operand operand)
{
    if (std::isnan(result))
        throw Failure(Fault::InvalidOperation, operand);
    if (std::isinf(result))
        throw Failure(Fault::Overflow, operand);
    return result;
}

double checkedAdd(double left, double right)
{
    return vbaFPException(left + right);
}

double checkedMul(double left, double right)
{
    return vbaFPException(left * right);
}

double checkedDiv(double dividend, double divisor, Operand divisorOperand)
{
    if (divisor == 0.0)
        throw Failure(Fault::ZeroDivisor, divisorOperand);
    return vbaFPException(dividend / divisor);
}

double rtcSqr(double value)
{
    if (value < 0.0)
        throw Failure(Fault::NegativeRoot);
    return vbaFPException(std::sqrt(value));
}

double vbaVarDiv(double dividend, std::string_view divisorText, Operand divisorOperand,
                 char32_t decimalSeparator)
{
    double divisor;
    try {
        divisor = vbaR8Str(divisorText, decimalSeparator);
    } catch (const Failure &failure) {
        throw Failure(failure.fault(), divisorOperand);
    }
    return checkedDiv(dividend, divisor, divisorOperand);
}

} // namespace tovrik
