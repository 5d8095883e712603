#include "base/codepage.h"
#include "base/files.h"
#include "cli/run.h"
#include "core/inputs.h"
#include "core/linelist.h"
#include "tests/gbk.h"
#include "tests/vectors.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

class tst_Cli : public QObject
{
    Q_OBJECT

private slots:
    void sameTextAsTheWindow_data();
    void sameTextAsTheWindow();
    void json();
    void pressureDrop();
    void lineFailure();
    void engineeringAids_data();
    void engineeringAids();
    void lineAndGases_data();
    void lineAndGases();
    void batchRowsNeverIgnoreACell_data();
    void batchRowsNeverIgnoreACell();
    void everyGbkPairAsWindowsReadsIt();
    void exampleLineList();
    void usage_data();
    void usage();
    void batch_data();
    void batch();
    void steamPressure_data();
    void steamPressure();
    void batchFromFileOrDash();
    void longRecordsAcrossReads();
    void pipeColumnsAgreeWithPrintf();
    void roundTripKeepsEveryByte();
    void lineEndsAtEveryOffset();
    void unreadableInput_data();
    void unreadableInput();
    void jsonIsValidUtf8();
    void failedWrite_data();
    void failedWrite();
    void sheetFile_data();
    void sheetFile();
    void errorsInOurOwnWords();
    void closedPipeEndsQuietly();
};

namespace {

// A batch's header row: the input's columns, then ours.
QByteArray header(const QByteArray &inputs)
{
    return inputs + ',' + QByteArray::fromStdString(tovrik::resultHeader());
}

// What a batch writes after a row of the worked examples, from its result to its note, and after
// a failed row's error: the result columns as they stand, in one place.
const QByteArray emptyNote = ",";
const QByteArray water100
    = "132.936074863071,,150,150,1.57,inside,125,2.27,above,14.390,235409,0.01744,water"
    + emptyNote;
const QByteArray water36
    = "112.8,,125,125,0.82,inside,100,1.28,inside,5.248,101697,0.01972,water" + emptyNote;
const QByteArray air600
    = "57.0212772537991,,50,50,12.97,inside,65,7.01,below,28.490,298783,0.02027,air" + emptyNote;
const QByteArray steam10 = "210.106296907066,,200,207,30.93,inside,250,19.76,below,9.111,1218277,"
                           "0.01477,steam"
    + emptyNote;
// The aids' empty cells, DN to fluid, and the note.
const QByteArray noAids = QByteArray(11, ',') + emptyNote;

struct Outcome
{
    int status;
    QByteArray out;
    QByteArray err;
};

QByteArray readAll(std::FILE *file)
{
    std::rewind(file);
    QByteArray bytes;
    char buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, file)) > 0)
        bytes.append(buf, qsizetype(got));
    std::fclose(file);
    return bytes;
}

int runIn(const QList<QByteArray> &args, std::FILE *in, std::FILE *out, std::FILE *err)
{
    std::vector<const char *> argv;
    for (const QByteArray &arg : args)
        argv.push_back(arg.constData());
    return tovrik::cli::run(int(argv.size()), argv.data(), in, out, err);
}

Outcome runSizer(const QList<QByteArray> &args, const QByteArray &input = {})
{
    std::FILE *in = std::tmpfile();
    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    std::fwrite(input.constData(), 1, std::size_t(input.size()), in);
    std::rewind(in);
    const int status = runIn(args, in, out, err);
    std::fclose(in);
    return {status, readAll(out), readAll(err)};
}

QList<QByteArray> lineArgs(const SizingVector &vector)
{
    QList<QByteArray> args {vector.medium};
    const std::pair<const char *, const char *> inputs[] = {
        {"-Q", vector.flow},           {"-P", vector.pressure}, {"-T", vector.temperature},
        {"-u", vector.specificVolume}, {"-v", vector.velocity},
    };
    for (const auto &[option, text] : inputs) {
        if (text)
            args << option << text;
    }
    return args;
}

} // namespace

void tst_Cli::sameTextAsTheWindow_data()
{
    QTest::addColumn<QList<QByteArray>>("args");
    QTest::addColumn<QByteArray>("expected");
    for (const SizingVector &vector : sizingVectors)
        QTest::newRow(vector.name) << lineArgs(vector) << QByteArray(vector.expected);
}

void tst_Cli::sameTextAsTheWindow()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(QByteArray, expected);

    const Outcome outcome = runSizer(args);
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out.left(outcome.out.indexOf('\n')), expected);
    // The advice follows on lines of its own.
    QVERIFY(outcome.out.contains("\n推荐 DN") || outcome.out.contains("才能校核流速。"));
    QCOMPARE(outcome.err, QByteArray());
}

void tst_Cli::json()
{
    const Outcome outcome = runSizer(
        {"air", "--flow=600", "--pressure", "0.7", "-T", "20", "--velocity=10", "--json"});
    QCOMPARE(outcome.status, 0);
    QVERIFY2(outcome.out.startsWith(
                 R"({"medium":"air","Q":"600","P":"0.7","T":"20","u":null,"p":null,"v":"10",)"
                 R"("Ts":null,"roughness":null,"length":null,"K":null,"Le":null,)"
                 R"("max_drop":null,"elevation":null,"pressure_kind":"absolute",)"
                 R"("gas_service":"workshop","gas":"air","flow_basis":"standard",)"
                 R"("Q_standard_m3h":null,"series":"cn",)"
                 R"("d":"57.0212772537991","diameter_mm":57.02127725379914,"error":null,)"
                 R"("u_from_p":null,"p_abs_MPa":null,"flow_m3h":91.69010787828647,)"
                 R"("DN":50,"ID_mm":50,"v_real":12.97)"),
             outcome.out.constData());
    QVERIFY(outcome.out.contains(R"("v_check":"inside","pipes":[{"DN":50,"ID_mm":50,)"));
    QVERIFY(outcome.out.contains(R"("recommended":true},{"DN":65,"ID_mm":68,"v_real":7.01)"));
    QVERIFY(outcome.out.contains(R"("recommended":false}],"in_band":null,"roughness_mm":0.046,)"
                                 R"("fluid":"air","fluid_T_C":20,)"));
    QVERIFY(outcome.out.contains(R"("advice":"推荐 DN50)"));
    QVERIFY(outcome.out.endsWith("}\n"));

    const Outcome failed = runSizer({"water", "-Q", "\"1\"", "-v", "2", "--json"});
    QCOMPARE(failed.status, 1);
    // Outside the macro: moc's preprocessor does not read raw strings.
    const QByteArray expected(
        R"({"medium":"water","Q":"\"1\"","P":null,"T":null,"u":null,"p":null,)"
        R"("v":"2","Ts":null,"roughness":null,"length":null,"K":null,"Le":null,)"
        R"("max_drop":null,"elevation":null,"pressure_kind":null,"gas_service":null,)"
        R"("gas":null,"flow_basis":null,"Q_standard_m3h":null,"series":"cn",)"
        R"("d":null,"diameter_mm":null,"error":"水流量Q不是有效的数字。",)"
        R"("u_from_p":null,"p_abs_MPa":null,"flow_m3h":null,)"
        R"("DN":null,"ID_mm":null,"v_real":null,"v_check":null,)"
        R"("pipes":[],"in_band":null,"roughness_mm":null,"fluid":null,)"
        R"("fluid_T_C":null,"fluid_p_MPa":null,)"
        R"("density_kg_m3":null,"viscosity_Pa_s":null,"Re":null,"f":null,)"
        R"("dp_kPa_100m":null,"dp_note":null,"dp_kPa":null,"dp_method":null,"line_note":null,)"
        R"("max_drop_kPa":null,"criterion":null,"DN_velocity":null,"Z":null,)"
        R"("dp_100m_method":null,"dp_usual_kPa_100m":null,"outlet_p_MPa":null,"outlet_v":null,)"
        R"("basis":null,)"
        R"("advice":null})"
        "\n");
    QCOMPARE(failed.out, expected);
}

// The worked water example: 998.206 kg/m3 and 1.0016 mPa s at 20 C (IAPWS), so 100 t/h is
// 100.180 m3/h, 1.4924 m/s in DN150's 154.08 mm bore, Re 229176, e/D 0.000299, f 0.01744
// (Colebrook), and 0.01744 x 100 / 0.15408 x 998.2 x 1.4924^2 / 2 = 12.58 kPa. The same keys
// come every time.
void tst_Cli::pressureDrop()
{
    // The worked example's drop, worked out by hand in ASME's DN150 bore of 154.08 mm.
    const Outcome text = runSizer({"water", "-Q", "100", "-v", "2", "-T", "20", "--series=asme40"});
    QCOMPARE(text.status, 0);
    QVERIFY2(text.out.endsWith("\n每 100 m 压降约 12.6 kPa（粗糙度 0.046 mm）\n"),
             text.out.constData());

    const Outcome success
        = runSizer({"water", "-Q100", "-v2", "-T20", "--series=asme40", "--json"});
    const Outcome failure = runSizer({"water", "-Q100", "-v0", "--json"});
    const QJsonObject sized = QJsonDocument::fromJson(success.out).object();
    const QJsonObject failed = QJsonDocument::fromJson(failure.out).object();
    QCOMPARE(sized.keys(), failed.keys());
    QVERIFY(std::fabs(sized.value("density_kg_m3").toDouble() - 998.206) < 1e-3);
    QVERIFY(std::fabs(sized.value("viscosity_Pa_s").toDouble() - 1.0016e-3) < 1e-7);
    QVERIFY(std::fabs(sized.value("flow_m3h").toDouble() - 100.1797) < 1e-4);
    QCOMPARE(std::round(sized.value("Re").toDouble()), 229176.0);
    QVERIFY(std::fabs(sized.value("f").toDouble() - 0.01744) < 5e-6);
    QVERIFY(std::fabs(sized.value("dp_kPa_100m").toDouble() - 12.583) < 5e-4);
    QVERIFY(failed.value("dp_kPa_100m").isNull());

    // Superheated steam at 1 MPa and 250 C: 0.23275 m3/kg in the steam tables.
    const Outcome superheated = runSizer(
        {"steam", "-Q10", "-p1", "--absolute", "--steam-temperature=250", "-v30", "--json"});
    const QJsonObject steam = QJsonDocument::fromJson(superheated.out).object();
    QVERIFY(std::fabs(steam.value("u_from_p").toDouble() - 0.23275) < 5e-5);
    QCOMPARE(steam.value("d").toString(), QStringLiteral("165.589098459134"));
}

void tst_Cli::lineFailure()
{
    const Outcome zero = runSizer({"water", "-Q", "100", "-v", "0"});
    QCOMPARE(zero.status, 1);
    QCOMPARE(zero.out, QByteArray());
    QCOMPARE(zero.err, QByteArray("tovrik-size：水的设计流速v不能为零。\n"));

    const Outcome empty = runSizer({"air", "-Q", "", "-P", "", "-T", "20", "-v", "10"});
    QCOMPARE(empty.status, 1);
    QCOMPARE(empty.err,
             QByteArray("tovrik-size：请输入正确的压缩空气体积流量,单位：m3/"
                        "h。请输入正确的设计压力，单位：MPa。\n"));
}

// What an engineer would sign: each row one of the aids' former wrong answers. The output must
// hold the first text and must not hold the second.
void tst_Cli::engineeringAids_data()
{
    QTest::addColumn<QList<QByteArray>>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("holds");
    QTest::addColumn<QByteArray>("never");

    // A natural-gas line is methane's: 2.6328 kg/m3 at 0.4 MPa and 20 C, not air's 4.75.
    QTest::newRow("natural gas: its own properties")
        << QList<QByteArray> {"air",   "-Q500", "-P0.4",
                              "-T20",  "-v20",  "--gas-service=natural-gas",
                              "--json"}
        << 0 << QByteArray(R"("gas":"natural-gas","flow_basis":"standard")")
        << QByteArray(R"("density_kg_m3":4.7)");
    QTest::newRow("natural gas: said so")
        << QList<QByteArray> {"air",
                              "-Q500",
                              "-P0.4",
                              "-T20",
                              "-v20",
                              "--gas-service=natural-gas",
                              "--series=asme40"}
        << 0 << QByteArray("每 100 m 压降约 15.2 kPa（粗糙度 0.046 mm，天然气（按甲烷））")
        << QByteArray("无法估算压降");
    // Past any pipe's pressure Peng–Robinson's cubic overflows: no density, and the reason.
    QTest::newRow("a gas past its density's range")
        << QList<QByteArray> {"air", "-Q1e21", "-P1e303", "-T0", "-v10"} << 0
        << QByteArray("无法估算压降：压缩空气设计压力P不能超过 100 MPa（实际气体密度的适用范围）。")
        << QByteArray("nan");
    // 300 t/h of water at 130 C and 0.6 MPa is 320.85 m3/h (935.00 kg/m3): 1.75 m/s in DN250
    // and 7.91 kPa (python3-iapws and python3-fluids), not 1.64 m/s and 6.93 kPa.
    QTest::newRow("hot water: its mass flow as volume")
        << QList<QByteArray> {"water", "-Q300", "-v1.8", "-T130", "-P0.6", "--series=asme40"} << 0
        << QByteArray("实际流速 1.75 m/s") << QByteArray("6.93 kPa");
    QTest::newRow("hot water: the drop")
        << QList<QByteArray> {"water", "-Q300", "-v1.8", "-T130", "-P0.6", "--series=asme40"} << 0
        << QByteArray("每 100 m 压降约 7.91 kPa") << QByteArray("1.64 m/s");
    QTest::newRow("steam both slow: the smaller")
        << QList<QByteArray> {"steam", "-Q2", "-p0.4", "--gauge", "-v15"} << 0
        << QByteArray("推荐 DN125") << QByteArray("推荐 DN150");
    QTest::newRow("steam both slow at 1 MPa: the smaller")
        << QList<QByteArray> {"steam", "-Q40", "-p1.0", "--gauge", "-v35"} << 0
        << QByteArray("推荐 DN250") << QByteArray("推荐 DN300");
    QTest::newRow("make-up water: the size within the range named")
        << QList<QByteArray> {"water", "-Q2", "-v1", "--series=asme40"} << 0
        << QByteArray("常用流速范围内最近的管径：DN32") << QByteArray("inf");
    QTest::newRow("compressed liquid is no superheated steam")
        << QList<QByteArray> {"steam",
                              "-Q",
                              "-10",
                              "-p",
                              "25",
                              "--absolute",
                              "--steam-temperature=200",
                              "-v",
                              "30"}
        << 1 << QByteArray("蒸汽温度Ts须高于 403.66 °C") << QByteArray("22491644188");
    QTest::newRow("boiling water keeps its diameter")
        << QList<QByteArray> {"water", "-Q100", "-v2", "-T120"} << 0
        << QByteArray("132.936074863071\n") << QByteArray("tovrik-size：");
    QTest::newRow("frozen water keeps its diameter")
        << QList<QByteArray> {"water", "-Q100", "-v2", "-T", "-5"} << 0
        << QByteArray("无法估算压降：水温T超出了 IAPWS-IF97 液态水的适用范围")
        << QByteArray("tovrik-size：");
    QTest::newRow("no pressure keeps the diameter")
        << QList<QByteArray> {"water", "-Q100", "-v2", "-P0"} << 0
        << QByteArray("无法估算压降：水的压力P须为正的绝对压力。") << QByteArray("100 MPa");
    QTest::newRow("vacuum: no boiling point below freezing")
        << QList<QByteArray> {"water", "-Q100", "-v2", "-P0.0001"} << 0
        << QByteArray("低于水的三相点压力") << QByteArray("-8");
    QTest::newRow("a tiny flow: no infinite drop")
        << QList<QByteArray> {"water", "-Q1e-310", "-v1"} << 0
        << QByteArray("无法估算压降：管内的雷诺数不在") << QByteArray("inf");
    QTest::newRow("a tiny flow: no pipe at 0.00 m/s called usual")
        << QList<QByteArray> {"water", "-Q1e-310", "-v1"} << 0
        << QByteArray("本系列没有实际流速在常用流速范围内的管径。") << QByteArray("最近的管径");
    QTest::newRow("a tiny flow in JSON") << QList<QByteArray> {"water", "-Q1e-310", "-v1", "--json"}
                                         << 0 << QByteArray(R"("f":null)") << QByteArray("nan");
    QTest::newRow("no verdict on a negative volume")
        << QList<QByteArray> {"steam", "-Q", "-10", "-u", "-0.3747", "-v30"} << 0
        << QByteArray("蒸汽质量流量Q须为正数，才能校核流速。") << QByteArray("合适");
    QTest::newRow("no verdict below absolute zero")
        << QList<QByteArray> {"air", "-Q600", "-P", "-0.7", "-T", "-300", "-v10"} << 0
        << QByteArray("压缩空气设计压力P须为正的绝对压力，才能校核流速。") << QByteArray("合适");
    QTest::newRow("no verdict on a negative volume alone")
        << QList<QByteArray> {"steam", "-Q10", "-u", "-0.3747", "-v", "-30"} << 0
        << QByteArray("蒸汽的比容u须为正数") << QByteArray("推荐");
    // 0.7 MPa gauge is 0.801325 MPa absolute: 600 m3/h gives 53.29 mm, not 57.02.
    QTest::newRow("air pressure as gauge")
        << QList<QByteArray> {"air", "-Q600", "-P0.7", "-T20", "-v10", "--gauge"} << 0
        << QByteArray("53.2944046404419\n") << QByteArray("57.02");
    QTest::newRow("air pressure said to be absolute")
        << QList<QByteArray> {"air", "-Q600", "-P0.7", "-T20", "-v10"} << 0
        << QByteArray("设计压力P按绝对压力。") << QByteArray("表压");
    QTest::newRow("the band's source")
        << QList<QByteArray> {"steam", "-Q10", "-u0.3747", "-v30"} << 0
        << QByteArray("常用流速 25~35 m/s（推荐流速表：饱和蒸汽 100~200）") << QByteArray("nan");
    QTest::newRow("the reference sheet's rows, chosen")
        << QList<QByteArray> {"steam", "-Q10", "-u0.3747", "-v30", "--velocity-table=sheet"} << 0
        << QByteArray("常用流速 30~50 m/s（参考表：饱和蒸汽 100~200）") << QByteArray("推荐流速表");
    QTest::newRow("a volume typed to six figures at the range's end")
        << QList<QByteArray> {"steam", "-Q1", "-u0.00882826", "-v20"} << 0
        << QByteArray("每 100 m 压降") << QByteArray("不在饱和蒸汽的范围内");
    QTest::newRow("a roughness of -0 mm")
        << QList<QByteArray> {"water", "-Q100", "-v2", "--roughness=-0"} << 0
        << QByteArray("粗糙度 0 mm") << QByteArray("-0 mm");
    QTest::newRow("a steam temperature left empty")
        << QList<QByteArray> {"steam", "-Q1", "-p1", "--absolute", "--steam-temperature=", "-v1"}
        << 2 << QByteArray("选项 --steam-temperature 的数值是空的") << QByteArray("推荐");
    QTest::newRow("help says absolute")
        << QList<QByteArray> {"--help"} << 0 << QByteArray("压缩空气设计压力 MPa（绝对压力")
        << QByteArray("nan");
    // Where a model stops holding, the words say so and judge no further.
    const auto row
        = [](const char *name, QList<QByteArray> args, const char *holds, const char *never) {
              QTest::newRow(name) << args << 0 << QByteArray(holds) << QByteArray(never);
          };
    row("liquid carbon dioxide is no gas",
        {"air", "-Q1000", "-P4", "-T0", "-v10", "--gas=carbon-dioxide"},
        "二氧化碳在绝对压力 4 MPa、0 °C 时是液体（该温度的饱和蒸气压 3.49 "
        "MPa），不能按气体校核流速",
        "合适");
    row("carbon dioxide by its real density",
        {"air", "-Q600", "-P0.7", "-T20", "-v10", "--gas=carbon-dioxide", "--series=asme40"},
        "取压缩因子 Z = 0.9589，密度 13.181 kg/m³", "实际流速 11.81");
    row("saturated steam by the saturated rows",
        {"steam", "-Q13.1", "-p0.8", "--gauge", "-v42", "--series=asme40"},
        "实际流速 41.88 m/s，常用流速 25~35 m/s（推荐流速表：饱和蒸汽 100~200），偏高",
        "30~50 m/s（参考表");
    row("the steam main's drop above its service's usual one",
        {"steam", "-Q13.1", "-p0.8", "--gauge", "-v42", "--series=asme40"},
        "每 100 m 压降超过饱和蒸汽管道常用的 19.6 kPa", "无法估算");
    row("hot water flashing before the line's end",
        {"water", "-Q200", "-v2.5", "-T130", "-P0.32", "--length=600", "--fittings=10",
         "--series=asme40"},
        "出口压力约 0.2355 MPa，低于该水温的饱和压力 0.2703 MPa，水将在管线中闪蒸",
        "全线（管长 600 m，ΣK 10）压降约");
    row("a rising water line loses its head",
        {"water", "-Q200", "-v2.5", "-T80", "-P0.4", "--length=600", "--elevation=25",
         "--series=asme40"},
        "另需克服静压 238 kPa；出口压力约 0.09418 MPa", "闪蒸");
    row("isothermal over 100 m above a tenth of the pressure",
        {"air", "-Q100", "-P0.15", "-T20", "-v30", "--series=asme40"}, "每 100 m 压降约 28.6 kPa",
        "25.7");
    row("oxygen's velocity is its standard's",
        {"air", "-Q600", "-P0.7", "-T20", "-v10", "--gas=oxygen"}, "须按 GB 16912-2008 校核",
        "合适");
    row("an explicit gas wins over the service's",
        {"air", "-Q600", "-P0.7", "-T20", "-v10", "--gas=air", "--gas-service=natural-gas"},
        "粗糙度 0.046 mm，空气）", "甲烷");
    row("a tiny flow's velocity in figures", {"water", "-Q0.001", "-v1"}, "实际流速 0.00246 m/s",
        "0.00 m/s");
    row("an unknown roughness names the known ones", {"water", "-Q100", "-v2", "--roughness=rusty"},
        "管壁粗糙度须是数值（mm），或 new-steel（0.046 mm）、steam-network（0.2 mm）",
        "不是有效的数字");
    row("a line of no length is per 100 m", {"water", "-Q100", "-v2", "--length=0", "--max-drop=5"},
        "管长、管件和高差都为零，不是一条管线：压降和允许压降均按每 100 m 计", "全线（无管长）");
    row("the limit per 100 m on a line",
        {"water", "-Q100", "-v2", "--length=500", "--max-drop=10", "--max-drop-per=100m"},
        "按允许压降 10 kPa（每 100 m）推荐", "（全线）推荐");
    QTest::newRow("actual flow at the formula's zero blames the temperature")
        << QList<QByteArray> {"air", "-Q600", "-P0.7", "-T-273", "-v10", "--flow-basis=actual"} << 1
        << QByteArray("压缩空气设计温度T须高于 -273 °C") << QByteArray("流量Q不是");
}

void tst_Cli::engineeringAids()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(int, status);
    QFETCH(QByteArray, holds);
    QFETCH(QByteArray, never);

    const Outcome outcome = runSizer(args);
    QCOMPARE(outcome.status, status);
    const QByteArray all = outcome.out + outcome.err;
    QVERIFY2(all.contains(holds), all.constData());
    QVERIFY2(!all.contains(never), all.constData());
}

// A real line, the allowable-drop method, the gases and their flow bases, the catalogues: the
// worked examples checked by hand, and what each option does to the words.
void tst_Cli::lineAndGases_data()
{
    QTest::addColumn<QList<QByteArray>>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("holds");

    const QList<QByteArray> main {"air",
                                  "-Q1200",
                                  "-P0.7",
                                  "--gauge",
                                  "-T40",
                                  "-v10",
                                  "--flow-basis=normal",
                                  "--length=150",
                                  "--fittings=6",
                                  "--max-drop=50",
                                  "--series=cn"};
    QTest::newRow("air main by allowable drop")
        << main << QByteArray() << 0
        << QByteArray(
               "按允许压降 50 kPa（全线）推荐 DN65（Φ76×4，内径 68 mm）：实际流速 13.28 m/s");
    QTest::newRow("air main: the velocity's choice beside it")
        << main << QByteArray() << 0 << QByteArray("按预定流速则选 DN80（Φ89×4，内径 81 mm）");
    QTest::newRow("air main in JSON") << main + QList<QByteArray> {"--json"} << QByteArray() << 0
                                      << QByteArray(R"("dp_kPa":37.42)");
    QTest::newRow("natural gas over 2 km: isothermal")
        << QList<QByteArray> {"air",           "-Q500",      "-P0.3",
                              "-T20",          "-v20",       "--gas-service=natural-gas",
                              "--length=2000", "--series=cn"}
        << QByteArray() << 0
        << QByteArray("全线（管长 2000 m）压降约 142 kPa，占进口绝对压力的 47%，超过一成，"
                      "已按等温可压缩流动计算；出口压力约 0.1577 MPa");
    QTest::newRow("steam main losing a tenth")
        << QList<QByteArray> {"steam",          "-Q20",
                              "-p0.5",          "--gauge",
                              "-v40",           "--length=300",
                              "--fittings=10",  "--roughness=steam-network",
                              "--series=asme40"}
        << QByteArray() << 0 << QByteArray("压降约 64.1 kPa，占进口绝对压力的 11%");
    QTest::newRow("choked") << QList<QByteArray> {"air",  "-Q3000",        "-P0.15",     "-T20",
                                                  "-v40", "--length=2000", "--series=cn"}
                            << QByteArray() << 0
                            << QByteArray("管内流速将达到声速（阻塞），给不出压降");
    QTest::newRow("flow as mass") << QList<QByteArray> {"air",   "-Q1000", "-P0.8",
                                                        "-T40",  "-v10",   "--flow-basis=mass",
                                                        "--json"}
                                  << QByteArray() << 0
                                  << QByteArray(R"("flow_basis":"mass","Q_standard_m3h":783.646)");
    QTest::newRow("actual flow gives back its own diameter")
        << QList<QByteArray> {"air", "-Q100", "-P0.8", "-T40", "-v10", "--flow-basis=actual"}
        << QByteArray() << 0 << QByteArray("59.45082001116");
    QTest::newRow("free air delivery")
        << QList<QByteArray> {"air", "-Q1000", "-P0.8", "-T40", "-v10", "--flow-basis=fad"}
        << QByteArray() << 0 << QByteArray("即标态（0.1 MPa、273 K）流量 931.741 m³/h");
    QTest::newRow("hydrogen's density")
        << QList<QByteArray> {"air", "-Q100", "-P0.8", "-T20", "-v10", "--gas=氢气", "--json"}
        << QByteArray() << 0 << QByteArray(R"("gas":"hydrogen")");
    QTest::newRow("GB/T 3091 pipe")
        << QList<QByteArray> {"water", "-Q20", "-v1", "--series=gb3091"} << QByteArray() << 0
        << QByteArray("DN80（GB/T 3091 Φ88.9×4，内径 80.9 mm）");
    QTest::newRow("an allowable drop never beyond the usual velocity")
        << QList<QByteArray> {"water", "-Q100", "-v2", "--max-drop=200"} << QByteArray() << 0
        << QByteArray("按允许压降 200 kPa（每 100 m）推荐 DN150");
    QTest::newRow("no size within the drop")
        << QList<QByteArray> {"water", "-Q100", "-v2", "--max-drop=0.001"} << QByteArray() << 0
        << QByteArray("本系列没有流速不超过常用范围、压降又不超过 0.001 kPa（每 100 m）的管径");
    QTest::newRow("allowable drop not positive")
        << QList<QByteArray> {"water", "-Q100", "-v2", "--max-drop=-1"} << QByteArray() << 0
        << QByteArray("全线压降和允许压降未计：允许压降须为正数。");
    QTest::newRow("unknown gas") << QList<QByteArray> {"air", "-Q1", "-P1",
                                                       "-T1", "-v1", "--gas=xenon"}
                                 << QByteArray() << 2 << QByteArray("不认识的气体“xenon”");
    QTest::newRow("flow basis of water")
        << QList<QByteArray> {"water", "-Q1", "-v1", "--flow-basis=fad"} << QByteArray() << 2
        << QByteArray("water 没有选项 --flow-basis");
    QTest::newRow("a list with lines gets their columns")
        << QList<QByteArray> {"batch"} << QByteArray("medium,Q,v,length,K\nwater,100,2,50,3\n") << 0
        << QByteArray("length,K,d,error,DN,ID,v_real,v_check,DN_alt,v_alt,v_check_alt,"
                      "dp_kPa_100m,Re,f,fluid,aid_note,dp_kPa,criterion\nwater,100,2,50,3,132."
                      "936074863071,");
    QTest::newRow("a gas on a water row is that row's error")
        << QList<QByteArray> {"batch"} << QByteArray("medium,Q,v,gas\nwater,100,2,argon\n") << 1
        << QByteArray("水不用 gas 列（气体）");
}

void tst_Cli::lineAndGases()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QByteArray, holds);

    const Outcome outcome = runSizer(args, input);
    QCOMPARE(outcome.status, status);
    const QByteArray all = outcome.out + outcome.err;
    QVERIFY2(all.contains(holds), all.constData());
}

// A cell a row's medium does not read, or reads only beside another, is an error of that row.
void tst_Cli::batchRowsNeverIgnoreACell_data()
{
    QTest::addColumn<QList<QByteArray>>("options");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("error");

    QTest::newRow("steam temperature beside a specific volume")
        << QList<QByteArray>() << QByteArray("medium,Q,u,Ts,v\nsteam,10,0.3747,250,30\n")
        << QByteArray("蒸汽温度Ts须与蒸汽压力p一起给出");
    QTest::newRow("water in the steam pressure's column")
        << QList<QByteArray>() << QByteArray("medium,Q,p,v\nwater,100,0.6,2\n")
        << QByteArray("水不用 p 列（蒸汽压力p），这一行的该列应留空。");
    QTest::newRow("steam temperature in air's column")
        << QList<QByteArray>() << QByteArray("medium,Q,u,T,v\nsteam,10,0.3747,250,30\n")
        << QByteArray("蒸汽不用 T 列（压缩空气设计温度T），这一行的该列应留空。");
    // A row reports the first of its faults in the panel's order of inputs: P comes before u,
    // and T before p.
    QTest::newRow("a missing column before a figure the medium does not read")
        << QList<QByteArray>() << QByteArray("medium,Q,u,v\nair,600,0.3,10\n")
        << QByteArray("表头缺少 P 列（压缩空气设计压力P）。");
    QTest::newRow("a figure the medium does not read before its own")
        << QList<QByteArray> {"--absolute"} << QByteArray("medium,Q,T,p,v\nsteam,10,20,0.5,30\n")
        << QByteArray("蒸汽不用 T 列（压缩空气设计温度T），这一行的该列应留空。");
    QTest::newRow("a gas service for water")
        << QList<QByteArray>() << QByteArray("medium,Q,v,service\nwater,100,2,site\n")
        << QByteArray("水不用 service 列（气体用途）");
}

void tst_Cli::batchRowsNeverIgnoreACell()
{
    QFETCH(QList<QByteArray>, options);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, error);

    const Outcome outcome = runSizer(QList<QByteArray> {"batch"} + options, input);
    QCOMPARE(outcome.status, 1);
    const QList<QByteArray> lines = outcome.out.split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[1].contains(error), lines[1].constData());
}

// All 23,940 two-byte characters of code page 936 decode to what Windows makes of them; the
// Windows test holds Windows' own converter to the same digest.
void tst_Cli::everyGbkPairAsWindowsReadsIt()
{
    std::string utf8;
    QVERIFY(tovrik::GbkDecoder().toUtf8(gbk::everyPair(), utf8));
    QCOMPARE(utf8.size(), gbk::windowsUtf8Bytes);
    QCOMPARE(gbk::fnv1a(utf8), gbk::windowsDigest);
}

// The README's commands on the shipped example: every line sized, and the GBK twin as the
// UTF-8 original but for the line ends it keeps.
void tst_Cli::exampleLineList()
{
    const QByteArray folder = TOVRIK_SOURCE_DIR "/examples/";
    const Outcome utf8 = runSizer({"batch", "--gauge", folder + "lines.csv"});
    QCOMPARE(utf8.status, 0);
    QCOMPARE(utf8.err, QByteArray());
    QCOMPARE(utf8.out.count('\n'), 13);
    QVERIFY(!utf8.out.contains(noAids + "\n")); // no row without its pipe
    const Outcome gbk
        = runSizer({"batch", "--gauge", "--encoding=gbk", "--bom", folder + "lines-gbk.csv"});
    QCOMPARE(gbk.status, 0);
    QCOMPARE(QByteArray(gbk.out).replace("\r\n", "\n"), "\xEF\xBB\xBF" + utf8.out);
    // As a user's Excel saves it: GBK, Chinese headers with units, absolute pressures.
    const Outcome chinese = runSizer({"batch", "--absolute", "--encoding=gbk",
                                      folder
                                          + "\xE7\xAE\xA1\xE7\xBA\xBF\xE8\xA1\xA8\xE7\xA4\xBA"
                                            "\xE4\xBE\x8B.csv"});
    QCOMPARE(chinese.status, 0);
    QCOMPARE(chinese.err, QByteArray());
    QVERIFY(chinese.out.contains(",公称直径,规格,"));
    QVERIFY(!chinese.out.contains(noAids));
}

void tst_Cli::usage_data()
{
    QTest::addColumn<QList<QByteArray>>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output");

    QTest::newRow("help") << QList<QByteArray> {"--help"} << 0 << QByteArray("tovrik-size batch");
    QTest::newRow("version") << QList<QByteArray> {"--version"} << 0
                             << QByteArray("tovrik-size 1.00");
    QTest::newRow("nothing") << QList<QByteArray> {} << 2 << QByteArray("缺少介质");
    QTest::newRow("unknown command")
        << QList<QByteArray> {"oil"} << 2 << QByteArray("不认识的命令“oil”");
    QTest::newRow("unknown option")
        << QList<QByteArray> {"water", "-x", "1"} << 2 << QByteArray("不认识的参数“-x”");
    QTest::newRow("option of another medium")
        << QList<QByteArray> {"water", "-Q", "1", "-v", "1", "-u", "1"} << 2
        << QByteArray("water 没有选项 -u/--specific-volume");
    QTest::newRow("missing value") << QList<QByteArray> {"water", "-Q", "1", "-v"} << 2
                                   << QByteArray("选项 -v/--velocity 缺少数值");
    QTest::newRow("missing option")
        << QList<QByteArray> {"air", "-Q", "1", "-P", "1", "-v", "1"} << 2
        << QByteArray("缺少选项 -T/--temperature（压缩空气设计温度T）");
    QTest::newRow("steam without volume or pressure")
        << QList<QByteArray> {"steam", "-Q", "1", "-v", "1"} << 2
        << QByteArray("蒸汽须给出 -u/--specific-volume 或 -p/--steam-pressure 二者之一");
    QTest::newRow("steam with both")
        << QList<QByteArray> {"steam", "-Q", "1", "-u", "0.3", "-p", "1", "--gauge", "-v", "1"} << 2
        << QByteArray("二者之一");
    QTest::newRow("steam pressure of unknown kind")
        << QList<QByteArray> {"steam", "-Q", "1", "-p", "0.4", "-v", "30"} << 2
        << QByteArray("须注明是表压（--gauge）还是绝对压力（--absolute）");
    QTest::newRow("gauge without a pressure")
        << QList<QByteArray> {"water", "--gauge", "-Q", "1", "-v", "1"} << 2
        << QByteArray("--gauge 和 --absolute 说明压力的读法，只用于 -P/--pressure");
    QTest::newRow("negative value is a value")
        << QList<QByteArray> {"water", "-Q", "-4", "-v", "-1"} << 0 << QByteArray("37.6");
    QTest::newRow("Chinese medium name")
        << QList<QByteArray> {"水", "-Q", "36", "-v", "1"} << 0 << QByteArray("112.8");
    QTest::newRow("an option twice") << QList<QByteArray> {"water", "-Q", "1", "-v", "1", "-Q2"}
                                     << 2 << QByteArray("选项 -Q/--flow 只能给一次");
    QTest::newRow("gauge and absolute")
        << QList<QByteArray> {"steam", "-Q1", "-p1", "--gauge", "--absolute", "-v1"} << 2
        << QByteArray("--gauge 和 --absolute 只能给出其一");
    QTest::newRow("gauge without a steam pressure")
        << QList<QByteArray> {"steam", "-Q1", "-u1", "--gauge", "-v1"} << 2
        << QByteArray("只用于蒸汽压力 -p/--steam-pressure");
    QTest::newRow("help after the medium")
        << QList<QByteArray> {"water", "-Q", "1", "--help"} << 0 << QByteArray("tovrik-size batch");
    QTest::newRow("version after batch")
        << QList<QByteArray> {"batch", "--version"} << 0 << QByteArray("tovrik-size 1.00");
    QTest::newRow("bundled with values") << QList<QByteArray> {"water", "-Q100", "--velocity", "2"}
                                         << 0 << QByteArray("132.936074863071");
    QTest::newRow("options end at --")
        << QList<QByteArray> {"water", "-Q1", "--", "-v1"} << 2 << QByteArray("多余的参数“-v1”");
    QTest::newRow("an option of lines for a batch")
        << QList<QByteArray> {"batch", "--json", "x.csv"} << 2
        << QByteArray("batch 没有选项 --json");
    QTest::newRow("gas service for water")
        << QList<QByteArray> {"water", "-Q1", "-v1", "--gas-service=site"} << 2
        << QByteArray("water 没有选项 --gas-service");
    QTest::newRow("unknown gas service")
        << QList<QByteArray> {"air", "-Q1", "-P1", "-T1", "-v1", "--gas-service", "steam"} << 2
        << QByteArray("不认识的气体用途“steam”");
    QTest::newRow("natural gas") << QList<QByteArray> {"air",  "-Q600", "-P0.7",
                                                       "-T20", "-v10",  "--gas-service=天然气"}
                                 << 0
                                 << QByteArray("常用流速 <25 m/s（参考表：压缩空气 天然气），合适");
    QTest::newRow("a short option written with =")
        << QList<QByteArray> {"water", "-Q=100", "-v2"} << 2
        << QByteArray("选项 -Q/--flow 的数值“=100”不是数字：写作 -Q 100 或 --flow=100。");
    QTest::newRow("every size: DN90 offered")
        << QList<QByteArray> {"water", "-Q20", "-v1", "--all-sizes", "--series=asme40"} << 0
        << QByteArray("推荐 DN80（ASME B36.10M Sch40，内径 77.92 mm）");
    QTest::newRow("steam temperature without its pressure")
        << QList<QByteArray> {"steam", "-Q1", "-u1", "--steam-temperature=200", "-v1"} << 2
        << QByteArray("须与蒸汽压力 -p/--steam-pressure 一起给出");
    QTest::newRow("saturated or colder steam")
        << QList<QByteArray> {"steam", "-Q1", "-p1", "--absolute", "--steam-temperature=150", "-v1"}
        << 1 << QByteArray("蒸汽温度Ts须高于该压力下的饱和温度 179.89 °C");
    QTest::newRow("steam past 800 C")
        << QList<QByteArray> {"steam", "-Q1", "-p1", "--absolute", "--steam-temperature=900", "-v1"}
        << 1 << QByteArray("蒸汽温度Ts超出了 IAPWS-IF97 过热蒸汽的适用范围");
    QTest::newRow("boiling water: the diameter, and why there is no drop")
        << QList<QByteArray> {"water", "-Q1", "-v1", "-T", "120"} << 0
        << QByteArray("无法估算压降：水温T须低于该压力下的沸点 99.97 °C；热水请给出水的压力P");
    QTest::newRow("hot water under pressure")
        << QList<QByteArray> {"water", "-Q1", "-v1", "-T", "120", "-P", "1"} << 0
        << QByteArray("每 100 m 压降约");
    QTest::newRow("rough pipe") << QList<QByteArray> {"water", "-Q100", "-v2", "--roughness=-1"}
                                << 0 << QByteArray("无法估算压降：管壁粗糙度须是不小于零");
    QTest::newRow("roughness beyond the bore")
        << QList<QByteArray> {"water", "-Q100", "-v2", "--roughness=500"} << 0
        << QByteArray("无法估算压降：管壁粗糙度须是不小于零、小于管内径的数值");
    QTest::newRow("Chinese series") << QList<QByteArray> {"water", "-Q100", "-v2", "--series=cn"}
                                    << 0 << QByteArray("推荐 DN150（Φ159×4.5，内径 150 mm）");
    QTest::newRow("unknown series") << QList<QByteArray> {"water", "-Q1", "-v1", "--series=din"}
                                    << 2 << QByteArray("不认识的管子系列“din”");
    QTest::newRow("unknown encoding") << QList<QByteArray> {"batch", "--encoding=latin1"} << 2
                                      << QByteArray("不认识的编码“latin1”");
    QTest::newRow("an abbreviation of several options")
        << QList<QByteArray> {"water", "-Q1", "-v1", "--s=cn"} << 2
        << QByteArray("选项“--s”有歧义，可以是 --specific-volume、--steam-pressure、"
                      "--steam-temperature、--series、--sheet、--sheet-info。");
    QTest::newRow("an abbreviation of one option")
        << QList<QByteArray> {"water", "-Q100", "-v2", "--ser=cn"} << 0
        << QByteArray("推荐 DN150（Φ159×4.5");
    QTest::newRow("two files") << QList<QByteArray> {"batch", "a", "b"} << 2
                               << QByteArray("batch 只接受一个文件");
    QTest::newRow("missing file") << QList<QByteArray> {"batch", "/nonexistent/lines.csv"} << 2
                                  << QByteArray("无法打开文件");
    QTest::newRow("a sheet alone on standard output")
        << QList<QByteArray> {"water", "-Q100", "-v2", "--sheet=-"} << 0
        << QByteArray("<!DOCTYPE html>");
    QTest::newRow("a sheet and JSON both on standard output")
        << QList<QByteArray> {"water", "-Q100", "-v2", "--json", "--sheet=-"} << 2
        << QByteArray("--json 和 --sheet=- 都写到标准输出");
    QTest::newRow("a list's sheet on its results")
        << QList<QByteArray> {"batch", "--sheet=-"} << 2 << QByteArray("计算书须写到文件");
    QTest::newRow("a sheet that cannot be written")
        << QList<QByteArray> {"water", "-Q100", "-v2", "--sheet=/nonexistent/sheet.html"} << 3
        << QByteArray("无法写出计算书“/nonexistent/sheet.html”：没有那个文件或目录。");
}

void tst_Cli::usage()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(int, status);
    QFETCH(QByteArray, output);

    const Outcome outcome = runSizer(args);
    QCOMPARE(outcome.status, status);
    const QByteArray &text = status == 0 ? outcome.out : outcome.err;
    QVERIFY2(text.contains(output), text.constData());
}

void tst_Cli::batch_data()
{
    QTest::addColumn<QList<QByteArray>>("options");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("message");
    const QList<QByteArray> none;
    const QList<QByteArray> gbk {"--encoding=gbk"};

    QTest::newRow("all succeed")
        << none
        << QByteArray(
               "medium,Q,P,T,u,v\nair,600,0.7,20,,10\nsteam,10,,,0.3747,30\nwater,100,,,,2\n")
        << QByteArray(header("medium,Q,P,T,u,v") + "\nair,600,0.7,20,,10," + air600
                      + "\nsteam,10,,,0.3747,30," + steam10 + "\nwater,100,,,,2," + water100 + "\n")
        << 0 << QByteArray();
    QTest::newRow("failing rows mixed in")
        << none
        << QByteArray(
               "medium,Q,v\nwater,100,0\nwater,36,1\nwater,-4,1\nwater,x,1\nwater,1e308,1e-10\n")
        << QByteArray(header("medium,Q,v") + "\nwater,100,0,,水的设计流速v不能为零。" + noAids
                      + "\nwater,36,1," + water36
                      + "\nwater,-4,1,,算得的流量与流速之比为负数，无法开平方，请检查输入的数值。"
                      + noAids + "\nwater,x,1,,水流量Q不是有效的数字。" + noAids
                      + "\nwater,1e308,1e-10,,计算结果超出了可以计算的范围，请检查输入的数值。"
                      + noAids + "\n")
        << 1 << QByteArray();
    QTest::newRow("a row's choices do not carry over to the next")
        << none
        << QByteArray("medium,Q,P,T,v,series,roughness,basis,gas,service\n"
                      "air,600,0.7,20,10,cn,stainless,normal,nitrogen,site\n"
                      "air,600,0.7,20,10,,,,,\n")
        << QByteArray(
               header("medium,Q,P,T,v,series,roughness,basis,gas,service")
               + "\nair,600,0.7,20,10,cn,stainless,normal,nitrogen,site,57.3978000880265,,65,68,7."
                 "11,below,50,13.15,above,5.103,222133,0.01700,nitrogen,\nair,600,0.7,20,10,,,,,,"
               + air600 + "\n")
        << 0 << QByteArray();
    QTest::newRow("air messages quoted for their comma")
        << none << QByteArray("medium,Q,P,T,v\nair,,,20,10\n")
        << QByteArray(header("medium,Q,P,T,v")
                      + "\nair,,,20,10,,\"请输入正确的压缩空气体积流量,单位：m3/"
                        "h。请输入正确的设计压力，单位：MPa。\""
                      + noAids + "\n")
        << 1 << QByteArray();
    QTest::newRow("byte-order mark and CRLF kept")
        << none << QByteArray("\xEF\xBB\xBFmedium,Q,v\r\nwater,100,2\r\n")
        << QByteArray(header("\xEF\xBB\xBFmedium,Q,v") + "\r\nwater,100,2," + water100 + "\r\n")
        << 0 << QByteArray();
    // As a tool writes that adds its own mark to a file that had one.
    QTest::newRow("two byte-order marks read as one")
        << none << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFmedium,Q,v\nwater,100,2\n")
        << QByteArray(header("\xEF\xBB\xBFmedium,Q,v") + "\nwater,100,2," + water100 + "\n") << 0
        << QByteArray();
    QTest::newRow("quoted fields and extra columns in any order")
        << none
        << QByteArray("line,v,\"note, long\",Q,medium\n7,2,\"say \"\"hi\"\"\nthere\",\"100\",水\n")
        << QByteArray(header("line,v,\"note, long\",Q,medium")
                      + "\n7,2,\"say \"\"hi\"\"\nthere\",\"100\",水," + water100 + "\n")
        << 0 << QByteArray();
    QTest::newRow("missing column")
        << none << QByteArray("medium,Q,v\nair,600,10\nwater,100,2\n")
        << QByteArray(header("medium,Q,v") + "\nair,600,10,,表头缺少 P 列（压缩空气设计压力P）。"
                      + noAids + "\nwater,100,2," + water100 + "\n")
        << 1 << QByteArray();
    QTest::newRow("unknown medium")
        << none << QByteArray("medium,Q,v\noil,1,1\n")
        << QByteArray(
               header("medium,Q,v")
               + "\noil,1,1,,不认识的介质“oil”，应为 air、steam、water 或 压缩空气、蒸汽、水。"
               + noAids + "\n")
        << 1 << QByteArray();
    QTest::newRow("blank aid cells take the command line's choice")
        << QList<QByteArray> {"--absolute", "--series=cn", "--roughness=steam-network"}
        << QByteArray("medium,Q,v,series,roughness,T,p,Ts\nwater,100,2, ,,  ,,\n"
                      "water,100,2,asme40, 0.5 ,,,\nsteam,10,30,,,,0.6, \n")
        << QByteArray(header("medium,Q,v,series,roughness,T,p,Ts")
                      + "\nwater,100,2, ,,  ,,,132.936074863071,,150,150,1.57,inside,125,2.27,"
                        "above,18.223,235409,0.02209,water,\nwater,100,2,asme40, 0.5 ,,,,"
                        "132.936074863071,,150,154.08,1.49,inside,125,2.16,above,19.707,229176,"
                        "0.02731,water,\nsteam,10,30,,,,0.6, ,192.81849420545,,200,207,26.05,"
                        "inside,150,49.61,above,10.250,1197857,0.01974,steam,\n")
        << 0 << QByteArray();
    // Rows are written in place into a block of about a megabyte: one row larger than the block,
    // between two that fill it, must make it grow, not run past it.
    const QByteArray longNote(3 << 20, 'x');
    const QByteArray sized = "," + water100 + "\n";
    QTest::newRow("a row longer than the output block")
        << none
        << "medium,Q,v,note\n" + QByteArray("water,100,2,a\n").repeated(40000) + "water,100,2,"
            + longNote + "\nwater,100,2,b\n"
        << header("medium,Q,v,note") + "\n" + ("water,100,2,a" + sized).repeated(40000)
            + "water,100,2," + longNote + sized + "water,100,2,b" + sized
        << 0 << QByteArray();
    QTest::newRow("short row padded, long row refused")
        << none << QByteArray("medium,v,Q,note\nwater,2,100\nwater,2,100,a,b\n")
        << QByteArray(header("medium,v,Q,note") + "\nwater,2,100,," + water100
                      + "\nwater,2,100,a,,这一行有 5 列，多于表头的 4 列。" + noAids + ",b\n")
        << 1 << QByteArray();
    QTest::newRow("the user's columns named like ours are kept")
        << none << QByteArray("D,medium,Q,v,error,error_2\nold,water,100,2,stale,x\n")
        << QByteArray("D,medium,Q,v,error,error_2,d_2,error_3,DN,ID,v_real,v_check,DN_alt,v_alt,v_"
                      "check_alt,dp_kPa_100m,Re,f,fluid,aid_note\nold,water,100,2,stale,x,"
                      + water100 + "\n")
        << 0 << QByteArray("表头已有 error 列，原样保留；结果写在 error_3 列");
    QTest::newRow("quotes that open no field are characters")
        << none << QByteArray("medium,Q,v,note\nwater,100,2,2\" pipe\nwater,36,1,3\" \"x\"\n")
        << QByteArray(header("medium,Q,v,note") + "\nwater,100,2,2\" pipe," + water100
                      + "\nwater,36,1,3\" \"x\"," + water36 + "\n")
        << 0 << QByteArray();
    QTest::newRow("CR line ends") << none << QByteArray("medium,Q,v\rwater,100,2\rwater,36,1\r")
                                  << QByteArray(header("medium,Q,v") + "\rwater,100,2," + water100
                                                + "\rwater,36,1," + water36 + "\r")
                                  << 0 << QByteArray();
    QTest::newRow("mixed line ends, CR kept inside quotes")
        << none << QByteArray("medium,Q,v,note\r\nwater,100,2,\"a\rb\"\nwater,36,1\rwater,0,1\r\n")
        << QByteArray(header("medium,Q,v,note") + "\r\nwater,100,2,\"a\rb\"," + water100
                      + "\r\nwater,36,1,," + water36
                      + "\r\nwater,0,1,,0,,,,,not-positive,,,,,,,,\r\n")
        << 0 << QByteArray();
    QTest::newRow("a gas service per row")
        << none
        << QByteArray("medium,Q,P,T,v,Service\nair,600,0.7,20,10,site\nair,600,0.7,20,10,\n")
        << QByteArray(header("medium,Q,P,T,v,Service")
                      + "\nair,600,0.7,20,10,site,57.0212772537991,,65,68,7.01,below,50,12.97,"
                        "above,5.901,219693,0.01953,air,\nair,600,0.7,20,10,,"
                      + air600 + "\n")
        << 0 << QByteArray();
    QTest::newRow("header names in any case")
        << none << QByteArray("Medium,q, V \nwater,100,2\n")
        << QByteArray(header("Medium,q, V ") + "\nwater,100,2," + water100 + "\n") << 0
        << QByteArray();
    QTest::newRow("p is the steam pressure, not P")
        << none << QByteArray("medium,Q,p,T,v\nair,600,0.7,20,10\n")
        << QByteArray(header("medium,Q,p,T,v")
                      + "\nair,600,0.7,20,10,,表头缺少 P 列（压缩空气设计压力P）。" + noAids + "\n")
        << 1 << QByteArray();
    QTest::newRow("an input named twice")
        << none << QByteArray("medium,Q,q,v\nwater,1,2,1\n") << QByteArray() << 2
        << QByteArray("第 1 行的表头有两列 Q（第 2 列和第 3 列）");
    QTest::newRow("steam with both u and p")
        << QList<QByteArray> {"--gauge"} << QByteArray("medium,Q,u,p,v\nsteam,10,0.3747,0.4,30\n")
        << QByteArray(header("medium,Q,u,p,v")
                      + "\nsteam,10,0.3747,0.4,30,,这一行同时给出了比容 u 和压力 p，请只给出其一。"
                      + noAids + "\n")
        << 1 << QByteArray();
    QTest::newRow("blank lines skipped, no final line end")
        << none << QByteArray("medium,Q,v\n\nwater,36,1")
        << QByteArray(header("medium,Q,v") + "\nwater,36,1," + water36 + "\n") << 0 << QByteArray();
    QTest::newRow("header only") << none << QByteArray("medium,Q,P,T,u,v\n")
                                 << QByteArray(header("medium,Q,P,T,u,v") + "\n") << 0
                                 << QByteArray();
    QTest::newRow("empty file") << none << QByteArray() << QByteArray() << 2
                                << QByteArray("输入是空的，缺少表头行");
    QTest::newRow("no medium column") << none << QByteArray("Q,v\n1,1\n") << QByteArray() << 2
                                      << QByteArray("表头缺少 medium 列");
    // "压缩空气" saved in GBK: not UTF-8, and said so with its line, not passed on as garbage.
    // "压缩空气" saved in GBK, in a file read as UTF-8: that row is kept as it came, with the
    // reason, and the rows after it are sized.
    QTest::newRow("GBK row in UTF-8")
        << none
        << QByteArray("medium,Q,P,T,v\nwater,100,,,2\n\xD1\xB9\xCB\xF5\xBF\xD5\xC6\xF8,600,0.7,20,"
                      "10\nwater,36,,,1\n")
        << QByteArray(header("medium,Q,P,T,v") + "\nwater,100,,,2," + water100
                      + "\n\xD1\xB9\xCB\xF5\xBF\xD5\xC6\xF8,600,0.7,20,10,,这一行不是 UTF-8 "
                        "编码的文本，原样保留，未计算。Excel 另存的“CSV（逗号分隔）”是 GBK "
                        "编码，请加 --encoding=gbk 重试。"
                      + noAids + "\nwater,36,,,1," + water36 + "\n")
        << 1
        << QByteArray("1 行（第 3 行起）不是 UTF-8 编码的文本，已原样保留、未计算。Excel 另存的“CSV"
                      "（逗号分隔）”是 GBK 编码，请加 --encoding=gbk 重试。");
    QTest::newRow("a header not in the encoding stops")
        << gbk << QByteArray("medium,Q,v,\xCB\x20\nwater,100,2\n") << QByteArray() << 2
        << QByteArray("表头（第 1 行）不是 GBK 编码的文本");
    QTest::newRow("UTF-16 is named, not taken for GBK")
        << none << QByteArray("\xFF\xFEm\0e\0d\0", 8) << QByteArray() << 2
        << QByteArray("输入是 UTF-16 编码的文本");
    QTest::newRow("UTF-16 without its mark")
        << none << QByteArray("m\0e\0d\0i\0", 8) << QByteArray() << 2
        << QByteArray("输入是 UTF-16 编码的文本");
    // Windows' code page 936 reads each of these pairs; so must every tovrik-size.
    QTest::newRow("GBK as Windows reads it")
        << gbk
        << QByteArray("medium,Q,v,note\n\xCB\xAE,100,2,") + QByteArray(gbk::pairsOnce.data()) + '\n'
        << QByteArray(header("medium,Q,v,note") + "\n水,100,2,"
                      + QByteArray(gbk::pairsOnceUtf8.data()) + "," + water100 + "\n")
        << 0 << QByteArray();
    QTest::newRow("medium names as engineers write them")
        << none
        << QByteArray("medium,Q,v\n\u3000Ｗａｔｅｒ\u3000,100,2\n压缩空气（各种气体）,1,"
                      "1\n饱和蒸汽,1,1\n热水,36,1\n")
        << QByteArray(header("medium,Q,v") + "\n\u3000Ｗａｔｅｒ\u3000,100,2," + water100
                      + "\n压缩空气（各种气体）,1,1,,表头缺少 P 列（压缩空气设计压力P）。" + noAids
                      + "\n饱和蒸汽,1,1,,表头缺少 u 列（蒸汽的比容u）或 p 列（蒸汽压力p）。"
                      + noAids + "\n热水,36,1," + water36 + "\n")
        << 1 << QByteArray();
    // 水 in GBK is CB AE, which is valid UTF-8 too (U+02EE).
    QTest::newRow("GBK that reads as UTF-8")
        << none << QByteArray("medium,Q,v\n\xCB\xAE,100,2\n")
        << QByteArray(
               header("medium,Q,v")
               + "\n\xCB\xAE,100,2,,不认识的介质“\xCB\xAE”，应为 air、steam、water 或 "
                 "压缩空气、蒸汽、水。文件看来是 GBK 编码（“水”），请加 --encoding=gbk 重试。"
               + noAids + "\n")
        << 1 << QByteArray();
    QTest::newRow("GBK read as GBK, with a byte-order mark added")
        << QList<QByteArray> {"--encoding=GBK", "--bom"}
        << QByteArray(
               "medium,Q,v,\xB1\xB8\xD7\xA2\n\xCB\xAE,100,2,"
               "\xD2\xBB\xBA\xC5\xCF\xDF\n\xD1\xB9\xCB\xF5\xBF\xD5\xC6\xF8,600,2,\"\xD2\xBB,\"\n")
        << QByteArray(header("\xEF\xBB\xBFmedium,Q,v,备注") + "\n水,100,2,一号线," + water100
                      + "\n压缩空气,600,2,\"一,\",,表头缺少 P 列（压缩空气设计压力P）。" + noAids
                      + "\n")
        << 1 << QByteArray();
    QTest::newRow("broken GBK: the row kept, the rest sized")
        << gbk << QByteArray("medium,Q,v\nwater,100,2\n\xCB\x20,1,1\nwater,36,1\n")
        << QByteArray(header("medium,Q,v") + "\nwater,100,2," + water100
                      + "\n\xCB\x20,1,1,,这一行不是 GBK 编码的文本，原样保留，未计算。文件若是 "
                        "UTF-8 编码，请去掉 --encoding=gbk 重试。"
                      + noAids + "\nwater,36,1," + water36 + "\n")
        << 1 << QByteArray("1 行（第 3 行起）不是 GBK 编码的文本");
    const QByteArray chineseHeader = QByteArray::fromStdString(tovrik::resultHeader(false, true));
    QTest::newRow("Chinese headers with units: Chinese columns and words")
        << none << QByteArray("管线号,介质,流量(t/h),流速（m/s）\nW-1,水,100,2\n")
        << QByteArray("管线号,介质,流量(t/h),流速（m/s）," + chineseHeader
                      + "\nW-1,水,100,2,132.936074863071,,150,Φ159×4.5,150,1.57,合适,125,2.27,偏高,"
                        "14.390,235409,0.01744,水,\n")
        << 0 << QByteArray();
    QTest::newRow("a unit that is not the row's")
        << none << QByteArray("介质,流量(t/h),压力,温度,流速\n压缩空气,600,0.7,20,10\n")
        << QByteArray("介质,流量(t/h),压力,温度,流速," + chineseHeader
                      + "\n压缩空气,600,0.7,20,10,,流量列的单位为 t/h，压缩空气的流量须为 m3/h。"
                      + noAids + ",\n") // one more: 规格
        << 1 << QByteArray();
    QTest::newRow("a unit that is not the column's")
        << none << QByteArray("介质,流量(kg),流速\n水,100,2\n") << QByteArray() << 2
        << QByteArray("第 2 列“流量(kg)”的单位 kg 不是流量的单位（应为 m3/h、t/h、kg/h）");
    QTest::newRow("empty and totals rows are no lines")
        << none << QByteArray("line,medium,Q,v\nW-1,water,100,2\n,,,\n合计,,100,\n")
        << QByteArray(header("line,medium,Q,v") + "\nW-1,water,100,2," + water100 + "\n,,,"
                      + QByteArray(int(tovrik::resultColumnNames().size()), ',') + "\n合计,,100,"
                      + QByteArray(int(tovrik::resultColumnNames().size()), ',') + "\n")
        << 0 << QByteArray("跳过 2 行空行或合计行");
    // Code page 936 reads 0x80 alone as the euro sign, and refuses 0xFF alone, on Windows.
    QTest::newRow("a lone 0xFF, as Windows refuses it")
        << gbk << QByteArray("medium,Q,v\nwater,100,2\n\xFF,1,1\n")
        << QByteArray(header("medium,Q,v") + "\nwater,100,2," + water100
                      + "\n\xFF,1,1,,这一行不是 GBK 编码的文本，原样保留，未计算。文件若是 UTF-8 "
                        "编码，请去掉 --encoding=gbk 重试。"
                      + noAids + "\n")
        << 1 << QByteArray("1 行（第 3 行起）不是 GBK 编码的文本");
    QTest::newRow("quote left open")
        << none << QByteArray("medium,Q,v\nwater,\"100,2\n")
        << QByteArray(header("medium,Q,v") + "\n") << 2 << QByteArray("第 2 行引号没有闭合");
}

void tst_Cli::batch()
{
    QFETCH(QList<QByteArray>, options);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QFETCH(int, status);
    QFETCH(QByteArray, message);

    const Outcome outcome = runSizer(QList<QByteArray> {"batch"} + options, input);
    QCOMPARE(outcome.out, expected);
    QCOMPARE(outcome.status, status);
    if (message.isEmpty())
        QCOMPARE(outcome.err, QByteArray());
    else
        QVERIFY2(outcome.err.contains(message), outcome.err.constData());
}

void tst_Cli::steamPressure_data()
{
    QTest::addColumn<QList<QByteArray>>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output");

    // 0.4 MPa gauge is 0.501325 MPa absolute: saturated steam of about 0.3739 m3/kg, so the
    // result is close to, not equal to, the worked example's 210.106296907066 with u 0.3747.
    QTest::newRow("gauge") << QList<QByteArray> {"steam",   "-Q", "10", "-p",    "0.4",
                                                 "--gauge", "-v", "30", "--json"}
                           << 0 << QByteArray(R"("u_from_p":0.37387)");
    QTest::newRow("absolute") << QList<QByteArray> {"steam",      "-Q",
                                                    "10",         "--steam-pressure=0.501325",
                                                    "--absolute", "-v",
                                                    "30",         "--json"}
                              << 0 << QByteArray(R"("u_from_p":0.37387)");
    QTest::newRow("too high") << QList<QByteArray> {"steam", "-Q",         "10", "-p",
                                                    "17",    "--absolute", "-v", "30"}
                              << 1 << QByteArray("蒸汽压力p超出了 IAPWS-IF97 的适用范围（饱和蒸汽");
    QTest::newRow("vacuum below the triple point")
        << QList<QByteArray> {"steam", "-Q", "10", "-p", "-0.101", "--gauge", "-v", "30"} << 1
        << QByteArray("蒸汽压力p超出了");
    QTest::newRow("not a number") << QList<QByteArray> {"steam", "-Q",      "10", "-p",
                                                        "x",     "--gauge", "-v", "30"}
                                  << 1 << QByteArray("蒸汽压力p不是有效的数字。");
}

void tst_Cli::steamPressure()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(int, status);
    QFETCH(QByteArray, output);

    const Outcome outcome = runSizer(args);
    QCOMPARE(outcome.status, status);
    const QByteArray &text = status == 0 ? outcome.out : outcome.err;
    QVERIFY2(text.contains(output), text.constData());
    if (status == 0) {
        const Outcome batch = runSizer({"batch", "--gauge"},
                                       "medium,Q,u,p,v\nsteam,10,,0.4,30\nsteam,10,0.3747,,30\n");
        QCOMPARE(batch.status, 0);
        const QList<QByteArray> lines = batch.out.split('\n');
        const int d = outcome.out.indexOf(R"("d":")") + 5;
        QVERIFY(lines.value(1).startsWith(
            "steam,10,,0.4,30," + outcome.out.mid(d, outcome.out.indexOf('"', d) - d) + ','));
        QVERIFY(lines.value(2).startsWith("steam,10,0.3747,,30,210.106296907066,"));
    }
}

void tst_Cli::batchFromFileOrDash()
{
    const QByteArray csv("medium,Q,v\nwater,100,2\n");
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(csv);
    file.close();

    const Outcome fromFile = runSizer({"batch", file.fileName().toLocal8Bit()});
    const Outcome fromDash = runSizer({"batch", "-"}, csv);
    QCOMPARE(fromFile.status, 0);
    QCOMPARE(fromFile.out, QByteArray(header("medium,Q,v") + "\nwater,100,2," + water100 + "\n"));
    QCOMPARE(fromDash.out, fromFile.out);
}

// Records longer than the reader's buffer, and many of them, cross its reads intact.
void tst_Cli::longRecordsAcrossReads()
{
    QByteArray input("medium,Q,v,note\n");
    QByteArray expected(header("medium,Q,v,note") + "\n");
    const QByteArray longNote = '"' + QByteArray(3 << 20, 'x') + "\n\"\"" + '"';
    input += "water,100,2," + longNote + '\n';
    expected += "water,100,2," + longNote + "," + water100 + "\n";
    for (int i = 0; i < 200000; ++i) {
        input += "water,36,1,\n";
        expected += "water,36,1,," + water36 + "\n";
    }
    const Outcome outcome = runSizer({"batch"}, input);
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out.size(), expected.size());
    QVERIFY(outcome.out == expected);
}

// The pipe columns are written without printf for speed; printf is the oracle.
void tst_Cli::pipeColumnsAgreeWithPrintf()
{
    QRandomGenerator random(42);
    QByteArray input("medium,Q,v\n");
    QList<std::pair<double, double>> rows;
    for (int i = 0; i < 5000; ++i) {
        const double flow = std::round(random.generateDouble() * 2e6) / 100.0;
        const double velocity = 0.05 + std::round(random.generateDouble() * 300.0) / 100.0;
        rows.append({flow, velocity});
        input += "water," + QByteArray::number(flow, 'g', 17) + ','
            + QByteArray::number(velocity, 'g', 17) + '\n';
    }
    // ASME's bores, which have two decimals each, as printf writes them.
    const Outcome outcome = runSizer({"batch", "--series=asme40"}, input);
    QCOMPARE(outcome.status, 0);
    const QList<QByteArray> lines = outcome.out.split('\n');
    for (int i = 0; i < rows.size(); ++i) {
        const QList<QByteArray> fields = lines.value(i + 1).split(',');
        const double diameter = fields.value(3).toDouble();
        tovrik::SizingRequest request;
        request.medium = tovrik::Medium::Water;
        request[tovrik::Input::Flow] = std::string_view(fields.value(1).constData());
        request[tovrik::Input::Velocity] = std::string_view(fields.value(2).constData());
        request.advice.series = tovrik::PipeSeries::Asme40;
        const tovrik::PipeAdvice advice = tovrik::sizePipe(request).advice;
        QVERIFY(diameter > 0);
        QCOMPARE(QByteArrayView(fields.value(8)), QByteArrayView(statusName(advice)));
        const tovrik::SizeCheck *check = advice.recommended();
        if (!check)
            continue;
        const auto printed = [](double value) {
            char text[64];
            std::snprintf(text, sizeof text, "%.2f", value);
            return QByteArray(text);
        };
        QCOMPARE(fields.value(5), QByteArray::number(check->size.dn));
        QCOMPARE(fields.value(6), printed(check->size.bore));
        QCOMPARE(fields.value(7), printed(check->velocity));
        if (const tovrik::SizeCheck *other = advice.alternative())
            QCOMPARE(fields.value(10), printed(other->velocity));
    }
}

// Random line lists with quoted and unquoted passthrough fields and any line ends: every row
// comes back, its bytes exactly as written, followed by its results.
void tst_Cli::roundTripKeepsEveryByte()
{
    QRandomGenerator random(14);
    const QByteArray ends[] = {"\n", "\r\n", "\r"};
    const QList<QByteArray> plain {"a", "b", "2\"", " ", "\"", "x\"y\"", "水", "", "1.5"};
    const QList<QByteArray> special {",", "\"\"", "\n", "\r", "\r\n", "a", "水", " "};
    const std::pair<QByteArray, QByteArray> rows[] = {
        {"water,100,2", water100},
        {"water,36,1", water36},
        {"water,1,0", ",水的设计流速v不能为零。" + noAids},
    };
    for (int file = 0; file < 200; ++file) {
        const QByteArray lineEnd = ends[random.bounded(3)];
        QByteArray input = "medium,Q,v,note,other" + lineEnd;
        QByteArray expected = header("medium,Q,v,note,other") + lineEnd;
        const int count = random.bounded(1, 20);
        for (int row = 0; row < count; ++row) {
            const auto &[inputs, results] = rows[random.bounded(3)];
            QByteArray record = inputs;
            for (int field = 0; field < 2; ++field) {
                QByteArray text;
                if (random.bounded(2)) {
                    text = "\"";
                    for (int i = random.bounded(5); i > 0; --i)
                        text += special[random.bounded(special.size())];
                    text += "\"";
                } else {
                    for (int i = random.bounded(5); i > 0; --i)
                        text += plain[random.bounded(plain.size())];
                    if (text.startsWith('"'))
                        text.prepend('x');
                }
                record += ',' + text;
            }
            const bool last = row == count - 1;
            input += record + (last && random.bounded(2) ? QByteArray() : ends[random.bounded(3)]);
            expected += record + ',' + results + lineEnd;
        }
        const Outcome outcome = runSizer({"batch"}, input);
        QCOMPARE(outcome.out, expected);
        QVERIFY(outcome.status <= 1);
    }
}

// Rows are read eight bytes at a time: a line end of each kind, and the commas, at every offset
// of a word give a row of their own on every line, never two run together.
void tst_Cli::lineEndsAtEveryOffset()
{
    const QByteArray results = water100;
    const QByteArray ends[] = {"\n", "\r\n", "\r"};
    for (int first = 0; first < 3; ++first) {
        QByteArray input = "medium,Q,v,note\n";
        QByteArray expected = header("medium,Q,v,note") + "\n";
        for (int length = 0; length < 24; ++length) {
            // Each row one byte longer: the next starts, and has its commas, one byte further on.
            const QByteArray row = "water,100,2," + QByteArray(length, 'x');
            input += row + ends[(first + length) % 3];
            expected += row + ',' + results + "\n";
        }
        const Outcome outcome = runSizer({"batch"}, input);
        QCOMPARE(outcome.out, expected);
    }
}

void tst_Cli::unreadableInput_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("a directory") << QByteArray("/")
                                 << QByteArray("读取输入失败（第 1 行）：是一个目录");
    // Standard input that cannot be read, as when it is closed.
    QTest::newRow("unreadable standard input")
        << QByteArray() << QByteArray("读取输入失败（第 1 行）：错误的文件描述符");
}

void tst_Cli::unreadableInput()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, message);

    std::FILE *in = std::fopen("/dev/null", "w");
    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    QList<QByteArray> args {"batch"};
    if (!path.isEmpty())
        args << path;
    const int status = runIn(args, in, out, err);
    std::fclose(in);
    QCOMPARE(readAll(out), QByteArray());
    const QByteArray said = readAll(err);
    QCOMPARE(status, 2);
    QVERIFY2(said.contains(message), said.constData());
}

void tst_Cli::jsonIsValidUtf8()
{
    const Outcome outcome = runSizer({"water", "-Q", "\xFF\xFE", "-v", "0", "--json"});
    QCOMPARE(outcome.status, 1);
    QVERIFY2(outcome.out.startsWith("{\"medium\":\"water\",\"Q\":\"\uFFFD\uFFFD\",\"P\":null,"),
             outcome.out.constData());
    QVERIFY(outcome.out.contains(",\"error\":\"水流量Q不是有效的数字。\","));
    QVERIFY(QString::fromUtf8(outcome.out).toUtf8() == outcome.out);
}

void tst_Cli::failedWrite_data()
{
    QTest::addColumn<QList<QByteArray>>("args");
    QTest::addColumn<int>("rows");

    QTest::newRow("a line") << QList<QByteArray> {"water", "-Q", "100", "-v", "2"} << 0;
    QTest::newRow("a line in JSON") << QList<QByteArray> {"water", "-Q1", "-v2", "--json"} << 0;
    QTest::newRow("help") << QList<QByteArray> {"--help"} << 0;
    QTest::newRow("version") << QList<QByteArray> {"--version"} << 0;
    QTest::newRow("a short batch") << QList<QByteArray> {"batch"} << 3;
    QTest::newRow("a long batch") << QList<QByteArray> {"batch"} << 200000;
}

// A full disk loses the results: that must never end in silence and status 0.
void tst_Cli::failedWrite()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(int, rows);

    QByteArray input("medium,Q,v\n");
    for (int i = 0; i < rows; ++i)
        input += "water,100,2\n";
    std::FILE *in = std::tmpfile();
    std::fwrite(input.constData(), 1, std::size_t(input.size()), in);
    std::rewind(in);
    std::FILE *full = std::fopen("/dev/full", "w");
    QVERIFY(full);
    std::FILE *err = std::tmpfile();
    const int status = runIn(args, in, full, err);
    const long read = std::ftell(in);
    std::fclose(in);
    std::fclose(full);
    QCOMPARE(readAll(err), QByteArray("tovrik-size：写入标准输出失败：设备上没有空间\n"));
    QCOMPARE(status, 3);
    if (rows > 100000)
        QVERIFY2(read < input.size() / 2, "a batch that cannot write stops at once");
}

namespace {

const QByteArray smallList = "medium,Q,v\nwater,100,2\n";

// What is at path, in a few words: its kind, mode, links and whose bytes it holds.
QByteArray describe(const QByteArray &path, bool follow = false)
{
    struct stat info;
    if ((follow ? ::stat(path.constData(), &info) : ::lstat(path.constData(), &info)) != 0)
        return "nothing";
    if (S_ISLNK(info.st_mode))
        return "a link to " + describe(path, true);
    if (S_ISFIFO(info.st_mode))
        return "a FIFO";
    if (S_ISCHR(info.st_mode))
        return "a character device";
    if (S_ISDIR(info.st_mode))
        return "a folder";
    QFile file(QString::fromLocal8Bit(path));
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const QByteArray held = bytes == smallList ? QByteArray("the list")
        : bytes.startsWith("<!DOCTYPE html>")  ? QByteArray("a sheet")
                                               : '"' + bytes.left(20) + '"';
    return QByteArray::number(info.st_mode & 07777, 8) + ' ' + held
        + (info.st_nlink > 1 ? ", " + QByteArray::number(qulonglong(info.st_nlink)) + " links"
                             : QByteArray());
}

QByteArray sameFile(const QByteArray &output, const QByteArray &input)
{
    return "tovrik-size：" + output + "和" + input
        + "是同一个文件，写出去就毁掉了输入，所以什么都没有写。\n";
}

} // namespace

// The sheet goes to what the user named, and never destroys what is there: not the list it
// was made from, not a device, a FIFO, a link or a read-only file, not a file's mode or links.
void tst_Cli::sheetFile_data()
{
    QTest::addColumn<QByteArray>("setup"); // what is at @/sheet.html first
    QTest::addColumn<QList<QByteArray>>("args"); // @ is the test's folder
    QTest::addColumn<QByteArray>("streams"); // the list as standard input or output
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QByteArray>("looked"); // the path looked at afterwards
    QTest::addColumn<QByteArray>("after");
    const QByteArray none;
    const QByteArray sheet = "@/sheet.html";
    const QByteArray list = "@/list.csv";
    const QList<QByteArray> toSheet {"batch", "--sheet=@/sheet.html", "@/list.csv"};
    const QByteArray x250(250, 'x');

    QTest::newRow("the list itself")
        << none << QList<QByteArray> {"batch", "--sheet=@/list.csv", "@/list.csv"} << none << 2
        << sameFile("计算书“@/list.csv”", "输入“@/list.csv”") << list << QByteArray("644 the list");
    QTest::newRow("the list by a hard link")
        << QByteArray("a hard link to the list") << toSheet << none << 2
        << sameFile("计算书“@/sheet.html”", "输入“@/list.csv”") << list
        << QByteArray("644 the list, 2 links");
    QTest::newRow("the list by a symbolic link")
        << QByteArray("a symbolic link to the list") << toSheet << none << 2
        << sameFile("计算书“@/sheet.html”", "输入“@/list.csv”") << sheet
        << QByteArray("a link to 644 the list");
    QTest::newRow("the list spelled another way")
        << none << QList<QByteArray> {"batch", "--sheet=@/./list.csv", "@//list.csv"} << none << 2
        << sameFile("计算书“@/./list.csv”", "输入“@//list.csv”") << list
        << QByteArray("644 the list");
    QTest::newRow("the list as standard input")
        << none << QList<QByteArray> {"batch", "--sheet=@/list.csv"} << QByteArray("in") << 2
        << sameFile("计算书“@/list.csv”", "标准输入") << list << QByteArray("644 the list");
    QTest::newRow("results appended to the list")
        << none << QList<QByteArray> {"batch", "@/list.csv"} << QByteArray("out") << 2
        << sameFile("标准输出", "输入“@/list.csv”") << list << QByteArray("644 the list");
    QTest::newRow("a FIFO") << QByteArray("a FIFO") << toSheet << none << 0 << none << sheet
                            << QByteArray("a FIFO; read a sheet");
    QTest::newRow("a device node of our own") << QByteArray("a null device") << toSheet << none << 0
                                              << none << sheet << QByteArray("a character device");
    QTest::newRow("/dev/null") << none
                               << QList<QByteArray> {"batch", "--sheet=/dev/null", "@/list.csv"}
                               << none << 0 << none << QByteArray("/dev/null")
                               << QByteArray("a character device");
    QTest::newRow("a full device")
        << none << QList<QByteArray> {"batch", "--sheet=/dev/full", "@/list.csv"} << none << 3
        << QByteArray("tovrik-size：无法写出计算书“/dev/full”：设备上没有空间。\n")
        << QByteArray("/dev/full") << QByteArray("a character device");
    QTest::newRow("a link to a file elsewhere")
        << QByteArray("a link to an old file elsewhere") << toSheet << none << 0 << none << sheet
        << QByteArray("a link to 644 a sheet");
    QTest::newRow("a link to no file yet")
        << QByteArray("a link to nothing") << toSheet << none << 0 << none << sheet
        << QByteArray("a link to 644 a sheet");
    QTest::newRow("read-only") << QByteArray("444") << toSheet << none << 3
                               << QByteArray(
                                      "tovrik-size：无法写出计算书“@/sheet.html”：文件是只读的。\n")
                               << sheet << QByteArray("444 \"old\"");
    QTest::newRow("private") << QByteArray("600") << toSheet << none << 0 << none << sheet
                             << QByteArray("600 a sheet");
    QTest::newRow("two links") << QByteArray("two links") << toSheet << none << 0 << none << sheet
                               << QByteArray("644 a sheet, 2 links");
    QTest::newRow("a folder in its place")
        << QByteArray("a folder") << toSheet << none << 3
        << QByteArray("tovrik-size：无法写出计算书“@/sheet.html”：是一个目录。\n") << sheet
        << QByteArray("a folder");
    // A full disk, as far as a test may make one without mounting a file system of its own.
    QTest::newRow("past the size files may have")
        << QByteArray("a size limit") << toSheet << none << 3
        << QByteArray("tovrik-size：无法写出计算书“@/sheet.html”：文件过大。\n") << sheet
        << QByteArray("644 \"old\"");
    QTest::newRow("a 250-byte name")
        << none << QList<QByteArray> {"batch", "--sheet=@/" + x250.left(245) + ".html", list}
        << none << 0 << none << "@/" + x250.left(245) + ".html" << QByteArray("644 a sheet");
    QTest::newRow("a name too long")
        << none << QList<QByteArray> {"batch", "--sheet=@/" + x250 + "x.html", list} << none << 3
        << "tovrik-size：无法写出计算书“@/" + x250 + "x.html”：文件名过长。\n"
        << "@/" + x250 + "x.html" << QByteArray("nothing");
    QTest::newRow("a link to itself")
        << QByteArray("a link to itself") << toSheet << none << 3
        << QByteArray("tovrik-size：无法写出计算书“@/sheet.html”：符号链接的层数过多。\n") << sheet
        << QByteArray("a link to nothing");
    QTest::newRow("a PDF over the list")
        << none << QList<QByteArray> {"batch", "--pdf=@/list.csv", "@/list.csv"} << none << 2
        << sameFile("PDF“@/list.csv”", "输入“@/list.csv”") << list << QByteArray("644 the list");
    // No browser: said in one line, and the sheet's HTML kept beside where the PDF was to go.
    QTest::newRow("a PDF with no browser")
        << QByteArray("no browser") << QList<QByteArray> {"batch", "--pdf=@/sheet.pdf", list}
        << none << 3
        << QByteArray("tovrik-size：无法生成 PDF“@/sheet.pdf”：无法启动浏览器“/nonexistent/"
                      "chromium”（没有那个文件或目录）。\n")
        << sheet << QByteArray("644 a sheet");
    QTest::newRow("the longest name")
        << none << QList<QByteArray> {"batch", "--sheet=@/" + x250 + ".html", list} << none << 0
        << none << "@/" + x250 + ".html" << QByteArray("644 a sheet");
}

void tst_Cli::sheetFile()
{
    QFETCH(QByteArray, setup);
    QFETCH(QList<QByteArray>, args);
    QFETCH(QByteArray, streams);
    QFETCH(int, status);
    QFETCH(QByteArray, err);
    QFETCH(QByteArray, looked);
    QFETCH(QByteArray, after);

    const bool root = ::geteuid() == 0;
    // A program that replaced its own device node would replace the system's too.
    static bool ownDeviceKept = !root;
    if (looked.startsWith("/dev/") && !ownDeviceKept)
        QSKIP("the sheet did not go through the test's own device node");
    if (setup == "a null device" && !root)
        QSKIP("only root makes device nodes");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    const auto at = [&](QByteArray text) { return text.replace('@', folder); };
    const QByteArray sheet = at("@/sheet.html");
    const QByteArray list = at("@/list.csv");
    ::umask(022);
    {
        QFile file(QString::fromLocal8Bit(list));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(smallList);
    }
    const auto old = [&](const QByteArray &path) {
        QFile file(QString::fromLocal8Bit(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
    };
    int fifo = -1;
    QVERIFY(::mkdir(at("@/elsewhere").constData(), 0755) == 0);
    if (setup == "a hard link to the list") {
        QCOMPARE(::link(list.constData(), sheet.constData()), 0);
    } else if (setup == "a symbolic link to the list") {
        QCOMPARE(::symlink("list.csv", sheet.constData()), 0);
    } else if (setup == "a FIFO") {
        QCOMPARE(::mkfifo(sheet.constData(), 0644), 0);
        // Open before the sizer, with room for the whole sheet: its writes never wait.
        fifo = ::open(sheet.constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(fifo >= 0);
        QVERIFY(::fcntl(fifo, F_SETPIPE_SZ, 1 << 20) >= 0);
    } else if (setup == "a null device") {
        QCOMPARE(::mknod(sheet.constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
    } else if (setup == "a link to an old file elsewhere") {
        old(at("@/elsewhere/sheet.html"));
        QCOMPARE(::symlink("elsewhere/sheet.html", sheet.constData()), 0);
    } else if (setup == "a link to itself") {
        QCOMPARE(::symlink("sheet.html", sheet.constData()), 0);
    } else if (setup == "a link to nothing") {
        QCOMPARE(::symlink("elsewhere/new.html", sheet.constData()), 0);
    } else if (setup == "444" || setup == "600") {
        old(sheet);
        QCOMPARE(::chmod(sheet.constData(), setup.toUInt(nullptr, 8)), 0);
    } else if (setup == "a size limit") {
        old(sheet);
    } else if (setup == "two links") {
        old(sheet);
        QCOMPARE(::link(sheet.constData(), at("@/other.html").constData()), 0);
    } else if (setup == "a folder") {
        QCOMPARE(::mkdir(sheet.constData(), 0755), 0);
    } else if (setup == "no browser") {
        qputenv("TOVRIK_BROWSER", "/nonexistent/chromium");
    }

    std::FILE *in = streams == "in" ? std::fopen(list.constData(), "rb") : std::tmpfile();
    std::FILE *out = streams == "out" ? std::fopen(list.constData(), "ab") : std::tmpfile();
    std::FILE *errors = std::tmpfile();
    QList<QByteArray> resolved;
    for (const QByteArray &arg : args)
        resolved << at(arg);
    struct rlimit unlimited;
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    if (setup == "a size limit") {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails with EFBIG instead
        const struct rlimit limit
        {
            4096, unlimited.rlim_max
        };
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    const int got = runIn(resolved, in, out, errors);
    qunsetenv("TOVRIK_BROWSER");
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &unlimited), 0);
    std::fclose(in);
    std::fclose(out);
    QCOMPARE(QString::fromUtf8(readAll(errors)), QString::fromUtf8(at(err)));
    QCOMPARE(got, status);
    QByteArray seen = describe(at(looked));
    if (fifo >= 0) {
        char bytes[64];
        const ssize_t length = ::read(fifo, bytes, sizeof bytes);
        seen += length > 0 && QByteArray(bytes, length).startsWith("<!DOCTYPE") ? "; read a sheet"
                                                                                : "; read nothing";
        ::close(fifo);
    }
    QCOMPARE(seen, after);
    if (setup == "a null device")
        ownDeviceKept = seen == after;
    // Nothing half-written is left beside the files.
    for (const QString &name : {dir.path(), dir.filePath(QStringLiteral("elsewhere"))}) {
        const QStringList left
            = QDir(name).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
    }
}

// No English from the C library reaches the user: an error without words of ours is named by
// its number.
void tst_Cli::errorsInOurOwnWords()
{
    for (int error = 1; error < 200; ++error) {
        const std::string words = tovrik::errorText(error);
        const bool latin = std::any_of(words.begin(), words.end(), [](char c) {
            return std::isalpha(static_cast<unsigned char>(c)) != 0;
        });
        QVERIFY2(!words.empty() && !latin, words.c_str());
    }
    QCOMPARE(tovrik::errorText(199), std::string("系统错误（错误号 199）"));
}

// The conventional end of `tovrik-size batch big.csv | head -1`: no message, ended by SIGPIPE,
// even when the parent ignores that signal.
void tst_Cli::closedPipeEndsQuietly()
{
    QTemporaryDir dir;
    QFile lines(dir.filePath(QStringLiteral("big.csv")));
    QVERIFY(lines.open(QIODevice::WriteOnly));
    lines.write("medium,Q,v\n");
    for (int i = 0; i < 300000; ++i)
        lines.write("water,100,2\n");
    lines.close();
    QProcess shell;
    shell.start(
        QStringLiteral("bash"),
        {QStringLiteral("-c"),
         QStringLiteral("trap '' PIPE; set -o pipefail; \"$0\" batch \"$1\" 2>\"$2\" | head -1"),
         QStringLiteral(TOVRIK_SIZER), lines.fileName(), dir.filePath(QStringLiteral("err"))});
    QVERIFY(shell.waitForFinished(60000));
    QCOMPARE(shell.readAllStandardOutput(), QByteArray(header("medium,Q,v") + "\n"));
    QFile said(dir.filePath(QStringLiteral("err")));
    QVERIFY(said.open(QIODevice::ReadOnly));
    QCOMPARE(said.readAll(), QByteArray());
    QCOMPARE(shell.exitCode(), 128 + 13); // SIGPIPE
}

QTEST_APPLESS_MAIN(tst_Cli)
#include "tst_cli.moc"
