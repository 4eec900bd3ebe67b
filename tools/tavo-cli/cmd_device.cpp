#include "cliutil.h"
#include "commands.h"
#include "devicejob.h"

#include "file/projectfile.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

// Device options first, then exactly `count` plain arguments (optional ones may be missing).
bool splitArgs(const QStringList &arguments, DeviceOptions *options, QStringList *rest, int min, int max,
               const QString &usage, int *status)
{
    QStringList args = arguments;
    const QString problem = takeDeviceOptions(args, options);
    if (!problem.isEmpty()) {
        *status = fail(ExitUsage, problem + QLatin1Char('\n') + usage);
        return false;
    }
    if (!options->renderFolder.isEmpty()) {
        *status = fail(ExitUsage, QStringLiteral("--render belongs to download\n") + usage);
        return false;
    }
    for (const QString &a : args) {
        if (a.startsWith(QLatin1String("--")) && a != QLatin1String("--off")) {
            *status = fail(ExitUsage, QStringLiteral("unknown option '%1'\n").arg(a) + usage);
            return false;
        }
    }
    if (args.size() < min || args.size() > max) {
        *status = fail(ExitUsage, usage);
        return false;
    }
    *rest = args;
    return true;
}

DownloadJob commandJob(DownloadMode mode, const QString &command)
{
    DownloadJob job;
    job.mode = mode;
    job.command = command + QStringLiteral("\r\n");
    return job;
}

int report(int status, const DeviceResult &result)
{
    if (status == ExitOk)
        out() << result.message << Qt::endl;
    return status;
}

QString projectArgument(const QStringList &rest, int index, int *status)
{
    if (rest.size() <= index)
        return QString();
    CliProject project;
    if (!loadCliProject(rest.at(index), &project, CliProject::ReadFolder)) {
        *status = project.loadStatus;
        return QString();
    }
    return project.path;
}

}  // namespace

int cmdSend(const QStringList &arguments)
{
    const QString usage = QStringLiteral("usage: tavo-cli send --port DEV [--baud N] [--log] TEXT");
    DeviceOptions options;
    QStringList rest;
    int status = ExitUsage;
    if (!splitArgs(arguments, &options, &rest, 1, 1, usage, &status))
        return status;
    if (rest.first().isEmpty())
        return fail(ExitUsage, QCoreApplication::translate("MainWindow", "发送指令集内容不能为空！"));
    DeviceResult result;
    status = runDeviceJob(options, commandJob(DownloadMode::Command, rest.first()), &result);
    if (!options.log)
        for (const QString &answer : result.received)
            out() << answer << Qt::endl;
    return report(status, result);
}

int cmdSetBacklight(const QStringList &arguments)
{
    const QString usage = QStringLiteral("usage: tavo-cli set-backlight --port DEV [--baud N] [--log] VALUE [PROJECT]\n"
                                         "VALUE: 0 (brightest) to 255 (darkest)");
    DeviceOptions options;
    QStringList rest;
    int status = ExitUsage;
    if (!splitArgs(arguments, &options, &rest, 1, 2, usage, &status))
        return status;
    bool ok = false;
    const int value = rest.first().toInt(&ok);
    if (!ok || value < 0 || value > 255)
        return fail(ExitUsage, QStringLiteral("backlight value must be 0 to 255, not '%1'").arg(rest.first()));
    status = ExitOk;
    const QString project = projectArgument(rest, 1, &status);
    if (status != ExitOk)
        return status;
    DeviceResult result;
    status = runDeviceJob(options, commandJob(DownloadMode::Backlight, QStringLiteral("ADDR(0);BL(%1);").arg(value)),
                          &result);
    // The project keeps the value only once the module confirmed it.
    if (status == ExitOk && !project.isEmpty() && !ProjectFile::updateBlValue(project, value))
        return fail(ExitFailed, QStringLiteral("the module took the value, but %1 could not be updated").arg(project));
    return report(status, result);
}

int cmdSetBaud(const QStringList &arguments)
{
    const QString usage =
        QStringLiteral("usage: tavo-cli set-baud --port DEV [--baud N] [--log] RATE [PROJECT]\n"
                       "RATE: 9600, 19200, 38400 or 115200; --baud is the rate the port is opened with");
    DeviceOptions options;
    QStringList rest;
    int status = ExitUsage;
    if (!splitArgs(arguments, &options, &rest, 1, 2, usage, &status))
        return status;
    const QStringList rates = {QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400"),
                               QStringLiteral("115200")};
    const QString rate = rest.first();
    if (!rates.contains(rate))
        return fail(ExitUsage, QStringLiteral("rate must be one of %1, not '%2'").arg(rates.join(QStringLiteral(", ")), rate));
    status = ExitOk;
    const QString project = projectArgument(rest, 1, &status);
    if (status != ExitOk)
        return status;
    DeviceResult result;
    status = runDeviceJob(options, commandJob(DownloadMode::BaudRate, QStringLiteral("ADDR(0);BPS(%1);").arg(rate)),
                          &result);
    if (status == ExitOk && !project.isEmpty() && !ProjectFile::updateBaud(project, rate))
        return fail(ExitFailed, QStringLiteral("the module took the rate, but %1 could not be updated").arg(project));
    return report(status, result);
}

int cmdSetAddress(const QStringList &arguments)
{
    const QString usage = QStringLiteral("usage: tavo-cli set-address --port DEV [--baud N] [--log] (--off | ADDRESS)\n"
                                         "ADDRESS: 0 to 255");
    DeviceOptions options;
    QStringList rest;
    int status = ExitUsage;
    if (!splitArgs(arguments, &options, &rest, 1, 1, usage, &status))
        return status;
    DownloadJob job = commandJob(DownloadMode::BusAddress, QStringLiteral("write_flash(2002944,2);"));
    if (rest.first() == QLatin1String("--off")) {
        job.busAddressEnabled = 0;
    } else {
        // Anchored as a whole: "$" alone would let a trailing line break through.
        static const QRegularExpression valid(QRegularExpression::anchoredPattern(
            QStringLiteral("^[0-9]$|^[0-9]{2}$|^[1][0-9]{2}$|^[2][0-4][0-9]$|^[2][5][0-5]$")));
        if (!valid.match(rest.first()).hasMatch())
            return fail(ExitUsage, QStringLiteral("address must be 0 to 255, not '%1'").arg(rest.first()));
        job.busAddressEnabled = 1;
        job.busAddress = rest.first();
    }
    DeviceResult result;
    return report(runDeviceJob(options, job, &result), result);
}

int cmdGetAddress(const QStringList &arguments)
{
    const QString usage = QStringLiteral("usage: tavo-cli get-address --port DEV [--baud N] [--log]");
    DeviceOptions options;
    QStringList rest;
    int status = ExitUsage;
    if (!splitArgs(arguments, &options, &rest, 0, 0, usage, &status))
        return status;
    DeviceResult result;
    status = runDeviceJob(options, commandJob(DownloadMode::Command, QStringLiteral("GET_ADDR();")), &result);
    if (status != ExitOk)
        return status;
    if (!result.hasAddress)
        return fail(ExitFailed, QStringLiteral("the module answered without an address: %1")
                                    .arg(result.received.join(QLatin1Char(' '))));
    out() << QStringLiteral("enabled=%1 address=%2").arg(result.addressEnabled).arg(result.address) << Qt::endl;
    return ExitOk;
}
