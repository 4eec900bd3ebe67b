#include "stepworker.h"

#include <cmath>

StepWorker::StepWorker() : m_timer(this), m_steps([this] { return now(); })
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &StepWorker::onTimeout);
}

qint64 StepWorker::now() const { return qint64(double(m_clock.elapsed()) * m_scale); }

void StepWorker::start(quint64 generation, const DownloadJob &job)
{
    m_generation = generation;
    m_steps.start(job);
    afterInput();
}

void StepWorker::acknowledge(quint64 generation)
{
    if (generation != m_generation)
        return;
    m_steps.acknowledge();
    afterInput();
}

void StepWorker::reset(quint64 generation)
{
    if (generation != m_generation)
        return;
    m_steps.reset();
    m_steps.takeOutput();
    m_timer.stop();
}

void StepWorker::lineDrained(quint64 generation)
{
    if (generation != m_generation)
        return;
    m_steps.lineDrained();
    afterInput();
}

void StepWorker::progressTick(quint64 generation)
{
    if (generation != m_generation)
        return;
    m_steps.progressTick();
    afterInput();
}

void StepWorker::onTimeout()
{
    m_steps.checkTimeout();
    afterInput();
}

void StepWorker::afterInput()
{
    const QVector<StepOutput> out = m_steps.takeOutput();
    if (!out.isEmpty())
        emit outputs(m_generation, out);
    const qint64 wait = m_steps.msUntilTimeout();
    if (wait < 0) {
        m_timer.stop();
        return;
    }
    // A timer that fires a little early just finds the step still waiting and is armed again.
    const double real = std::ceil(double(wait) / m_scale);
    m_timer.start(int(qBound(1.0, real, double(INT_MAX))));
}
