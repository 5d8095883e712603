#include "base/digits.h"
#include "base/rounding.h"
#include "base/text.h"
#include "base/utf8.h"

#include <QRandomGenerator>
#include <QTest>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

using namespace tovrik;

// The text-and-number kernels against independent oracles: exact integer arithmetic and the C
// library's printf.
class tst_Base : public QObject
{
    Q_OBJECT

private slots:
    void roundingKernel_data();
    void roundingKernel();
    void fixedAgreesWithPrintf_data();
    void fixedAgreesWithPrintf();
    void fixed_data();
    void fixed();
    void significantAndShortest_data();
    void significantAndShortest();
    void equalsIgnoringCase_data();
    void equalsIgnoringCase();
    void utf8_data();
    void utf8();
    void utf8RoundTrip();
};

namespace {

__extension__ typedef unsigned __int128 Wide;

// value * 10^power exactly: value is m 2^e with m below 2^53, and 10^power is 5^power 2^power
// with 5^power below 2^52, so m 5^power fits 128 bits and only the binary point moves.
struct Exact
{
    std::uint64_t rounded = 0; // to the nearest, a tie up (never compared)
    bool tie = false;
    bool large = false; // from 2^63 up
};

Exact exactScaled(double value, int power)
{
    if (!std::isfinite(value))
        return {0, false, true}; // an overflowed draw: the kernel must decline it
    int e;
    const double m = std::frexp(value, &e);
    Wide q = static_cast<std::uint64_t>(std::ldexp(m, 53));
    for (int i = 0; i < power; ++i)
        q *= 5;
    const int shift = 53 - e - power; // the product is q / 2^shift
    Exact exact;
    if (shift <= 0) {
        exact.large = std::bit_width(static_cast<std::uint64_t>(q >> 64)) > 0
            || std::bit_width(static_cast<std::uint64_t>(q)) - shift > 63;
        exact.rounded = exact.large ? 0 : static_cast<std::uint64_t>(q << -shift);
        return exact;
    }
    if (shift >= 128)
        return exact; // below 2^105 / 2^128: nearer 0 than a half
    const Wide whole = q >> shift;
    const Wide rest = q - (whole << shift);
    const Wide half = Wide(1) << (shift - 1);
    exact.large = (whole >> 63) != 0;
    exact.rounded = static_cast<std::uint64_t>(whole) + (rest >= half ? 1 : 0);
    exact.tie = rest == half;
    return exact;
}

enum Family {
    Any, // log-uniform in [low, high]
    Ties, // odd multiples of 2^-(power+1): their product ends in exactly a half
    NearTies, // the doubles either side of those, whose products may round onto the half
    DecimalTies, // (k + 0.5) / 10^power rounded to a double
    PowersOfTen, // 10^j and the doubles a few ulps either side
    Subnormals,
};

} // namespace

Q_DECLARE_METATYPE(Family)

void tst_Base::roundingKernel_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");

    QTest::newRow("any value, 1e-6 to 1e6") << Any << 1e-6 << 1e6;
    QTest::newRow("any value, up to 1e300") << Any << 1e-300 << 1e300;
    QTest::newRow("where the product reaches 2^52") << Any << 1e-7 << 1e16;
    QTest::newRow("true ties") << Ties << 1e-6 << 1e15;
    QTest::newRow("next to true ties") << NearTies << 1e-6 << 1e15;
    QTest::newRow("next to decimal ties") << DecimalTies << 1e-6 << 1e15;
    QTest::newRow("powers of ten") << PowersOfTen << 1e-22 << 1e22;
    QTest::newRow("subnormals") << Subnormals << 0.0 << 0.0;
}

// Every product the kernel rounds is the exact product rounded; it leaves the library only
// true ties and products from 2^52 up.
void tst_Base::roundingKernel()
{
    QFETCH(Family, family);
    QFETCH(double, low);
    QFETCH(double, high);

    QRandomGenerator random(2718);
    const double span = std::log(high / low);
    int settled = 0; // products on a half that were no tie
    for (int i = 0; i < 400000; ++i) {
        const int power = random.bounded(23);
        const double scale = exactPowersOfTen[power];
        double value = low * std::exp(span * random.generateDouble());
        switch (family) {
        case Any: break;
        case Ties:
        case NearTies: {
            // Below 2^52 after scaling, or nothing is left for the kernel.
            const double odd = 2.0 * std::floor(std::fmin(value, 0x1p51 / scale) * 0x1p-1) + 1.0;
            value = std::ldexp(odd, -(power + 1));
            if (family == NearTies)
                value = std::nextafter(value, i % 2 ? high : 0.0);
            break;
        }
        case DecimalTies: value = (std::floor(value * scale) + 0.5) / scale; break;
        case PowersOfTen:
            value = exactPowersOfTen[random.bounded(23)] / exactPowersOfTen[random.bounded(23)];
            for (int step = random.bounded(-3, 4); step != 0; step += step < 0 ? 1 : -1)
                value = std::nextafter(value, step < 0 ? 0.0 : high);
            break;
        case Subnormals: {
            const std::uint64_t bits = random.generate64() & ((1ull << 52) - 1);
            value = std::bit_cast<double>(bits);
            break;
        }
        }
        const Exact exact = exactScaled(value, power);
        const double product = value * scale;
        std::uint64_t rounded = ~0ull;
        const bool taken = roundScaled(value, power, rounded);
        const bool mustDecline = exact.tie || !(product < 0x1p52);
        if (taken == mustDecline || (taken && rounded != exact.rounded))
            QFAIL(qPrintable(QStringLiteral("%1 * 1e%2: %3, exactly %4%5")
                                 .arg(value, 0, 'g', 17)
                                 .arg(power)
                                 .arg(taken ? QString::number(rounded) : QStringLiteral("declined"))
                                 .arg(exact.rounded)
                                 .arg(exact.tie ? " and a half" : "")));
        settled += !exact.tie && product - std::floor(product) == 0.5 ? 1 : 0;
    }
    if (family == DecimalTies)
        QVERIFY2(settled > 1000, "these products are meant to land on halves");
}

// The batch's columns (velocities to 2 decimals, drops to 3, Re to 0, f to 5) as printf writes
// them: exact rounding of the binary value, halves to even, the sign of a negative that rounds
// to zero, and past 1e15 three significant figures.
void tst_Base::fixedAgreesWithPrintf_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    // 0: any double; n: multiples of 2^-n, where ties lie; -1: the doubles nearest the decimal
    // ties, whose products with 10^decimals may round onto the half
    QTest::addColumn<int>("grid");

    QTest::newRow("velocities") << 2 << 0.01 << 100.0 << 0;
    QTest::newRow("drops") << 3 << 1e-4 << 1e5 << 0;
    QTest::newRow("Reynolds numbers") << 0 << 1.0 << 1e10 << 0;
    QTest::newRow("friction factors") << 5 << 0.005 << 0.1 << 0;
    QTest::newRow("halves and quarters") << 2 << 0.001 << 1000.0 << 3;
    QTest::newRow("ties at 0 decimals") << 0 << 0.1 << 1e6 << 1;
    QTest::newRow("ties at 1 decimal") << 1 << 0.01 << 1e6 << 2;
    QTest::newRow("eighths at 5 decimals") << 5 << 1e-6 << 1.0 << 20;
    QTest::newRow("decimal ties at 2 decimals") << 2 << 0.01 << 1e4 << -1;
    QTest::newRow("decimal ties at 5 decimals") << 5 << 1e-4 << 10.0 << -1;
    QTest::newRow("decimal ties at 6 decimals, large") << 6 << 1e6 << 1e9 << -1;
    QTest::newRow("near 1e15") << 2 << 1e13 << 1e16 << 0;
    QTest::newRow("scaled past 2^52") << 4 << 1e10 << 1e15 << 0;
    QTest::newRow("tiny") << 3 << 1e-300 << 1e-3 << 0;
    QTest::newRow("subnormal") << 6 << 4.9e-324 << 2.2e-308 << 0;
    QTest::newRow("large") << 2 << 1e15 << 1e308 << 0;
    QTest::newRow("six decimals") << 6 << 1e-4 << 1e6 << 0;
    QTest::newRow("many decimals") << 12 << 1e-3 << 1e4 << 0;
}

namespace {

// The writer with its decimals fixed where it is called, as a line list's columns call it.
std::string fixedColumn(double value, int decimals)
{
    char out[fixedRoom];
    switch (decimals) {
    case 0: return std::string(out, writeFixed<0>(out, value));
    case 2: return std::string(out, writeFixed<2>(out, value));
    case 3: return std::string(out, writeFixed<3>(out, value));
    case 5: return std::string(out, writeFixed<5>(out, value));
    }
    std::string text;
    appendFixed(text, value, decimals);
    return text;
}

} // namespace

void tst_Base::fixedAgreesWithPrintf()
{
    QFETCH(int, decimals);
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(int, grid);

    QRandomGenerator random(4321);
    const double span = std::log(high / low);
    for (int i = 0; i < 150000; ++i) {
        double value = low * std::exp(span * random.generateDouble());
        if (grid > 0)
            value = std::ldexp(std::round(std::ldexp(value, grid)), -grid);
        if (grid < 0) {
            const double scale = std::pow(10.0, decimals);
            value = (std::floor(value * scale) + 0.5) / scale;
        }
        if (i % 4 == 1)
            value = std::nextafter(value, high);
        if (i % 2)
            value = -value;
        char reference[400];
        if (std::fabs(value) < 1e15)
            std::snprintf(reference, sizeof reference, "%.*f", decimals, value);
        else
            std::snprintf(reference, sizeof reference, "%.2e", value);
        std::string text;
        appendFixed(text, value, decimals);
        if (text != reference || fixedColumn(value, decimals) != text)
            QFAIL(qPrintable(QStringLiteral("%1 to %2 decimals: %3, printf %4")
                                 .arg(value, 0, 'g', 17)
                                 .arg(decimals)
                                 .arg(QString::fromStdString(text), QLatin1String(reference))));
    }
}

void tst_Base::fixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("a velocity") << 2.345678 << 2 << "2.35";
    QTest::newRow("a tie, to even") << 0.125 << 2 << "0.12";
    QTest::newRow("a tie up, to even") << 0.375 << 2 << "0.38";
    QTest::newRow("2.5 to even") << 2.5 << 0 << "2";
    QTest::newRow("1.005 is below its half") << 1.005 << 2 << "1.00";
    QTest::newRow("a carry to a new digit") << 99.9996 << 3 << "100.000";
    QTest::newRow("a negative that rounds to zero") << -0.0004 << 3 << "-0.000";
    QTest::newRow("negative zero") << -0.0 << 5 << "-0.00000";
    QTest::newRow("a Reynolds number") << 238129.4 << 0 << "238129";
    QTest::newRow("fifteen digits") << 999999999999999.0 << 0 << "999999999999999";
    QTest::newRow("1e15 in three figures") << 1e15 << 2 << "1.00e+15";
    QTest::newRow("the largest double") << std::numeric_limits<double>::max() << 3 << "1.80e+308";
    QTest::newRow("past six decimals") << 0.1 << 20 << "0.10000000000000000555";
    QTest::newRow("infinity has no text") << inf << 2 << "";
    QTest::newRow("nor has NaN") << std::nan("") << 0 << "";
}

// The same text from both writers, and none from a buffer too short for it.
void tst_Base::fixed()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);

    QCOMPARE(QString::fromStdString(fixedColumn(value, decimals)), expected);
    std::string text;
    appendFixed(text, value, decimals);
    QCOMPARE(QString::fromStdString(text), expected);
    char shortBuffer[4];
    if (expected.size() > 4)
        QCOMPARE(writeFixed(shortBuffer, shortBuffer + 4, value, decimals), shortBuffer);
}

void tst_Base::significantAndShortest_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("figures"); // 0: the shortest text
    QTest::addColumn<QString>("expected");

    QTest::newRow("a small figure in exponent form") << 1.23456e-5 << 4 << "1.235e-05";
    QTest::newRow("four figures") << 0.123456 << 4 << "0.1235";
    QTest::newRow("no trailing zeros") << 2.5 << 6 << "2.5";
    QTest::newRow("large, in exponent form") << 123456789.0 << 3 << "1.23e+08";
    QTest::newRow("shortest roughness") << 0.046 << 0 << "0.046";
    QTest::newRow("shortest whole number") << 150.0 << 0 << "150";
    QTest::newRow("shortest small") << 1e-5 << 0 << "1e-05";
    QTest::newRow("shortest large") << 1e21 << 0 << "1e+21";
    QTest::newRow("shortest of a sum") << 0.1 + 0.2 << 0 << "0.30000000000000004";
    QTest::newRow("shortest negative zero") << -0.0 << 0 << "-0";
}

void tst_Base::significantAndShortest()
{
    QFETCH(double, value);
    QFETCH(int, figures);
    QFETCH(QString, expected);

    std::string text = "x";
    if (figures > 0) {
        appendSignificant(text, value, figures);
    } else {
        appendShortest(text, value);
        QCOMPARE(QString::fromStdString(shortestText(value)), expected);
    }
    QCOMPARE(QString::fromStdString(text), "x" + expected);
}

void tst_Base::equalsIgnoringCase_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<bool>("equal");

    QTest::newRow("a series name") << QByteArray("ASME40") << QByteArray("asme40") << true;
    QTest::newRow("a gas service")
        << QByteArray("Natural-Gas") << QByteArray("natural-GAS") << true;
    QTest::newRow("empty") << QByteArray() << QByteArray() << true;
    QTest::newRow("a prefix") << QByteArray("cn") << QByteArray("cnx") << false;
    QTest::newRow("a different letter") << QByteArray("air") << QByteArray("aIt") << false;
    // Bytes 0x20 apart that are no letters: [ and {, @ and `.
    QTest::newRow("brackets") << QByteArray("[a]") << QByteArray("{A}") << false;
    QTest::newRow("at and grave") << QByteArray("@") << QByteArray("`") << false;
    QTest::newRow("only ASCII folds") << QByteArray("É") << QByteArray("é") << false;
    QTest::newRow("Chinese as it is") << QByteArray("压缩空气") << QByteArray("压缩空气") << true;
}

void tst_Base::equalsIgnoringCase()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(bool, equal);

    QCOMPARE(tovrik::equalsIgnoringCase(a.toStdString(), b.toStdString()), equal);
    QCOMPARE(tovrik::equalsIgnoringCase(b.toStdString(), a.toStdString()), equal);
}

void tst_Base::utf8_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("decoded"); // the code points, or where decoding stops
    QTest::addColumn<bool>("ascii");

    QTest::newRow("empty") << QByteArray() << "" << true;
    QTest::newRow("ASCII past a word")
        << QByteArray("medium,Q,v") << "6D 65 64 69 75 6D 2C 51 2C 76" << true;
    QTest::newRow("one of each length")
        << QByteArray("a\xC3\xA9\xE6\xB0\xB4\xF0\x9F\x98\x80") << "61 E9 6C34 1F600" << false;
    QTest::newRow("the ends of each length") << QByteArray(
        "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF")
                                             << "7F 80 7FF 800 FFFF 10000 10FFFF" << false;
    QTest::newRow("overlong two bytes") << QByteArray("\xC1\xBF") << "invalid at 0" << false;
    QTest::newRow("overlong three bytes") << QByteArray("\xE0\x9F\xBF") << "invalid at 0" << false;
    QTest::newRow("overlong four bytes")
        << QByteArray("\xF0\x8F\xBF\xBF") << "invalid at 0" << false;
    QTest::newRow("a surrogate") << QByteArray("\xED\xA0\x80") << "invalid at 0" << false;
    QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << "invalid at 0" << false;
    QTest::newRow("a five-byte lead")
        << QByteArray("\xF8\x88\x80\x80\x80") << "invalid at 0" << false;
    QTest::newRow("a lone continuation") << QByteArray("ab\x80") << "61 62 invalid at 2" << false;
    QTest::newRow("cut short") << QByteArray("\xE6\xB0") << "invalid at 0" << false;
    QTest::newRow("a continuation missing") << QByteArray("\xE6\xB0z") << "invalid at 0" << false;
    QTest::newRow("bad after a word of ASCII")
        << QByteArray("abcdefgh\xFF") << "61 62 63 64 65 66 67 68 invalid at 8" << false;
    QTest::newRow("non-ASCII in the second word")
        << QByteArray("abcdefgh\xC3\xA9") << "61 62 63 64 65 66 67 68 E9" << false;
}

void tst_Base::utf8()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, decoded);
    QFETCH(bool, ascii);

    const std::string_view view(text.constData(), text.size());
    QStringList points;
    bool valid = true;
    for (std::size_t pos = 0; pos < view.size();) {
        char32_t cp;
        const std::size_t at = pos;
        if (!decodeUtf8(view, pos, cp)) {
            points << QStringLiteral("invalid at %1").arg(at);
            valid = false;
            QCOMPARE(pos, at); // left where it stopped
            break;
        }
        points << QString::number(cp, 16).toUpper();
    }
    QCOMPARE(points.join(' '), decoded);
    QCOMPARE(isUtf8(view), valid);
    QCOMPARE(isAscii(view), ascii);
}

// Every code point written and read back, at the length its range takes.
void tst_Base::utf8RoundTrip()
{
    for (char32_t cp = 0; cp <= 0x10FFFF; cp += cp < 0x1000 ? 1 : 61) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        std::string text;
        appendUtf8(text, cp);
        const std::size_t length = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
        std::size_t pos = 0;
        char32_t back = 0;
        if (text.size() != length || !decodeUtf8(text, pos, back) || back != cp || pos != length)
            QFAIL(qPrintable(QStringLiteral("U+%1").arg(uint(cp), 0, 16)));
    }
}

QTEST_APPLESS_MAIN(tst_Base)
#include "tst_base.moc"
