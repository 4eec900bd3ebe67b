#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// The demo project copied into a temporary folder, so its files can be changed.
inline bool copyDemo(const QTemporaryDir &dir, QString *project)
{
    const QString src = QStringLiteral(TAVO_EXAMPLES "/demo");
    QDirIterator it(src, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = dir.filePath(QDir(src).relativeFilePath(from));
        QDir().mkpath(QFileInfo(to).absolutePath());
        if (!QFile::copy(from, to))
            return false;
    }
    *project = dir.filePath(QStringLiteral("demo.Tavo"));
    return QFileInfo::exists(*project);
}
