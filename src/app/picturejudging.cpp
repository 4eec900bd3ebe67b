#include "picturejudging.h"

#include <QMetaObject>

// What the judging thread and the window share; the thread keeps it alive after a cancel.
struct PictureJudging::Run {
    DownloadBlocks::DecodeControl control;
    DownloadJob job;
    QByteArray stamp;
};

PictureJudging::PictureJudging(QObject *parent)
    : QObject(parent)
{
    // One judging at a time; a dropped one still finishing its picture runs before the next.
    m_pool.setMaxThreadCount(1);
}

PictureJudging::~PictureJudging()
{
    if (m_run)
        m_run->control.stop = true;
    m_pool.waitForDone();
}

void PictureJudging::start(const ProjectData &project, const QString &projectFolder, DownloadMode mode,
                           JobPictures reading)
{
    cancel();
    auto run = std::make_shared<Run>();
    m_run = run;
    m_pool.start(QRunnable::create([this, run, project, projectFolder, mode, reading] {
        // The stamp comes first: a file changed while the pictures are read makes it stale.
        run->stamp = pictureFolderStamp(projectFolder);
        run->job = jobFromProject(project, projectFolder, mode, reading, &run->control);
        // Delivered on the window's thread; dropped with this object if it is gone by then (the
        // destructor waits for this thread, so the object is alive while this line runs).
        QMetaObject::invokeMethod(this, [this, run] { deliver(run); }, Qt::QueuedConnection);
    }));
}

void PictureJudging::cancel()
{
    if (!m_run)
        return;
    m_run->control.stop = true;
    m_run.reset();
    emit finished(false);
}

DownloadJob PictureJudging::takeJob()
{
    DownloadJob job = m_job;
    m_job = DownloadJob();
    return job;
}

int PictureJudging::done() const { return m_run ? m_run->control.done.load() : 0; }

int PictureJudging::total() const { return m_run ? m_run->control.total.load() : 0; }

void PictureJudging::deliver(const std::shared_ptr<Run> &run)
{
    // A dropped judging's result is never used.
    if (run != m_run || run->control.stop)
        return;
    m_run.reset();
    m_job = run->job;
    m_stamp = run->stamp;
    emit finished(true);
}
