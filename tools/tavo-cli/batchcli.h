#pragma once

#include "download/downloadjob.h"

#include <QSize>
#include <QStringList>

// A download to several ports at once, or production mode.
struct BatchCliOptions {
    QStringList ports;  // as given; "virtual" entries are virtual modules of their own
    bool portsFound = false;
    bool watch = false;
    bool json = false;
    QString logFile;  // one line per module appended here
    int baud = 115200;
    bool baudGiven = false;
    QSize screen = QSize(320, 240);  // virtual modules
};

// True when the download arguments ask for a batch: several --port, --ports-found, --watch or
// --json. Takes every "--port DEV" out of args into *ports; an error text for bad usage.
QString takeBatchPorts(QStringList &args, QStringList *ports, bool *batch, BatchCliOptions *options);

// Runs the batch (or production mode until Ctrl+C) and returns the exit status.
int runBatchDownload(const BatchCliOptions &options, const DownloadJob &job);
