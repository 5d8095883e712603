#include "tools/artwork/icon.h"

#include <QBuffer>
#include <QDataStream>
#include <QHash>
#include <QPainter>

QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false); // few colours, so depth 8 is exact
    const double unit = size / 48.0;
    painter.scale(unit, unit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 84, 160));
    painter.drawEllipse(QRectF(2, 2, 44, 44));
    painter.setBrush(QColor(222, 236, 250));
    painter.drawEllipse(QRectF(9, 9, 30, 30));

    // The diameter: a red bar with arrow heads touching the inner wall.
    painter.setBrush(QColor(220, 0, 0));
    painter.drawRect(QRectF(14, 22.5, 20, 3));
    painter.drawPolygon(QPolygonF({QPointF(9.5, 24), QPointF(17, 18), QPointF(17, 30)}));
    painter.drawPolygon(QPolygonF({QPointF(38.5, 24), QPointF(31, 18), QPointF(31, 30)}));
    return image;
}

namespace {

QByteArray dib(const QImage &source, int depth)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);

    QList<QRgb> palette;
    QHash<QRgb, int> paletteIndex;
    if (depth == 8) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb colour = image.pixel(x, y) | 0xFF000000;
                if (qAlpha(image.pixel(x, y)) != 0 && !paletteIndex.contains(colour)) {
                    paletteIndex.insert(colour, palette.size());
                    palette.append(colour);
                }
            }
        }
        Q_ASSERT(palette.size() <= 255);
        while (palette.size() < 256)
            palette.append(qRgb(0, 0, 0));
    }

    const int colourStride = ((size * depth + 31) / 32) * 4;
    const int maskStride = ((size + 31) / 32) * 4;
    stream << quint32(40) << qint32(size) << qint32(size * 2) << quint16(1) << quint16(depth)
           << quint32(0) << quint32((colourStride + maskStride) * size) << qint32(0) << qint32(0)
           << quint32(depth == 8 ? 256 : 0) << quint32(0);
    for (const QRgb colour : std::as_const(palette))
        stream << quint8(qBlue(colour)) << quint8(qGreen(colour)) << quint8(qRed(colour))
               << quint8(0);

    for (int y = size - 1; y >= 0; --y) { // bottom-up
        QByteArray row(colourStride, '\0');
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = image.pixel(x, y);
            const bool clear = qAlpha(pixel) == 0;
            if (depth == 8) {
                row[x] = char(clear ? 0 : paletteIndex.value(pixel | 0xFF000000));
            } else {
                const int bytes = depth / 8;
                row[qsizetype(x) * bytes] = char(clear ? 0 : qBlue(pixel));
                row[qsizetype(x) * bytes + 1] = char(clear ? 0 : qGreen(pixel));
                row[qsizetype(x) * bytes + 2] = char(clear ? 0 : qRed(pixel));
                if (depth == 32)
                    row[qsizetype(x) * bytes + 3] = char(qAlpha(pixel));
            }
        }
        stream.writeRawData(row.constData(), row.size());
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < size; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        stream.writeRawData(row.constData(), row.size());
    }
    return out;
}

} // namespace

QByteArray encodeIco(const QList<IconEntry> &entries)
{
    QList<QByteArray> images;
    for (const IconEntry &entry : entries)
        images.append(dib(drawIcon(entry.size), entry.depth));

    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << quint16(0) << quint16(1) << quint16(entries.size());
    quint32 offset = 6 + 16 * entries.size();
    for (int i = 0; i < entries.size(); ++i) {
        const IconEntry &entry = entries[i];
        stream << quint8(entry.size) << quint8(entry.size) << quint8(0) << quint8(0) << quint16(1)
               << quint16(entry.depth) << quint32(images[i].size()) << offset;
        offset += images[i].size();
    }
    for (const QByteArray &image : std::as_const(images))
        stream.writeRawData(image.constData(), image.size());
    return out;
}
