#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// The demo project copied into folder, so its files can be changed. Files already there are kept,
// so a second copy only brings back what was removed.
inline bool copyDemoTo(const QString &folder, QString *project)
{
    const QString src = QStringLiteral(TAVO_EXAMPLES "/demo");
    QDirIterator it(src, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = folder + QLatin1Char('/') + QDir(src).relativeFilePath(from);
        QDir().mkpath(QFileInfo(to).absolutePath());
        if (!QFileInfo::exists(to) && !QFile::copy(from, to))
            return false;
    }
    *project = folder + QStringLiteral("/demo.Tavo");
    return QFileInfo::exists(*project);
}

inline bool copyDemo(const QTemporaryDir &dir, QString *project) { return copyDemoTo(dir.path(), project); }
