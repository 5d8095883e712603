#include "forms/qt/balloon.h"

#include "forms/wrap.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QTimer>

namespace tovrik {

namespace {

constexpr int shownFor = 6000; // ms: long enough to read two lines twice

class Balloon : public QLabel
{
public:
    Balloon()
        : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
    {
        setObjectName(QStringLiteral("failureBalloon"));
        setForegroundRole(QPalette::ToolTipText);
        setBackgroundRole(QPalette::ToolTipBase);
        setAutoFillBackground(true);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMargin(4);
        setTextFormat(Qt::PlainText);
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
        qApp->installEventFilter(this);
    }

    void show(QWidget *at, const QString &text)
    {
        setText(tipLines(text, font()).join(QLatin1Char('\n')));
        adjustSize();
        move(at->mapToGlobal(QPoint(0, at->height())));
        m_window = at->window();
        QLabel::show();
        m_timer.start(shownFor);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!isVisible())
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel: hide(); break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Hide:
        case QEvent::WindowDeactivate:
            if (watched == m_window)
                hide();
            break;
        default: break;
        }
        return false;
    }

private:
    QTimer m_timer;
    QPointer<QWidget> m_window;
};

QPointer<Balloon> balloon;

} // namespace

QStringList tipLines(const QString &text, const QFont &font)
{
    const auto fromUtf8 = [](std::string_view piece) {
        return QString::fromUtf8(piece.data(), qsizetype(piece.size()));
    };
    const QByteArray utf8 = text.toUtf8();
    const QFontMetrics metrics(font);
    QStringList lines;
    for (const std::string_view line : wrapLines(
             std::string_view(utf8.constData(), std::size_t(utf8.size())), tipWidth,
             [&](std::string_view piece) { return metrics.horizontalAdvance(fromUtf8(piece)); }))
        lines << fromUtf8(line);
    return lines;
}

void showBalloon(QWidget *at, const QString &text)
{
    if (!balloon)
        balloon = new Balloon; // lives as long as the application, as tooltips do
    balloon->show(at, text);
}

QWidget *visibleBalloon()
{
    return balloon && balloon->isVisible() ? balloon.data() : nullptr;
}

} // namespace tovrik
