// The form engine's modeless forms, text views, long jobs and settings on the Qt backend, driven
// through the real widgets.

#include "forms/qt/native.h"
#include "tests/formchecks.h"
#include "tests/windowfixture.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QWindow>

using namespace tovrik;

namespace {

class QtFormsDriver : public formchecks::FormsDriver
{
public:
    void show(Form &form) override
    {
        form.show();
        QWidget *window = nativeWindow(form);
        QApplication::setActiveWindow(window);
        if (!QTest::qWaitForWindowExposed(window))
            qWarning("window was not exposed");
    }
    void settle() override { QCoreApplication::processEvents(); }
    void click(const Control &control) override
    {
        QTest::mouseClick(nativeWidget(control), Qt::LeftButton);
    }
    void type(const TextBox &box, const std::string &text) override
    {
        nativeWidget(box)->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(nativeWidget(box), QString::fromStdString(text));
    }
    void key(const Control &control, Key key) override
    {
        static constexpr Qt::Key keys[]
            = {Qt::Key_Tab,    Qt::Key_Left,   Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
               Qt::Key_Return, Qt::Key_Escape, Qt::Key_A,     Qt::Key_unknown};
        Qt::KeyboardModifiers modifiers;
        if (key.shift)
            modifiers |= Qt::ShiftModifier;
        if (key.control)
            modifiers |= Qt::ControlModifier;
        QWidget *widget = nativeWidget(control);
        widget->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(widget, keys[key.code], modifiers);
    }
    // What the window system sends for the close box: its window's close event, which Qt's
    // window hands to the widget as a spontaneous close.
    void closeByUser(const Form &form) override
    {
        QCloseEvent event;
        QCoreApplication::sendEvent(nativeWindow(form)->windowHandle(), &event);
    }
    bool windowShown(const Form &form) override { return nativeWindow(form)->isVisible(); }
    PixelRect windowRect(const Form &form) override
    {
        const QRect r = nativeWindow(form)->frameGeometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    PixelRect screenArea(const Form &form) override
    {
        const QRect r = nativeWindow(form)->screen()->availableGeometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    void moveWindow(const Form &form, int x, int y) override { nativeWindow(form)->move(x, y); }
    void growWindow(const Form &form, int wider, int taller) override
    {
        QWidget *window = nativeWindow(form);
        window->resize(window->width() + wider, window->height() + taller);
        QCoreApplication::processEvents();
    }
    PixelRect rectInClient(const Control &control) override
    {
        const QWidget *widget = nativeWidget(control);
        const QPoint at = widget->mapTo(nativeClient(control.form()), QPoint(0, 0));
        return {at.x(), at.y(), widget->width(), widget->height()};
    }
    bool progressShown(const Form &form) override
    {
        const QProgressDialog *box = progress(form);
        return box && box->isVisible();
    }
    std::string progressButton(const Form &form) override
    {
        const QPushButton *button
            = progress(form) ? progress(form)->findChild<QPushButton *>() : nullptr;
        return button ? button->text().toStdString() : std::string();
    }
    void clickProgressButton(const Form &form) override
    {
        if (QProgressDialog *box = progress(form))
            QTest::mouseClick(box->findChild<QPushButton *>(), Qt::LeftButton);
    }
    void escapeInProgress(const Form &form) override
    {
        if (QProgressDialog *box = progress(form))
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box,
                            Qt::Key_Escape);
    }
    int firstVisibleLine(const TextBox &box) override
    {
        return view(box)->verticalScrollBar()->value();
    }
    int shownLines(const TextBox &box) override
    {
        QPlainTextEdit *text = view(box);
        int lines = 0;
        for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
            text->document()->documentLayout()->blockBoundingRect(block); // laid out now
            lines += block.layout()->lineCount();
        }
        return lines;
    }
    void scrollToEnd(const TextBox &box) override
    {
        view(box)->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(view(box), Qt::Key_End, Qt::ControlModifier);
    }
    std::string selectedText(const TextBox &box) override
    {
        if (auto *line = qobject_cast<QLineEdit *>(nativeWidget(box)))
            return line->selectedText().toStdString();
        QString text = view(box)->textCursor().selectedText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        return text.toStdString();
    }
    void copy(const TextBox &box) override
    {
        QTest::keyClick(nativeWidget(box), Qt::Key_C, Qt::ControlModifier);
    }
    std::string clipboard() override { return QApplication::clipboard()->text().toStdString(); }

private:
    static QProgressDialog *progress(const Form &form)
    {
        return nativeWindow(form)->findChild<QProgressDialog *>(QStringLiteral("progress"));
    }
    static QPlainTextEdit *view(const TextBox &box)
    {
        return qobject_cast<QPlainTextEdit *>(nativeWidget(box));
    }
};

// The settings file, written by hand as a user or a fault would leave it.
class QtSettingsDriver : public formchecks::SettingsDriver
{
public:
    explicit QtSettingsDriver(QString file)
        : m_file(std::move(file))
    {
    }

    std::vector<std::pair<std::string, std::function<void(const std::string &)>>> damages() override
    {
        const auto write = [this](const char *bytes) {
            QDir().mkpath(QFileInfo(m_file).absolutePath());
            QFile file(m_file);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0)
                qWarning("could not write the settings file");
        };
        return {
            {"a section never closed",
             [write](const std::string &) { write("[General\nseries=cn\ngas=air\n"); }},
            {"a list", [write](const std::string &) { write("[General]\nseries=cn, asme40\n"); }},
            {"a byte array", [write](const std::string &) { write("series=@ByteArray(cn)\n"); }},
            {"a rectangle", [write](const std::string &) { write("series=@Rect(1 2 3 4)\n"); }},
            {"an unknown variant",
             [write](const std::string &) { write("series=@Variant(\\0)\n"); }},
        };
    }
    std::string stored(const std::string &key) override
    {
        // The line of the INI file that holds the key, "series=..." or "air\length=...".
        QFile file(m_file);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QString line = QString::fromStdString(key);
        if (line.contains(QLatin1Char('/')))
            line = line.section(QLatin1Char('/'), 1).replace(QLatin1Char('/'), QLatin1Char('\\'));
        for (const QByteArray &row : file.readAll().split('\n')) {
            const QString text = QString::fromUtf8(row);
            if (text.startsWith(line + QLatin1Char('=')))
                return text.mid(line.size() + 1).toStdString();
        }
        return {};
    }
    bool placeExists() override
    {
        return QFileInfo::exists(m_file) || QFileInfo::exists(QFileInfo(m_file).absolutePath());
    }

private:
    QString m_file;
};

} // namespace

class tst_Forms : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void forms_data();
    void forms();
    void settings_data();
    void settings();
    void settingsFileIsReadable();
    void settingsFileIsAFolder();
    void settingsPlaceNamedWrongly();

private:
    QtFormsDriver m_driver;
    QTemporaryDir m_config;
    QString m_file;
};

// Settings in a folder of the test's own, under a place of its own: never the user's.
void tst_Forms::initTestCase()
{
    initializeLikeTheProgram();
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    qputenv("TOVRIK_SETTINGS", "TovrikTest");
    m_file = m_config.path() + QStringLiteral("/TovrikTest/TovrikTest.conf");
}

void tst_Forms::forms_data()
{
    QTest::addColumn<int>("number");
    for (std::size_t i = 0; i < std::size(formchecks::checks); ++i)
        QTest::newRow(formchecks::checks[i].name) << int(i);
}

void tst_Forms::forms()
{
    QFETCH(int, number);
    QString said;
    for (const std::string &failure : formchecks::checks[number].run(m_driver))
        said += QString::fromStdString(failure) + QLatin1Char('\n');
    QVERIFY2(said.isEmpty(), qPrintable(said));
}

void tst_Forms::settings_data()
{
    QTest::addColumn<int>("number");
    for (std::size_t i = 0; i < std::size(formchecks::settingsChecks); ++i)
        QTest::newRow(formchecks::settingsChecks[i].name) << int(i);
}

void tst_Forms::settings()
{
    QFETCH(int, number);
    QtSettingsDriver driver(m_file);
    QString said;
    for (const std::string &failure : formchecks::settingsChecks[number].run(driver))
        said += QString::fromStdString(failure) + QLatin1Char('\n');
    QVERIFY2(said.isEmpty(), qPrintable(said));
}

// The file a user finds where Qt keeps a program's settings on Linux, in UTF-8, key by key.
void tst_Forms::settingsFileIsReadable()
{
    clearSettings();
    QVERIFY(writeSetting("series", "国产公制"));
    QVERIFY(writeSetting("line/air/length", "120"));
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(text.contains(QStringLiteral("series=国产公制\n")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("[line]\nair\\length=120\n")), qPrintable(text));
    clearSettings();
}

// A folder where the file should be, as a fault may leave it: damaged, not written into, and
// gone when the settings are cleared.
void tst_Forms::settingsFileIsAFolder()
{
    clearSettings();
    QVERIFY(QDir().mkpath(m_file));
    QCOMPARE(readSetting("series").state, Setting::Damaged);
    QVERIFY(!writeSetting("series", "cn"));
    QVERIFY(clearSettings());
    QVERIFY(!QFileInfo::exists(m_file));
    QVERIFY(writeSetting("series", "cn"));
    QCOMPARE(readSetting("series").value, "cn");
    clearSettings();
}

// A place that is no name keeps nothing, anywhere: not the user's own settings instead.
void tst_Forms::settingsPlaceNamedWrongly()
{
    for (const char *place : {"../Tovrik", "a/b", ".hidden", "名字"}) {
        qputenv("TOVRIK_SETTINGS", place);
        QVERIFY2(!writeSetting("series", "cn"), place);
        QCOMPARE(readSetting("series").state, Setting::Absent);
    }
    qputenv("TOVRIK_SETTINGS", "TovrikTest");
    QCOMPARE(QDir(m_config.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());
}

QTEST_MAIN(tst_Forms)
#include "tst_forms.moc"
