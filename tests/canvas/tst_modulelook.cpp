// The canvas's module look: the demo's pages through the module raster, equal to
// `tavo-cli render --module`, blown up by the zoom without smoothing, and read-only.
#include "canvas/modulelook.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "file/projectfile.h"
#include "library/picturelibrary.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <QtTest>

#include "tavocli.h"

class TestModuleLook : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        const QString demo = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");
        m_pictures = PictureLibrary::fromProjectFolder(QStringLiteral(TAVO_EXAMPLES "/demo"));
        ProjectData data;
        QVERIFY(ProjectFile::read(demo, m_pictures.count(), &data).ok);
        m_frame = new QMyFrame;
        m_frame->setFrameSize(data.frameW, data.frameH);
        m_frame->pageTable()->setPictures(m_pictures);
        m_frame->pageTable()->readFrom(data, m_frame);
        m_frame->showPage(0);
        m_frame->show();
        m_switch = new ModuleLookSwitch(m_frame);
    }
    void cleanup()
    {
        delete m_switch;
        delete m_frame;
    }

    void equalsRenderModule_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("page 0") << 0;
        QTest::newRow("page 1") << 1;
        QTest::newRow("page 2") << 2;
    }
    void equalsRenderModule()
    {
        QFETCH(int, page);
        QTemporaryDir dir;
        const QString ref = dir.filePath(QStringLiteral("ref.png"));
        const CliRun r = runTavoCli({QStringLiteral("render"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"),
                                     QStringLiteral("--page"), QString::number(page), QStringLiteral("-o"), ref,
                                     QStringLiteral("--module")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        m_frame->showPage(page);
        QVERIFY(!m_switch->look());
        m_switch->box()->setChecked(true);
        QVERIFY(m_switch->look() && m_switch->look()->isVisible());
        QCOMPARE(m_switch->look()->image(), QImage(ref).convertToFormat(QImage::Format_RGB32));
        // What the widget shows at 1x is that picture.
        const QImage shown = m_switch->look()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.copy(0, 0, m_frame->frameW(), m_frame->frameH()), m_switch->look()->image());
    }

    void zoomBlowsUpPixels()
    {
        m_switch->box()->setChecked(true);
        const QImage module = m_switch->look()->image();
        m_frame->setZoom(4);
        QCoreApplication::processEvents();
        const QImage shown = m_switch->look()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(shown.width() >= module.width() * 4);
        for (const QPoint &p : {QPoint(0, 0), QPoint(17, 33), QPoint(120, 200), QPoint(module.width() - 1, module.height() - 1)})
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 4; ++dx)
                    QCOMPARE(shown.pixel(p.x() * 4 + dx, p.y() * 4 + dy), module.pixel(p));
    }

    void readOnlyAndOff()
    {
        PageTable *table = m_frame->pageTable();
        QVERIFY(!table->pageControls(0).isEmpty());
        QWidget *control = table->pageControls(0).first();
        const QPoint inside = control->geometry().center();
        m_switch->box()->setChecked(true);
        QTest::mouseClick(m_switch->look(), Qt::LeftButton, {}, inside);
        QVERIFY(!m_frame->selectedControl());
        QCOMPARE(control->pos(), control->geometry().topLeft());

        // An edit made elsewhere (the property panel) shows after a moment.
        const QImage before = m_switch->look()->image();
        QCOMPARE(m_frame->pageImageNum(), 0);
        m_frame->setPageImageNum(-1);
        QTRY_VERIFY(m_switch->look()->image() != before);

        m_switch->box()->setChecked(false);
        QVERIFY(!m_switch->look());
        QTest::mouseClick(m_frame->childAt(inside), Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(m_frame->selectedControl());
    }

private:
    PictureLibrary m_pictures;
    QMyFrame *m_frame = nullptr;
    ModuleLookSwitch *m_switch = nullptr;
};

QTEST_MAIN(TestModuleLook)
#include "tst_modulelook.moc"
