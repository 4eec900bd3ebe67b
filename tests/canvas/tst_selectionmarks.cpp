// Every selected item shows that it is selected, and a QR code's number stays off its symbol.
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "model/controlrecord.h"
#include "model/qmydrawtype.h"
#include "render/renderer.h"

#include <QPainter>
#include <QtTest>

class TestSelectionMarks : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyItemShowsItsSelection_data();
    void everyItemShowsItsSelection();
    void qrNumberBesideTheSymbol_data();
    void qrNumberBesideTheSymbol();

private:
    PageTable *table() const { return m_frame->pageTable(); }
    QImage shown() const { return m_frame->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QMyFrame *m_frame = nullptr;
};

void TestSelectionMarks::init()
{
    m_frame = new QMyFrame;
    m_frame->setFrameSize(240, 240);
    table()->addPage();
    m_frame->showPage(0);
    m_frame->show();
}

void TestSelectionMarks::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
}

void TestSelectionMarks::everyItemShowsItsSelection_data()
{
    QTest::addColumn<QString>("control");  // a control's class name, or empty for a primitive
    QTest::addColumn<int>("primitive");
    QTest::addColumn<int>("zoom");
    for (const int zoom : {100, 200, 50}) {
        for (const QString &name : ClassNameList())
            QTest::addRow("%s at %d%%", qPrintable(name), zoom) << name << 0 << zoom;
        for (int k = QMyDrawType::Box; k <= QMyDrawType::Line; ++k)
            QTest::addRow("primitive %d at %d%%", k, zoom) << QString() << k << zoom;
    }
}

// The marked look differs from the plain one in enough pixels to be seen at a glance.
void TestSelectionMarks::everyItemShowsItsSelection()
{
    QFETCH(QString, control);
    QFETCH(int, primitive);
    QFETCH(int, zoom);
    m_frame->setZoomPercent(zoom);
    QMyWidget *w = nullptr;
    QMyDrawType *d = nullptr;
    if (!control.isEmpty()) {
        w = m_frame->addControl(control, QPoint(40, 40));
        QVERIFY(w);
    } else {
        d = new QMyDrawType;
        d->setDrawType(QMyDrawType::Kind(primitive));
        d->setStart(60, 60);
        d->setEnd(primitive == QMyDrawType::Point ? 60 : 120, primitive == QMyDrawType::Point ? 60 : 100);
        table()->appendPrimitive(0, d);
    }
    m_frame->selectItems({}, {});
    const QImage plain = shown();
    m_frame->selectItems(w ? QList<QMyWidget *>{w} : QList<QMyWidget *>{}, d ? QList<QMyDrawType *>{d} : QList<QMyDrawType *>{});
    const QImage marked = shown();
    QCOMPARE(marked.size(), plain.size());
    int changed = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            changed += plain.pixel(x, y) != marked.pixel(x, y);
    QVERIFY2(changed >= 12 * zoom / 100, qPrintable(QString::number(changed)));
}

void TestSelectionMarks::qrNumberBesideTheSymbol_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QPoint>("label");  // where the label's top-left corner should be
    // 100 x 100 symbols, label 13 x 10.
    QTest::newRow("room above") << QPoint(50, 50) << QPoint(137, 40);
    QTest::newRow("at the top: below") << QPoint(50, 0) << QPoint(137, 100);
    QTest::newRow("top and bottom taken: right") << QPoint(20, 0) << QPoint(120, 0);
}

void TestSelectionMarks::qrNumberBesideTheSymbol()
{
    QFETCH(QPoint, at);
    QFETCH(QPoint, label);
    m_frame->setFrameSize(240, at.y() == 0 && at.x() == 20 ? 105 : 240);
    QMyWidget *w = m_frame->addControl(ClassNameList().at(int(ControlKind::QRCode)), at);
    QVERIFY(w);
    ControlRecord r = w->record();
    r.w = r.h = 100;
    w->setRecord(r);
    m_frame->selectItems({}, {});
    const ControlRecord shownRecord = Renderer::asShown(w->record());
    const QRect place = Renderer::outsideNumberRect(shownRecord, QSize(m_frame->frameW(), m_frame->frameH()));
    QCOMPARE(place.topLeft(), label);
    QVERIFY(!place.intersects(QRect(at, QSize(100, 100))));

    // The symbol shows exactly as drawn alone on the page's colour, with nothing on it.
    const QImage canvas = shown();
    QImage symbol(100, 100, QImage::Format_RGB32);
    symbol.fill(canvas.pixel(canvas.width() - 1, canvas.height() - 1));
    {
        QPainter p(&symbol);
        Renderer::paintControl(p, shownRecord, m_frame->renderContext());
    }
    QCOMPARE(canvas.copy(QRect(at, QSize(100, 100))), symbol);
    // And the number is drawn where it was placed.
    const QRgb page = canvas.pixel(place.topLeft());
    bool inked = false;
    for (int y = place.top(); y <= place.bottom(); ++y)
        for (int x = place.left(); x <= place.right(); ++x)
            inked |= canvas.pixel(x, y) != page;
    QVERIFY(inked);
}

QTEST_MAIN(TestSelectionMarks)
#include "tst_selectionmarks.moc"
