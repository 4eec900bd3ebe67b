// Dragging a control across a full 800 x 480 page of 64 controls with pictures: how long one
// repaint of the canvas (with every control on it) takes during the drag. Prints medians.
#include "benchpage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>

using BenchPage::median;
using BenchPage::percentile;

namespace {

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

    QMyFrame frame;
    const int qr = BenchPage::fill(frame, dir.path());
    if (qr < 0)
        return 1;
    frame.show();
    PageTable *table = frame.pageTable();

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
