#pragma once

#include <QSettings>
#include <QString>

// The language choice. "./config/system.ini" in the working folder is used when it exists there
// (a portable copy carries its settings along); otherwise the file lives in the user's XDG
// config folder as "tavo/system.ini", so a start from the desktop menu leaves no "config" folder
// in whatever folder it started in.
class SystemSettings {
public:
    SystemSettings();

    int languageId() const { return m_languageId; }
    QString languagePath() const { return m_languagePath; }
    bool setLanguage(int id, const QString &path);

    // The file itself, for what the window keeps between runs.
    QSettings &settings() { return m_settings; }

    // The file the settings of a start in the current working folder go to.
    static QString fileName();
    static QString portableFileName();

private:
    QSettings m_settings;
    int m_languageId = 1;
    QString m_languagePath;
};
