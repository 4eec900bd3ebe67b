#pragma once

#include "download/downloadjob.h"

#include <QSize>
#include <QString>

// How a device command reaches the module.
struct DeviceOptions {
    QString port;         // a device path or name, or "virtual"
    int baud = 115200;
    bool baudGiven = false;  // a virtual module then reads at the speed of that line
    bool log = false;     // communication log on standard output
    QString renderFolder; // virtual module only: pages it shows, as PNG files
    QSize screen = QSize(320, 240);  // virtual module only
};

struct DeviceResult {
    bool ok = false;
    QString message;
    bool hasAddress = false;
    int addressEnabled = 0;
    int address = 0;
    QStringList received;  // the module's answers, as logged
};

// Runs one job on the port (or on a virtual module started in this process) until it ends.
// Returns the exit status: ExitOk, ExitFailed (the job failed or the port would not open).
int runDeviceJob(const DeviceOptions &options, const DownloadJob &job, DeviceResult *result);

struct CliProject;
// The project's baud rate when it names a valid one, otherwise fallback.
int projectBaud(const CliProject &project, int fallback);
// The job of a project download in the mode the flags choose (--with-pictures falls back to the
// pages when there are no pictures). Returns why it cannot be downloaded, empty when it can.
QString projectDownloadJob(const CliProject &project, bool withPictures, bool picturesOnly, bool fonts,
                           DownloadJob *job);

// Reads "--port", "--baud", "--log" and "--render" from args; returns an error text for bad usage.
QString takeDeviceOptions(QStringList &args, DeviceOptions *options);
