#include "screenview.h"
#include "simulatorwindow.h"
#include "virtualmodule.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

class TestSimulatorWindow : public QObject {
    Q_OBJECT
private slots:
    void showsTheScreenPixelExactAtEveryZoom()
    {
        VirtualModule module;
        SimulatorWindow window(&module);
        window.show();
        window.sendCommand(QStringLiteral("BL(0);CLR(15);BOXF(10,10,19,19,1);"));
        QTRY_COMPARE(window.screenView()->image(), module.runtime().display());
        auto *zoom = window.findChild<QComboBox *>(QStringLiteral("cbZoom"));
        QVERIFY(zoom);
        for (int z = 1; z <= ScreenView::MaxZoom; ++z) {
            zoom->setCurrentIndex(zoom->findData(z * 100));
            QCOMPARE(window.screenView()->size(), QSize(240, 320) * z);
            const QImage shown = window.screenView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            // Every module pixel is a z x z square of the same colour.
            for (const QPoint &p : {QPoint(10, 10), QPoint(19, 19), QPoint(20, 20), QPoint(0, 0)}) {
                const QColor expected = module.runtime().display().pixelColor(p);
                QCOMPARE(shown.pixelColor(p * z), expected);
                QCOMPARE(shown.pixelColor(p * z + QPoint(z - 1, z - 1)), expected);
            }
        }
    }

    // The window opens showing the module's whole screen: at 2x when that fits the free screen
    // area, else at the largest level that does, below 1x too.
    void opensShowingTheWholeScreen_data()
    {
        QTest::addColumn<QSize>("screen");  // as drawn: wider than tall is DIR 1
        QTest::addColumn<QSize>("room");
        QTest::addColumn<int>("percent");
        QTest::newRow("240 x 320") << QSize(240, 320) << QSize(1280, 800) << 100;
        QTest::newRow("240 x 320, large room") << QSize(240, 320) << QSize(1920, 1080) << 200;
        QTest::newRow("800 x 480") << QSize(800, 480) << QSize(1280, 800) << 100;
        QTest::newRow("1024 x 600") << QSize(1024, 600) << QSize(1280, 800) << 75;
        // Room for the log under it whatever the toolkit's line height.
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QSize(1280, 900) << 50;
        QTest::newRow("1920 x 1080, 4K room") << QSize(1920, 1080) << QSize(3840, 2160) << 100;
    }
    void opensShowingTheWholeScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(QSize, room);
        QFETCH(int, percent);
        VirtualModule module;
        ModuleSettings settings = module.settings();
        settings.screen = screen;
        module.setSettings(settings);
        SimulatorWindow window(&module);
        if (screen.width() > screen.height()) {
            window.sendCommand(QStringLiteral("DIR(1);"));
            QTRY_COMPARE(window.screenView()->image().size(), screen);
        }
        window.fitScreen(room);
        QCOMPARE(window.screenView()->zoomPercent(), percent);
        QVERIFY(window.width() <= room.width() && window.height() <= room.height());
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("cbZoom"))->currentData().toInt(), percent);
        // Shown on the test screen (smaller than the room on some toolkits), it still shows all.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *area = qobject_cast<QScrollArea *>(window.screenView()->parentWidget()->parentWidget());
        QVERIFY(area);
        QVERIFY(!area->horizontalScrollBar()->isVisible() && !area->verticalScrollBar()->isVisible());
    }

    void statusAndLog()
    {
        VirtualModule module;
        module.runtime().setPage(3, "CLR(2);\r\n");
        SimulatorWindow window(&module);
        auto *edit = window.findChild<QLineEdit *>(QStringLiteral("editCommand"));
        auto *send = window.findChild<QPushButton *>(QStringLiteral("btnSend"));
        QVERIFY(edit && send);
        edit->setText(QStringLiteral("JUMP(3);BL(77);DIR(1);"));
        send->click();
        QTRY_VERIFY(window.statusText().contains(QStringLiteral("3")));
        QVERIFY(window.statusText().contains(QStringLiteral("77")));
        QVERIFY(window.statusText().contains(QStringLiteral("(1)")));
        QCOMPARE(window.screenView()->image().size(), QSize(320, 240));
        edit->setText(QStringLiteral("NOPE(1);"));
        send->click();
        const QString log = window.logText();
        QVERIFY(log.contains(QStringLiteral("JUMP(3);BL(77);DIR(1);")));
        QCOMPARE(log.count(QStringLiteral(": OK")), 3);
        QVERIFY(log.contains(QStringLiteral("NOPE(1);")));
    }

    void buttonShowsItsPressedLookWhileHeld()
    {
        VirtualModule module;
        SimulatorWindow window(&module);
        window.show();
        window.sendCommand(QStringLiteral("BL(0);CLR(15);BUTTON(40,40,60,30,16,'',0,0,35,0,0,0,7,2,0);"));
        ScreenView *view = window.screenView();
        QTRY_COMPARE(view->image().pixelColor(45, 65), QColor(200, 204, 200));
        const QPoint at = QPoint(50, 50) * view->zoom();
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, at);
        QTRY_COMPARE(view->image().pixelColor(45, 65), QColor(0, 252, 0));
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, at);
        QTRY_COMPARE(view->image().pixelColor(45, 65), QColor(200, 204, 200));
    }
};

QTEST_MAIN(TestSimulatorWindow)
#include "tst_simulatorwindow.moc"
