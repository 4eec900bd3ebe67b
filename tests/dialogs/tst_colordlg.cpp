#include "properties/colordlg.h"
#include "properties/colordraw.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

class TestColorDlg : public QObject {
    Q_OBJECT
private slots:
    void grid();
    void releaseHitTest_data();
    void releaseHitTest();
    void numberColour_data();
    void numberColour();
    void swatchPixels();
    void openWithNumberAndAccept();
    void clickThenCancel_data();
    void clickThenCancel();
};

void TestColorDlg::grid()
{
    ColorDraw draw;
    QCOMPARE(draw.cellCount(), 64);
    QCOMPARE(draw.size(), QSize(731, 311));
    QCOMPARE(draw.cellRects().at(0), QRect(10, 10, 35, 35));
    QCOMPARE(draw.cellRects().at(15), QRect(685, 10, 35, 35));
    QCOMPARE(draw.cellRects().at(16), QRect(10, 55, 35, 35));
    QCOMPARE(draw.cellRects().at(63), QRect(685, 145, 35, 35));
}

void TestColorDlg::releaseHitTest_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("cell");

    QTest::newRow("first cell top-left pixel") << QPoint(10, 10) << 0;
    QTest::newRow("first cell bottom-right pixel") << QPoint(44, 44) << 0;
    QTest::newRow("gap right of the first cell") << QPoint(45, 20) << -1;
    QTest::newRow("last pixel of the gap") << QPoint(54, 20) << -1;
    QTest::newRow("second cell left edge") << QPoint(55, 20) << 1;
    QTest::newRow("gap between rows") << QPoint(20, 50) << -1;
    QTest::newRow("second row") << QPoint(20, 60) << 16;
    QTest::newRow("last cell corner") << QPoint(719, 179) << 63;
    QTest::newRow("right margin") << QPoint(720, 179) << -1;
    QTest::newRow("below the grid") << QPoint(100, 250) << -1;
    QTest::newRow("outer margin") << QPoint(3, 3) << -1;
}

void TestColorDlg::releaseHitTest()
{
    QFETCH(QPoint, pos);
    QFETCH(int, cell);

    ColorDraw draw;
    draw.show();
    QSignalSpy spy(&draw, &ColorDraw::s_selectColorNum);
    // Press and move pick nothing; only the release does.
    QTest::mousePress(&draw, Qt::LeftButton, {}, pos);
    QCOMPARE(spy.count(), 0);
    QTest::mouseRelease(&draw, Qt::LeftButton, {}, pos);
    if (cell < 0) {
        QCOMPARE(spy.count(), 0);
    } else {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), cell);
    }
}

void TestColorDlg::numberColour_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QColor>("colour");

    // By luminance: a single bright channel does not make a swatch light.
    QTest::newRow("black cell") << 21 << QColor(Qt::white);
    QTest::newRow("dark green") << 22 << QColor(Qt::white);
    QTest::newRow("dark purple") << 50 << QColor(Qt::white);
    QTest::newRow("red") << 1 << QColor(Qt::black);
    QTest::newRow("dark grey 64") << 8 << QColor(Qt::white);
    QTest::newRow("blue") << 3 << QColor(Qt::white);
    QTest::newRow("green 100") << 25 << QColor(Qt::white);
    QTest::newRow("dark teal") << 40 << QColor(Qt::white);
    QTest::newRow("plum") << 57 << QColor(Qt::white);
    QTest::newRow("light grey") << 7 << QColor(Qt::black);
    QTest::newRow("yellow") << 4 << QColor(Qt::black);
}

void TestColorDlg::numberColour()
{
    QFETCH(int, n);
    QFETCH(QColor, colour);
    QCOMPARE(ColorDraw::numberColorFor(n), colour);
}

void TestColorDlg::swatchPixels()
{
    ColorDraw draw;
    const QImage img = draw.pixmap().toImage();
    QCOMPARE(img.pixelColor(12, 40), QColor(0, 0, 0));          // cell 0
    QCOMPARE(img.pixelColor(57, 40), QColor(248, 0, 0));        // cell 1
    QCOMPARE(img.pixelColor(50, 20), QColor(235, 235, 235));    // gap
    QCOMPARE(img.pixelColor(0, 0), QColor(0, 0, 0));            // outline
}

void TestColorDlg::openWithNumberAndAccept()
{
    ColorDlg dlg;
    QTimer::singleShot(0, &dlg, [&dlg] {
        QCOMPARE(dlg.numberLabel()->text(), QStringLiteral("17"));
        QVERIFY(dlg.swatch()->styleSheet().contains(QStringLiteral("rgb(248,0,0)")));
        QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
    });
    QVERIFY(dlg.execWithColorNum(17));
    QCOMPARE(dlg.colorNum(), 17);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("颜色表"));
}

void TestColorDlg::clickThenCancel_data()
{
    QTest::addColumn<bool>("closeInstead");
    QTest::newRow("cancel button") << false;
    QTest::newRow("window closed") << true;
}

void TestColorDlg::clickThenCancel()
{
    QFETCH(bool, closeInstead);
    ColorDlg dlg;
    QTimer::singleShot(0, &dlg, [&dlg, closeInstead] {
        QTest::mouseClick(dlg.colorFrame(), Qt::LeftButton, {}, QPoint(60, 60));  // cell 17
        QTest::mouseClick(dlg.colorFrame(), Qt::LeftButton, {}, QPoint(105, 105)); // cell 34
        QCOMPARE(dlg.numberLabel()->text(), QStringLiteral("34"));
        if (closeInstead)
            dlg.close();
        else
            QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("btnCancel")), Qt::LeftButton);
    });
    QVERIFY(!dlg.execWithColorNum(5));
}

QTEST_MAIN(TestColorDlg)
#include "tst_colordlg.moc"
