#pragma once

#include <QSettings>
#include <QString>

// The language choice in "./config/system.ini" (relative to the working folder).
class SystemSettings {
public:
    SystemSettings();

    int languageId() const { return m_languageId; }
    QString languagePath() const { return m_languagePath; }
    bool setLanguage(int id, const QString &path);

    static QString fileName();

private:
    QSettings m_settings;
    int m_languageId = 1;
    QString m_languagePath;
};
