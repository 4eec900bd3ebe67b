// Many modules at once, on virtual modules at 921600 baud with the demo project and its pictures:
// (a) elapsed time of N = 1, 2, 4, 8 modules against one, (b) CPU used per module while every job
// waits for an answer, (c) the interface thread's longest stall in the batch dialog with 8 modules.
#include "benchdata.h"
#include "batchdownload.h"
#include "dialogs/batchdownloaddlg.h"
#include "download/downloadsteps.h"
#include "download/transferestimate.h"
#include "file/projectfile.h"
#include "virtualportthread.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QComboBox>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int Baud = 921600;

DownloadJob demoJob(DownloadMode mode)
{
    const QString project = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");
    const QString folder = QFileInfo(project).absolutePath();
    ProjectData data;
    if (!ProjectFile::read(project, PictureLibrary::fromProjectFolder(folder).count(), &data).ok)
        return DownloadJob();
    return jobFromProject(data, folder, mode);
}

std::vector<std::unique_ptr<VirtualPortThread>> startModules(int n, const ModuleSettings &settings, QStringList *ports)
{
    std::vector<std::unique_ptr<VirtualPortThread>> modules;
    for (int i = 0; i < n; ++i) {
        modules.push_back(std::make_unique<VirtualPortThread>());
        if (!modules.back()->start(settings, Baud))
            return {};
        *ports << modules.back()->devicePath();
    }
    return modules;
}

// Milliseconds for a batch over n modules, -1 when any failed.
double batchMs(const DownloadJob &job, int n)
{
    ModuleSettings settings;
    settings.baud = Baud;
    QStringList ports;
    const auto modules = startModules(n, settings, &ports);
    if (int(modules.size()) != n)
        return -1;
    BatchDownload batch;
    batch.setJob(job);
    QSignalSpy all(&batch, &BatchDownload::allFinished);
    QElapsedTimer t;
    t.start();
    for (const QString &p : ports)
        batch.addPort(p, Baud);
    if (!all.wait(300000) || batch.failedCount() > 0)
        return -1;
    return double(t.elapsed());
}

void benchScaling()
{
    const DownloadJob job = demoJob(DownloadMode::PicturesAndPages);
    BatchDownload sizing;
    sizing.setJob(job);
    const double wire = Transfer::lineMs(sizing.totalBytes(), Baud);
    std::printf("(a) demo project + %d pictures, %lld bytes a module, wire bound %.0f ms at %d baud\n",
                job.pictures.count(), sizing.totalBytes(), wire, Baud);
    double one = 0;
    for (int n : {1, 2, 4, 8}) {
        QVector<double> times;
        for (int run = 0; run < 3; ++run) {
            const double ms = batchMs(job, n);
            if (ms < 0) {
                std::printf("    N=%d: a download failed\n", n);
                return;
            }
            times << ms;
        }
        const double m = median(times);
        if (n == 1)
            one = m;
        std::printf("    N=%d: elapsed median %.0f ms, ratio to N=1 %.3f%s\n", n, m, m / one,
                    n == 8 ? " (target <= 1.10)" : "");
    }
}

double cpuSeconds()
{
    struct rusage u;
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void benchWaiting()
{
    constexpr int n = 8;
    ModuleSettings settings;
    settings.silentAnswer = 1;  // the modules never answer: every job waits for its time-out
    QStringList ports;
    const auto modules = startModules(n, settings, &ports);
    BatchDownload batch;
    batch.setJob(demoJob(DownloadMode::PagesOnly));
    for (const QString &p : ports)
        batch.addPort(p, Baud);
    QEventLoop loop;
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = cpuSeconds() - cpu0;
    const double wall = double(t.elapsed()) / 1000.0;
    std::printf("(b) %d jobs waiting %.1f s for an answer: %.4f s CPU in all, %.4f %% of one core per module, "
                "%d still waiting\n",
                n, wall, cpu, 100.0 * cpu / wall / n, batch.runningCount());
}

void benchDialogStall()
{
    constexpr int n = 8;
    BatchDownloadDlg dlg;
    const DownloadJob job = demoJob(DownloadMode::PicturesAndPages);
    dlg.setJobSource([&job](DownloadMode, DownloadJob *out) {
        *out = job;
        return true;
    });
    dlg.setDefaults(Baud, QSize(320, 240));
    dlg.virtualCount()->setValue(n);
    dlg.modeCombox()->setCurrentIndex(1);
    dlg.show();
    // A tick every 5 ms on the interface thread; a late tick is a stall.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = qMax(longest, now - last - 5);
        last = now;
    });
    QSignalSpy finished(&dlg, &BatchDownloadDlg::s_batchFinished);
    tick.start();
    last = clock.elapsed();
    // The start click is measured too: it makes the job and starts the modules and the jobs.
    QTimer::singleShot(0, &dlg, [&dlg] { dlg.btnStart()->click(); });
    const bool ok = finished.wait(300000);
    tick.stop();
    std::printf("(c) batch dialog with %d virtual modules: %s in %.1f s, longest interface stall %lld ms "
                "(target < 50 ms)\n",
                n, ok && finished.first().at(1).toInt() == 0 ? "all succeeded" : "FAILED",
                double(clock.elapsed()) / 1000.0, longest);
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    auto wanted = [&](const char *name) { return args.isEmpty() || args.contains(QLatin1String(name)); };
    if (wanted("scaling"))
        benchScaling();
    if (wanted("waiting"))
        benchWaiting();
    if (wanted("dialog"))
        benchDialogStall();
    return 0;
}
