#pragma once

#include <QString>
#include <QStringList>

// The projects opened last, newest first, kept in the settings file between runs.
class RecentProjects {
public:
    static constexpr int Max = 8;

    explicit RecentProjects(const QString &settingsFile);

    QStringList paths() const;
    // Puts the project first, once; the oldest beyond Max fall off.
    void add(const QString &path);
    void remove(const QString &path);
    // Takes off every project whose file is not there any more.
    void removeMissing();
    void clear();

private:
    void store(const QStringList &paths);

    QString m_file;
};
