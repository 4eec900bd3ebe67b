#include "ptydevice.h"

#include <QPair>
#include <QSocketNotifier>
#include <QVector>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Burst the wire model allows after a pause; small enough to keep the rate, large enough that a
// late timer does not cost throughput.
constexpr double kBurstMs = 5.0;
constexpr double kResumeMs = 2.0;

}  // namespace

PtyDevice::PtyDevice(QObject *parent) : QIODevice(parent), m_resume(this)
{
    m_resume.setSingleShot(true);
    m_resume.setTimerType(Qt::PreciseTimer);
    connect(&m_resume, &QTimer::timeout, this, [this] {
        if (m_readNotifier)
            m_readNotifier->setEnabled(true);
    });
}

PtyDevice::~PtyDevice() { close(); }

bool PtyDevice::openPty(QString *error)
{
    struct termios tio;
    std::memset(&tio, 0, sizeof tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, &tio, nullptr) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_slavePath = QString::fromLocal8Bit(name);
    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_readNotifier, &QSocketNotifier::activated, this, [this] {
        // Level triggered: when nothing is read (credit used up) reading pauses until the timer.
        emit readyRead();
    });
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyDevice::flushOut);
    m_clock.start();
    m_creditMs = 0;
    m_credit = 0;
    return QIODevice::open(QIODevice::ReadWrite | QIODevice::Unbuffered);
}

void PtyDevice::setBaud(qint64 baud) { m_bytesPerSecond = baud > 0 ? baud / 10 : 0; }

qint64 PtyDevice::lineRate() const
{
    struct termios tio;
    if (m_slave < 0 || ::tcgetattr(m_slave, &tio) != 0)
        return 0;
    static const QVector<QPair<speed_t, qint64>> rates = {
        {B1200, 1200},     {B2400, 2400},     {B4800, 4800},     {B9600, 9600},       {B19200, 19200},
        {B38400, 38400},   {B57600, 57600},   {B115200, 115200}, {B230400, 230400},   {B460800, 460800},
        {B500000, 500000}, {B576000, 576000}, {B921600, 921600}, {B1000000, 1000000}, {B1500000, 1500000},
        {B2000000, 2000000},
    };
    const speed_t speed = cfgetispeed(&tio);
    for (const auto &r : rates)
        if (r.first == speed)
            return r.second;
    return 0;
}

void PtyDevice::close()
{
    if (m_master < 0)
        return;
    emit aboutToClose();
    delete m_readNotifier;
    delete m_writeNotifier;
    m_readNotifier = m_writeNotifier = nullptr;
    m_resume.stop();
    ::close(m_master);
    ::close(m_slave);
    m_master = m_slave = -1;
    m_out.clear();
    QIODevice::close();
}

qint64 PtyDevice::bytesAvailable() const
{
    int n = 0;
    if (m_master >= 0)
        ::ioctl(m_master, FIONREAD, &n);
    return n + QIODevice::bytesAvailable();
}

qint64 PtyDevice::takeCredit(qint64 wanted)
{
    if (m_bytesPerSecond <= 0)
        return wanted;
    const qint64 now = m_clock.elapsed();
    const double burst = qMax(64.0, m_bytesPerSecond * kBurstMs / 1000.0);
    m_credit = qMin(burst, m_credit + double(now - m_creditMs) * m_bytesPerSecond / 1000.0);
    m_creditMs = now;
    return qMin<qint64>(wanted, qint64(m_credit));
}

void PtyDevice::pauseReading()
{
    if (!m_readNotifier)
        return;
    m_readNotifier->setEnabled(false);
    const double need = qMax(1.0, m_bytesPerSecond * kResumeMs / 1000.0) - m_credit;
    const int ms = qMax(1, int(std::ceil(need * 1000.0 / double(m_bytesPerSecond))));
    m_resume.start(ms);
}

qint64 PtyDevice::readData(char *data, qint64 maxSize)
{
    if (m_master < 0)
        return -1;
    const qint64 allowed = takeCredit(maxSize);
    if (allowed <= 0) {
        pauseReading();
        return 0;
    }
    const ssize_t n = ::read(m_master, data, size_t(allowed));
    if (n > 0) {
        if (m_bytesPerSecond > 0)
            m_credit -= double(n);
        return n;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return 0;
    // EIO: no process holds the other end open; with our own slave descriptor this only happens
    // after close().
    return 0;
}

qint64 PtyDevice::writeData(const char *data, qint64 size)
{
    if (m_master < 0)
        return -1;
    m_out.append(data, int(size));
    flushOut();
    return size;
}

void PtyDevice::flushOut()
{
    while (m_master >= 0 && !m_out.isEmpty()) {
        const ssize_t n = ::write(m_master, m_out.constData(), size_t(m_out.size()));
        if (n > 0) {
            m_out.remove(0, int(n));
            emit bytesWritten(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_out.isEmpty());
}
