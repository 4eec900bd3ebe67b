// The window's "批量下载" dialog with virtual modules, one of them faulty.
#include "app/appglobals.h"
#include "app/mainform.h"
#include "app/mainwindow.h"
#include "batchdownload.h"
#include "dialogs/batchdownloaddlg.h"
#include "dialogs/qmymessagebox.h"
#include "library/librarypanel.h"
#include "library/picturelibrary.h"
#include "library/picturereader.h"
#include "virtualportthread.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "demoproject.h"

#include <sys/stat.h>

namespace {

QString dlgText(const char *s) { return QCoreApplication::translate("BatchDownloadDlg", s); }

QString cell(QTableWidget *t, int row, int column) { return t->item(row, column) ? t->item(row, column)->text() : QString(); }

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString result(QTableWidget *t, int row) { return cell(t, row, BatchDownloadDlg::ResultColumn); }

void answer(QMyMessageBox *box, bool yes)
{
    auto *b = box->findChild<QPushButton *>(yes ? QStringLiteral("btnOk") : QStringLiteral("btnCancel"));
    QVERIFY(b);
    b->click();
}

// Types a device path into the dialog as a person would.
void typePort(BatchDownloadDlg *dlg, const QString &path)
{
    dlg->portPath()->setText(path);
    dlg->btnAddPort()->click();
}

void uncheckAllPorts(BatchDownloadDlg *dlg)
{
    for (int i = 0; i < dlg->portList()->count(); ++i)
        dlg->portList()->item(i)->setCheckState(Qt::Unchecked);
}

// A module that takes the job's first question and never answers it: a port with nothing behind it.
ModuleSettings silentModule()
{
    ModuleSettings settings;
    settings.silentAnswer = 1;
    return settings;
}

// The window's dialog with one port checked, typed in: a silent module's.
bool dialogWithSilentPort(MainWindow &w, VirtualPortThread &silent, int baud, BatchDownloadDlg **dlg)
{
    w.on_btnBatchDownload_clicked();
    *dlg = w.batchDownloadDlg();
    if (!silent.start(silentModule(), baud))
        return false;
    uncheckAllPorts(*dlg);
    typePort(*dlg, silent.devicePath());
    return (*dlg)->portList()->findItems(silent.devicePath(), Qt::MatchExactly).size() == 1;
}

// Screenshots for people checking the layout: TAVO_BATCH_SHOTS=folder.
void shoot(QWidget *w, const QString &name)
{
    const QString folder = qEnvironmentVariable("TAVO_BATCH_SHOTS");
    if (!folder.isEmpty())
        w->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace

class TestBatchDialog : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        App::projectPath().clear();
        App::programPath() = QStringLiteral("/opt/tavo/tavo");
        if (qEnvironmentVariable("TAVO_BATCH_LANGUAGE") == QLatin1String("English"))
            App::switchTranslator(QString::fromLatin1(App::EnglishTranslationPath));
    }
    void cleanup()
    {
        App::projectPath().clear();
        m_dir.reset();
    }

    void buttonBesideTheDownloadButton()
    {
        MainWindow w;
        auto *button = w.findChild<QToolButton *>(QStringLiteral("btnBatchDownload"));
        QVERIFY(button);
        QBoxLayout *bar = nullptr;
        for (QBoxLayout *l : w.findChildren<QBoxLayout *>())
            if (l->indexOf(w.form().btnInstrDownLoad) >= 0)
                bar = l;
        QVERIFY(bar);
        QVERIFY(bar->indexOf(button) > bar->indexOf(w.form().btnInstrDownLoad));
        QCOMPARE(button->text(), QCoreApplication::translate("MainWindow", "批量下载"));
        // No project: refused before any port, nothing started.
        button->click();
        BatchDownloadDlg *dlg = w.batchDownloadDlg();
        QVERIFY(dlg->isVisible());
        dlg->virtualCount()->setValue(2);
        dlg->btnStart()->click();
        QCOMPARE(dlg->labMessage()->text(), QCoreApplication::translate("MainWindow", "未创建项目，请您先创建项目！"));
        QCOMPARE(dlg->table()->rowCount(), 0);
        QVERIFY(!dlg->isRunning());
    }

    void threeVirtualModulesOneFaulty()
    {
        QString project;
        QVERIFY(copyDemoTo(m_dir->filePath(QStringLiteral("demo")), &project));
        const QByteArray before = fileBytes(project);
        App::projectPath() = project;
        MainWindow w;
        w.on_btnBatchDownload_clicked();
        BatchDownloadDlg *dlg = w.batchDownloadDlg();
        dlg->show();
        // A module whose line closes after a few kilobytes, as an unplugged cable would.
        VirtualPortThread faulty;
        ModuleSettings settings;
        settings.closeAfterBytes = 4000;
        QVERIFY(faulty.start(settings, 115200));
        for (int i = 0; i < dlg->portList()->count(); ++i)
            dlg->portList()->item(i)->setCheckState(Qt::Unchecked);
        dlg->addPort(faulty.devicePath());
        dlg->virtualCount()->setValue(2);
        dlg->modeCombox()->setCurrentIndex(1);  // pages and pictures
        dlg->baudCombox()->setCurrentText(QStringLiteral("115200"));
        QSignalSpy finished(dlg, &BatchDownloadDlg::s_batchFinished);
        // The pictures are judged off the interface thread, each decoded once for all modules
        // (counted once the window's thumbnails are made).
        QTRY_VERIFY_WITH_TIMEOUT(w.library()->thumbnailsComplete(), 30000);
        const int pictures = PictureLibrary::fromProjectFolder(QFileInfo(project).absolutePath(),
                                                               PictureLibrary::HeadersOnly).count();
        QVERIFY(pictures > 0);
        const int decodes = PictureReader::decodeCount();
        const int decodesOnMain = PictureReader::mainThreadDecodeCount();
        dlg->btnStart()->click();
        QCOMPARE(PictureReader::decodeCount() - decodes, pictures);
        QCOMPARE(PictureReader::mainThreadDecodeCount(), decodesOnMain);
        QVERIFY(dlg->isRunning());
        QVERIFY(!dlg->btnStart()->isEnabled());
        QVERIFY(!dlg->modeCombox()->isEnabled());
        QTableWidget *t = dlg->table();
        QCOMPARE(t->rowCount(), 3);
        // Mid-transfer: the rows move on their own while the window keeps running.
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QProgressBar *>(t->cellWidget(2, BatchDownloadDlg::ProgressColumn))->value() > 100,
                                 30000);
        QVERIFY(cell(t, 2, BatchDownloadDlg::RateColumn).endsWith(QStringLiteral("/s")));
        QCOMPARE(cell(t, 2, BatchDownloadDlg::ResultColumn), dlgText("下载中"));
        shoot(dlg, QStringLiteral("batch-mid"));
        QVERIFY(finished.wait(120000));
        QCOMPARE(cell(t, 0, BatchDownloadDlg::PortColumn), faulty.devicePath());
        QCOMPARE(cell(t, 0, BatchDownloadDlg::ResultColumn), dlgText("失败：%1").arg(QCoreApplication::translate("SerialPortDlg", "通信已断开，下载失败！")));
        QCOMPARE(cell(t, 1, BatchDownloadDlg::PortColumn), dlgText("虚拟模块%1").arg(1));
        QVERIFY(cell(t, 1, BatchDownloadDlg::ResultColumn).startsWith(dlgText("成功，用时%1秒").section(QLatin1String("%1"), 0, 0)));
        QCOMPARE(cell(t, 2, BatchDownloadDlg::PortColumn), dlgText("虚拟模块%1").arg(2));
        QVERIFY(cell(t, 2, BatchDownloadDlg::ResultColumn).startsWith(dlgText("成功，用时%1秒").section(QLatin1String("%1"), 0, 0)));
        QCOMPARE(qobject_cast<QProgressBar *>(t->cellWidget(1, BatchDownloadDlg::ProgressColumn))->value(), 1000);
        QCOMPARE(dlg->labTotals()->text(), dlgText("成功%1个，失败%2个，进行中%3个").arg(2).arg(1).arg(0));
        QVERIFY(dlg->btnStart()->isEnabled());
        shoot(dlg, QStringLiteral("batch-end"));
        // The baud and backlight updates of a single download do not happen here.
        QCOMPARE(fileBytes(project), before);
    }

    void productionSwitch()
    {
        QString project;
        QVERIFY(copyDemoTo(m_dir->filePath(QStringLiteral("demo")), &project));
        App::projectPath() = project;
        MainWindow w;
        w.on_btnBatchDownload_clicked();
        BatchDownloadDlg *dlg = w.batchDownloadDlg();
        for (int i = 0; i < dlg->portList()->count(); ++i)
            dlg->portList()->item(i)->setCheckState(Qt::Unchecked);
        dlg->virtualCount()->setValue(1);
        dlg->autoSwitch()->setChecked(true);
        dlg->btnStart()->click();
        QCOMPARE(dlg->btnStart()->text(), dlgText("停止自动下载"));
        QTableWidget *t = dlg->table();
        QTRY_COMPARE_WITH_TIMEOUT(cell(t, 0, BatchDownloadDlg::ResultColumn).startsWith(dlgText("成功，用时%1秒").section(QLatin1String("%1"), 0, 0)), true, 30000);
        // A module plugged in while watching (the port watcher's event) is downloaded to as well.
        VirtualPortThread plugged;
        QVERIFY(plugged.start(ModuleSettings(), 115200));
        dlg->slotComStatus(plugged.devicePath(), true);
        QTRY_COMPARE_WITH_TIMEOUT(t->rowCount(), 2, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(cell(t, 1, BatchDownloadDlg::ResultColumn).startsWith(dlgText("成功，用时%1秒").section(QLatin1String("%1"), 0, 0)), true, 30000);
        QTest::qWait(1500);
        QCOMPARE(t->rowCount(), 2);
        QSignalSpy finished(dlg, &BatchDownloadDlg::s_batchFinished);
        dlg->btnStart()->click();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().at(0).toInt(), 2);
        QCOMPARE(dlg->btnStart()->text(), dlgText("开始下载"));
        QVERIFY(!dlg->isRunning());
    }

    // A path typed into the dialog becomes a checked port when it is a character device; anything
    // else is refused with a message and never opened.
    void typedPortEntries()
    {
        VirtualPortThread module;
        QVERIFY(module.start(ModuleSettings(), 115200));
        const QString file = m_dir->filePath(QStringLiteral("plain"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString fifo = m_dir->filePath(QStringLiteral("fifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString link = m_dir->filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(module.devicePath(), link));
        BatchDownloadDlg dlg;
        uncheckAllPorts(&dlg);
        const int listed = dlg.portList()->count();
        for (const QString &bad : {QString(), QStringLiteral("  "), file, fifo, m_dir->filePath(QStringLiteral("none")),
                                   QStringLiteral("ttyNoSuchPort9")}) {
            typePort(&dlg, bad);
            QVERIFY2(!dlg.labMessage()->text().isEmpty(), qPrintable(bad));
            QCOMPARE(dlg.portList()->count(), listed);
        }
        QCOMPARE(dlg.labMessage()->text(), dlgText("%1不是串口设备！").arg(QStringLiteral("ttyNoSuchPort9")));
        typePort(&dlg, QStringLiteral(" ") + module.devicePath());
        QVERIFY(dlg.labMessage()->text().isEmpty());
        QVERIFY(dlg.portPath()->text().isEmpty());
        QCOMPARE(dlg.portList()->count(), listed + 1);
        QListWidgetItem *added = dlg.portList()->item(listed);
        QCOMPARE(added->text(), module.devicePath());
        QCOMPARE(added->checkState(), Qt::Checked);
        // The same device under another name is the entry already there.
        added->setCheckState(Qt::Unchecked);
        typePort(&dlg, link);
        QCOMPARE(dlg.portList()->count(), listed + 1);
        QCOMPARE(added->checkState(), Qt::Checked);
        // The return key adds as the button does.
        dlg.portPath()->setText(fifo);
        QTest::keyClick(dlg.portPath(), Qt::Key_Return);
        QCOMPARE(dlg.labMessage()->text(), dlgText("%1不是串口设备！").arg(fifo));
    }

    // A port with nothing behind it fails after the first question's wait, not the picture
    // transfer's twenty minutes; the other port is not held up.
    void silentPortFailsAfterTheFirstQuestionsWait()
    {
        QVERIFY(openDemo());
        MainWindow w;
        VirtualPortThread silent;
        BatchDownloadDlg *dlg = nullptr;
        QVERIFY(dialogWithSilentPort(w, silent, 115200, &dlg));
        dlg->virtualCount()->setValue(1);
        dlg->baudCombox()->setCurrentText(QStringLiteral("115200"));
        dlg->modeCombox()->setCurrentIndex(1);  // pages and pictures: the flash check comes first
        QSignalSpy finished(dlg, &BatchDownloadDlg::s_batchFinished);
        dlg->btnStart()->click();
        QVERIFY(finished.wait(40000));
        QTableWidget *t = dlg->table();
        QCOMPARE(result(t, 0), dlgText("失败：%1").arg(QCoreApplication::translate("InstructSerialPort", "通信超时！")));
        QVERIFY(result(t, 1).startsWith(dlgText("成功，用时%1秒").section(QLatin1String("%1"), 0, 0)));
        QVERIFY(dlg->batch()->state(0).elapsedMs >= 10000);
    }

    // Stop ends every job where it is; the dialog stays with each port's result and the totals.
    void stopEndsEveryJob()
    {
        QVERIFY(openDemo());
        MainWindow w;
        VirtualPortThread silent;
        BatchDownloadDlg *dlg = nullptr;
        QVERIFY(dialogWithSilentPort(w, silent, 9600, &dlg));
        dlg->show();
        // Slow lines, so that the modules are mid-transfer when stopped.
        dlg->virtualCount()->setValue(2);
        dlg->baudCombox()->setCurrentText(QStringLiteral("9600"));
        dlg->modeCombox()->setCurrentIndex(1);
        QVERIFY(!dlg->btnStop()->isEnabled());
        dlg->btnStart()->click();
        QVERIFY(dlg->btnStop()->isEnabled());
        QTableWidget *t = dlg->table();
        QCOMPARE(t->rowCount(), 3);
        QTRY_VERIFY_WITH_TIMEOUT(dlg->batch()->state(2).doneBytes > 2000, 30000);
        QSignalSpy finished(dlg, &BatchDownloadDlg::s_batchFinished);
        dlg->btnStop()->click();
        QVERIFY(finished.wait(10000));
        for (int row = 0; row < 3; ++row)
            QCOMPARE(result(t, row), QCoreApplication::translate("BatchDownload", "已停止"));
        QCOMPARE(dlg->batch()->stoppedCount(), 3);
        QCOMPARE(dlg->labTotals()->text(), dlgText("成功%1个，失败%2个，已停止%3个，进行中%4个").arg(0).arg(0).arg(3).arg(0));
        QVERIFY(dlg->isVisible());
        QVERIFY(!dlg->isRunning());
        QVERIFY(dlg->btnStart()->isEnabled());
        QVERIFY(!dlg->btnStop()->isEnabled());
        shoot(dlg, QStringLiteral("batch-stopped"));
        // Nothing more reaches a stopped module.
        const qint64 sent = dlg->batch()->state(2).doneBytes;
        QTest::qWait(300);
        QCOMPARE(dlg->batch()->state(2).doneBytes, sent);
    }

    // Closing the window during a batch asks the single download's question; No keeps both.
    void closingTheWindowDuringABatchAsks()
    {
        QVERIFY(openDemo());
        MainWindow w;
        w.show();
        VirtualPortThread silent;
        BatchDownloadDlg *dlg = nullptr;
        QVERIFY(dialogWithSilentPort(w, silent, 115200, &dlg));
        dlg->btnStart()->click();
        QVERIFY(dlg->isRunning());
        for (bool yes : {false, true}) {
            QVERIFY(!w.close());
            QVERIFY(w.questionBox()->isVisible());
            QCOMPARE(w.questionBox()->code(), 15);
            QCOMPARE(w.questionBox()->message(), QCoreApplication::translate("MainWindow", "正在与显示屏通信，是否停止并退出？"));
            answer(w.questionBox(), yes);
            QCOMPARE(w.isVisible(), !yes);
            if (!yes)
                QVERIFY(dlg->isRunning());
        }
        QTRY_VERIFY(!dlg->isRunning());
        QCOMPARE(result(dlg->table(), 0), QCoreApplication::translate("BatchDownload", "已停止"));
    }

private:
    // A copy of the demo project, open in the windows made from here on.
    bool openDemo()
    {
        QString project;
        if (!copyDemoTo(m_dir->filePath(QStringLiteral("demo")), &project))
            return false;
        App::projectPath() = project;
        return true;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestBatchDialog)
#include "tst_batchdialog.moc"
