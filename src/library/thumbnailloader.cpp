#include "library/thumbnailloader.h"

#include "library/picturereader.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent>

ThumbnailLoader::ThumbnailLoader(const QSize &size, QObject *parent)
    : QObject(parent)
    , m_size(size)
{
}

ThumbnailLoader::Stamp ThumbnailLoader::stampOf(const QString &path)
{
    const QFileInfo info(path);
    return {info.lastModified(), info.exists() ? info.size() : -1};
}

QImage ThumbnailLoader::decodeScaled(const QString &path, const QSize &size)
{
    // The library's own reader: only its formats, chosen by the file's bytes.
    const QImage image = PictureReader::readScaled(path, size);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QPixmap ThumbnailLoader::thumbnail(const QString &path)
{
    const Stamp stamp = stampOf(path);
    const auto it = m_cache.constFind(path);
    if (it != m_cache.constEnd() && it->stamp == stamp)
        return it->pixmap;
    if (m_pending.contains(path))
        return QPixmap();
    m_pending.insert(path);
    auto *watcher = new QFutureWatcher<QImage>(this);
    const QSize size = m_size;
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, path, stamp] {
        watcher->deleteLater();
        finished(path, stamp, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([path, size] { return decodeScaled(path, size); }));
    return QPixmap();
}

bool ThumbnailLoader::isFailed(const QString &path) const
{
    const auto it = m_cache.constFind(path);
    return it != m_cache.constEnd() && it->pixmap.isNull() && it->stamp == stampOf(path);
}

void ThumbnailLoader::finished(const QString &path, const Stamp &stamp, const QImage &image)
{
    ++m_decodes;
    m_pending.remove(path);
    // Pixmaps belong to the GUI thread: only the decoded image crossed over.
    m_cache.insert(path, {stamp, QPixmap::fromImage(image)});
    if (image.isNull())
        emit failed(path);
    else
        emit ready(path);
    if (m_pending.isEmpty())
        emit idle();
}
