#include "library/thumbnailloader.h"

#include "library/picturereader.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

// One thread: thumbnails are a background chore, and a second decoder would take the other core
// of a small machine from the interface thread.
QThreadPool *g_pool = nullptr;

QThreadPool *decoderPool()
{
    if (!g_pool) {
        g_pool = new QThreadPool;
        g_pool->setMaxThreadCount(1);
        // A decode still under way finishes while the toolkit is whole: its scaling uses the
        // global pool, which the application's end takes down.
        qAddPostRoutine([] {
            g_pool->waitForDone();
            delete g_pool;
            g_pool = nullptr;
        });
    }
    return g_pool;
}

// The thread yields to every other: the interface thread first, then whatever else runs.
void lowerThisThread()
{
#ifdef Q_OS_LINUX
    static thread_local bool lowered = false;
    if (!lowered) {
        lowered = true;
        // A thread's nice value is its own on Linux.
        setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 19);
    }
#else
    QThread::currentThread()->setPriority(QThread::LowestPriority);
#endif
}

}  // namespace

ThumbnailLoader::ThumbnailLoader(const QSize &size, QObject *parent)
    : QObject(parent)
    , m_size(size)
{
}

ThumbnailLoader::~ThumbnailLoader()
{
    // The one decode under way finishes unheard; the queue is dropped.
    m_queue.clear();
}

QImage ThumbnailLoader::decodeScaled(const QString &path, const QSize &size)
{
    // The library's own reader: only its formats, chosen by the file's bytes.
    const QImage image = PictureReader::readScaled(path, size);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QPixmap ThumbnailLoader::thumbnail(const QString &path)
{
    const Stamp stamp = FileStamp::of(path);
    const auto it = m_cache.constFind(path);
    if (it != m_cache.constEnd() && it->stamp == stamp)
        return it->pixmap;
    if (m_pending.contains(path))
        return QPixmap();
    m_pending.insert(path);
    m_queue.append(qMakePair(path, stamp));
    // A batch starts a moment after it is asked for: the window's paint after opening a project
    // comes first, and the rest of the batch follows one decode after another.
    if (!m_running && !m_startScheduled) {
        m_startScheduled = true;
        QTimer::singleShot(StartDelayMs, this, [this] {
            m_startScheduled = false;
            startNext();
        });
    }
    return QPixmap();
}

void ThumbnailLoader::startNext()
{
    if (m_running || m_queue.isEmpty())
        return;
    m_running = true;
    const QString path = m_queue.first().first;
    const Stamp stamp = m_queue.first().second;
    m_queue.removeFirst();
    auto *watcher = new QFutureWatcher<QImage>(this);
    const QSize size = m_size;
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, path, stamp] {
        watcher->deleteLater();
        m_running = false;
        finished(path, stamp, watcher->result());
        startNext();
    });
    watcher->setFuture(QtConcurrent::run(decoderPool(), [path, size] {
        lowerThisThread();
        return decodeScaled(path, size);
    }));
}

bool ThumbnailLoader::isFailed(const QString &path) const
{
    const auto it = m_cache.constFind(path);
    return it != m_cache.constEnd() && it->pixmap.isNull() && it->stamp == FileStamp::of(path);
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
