// Time to open and save projects of growing size in the main window (median of 5 runs).
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
    // Platform chatter would bury the figures.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    std::printf("%-22s %12s %12s %18s\n", "pages x controls", "open ms", "save ms", "reload shown ms");
    const QVector<QPair<int, int>> sizes = {{10, 20}, {50, 20}, {100, 30}, {200, 30}};
    for (const auto &s : sizes) {
        const QString file = dir.filePath(QStringLiteral("p%1/p.Tavo").arg(s.first));
        QDir().mkpath(QFileInfo(file).absolutePath());
        ProjectFile::write(file, project(s.first, s.second));
        QVector<double> open, save, reload;
        for (int run = 0; run < 5; ++run) {
            App::projectPath() = file;
            QElapsedTimer t;
            t.start();
            MainWindow w;
            open.append(t.nsecsElapsed() / 1e6);
            t.restart();
            w.saveProject();
            save.append(t.nsecsElapsed() / 1e6);
            // An import into a window on screen: every page switch shows and hides widgets.
            w.show();
            QCoreApplication::processEvents();
            t.restart();
            w.clearProject();
            w.loadProject();
            QCoreApplication::processEvents();
            reload.append(t.nsecsElapsed() / 1e6);
        }
        std::printf("%5d x %-14d %12.1f %12.1f %18.1f\n", s.first, s.second, median(open), median(save), median(reload));
    }
    return 0;
}
