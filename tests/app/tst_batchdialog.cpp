// The window's "批量下载" dialog with virtual modules, one of them faulty.
#include "app/appglobals.h"
#include "app/mainform.h"
#include "app/mainwindow.h"
#include "batchdownload.h"
#include "dialogs/batchdownloaddlg.h"
#include "library/librarypanel.h"
#include "library/picturelibrary.h"
#include "library/picturereader.h"
#include "virtualportthread.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
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

namespace {

QString dlgText(const char *s) { return QCoreApplication::translate("BatchDownloadDlg", s); }

QString cell(QTableWidget *t, int row, int column) { return t->item(row, column) ? t->item(row, column)->text() : QString(); }

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestBatchDialog)
#include "tst_batchdialog.moc"
