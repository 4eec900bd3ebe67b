#include "instructserialport.h"

#include "stepworker.h"

#include <QThread>

InstructSerialPort::InstructSerialPort(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<DownloadJob>();
    qRegisterMetaType<QVector<StepOutput>>();
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("download worker"));
    m_worker = new StepWorker;
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &StepWorker::outputs, this, &InstructSerialPort::onOutputs);
    m_thread->start(QThread::InheritPriority);
}

InstructSerialPort::~InstructSerialPort()
{
    m_busy = false;
    disconnect(m_worker, nullptr, this, nullptr);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

void InstructSerialPort::setTimeScale(double scale)
{
    QMetaObject::invokeMethod(m_worker, [w = m_worker, scale] { w->setTimeScale(scale); }, Qt::QueuedConnection);
}

void InstructSerialPort::startJob(const DownloadJob &job)
{
    const quint64 gen = ++m_generation;
    m_busy = true;
    QMetaObject::invokeMethod(m_worker, [w = m_worker, gen, job] { w->start(gen, job); }, Qt::QueuedConnection);
}

void InstructSerialPort::resetJob()
{
    m_busy = false;
    const quint64 gen = m_generation.load();
    // Whatever the old job still emits is dropped from here on.
    ++m_generation;
    QMetaObject::invokeMethod(m_worker, [w = m_worker, gen] { w->reset(gen); }, Qt::QueuedConnection);
}

void InstructSerialPort::advanceStep()
{
    if (!m_busy)
        return;
    const quint64 gen = m_generation.load();
    QMetaObject::invokeMethod(m_worker, [w = m_worker, gen] { w->acknowledge(gen); }, Qt::QueuedConnection);
}

void InstructSerialPort::lineDrained()
{
    if (!m_busy)
        return;
    const quint64 gen = m_generation.load();
    QMetaObject::invokeMethod(m_worker, [w = m_worker, gen] { w->lineDrained(gen); }, Qt::QueuedConnection);
}

void InstructSerialPort::progressTick()
{
    if (!m_busy)
        return;
    const quint64 gen = m_generation.load();
    QMetaObject::invokeMethod(m_worker, [w = m_worker, gen] { w->progressTick(gen); }, Qt::QueuedConnection);
}

void InstructSerialPort::onOutputs(quint64 generation, const QVector<StepOutput> &outputs)
{
    for (const StepOutput &o : outputs) {
        if (generation != m_generation.load())
            return;
        switch (o.kind) {
        case StepOutput::Message: emit s_sendMes(o.code, o.text); break;
        case StepOutput::Write: emit s_writePort(o.bytes); break;
        case StepOutput::Progress:
            emit s_sendProgressBar(o.code, int(qMin<qint64>(o.total, INT_MAX)), int(qMin<qint64>(o.value, INT_MAX)));
            break;
        case StepOutput::Finished:
            m_busy = false;
            emit s_jobFinished(o.ok, o.text);
            break;
        }
    }
}
