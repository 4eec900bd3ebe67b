#include "batchdownload.h"

#include "download/downloadblocks.h"
#include "download/downloadcheck.h"
#include "download/downloadsteps.h"
#include "seriallink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <cmath>

// One port's job, living in a thread of its own with its SerialLink.
class BatchLinkRunner : public QObject {
    Q_OBJECT
public:
    BatchLinkRunner(const DownloadJob &job, const QString &port, int baud, double timeScale)
        : m_job(job), m_port(port), m_baud(baud), m_timeScale(timeScale)
    {
    }

    // In the runner's thread from here on.
    void begin()
    {
        m_clock.start();
        m_link = new SerialLink(this);
        m_link->setTimeScale(m_timeScale);
        if (!m_link->open(m_port, m_baud)) {
            end(BatchJobState::Failed, BatchDownload::tr("串口%1打开失败：%2").arg(m_port, m_link->errorString()));
            return;
        }
        connect(m_link, &SerialLink::s_bytesWritten, this, &BatchLinkRunner::onBytesWritten);
        connect(m_link, &SerialLink::s_jobFinished, this, &BatchLinkRunner::onJobFinished);
        if (!m_link->startJob(m_job))
            end(BatchJobState::Failed, QCoreApplication::translate("SerialPortDlg", "通信未连接，请您先连接通信！"));
    }

    void portRemoved()
    {
        if (m_link && !m_ended)
            m_link->portRemoved(m_port);
    }

    void cancel()
    {
        if (m_link && !m_ended)
            m_link->close();
    }

    void stop()
    {
        if (!m_link || m_ended)
            return;
        // Done but for its last command on the line: it succeeded.
        if (m_draining) {
            end(BatchJobState::Succeeded, m_message);
            return;
        }
        m_stopping = true;
        // Dropping what is queued and closing ends the job through the link, and nothing more
        // reaches the module; a block cut short is dropped by the module after its idle gap.
        m_link->close();
        end(BatchJobState::Stopped, BatchDownload::stoppedText());
    }

    // Ends at once, without a result (the batch is going away).
    void shutDown()
    {
        m_ended = true;
        delete m_link;
        m_link = nullptr;
    }

signals:
    void progress(qint64 done, qint64 elapsedMs);
    void finished(int status, const QString &message, qint64 elapsedMs);

private:
    void onBytesWritten(qint64 n)
    {
        m_done += n;
        if (m_draining) {
            if (m_link->pendingWriteBytes() == 0)
                end(BatchJobState::Succeeded, m_message);
            return;
        }
        const qint64 now = m_clock.elapsed();
        if (now - m_lastProgressMs >= 100) {
            m_lastProgressMs = now;
            emit progress(m_done, now);
        }
    }

    void onJobFinished(bool ok, const QString &message)
    {
        if (m_ended || m_draining || m_stopping)
            return;
        QString text = message;
        // A malformed information answer ends the job without a message of its own.
        if (!ok && text.isEmpty())
            text = QCoreApplication::translate("SerialPortDlg", "显示屏应答无法识别，下载失败！");
        // The last command (a reset) may still be on its way: let it leave before closing.
        if (ok && m_link->isOpen() && m_link->pendingWriteBytes() > 0) {
            m_draining = true;
            m_message = text;
            QTimer::singleShot(5000, this, [this] { end(BatchJobState::Succeeded, m_message); });
            return;
        }
        end(ok ? BatchJobState::Succeeded : BatchJobState::Failed, text);
    }

    void end(BatchJobState::Status status, const QString &message)
    {
        if (m_ended)
            return;
        m_ended = true;
        const qint64 elapsed = m_clock.elapsed();
        // Called from the link's own signals: let them return before the link goes.
        QTimer::singleShot(0, this, [this, status, message, elapsed] {
            if (m_link)
                m_link->close(false);
            delete m_link;
            m_link = nullptr;
            emit progress(m_done, elapsed);
            emit finished(int(status), message, elapsed);
        });
    }

    DownloadJob m_job;
    QString m_port;
    int m_baud;
    double m_timeScale;
    SerialLink *m_link = nullptr;
    QElapsedTimer m_clock;
    qint64 m_done = 0;
    qint64 m_lastProgressMs = -1000;
    bool m_draining = false;
    bool m_stopping = false;
    bool m_ended = false;
    QString m_message;
};

BatchDownload::BatchDownload(QObject *parent) : QObject(parent) { qRegisterMetaType<DownloadJob>(); }

BatchDownload::~BatchDownload()
{
    for (Slot &s : m_slots) {
        if (!s.thread)
            continue;
        if (s.runner)
            QMetaObject::invokeMethod(s.runner.data(), [r = s.runner.data()] { r->shutDown(); },
                                      Qt::BlockingQueuedConnection);
        s.thread->quit();
        s.thread->wait();
        delete s.thread;
        s.thread = nullptr;
    }
}

QString BatchDownload::refusal(const DownloadJob &job)
{
    if (job.mode == DownloadMode::Pictures && job.pictures.isEmpty())
        return QCoreApplication::translate("MainWindow", "未添加图片无法下载，请您先添加图片！");
    if ((job.mode == DownloadMode::PagesOnly || job.mode == DownloadMode::PicturesAndPages) && job.pages.isEmpty())
        return QCoreApplication::translate("MainWindow", "项目中没有页面，无法下载！");
    if (job.mode == DownloadMode::Fonts)
        return QString();
    return DownloadCheck::firstMessage(job);
}

QString BatchDownload::deviceKey(const QString &port)
{
    QString path = port.trimmed();
    // As the port library reads a name: a path only when it starts with "/", "./" or "../";
    // anything else, "pts/1" too, is under /dev.
    if (!path.startsWith(QLatin1Char('/')) && !path.startsWith(QLatin1String("./")) && !path.startsWith(QLatin1String("../")))
        path = QStringLiteral("/dev/") + path;
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

TransferEstimate BatchDownload::estimate(const BatchJobState &s)
{
    TransferEstimate e = Transfer::estimate(s.doneBytes, s.totalBytes, s.elapsedMs, s.baud);
    const double line = s.baud > 0 ? double(s.baud) / 10.0 : 0;
    if (line > 0 && e.bytesPerSecond > line) {
        e.bytesPerSecond = line;
        e.msLeft = qint64(std::ceil(double(e.totalBytes - e.doneBytes) * 1000.0 / line));
    }
    return e;
}

QString BatchDownload::duplicateMessage(const QStringList &ports)
{
    QStringList keys;
    for (int i = 0; i < ports.size(); ++i) {
        const QString key = deviceKey(ports.at(i));
        const int before = keys.indexOf(key);
        if (before >= 0)
            return tr("%1和%2是同一个串口，不能同时下载！").arg(ports.at(before), ports.at(i));
        keys << key;
    }
    return QString();
}

void BatchDownload::setJob(const DownloadJob &job)
{
    m_job = job;
    // Decoded once here rather than once per module, unless the job already holds its block.
    if (!m_job.pixelsReady) {
        m_job.pixelBlock.clear();
        if (DownloadCheck::sendsPictures(job.mode) && job.pictures.totalBytes() > 0)
            m_job.pixelBlock = DownloadBlocks::pixelData(job.pictures);
    }
    m_totalBytes = wireByteCount(m_job);
}

int BatchDownload::countOf(BatchJobState::Status status) const
{
    int n = 0;
    for (const BatchJobState &s : m_states)
        n += s.status == status ? 1 : 0;
    return n;
}

int BatchDownload::runningCount() const { return countOf(BatchJobState::Running); }
int BatchDownload::succeededCount() const { return countOf(BatchJobState::Succeeded); }
int BatchDownload::failedCount() const { return countOf(BatchJobState::Failed); }
int BatchDownload::stoppedCount() const { return countOf(BatchJobState::Stopped); }

bool BatchDownload::isBusy(const QString &port) const
{
    const QString key = deviceKey(port);
    for (int i = 0; i < m_states.size(); ++i)
        if (!m_states.at(i).finished() && m_slots.at(i).key == key)
            return true;
    return false;
}

int BatchDownload::addPort(const QString &port, int baud, const QString &label, QString *error)
{
    if (isBusy(port)) {
        if (error)
            *error = tr("串口%1正在下载中！").arg(port);
        return -1;
    }
    const int index = m_states.size();
    BatchJobState state;
    state.port = port;
    state.label = label.isEmpty() ? port : label;
    state.baud = baud;
    state.totalBytes = m_totalBytes;
    m_states.append(state);

    Slot slot;
    slot.key = deviceKey(port);
    slot.thread = new QThread;
    slot.thread->setObjectName(QStringLiteral("batch link"));
    auto *runner = new BatchLinkRunner(m_job, port, baud, m_timeScale);
    runner->moveToThread(slot.thread);
    slot.runner = runner;
    connect(slot.thread, &QThread::finished, runner, &QObject::deleteLater);
    connect(runner, &BatchLinkRunner::progress, this,
            [this, index](qint64 done, qint64 elapsed) { onProgress(index, done, elapsed); });
    connect(runner, &BatchLinkRunner::finished, this,
            [this, index](int status, const QString &message, qint64 elapsed) {
                onFinished(index, BatchJobState::Status(status), message, elapsed);
            });
    m_slots.append(slot);
    slot.thread->start();
    QMetaObject::invokeMethod(runner, [runner] { runner->begin(); }, Qt::QueuedConnection);
    emit jobStarted(index);
    return index;
}

void BatchDownload::portRemoved(const QString &name)
{
    const QString key = deviceKey(name);
    for (int i = 0; i < m_slots.size(); ++i) {
        const Slot &s = m_slots.at(i);
        if (m_states.at(i).finished() || !s.runner || (s.key != key && m_states.at(i).port != name))
            continue;
        QMetaObject::invokeMethod(s.runner.data(), [r = s.runner.data()] { r->portRemoved(); }, Qt::QueuedConnection);
    }
}

void BatchDownload::cancelAll(const QString &reason)
{
    m_cancelReason = reason;
    for (int i = 0; i < m_slots.size(); ++i) {
        const Slot &s = m_slots.at(i);
        if (!m_states.at(i).finished() && s.runner)
            QMetaObject::invokeMethod(s.runner.data(), [r = s.runner.data()] { r->cancel(); }, Qt::QueuedConnection);
    }
}

QString BatchDownload::stoppedText() { return tr("已停止"); }

void BatchDownload::stopAll()
{
    for (int i = 0; i < m_slots.size(); ++i) {
        const Slot &s = m_slots.at(i);
        if (!m_states.at(i).finished() && s.runner)
            QMetaObject::invokeMethod(s.runner.data(), [r = s.runner.data()] { r->stop(); }, Qt::QueuedConnection);
    }
}

void BatchDownload::onProgress(int index, qint64 done, qint64 elapsedMs)
{
    BatchJobState &s = m_states[index];
    if (s.finished())
        return;
    s.doneBytes = qMin(done, s.totalBytes);
    s.elapsedMs = elapsedMs;
    emit progressChanged(index);
}

void BatchDownload::onFinished(int index, BatchJobState::Status status, const QString &message, qint64 elapsedMs)
{
    BatchJobState &s = m_states[index];
    if (s.finished())
        return;
    s.status = status;
    s.message = status == BatchJobState::Failed && !m_cancelReason.isEmpty() ? m_cancelReason : message;
    s.elapsedMs = elapsedMs;
    // A finished job sent everything, whatever the last count said.
    if (status == BatchJobState::Succeeded)
        s.doneBytes = s.totalBytes;
    Slot &slot = m_slots[index];
    if (slot.thread) {
        QThread *thread = slot.thread;
        connect(thread, &QThread::finished, this, [this, index, thread] {
            if (m_slots.at(index).thread == thread) {
                m_slots[index].thread = nullptr;
                thread->deleteLater();
            }
        });
        thread->quit();
    }
    emit progressChanged(index);
    emit jobFinished(index);
    if (runningCount() == 0)
        emit allFinished();
}

#include "batchdownload.moc"
