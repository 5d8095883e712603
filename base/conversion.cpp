#include "base/conversion.h"

#include "base/digits.h"
#include "base/rounding.h"
#include "base/utf8.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace tovrik {

const char *Failure::what() const noexcept
{
    switch (m_fault) {
    case Fault::NotANumber: return "not a number";
    case Fault::ZeroDivisor: return "division by zero";
    case Fault::Overflow: return "overflow";
    case Fault::NegativeRoot: return "square root of a negative number";
    case Fault::InvalidOperation: return "invalid floating-point operation";
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

// The value of a decimal with at most 15 significant digits and a small power of ten, which is
// one exact integer times or divided by one exact power: a single IEEE operation, so correctly
// rounded. Covers nearly every number a user types; anything else goes the long way.
std::optional<double> exactValue(std::string_view intDigits, std::string_view fracDigits,
                                 std::string_view expDigits, bool expNegative)
{
    if (expDigits.size() > 4)
        return std::nullopt;
    std::uint64_t mantissa = 0;
    int significant = 0;
    for (const std::string_view part : {intDigits, fracDigits}) {
        for (const char c : part) {
            if (significant == 0 && c == '0')
                continue;
            if (++significant > 19)
                return std::nullopt;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        }
    }
    int exponent = 0;
    for (const char c : expDigits)
        exponent = exponent * 10 + (c - '0');
    exponent = (expNegative ? -exponent : exponent) - static_cast<int>(fracDigits.size());
    if (mantissa == 0)
        return 0.0;
    while (significant > 15 && mantissa % 10 == 0) {
        mantissa /= 10;
        --significant;
        ++exponent;
    }
    if (significant > 15 || exponent < -22 || exponent > 22)
        return std::nullopt;
    const double m = static_cast<double>(mantissa);
    return exponent >= 0 ? m * exactPowersOfTen[exponent] : m / exactPowersOfTen[-exponent];
}

// The numbers people type ("600", "0.3747", "-20") in one pass: sign, at most 15 significant
// digits and one point, nothing else. Anything more is left to parseAscii, which gives the same
// value for these, only slower.
bool quickDecimal(std::string_view text, double &out)
{
    const char *p = text.data();
    const char *const end = p + text.size();
    if (p == end)
        return false;
    const bool negative = *p == '-';
    if (negative || *p == '+')
        ++p;
    const char *const first = p;
    const char *point = nullptr;
    std::uint64_t mantissa = 0; // wraps past 19 digits, which the count below turns away
    for (; p != end; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - unsigned('0');
        if (digit < 10) {
            mantissa = mantissa * 10 + digit;
        } else if (*p == '.' && !point) {
            point = p;
        } else {
            return false;
        }
    }
    const auto digits = (end - first) - (point ? 1 : 0);
    const auto fraction = point ? end - point - 1 : 0;
    // From its first non-zero digit on, a mantissa below 10^15 has at most 15 digits.
    if (digits == 0 || digits > 19 || mantissa >= powersOfTen[15] || fraction > 22)
        return false;
    // Below 10^15, so through a signed integer, which the processor converts in one instruction.
    const double value
        = static_cast<double>(static_cast<std::int64_t>(mantissa)) / exactPowersOfTen[fraction];
    out = negative ? -value : value;
    return true;
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

    if (const auto exact = exactValue(intDigits, fracDigits, expDigits, expNegative))
        return negative ? -*exact : *exact;

    // The grammar is checked, so from_chars sees no inf, nan or hex; it rounds correctly.
    double value = 0.0;
    const auto [end, ec]
        = std::from_chars(s.data() + numberStart, s.data() + n, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (magnitude(intDigits, fracDigits, expDigits, expNegative) > 0)
            throw Failure(Fault::Overflow);
        value = 0.0; // too small for even the least subnormal
    } else if (ec != std::errc() || end != s.data() + n) {
        throw Failure(Fault::NotANumber);
    }
    return negative ? -value : value;
}

// The 15 significant digits of value, rounded once, by the library: the reference for every
// case the fast path below leaves alone.
void roundedDigits(double value, char (&digits)[16], int &exponent)
{
    char buf[32]; // "d.dddddddddddddde+XX"
    const auto written
        = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const char *ePos = static_cast<const char *>(std::memchr(buf, 'e', written.ptr - buf));
    std::from_chars(ePos + (ePos[1] == '+' ? 2 : 1), written.ptr, exponent);
    int count = 0;
    for (const char *c = buf; c < ePos; ++c) {
        if (*c != '.')
            digits[count++] = *c;
    }
}

// Writes value as exactly width digits, with leading zeros.
void writeDigits(char *out, std::uint32_t value, int width)
{
    int i = width;
    for (; i >= 2; i -= 2, value /= 100)
        writePair(out + i - 2, value % 100);
    if (i == 1)
        out[0] = static_cast<char>('0' + value);
}

// The same digits by one multiplication, for the positional range where results live: value *
// 10^k rounded by the kernel, which leaves a true tie and a product from 2^52 up to the library.
bool exactDigits(double value, char (&digits)[16], int &exponent, int &count)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0)
        return false; // subnormal: far outside the positional range
    const int e2 = biased - 1075;

    constexpr std::uint64_t low = 100'000'000'000'000; // 10^14
    constexpr std::uint64_t high = 1'000'000'000'000'000; // 10^15
    // A first guess at the decimal exponent from the binary one (log10(2) ~ 0.30103), raised
    // when the value has passed the next power of ten; the loop below mends any miss.
    int decimal = ((e2 + 52) * 30103) / 100000 - ((e2 + 52) < 0 ? 1 : 0);
    if (decimal >= -1 && decimal < 22 && value >= exactPowersOfTen[decimal + 1])
        ++decimal;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (decimal < -5 || decimal > 14)
            return false;
        std::uint64_t n;
        if (!roundScaled(value, 14 - decimal, n))
            return false;
        if (n < low) {
            --decimal;
            continue;
        }
        if (n > high) {
            ++decimal;
            continue;
        }
        if (n == high) { // just below (or at) the next power of ten, which it rounds to
            n = low;
            ++decimal;
        }
        if (decimal < -4)
            return false;
        // Exactly 15 digits, as 7 then 8, each eight at a time in one word; the zeros they end
        // with are zero bytes at the top of the last word, or of both.
        // A plain if, not a constexpr one: the other way is compiled as well, and dropped.
        if (std::endian::native == std::endian::little) {
            constexpr std::uint64_t ascii = 0x30303030'30303030ull;
            const std::uint64_t leading = eightDigits(static_cast<std::uint32_t>(n / 100'000'000));
            const std::uint64_t last = eightDigits(static_cast<std::uint32_t>(n % 100'000'000));
            const std::uint64_t first7 = (leading + ascii) >> 8; // its first byte is a zero
            const std::uint64_t last8 = last + ascii;
            std::memcpy(digits, &first7, sizeof first7);
            std::memcpy(digits + 7, &last8, sizeof last8);
            count = 15 - (last ? std::countl_zero(last) / 8 : 8 + std::countl_zero(leading) / 8);
        } else {
            writeDigits(digits, static_cast<std::uint32_t>(n / 100'000'000), 7);
            writeDigits(digits + 7, static_cast<std::uint32_t>(n % 100'000'000), 8);
            count = 15;
            while (count > 1 && digits[count - 1] == '0')
                --count;
        }

        exponent = decimal;
        return true;
    }
    return false;
}

} // namespace

double vbaR8Str(std::string_view text, char32_t decimalSeparator)
{
    double quick;
    if (decimalSeparator == U'.' && quickDecimal(text, quick))
        return quick;

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
    std::string out;
    appendVbaStrR8(out, value, decimalSeparator);
    return out;
}

void appendVbaStrR8(std::string &out, double value, char32_t decimalSeparator)
{
    if (!std::isfinite(value))
        throw Failure(std::isnan(value) ? Fault::InvalidOperation : Fault::Overflow);
    if (value == 0.0) {
        out += '0'; // negative zero included
        return;
    }

    char digits[16];
    int exponent = 0;
    int count = 15;
    if (!exactDigits(std::fabs(value), digits, exponent, count)) {
        roundedDigits(std::fabs(value), digits, exponent);
        while (count > 1 && digits[count - 1] == '0')
            --count;
    }

    if (value < 0)
        out += '-';
    const auto separator = [&] {
        if (decimalSeparator < 0x80)
            out += static_cast<char>(decimalSeparator);
        else
            appendUtf8(out, decimalSeparator);
    };
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
        return;
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
    out.append(expBuf, static_cast<std::size_t>(expEnd - expBuf));
}

int vbaStrCmp(std::string_view left, std::string_view right) noexcept
{
    const int order = left.compare(right);
    return (order > 0) - (order < 0);
}

void raiseFPException(double result)
{
    throw Failure(std::isnan(result) ? Fault::InvalidOperation : Fault::Overflow);
}

void raiseFault(Fault fault)
{
    throw Failure(fault);
}

double vbaVarDiv(double dividend, std::string_view divisorText, char32_t decimalSeparator)
{
    return checkedDiv(dividend, vbaR8Str(divisorText, decimalSeparator));
}

} // namespace tovrik
