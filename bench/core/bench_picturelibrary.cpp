// What reading a picture library costs now that every picture is decoded for its true size and
// state, against reading only the headers.
#include "library/picturelibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const int bmps = 40, jpgs = 10;
    for (int i = 0; i < bmps + jpgs; ++i) {
        QImage img(800, 480, QImage::Format_RGB32);
        img.fill(QColor(i * 5, 100, 200));
        QPainter(&img).drawEllipse(10 + i, 10, 300, 200);
        const bool jpg = i >= bmps;
        img.save(dir.filePath(QStringLiteral("%1_p.%2").arg(100001 + i).arg(jpg ? "jpg" : "bmp")));
    }
    QVector<double> full, headers;
    QElapsedTimer t;
    for (int run = 0; run < 9; ++run) {
        t.start();
        const PictureLibrary lib = PictureLibrary::fromFolder(dir.path());
        full << t.nsecsElapsed() / 1e6;
        if (lib.count() != bmps + jpgs || !lib.problemPictures().isEmpty()) {
            std::fprintf(stderr, "unexpected library\n");
            return 1;
        }
        t.start();
        for (const QString &p : lib.paths())
            QImageReader(p).size();
        headers << t.nsecsElapsed() / 1e6;
    }
    std::printf("library of %d BMP and %d JPEG pictures, 800x480\n", bmps, jpgs);
    std::printf("decoded for size and state: median %.1f ms over %d\n", median(full), int(full.size()));
    std::printf("headers only (for comparison): median %.1f ms\n", median(headers));
    return 0;
}
