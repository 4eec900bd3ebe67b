#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "app/propertypanel.h"
#include "app/setscreensizedlg.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "canvas/zoombox.h"
#include "dialogs/qmymessagebox.h"
#include "file/projectfile.h"
#include "model/resolutionlist.h"
#include "qtenumpropertymanager.h"
#include "qtvariantpropertymanager.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <functional>

// Undo and redo in the real window on a real project: every kind of change, compared as the
// saved file before, after the change, after undo and after redo.
class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyChangeUndoesToTheSavedBytes_data();
    void everyChangeUndoesToTheSavedBytes();
    void aDragIsOneCommand();
    void aSnappedDragIsOneCommand();
    void zoomIsNotAnEdit();
    void anActionEndsWhenTheButtonIsReleased();
    void undoShowsThePageOfTheChange();
    void cleanStateFollowsTheSave();
    void changeBeforeAPageSwitchIsRecorded();
    void saveRecordsAChangeNotYetRecorded();
    void libraryChangeKeepsTheHistory();
    void exitAsksOnlyWhenSomethingWouldBeLost();
    void tenThousandEditsStayUndoable();

private:
    void newProject();
    QByteArray saved() const { return ProjectFile::toXml(m_w->projectData()); }
    QUndoStack *stack() const { return m_w->history()->stack(); }
    PageTable *table() const { return m_w->pageTable(); }
    QMyFrame *canvas() const { return m_w->canvas(); }
    const QList<QMyWidget *> &controls() const { return table()->pageControls(table()->currentPage()); }
    static void mouseMove(QWidget *w, const QPoint &pos)
    {
        QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_w;
    QString m_oldCwd;
};

void TestHistory::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    App::projectPath().clear();
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
    newProject();
}

void TestHistory::cleanup()
{
    m_w.reset();
    App::projectPath().clear();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

void TestHistory::newProject()
{
    m_w = std::make_unique<MainWindow>();
    MainWindow *w = m_w.get();
    const QString file = m_dir->filePath(QStringLiteral("p.Tavo"));
    w->setFileChooser([file](MainWindow::FileDialog) { return file; });
    w->setScreenSizeRunner([w]() {
        SetScreenSizeDlg *d = w->screenSizeDlg();
        d->rbPorTrait_0->setChecked(true);
        d->cbVGA->setCurrentText(QStringLiteral("240*320(QVGA-1)"));
        d->on_btnOK_clicked();
        return true;
    });
    w->show();
    w->on_btnNewPro_clicked();
    QVERIFY(App::isProjectOpen());
    QCOMPARE(stack()->count(), 0);
}

using Change = std::function<void(MainWindow *)>;
Q_DECLARE_METATYPE(Change)

void TestHistory::everyChangeUndoesToTheSavedBytes_data()
{
    QTest::addColumn<Change>("prepare");
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("name");

    const Change nothing = [](MainWindow *) {};
    const Change twoControls = [](MainWindow *w) {
        w->canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 20));
        w->canvas()->addControl(QStringLiteral("QPushButton"), QPoint(80, 120));
    };
    const auto first = [](MainWindow *w) { return w->pageTable()->pageControls(w->currentPage()).first(); };

    QTest::newRow("drop") << nothing << Change([](MainWindow *w) {
        w->canvas()->addControl(QStringLiteral("QLabelNum"), QPoint(30, 40));
    }) << "添加控件";
    QTest::newRow("draw") << nothing << Change([](MainWindow *w) {
        w->pageTable()->setDrawTool(2);
        QTest::mousePress(w->canvas(), Qt::LeftButton, {}, QPoint(20, 20));
        mouseMove(w->canvas(), QPoint(60, 70));
        QTest::mouseRelease(w->canvas(), Qt::LeftButton, {}, QPoint(60, 70));
    }) << "绘制图形";
    QTest::newRow("move") << twoControls << Change([first](MainWindow *w) {
        QMyWidget *c = first(w);
        QTest::mousePress(c, Qt::LeftButton, {}, QPoint(20, 10));
        mouseMove(c, QPoint(50, 40));
        QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(50, 40));
    }) << "移动";
    QTest::newRow("resize") << twoControls << Change([first](MainWindow *w) {
        QMyWidget *c = first(w);
        const QPoint corner(c->width() - 3, c->height() - 3);
        QTest::mousePress(c, Qt::LeftButton, {}, corner);
        mouseMove(c, corner + QPoint(25, 15));
        QTest::mouseRelease(c, Qt::LeftButton, {}, corner + QPoint(25, 15));
    }) << "调整大小";
    QTest::newRow("property") << twoControls << Change([first](MainWindow *w) {
        first(w)->setText(QStringLiteral("温度"));
        first(w)->setFontColorNum(12);
    }) << "修改属性";
    QTest::newRow("delete") << twoControls << Change([first](MainWindow *w) {
        w->canvas()->setSelectedControl(first(w));
        first(w)->setSelected(true);
        w->canvas()->deleteSelection();
    }) << "删除";
    QTest::newRow("paste") << twoControls << Change([first](MainWindow *w) {
        w->canvas()->setSelectedControl(first(w));
        w->canvas()->slotCopyAction();
        w->canvas()->setPastePos(QPoint(100, 200));
        w->canvas()->slotPasteAction();
    }) << "添加控件";
    const auto selectBoth = [](MainWindow *w) {
        QTest::mousePress(w->canvas(), Qt::LeftButton, {}, QPoint(1, 1));
        mouseMove(w->canvas(), QPoint(230, 300));
        QTest::mouseRelease(w->canvas(), Qt::LeftButton, {}, QPoint(230, 300));
        QCOMPARE(w->pageTable()->selectionSize(), 2);
    };
    QTest::newRow("move several") << twoControls << Change([first, selectBoth](MainWindow *w) {
        selectBoth(w);
        QMyWidget *c = first(w);
        QTest::mousePress(c, Qt::LeftButton, {}, QPoint(20, 12));
        mouseMove(c, QPoint(50, 32));
        mouseMove(c, QPoint(60, 42));
        QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(60, 42));
    }) << "移动";
    QTest::newRow("align") << twoControls << Change([selectBoth](MainWindow *w) {
        selectBoth(w);
        w->canvas()->arrangeSelection(Arrange::AlignTop);
    }) << "移动";
    QTest::newRow("same width") << Change([twoControls](MainWindow *w) {
        twoControls(w);
        w->pageTable()->pageControls(w->currentPage()).last()->setW(90);
    }) << Change([selectBoth](MainWindow *w) {
        selectBoth(w);
        w->canvas()->arrangeSelection(Arrange::SameWidth);
    }) << "调整大小";
    QTest::newRow("nudge") << twoControls << Change([selectBoth](MainWindow *w) {
        selectBoth(w);
        QTest::keyClick(w->canvas(), Qt::Key_Right, Qt::ShiftModifier);
    }) << "移动";
    QTest::newRow("delete several") << twoControls << Change([selectBoth](MainWindow *w) {
        selectBoth(w);
        w->canvas()->deleteSelection();
    }) << "删除";
    QTest::newRow("paste several") << twoControls << Change([selectBoth](MainWindow *w) {
        selectBoth(w);
        w->canvas()->slotCopyAction();
        w->canvas()->setPastePos(QPoint(100, 200));
        w->canvas()->slotPasteAction();
    }) << "添加控件";
    QTest::newRow("page add") << twoControls << Change([](MainWindow *w) { w->addPage(); }) << "添加页";
    QTest::newRow("page delete") << Change([twoControls](MainWindow *w) {
        w->addPage();
        twoControls(w);
    }) << Change([](MainWindow *w) { w->deleteCurrentPage(); }) << "删除页";
    QTest::newRow("page copy and paste") << twoControls << Change([](MainWindow *w) {
        w->slotCopyAction();
        w->slotPasteAction();
    }) << "添加页";
    QTest::newRow("page colour") << twoControls << Change([](MainWindow *w) {
        w->canvas()->setPageBackgroundNum(40);
    }) << "修改页面属性";
    // Edits through the property panel, as a person makes them: the rules' results are the change.
    const auto panelRow = [](MainWindow *w, const QString &key, const QVariant &value) {
        PropertyPanel *panel = w->propertyPanel();
        QtProperty *p = panel->property(key);
        QVERIFY2(p, qPrintable(key));
        if (panel->enumManager->ownsProperty(p))
            panel->enumManager->setValue(p, value.toInt());
        else
            static_cast<QtVariantPropertyManager *>(p->propertyManager())->setValue(p, value);
        QCoreApplication::processEvents();
    };
    QTest::newRow("resolution in the panel") << twoControls << Change([panelRow](MainWindow *w) {
        w->slotRecvParent(0, nullptr);
        panelRow(w, QStringLiteral("vga"), ResolutionList().indexOf(QStringLiteral("480*272(HHVGA)")));
        QCOMPARE(w->canvas()->frameW(), 272);
    }) << "修改分辨率或方向";
    QTest::newRow("orientation in the panel") << twoControls << Change([panelRow](MainWindow *w) {
        w->slotRecvParent(0, nullptr);
        panelRow(w, QStringLiteral("screenType"), 1);
        QCOMPARE(w->canvas()->frameW(), 320);
    }) << "修改分辨率或方向";
    QTest::newRow("clamped width in the panel") << twoControls << Change([first, panelRow](MainWindow *w) {
        w->slotRecvWnd(first(w));
        panelRow(w, QStringLiteral("w"), 1000);
        QCOMPARE(first(w)->getW(), 230);
    }) << "调整大小";
    QTest::newRow("padded number in the panel") << Change([](MainWindow *w) {
        w->canvas()->addControl(QStringLiteral("QLabelNum"), QPoint(30, 40));
    }) << Change([first, panelRow](MainWindow *w) {
        w->slotRecvWnd(first(w));
        panelRow(w, QStringLiteral("text"), QStringLiteral("12.5"));
        QCOMPARE(first(w)->text(), QStringLiteral("12.5000"));
    }) << "修改属性";
    QTest::newRow("name in the panel") << twoControls << Change([first, panelRow](MainWindow *w) {
        w->slotRecvWnd(first(w));
        panelRow(w, QStringLiteral("name"), QStringLiteral("title"));
        QCOMPARE(first(w)->record().name, QStringLiteral("title"));
    }) << "修改属性";
    QTest::newRow("page rename") << twoControls << Change([](MainWindow *w) {
        QVERIFY(w->renamePage(0, QStringLiteral("main")));
    }) << "重命名页面";
    QTest::newRow("boot settings") << nothing << Change([](MainWindow *w) {
        w->form().sbLogoTime->setValue(450);
        w->form().sbLogoX->setValue(12);
    }) << "修改开机设置";
}

void TestHistory::everyChangeUndoesToTheSavedBytes()
{
    QFETCH(Change, prepare);
    QFETCH(Change, change);
    QFETCH(QString, name);
    prepare(m_w.get());
    m_w->history()->checkpoint();
    const int commands = stack()->count();
    const QByteArray before = saved();

    change(m_w.get());
    m_w->history()->checkpoint();
    const QByteArray after = saved();
    QVERIFY(after != before);
    QCOMPARE(stack()->count(), commands + 1);
    QCOMPARE(stack()->undoText(), name);

    stack()->undo();
    QCOMPARE(saved(), before);
    stack()->redo();
    QCOMPARE(saved(), after);
    stack()->undo();
    QCOMPARE(saved(), before);
    // Looking again after an undo records nothing.
    m_w->history()->checkpoint();
    QCOMPARE(stack()->count(), commands + 1);
}

void TestHistory::aDragIsOneCommand()
{
    QMyWidget *c = canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 10));
    m_w->history()->checkpoint();
    const int commands = stack()->count();
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(20, 10));
    for (int i = 1; i <= 20; ++i) {
        // The control follows the mouse, so each step is one pixel from the grip.
        mouseMove(c, QPoint(21, 11));
        // A key released in the middle of the drag must not split it: the button is still held.
        QTest::keyRelease(c, Qt::Key_Shift);
        QCoreApplication::processEvents();
    }
    QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(20, 10));
    QTRY_COMPARE(stack()->count(), commands + 1);
    QCOMPARE(stack()->undoText(), QStringLiteral("移动"));
    QCOMPARE(c->getX(), 30);
    QCOMPARE(c->getY(), 30);
    stack()->undo();
    QCOMPARE(controls().first()->getX(), 10);
    QCOMPARE(controls().first()->getY(), 10);
}

void TestHistory::aSnappedDragIsOneCommand()
{
    QMyWidget *c = canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 10));
    m_w->history()->checkpoint();
    const int commands = stack()->count();
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(20, 10));
    // Left and up a pixel at a time; from 4 pixels away the page's corner holds the control.
    for (int i = 1; i <= 9; ++i) {
        mouseMove(c, QPoint(19, 9));
        QCoreApplication::processEvents();
    }
    QCOMPARE(QPoint(c->getX(), c->getY()), QPoint(0, 0));
    QVERIFY(canvas()->snapGuidesShown());
    QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(20, 10));
    QVERIFY(!canvas()->snapGuidesShown());
    QTRY_COMPARE(stack()->count(), commands + 1);
    stack()->undo();
    QCOMPARE(QPoint(controls().first()->getX(), controls().first()->getY()), QPoint(10, 10));
}

void TestHistory::zoomIsNotAnEdit()
{
    canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 10));
    m_w->history()->checkpoint();
    QVERIFY(m_w->saveProject());
    QVERIFY(!m_w->history()->isModified());
    const int commands = stack()->count();
    const QString title = m_w->windowTitle();

    QApplication::setActiveWindow(m_w.get());
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    // The keys anywhere in the window, the wheel over the page, the box in the status bar.
    QTest::keyClick(m_w.get(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(canvas()->zoom(), 2);
    QTest::keyClick(m_w.get(), Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(canvas()->zoom(), 3);
    QTest::keyClick(m_w.get(), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(canvas()->zoom(), 2);
    QWheelEvent wheel(QPointF(5, 5), QPointF(canvas()->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(canvas(), &wheel);
    QCOMPARE(canvas()->zoom(), 3);
    auto *box = m_w->findChild<ZoomBox *>();
    QVERIFY(box);
    QCOMPARE(box->combo()->currentText(), QStringLiteral("3x"));
    box->combo()->setCurrentIndex(box->combo()->count() - 1);
    emit box->combo()->activated(box->combo()->count() - 1);
    // The largest zoom at which the whole page shows without scrolling.
    const QSize room = canvas()->scrollArea()->maximumViewportSize();
    const QSize page(canvas()->frameW(), canvas()->frameH());
    QVERIFY(canvas()->width() < room.width() && canvas()->height() < room.height());
    const QSize next = page * (canvas()->zoom() + 1);
    QVERIFY(next.width() > room.width() - 32 || next.height() > room.height() - 32);
    QTest::keyClick(m_w.get(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(canvas()->zoom(), 1);

    m_w->history()->checkpoint();
    QCOMPARE(stack()->count(), commands);
    QVERIFY(!m_w->history()->isModified());
    QCOMPARE(m_w->windowTitle(), title);
}

void TestHistory::anActionEndsWhenTheButtonIsReleased()
{
    // No explicit look: the release of the mouse on the canvas ends the action.
    table()->setDrawTool(1);
    QTest::mousePress(canvas(), Qt::LeftButton, {}, QPoint(5, 5));
    mouseMove(canvas(), QPoint(50, 50));
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, QPoint(50, 50));
    QTRY_COMPARE(stack()->count(), 1);
    QVERIFY(m_w->findChild<QAction *>(QStringLiteral("actionUndo"))->isEnabled());
    QCOMPARE(m_w->findChild<QAction *>(QStringLiteral("actionUndo"))->text(), QStringLiteral("撤销“绘制图形”"));
    QTest::keyClick(m_w.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(table()->pagePrimitives(0).size(), 0);
    QTest::keyClick(m_w.get(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(table()->pagePrimitives(0).size(), 1);
}

void TestHistory::undoShowsThePageOfTheChange()
{
    m_w->addPage();
    m_w->history()->checkpoint();
    m_w->showHistoryPage(0);
    canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 10));
    m_w->history()->checkpoint();
    m_w->showHistoryPage(1);
    m_w->history()->checkpoint();
    stack()->undo();
    QCOMPARE(m_w->currentPage(), 0);
    QCOMPARE(table()->pageControls(0).size(), 0);
    QCOMPARE(m_w->form().listWidget->currentRow(), 0);
}

void TestHistory::cleanStateFollowsTheSave()
{
    const QString title = m_w->windowTitle();
    QVERIFY(!title.endsWith(QLatin1Char('*')));
    canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 10));
    m_w->history()->checkpoint();
    QVERIFY(m_w->history()->isModified());
    QCOMPARE(m_w->windowTitle(), title + QStringLiteral(" *"));
    stack()->undo();
    QVERIFY(!m_w->history()->isModified());
    QCOMPARE(m_w->windowTitle(), title);
    stack()->redo();
    QVERIFY(m_w->saveProject());
    QVERIFY(!m_w->history()->isModified());
    QCOMPARE(m_w->windowTitle(), title);
    // Undoing past the save is a change again.
    stack()->undo();
    QVERIFY(m_w->history()->isModified());
}

// A change on page 0 followed by showing page 1, with no look in between: the next look still
// finds it, as one command that undoes on page 0.
void TestHistory::changeBeforeAPageSwitchIsRecorded()
{
    m_w->addPage();
    m_w->showHistoryPage(0);
    m_w->history()->checkpoint();
    const int before = stack()->count();
    canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 10));
    m_w->form().listWidget->setCurrentRow(1);
    QCOMPARE(m_w->currentPage(), 1);
    m_w->history()->checkpoint();
    QCOMPARE(stack()->count(), before + 1);
    stack()->undo();
    QCOMPARE(table()->pageControls(0).size(), 0);
    stack()->redo();
    QCOMPARE(table()->pageControls(0).size(), 1);
}

// Saving straight after a change that no look has recorded yet records it first.
void TestHistory::saveRecordsAChangeNotYetRecorded()
{
    canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 10));
    QCOMPARE(stack()->count(), 0);
    QVERIFY(m_w->saveProject());
    QCOMPARE(stack()->count(), 1);
    QVERIFY(!m_w->history()->isModified());
    stack()->undo();
    QCOMPARE(controls().size(), 0);
    QVERIFY(m_w->history()->isModified());
}

void TestHistory::libraryChangeKeepsTheHistory()
{
    canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 10));
    m_w->history()->checkpoint();
    QVERIFY(m_w->saveProject());
    canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 60));
    m_w->history()->checkpoint();
    QCOMPARE(stack()->count(), 2);
    QImage img(QSize(4, 4), QImage::Format_RGB32);
    img.fill(Qt::green);
    QVERIFY(img.save(m_dir->filePath(QStringLiteral("p/tempImages/100001_a.bmp"))));
    table()->setPictures(PictureLibrary::fromProjectFolder(m_dir->filePath(QStringLiteral("p"))));
    // Imports and deletions are steps of their own; the edits before them stay undoable.
    QCOMPARE(stack()->count(), 2);
    QVERIFY(m_w->history()->isModified());
    QVERIFY(m_w->statusBar()->currentMessage().isEmpty());
}

void TestHistory::exitAsksOnlyWhenSomethingWouldBeLost()
{
    // Saved and untouched: the window closes at once.
    QVERIFY(m_w->close());
    QVERIFY(!m_w->questionBox()->isVisible());

    newProject();
    canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 10));
    QVERIFY(!m_w->close());
    QCOMPARE(m_w->questionBox()->code(), 13);
    m_w->questionBox()->hide();
    m_w->history()->checkpoint();
    stack()->undo();
    // Back to what is saved, but a picture was added since: still asked.
    QImage img(QSize(4, 4), QImage::Format_RGB32);
    img.fill(Qt::green);
    QVERIFY(img.save(m_dir->filePath(QStringLiteral("p/tempImages/100001_a.bmp"))));
    QVERIFY(!m_w->close());
    QVERIFY(m_w->questionBox()->isVisible());
}

void TestHistory::tenThousandEditsStayUndoable()
{
    QMyWidget *c = canvas()->addControl(QStringLiteral("QLabel"), QPoint(0, 0));
    m_w->history()->checkpoint();
    for (int i = 1; i <= 10000; ++i) {
        controls().first()->setX(i % 150);
        controls().first()->setText(QString::number(i));
        m_w->history()->checkpoint();
    }
    QCOMPARE(stack()->count(), 10001);
    QCOMPARE(c->text(), QStringLiteral("10000"));
    for (int i = 0; i < 10000; ++i)
        stack()->undo();
    QCOMPARE(controls().first()->getX(), 0);
    QCOMPARE(controls().first()->text(), ControlRecord::make(ControlKind::Text, 0).text);
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
