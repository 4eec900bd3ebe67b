#include "file/projectfolders.h"

#include "file/foldermirror.h"

#include <QDir>

namespace ProjectFolders {

namespace {

int fileCount(const QString &folder)
{
    return int(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).size());
}

bool needsRestore(const QString &projectFolder)
{
    return fileCount(pictures(projectFolder)) == 0 && fileCount(backup(projectFolder)) > 0;
}

}  // namespace

QString pictures(const QString &projectFolder)
{
    return projectFolder + QStringLiteral("/tempImages");
}

QString backup(const QString &projectFolder)
{
    return projectFolder + QStringLiteral("/backUpImages");
}

QString picturesToRead(const QString &projectFolder)
{
    return needsRestore(projectFolder) ? backup(projectFolder) : pictures(projectFolder);
}

int restorePicturesFromBackup(const QString &projectFolder, QString *error)
{
    if (!needsRestore(projectFolder))
        return 0;
    if (!mirrorFolder(backup(projectFolder), pictures(projectFolder), error))
        return -1;
    return fileCount(pictures(projectFolder));
}

bool picturesChangedSinceSave(const QString &projectFolder)
{
    const QDir::Filters filter = QDir::Files | QDir::Hidden | QDir::System;
    const QFileInfoList work = QDir(pictures(projectFolder)).entryInfoList(filter, QDir::Name);
    const QFileInfoList saved = QDir(backup(projectFolder)).entryInfoList(filter, QDir::Name);
    if (work.size() != saved.size())
        return true;
    for (int i = 0; i < work.size(); ++i) {
        if (work.at(i).fileName() != saved.at(i).fileName() || work.at(i).size() != saved.at(i).size())
            return true;
    }
    return false;
}

}  // namespace ProjectFolders
