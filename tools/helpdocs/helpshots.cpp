// Takes the screenshots the help documents show, from the real window, in both languages;
// run by the build so the pictures always show the program as it is.
//
//   helpshots OUTDIR DEMO_FOLDER
//
// Writes OUTDIR/zh/*.png and OUTDIR/en/*.png. The demo project is copied to a temporary folder
// first: opening a project writes its working folders.
#include "app/appglobals.h"
#include "app/languagedlg.h"
#include "app/mainwindow.h"
#include "app/setscreensizedlg.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/serialportdlg.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>

namespace {

bool copyFolder(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(file, target))
            return false;
    }
    return true;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

bool save(const QPixmap &pixmap, const QString &path)
{
    if (pixmap.isNull() || !pixmap.save(path)) {
        std::fprintf(stderr, "helpshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The part of the window a widget covers, as the window draws it (shadows and frames included).
QPixmap region(QWidget &window, const QPixmap &shot, const QList<QWidget *> &widgets, int margin = 6)
{
    QRect r;
    for (QWidget *w : widgets)
        r |= QRect(w->mapTo(&window, QPoint(0, 0)), w->size());
    return shot.copy(r.adjusted(-margin, -margin, margin, margin) & shot.rect());
}

bool takeShots(const QString &out, const QString &demo, bool english)
{
    QTemporaryDir work;
    if (!work.isValid() || !copyFolder(demo, work.path() + QStringLiteral("/demo")))
        return false;
    QDir::setCurrent(work.path());
    QDir().mkpath(QStringLiteral("config"));
    QFile ini(QStringLiteral("config/system.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    ini.write(english ? "[Language]\nID=2\nPath=:/config/language/English.qm\n" : "[Language]\nID=1\nPath=\n");
    ini.close();
    App::switchTranslator(english ? QString::fromLatin1(App::EnglishTranslationPath) : QString());
    QDir().mkpath(out);
    bool ok = true;

    {
        App::projectPath().clear();
        MainWindow empty;
        empty.resize(1360, 860);
        empty.show();
        settle();
        ok &= save(empty.grab(), out + QStringLiteral("/main-empty.png"));
        ok &= save(empty.screenSizeDlg()->grab(), out + QStringLiteral("/new-project.png"));
        ok &= save(empty.languageDlg()->grab(), out + QStringLiteral("/language.png"));
    }

    App::projectPath() = work.path() + QStringLiteral("/demo/demo.Tavo");
    MainWindow w;
    w.resize(1360, 860);
    w.show();
    settle();
    const QPixmap shot = w.grab();
    MainForm &ui = w.form();
    ok &= save(shot, out + QStringLiteral("/main.png"));
    QList<QWidget *> bar;
    for (QToolButton *b : ui.toolButtons())
        bar << b;
    ok &= save(region(w, shot, bar, 4), out + QStringLiteral("/toolbar.png"));
    ok &= save(region(w, shot, {static_cast<QWidget *>(ui.listView), ui.listViewDraw}), out + QStringLiteral("/palettes.png"));
    const QPixmap pages = region(w, shot, {static_cast<QWidget *>(ui.label), ui.listWidget});
    ok &= save(pages.copy(0, 0, pages.width(), qMin(pages.height(), 160)), out + QStringLiteral("/pages.png"));
    ok &= save(region(w, shot, {static_cast<QWidget *>(ui.groupBox_2)}), out + QStringLiteral("/boot.png"));
    ok &= save(region(w, shot, {static_cast<QWidget *>(ui.groupBox)}), out + QStringLiteral("/console.png"));
    ok &= save(region(w, shot, {static_cast<QWidget *>(ui.tabWidgetImageFont)}), out + QStringLiteral("/library.png"));

    // The help menu drawn where the button pops it up, over the window.
    QMenu *menu = ui.btnHelp->menu();
    if (menu) {
        const QPoint at = ui.btnHelp->parentWidget()->mapTo(&w, QPoint(ui.btnHelp->x(), ui.btnHelp->y() + 54));
        menu->popup(w.mapToGlobal(at));
        settle();
        QPixmap composite = shot;
        QPainter p(&composite);
        p.drawPixmap(at, menu->grab());
        p.end();
        menu->hide();
        const QRect area(QPoint(qMax(0, at.x() - 300), 0), QPoint(at.x() + menu->width() + 200, at.y() + menu->height() + 30));
        ok &= save(composite.copy(area & composite.rect()), out + QStringLiteral("/help-menu.png"));
    } else {
        ok = false;
    }
    // The canvas's context menu with its keys, over a selected control of the page.
    QMyFrame *canvas = w.canvas();
    if (!canvas->pageTable()->pageControls(canvas->pageTable()->currentPage()).isEmpty()) {
        QMyWidget *first = canvas->pageTable()->pageControls(canvas->pageTable()->currentPage()).first();
        canvas->selectItems({first}, {});
    }
    settle();
    const QPixmap withSelection = w.grab();
    QMenu *canvasMenu = canvas->contextMenu();
    const QPoint menuAt = canvas->mapTo(&w, QPoint(60, 60));
    canvasMenu->popup(w.mapToGlobal(menuAt));
    settle();
    {
        QPixmap composite = withSelection;
        QPainter p(&composite);
        p.drawPixmap(menuAt, canvasMenu->grab());
        p.end();
        canvasMenu->hide();
        const QRect area(menuAt - QPoint(80, 60), menuAt + QPoint(canvasMenu->width() + 80, canvasMenu->height() + 20));
        ok &= save(composite.copy(area & composite.rect()), out + QStringLiteral("/canvas-menu.png"));
    }

    // The port dialog, with the virtual module and the search for the module.
    w.serialPortDlg()->refreshPorts();
    w.serialPortDlg()->show();
    settle();
    ok &= save(w.serialPortDlg()->grab(), out + QStringLiteral("/port.png"));
    w.serialPortDlg()->hide();

    w.hide();
    App::projectPath().clear();
    QDir::setCurrent(QDir::tempPath());
    return ok;
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: helpshots OUTDIR DEMO_FOLDER\n");
        return 2;
    }
    const QString out = QFileInfo(args.at(1)).absoluteFilePath();
    const QString demo = QFileInfo(args.at(2)).absoluteFilePath();
    App::programPath() = QStringLiteral("/usr/bin/tavo");
    const bool ok = takeShots(out + QStringLiteral("/zh"), demo, false) && takeShots(out + QStringLiteral("/en"), demo, true);
    return ok ? 0 : 1;
}
