#include "recentprojects.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const char *const Key = "Recent/projects";

// One spelling per file, so the same project opened by another path is listed once.
QString canonical(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

RecentProjects::RecentProjects(const QString &settingsFile) : m_file(settingsFile) {}

QStringList RecentProjects::paths() const
{
    const QSettings s(m_file, QSettings::IniFormat);
    QStringList list = s.value(QLatin1String(Key)).toStringList();
    list.removeAll(QString());
    list.removeDuplicates();
    return list.mid(0, Max);
}

void RecentProjects::add(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString file = canonical(path);
    QStringList list = paths();
    list.removeAll(file);
    list.prepend(file);
    store(list.mid(0, Max));
}

void RecentProjects::remove(const QString &path)
{
    QStringList list = paths();
    list.removeAll(canonical(path));
    store(list);
}

void RecentProjects::removeMissing()
{
    QStringList list = paths();
    for (int i = list.size() - 1; i >= 0; --i) {
        if (!QFileInfo(list.at(i)).isFile())
            list.removeAt(i);
    }
    store(list);
}

void RecentProjects::clear()
{
    store({});
}

void RecentProjects::store(const QStringList &paths)
{
    QSettings s(m_file, QSettings::IniFormat);
    s.setValue(QLatin1String(Key), paths);
    s.sync();
}
