// Download figures: (a) wire efficiency of a large project against the virtual module at 921600
// baud, (b) CPU used while a job waits for an answer, (c) time to build 11 MiB of pixel data.
#include "benchdata.h"
#include "download/downloadblocks.h"
#include "download/downloadsteps.h"
#include "download/transferestimate.h"
#include "ptydevice.h"
#include "seriallink.h"
#include "virtualmodule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

DownloadJob bigProject(const QTemporaryDir &dir)
{
    DownloadJob job;
    job.mode = DownloadMode::PicturesAndPages;
    // 4 x 256 x 512 x 2 bytes = 1 MiB of pixel data.
    job.pictures = PictureLibrary::fromPaths(makePictures(dir.path(), 4, QSize(256, 512)));
    job.pages = hundredPages(4);
    return job;
}

void benchWire()
{
    constexpr qint64 baud = 921600;
    QTemporaryDir dir;
    const DownloadJob job = bigProject(dir);
    const qint64 bytes = wireByteCount(job);
    const double boundMs = Transfer::lineMs(bytes, baud);
    QVector<double> ratios, times;
    for (int run = 0; run < 3; ++run) {
        PtyDevice pty;
        VirtualModule module;
        if (!pty.openPty())
            return;
        pty.setBaud(baud);
        module.attach(&pty);
        SerialLink link;
        if (!link.open(pty.slavePath(), int(baud)))
            return;
        QSignalSpy finished(&link, &SerialLink::s_jobFinished);
        QElapsedTimer t;
        t.start();
        link.startJob(job);
        if (!finished.wait(300000) || !finished.first().at(0).toBool()) {
            std::printf("(a) download failed\n");
            return;
        }
        const double ms = double(t.elapsed());
        times << ms;
        ratios << ms / boundMs;
    }
    std::printf("(a) 100 pages + 1 MiB pictures at 921600 baud: %lld bytes, wire bound %.0f ms, "
                "elapsed median %.0f ms, ratio %.3f (target <= 1.05)\n",
                bytes, boundMs, median(times), median(ratios));
}

double cpuSeconds()
{
    struct rusage u;
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void benchIdleWait()
{
    PtyDevice pty;
    VirtualModule module;
    ModuleSettings settings;
    settings.silentAnswer = 1;  // the module never answers
    module.setSettings(settings);
    if (!pty.openPty())
        return;
    module.attach(&pty);
    SerialLink link;
    if (!link.open(pty.slavePath(), 115200))
        return;
    DownloadJob job;
    job.mode = DownloadMode::Command;
    job.command = QStringLiteral("VER();\r\n");
    link.startJob(job);
    QEventLoop loop;
    QTimer::singleShot(200, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = cpuSeconds() - cpu0;
    const double wall = double(t.elapsed()) / 1000.0;
    std::printf("(b) waiting %.1f s for an answer: %.3f s CPU = %.3f %% of one core (target < 1 %%), job still %s\n",
                wall, cpu, 100.0 * cpu / wall, link.isBusy() ? "waiting" : "ended");
}

void benchPixels()
{
    QTemporaryDir dir;
    // 11 x 512 x 1024 x 2 bytes = 11 MiB of pixel data.
    const PictureLibrary lib = PictureLibrary::fromPaths(makePictures(dir.path(), 11, QSize(512, 1024)));
    QVector<double> times;
    qint64 size = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        const QByteArray block = DownloadBlocks::pixelData(lib);
        times << double(t.nsecsElapsed()) / 1e6;
        size = block.size();
    }
    std::printf("(c) pixel block of %lld bytes from 11 BMP files: median %.1f ms (target < 150 ms)\n", size,
                median(times));
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    auto wanted = [&](const char *name) { return args.isEmpty() || args.contains(QLatin1String(name)); };
    if (wanted("pixels"))
        benchPixels();
    if (wanted("idle"))
        benchIdleWait();
    if (wanted("wire"))
        benchWire();
    return 0;
}
