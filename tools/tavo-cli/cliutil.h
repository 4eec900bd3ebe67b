#pragma once

#include <QString>
#include <QTextStream>

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

QTextStream &out();
QTextStream &err();

// Prints "tavo-cli: <message>" on standard error and returns the code.
int fail(int code, const QString &message);
