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

int restorePicturesFromBackup(const QString &projectFolder)
{
    if (!needsRestore(projectFolder))
        return 0;
    if (!mirrorFolder(backup(projectFolder), pictures(projectFolder)))
        return -1;
    return fileCount(pictures(projectFolder));
}

}  // namespace ProjectFolders
