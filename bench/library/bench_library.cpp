// Opening a project of 200 pictures of 800 x 480 in the window: time until the window is shown
// and until every thumbnail of the picture table is in (median of 3 runs, each a new window).
#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "file/projectfile.h"
#include "library/librarypanel.h"
#include "library/thumbnailloader.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>

static double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 200;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString folder = dir.filePath(QStringLiteral("lib"));
    QDir().mkpath(folder + QStringLiteral("/tempImages"));
    for (int n = 0; n < count; ++n) {
        QImage img(800, 480, QImage::Format_RGB888);
        img.fill(QColor::fromHsv((n * 7) % 360, 180, 220));
        QPainter p(&img);
        p.fillRect(40 + n % 300, 40, 200, 120, Qt::white);
        p.end();
        img.save(folder + QStringLiteral("/tempImages/%1_p%2.bmp").arg(100001 + n).arg(n));
    }
    ProjectData d;
    d.frameW = 800;
    d.frameH = 480;
    d.screenType = 1;
    d.dpi = QStringLiteral("480*800(WVGA)");
    PageData page;
    page.imageNum = 0;
    d.pages << page;
    const QString file = folder + QStringLiteral("/lib.Tavo");
    ProjectFile::write(file, d);

    std::printf("%d pictures of 800 x 480, %d threads in the pool\n", count, QThread::idealThreadCount());
    QVector<double> shown, thumbs;
    for (int run = 0; run < 3; ++run) {
        App::projectPath() = file;
        QElapsedTimer t;
        t.start();
        MainWindow w;
        w.show();
        QCoreApplication::processEvents();
        shown.append(t.nsecsElapsed() / 1e6);
        LibraryPanel *lib = w.library();
        // The window keeps answering while the thumbnails come in: the longest gap between two
        // turns of the event loop says how long a click would wait.
        qint64 longestGapNs = 0;
        QElapsedTimer gap;
        gap.start();
        while (!lib->thumbnailsComplete()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            longestGapNs = std::max(longestGapNs, gap.nsecsElapsed());
            gap.restart();
            QThread::usleep(200);
        }
        thumbs.append(t.nsecsElapsed() / 1e6);
        std::printf("run %d: shown %.1f ms, all thumbnails %.1f ms, longest event-loop gap %.1f ms, %d decoded\n", run + 1,
                    shown.last(), thumbs.last(), longestGapNs / 1e6, lib->thumbnails()->decodeCount());
    }
    std::printf("median: window shown %.1f ms, all thumbnails in %.1f ms\n", median(shown), median(thumbs));
    return 0;
}
