#include "download/transferestimate.h"

#include <QCoreApplication>

#include <cmath>

namespace Transfer {

double lineMs(qint64 bytes, qint64 baud)
{
    if (baud <= 0 || bytes <= 0)
        return 0;
    return double(bytes) * 10.0 * 1000.0 / double(baud);
}

qint64 wireMs(qint64 bytes, qint64 baud) { return qint64(std::ceil(lineMs(bytes, baud))); }

TransferEstimate estimate(qint64 done, qint64 total, qint64 elapsedMs, qint64 baud)
{
    TransferEstimate e;
    e.totalBytes = qMax<qint64>(0, total);
    e.doneBytes = qBound(qint64(0), done, e.totalBytes);
    e.percent = e.totalBytes > 0 ? int(e.doneBytes * 100 / e.totalBytes) : 0;
    const qint64 left = e.totalBytes - e.doneBytes;
    // A transfer that is over is measured however short it was: the line's speed is only a
    // stand-in while too little has gone to tell.
    const bool over = e.totalBytes > 0 && e.doneBytes == e.totalBytes && elapsedMs > 0;
    if ((elapsedMs >= MinMeasureMs || over) && e.doneBytes > 0) {
        e.measured = true;
        e.bytesPerSecond = double(e.doneBytes) * 1000.0 / double(elapsedMs);
        e.msLeft = qint64(std::ceil(double(left) * 1000.0 / e.bytesPerSecond));
    } else {
        e.bytesPerSecond = baud > 0 ? double(baud) / 10.0 : 0;
        e.msLeft = wireMs(left, baud);
    }
    return e;
}

QString formatBytes(qint64 bytes)
{
    if (bytes >= 1024 * 1024)
        return QStringLiteral("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
    if (bytes >= 1024)
        return QStringLiteral("%1 KB").arg(double(bytes) / 1024.0, 0, 'f', bytes >= 100 * 1024 ? 0 : 1);
    return QStringLiteral("%1 B").arg(bytes);
}

QString formatDuration(qint64 ms)
{
    const qint64 s = (qMax<qint64>(0, ms) + 999) / 1000;
    const qint64 h = s / 3600, m = s / 60 % 60, sec = s % 60;
    const QChar zero(QLatin1Char('0'));
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, zero).arg(sec, 2, 10, zero);
    return QStringLiteral("%1:%2").arg(m).arg(sec, 2, 10, zero);
}

QString describe(const TransferEstimate &e)
{
    const QString rate = formatBytes(qint64(e.bytesPerSecond)) + QStringLiteral("/s");
    return QStringLiteral("%1 / %2 · %3 · ")
               .arg(formatBytes(e.doneBytes), formatBytes(e.totalBytes), rate) +
           QCoreApplication::translate("SerialPortDlg", "剩余 %1").arg(formatDuration(e.msLeft));
}

}  // namespace Transfer
