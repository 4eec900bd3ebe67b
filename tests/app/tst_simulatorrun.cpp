// "模拟运行" in the window: the demo project downloaded to the in-process module through the
// serial link, shown in the simulator window exactly as tavo-cli renders the module's pixels, and
// the console talking to it.
#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "modulescreen.h"
#include "screenview.h"
#include "app/simulatorrun.h"
#include "simulatorwindow.h"
#include "virtualmodule.h"
#include "demoproject.h"

#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

class TestSimulatorRun : public QObject {
    Q_OBJECT
private slots:
    void runsTheOpenProject()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        const QString oldCwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
        App::projectPath() = project;
        MainWindow w;
        QVERIFY(w.loadProject());
        auto *button = w.findChild<QToolButton *>(QStringLiteral("btnSimulate"));
        QVERIFY(button);
        QSignalSpy finished(w.simulator(), &SimulatorRun::s_finished);
        w.winId();
        button->click();
        QVERIFY(finished.count() == 1 || finished.wait(20000));
        QCOMPARE(finished.first().at(0).toBool(), true);
        QVERIFY(w.simulator()->window()->isVisible());
        // Kept above the main window by the window manager.
        QVERIFY(w.windowHandle());
        QCOMPARE(w.simulator()->window()->windowHandle()->transientParent(), w.windowHandle());

        // The boot animation ends on the boot page.
        const ModuleRuntime &rt = w.simulator()->module()->runtime();
        QTRY_VERIFY_WITH_TIMEOUT(rt.currentPage() == 0 && rt.pendingCount() == 0, 5000);
        QCOMPARE(rt.backlight(), 20);

        QProcess cli;
        const QString ref = dir.filePath(QStringLiteral("ref.png"));
        cli.start(QStringLiteral(TAVO_BIN_DIR "/tavo-cli"),
                  {QStringLiteral("render"), project, QStringLiteral("--page"), QStringLiteral("0"), QStringLiteral("-o"), ref,
                   QStringLiteral("--module")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        const QImage reference = QImage(ref).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(rt.frame(), reference);
        // The window dims its view with the backlight; the framebuffer stays as drawn.
        ScreenView *view = w.simulator()->window()->screenView();
        QTRY_COMPARE(view->image(), rt.display());
        QCOMPARE(view->image(), ModuleScreen::lit(reference, 20, true));

        // The main window's console talks to the module while the simulator is open.
        w.form().textBrowser->setPlainText(QStringLiteral("SET_TXT(0,'Hi');"));
        w.form().btnSendCmd->click();
        QTRY_COMPARE(rt.screen().control(0)->text, QStringLiteral("Hi"));
        QTRY_VERIFY(!w.simulator()->isBusy());

        QDir::setCurrent(oldCwd);
        App::projectPath().clear();
    }
};

QTEST_MAIN(TestSimulatorRun)
#include "tst_simulatorrun.moc"
