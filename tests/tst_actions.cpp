#include "cli/run.h"
#include "core/failure.h"
#include "core/sizing.h"
#include "forms/qt/balloon.h"
#include "tests/vectors.h"
#include "tests/windowfixture.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>

using namespace tovrik;

class tst_Actions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void localeDecimalSeparator();
    void pastedTextIsNotCut();
    void tooltipNamesThePipe();
    void sameAdviceAsTheSizer_data();
    void sameAdviceAsTheSizer();
    void randomUse();

private:
    QLineEdit *field(const QString &name) const
    {
        return nativeWindow(*m_window)->findChild<QLineEdit *>(name);
    }
    void select(const QString &medium);
    void type(const QString &name, const QString &text);

    std::unique_ptr<Quendal> m_window;
};

void tst_Actions::initTestCase()
{
    initializeLikeTheProgram();
}

void tst_Actions::init()
{
    m_window = showQuendal();
}

void tst_Actions::cleanup()
{
    m_window.reset();
    if (QWidget *balloon = visibleBalloon())
        balloon->hide();
    QLocale::setDefault(QLocale::c());
}

void tst_Actions::select(const QString &medium)
{
    const QString name = medium == QLatin1String("air") ? QStringLiteral("Optionca")
        : medium == QLatin1String("steam")              ? QStringLiteral("Options")
                                                        : QStringLiteral("Optionw");
    QTest::mouseClick(nativeWindow(*m_window)->findChild<QRadioButton *>(name), Qt::LeftButton);
}

void tst_Actions::type(const QString &name, const QString &text)
{
    QLineEdit *edit = field(name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
}

namespace {

// The worked examples as the fields to type and the result field to read.
void addWorkedExamples()
{
    QTest::addColumn<QString>("medium");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("expected");

    for (const SizingVector &vector : sizingVectors) {
        const QString medium = QString::fromLatin1(vector.medium);
        const QString letter = medium == QLatin1String("air") ? QStringLiteral("a")
            : medium == QLatin1String("steam")                ? QStringLiteral("s")
                                                              : QStringLiteral("w");
        QStringList fields;
        QStringList texts;
        const std::pair<char, const char *> inputs[] = {
            {'q', vector.flow},           {'p', vector.pressure}, {'t', vector.temperature},
            {'u', vector.specificVolume}, {'v', vector.velocity},
        };
        for (const auto &[quantity, text] : inputs) {
            if (text) {
                fields << QStringLiteral("Text") + QLatin1Char(quantity) + letter;
                texts << QString::fromUtf8(text);
            }
        }
        QTest::newRow(vector.name) << medium << fields << texts << QStringLiteral("Textd") + letter
                                   << QString::fromUtf8(vector.expected);
    }
}

} // namespace

void tst_Actions::localeDecimalSeparator()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    type(QStringLiteral("Textqa"), QStringLiteral("600"));
    type(QStringLiteral("Textpa"), QStringLiteral("0,7"));
    type(QStringLiteral("Textta"), QStringLiteral("20"));
    type(QStringLiteral("Textva"), QStringLiteral("10"));
    QTest::mouseClick(qt(m_window->Command1), Qt::LeftButton);
    QCOMPARE(qt(m_window->Textda)->text(), QStringLiteral("57,0212772537991"));
}

// Text boxes take text of any length: a flow pasted with 40,000 leading zeros is still 100.
void tst_Actions::pastedTextIsNotCut()
{
    select(QStringLiteral("water"));
    QGuiApplication::clipboard()->setText(QString(40000, QLatin1Char('0')) + QStringLiteral("100"));
    qt(m_window->Textqw)->setFocus();
    QTest::keyClick(qt(m_window->Textqw), Qt::Key_V, Qt::ControlModifier);
    type(QStringLiteral("Textvw"), QStringLiteral("2"));
    QTest::mouseClick(qt(m_window->Command2), Qt::LeftButton);
    QCOMPARE(qt(m_window->Textqw)->text().size(), 40003);
    QCOMPARE(qt(m_window->Textdw)->text(), QStringLiteral("132.936074863071"));
}

void tst_Actions::tooltipNamesThePipe()
{
    select(QStringLiteral("water"));
    type(QStringLiteral("Textqw"), QStringLiteral("100"));
    type(QStringLiteral("Textvw"), QStringLiteral("2"));
    QTest::mouseClick(qt(m_window->Command2), Qt::LeftButton);
    // The metric series, the mass flow as the volume of water at 20 C, and the pressure drop
    // for that water (python3-iapws and python3-fluids: 1.5747 and 2.2676 m/s, 14.39 kPa).
    const QString advice = QStringLiteral(
        "推荐 DN150（Φ159×4.5，内径 150 mm）：实际流速 1.57 m/s，常用流速 <2.0 m/s"
        "（参考表：热水、水 >100），合适。\n"
        "小一号 DN125（Φ133×4，内径 125 mm）：实际流速 2.27 m/s，常用流速 <2.0 m/s"
        "（参考表：热水、水 >100），偏高。\n"
        "水的密度按 20 °C（未给水温）、绝对压力 0.101325 MPa 取 998.21 kg/m³：100 t/h 即 "
        "100.18 m³/h，据此校核流速。\n"
        "每 100 m 压降约 14.4 kPa（粗糙度 0.046 mm，水温按 20 °C）");
    QCOMPARE(qt(m_window->Textdw)->toolTip(), advice);
    QCOMPARE(qt(m_window->Textdw)->text(), QStringLiteral("132.936074863071"));
    QCOMPARE(qt(m_window->Textdw)->font().pointSizeF(), 14.25);

    // A failure takes the advice away with the result's colour; the next success brings both.
    type(QStringLiteral("Textvw"), QStringLiteral("0"));
    QTest::mouseClick(qt(m_window->Command2), Qt::LeftButton);
    QCOMPARE(qt(m_window->Textdw)->toolTip(), QString());
    QCOMPARE(qt(m_window->Textdw)->text(), QStringLiteral("132.936074863071"));
    QVERIFY(qt(m_window->Textdw)->palette().color(QPalette::Text) != QColor(Qt::red));
    QVERIFY(qt(m_window->Textda)->toolTip().isEmpty());
    type(QStringLiteral("Textvw"), QStringLiteral("2"));
    QVERIFY2(!visibleBalloon(), "typing puts the report away");
    QTest::mouseClick(qt(m_window->Command2), Qt::LeftButton);
    QCOMPARE(qt(m_window->Textdw)->toolTip(), advice);
    QCOMPARE(qt(m_window->Textdw)->palette().color(QPalette::Text), QColor(Qt::red));
}

// The window, the command line and the batch size through one pipeline: for the same inputs the
// tooltip is the command line's advice, word for word, and the batch's pipe and drop are the
// ones it names.
void tst_Actions::sameAdviceAsTheSizer_data()
{
    addWorkedExamples();
}

void tst_Actions::sameAdviceAsTheSizer()
{
    QFETCH(QString, medium);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, texts);
    QFETCH(QString, result);

    select(medium);
    QList<QByteArray> args {medium.toUtf8(), "--series=cn"};
    QByteArray csvHeader = "medium";
    QByteArray csvRow = medium.toUtf8();
    for (int i = 0; i < fields.size(); ++i) {
        type(fields[i], texts[i]);
        // Textqa is -Q and column Q, Textus -u and column u: the field's quantity letter.
        const char quantity = fields[i].at(4).toLatin1();
        const QByteArray name(1,
                              quantity == 'u' || quantity == 'v' ? quantity : char(quantity - 32));
        args << '-' + name << texts[i].toUtf8();
        csvHeader += ',' + name;
        csvRow += ',' + texts[i].toUtf8();
    }
    QTest::mouseClick(field(result)->parentWidget()->findChild<QPushButton *>(), Qt::LeftButton);
    const QString tooltip = field(result)->toolTip();

    const auto run = [](QList<QByteArray> args, const QByteArray &input) {
        std::vector<const char *> argv;
        for (const QByteArray &arg : args)
            argv.push_back(arg.constData());
        std::FILE *in = std::tmpfile();
        std::FILE *out = std::tmpfile();
        std::FILE *err = std::tmpfile();
        std::fwrite(input.constData(), 1, std::size_t(input.size()), in);
        std::rewind(in);
        tovrik::cli::run(int(argv.size()), argv.data(), in, out, err);
        std::rewind(out);
        QByteArray bytes;
        char buf[4096];
        for (std::size_t got; (got = std::fread(buf, 1, sizeof buf, out)) > 0;)
            bytes.append(buf, qsizetype(got));
        for (std::FILE *file : {in, out, err})
            std::fclose(file);
        return bytes;
    };
    const QByteArray line = run(args, {});
    QCOMPARE(QString::fromUtf8(line.mid(line.indexOf('\n') + 1).chopped(1)), tooltip);

    const QList<QByteArray> batch = run({"batch", "--series=cn"}, csvHeader + '\n' + csvRow + '\n')
                                        .split('\n')
                                        .value(1)
                                        .split(',')
                                        .mid(int(fields.size()) + 1);
    const QByteArray dn = batch.value(2);
    const QByteArray velocity = batch.value(4);
    if (!dn.isEmpty()) {
        QVERIFY2(tooltip.startsWith(QStringLiteral("推荐 DN") + dn),
                 qPrintable(tooltip + QLatin1Char(' ') + dn));
        QVERIFY(tooltip.contains(QStringLiteral("实际流速 ") + velocity + QStringLiteral(" m/s")));
    }
    const QByteArray drop = batch.value(9);
    QCOMPARE(tooltip.contains(QStringLiteral("每 100 m 压降")), !drop.isEmpty());
    if (!drop.isEmpty()) {
        const double kPa = drop.toDouble();
        const int decimals = std::clamp(2 - int(std::floor(std::log10(kPa))), 0, 5);
        QVERIFY2(tooltip.contains(QStringLiteral("压降约 ") + QString::number(kPa, 'f', decimals)),
                 qPrintable(tooltip + QLatin1Char(' ') + drop));
    }
}

// Thousands of seeded random actions, with the window's promises checked after each one.
void tst_Actions::randomUse()
{
    Quendal &w = *m_window;
    QRandomGenerator random(20261208);
    MessageBoxWatcher watcher;

    QRadioButton *const options[] = {qt(w.Optionca), qt(w.Options), qt(w.Optionw)};
    QGroupBox *const panels[] = {qt(w.Frameca), qt(w.Frames), qt(w.Framew)};
    QPushButton *const buttons[] = {qt(w.Command1), qt(w.Command3), qt(w.Command2)};
    QLineEdit *const results[] = {qt(w.Textda), qt(w.Textds), qt(w.Textdw)};
    QLineEdit *const inputs[]
        = {qt(w.Textqa), qt(w.Textpa), qt(w.Textta), qt(w.Textva), qt(w.Textqs),
           qt(w.Textus), qt(w.Textvs), qt(w.Textqw), qt(w.Textvw)};
    ImageControl *const images[]
        = {qt(w.Image2), qt(w.Image3), qt(w.Image8), qt(w.Image6), qt(w.Image7), qt(w.Image5)};
    const QStringList words {
        "100",   "2",      "10",  "30",     "0.3747", "600",
        "36",    "1",      "5.5", "25",     "8",      "0.45",
        "1E3",   "+3",     "12.", ".8",     "100",    "2",
        "10",    "1",      "0",   "-4",     "0.7",    "20",
        "1e308", "1e-400", " ",   "\u3000", "abc",    "１２",
        "．５",  "1,5",    "--",  "1e",     "",       QString(500, QLatin1Char('9'))};

    const auto expectedResult = [&](int panel) -> std::optional<QString> {
        const auto text = [](const TextBox &edit) { return edit.text(); };
        try {
            switch (panel) {
            case 0:
                if (qt(w.Textqa)->text().isEmpty() || qt(w.Textpa)->text().isEmpty())
                    return std::nullopt;
                return QString::fromStdString(
                    AirDiameter(text(w.Textqa), text(w.Textpa), text(w.Textta), text(w.Textva)));
            case 1:
                return QString::fromStdString(
                    SteamDiameter(text(w.Textqs), text(w.Textus), text(w.Textvs)));
            default: return QString::fromStdString(WaterDiameter(text(w.Textqw), text(w.Textvw)));
            }
        } catch (const SizingFailure &) {
            return std::nullopt;
        }
    };

    int succeeded = 0;
    int failed = 0;
    for (int step = 0; step < 5000; ++step) {
        QString before[3];
        for (int i = 0; i < 3; ++i)
            before[i] = results[i]->text();
        int calculated = -1;
        std::optional<QString> expected;

        switch (random.bounded(6)) {
        case 0: QTest::mouseClick(options[random.bounded(3)], Qt::LeftButton); break;
        case 1: {
            const int panel = random.bounded(3);
            if (buttons[panel]->isVisible()) {
                calculated = panel;
                expected = expectedResult(panel);
                QTest::mouseClick(buttons[panel], Qt::LeftButton);
            }
            break;
        }
        case 2: {
            QLineEdit *input = inputs[random.bounded(9)];
            if (input->isVisible()) {
                input->setFocus();
                input->selectAll();
                typeText(input, words[random.bounded(words.size())]);
            }
            break;
        }
        case 3: {
            ImageControl *image = images[random.bounded(6)];
            if (image->isVisible())
                QTest::mouseClick(image, Qt::LeftButton);
            break;
        }
        case 4: {
            const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Left,  Qt::Key_Right,
                                    Qt::Key_Up,  Qt::Key_Down,    Qt::Key_Space, Qt::Key_Return};
            if (QWidget *focus = QApplication::focusWidget()) {
                const Qt::Key key = keys[random.bounded(8)];
                // Space on a focused button is a click; the expectation is taken beforehand.
                for (int i = 0; i < 3; ++i) {
                    if (focus == buttons[i] && key == Qt::Key_Space) {
                        calculated = i;
                        expected = expectedResult(i);
                    }
                }
                QTest::keyClick(focus, key);
            }
            break;
        }
        default:
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                        : nativeWindow(w),
                            Qt::Key_Backspace);
            break;
        }

        int visible = 0;
        for (int i = 0; i < 3; ++i) {
            visible += panels[i]->isVisible();
            QCOMPARE(panels[i]->isVisible(), options[i]->isChecked());
        }
        QCOMPARE(visible, 1);
        for (int i = 0; i < 3; ++i) {
            if (i == calculated)
                ++(expected ? succeeded : failed);
            if (i == calculated && expected)
                QCOMPARE(results[i]->text(), *expected);
            else if (QApplication::focusWidget() != results[i])
                QCOMPARE(results[i]->text(), before[i]);
        }
    }
    QVERIFY(nativeWindow(w)->isVisible());
    // The run must have exercised both outcomes to prove anything.
    QVERIFY2(succeeded > 50 && failed > 50,
             qPrintable(QStringLiteral("%1 successes, %2 failures").arg(succeeded).arg(failed)));
}

QTEST_MAIN(tst_Actions)
#include "tst_actions.moc"
