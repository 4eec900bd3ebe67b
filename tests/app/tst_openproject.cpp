#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "file/projectfile.h"

#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

// Opening a project makes the widgets of a page only when the page is first needed; everything
// that reads the project must see the pages not yet shown exactly as they were read.
class TestOpenProject : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void savingUnshownPagesWritesWhatWasRead();
    void pagesGetWidgetsWhenShown();
    void undoReachesPagesWithoutWidgets();
    void pageBeyondTheControlBoundIsRefused();

private:
    void open(int pages, bool settled = true);
    QByteArray fileBytes() const;
    // The file as saved, less what follows the page shown (the current page and its values are
    // kept in the frame), so that states showing different pages compare by their pages.
    QByteArray saved() const
    {
        ProjectData d = m_w->projectData();
        d.currentPage = 0;
        d.parentImageNum = -1;
        d.parentBackgroundNum = 15;
        return ProjectFile::toXml(d);
    }
    PageTable *table() const { return m_w->pageTable(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_w;
    QString m_file;
    QString m_oldCwd;
};

void TestOpenProject::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
}

void TestOpenProject::cleanup()
{
    m_w.reset();
    App::projectPath().clear();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

// Pages that differ from each other, with controls of every kind, a primitive and page values;
// page 2 is the boot page.
void TestOpenProject::open(int pages, bool settled)
{
    ProjectData d;
    d.frameW = 240;
    d.frameH = 320;
    d.dpi = QStringLiteral("240*320(QVGA-1)");
    d.currentPage = 2;
    d.parentBackgroundNum = 2;  // the frame holds the values of the page shown
    for (int p = 0; p < pages; ++p) {
        PageData page;
        page.backgroundNum = p % 64;
        page.helpLineNum = p % 3;
        for (int c = 0; c < 6; ++c) {
            ControlRecord r = ControlRecord::make(ControlKind(c), c == 5 ? 0 : c);
            r.x = 10 + p + c * 3;
            r.y = 20 + c * 40;
            if (r.kind != ControlKind::Number && r.kind != ControlKind::Pointer)
                r.text = QStringLiteral("页%1-%2").arg(p).arg(c);
            if (settled)
                r.settle();
            page.controls.append(r);
        }
        QMyDrawType box;
        box.setDrawType(QMyDrawType::Box);
        box.setRect(p, 200, 30, 20);
        page.primitives.append(box);
        d.pages.append(page);
    }
    m_file = m_dir->filePath(QStringLiteral("p/p.Tavo"));
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    QVERIFY(ProjectFile::write(m_file, d));
    App::projectPath() = m_file;
    m_w = std::make_unique<MainWindow>();
    m_w->show();
    QCOMPARE(m_w->currentPage(), 2);
}

QByteArray TestOpenProject::fileBytes() const
{
    QFile f(m_file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestOpenProject::savingUnshownPagesWritesWhatWasRead()
{
    open(5);
    const QByteArray read = fileBytes();
    QVERIFY(!table()->hasWidgets(0));
    QVERIFY(!table()->hasWidgets(4));
    QCOMPARE(m_w->form().listWidget->count(), 5);
    QCOMPARE(m_w->form().cbBootJump->count(), 5);
    QCOMPARE(m_w->form().cbBootJump->currentIndex(), 2);
    QVERIFY(m_w->saveProject());
    QCOMPARE(fileBytes(), read);
    // What a download or the simulator takes is the whole project, unshown pages included.
    ProjectData d;
    QVERIFY(ProjectFile::read(m_file, 0, &d).ok);
    QCOMPARE(ProjectFile::toXml(m_w->projectData()), ProjectFile::toXml(d));
    QVERIFY(!table()->hasWidgets(4));
    QVERIFY(!m_w->history()->isModified());

    // A file whose pointers and QR codes are not squared up saves alike whether or not its
    // pages were shown.
    open(3, false);
    const QByteArray written = fileBytes();
    QVERIFY(m_w->saveProject());
    const QByteArray unshown = fileBytes();
    QVERIFY(unshown != written);
    for (int p = 0; p < 3; ++p)
        m_w->form().listWidget->setCurrentRow(p);
    m_w->form().listWidget->setCurrentRow(2);
    QVERIFY(m_w->saveProject());
    QCOMPARE(fileBytes(), unshown);
}

void TestOpenProject::pagesGetWidgetsWhenShown()
{
    open(4);
    m_w->form().listWidget->setCurrentRow(3);
    QVERIFY(table()->hasWidgets(3));
    const QList<QMyWidget *> &shown = table()->pageControls(3);
    QCOMPARE(shown.size(), 6);
    QCOMPARE(shown.at(0)->text(), QStringLiteral("页3-0"));
    for (QMyWidget *w : shown)
        QVERIFY(w->isVisible());
    for (QMyWidget *w : table()->pageControls(2))
        QVERIFY(!w->isVisible());
    // Asking for a page's controls from elsewhere makes them without showing them.
    QCOMPARE(table()->pageControls(1).size(), 6);
    for (QMyWidget *w : table()->pageControls(1))
        QVERIFY(!w->isVisible());
    QCOMPARE(m_w->canvas()->pageBackgroundNum(), 3);
    ProjectData d;
    QVERIFY(ProjectFile::read(m_file, 0, &d).ok);
    d.currentPage = 3;
    d.parentBackgroundNum = 3;
    QCOMPARE(ProjectFile::toXml(m_w->projectData()), ProjectFile::toXml(d));
}

void TestOpenProject::undoReachesPagesWithoutWidgets()
{
    open(3);
    const QByteArray start = saved();
    m_w->form().listWidget->setCurrentRow(1);
    table()->pageControls(1).first()->setX(100);
    m_w->history()->checkpoint();
    const QByteArray moved = saved();
    m_w->form().listWidget->setCurrentRow(0);
    m_w->addPage();
    m_w->history()->checkpoint();
    const QByteArray added = saved();
    QUndoStack *stack = m_w->history()->stack();
    QCOMPARE(stack->count(), 2);
    // Undoing the page add puts back every page, without widgets until needed ...
    stack->undo();
    QCOMPARE(saved(), moved);
    // ... and the move on page 1 is then undone on a page that has to make its widgets first.
    stack->undo();
    QCOMPARE(saved(), start);
    QCOMPARE(m_w->currentPage(), 1);
    stack->redo();
    QCOMPARE(saved(), moved);
    stack->redo();
    QCOMPARE(saved(), added);
}

// Tens of thousands of controls on a page overflow the stack in Qt's painting; such a file is
// refused whole, naming the page and the bound, and left as it is.
void TestOpenProject::pageBeyondTheControlBoundIsRefused()
{
    ProjectData d;
    d.frameW = 240;
    d.frameH = 320;
    d.dpi = QStringLiteral("240*320(QVGA-1)");
    d.pages.resize(2);
    for (int c = 0; c < 2001; ++c)
        d.pages[1].controls.append(ControlRecord::make(ControlKind::Text, c));
    m_file = m_dir->filePath(QStringLiteral("p/p.Tavo"));
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    QVERIFY(ProjectFile::write(m_file, d));
    const QByteArray before = fileBytes();
    App::projectPath() = m_file;
    m_w = std::make_unique<MainWindow>();
    QCOMPARE(m_w->infoBox()->message(), QStringLiteral("第1页有2001个控件，超过窗口可显示的2000个，项目未打开"));
    QVERIFY(!App::isProjectOpen());
    QVERIFY(m_w->saveProject());
    QCOMPARE(fileBytes(), before);
}

QTEST_MAIN(TestOpenProject)
#include "tst_openproject.moc"
