#include "base/utf8.h"
#include "forms/wrap.h"

#include <QTest>

using namespace tovrik;

// The one rule both backends wrap their tips by: where a line may break, and the lines at a
// width.
class tst_Wrap : public QObject
{
    Q_OBJECT

private slots:
    void lineBreaks_data();
    void lineBreaks();
    void wrapLines_data();
    void wrapLines();
};

namespace {

// The text with a | at every place a line may begin.
QByteArray marked(const QByteArray &text)
{
    QByteArray out;
    qsizetype from = 0;
    for (const std::size_t at : tovrik::lineBreaks(std::string_view(text.data(), text.size()))) {
        out += text.mid(from, qsizetype(at) - from) + '|';
        from = qsizetype(at);
    }
    return out + text.mid(from);
}

// Columns as a Chinese font sets them: a Chinese character is two, anything else one.
int columns(std::string_view text)
{
    int width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t c = 0;
        if (!decodeUtf8(text, pos, c))
            ++pos;
        width += c >= 0x2E80 && c != 0xFFFD ? 2 : 1;
    }
    return width;
}

} // namespace

void tst_Wrap::lineBreaks_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("breaks"); // | where a line may begin
    const auto row = [](const char *name, const char *text, const char *breaks) {
        QTest::newRow(name) << QByteArray(text) << QByteArray(breaks);
    };

    // clang-format off
    row("between Chinese characters", "实际流速", "实|际|流|速");
    row("a velocity and its unit", "实际流速 30.53 m/s，合适", "实|际|流|速 |30.53 m/s，|合|适");
    row("a roughness", "粗糙度 0.046 mm）", "粗|糙|度 |0.046 mm）");
    row("a drop", "压降约 12.3 kPa（粗糙度", "压|降|约 |12.3 kPa|（粗|糙|度");
    row("a size and a pipe", "推荐 DN150（Φ159×4.5，内径", "推|荐 |DN150|（Φ159×4.5，|内|径");
    row("DN and its number", "按 DN 150 计", "按 |DN 150 |计");
    row("Φ and its number", "Φ 159×4.5 mm 管", "Φ 159×4.5 mm |管");
    row("a volume flow", "即 100.18 m³/h，据此", "即 |100.18 m³/h，|据|此");
    row("a mass flow", "100 t/h 即", "100 t/h |即");
    row("a pressure", "0.101325 MPa 取", "0.101325 MPa |取");
    row("a temperature", "按 20 °C（未给水温）", "按 |20 °C|（未|给|水|温）");
    row("a density", "取 998.21 kg/m³：", "取 |998.21 kg/m³：");
    row("a bound", "常用流速 <2.0 m/s（参考表", "常|用|流|速 |<2.0 m/s|（参|考|表");
    row("a range", "1.5~2.5 m/s", "1.5~2.5 m/s");
    row("a figure after a name", "Q=100 t/h", "Q=100 t/h");
    row("an exponent", "管长 1e+308 m）", "管|长 |1e+308 m）");
    row("a figure after a Chinese character", "约12.6 kPa", "约|12.6 kPa");
    row("a figure in brackets", "(2.0 m/s)", "(2.0 m/s)");
    row("Latin words break at blanks", "ASME B36.10M Sch40", "ASME |B36.10M |Sch40");
    row("a size is no figure", "DN150 ASME", "DN150 |ASME");
    row("a number before a Chinese word", "已计算 1 条管线", "已|计|算 |1 |条|管|线");
    row("no closing mark begins a line", "合适。偏高，", "合|适。|偏|高，");
    row("no opening mark ends a line", "「参考」", "「参|考」");
    row("a run of blanks", "约  kPa", "约  |kPa");
    row("leading blanks", "  水", "  水");
    row("a stray byte", "水\xff水", "水|\xff|水");
    // clang-format on
}

void tst_Wrap::lineBreaks()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, breaks);
    QCOMPARE(QString::fromUtf8(marked(text)), QString::fromUtf8(breaks));
}

void tst_Wrap::wrapLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width"); // columns
    QTest::addColumn<QString>("lines"); // joined by |

    // clang-format off
    QTest::newRow("fits") << "实际流速 1.57 m/s" << 20 << "实际流速 1.57 m/s";
    QTest::newRow("at the last break that fits") << "实际流速 1.57 m/s，常用流速 <2.0 m/s" << 20 << "实际流速 1.57 m/s，|常用流速 <2.0 m/s";
    QTest::newRow("the unit goes with its figure") << "实际流速 1.57 m/s，合适" << 14 << "实际流速|1.57 m/s，合适";
    QTest::newRow("exactly the width") << "实际流速实际流速" << 16 << "实际流速实际流速";
    QTest::newRow("a column over") << "实际流速实际流速" << 15 << "实际流速实际流|速";
    QTest::newRow("blanks at a break dropped") << "ASME   B36.10M" << 8 << "ASME|B36.10M";
    QTest::newRow("too wide to break") << "ABCDEFGHIJ KLM" << 4 << "ABCDEFGHIJ|KLM";
    QTest::newRow("each paragraph apart") << "推荐 DN150\n小一号 DN125\r\n每 100 m" << 40 << "推荐 DN150|小一号 DN125|每 100 m";
    QTest::newRow("an empty paragraph kept") << "甲\n\n乙" << 40 << "甲||乙";
    QTest::newRow("empty") << "" << 40 << "";
    // clang-format on
}

void tst_Wrap::wrapLines()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, lines);
    const std::string utf8 = text.toStdString();
    QStringList got;
    for (const std::string_view line : tovrik::wrapLines(utf8, width, columns))
        got << QString::fromUtf8(line.data(), qsizetype(line.size()));
    QCOMPARE(got.join(QLatin1Char('|')), lines);
}

QTEST_APPLESS_MAIN(tst_Wrap)
#include "tst_wrap.moc"
