#include "library/picturecache.h"

#include <QFile>
#include <QMutexLocker>
#include <QThreadPool>

namespace {

// Bookkeeping per entry, so that even unreadable files (null images) count against the bound.
constexpr qint64 kEntryOverhead = 256;

}  // namespace

PictureCache::PictureCache(qint64 maxBytes) : m_maxBytes(qMax<qint64>(0, maxBytes)) {}

PictureCache &PictureCache::global()
{
    static PictureCache cache;
    return cache;
}

QImage PictureCache::decode(const QString &path)
{
    PictureState state;
    QImage img = PictureReader::read(path, &state);
    if (img.isNull())
        return QImage();
    // One fast format for painting: opaque pictures as RGB32, others premultiplied.
    const QImage::Format f = img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (img.format() != f)
        img = img.convertToFormat(f);
    return img;
}

QImage PictureCache::image(const QString &path)
{
    if (path.isEmpty())
        return QImage();
    const Stamp stamp = FileStamp::of(path);
    if (!stamp.exists())
        return QImage();
    {
        QMutexLocker lock(&m_mutex);
        for (;;) {
            auto it = m_entries.find(path);
            if (it != m_entries.end()) {
                if (it->stamp == stamp) {
                    m_lru.splice(m_lru.begin(), m_lru, it->lru);
                    return it->image;
                }
                removeLocked(it);
            }
            if (!m_decoding.contains(path))
                break;
            m_decoded.wait(&m_mutex);
        }
        m_decoding.insert(path);
    }
    // Decoded without holding the lock; others asking for this file wait for it.
    const QImage img = decode(path);
    QMutexLocker lock(&m_mutex);
    ++m_decodes;
    insertLocked(path, stamp, img);
    m_decoding.remove(path);
    m_decoded.wakeAll();
    return img;
}

void PictureCache::prefetch(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    QThreadPool::globalInstance()->start([this, paths] {
        for (const QString &path : paths)
            image(path);
    });
}

void PictureCache::insertLocked(const QString &path, const Stamp &stamp, const QImage &image)
{
    auto old = m_entries.find(path);
    if (old != m_entries.end())
        removeLocked(old);
    const qint64 cost = image.sizeInBytes() + kEntryOverhead;
    if (cost > m_maxBytes)
        return;  // never fits: handed out, not kept
    m_lru.push_front(path);
    Entry e;
    e.stamp = stamp;
    e.image = image;
    e.cost = cost;
    e.lru = m_lru.begin();
    m_entries.insert(path, e);
    m_usedBytes += cost;
    trimLocked();
}

void PictureCache::removeLocked(QHash<QString, Entry>::iterator it)
{
    m_usedBytes -= it->cost;
    m_lru.erase(it->lru);
    m_entries.erase(it);
}

void PictureCache::trimLocked()
{
    while (m_usedBytes > m_maxBytes && !m_lru.empty()) {
        auto it = m_entries.find(m_lru.back());
        if (it == m_entries.end()) {
            m_lru.pop_back();
            continue;
        }
        removeLocked(it);
    }
}

void PictureCache::setMaxBytes(qint64 maxBytes)
{
    QMutexLocker lock(&m_mutex);
    m_maxBytes = qMax<qint64>(0, maxBytes);
    trimLocked();
}

qint64 PictureCache::maxBytes() const
{
    QMutexLocker lock(&m_mutex);
    return m_maxBytes;
}

qint64 PictureCache::usedBytes() const
{
    QMutexLocker lock(&m_mutex);
    return m_usedBytes;
}

int PictureCache::count() const
{
    QMutexLocker lock(&m_mutex);
    return m_entries.size();
}

int PictureCache::decodeCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_decodes;
}

void PictureCache::clear()
{
    QMutexLocker lock(&m_mutex);
    m_entries.clear();
    m_lru.clear();
    m_usedBytes = 0;
}
