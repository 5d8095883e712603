#include "core/pipes.h"
#include "core/steam.h"
#include "runtime/failure.h"
#include "tests/faultname.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace tovrik;

Q_DECLARE_METATYPE(tovrik::Medium)

class tst_Pipes : public QObject
{
    Q_OBJECT

private slots:
    void nominalSize_data();
    void nominalSize();
    void usualVelocity_data();
    void usualVelocity();
    void realVelocityOfAKnownPipe();
    void adviceInWords_data();
    void adviceInWords();
    void if97Verification_data();
    void if97Verification();
    void referenceSheetSteam_data();
    void referenceSheetSteam();
    void steamPressureRange_data();
    void steamPressureRange();
};

void tst_Pipes::nominalSize_data()
{
    QTest::addColumn<double>("diameter");
    QTest::addColumn<int>("dn"); // 0: beyond the table

    const double dn100 = 114.3 - 2 * 6.02;
    const double dn600 = 610.0 - 2 * 17.48;
    QTest::newRow("nothing flows") << 0.0 << 15;
    QTest::newRow("exactly DN100's bore") << dn100 << 100;
    QTest::newRow("just above DN100's bore") << std::nextafter(dn100, 1000.0) << 125;
    QTest::newRow("water worked example") << 132.936074863071 << 150;
    QTest::newRow("DN90 is a size of the table") << 90.0 << 90;
    QTest::newRow("within DN500") << 477.0 << 500;
    QTest::newRow("past DN500 to DN600, no DN550") << 478.0 << 600;
    QTest::newRow("exactly DN600's bore") << dn600 << 600;
    QTest::newRow("beyond the table") << std::nextafter(dn600, 1000.0) << 0;
}

void tst_Pipes::nominalSize()
{
    QFETCH(double, diameter);
    QFETCH(int, dn);

    const std::optional<PipeSize> size = tovrik::nominalSize(diameter);
    QCOMPARE(size ? size->dn : 0, dn);
    if (size)
        QVERIFY(size->inside() >= diameter);
}

void tst_Pipes::usualVelocity_data()
{
    QTest::addColumn<Medium>("medium");
    QTest::addColumn<int>("dn");
    QTest::addColumn<double>("velocity");
    QTest::addColumn<QString>("check");

    QTest::newRow("steam DN50 lower bound") << Medium::Steam << 50 << 20.0 << "inside";
    QTest::newRow("steam DN50 below") << Medium::Steam << 50 << 19.99 << "below";
    QTest::newRow("steam DN90 upper bound") << Medium::Steam << 90 << 40.0 << "inside";
    QTest::newRow("steam DN100 is 100~200") << Medium::Steam << 100 << 45.0 << "inside";
    QTest::newRow("steam DN200 is 100~200") << Medium::Steam << 200 << 50.01 << "above";
    QTest::newRow("steam DN250 is >200") << Medium::Steam << 250 << 35.0 << "below";
    QTest::newRow("water DN32 is <32") << Medium::Water << 32 << 0.7 << "inside";
    QTest::newRow("water DN32 above") << Medium::Water << 32 << 0.71 << "above";
    QTest::newRow("water DN40 is 40~50") << Medium::Water << 40 << 0.71 << "inside";
    QTest::newRow("water DN90 is 65~80") << Medium::Water << 90 << 1.6 << "inside";
    QTest::newRow("water DN100 is >100") << Medium::Water << 100 << 0.1 << "inside";
    QTest::newRow("water DN100 above 2.0") << Medium::Water << 100 << 2.01 << "above";
    QTest::newRow("air workshop lower") << Medium::Air << 600 << 7.99 << "below";
    QTest::newRow("air workshop upper") << Medium::Air << 15 << 15.0 << "inside";
}

void tst_Pipes::usualVelocity()
{
    QFETCH(Medium, medium);
    QFETCH(int, dn);
    QFETCH(double, velocity);
    QFETCH(QString, check);

    const VelocityRange range = tovrik::usualVelocity(medium, dn);
    QCOMPARE(QString::fromLatin1(checkName(checkVelocity(velocity, range))), check);
}

void tst_Pipes::realVelocityOfAKnownPipe()
{
    // One cubic metre a second through a bore of one square metre.
    const double bore = 2000.0 / std::sqrt(std::numbers::pi);
    QCOMPARE(realVelocity(3600.0, bore), 1.0);
}

void tst_Pipes::adviceInWords_data()
{
    QTest::addColumn<Medium>("medium");
    QTest::addColumn<double>("flow");
    QTest::addColumn<double>("diameter");
    QTest::addColumn<QString>("text");

    // Worked by hand: bore = outside - 2 wall, velocity = q / 3600 / (pi / 4 * bore^2).
    QTest::newRow("water 100 t/h at 2 m/s")
        << Medium::Water << 100.0 << 132.936074863071
        << "选用 DN150（ASME B36.10M 40 号壁厚，内径 154.08 mm）\n"
           "实际流速 1.49 m/s，常用流速 <2.0 m/s，合适。";
    QTest::newRow("air 600 m3/h, 0.7 MPa, 20 C")
        << Medium::Air << 91.99372056514913 << 57.0212772537991
        << "选用 DN65（ASME B36.10M 40 号壁厚，内径 62.68 mm）\n"
           "实际流速 8.28 m/s，常用流速 8~15 m/s，合适。";
    QTest::newRow("steam 10 t/h at 0.3747 m3/kg")
        << Medium::Steam << 3747.0 << 210.106296907066
        << "选用 DN250（ASME B36.10M 40 号壁厚，内径 254.46 mm）\n"
           "实际流速 20.47 m/s，常用流速 40~60 m/s，偏低。";
    QTest::newRow("water, small pipe, fast")
        << Medium::Water << 1.0 << 10.0
        << "选用 DN15（ASME B36.10M 40 号壁厚，内径 15.76 mm）\n"
           "实际流速 1.42 m/s，常用流速 0.5~0.7 m/s，偏高。";
    QTest::newRow("beyond the table") << Medium::Water << 20000.0 << 600.0
                                      << "管径超出 DN600（ASME B36.10M 40 号壁厚，内径 575.04 "
                                         "mm），请选用多根管道或更大的管子。";
}

void tst_Pipes::adviceInWords()
{
    QFETCH(Medium, medium);
    QFETCH(double, flow);
    QFETCH(double, diameter);
    QFETCH(QString, text);

    QCOMPARE(QString::fromStdString(adviceText(advise(medium, flow, diameter))), text);
}

// The verification values that IAPWS-IF97 itself gives (tables 15 and 35).
void tst_Pipes::if97Verification_data()
{
    QTest::addColumn<double>("pressure");
    QTest::addColumn<double>("temperature"); // 0: the saturation temperature is the result
    QTest::addColumn<double>("expected");

    QTest::newRow("Ts at 0.1 MPa") << 0.1 << 0.0 << 0.372755919e3;
    QTest::newRow("Ts at 1 MPa") << 1.0 << 0.0 << 0.453035632e3;
    QTest::newRow("Ts at 10 MPa") << 10.0 << 0.0 << 0.584149488e3;
    QTest::newRow("v at 0.0035 MPa, 300 K") << 0.0035 << 300.0 << 0.394913866e2;
    QTest::newRow("v at 0.0035 MPa, 700 K") << 0.0035 << 700.0 << 0.923015898e2;
    QTest::newRow("v at 30 MPa, 700 K") << 30.0 << 700.0 << 0.542946619e-2;
}

void tst_Pipes::if97Verification()
{
    QFETCH(double, pressure);
    QFETCH(double, temperature);
    QFETCH(double, expected);

    const double actual = temperature == 0.0 ? saturationTemperature(pressure)
                                             : region2SpecificVolume(pressure, temperature);
    QVERIFY2(std::fabs(actual - expected) <= 5e-9 * expected,
             qPrintable(QString::number(actual, 'g', 12)));
}

void tst_Pipes::referenceSheetSteam_data()
{
    QTest::addColumn<double>("gauge");
    QTest::addColumn<double>("sheet");

    QTest::newRow("0.3 MPa") << 0.3 << 0.4622;
    QTest::newRow("0.4 MPa") << 0.4 << 0.3747;
    QTest::newRow("0.8 MPa") << 0.8 << 0.2148;
}

void tst_Pipes::referenceSheetSteam()
{
    QFETCH(double, gauge);
    QFETCH(double, sheet);

    const double volume = saturatedSteamVolume(gauge, PressureKind::Gauge);
    QVERIFY2(std::fabs(volume - sheet) <= 0.005 * sheet, qPrintable(QString::number(volume)));
    QCOMPARE(saturatedSteamVolume(gauge + atmosphericPressure, PressureKind::Absolute), volume);
}

void tst_Pipes::steamPressureRange_data()
{
    QTest::addColumn<double>("pressure");
    QTest::addColumn<bool>("gauge");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lowest") << 0.000611 << false << "ok";
    QTest::newRow("below the triple point") << 0.0006 << false << "OutOfRange:Pressure";
    QTest::newRow("highest") << 16.5 << false << "ok";
    QTest::newRow("above region 2") << 16.5 << true << "OutOfRange:Pressure";
    QTest::newRow("full vacuum gauge") << -0.101325 << true << "OutOfRange:Pressure";
    QTest::newRow("not finite") << std::numeric_limits<double>::infinity() << false
                                << "NotANumber:Pressure";
}

void tst_Pipes::steamPressureRange()
{
    QFETCH(double, pressure);
    QFETCH(bool, gauge);
    QFETCH(QString, expected);

    const QString actual = outcome([&] {
        const double volume
            = saturatedSteamVolume(pressure, gauge ? PressureKind::Gauge : PressureKind::Absolute);
        return volume > 0.0 && std::isfinite(volume) ? QStringLiteral("ok") : QStringLiteral("bad");
    });
    QCOMPARE(actual, expected);
}

QTEST_APPLESS_MAIN(tst_Pipes)
#include "tst_pipes.moc"
