#include "forms/thunrt.h"

#include "forms/form.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include <cstdio>

namespace tovrik {

namespace {

QString localeName(int lcid)
{
    switch (lcid) {
    case 0x804: return QStringLiteral("zh_CN");
    case 0x404: return QStringLiteral("zh_TW");
    default: return QStringLiteral("en_US");
    }
}

// The program's own texts are in the project's language, so the runtime's texts (the message
// box's button, the text fields' context menu) follow that language, not the system's.
void installTranslation(const QString &locale)
{
    auto *translator = new QTranslator(qApp);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QStringLiteral("qtbase_") + locale, folder)) {
        QCoreApplication::installTranslator(translator);
        return;
    }
    delete translator;
    std::fprintf(stderr,
                 "Tovrik: Qt's %s translation (qtbase_%s.qm) was not found in %s; buttons and "
                 "menus will be in English. Install the package qt6-translations-l10n.\n",
                 qPrintable(locale), qPrintable(locale), qPrintable(folder));
}

} // namespace

void initializeRuntime(const ProjectHeader &header)
{
    QCoreApplication::setApplicationName(QString::fromUtf8(header.title));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(header.version));
    // So that a Wayland compositor matches the window to its desktop entry and icon.
    if (header.applicationId)
        QGuiApplication::setDesktopFileName(QString::fromUtf8(header.applicationId));
    if (header.icon)
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/") + QString::fromUtf8(header.icon)));

    // The captions are laid out for SimSun, whose Chinese glyphs are exactly twice as wide as
    // its Latin glyphs and blanks; AR PL UMing has the same proportions.
    const QStringList substitutes {QStringLiteral("AR PL UMing CN"),
                                   QStringLiteral("Noto Serif CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), substitutes);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), substitutes);
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(9.0);
    // SimSun is drawn from its bitmap strikes, one colour and crisp; smoothing the thin strokes
    // of its substitute would only grey them.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferBitmap | QFont::NoAntialias));
    QApplication::setFont(font);

    if (QStyle *style = QStyleFactory::create(QStringLiteral("Windows"))) {
        QApplication::setStyle(style);
        QApplication::setPalette(style->standardPalette());
    }
    installTranslation(localeName(header.locale));
}

int ThunRTMain(const ProjectHeader &header)
{
    // Qt may take its own options from argv; the program itself reads none.
    int argc = 1;
    char name[64];
    std::snprintf(name, sizeof name, "%s", header.executableName);
    char *argv[] = {name, nullptr};
    QApplication application(argc, argv);
    initializeRuntime(header);

    std::unique_ptr<Form> form = header.createStartupForm();
    form->load();
    form->show();
    return QApplication::exec();
}

} // namespace tovrik
