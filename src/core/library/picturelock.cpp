#include "library/picturelock.h"

#include "library/regularfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace PictureLock {

namespace {

struct Hold {
    int fd = -1;
    int count = 0;
    bool exclusive = false;
};

QHash<QString, Hold> &holds()
{
    static QHash<QString, Hold> h;
    return h;
}

QString keyOf(const QString &projectFolder)
{
    return QDir::cleanPath(QDir(projectFolder).absolutePath());
}

#ifdef Q_OS_UNIX
// Never through a link, never blocking on a FIFO, and nothing but a regular file is locked.
// Close-on-exec: a program started by this one must not keep the lock alive after it ends.
int openLockFile(const QString &file)
{
    const int fd = RegularFile::openDescriptor(file, O_RDWR | O_CREAT | O_NOFOLLOW);
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        return RegularFile::openDescriptor(file, O_RDONLY | O_NOFOLLOW);
    return fd;
}

bool lockFd(int fd, bool exclusive)
{
    for (;;) {
        if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}
#endif

}  // namespace

QString path(const QString &projectFolder)
{
    return projectFolder + QStringLiteral("/tempImages.lock");
}

Status take(const QString &projectFolder, bool exclusive)
{
#ifdef Q_OS_UNIX
    const QString key = keyOf(projectFolder);
    auto it = holds().find(key);
    if (it != holds().end()) {
        if (exclusive && !it->exclusive) {
            if (!lockFd(it->fd, true))
                return Busy;
            it->exclusive = true;
        }
        ++it->count;
        return Taken;
    }
    const int fd = openLockFile(path(key));
    if (fd < 0)
        return Unusable;
    if (!lockFd(fd, exclusive)) {
        ::close(fd);
        return Busy;
    }
    holds().insert(key, Hold{fd, 1, exclusive});
    return Taken;
#else
    Q_UNUSED(projectFolder);
    Q_UNUSED(exclusive);
    return Taken;
#endif
}

Status takeWaiting(const QString &projectFolder, bool exclusive, int waitMs, bool (*giveUp)(const QString &))
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const Status s = take(projectFolder, exclusive);
        if (s != Busy || clock.elapsed() >= waitMs || (giveUp && giveUp(projectFolder)))
            return s;
        QThread::msleep(20);
    }
}

void share(const QString &projectFolder)
{
#ifdef Q_OS_UNIX
    auto it = holds().find(keyOf(projectFolder));
    if (it != holds().end() && it->exclusive && lockFd(it->fd, false))
        it->exclusive = false;
#else
    Q_UNUSED(projectFolder);
#endif
}

void release(const QString &projectFolder)
{
#ifdef Q_OS_UNIX
    auto it = holds().find(keyOf(projectFolder));
    if (it == holds().end() || --it->count > 0)
        return;
    // Closing the last descriptor lets go of the lock.
    ::close(it->fd);
    holds().erase(it);
#else
    Q_UNUSED(projectFolder);
#endif
}

bool heldHere(const QString &projectFolder)
{
    return holds().contains(keyOf(projectFolder));
}

Scoped::Scoped(const QString &projectFolder, int waitMs)
    : m_folder(projectFolder), m_status(takeWaiting(projectFolder, true, waitMs))
{
}

Scoped::~Scoped()
{
    if (m_status == Taken)
        release(m_folder);
}

}  // namespace PictureLock
