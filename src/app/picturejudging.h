#pragma once

#include "download/downloadblocks.h"
#include "download/downloadjob.h"

#include <QObject>
#include <QThreadPool>

#include <memory>

// Judges a project's pictures for a download on a thread of its own: each picture is decoded
// there once for its verdict (with the pixel block when the pictures may be sent), so the window
// answers clicks and paints however large the library is.
class PictureJudging : public QObject {
    Q_OBJECT
public:
    explicit PictureJudging(QObject *parent = nullptr);
    // Stops a judging under way and waits for its thread: it reads files that may go with the project.
    ~PictureJudging() override;

    bool isRunning() const { return bool(m_run); }
    // Starts judging a snapshot of the project (see jobFromProject); finished() follows.
    void start(const ProjectData &project, const QString &projectFolder, DownloadMode mode, JobPictures reading);
    // Drops the judging under way: finished(false) at once, and its thread stops after the
    // picture it is decoding.
    void cancel();
    // Pictures looked at so far and in all, for a progress bar.
    int done() const;
    int total() const;

    // The job of the last judging that finished, handed over once, and the stamp of the picture
    // folder taken before its pictures were read (pictureFolderStamp).
    DownloadJob takeJob();
    const QByteArray &folderStamp() const { return m_stamp; }

signals:
    void finished(bool judged);

private:
    struct Run;
    void deliver(const std::shared_ptr<Run> &run);

    std::shared_ptr<Run> m_run;
    DownloadJob m_job;
    QByteArray m_stamp;
    QThreadPool m_pool;
};
