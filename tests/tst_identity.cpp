#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The executable's identity as Windows reads it: the icon file and the compiled version block.
class tst_Identity : public QObject
{
    Q_OBJECT

private slots:
    void iconHoldsTheEightImages();
    void versionBlock_data();
    void versionBlock();

private:
    QByteArray compiledResources(const QString &script);
};

namespace {

// Little-endian reads that yield 0 past the end, so a damaged file fails a comparison instead
// of reading out of bounds.
quint32 byteAt(const QByteArray &data, qsizetype at)
{
    return at >= 0 && at < data.size() ? quint8(data.at(at)) : 0;
}

quint16 u16(const QByteArray &data, qsizetype at)
{
    return quint16(byteAt(data, at) | byteAt(data, at + 1) << 8);
}

quint32 u32(const QByteArray &data, qsizetype at)
{
    return u16(data, at) | quint32(u16(data, at + 2)) << 16;
}

qsizetype align4(qsizetype at)
{
    return (at + 3) & ~qsizetype(3);
}

// A NUL-terminated UTF-16 string at `at`; `at` moves past it.
QString utf16(const QByteArray &data, qsizetype &at)
{
    QString text;
    while (at + 1 < data.size()) {
        const quint16 unit = u16(data, at);
        at += 2;
        if (unit == 0)
            break;
        text += QChar(unit);
    }
    return text;
}

struct Resource
{
    int type;
    int name;
    int language;
    QByteArray data;
};

// The .res format: a header (sizes, type and name as ordinals, language) and data, each
// aligned to four bytes.
QList<Resource> parseRes(const QByteArray &res)
{
    QList<Resource> resources;
    qsizetype at = 0;
    while (at + 32 <= res.size()) {
        const quint32 dataSize = u32(res, at);
        const quint32 headerSize = u32(res, at + 4);
        qsizetype field = at + 8;
        const auto ordinal = [&] {
            if (u16(res, field) == 0xFFFF) {
                const int value = u16(res, field + 2);
                field += 4;
                return value;
            }
            utf16(res, field);
            field = align4(field);
            return -1;
        };
        const int type = ordinal();
        const int name = ordinal();
        const int language = u16(res, align4(field) + 6);
        if (type != 0) // the empty entry that opens every .res file
            resources.append({type, name, language, res.mid(at + headerSize, dataSize)});
        at = align4(at + headerSize + dataSize);
    }
    return resources;
}

// VS_VERSIONINFO: the fixed file info and the strings of every string table, keyed by
// "table/Key".
struct VersionInfo
{
    quint32 signature = 0;
    quint32 fileVersionMs = 0, fileVersionLs = 0, productVersionMs = 0, productVersionLs = 0;
    quint32 fileOs = 0, fileType = 0;
    QMap<QString, QString> strings;
    quint32 translation = 0;
};

void parseBlock(const QByteArray &data, qsizetype at, const QString &path, VersionInfo &info)
{
    const qsizetype end = at + u16(data, at);
    const quint16 valueLength = u16(data, at + 2);
    const quint16 type = u16(data, at + 4);
    qsizetype cursor = at + 6;
    const QString key = utf16(data, cursor);
    cursor = align4(cursor);
    if (key == QLatin1String("VS_VERSION_INFO")) {
        info.signature = u32(data, cursor);
        info.fileVersionMs = u32(data, cursor + 8);
        info.fileVersionLs = u32(data, cursor + 12);
        info.productVersionMs = u32(data, cursor + 16);
        info.productVersionLs = u32(data, cursor + 20);
        info.fileOs = u32(data, cursor + 32);
        info.fileType = u32(data, cursor + 36);
    } else if (key == QLatin1String("Translation")) {
        info.translation = u32(data, cursor);
    } else if (type == 1 && valueLength > 0) {
        qsizetype value = cursor;
        info.strings.insert(path + QLatin1Char('/') + key, utf16(data, value));
        return;
    }
    cursor = align4(cursor + (type == 1 ? valueLength * 2 : valueLength));
    const QString childPath = path.isEmpty() ? key : path + QLatin1Char('/') + key;
    while (cursor < end && u16(data, cursor) > 0) {
        parseBlock(data, cursor, childPath, info);
        cursor = align4(cursor + u16(data, cursor));
    }
}

} // namespace

void tst_Identity::iconHoldsTheEightImages()
{
    QFile file(QStringLiteral(TOVRIK_SOURCE_DIR "/resources/icons/tovrik.ico"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    QCOMPARE(u16(ico, 0), 0);
    QCOMPARE(u16(ico, 2), 1);
    QCOMPARE(u16(ico, 4), 8);

    const QList<std::pair<int, int>> expected {{32, 8},  {16, 8},  {48, 24}, {32, 24},
                                               {16, 24}, {48, 32}, {32, 32}, {16, 32}};
    for (int i = 0; i < expected.size(); ++i) {
        const auto [size, depth] = expected[i];
        const qsizetype entry = 6 + 16 * i;
        QCOMPARE(int(quint8(ico[entry])), size);
        QCOMPARE(int(quint8(ico[entry + 1])), size);
        QCOMPARE(int(u16(ico, entry + 6)), depth);
        const quint32 bytes = u32(ico, entry + 8);
        const quint32 offset = u32(ico, entry + 12);
        QVERIFY(offset + bytes <= quint32(ico.size()));

        // The image itself must agree with its directory entry.
        QCOMPARE(u32(ico, offset), 40u);
        QCOMPARE(int(u32(ico, offset + 4)), size);
        QCOMPARE(int(u32(ico, offset + 8)), 2 * size);
        QCOMPARE(int(u16(ico, offset + 14)), depth);
        const int paletteBytes = depth == 8 ? 256 * 4 : 0;
        const int colourBytes = ((size * depth + 31) / 32) * 4 * size;
        const int maskBytes = ((size + 31) / 32) * 4 * size;
        QCOMPARE(int(bytes), 40 + paletteBytes + colourBytes + maskBytes);
    }
}

QByteArray tst_Identity::compiledResources(const QString &script)
{
    const QString windres = QStringLiteral(TOVRIK_WINDRES);
    if (windres.isEmpty() || windres.endsWith(QLatin1String("NOTFOUND"))) {
        qWarning("x86_64-w64-mingw32-windres not found: install binutils-mingw-w64-x86-64");
        return {};
    }
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("tovrik.res"));
    QProcess process;
    process.setWorkingDirectory(QStringLiteral(TOVRIK_SOURCE_DIR "/resources"));
    process.start(windres,
                  {QStringLiteral("--preprocessor=cpp"), QStringLiteral("-I"),
                   QStringLiteral(TOVRIK_GENERATED_DIR), QStringLiteral("-i"), script,
                   QStringLiteral("-O"), QStringLiteral("res"), QStringLiteral("-o"), output});
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        qWarning("%s", process.readAllStandardError().constData());
        return {};
    }
    QFile file(output);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_Identity::versionBlock_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const struct
    {
        const char *script, *program, *description;
    } programs[] = {
        {"tovrik.rc", "Tovrik", "Tovrik"},
        {"tovrik-size.rc", "tovrik-size", "Tovrik 命令行管径计算（tovrik-size）"},
    };
    for (const auto &p : programs) {
        const QString program = QString::fromUtf8(p.program);
        const std::pair<const char *, QString> values[] = {
            {"FileDescription", QString::fromUtf8(p.description)},
            {"ProductName", QStringLiteral("Tovrik")},
            {"InternalName", program},
            {"OriginalFilename", program + QStringLiteral(".exe")},
            {"FileVersion", QStringLiteral("1.00")},
            {"ProductVersion", QStringLiteral("1.00")},
            {"Comments", QStringLiteral("管道内径计算：压缩空气及各种气体、饱和蒸汽和水")},
        };
        for (const auto &[key, value] : values)
            QTest::addRow("%s %s", p.script, key) << QString::fromUtf8(p.script) << key << value;
    }
}

void tst_Identity::versionBlock()
{
    QFETCH(QString, script);
    QFETCH(QString, key);
    QFETCH(QString, value);

    const QByteArray res = compiledResources(script);
    QVERIFY2(!res.isEmpty(), "the resource script did not compile");
    const QList<Resource> resources = parseRes(res);

    constexpr int rtIcon = 3, rtGroupIcon = 14, rtVersion = 16;
    int icons = 0;
    bool iconGroup = false;
    const Resource *version = nullptr;
    for (const Resource &resource : resources) {
        QCOMPARE(resource.language, 0x0804);
        icons += resource.type == rtIcon;
        iconGroup |= resource.type == rtGroupIcon && resource.name == 1;
        if (resource.type == rtVersion && resource.name == 1)
            version = &resource;
    }
    QCOMPARE(icons, 8);
    QVERIFY(iconGroup);
    QVERIFY(version);

    VersionInfo info;
    parseBlock(version->data, 0, QString(), info);
    QCOMPARE(info.signature, 0xFEEF04BDu);
    QCOMPARE(info.fileVersionMs, 0x00010000u);
    QCOMPARE(info.fileVersionLs, 0u);
    QCOMPARE(info.productVersionMs, 0x00010000u);
    QCOMPARE(info.productVersionLs, 0u);
    QCOMPARE(info.fileOs, 0x4u);
    QCOMPARE(info.fileType, 0x1u);
    QCOMPARE(info.translation, 0x04B00804u); // language 0x0804, code page 1200
    QCOMPARE(info.strings.value(QStringLiteral("VS_VERSION_INFO/StringFileInfo/080404B0/") + key),
             value);
    for (const QString &required :
         {QStringLiteral("CompanyName"), QStringLiteral("LegalCopyright")})
        QVERIFY(!info.strings
                     .value(QStringLiteral("VS_VERSION_INFO/StringFileInfo/080404B0/") + required)
                     .isEmpty());
}

QTEST_APPLESS_MAIN(tst_Identity)
#include "tst_identity.moc"
