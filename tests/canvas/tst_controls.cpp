// Mouse handling of the control widgets on a real canvas, and the palettes.
#include "canvas/itemdata.h"
#include "canvas/pagetable.h"
#include "canvas/palettes.h"
#include "canvas/qmyframe.h"
#include "canvas/qmystandarditemmodel.h"
#include "canvas/qmywidget.h"

#include <QContextMenuEvent>
#include <QListView>
#include <QMenu>
#include <QTranslator>
#include <QMimeData>
#include <QPixmap>
#include <QSignalSpy>
#include <QtTest>

// QTest's widget mouse move only moves the cursor in Qt 5; the event itself is sent here.
static void mouseMove(QWidget *w, const QPoint &pos, Qt::MouseButtons held = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

class TestControls : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void drag_data();
    void drag();
    void leftHandleStopsAtThree();
    void onlyMovingKinds_data();
    void onlyMovingKinds();
    void releaseReportsPagePosition();
    void hoverCursor_data();
    void hoverCursor();
    void pointerLengthKeepsCentre();
    void lostReleaseEndsDrag();
    void menuOverControlPastesThere();
    void paletteDragCarriesClassName_data();
    void paletteDragCarriesClassName();
    void drawPaletteChoosesTool();
    void iconsResolve();
    void palettesInEnglish();

private:
    QMyWidget *place(const QString &className, const QPoint &at);
    // Press at a widget point, move to a canvas point, release there.
    void dragTo(QMyWidget *w, const QPoint &press, const QPoint &canvasTarget);

    QMyFrame *m_frame = nullptr;
};

void TestControls::init()
{
    m_frame = new QMyFrame;
    m_frame->pageTable()->addPage();
    m_frame->showPage(0);
    m_frame->show();
}

void TestControls::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
}

QMyWidget *TestControls::place(const QString &className, const QPoint &at)
{
    QMyWidget *w = m_frame->addControl(className, at);
    Q_ASSERT(w);
    return w;
}

void TestControls::dragTo(QMyWidget *w, const QPoint &press, const QPoint &canvasTarget)
{
    QTest::mousePress(w, Qt::LeftButton, {}, press);
    mouseMove(w, canvasTarget - w->pos());
    QTest::mouseRelease(w, Qt::LeftButton, {}, canvasTarget - w->pos());
}

void TestControls::drag_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("target");
    QTest::addColumn<QRect>("expected");

    // A text control is 60 x 30 at (100, 100) on a 420 x 360 page.
    QTest::newRow("move") << QPoint(30, 15) << QPoint(200, 150) << QRect(170, 135, 60, 30);
    QTest::newRow("move past top-left") << QPoint(30, 15) << QPoint(-80, -40) << QRect(0, 0, 60, 30);
    QTest::newRow("move past bottom-right") << QPoint(30, 15) << QPoint(900, 900) << QRect(360, 330, 60, 30);
    QTest::newRow("right handle past the edge") << QPoint(55, 14) << QPoint(900, 114) << QRect(100, 100, 320, 30);
    QTest::newRow("right handle inwards") << QPoint(55, 14) << QPoint(130, 114) << QRect(100, 100, 30, 30);
    QTest::newRow("right handle below 3") << QPoint(55, 14) << QPoint(90, 114) << QRect(100, 100, 3, 30);
    QTest::newRow("bottom handle past the edge") << QPoint(29, 25) << QPoint(129, 900) << QRect(100, 100, 60, 260);
    QTest::newRow("bottom-right handle") << QPoint(55, 25) << QPoint(180, 150) << QRect(100, 100, 80, 50);
    QTest::newRow("left handle past the left edge") << QPoint(2, 14) << QPoint(-20, 114) << QRect(0, 100, 60, 30);
    QTest::newRow("left handle outwards") << QPoint(2, 14) << QPoint(72, 114) << QRect(70, 100, 90, 30);
    QTest::newRow("top handle inwards") << QPoint(29, 2) << QPoint(129, 112) << QRect(100, 110, 60, 20);
    QTest::newRow("top-left handle") << QPoint(2, 2) << QPoint(92, 92) << QRect(90, 90, 70, 40);
    QTest::newRow("left handle onto the edge") << QPoint(2, 14) << QPoint(2, 114) << QRect(0, 100, 60, 30);
    QTest::newRow("top handle past the top edge") << QPoint(29, 2) << QPoint(129, -20) << QRect(100, 0, 60, 30);
    QTest::newRow("top handle below 3") << QPoint(29, 2) << QPoint(129, 200) << QRect(100, 100, 60, 3);
    QTest::newRow("bottom handle below 3") << QPoint(29, 25) << QPoint(129, 101) << QRect(100, 100, 60, 3);
    QTest::newRow("bottom-left handle") << QPoint(2, 25) << QPoint(80, 160) << QRect(78, 100, 82, 60);
    QTest::newRow("top-right handle") << QPoint(55, 2) << QPoint(200, 80) << QRect(100, 78, 100, 52);
}

void TestControls::drag()
{
    QFETCH(QPoint, press);
    QFETCH(QPoint, target);
    QFETCH(QRect, expected);

    QMyWidget *w = place(QStringLiteral("QLabel"), QPoint(100, 100));
    dragTo(w, press, target);
    QCOMPARE(QRect(w->getX(), w->getY(), w->getW(), w->getH()), expected);
    QCOMPARE(w->geometry(), expected);
    QCOMPARE(w->geometryRect(), expected);
    QVERIFY(!w->isDragging());
    QVERIFY(w->isSelected());
}

void TestControls::leftHandleStopsAtThree()
{
    QMyWidget *w = place(QStringLiteral("QLabel"), QPoint(100, 100));
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(2, 14));
    QVERIFY(w->isDragging());
    for (int x = 101; x <= 220; ++x)
        mouseMove(w, QPoint(x, 114) - w->pos());
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(220, 114) - w->pos());
    QCOMPARE(w->getW(), 3);
    // It shrank towards its right edge and then stopped moving.
    QCOMPARE(w->getX(), 157);
    QCOMPARE(w->getY(), 100);
}

void TestControls::onlyMovingKinds_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QSize>("size");
    QTest::newRow("QR code") << "QRcode" << QSize(53, 53);
    QTest::newRow("pointer") << "QPointer" << QSize(50, 50);
}

void TestControls::onlyMovingKinds()
{
    QFETCH(QString, className);
    QFETCH(QSize, size);

    QMyWidget *w = place(className, QPoint(100, 100));
    QVERIFY(w->handleRects().isEmpty());
    // Where a resize handle would be on other kinds.
    for (const QPoint &corner : {QPoint(2, 2), QPoint(size.width() - 3, size.height() - 3)}) {
        const QPoint at = w->pos();
        dragTo(w, corner, w->pos() + corner + QPoint(20, 10));
        QCOMPARE(w->size(), size);
        QCOMPARE(w->pos(), at + QPoint(20, 10));
    }
    if (w->kind() == ControlKind::Pointer) {
        QCOMPARE(w->record().pointerX, w->getX() + 25);
        QCOMPARE(w->record().pointerY, w->getY() + 25);
    }
}

void TestControls::releaseReportsPagePosition()
{
    QMyWidget *w = place(QStringLiteral("QPushButton"), QPoint(40, 50));
    QSignalSpy frameSpy(m_frame, &QMyFrame::s_sendPressPos);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(10, 5));
    QCOMPARE(frameSpy.count(), 1);
    QCOMPARE(frameSpy.at(0).at(0).toPoint(), QPoint(50, 55));
}

void TestControls::hoverCursor_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("shape");
    QTest::newRow("top-left") << QPoint(1, 1) << int(Qt::SizeFDiagCursor);
    QTest::newRow("bottom-right") << QPoint(57, 27) << int(Qt::SizeFDiagCursor);
    QTest::newRow("top") << QPoint(29, 2) << int(Qt::SizeVerCursor);
    QTest::newRow("top-right") << QPoint(55, 2) << int(Qt::SizeBDiagCursor);
    QTest::newRow("left") << QPoint(2, 14) << int(Qt::SizeHorCursor);
    QTest::newRow("middle") << QPoint(30, 15) << int(Qt::ArrowCursor);
    QTest::newRow("right") << QPoint(55, 14) << int(Qt::SizeHorCursor);
    QTest::newRow("bottom") << QPoint(29, 25) << int(Qt::SizeVerCursor);
    QTest::newRow("bottom-left") << QPoint(2, 25) << int(Qt::SizeBDiagCursor);
}

void TestControls::hoverCursor()
{
    QFETCH(QPoint, pos);
    QFETCH(int, shape);
    QMyWidget *w = place(QStringLiteral("QLabel"), QPoint(100, 100));
    mouseMove(w, pos, Qt::NoButton);
    QCOMPARE(int(w->cursor().shape()), shape);
    QCOMPARE(w->pos(), QPoint(100, 100));
}

void TestControls::lostReleaseEndsDrag()
{
    QMyWidget *w = place(QStringLiteral("QLabel"), QPoint(100, 100));
    // A right press opens the menu, whose popup takes the release.
    QTest::mousePress(w, Qt::RightButton, {}, QPoint(30, 15));
    QVERIFY(w->isDragging());
    mouseMove(w, QPoint(50, 25), Qt::NoButton);
    QVERIFY(!w->isDragging());
    QCOMPARE(w->pos(), QPoint(100, 100));
}

void TestControls::menuOverControlPastesThere()
{
    QMyWidget *a = place(QStringLiteral("QLabel"), QPoint(10, 10));
    QMyWidget *b = place(QStringLiteral("QPushButton"), QPoint(200, 150));
    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(30, 15));
    m_frame->slotCopyAction();
    // A right click on another control selects it and opens the canvas menu there.
    QTest::mousePress(b, Qt::RightButton, {}, QPoint(12, 7));
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(12, 7), b->mapToGlobal(QPoint(12, 7)));
    QCoreApplication::sendEvent(b, &menu);
    QVERIFY(m_frame->contextMenu()->isVisible());
    QVERIFY(m_frame->pasteAction()->isEnabled());
    m_frame->contextMenu()->hide();
    QCOMPARE(m_frame->selectedControl(), b);
    QCOMPARE(m_frame->pastePos(), QPoint(212, 157));
    m_frame->pasteAction()->trigger();
    QCOMPARE(m_frame->pageTable()->pageControls(0).last()->pos(), QPoint(212, 157));
}

void TestControls::pointerLengthKeepsCentre()
{
    QMyWidget *w = place(QStringLiteral("QPointer"), QPoint(100, 100));
    QCOMPARE(w->record().pointerX, 125);
    w->setPointerL(40);
    QCOMPARE(w->geometry(), QRect(85, 85, 80, 80));
    QCOMPARE(w->record().pointerX, 125);
    QCOMPARE(w->record().pointerY, 125);
}

void TestControls::paletteDragCarriesClassName_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("className");
    for (int row = 0; row < ClassNameList().size(); ++row)
        QTest::newRow(qPrintable(ClassNameList().at(row))) << row << ClassNameList().at(row);
}

void TestControls::paletteDragCarriesClassName()
{
    QFETCH(int, row);
    QFETCH(QString, className);

    QMyStandardItemModel model;
    QListView view;
    Palettes::setupControlView(&view, &model);
    QVERIFY(model.flags(model.index(row, 0)) & Qt::ItemIsDragEnabled);
    QVERIFY(!model.mimeData({}));
    std::unique_ptr<QMimeData> data(model.mimeData({model.index(row, 0)}));
    QVERIFY(data);
    QCOMPARE(data->formats(), QStringList{QStringLiteral("TypeName")});
    QCOMPARE(QString::fromUtf8(data->data(QStringLiteral("TypeName"))), className);
    const ItemData item = model.index(row, 0).data(Qt::UserRole + 1).value<ItemData>();
    QCOMPARE(item.iconPath, Palettes::controlIcons().at(row));

    // What the view would drop on the canvas, offering the actions the palette allows.
    const Qt::DropActions offered = model.supportedDragActions();
    QDragEnterEvent enter(QPoint(30, 40), offered, data.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(m_frame, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPoint(30, 40), offered, data.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(m_frame, &drop);
    QVERIFY(drop.isAccepted());
    // The view takes a row dropped as a move out of the palette.
    QVERIFY(drop.dropAction() != Qt::MoveAction);
    const QList<QMyWidget *> &controls = m_frame->pageTable()->pageControls(0);
    QCOMPARE(controls.size(), 1);
    QCOMPARE(controls.first()->className(), className);
    QCOMPARE(controls.first()->pos(), QPoint(30, 40));
}

void TestControls::drawPaletteChoosesTool()
{
    QMyStandardItemModel model;
    QListView view;
    PageTable *table = m_frame->pageTable();
    table->setDrawTool(3);
    Palettes::setupDrawView(&view, &model, table);
    QCOMPARE(table->drawTool(), 0);
    QCOMPARE(model.rowCount(), 7);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    auto clickRow = [&](int row) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(model.index(row, 0)).center());
    };
    clickRow(5);
    QCOMPARE(table->drawTool(), 5);
    // Points until cancel.
    QTest::mouseClick(m_frame, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(m_frame, Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(table->pagePrimitives(0).size(), 2);
    clickRow(0);
    QCOMPARE(table->drawTool(), 0);
    QTest::mouseClick(m_frame, Qt::LeftButton, {}, QPoint(30, 10));
    QCOMPARE(table->pagePrimitives(0).size(), 2);
}

void TestControls::iconsResolve()
{
    QMyStandardItemModel model;
    Palettes::fillDrawModel(&model);
    QStringList all = Palettes::controlIcons() + Palettes::drawIcons();
    all << QStringLiteral(":images/copy.png") << QStringLiteral(":images/paste.png") << QStringLiteral(":images/del.png");
    for (const QString &path : all) {
        QPixmap pm(path);
        QVERIFY2(!pm.isNull(), qPrintable(path));
        QVERIFY(pm.width() >= 30);
    }
}

void TestControls::palettesInEnglish()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(TAVO_BIN_DIR "/src/app/English.qm")));
    QCoreApplication::installTranslator(&english);
    QMyStandardItemModel controls;
    QMyStandardItemModel draw;
    Palettes::fillControlModel(&controls);
    Palettes::fillDrawModel(&draw);
    QCoreApplication::removeTranslator(&english);

    QStringList labels;
    for (int r = 0; r < controls.rowCount(); ++r)
        labels << controls.index(r, 0).data(Qt::UserRole + 1).value<ItemData>().label;
    QCOMPARE(labels, (QStringList{"Text", "Num", "Button", "Progress", "Pointer", "QR code"}));
    labels.clear();
    for (int r = 0; r < draw.rowCount(); ++r)
        labels << draw.index(r, 0).data(Qt::UserRole + 1).value<ItemData>().label;
    QCOMPARE(labels, (QStringList{"Cancel", "BOX", "BOXF", "CIR", "CIRF", "PS", "PL"}));
    // Refilling in the source language brings the Chinese labels back.
    Palettes::fillControlModel(&controls);
    QCOMPARE(controls.index(5, 0).data(Qt::UserRole + 1).value<ItemData>().label, QStringLiteral("二维码"));
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
