// What reading a project costs, as the issue of streaming the reader measures it:
//  - peak RSS of `tavo-cli info` and of the window opening a project, per MB of project file
//    above a small project (800 x 480, 64 controls a page);
//  - `tavo-cli info` on a project with 200 pictures of 800 x 480 against the same without;
//  - the window's time to first paint at 125, 250, 500 and 1000 pages (growth per page), and at
//    500 pages with 200 pictures against none;
//  - save and load of 200 pages x 84 items (`tavo-cli set`, which reads and writes the file).
// Programs run as child processes under /usr/bin/time, which gives their peak RSS. With --before DIR, the
// tavo-cli and bench_projectopen of an older build in DIR are measured in the same run, and each
// figure is printed for both with the ratio.
//
// Child mode: --open FILE makes the window on FILE, shows it, paints once and exits.
// --first-paint FILE [ROUNDS] prints the median time to first paint of FILE alone;
// --make-project PAGES FILE writes such a project to profile, --make-pictures DIR the pair of
// projects with and without pictures.
#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "library/librarypanel.h"
#include "benchdata.h"
#include "file/projectfile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThreadPool>

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct Run {
    double ms = 0;
    double rssMb = 0;
    int status = -1;
};

// Runs a program to its end with its output thrown away: wall time and peak RSS. The program is
// started by /usr/bin/time, a small process: a child of this large one would count this one's
// pages in its own peak.
Run runChild(const QString &program, const QStringList &args)
{
    static const QString rssFile = QDir::temp().filePath(QStringLiteral("bench_readmemory_%1.rss").arg(getpid()));
    QVector<QByteArray> store{"/usr/bin/time", "-f", "%M", "-o", QFile::encodeName(rssFile), QFile::encodeName(program)};
    for (const QString &a : args)
        store << a.toLocal8Bit();
    QVector<char *> argv;
    for (QByteArray &s : store)
        argv << s.data();
    argv << nullptr;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run r;
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        return r;
    int status = 0;
    waitpid(pid, &status, 0);
    r.ms = t.nsecsElapsed() / 1e6;
    QFile f(rssFile);
    if (f.open(QIODevice::ReadOnly))
        r.rssMb = f.readAll().trimmed().toDouble() / 1024.0;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    posix_spawn_file_actions_destroy(&actions);
    return r;
}

// Median of rounds of each program, interleaved so that a busy machine weighs on both alike.
QVector<Run> medians(const QVector<QPair<QString, QStringList>> &programs, int rounds)
{
    QVector<QVector<double>> ms(programs.size()), rss(programs.size());
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < programs.size(); ++i) {
            const Run r = runChild(programs.at(i).first, programs.at(i).second);
            ms[i] << r.ms;
            rss[i] << r.rssMb;
        }
    }
    QVector<Run> out;
    for (int i = 0; i < programs.size(); ++i) {
        Run r;
        r.ms = median(ms.at(i));
        r.rssMb = median(rss.at(i));
        out << r;
    }
    return out;
}


QString writeProject(const QString &folder, const ProjectData &d)
{
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/p.Tavo");
    ProjectFile::write(file, d);
    return file;
}

double fileMb(const QString &file) { return QFileInfo(file).size() / (1024.0 * 1024.0); }

// Median time from nothing to the window shown and painted once, in this process. Thumbnails
// decoded afterwards are waited for between rounds, outside the time.
double firstPaint(const QString &file, int rounds)
{
    QVector<double> t;
    for (int round = 0; round < rounds; ++round) {
        App::projectPath() = file;
        QElapsedTimer timer;
        timer.start();
        {
            MainWindow w;
            w.show();
            QCoreApplication::processEvents();
            t << timer.nsecsElapsed() / 1e6;
            // The thumbnails decode on a thread of their own after the first paint: finished here,
            // or they would run into the next round's time.
            QElapsedTimer waited;
            waited.start();
            while (!w.library()->thumbnailsComplete() && waited.elapsed() < 60000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThreadPool::globalInstance()->waitForDone();
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
    }
    return median(t);
}

// 100 pages over 200 pictures of 800 x 480, and the same pages without pictures, in `folder`.
void makePicturePair(const QString &folder, QStringList *files)
{
    const QString with = folder + QStringLiteral("/pic200");
    const QString without = folder + QStringLiteral("/pic0");
    makePictures(with + QStringLiteral("/tempImages"), 200, QSize(800, 480));
    ProjectData d;
    d.frameW = 800;
    d.frameH = 480;
    d.pages = hundredPages(200);
    *files << writeProject(with, d);
    for (PageData &p : d.pages)
        p.imageNum = -1;
    *files << writeProject(without, d);
}

int openWindow(const QString &file)
{
    App::projectPath() = file;
    MainWindow w;
    w.show();
    QCoreApplication::processEvents();
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--open"))
        return openWindow(args.at(2));
    if (args.size() == 4 && args.at(1) == QLatin1String("--make-project")) {
        // A project of N pages x 64 controls to profile with --first-paint.
        ProjectFile::write(args.at(3), readingProject(args.at(2).toInt(), 64));
        return 0;
    }
    if (args.size() == 3 && args.at(1) == QLatin1String("--make-pictures")) {
        // The pair of 100-page projects with 200 pictures and with none, to profile.
        QStringList files;
        makePicturePair(args.at(2), &files);
        std::printf("%s\n%s\n", qPrintable(files.at(0)), qPrintable(files.at(1)));
        return 0;
    }
    if (args.size() >= 3 && args.at(1) == QLatin1String("--first-paint")) {
        // One project's time to first paint alone, for profiling.
        std::printf("%.1f ms\n", firstPaint(args.at(2), args.size() > 3 ? args.at(3).toInt() : 5));
        return 0;
    }

    const QString self = QCoreApplication::applicationFilePath();
    const QString bin = QCoreApplication::applicationDirPath();
    QString before;
    int rounds = 3;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--before"))
            before = args.at(i + 1);
        if (args.at(i) == QLatin1String("--rounds"))
            rounds = qMax(1, args.at(i + 1).toInt());
    }
    const QString cli = bin + QStringLiteral("/tavo-cli");
    const QString oldCli = before.isEmpty() ? QString() : before + QStringLiteral("/tavo-cli");
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());

    // Peak RSS per MB of file.
    const QVector<int> sizes{20, 250, 1000};
    QVector<QString> files;
    for (int pages : sizes)
        files << writeProject(dir.filePath(QStringLiteral("m%1").arg(pages)), readingProject(pages, 64));
    std::printf("peak RSS (MB), median of %d; per MB of file above the %d-page project\n", rounds, sizes.first());
    std::printf("%-10s %9s %12s %12s %12s %12s\n", "pages", "file MB", "info", "info before", "window",
                "per MB i/w");
    QVector<Run> base;
    for (int i = 0; i < files.size(); ++i) {
        QVector<QPair<QString, QStringList>> programs{{cli, {QStringLiteral("info"), files.at(i)}},
                                                      {self, {QStringLiteral("--open"), files.at(i)}}};
        if (!oldCli.isEmpty())
            programs << qMakePair(oldCli, QStringList{QStringLiteral("info"), files.at(i)});
        const QVector<Run> r = medians(programs, rounds);
        if (i == 0)
            base = r;
        const double mb = fileMb(files.at(i)) - fileMb(files.first());
        const double oldInfo = r.size() > 2 ? r.at(2).rssMb : 0;
        std::printf("%-10d %9.1f %12.1f %12.1f %12.1f", sizes.at(i), fileMb(files.at(i)), r.at(0).rssMb, oldInfo,
                    r.at(1).rssMb);
        if (i > 0) {
            std::printf("   %5.2f / %5.2f", (r.at(0).rssMb - base.at(0).rssMb) / mb, (r.at(1).rssMb - base.at(1).rssMb) / mb);
            if (r.size() > 2)
                std::printf("   (info before: %5.2f)", (r.at(2).rssMb - base.at(2).rssMb) / mb);
        }
        std::printf("\n");
        std::fflush(stdout);
    }

    // info with 200 pictures of 800 x 480 against none.
    {
        QStringList pair;
        makePicturePair(dir.path(), &pair);
        const QString withFile = pair.at(0);
        const QString withoutFile = pair.at(1);
        QVector<QPair<QString, QStringList>> programs{{cli, {QStringLiteral("info"), withFile}},
                                                      {cli, {QStringLiteral("info"), withoutFile}}};
        if (!oldCli.isEmpty()) {
            programs << qMakePair(oldCli, QStringList{QStringLiteral("info"), withFile});
            programs << qMakePair(oldCli, QStringList{QStringLiteral("info"), withoutFile});
        }
        // Runs of some 40 ms on a shared machine: many rounds, or the ratio is noise.
        const QVector<Run> r = medians(programs, qMax(rounds, 21));
        std::printf("\ninfo, 200 pictures of 800 x 480 / none: %.1f ms / %.1f ms = %.2f", r.at(0).ms, r.at(1).ms,
                    r.at(0).ms / r.at(1).ms);
        if (r.size() > 2)
            std::printf("   (before: %.1f ms / %.1f ms = %.2f)", r.at(2).ms, r.at(3).ms, r.at(2).ms / r.at(3).ms);
        std::printf("\n");
        std::fflush(stdout);

        // The window on the same pair, to its first paint.
        // Some 100 ms a window, and a shared machine's speed drifts: many interleaved rounds.
        QVector<double> withPictures, withoutPictures;
        for (int round = 0; round < qMax(rounds, 21); ++round) {
            withPictures << firstPaint(withFile, 1);
            withoutPictures << firstPaint(withoutFile, 1);
        }
        std::printf("window to first paint, 200 pictures / none: %.1f ms / %.1f ms = %.2f\n", median(withPictures),
                    median(withoutPictures), median(withPictures) / median(withoutPictures));
        // The same in a fresh process each time, from start to exit: the rounds above share the
        // process's picture cache, so only this one pays for decoding the shown page's picture.
        const QVector<Run> fresh = medians({{self, {QStringLiteral("--open"), withFile}},
                                            {self, {QStringLiteral("--open"), withoutFile}}},
                                           qMax(rounds, 21));
        std::printf("window in a fresh process, 200 pictures / none: %.1f ms / %.1f ms = %.2f\n", fresh.at(0).ms,
                    fresh.at(1).ms, fresh.at(0).ms / fresh.at(1).ms);
        std::fflush(stdout);
    }

    // Window time to first paint per page, in this process. The sizes take turns round by round,
    // so that a shared machine's drift in speed weighs on all of them alike.
    {
        const int growthRounds = qMax(rounds, 7);
        std::printf("\nwindow to first paint (ms), median of %d\n", growthRounds);
        const QVector<int> pages{125, 250, 500, 1000};
        QStringList files;
        for (int n : pages)
            files << writeProject(dir.filePath(QStringLiteral("w%1").arg(n)), readingProject(n, 64));
        QVector<QVector<double>> times(pages.size());
        for (int round = 0; round < growthRounds; ++round) {
            for (int i = 0; i < pages.size(); ++i)
                times[i] << firstPaint(files.at(i), 1);
        }
        QVector<double> shown;
        for (int i = 0; i < pages.size(); ++i) {
            shown << median(times.at(i));
            std::printf("%5d pages: %8.1f ms\n", pages.at(i), shown.last());
        }
        // Least squares over the four sizes, and the two ends alone.
        double mx = 0, my = 0;
        for (int i = 0; i < pages.size(); ++i) {
            mx += pages.at(i) / double(pages.size());
            my += shown.at(i) / pages.size();
        }
        double sxy = 0, sxx = 0;
        for (int i = 0; i < pages.size(); ++i) {
            sxy += (pages.at(i) - mx) * (shown.at(i) - my);
            sxx += (pages.at(i) - mx) * (pages.at(i) - mx);
        }
        std::printf("growth per page 125..1000: %.3f ms (ends), %.3f ms (fit over the four sizes)\n",
                    (shown.last() - shown.first()) / (pages.last() - pages.first()), sxy / sxx);
        std::fflush(stdout);
    }

    // Save and load: `tavo-cli set` reads the file and writes it again.
    {
        const QString file = writeProject(dir.filePath(QStringLiteral("s200")), readingProject(200, 64, 20));
        QVector<QPair<QString, QStringList>> programs;
        const QStringList set{QStringLiteral("set"), file, QStringLiteral("--page"), QStringLiteral("0"),
                              QStringLiteral("--control"), QStringLiteral("0"), QStringLiteral("x=5")};
        const QStringList set2{QStringLiteral("set"), file, QStringLiteral("--page"), QStringLiteral("0"),
                               QStringLiteral("--control"), QStringLiteral("0"), QStringLiteral("x=6")};
        programs << qMakePair(cli, set) << qMakePair(cli, set2);
        if (!oldCli.isEmpty())
            programs << qMakePair(oldCli, set) << qMakePair(oldCli, set2);
        const QVector<Run> r = medians(programs, qMax(rounds, 5));
        const double now = (r.at(0).ms + r.at(1).ms) / 2;
        std::printf("\nsave + load, 200 pages x 84 items (%.1f MB): %.1f ms", fileMb(file), now);
        if (r.size() > 2) {
            const double then = (r.at(2).ms + r.at(3).ms) / 2;
            std::printf(", before %.1f ms, ratio %.2f", then, now / then);
        }
        std::printf("\n");
    }
    return 0;
}
