#pragma once

#include <QString>

// How far a transfer is and how long the rest will take, for people watching it.
struct TransferEstimate {
    qint64 doneBytes = 0;
    qint64 totalBytes = 0;
    int percent = 0;
    double bytesPerSecond = 0;  // measured, or the line's speed before there is a measurement
    bool measured = false;
    qint64 msLeft = 0;
};

namespace Transfer {

// Below this much elapsed time a measured rate says little; the line's speed stands in until
// the transfer is over.
constexpr qint64 MinMeasureMs = 500;

// Time a line of this baud rate needs for the bytes, unrounded (8N1: ten bits a byte); 0 when
// the rate is unknown. Every wire time in downloading comes from here.
double lineMs(qint64 bytes, qint64 baud);
// The same in whole milliseconds, rounded up: the least a transfer can take.
qint64 wireMs(qint64 bytes, qint64 baud);
// done of total bytes after elapsedMs; the rest at the measured rate, or at the line's speed.
TransferEstimate estimate(qint64 done, qint64 total, qint64 elapsedMs, qint64 baud);

// "1.5 MB", "512 KB", "300 B".
QString formatBytes(qint64 bytes);
// "0:42", "12:05", "1:02:03".
QString formatDuration(qint64 ms);
// "1.2 MB / 3.4 MB · 11.2 KB/s · 剩余 0:42" (the last part translated).
QString describe(const TransferEstimate &e);

}  // namespace Transfer
