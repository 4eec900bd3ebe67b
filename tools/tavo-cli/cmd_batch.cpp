#include "batchcli.h"
#include "cliutil.h"

#include "batchdownload.h"
#include "download/transferestimate.h"
#include "library/regularfile.h"
#include "modulefinder.h"
#include "productionwatch.h"
#include "qmynativeeventfilter.h"
#include "virtualportthread.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPortInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

// One line per running job: a block redrawn in place on a terminal, plain lines (one each tenth
// of the way) otherwise.
class BatchProgressView {
public:
    BatchProgressView(const BatchDownload &batch, QTextStream &stream, bool tty)
        : m_batch(batch), m_stream(stream), m_tty(tty)
    {
    }

    void changed(int index)
    {
        if (m_tty)
            return;  // the block is redrawn by the clock
        const BatchJobState &s = m_batch.state(index);
        if (s.finished() || s.totalBytes <= 0)
            return;
        const int tenth = int(s.doneBytes * 10 / s.totalBytes);
        if (m_lastTenth.size() <= index)
            m_lastTenth.resize(index + 1);
        if (tenth <= m_lastTenth.at(index))
            return;
        m_lastTenth[index] = tenth;
        m_stream << lineOf(s) << Qt::endl;
    }

    // Terminal only: the running jobs' lines in place of the previous ones.
    void redraw()
    {
        if (!m_tty)
            return;
        erase();
        for (int i = 0; i < m_batch.count(); ++i) {
            const BatchJobState &s = m_batch.state(i);
            if (s.finished())
                continue;
            m_stream << lineOf(s) << "\x1b[K\n";
            ++m_shown;
        }
        m_stream.flush();
    }

    // Takes the block away, so that a result line can be printed where it was.
    void erase()
    {
        if (!m_tty || m_shown == 0)
            return;
        m_stream << "\x1b[" << m_shown << "A\r\x1b[J";
        m_shown = 0;
    }

    static QString lineOf(const BatchJobState &s)
    {
        const TransferEstimate e = BatchDownload::estimate(s);
        const QString rate = Transfer::formatBytes(qint64(e.bytesPerSecond)) + QStringLiteral("/s");
        return QStringLiteral("%1 %2%  %3  %4 s left")
            .arg(s.label, -16)
            .arg(e.percent, 3)
            .arg(rate, 10)
            .arg(qint64((e.msLeft + 999) / 1000));
    }

private:
    const BatchDownload &m_batch;
    QTextStream &m_stream;
    bool m_tty;
    int m_shown = 0;
    QVector<int> m_lastTenth;
};

QString seconds(qint64 ms) { return QString::number(double(ms) / 1000.0, 'f', 1); }

// "DEV ok 12.3 s" / "DEV failed: <message>".
QString resultLine(const BatchJobState &s)
{
    if (s.status == BatchJobState::Succeeded)
        return QStringLiteral("%1 ok %2 s").arg(s.label, seconds(s.elapsedMs));
    return QStringLiteral("%1 failed: %2").arg(s.label, s.message);
}

QJsonObject resultsJson(const BatchDownload &batch, bool interrupted)
{
    QJsonArray ports;
    for (int i = 0; i < batch.count(); ++i) {
        const BatchJobState &s = batch.state(i);
        QJsonObject o;
        o.insert(QStringLiteral("port"), s.label);
        o.insert(QStringLiteral("device"), s.port);
        o.insert(QStringLiteral("baud"), s.baud);
        o.insert(QStringLiteral("ok"), s.status == BatchJobState::Succeeded);
        o.insert(QStringLiteral("seconds"), double(s.elapsedMs) / 1000.0);
        o.insert(QStringLiteral("bytes"), double(s.doneBytes));
        o.insert(QStringLiteral("message"), s.message);
        ports.append(o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("ok"), batch.failedCount() == 0 && batch.count() > 0 && !interrupted);
    root.insert(QStringLiteral("succeeded"), batch.succeededCount());
    root.insert(QStringLiteral("failed"), batch.failedCount());
    root.insert(QStringLiteral("totalBytes"), double(batch.totalBytes()));
    root.insert(QStringLiteral("ports"), ports);
    return root;
}

// Every port on which a module answers, with the rate it answered at; all ports at once.
QVector<QPair<QString, int>> findModules(const QStringList &ports)
{
    QVector<QPair<QString, int>> found(ports.size());
    std::vector<std::unique_ptr<ModuleFinder>> finders;
    QEventLoop loop;
    int pending = ports.size();
    auto done = [&] {
        if (--pending == 0)
            loop.quit();
    };
    for (int i = 0; i < ports.size(); ++i) {
        finders.push_back(std::make_unique<ModuleFinder>());
        ModuleFinder *f = finders.back().get();
        QObject::connect(f, &ModuleFinder::s_found, &loop, [&, i](const QString &port, int baud) {
            found[i] = {port, baud};
            done();
        });
        QObject::connect(f, &ModuleFinder::s_notFound, &loop, done);
    }
    for (int i = 0; i < ports.size(); ++i)
        finders.at(size_t(i))->start({ports.at(i)});
    if (pending > 0)
        loop.exec();
    QVector<QPair<QString, int>> answered;
    for (const auto &f : found)
        if (f.second > 0)
            answered << f;
    return answered;
}

// Ctrl+C reaches the event loop through a socket; a second one ends the program at once.
int g_signalFd[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    (void)!::write(g_signalFd[0], &c, 1);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

// The first SIGINT or SIGTERM reaches onFirst in the event loop; a second one ends the program.
std::unique_ptr<QSocketNotifier> catchSignals(std::function<void()> onFirst)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFd) != 0)
        return nullptr;
    auto notifier = std::make_unique<QSocketNotifier>(g_signalFd[1], QSocketNotifier::Read);
    QSocketNotifier *n = notifier.get();
    QObject::connect(n, &QSocketNotifier::activated, [n, onFirst] {
        char c;
        (void)!::read(g_signalFd[1], &c, 1);
        n->setEnabled(false);
        onFirst();
    });
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    return notifier;
}

class ResultLog {
public:
    bool open(const QString &path, QString *error)
    {
        if (path.isEmpty())
            return true;
        m_path = path;
        return RegularFile::openForWriting(path, &m_file, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text,
                                           error);
    }
    // "2026-05-04 10:11:12<TAB>DEV<TAB>ok<TAB>12.3"
    void add(const BatchJobState &s)
    {
        if (!m_file.isOpen())
            return;
        const QString result = s.status == BatchJobState::Succeeded ? QStringLiteral("ok")
                                                                    : QStringLiteral("failed: ") + s.message;
        const QString line = QStringLiteral("%1\t%2\t%3\t%4\n")
                                 .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                                      s.label, result, seconds(s.elapsedMs));
        const QByteArray bytes = line.toUtf8();
        if ((m_file.write(bytes) != bytes.size() || !m_file.flush()) && !m_failed) {
            m_failed = true;
            err() << "tavo-cli: cannot write the log '" << m_path << "': " << m_file.errorString() << Qt::endl;
        }
    }
    // A line of results did not reach the log.
    bool failed() const { return m_failed; }

private:
    QFile m_file;
    QString m_path;
    bool m_failed = false;
};

}  // namespace

QString takeBatchPorts(QStringList &args, QStringList *ports, bool *batch, BatchCliOptions *options)
{
    for (int i = args.indexOf(QStringLiteral("--port")); i >= 0; i = args.indexOf(QStringLiteral("--port"))) {
        if (i + 1 >= args.size() || args.at(i + 1).isEmpty())
            return QStringLiteral("--port needs a device");
        *ports << args.at(i + 1);
        args.removeAt(i + 1);
        args.removeAt(i);
    }
    options->portsFound = takeFlag(args, QStringLiteral("--ports-found"));
    options->watch = takeFlag(args, QStringLiteral("--watch"));
    options->json = takeFlag(args, QStringLiteral("--json"));
    *batch = ports->size() > 1 || options->portsFound || options->watch || options->json;
    if (!*batch)
        return QString();
    options->ports = *ports;
    // In a batch the log is the file of results, not the communication of N ports at once.
    const int log = args.indexOf(QStringLiteral("--log"));
    if (log >= 0) {
        if (log + 1 >= args.size() || args.at(log + 1).startsWith(QLatin1String("--")))
            return QStringLiteral("--log needs a file when downloading to several ports");
        options->logFile = args.at(log + 1);
        args.removeAt(log + 1);
        args.removeAt(log);
    }
    if (args.contains(QStringLiteral("--render")))
        return QStringLiteral("--render works with a single virtual module");
    bool present = false;
    QString value;
    if (!takeOption(args, QStringLiteral("--baud"), &value, &present))
        return QStringLiteral("--baud needs a value");
    if (present) {
        bool ok = false;
        options->baud = value.toInt(&ok);
        options->baudGiven = true;
        if (!ok || options->baud <= 0)
            return QStringLiteral("--baud takes a positive number, not '%1'").arg(value);
    }
    // Production mode may rely on hot-plug alone.
    if (ports->isEmpty() && !options->portsFound && !options->watch)
        return QStringLiteral("--port DEV, --ports-found or --watch is required");
    return QString();
}

int runBatchDownload(const BatchCliOptions &options, const DownloadJob &job)
{
    QStringList entries;  // real devices as given, to refuse two naming one device
    for (const QString &p : options.ports)
        if (p != QLatin1String("virtual"))
            entries << p;
    const QString duplicate = BatchDownload::duplicateMessage(entries);
    if (!duplicate.isEmpty())
        return fail(ExitUsage, duplicate);

    ResultLog log;
    QString error;
    if (!log.open(options.logFile, &error))
        return fail(ExitUsage, error);

    QStringList ports, labels;
    QVector<int> bauds;
    std::vector<std::unique_ptr<VirtualPortThread>> virtuals;
    for (const QString &p : options.ports) {
        if (p == QLatin1String("virtual")) {
            virtuals.push_back(std::make_unique<VirtualPortThread>());
            ModuleSettings settings;
            settings.screen = options.screen;
            if (!virtuals.back()->start(settings, options.baudGiven ? options.baud : 0, &error))
                return fail(ExitFailed, QStringLiteral("cannot start the virtual module: %1").arg(error));
            ports << virtuals.back()->devicePath();
            labels << QStringLiteral("virtual%1").arg(virtuals.size());
        } else {
            ports << p;
            labels << p;
        }
        bauds << options.baud;
    }
    QStringList systemPorts;
    if (options.portsFound) {
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
            bool given = false;
            for (const QString &e : entries)
                given = given || BatchDownload::deviceKey(e) == BatchDownload::deviceKey(info.systemLocation());
            if (!given)
                systemPorts << info.systemLocation();
        }
        if (!options.watch) {
            for (const auto &f : findModules(systemPorts)) {
                ports << f.first;
                labels << f.first;
                bauds << f.second;
            }
            if (ports.isEmpty())
                return fail(ExitFailed, QStringLiteral("no module answered on any serial port"));
        }
    }

    BatchDownload batch;
    batch.setJob(job);
    const bool json = options.json;
    FILE *progressFile = json ? stderr : stdout;
    QTextStream &progressStream = json ? err() : out();
    BatchProgressView view(batch, progressStream, ::isatty(fileno(progressFile)) == 1);
    QTimer redraw;
    redraw.setInterval(250);
    QObject::connect(&redraw, &QTimer::timeout, [&view] { view.redraw(); });
    redraw.start();
    QObject::connect(&batch, &BatchDownload::progressChanged, [&view](int i) { view.changed(i); });
    QObject::connect(&batch, &BatchDownload::jobFinished, [&](int i) { log.add(batch.state(i)); });
    QEventLoop loop;

    if (!options.watch) {
        QObject::connect(&batch, &BatchDownload::allFinished, &loop, &QEventLoop::quit);
        // Ctrl+C: nothing more is sent; the jobs end as interrupted and the results still follow.
        bool interrupted = false;
        const auto signalNotifier = catchSignals([&] {
            if (!batch.isRunning())
                return;
            interrupted = true;
            batch.cancelAll(BatchDownload::tr("已中断"));
        });
        for (int i = 0; i < ports.size(); ++i)
            batch.addPort(ports.at(i), bauds.at(i), labels.at(i));
        if (batch.isRunning())
            loop.exec();
        redraw.stop();
        view.erase();
        progressStream.flush();
        if (json) {
            out() << QString::fromUtf8(QJsonDocument(resultsJson(batch, interrupted)).toJson(QJsonDocument::Indented));
        } else {
            for (int i = 0; i < batch.count(); ++i)
                out() << resultLine(batch.state(i)) << Qt::endl;
        }
        out().flush();
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        return batch.failedCount() == 0 && !interrupted && !log.failed() ? ExitOk : ExitFailed;
    }

    // Production mode: until Ctrl+C, then the jobs in flight end and the totals follow.
    ProductionWatch watch(&batch, options.baud);
    QMyNativeEventFilter hotPlug;
    QObject::connect(&hotPlug, &QMyNativeEventFilter::comStatus, &watch, &ProductionWatch::portChanged);
    QObject::connect(&watch, &ProductionWatch::moduleDone,
                     [&](int number, const QString &label, bool ok, const QString &message, qint64 ms) {
                         view.erase();
                         QTextStream &s = json ? err() : out();
                         s << ProductionWatch::resultText(number, ok, message) << "  " << label << "  "
                           << seconds(ms) << " s" << Qt::endl;
                         view.redraw();
                     });
    QObject::connect(&watch, &ProductionWatch::stopped, &loop, &QEventLoop::quit);

    const auto signalNotifier = catchSignals([&] {
        if (batch.isRunning())
            (json ? err() : out()) << ProductionWatch::finishingText() << Qt::endl;
        watch.stop();
    });
    (json ? err() : out()) << ProductionWatch::waitingText()
                           << Qt::endl;
    for (int i = 0; i < ports.size(); ++i)
        watch.watchPort(ports.at(i), labels.at(i));
    for (const QString &p : systemPorts)
        watch.watchPort(p);
    loop.exec();
    redraw.stop();
    view.erase();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (json)
        out() << QString::fromUtf8(QJsonDocument(resultsJson(batch, false)).toJson(QJsonDocument::Indented));
    else
        out() << ProductionWatch::totalsText(watch.succeeded(), watch.failed()) << Qt::endl;
    out().flush();
    return watch.failed() == 0 && !log.failed() ? ExitOk : ExitFailed;
}
