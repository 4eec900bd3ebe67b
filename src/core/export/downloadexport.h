#pragma once

#include "download/downloadjob.h"
#include "export/generatedc.h"

#include <QString>
#include <QVector>

// The download of a project as portable C for a product's own firmware: the job's data as const
// arrays and a step machine that sends exactly what Tavo's download sends, waits as long and
// judges the module's answers the same way.
struct DownloadExportOptions {
    QString prefix;
    QString command;           // named in the files' first comment
    int baud = 115200;         // the project's line rate, the machine's default
    bool pixelsFromReader = false;  // the pixel block is read through a callback, not built in
    bool example = false;      // also a POSIX program that runs it on a serial device
};

struct DownloadExport {
    QVector<GeneratedC::File> files;
    QString problem;           // the job cannot be downloaded: no files
    qint64 dataBytes = 0;      // bytes of the job's arrays
};

DownloadExport exportDownload(const DownloadJob &job, const DownloadExportOptions &options);
