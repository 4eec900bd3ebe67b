// Where the console sends: the rule, and the window sending to a port and to the simulator at
// once open, each answer shown in the receive view.
#include "app/appglobals.h"
#include "app/consoletarget.h"
#include "app/mainwindow.h"
#include "app/simulatorrun.h"
#include "dialogs/qmymessagebox.h"
#include "dialogs/serialportdlg.h"
#include "ptydevice.h"
#include "seriallink.h"
#include "simulatorwindow.h"
#include "virtualmodule.h"
#include "demoproject.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

Q_DECLARE_METATYPE(ConsoleTarget::Target)

class TestConsoleTarget : public QObject {
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
    void sendsWhereChosen();
};

void TestConsoleTarget::rule_data()
{
    using T = ConsoleTarget;
    QTest::addColumn<bool>("port");
    QTest::addColumn<bool>("simulator");
    QTest::addColumn<T::Target>("chosen");
    QTest::addColumn<int>("count");
    QTest::addColumn<T::Target>("current");
    QTest::newRow("nothing open") << false << false << T::None << 0 << T::None;
    QTest::newRow("nothing open, port was chosen") << false << false << T::Port << 0 << T::None;
    QTest::newRow("port only") << true << false << T::None << 1 << T::Port;
    QTest::newRow("simulator only") << false << true << T::None << 1 << T::Simulator;
    QTest::newRow("both: port by default") << true << true << T::None << 2 << T::Port;
    QTest::newRow("both: simulator chosen") << true << true << T::Simulator << 2 << T::Simulator;
    QTest::newRow("chosen simulator stopped") << true << false << T::Simulator << 1 << T::Port;
    QTest::newRow("chosen port closed") << false << true << T::Port << 1 << T::Simulator;
}

void TestConsoleTarget::rule()
{
    QFETCH(bool, port);
    QFETCH(bool, simulator);
    QFETCH(ConsoleTarget::Target, chosen);
    QFETCH(int, count);
    QFETCH(ConsoleTarget::Target, current);
    ConsoleTarget t;
    t.choose(chosen);
    t.setPortOpen(port);
    t.setSimulatorRunning(simulator);
    QCOMPARE(t.available().size(), count);
    QCOMPARE(t.current(), current);
    // A pick that was out of reach comes back with its target.
    t.setPortOpen(true);
    t.setSimulatorRunning(true);
    QCOMPARE(t.current(), chosen == ConsoleTarget::Simulator ? ConsoleTarget::Simulator : ConsoleTarget::Port);
}

void TestConsoleTarget::sendsWhereChosen()
{
    QTemporaryDir dir;
    QString project;
    QVERIFY(copyDemo(dir, &project));
    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    App::projectPath() = project;
    // A module of its own behind a real serial port on a pty; outlives the window's link.
    PtyDevice pty;
    VirtualModule portModule;
    MainWindow w;
    QVERIFY(w.loadProject());
    w.winId();
    QComboBox *box = w.form().cbSendTarget;
    QTextBrowser *recv = w.form().textBrowserRecv;
    const QString received = QCoreApplication::translate("SerialPortDlg", "--接收:");
    auto items = [box] {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    };
    auto send = [&w](const QString &text) {
        w.form().textBrowser->setPlainText(text);
        w.form().btnSendCmd->click();
    };

    // Nothing open: nothing to choose.
    QCOMPARE(items(), QStringList{QStringLiteral("未连接")});
    QVERIFY(!box->isEnabled());

    QSignalSpy finished(w.simulator(), &SimulatorRun::s_finished);
    w.findChild<QToolButton *>(QStringLiteral("btnSimulate"))->click();
    QVERIFY(finished.count() == 1 || finished.wait(20000));
    QVERIFY(finished.first().at(0).toBool());
    VirtualModule *simModule = w.simulator()->module();
    QTRY_COMPARE(items(), QStringList{QStringLiteral("模拟器")});
    QTRY_VERIFY(!w.simulator()->isBusy());

    QVERIFY(pty.openPty());
    portModule.attach(&pty);
    SerialLink *link = w.serialPortDlg()->link();
    QVERIFY(link->open(pty.slavePath(), 115200));
    const QString portEntry = QStringLiteral("串口") + pty.slavePath().mid(5);
    QCOMPARE(items(), (QStringList{portEntry, QStringLiteral("模拟器")}));
    QCOMPARE(box->currentText(), portEntry);

    // To the port: only its module hears it, and its answer is in the receive view.
    w.form().btnClearRecv->click();
    send(QStringLiteral("BL(77);"));
    QTRY_VERIFY(portModule.commands().contains(QStringLiteral("BL(77);")));
    QTRY_VERIFY(!link->isBusy());
    QCOMPARE(portModule.backlight(), 77);
    QVERIFY(!simModule->commands().contains(QStringLiteral("BL(77);")));
    QTRY_VERIFY2(recv->toPlainText().contains(received), qPrintable(recv->toPlainText()));
    QVERIFY(!recv->toPlainText().contains(QStringLiteral("[模拟器]")));

    // The user picks the simulator: only it hears, and its answer is shown, marked as its own.
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), QStringLiteral("模拟器"));
    w.form().btnClearRecv->click();
    send(QStringLiteral("BL(66);"));
    QTRY_VERIFY(simModule->commands().contains(QStringLiteral("BL(66);")));
    QTRY_VERIFY(!w.simulator()->isBusy());
    QCOMPARE(simModule->backlight(), 66);
    QVERIFY(!portModule.commands().contains(QStringLiteral("BL(66);")));
    QTRY_VERIFY2(recv->toPlainText().contains(QStringLiteral("[模拟器]")) && recv->toPlainText().contains(received),
                 qPrintable(recv->toPlainText()));
    for (const QString &line : recv->toPlainText().split(QLatin1Char('\n')))
        QVERIFY2(line.startsWith(QStringLiteral("[模拟器]")), qPrintable(line));

    // The pick survives the port closing and opening again.
    link->close();
    QCOMPARE(items(), QStringList{QStringLiteral("模拟器")});
    QVERIFY(link->open(pty.slavePath(), 115200));
    QCOMPARE(box->currentText(), QStringLiteral("模拟器"));

    // Back to the port by hand; closing it moves the target to the simulator.
    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(box->currentText(), portEntry);
    link->close();
    QCOMPARE(box->currentText(), QStringLiteral("模拟器"));

    // The simulator's window closed: no target, a message, nothing sent.
    w.simulator()->window()->close();
    QTRY_COMPARE(items(), QStringList{QStringLiteral("未连接")});
    QVERIFY(!box->isEnabled());
    send(QStringLiteral("BL(55);"));
    QVERIFY(w.infoBox()->isVisible());
    QCOMPARE(w.infoBox()->message(), QStringLiteral("没有发送目标，请您先在“端口选择”中打开串口，或点击“模拟运行”！"));
    QTest::qWait(200);
    QVERIFY(!simModule->commands().contains(QStringLiteral("BL(55);")));
    QVERIFY(!portModule.commands().contains(QStringLiteral("BL(55);")));

    QDir::setCurrent(oldCwd);
    App::projectPath().clear();
}

QTEST_MAIN(TestConsoleTarget)
#include "tst_consoletarget.moc"
