#pragma once

#include <QString>

// What tells a file on disk from the one read before: its identity and both of its times. A file
// renamed over another (another inode) or rewritten and given its old time back (a newer change
// time) is told apart even when its size and modification time are the same.
struct FileStamp {
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    qint64 size = -1;  // -1: no such file
    quint64 device = 0;
    quint64 inode = 0;

    // Straight from the file system: QFileInfo's times are local times, and looking up the time
    // zone for each of many pictures costs more than the look itself.
    static FileStamp of(const QString &path);
    bool exists() const { return size >= 0; }
    bool operator==(const FileStamp &o) const
    {
        return modifiedNs == o.modifiedNs && changedNs == o.changedNs && size == o.size && device == o.device &&
               inode == o.inode;
    }
    bool operator!=(const FileStamp &o) const { return !(*this == o); }
};
