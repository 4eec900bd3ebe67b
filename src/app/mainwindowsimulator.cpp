// "模拟运行": the open project in the simulator window.
#include "mainwindow.h"

#include "appglobals.h"
#include "download/downloadcheck.h"
#include "dialogs/qmymessagebox.h"
#include "simulatorrun.h"
#include "simulatorwindow.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGraphicsDropShadowEffect>
#include <QPushButton>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>

namespace {

// The layout that holds a widget, searched from a top layout down.
QBoxLayout *boxHolding(QLayout *layout, QWidget *w)
{
    if (!layout)
        return nullptr;
    if (layout->indexOf(w) >= 0)
        return qobject_cast<QBoxLayout *>(layout);
    for (int i = 0; i < layout->count(); ++i) {
        if (QBoxLayout *found = boxHolding(layout->itemAt(i)->layout(), w))
            return found;
    }
    return nullptr;
}

}  // namespace

void MainWindow::setupSimulator()
{
    m_simulator = new SimulatorRun(this, this);
    m_btnSimulate = new QToolButton(ui.btnInstrDownLoad->parentWidget());
    m_btnSimulate->setObjectName(QStringLiteral("btnSimulate"));
    m_btnSimulate->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_btnSimulate->setIconSize(ui.btnInstrDownLoad->iconSize());
    m_btnSimulate->setToolButtonStyle(ui.btnInstrDownLoad->toolButtonStyle());
    m_btnSimulate->setAutoRaise(ui.btnInstrDownLoad->autoRaise());
    m_btnSimulate->setMinimumSize(ui.btnInstrDownLoad->minimumSize());
    // Looks like the tool buttons beside it.
    auto *shadow = new QGraphicsDropShadowEffect(m_btnSimulate);
    shadow->setOffset(1, 2);
    shadow->setColor(QColor(43, 43, 43, 255));
    shadow->setBlurRadius(8);
    m_btnSimulate->setGraphicsEffect(shadow);
    if (QBoxLayout *bar = boxHolding(ui.centralWidget->layout(), ui.btnInstrDownLoad))
        bar->insertWidget(bar->indexOf(ui.btnInstrDownLoad) + 1, m_btnSimulate);
    connect(m_btnSimulate, &QToolButton::clicked, this, &MainWindow::on_btnSimulate_clicked);
    connect(m_simulator, &SimulatorRun::s_finished, this, [this](bool ok, const QString &message) {
        if (!ok && !message.isEmpty())
            m_infoBox->showMessage(QMyMessageBox::Warning, 0, 0, message);
    });
    // What the simulator answers is shown beside what the port answers, marked as its own.
    connect(m_simulator, &SimulatorRun::s_log, this, [this](const QString &line) {
        appendReceived(tr("[模拟器]") + QLatin1Char(' ') + line);
    });
    connect(m_simulator, &SimulatorRun::s_runningChanged, this, &MainWindow::refreshSendTarget);
    connect(ui.cbSendTarget, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        m_consoleTarget.choose(ConsoleTarget::Target(ui.cbSendTarget->itemData(index).toInt()));
        refreshSendTarget();
    });
    refreshSendTarget();
    retranslateSimulator();
}

void MainWindow::retranslateSimulator()
{
    m_btnSimulate->setText(tr("模拟运行"));
    m_btnSimulate->setToolTip(tr("下载当前项目到模拟器并显示模拟器窗口"));
}

SimulatorRun *MainWindow::simulator() const { return m_simulator; }

void MainWindow::on_btnSimulate_clicked()
{
    if (!App::projectPath().contains(QLatin1String(".Tavo"))) {
        m_infoBox->showMessage(QMyMessageBox::Hint, 0, 0, tr("未创建项目，请您先创建项目！"));
        return;
    }
    const ProjectData data = projectData();
    QString message;
    DownloadJob job;
    if (data.pages.isEmpty()) {
        message = tr("项目中没有页面，无法下载！");
    } else {
        if (!judgedJob(data, DownloadMode::PicturesAndPages, JobPictures::ForMode, &job))
            return;
        // Without pictures it is a page download.
        if (job.pictures.isEmpty()) {
            job.mode = DownloadMode::PagesOnly;
            job.pixelBlock.clear();
            job.pixelsReady = false;
        }
        message = DownloadCheck::firstMessage(job);
    }
    if (message.isEmpty() && !m_simulator->start(job, pageSize(), &message) && message.isEmpty())
        message = tr("下载中请稍后重试！");
    if (!message.isEmpty())
        m_infoBox->showMessage(QMyMessageBox::Warning, 0, 0, message);
}
