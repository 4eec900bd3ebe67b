#include "app/appglobals.h"
#include "app/mainform.h"
#include "app/mainwindow.h"
#include "dialogs/qmymessagebox.h"
#include "dialogs/qmyprogressbarmes.h"
#include "dialogs/qmyslider.h"
#include "dialogs/serialportdlg.h"
#include "dialogs/sysdlg.h"
#include "file/projectfile.h"
#include "modulefinder.h"
#include "seriallink.h"
#include "virtualport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "demoproject.h"
#include "imagecompare.h"
#include "tavocli.h"

// The window's downloads, console and settings against the in-process virtual module on a pty.
class TestDownload : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void checksBeforeAProjectDownload();
    void confirmationQuestions();
    void projectWithPicturesThroughTheVirtualEntry();
    void mainBarShowsTheDetail();
    void linkTestAndAddressAnswer();
    void closingThePortDuringAJob();
    void hotPlug();
    void console();
    void baudChangeSwitchesThePortAndWritesTheProject();
    void projectFileThatCannotBeUpdatedIsReported();
    void bootScriptDecidesTheBacklight();
    void findModuleOpensItsRate();
    void closingTheWindowDuringAJob();

private:
    QString copyDemo();
    std::unique_ptr<MainWindow> openProject(const QString &path);
    // Opens the dialog's virtual module entry at a rate.
    static void openVirtual(MainWindow &w, const QString &baud = QStringLiteral("115200"));
    static bool runToEnd(MainWindow &w, int timeoutMs = 60000);
    static void answer(QMyMessageBox *box, bool yes);
    static QString received(MainWindow &w) { return w.form().textBrowserRecv->toPlainText(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
};

void TestDownload::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    App::projectPath().clear();
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
}

void TestDownload::cleanup()
{
    App::projectPath().clear();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

QString TestDownload::copyDemo()
{
    QString project;
    if (!copyDemoTo(m_dir->filePath(QStringLiteral("demo")), &project))
        qWarning("the demo project could not be copied");
    return project;
}

std::unique_ptr<MainWindow> TestDownload::openProject(const QString &path)
{
    App::projectPath() = path;
    return std::make_unique<MainWindow>();
}

void TestDownload::openVirtual(MainWindow &w, const QString &baud)
{
    w.on_btnSetCOM_clicked();
    SerialPortDlg *dlg = w.serialPortDlg();
    QVERIFY(dlg->isVisible());
    const int v = dlg->portCombox()->findData(SerialPortDlg::virtualEntry());
    QCOMPARE(v, dlg->portCombox()->count() - 1);
    QCOMPARE(dlg->portCombox()->itemText(v), QStringLiteral("虚拟模块"));
    dlg->portCombox()->setCurrentIndex(v);
    dlg->baudCombox()->setCurrentText(baud);
    dlg->on_btnOpenClose_clicked();
    QVERIFY(dlg->link()->isOpen());
    QCOMPARE(dlg->labConnectState()->text(), QStringLiteral("串口已连接！"));
    QCOMPARE(dlg->labConnectState()->styleSheet(), QStringLiteral("color:green;"));
    QCOMPARE(dlg->btnOpenClose()->text(), QStringLiteral("关闭串口"));
    QVERIFY(dlg->btnInstrTest()->isEnabled());
}

bool TestDownload::runToEnd(MainWindow &w, int timeoutMs)
{
    SerialLink *link = w.serialPortDlg()->link();
    QSignalSpy finished(link, &SerialLink::s_jobFinished);
    if (!link->isBusy())
        return false;
    return finished.wait(timeoutMs) && finished.first().at(0).toBool();
}

void TestDownload::answer(QMyMessageBox *box, bool yes)
{
    auto *b = box->findChild<QPushButton *>(yes ? QStringLiteral("btnOk") : QStringLiteral("btnCancel"));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

void TestDownload::checksBeforeAProjectDownload()
{
    {
        // No project.
        MainWindow w;
        w.on_btnInstrDownLoad_clicked();
        QCOMPARE(w.infoBox()->message(), QStringLiteral("未创建项目，请您先创建项目！"));
        QCOMPARE(w.infoBox()->title(), QStringLiteral("提示"));
        QVERIFY(!w.questionBox()->isVisible());
    }
    {
        // A project file without a page is refused before anything is sent.
        const QString folder = m_dir->filePath(QStringLiteral("empty"));
        QDir().mkpath(folder);
        QFile f(folder + QStringLiteral("/empty.Tavo"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui>\n    <frame frame=\"frame\">\n"
                "        <frameW>240</frameW>\n        <frameH>320</frameH>\n    </frame>\n</ui>\n");
        f.close();
        auto w = openProject(f.fileName());
        QCOMPARE(w->pageCount(), 0);
        openVirtual(*w);
        w->on_btnInstrDownLoad_clicked();
        QCOMPARE(w->infoBox()->message(), QStringLiteral("项目中没有页面，无法下载！"));
        QCOMPARE(w->infoBox()->title(), QStringLiteral("警告"));
        QVERIFY(!w->questionBox()->isVisible());
        QVERIFY(!w->serialPortDlg()->isBusy());
    }
    const QString demo = copyDemo();
    {
        // The demo's animation runs from picture 5 to 7: with 8 pictures left it fits, with 7 it
        // names a picture that is gone.
        auto w = openProject(demo);
        QCOMPARE(w->logo2(), 7);
        QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("demo/tempImages/100009_cut_source.bmp"))));
        w->on_btnInstrDownLoad_clicked();
        QCOMPARE(w->questionBox()->code(), 11);
        QVERIFY(w->questionBox()->isVisible());
        answer(w->questionBox(), false);
        QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("demo/tempImages/100008_boot3.bmp"))));
        w->on_btnInstrDownLoad_clicked();
        QCOMPARE(w->infoBox()->message(), QStringLiteral("开机动画设置的ID已超过总图片的数目，请您重新设置！"));
        QCOMPARE(w->infoBox()->title(), QStringLiteral("警告"));
        QVERIFY(!w->questionBox()->isVisible());
    }
    {
        auto w = openProject(copyDemo());
        // Busy: a link test is running.
        openVirtual(*w);
        w->serialPortDlg()->on_btnInstrTest_clicked();
        QVERIFY(w->serialPortDlg()->isBusy());
        w->on_btnInstrDownLoad_clicked();
        QCOMPARE(w->infoBox()->message(), QStringLiteral("下载中请稍后重试！"));
        QCOMPARE(w->infoBox()->title(), QStringLiteral("警告"));
        w->on_btnDownLoad_clicked();
        QCOMPARE(w->infoBox()->message(), QStringLiteral("下载中请稍后重试！"));
        QVERIFY(runToEnd(*w));
    }
    {
        // No picture in the library: the picture download is refused.
        QDir(m_dir->filePath(QStringLiteral("demo/tempImages"))).removeRecursively();
        QDir(m_dir->filePath(QStringLiteral("demo/backUpImages"))).removeRecursively();
        auto w = openProject(demo);
        w->on_btnDownLoad_clicked();
        QCOMPARE(w->infoBox()->message(), QStringLiteral("未添加图片无法下载，请您先添加图片！"));
        QCOMPARE(w->infoBox()->title(), QStringLiteral("提示"));
    }
}

void TestDownload::confirmationQuestions()
{
    auto w = openProject(copyDemo());
    auto *option = w->questionBox()->findChild<QCheckBox *>(QStringLiteral("checkBoxDown"));
    QVERIFY(option);
    w->on_btnInstrDownLoad_clicked();
    QVERIFY(w->questionBox()->isVisible());
    QCOMPARE(w->questionBox()->code(), 11);
    QCOMPARE(w->questionBox()->title(), QStringLiteral("提示"));
    QVERIFY(w->questionBox()->message().startsWith(QStringLiteral("是否下载当前项目到显示屏上？\n预计用时：仅页面约")));
    QVERIFY(w->questionBox()->message().contains(QStringLiteral("同时下载资源约")));
    QVERIFY(option->isVisible());
    QVERIFY(!option->isChecked());
    option->setChecked(true);
    // Yes with the port closed: the link says so and nothing starts.
    answer(w->questionBox(), true);
    QCOMPARE(w->serialPortDlg()->messageBox()->message(), QStringLiteral("通信未连接，请您先连接通信！"));
    QVERIFY(!w->serialPortDlg()->isBusy());

    // Changed pictures: the other question, without the option.
    w->setPictureLibraryChanged(true);
    w->on_btnInstrDownLoad_clicked();
    QCOMPARE(w->questionBox()->code(), 11);
    QCOMPARE(w->questionBox()->title(), QStringLiteral("警告"));
    QVERIFY(w->questionBox()->message().startsWith(
        QStringLiteral("图库资源有更改，是否继续下载当前项目到显示屏上？（建议您先下载图片资源）")));
    QVERIFY(!option->isVisible());
    answer(w->questionBox(), false);
    QVERIFY(!w->serialPortDlg()->isBusy());
}

void TestDownload::projectWithPicturesThroughTheVirtualEntry()
{
    const QString demo = copyDemo();
    auto w = openProject(demo);
    openVirtual(*w);
    SerialPortDlg *dlg = w->serialPortDlg();
    VirtualModule *module = dlg->virtualPort()->module();
    QVERIFY(module);
    QSignalSpy probar(dlg, &SerialPortDlg::s_sendProbar);
    QSignalSpy reset(module, &VirtualModule::resetDone);
    w->setPictureLibraryChanged(true);
    w->setPictureLibraryChanged(false);
    w->winId();
    w->on_btnInstrDownLoad_clicked();
    w->questionBox()->findChild<QCheckBox *>(QStringLiteral("checkBoxDown"))->setChecked(true);
    answer(w->questionBox(), true);
    QVERIFY(runToEnd(*w));
    QVERIFY(reset.count() > 0 || reset.wait(10000));

    // Pictures went first, with their progress in the dialog and the main bar.
    QVERIFY(probar.count() >= 2);
    QCOMPARE(probar.last().at(0), probar.last().at(1));
    QVERIFY(dlg->progressDialog()->isVisible());
    QCOMPARE(dlg->progressDialog()->progressBar()->value(), dlg->progressDialog()->progressBar()->maximum());
    QVERIFY2(dlg->progressDialog()->detail().startsWith(QStringLiteral("100% · ")), qPrintable(dlg->progressDialog()->detail()));
    QVERIFY(dlg->progressDialog()->detail().contains(QStringLiteral("剩余 0:00")));
    // The end of the job is said in the dialog, which stays above the main window, and only there.
    QCOMPARE(dlg->progressDialog()->result(), QStringLiteral("页面下载成功！"));
    QVERIFY(!dlg->messageBox()->isVisible());
    QVERIFY(w->windowHandle());
    QCOMPARE(dlg->progressDialog()->windowHandle()->transientParent(), w->windowHandle());
    QVERIFY(!w->form().progressBarDown->isVisible());
    QVERIFY(received(*w).contains(QStringLiteral("--发送:ICHECK();")));
    QVERIFY(received(*w).contains(QStringLiteral("页面下载成功！")));
    QVERIFY(!received(*w).contains(QLatin1Char('\r')));

    // The pages the module shows are the module look's pages, pixel for pixel.
    ProjectData data;
    QVERIFY(ProjectFile::read(demo, 9, &data).ok);
    QCOMPARE(module->pageScripts().size(), data.pages.size());
    for (int i = 0; i < data.pages.size(); ++i) {
        const QString refPath = m_dir->filePath(QStringLiteral("ref%1.png").arg(i));
        const CliRun r = runTavoCli({QStringLiteral("render"), demo, QStringLiteral("--page"), QString::number(i),
                                     QStringLiteral("-o"), refPath, QStringLiteral("--module")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(module->renderPage(i), QImage(refPath).convertToFormat(QImage::Format_RGB32));
    }
}

void TestDownload::mainBarShowsTheDetail()
{
    MainWindow w;
    openVirtual(w);
    SerialPortDlg *dlg = w.serialPortDlg();
    // Two units a byte: 40 KB of 400 KB.
    dlg->slotRecvProgressBar(819200, 81920);
    QVERIFY2(dlg->progressDetail().startsWith(QStringLiteral("10% · 40.0 KB / 400 KB · ")), qPrintable(dlg->progressDetail()));
    QCOMPARE(w.form().progressBarDown->text(), dlg->progressDetail());
    QVERIFY(w.form().progressBarDown->isVisibleTo(&w));
    dlg->slotRecvProgressBar(819200, 819200);
    QVERIFY(!w.form().progressBarDown->isVisibleTo(&w));
}

void TestDownload::linkTestAndAddressAnswer()
{
    MainWindow w;
    SerialPortDlg *dlg = w.serialPortDlg();
    QVERIFY(!dlg->btnInstrTest()->isEnabled());
    QCOMPARE(dlg->labConnectState()->text(), QStringLiteral("串口未连接！"));
    dlg->on_btnInstrTest_clicked();
    QCOMPARE(dlg->messageBox()->message(), QStringLiteral("通信未连接，请您先连接通信！"));
    openVirtual(w);
    w.sysDlg()->slotRecv485(1, 9);
    dlg->on_btnInstrTest_clicked();
    QVERIFY(runToEnd(w));
    QVERIFY(received(w).contains(QStringLiteral("--接收:GETADDR_0_0")));
    QVERIFY(received(w).contains(QStringLiteral("指令集发送成功！")));
    // The module's answer reaches the settings dialog: no address enabled.
    QVERIFY(!w.sysDlg()->checkBoxAddr()->isChecked());
}

void TestDownload::closingThePortDuringAJob()
{
    auto w = openProject(copyDemo());
    openVirtual(*w);
    SerialPortDlg *dlg = w->serialPortDlg();
    w->on_btnInstrDownLoad_clicked();
    answer(w->questionBox(), true);
    QVERIFY(dlg->isBusy());
    dlg->on_btnOpenClose_clicked();
    QVERIFY(!dlg->link()->isOpen());
    QVERIFY(!dlg->isBusy());
    QCOMPARE(dlg->messageBox()->message(), QStringLiteral("通信已断开，下载失败！"));
    QCOMPARE(dlg->labConnectState()->text(), QStringLiteral("串口已断开！"));
    QCOMPARE(dlg->labConnectState()->styleSheet(), QStringLiteral("color:red;"));
    QVERIFY(!dlg->btnInstrTest()->isEnabled());
    // Opened again, the next job runs.
    dlg->on_btnOpenClose_clicked();
    dlg->on_btnInstrTest_clicked();
    QVERIFY(runToEnd(*w));
}

void TestDownload::hotPlug()
{
    MainWindow w;
    openVirtual(w);
    SerialPortDlg *dlg = w.serialPortDlg();
    QComboBox *ports = dlg->portCombox();
    dlg->slotComStatus(QStringLiteral("ttyUSB7"), true);
    QCOMPARE(ports->itemText(ports->count() - 2), QStringLiteral("ttyUSB7"));
    QCOMPARE(ports->itemData(ports->count() - 1).toString(), SerialPortDlg::virtualEntry());
    // Another port leaves: only its entry goes.
    dlg->slotComStatus(QStringLiteral("ttyUSB7"), false);
    QCOMPARE(ports->findText(QStringLiteral("ttyUSB7")), -1);
    QVERIFY(dlg->link()->isOpen());
    QVERIFY(!dlg->messageBox()->isVisible());
    // The open port leaves during a job.
    dlg->on_btnInstrTest_clicked();
    QVERIFY(dlg->isBusy());
    const QString name = dlg->link()->portName();
    dlg->slotComStatus(name, false);
    QVERIFY(!dlg->isBusy());
    QVERIFY(!dlg->link()->isOpen());
    QCOMPARE(dlg->messageBox()->message(), QStringLiteral("串口%1已拔出！").arg(name));
    QCOMPARE(dlg->labConnectState()->text(), QStringLiteral("串口已断开！"));
}

void TestDownload::console()
{
    MainWindow w;
    MainForm &ui = w.form();
    QCOMPARE(w.commandExamples().size(), 46);
    QCOMPARE(ui.listViewCmd->model()->rowCount(), 46);
    const QModelIndex first = ui.listViewCmd->model()->index(0, 0);
    w.on_listViewCmd_doubleClicked(first);
    w.on_listViewCmd_doubleClicked(first);
    QCOMPARE(ui.textBrowser->toPlainText(), QStringLiteral("BL(20);BL(20);"));
    QCOMPARE(ui.labInstrCount->text(), QStringLiteral("16字节"));
    w.on_btnClearCmd_clicked();
    QVERIFY(ui.labInstrCount->text().isEmpty());
    // Two bytes a Chinese character in the module's code page.
    w.on_listViewCmd_doubleClicked(ui.listViewCmd->model()->index(37, 0));
    QCOMPARE(ui.labInstrCount->text(), QStringLiteral("20字节"));
    w.on_btnClearCmd_clicked();

    w.on_btnSendCmd_clicked();
    QCOMPARE(w.infoBox()->message(), QStringLiteral("发送指令集内容不能为空！"));
    QVERIFY(!w.serialPortDlg()->isBusy());

    openVirtual(w);
    ui.textBrowser->setPlainText(QStringLiteral("BL(20);\nVER();"));
    w.on_btnSendCmd_clicked();
    QVERIFY(runToEnd(w));
    const QStringList commands = w.serialPortDlg()->virtualPort()->module()->commands();
    QVERIFY(commands.contains(QStringLiteral("BL(20);")));
    QVERIFY(received(w).contains(QStringLiteral("--发送:BL(20);VER();")));
    QVERIFY(received(w).contains(QStringLiteral("指令集发送成功！")));
    w.on_btnClearRecv_clicked();
    QVERIFY(received(w).isEmpty());
}

void TestDownload::baudChangeSwitchesThePortAndWritesTheProject()
{
    const QString demo = copyDemo();
    auto w = openProject(demo);
    openVirtual(*w, QStringLiteral("115200"));
    SerialPortDlg *dlg = w->serialPortDlg();
    w->on_btnSetSys_clicked();
    SysDlg *sys = w->sysDlg();
    QVERIFY(sys->isVisible());
    sys->cbBuad()->setCurrentText(QStringLiteral("9600"));
    sys->on_btnBaud_clicked();
    QVERIFY(runToEnd(*w));
    QCOMPARE(dlg->virtualPort()->module()->baud(), 9600);
    QCOMPARE(dlg->link()->baud(), 9600);
    QVERIFY(received(*w).contains(QStringLiteral("--串口已切换到9600波特率")));
    QCOMPARE(sys->confirmedBaud(), QStringLiteral("9600"));
    QCOMPARE(w->baud(), QStringLiteral("9600"));
    ProjectData onDisk;
    QVERIFY(ProjectFile::read(demo, 9, &onDisk).ok);
    QCOMPARE(onDisk.baud, QStringLiteral("9600"));
    // The next command reaches the module at its new rate.
    dlg->on_btnInstrTest_clicked();
    QVERIFY(runToEnd(*w));
}

void TestDownload::projectFileThatCannotBeUpdatedIsReported()
{
    const QString demo = copyDemo();
    auto w = openProject(demo);
    openVirtual(*w);
    QVERIFY(QFile::remove(demo));
    w->on_btnSetSys_clicked();
    w->sysDlg()->horizontalSliderScreen()->setValue(155);
    w->sysDlg()->on_btnScreenValue_clicked();
    QVERIFY(runToEnd(*w));
    QCOMPARE(w->blValue(), 100);
    QVERIFY(received(*w).contains(QStringLiteral("--项目文件更新失败，背光值100未写入项目文件！")));
}

void TestDownload::bootScriptDecidesTheBacklight()
{
    auto w = openProject(copyDemo());
    QCOMPARE(w->blValue(), 20);
    // A backlight request that never reached the module (port closed).
    w->on_btnSetSys_clicked();
    w->sysDlg()->horizontalSliderScreen()->setValue(55);
    w->sysDlg()->on_btnScreenValue_clicked();
    QCOMPARE(w->sysDlg()->requestedBacklight(), 200);
    openVirtual(*w);
    w->on_btnInstrDownLoad_clicked();
    answer(w->questionBox(), true);
    QVERIFY(runToEnd(*w));
    // The boot script carried 20, so 20 it is.
    QCOMPARE(w->serialPortDlg()->virtualPort()->module()->bootScript().contains("BL(20);"), true);
    QCOMPARE(w->blValue(), 20);
    QCOMPARE(w->sysDlg()->requestedBacklight(), 20);
    QCOMPARE(w->sysDlg()->confirmedBacklight(), 20);
}

void TestDownload::findModuleOpensItsRate()
{
    MainWindow w;
    SerialPortDlg *dlg = w.serialPortDlg();
    w.on_btnSetCOM_clicked();
    // Only the virtual module, started at 38400, is tried.
    dlg->baudCombox()->setCurrentText(QStringLiteral("38400"));
    QVERIFY(dlg->ensureVirtualModule());
    while (dlg->portCombox()->count() > 1)
        dlg->portCombox()->removeItem(0);
    dlg->baudCombox()->setCurrentText(QStringLiteral("115200"));
    QSignalSpy found(dlg->finder(), &ModuleFinder::s_found);
    dlg->on_btnFindModule_clicked();
    QCOMPARE(dlg->btnFindModule()->text(), QStringLiteral("停止查找"));
    QVERIFY(found.wait(10000));
    QCOMPARE(found.first().at(1).toInt(), 38400);
    QVERIFY(dlg->link()->isOpen());
    QCOMPARE(dlg->link()->baud(), 38400);
    QCOMPARE(dlg->baudCombox()->currentText(), QStringLiteral("38400"));
    QCOMPARE(dlg->btnFindModule()->text(), QStringLiteral("查找模块"));
    QVERIFY(received(w).contains(QStringLiteral("--找到模块：虚拟模块，波特率38400")));
    dlg->on_btnInstrTest_clicked();
    QVERIFY(runToEnd(w));
}

void TestDownload::closingTheWindowDuringAJob()
{
    auto w = openProject(copyDemo());
    w->show();
    openVirtual(*w);
    SerialPortDlg *dlg = w->serialPortDlg();
    w->on_btnInstrDownLoad_clicked();
    answer(w->questionBox(), true);
    QVERIFY(dlg->isBusy());
    w->close();
    QVERIFY(w->isVisible());
    QCOMPARE(w->questionBox()->code(), 15);
    QVERIFY(dlg->isBusy());
    // No: the job goes on.
    answer(w->questionBox(), false);
    QVERIFY(dlg->isBusy());
    w->close();
    answer(w->questionBox(), true);
    QVERIFY(!dlg->isBusy());
    QVERIFY(!dlg->link()->isOpen());
    // Nothing was edited, so no question about saving: the window is gone.
    QVERIFY(!w->isVisible());
}

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
