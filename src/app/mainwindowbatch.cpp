// "批量下载": the open project to many modules at once, beside the download button.
#include "mainwindow.h"

#include "appglobals.h"
#include "dialogs/batchdownloaddlg.h"
#include "qmynativeeventfilter.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QStyle>
#include <QToolButton>

namespace {

// Says its own text again when the language changes.
class BatchDownloadButton : public QToolButton {
public:
    explicit BatchDownloadButton(QWidget *parent) : QToolButton(parent) { retranslate(); }

protected:
    void changeEvent(QEvent *e) override
    {
        if (e->type() == QEvent::LanguageChange)
            retranslate();
        QToolButton::changeEvent(e);
    }

private:
    void retranslate()
    {
        setText(MainWindow::tr("批量下载"));
        setToolTip(MainWindow::tr("把当前项目同时下载到多个模块"));
    }
};

QBoxLayout *layoutHolding(QLayout *layout, QWidget *w)
{
    if (!layout)
        return nullptr;
    if (layout->indexOf(w) >= 0)
        return qobject_cast<QBoxLayout *>(layout);
    for (int i = 0; i < layout->count(); ++i)
        if (QBoxLayout *found = layoutHolding(layout->itemAt(i)->layout(), w))
            return found;
    return nullptr;
}

}  // namespace

void MainWindow::setupBatchDownload()
{
    QToolButton *download = ui.btnInstrDownLoad;
    auto *button = new BatchDownloadButton(download->parentWidget());
    button->setObjectName(QStringLiteral("btnBatchDownload"));
    button->setIcon(download->icon());
    button->setIconSize(download->iconSize());
    button->setToolButtonStyle(download->toolButtonStyle());
    button->setAutoRaise(download->autoRaise());
    button->setMinimumSize(download->minimumSize());
    auto *shadow = new QGraphicsDropShadowEffect(button);
    shadow->setOffset(1, 2);
    shadow->setColor(QColor(43, 43, 43, 255));
    shadow->setBlurRadius(8);
    button->setGraphicsEffect(shadow);
    if (QBoxLayout *bar = layoutHolding(ui.centralWidget->layout(), download))
        bar->insertWidget(bar->indexOf(download) + 1, button);
    connect(button, &QToolButton::clicked, this, &MainWindow::on_btnBatchDownload_clicked);

    m_batchDlg = new BatchDownloadDlg(this);
    // Judged off the interface thread like a single download: each picture decoded once, its
    // pixels for every module.
    m_batchDlg->setJobSource(
        [this](DownloadMode mode, DownloadJob *job) { return judgedJob(projectData(), mode, JobPictures::ForMode, job); });
    m_batchDlg->setRefusalSource([this] {
        if (!App::isProjectOpen())
            return tr("未创建项目，请您先创建项目！");
        if (downloadRunning())
            return tr("下载中请稍后重试！");
        return QString();
    });
    connect(m_portWatcher, &QMyNativeEventFilter::comStatus, m_batchDlg, &BatchDownloadDlg::slotComStatus);
}

void MainWindow::on_btnBatchDownload_clicked()
{
    m_batchDlg->setDefaults(m_baud.toInt(), pageSize());
    if (!m_batchDlg->isRunning())
        m_batchDlg->refreshPorts();
    m_batchDlg->show();
    m_batchDlg->raise();
}
