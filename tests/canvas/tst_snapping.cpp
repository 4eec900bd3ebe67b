// Dragged controls, primitives and groups snapping to the page, its helper lines and other items,
// with the guide drawn while they sit on a line.
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"

#include <QtTest>

class TestSnapping : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void moveSnaps_data();
    void moveSnaps();
    void groupAndPrimitiveSnap();
    void resizeSnapsTheDraggedEdge();
    void helperLinesAttract();
    void nudgeDoesNotSnap();

private:
    // Presses the module pixel `from`, moves by `by` module pixels and leaves the button down.
    QWidget *press(const QPoint &from, const QPoint &by, Qt::KeyboardModifiers mods)
    {
        const int z = m_frame->zoom();
        const QPoint half(z / 2, z / 2);
        QWidget *w = m_frame->childAt(from * z + half);
        if (!w)
            w = m_frame;
        const QPoint at = w->mapFrom(m_frame, from * z + half);
        QMouseEvent down(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(w, &down);
        // The widget moves while it is dragged: the target is where the press was, plus `by`.
        const QPoint to = at + by * z;
        QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(w, &move);
        m_release = to;
        return w;
    }
    void release(QWidget *w)
    {
        QMouseEvent up(QEvent::MouseButtonRelease, m_release, w->mapToGlobal(m_release), Qt::LeftButton, {}, {});
        QCoreApplication::sendEvent(w, &up);
    }
    PageTable *table() const { return m_frame->pageTable(); }

    QMyFrame *m_frame = nullptr;
    QMyWidget *m_other = nullptr;
    QPoint m_release;
};

void TestSnapping::init()
{
    m_frame = new QMyFrame;
    m_frame->setFrameSize(240, 160);
    table()->addPage();
    m_frame->showPage(0);
    m_frame->show();
    // Lines of the other item: x 170, 200, 230 and y 10, 25, 40; of the page: 0, 120, 240 and
    // 0, 80, 160.
    m_other = m_frame->addControl(QStringLiteral("QLabel"), QPoint(170, 10));
}

void TestSnapping::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
}

void TestSnapping::moveSnaps_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QPoint>("by");
    QTest::addColumn<bool>("alt");
    QTest::addColumn<QPoint>("expected");
    QTest::addColumn<QPoint>("guide");  // -1: no guide on that axis

    // A 60 x 30 text control starts at (20, 60).
    QTest::newRow("left edge to the page edge") << 1 << QPoint(-17, 0) << false << QPoint(0, 60) << QPoint(0, -1);
    QTest::newRow("Alt: no snapping") << 1 << QPoint(-17, 0) << true << QPoint(3, 60) << QPoint(-1, -1);
    QTest::newRow("centre to the page centre") << 1 << QPoint(68, 0) << false << QPoint(90, 60) << QPoint(120, -1);
    QTest::newRow("right edge to the other's left edge") << 1 << QPoint(88, 0) << false << QPoint(110, 60)
                                                         << QPoint(170, -1);
    QTest::newRow("both axes") << 1 << QPoint(-18, -57) << false << QPoint(0, 0) << QPoint(0, 0);
    // 4 screen pixels are one module pixel at 3x and at 8x.
    QTest::newRow("3x: top one pixel below the other's bottom") << 3 << QPoint(0, -19) << false << QPoint(20, 40)
                                                                 << QPoint(-1, 40);
    QTest::newRow("3x: two pixels below stays") << 3 << QPoint(0, -18) << false << QPoint(20, 42) << QPoint(-1, -1);
    QTest::newRow("8x: one pixel") << 8 << QPoint(-19, 0) << false << QPoint(0, 60) << QPoint(0, -1);
}

void TestSnapping::moveSnaps()
{
    QFETCH(int, zoom);
    QFETCH(QPoint, by);
    QFETCH(bool, alt);
    QFETCH(QPoint, expected);
    QFETCH(QPoint, guide);
    QMyWidget *c = m_frame->addControl(QStringLiteral("QLabel"), QPoint(20, 60));
    m_frame->setZoom(zoom);
    QWidget *held = press(QPoint(40, 75), by, alt ? Qt::AltModifier : Qt::NoModifier);
    QCOMPARE(held, c);
    QCOMPARE(QPoint(c->getX(), c->getY()), expected);

    const bool snapped = guide != QPoint(-1, -1);
    QCOMPARE(m_frame->snapGuidesShown(), snapped);
    QCOMPARE(m_frame->snapGuide().snappedX, guide.x() >= 0);
    QCOMPARE(m_frame->snapGuide().snappedY, guide.y() >= 0);
    const QImage shot = m_frame->grab().toImage();
    const QRgb page = shot.pixel(shot.width() - 1, shot.height() - 1);  // bare page, no guide there
    if (guide.x() > 0) {
        QCOMPARE(m_frame->snapGuide().guideX, guide.x());
        // Drawn over the controls too, down the whole page.
        for (int y : {1, 70 * zoom, shot.height() - 2})
            QVERIFY(shot.pixel(guide.x() * zoom, y) != page);
    }
    if (guide.y() > 0) {
        QCOMPARE(m_frame->snapGuide().guideY, guide.y());
        QVERIFY(shot.pixel(shot.width() - 2, guide.y() * zoom) != page);
    }

    release(held);
    QCOMPARE(QPoint(c->getX(), c->getY()), expected);
    QVERIFY(!m_frame->snapGuidesShown());
    QVERIFY(!m_frame->snapGuide().snappedX && !m_frame->snapGuide().snappedY);
    if (guide.x() > 0) {
        const QImage after = m_frame->grab().toImage();
        QCOMPARE(after.pixel(guide.x() * zoom, shot.height() - 2), page);
    }
}

void TestSnapping::groupAndPrimitiveSnap()
{
    QMyWidget *a = m_frame->addControl(QStringLiteral("QLabel"), QPoint(20, 60));
    auto *d = new QMyDrawType;
    d->setDrawType(QMyDrawType::FilledBox);
    d->setStart(30, 100);
    d->setEnd(50, 120);
    table()->appendPrimitive(0, d);
    m_frame->selectItems({a}, {d});

    // Dragged by a control: the group's left edge (the control's) catches the page edge.
    release(press(QPoint(40, 75), QPoint(-18, 0), {}));
    QCOMPARE(a->getX(), 0);
    QCOMPARE(d->rect().topLeft(), QPoint(10, 100));
    // Dragged by the primitive: the group's bottom (the primitive's) catches the page's bottom.
    release(press(QPoint(15, 110), QPoint(0, 38), {}));
    QCOMPARE(d->rect().bottom() + 1, 160);
    QCOMPARE(a->getY(), 100);
    QCOMPARE(table()->selectionSize(), 2);
}

void TestSnapping::resizeSnapsTheDraggedEdge()
{
    QMyWidget *c = m_frame->addControl(QStringLiteral("QLabel"), QPoint(100, 60));
    // The right handle: the right edge goes to the cursor, 168, and on to the other's 170; the
    // left edge stays.
    release(press(QPoint(100 + 55, 60 + 14), QPoint(13, 0), {}));
    QCOMPARE(QRect(c->getX(), c->getY(), c->getW(), c->getH()), QRect(100, 60, 70, 30));
    // With Alt the edge stays where the cursor put it, 3 pixels short of the other's edge.
    release(press(QPoint(100 + 65, 60 + 14), QPoint(2, 0), Qt::AltModifier));
    QCOMPARE(c->getW(), 67);
}

void TestSnapping::helperLinesAttract()
{
    m_frame->setHelpLineNum(2);
    m_frame->setHelpLineLeft(12);
    m_frame->setHelpLineTop(9);
    m_frame->setHelpLineRight(12);
    m_frame->setHelpLineBottom(9);
    QMyWidget *c = m_frame->addControl(QStringLiteral("QLabel"), QPoint(20, 60));
    release(press(QPoint(40, 75), QPoint(-6, 0), {}));
    QCOMPARE(c->getX(), 12);
    release(press(QPoint(30, 75), QPoint(154, 59), {}));
    QCOMPARE(QPoint(c->getX() + 60, c->getY() + 30), QPoint(240 - 12, 160 - 9));
}

void TestSnapping::nudgeDoesNotSnap()
{
    QMyWidget *c = m_frame->addControl(QStringLiteral("QLabel"), QPoint(5, 60));
    m_frame->selectItems({c}, {});
    m_frame->nudgeSelection(-1, 0);
    QCOMPARE(c->getX(), 4);
    QVERIFY(!m_frame->snapGuidesShown());
}

QTEST_MAIN(TestSnapping)
#include "tst_snapping.moc"
