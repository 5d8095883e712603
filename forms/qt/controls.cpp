#include "forms/qt/controls.h"

#include <QMouseEvent>
#include <QPainter>

namespace tovrik {

ImageControl::ImageControl(QWidget *parent)
    : QWidget(parent)
{
}

void ImageControl::setPicture(Picture picture)
{
    m_picture = std::move(picture);
    m_drawn = QImage();
    update();
}

void ImageControl::paintEvent(QPaintEvent *)
{
    if (m_picture.empty())
        return;
    const qreal ratio = devicePixelRatioF();
    const QSize device(qRound(width() * ratio), qRound(height() * ratio));
    if (m_drawn.size() != device) {
        const Picture drawn = stretchKeepingLines(m_picture, device.width(), device.height());
        m_drawn = QImage(device, QImage::Format_RGB32);
        for (int y = 0; y < drawn.height; ++y) {
            for (int x = 0; x < drawn.width; ++x)
                m_drawn.setPixel(x, y, 0xFF000000u | drawn.at(x, y));
        }
        m_drawn.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_drawn);
}

void ImageControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

LineControl::LineControl(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

// Its whole rectangle filled, as the Win32 backend fills it. A line stroked along the top of a
// widget a logical pixel high is centred on the widget's top edge: at 150 % the widget can begin
// half-way into a device pixel, and the one pixel centre the stroke then covers lies above the
// widget, where it is clipped away.
void LineControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

} // namespace tovrik
