#include "seriallink.h"

#include "instructserialport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>

SerialLink::SerialLink(QObject *parent) : QObject(parent), m_port(this)
{
    m_worker = new InstructSerialPort(this);
    m_gapTimer.setSingleShot(true);
    m_gapTimer.setInterval(ModuleAnswer::quietGapMs(m_baud));
    connect(&m_gapTimer, &QTimer::timeout, this, &SerialLink::onGapElapsed);
    connect(&m_port, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(&m_port, &QSerialPort::bytesWritten, this, &SerialLink::onBytesWritten);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialLink::onError);
    connect(m_worker, &InstructSerialPort::s_sendMes, this, &SerialLink::onWorkerMessage);
    connect(m_worker, &InstructSerialPort::s_sendProgressBar, this, &SerialLink::onWorkerProgress);
    connect(m_worker, &InstructSerialPort::s_writePort, this, &SerialLink::onWrite);
    connect(m_worker, &InstructSerialPort::s_jobFinished, this, [this](bool ok, const QString &text) {
        m_jobRunning = false;
        m_gapTimer.stop();
        // A job that timed out mid-block must not keep feeding the module: the rest of the block
        // would be read as the next job's commands.
        if (!ok)
            dropOutput();
        emit s_jobFinished(ok, text);
    });
}

SerialLink::~SerialLink()
{
    m_worker->resetJob();
    m_port.close();
}

QString SerialLink::msg(const char *text) { return QCoreApplication::translate("SerialPortDlg", text); }

QString SerialLink::logLine(const QString &text)
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss zzz")) + text;
}

bool SerialLink::open(const QString &portName, int baud)
{
    if (m_port.isOpen())
        close();
    m_worker->resetJob();
    m_portName = portName;
    m_baud = baud;
    m_gapTimer.setInterval(ModuleAnswer::quietGapMs(baud));
    // A path is used as it stands: ptys are not listed among the system's serial ports.
    m_port.setPortName(portName);
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    const bool ok = m_port.setBaudRate(baud) && m_port.setDataBits(QSerialPort::Data8) &&
                    m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
                    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        m_port.close();
        return false;
    }
    // Whatever the module said before this session is no answer to what we are going to send.
    m_port.clear(QSerialPort::Input);
    m_answers.clear();
    emit s_openChanged(true);
    return true;
}

void SerialLink::close(bool discardOutput)
{
    if (!m_port.isOpen())
        return;
    m_closing = true;
    m_queue.clear();
    m_queueOffset = 0;
    if (discardOutput)
        m_port.clear(QSerialPort::Output);
    m_port.close();
    m_closing = false;
    if (m_jobRunning)
        failJob(msg("通信已断开，下载失败！"));
    emit s_openChanged(false);
}

bool SerialLink::isOpen() const { return m_port.isOpen(); }

bool SerialLink::setBaud(int baud)
{
    if (baud <= 0)
        return false;
    if (m_port.isOpen() && !m_port.setBaudRate(baud))
        return false;
    m_baud = baud;
    return true;
}

void SerialLink::onBytesWritten(qint64 bytes)
{
    emit s_bytesWritten(bytes);
    feedPort();
    if (m_jobRunning && pendingWriteBytes() == 0)
        m_worker->lineDrained();
}

void SerialLink::followBaudChange()
{
    const int baud = m_requestedBaud;
    m_requestedBaud = 0;
    if (baud <= 0 || baud == m_baud || !m_port.isOpen())
        return;
    // The module listens at the new rate from now on; a port left at the old one would make every
    // following job time out.
    if (setBaud(baud))
        emit s_sendMes(LogLine, logLine(msg("--串口已切换到%1波特率").arg(baud)));
    else
        emit s_sendMes(LogLine, logLine(msg("--串口无法切换到%1波特率，请您重新打开串口！").arg(baud)));
}

bool SerialLink::isBusy() const { return m_worker->isBusy(); }

void SerialLink::setTimeScale(double scale) { m_worker->setTimeScale(scale); }

qint64 SerialLink::pendingWriteBytes() const
{
    qint64 n = m_port.isOpen() ? m_port.bytesToWrite() : 0;
    for (const QByteArray &b : m_queue)
        n += b.size();
    return n - m_queueOffset;
}

bool SerialLink::startJob(DownloadJob job)
{
    if (!m_port.isOpen()) {
        emit s_showMessage(Warning, msg("通信未连接，请您先连接通信！"));
        return false;
    }
    job.baud = QString::number(m_baud);
    m_requestedBaud = 0;
    if (job.mode == DownloadMode::BaudRate) {
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("BPS\\((\\d+)\\)")).match(job.command);
        if (m.hasMatch())
            m_requestedBaud = m.captured(1).toInt();
    }
    m_answers.begin(job);
    m_gapTimer.stop();
    m_jobRunning = true;
    m_worker->startJob(job);
    return true;
}

void SerialLink::portRemoved(const QString &name)
{
    if (!m_port.isOpen() || (name != m_portName && name != m_port.portName()))
        return;
    if (m_jobRunning) {
        m_worker->resetJob();
        m_jobRunning = false;
        emit s_jobFinished(false, msg("串口%1已拔出！").arg(name));
    }
    close();
    emit s_showMessage(Hint, msg("串口%1已拔出！").arg(name));
}

void SerialLink::dropOutput()
{
    m_queue.clear();
    m_queueOffset = 0;
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Output);
}

void SerialLink::failJob(const QString &message, bool showMessage)
{
    m_worker->resetJob();
    m_gapTimer.stop();
    dropOutput();
    if (!m_jobRunning)
        return;
    m_jobRunning = false;
    if (showMessage && !message.isEmpty())
        emit s_showMessage(Warning, message);
    emit s_jobFinished(false, message);
}

void SerialLink::onWorkerMessage(int code, const QString &text)
{
    switch (code) {
    case 0:
    case 1:
    case 2: emit s_showMessage(code, text); break;
    case 3: emit s_sendMes(LogLine, logLine(msg("--发送:") + text)); break;
    case 4:
    case 5:
    case 6:
        emit s_showMessage(Hint, text);
        emit s_sendMes(code == 4 ? BacklightConfirmed : code == 5 ? BaudConfirmed : LogLine,
                       logLine(msg("--发送:") + text));
        if (code == 5)
            followBaudChange();
        break;
    case 7: emit s_sendMes(BootScriptSent, QString()); break;
    default: break;
    }
}

void SerialLink::onWorkerProgress(int kind, int total, int value)
{
    if (kind != 1)
        return;
    m_answers.setPictureProgress(total, value);
    emit s_sendProbar(total, qMin(total, value));
}

void SerialLink::onWrite(const QByteArray &bytes)
{
    if (!m_port.isOpen()) {
        failJob(msg("通信已断开，下载失败！"));
        return;
    }
    if (bytes.isEmpty())
        return;
    m_queue.append(bytes);
    feedPort();
}

void SerialLink::feedPort()
{
    // Only about one slice sits in the port at a time, so closing or cancelling takes effect at
    // once instead of after megabytes of queued data.
    while (m_port.isOpen() && !m_queue.isEmpty() && m_port.bytesToWrite() < SliceBytes) {
        const QByteArray &head = m_queue.first();
        const int room = int(SliceBytes - m_port.bytesToWrite());
        const int n = qMin(room, head.size() - m_queueOffset);
        const qint64 written = m_port.write(head.constData() + m_queueOffset, n);
        if (written <= 0)
            return;
        m_queueOffset += int(written);
        if (m_queueOffset >= head.size()) {
            m_queue.removeFirst();
            m_queueOffset = 0;
        }
    }
}

void SerialLink::onReadyRead()
{
    const QByteArray bytes = m_port.readAll();
    if (bytes.isEmpty())
        return;
    const AnswerOutcome o = m_answers.feed(bytes);
    if (o.action == AnswerOutcome::Wait) {
        m_gapTimer.start();
        return;
    }
    m_gapTimer.stop();
    apply(o);
}

void SerialLink::onGapElapsed() { apply(m_answers.flush()); }

void SerialLink::apply(const AnswerOutcome &o)
{
    for (const QString &line : o.logLines)
        emit s_sendMes(LogLine, logLine(line));
    if (o.hasAddress)
        emit s_send485(o.addressEnabled, o.address);
    if (o.hasProgress) {
        emit s_sendProbar(int(o.progressTotal), int(o.progressValue));
        if (m_jobRunning)
            m_worker->progressTick();
    }
    switch (o.action) {
    case AnswerOutcome::Advance:
        if (m_jobRunning)
            m_worker->advanceStep();
        break;
    case AnswerOutcome::Fail: failJob(o.message); break;
    case AnswerOutcome::ResetQuiet: failJob(QString(), false); break;
    case AnswerOutcome::Wait:
    case AnswerOutcome::Nothing: break;
    }
}

void SerialLink::onError(QSerialPort::SerialPortError error)
{
    // A pty whose far end closed, or an unplugged adapter, keeps reporting read errors on an open
    // port: the line is gone, so close at the first one.
    if (m_closing || !m_port.isOpen())
        return;
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError || error == QSerialPort::WriteError)
        lineLost(msg("通信已断开，下载失败！"));
}

void SerialLink::lineLost(const QString &message)
{
    const bool running = m_jobRunning;
    m_closing = true;
    m_queue.clear();
    m_queueOffset = 0;
    m_port.close();
    m_closing = false;
    if (running)
        failJob(message);
    emit s_openChanged(false);
}
