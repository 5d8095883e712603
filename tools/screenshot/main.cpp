// Renders Tovrik's window to a PNG, set up exactly as the program sets it up, menu bar and all:
//   QT_QPA_PLATFORM=offscreen build/bin/tovrik-screenshot docs/window.png
// Pass QT_SCALE_FACTOR=2 to see it as on a 200 % screen. The title bar is the desktop's, not
// the program's, and differs from one desktop to the next: it is left out.

#include "app/project.h"
#include "forms/form.h"
#include "forms/qt/native.h"
#include "forms/thunrt.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    // On a desktop with a global menu the bar would leave the window, and the picture.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tovrik-screenshot OUTPUT.png\n");
        return 2;
    }
    const tovrik::ProjectHeader &header = tovrik::projectHeader();
    tovrik::initializeRuntime(header);
    const auto form = header.createStartupForm();
    form->load();
    form->show();
    QApplication::processEvents();
    return tovrik::nativeWindow(*form)->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
