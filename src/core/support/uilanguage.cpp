#include "support/uilanguage.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>

namespace UiLanguage {

QString portableSettingsFileName()
{
    return QStringLiteral("./config/system.ini");
}

QString settingsFileName()
{
    if (QFile::exists(portableSettingsFileName()))
        return portableSettingsFileName();
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    // No home folder at all: fall back to the working folder rather than the file system root.
    if (config.isEmpty())
        return portableSettingsFileName();
    return config + QStringLiteral("/tavo/system.ini");
}

QString translationPathFromSettings()
{
    const QString file = settingsFileName();
    if (!QFile::exists(file))
        return QString();
    const QSettings settings(file, QSettings::IniFormat);
    return settings.value(QStringLiteral("Language/Path")).toString();
}

QString qtTranslationsPath()
{
#if QT_VERSION_MAJOR >= 6
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

void install(QTranslator &own, QTranslator &qt, const QString &path)
{
    QCoreApplication::removeTranslator(&own);
    QCoreApplication::removeTranslator(&qt);
    // Loading clears the old texts first, so an empty or unreadable path leaves the Chinese
    // source texts.
    (void)own.load(path);
    // Qt's texts are English already. Chinese ones come from Qt's catalogue: "qt_" gathers the
    // modules' files, "qtbase_" is the part the widgets use.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    if (own.isEmpty()) {
        if (!qt.load(chinese, QStringLiteral("qt"), QStringLiteral("_"), qtTranslationsPath()))
            (void)qt.load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), qtTranslationsPath());
    } else {
        (void)qt.load(QString());
    }
    if (!qt.isEmpty())
        QCoreApplication::installTranslator(&qt);
    // Installed even when empty: the install is what tells every widget to set its texts again.
    QCoreApplication::installTranslator(&own);
}

}  // namespace UiLanguage
