// Several controls and primitives at once: picking them, moving, nudging, arranging, deleting,
// copying and pasting them together.
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"

#include <QAction>
#include <QtTest>

class TestMultiSelect : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void rubberBandAndModifierClicks();
    void groupDragKeepsLayoutOnThePage();
    void clickOnOneOfSeveralPicksIt();
    void nudges_data();
    void nudges();
    void arrangeFromTheMenu();
    void deleteRenumbersTheRest();
    void copyAndPasteTheSelection();
    void pasteRefusedWhenOverTheLimits();

private:
    QMyWidget *add(const QString &className, const QPoint &at)
    {
        return m_frame->addControl(className, at);
    }
    QMyDrawType *box(const QRect &r)
    {
        auto *d = new QMyDrawType;
        d->setDrawType(QMyDrawType::Box);
        d->setStart(r.x(), r.y());
        d->setEnd(r.x() + r.width(), r.y() + r.height());
        table()->appendPrimitive(table()->currentPage(), d);
        return d;
    }
    static void move(QWidget *w, const QPoint &pos, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(w, &e);
    }
    void band(const QPoint &from, const QPoint &to, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mousePress(m_frame, Qt::LeftButton, mods, from);
        move(m_frame, to, mods);
        QTest::mouseRelease(m_frame, Qt::LeftButton, mods, to);
    }
    PageTable *table() const { return m_frame->pageTable(); }
    const QList<QMyWidget *> &controls() const { return table()->pageControls(table()->currentPage()); }
    QList<QMyWidget *> selectedControls() const { return table()->selectedControls(); }
    int marked() const
    {
        int n = 0;
        for (const QMyWidget *w : controls())
            n += w->isSelected() ? 1 : 0;
        return n;
    }

    QMyFrame *m_frame = nullptr;
};

void TestMultiSelect::init()
{
    qRegisterMetaType<QMyWidget *>();
    m_frame = new QMyFrame;  // 420 x 360
    table()->addPage();
    m_frame->showPage(0);
    m_frame->show();
}

void TestMultiSelect::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
}

void TestMultiSelect::rubberBandAndModifierClicks()
{
    QMyWidget *a = add(QStringLiteral("QLabel"), QPoint(10, 10));
    QMyWidget *b = add(QStringLiteral("QLabel"), QPoint(100, 10));
    QMyWidget *c = add(QStringLiteral("QLabel"), QPoint(250, 200));
    QMyDrawType *d = box(QRect(20, 250, 40, 30));

    // Only what lies wholly inside the band.
    band(QPoint(5, 5), QPoint(200, 45));
    QCOMPARE(selectedControls(), (QList<QMyWidget *>{a, b}));
    QCOMPARE(marked(), 2);
    QVERIFY(m_frame->rubberBand().isEmpty());
    band(QPoint(5, 5), QPoint(150, 45));
    QCOMPARE(selectedControls(), QList<QMyWidget *>{a});

    // Shift and Ctrl add and take away, controls and primitives alike.
    QTest::mouseClick(c, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
    QTest::mouseClick(b, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
    QCOMPARE(selectedControls(), (QList<QMyWidget *>{a, c, b}));
    QTest::mouseClick(a, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
    QCOMPARE(selectedControls(), (QList<QMyWidget *>{c, b}));
    QVERIFY(!a->isSelected() && b->isSelected() && c->isSelected());
    QTest::mouseClick(m_frame, Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 265));
    QCOMPARE(table()->selectedPrimitives(), QList<QMyDrawType *>{d});
    QVERIFY(d->selected());
    QCOMPARE(table()->selectionSize(), 3);

    // A band with Shift adds to the selection; a plain click on the bare page empties it.
    band(QPoint(5, 5), QPoint(80, 45), Qt::ShiftModifier);
    QCOMPARE(table()->selectionSize(), 4);
    QTest::mouseClick(m_frame, Qt::LeftButton, {}, QPoint(400, 340));
    QCOMPARE(table()->selectionSize(), 0);
    QCOMPARE(marked(), 0);
    QVERIFY(!d->selected());

    // Whatever is destroyed leaves the selection.
    band(QPoint(1, 1), QPoint(419, 359));
    QCOMPARE(table()->selectionSize(), 4);
    table()->destroyControl(b);
    QCOMPARE(selectedControls(), (QList<QMyWidget *>{a, c}));
}

void TestMultiSelect::groupDragKeepsLayoutOnThePage()
{
    QMyWidget *a = add(QStringLiteral("QLabel"), QPoint(10, 10));
    QMyWidget *b = add(QStringLiteral("QPushButton"), QPoint(100, 50));
    QMyDrawType *d = box(QRect(20, 150, 40, 30));
    add(QStringLiteral("QLabel"), QPoint(300, 300));  // not selected, stays
    band(QPoint(1, 1), QPoint(250, 250));
    QCOMPARE(table()->selectionSize(), 3);

    // Pressed inside, away from the resize handles.
    QTest::mousePress(a, Qt::LeftButton, {}, QPoint(20, 12));
    move(a, QPoint(50, 32));
    QTest::mouseRelease(a, Qt::LeftButton, {}, QPoint(50, 32));
    QCOMPARE(a->pos(), QPoint(40, 30));
    QCOMPARE(b->pos(), QPoint(130, 70));
    QCOMPARE(d->rect(), QRect(50, 170, 40, 30));
    QCOMPARE(controls().last()->pos(), QPoint(300, 300));
    QCOMPARE(table()->selectionSize(), 3);

    // Dragged far down-right: the group stops where its lowest, rightmost edges meet the page.
    const QPoint bAt = b->pos();
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(20, 12));
    move(b, QPoint(1000, 1000));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(1000, 1000));
    QCOMPARE(b->x() + b->width(), 420);
    QCOMPARE(d->rect().bottom(), 359);
    QCOMPARE(a->pos() - b->pos(), QPoint(40, 30) - bAt);
    QCOMPARE(d->rect().topLeft() - b->pos(), QPoint(50, 170) - bAt);

    // Pressing a selected primitive drags the group too (Alt: 4 pixels from the page edge would
    // snap back to it).
    const QPoint aAt = a->pos();
    QTest::mousePress(m_frame, Qt::LeftButton, {}, d->rect().topLeft());
    move(m_frame, d->rect().topLeft() - QPoint(10, 4), Qt::AltModifier);
    QTest::mouseRelease(m_frame, Qt::LeftButton, {}, d->rect().topLeft() - QPoint(10, 4));
    QCOMPARE(a->pos(), aAt - QPoint(10, 4));
}

void TestMultiSelect::clickOnOneOfSeveralPicksIt()
{
    QMyWidget *a = add(QStringLiteral("QLabel"), QPoint(10, 10));
    QMyWidget *b = add(QStringLiteral("QLabel"), QPoint(100, 10));
    band(QPoint(1, 1), QPoint(200, 100));
    QSignalSpy wnd(m_frame, &QMyFrame::s_sendPressWnd);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, 12));
    QCOMPARE(selectedControls(), QList<QMyWidget *>{b});
    QVERIFY(!a->isSelected());
    QCOMPARE(m_frame->selectedControl(), b);
    QVERIFY(wnd.count() >= 1);
    QCOMPARE(wnd.last().at(0).value<QMyWidget *>(), b);
}

void TestMultiSelect::nudges_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QPoint>("aAfter");

    // a at (5,5) 60x30, b at (200,300) 60x30: the page is 420 x 360, b's bottom edge 330.
    QTest::newRow("left") << int(Qt::Key_Left) << false << QPoint(4, 5);
    QTest::newRow("shift+left stops at the edge") << int(Qt::Key_Left) << true << QPoint(0, 5);
    QTest::newRow("up") << int(Qt::Key_Up) << false << QPoint(5, 4);
    QTest::newRow("right") << int(Qt::Key_Right) << false << QPoint(6, 5);
    QTest::newRow("shift+right") << int(Qt::Key_Right) << true << QPoint(15, 5);
    QTest::newRow("shift+down") << int(Qt::Key_Down) << true << QPoint(5, 15);
}

void TestMultiSelect::nudges()
{
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(QPoint, aAfter);
    QMyWidget *a = add(QStringLiteral("QLabel"), QPoint(5, 5));
    QMyWidget *b = add(QStringLiteral("QLabel"), QPoint(200, 300));
    band(QPoint(1, 1), QPoint(300, 340));
    QCOMPARE(table()->selectionSize(), 2);
    QTest::keyClick(m_frame, Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(a->pos(), aAfter);
    QCOMPARE(b->pos() - a->pos(), QPoint(195, 295));
    // Held against the edge, further presses change nothing.
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(m_frame, Qt::Key(key), Qt::ShiftModifier);
    QVERIFY(a->x() >= 0 && a->y() >= 0 && b->x() + b->width() <= 420 && b->y() + b->height() <= 360);
    QCOMPARE(b->pos() - a->pos(), QPoint(195, 295));
}

void TestMultiSelect::arrangeFromTheMenu()
{
    QMyWidget *a = add(QStringLiteral("QLabel"), QPoint(30, 10));
    QMyWidget *b = add(QStringLiteral("QLabel"), QPoint(100, 80));
    QMyDrawType *d = box(QRect(200, 150, 40, 30));
    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, 5));
    band(QPoint(1, 1), QPoint(300, 300));
    QCOMPARE(m_frame->alignActions().size(), 10);
    m_frame->alignActions().at(int(Arrange::AlignLeft))->trigger();
    QCOMPARE(a->x(), 30);
    QCOMPARE(b->x(), 30);
    QCOMPARE(d->rect().x(), 30);
    m_frame->alignActions().at(int(Arrange::AlignBottom))->trigger();
    QCOMPARE(a->y() + a->height(), 180);
    QCOMPARE(b->y() + b->height(), 180);
    QCOMPARE(d->rect().bottom(), 179);
    // The box takes the width of the control the panel shows; the corners follow.
    m_frame->setSelectedControl(b);
    m_frame->alignActions().at(int(Arrange::SameWidth))->trigger();
    QCOMPARE(d->rect().width(), b->width());
    QCOMPARE(d->x2() - d->x1(), b->width());
}

void TestMultiSelect::deleteRenumbersTheRest()
{
    for (int i = 0; i < 4; ++i)
        add(QStringLiteral("QLabel"), QPoint(10 + 70 * i, 10));
    QMyWidget *kept1 = controls().at(1);
    QMyWidget *kept3 = controls().at(3);
    box(QRect(20, 150, 40, 30));
    box(QRect(120, 150, 40, 30));
    QTest::mouseClick(controls().at(0), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(controls().at(2), Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
    QTest::mouseClick(m_frame, Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 160));
    QCOMPARE(table()->selectionSize(), 3);
    m_frame->deleteSelection();
    QCOMPARE(controls(), (QList<QMyWidget *>{kept1, kept3}));
    QCOMPARE(kept1->id(), 0);
    QCOMPARE(kept3->id(), 1);
    QCOMPARE(table()->pagePrimitives(0).size(), 1);
    QCOMPARE(table()->pagePrimitives(0).first()->rect().x(), 120);
    QCOMPARE(table()->selectionSize(), 0);
}

void TestMultiSelect::copyAndPasteTheSelection()
{
    QMyWidget *a = add(QStringLiteral("QLabel"), QPoint(10, 10));
    QMyWidget *q = add(QStringLiteral("QRcode"), QPoint(100, 40));
    add(QStringLiteral("QLabel"), QPoint(300, 300));
    a->setText(QStringLiteral("甲"));
    QMyDrawType *d = box(QRect(20, 100, 40, 30));
    d->setColorNum(7);
    // Picked in another order than the page's: the copies are numbered in page order.
    QTest::mouseClick(q, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(a, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
    QTest::mouseClick(m_frame, Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 110));
    m_frame->slotCopyAction();
    m_frame->setPastePos(QPoint(200, 150));
    m_frame->slotPasteAction();
    QCOMPARE(controls().size(), 5);
    QMyWidget *a2 = controls().at(3);
    QMyWidget *q2 = controls().at(4);
    QCOMPARE(a2->text(), QStringLiteral("甲"));
    QCOMPARE(a2->id(), 2);
    QCOMPARE(q2->kind(), ControlKind::QRCode);
    QCOMPARE(q2->id(), 1);
    // The group's top-left corner lands on the paste position; the layout is kept.
    QCOMPARE(a2->pos(), QPoint(200, 150));
    QCOMPARE(q2->pos(), QPoint(290, 180));
    QMyDrawType *d2 = table()->pagePrimitives(0).last();
    QCOMPARE(d2->rect(), QRect(210, 240, 40, 30));
    QCOMPARE(d2->colorNum(), 7);
    QCOMPARE(table()->selectionSize(), 3);
    QVERIFY(table()->isSelected(a2) && table()->isSelected(q2) && table()->isSelected(d2));
    QVERIFY(!a->isSelected());

    // Near the far corner the whole group moves back onto the page, the layout kept.
    table()->destroyControl(q2);  // room for one more QR code
    m_frame->setPastePos(QPoint(419, 359));
    m_frame->slotPasteAction();
    QCOMPARE(controls().size(), 6);
    QCOMPARE(controls().at(5)->pos() - controls().at(4)->pos(), QPoint(90, 30));
    QCOMPARE(table()->pagePrimitives(0).last()->rect().bottom(), 359);
    QVERIFY(controls().at(5)->x() + controls().at(5)->width() <= 420);
}

void TestMultiSelect::pasteRefusedWhenOverTheLimits()
{
    add(QStringLiteral("QRcode"), QPoint(10, 10));
    add(QStringLiteral("QLabel"), QPoint(10, 100));
    band(QPoint(1, 1), QPoint(200, 200));
    m_frame->slotCopyAction();
    m_frame->setPastePos(QPoint(200, 10));
    m_frame->slotPasteAction();
    QCOMPARE(controls().size(), 4);
    // A third QR code would be one too many: nothing of the group is pasted.
    m_frame->slotPasteAction();
    QCOMPARE(controls().size(), 4);
    QVERIFY(m_frame->messageBox()->isVisible());
    QCOMPARE(m_frame->messageBox()->message(), QStringLiteral("每页添加的二维码不能超过2个！"));
    m_frame->messageBox()->hide();

    // 62 controls and a group of two fit; 63 do not.
    QMyFrame other;
    other.pageTable()->addPage();
    other.showPage(0);
    for (int i = 0; i < 60; ++i)
        other.addControl(QStringLiteral("QLabel"), QPoint(i % 6 * 60, i / 6 * 30));
    other.addControl(QStringLiteral("QLabel"), QPoint(0, 330));
    other.addControl(QStringLiteral("QLabel"), QPoint(60, 330));
    other.selectItems({other.pageTable()->pageControls(0).at(0), other.pageTable()->pageControls(0).at(1)}, {});
    other.slotCopyAction();
    other.slotPasteAction();
    QCOMPARE(other.pageTable()->pageControls(0).size(), 64);
    other.pageTable()->destroyControl(other.pageTable()->pageControls(0).last());
    other.slotPasteAction();
    QCOMPARE(other.pageTable()->pageControls(0).size(), 63);
    QCOMPARE(other.messageBox()->message(), QStringLiteral("每页添加的控件不能超过64个！"));
}

QTEST_MAIN(TestMultiSelect)
#include "tst_multiselect.moc"
