// Draws the artwork that the program embeds and the desktop installs, into the given
// resources folder. The output is committed; run this again after changing a drawing.

#include "tools/artwork/icon.h"
#include "tools/artwork/pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tovrik-artwork RESOURCES-FOLDER\n");
        return 2;
    }
    const QDir resources(QString::fromLocal8Bit(argv[1]));
    resources.mkpath(QStringLiteral("icons"));

    // Two sizes at 8 bits, then three each at 24 and 32 bits.
    const QList<IconEntry> entries {{32, 8},  {16, 8},  {48, 24}, {32, 24},
                                    {16, 24}, {48, 32}, {32, 32}, {16, 32}};
    bool ok = write(resources.filePath(QStringLiteral("icons/tovrik.ico")), encodeIco(entries));
    for (const int size : {16, 32, 48, 128}) {
        const QString path = resources.filePath(QStringLiteral("icons/tovrik-%1.png").arg(size));
        ok = drawIcon(size).save(path) && ok;
    }

    resources.mkpath(QStringLiteral("pictures"));
    const std::pair<const char *, QImage> pictures[] = {
        {"pictures/reference.bmp", drawReferenceTable()},
        {"pictures/terms.bmp", drawTermsNotice()},
        {"pictures/contact.bmp", drawContactNotice()},
    };
    for (const auto &[name, image] : pictures) {
        // 24 bits a pixel: the stored bitmap holds colour only.
        const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
        ok = rgb.save(resources.filePath(QString::fromLatin1(name)), "BMP") && ok;
    }
    return ok ? 0 : 1;
}
