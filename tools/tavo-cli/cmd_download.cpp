#include "batchcli.h"
#include "cliutil.h"
#include "commands.h"
#include "devicejob.h"

#include "download/downloadcheck.h"
#include "model/pagefit.h"
#include "download/downloadsteps.h"
#include "seriallink.h"
#include "virtualport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <memory>
#include <unistd.h>

namespace {

// "\r  123456 / 654321 bytes  18%  12 s left" on a terminal.
class ProgressLine {
public:
    explicit ProgressLine(qint64 total) : m_total(total), m_tty(::isatty(STDERR_FILENO) == 1) { m_clock.start(); }
    void add(qint64 n)
    {
        m_done += n;
        if (m_finished || !m_tty || m_total <= 0 || (m_lastMs >= 0 && m_clock.elapsed() - m_lastMs < 100 && m_done < m_total))
            return;
        m_lastMs = m_clock.elapsed();
        const qint64 done = qMin(m_done, m_total);
        const int percent = int(done * 100 / m_total);
        QString left = QStringLiteral("--");
        if (done > 0 && m_lastMs > 0)
            left = QString::number(qint64(double(m_lastMs) * double(m_total - done) / double(done) / 1000.0 + 0.5));
        err() << QStringLiteral("\r%1 / %2 bytes  %3%  %4 s left   ").arg(done).arg(m_total).arg(percent).arg(left);
        err().flush();
        m_shown = true;
    }
    // Ends the line (the log or the result follows); finish() also stops further updates.
    void end()
    {
        if (m_shown)
            err() << Qt::endl;
        m_shown = false;
    }
    void finish(bool ok)
    {
        // The last command may still be in the port; a finished job sent everything.
        if (ok && m_shown && m_done < m_total) {
            m_lastMs = -1;
            add(m_total - m_done);
        }
        end();
        m_finished = true;
    }

private:
    qint64 m_total;
    qint64 m_done = 0;
    qint64 m_lastMs = -1;
    bool m_tty;
    bool m_shown = false;
    bool m_finished = false;
    QElapsedTimer m_clock;
};

bool sendsReset(DownloadMode mode)
{
    return mode == DownloadMode::PagesOnly || mode == DownloadMode::Pictures ||
           mode == DownloadMode::PicturesAndPages || mode == DownloadMode::BusAddress;
}

}  // namespace

QString takeDeviceOptions(QStringList &args, DeviceOptions *options)
{
    bool present = false;
    QString value;
    if (!takeOption(args, QStringLiteral("--port"), &options->port, &present) || !present || options->port.isEmpty())
        return QStringLiteral("--port DEV is required");
    if (!takeOption(args, QStringLiteral("--baud"), &value, &present))
        return QStringLiteral("--baud needs a value");
    if (present) {
        bool ok = false;
        options->baud = value.toInt(&ok);
        options->baudGiven = true;
        if (!ok || options->baud <= 0)
            return QStringLiteral("--baud takes a positive number, not '%1'").arg(value);
    }
    options->log = takeFlag(args, QStringLiteral("--log"));
    if (!takeOption(args, QStringLiteral("--render"), &options->renderFolder, &present))
        return QStringLiteral("--render needs a folder");
    if (present && options->port != QLatin1String("virtual"))
        return QStringLiteral("--render needs --port virtual");
    return QString();
}

int runDeviceJob(const DeviceOptions &options, const DownloadJob &job, DeviceResult *result)
{
    std::unique_ptr<VirtualPort> virtualPort;
    VirtualModule *module = nullptr;
    QString portName = options.port;
    if (options.port == QLatin1String("virtual")) {
        virtualPort = std::make_unique<VirtualPort>();
        ModuleSettings settings;
        settings.screen = options.screen;
        QString error;
        if (!virtualPort->start(settings, options.baudGiven ? options.baud : 0, &error))
            return fail(ExitFailed, QStringLiteral("cannot start the virtual module: %1").arg(error));
        module = virtualPort->module();
        if (!options.renderFolder.isEmpty()) {
            if (!QDir().mkpath(options.renderFolder))
                return fail(ExitFailed, QStringLiteral("cannot create '%1'").arg(options.renderFolder));
            module->setRenderFolder(options.renderFolder);
        }
        portName = virtualPort->devicePath();
    }

    SerialLink link;
    if (!link.open(portName, options.baud))
        return fail(ExitFailed, QStringLiteral("cannot open %1: %2").arg(portName, link.errorString()));

    ProgressLine progress(wireByteCount(job));
    QObject::connect(&link, &SerialLink::s_bytesWritten, [&progress](qint64 n) { progress.add(n); });
    QObject::connect(&link, &SerialLink::s_sendMes, [&](int code, const QString &text) {
        // Confirmations of a baud rate or backlight change are log lines too; the boot-script
        // signal carries no text.
        if (code == SerialLink::BootScriptSent || text.isEmpty())
            return;
        if (text.contains(QStringLiteral("--接收:")))
            result->received << text.mid(text.indexOf(QStringLiteral("--接收:")) + 5).trimmed();
        if (options.log) {
            progress.end();
            QString line = text;
            line.remove(QLatin1Char('\r'));
            line.remove(QLatin1Char('\n'));
            out() << line << Qt::endl;
        }
    });
    QObject::connect(&link, &SerialLink::s_send485, [result](int enabled, int address) {
        result->hasAddress = true;
        result->addressEnabled = enabled;
        result->address = address;
    });

    QEventLoop loop;
    QObject::connect(&link, &SerialLink::s_jobFinished, [&](bool ok, const QString &message) {
        result->ok = ok;
        result->message = message;
        loop.quit();
    });
    bool resetSeen = false;
    if (module)
        QObject::connect(module, &VirtualModule::resetDone, [&] { resetSeen = true; });

    if (!link.startJob(job))
        return fail(ExitFailed, QStringLiteral("cannot start the job"));
    loop.exec();
    progress.finish(result->ok);

    // The last command (a reset) may still be on its way: let it go out before closing.
    if (link.isOpen() && link.pendingWriteBytes() > 0) {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&link, &SerialLink::s_bytesWritten, &loop, [&] {
            if (link.pendingWriteBytes() == 0)
                loop.quit();
        });
        guard.start(5000);
        loop.exec();
    }
    // The module draws its pages when the reset arrives, a moment after the job has sent it.
    if (module && result->ok && sendsReset(job.mode) && !resetSeen) {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(module, &VirtualModule::resetDone, &loop, &QEventLoop::quit);
        guard.start(10000);
        loop.exec();
    }
    link.close(false);
    if (!result->ok) {
        // A malformed information answer ends the job without a message of its own.
        const QString message = result->message.isEmpty()
                                    ? QCoreApplication::translate("SerialPortDlg", "显示屏应答无法识别，下载失败！")
                                    : result->message;
        return fail(ExitFailed, message);
    }
    return ExitOk;
}

int projectBaud(const CliProject &project, int fallback)
{
    bool ok = false;
    const int baud = project.data.baud.toInt(&ok);
    return ok && baud > 0 ? baud : fallback;
}

QString projectDownloadJob(const CliProject &project, bool withPictures, bool picturesOnly, bool fonts, DownloadJob *job)
{
    DownloadMode mode = DownloadMode::PagesOnly;
    if (fonts)
        mode = DownloadMode::Fonts;
    else if (picturesOnly)
        mode = DownloadMode::Pictures;
    else if (withPictures && !project.pictures.isEmpty())
        mode = DownloadMode::PicturesAndPages;
    *job = jobFromProject(project.data, project.folder, mode);

    if (mode == DownloadMode::Pictures && job->pictures.isEmpty())
        return QCoreApplication::translate("MainWindow", "未添加图片无法下载，请您先添加图片！");
    if ((mode == DownloadMode::PagesOnly || mode == DownloadMode::PicturesAndPages) && job->pages.isEmpty())
        return QCoreApplication::translate("MainWindow", "项目中没有页面，无法下载！");
    if (mode != DownloadMode::Fonts)
        return DownloadCheck::firstMessage(*job);
    return QString();
}

int cmdDownload(const QStringList &arguments)
{
    const QString usage = QStringLiteral(
        "usage: tavo-cli download PROJECT.Tavo --port DEV [--with-pictures | --pictures-only | --fonts] "
        "[--baud N] [--log] [--render DIR]\n"
        "       tavo-cli download PROJECT.Tavo --port DEV --port DEV... | --ports-found [--with-pictures | --pictures-only | --fonts]\n"
        "                [--baud N] [--json] [--watch] [--log FILE]");
    QStringList args = arguments;
    QStringList ports;
    bool batch = false;
    BatchCliOptions batchOptions;
    const QString batchProblem = takeBatchPorts(args, &ports, &batch, &batchOptions);
    if (!batchProblem.isEmpty())
        return fail(ExitUsage, batchProblem + QLatin1Char('\n') + usage);
    if (!batch && !ports.isEmpty())
        args << QStringLiteral("--port") << ports.first();
    DeviceOptions options;
    if (batch)
        options.port = QStringLiteral("batch");
    const QString problem = batch ? QString() : takeDeviceOptions(args, &options);
    if (!problem.isEmpty())
        return fail(ExitUsage, problem + QLatin1Char('\n') + usage);
    const bool withPictures = takeFlag(args, QStringLiteral("--with-pictures"));
    const bool picturesOnly = takeFlag(args, QStringLiteral("--pictures-only"));
    const bool fonts = takeFlag(args, QStringLiteral("--fonts"));
    if (int(withPictures) + int(picturesOnly) + int(fonts) > 1)
        return fail(ExitUsage, QStringLiteral("choose one of --with-pictures, --pictures-only, --fonts\n") + usage);
    for (const QString &a : args)
        if (a.startsWith(QLatin1String("--")))
            return fail(ExitUsage, QStringLiteral("unknown option '%1'\n").arg(a) + usage);
    if (args.size() != 1)
        return fail(ExitUsage, QStringLiteral("download needs one project file\n") + usage);

    CliProject project;
    if (!loadCliProject(args.first(), &project, CliProject::ReadFolder))
        return project.loadStatus;
    if (batch)
        options.baudGiven = batchOptions.baudGiven;
    if (!options.baudGiven)
        options.baud = projectBaud(project, options.baud);
    if (project.data.frameW > 0 && project.data.frameH > 0)
        options.screen = QSize(project.data.frameW, project.data.frameH);

    DownloadJob job;
    const QString refusal = projectDownloadJob(project, withPictures, picturesOnly, fonts, &job);
    if (!refusal.isEmpty())
        return fail(ExitFailed, refusal);
    const DownloadMode mode = job.mode;
    // Items the module will clip away are named, but the download goes on.
    if (mode == DownloadMode::PagesOnly || mode == DownloadMode::PicturesAndPages) {
        for (const QString &w : PageFit::outsideWarnings(project.data.pages, project.data.frameW, project.data.frameH))
            err() << w << '\n';
        err().flush();
    }

    if (batch) {
        batchOptions.screen = options.screen;
        if (!batchOptions.baudGiven)
            batchOptions.baud = options.baud;
        return runBatchDownload(batchOptions, job);
    }

    DeviceResult result;
    const int status = runDeviceJob(options, job, &result);
    if (status == ExitOk) {
        out() << result.message << Qt::endl;
        if (!options.renderFolder.isEmpty())
            out() << QStringLiteral("pages shown by the virtual module: %1").arg(QDir(options.renderFolder).absolutePath())
                  << Qt::endl;
    }
    return status;
}
