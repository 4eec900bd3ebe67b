#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QtGlobal>

class QFile;

// Library folders are user territory: a name ending in ".bmp" or ".bin" may be a link to a FIFO,
// whose open() waits for a writer forever, or to a device that never ends. Library files are
// read only through here, which takes nothing but regular files and never blocks on the rest.
namespace RegularFile {

// True when path, links followed, is a regular file. Looks at the type only; opens nothing.
bool isRegular(const QString &path);

// Opens a regular file for reading: the type is checked before opening, the open does not block,
// and the opened file is checked again (it may have been swapped in between).
bool open(const QString &path, QFile *file);

// The first bytes of a regular file (up to maxBytes) and its size, in one open, one fstat and one
// read. typeKnown: a directory listing of a moment ago said the name is a regular file, so the
// look before opening is skipped; the opened file is still checked, as in open().
bool readStart(const QString &path, int maxBytes, QByteArray *data, qint64 *fileSize, bool typeKnown = false);

// At most maxBytes + 1 bytes from the start of a regular file, so that a caller with a limit of
// maxBytes sees that a file is over it without reading the rest. False when it cannot be opened
// or read.
bool readAtMost(const QString &path, qint64 maxBytes, QByteArray *data);

#ifdef Q_OS_UNIX
// A descriptor of path opened with flags (open(2) flags; created 0644 with O_CREAT), never
// blocking and closed on exec, when what was opened is a regular file (checked on the open file,
// so a swap after a check cannot slip in a FIFO or a device); else -1.
int openDescriptor(const QString &path, int flags, qint64 *size = nullptr);
#endif

// The warning for a library entry that is left out because it is not a regular file.
QString skippedWarning(const QString &path);

// Files the tools write (a log, a screen picture) are named by the user, who may name a link, a
// FIFO or a device by mistake: a link's target would be overwritten, a FIFO hangs the open, a
// device is fed or replaced. These refuse all three.

// Why path may not be written: it is a link, or it exists and is not a regular file. Empty when
// it may be written (a regular file, or nothing yet).
QString writeRefusal(const QString &path);

// Opens path for writing, created when missing, never following a link at its end and never
// blocking on the open; mode is WriteOnly with Append or Truncate. False with *error otherwise.
bool openForWriting(const QString &path, QFile *file, QIODevice::OpenMode mode, QString *error);

}  // namespace RegularFile
