// The window's size, place and splitters, kept from one run to the next in the settings file.
#include "mainwindow.h"

#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QSplitter>

namespace {

const char *const GeometryKey = "Window/geometry";
const char *const SplittersKey = "Window/splitters";
const char *const ZoomKey = "Window/zoom";

}  // namespace

void MainWindow::saveLayout(QSettings &settings) const
{
    settings.setValue(QLatin1String(GeometryKey), saveGeometry());
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
