#pragma once

#include "ptydevice.h"

#include <QEventLoop>
#include <QIODevice>
#include <QProcess>
#include <QTimer>

struct ProgramRun {
    int code = -1;  // -1 when it crashed or did not finish in time
    QByteArray out;
    QByteArray err;
};

// Runs a program without blocking the event loop, so that a module in this process can answer.
inline ProgramRun runProgram(const QString &program, const QStringList &args, int timeoutMs = 120000)
{
    QProcess p;
    QEventLoop loop;
    QObject::connect(&p, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop, &QEventLoop::quit);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    p.start(program, args);
    loop.exec();
    ProgramRun r;
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// The module's side of the line, keeping a copy of everything read from it.
class RecordingLine : public QIODevice {
public:
    explicit RecordingLine(PtyDevice *pty) : m_pty(pty)
    {
        connect(pty, &QIODevice::readyRead, this, &QIODevice::readyRead);
        open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    }
    QByteArray received;
    bool isSequential() const override { return true; }
    // A module that closes the line hangs up the pty as well.
    void close() override
    {
        m_pty->close();
        QIODevice::close();
    }
    qint64 bytesAvailable() const override { return m_pty->bytesAvailable() + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = m_pty->read(data, maxSize);
        if (n > 0)
            received.append(data, int(n));
        return n;
    }
    qint64 writeData(const char *data, qint64 size) override { return m_pty->write(data, size); }

private:
    PtyDevice *m_pty;
};
