// The window's side of talking to the module: project and picture downloads, the progress bar,
// the receive view, the command console and the display settings.
#include "mainwindow.h"

#include "dialogs/batchdownloaddlg.h"

#include "appglobals.h"
#include "dialogs/commandexamples.h"
#include "dialogs/qmyitemmodel.h"
#include "dialogs/qmymessagebox.h"
#include "dialogs/serialportdlg.h"
#include "dialogs/sysdlg.h"
#include "download/downloadblocks.h"
#include "download/downloadcheck.h"
#include "model/pagefit.h"
#include "download/downloadsteps.h"
#include "download/transferestimate.h"
#include "file/projectfile.h"
#include "picturejudging.h"
#include "qmynativeeventfilter.h"
#include "script/moduletext.h"
#include "seriallink.h"
#include "simulatorrun.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>

namespace {

// Question asked when the window is closed during a job.
constexpr int StopDownloadQuestion = 15;
// A judging shorter than this shows no progress; then the bar follows it at this pace.
constexpr int JudgingProgressMs = 150;

}  // namespace

void MainWindow::setupDownload()
{
    m_serialPortDlg = new SerialPortDlg(this);
    connect(m_serialPortDlg, &SerialPortDlg::s_sendMes, this, &MainWindow::slotRecvSerialPortMes);
    connect(m_serialPortDlg, &SerialPortDlg::s_sendProbar, this, &MainWindow::slotRecePortProbar);
    connect(m_serialPortDlg->link(), &SerialLink::s_openChanged, this, &MainWindow::refreshSendTarget);
    m_portWatcher = new QMyNativeEventFilter(this);
    connect(m_portWatcher, &QMyNativeEventFilter::comStatus, m_serialPortDlg, &SerialPortDlg::slotComStatus);

    m_cmdModel = new QMyItemModel(this);
    ui.listViewCmd->setModel(m_cmdModel);
    ui.listViewCmd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_cmdList = CommandExamples::fill(m_cmdModel);

    m_sysDlg = new SysDlg(this);
    connect(m_sysDlg, &SysDlg::s_sendMes, this, &MainWindow::slotReceivedSysDlg);
    connect(m_serialPortDlg, &SerialPortDlg::s_send485, m_sysDlg, &SysDlg::slotRecv485);
    m_sysDlg->setBaud(m_baud);
    m_sysDlg->setBacklight(m_blValue);

    m_judging = new PictureJudging(this);
    m_judgingTimer = new QTimer(this);
    m_judgingTimer->setInterval(JudgingProgressMs);
    connect(m_judgingTimer, &QTimer::timeout, this, &MainWindow::showJudgingProgress);

    ui.progressBarDown->setOrientation(Qt::Horizontal);
    ui.progressBarDown->hide();
    // The log is what tells people what the module said; it is shown.
    ui.textBrowserRecv->show();
    ui.btnClearRecv->show();
    setupBatchDownload();
}

void MainWindow::retranslateDownload()
{
    m_serialPortDlg->retranslate();
    m_sysDlg->retranslate();
    m_cmdList = CommandExamples::fill(m_cmdModel);
    refreshInstrCount();
    refreshSendTarget();
}

bool MainWindow::downloadRunning() const { return m_downloadRunning || (m_serialPortDlg && m_serialPortDlg->isBusy()); }

bool MainWindow::downloadBusy()
{
    if (!m_serialPortDlg->isBusy())
        return false;
    message(m_infoBox, QMyMessageBox::Warning, 0, 0, tr("下载中请稍后重试！"));
    return true;
}

DownloadJob MainWindow::downloadJob(DownloadMode mode, const QString &command) const
{
    return withLinkSettings(jobFromProject(projectData(), projectFolder(), mode), command);
}

DownloadJob MainWindow::withLinkSettings(DownloadJob job, const QString &command) const
{
    job.command = command;
    job.busAddressEnabled = m_sysDlg->addressEnabled();
    job.busAddress = m_sysDlg->addressText();
    return job;
}

QString MainWindow::judgingHint() { return tr("正在检查图片，请稍候……"); }

bool MainWindow::judgingPictures() const { return m_judging->isRunning(); }

bool MainWindow::judgedJob(const ProjectData &project, DownloadMode mode, JobPictures reading, DownloadJob *job)
{
    if (m_judging->isRunning()) {
        message(m_infoBox, QMyMessageBox::Hint, 0, 0, judgingHint());
        return false;
    }
    const QPointer<MainWindow> alive(this);
    const QString projectPath = App::projectPath();
    m_judgedProject = projectPath;
    // The callers carry on once the verdict is in, as they did when the pictures were decoded
    // here; meanwhile the window handles its events.
    QEventLoop loop;
    bool judged = false;
    connect(m_judging, &PictureJudging::finished, &loop, [&loop, &judged](bool ok) {
        judged = ok;
        loop.quit();
    });
    connect(m_judging, &QObject::destroyed, &loop, &QEventLoop::quit);
    m_judging->start(project, projectFolder(), mode, reading);
    m_judgingTimer->start();
    loop.exec();
    if (!alive)
        return false;
    // Also when the application is quitting under the loop.
    if (m_judging->isRunning())
        m_judging->cancel();
    // The hint given to a click made meanwhile has served.
    if (m_infoBox->isVisible() && m_infoBox->message() == judgingHint())
        m_infoBox->hide();
    if (m_judgingTimer->isActive()) {
        m_judgingTimer->stop();
        ui.progressBarDown->hide();
        ui.progressBarDown->setFormat(QStringLiteral("%p%"));
    }
    // A verdict on a project closed meanwhile is nobody's.
    if (!judged || App::projectPath() != projectPath)
        return false;
    *job = withLinkSettings(m_judging->takeJob());
    return true;
}

void MainWindow::showJudgingProgress()
{
    // Another project was opened meanwhile: the verdict would be nobody's.
    if (App::projectPath() != m_judgedProject) {
        m_judging->cancel();
        return;
    }
    const int total = m_judging->total();
    ui.progressBarDown->setRange(0, qMax(1, total));
    ui.progressBarDown->setValue(qBound(0, m_judging->done(), qMax(1, total)));
    ui.progressBarDown->setFormat(tr("正在检查图片：%1/%2").arg(m_judging->done()).arg(total));
    ui.progressBarDown->show();
}

bool MainWindow::startDownloadJob(const DownloadJob &job)
{
    if (job.mode == DownloadMode::PagesOnly || job.mode == DownloadMode::PicturesAndPages)
        m_bootBacklight = job.backlight;
    return m_serialPortDlg->startJob(job);
}

QString MainWindow::estimatedTimeText(const DownloadJob &job) const
{
    const SerialLink *link = m_serialPortDlg->link();
    const qint64 baud = link->isOpen() ? link->baud() : m_baud.toLongLong();
    DownloadJob pagesOnly = job;
    pagesOnly.mode = DownloadMode::PagesOnly;
    const qint64 pageBytes = wireByteCount(pagesOnly);
    // Counted without building the pixel data: the header, the pixels and their two commands.
    const qint64 pictureBytes = DownloadBlocks::pictureHeaderLength(job.pictures.count()) +
                                job.pictures.totalBytes() + 64;
    const QString pages = Transfer::formatDuration(Transfer::wireMs(pageBytes, baud));
    if (job.pictures.isEmpty())
        return tr("预计用时：约%1").arg(pages);
    const QString all = Transfer::formatDuration(Transfer::wireMs(pageBytes + pictureBytes, baud));
    return tr("预计用时：仅页面约%1，同时下载资源约%2").arg(pages, all);
}

void MainWindow::on_btnInstrDownLoad_clicked()
{
    if (downloadBusy())
        return;
    if (!App::isProjectOpen()) {
        message(m_infoBox, QMyMessageBox::Hint, 0, 0, tr("未创建项目，请您先创建项目！"));
        return;
    }
    const ProjectData project = projectData();
    // With no page the module would wait for one that never comes.
    if (project.pages.isEmpty()) {
        message(m_infoBox, QMyMessageBox::Warning, 0, 0, tr("项目中没有页面，无法下载！"));
        return;
    }
    // The pixel block with the verdicts: the answer may add the pictures to the download.
    m_questionJob.reset();
    DownloadJob job;
    if (!judgedJob(project, DownloadMode::PagesOnly, JobPictures::VerdictsAndPixels, &job))
        return;
    const QString problem = DownloadCheck::firstMessage(job);
    if (!problem.isEmpty()) {
        message(m_infoBox, QMyMessageBox::Warning, 0, 0, problem);
        return;
    }
    m_questionJob = QuestionJob{job, m_judging->folderStamp(), projectFolder()};
    // Items wholly outside their page do not stop the download; the question names them.
    QStringList outside = PageFit::outsideWarnings(job.pages, pageSize().width(), pageSize().height());
    if (outside.size() > 3) {
        const int more = outside.size();
        outside = outside.mid(0, 3);
        outside << tr("等%1处").arg(more);
    }
    const QString warning = outside.isEmpty() ? QString() : outside.join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (m_pictureLibraryChanged) {
        DownloadJob pagesOnly = job;
        pagesOnly.pictures = PictureLibrary();
        message(m_questionBox, QMyMessageBox::Warning, 2, 11,
                warning + tr("图库资源有更改，是否继续下载当前项目到显示屏上？（建议您先下载图片资源）") + QLatin1Char('\n') +
                    estimatedTimeText(pagesOnly));
    } else {
        message(m_questionBox, QMyMessageBox::Hint, 3, 11,
                warning + tr("是否下载当前项目到显示屏上？") + QLatin1Char('\n') + estimatedTimeText(job));
    }
}

void MainWindow::startProjectDownload()
{
    if (downloadBusy())
        return;
    // An answer to an earlier question while the next one is being judged starts nothing.
    if (m_judging->isRunning()) {
        message(m_infoBox, QMyMessageBox::Hint, 0, 0, judgingHint());
        return;
    }
    const bool withPictures = m_questionBox->downloadResourcesChecked();
    DownloadJob judged;
    const QString folder = projectFolder();
    if (m_questionJob && m_questionJob->folder == folder &&
        m_questionJob->folderStamp == pictureFolderStamp(folder)) {
        judged = m_questionJob->job;
    } else {
        // The pictures changed since the question was asked: what is sent is judged again.
        m_questionJob.reset();
        if (!judgedJob(projectData(), DownloadMode::PagesOnly, JobPictures::VerdictsAndPixels, &judged) ||
            downloadBusy())
            return;
    }
    m_questionJob.reset();
    // The pages and boot settings as they are now: the question did not hold the window.
    DownloadJob job =
        withLinkSettings(jobFromProject(projectData(), folder, DownloadMode::PagesOnly, JobPictures::None));
    job.pictures = judged.pictures;
    if (withPictures && !job.pictures.isEmpty()) {
        job.mode = DownloadMode::PicturesAndPages;
        job.pixelBlock = judged.pixelBlock;
        job.pixelsReady = judged.pixelsReady;
    }
    startDownloadJob(job);
}

void MainWindow::on_btnDownLoad_clicked()
{
    if (downloadBusy())
        return;
    const int tab = ui.tabWidgetImageFont->currentIndex();
    if (tab == 0) {
        DownloadJob job;
        if (!judgedJob(projectData(), DownloadMode::Pictures, JobPictures::ForMode, &job) || downloadBusy())
            return;
        if (job.pictures.isEmpty()) {
            message(m_infoBox, QMyMessageBox::Hint, 0, 0, tr("未添加图片无法下载，请您先添加图片！"));
            return;
        }
        startDownloadJob(job);
    } else if (tab == 1) {
        startDownloadJob(downloadJob(DownloadMode::Fonts));
    }
}

void MainWindow::slotReceivedSysDlg(int type, const QString &mes)
{
    if (downloadBusy())
        return;
    if (type < int(DownloadMode::Backlight) || type > int(DownloadMode::BusAddress))
        return;
    startDownloadJob(downloadJob(DownloadMode(type), mes + QStringLiteral("\r\n")));
}

void MainWindow::slotRecePortProbar(int total, int done)
{
    ui.progressBarDown->setRange(0, qMax(0, total));
    ui.progressBarDown->setValue(qBound(0, done, qMax(0, total)));
    // QProgressBar replaces only %p, %v and %m and has no escape; the detail's "%" is followed by a space.
    const QString detail = m_serialPortDlg->progressDetail();
    ui.progressBarDown->setFormat(detail.isEmpty() ? QStringLiteral("%p%") : detail);
    if (done == total) {
        ui.progressBarDown->hide();
        m_pictureLibraryChanged = false;
    } else {
        ui.progressBarDown->show();
    }
}

void MainWindow::appendReceived(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    ui.textBrowserRecv->append(text);
}

void MainWindow::slotRecvSerialPortMes(int type, const QString &mes)
{
    switch (type) {
    case SerialLink::LogLine: appendReceived(mes); break;
    case SerialLink::BaudConfirmed: {
        appendReceived(mes);
        m_sysDlg->setBaud(m_sysDlg->requestedBaud());
        m_baud = m_sysDlg->confirmedBaud();
        if (App::isProjectOpen() && !ProjectFile::updateBaud(App::projectPath(), m_baud))
            appendReceived(SerialLink::logLine(tr("--项目文件更新失败，波特率%1未写入项目文件！").arg(m_baud)));
        break;
    }
    case SerialLink::BacklightConfirmed:
        appendReceived(mes);
        applyBacklight(m_sysDlg->requestedBacklight());
        break;
    case SerialLink::BootScriptSent:
        // The module now holds the backlight the boot script carried, whatever was requested.
        applyBacklight(m_bootBacklight >= 0 ? m_bootBacklight : m_sysDlg->confirmedBacklight());
        break;
    default: break;
    }
}

void MainWindow::applyBacklight(int value)
{
    m_sysDlg->setBacklight(value);
    if (m_blValue == value && m_blValueSaved)
        return;
    m_blValue = value;
    m_blValueSaved = !App::isProjectOpen() || ProjectFile::updateBlValue(App::projectPath(), m_blValue);
    if (!m_blValueSaved)
        appendReceived(SerialLink::logLine(tr("--项目文件更新失败，背光值%1未写入项目文件！").arg(m_blValue)));
}

void MainWindow::on_btnSetCOM_clicked()
{
    m_serialPortDlg->setVirtualScreen(pageSize());
    m_serialPortDlg->refreshPorts();
    m_serialPortDlg->show();
    m_serialPortDlg->raise();
}

void MainWindow::on_btnSetSys_clicked() { m_sysDlg->showFor(m_baud, m_blValue); }

// ---- console --------------------------------------------------------------------------------

void MainWindow::refreshInstrCount()
{
    const QString text = ui.textBrowser->toPlainText();
    ui.labInstrCount->setText(text.isEmpty() ? QString()
                                             : tr("%1字节").arg(ModuleText::byteCount(text + QStringLiteral("\r\n"))));
}

void MainWindow::on_listViewCmd_doubleClicked(const QModelIndex &index)
{
    if (!index.isValid() || index.row() >= m_cmdList.size())
        return;
    QTextCursor cursor = ui.textBrowser->textCursor();
    cursor.movePosition(QTextCursor::End);
    ui.textBrowser->setTextCursor(cursor);
    ui.textBrowser->insertPlainText(m_cmdList.at(index.row()));
    refreshInstrCount();
}

void MainWindow::on_textBrowser_textChanged() { refreshInstrCount(); }

void MainWindow::refreshSendTarget()
{
    // Called before the simulator exists (the first retranslation).
    if (!m_simulator)
        return;
    const SerialLink *link = m_serialPortDlg->link();
    m_consoleTarget.setPortOpen(link->isOpen());
    m_consoleTarget.setSimulatorRunning(m_simulator->isRunning());
    QComboBox *box = ui.cbSendTarget;
    const QSignalBlocker blocker(box);
    box->clear();
    QString portName = link->portName();
    if (portName.startsWith(QLatin1String("/dev/")))
        portName = portName.mid(5);
    for (ConsoleTarget::Target t : m_consoleTarget.available())
        box->addItem(t == ConsoleTarget::Port ? tr("串口%1").arg(portName) : tr("模拟器"), int(t));
    if (box->count() == 0)
        box->addItem(tr("未连接"), int(ConsoleTarget::None));
    box->setCurrentIndex(qMax(0, box->findData(int(m_consoleTarget.current()))));
    box->setEnabled(m_consoleTarget.current() != ConsoleTarget::None);
    box->setToolTip(tr("控制台指令发送到的地方：已打开的串口，或正在运行的模拟器"));
}

void MainWindow::on_btnSendCmd_clicked()
{
    const QString text = ui.textBrowser->toPlainText();
    if (text.isEmpty()) {
        message(m_infoBox, QMyMessageBox::Hint, 0, 0, tr("发送指令集内容不能为空！"));
        return;
    }
    const ConsoleTarget::Target target = m_consoleTarget.current();
    if (target == ConsoleTarget::None) {
        message(m_infoBox, QMyMessageBox::Warning, 0, 0,
                tr("没有发送目标，请您先在“端口选择”中打开串口，或点击“模拟运行”！"));
        return;
    }
    if (target == ConsoleTarget::Simulator) {
        QString error;
        if (!m_simulator->send(text, &error))
            message(m_infoBox, QMyMessageBox::Warning, 0, 0, error);
        return;
    }
    if (downloadBusy())
        return;
    startDownloadJob(downloadJob(DownloadMode::Command, text + QStringLiteral("\r\n")));
}

void MainWindow::on_btnClearCmd_clicked()
{
    ui.textBrowser->clear();
    ui.labInstrCount->setText(QString());
}

void MainWindow::on_btnClearRecv_clicked() { ui.textBrowserRecv->clear(); }

// ---- closing during a job -------------------------------------------------------------------

bool MainWindow::downloadHoldsClose()
{
    // Asked to close, nobody waits for a download question any more (it would take the place of
    // the question about saving).
    m_judging->cancel();
    // A batch talks to modules as much as a single download does: the same question.
    if (m_stopDownloadConfirmed || (!m_serialPortDlg->isBusy() && !m_batchDlg->isRunning()))
        return false;
    message(m_questionBox, QMyMessageBox::Warning, 2, StopDownloadQuestion, tr("正在与显示屏通信，是否停止并退出？"));
    return true;
}

void MainWindow::stopDownloadAndClose()
{
    m_stopDownloadConfirmed = true;
    m_serialPortDlg->shutDown();
    m_batchDlg->stop();
    close();
}

void MainWindow::shutDownDownload()
{
    m_judging->cancel();
    m_questionJob.reset();
    m_serialPortDlg->shutDown();
}
