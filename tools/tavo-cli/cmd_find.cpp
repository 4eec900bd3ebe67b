#include "cliutil.h"
#include "commands.h"

#include "modulefinder.h"

#include <QEventLoop>
#include <QSerialPortInfo>

int cmdFindModule(const QStringList &arguments)
{
    const QString usage = QStringLiteral("usage: tavo-cli find-module [--port DEV]");
    QStringList args = arguments;
    QString port;
    bool present = false;
    if (!takeOption(args, QStringLiteral("--port"), &port, &present) || (present && port.isEmpty()))
        return fail(ExitUsage, QStringLiteral("--port needs a device\n") + usage);
    if (!args.isEmpty())
        return fail(ExitUsage, QStringLiteral("unknown argument '%1'\n").arg(args.first()) + usage);

    QStringList ports;
    if (present) {
        ports << port;
    } else {
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            ports << info.systemLocation();
    }
    if (ports.isEmpty())
        return fail(ExitFailed, QStringLiteral("no serial port to try"));

    ModuleFinder finder;
    QEventLoop loop;
    QString foundPort;
    int foundBaud = 0;
    QObject::connect(&finder, &ModuleFinder::s_found, &loop, [&](const QString &name, int baud) {
        foundPort = name;
        foundBaud = baud;
        loop.quit();
    });
    QObject::connect(&finder, &ModuleFinder::s_notFound, &loop, &QEventLoop::quit);
    finder.start(ports);
    if (finder.isRunning())
        loop.exec();
    if (foundBaud == 0)
        return fail(ExitFailed, QStringLiteral("no module answered on %1 at %2 baud")
                                    .arg(ports.join(QStringLiteral(", ")), ModuleFinder::baudRates().join(QLatin1Char('/'))));
    out() << foundPort << ' ' << foundBaud << Qt::endl;
    return ExitOk;
}
