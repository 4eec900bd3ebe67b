// The canvas under a fractional screen scale (run with QT_SCALE_FACTOR 1.5 and 1.25): module
// pixels stay squares of whole device pixels, and a control, its handles and the snap guides lie
// on the page's grid, at 1x and 4x.
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"

#include <QtTest>

namespace {

const QRgb kPage = qRgb(248, 252, 248);     // colour 15
const QRgb kControl = qRgb(0, 0, 248);      // colour 3
const QRgb kHandle = qRgb(0, 0, 255);
const QRgb kHandleEdge = qRgb(0, 0, 0);

}  // namespace

class TestFractionalScale : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controlEdgesOnTheGrid_data();
    void controlEdgesOnTheGrid();
    void clicksReachEveryModulePixel_data();
    void clicksReachEveryModulePixel();

private:
    // The rows of this run's scale; a run at another scale has none.
    static bool scaleIs(const char *factor) { return qgetenv("QT_SCALE_FACTOR") == factor; }

    QPointer<QMyFrame> m_frame;
    QMyWidget *m_control = nullptr;
};

void TestFractionalScale::init()
{
    m_frame = new QMyFrame;
    m_frame->setFrameSize(48, 40);
    m_frame->pageTable()->addPage();
    m_frame->showPage(0);
    m_frame->show();
    // A plain blue box, 30 x 24 at (5, 7), selected so that its handles show.
    m_control = m_frame->addControl(QStringLiteral("QLabel"), QPoint(5, 7));
    QVERIFY(m_control);
    ControlRecord r = m_control->record();
    r.w = 30;
    r.h = 24;
    r.style = 2;
    r.backgroundColorNum = 3;
    r.text.clear();
    m_control->setRecord(r);
    m_frame->selectItems({m_control}, {});
}

void TestFractionalScale::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
}

void TestFractionalScale::controlEdgesOnTheGrid_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("k");  // device pixels per module pixel
    // Device columns either side of the control's left and right edges, rows either side of its
    // top and bottom edges, and the guide's column on the page's centre line (x = 24).
    QTest::addColumn<QPoint>("left");
    QTest::addColumn<QPoint>("right");
    QTest::addColumn<QPoint>("top");
    QTest::addColumn<QPoint>("bottom");
    QTest::addColumn<int>("guide");
    if (scaleIs("1.5")) {
        QTest::newRow("1.5 at 1x") << 1 << 2 << QPoint(9, 10) << QPoint(69, 70) << QPoint(13, 14) << QPoint(61, 62) << 48;
        QTest::newRow("1.5 at 4x") << 4 << 6 << QPoint(29, 30) << QPoint(209, 210) << QPoint(41, 42) << QPoint(185, 186)
                                   << 144;
    }
    if (scaleIs("1.25")) {
        QTest::newRow("1.25 at 1x") << 1 << 1 << QPoint(4, 5) << QPoint(34, 35) << QPoint(6, 7) << QPoint(30, 31) << 24;
        QTest::newRow("1.25 at 4x") << 4 << 5 << QPoint(24, 25) << QPoint(174, 175) << QPoint(34, 35) << QPoint(154, 155)
                                    << 120;
    }
}

void TestFractionalScale::controlEdgesOnTheGrid()
{
    QFETCH(int, zoom);
    QFETCH(int, k);
    QFETCH(QPoint, left);
    QFETCH(QPoint, right);
    QFETCH(QPoint, top);
    QFETCH(QPoint, bottom);
    QFETCH(int, guide);
    m_frame->setZoom(zoom);
    QImage shot = m_frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(shot.width() >= 48 * k && shot.height() >= 40 * k);

    // Every module pixel of the page is one colour over its k x k square.
    for (int my = 0; my < 40; ++my) {
        for (int mx = 0; mx < 48; ++mx) {
            const QRgb c = shot.pixel(mx * k, my * k);
            for (int y = my * k; y < (my + 1) * k; ++y) {
                for (int x = mx * k; x < (mx + 1) * k; ++x) {
                    if (shot.pixel(x, y) != c)
                        QFAIL(qPrintable(QStringLiteral("module pixel (%1, %2) is not a square").arg(mx).arg(my)));
                }
            }
        }
    }
    // The box's edges, between its handles and away from its number.
    const int midRow = 14 * k;
    const int midColumn = 13 * k;
    QCOMPARE(shot.pixel(left.x(), midRow), kPage);
    QCOMPARE(shot.pixel(left.y(), midRow), kControl);
    QCOMPARE(shot.pixel(right.x(), midRow), kControl);
    QCOMPARE(shot.pixel(right.y(), midRow), kPage);
    QCOMPARE(shot.pixel(midColumn, top.x()), kPage);
    QCOMPARE(shot.pixel(midColumn, top.y()), kControl);
    QCOMPARE(shot.pixel(midColumn, bottom.x()), kControl);
    QCOMPARE(shot.pixel(midColumn, bottom.y()), kPage);
    // The top-left handle: its outline on the control's corner pixel, its fill one pixel in.
    QCOMPARE(shot.pixel(left.y(), top.y()), kHandleEdge);
    QCOMPARE(shot.pixel(left.y() + k, top.y() + k), kHandle);

    // A guide on the page's centre line: one device column, the first of module column 24.
    m_frame->snapDrag(QRect(23, 0, 4, 4), Snap::Left);
    QVERIFY(m_frame->snapGuidesShown());
    shot = m_frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int row = 36 * k;  // below the box
    QVERIFY(shot.pixel(guide, row) != kPage || shot.pixel(guide, row + 1) != kPage);
    QCOMPARE(shot.pixel(guide - 1, row), kPage);
    QCOMPARE(shot.pixel(guide + 1, row), kPage);
}

void TestFractionalScale::clicksReachEveryModulePixel_data()
{
    QTest::addColumn<int>("zoom");
    QTest::newRow("1x") << 1;
    QTest::newRow("4x") << 4;
}

void TestFractionalScale::clicksReachEveryModulePixel()
{
    QFETCH(int, zoom);
    m_frame->setZoom(zoom);
    const qreal s = m_frame->moduleScale();
    // The middle of each module pixel along a row maps back to it, whatever its widget pixels.
    for (int x = 0; x < 48; ++x)
        QCOMPARE(m_frame->toModule(QPointF((x + 0.5) * s, 2.5 * s)), QPoint(x, 2));
    // A drag from inside the box, away from its handles, moves it by whole module pixels.
    auto at = [&](const QPoint &module) {
        return QPointF((module.x() + 0.5) * s, (module.y() + 0.5) * s) - QPointF(m_control->pos());
    };
    const QPointF from = at(QPoint(13, 14));
    const QPointF global = m_control->mapToGlobal(QPoint());
    QMouseEvent press(QEvent::MouseButtonPress, from, global + from, Qt::LeftButton, Qt::LeftButton, Qt::AltModifier);
    QCoreApplication::sendEvent(m_control, &press);
    const QPointF to = at(QPoint(16, 16));
    QMouseEvent move(QEvent::MouseMove, to, global + to, Qt::NoButton, Qt::LeftButton, Qt::AltModifier);
    QCoreApplication::sendEvent(m_control, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, global + to, Qt::LeftButton, {}, Qt::AltModifier);
    QCoreApplication::sendEvent(m_control, &release);
    QCOMPARE(QPoint(m_control->record().x, m_control->record().y), QPoint(8, 9));
    QCOMPARE(m_control->geometry(), m_frame->coveringRect(QRect(8, 9, 30, 24)));
}

QTEST_MAIN(TestFractionalScale)
#include "tst_fractionalscale.moc"
