#include "modulefinder.h"

ModuleFinder::ModuleFinder(QObject *parent) : QObject(parent), m_port(this), m_wait(this)
{
    m_wait.setSingleShot(true);
    m_wait.setInterval(AnswerWaitMs);
    connect(&m_wait, &QTimer::timeout, this, &ModuleFinder::giveUpOnThisRate);
    connect(&m_port, &QSerialPort::readyRead, this, &ModuleFinder::onReadyRead);
    for (const QString &r : baudRates())
        m_rates << r.toInt();
}

QStringList ModuleFinder::baudRates()
{
    return {QStringLiteral("9600"),   QStringLiteral("19200"),  QStringLiteral("38400"),  QStringLiteral("115200"),
            QStringLiteral("460800"), QStringLiteral("921600"), QStringLiteral("1000000")};
}

void ModuleFinder::start(const QStringList &ports)
{
    cancel();
    m_ports = ports;
    m_portIndex = 0;
    m_rateIndex = -1;
    m_running = true;
    tryNext();
}

void ModuleFinder::cancel()
{
    m_wait.stop();
    if (m_port.isOpen())
        m_port.close();
    m_running = false;
}

void ModuleFinder::tryNext()
{
    while (m_running) {
        if (m_port.isOpen())
            m_port.close();
        ++m_rateIndex;
        if (m_rateIndex >= m_rates.size()) {
            m_rateIndex = 0;
            ++m_portIndex;
        }
        if (m_portIndex >= m_ports.size()) {
            m_running = false;
            emit s_notFound();
            return;
        }
        const QString name = m_ports.at(m_portIndex);
        const int baud = m_rates.at(m_rateIndex);
        m_port.setPortName(name);
        if (!m_port.open(QIODevice::ReadWrite)) {
            // A port that does not open at one rate opens at none.
            m_rateIndex = m_rates.size();
            continue;
        }
        if (!m_port.setBaudRate(baud) || !m_port.setDataBits(QSerialPort::Data8) ||
            !m_port.setParity(QSerialPort::NoParity) || !m_port.setStopBits(QSerialPort::OneStop) ||
            !m_port.setFlowControl(QSerialPort::NoFlowControl))
            continue;
        m_port.clear(QSerialPort::AllDirections);
        m_answer.clear();
        emit s_trying(name, baud);
        m_port.write("GET_ADDR();\r\n");
        m_wait.start();
        return;
    }
}

void ModuleFinder::onReadyRead()
{
    m_answer += m_port.readAll();
    if (m_answer.size() > 4096)
        m_answer = m_answer.right(4096);
    if (!m_running || !m_answer.contains("GETADDR_"))
        return;
    m_wait.stop();
    const QString name = m_ports.at(m_portIndex);
    const int baud = m_rates.at(m_rateIndex);
    m_port.close();
    m_running = false;
    emit s_found(name, baud);
}

void ModuleFinder::giveUpOnThisRate() { tryNext(); }
