// Starts either Tovrik's window, set up exactly as the program does, or a bare Qt window with
// one label in the same Chinese font, and quits as soon as the window has painted once. Timed
// from outside, the two give start-to-first-paint and peak memory side by side:
//   tools/bench/startup.sh

#include "app/project.h"
#include "forms/form.h"
#include "forms/qt/native.h"
#include "forms/thunrt.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

class QuitOnFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    const bool bare = argc == 2 && std::strcmp(argv[1], "bare") == 0;
    if (argc != 2 || (!bare && std::strcmp(argv[1], "tovrik") != 0)) {
        std::fprintf(stderr, "usage: tovrik-bench-startup tovrik|bare\n");
        return 2;
    }
    QApplication application(argc, argv);
    QuitOnFirstPaint quitter;
    std::unique_ptr<QWidget> label;
    std::unique_ptr<tovrik::Form> form;
    QWidget *window = nullptr;
    if (bare) {
        label = std::make_unique<QLabel>(QStringLiteral("压缩空气标态流量Q="));
        QFont font(QStringLiteral("AR PL UMing CN"));
        font.setPointSizeF(9.0);
        label->setFont(font);
        label->resize(394, 493);
        window = label.get();
    } else {
        const tovrik::ProjectHeader &header = tovrik::projectHeader();
        tovrik::initializeRuntime(header);
        form = header.createStartupForm();
        form->load();
        window = tovrik::nativeWindow(*form);
    }
    window->installEventFilter(&quitter);
    window->show();
    return QApplication::exec();
}
