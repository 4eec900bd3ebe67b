// The page canvas: numbering, limits, drawing primitives, selection, clipboards, pages.
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "model/colortable.h"
#include "dialogs/qmymessagebox.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(QMyDrawType *)

static void mouseMove(QWidget *w, const QPoint &pos)
{
    QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

static QList<int> ids(const QList<QMyWidget *> &controls)
{
    QList<int> out;
    for (const QMyWidget *w : controls)
        out << w->id();
    return out;
}

class TestCanvas : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void numbering();
    void deleteRenumbers_data();
    void deleteRenumbers();
    void controlLimits_data();
    void controlLimits();
    void refusedWithoutPage();

    void drawPrimitive_data();
    void drawPrimitive();
    void drawingNeedsPage();
    void selectionOrder();

    void pasteControl_data();
    void pasteControl();
    void pastePrimitiveInsidePage();
    void pasteMenuFollowsClipboard();
    void pastingAThirdQrCodeIsRefused();
    void clipboardForgetsDestroyedObjects_data();
    void clipboardForgetsDestroyedObjects();

    void pageCopyAndPaste();
    void sharedTableOutlivesOrPrecedesCanvas();
    void projectRoundTrip();
    void showPageHidesOtherPages();
    void damagedValuesPaint();
    void controlsShowThePageThrough();
    void screenshotEveryKind();

private:
    QMyWidget *add(const QString &className, const QPoint &at = QPoint(10, 10))
    {
        return m_frame->addControl(className, at);
    }
    void drag(const QPoint &from, const QPoint &to)
    {
        QTest::mousePress(m_frame, Qt::LeftButton, {}, from);
        if (from != to)
            mouseMove(m_frame, to);
        QTest::mouseRelease(m_frame, Qt::LeftButton, {}, to);
    }
    PageTable *table() const { return m_frame->pageTable(); }
    const QList<QMyWidget *> &controls() const { return table()->pageControls(table()->currentPage()); }
    const QList<QMyDrawType *> &primitives() const { return table()->pagePrimitives(table()->currentPage()); }

    QMyFrame *m_frame = nullptr;
};

void TestCanvas::init()
{
    qRegisterMetaType<QMyDrawType *>();
    qRegisterMetaType<QMyWidget *>();
    m_frame = new QMyFrame;
    table()->addPage();
    m_frame->showPage(0);
    m_frame->show();
}

void TestCanvas::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
}

void TestCanvas::numbering()
{
    for (int i = 0; i < 5; ++i)
        add(QStringLiteral("QLabel"));
    QMyWidget *qr = add(QStringLiteral("QRcode"));
    QCOMPARE(qr->id(), 0);
    QCOMPARE(add(QStringLiteral("QProgressBar"))->id(), 5);
    QCOMPARE(add(QStringLiteral("QRcode"))->id(), 1);
    QCOMPARE(add(QStringLiteral("QPointer"))->id(), 6);
    // The last control added is the selection and the canvas announced it.
    QCOMPARE(m_frame->selectedControl(), controls().last());
    QCOMPARE(m_frame->droppedTypeName(), QStringLiteral("QPointer"));
    int selected = 0;
    for (QMyWidget *w : controls())
        selected += w->isSelected() ? 1 : 0;
    QCOMPARE(selected, 1);
}

void TestCanvas::deleteRenumbers_data()
{
    QTest::addColumn<int>("deleteIndex");
    QTest::addColumn<QList<int>>("expected");
    // Page: texts 0, 1, 2, QR 0, QR 1.
    QTest::newRow("first text") << 0 << QList<int>{0, 1, 0, 1};
    QTest::newRow("middle text") << 1 << QList<int>{0, 1, 0, 1};
    QTest::newRow("first QR code") << 3 << QList<int>{0, 1, 2, 0};
}

void TestCanvas::deleteRenumbers()
{
    QFETCH(int, deleteIndex);
    QFETCH(QList<int>, expected);

    for (int i = 0; i < 3; ++i)
        add(QStringLiteral("QLabel"), QPoint(10 + 70 * i, 10));
    add(QStringLiteral("QRcode"), QPoint(10, 100));
    add(QStringLiteral("QRcode"), QPoint(100, 100));
    QMyWidget *victim = controls().at(deleteIndex);
    QTest::mouseClick(victim, Qt::LeftButton, {}, QPoint(20, 15));
    QCOMPARE(m_frame->selectedControl(), victim);
    QSignalSpy parent(m_frame, &QMyFrame::s_sendParent);
    m_frame->deleteSelection();
    QCOMPARE(ids(controls()), expected);
    QCOMPARE(parent.count(), 1);
    QCOMPARE(parent.at(0).at(0).toInt(), 0);
    QVERIFY(!m_frame->selectedControl());
    // A new control takes the next number of its group again.
    QCOMPARE(add(QStringLiteral("QLabel"))->id(), deleteIndex == 3 ? 3 : 2);
}

void TestCanvas::controlLimits_data()
{
    QTest::addColumn<int>("texts");
    QTest::addColumn<int>("qrCodes");
    QTest::addColumn<QString>("last");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("message");

    QTest::newRow("64th control") << 63 << 0 << "QLabel" << true << QString();
    QTest::newRow("65th control") << 64 << 0 << "QLabel" << false << "每页添加的控件不能超过64个！";
    QTest::newRow("65th as a QR code") << 62 << 2 << "QLabelNum" << false << "每页添加的控件不能超过64个！";
    QTest::newRow("third QR code") << 3 << 2 << "QRcode" << false << "每页添加的二维码不能超过2个！";
    QTest::newRow("second QR code") << 3 << 1 << "QRcode" << true << QString();
}

void TestCanvas::controlLimits()
{
    QFETCH(int, texts);
    QFETCH(int, qrCodes);
    QFETCH(QString, last);
    QFETCH(bool, accepted);
    QFETCH(QString, message);

    for (int i = 0; i < texts; ++i)
        QVERIFY(add(QStringLiteral("QLabel"), QPoint(i % 6 * 65, i / 6 * 32)));
    for (int i = 0; i < qrCodes; ++i)
        QVERIFY(add(QStringLiteral("QRcode"), QPoint(i * 60, 300)));
    const int before = controls().size();
    QMyWidget *w = add(last);
    QCOMPARE(w != nullptr, accepted);
    QCOMPARE(controls().size(), before + (accepted ? 1 : 0));
    QCOMPARE(m_frame->messageBox()->isVisible(), !accepted);
    if (!accepted)
        QCOMPARE(m_frame->messageBox()->message(), message);

    // A paste obeys the same limits.
    QTest::mouseClick(controls().last(), Qt::LeftButton, {}, QPoint(3, 3));
    m_frame->slotCopyAction();
    m_frame->slotPasteAction();
    QVERIFY(controls().size() <= QMyFrame::MaxControlsPerPage);
}

void TestCanvas::pastingAThirdQrCodeIsRefused()
{
    QVERIFY(add(QStringLiteral("QRcode"), QPoint(0, 300)));
    QVERIFY(add(QStringLiteral("QRcode"), QPoint(100, 300)));
    QTest::mouseClick(controls().last(), Qt::LeftButton, {}, QPoint(3, 3));
    m_frame->slotCopyAction();
    m_frame->messageBox()->hide();
    const int before = controls().size();
    m_frame->setPastePos(QPoint(200, 10));
    m_frame->slotPasteAction();
    QCOMPARE(controls().size(), before);
    QVERIFY(m_frame->messageBox()->isVisible());
    QCOMPARE(m_frame->messageBox()->message(), QStringLiteral("每页添加的二维码不能超过2个！"));
}

void TestCanvas::refusedWithoutPage()
{
    QMyFrame frame;
    QVERIFY(!frame.addControl(QStringLiteral("QLabel"), QPoint(0, 0)));
    QCOMPARE(frame.messageBox()->message(), QStringLiteral("未添加页，请您先添加页！"));
    QVERIFY(!m_frame->addControl(QStringLiteral("QSlider"), QPoint(0, 0)));
    QVERIFY(controls().isEmpty());
}

void TestCanvas::drawPrimitive_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("instruction");

    QTest::newRow("box dragged backwards") << 1 << QPoint(50, 40) << QPoint(10, 20) << true << "BOX(10,20,49,39,0);";
    QTest::newRow("filled box") << 2 << QPoint(10, 10) << QPoint(30, 40) << true << "BOXF(10,10,29,39,0);";
    QTest::newRow("box too thin") << 1 << QPoint(10, 10) << QPoint(11, 40) << false << QString();
    QTest::newRow("circle radius from drag") << 3 << QPoint(100, 100) << QPoint(103, 104) << true << "CIR(100,100,5,0);";
    QTest::newRow("circle shrunk to fit") << 4 << QPoint(10, 50) << QPoint(40, 50) << true << "CIRF(10,50,10,0);";
    QTest::newRow("circle too small") << 3 << QPoint(100, 100) << QPoint(101, 100) << false << QString();
    QTest::newRow("circle at the edge shrinks to nothing") << 3 << QPoint(0, 50) << QPoint(40, 50) << false << QString();
    QTest::newRow("click in the box tool") << 1 << QPoint(60, 60) << QPoint(60, 60) << false << QString();
    QTest::newRow("click in the line tool") << 6 << QPoint(60, 60) << QPoint(60, 60) << false << QString();
    QTest::newRow("click in the point tool") << 5 << QPoint(60, 60) << QPoint(60, 60) << true << "PS(60,60,0);";
    QTest::newRow("line released outside") << 6 << QPoint(400, 300) << QPoint(1000, -50) << true << "PL(400,300,419,0,0);";
}

void TestCanvas::drawPrimitive()
{
    QFETCH(int, tool);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(bool, kept);
    QFETCH(QString, instruction);

    QMyWidget *text = add(QStringLiteral("QLabel"), QPoint(300, 300));
    table()->setDrawTool(tool);
    QSignalSpy parent(m_frame, &QMyFrame::s_sendParent);
    drag(from, to);
    QCOMPARE(primitives().size(), kept ? 1 : 0);
    QVERIFY(!parent.isEmpty());
    QVERIFY(!text->isSelected());
    const QList<QVariant> last = parent.last();
    if (kept) {
        QMyDrawType *d = primitives().first();
        QCOMPARE(d->instructionText(), instruction);
        QVERIFY(d->selected());
        QCOMPARE(last.at(0).toInt(), tool);
        QCOMPARE(last.at(1).value<QMyDrawType *>(), d);
        QCOMPARE(m_frame->selectedPrimitive(), d);
    } else {
        QCOMPARE(last.at(0).toInt(), 0);
        QVERIFY(!last.at(1).value<QMyDrawType *>());
        QVERIFY(!m_frame->selectedPrimitive());
    }
}

void TestCanvas::drawingNeedsPage()
{
    QMyFrame frame;
    frame.pageTable()->setDrawTool(1);
    QTest::mouseClick(&frame, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(frame.messageBox()->message(), QStringLiteral("未添加页，请您先添加页！"));
    QCOMPARE(frame.pageTable()->pageCount(), 0);
}

void TestCanvas::selectionOrder()
{
    table()->setDrawTool(2);
    drag(QPoint(100, 100), QPoint(200, 200));
    table()->setDrawTool(1);
    drag(QPoint(150, 150), QPoint(300, 300));
    table()->setDrawTool(0);
    QMyDrawType *filled = primitives().at(0);
    QMyDrawType *outline = primitives().at(1);

    QSignalSpy parent(m_frame, &QMyFrame::s_sendParent);
    // Inside both: the first in list order wins.
    QTest::mouseClick(m_frame, Qt::LeftButton, {}, QPoint(160, 160));
    QCOMPARE(parent.count(), 1);
    QCOMPARE(parent.at(0).at(1).value<QMyDrawType *>(), filled);
    QVERIFY(filled->selected() && !outline->selected());

    // On the outline's band only.
    QTest::mouseClick(m_frame, Qt::LeftButton, {}, QPoint(298, 250));
    QCOMPARE(parent.last().at(1).value<QMyDrawType *>(), outline);
    QVERIFY(!filled->selected() && outline->selected());

    // Inside the outline box, away from its band: the page, and only once.
    parent.clear();
    QTest::mouseClick(m_frame, Qt::LeftButton, {}, QPoint(250, 250));
    QTest::mouseClick(m_frame, Qt::LeftButton, {}, QPoint(10, 300));
    QCOMPARE(parent.count(), 1);
    QCOMPARE(parent.at(0).at(0).toInt(), 0);
    QVERIFY(m_frame->pageSelected());
    QVERIFY(!outline->selected());

    // Pressing a control goes to the control, then through the canvas.
    QMyWidget *w = add(QStringLiteral("QLabel"), QPoint(20, 20));
    QTest::mouseClick(m_frame, Qt::LeftButton, {}, QPoint(10, 300));
    QSignalSpy wnd(m_frame, &QMyFrame::s_sendPressWnd);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(30, 15));
    QCOMPARE(wnd.count(), 1);
    QVERIFY(!m_frame->pageSelected());
}

void TestCanvas::pasteControl_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QPoint>("pastePos");
    QTest::addColumn<QPoint>("placed");

    QTest::newRow("text near the right edge") << "QLabel" << QPoint(410, 100) << QPoint(360, 100);
    QTest::newRow("text near the bottom-right") << "QLabel" << QPoint(419, 359) << QPoint(360, 330);
    QTest::newRow("text inside") << "QLabel" << QPoint(50, 60) << QPoint(50, 60);
    QTest::newRow("pointer near the bottom") << "QPointer" << QPoint(10, 350) << QPoint(10, 310);
    QTest::newRow("QR code") << "QRcode" << QPoint(400, 0) << QPoint(367, 0);
}

void TestCanvas::pasteControl()
{
    QFETCH(QString, className);
    QFETCH(QPoint, pastePos);
    QFETCH(QPoint, placed);

    QMyWidget *src = add(className, QPoint(100, 100));
    src->setText(QStringLiteral("源"));
    src->setFontColorNum(3);
    src->setStyle(3);
    m_frame->slotCopyAction();
    QCOMPARE(m_frame->controlClipboard(), src);
    m_frame->setPastePos(pastePos);
    m_frame->slotPasteAction();
    QCOMPARE(controls().size(), 2);
    QMyWidget *copy = controls().last();
    QCOMPARE(copy->pos(), placed);
    QCOMPARE(copy->size(), src->size());
    QCOMPARE(copy->id(), 1);
    QCOMPARE(copy->text(), QStringLiteral("源"));
    QCOMPARE(copy->record().fontColorNum, 3);
    QCOMPARE(copy->record().style, 3);
    QVERIFY(copy->isSelected() && !src->isSelected());
    QCOMPARE(m_frame->selectedControl(), copy);
}

void TestCanvas::pastePrimitiveInsidePage()
{
    table()->setDrawTool(1);
    drag(QPoint(10, 10), QPoint(110, 60));
    table()->setDrawTool(0);
    m_frame->slotCopyAction();
    QVERIFY(m_frame->primitiveClipboard());
    m_frame->setPastePos(QPoint(400, 350));
    QSignalSpy parent(m_frame, &QMyFrame::s_sendParent);
    m_frame->slotPasteAction();
    QCOMPARE(primitives().size(), 2);
    QMyDrawType *copy = primitives().last();
    QCOMPARE(copy->rect(), QRect(320, 310, 100, 50));
    QVERIFY(copy->selected() && !primitives().first()->selected());
    QCOMPARE(parent.count(), 1);
    QCOMPARE(parent.at(0).at(1).value<QMyDrawType *>(), copy);
}

void TestCanvas::pasteMenuFollowsClipboard()
{
    auto openMenu = [this](const QPoint &at) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, m_frame->mapToGlobal(at));
        QCoreApplication::sendEvent(m_frame, &e);
        const bool enabled = m_frame->pasteAction()->isEnabled();
        m_frame->contextMenu()->hide();
        return enabled;
    };
    QVERIFY(!openMenu(QPoint(5, 5)));
    m_frame->slotPasteAction();  // nothing to paste: nothing happens
    QVERIFY(controls().isEmpty());

    QMyWidget *w = add(QStringLiteral("QLabel"));
    m_frame->copyAction()->trigger();
    QVERIFY(openMenu(QPoint(200, 150)));
    QCOMPARE(m_frame->pastePos(), QPoint(200, 150));
    m_frame->pasteAction()->trigger();
    QCOMPARE(controls().size(), 2);
    QCOMPARE(controls().last()->pos(), QPoint(200, 150));

    // Deleting the copied control disables paste until the next copy.
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(30, 15));
    QSignalSpy del(m_frame, &QMyFrame::s_delAction);
    m_frame->delAction()->trigger();
    QCOMPARE(del.count(), 1);
    QVERIFY(!m_frame->controlClipboard());
    m_frame->deleteSelection();
    QVERIFY(!openMenu(QPoint(5, 5)));
    QCOMPARE(controls().size(), 1);
    QCOMPARE(controls().first()->id(), 0);
}

void TestCanvas::clipboardForgetsDestroyedObjects_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("page removed") << 0;
    QTest::newRow("project cleared") << 1;
    QTest::newRow("delete without the menu") << 2;
}

void TestCanvas::clipboardForgetsDestroyedObjects()
{
    QFETCH(int, how);

    add(QStringLiteral("QLabel"));
    m_frame->slotCopyAction();
    table()->setDrawTool(1);
    drag(QPoint(10, 100), QPoint(100, 200));
    table()->setDrawTool(0);
    m_frame->slotCopyAction();
    QVERIFY(m_frame->primitiveClipboard());

    if (how == 0) {
        table()->addPage();
        table()->removePage(0);
        m_frame->showPage(0);
    } else if (how == 1) {
        table()->clear();
        table()->addPage();
        m_frame->showPage(0);
    } else {
        m_frame->deleteSelection();
    }
    QVERIFY(!m_frame->primitiveClipboard());
    QVERIFY(!m_frame->selectedPrimitive());
    m_frame->slotPasteAction();
    QCOMPARE(primitives().size(), 0);
    if (how != 2) {
        QVERIFY(!m_frame->controlClipboard());
        QVERIFY(controls().isEmpty());
    }
}

void TestCanvas::pageCopyAndPaste()
{
    m_frame->setPageBackgroundNum(3);
    m_frame->setPageImageNum(-1);
    m_frame->setHelpLineNum(2);
    m_frame->setHelpLineLeft(5);
    m_frame->setHelpLineBottom(7);
    add(QStringLiteral("QLabel"), QPoint(10, 10))->setText(QStringLiteral("甲"));
    add(QStringLiteral("QRcode"), QPoint(200, 10));
    add(QStringLiteral("QPointer"), QPoint(100, 200))->setPointerAngle(90);
    table()->setDrawTool(6);
    drag(QPoint(5, 300), QPoint(300, 320));
    table()->setDrawTool(0);

    const PageData snapshot = m_frame->copyPage(0);
    QCOMPARE(snapshot.controls.size(), 3);
    QCOMPARE(snapshot.primitives.size(), 1);
    // Later edits do not reach the snapshot.
    controls().first()->setText(QStringLiteral("乙"));

    const int n = m_frame->pastePage(snapshot);
    QCOMPARE(n, 1);
    QCOMPARE(table()->currentPage(), 1);
    QCOMPARE(table()->pageData(1), snapshot);
    QCOMPARE(table()->pageControls(1).first()->text(), QStringLiteral("甲"));
    QCOMPARE(m_frame->pageBackgroundNum(), 3);
    QCOMPARE(m_frame->helpLineNum(), 2);
    for (QMyWidget *w : table()->pageControls(1))
        QVERIFY(w->isVisible() && !w->isSelected());
    for (QMyWidget *w : table()->pageControls(0))
        QVERIFY(!w->isVisible());
    QVERIFY(table()->pagePrimitives(1).first() != table()->pagePrimitives(0).first());
}

void TestCanvas::sharedTableOutlivesOrPrecedesCanvas()
{
    PageTable table;
    auto *frame = new QMyFrame;
    frame->setPageTable(&table);
    table.addPage();
    frame->showPage(0);
    frame->addControl(QStringLiteral("QLabel"), QPoint(5, 5));
    QCOMPARE(table.pageData(0).controls.size(), 1);
    delete frame;
    QCOMPARE(table.pageData(0).controls.size(), 0);
    // Records of a page whose widgets nobody can make any more are still kept and saved.
    table.addPage();
    table.setPendingControls(1, {ControlRecord::make(ControlKind::Button, 0)});
    QCOMPARE(table.pageControls(1).size(), 0);
    QCOMPARE(table.pageData(1).controls.size(), 1);
    table.clear();

    auto *early = new PageTable;
    QMyFrame other;
    other.setPageTable(early);
    early->addPage();
    other.showPage(0);
    other.addControl(QStringLiteral("QLabel"), QPoint(5, 5));
    delete early;
    QCOMPARE(other.pageTable()->pageCount(), 0);
    QVERIFY(!other.addControl(QStringLiteral("QLabel"), QPoint(5, 5)));
    QVERIFY(!other.grab().isNull());
}

void TestCanvas::projectRoundTrip()
{
    add(QStringLiteral("QPushButton"), QPoint(30, 40))->setImageNum(2);
    add(QStringLiteral("QProgressBar"), QPoint(100, 40));
    table()->setDrawTool(3);
    drag(QPoint(200, 200), QPoint(220, 200));
    table()->setDrawTool(0);
    table()->addPage();
    m_frame->showPage(1);
    m_frame->setPageBackgroundNum(9);
    add(QStringLiteral("QLabelNum"), QPoint(1, 2));

    ProjectData project;
    table()->writeTo(project);
    QCOMPARE(project.pages.size(), 2);
    QCOMPARE(project.currentPage, 1);

    QMyFrame other;
    other.pageTable()->readFrom(project, &other);
    other.showPage(other.pageTable()->currentPage());
    ProjectData again;
    other.pageTable()->writeTo(again);
    QCOMPARE(again.pages, project.pages);
    QCOMPARE(other.pageBackgroundNum(), 9);
    QCOMPARE(other.pageTable()->pageControls(0).first()->isVisible(), false);
}

void TestCanvas::showPageHidesOtherPages()
{
    QMyWidget *a = add(QStringLiteral("QLabel"));
    table()->addPage();
    QSignalSpy parent(m_frame, &QMyFrame::s_sendParent);
    m_frame->showPage(1);
    QVERIFY(!a->isVisible());
    QCOMPARE(parent.count(), 1);
    QMyWidget *b = add(QStringLiteral("QLabel"));
    QCOMPARE(b->id(), 0);  // numbers are per page
    m_frame->showPage(0);
    QVERIFY(a->isVisible() && !a->isSelected() && !b->isVisible());
}

void TestCanvas::damagedValuesPaint()
{
    PageData page;
    page.imageNum = 12345;
    page.backgroundNum = -7;
    page.helpLineNum = 99;
    ControlRecord r = ControlRecord::make(ControlKind::Button, 0);
    r.imageNum = 77;
    r.cutImageNum = -99;
    r.backgroundColorNum = 500;
    r.w = -20;
    r.h = 1 << 30;
    page.controls << r;
    ControlRecord p = ControlRecord::make(ControlKind::Pointer, 1);
    p.pointerL = 1 << 30;
    p.fontColorNum = 64;
    page.controls << p;
    ControlRecord g = ControlRecord::make(ControlKind::Progress, 2);
    g.text = QStringLiteral("-2147483648");
    g.progType = 17;
    g.style = -3;
    page.controls << g;
    QMyDrawType d;
    d.setDrawType(4);
    d.setStart(10, 10);
    d.setRadius(-5);
    d.setColorNum(1000);
    page.primitives << d;

    m_frame->fillPage(0, page);
    m_frame->showPage(0);
    const QImage shot = m_frame->grab().toImage();
    QCOMPARE(shot.size(), QSize(420, 360));
    for (QMyWidget *w : controls())
        QVERIFY(w->width() <= 8192 && w->height() <= 8192);
}

void TestCanvas::controlsShowThePageThrough()
{
    QTemporaryDir dir;
    QImage picture(420, 360, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 255 / 420, y * 255 / 360, 128));
    }
    const QString path = dir.filePath(QStringLiteral("100001_page.bmp"));
    QVERIFY(picture.save(path));
    table()->setPictures(PictureLibrary::fromPaths({path}));
    m_frame->setPageBackgroundNum(3);
    m_frame->setPageImageNum(0);

    QMyWidget *text = add(QStringLiteral("QLabel"), QPoint(20, 20));
    text->setStyle(0);
    text->setText(QString());
    QMyWidget *button = add(QStringLiteral("QPushButton"), QPoint(100, 20));
    button->setStyle(0);
    button->setCutImageNum(0);
    QMyWidget *qr = add(QStringLiteral("QRcode"), QPoint(200, 20));
    qr->setText(QString());
    QMyWidget *pointer = add(QStringLiteral("QPointer"), QPoint(300, 20));
    pointer->setPointerAngle(90);
    m_frame->showPage(0);

    const QImage shot = m_frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Without background or symbol the page picture shows; a cut picture is the page's own pixels.
    for (const QPoint &at : {QPoint(25, 40), QPoint(105, 40), QPoint(140, 45), QPoint(215, 60)})
        QCOMPARE(shot.pixelColor(at), picture.pixelColor(at));
    // The gauge's face is the page colour, not the picture.
    QCOMPARE(shot.pixelColor(310, 60), ColorTable::colorAt(3));
}

void TestCanvas::screenshotEveryKind()
{
    m_frame->setFrameSize(480, 272);
    m_frame->setPageBackgroundNum(19);
    m_frame->setHelpLineNum(2);
    m_frame->setHelpLineLeft(4);
    m_frame->setHelpLineRight(4);
    m_frame->setHelpLineTop(4);
    m_frame->setHelpLineBottom(4);
    QMyWidget *text = add(QStringLiteral("QLabel"), QPoint(10, 10));
    text->setW(100);
    text->setH(36);
    text->setStyle(3);
    text->setStyleColorNum(3);
    text->setBackgroundColorNum(15);
    text->setText(QStringLiteral("文本 Text"));
    QMyWidget *num = add(QStringLiteral("QLabelNum"), QPoint(120, 10));
    num->setText(QStringLiteral("123.45"));
    num->setW(90);
    num->setFontSize(24);
    num->setBackgroundColorNum(1);
    QMyWidget *button = add(QStringLiteral("QPushButton"), QPoint(220, 10));
    button->setW(80);
    button->setH(36);
    button->setBackgroundColorNum(42);
    button->setFontColorNum(15);
    QMyWidget *prog = add(QStringLiteral("QProgressBar"), QPoint(10, 70));
    prog->setW(200);
    prog->setText(QStringLiteral("60"));
    prog->setStyle(1);
    prog->setFontColorNum(52);
    QMyWidget *pointer = add(QStringLiteral("QPointer"), QPoint(330, 10));
    pointer->setPointerL(40);
    pointer->setPointerAngle(45);
    pointer->setPointerW(3);
    QMyWidget *qr = add(QStringLiteral("QRcode"), QPoint(10, 110));
    qr->setW(80);

    const QList<QPair<int, QPair<QPoint, QPoint>>> shapes{
        {1, {QPoint(110, 110), QPoint(180, 160)}}, {2, {QPoint(200, 110), QPoint(260, 160)}},
        {3, {QPoint(310, 150), QPoint(340, 150)}}, {4, {QPoint(410, 150), QPoint(430, 150)}},
        {5, {QPoint(120, 200), QPoint(120, 200)}}, {6, {QPoint(160, 240), QPoint(460, 190)}}};
    int colour = 1;
    for (const auto &s : shapes) {
        table()->setDrawTool(s.first);
        drag(s.second.first, s.second.second);
        primitives().last()->setColorNum(colour++);
    }
    table()->setDrawTool(0);
    QCOMPARE(primitives().size(), 6);
    // The last control and the last primitive stay selected: handles and a dotted line show.
    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(50, 18));
    primitives().first()->setSelected(true);

    const QImage shot = m_frame->grab().toImage();
    shot.save(QStringLiteral(TAVO_BIN_DIR "/canvas_every_kind.png"));
    QCOMPARE(shot.size(), QSize(480, 272));
    QCOMPARE(shot.pixelColor(470, 262), ColorTable::colorAt(19));         // page colour
    QCOMPARE(shot.pixelColor(230, 140), ColorTable::colorAt(2));          // inside the filled box
    QCOMPARE(shot.pixelColor(420, 150), ColorTable::colorAt(4));          // inside the filled circle
    QCOMPARE(shot.pixelColor(12, 72 + 10), ColorTable::colorAt(52));      // progress fill
    QCOMPARE(shot.pixelColor(20, 15), ColorTable::colorAt(15));      // text background
}

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
