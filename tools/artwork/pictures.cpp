#include "tools/artwork/pictures.h"

#include <QFontMetrics>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <span>

namespace {

// The reference sheet's content. A row with an empty right cell is a full-width heading.
struct Row
{
    const char *left;
    const char *right;
};

constexpr Row velocityTable[] = {
    {"公称管径", "常用流速"}, {"饱和蒸汽", ""}, {"<100", "20~40"},  {"100~200", "30~50"},
    {">200", "40~60"},        {"压缩空气", ""}, {"车间", "8~15"},   {"厂区", "8~10"},
    {"天然气", "<25"},        {"热水、水", ""}, {"<32", "0.5~0.7"}, {"40~50", "0.7~1.0"},
    {"65~80", "1.0~1.6"},     {">100", "<2.0"},
};

constexpr Row steamTable[] = {
    {"饱和蒸汽", ""},     {"公称压力", "比容"}, {"0.3MPa", "0.4622"},
    {"0.4MPa", "0.3747"}, {"0.8MPa", "0.2148"},
};

constexpr const char *termsLines[] = {
    "声明：",
    "1.本软件依据电力行业有关",
    "  标准编制。",
    "2.本软件免费使用，欢迎传播。",
    "3.本软件不承担任何法律责任。",
    "4.不同意以上任何一条者，",
    "  请删除本软件。",
};

constexpr const char *contactLines[] = {
    "欢迎提出宝贵意见和建议！",
    "请在 Tovrik 项目的问题",
    "跟踪系统中提交，",
    "我们会认真阅读每一条。",
};

// AR PL UMing's 12-pixel bitmap strike: crisp one-colour glyphs.
QFont pictureFont()
{
    QFont font(QStringLiteral("AR PL UMing CN"));
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias
                                               | QFont::PreferBitmap));
    return font;
}

QImage canvas(int width, int height, QPainter &painter)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(pictureGrey);
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(pictureFont());
    painter.setPen(QColor(pictureMagenta));
    return image;
}

// A drawing that does not fit its picture is a mistake in the data above: stop loudly.
void requireFits(const QFontMetrics &metrics, const QString &text, int width)
{
    if (metrics.horizontalAdvance(text) > width) {
        std::fprintf(stderr, "text too wide (%d > %d px): %s\n", metrics.horizontalAdvance(text),
                     width, qPrintable(text));
        std::exit(1);
    }
}

int drawTable(QPainter &painter, std::span<const Row> rows, int top, int left, int split, int right,
              int rowHeight)
{
    const QFontMetrics metrics(painter.font());
    for (const Row &row : rows) {
        const QString first = QString::fromUtf8(row.left);
        const QString second = QString::fromUtf8(row.right);
        if (second.isEmpty()) {
            painter.drawRect(left, top, right - left, rowHeight);
            requireFits(metrics, first, right - left - 2);
            painter.drawText(QRect(left, top, right - left, rowHeight), Qt::AlignCenter, first);
        } else {
            painter.drawRect(left, top, split - left, rowHeight);
            painter.drawRect(split, top, right - split, rowHeight);
            requireFits(metrics, first, split - left - 2);
            requireFits(metrics, second, right - split - 2);
            painter.drawText(QRect(left, top, split - left, rowHeight), Qt::AlignCenter, first);
            painter.drawText(QRect(split, top, right - split, rowHeight), Qt::AlignCenter, second);
        }
        top += rowHeight;
    }
    return top;
}

void drawLines(QPainter &painter, std::span<const char *const> lines, int left, int top,
               int lineHeight, int width)
{
    const QFontMetrics metrics(painter.font());
    for (const char *line : lines) {
        const QString text = QString::fromUtf8(line);
        requireFits(metrics, text, width - left);
        painter.drawText(left, top + metrics.ascent(), text);
        top += lineHeight;
    }
}

} // namespace

QImage drawReferenceTable()
{
    QPainter painter;
    QImage image = canvas(138, 492, painter);
    const QString title = QStringLiteral("常用资料数据");
    const QFontMetrics metrics(painter.font());
    const int titleWidth = metrics.horizontalAdvance(title);
    const int titleLeft = (image.width() - titleWidth) / 2;
    painter.drawText(titleLeft, 8 + metrics.ascent(), title);
    painter.drawLine(titleLeft - 2, 23, titleLeft + titleWidth + 1, 23);
    painter.drawLine(titleLeft - 2, 25, titleLeft + titleWidth + 1, 25);

    const int bottom = drawTable(painter, velocityTable, 36, 1, 68, 136, 22);
    drawTable(painter, steamTable, bottom + 24, 1, 68, 136, 22);
    painter.end();
    return image;
}

QImage drawTermsNotice()
{
    QPainter painter;
    QImage image = canvas(175, 141, painter);
    drawLines(painter, termsLines, 3, 6, 18, image.width() - 2);
    painter.end();
    return image;
}

QImage drawContactNotice()
{
    QPainter painter;
    QImage image = canvas(183, 137, painter);
    drawLines(painter, contactLines, 4, 6, 18, image.width() - 2);

    // The logo: the icon's pipe section in yellow with a magenta diameter.
    const QRect logo(image.width() - 44, image.height() - 44, 38, 38);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(pictureYellow));
    painter.drawEllipse(logo);
    painter.setBrush(QColor(pictureGrey));
    painter.drawEllipse(logo.adjusted(6, 6, -6, -6));
    painter.setBrush(QColor(pictureMagenta));
    const QPoint centre = logo.center();
    painter.drawRect(centre.x() - 9, centre.y() - 1, 19, 3);
    painter.drawPolygon(
        QPolygon({QPoint(centre.x() - 13, centre.y()), QPoint(centre.x() - 7, centre.y() - 5),
                  QPoint(centre.x() - 7, centre.y() + 5)}));
    painter.drawPolygon(
        QPolygon({QPoint(centre.x() + 13, centre.y()), QPoint(centre.x() + 7, centre.y() - 5),
                  QPoint(centre.x() + 7, centre.y() + 5)}));
    painter.setPen(QColor(pictureMagenta));
    painter.drawText(QRect(4, logo.top(), logo.left() - 8, logo.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tovrik 1.00"));
    painter.end();
    return image;
}
