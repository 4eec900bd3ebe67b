// Snapping a dragged rectangle's edges and centres to candidate lines.
#include "edit/snap.h"

#include <QtTest>

class TestSnap : public QObject {
    Q_OBJECT
private slots:
    void snap_data();
    void snap();
    void threshold_data();
    void threshold();
};

void TestSnap::snap_data()
{
    QTest::addColumn<QRect>("moving");
    QTest::addColumn<int>("within");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QPoint>("guide");  // -1 where that axis does not snap

    // Page 200 x 100 (lines 0, 100, 200 and 0, 50, 100) and a rectangle at (120, 60) 40 x 20
    // (lines 120, 140, 160 and 60, 70, 80).
    const int all = Snap::AllLines;
    QTest::newRow("left edge to the page edge") << QRect(3, 30, 10, 10) << 4 << all << QPoint(-3, 0) << QPoint(0, -1);
    QTest::newRow("right edge to the page edge") << QRect(187, 30, 10, 10) << 4 << all << QPoint(3, 0) << QPoint(200, -1);
    QTest::newRow("just too far") << QRect(5, 30, 10, 10) << 4 << all << QPoint() << QPoint(-1, -1);
    QTest::newRow("centre to the page centre") << QRect(93, 30, 10, 10) << 4 << all << QPoint(2, 0) << QPoint(100, -1);
    QTest::newRow("both axes") << QRect(2, 98, 10, 10) << 4 << all << QPoint(-2, 2) << QPoint(0, 100);
    QTest::newRow("left edge to the other's right edge")
        << QRect(162, 10, 10, 10) << 4 << all << QPoint(-2, 0) << QPoint(160, -1);
    QTest::newRow("centre to the other's centre")
        << QRect(133, 33, 10, 10) << 4 << all << QPoint(2, 0) << QPoint(140, -1);
    QTest::newRow("nearest wins") << QRect(117, 33, 42, 10) << 4 << all << QPoint(1, 0) << QPoint(160, -1);
    QTest::newRow("only the named lines") << QRect(3, 30, 10, 10) << 4 << int(Snap::Right) << QPoint() << QPoint(-1, -1);
    QTest::newRow("right edge alone") << QRect(150, 30, 8, 10) << 4 << int(Snap::Right | Snap::Bottom)
                                      << QPoint(2, 0) << QPoint(160, -1);
}

void TestSnap::snap()
{
    QFETCH(QRect, moving);
    QFETCH(int, within);
    QFETCH(int, lines);
    QFETCH(QPoint, offset);
    QFETCH(QPoint, guide);
    Snap::Candidates c;
    c.addPage(QSize(200, 100));
    c.addRect(QRect(120, 60, 40, 20));
    const Snap::Result r = Snap::snap(moving, c, within, lines);
    QCOMPARE(r.offset, offset);
    QCOMPARE(r.snappedX, guide.x() >= 0);
    QCOMPARE(r.snappedY, guide.y() >= 0);
    if (r.snappedX)
        QCOMPARE(r.guideX, guide.x());
    if (r.snappedY)
        QCOMPARE(r.guideY, guide.y());
}

void TestSnap::threshold_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("pixels");
    QTest::newRow("1x") << 1 << 4;
    QTest::newRow("2x") << 2 << 2;
    QTest::newRow("3x") << 3 << 1;
    QTest::newRow("8x never below one pixel") << 8 << 1;
}

void TestSnap::threshold()
{
    QFETCH(int, zoom);
    QFETCH(int, pixels);
    QCOMPARE(Snap::threshold(4, zoom), pixels);
}

QTEST_MAIN(TestSnap)
#include "tst_snap.moc"
