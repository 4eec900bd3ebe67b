#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// tavo-cli of this build, run as a user would run it.
struct CliRun {
    int code = -1;  // -1 when it crashed or did not finish in time
    QByteArray out;
    QString err;
    QString outText() const { return QString::fromUtf8(out); }
};

inline CliRun runTavoCli(const QStringList &args, int timeoutMs = 120000)
{
    QProcess p;
    p.start(QStringLiteral(TAVO_BIN_DIR "/tavo-cli"), args);
    CliRun r;
    if (!p.waitForFinished(timeoutMs))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
