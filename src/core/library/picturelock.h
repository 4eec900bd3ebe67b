#pragma once

#include <QString>

// The one lock over a project's picture files. Every change to the picture folder, its backup,
// the unsaved-pictures note and a removal in progress is made while holding it; a program that
// only reads holds it shared. It is a kernel lock (flock) on "<project>/tempImages.lock", a file
// that stays: a killed holder lets go with its last descriptor, so no lock outlives its process
// and no process id has to be judged alive. Within one process the lock is counted: each take
// that succeeds is matched by one release.
namespace PictureLock {

enum Status {
    Taken,     // held by this process now
    Busy,      // another process holds it
    Unusable,  // the lock file is not a regular file (a link, FIFO, device) or cannot be made
};

QString path(const QString &projectFolder);

// Takes the lock without waiting. A shared hold of this process is turned exclusive when asked.
Status take(const QString &projectFolder, bool exclusive);
// Takes it, trying again for up to waitMs while another process holds it; stops early when
// giveUp returns true (asked after each failed try).
Status takeWaiting(const QString &projectFolder, bool exclusive, int waitMs, bool (*giveUp)(const QString &) = nullptr);
// Lets an exclusive hold of this process become shared (other readers may join).
void share(const QString &projectFolder);
void release(const QString &projectFolder);
bool heldHere(const QString &projectFolder);

// Holds the lock exclusively for one scope if it can be had within waitMs.
class Scoped {
public:
    Scoped(const QString &projectFolder, int waitMs);
    ~Scoped();
    Scoped(const Scoped &) = delete;
    Scoped &operator=(const Scoped &) = delete;
    Status status() const { return m_status; }
    bool taken() const { return m_status == Taken; }

private:
    QString m_folder;
    Status m_status;
};

}  // namespace PictureLock
