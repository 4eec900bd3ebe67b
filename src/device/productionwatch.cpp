#include "productionwatch.h"

#include "batchdownload.h"

#include <QSerialPort>

ProductionWatch::ProductionWatch(BatchDownload *batch, int baud, QObject *parent)
    : QObject(parent), m_batch(batch), m_baud(baud), m_probeTimer(this)
{
    m_probeTimer.setInterval(ProbeIntervalMs);
    connect(&m_probeTimer, &QTimer::timeout, this, &ProductionWatch::probeAll);
    connect(m_batch, &BatchDownload::jobFinished, this, &ProductionWatch::onJobFinished);
    connect(m_batch, &BatchDownload::allFinished, this, [this] {
        if (m_stopping)
            emit stopped();
    });
}

ProductionWatch::~ProductionWatch()
{
    for (const QString &port : m_ports.keys())
        forget(port);
}

QString ProductionWatch::resultText(int number, bool ok, const QString &message)
{
    return ok ? tr("第%1个模块：成功").arg(number) : tr("第%1个模块：失败：%2").arg(number).arg(message);
}

QString ProductionWatch::totalsText(int succeeded, int failed)
{
    return tr("共%1个模块：成功%2个，失败%3个").arg(succeeded + failed).arg(succeeded).arg(failed);
}

QString ProductionWatch::waitingText() { return tr("正在等待模块接入，按Ctrl+C结束……"); }

QString ProductionWatch::finishingText() { return tr("正在等待进行中的下载结束……"); }

QString ProductionWatch::keyOf(const QString &port) const
{
    if (m_ports.contains(port))
        return port;
    const QString key = BatchDownload::deviceKey(port);
    for (auto it = m_ports.cbegin(); it != m_ports.cend(); ++it)
        if (BatchDownload::deviceKey(it.key()) == key)
            return it.key();
    return QString();
}

void ProductionWatch::watchPort(const QString &port, const QString &label)
{
    if (m_stopping || !keyOf(port).isEmpty())
        return;
    Watched w;
    w.label = label.isEmpty() ? port : label;
    m_ports.insert(port, w);
    startProbe(port);
    if (!m_probeTimer.isActive())
        m_probeTimer.start();
}

void ProductionWatch::portChanged(const QString &name, bool arrived)
{
    if (arrived) {
        // A second "add" for a port still watched changes nothing: its module stays done.
        watchPort(name);
        return;
    }
    m_batch->portRemoved(name);
    const QString port = keyOf(name);
    if (!port.isEmpty())
        forget(port);
}

void ProductionWatch::forget(const QString &port)
{
    auto it = m_ports.find(port);
    if (it == m_ports.end())
        return;
    delete it->probe;
    delete it->answerTimer;
    m_ports.erase(it);
}

void ProductionWatch::stop()
{
    if (m_stopping)
        return;
    m_stopping = true;
    m_probeTimer.stop();
    for (auto it = m_ports.begin(); it != m_ports.end(); ++it) {
        delete it->probe;
        it->probe = nullptr;
        delete it->answerTimer;
        it->answerTimer = nullptr;
    }
    if (!m_batch->isRunning())
        QTimer::singleShot(0, this, [this] { emit stopped(); });
}

void ProductionWatch::probeAll()
{
    for (const QString &port : m_ports.keys())
        startProbe(port);
}

void ProductionWatch::startProbe(const QString &port)
{
    auto it = m_ports.find(port);
    if (m_stopping || it == m_ports.end() || it->state == Watched::Downloading || it->probe)
        return;
    // A job of the batch on this device (given under another name) owns the port.
    if (m_batch->isBusy(port))
        return;
    auto *serial = new QSerialPort(this);
    serial->setPortName(port);
    if (!serial->open(QIODevice::ReadWrite) || !serial->setBaudRate(m_baud) || !serial->setDataBits(QSerialPort::Data8) ||
        !serial->setParity(QSerialPort::NoParity) || !serial->setStopBits(QSerialPort::OneStop) ||
        !serial->setFlowControl(QSerialPort::NoFlowControl)) {
        delete serial;
        endProbe(port, false);
        return;
    }
    serial->clear(QSerialPort::AllDirections);
    it->probe = serial;
    it->answer.clear();
    it->answerTimer = new QTimer(this);
    it->answerTimer->setSingleShot(true);
    connect(it->answerTimer, &QTimer::timeout, this, [this, port] { endProbe(port, false); });
    connect(serial, &QSerialPort::readyRead, this, [this, port] {
        auto w = m_ports.find(port);
        if (w == m_ports.end() || !w->probe)
            return;
        w->answer += w->probe->readAll();
        if (w->answer.contains("GETADDR_"))
            endProbe(port, true);
        else if (w->answer.size() > 4096)
            w->answer = w->answer.right(4096);
    });
    connect(serial, &QSerialPort::errorOccurred, this, [this, port](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ReadError || e == QSerialPort::ResourceError || e == QSerialPort::WriteError)
            QTimer::singleShot(0, this, [this, port] { endProbe(port, false); });
    });
    serial->write("GET_ADDR();\r\n");
    it->answerTimer->start(AnswerWaitMs);
}

void ProductionWatch::endProbe(const QString &port, bool answered)
{
    auto it = m_ports.find(port);
    if (it == m_ports.end())
        return;
    if (it->probe) {
        // The port must be free before a job opens it; deleted later, as this may run in its signal.
        it->probe->disconnect(this);
        it->probe->close();
        it->probe->deleteLater();
        it->probe = nullptr;
    }
    if (it->answerTimer) {
        it->answerTimer->disconnect(this);
        it->answerTimer->deleteLater();
        it->answerTimer = nullptr;
    }
    if (m_stopping)
        return;
    if (it->state == Watched::Done) {
        it->silentProbes = answered ? 0 : it->silentProbes + 1;
        if (it->silentProbes >= SilentProbesForGone)
            it->state = Watched::Waiting;
        return;
    }
    if (it->state != Watched::Waiting || !answered)
        return;
    QString error;
    const int index = m_batch->addPort(port, m_baud, it->label, &error);
    if (index < 0)
        return;
    it->state = Watched::Downloading;
    it->jobIndex = index;
    m_ownJobs.insert(index);
    it->silentProbes = 0;
    emit downloadStarted(index, it->label);
}

void ProductionWatch::onJobFinished(int index)
{
    if (!m_ownJobs.remove(index))
        return;
    const BatchJobState &s = m_batch->state(index);
    for (auto it = m_ports.begin(); it != m_ports.end(); ++it) {
        if (it->jobIndex == index) {
            it->jobIndex = -1;
            it->state = Watched::Done;
            it->silentProbes = 0;
        }
    }
    const bool ok = s.status == BatchJobState::Succeeded;
    if (ok)
        ++m_succeeded;
    else
        ++m_failed;
    emit moduleDone(count(), s.label, ok, s.message, s.elapsedMs);
}
