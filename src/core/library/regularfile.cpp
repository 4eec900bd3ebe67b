#include "library/regularfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <limits>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace RegularFile {

#ifdef Q_OS_UNIX
int openDescriptor(const QString &path, int flags, qint64 *size)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    if (size)
        *size = st.st_size;
    return fd;
}

namespace {

// A descriptor open for reading when what was opened is a regular file, else -1.
int openRegular(const QString &path, qint64 *size = nullptr)
{
    return openDescriptor(path, O_RDONLY, size);
}

}  // namespace
#endif

bool isRegular(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
#else
    return QFileInfo(path).isFile();
#endif
}

bool open(const QString &path, QFile *file)
{
    if (!isRegular(path))
        return false;
#ifdef Q_OS_UNIX
    const int fd = openRegular(path);
    if (fd < 0)
        return false;
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    file->setFileName(path);
    return file->open(QIODevice::ReadOnly);
#endif
}

bool readStart(const QString &path, int maxBytes, QByteArray *data, qint64 *fileSize, bool typeKnown)
{
    data->clear();
    *fileSize = 0;
#ifdef Q_OS_UNIX
    if (!typeKnown && !isRegular(path))
        return false;
    const int fd = openRegular(path, fileSize);
    if (fd < 0)
        return false;
    data->resize(int(qBound(qint64(0), *fileSize, qint64(maxBytes))));
    qint64 got = 0;
    while (got < data->size()) {
        const ssize_t n = ::read(fd, data->data() + got, size_t(data->size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            data->clear();
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    data->resize(int(got));
    return true;
#else
    Q_UNUSED(typeKnown);
    QFile file;
    if (!open(path, &file))
        return false;
    *fileSize = file.size();
    *data = file.read(maxBytes);
    return true;
#endif
}

bool readAtMost(const QString &path, qint64 maxBytes, QByteArray *data)
{
    data->clear();
    QFile file;
    if (!open(path, &file))
        return false;
    // Limits are far below 2 GiB, the most a QByteArray holds.
    const qint64 wanted = qBound(qint64(0), maxBytes, qint64(std::numeric_limits<int>::max() - 1)) + 1;
    // The size on disk says how much to expect; a sparse or growing file may say otherwise.
    data->resize(int(qMin<qint64>(wanted, qMax<qint64>(0, file.size()))));
    qint64 got = 0;
    while (got < wanted) {
        if (got == data->size())
            data->resize(int(qMin<qint64>(wanted, qMax<qint64>(got * 2, 64 * 1024))));
        const qint64 n = file.read(data->data() + got, data->size() - got);
        if (n < 0) {
            data->clear();
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    data->resize(int(got));
    return true;
}

QString skippedWarning(const QString &path)
{
    return QCoreApplication::translate("RegularFile", "%1不是普通文件，已跳过！").arg(QFileInfo(path).fileName());
}

QString writeRefusal(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QString();
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("'%1' is a symbolic link; give the file itself").arg(path);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("'%1' is not a regular file").arg(path);
    return QString();
#else
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("'%1' is a symbolic link; give the file itself").arg(path);
    if (info.exists() && !info.isFile())
        return QStringLiteral("'%1' is not a regular file").arg(path);
    return QString();
#endif
}

bool openForWriting(const QString &path, QFile *file, QIODevice::OpenMode mode, QString *error)
{
    *error = writeRefusal(path);
    if (!error->isEmpty())
        return false;
#ifdef Q_OS_UNIX
    const bool append = mode & QIODevice::Append;
    // The look above and this open are apart: the open itself refuses a link swapped in, and the
    // opened file is checked again.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (append ? O_APPEND : 0),
                          0666);
    if (fd < 0) {
        const int openError = errno;
        // A link or a FIFO put there since the look is named as such.
        *error = writeRefusal(path);
        if (error->isEmpty())
            *error = QStringLiteral("cannot open '%1': %2").arg(path, QString::fromLocal8Bit(::strerror(openError)));
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("'%1' is not a regular file").arg(path);
        return false;
    }
    if (!append && ::ftruncate(fd, 0) != 0) {
        *error = QStringLiteral("cannot write '%1': %2").arg(path, QString::fromLocal8Bit(::strerror(errno)));
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file->open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = QStringLiteral("cannot open '%1': %2").arg(path, file->errorString());
        return false;
    }
    return true;
#else
    file->setFileName(path);
    if (!file->open(mode)) {
        *error = QStringLiteral("cannot open '%1': %2").arg(path, file->errorString());
        return false;
    }
    return true;
#endif
}

}  // namespace RegularFile
