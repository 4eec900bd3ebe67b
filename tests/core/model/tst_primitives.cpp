#include "model/qmydrawtype.h"

#include <QtTest>

namespace {

QMyDrawType drawn(int kind, int x1, int y1, int x2, int y2)
{
    QMyDrawType d;
    d.setDrawType(kind);
    d.setStart(x1, y1);
    d.setEnd(x2, y2);
    return d;
}

}  // namespace

class TestPrimitives : public QObject {
    Q_OBJECT
private slots:
    void setEndGeometry_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QPoint>("end");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<int>("radius");
        QTest::addColumn<QString>("text");
        QTest::newRow("box backwards") << 1 << QPoint(50, 40) << QPoint(10, 20) << QRect(10, 20, 40, 20) << 0
                                       << "BOX(10,20,49,39,0);";
        QTest::newRow("filled box") << 2 << QPoint(0, 0) << QPoint(3, 2) << QRect(0, 0, 3, 2) << 0
                                    << "BOXF(0,0,2,1,0);";
        QTest::newRow("circle") << 3 << QPoint(100, 100) << QPoint(103, 104) << QRect(95, 95, 10, 10) << 5
                                << "CIR(100,100,5,0);";
        QTest::newRow("circle truncates") << 4 << QPoint(0, 0) << QPoint(1, 1) << QRect(-1, -1, 2, 2) << 1
                                          << "CIRF(0,0,1,0);";
        QTest::newRow("point") << 5 << QPoint(7, 8) << QPoint(30, 30) << QRect() << 0 << "PS(7,8,0);";
        QTest::newRow("line") << 6 << QPoint(7, 8) << QPoint(30, 1) << QRect() << 0 << "PL(7,8,30,1,0);";
    }
    void setEndGeometry()
    {
        QFETCH(int, kind);
        QFETCH(QPoint, start);
        QFETCH(QPoint, end);
        QFETCH(QRect, rect);
        QFETCH(int, radius);
        QFETCH(QString, text);
        QMyDrawType d = drawn(kind, start.x(), start.y(), end.x(), end.y());
        if (rect.isValid() || kind <= 4)
            QCOMPARE(d.rect(), rect);
        QCOMPARE(d.radius(), radius);
        QCOMPARE(d.instructionText(), text);
        QCOMPARE(d.instruction(), text);
    }

    void unsetKindKeepsStoredText()
    {
        QMyDrawType d;
        QCOMPARE(d.instructionText(), QString());
        d.setDrawType(9);
        QCOMPARE(d.instructionTextFor(), QString());
        QVERIFY(!d.hitTest(QPoint(0, 0)));
    }

    void hitTest_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPoint>("p");
        QTest::addColumn<bool>("hit");
        // Boxes and circles use the rectangle (20, 20, 40, 30).
        QTest::newRow("box outer band") << 1 << QPoint(17, 17) << true;
        QTest::newRow("box beyond band") << 1 << QPoint(16, 30) << false;
        QTest::newRow("box inner band") << 1 << QPoint(22, 30) << true;
        QTest::newRow("box inside") << 1 << QPoint(23, 23) << false;
        QTest::newRow("box far edge") << 1 << QPoint(62, 52) << true;
        QTest::newRow("box past far edge") << 1 << QPoint(63, 40) << false;
        QTest::newRow("circle corner band") << 3 << QPoint(18, 18) << true;
        QTest::newRow("circle centre") << 3 << QPoint(40, 35) << false;
        QTest::newRow("filled inside") << 2 << QPoint(40, 35) << true;
        QTest::newRow("filled edge") << 2 << QPoint(59, 49) << true;
        QTest::newRow("filled outside") << 2 << QPoint(60, 49) << false;
        QTest::newRow("filled circle inside") << 4 << QPoint(21, 21) << true;
        // The point (20, 20): the 6 x 6 square from (17, 17).
        QTest::newRow("point corner") << 5 << QPoint(17, 17) << true;
        QTest::newRow("point far corner") << 5 << QPoint(22, 22) << true;
        QTest::newRow("point outside") << 5 << QPoint(23, 20) << false;
        // The line (20, 20) to (60, 50), length 50.
        QTest::newRow("line end") << 6 << QPoint(20, 20) << true;
        QTest::newRow("line middle") << 6 << QPoint(40, 35) << true;
        QTest::newRow("line off") << 6 << QPoint(40, 40) << false;
        QTest::newRow("line beyond end") << 6 << QPoint(64, 53) << false;
    }
    void hitTest()
    {
        QFETCH(int, kind);
        QFETCH(QPoint, p);
        QFETCH(bool, hit);
        QMyDrawType d;
        d.setDrawType(kind);
        d.setStart(20, 20);
        d.setX2(60);
        d.setY2(50);
        d.setRect(20, 20, 40, 30);
        QCOMPARE(d.hitTest(p), hit);
    }

    void thinBoxHasNoHole()
    {
        QMyDrawType d = drawn(1, 0, 0, 4, 4);
        QVERIFY(d.hitTest(QPoint(2, 2)));
    }

    void copyPlacement_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("text");
        // Sources on a 240 x 320 page: box (10,10)-(50,40), circle at (100,100) r 20,
        // point (5,5), line (30,40)-(10,60).
        QTest::newRow("box inside") << 1 << QPoint(100, 100) << "BOX(100,100,139,129,3);";
        QTest::newRow("box left") << 1 << QPoint(-5, 100) << "BOX(0,100,39,129,3);";
        QTest::newRow("box right bottom") << 1 << QPoint(230, 310) << "BOX(200,290,239,319,3);";
        QTest::newRow("circle left top") << 3 << QPoint(5, 5) << "CIR(20,20,20,3);";
        QTest::newRow("circle right bottom") << 4 << QPoint(239, 319) << "CIRF(220,300,20,3);";
        QTest::newRow("point at 0") << 5 << QPoint(0, 0) << "PS(1,1,3);";
        QTest::newRow("point on the edge") << 5 << QPoint(240, 320) << "PS(240,320,3);";
        QTest::newRow("point beyond") << 5 << QPoint(241, 400) << "PS(239,319,3);";
        QTest::newRow("line inside") << 6 << QPoint(100, 100) << "PL(120,100,100,120,3);";
        QTest::newRow("line clamped") << 6 << QPoint(300, -4) << "PL(240,0,220,20,3);";
    }
    void copyPlacement()
    {
        QFETCH(int, kind);
        QFETCH(QPoint, at);
        QFETCH(QString, text);
        QMyDrawType src;
        switch (kind) {
        case 1:
        case 2: src = drawn(kind, 10, 10, 50, 40); break;
        case 3:
        case 4: src = drawn(kind, 100, 100, 120, 100); break;
        case 5: src = drawn(kind, 5, 5, 5, 5); break;
        default: src = drawn(kind, 30, 40, 10, 60); break;
        }
        src.setColorNum(3);
        src.setSelected(true);
        const QMyDrawType copy = src.copyPlacedAt(at, 240, 320);
        QCOMPARE(copy.instructionTextFor(), text);
        QVERIFY(!copy.selected());
    }

    // Copies of primitives read from a damaged file: derived sizes stop at the int range instead
    // of wrapping round.
    void damagedGeometryCopies()
    {
        QMyDrawType circle;
        circle.setDrawType(QMyDrawType::Circle);
        circle.setStart(0, 0);
        circle.setX2(2000000000);
        circle.setY2(2000000000);
        circle.setStoredRadius(2147483647);
        const QMyDrawType c = circle.copyPlacedAt(QPoint(10, 10), 240, 320);
        QCOMPARE(c.radius(), 2147483647);
        QCOMPARE(c.rect(), QRect(0, 0, 2147483647, 2147483647));

        QMyDrawType line;
        line.setDrawType(QMyDrawType::Line);
        line.setStart(-2000000000, 5);
        line.setX2(2000000000);
        line.setY2(5);
        QCOMPARE(line.copyPlacedAt(QPoint(10, 10), 240, 320).instructionTextFor(),
                 QStringLiteral("PL(-2147483648,10,240,10,0);"));

        QMyDrawType box;
        box.setDrawType(QMyDrawType::Box);
        box.setStart(-2000000000, -2000000000);
        box.setEnd(2000000000, 2000000000);
        QCOMPARE(box.rect(), QRect(-2000000000, -2000000000, 2147483647, 2147483647));
    }
};

QTEST_GUILESS_MAIN(TestPrimitives)
#include "tst_primitives.moc"
