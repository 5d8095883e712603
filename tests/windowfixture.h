#pragma once

#include "app/project.h"
#include "runtime/thunrt.h"
#include "window/quendal.h"

#include <QApplication>
#include <QTest>

#include <memory>

// The window as the program builds it: the runtime's fonts, style and translations, then
// the form, loaded and shown.
inline void initializeLikeTheProgram()
{
    tovrik::initializeRuntime(tovrik::projectHeader());
}

inline std::unique_ptr<tovrik::Quendal> showQuendal()
{
    auto window = std::make_unique<tovrik::Quendal>();
    window->load();
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("window was not exposed");
    return window;
}

#include <QAbstractButton>
#include <QMessageBox>

// Records every message box as it appears and presses its only button, so a handler that
// shows boxes in turn runs to its end inside the test.
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

    MessageBoxWatcher() { qApp->installEventFilter(this); }
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
                box, [box] { box->buttons().value(0)->click(); }, Qt::QueuedConnection);
        }
        return false;
    }
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
