#pragma once

#include "download/downloadsteps.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// The part of InstructSerialPort that lives in the worker thread: the step machine, its clock
// and its time-out timer. Every call reaches it queued.
class StepWorker : public QObject {
    Q_OBJECT
public:
    StepWorker();

    void start(quint64 generation, const DownloadJob &job);
    void acknowledge(quint64 generation);
    void reset(quint64 generation);
    void lineDrained(quint64 generation);
    void progressTick(quint64 generation);
    void setTimeScale(double scale) { m_scale = scale > 0 ? scale : 1.0; }

signals:
    void outputs(quint64 generation, const QVector<StepOutput> &outputs);

private:
    void afterInput();
    void onTimeout();
    qint64 now() const;

    QElapsedTimer m_clock;  // monotonic
    QTimer m_timer;
    DownloadSteps m_steps;
    quint64 m_generation = 0;
    double m_scale = 1.0;
};

Q_DECLARE_METATYPE(QVector<StepOutput>)
