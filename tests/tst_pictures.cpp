#include "forms/qt/controls.h"
#include "tests/rules.h"
#include "tests/windowfixture.h"

#include <QFile>
#include <QSet>
#include <QtEndian>

using namespace tovrik;

class tst_Pictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void bitmap_data();
    void bitmap();
    void picturesFillTheirControls();
    void everyRuleDrawn_data();
    void everyRuleDrawn();
    void clickSwapsTheNotice();

private:
    std::unique_ptr<Quendal> m_window;
};

namespace {

const QRgb grey = qRgb(192, 192, 192);
const QRgb magenta = qRgb(255, 0, 255);
const QRgb yellow = qRgb(255, 255, 0);

QSet<QRgb> coloursOf(const QImage &image)
{
    QSet<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            colours.insert(line[x] | 0xFF000000);
    }
    return colours;
}

} // namespace

void tst_Pictures::initTestCase()
{
    initializeLikeTheProgram();
    m_window = showQuendal();
}

void tst_Pictures::bitmap_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("yellowAllowed");

    QTest::newRow("reference table") << "reference.bmp" << QSize(138, 492) << false;
    QTest::newRow("terms") << "terms.bmp" << QSize(175, 141) << false;
    QTest::newRow("contact") << "contact.bmp" << QSize(183, 137) << true;
}

void tst_Pictures::bitmap()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(bool, yellowAllowed);

    QFile bmp(QStringLiteral(":/pictures/") + file);
    QVERIFY(bmp.open(QIODevice::ReadOnly));
    const QByteArray data = bmp.readAll();
    QVERIFY(data.startsWith("BM"));
    const char *info = data.constData() + 14;
    QCOMPARE(qFromLittleEndian<quint32>(info), 40u); // BITMAPINFOHEADER
    QCOMPARE(qFromLittleEndian<qint32>(info + 4), size.width());
    QCOMPARE(qFromLittleEndian<qint32>(info + 8), size.height()); // bottom-up
    QCOMPARE(qFromLittleEndian<quint16>(info + 14), quint16(24));
    QCOMPARE(qFromLittleEndian<quint32>(info + 16), 0u); // uncompressed

    QSet<QRgb> allowed {grey, magenta};
    if (yellowAllowed)
        allowed.insert(yellow);
    const QSet<QRgb> colours = coloursOf(QImage::fromData(data, "BMP"));
    QVERIFY(colours.contains(grey));
    QVERIFY(colours.contains(magenta));
    QCOMPARE(colours.contains(yellow), yellowAllowed);
    QVERIFY(allowed.contains(colours));
}

// Nothing of the window shows through a picture: every pixel of the control is the picture's.
void tst_Pictures::picturesFillTheirControls()
{
    const Quendal &w = *m_window;
    for (const Image &control :
         {w.Image1, w.Image2, w.Image3, w.Image8, w.Image6, w.Image7, w.Image5}) {
        auto *image = widget<ImageControl>(control);
        QVERIFY2(!image->picture().empty(), qPrintable(image->objectName()));
        const QSet<QRgb> colours = coloursOf(image->grab().toImage());
        QVERIFY2(QSet<QRgb>({grey, magenta, yellow}).contains(colours),
                 qPrintable(image->objectName()));
    }
    const auto picture = [](const Image &image) { return widget<ImageControl>(image)->picture(); };
    QCOMPARE(QSize(picture(w.Image1).width, picture(w.Image1).height), QSize(138, 492));
    QCOMPARE(widget(w.Image1)->size(), QSize(137, 479));
    QCOMPARE(picture(w.Image2).pixels, picture(w.Image7).pixels);
    QCOMPARE(picture(w.Image3).pixels, picture(w.Image5).pixels);
}

// A rule around every cell of the reference sheet, at 96 dpi (drawn a little smaller than the
// picture) and at 192 dpi: on the screen, and as every backend stretches it.
void tst_Pictures::everyRuleDrawn_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("96 dpi") << QSize(137, 479);
    QTest::newRow("192 dpi") << QSize(274, 958);
    QTest::newRow("a third smaller") << QSize(92, 328);
}

void tst_Pictures::everyRuleDrawn()
{
    QFETCH(QSize, size);
    const Picture &sheet = widget<ImageControl>(m_window->Image1)->picture();
    const auto rules = [](const Picture &picture) {
        return rulesOf(picture.width, picture.height,
                       [&](int x, int y) { return picture.at(x, y) == (magenta & 0xFFFFFF); });
    };
    const Rules drawn = rules(sheet);
    QCOMPARE(drawn, (Rules {23, 3})); // the title's double rule, 21 of the table; 3 down it
    QCOMPARE(rules(stretchKeepingLines(sheet, size.width(), size.height())), drawn);

    const QImage screen = widget(m_window->Image1)->grab().toImage();
    QCOMPARE(rulesOf(screen.width(), screen.height(),
                     [&](int x, int y) { return screen.pixel(x, y) == magenta; }),
             drawn);
}

void tst_Pictures::clickSwapsTheNotice()
{
    Quendal &w = *m_window;
    QWidget *window = nativeWindow(w);
    QVERIFY(!coloursOf(window->grab().toImage()).contains(yellow));
    QTest::mouseClick(widget(w.Image2), Qt::LeftButton);
    QVERIFY(coloursOf(window->grab().toImage()).contains(yellow)); // the contact notice's logo
    QTest::mouseClick(widget(w.Image3), Qt::LeftButton);
    QVERIFY(!coloursOf(window->grab().toImage()).contains(yellow));
}

QTEST_MAIN(tst_Pictures)
#include "tst_pictures.moc"
