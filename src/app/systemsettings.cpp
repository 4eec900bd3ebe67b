#include "systemsettings.h"

#include "support/uilanguage.h"

#include <QFile>

QString SystemSettings::portableFileName()
{
    return UiLanguage::portableSettingsFileName();
}

QString SystemSettings::fileName()
{
    return UiLanguage::settingsFileName();
}

SystemSettings::SystemSettings()
    : m_settings(fileName(), QSettings::IniFormat)
{
    if (!QFile::exists(m_settings.fileName())) {
        m_languageId = 1;
        m_languagePath.clear();
        m_settings.setValue(QStringLiteral("Language/ID"), 1);
        m_settings.setValue(QStringLiteral("Language/Path"), QString());
        m_settings.sync();
    }
    m_languageId = m_settings.value(QStringLiteral("Language/ID")).toInt();
    m_languagePath = m_settings.value(QStringLiteral("Language/Path")).toString();
}

bool SystemSettings::setLanguage(int id, const QString &path)
{
    m_languageId = id;
    m_languagePath = path;
    m_settings.setValue(QStringLiteral("Language/ID"), id);
    m_settings.setValue(QStringLiteral("Language/Path"), path);
    m_settings.sync();
    return true;
}
