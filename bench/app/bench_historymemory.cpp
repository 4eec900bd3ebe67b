// Memory held by the undo history: resident size before and after 10,000 undoable edits made
// through the window (drags of a control on the canvas and text edits in the property panel)
// on a project of 50 pages x 64 controls.
#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "app/propertypanel.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "file/projectfile.h"
#include "qtvariantpropertymanager.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QUndoStack>
#include <cstdio>

// "VmRSS" or "VmHWM" of this process, in kB.
static long statusKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').first().toLong();
    }
    return -1;
}

static void mouse(QWidget *w, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    // Alt: no snapping, so that every drag of one pixel moves.
    QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::AltModifier);
    QCoreApplication::sendEvent(w, &e);
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const int edits = argc > 1 ? qMax(2, QByteArray(argv[1]).toInt()) : 10000;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    ProjectData d;
    d.frameW = 800;
    d.frameH = 480;
    d.screenType = 1;
    d.dpi = QStringLiteral("800*480(WVGA-1)");
    for (int p = 0; p < 50; ++p) {
        PageData page;
        for (int c = 0; c < 64; ++c) {
            ControlRecord r = ControlRecord::make(ControlKind::Text, c);
            r.x = (c % 8) * 100;
            r.y = (c / 8) * 60;
            page.controls.append(r);
        }
        d.pages.append(page);
    }
    const QString file = dir.filePath(QStringLiteral("p/p.Tavo"));
    QDir().mkpath(QFileInfo(file).absolutePath());
    ProjectFile::write(file, d);
    App::projectPath() = file;

    MainWindow w;
    w.show();
    QCoreApplication::processEvents();
    QMyWidget *c = w.pageTable()->pageControls(w.currentPage()).at(9);
    w.slotRecvWnd(c);
    QCoreApplication::processEvents();
    const long rssStart = statusKb("VmRSS:");
    const long hwmStart = statusKb("VmHWM:");

    QElapsedTimer t;
    t.start();
    for (int i = 0; i < edits; ++i) {
        if (i % 2 == 0) {
            // A drag of one module pixel right or left: one command per drag.
            const int step = (i / 2) % 2 == 0 ? 1 : -1;
            mouse(c, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton);
            mouse(c, QEvent::MouseMove, QPoint(10 + step, 10), Qt::LeftButton);
            mouse(c, QEvent::MouseButtonRelease, QPoint(10 + step, 10), Qt::NoButton);
        } else {
            PropertyPanel *panel = w.propertyPanel();
            QtProperty *p = panel->property(QStringLiteral("text"));
            if (p)
                panel->variantManager->setValue(p, QStringLiteral("值%1").arg(i));
        }
        QCoreApplication::processEvents();
        w.history()->checkpoint();
    }
    const double ms = t.nsecsElapsed() / 1e6;
    const long rssEnd = statusKb("VmRSS:");
    const long hwmEnd = statusKb("VmHWM:");
    const int commands = w.history()->stack()->count();
    std::printf("edits %d, commands %d, %.1f ms (%.3f ms/edit)\n", edits, commands, ms, ms / edits);
    std::printf("VmRSS start %ld kB, end %ld kB, growth %.1f MB (%.0f bytes/command)\n", rssStart, rssEnd,
                (rssEnd - rssStart) / 1024.0, commands ? (rssEnd - rssStart) * 1024.0 / commands : 0.0);
    QMap<QString, int> kinds;
    for (int i = 0; i < commands; ++i)
        ++kinds[w.history()->stack()->text(i)];
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        std::printf("  %d x %s\n", it.value(), qPrintable(it.key()));
    std::printf("VmHWM start %ld kB, end %ld kB\n", hwmStart, hwmEnd);
    return 0;
}
