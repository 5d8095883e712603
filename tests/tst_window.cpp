#include "forms/form.h"
#include "tests/windowfixture.h"
#include "window/definition.h"
#include "window/line.h"
#include "window/sheetinfo.h"
#include "window/steam.h"
#include "window/water.h"

#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <QAccessible>
#include <QButtonGroup>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QToolTip>

#include "forms/wrap.h"
#include "tests/tips.h"

using namespace tovrik;

class tst_Window : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void identity();
    void typedMembersAreTheirControls();
    void resizingMovesNothing();
    void defaultFontHasDoubleWidthChineseGlyphs();
    void fieldCoversTheBlanksOfItsCaption_data();
    void fieldCoversTheBlanksOfItsCaption();
    void stackedControlsShareTheirRectangle();
    void resultFieldsAreLargeAndRed();
    void optionButtonsAreHeardAsOptionButtons();
    void separatorLinesAtEveryScale_data();
    void separatorLinesAtEveryScale();
    void menuBarLeavesTheClientWhole();
    void openDialogChoosesTheList();
    void waterDialog_data();
    void waterDialog();
    void lineDialog_data();
    void lineDialog();
    void steamDialog_data();
    void steamDialog();
    void sheetInfoDialog();
    void labelsShowTheirWholeText_data();
    void labelsShowTheirWholeText();
    void resultTipWrapsAtAReadableWidth();

private:
    std::unique_ptr<Quendal> m_window;
};

void tst_Window::initTestCase()
{
    initializeLikeTheProgram();
}

void tst_Window::init()
{
    m_window = showQuendal();
}

void tst_Window::cleanup()
{
    m_window.reset();
}

void tst_Window::identity()
{
    QCOMPARE(nativeWindow(*m_window)->windowTitle(), QStringLiteral("Quendal"));
    QCOMPARE(nativeClient(*m_window)->size(), QSize(394, 493));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tovrik"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.00"));
    const QList<QSize> sizes = nativeWindow(*m_window)->windowIcon().availableSizes();
    for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)})
        QVERIFY2(sizes.contains(size), qPrintable(QString::number(size.width())));
    const Qt::WindowFlags flags = nativeWindow(*m_window)->windowFlags();
    QVERIFY(!(flags & Qt::MSWindowsFixedSizeDialogHint));
    QCOMPARE(nativeWindow(*m_window)->minimumSize(), QSize(0, 0));
}

void tst_Window::typedMembersAreTheirControls()
{
    const Quendal &w = *m_window;
    const std::pair<const Control *, const char *> members[] = {
        {&w.Image1, "Image1"},     {&w.Optionca, "Optionca"}, {&w.Options, "Options"},
        {&w.Optionw, "Optionw"},   {&w.Frameca, "Frameca"},   {&w.Frames, "Frames"},
        {&w.Framew, "Framew"},     {&w.Textqa, "Textqa"},     {&w.Textpa, "Textpa"},
        {&w.Textta, "Textta"},     {&w.Textva, "Textva"},     {&w.Command1, "Command1"},
        {&w.Textda, "Textda"},     {&w.Image2, "Image2"},     {&w.Image3, "Image3"},
        {&w.Textqs, "Textqs"},     {&w.Textus, "Textus"},     {&w.Textvs, "Textvs"},
        {&w.Command3, "Command3"}, {&w.Textds, "Textds"},     {&w.Image8, "Image8"},
        {&w.Image6, "Image6"},     {&w.Textqw, "Textqw"},     {&w.Textvw, "Textvw"},
        {&w.Command2, "Command2"}, {&w.Textdw, "Textdw"},     {&w.Image7, "Image7"},
        {&w.Image5, "Image5"},
    };
    for (const auto &[widget, name] : members)
        QCOMPARE(nativeWidget(*widget)->objectName(), QString::fromLatin1(name));
}

void tst_Window::resizingMovesNothing()
{
    const QRect before = qt(m_window->Textdw)->geometry();
    nativeWindow(*m_window)->resize(800, 700);
    QCOMPARE(nativeWindow(*m_window)->size(), QSize(800, 700));
    QCOMPARE(nativeClient(*m_window)->pos(), QPoint(0, 0));
    QCOMPARE(qt(m_window->Textdw)->geometry(), before);
    QCOMPARE(qt(m_window->Frameca)->size(), QSize(241, 441));
}

void tst_Window::defaultFontHasDoubleWidthChineseGlyphs()
{
    const QFont font = QApplication::font();
    const QFontInfo info(font);
    QVERIFY2(info.family() == QLatin1String("AR PL UMing CN")
                 || info.family() == QLatin1String("Noto Serif CJK SC"),
             qPrintable(QStringLiteral("宋体 resolved to ") + info.family()
                        + QStringLiteral("; install fonts-arphic-uming")));
    QCOMPARE(info.pixelSize(), 12);
    const QFontMetrics metrics(font);
    QCOMPARE(metrics.horizontalAdvance(QLatin1Char(' ')), 6);
    QCOMPARE(metrics.horizontalAdvance(QLatin1Char('Q')), 6);
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("压缩空气")), 4 * 12);
}

void tst_Window::fieldCoversTheBlanksOfItsCaption_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field");

    QTest::newRow("air flow") << "Label1"
                              << "Textqa";
    QTest::newRow("air pressure") << "Label2"
                                  << "Textpa";
    QTest::newRow("air temperature") << "Label3"
                                     << "Textta";
    QTest::newRow("air velocity") << "Label4"
                                  << "Textva";
    QTest::newRow("steam flow") << "Label15"
                                << "Textqs";
    QTest::newRow("steam specific volume") << "Label14"
                                           << "Textus";
    QTest::newRow("steam velocity") << "Label12"
                                    << "Textvs";
    QTest::newRow("water flow") << "Label10"
                                << "Textqw";
    QTest::newRow("water velocity") << "Label7"
                                    << "Textvw";
}

void tst_Window::fieldCoversTheBlanksOfItsCaption()
{
    QFETCH(QString, label);
    QFETCH(QString, field);

    const auto *caption = nativeWindow(*m_window)->findChild<QLabel *>(label);
    const auto *edit = nativeWindow(*m_window)->findChild<QLineEdit *>(field);
    QVERIFY(caption && edit);
    QCOMPARE(caption->buddy(), edit);
    const QObjectList stacking = edit->parentWidget()->children();
    QVERIFY2(stacking.indexOf(edit) > stacking.indexOf(caption), "the field lies on its label");

    // Where the caption's text really falls in the label's font.
    const QString text = caption->text();
    const int equals = text.indexOf(QLatin1Char('='));
    const QString blanks(12, QLatin1Char(' '));
    QCOMPARE(text.mid(equals + 1, 12), blanks);
    QVERIFY(text.at(equals + 13) != QLatin1Char(' '));
    const QFontMetrics metrics(caption->font());
    const int textStart = caption->x() + caption->contentsRect().x();
    const int blanksStart = textStart + metrics.horizontalAdvance(text.left(equals + 1));
    const int unitStart = blanksStart + metrics.horizontalAdvance(blanks);
    QCOMPARE(blanksStart, 116); // 1740 twips: 18 columns of 6 pixels after the label's left
    QCOMPARE(unitStart, 188); // 2820 twips
    QVERIFY(edit->geometry().left() >= blanksStart);
    QVERIFY(edit->geometry().right() < unitStart);
}

void tst_Window::stackedControlsShareTheirRectangle()
{
    const Quendal &w = *m_window;
    QCOMPARE(qt(w.Frames)->geometry(), qt(w.Frameca)->geometry());
    QCOMPARE(qt(w.Framew)->geometry(), qt(w.Frameca)->geometry());
    QCOMPARE(qt(w.Image3)->geometry(), qt(w.Image2)->geometry());
    QCOMPARE(qt(w.Image6)->geometry(), qt(w.Image8)->geometry());
    QCOMPARE(qt(w.Image5)->geometry(), qt(w.Image7)->geometry());
}

void tst_Window::resultFieldsAreLargeAndRed()
{
    for (const QLineEdit *result :
         {qt(m_window->Textda), qt(m_window->Textds), qt(m_window->Textdw)}) {
        QCOMPARE(result->font().pointSizeF(), 14.25);
        QCOMPARE(result->font().weight(), QFont::Normal);
        QCOMPARE(result->palette().color(QPalette::Text), QColor(255, 0, 0));
        QVERIFY(!result->isReadOnly());
    }
    const auto *unit = nativeWindow(*m_window)->findChild<QLabel *>(QStringLiteral("Label5"));
    QCOMPARE(unit->text(), QStringLiteral("mm"));
    QCOMPARE(unit->font().pointSizeF(), 14.25);
}

// What a screen reader says of the three: option buttons, with the one selected, also after a
// handler has cleared one alone.
void tst_Window::optionButtonsAreHeardAsOptionButtons()
{
    const OptionButton buttons[] = {m_window->Optionca, m_window->Options, m_window->Optionw};
    const auto heard = [&] {
        QStringList said;
        for (const OptionButton &button : buttons) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(qt(button));
            const QString role = face->role() == QAccessible::RadioButton ? QStringLiteral("option")
                : face->role() == QAccessible::CheckBox ? QStringLiteral("check box")
                                                        : QString::number(face->role());
            said << face->text(QAccessible::Name) + QLatin1Char(' ') + role
                    + (face->state().checked ? QStringLiteral(" selected") : QString());
        }
        return said.join(QStringLiteral(", "));
    };
    QCOMPARE(heard(), QStringLiteral("压缩空气 option selected, 蒸汽 option, 水 option"));
    m_window->Optionca.setValue(false);
    QCOMPARE(heard(), QStringLiteral("压缩空气 option, 蒸汽 option, 水 option"));
    QTest::mouseClick(qt(m_window->Optionw), Qt::LeftButton);
    QCOMPARE(heard(), QStringLiteral("压缩空气 option, 蒸汽 option, 水 option selected"));
    QTest::keyClick(qt(m_window->Optionw), Qt::Key_Left);
    QCOMPARE(heard(), QStringLiteral("压缩空气 option, 蒸汽 option selected, 水 option"));
}

// The panel's separators at each scale a screen may have, as the program draws them there: its
// window pictured by the screenshot tool at that scale.
void tst_Window::separatorLinesAtEveryScale_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<double>("scale");
    for (const double scale : {1.0, 1.25, 1.5, 1.75, 2.0})
        QTest::addRow("%d %%", int(scale * 100)) << QByteArray("QT_SCALE_FACTOR") << scale;
    QTest::newRow("a screen at 144 dpi") << QByteArray("QT_SCREEN_SCALE_FACTORS") << 1.5;
}

void tst_Window::separatorLinesAtEveryScale()
{
    QFETCH(QByteArray, variable);
    QFETCH(double, scale);
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("window.png"));
    QProcess screenshot;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(variable), QString::number(scale));
    screenshot.setProcessEnvironment(environment);
    screenshot.start(QStringLiteral(TOVRIK_SCREENSHOT), {path});
    QVERIFY(screenshot.waitForFinished(60000));
    QCOMPARE(screenshot.exitCode(), 0);
    const QImage picture(path);
    // Laid out as here, in pixels of 1/96 inch: the lines lie where they lie here.
    const QWidget *window = nativeWindow(*m_window);
    QCOMPARE(picture.size(), window->size() * scale);
    for (const char *name : {"Line1", "Line2"}) {
        const QWidget *line = window->findChild<QWidget *>(QString::fromLatin1(name));
        const QRectF at = QRectF(QRect(line->mapTo(window, QPoint(0, 0)), line->size()));
        // The most pixels dark in a row of the screen's that the line's pixel covers: a row dark
        // from end to end.
        const int left = qCeil(at.left() * scale);
        const int right = qFloor(at.right() * scale);
        int most = 0;
        for (int y = qFloor(at.top() * scale); y < qCeil(at.bottom() * scale); ++y) {
            int dark = 0;
            for (int x = left; x < right; ++x)
                dark += qGray(picture.pixel(x, y)) < 64;
            most = std::max(most, dark);
        }
        QVERIFY2(most == right - left,
                 qPrintable(
                     QStringLiteral("%1: %2 of %3 pixels").arg(name).arg(most).arg(right - left)));
    }
}

QTEST_MAIN(tst_Window)
#include "tst_window.moc"

void tst_Window::menuBarLeavesTheClientWhole()
{
    const QWidget *window = nativeWindow(*m_window);
    const QWidget *client = nativeClient(*m_window);
    const QPoint corner = client->mapTo(window, QPoint(0, 0));
    QCOMPARE(corner, QPoint(0, window->findChild<QMenuBar *>()->height()));
    QCOMPARE(window->height(), corner.y() + client->height());
    QCOMPARE(window->width(), client->width());
}

// The one test that goes through the real dialog: 计算管线表 chosen from the menu, a list picked
// in the dialog, and its result beside it.
void tst_Window::openDialogChoosesTheList()
{
    QTemporaryDir folder;
    const QString list = folder.filePath(QStringLiteral("管线表.csv"));
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("medium,Q,v\nwater,300,2\n");
    file.close();
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        // The user types the list's path into the name field and presses Enter.
        const auto dialogs = nativeWindow(*m_window)->findChildren<QFileDialog *>();
        if (dialogs.isEmpty() || !dialogs.first()->isVisible())
            return;
        auto *name = dialogs.first()->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(list);
        QTest::keyClick(name, Qt::Key_Return);
    });
    answer.start(20);
    MessageBoxWatcher watcher;
    QAction *item = nullptr;
    for (QAction *action : nativeWindow(*m_window)->findChildren<QAction *>()) {
        if (action->text() == QStringLiteral("计算管线表(&O)…"))
            item = action;
    }
    QVERIFY(item);
    item->trigger();
    QCOMPARE(watcher.boxes.size(), 2); // the detail pages asked for, then what came of it
    QVERIFY2(watcher.boxes[1].text.startsWith(QStringLiteral("已计算 1 条管线。")),
             qPrintable(watcher.boxes[1].text));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("管线表-结果.csv"))));
}

void tst_Window::waterDialog_data()
{
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("pressure");
    QTest::addColumn<QString>("message"); // empty: kept
    QTest::addColumn<int>("mend"); // the field the focus goes to
    QTest::newRow("both") << "130"
                          << "0.6" << QString() << -1;
    QTest::newRow("empty: the usual") << ""
                                      << "" << QString() << -1;
    QTest::newRow("not a number") << "abc"
                                  << ""
                                  << "水温T不是有效的数字。" << int(waterctl::Texttw);
    QTest::newRow("boiling") << "200"
                             << "0.6"
                             << "水温T" << int(waterctl::Texttw);
    QTest::newRow("pressure not positive") << "20"
                                           << "-1"
                                           << "水的压力P" << int(waterctl::Textpw);
}

void tst_Window::waterDialog()
{
    QFETCH(QString, temperature);
    QFETCH(QString, pressure);
    QFETCH(QString, message);
    QFETCH(int, mend);
    WaterDialog dialog(*m_window, "", "");
    dialog.load();
    dialog.show();
    QApplication::setActiveWindow(nativeWindow(dialog));
    for (const auto &[field, text] :
         {std::pair {&dialog.Texttw, temperature}, {&dialog.Textpw, pressure}}) {
        qt(*field)->setFocus();
        typeText(qt(*field), text);
    }
    MessageBoxWatcher watcher;
    QTest::mouseClick(qt(dialog.Command1), Qt::LeftButton);
    QCOMPARE(dialog.accepted(), message.isEmpty());
    if (message.isEmpty()) {
        QVERIFY(watcher.boxes.isEmpty());
        return;
    }
    QCOMPARE(watcher.boxes.size(), 1);
    QVERIFY2(watcher.boxes[0].text.startsWith(message), qPrintable(watcher.boxes[0].text));
    // Where the focus is in the dialog, which has it again once the box is closed.
    QCOMPARE(nativeWindow(dialog)->focusWidget(), nativeWidget(Control(dialog, mend)));
}

// 管线…: each figure checked as the sizing reads it, in its words; a refused one stays as typed,
// with the focus on it; a kept line is the figures as typed.
void tst_Window::lineDialog_data()
{
    QTest::addColumn<QStringList>("typed"); // length, ΣK, Le, Δz, allowable drop, roughness
    QTest::addColumn<QString>("message"); // empty: kept
    QTest::addColumn<int>("mend");
    const auto row = [](const char *name, QStringList typed, const char *message, int mend) {
        QTest::newRow(name) << typed << QString::fromUtf8(message) << mend;
    };
    row("nothing: no line", {"", "", "", "", "", ""}, "", -1);
    row("a line with its limit", {"150", "6", "20", "-3", "50", "steam-network"}, "", -1);
    row("a length below zero", {"-5", "", "", "", "", ""}, "管长须是不小于零的数值。",
        linectl::Textl);
    row("fittings not a number", {"", "x", "", "", "", ""}, "管件阻力系数之和ΣK不是有效的数字。",
        linectl::Textk);
    row("a limit of zero", {"100", "", "", "", "0", ""}, "允许压降须为正数。", linectl::Textdp);
    row("a wall of no name", {"", "", "", "", "", "rusty"},
        "管壁粗糙度须是数值（mm），或 new-steel（0.046 mm）", linectl::Textr);
    row("a rise not a number", {"", "", "", "x", "", ""}, "管线高差Δz不是有效的数字。",
        linectl::Textdz);
}

void tst_Window::lineDialog()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(int, mend);
    LineDialog dialog(*m_window, Medium::Water, {});
    dialog.load();
    dialog.show();
    QApplication::setActiveWindow(nativeWindow(dialog));
    const TextBox *fields[] = {&dialog.Textl,  &dialog.Textk,  &dialog.Textle,
                               &dialog.Textdz, &dialog.Textdp, &dialog.Textr};
    for (int i = 0; i < typed.size(); ++i) {
        qt(*fields[i])->setFocus();
        typeText(qt(*fields[i]), typed[i]);
    }
    QTest::mouseClick(qt(dialog.Option100m), Qt::LeftButton);
    MessageBoxWatcher watcher;
    QTest::mouseClick(qt(dialog.Command1), Qt::LeftButton);
    QCOMPARE(dialog.accepted(), message.isEmpty());
    const LineChoice line = dialog.line();
    const std::string *kept[] = {&line.length,    &line.fittings, &line.equivalentLength,
                                 &line.elevation, &line.maxDrop,  &line.roughness};
    for (int i = 0; i < typed.size(); ++i)
        QCOMPARE(QString::fromStdString(*kept[i]), typed[i]);
    QVERIFY(line.dropPer100m);
    if (message.isEmpty()) {
        QVERIFY(watcher.boxes.isEmpty());
        return;
    }
    QCOMPARE(watcher.boxes.size(), 1);
    QVERIFY2(watcher.boxes[0].text.startsWith(message), qPrintable(watcher.boxes[0].text));
    QCOMPARE(nativeWindow(dialog)->focusWidget(), nativeWidget(Control(dialog, mend)));
}

// 由压力求比容…: the volume of IAPWS-IF97 to six figures, or why there is none. Steam tables give
// 0.19435 (1 MPa saturated), 0.37387 (0.5013 MPa) and 0.23275 m3/kg (1 MPa, 250 C) to five.
void tst_Window::steamDialog_data()
{
    QTest::addColumn<QString>("pressure");
    QTest::addColumn<bool>("gauge");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("result"); // the volume, or the message's start
    QTest::newRow("saturated, absolute") << "1" << false << ""
                                         << "0.194349";
    QTest::newRow("saturated, gauge: 0.4 MPa(g)") << "0.4" << true << ""
                                                  << "0.373871";
    QTest::newRow("superheated") << "1" << false << "250"
                                 << "0.232739";
    QTest::newRow("not superheated") << "1" << false << "150"
                                     << "蒸汽温度Ts须高于该压力下的饱和温度 179.89 °C";
    QTest::newRow("no pressure") << "" << true << ""
                                 << "蒸汽压力p不是有效的数字。";
}

void tst_Window::steamDialog()
{
    QFETCH(QString, pressure);
    QFETCH(bool, gauge);
    QFETCH(QString, temperature);
    QFETCH(QString, result);
    SteamVolumeDialog dialog(*m_window);
    dialog.load();
    dialog.show();
    QApplication::setActiveWindow(nativeWindow(dialog));
    qt(dialog.Textp)->setFocus();
    typeText(qt(dialog.Textp), pressure);
    qt(dialog.Textts)->setFocus();
    typeText(qt(dialog.Textts), temperature);
    QTest::mouseClick(qt(gauge ? dialog.Optiongauge : dialog.Optionabsolute), Qt::LeftButton);
    MessageBoxWatcher watcher;
    QTest::mouseClick(qt(dialog.Command1), Qt::LeftButton);
    if (dialog.accepted()) {
        QVERIFY(watcher.boxes.isEmpty());
        QCOMPARE(QString::fromStdString(dialog.volume()), result);
        return;
    }
    QCOMPARE(watcher.boxes.size(), 1);
    QVERIFY2(watcher.boxes[0].text.startsWith(result), qPrintable(watcher.boxes[0].text));
}

// 计算书信息…: each field gives its own particular, what was there shown again, 取消 keeping
// nothing.
void tst_Window::sheetInfoDialog()
{
    using namespace tovrik;
    SheetInfo before;
    before[SheetField::Revision] = "A";
    for (const bool accept : {true, false}) {
        SheetInfoDialog dialog(*m_window, before);
        dialog.load();
        dialog.show();
        QApplication::setActiveWindow(nativeWindow(dialog));
        const TextBox revision(dialog, sheetinfoctl::Textrevision);
        QCOMPARE(QString::fromStdString(revision.text()), QStringLiteral("A"));
        for (const auto &[field, text] : {std::pair {sheetinfoctl::Textproject, "某厂"},
                                          std::pair {sheetinfoctl::Textcheckdate, "12-10"}}) {
            qt(TextBox(dialog, field))->setFocus();
            typeText(qt(TextBox(dialog, field)), QString::fromUtf8(text));
        }
        QTest::mouseClick(
            qt(CommandButton(dialog, accept ? sheetinfoctl::Command1 : sheetinfoctl::Command2)),
            Qt::LeftButton);
        QCOMPARE(dialog.accepted(), accept);
        if (!accept)
            continue;
        SheetInfo expected = before;
        expected[SheetField::Project] = "某厂";
        expected[SheetField::CheckDate] = "12-10";
        QCOMPARE(dialog.info().fields, expected.fields);
    }
}

// Every label of the window and of the water dialog shows its whole text in its rectangle, in
// the font it is drawn in. ctest runs this at 200 % too.
void tst_Window::labelsShowTheirWholeText_data()
{
    QTest::addColumn<int>("dialog");
    QTest::addColumn<QString>("label");
    const FormDef *forms[]
        = {&quendalForm(), &waterForm(), &lineForm(), &steamForm(), &sheetInfoForm()};
    for (int dialog = 0; dialog < int(std::size(forms)); ++dialog) {
        for (const ControlDef &def : forms[dialog]->controls) {
            if (def.kind == ControlKind::Label)
                QTest::addRow("%s %s", forms[dialog]->caption, def.name) << dialog << def.name;
        }
    }
}

void tst_Window::labelsShowTheirWholeText()
{
    QFETCH(int, dialog);
    QFETCH(QString, label);
    WaterDialog water(*m_window, "", "");
    LineDialog line(*m_window, Medium::Air, {});
    SteamVolumeDialog steam(*m_window);
    SheetInfoDialog sheetInfo(*m_window, {});
    Form *const forms[] = {m_window.get(), &water, &line, &steam, &sheetInfo};
    Form &form = *forms[dialog];
    form.load();
    form.show();
    const auto *shown = nativeWindow(form)->findChild<QLabel *>(label);
    const QRectF room = shown->contentsRect();
    const QRectF needed
        = QFontMetricsF(shown->font()).boundingRect(room, int(shown->alignment()), shown->text());
    QVERIFY2(room.contains(needed),
             qPrintable(QStringLiteral("%1 needs %2×%3 and has %4×%5")
                            .arg(shown->text())
                            .arg(needed.width())
                            .arg(needed.height())
                            .arg(room.width())
                            .arg(room.height())));
}

// The pipe advice on the result, as the user sees it when the mouse rests there: lines no wider
// than the tips' width, none broken between a figure and its unit, nothing lost.
void tst_Window::resultTipWrapsAtAReadableWidth()
{
    QTest::mouseClick(qt(m_window->Optionw), Qt::LeftButton);
    for (const auto &[field, text] :
         {std::pair {&m_window->Textqw, "100"}, std::pair {&m_window->Textvw, "2"}}) {
        qt(*field)->setFocus();
        typeText(qt(*field), QString::fromLatin1(text));
    }
    QTest::mouseClick(qt(m_window->Command2), Qt::LeftButton);
    QLineEdit *result = qt(m_window->Textdw);
    const QString advice = result->toolTip();
    QHelpEvent rest(QEvent::ToolTip, QPoint(10, 10), result->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(result, &rest);
    const QLabel *tip = nullptr;
    for (QWidget *shown : QApplication::topLevelWidgets()) {
        if (shown->isVisible() && shown->inherits("QTipLabel"))
            tip = static_cast<QLabel *>(shown);
    }
    QVERIFY(tip);
    QTextDocument document;
    document.setHtml(tip->text());
    std::vector<std::string> lines;
    for (const QString &line : document.toPlainText().split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    QToolTip::hideText();
    QVERIFY2(tip->width() <= tipWidth + 20, qPrintable(QString::number(tip->width())));
    const QFontMetrics metrics(tip->font());
    for (const std::string &fault :
         tips::faults(advice.toStdString(), lines, tipWidth, [&](const std::string &line) {
             return metrics.horizontalAdvance(QString::fromStdString(line));
         }))
        QFAIL(fault.c_str());
}
