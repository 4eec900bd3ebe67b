#include "file/foldermirror.h"

#include "support/workingfolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <map>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The copy carries the source's modification time, so a later mirror can tell it unchanged.
bool copyFile(const QString &src, const QString &dst, const QDateTime &modified)
{
    if (!QFile::copy(src, dst))
        return false;
    QFile f(dst);
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(modified, QFileDevice::FileModificationTime);
    return true;
}

// A file the destination already holds unchanged (same size and time) is linked into the new
// copy instead of copied again: opening a project of hundreds of large pictures would otherwise
// copy them all each time. The old destination stays whole until the swap.
bool reuseUnchanged(const QFileInfo &src, const QString &previous, const QString &target)
{
#ifdef Q_OS_UNIX
    if (previous.isEmpty())
        return false;
    const QFileInfo old(previous);
    if (!old.isFile() || old.isSymLink() || old.size() != src.size() || old.lastModified() != src.lastModified())
        return false;
    return ::link(QFile::encodeName(previous).constData(), QFile::encodeName(target).constData()) == 0;
#else
    Q_UNUSED(src) Q_UNUSED(previous) Q_UNUSED(target)
    return false;
#endif
}

bool copyTree(const QString &src, const QString &dst, const QString &previous)
{
    const QDir from(src);
    if (!from.exists() || !QDir().mkpath(dst))
        return false;
    const QFileInfoList entries =
        from.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &fi : entries) {
        const QString target = dst + QLatin1Char('/') + fi.fileName();
        const QString before = previous.isEmpty() ? QString() : previous + QLatin1Char('/') + fi.fileName();
        if (fi.isSymLink())
            continue;  // a project folder holds plain files; links are not followed
        if (fi.isDir()) {
            if (!copyTree(fi.filePath(), target, before))
                return false;
        } else if (!fi.isFile()) {
            continue;  // FIFOs, sockets and devices: opening one to copy it could wait forever
        } else if (!reuseUnchanged(fi, before, target) && !copyFile(fi.filePath(), target, fi.lastModified())) {
            return false;
        }
    }
    return true;
}

#ifdef Q_OS_UNIX
// What lstat says of every entry of a folder, by name, in one pass over the folder (no path is
// built or resolved per file); false when the folder cannot be listed.
struct EntryLook {
    bool link = false;
    bool dir = false;
    bool file = false;
    qint64 size = 0;
    qint64 modifiedMs = 0;
};

bool lookAll(const QString &path, std::map<QByteArray, EntryLook> *out)
{
    DIR *d = ::opendir(QFile::encodeName(path).constData());
    if (!d)
        return false;
    bool ok = true;
    while (const dirent *e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        struct stat st;
        if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            ok = false;
            break;
        }
        EntryLook look;
        look.link = S_ISLNK(st.st_mode);
        look.dir = S_ISDIR(st.st_mode);
        look.file = S_ISREG(st.st_mode);
        look.size = qint64(st.st_size);
        look.modifiedMs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        out->emplace(QByteArray(e->d_name), look);
    }
    ::closedir(d);
    return ok;
}

// Whether dst already holds what copyTree would make of src: the same names, each file of the
// same size and time (a copy carries it to the millisecond), nothing more. Opening a project
// mirrors its pictures each time; most times nothing changed, and rebuilding the copy of hundreds
// of files would be work for nothing.
bool sameTree(const QString &src, const QString &dst)
{
    const QFileInfo top(dst);
    if (!top.isDir() || top.isSymLink())
        return false;
    std::map<QByteArray, EntryLook> mine, theirs;
    if (!lookAll(src, &mine) || !lookAll(dst, &theirs))
        return false;
    std::size_t copied = 0;
    for (const auto &entry : mine) {
        const EntryLook &look = entry.second;
        if (look.link || (!look.dir && !look.file))
            continue;  // left out of a copy
        ++copied;
        const auto other = theirs.find(entry.first);
        if (other == theirs.end() || other->second.link)
            return false;
        const QString name = QFile::decodeName(entry.first);
        if (look.dir) {
            if (!other->second.dir || !sameTree(src + QLatin1Char('/') + name, dst + QLatin1Char('/') + name))
                return false;
        } else if (!other->second.file || other->second.size != look.size ||
                   other->second.modifiedMs != look.modifiedMs) {
            return false;
        }
    }
    return copied == theirs.size();
}
#else
// Whether dst already holds what copyTree would make of src (see above).
bool sameTree(const QString &src, const QString &dst)
{
    const QFileInfo top(dst);
    if (!top.isDir() || top.isSymLink())
        return false;
    const QDir::Filters filters = QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    const QFileInfoList theirs = QDir(dst).entryInfoList(filters, QDir::Name);
    int copied = 0;
    int at = 0;
    for (const QFileInfo &fi : QDir(src).entryInfoList(filters, QDir::Name)) {
        if (fi.isSymLink() || (!fi.isDir() && !fi.isFile()))
            continue;
        ++copied;
        while (at < theirs.size() && theirs.at(at).fileName() != fi.fileName())
            ++at;
        if (at >= theirs.size())
            return false;
        const QFileInfo &other = theirs.at(at++);
        if (other.isSymLink())
            return false;
        if (fi.isDir()) {
            if (!other.isDir() || !sameTree(fi.filePath(), other.filePath()))
                return false;
        } else if (!other.isFile() || other.size() != fi.size() ||
                   other.lastModified().toMSecsSinceEpoch() != fi.lastModified().toMSecsSinceEpoch()) {
            return false;
        }
    }
    return copied == theirs.size();
}
#endif

}  // namespace

bool copyFolderTree(const QString &src, const QString &dst)
{
    return copyTree(src, dst, QString());
}

QString workingFolderProblem(const QString &path)
{
    return WorkingFolder::problem(path);
}

bool removeFolderTree(const QString &path)
{
    const QFileInfo fi(path);
    if (fi.isSymLink())
        return false;
    if (!fi.exists())
        return true;
    // QDir removes what lies inside without following links; only the top needs the check above.
    return QDir(path).removeRecursively();
}

bool mirrorFolder(const QString &src, const QString &dst, QString *error)
{
    if (!QFileInfo(src).isDir())
        return false;
    const QString cleanDst = QDir::cleanPath(dst);
    const QString fresh = cleanDst + QStringLiteral(".new");
    const QString old = cleanDst + QStringLiteral(".old");
    for (const QString &name : {cleanDst, fresh, old}) {
        const QString problem = workingFolderProblem(name);
        if (!problem.isEmpty()) {
            if (error)
                *error = problem;
            return false;
        }
    }
    if (!QFileInfo::exists(fresh) && !QFileInfo::exists(old) && sameTree(src, cleanDst))
        return true;
    if (!removeFolderTree(fresh))
        return false;
    if (!copyTree(src, fresh, QFileInfo(cleanDst).isDir() ? cleanDst : QString())) {
        removeFolderTree(fresh);
        return false;
    }
    if (!removeFolderTree(old)) {
        removeFolderTree(fresh);
        return false;
    }
    const bool hadDst = QFileInfo::exists(cleanDst);
    if (hadDst && !QDir().rename(cleanDst, old)) {
        removeFolderTree(fresh);
        return false;
    }
    if (!QDir().rename(fresh, cleanDst)) {
        if (hadDst)
            QDir().rename(old, cleanDst);
        removeFolderTree(fresh);
        return false;
    }
    removeFolderTree(old);
    return true;
}
