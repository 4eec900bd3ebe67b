// The canvas zoomed: module pixels under the mouse, drags, handles, the rubber band and the
// picture at 1x, 3x and 8x.
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "canvas/zoombox.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

class TestZoom : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void clicksDragsAndHandles_data();
    void clicksDragsAndHandles();
    void drawAndBandInModulePixels_data();
    void drawAndBandInModulePixels();
    void pixelsAreSquares_data();
    void pixelsAreSquares();
    void zoomLimitsWheelAndFit();
    void halfSize();
    void zoomBoxFollowsTheCanvas();
    void wheelKeepsThePixelUnderTheCursor();

private:
    // A drag between module pixels, pressed in the middle of the first one's square. Alt keeps
    // the positions free of snapping.
    void drag(const QPoint &from, const QPoint &to, Qt::KeyboardModifiers mods = Qt::AltModifier)
    {
        const int z = m_frame->zoom();
        const QPoint half(z / 2, z / 2);
        QWidget *target = m_frame->childAt(from * z + half);
        QWidget *w = target ? target : m_frame;
        // The grab stays with the pressed widget while the button is held, as with a real mouse.
        auto at = [&](const QPoint &p) { return w->mapFrom(m_frame, p * z + half); };
        QMouseEvent press(QEvent::MouseButtonPress, at(from), w->mapToGlobal(at(from)), Qt::LeftButton, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(w, &press);
        QMouseEvent move(QEvent::MouseMove, at(to), w->mapToGlobal(at(to)), Qt::NoButton, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(w, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, at(to), w->mapToGlobal(at(to)), Qt::LeftButton, {}, mods);
        QCoreApplication::sendEvent(w, &release);
    }
    PageTable *table() const { return m_frame->pageTable(); }

    QPointer<QMyFrame> m_frame;
};

void TestZoom::init()
{
    m_frame = new QMyFrame;
    m_frame->setFrameSize(128, 128);
    table()->addPage();
    m_frame->showPage(0);
    m_frame->show();
}

void TestZoom::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
}

void TestZoom::clicksDragsAndHandles_data()
{
    QTest::addColumn<int>("zoom");
    QTest::newRow("1x") << 1;
    QTest::newRow("3x") << 3;
    QTest::newRow("8x") << 8;
}

void TestZoom::clicksDragsAndHandles()
{
    QFETCH(int, zoom);
    QMyWidget *a = m_frame->addControl(QStringLiteral("QLabel"), QPoint(4, 4));  // 60 x 30
    QMyWidget *b = m_frame->addControl(QStringLiteral("QLabel"), QPoint(4, 40));
    m_frame->setZoom(zoom);
    QCOMPARE(m_frame->size(), QSize(128, 128) * zoom);
    QCOMPARE(b->geometry(), QRect(4 * zoom, 40 * zoom, 60 * zoom, 30 * zoom));

    // The first and last module pixels of a.
    drag(QPoint(4, 4), QPoint(4, 4));
    QCOMPARE(table()->selectedControls(), QList<QMyWidget *>{a});
    drag(QPoint(63, 69), QPoint(63, 69));
    QCOMPARE(table()->selectedControls(), QList<QMyWidget *>{b});
    drag(QPoint(64, 50), QPoint(64, 50));  // just right of b: the bare page
    QCOMPARE(table()->selectionSize(), 0);

    // A drag of 10 module pixels moves by 10.
    drag(QPoint(10, 45), QPoint(20, 52));
    QCOMPARE(QPoint(b->getX(), b->getY()), QPoint(14, 47));
    QCOMPARE(b->pos(), QPoint(14, 47) * zoom);

    // The bottom-right handle takes the far edges to the module pixel under the cursor; the
    // minimum size holds at every zoom.
    const QRect handle = b->handleRects().at(QMyWidget::HandleBottomRight);
    const QPoint grip = QPoint(b->getX(), b->getY()) + handle.center();
    drag(grip, grip + QPoint(10, 5));
    QCOMPARE(b->getW(), handle.center().x() + 10);
    QCOMPARE(b->getH(), handle.center().y() + 5);
    QCOMPARE(b->size(), QSize(b->getW(), b->getH()) * zoom);
    const QPoint grip2 = QPoint(b->getX(), b->getY()) + b->handleRects().at(QMyWidget::HandleBottomRight).center();
    drag(grip2, QPoint(b->getX() - 20, b->getY() - 20));
    QCOMPARE(b->getW(), 3);
    QCOMPARE(b->getH(), 3);
}

void TestZoom::drawAndBandInModulePixels_data() { clicksDragsAndHandles_data(); }

void TestZoom::drawAndBandInModulePixels()
{
    QFETCH(int, zoom);
    m_frame->setZoom(zoom);
    table()->setDrawTool(QMyDrawType::Box);
    drag(QPoint(70, 80), QPoint(100, 100));
    table()->setDrawTool(0);
    QCOMPARE(table()->pagePrimitives(0).size(), 1);
    QCOMPARE(table()->pagePrimitives(0).first()->rect(), QRect(70, 80, 30, 20));

    QMyWidget *a = m_frame->addControl(QStringLiteral("QLabel"), QPoint(2, 2));
    m_frame->addControl(QStringLiteral("QLabel"), QPoint(2, 40));
    // Band from module (1, 1) to (62, 32): a lies inside, to the last pixel; the other does not.
    drag(QPoint(1, 1), QPoint(62, 32));
    QCOMPARE(table()->selectedControls(), QList<QMyWidget *>{a});
    QCOMPARE(m_frame->pastePos(), QPoint());
}

void TestZoom::pixelsAreSquares_data()
{
    QTest::addColumn<int>("zoom");
    QTest::newRow("3x") << 3;
    QTest::newRow("8x") << 8;
}

void TestZoom::pixelsAreSquares()
{
    QFETCH(int, zoom);
    // Antialiased shapes, a control with its text and handles, a selected primitive.
    auto *d = new QMyDrawType;
    d->setDrawType(QMyDrawType::FilledCircle);
    d->setStart(40, 90);
    d->setEnd(52, 90);
    d->setColorNum(3);
    table()->appendPrimitive(0, d);
    auto *line = new QMyDrawType;
    line->setDrawType(QMyDrawType::Line);
    line->setStart(3, 120);
    line->setEnd(120, 70);
    table()->appendPrimitive(0, line);
    QMyWidget *label = m_frame->addControl(QStringLiteral("QLabel"), QPoint(5, 7));
    label->setText(QStringLiteral("Ag字"));
    m_frame->selectItems({label}, {line});
    const QImage one = m_frame->grab().toImage().convertToFormat(QImage::Format_RGB32);

    m_frame->setZoom(zoom);
    const QImage big = m_frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(big.size(), one.size() * zoom);
    // Each screen pixel shows its module pixel as drawn at 1x (to the rounding of blending).
    int worst = 0;
    for (int y = 0; y < big.height(); ++y) {
        for (int x = 0; x < big.width(); ++x) {
            const QRgb a = big.pixel(x, y);
            const QRgb b = one.pixel(x / zoom, y / zoom);
            worst = qMax(worst, qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b)))));
        }
    }
    QVERIFY2(worst <= 2, qPrintable(QString::number(worst)));
}

void TestZoom::zoomLimitsWheelAndFit()
{
    QSignalSpy changed(m_frame, &QMyFrame::zoomChanged);
    m_frame->setZoom(9);
    QCOMPARE(m_frame->zoom(), 8);
    m_frame->setZoom(0);
    QCOMPARE(m_frame->zoom(), 1);
    QCOMPARE(changed.count(), 2);

    auto wheel = [this](int delta, Qt::KeyboardModifiers mods) {
        QWheelEvent e(QPointF(5, 5), QPointF(m_frame->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, delta), Qt::NoButton,
                      mods, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(m_frame, &e);
    };
    wheel(120, Qt::ControlModifier);
    wheel(120, Qt::ControlModifier);
    QCOMPARE(m_frame->zoom(), 3);
    wheel(-120, Qt::ControlModifier);
    QCOMPARE(m_frame->zoom(), 2);
    wheel(120, Qt::NoModifier);  // plain wheel scrolls, it does not zoom
    QCOMPARE(m_frame->zoom(), 2);

    m_frame->zoomToFit(QSize(700, 500));
    QCOMPARE(m_frame->zoom(), 3);  // 500 / 128
    m_frame->zoomToFit(QSize(5000, 5000));
    QCOMPARE(m_frame->zoom(), 8);
    // Below 1x: the largest level that shows the page whole, 25 % at the least.
    const QVector<QPair<QSize, int>> fits = {{QSize(128, 128), 100}, {QSize(127, 500), 75}, {QSize(96, 96), 75},
                                             {QSize(95, 96), 50}, {QSize(40, 40), 25}, {QSize(5, 5), 25}};
    for (const auto &f : fits) {
        m_frame->zoomToFit(f.first);
        QCOMPARE(m_frame->zoomPercent(), f.second);
        QCOMPARE(m_frame->size(), QSize(128, 128) * (f.second / 100.0));
    }

    // The wheel and the keys step through the levels below 1x as well.
    m_frame->setZoom(1);
    for (const int expected : {75, 50, 25, 25}) {
        wheel(-120, Qt::ControlModifier);
        QCOMPARE(m_frame->zoomPercent(), expected);
    }
    wheel(120, Qt::ControlModifier);
    QCOMPARE(m_frame->zoomPercent(), 50);
}

// At 50 % a screen pixel covers two module pixels each way: clicks, drags and the band still
// land on module pixels.
void TestZoom::halfSize()
{
    m_frame->setZoomPercent(50);
    QCOMPARE(m_frame->size(), QSize(64, 64));
    QMyWidget *a = m_frame->addControl(QStringLiteral("QLabel"), QPoint(4, 4));  // 60 x 30
    QVERIFY(a);
    QCOMPARE(a->geometry(), QRect(2, 2, 30, 15));
    QCOMPARE(m_frame->toModule(QPoint(21, 9)), QPoint(42, 18));
    auto send = [](QWidget *w, QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::AltModifier);
        QCoreApplication::sendEvent(w, &e);
    };
    // A drag of ten screen pixels moves the control twenty module pixels.
    send(a, QEvent::MouseButtonPress, QPoint(10, 7), Qt::LeftButton, Qt::LeftButton);
    send(a, QEvent::MouseMove, QPoint(20, 12), Qt::NoButton, Qt::LeftButton);
    send(a, QEvent::MouseButtonRelease, QPoint(20, 12), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(QPoint(a->record().x, a->record().y), QPoint(24, 14));
    QCOMPARE(a->geometry(), QRect(12, 7, 30, 15));
}

void TestZoom::zoomBoxFollowsTheCanvas()
{
    QWidget window;
    ZoomBox box(m_frame, &window);
    QCOMPARE(box.combo()->count(), 12);  // 25 %, 50 %, 75 %, 1x to 8x, fit
    m_frame->setZoom(4);
    QCOMPARE(box.combo()->currentText(), QStringLiteral("4x"));
    m_frame->setZoomPercent(50);
    QCOMPARE(box.combo()->currentText(), QStringLiteral("50%"));
    const int seven = box.combo()->findText(QStringLiteral("7x"));
    box.combo()->setCurrentIndex(seven);
    emit box.combo()->activated(seven);
    QCOMPARE(m_frame->zoom(), 7);

    // The cursor's module pixel.
    QMouseEvent move(QEvent::MouseMove, QPoint(7 * 10 + 6, 7 * 3), m_frame->mapToGlobal(QPoint(76, 21)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_frame, &move);
    QCOMPARE(box.cursorLabel()->text(), QStringLiteral("X 10  Y 3"));
}

void TestZoom::wheelKeepsThePixelUnderTheCursor()
{
    // Placed as in the window: in a layout with margins, in a resizable scroll area.
    QScrollArea area;
    auto *contents = new QWidget;
    auto *layout = new QVBoxLayout(contents);
    layout->setContentsMargins(16, 8, 16, 16);
    layout->addWidget(m_frame, 0, Qt::AlignLeft | Qt::AlignTop);
    area.setWidgetResizable(true);
    area.setWidget(contents);
    area.resize(300, 240);
    area.show();
    QCoreApplication::processEvents();

    // At 2x the area cannot scroll far enough to keep it; the steps after make up for that.
    const QPoint pixel(100, 90);
    const QPoint spot = m_frame->mapTo(area.viewport(), pixel);
    for (int i = 0; i < 5; ++i) {
        const QPointF at = m_frame->mapFrom(area.viewport(), spot);
        QWheelEvent e(at, QPointF(m_frame->mapToGlobal(at.toPoint())), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(m_frame, &e);
    }
    QCOMPARE(m_frame->zoom(), 6);
    QVERIFY(area.horizontalScrollBar()->value() > 0 && area.verticalScrollBar()->value() > 0);
    QCOMPARE(m_frame->toModule(m_frame->mapFrom(area.viewport(), spot)), pixel);
    m_frame->setParent(nullptr);
}

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
