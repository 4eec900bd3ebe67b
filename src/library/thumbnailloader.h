#pragma once

#include "library/filestamp.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QSize>

// Thumbnails for the picture table. Files are decoded small, one at a time, on a thread of their
// own at the lowest scheduling priority, so a library of hundreds of large pictures never holds
// up the window or its first paint; each thumbnail is made once per version of its file (path and
// stamp) and reused.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailLoader(const QSize &size, QObject *parent = nullptr);

    QSize size() const { return m_size; }
    // The thumbnail of the file as it is now; null while it is being made (ready() follows) or
    // when the file cannot be read (failed() follows).
    QPixmap thumbnail(const QString &path);
    bool isFailed(const QString &path) const;
    int pendingCount() const { return m_pending.size(); }
    ~ThumbnailLoader() override;
    // How many files were decoded since construction (for tests and benchmarks).
    int decodeCount() const { return m_decodes; }

    // A picture decoded no larger than size, keeping its proportions; null when unreadable.
    static QImage decodeScaled(const QString &path, const QSize &size);

signals:
    void ready(const QString &path);
    void failed(const QString &path);
    // Nothing is being decoded any more.
    void idle();

private:
    using Stamp = FileStamp;
    struct Entry {
        Stamp stamp;
        QPixmap pixmap;  // null for a file that could not be read
    };
    void finished(const QString &path, const Stamp &stamp, const QImage &image);
    void startNext();

    QSize m_size;
    QHash<QString, Entry> m_cache;
    QSet<QString> m_pending;
    // Asked for and not started yet, in the order asked.
    QList<QPair<QString, Stamp>> m_queue;
    bool m_running = false;
    bool m_startScheduled = false;
    static constexpr int StartDelayMs = 100;
    int m_decodes = 0;
};
