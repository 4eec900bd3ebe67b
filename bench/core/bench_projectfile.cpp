// Save, load and page scripts of a large project: 200 pages, each with 64 controls of every kind
// and 20 primitives. Prints the median of several runs of each.
#include "file/projectfile.h"
#include "script/scripts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

ProjectData bigProject()
{
    ProjectData p;
    p.frameW = 480;
    p.frameH = 272;
    p.screenType = 1;
    p.dpi = QStringLiteral("480*272(HHVGA)");
    for (int n = 0; n < 200; ++n) {
        PageData page;
        page.backgroundNum = n % 64;
        page.imageNum = n % 3 == 0 ? n % 8 : -1;
        for (int i = 0; i < 64; ++i) {
            // Two QR codes per page at most; the other 62 cycle through the other five kinds.
            const ControlKind kind = i < 2 ? ControlKind::QRCode : static_cast<ControlKind>(i % 5);
            ControlRecord c = ControlRecord::make(kind, page.nextControlId(kind));
            c.x = (i * 37) % 400;
            c.y = (i * 23) % 240;
            c.fontColorNum = i % 64;
            if (kind == ControlKind::Text || kind == ControlKind::Button)
                c.text = QStringLiteral("页面%1 控件%2").arg(n).arg(i);
            else if (kind == ControlKind::Number)
                c.text = QString::number(i * 1.25);
            if (kind == ControlKind::Button && i % 2)
                c.imageNum = i % 8;
            page.controls.append(c);
        }
        for (int i = 0; i < 20; ++i) {
            QMyDrawType d;
            d.setDrawType(1 + i % 6);
            d.setStart(i * 10, i * 7);
            d.setEnd(i * 10 + 30, i * 7 + 20);
            d.setColorNum(i);
            page.primitives.append(d);
        }
        p.pages.append(page);
    }
    return p;
}

double medianMs(int runs, const std::function<void()> &f)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        times.append(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int runs = 9;
    const ProjectData project = bigProject();
    QTemporaryDir dir;
    // "bench_projectfile FILE" keeps the generated project in FILE.
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath(QStringLiteral("big.Tavo"));

    const double save = medianMs(runs, [&] { ProjectFile::write(path, project); });
    const qint64 bytes = QFileInfo(path).size();

    ProjectData loaded;
    bool ok = false;
    const double load = medianMs(runs, [&] {
        loaded = ProjectData();
        ok = ProjectFile::read(path, 8, &loaded).ok;
    });
    const bool same = ok && loaded == project;
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray xml = file.readAll();
    const double fullParser = medianMs(3, [&] {
        ProjectData d;
        ProjectFile::readFromBytesWith(xml, 8, &d, path, false);
    });

    // A hand-made file with one page of very many controls: numbering them must stay linear.
    QByteArray crowded = "<ui><page>";
    for (int i = 0; i < 100000; ++i)
        crowded += "<ClassName ClassName=\"QLabel\"/><ClassName ClassName=\"QRcode\"/>";
    crowded += "</page></ui>";
    const double crowdedLoad = medianMs(3, [&] {
        ProjectData d;
        ProjectFile::readFromBytes(crowded, 0, &d);
    });

    PictureLibrary pictures;
    for (int i = 0; i < 8; ++i)
        pictures.append(PictureInfo{QString(), QSize(480, 272), 0});
    qint64 scriptChars = 0;
    const double scripts = medianMs(runs, [&] {
        scriptChars = 0;
        for (int i = 0; i < project.pages.size(); ++i) {
            QString s;
            buildPageScript(project.pages.at(i), i, pictures, &s);
            scriptChars += s.size();
        }
    });

    out << "project: 200 pages x (64 controls + 20 primitives), file " << bytes / 1024 << " KiB"
        << (same ? "" : " (ROUND TRIP DIFFERS)") << "\n";
    out << QStringLiteral("  (the same load through the full parser, used for unusual or broken files: %1 ms)\n")
               .arg(fullParser, 0, 'f', 1);
    out << QStringLiteral("  (one page of 200000 controls: %1 ms)\n").arg(crowdedLoad, 0, 'f', 1);
    out << QStringLiteral("median of %1 runs: save %2 ms, load %3 ms, all page scripts %4 ms (%5 characters)\n")
               .arg(runs)
               .arg(save, 0, 'f', 1)
               .arg(load, 0, 'f', 1)
               .arg(scripts, 0, 'f', 1)
               .arg(scriptChars);
    return same ? 0 : 1;
}
