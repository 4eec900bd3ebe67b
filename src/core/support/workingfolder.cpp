#include "support/workingfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace WorkingFolder {

QString problem(const QString &path)
{
    const QFileInfo fi(path);
    if (fi.isSymLink())
        return QCoreApplication::translate("FolderMirror", "“%1”是符号链接，不会经由它删除、改名或写入文件")
            .arg(QDir::toNativeSeparators(path));
    if (fi.exists() && !fi.isDir())
        return QCoreApplication::translate("FolderMirror", "“%1”不是文件夹，无法用作图片文件夹")
            .arg(QDir::toNativeSeparators(path));
    return QString();
}

}  // namespace WorkingFolder
