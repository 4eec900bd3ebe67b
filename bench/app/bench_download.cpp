// Downloading a project with its pictures from the window, as a person does it: the port dialog's
// virtual module entry at 921600 baud, then the download question answered with "同时下载资源".
// Figures per project: elapsed over the wire-time bound (as bench_device gives for the link alone)
// and the longest the user-interface thread went without running a 1 ms timer during the job.
#include "app/appglobals.h"
#include "app/mainform.h"
#include "app/mainwindow.h"
#include "benchdata.h"
#include "demoproject.h"
#include "dialogs/qmymessagebox.h"
#include "dialogs/serialportdlg.h"
#include "download/downloadjob.h"
#include "download/downloadsteps.h"
#include "download/transferestimate.h"
#include "file/projectfile.h"
#include "seriallink.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 Baud = 921600;

// The 100 pages over four full-screen pictures (4 x 480 x 272 x 2 bytes, about 1 MiB on the module).
QString makeLargeProject(const QString &folder)
{
    makePictures(folder + QStringLiteral("/tempImages"), 4, QSize(480, 272));
    ProjectData d;
    d.frameW = 480;
    d.frameH = 272;
    d.screenType = 1;
    d.dpi = QStringLiteral("480*272(HHVGA)");
    d.baud = QString::number(Baud);
    d.pages = hundredPages(4);
    const QString path = folder + QStringLiteral("/large.Tavo");
    QString error;
    if (!ProjectFile::write(path, d, &error))
        std::printf("cannot write %s: %s\n", qPrintable(path), qPrintable(error));
    return path;
}

void click(QMyMessageBox *box, const char *name)
{
    if (auto *b = box->findChild<QPushButton *>(QLatin1String(name)))
        b->click();
}

struct Run {
    bool ok = false;
    double ms = 0;
    double longestStallMs = 0;
};

// One download with pictures from the already opened window.
Run downloadOnce(MainWindow &w)
{
    Run run;
    SerialLink *link = w.serialPortDlg()->link();
    w.on_btnInstrDownLoad_clicked();
    if (!w.questionBox()->isVisible()) {
        std::printf("  refused: %s\n", qPrintable(w.infoBox()->message()));
        return run;
    }
    w.questionBox()->findChild<QCheckBox *>(QStringLiteral("checkBoxDown"))->setChecked(true);

    QEventLoop loop;
    bool ok = false;
    QObject::connect(link, &SerialLink::s_jobFinished, &loop, [&](bool success) {
        ok = success;
        loop.quit();
    });
    QElapsedTimer tick, clock;
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, &loop, [&] {
        longest = qMax(longest, tick.nsecsElapsed());
        tick.restart();
    });
    QTimer::singleShot(600000, &loop, &QEventLoop::quit);

    clock.start();
    tick.start();
    heartbeat.start();
    // Yes: the job starts from this click, on this thread, as it does for a person.
    click(w.questionBox(), "btnOk");
    if (link->isBusy())
        loop.exec();
    run.ms = double(clock.nsecsElapsed()) / 1e6;
    heartbeat.stop();
    longest = qMax(longest, tick.nsecsElapsed());
    run.longestStallMs = double(longest) / 1e6;
    run.ok = ok;
    return run;
}

void benchProject(const char *label, const QString &path)
{
    App::projectPath() = path;
    MainWindow w;
    w.show();
    QCoreApplication::processEvents();

    w.on_btnSetCOM_clicked();
    SerialPortDlg *dlg = w.serialPortDlg();
    dlg->portCombox()->setCurrentIndex(dlg->portCombox()->findData(SerialPortDlg::virtualEntry()));
    dlg->baudCombox()->setCurrentText(QString::number(Baud));
    dlg->on_btnOpenClose_clicked();
    if (!dlg->link()->isOpen()) {
        std::printf("%s: the virtual module did not open\n", label);
        return;
    }
    dlg->hide();

    DownloadJob job = jobFromProject(w.projectData(), MainWindow::projectFolder(), DownloadMode::PicturesAndPages);
    job.bootPage = w.form().cbBootJump->currentIndex();
    const qint64 bytes = wireByteCount(job);
    const double boundMs = Transfer::lineMs(bytes, Baud);

    QVector<double> times, ratios, stalls;
    for (int i = 0; i < 3; ++i) {
        const Run r = downloadOnce(w);
        if (!r.ok) {
            std::printf("%s: download failed\n", label);
            return;
        }
        times << r.ms;
        ratios << r.ms / boundMs;
        stalls << r.longestStallMs;
        // The message boxes of a finished job stay up in the window; close them for the next run.
        w.infoBox()->hide();
        dlg->hide();
    }
    std::printf("%-34s %10lld %9.0f %11.0f %7.3f %12.1f %12.1f\n", label, bytes, boundMs, median(times),
                median(ratios), median(stalls), *std::max_element(stalls.begin(), stalls.end()));
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Platform chatter would bury the figures.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    App::programPath() = dir.filePath(QStringLiteral("tavo"));
    std::printf("Window download with pictures at %lld baud (3 runs; ratio target <= 1.05, stall target < 50 ms)\n",
                Baud);
    std::printf("%-34s %10s %9s %11s %7s %12s %12s\n", "project", "bytes", "bound ms", "elapsed ms", "ratio",
                "stall ms", "worst stall");
    const QStringList args = app.arguments().mid(1);
    auto wanted = [&](const char *name) { return args.isEmpty() || args.contains(QLatin1String(name)); };
    if (wanted("demo"))
        {
        QString demo;
        copyDemoTo(dir.filePath(QStringLiteral("demo")), &demo);
        benchProject("demo", demo);
    }
    if (wanted("large"))
        benchProject("100 pages + 1 MiB pictures", makeLargeProject(dir.filePath(QStringLiteral("large"))));
    return 0;
}
