#pragma once

#include "app/project.h"
#include "forms/qt/native.h"
#include "forms/settings.h"
#include "forms/thunrt.h"
#include "window/quendal.h"

#include "forms/qt/controls.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

// The Qt widget behind a typed member, to drive and inspect it as a user would.
inline QLineEdit *qt(const tovrik::TextBox &c)
{
    return tovrik::widget<QLineEdit>(c);
}
inline QRadioButton *qt(const tovrik::OptionButton &c)
{
    return tovrik::widget<QRadioButton>(c);
}
inline QGroupBox *qt(const tovrik::Frame &c)
{
    return tovrik::widget<QGroupBox>(c);
}
inline QPushButton *qt(const tovrik::CommandButton &c)
{
    return tovrik::widget<QPushButton>(c);
}
inline tovrik::ImageControl *qt(const tovrik::Image &c)
{
    return tovrik::widget<tovrik::ImageControl>(c);
}

// The window as the program builds it: the runtime's fonts, style and translations, then
// the form, loaded and shown.
inline void initializeLikeTheProgram()
{
    tovrik::initializeRuntime(tovrik::projectHeader());
}

// The window as the program starts it; the first time, with nothing kept from an earlier run.
inline std::unique_ptr<tovrik::Quendal> showQuendal(bool firstRun = true)
{
    if (firstRun)
        tovrik::clearSettings();
    auto window = std::make_unique<tovrik::Quendal>();
    window->load();
    window->show();
    QWidget *native = tovrik::nativeWindow(*window);
    QApplication::setActiveWindow(native);
    if (!QTest::qWaitForWindowExposed(native))
        qWarning("window was not exposed");
    return window;
}

#include <QAbstractButton>
#include <QMessageBox>

// Records every message box as it appears and presses its button captioned press, or its first,
// so a handler that shows boxes in turn runs to its end inside the test.
class MessageBoxWatcher : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QStringList buttons;
    };

    explicit MessageBoxWatcher(QString press = {})
        : m_press(std::move(press))
    {
        qApp->installEventFilter(this);
    }
    ~MessageBoxWatcher() override { qApp->removeEventFilter(this); }

    QList<Box> boxes;

    QStringList texts() const
    {
        QStringList all;
        for (const Box &box : boxes)
            all << box.text;
        return all;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && event->type() == QEvent::Show) {
            Box seen {box->windowTitle(), box->text(), box->icon(), {}};
            for (QAbstractButton *button : box->buttons())
                seen.buttons << button->text();
            boxes << seen;
            QMetaObject::invokeMethod(
                box,
                [box, press = m_press] {
                    QAbstractButton *chosen = box->buttons().value(0);
                    for (QAbstractButton *button : box->buttons()) {
                        if (!press.isEmpty() && button->text().remove(u'&').startsWith(press))
                            chosen = button;
                    }
                    chosen->click();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QString m_press;
};

#include <QInputMethodEvent>

// Types text as a user would: Latin-1 through key presses, anything else (full-width digits,
// the ideographic blank) as the commit of an input method, the way a Chinese IME delivers it.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(c));
        } else {
            QInputMethodEvent event;
            event.setCommitString(QString(c));
            QApplication::sendEvent(widget, &event);
        }
    }
}
