#include "base/conversion.h"
#include "tests/faultname.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

using namespace tovrik;

class tst_Conversion : public QObject
{
    Q_OBJECT

private slots:
    void textToNumber_data();
    void textToNumber();
    void numberToText_data();
    void numberToText();
    void nonFiniteHasNoText();
    void textAgreesWithPrintf_data();
    void textAgreesWithPrintf();
    void numberAgreesWithStrtod_data();
    void numberAgreesWithStrtod();
    void checkedArithmetic_data();
    void checkedArithmetic();
    void emptyTextComparison_data();
    void emptyTextComparison();
};

namespace {

QString shortest(double value)
{
    if (value == 0.0 && std::signbit(value))
        return QStringLiteral("-0"); // QString::number drops the sign of zero
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QByteArray repeated(char c, int count)
{
    return QByteArray(count, c);
}

constexpr int megabyte = 1 << 20;

} // namespace

void tst_Conversion::textToNumber_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<uint>("separator");
    QTest::addColumn<QString>("expected");

    const uint dot = '.';
    const uint comma = ',';
    QTest::newRow("integer") << QByteArray("100") << dot << "100";
    QTest::newRow("blanks around") << QByteArray("  1.5 ") << dot << "1.5";
    QTest::newRow("tabs and exponent") << QByteArray("\t-2.5e3\t") << dot << "-2500";
    QTest::newRow("plus sign") << QByteArray("+7") << dot << "7";
    QTest::newRow("trailing point") << QByteArray("1.") << dot << "1";
    QTest::newRow("leading point") << QByteArray(".5") << dot << "0.5";
    QTest::newRow("negative leading point") << QByteArray("-.5") << dot << "-0.5";
    QTest::newRow("capital exponent") << QByteArray("1E-2") << dot << "0.01";
    QTest::newRow("exponent plus") << QByteArray("1e+2") << dot << "100";
    QTest::newRow("leading zeros") << QByteArray("007.50") << dot << "7.5";
    QTest::newRow("rounds correctly")
        << QByteArray("0.30000000000000004") << dot << "0.30000000000000004";
    QTest::newRow("ties to even") << QByteArray("9007199254740993") << dot << "9007199254740992";
    // 2^64 + 1: its digits, gathered in 64 bits, would wrap to 1.
    QTest::newRow("twenty digits")
        << QByteArray("18446744073709551617") << dot << "18446744073709552000";
    QTest::newRow("largest double")
        << QByteArray("1.7976931348623157e308") << dot << "1.7976931348623157e+308";
    QTest::newRow("comma locale") << QByteArray("1,5") << comma << "1.5";
    QTest::newRow("point in comma locale") << QByteArray("1.5") << comma << "NotANumber";
    QTest::newRow("full-width digits") << QByteArray("１００") << dot << "100";
    QTest::newRow("full-width sign point exponent") << QByteArray("－１．５Ｅ２") << dot << "-150";
    QTest::newRow("full-width plus, small e") << QByteArray("＋２ｅ１") << dot << "20";
    QTest::newRow("ideographic blanks") << QByteArray("\u3000 42\u3000") << dot << "42";
    QTest::newRow("full-width comma locale") << QByteArray("１２，５") << comma << "12.5";
    QTest::newRow("mixed widths") << QByteArray("1０.５") << dot << "10.5";

    QTest::newRow("empty") << QByteArray("") << dot << "NotANumber";
    QTest::newRow("blanks only") << QByteArray("   ") << dot << "NotANumber";
    QTest::newRow("ideographic blank only") << QByteArray("\u3000") << dot << "NotANumber";
    QTest::newRow("inf") << QByteArray("inf") << dot << "NotANumber";
    QTest::newRow("Infinity") << QByteArray("-Infinity") << dot << "NotANumber";
    QTest::newRow("nan") << QByteArray("nan") << dot << "NotANumber";
    QTest::newRow("hex C") << QByteArray("0x10") << dot << "NotANumber";
    QTest::newRow("hex VB") << QByteArray("&H10") << dot << "NotANumber";
    QTest::newRow("group separator") << QByteArray("1,000") << dot << "NotANumber";
    QTest::newRow("second point") << QByteArray("1.2.3") << dot << "NotANumber";
    QTest::newRow("lone plus") << QByteArray("+") << dot << "NotANumber";
    QTest::newRow("lone minus") << QByteArray(" - ") << dot << "NotANumber";
    QTest::newRow("lone point") << QByteArray(".") << dot << "NotANumber";
    QTest::newRow("sign and point") << QByteArray("-.") << dot << "NotANumber";
    QTest::newRow("double sign") << QByteArray("--1") << dot << "NotANumber";
    QTest::newRow("exponent alone") << QByteArray("e5") << dot << "NotANumber";
    QTest::newRow("exponent without digits") << QByteArray("1e") << dot << "NotANumber";
    QTest::newRow("exponent sign only") << QByteArray("1e+") << dot << "NotANumber";
    QTest::newRow("trailing garbage") << QByteArray("12abc") << dot << "NotANumber";
    QTest::newRow("inner blank") << QByteArray("1 2") << dot << "NotANumber";
    QTest::newRow("embedded NUL") << QByteArray("1\0002", 3) << dot << "NotANumber";
    QTest::newRow("trailing NUL") << QByteArray("1\000", 2) << dot << "NotANumber";
    QTest::newRow("invalid UTF-8") << QByteArray("1\xff") << dot << "NotANumber";
    QTest::newRow("truncated UTF-8") << QByteArray("1\xef\xbc") << dot << "NotANumber";
    QTest::newRow("Chinese text") << QByteArray("一百") << dot << "NotANumber";

    QTest::newRow("overflow") << QByteArray("1e309") << dot << "Overflow";
    QTest::newRow("negative overflow") << QByteArray("-1.8e308") << dot << "Overflow";
    QTest::newRow("huge exponent") << QByteArray("1e99999999999999999999999") << dot << "Overflow";
    QTest::newRow("underflow to zero") << QByteArray("1e-400") << dot << "0";
    QTest::newRow("negative underflow") << QByteArray("-1e-400") << dot << "-0";
    QTest::newRow("huge negative exponent") << QByteArray("7e-99999999999999999999") << dot << "0";
    QTest::newRow("subnormal") << QByteArray("1e-310") << dot << "1e-310";
    QTest::newRow("zero with huge exponent") << QByteArray("0e99999") << dot << "0";

    QTest::newRow("megabyte integer overflows")
        << "1" + repeated('0', megabyte) << dot << "Overflow";
    QTest::newRow("megabyte of zero fraction") << "1." + repeated('0', megabyte) << dot << "1";
    QTest::newRow("megabyte of leading zeros") << repeated('0', megabyte) + "7" << dot << "7";
    QTest::newRow("megabyte tiny fraction") << "0." + repeated('0', megabyte) + "1" << dot << "0";
    QTest::newRow("megabyte of nines rounds up") << "0." + repeated('9', megabyte) << dot << "1";
    QTest::newRow("megabyte of blanks") << repeated(' ', megabyte) + "5" << dot << "5";
    QTest::newRow("megabyte of garbage") << repeated('x', megabyte) << dot << "NotANumber";
    QTest::newRow("megabyte full-width")
        << QString(megabyte / 4, QChar(0xFF10)).toUtf8() + "３" << comma << "3";
}

void tst_Conversion::textToNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(uint, separator);
    QFETCH(QString, expected);

    const auto actual = outcome([&] {
        return shortest(vbaR8Str(std::string_view(text.constData(), text.size()), separator));
    });
    QCOMPARE(actual, expected);
}

void tst_Conversion::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<uint>("separator");
    QTest::addColumn<QString>("expected");

    const uint dot = '.';
    QTest::newRow("water example") << 18.8 * std::sqrt(50.0) << dot << "132.936074863071";
    QTest::newRow("last-bit error hidden") << 112.80000000000001 << dot << "112.8";
    QTest::newRow("whole number") << 188.0 << dot << "188";
    QTest::newRow("zero") << 0.0 << dot << "0";
    QTest::newRow("negative zero") << -0.0 << dot << "0";
    QTest::newRow("negative") << -57.5 << dot << "-57.5";
    QTest::newRow("one third") << 1.0 / 3.0 << dot << "0.333333333333333";
    QTest::newRow("two thirds rounds up") << 2.0 / 3.0 << dot << "0.666666666666667";
    QTest::newRow("tenth") << 0.1 << dot << "0.1";
    QTest::newRow("lowest positional") << 1e-4 << dot << "0.0001";
    QTest::newRow("positional digits") << 0.000123456789012345678 << dot << "0.000123456789012346";
    QTest::newRow("just below 1E-4") << 9.99999999999999e-5 << dot << "9.99999999999999E-05";
    QTest::newRow("rounds up to 1E-4") << 9.999999999999999e-5 << dot << "0.0001";
    QTest::newRow("small exponent") << 1.5e-5 << dot << "1.5E-05";
    QTest::newRow("largest positional") << 999999999999999.0 << dot << "999999999999999";
    QTest::newRow("rounds down below 1E+15") << 999999999999999.4 << dot << "999999999999999";
    QTest::newRow("rounds up to 1E+15") << 999999999999999.5 << dot << "1E+15";
    QTest::newRow("1E+15") << 1e15 << dot << "1E+15";
    QTest::newRow("1E+14 positional") << 1e14 << dot << "100000000000000";
    QTest::newRow("15 digits of 18") << 123456789012345678.0 << dot << "1.23456789012346E+17";
    QTest::newRow("three-digit exponent") << 1e300 << dot << "1E+300";
    QTest::newRow("tiny") << -1.5e-300 << dot << "-1.5E-300";
    QTest::newRow("least subnormal")
        << std::numeric_limits<double>::denorm_min() << dot << "4.94065645841247E-324";
    QTest::newRow("largest double")
        << std::numeric_limits<double>::max() << dot << "1.79769313486232E+308";
    QTest::newRow("comma separator") << 57.5 << uint(',') << "57,5";
    QTest::newRow("comma in exponent form") << 1.5e-5 << uint(',') << "1,5E-05";
    QTest::newRow("comma, small positional") << 0.25 << uint(',') << "0,25";
    QTest::newRow("non-ASCII separator") << 2.5 << uint(0x066B) << "2\u066B5";
}

void tst_Conversion::numberToText()
{
    QFETCH(double, value);
    QFETCH(uint, separator);
    QFETCH(QString, expected);

    QCOMPARE(QString::fromStdString(vbaStrR8(value, separator)), expected);
}

void tst_Conversion::nonFiniteHasNoText()
{
    const auto inf = std::numeric_limits<double>::infinity();
    QCOMPARE(outcome([&] { return QString::fromStdString(vbaStrR8(inf)); }), "Overflow");
    QCOMPARE(outcome([&] { return QString::fromStdString(vbaStrR8(std::nan(""))); }),
             "InvalidOperation");
}

// Against the C library as an independent oracle: both must round to the same 15 digits.
void tst_Conversion::textAgreesWithPrintf_data()
{
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    // 1: values with few binary digits, where ties live; -1: the doubles nearest the ties of 15
    // significant decimal digits; -2: powers of ten and the doubles a few ulps either side
    QTest::addColumn<int>("ties");

    QTest::newRow("below the positional range") << 1e-9 << 1e-4 << 0;
    QTest::newRow("small") << 1e-4 << 1.0 << 0;
    QTest::newRow("usual diameters") << 1.0 << 1e4 << 0;
    QTest::newRow("large") << 1e4 << 1e15 << 0;
    QTest::newRow("beyond") << 1e15 << 1e300 << 0;
    QTest::newRow("ties and near-ties") << 1.0 << 1e15 << 1;
    QTest::newRow("decimal near-ties") << 1e-4 << 1e15 << -1;
    QTest::newRow("powers of ten") << 1e-7 << 1e17 << -2;
}

void tst_Conversion::textAgreesWithPrintf()
{
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(int, ties);

    QRandomGenerator random(1234);
    const double span = std::log(high / low);
    for (int i = 0; i < 200000; ++i) {
        double value = low * std::exp(span * random.generateDouble());
        if (ties > 0)
            value = std::ldexp(std::round(std::ldexp(value, 3)), -3); // multiples of 1/8
        if (ties == -1) {
            const double scale = std::pow(10.0, 14 - std::floor(std::log10(value)));
            value = (std::floor(value * scale) + 0.5) / scale;
        }
        if (ties == -2) {
            value = std::pow(10.0, std::round(std::log10(value)));
            for (int step = random.bounded(-4, 5); step != 0; step += step < 0 ? 1 : -1)
                value = std::nextafter(value, step < 0 ? 0.0 : high);
        }
        if (i % 2)
            value = std::nextafter(value, high);
        char reference[40];
        std::snprintf(reference, sizeof reference, "%.14e", value);
        const std::string text = vbaStrR8(value);
        if (vbaR8Str(text) != std::strtod(reference, nullptr))
            QFAIL(qPrintable(QStringLiteral("%1: %2, printf %3")
                                 .arg(value, 0, 'g', 17)
                                 .arg(QString::fromStdString(text), QLatin1String(reference))));
    }
}

void tst_Conversion::numberAgreesWithStrtod_data()
{
    QTest::addColumn<int>("maxDigits");
    QTest::addColumn<int>("maxExponent");

    QTest::newRow("typed numbers") << 8 << 3;
    QTest::newRow("15 digits") << 15 << 22;
    QTest::newRow("long mantissas") << 25 << 30;
    QTest::newRow("far exponents") << 17 << 320;
}

void tst_Conversion::numberAgreesWithStrtod()
{
    QFETCH(int, maxDigits);
    QFETCH(int, maxExponent);

    QRandomGenerator random(99);
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        const int digits = 1 + random.bounded(maxDigits);
        const int point = random.bounded(digits + 1);
        for (int d = 0; d < digits; ++d) {
            if (d == point)
                text += '.';
            text += char('0' + random.bounded(10));
        }
        if (random.bounded(2)) {
            text += 'e';
            text += std::to_string(random.bounded(-maxExponent, maxExponent + 1));
        }
        double expected = std::strtod(text.c_str(), nullptr);
        if (std::isinf(expected))
            continue;
        if (vbaR8Str(text) != expected)
            QFAIL(text.c_str());
    }
}

void tst_Conversion::checkedArithmetic_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<QString>("expected");

    QTest::newRow("divide") << "div" << 10.0 << 4.0 << "2.5";
    QTest::newRow("divide by zero") << "div" << 1.0 << 0.0 << "ZeroDivisor";
    QTest::newRow("zero by zero") << "div" << 0.0 << 0.0 << "ZeroDivisor";
    QTest::newRow("divide by negative zero") << "div" << 1.0 << -0.0 << "ZeroDivisor";
    QTest::newRow("division overflows") << "div" << 1e300 << 1e-300 << "Overflow";
    QTest::newRow("division underflows") << "div" << 1e-300 << 1e300 << "0";
    QTest::newRow("subnormal quotient") << "div" << 1e-310 << 10.0 << "1e-311";
    QTest::newRow("product overflows") << "mul" << 1e200 << -1e200 << "Overflow";
    QTest::newRow("product underflows") << "mul" << 1e-200 << 1e-200 << "0";
    QTest::newRow("sum overflows") << "add" << 1e308 << 1e308 << "Overflow";
    QTest::newRow("sum") << "add" << -273.0 << 273.0 << "0";
    QTest::newRow("root") << "sqr" << 2.25 << 0.0 << "1.5";
    QTest::newRow("root of negative") << "sqr" << -1e-300 << 0.0 << "NegativeRoot";
    QTest::newRow("root of negative zero") << "sqr" << -0.0 << 0.0 << "-0";
    QTest::newRow("NaN is invalid") << "fpe" << std::nan("") << 0.0 << "InvalidOperation";
    QTest::newRow("infinity overflows")
        << "fpe" << -std::numeric_limits<double>::infinity() << 0.0 << "Overflow";
}

void tst_Conversion::checkedArithmetic()
{
    QFETCH(QString, operation);
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(QString, expected);

    const auto actual = outcome([&] {
        if (operation == "div")
            return shortest(checkedDiv(left, right));
        if (operation == "mul")
            return shortest(checkedMul(left, right));
        if (operation == "add")
            return shortest(checkedAdd(left, right));
        if (operation == "sqr")
            return shortest(rtcSqr(left));
        return shortest(vbaFPException(left));
    });
    QCOMPARE(actual, expected);
}

void tst_Conversion::emptyTextComparison_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("blank") << QByteArray(" ") << -1;
    QTest::newRow("ideographic blank") << QByteArray("\u3000") << -1;
    QTest::newRow("NUL") << QByteArray("\0", 1) << -1;
    QTest::newRow("digit") << QByteArray("0") << -1;
}

void tst_Conversion::emptyTextComparison()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);

    const std::string_view view(text.constData(), text.size());
    QCOMPARE(vbaStrCmp("", view), expected);
    QCOMPARE(vbaStrCmp(view, ""), -expected);
}

QTEST_APPLESS_MAIN(tst_Conversion)
#include "tst_conversion.moc"
