// Dragging a control across a full 800 x 480 page of 64 controls with pictures: how long one
// repaint of the canvas (with every control on it) takes during the drag. Prints medians.
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "library/picturelibrary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

QString makePicture(const QString &dir, int n, const QSize &size)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor::fromHsv((n * 47) % 360, 200, 230));
    g.setColorAt(1, QColor::fromHsv((n * 47 + 120) % 360, 200, 120));
    p.fillRect(img.rect(), g);
    p.end();
    const QString path = QStringLiteral("%1/%2_pic%3.bmp").arg(dir).arg(100001 + n).arg(n);
    img.save(path);
    return path;
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

double percentile(QVector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(qMin(v.size() - 1, int(v.size() * q)));
}

void sendMove(QWidget *w, const QPoint &pos)
{
    QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    // A full-page picture (background and cut pictures) and a few whole pictures.
    QStringList paths;
    paths << makePicture(dir.path(), 0, QSize(800, 480));
    for (int i = 1; i < 8; ++i)
        paths << makePicture(dir.path(), i, QSize(120 + 10 * i, 60 + 5 * i));

    QMyFrame frame;
    frame.setFrameSize(800, 480);
    PageTable *table = frame.pageTable();
    table->setPictures(PictureLibrary::fromPaths(paths));
    table->addPage();
    frame.showPage(0);
    frame.setPageImageNum(0);
    frame.show();

    const QStringList kinds{QStringLiteral("QPushButton"), QStringLiteral("QProgressBar"), QStringLiteral("QLabel"),
                            QStringLiteral("QPushButton"), QStringLiteral("QLabelNum"),    QStringLiteral("QPointer")};
    int qr = 0;
    for (int i = 0; i < 64; ++i) {
        const QPoint at(10 + (i % 8) * 98, 10 + (i / 8) * 58);
        QString kind = kinds.at(i % kinds.size());
        if (i == 20 || i == 41) {
            kind = QStringLiteral("QRcode");
            ++qr;
        }
        QMyWidget *w = frame.addControl(kind, at);
        if (!w)
            return 1;
        w->setW(kind == QStringLiteral("QPointer") ? 50 : 90);
        w->setH(kind == QStringLiteral("QRcode") || kind == QStringLiteral("QPointer") ? 50 : 48);
        if (kind == QStringLiteral("QPushButton"))
            (i % 2) ? w->setImageNum(1 + i % 7) : w->setCutImageNum(0);
        if (kind == QStringLiteral("QProgressBar")) {
            w->setImageNum(1 + i % 7);
            w->setBackgroundCutImageNum(0);
            w->setText(QString::number(i % 100));
        }
        if (kind == QStringLiteral("QLabel"))
            w->setText(QStringLiteral("文本%1").arg(i));
    }
    if (table->pageControls(0).size() != 64) {
        std::fprintf(stderr, "expected 64 controls, got %d\n", int(table->pageControls(0).size()));
        return 1;
    }

    QMyWidget *dragged = table->pageControls(0).at(0);
    QImage target(frame.size(), QImage::Format_ARGB32_Premultiplied);
    // Warm up the picture cache and the fonts.
    frame.render(&target);

    const QPoint press(45, 24);
    QMouseEvent down(QEvent::MouseButtonPress, press, dragged->mapToGlobal(press), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(dragged, &down);

    QVector<double> repaint;
    QVector<double> step;
    const int steps = 300;
    for (int i = 0; i < steps; ++i) {
        // Across the page and back, in page coordinates.
        const double t = double(i) / (steps - 1);
        const QPoint pagePos(int(20 + 760 * (t < 0.5 ? 2 * t : 2 - 2 * t)), int(20 + 440 * t));
        QElapsedTimer clock;
        clock.start();
        sendMove(dragged, pagePos - dragged->pos());
        const qint64 moved = clock.nsecsElapsed();
        frame.render(&target);
        const qint64 done = clock.nsecsElapsed();
        repaint << (done - moved) / 1e6;
        step << done / 1e6;
    }
    QMouseEvent up(QEvent::MouseButtonRelease, press, dragged->mapToGlobal(press), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QCoreApplication::sendEvent(dragged, &up);
    if (argc > 1)
        target.save(QString::fromLocal8Bit(argv[1]));

    std::printf("canvas drag, 800x480 page, 64 controls (%d QR codes) with pictures, %d steps\n", qr, steps);
    std::printf("  repaint of the canvas: median %.2f ms, 90th percentile %.2f ms (target < 16 ms)\n",
                median(repaint), percentile(repaint, 0.9));
    std::printf("  move + repaint:        median %.2f ms, 90th percentile %.2f ms\n", median(step),
                percentile(step, 0.9));
    return 0;
}
