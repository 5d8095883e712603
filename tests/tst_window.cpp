#include "runtime/form.h"
#include "tests/windowfixture.h"
#include "window/definition.h"

#include <QButtonGroup>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

using namespace tovrik;

class tst_Window : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUpState();
    void identity();
    void typedMembersAreTheirControls();
    void geometry_data();
    void geometry();
    void resizingMovesNothing();
    void defaultFontHasDoubleWidthChineseGlyphs();
    void fieldCoversTheBlanksOfItsCaption_data();
    void fieldCoversTheBlanksOfItsCaption();
    void stackedControlsShareTheirRectangle();
    void resultFieldsAreLargeAndRed();
    void tabChain_data();
    void tabChain();
    void enterAndEscapePressNoButton_data();
    void enterAndEscapePressNoButton();
    void messageBoxSpeaksChinese();

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

void tst_Window::startUpState()
{
    Quendal &w = *m_window;
    QVERIFY(qt(w.Optionca)->isChecked());
    QVERIFY(!qt(w.Options)->isChecked());
    QVERIFY(!qt(w.Optionw)->isChecked());
    QVERIFY(qt(w.Frameca)->isVisible());
    QVERIFY(!qt(w.Frames)->isVisible());
    QVERIFY(!qt(w.Framew)->isVisible());
    QVERIFY(qt(w.Image2)->isVisible());
    QVERIFY(!qt(w.Image3)->isVisible());
    for (QLineEdit *field : nativeWindow(w)->findChildren<QLineEdit *>())
        QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
}

void tst_Window::identity()
{
    QCOMPARE(nativeWindow(*m_window)->windowTitle(), QStringLiteral("Quendal"));
    QCOMPARE(nativeWindow(*m_window)->size(), QSize(394, 493));
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

void tst_Window::geometry_data()
{
    // Rectangles in pixels relative to the window's client area: 15 twips to a pixel, and a
    // panel's controls offset by the panel's own top-left corner.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("reference picture") << "Image1" << QRect(8, 8, 137, 479);
    QTest::newRow("first option") << "Optionca" << QRect(144, 16, 73, 25);
    QTest::newRow("panel") << "Frameca" << QRect(152, 48, 241, 441);
    QTest::newRow("air flow field") << "Textqa" << QRect(272, 72, 65, 18);
    QTest::newRow("air flow label") << "Label1" << QRect(160, 72, 217, 17);
    QTest::newRow("water velocity field") << "Textvw" << QRect(272, 144, 65, 18);
    QTest::newRow("steam button") << "Command3" << QRect(160, 192, 97, 41);
    QTest::newRow("steam result") << "Textds" << QRect(264, 200, 81, 33);
    QTest::newRow("unit label") << "Label6" << QRect(352, 200, 33, 33);
    QTest::newRow("upper separator") << "Line1" << QRect(160, 176, 224, 1);
    QTest::newRow("lower separator") << "Line3" << QRect(160, 248, 224, 1);
    QTest::newRow("notice") << "Image5" << QRect(160, 256, 223, 157);
}

void tst_Window::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, expected);

    const QWidget *control = nativeWindow(*m_window)->findChild<QWidget *>(name);
    QVERIFY(control);
    const QPoint topLeft = control->mapTo(nativeWindow(*m_window), QPoint(0, 0));
    QCOMPARE(QRect(topLeft, control->size()), expected);
}

void tst_Window::resizingMovesNothing()
{
    const QRect before = qt(m_window->Textdw)->geometry();
    nativeWindow(*m_window)->resize(800, 700);
    QCOMPARE(nativeWindow(*m_window)->size(), QSize(800, 700));
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

void tst_Window::tabChain_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("chain");

    QTest::newRow("air") << "Optionca"
                         << QStringList {"Optionca", "Textqa",   "Textpa", "Textta",
                                         "Textva",   "Command1", "Textda", "Optionca"};
    QTest::newRow("steam") << "Options" << QStringList {"Options",  "Textqs", "Textus", "Textvs",
                                                        "Command3", "Textds", "Options"};
    QTest::newRow("water") << "Optionw" << QStringList {"Optionw",  "Textqw", "Textvw",
                                                        "Command2", "Textdw", "Optionw"};
}

void tst_Window::tabChain()
{
    QFETCH(QString, option);
    QFETCH(QStringList, chain);

    auto *button = nativeWindow(*m_window)->findChild<QRadioButton *>(option);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(button->hasFocus());
    QStringList visited {QApplication::focusWidget()->objectName()};
    for (int i = 1; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, chain);
}

void tst_Window::enterAndEscapePressNoButton_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void tst_Window::enterAndEscapePressNoButton()
{
    QFETCH(int, key);

    Quendal &w = *m_window;
    QTest::mouseClick(qt(w.Optionw), Qt::LeftButton);
    QTest::keyClicks(qt(w.Textqw), QStringLiteral("100"));
    QTest::keyClicks(qt(w.Textvw), QStringLiteral("2"));
    QTest::keyClick(qt(w.Textvw), Qt::Key(key));
    QVERIFY(qt(w.Textdw)->text().isEmpty());
    QVERIFY(nativeWindow(w)->isVisible());
}

void tst_Window::messageBoxSpeaksChinese()
{
    MessageBoxWatcher watcher;
    QTest::keyClicks(qt(m_window->Textqa), QStringLiteral("600"));
    QTest::mouseClick(qt(m_window->Command1), Qt::LeftButton);
    QCOMPARE(watcher.boxes.size(), 1);
    const MessageBoxWatcher::Box &box = watcher.boxes.first();
    QCOMPARE(box.buttons, QStringList {QStringLiteral("确定")});
    QCOMPARE(box.title, QStringLiteral("Tovrik"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
}

QTEST_MAIN(tst_Window)
#include "tst_window.moc"
