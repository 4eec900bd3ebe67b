// Time from nothing to the main window shown with a project of N pages x 64 controls open:
// "read" is the project file reader alone (the window reads the file too, so it is part of the
// window's time), "window" the window made with the project loaded, "shown" that plus showing
// it. The figure per page must stay flat as the page count grows.
#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "benchproject.h"
#include "file/projectfile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

using BenchProject::median;
using BenchProject::project;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    // Runs per size (median taken) as the first argument.
    const int runs = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 3;
    std::printf("%-16s %12s %12s %12s %12s\n", "pages x 64", "read ms", "window ms", "shown ms", "ms/page");
    // Page counts may be given as a second argument: "125,250".
    QVector<int> sizes{125, 200, 250, 500, 1000};
    if (argc > 2) {
        sizes.clear();
        for (const QByteArray &n : QByteArray(argv[2]).split(','))
            sizes.append(n.toInt());
    }
    for (int pages : qAsConst(sizes)) {
        const QString file = dir.filePath(QStringLiteral("p%1/p.Tavo").arg(pages));
        QDir().mkpath(QFileInfo(file).absolutePath());
        ProjectFile::write(file, project(pages, 64));
        QVector<double> read, made, shown;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer t;
            t.start();
            ProjectData d;
            ProjectFile::read(file, 0, &d);
            read.append(t.nsecsElapsed() / 1e6);
            App::projectPath() = file;
            t.restart();
            {
                MainWindow w;
                made.append(t.nsecsElapsed() / 1e6);
                w.show();
                QCoreApplication::processEvents();
                shown.append(t.nsecsElapsed() / 1e6);
            }
            QCoreApplication::processEvents();
        }
        const double s = median(shown);
        std::printf("%5d x 64       %12.1f %12.1f %12.1f %12.3f\n", pages, median(read), median(made), s, s / pages);
        std::fflush(stdout);
    }
    return 0;
}
