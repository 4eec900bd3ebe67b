#include "file/foldermirror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool copyFolderTree(const QString &src, const QString &dst)
{
    const QDir from(src);
    if (!from.exists() || !QDir().mkpath(dst))
        return false;
    const QFileInfoList entries =
        from.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &fi : entries) {
        const QString target = dst + QLatin1Char('/') + fi.fileName();
        if (fi.isSymLink())
            continue;  // a project folder holds plain files; links are not followed
        if (fi.isDir()) {
            if (!copyFolderTree(fi.filePath(), target))
                return false;
        } else if (!QFile::copy(fi.filePath(), target)) {
            return false;
        }
    }
    return true;
}

bool mirrorFolder(const QString &src, const QString &dst)
{
    if (!QFileInfo(src).isDir())
        return false;
    const QString cleanDst = QDir::cleanPath(dst);
    const QString fresh = cleanDst + QStringLiteral(".new");
    const QString old = cleanDst + QStringLiteral(".old");
    QDir(fresh).removeRecursively();
    if (!copyFolderTree(src, fresh)) {
        QDir(fresh).removeRecursively();
        return false;
    }
    QDir(old).removeRecursively();
    const bool hadDst = QFileInfo::exists(cleanDst);
    if (hadDst && !QDir().rename(cleanDst, old)) {
        QDir(fresh).removeRecursively();
        return false;
    }
    if (!QDir().rename(fresh, cleanDst)) {
        if (hadDst)
            QDir().rename(old, cleanDst);
        QDir(fresh).removeRecursively();
        return false;
    }
    QDir(old).removeRecursively();
    return true;
}
