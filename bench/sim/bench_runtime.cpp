// Instructions per second the virtual module's runtime executes: an 800 x 480 page of 64
// controls (32 texts, 32 progress bars), SET_TXT and SET_PROG mixed, the seen screen fetched at
// most 60 times a second as the window does. Two ways in: the runtime alone, and whole lines
// through the module's line handling (as they arrive over the pty). Prints medians of 5 runs.
// Usage: bench_runtime [COUNT]

#include "virtualmodule.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>

namespace {

QByteArray page()
{
    QByteArray s = "CLR(15);";
    for (int i = 0; i < 64; ++i) {
        const int col = i % 8, row = i / 8;
        const int x = col * 100, y = row * 60;
        if (i < 32)
            s += QStringLiteral("TXT(%1,%2,90,24,16,'Text %3',0,0,0,0,7,0);").arg(x).arg(y).arg(i).toLatin1();
        else
            s += QStringLiteral("PROG(%1,%2,90,24,%3,0,0,0,0,1,7,0);").arg(x).arg(y + 30).arg(i).toLatin1();
    }
    return s + "\r\n";
}

QString instruction(int i)
{
    return i % 2 ? QStringLiteral("SET_PROG(%1,%2);").arg(32 + (i / 2) % 32).arg(i % 101)
                 : QStringLiteral("SET_TXT(%1,'Value %2');").arg((i / 2) % 32).arg(i);
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 20000;
    const QByteArray script = page();

    QVector<double> direct, lines;
    int frames = 0;
    for (int run = 0; run < 5; ++run) {
        ModuleRuntime rt(QSize(800, 480));
        rt.setPage(0, script);
        rt.submit(QStringLiteral("DIR(1);JUMP(0);"), 0);
        QElapsedTimer clock;
        clock.start();
        qint64 lastFrame = -1000;
        frames = 0;
        for (int i = 0; i < count; ++i) {
            rt.submit(instruction(i), clock.elapsed());
            if (clock.elapsed() - lastFrame >= 16) {
                lastFrame = clock.elapsed();
                rt.display();
                ++frames;
            }
        }
        direct << count * 1000.0 / qMax<qint64>(1, clock.elapsed());

        VirtualModule module;
        ModuleSettings settings;
        settings.screen = QSize(800, 480);
        module.setSettings(settings);
        module.runtime().setPage(0, script);
        module.inject("DIR(1);JUMP(0);\r\n");
        clock.restart();
        lastFrame = -1000;
        for (int i = 0; i < count; ++i) {
            module.inject(instruction(i).toLatin1() + "\r\n");
            if (clock.elapsed() - lastFrame >= 16) {
                lastFrame = clock.elapsed();
                module.runtime().display();
            }
        }
        lines << count * 1000.0 / qMax<qint64>(1, clock.elapsed());
    }
    std::printf("runtime alone:        %.0f instructions/s (%d frames in the last run)\n", median(direct), frames);
    std::printf("through line handling: %.0f instructions/s\n", median(lines));
    return 0;
}
