// The window's size, place and splitters, kept from one run to the next in the settings file.
#include "mainwindow.h"

#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QSettings>
#include <QSplitter>

namespace {

const char *const GeometryKey = "Window/geometry";
const char *const SplittersKey = "Window/splitters";
const char *const ZoomKey = "Window/zoom";
// The window's own rectangle and its frame's margins: restoring them needs no guess about the
// frame, which otherwise moves the window a little at every start.
const char *const NormalKey = "Window/normal";
const char *const FrameKey = "Window/frame";

// The available area of the screen a rectangle mostly lies on; the primary screen's when it lies
// on none (a monitor that has gone).
QRect roomFor(const QRect &r)
{
    QRect best;
    qint64 bestArea = 0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(r);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            bestArea = area;
            best = screen->availableGeometry();
        }
    }
    if (best.isNull() && QGuiApplication::primaryScreen())
        best = QGuiApplication::primaryScreen()->availableGeometry();
    return best;
}

// The rectangle moved (and, when larger, shrunk) until it lies wholly in the room.
QRect fittedInto(const QRect &r, const QRect &room)
{
    if (room.isEmpty())
        return r;
    QRect out(r.topLeft(), r.size().boundedTo(room.size()));
    if (out.right() > room.right())
        out.moveRight(room.right());
    if (out.bottom() > room.bottom())
        out.moveBottom(room.bottom());
    if (out.left() < room.left())
        out.moveLeft(room.left());
    if (out.top() < room.top())
        out.moveTop(room.top());
    return out;
}

QMargins frameMargins(const QVariant &v)
{
    const QVariantList l = v.toList();
    if (l.size() != 4)
        return QMargins();
    // A frame is a few dozen pixels at most; anything else is not one.
    const auto side = [&l](int i) { return qBound(0, l.at(i).toInt(), 200); };
    return QMargins(side(0), side(1), side(2), side(3));
}

}  // namespace

void MainWindow::saveLayout(QSettings &settings) const
{
    settings.setValue(QLatin1String(GeometryKey), saveGeometry());
    settings.setValue(QLatin1String(NormalKey), normalGeometry());
    const QRect outer = frameGeometry(), inner = geometry();
    settings.setValue(QLatin1String(FrameKey), QVariantList{inner.left() - outer.left(), inner.top() - outer.top(),
                                                            outer.right() - inner.right(), outer.bottom() - inner.bottom()});
    QVariantList splitters;
    for (QSplitter *s : const_cast<MainForm &>(ui).splitters())
        splitters << s->saveState();
    settings.setValue(QLatin1String(SplittersKey), splitters);
    settings.setValue(QLatin1String(ZoomKey), m_frame->zoomPercent());
    settings.sync();
}

bool MainWindow::restoreLayout(const QSettings &settings)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return restoreLayout(settings, screen ? screen->availableGeometry().size() : QSize());
}

bool MainWindow::restoreLayout(const QSettings &settings, const QSize &screenRoom)
{
    const QByteArray geometry = settings.value(QLatin1String(GeometryKey)).toByteArray();
    // Nothing kept (a first run) or something unreadable: the first run's layout.
    if (geometry.isEmpty() || !restoreGeometry(geometry)) {
        resize(DefaultSize);
        // A screen smaller than the first size (1280 x 800, say) gets the window maximized
        // rather than hanging over its edges.
        if (screenRoom.isValid()
            && (screenRoom.width() < DefaultSize.width() || screenRoom.height() < DefaultSize.height())) {
            // Sized to the screen as well, for a desktop that does not maximize.
            resize(DefaultSize.boundedTo(screenRoom));
            setWindowState(windowState() | Qt::WindowMaximized);
        }
        ui.setDefaultSizes();
        return false;
    }
    // Put back where it was, frame and all inside the screen it is on now. A maximized window
    // gets its normal place so too: without a window manager that is where it shows.
    const Qt::WindowStates state = windowState();
    const bool filled = state & (Qt::WindowMaximized | Qt::WindowFullScreen);
    QRect normal = settings.value(QLatin1String(NormalKey)).toRect();
    if (!normal.isValid())
        normal = normalGeometry();
    const QMargins frame = frameMargins(settings.value(QLatin1String(FrameKey)));
    const QRect outer = normal.marginsAdded(frame);
    if (filled)
        setWindowState(state & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    setGeometry(fittedInto(outer, roomFor(outer)).marginsRemoved(frame));
    if (filled)
        setWindowState(state);
    const QVariantList splitters = settings.value(QLatin1String(SplittersKey)).toList();
    const QList<QSplitter *> own = ui.splitters();
    for (int i = 0; i < own.size(); ++i) {
        if (i >= splitters.size() || !own.at(i)->restoreState(splitters.at(i).toByteArray()))
            ui.setDefaultSizes();
    }
    bool ok = false;
    const int zoom = settings.value(QLatin1String(ZoomKey)).toInt(&ok);
    // Earlier versions kept the whole factor (1 to 8); levels in percent start at 25.
    if (ok && zoom <= QMyFrame::MaxZoom)
        m_frame->setZoom(zoom);
    else if (ok)
        m_frame->setZoomPercent(zoom);
    return true;
}
