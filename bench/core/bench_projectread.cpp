// The project file reader alone on projects of 125 to 1000 pages of 64 controls (800 x 480, the
// window benchmarks' projects): time per read in CPU time of the reading thread, which a busy
// machine disturbs much less than wall time, and the growth per page. Files given as arguments
// are read instead.
#include "benchdata.h"
#include "file/projectfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}


// Median and lowest CPU and wall time of reading the file `rounds` times.
void measure(const QString &file, int pages, int rounds, double *cpuMedian)
{
    QVector<double> cpu, wall;
    for (int r = 0; r < rounds; ++r) {
        ProjectData d;
        QElapsedTimer t;
        t.start();
        const double c0 = threadCpuMs();
        const ProjectFile::ReadResult result = ProjectFile::read(file, 0, &d);
        cpu << threadCpuMs() - c0;
        wall << t.nsecsElapsed() / 1e6;
        if (!result.ok || (pages > 0 && d.pages.size() != pages)) {
            std::printf("%s: not read: %s\n", qPrintable(file), qPrintable(result.reason));
            return;
        }
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());
    *cpuMedian = cpu.at(cpu.size() / 2);
    std::printf("%-28s %8.1f MB %10.1f %10.1f %10.1f\n", qPrintable(QFileInfo(file).fileName()),
                QFileInfo(file).size() / 1048576.0, cpu.at(cpu.size() / 2), cpu.first(), wall.at(wall.size() / 2));
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = 9;
    std::printf("%-28s %11s %10s %10s %10s\n", "file", "size", "cpu ms", "cpu min", "wall ms");
    QStringList files = app.arguments().mid(1);
    if (!files.isEmpty()) {
        for (const QString &f : files) {
            double cpu = 0;
            measure(f, 0, rounds, &cpu);
        }
        return 0;
    }
    QTemporaryDir dir;
    const QVector<int> sizes{125, 250, 500, 1000};
    QVector<double> cpu;
    for (int pages : sizes) {
        const QString file = dir.filePath(QStringLiteral("p%1.Tavo").arg(pages));
        ProjectFile::write(file, readingProject(pages, 64));
        double c = 0;
        measure(file, pages, rounds, &c);
        cpu << c;
    }
    std::printf("growth per page 125..1000 (cpu): %.3f ms\n", (cpu.last() - cpu.first()) / (sizes.last() - sizes.first()));
    return 0;
}
