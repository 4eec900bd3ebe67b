// Alignment, distribution, equal sizes and page-bound moves of several rectangles.
#include "edit/arrange.h"

#include <QtTest>

Q_DECLARE_METATYPE(QVector<QRect>)
Q_DECLARE_METATYPE(QVector<bool>)

class TestArrange : public QObject {
    Q_OBJECT
private slots:
    void arrange_data();
    void arrange();
    void clampMove_data();
    void clampMove();
};

using Rects = QVector<QRect>;

void TestArrange::arrange_data()
{
    QTest::addColumn<Rects>("in");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<bool>>("resizable");
    QTest::addColumn<Rects>("out");

    // Bounds of the set: x 10..84, y 5..49.
    const Rects set{QRect(10, 10, 20, 10), QRect(40, 30, 10, 20), QRect(70, 5, 15, 15)};
    const QVector<bool> all{true, true, true};
    QTest::newRow("left") << set << int(Arrange::AlignLeft) << all
                          << Rects{QRect(10, 10, 20, 10), QRect(10, 30, 10, 20), QRect(10, 5, 15, 15)};
    QTest::newRow("right") << set << int(Arrange::AlignRight) << all
                           << Rects{QRect(65, 10, 20, 10), QRect(75, 30, 10, 20), QRect(70, 5, 15, 15)};
    QTest::newRow("top") << set << int(Arrange::AlignTop) << all
                         << Rects{QRect(10, 5, 20, 10), QRect(40, 5, 10, 20), QRect(70, 5, 15, 15)};
    QTest::newRow("bottom") << set << int(Arrange::AlignBottom) << all
                            << Rects{QRect(10, 40, 20, 10), QRect(40, 30, 10, 20), QRect(70, 35, 15, 15)};
    QTest::newRow("horizontal centre") << set << int(Arrange::AlignHCenter) << all
                                       << Rects{QRect(37, 10, 20, 10), QRect(42, 30, 10, 20), QRect(40, 5, 15, 15)};
    QTest::newRow("vertical centre") << set << int(Arrange::AlignVCenter) << all
                                     << Rects{QRect(10, 22, 20, 10), QRect(40, 17, 10, 20), QRect(70, 20, 15, 15)};
    QTest::newRow("distribute horizontally") << set << int(Arrange::DistributeH) << all
                                             << Rects{QRect(10, 10, 20, 10), QRect(45, 30, 10, 20), QRect(70, 5, 15, 15)};
    // Ordered by top edge: the third, the first, the second; no room left, so no gaps.
    QTest::newRow("distribute vertically") << set << int(Arrange::DistributeV) << all
                                           << Rects{QRect(10, 20, 20, 10), QRect(40, 30, 10, 20), QRect(70, 5, 15, 15)};
    // 20 pixels of room over 3 gaps: the first two gaps take the remainder.
    QTest::newRow("distribute with a remainder")
        << Rects{QRect(50, 0, 10, 10), QRect(0, 0, 10, 10), QRect(33, 0, 10, 10), QRect(20, 0, 10, 10)}
        << int(Arrange::DistributeH) << QVector<bool>()
        << Rects{QRect(50, 0, 10, 10), QRect(0, 0, 10, 10), QRect(34, 0, 10, 10), QRect(17, 0, 10, 10)};
    QTest::newRow("two items do not distribute")
        << Rects{QRect(0, 0, 10, 10), QRect(50, 40, 10, 10)} << int(Arrange::DistributeH) << QVector<bool>()
        << Rects{QRect(0, 0, 10, 10), QRect(50, 40, 10, 10)};
    QTest::newRow("same width") << set << int(Arrange::SameWidth) << all
                                << Rects{QRect(10, 10, 20, 10), QRect(40, 30, 20, 20), QRect(70, 5, 20, 15)};
    QTest::newRow("same height") << set << int(Arrange::SameHeight) << all
                                 << Rects{QRect(10, 10, 20, 10), QRect(40, 30, 10, 10), QRect(70, 5, 15, 10)};
    QTest::newRow("same width skips fixed sizes") << set << int(Arrange::SameWidth) << QVector<bool>{true, false, true}
                                                  << Rects{QRect(10, 10, 20, 10), QRect(40, 30, 10, 20), QRect(70, 5, 20, 15)};
    // Widened past the right edge: pushed back onto the page.
    QTest::newRow("same width stays on the page")
        << Rects{QRect(0, 0, 40, 10), QRect(90, 20, 10, 10)} << int(Arrange::SameWidth) << QVector<bool>{true, true}
        << Rects{QRect(0, 0, 40, 10), QRect(60, 20, 40, 10)};
    QTest::newRow("same height stays on the page")
        << Rects{QRect(0, 0, 10, 100), QRect(20, 75, 10, 5)} << int(Arrange::SameHeight) << QVector<bool>{true, true}
        << Rects{QRect(0, 0, 10, 80), QRect(20, 0, 10, 80)};
    QTest::newRow("one item is left alone") << Rects{QRect(5, 6, 7, 8)} << int(Arrange::AlignRight) << all
                                            << Rects{QRect(5, 6, 7, 8)};
}

void TestArrange::arrange()
{
    QFETCH(Rects, in);
    QFETCH(int, kind);
    QFETCH(QVector<bool>, resizable);
    QFETCH(Rects, out);
    QCOMPARE(Arrange::arrange(in, Arrange::Kind(kind), QSize(100, 80), resizable), out);
}

void TestArrange::clampMove_data()
{
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QPoint>("allowed");

    QTest::newRow("inside") << QRect(10, 10, 20, 20) << QPoint(5, -5) << QPoint(5, -5);
    QTest::newRow("past the left and top") << QRect(10, 10, 20, 20) << QPoint(-50, -11) << QPoint(-10, -10);
    QTest::newRow("past the right and bottom") << QRect(10, 10, 20, 20) << QPoint(100, 100) << QPoint(70, 50);
    QTest::newRow("exactly to the far edge") << QRect(10, 10, 20, 20) << QPoint(70, 50) << QPoint(70, 50);
    QTest::newRow("wider than the page stays at 0") << QRect(0, 0, 120, 10) << QPoint(5, 3) << QPoint(0, 3);
}

void TestArrange::clampMove()
{
    QFETCH(QRect, bounds);
    QFETCH(QPoint, delta);
    QFETCH(QPoint, allowed);
    QCOMPARE(Arrange::clampMove(bounds, delta, QSize(100, 80)), allowed);
}

QTEST_APPLESS_MAIN(TestArrange)
#include "tst_arrange.moc"
