#include "forms/qt/balloon.h"
#include "tests/menus.h"
#include "tests/scenarios.h"
#include "tests/windowfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

using namespace tovrik;

namespace {

// The Qt window, driven through its real widgets as a user would.
class QtDriver : public scenarios::WindowDriver
{
public:
    void start(bool firstRun) override
    {
        m_window.reset();
        if (QWidget *balloon = visibleBalloon())
            balloon->hide();
        m_window = showQuendal(firstRun);
    }

    void click(int index) override { QTest::mouseClick(widget(index), Qt::LeftButton); }

    void type(int index, const std::string &text) override
    {
        QLineEdit *box = edit(index);
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        typeText(box, QString::fromStdString(text));
    }

    void key(Key key) override
    {
        static constexpr Qt::Key keys[]
            = {Qt::Key_Tab,    Qt::Key_Left,   Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
               Qt::Key_Return, Qt::Key_Escape, Qt::Key_A,     Qt::Key_unknown};
        Qt::KeyboardModifiers modifiers;
        if (key.shift)
            modifiers |= Qt::ShiftModifier;
        if (key.control)
            modifiers |= Qt::ControlModifier;
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : nativeWindow(*m_window), keys[key.code], modifiers);
    }

    std::string text(int index) override { return edit(index)->text().toStdString(); }
    std::string toolTip(int index) override { return widget(index)->toolTip().toStdString(); }
    std::string selectedText(int index) override
    {
        return edit(index)->selectedText().toStdString();
    }

    // QLineEdit keeps its caret in view: where the caret is drawn, against where its place in
    // the text would be drawn unscrolled, says how far the view has scrolled. It scrolls when it
    // paints, as it does before the user sees it.
    bool showsStart(int index) override
    {
        QLineEdit *box = edit(index);
        box->grab();
        const int textBefore
            = box->fontMetrics().horizontalAdvance(box->text().left(box->cursorPosition()));
        const QRect caret = box->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        return caret.center().x() >= textBefore;
    }

    bool shown(int index) override { return widget(index)->isVisible(); }
    bool value(int index) override
    {
        return static_cast<QAbstractButton *>(widget(index))->isChecked();
    }
    void setValue(int index, bool value) override
    {
        OptionButton(*m_window, index).setValue(value);
    }

    int focused() override
    {
        for (int i = 0; i < ctl::Count; ++i) {
            if (widget(i) == QApplication::focusWidget())
                return i;
        }
        return -1;
    }

    std::string balloon() override
    {
        QWidget *shown = visibleBalloon();
        return shown ? static_cast<QLabel *>(shown)->text().toStdString() : std::string();
    }

    std::uint32_t textColour(int index) override
    {
        return colour(widget(index)->palette().color(QPalette::Text));
    }
    std::uint32_t greyText() override
    {
        return colour(QApplication::palette().color(QPalette::Disabled, QPalette::Text));
    }

    PixelRect rectInClient(int index) override
    {
        const QWidget *control = widget(index);
        const QPoint at = control->mapTo(nativeClient(*m_window), QPoint(0, 0));
        return {at.x(), at.y(), control->width(), control->height()};
    }
    PixelRect clientArea() override
    {
        const QWidget *client = nativeClient(*m_window);
        return {0, 0, client->width(), client->height()};
    }

    std::vector<scenarios::MenuItemSeen> menu() override
    {
        std::vector<scenarios::MenuItemSeen> items;
        for (const QAction *action : actions()) {
            items.push_back({action->text().toStdString(),
                             action->shortcut().toString(QKeySequence::PortableText).toStdString(),
                             action->isSeparator(), action->isEnabled(), action->isChecked()});
        }
        return items;
    }

    void chooseMenu(int id) override
    {
        // An item triggers when clicked only if it is enabled, as trigger() does.
        actions().at(menus::rowOf(id))->trigger();
    }

    Quendal &window() override { return *m_window; }

    std::vector<scenarios::Box> recordBoxes(const std::function<void()> &action,
                                            const std::string &press) override
    {
        MessageBoxWatcher watcher(QString::fromStdString(press));
        action();
        std::vector<scenarios::Box> boxes;
        for (const MessageBoxWatcher::Box &box : std::as_const(watcher.boxes)) {
            boxes.push_back({box.title.toStdString(), box.text.toStdString(),
                             box.buttons.join(QString()).toStdString(),
                             box.icon != QMessageBox::NoIcon});
        }
        return boxes;
    }

private:
    QWidget *widget(int index) const { return nativeWidget(Control(*m_window, index)); }
    // The menu bar's actions, each submenu's right after the item that opens it.
    std::vector<QAction *> actions() const
    {
        std::vector<QAction *> all;
        const std::function<void(const QList<QAction *> &)> walk
            = [&](const QList<QAction *> &list) {
                  for (QAction *action : list) {
                      all.push_back(action);
                      if (action->menu())
                          walk(action->menu()->actions());
                  }
              };
        walk(nativeWindow(*m_window)->findChild<QMenuBar *>()->actions());
        return all;
    }
    QLineEdit *edit(int index) const { return static_cast<QLineEdit *>(widget(index)); }
    static std::uint32_t colour(const QColor &c)
    {
        return std::uint32_t(c.blue()) << 16 | std::uint32_t(c.green()) << 8
            | std::uint32_t(c.red());
    }

    std::unique_ptr<Quendal> m_window;
};

} // namespace

class tst_Scenarios : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initializeLikeTheProgram(); }
    void scenario_data();
    void scenario();
    void menu_data();
    void menu();
    void cleanupTestCase() { m_driver.reset(); }

private:
    std::unique_ptr<QtDriver> m_driver = std::make_unique<QtDriver>();
};

void tst_Scenarios::scenario_data()
{
    QTest::addColumn<int>("number");
    const std::vector<scenarios::Scenario> all = scenarios::all();
    for (std::size_t i = 0; i < all.size(); ++i)
        QTest::newRow(all[i].name.c_str()) << int(i);
}

void tst_Scenarios::scenario()
{
    QFETCH(int, number);
    const std::vector<std::string> failures
        = scenarios::run(*m_driver, scenarios::all()[std::size_t(number)]);
    QString said;
    for (const std::string &failure : failures)
        said += QString::fromStdString(failure) + QLatin1Char('\n');
    QVERIFY2(failures.empty(), qPrintable(said));
}

void tst_Scenarios::menu_data()
{
    QTest::addColumn<int>("number");
    for (std::size_t i = 0; i < std::size(menus::checks); ++i)
        QTest::newRow(menus::checks[i].name) << int(i);
}

void tst_Scenarios::menu()
{
    QFETCH(int, number);
    const menus::Failures failures = menus::checks[number].run(*m_driver);
    QString said;
    for (const std::string &failure : failures)
        said += QString::fromStdString(failure) + QLatin1Char('\n');
    QVERIFY2(failures.empty(), qPrintable(said));
}

QTEST_MAIN(tst_Scenarios)
#include "tst_scenarios.moc"
