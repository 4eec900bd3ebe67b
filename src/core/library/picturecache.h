#pragma once

#include "library/filestamp.h"
#include "library/picturereader.h"

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QWaitCondition>

#include <list>

// Decoded pictures, keyed by path and the file's stamp (identity and times), so painting never decodes a file
// twice while it is unchanged. Bounded in memory (least recently used pictures go first) and safe
// to use from several threads: the canvas paints on the GUI thread, the virtual module and the
// command line may render elsewhere.
class PictureCache {
public:
    static constexpr qint64 DefaultMaxBytes = qint64(256) * 1024 * 1024;
    static constexpr qint64 MaxPixels = PictureReader::MaxPixels;

    explicit PictureCache(qint64 maxBytes = DefaultMaxBytes);

    // The process-wide cache the renderer uses.
    static PictureCache &global();

    // The decoded picture, in an RGB32 or premultiplied ARGB format; a null image when the file
    // is missing, unreadable or too large (see PictureReader::read). A file that changed on disk is decoded again.
    // A file another thread is decoding is waited for, not decoded twice.
    QImage image(const QString &path);
    // Decodes the pictures on the thread pool, so that a paint soon after finds them ready
    // (the window opening a project). The cache must outlive the work: global() does.
    void prefetch(const QStringList &paths);

    void setMaxBytes(qint64 maxBytes);
    qint64 maxBytes() const;
    qint64 usedBytes() const;
    int count() const;
    // How many files were decoded since construction (for tests and benchmarks).
    int decodeCount() const;
    void clear();

private:
    using Stamp = FileStamp;
    struct Entry {
        Stamp stamp;
        QImage image;
        qint64 cost = 0;
        std::list<QString>::iterator lru;
    };

    static QImage decode(const QString &path);
    void insertLocked(const QString &path, const Stamp &stamp, const QImage &image);
    void removeLocked(QHash<QString, Entry>::iterator it);
    void trimLocked();

    mutable QMutex m_mutex;
    QSet<QString> m_decoding;  // files a thread is decoding now
    QWaitCondition m_decoded;
    QHash<QString, Entry> m_entries;
    std::list<QString> m_lru;  // front = most recently used
    qint64 m_maxBytes;
    qint64 m_usedBytes = 0;
    int m_decodes = 0;
};
