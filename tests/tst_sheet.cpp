// The calculation sheet as an engineer hands it in: printed by a real browser (headless
// Chromium) to PDF, and read back with pdftotext.

#include "base/browser.h"
#include "cli/run.h"
#include "core/pipeline.h"
#include "core/sheet.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <vector>

class tst_Sheet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void printed_data();
    void printed();
    void cellsStayText();
    void sheetInfoRead_data();
    void sheetInfoRead();
    void titleBlockStaysText();
    void keptRequestGivesBackEveryInput();

private:
    QTemporaryDir m_folder;
};

namespace {

// tovrik-size run on the arguments; its standard output.
QByteArray sizer(const QString &folder, std::vector<const char *> args)
{
    const QByteArray path = QDir(folder).filePath(QStringLiteral("out")).toLocal8Bit();
    std::FILE *out = std::fopen(path.constData(), "w+b");
    std::FILE *err = std::fopen(path + ".err", "w+b");
    tovrik::cli::run(int(args.size()), args.data(), stdin, out, err);
    std::fclose(out);
    std::fclose(err);
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A line list whose tags are hostile markup, quotes and ampersands.
const QByteArray hostileList = "位号,medium,Q,P,T,u,v\n"
                               "<script>alert(1)</script>,水,100,,,,2\n"
                               "\"A&B \"\"7\"\"\",蒸汽,10,,,0.3747,30\n"
                               "</td><b>x,压缩空气,600,0.7,20,,10\n"
                               "bad,水,abc,,,,2\n";

} // namespace

void tst_Sheet::initTestCase()
{
    qputenv("SOURCE_DATE_EPOCH", "1796688000");
}

void tst_Sheet::printed_data()
{
    // dev.sh test installs the browser and poppler-utils; elsewhere their absence skips.
    const bool required = qEnvironmentVariableIsSet("TOVRIK_REQUIRE_TOOLS");
    if (tovrik::findBrowser().empty()
        || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        if (required)
            QFAIL("chromium and pdftotext are needed");
        QSKIP("chromium or pdftotext is not installed");
    }
    QTest::addColumn<QList<QByteArray>>("args");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<int>("minPages");
    QTest::addColumn<int>("maxPages");
    // The title block, its sign-off, the page numbers, and the parts a checker looks for first.
    // pdftotext reads a table's cells in an order of its own: each is looked for alone.
    const QStringList common {QStringLiteral("管径计算书"),
                              QStringLiteral("工程名称"),
                              QStringLiteral("某化工厂 <b>一期</b>"),
                              QStringLiteral("D-001"),
                              QStringLiteral("审核"),
                              QStringLiteral("张三"),
                              QStringLiteral("2026-12-08"),
                              QStringLiteral("第 1 页 共"),
                              QStringLiteral("计算依据"),
                              QStringLiteral("结论"),
                              QStringLiteral("Tovrik 1.00")};
    const QStringList line = common + QStringList {QStringLiteral("第 2 页 共 2 页")};
    const QStringList none;
    QTest::newRow("air worked example")
        << QList<QByteArray> {"air", "-Q", "600", "-P", "0.7", "-T", "20", "-v", "10"}
        << line + QStringList {"57.0212772537991", "57.02 mm", "DN50",           "0.1 MPa、273 K",
                               "Sutherland",       "雷诺数",   "HG/T 20553-2011"}
        << none << 1 << 2;
    QTest::newRow("steam worked example")
        << QList<QByteArray> {"steam", "-Q", "10", "-u", "0.3747", "-v", "30"}
        << line + QStringList {"0.3747", "210.106296907066", "210.11 mm", "DN200", "IAPWS 2008"}
        << none << 1 << 2;
    QTest::newRow("water worked example")
        << QList<QByteArray> {"water", "-Q", "100", "-v", "2", "-T", "130", "-P", "0.6"}
        << line + QStringList {"132.936074863071", "132.94 mm", "DN125", "IAPWS-IF97", "合适"}
        << none << 1 << 2;
    QTest::newRow("steam main with a line and fittings")
        << QList<QByteArray> {"steam",
                              "-Q",
                              "13.1",
                              "-p",
                              "0.8",
                              "--gauge",
                              "-v",
                              "30",
                              "--length=200",
                              "--fittings=6",
                              "--max-drop=60",
                              "--roughness=steam-network"}
        << line
            + QStringList {"0.2 mm（蒸汽管网，CJJ 34-2010）",
                           "绝对压力 0.901325 MPa",
                           "全线压降 31.4 kPa ≤ 60 kPa，满足。",
                           "全线（管长 200 m，ΣK 6）压降约 31.4 kPa。",
                           "0.869944",
                           "《水、蒸汽及压缩空气管道推荐流速》表，饱和蒸汽"}
        << QStringList {"0.9013250", "steam-network"} << 1 << 2;
    QTest::newRow("air main sized by the allowable drop")
        << QList<QByteArray> {"air", "-Q", "3000", "-P",           "0.7",          "-T",
                              "20",  "-v", "15",   "--length=300", "--max-drop=10"}
        << line
            + QStringList {"按允许压降选用 DN150", "全线压降 7.09 kPa ≤ 10 kPa，满足。",
                           "为满足允许压降而选大", "结论：各项校核均满足。"}
        << none << 1 << 2;
    // The summary on a landscape page of its own, then a page for each line asked for.
    QTest::newRow("line list, every detail")
        << QList<QByteArray> {"batch", "--series=cn", "--absolute", "--detail=all", "list.csv"}
        << common + QStringList {"管径计算汇总表", "<script>alert(1)</script>",
                                 "A&B \"7\"",      "</td><b>x",
                                 "未能计算",       "132.936074863071",
                                 "共 4 条，其中"}
        << none << 5 << 5;
    QTest::newRow("line list, failed lines only")
        << QList<QByteArray> {"batch", "--series=cn", "--absolute", "list.csv"}
        << common + QStringList {"管径计算汇总表", "4. bad", "水流量Q不是有效的数字"}
        << QStringList {"132.936074863071"} << 2 << 2;
    QTest::newRow("line list, summary alone")
        << QList<QByteArray> {"batch", "--series=cn", "--absolute", "--detail=none", "list.csv"}
        << common + QStringList {"管径计算汇总表", "第 1 页 共 1 页"} << QStringList {"4. bad"} << 1
        << 1;
}

// Printed by tovrik-size itself, through the browser it finds, to the PDF it was asked for.
void tst_Sheet::printed()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(QStringList, words);
    QFETCH(QStringList, absent);
    QFETCH(int, minPages);
    QFETCH(int, maxPages);
    const QDir folder(m_folder.path());
    QFile list(folder.filePath(QStringLiteral("list.csv")));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(hostileList);
    list.close();
    QFile info(folder.filePath(QStringLiteral("info.txt")));
    QVERIFY(info.open(QIODevice::WriteOnly));
    info.write("# the title block\n工程名称 = 某化工厂 <b>一期</b>\ndocument-no = D-001\n"
               "designer = 张三\n");
    info.close();
    const QString pdf = folder.filePath(QStringLiteral("sheet.pdf"));
    QFile::remove(pdf);
    const QByteArray pdfOption = "--pdf=" + pdf.toUtf8();
    const QByteArray infoOption = "--sheet-info=" + info.fileName().toUtf8();
    std::vector<const char *> argv;
    const QByteArray listPath = list.fileName().toUtf8();
    for (const QByteArray &arg : args)
        argv.push_back(arg == "list.csv" ? listPath.constData() : arg.constData());
    argv.push_back(pdfOption.constData());
    argv.push_back(infoOption.constData());
    sizer(m_folder.path(), argv);
    QVERIFY2(QFile::exists(pdf), "no PDF was printed");
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("sheet.html"))));
    // pdftotext breaks lines as laid out; the words are looked for with the breaks taken out.
    QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    text.remove(QRegularExpression(QStringLiteral("\\s*\\n\\s*")));
    for (const QString &word : words)
        QVERIFY2(text.contains(word), qPrintable(word));
    for (const QString &word : absent)
        QVERIFY2(!text.contains(word), qPrintable(word));
    const QString pdfInfo = run(QStringLiteral("pdfinfo"), {pdf});
    const int pages
        = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(pdfInfo).captured(1).toInt();
    QVERIFY2(pages >= minPages && pages <= maxPages, qPrintable(QString::number(pages)));
}

// Whatever a cell holds reaches the sheet as text: no element, no attribute of its own.
void tst_Sheet::cellsStayText()
{
    const QDir folder(m_folder.path());
    QFile list(folder.filePath(QStringLiteral("hostile.csv")));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(hostileList);
    list.close();
    const QByteArray path = list.fileName().toUtf8();
    const QByteArray option = "--sheet=" + path + ".html";
    sizer(m_folder.path(), {"batch", path.constData(), option.constData()});
    QFile file(QString::fromUtf8(path + ".html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray sheet = file.readAll();
    QVERIFY(!sheet.contains("<script"));
    QVERIFY(!sheet.contains("<b>x"));
    QVERIFY(sheet.contains("&lt;script&gt;alert(1)&lt;/script&gt;"));
    QVERIFY(sheet.contains("A&amp;B &quot;7&quot;"));
}

void tst_Sheet::sheetInfoRead_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("fault"); // empty: read
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("checker");
    QTest::newRow("keys, titles, blanks and comments")
        << QByteArray("\xEF\xBB\xBF# 标题栏\r\n\r\nproject =  某厂 = 一期 \r\n校核=李四\n")
        << QString() << QStringLiteral("某厂 = 一期") << QStringLiteral("李四");
    QTest::newRow("a key in another case")
        << QByteArray("PROJECT = A") << QString() << QStringLiteral("A") << QString();
    QTest::newRow("an empty value")
        << QByteArray("project =\n") << QString() << QString() << QString();
    QTest::newRow("no equals sign")
        << QByteArray("project = A\nchecker\n")
        << QStringLiteral("信息第 2 行不是“项目 = 内容”的形式。") << QString() << QString();
    QTest::newRow("an unknown key")
        << QByteArray("designr = 王\n")
        << QStringLiteral("信息第 1 行的“designr”不是计算书信息的项目，可用的有：project、"
                          "project-no、unit、line-no、document-no、revision、designer、"
                          "design-date、checker、check-date、reviewer、review-date、approver、"
                          "approval-date。")
        << QString() << QString();
}

void tst_Sheet::sheetInfoRead()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, fault);
    QFETCH(QString, project);
    QFETCH(QString, checker);
    tovrik::SheetInfo info;
    const std::string said = tovrik::readSheetInfo(text.toStdString(), "信息", info);
    QCOMPARE(QString::fromStdString(said), fault);
    if (!fault.isEmpty())
        return;
    QCOMPARE(QString::fromStdString(info[tovrik::SheetField::Project]), project);
    QCOMPARE(QString::fromStdString(info[tovrik::SheetField::Checker]), checker);
}

// The user's particulars stay text in the cells and in the page's margin boxes, whose style
// sheet they cannot end.
void tst_Sheet::titleBlockStaysText()
{
    using namespace tovrik;
    SizingRequest request;
    request.medium = Medium::Water;
    request[Input::Flow] = "100";
    request[Input::Velocity] = "2";
    const SheetLine line {{}, KeptInputs(request), true, sizePipe(request)};
    SheetInfo info;
    info[SheetField::Project] = "</style><script>x\"\\</script>";
    info[SheetField::Approver] = "审定人";
    const std::string sheet = calculationSheet(line, info);
    QCOMPARE(sheet.find("<script"), std::string::npos);
    QVERIFY(sheet.find("&lt;/style&gt;&lt;script&gt;") != std::string::npos);
    QVERIFY(sheet.find("工程：\\3c /style>\\3c script>x\\\"\\\\\\3c /script>")
            != std::string::npos);
    // 审定 is there only when given.
    QVERIFY(sheet.find("<th>审定</th>") != std::string::npos);
    QCOMPARE(calculationSheet(line, {}).find("<th>审定</th>"), std::string::npos);
}

// A sheet written after the fields have changed is made from the texts its request kept: every
// input of the catalogue, and every choice beside them, must come back as it was, though the
// texts it was made from are gone.
void tst_Sheet::keptRequestGivesBackEveryInput()
{
    using namespace tovrik;
    std::vector<std::string> typed;
    for (std::size_t i = 0; i < inputCount; ++i)
        typed.push_back("text " + std::to_string(i));
    SizingRequest request;
    request.medium = Medium::Steam;
    request.pressureKind = PressureKind::Gauge;
    request.advice.series = PipeSeries::Gb3091;
    request.advice.service = GasService::Site;
    request.advice.gas = Gas::Argon;
    request.advice.allSizes = true;
    request.decimalSeparator = U',';
    for (std::size_t i = 0; i < inputCount; ++i)
        request[Input(i)] = typed[i];
    const KeptInputs kept(request);
    for (std::string &text : typed)
        text.assign(text.size(), '?');

    const SizingRequest back(kept);
    for (std::size_t i = 0; i < inputCount; ++i) {
        QVERIFY2(back[Input(i)], inputDefs[i].column);
        QCOMPARE(std::string(*back[Input(i)]), "text " + std::to_string(i));
    }
    QCOMPARE(back.medium, Medium::Steam);
    QCOMPARE(back.pressureKind, std::optional(PressureKind::Gauge));
    QCOMPARE(back.advice.series, PipeSeries::Gb3091);
    QCOMPARE(back.advice.service, GasService::Site);
    QCOMPARE(back.advice.gas, Gas::Argon);
    QVERIFY(back.advice.allSizes);
    QCOMPARE(back.decimalSeparator, U',');
}

QTEST_GUILESS_MAIN(tst_Sheet)
#include "tst_sheet.moc"
