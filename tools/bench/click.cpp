// Time from a calculate button's click (mouse press and release delivered to the button) to
// the result text being set, over many clicks of each panel; prints median and 99th percentile.
//   QT_QPA_PLATFORM=offscreen build/bin/tovrik-bench-click

#include "app/project.h"
#include "forms/qt/native.h"
#include "forms/thunrt.h"
#include "window/quendal.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

void click(QPushButton *button)
{
    const QPointF centre = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
}

void measure(const char *name, QPushButton *button, QLineEdit *result, const char *expected)
{
    constexpr int clicks = 20000;
    std::vector<double> micros;
    micros.reserve(clicks);
    for (int i = 0; i < clicks; ++i) {
        result->clear();
        const auto start = std::chrono::steady_clock::now();
        click(button);
        const auto end = std::chrono::steady_clock::now();
        if (result->text() != QLatin1String(expected)) {
            std::fprintf(stderr, "%s: unexpected result %s\n", name, qPrintable(result->text()));
            std::exit(1);
        }
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    std::printf("%-6s clicks %d  median %.1f us  p99 %.1f us  max %.1f us\n", name, clicks,
                micros[clicks / 2], micros[clicks * 99 / 100], micros.back());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    tovrik::initializeRuntime(tovrik::projectHeader());
    tovrik::Quendal window;
    window.load();
    window.show();
    QApplication::processEvents();

    window.Textqa.setText("600");
    window.Textpa.setText("0.7");
    window.Textta.setText("20");
    window.Textva.setText("10");
    measure("air", tovrik::widget<QPushButton>(window.Command1),
            tovrik::widget<QLineEdit>(window.Textda), "57.0212772537991");

    tovrik::widget<QRadioButton>(window.Options)->click();
    window.Textqs.setText("10");
    window.Textus.setText("0.3747");
    window.Textvs.setText("30");
    measure("steam", tovrik::widget<QPushButton>(window.Command3),
            tovrik::widget<QLineEdit>(window.Textds), "210.106296907066");

    tovrik::widget<QRadioButton>(window.Optionw)->click();
    window.Textqw.setText("100");
    window.Textvw.setText("2");
    measure("water", tovrik::widget<QPushButton>(window.Command2),
            tovrik::widget<QLineEdit>(window.Textdw), "132.936074863071");
    return 0;
}
