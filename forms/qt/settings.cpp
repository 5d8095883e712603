#include "forms/backend.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tovrik {

namespace {

// ~/.config/Tovrik/Tovrik.conf, as Qt names a native settings file on Linux, written in Qt's INI
// format whatever the system.
QString settingsFile(const std::string &place)
{
    const QString name = QString::fromStdString(place);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".conf");
}

QString keyOf(const std::vector<std::string> &words)
{
    QStringList parts;
    for (const std::string &word : words)
        parts << QString::fromStdString(word);
    return parts.join(QLatin1Char('/'));
}

// Whether the file cannot be read as settings. Qt reads a file again only when its size or time
// has changed, and tells of one it could not read only the first QSettings to read it: what that
// one found is kept here for as long as the file is unchanged by the same marks.
bool damaged(const QSettings &settings, const QString &path)
{
    struct Reading
    {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        bool damaged = false;
    };
    static Reading last;
    const QFileInfo file(path);
    bool unreadable = settings.status() != QSettings::NoError;
    if (!unreadable && last.path == path && last.size == file.size()
        && last.modified == file.lastModified())
        unreadable = last.damaged;
    last = {path, file.size(), file.lastModified(), unreadable};
    return unreadable;
}

} // namespace

Setting readStoredSetting(const std::string &place, const std::vector<std::string> &words)
{
    const QString path = settingsFile(place);
    const QSettings settings(path, QSettings::IniFormat);
    if (damaged(settings, path))
        return {Setting::Damaged, {}};
    const QString key = keyOf(words);
    if (!settings.contains(key))
        return {};
    // What Tovrik writes reads back as a string; a list ("a, b"), @ByteArray or @Variant is not.
    const QVariant value = settings.value(key);
    if (value.typeId() != QMetaType::QString)
        return {Setting::Damaged, {}};
    return {Setting::Present, value.toString().toStdString()};
}

// The first QSettings to open a changed file reads it and keeps any fault it found for good; a
// second, opened after it, has a status that tells of its own writing alone. Qt writes back what
// it could read of a damaged file, with the value.
bool writeStoredSetting(const std::string &place, const std::vector<std::string> &words,
                        std::string_view value)
{
    const QString path = settingsFile(place);
    {
        const QSettings reader(path, QSettings::IniFormat);
        damaged(reader, path);
    }
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(keyOf(words),
                      QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

// The file goes, damaged or not (an empty folder in its place too), and its folder if nothing
// else is in it.
bool clearStoredSettings(const std::string &place)
{
    const QString path = settingsFile(place);
    QFileInfo file(path);
    if (file.isDir() && !file.isSymLink())
        QDir().rmdir(path);
    else if (file.exists() || file.isSymLink())
        QFile::remove(path);
    QDir().rmdir(file.absolutePath());
    file.refresh();
    return !file.exists() && !file.isSymLink();
}

} // namespace tovrik
