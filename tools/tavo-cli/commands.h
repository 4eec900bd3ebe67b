#pragma once

#include <QStringList>

// Each command gets its own arguments (without the program and command names) and returns the
// exit status: 0 success, 1 a check or the device failed, 2 bad usage or an unreadable project.
int cmdInfo(const QStringList &args);
int cmdScript(const QStringList &args);
int cmdCheck(const QStringList &args);
int cmdRender(const QStringList &args);
int cmdPictures(const QStringList &args);
int cmdDownload(const QStringList &args);
int cmdExportDownload(const QStringList &args);
int cmdSend(const QStringList &args);
int cmdSetBacklight(const QStringList &args);
int cmdSetBaud(const QStringList &args);
int cmdSetAddress(const QStringList &args);
int cmdGetAddress(const QStringList &args);
int cmdSet(const QStringList &args);
int cmdFindModule(const QStringList &args);
int cmdBindings(const QStringList &args);
