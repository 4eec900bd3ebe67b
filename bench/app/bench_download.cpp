// Downloading a project with its pictures from the window, as a person does it: the port dialog's
// virtual module entry at 921600 baud, then the download question answered with "同时下载资源".
// Figures per project: elapsed over the wire-time bound (as bench_device gives for the link alone)
// and the longest the user-interface thread went without running a 1 ms timer during the job.
#include "app/appglobals.h"
#include "app/mainform.h"
#include "app/mainwindow.h"
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
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 Baud = 921600;

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

QString copyDemo(const QString &destDir)
{
    const QString src = QStringLiteral(TAVO_EXAMPLES "/demo");
    QDirIterator it(src, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = destDir + QLatin1Char('/') + QDir(src).relativeFilePath(from);
        QDir().mkpath(QFileInfo(to).absolutePath());
        QFile::copy(from, to);
    }
    return destDir + QStringLiteral("/demo.Tavo");
}

// 100 pages of texts, numbers and boxes over four full-screen pictures (4 x 480 x 272 x 2 bytes,
// about 1 MiB on the module).
QString makeLargeProject(const QString &folder)
{
    QDir().mkpath(folder + QStringLiteral("/tempImages"));
    for (int i = 0; i < 4; ++i) {
        QImage img(480, 272, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, qRgb((x + 40 * i) & 0xFF, y & 0xFF, (x ^ y) & 0xFF));
        img.save(folder + QStringLiteral("/tempImages/%1_back%2.bmp").arg(100001 + i).arg(i));
    }
    ProjectData d;
    d.frameW = 480;
    d.frameH = 272;
    d.screenType = 1;
    d.dpi = QStringLiteral("480*272(HHVGA)");
    d.baud = QString::number(Baud);
    for (int p = 0; p < 100; ++p) {
        PageData page;
        page.imageNum = p % 4;
        for (int i = 0; i < 12; ++i) {
            ControlRecord r = ControlRecord::make(i % 3 == 0 ? ControlKind::Number : ControlKind::Text, i);
            r.x = 10 * i;
            r.y = 20 * i;
            r.text = i % 3 == 0 ? QStringLiteral("123.4") : QStringLiteral("页面%1 控件%2").arg(p).arg(i);
            page.controls << r;
        }
        for (int i = 0; i < 6; ++i) {
            QMyDrawType box;
            box.setDrawType(QMyDrawType::Box);
            box.setRect(i * 5, i * 7, 40, 30);
            page.primitives << box;
        }
        d.pages << page;
    }
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
        benchProject("demo", copyDemo(dir.filePath(QStringLiteral("demo"))));
    if (wanted("large"))
        benchProject("100 pages + 1 MiB pictures", makeLargeProject(dir.filePath(QStringLiteral("large"))));
    return 0;
}
