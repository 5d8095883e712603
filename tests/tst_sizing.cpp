#include "base/failure.h"
#include "core/sizing.h"
#include "tests/faultname.h"

#include <QTest>

using namespace tovrik;

class tst_Sizing : public QObject
{
    Q_OBJECT

private slots:
    void air_data();
    void air();
    void steam_data();
    void steam();
    void water_data();
    void water();
    void lastBitErrorIsInTheDouble();
};

void tst_Sizing::air_data()
{
    QTest::addColumn<QString>("flow");
    QTest::addColumn<QString>("pressure");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("velocity");
    QTest::addColumn<uint>("separator");
    QTest::addColumn<QString>("expected");

    const uint dot = '.';
    QTest::newRow("standard state is exact") << "1000"
                                             << "0.1"
                                             << "0"
                                             << "10" << dot << "188";
    QTest::newRow("worked example") << "600"
                                    << "0.7"
                                    << "20"
                                    << "10" << dot << "57.0212772537991";
    QTest::newRow("comma locale") << "600"
                                  << "0,7"
                                  << "20"
                                  << "10" << uint(',') << "57,0212772537991";
    QTest::newRow("full-width input") << "６００"
                                      << "０．７"
                                      << "２０"
                                      << "１０" << dot << "57.0212772537991";
    QTest::newRow("absolute zero gives zero") << "600"
                                              << "0.7"
                                              << "-273"
                                              << "10" << dot << "0";
    QTest::newRow("below absolute zero") << "600"
                                         << "0.7"
                                         << "-300"
                                         << "10" << dot << "NegativeRoot";
    QTest::newRow("negative pressure and velocity") << "1000"
                                                    << "-0.1"
                                                    << "0"
                                                    << "-10" << dot << "188";
    QTest::newRow("zero pressure") << "600"
                                   << "0"
                                   << "20"
                                   << "10" << dot << "ZeroDivisor:Pressure";
    QTest::newRow("zero velocity") << "600"
                                   << "0.7"
                                   << "20"
                                   << "0" << dot << "ZeroDivisor:Velocity";
    QTest::newRow("velocity not a number") << "600"
                                           << "0.7"
                                           << "20"
                                           << "fast" << dot << "NotANumber:Velocity";
    QTest::newRow("blank velocity") << "600"
                                    << "0.7"
                                    << "20"
                                    << " " << dot << "NotANumber:Velocity";
    QTest::newRow("temperature read first") << "x"
                                            << "x"
                                            << ""
                                            << "x" << dot << "NotANumber:Temperature";
    QTest::newRow("flow before pressure") << "x"
                                          << ""
                                          << "20"
                                          << "10" << dot << "NotANumber:Flow";
    QTest::newRow("pressure before velocity") << "600"
                                              << "p"
                                              << "20"
                                              << "v" << dot << "NotANumber:Pressure";
    QTest::newRow("flow overflows on reading") << "1e400"
                                               << "0.7"
                                               << "20"
                                               << "10" << dot << "Overflow:Flow";
    QTest::newRow("product overflows") << "1e307"
                                       << "0.7"
                                       << "2e3"
                                       << "10" << dot << "Overflow";
    QTest::newRow("quotient overflows") << "1e300"
                                        << "1e-300"
                                        << "20"
                                        << "10" << dot << "Overflow";
}

void tst_Sizing::air()
{
    QFETCH(QString, flow);
    QFETCH(QString, pressure);
    QFETCH(QString, temperature);
    QFETCH(QString, velocity);
    QFETCH(uint, separator);
    QFETCH(QString, expected);

    const auto actual = outcome([&] {
        return QString::fromStdString(AirDiameter(flow.toStdString(), pressure.toStdString(),
                                                  temperature.toStdString(), velocity.toStdString(),
                                                  separator));
    });
    QCOMPARE(actual, expected);
}

void tst_Sizing::steam_data()
{
    QTest::addColumn<QString>("flow");
    QTest::addColumn<QString>("specificVolume");
    QTest::addColumn<QString>("velocity");
    QTest::addColumn<QString>("expected");

    QTest::newRow("worked example") << "10"
                                    << "0.3747"
                                    << "30"
                                    << "210.106296907066";
    QTest::newRow("empty flow") << ""
                                << "0.3747"
                                << "30"
                                << "NotANumber:Flow";
    QTest::newRow("empty specific volume") << "10"
                                           << ""
                                           << "30"
                                           << "NotANumber:SpecificVolume";
    QTest::newRow("empty velocity") << "10"
                                    << "0.3747"
                                    << ""
                                    << "NotANumber:Velocity";
    QTest::newRow("zero velocity") << "10"
                                   << "0.3747"
                                   << "0"
                                   << "ZeroDivisor:Velocity";
    QTest::newRow("zero flow and velocity") << "0"
                                            << "0.3747"
                                            << "0"
                                            << "ZeroDivisor:Velocity";
    QTest::newRow("negative volume") << "10"
                                     << "-0.3747"
                                     << "30"
                                     << "NegativeRoot";
    QTest::newRow("tonnes overflow") << "1e306"
                                     << "1"
                                     << "1"
                                     << "Overflow";
    QTest::newRow("volume flow overflows") << "1e200"
                                           << "1e200"
                                           << "1"
                                           << "Overflow";
}

void tst_Sizing::steam()
{
    QFETCH(QString, flow);
    QFETCH(QString, specificVolume);
    QFETCH(QString, velocity);
    QFETCH(QString, expected);

    const auto actual = outcome([&] {
        return QString::fromStdString(SteamDiameter(
            flow.toStdString(), specificVolume.toStdString(), velocity.toStdString()));
    });
    QCOMPARE(actual, expected);
}

void tst_Sizing::water_data()
{
    QTest::addColumn<QString>("flow");
    QTest::addColumn<QString>("velocity");
    QTest::addColumn<QString>("expected");

    QTest::newRow("worked example") << "100"
                                    << "2"
                                    << "132.936074863071";
    QTest::newRow("15 digits hide the last bit") << "36"
                                                 << "1"
                                                 << "112.8";
    QTest::newRow("zero flow") << "0"
                               << "1"
                               << "0";
    QTest::newRow("zero velocity") << "100"
                                   << "0"
                                   << "ZeroDivisor:Velocity";
    QTest::newRow("zero by zero") << "0"
                                  << "0"
                                  << "ZeroDivisor:Velocity";
    QTest::newRow("negative root") << "-4"
                                   << "1"
                                   << "NegativeRoot";
    QTest::newRow("two negatives") << "-4"
                                   << "-1"
                                   << "37.6";
    QTest::newRow("velocity read before flow") << "q"
                                               << "v"
                                               << "NotANumber:Velocity";
    QTest::newRow("flow not a number") << "1 00"
                                       << "2"
                                       << "NotANumber:Flow";
    QTest::newRow("quotient overflows") << "1e308"
                                        << "1e-10"
                                        << "Overflow";
    QTest::newRow("flow underflows to zero") << "1e-400"
                                             << "1"
                                             << "0";
    QTest::newRow("tiny result in exponent form") << "1e-20"
                                                  << "1"
                                                  << "1.88E-09";
    QTest::newRow("huge result in exponent form") << "1e300"
                                                  << "1"
                                                  << "1.88E+151";
}

void tst_Sizing::water()
{
    QFETCH(QString, flow);
    QFETCH(QString, velocity);
    QFETCH(QString, expected);

    const auto actual = outcome([&] {
        return QString::fromStdString(WaterDiameter(flow.toStdString(), velocity.toStdString()));
    });
    QCOMPARE(actual, expected);
}

void tst_Sizing::lastBitErrorIsInTheDouble()
{
    // The text hides it, but the double itself must carry the error that the fixed order of
    // operations produces; a reordered or fused formula would give exactly 112.8.
    QCOMPARE(waterSizing("36", "1").diameter, 112.80000000000001);
    QVERIFY(waterSizing("36", "1").diameter != 112.8);
}

QTEST_APPLESS_MAIN(tst_Sizing)
#include "tst_sizing.moc"
