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
    const bool finished = p.waitForFinished(timeoutMs);
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    if (!finished || p.exitStatus() != QProcess::NormalExit) {
        // Say why, for a failure that shows only now and then.
        r.err += QStringLiteral("\n[tavo-cli did not finish normally: %1]").arg(p.errorString());
        return r;
    }
    r.code = p.exitCode();
    return r;
}
