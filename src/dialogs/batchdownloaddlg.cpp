#include "batchdownloaddlg.h"

#include "batchdownload.h"
#include "download/transferestimate.h"
#include "modulefinder.h"
#include "productionwatch.h"
#include "virtualportthread.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPointer>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace {

template <typename T>
T *named(T *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

constexpr int PathRole = Qt::UserRole;
constexpr int MaxVirtualModules = 16;

}  // namespace

BatchDownloadDlg::BatchDownloadDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BatchDownloadDlg"));
    resize(860, 560);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    m_labPorts = new QLabel(this);
    m_portList = named(new QListWidget(this), "portList");
    m_portList->setMaximumHeight(110);
    m_portPath = named(new QLineEdit(this), "portPath");
    m_btnAddPort = named(new QPushButton(this), "btnAddPort");
    m_labVirtual = new QLabel(this);
    m_virtualCount = named(new QSpinBox(this), "virtualCount");
    m_virtualCount->setRange(0, MaxVirtualModules);
    m_labMode = new QLabel(this);
    m_modeCombox = named(new QComboBox(this), "modeCombox");
    for (int i = 0; i < 4; ++i)
        m_modeCombox->addItem(QString());
    m_labBaud = new QLabel(this);
    m_baudCombox = named(new QComboBox(this), "baudCombox");
    m_baudCombox->addItems(ModuleFinder::baudRates());
    m_baudCombox->setCurrentText(QStringLiteral("115200"));
    m_autoSwitch = named(new QCheckBox(this), "autoSwitch");
    m_labNote = named(new QLabel(this), "labNote");
    m_labNote->setWordWrap(true);
    m_labNote->setStyleSheet(QStringLiteral("color:gray;"));
    m_btnStart = named(new QPushButton(this), "btnStart");
    m_btnStop = named(new QPushButton(this), "btnStop");
    m_btnClose = named(new QPushButton(this), "btnClose");
    m_table = named(new QTableWidget(0, ColumnCount, this), "table");
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(ResultColumn, QHeaderView::Stretch);
    m_table->setColumnWidth(PortColumn, 130);
    m_table->setColumnWidth(ProgressColumn, 140);
    m_table->setColumnWidth(RateColumn, 90);
    m_table->setColumnWidth(LeftColumn, 76);
    m_labTotals = named(new QLabel(this), "labTotals");
    m_labMessage = named(new QLabel(this), "labMessage");
    m_labMessage->setWordWrap(true);
    m_labMessage->setStyleSheet(QStringLiteral("color:red;"));

    auto *options = new QGridLayout;
    options->addWidget(m_labPorts, 0, 0, Qt::AlignTop);
    options->addWidget(m_portList, 0, 1, 1, 3);
    auto *typed = new QHBoxLayout;
    typed->addWidget(m_portPath, 1);
    typed->addWidget(m_btnAddPort);
    options->addLayout(typed, 1, 1, 1, 3);
    options->addWidget(m_labVirtual, 2, 0);
    options->addWidget(m_virtualCount, 2, 1);
    options->addWidget(m_labMode, 3, 0);
    options->addWidget(m_modeCombox, 3, 1);
    options->addWidget(m_labBaud, 3, 2);
    options->addWidget(m_baudCombox, 3, 3);
    options->addWidget(m_autoSwitch, 4, 0, 1, 4);
    options->addWidget(m_labNote, 5, 0, 1, 4);
    options->setColumnStretch(1, 1);
    options->setColumnStretch(3, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_labTotals, 1);
    buttons->addWidget(m_btnStart);
    buttons->addWidget(m_btnStop);
    buttons->addWidget(m_btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(m_labMessage);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    connect(m_btnStart, &QPushButton::clicked, this, &BatchDownloadDlg::on_btnStart_clicked);
    connect(m_btnStop, &QPushButton::clicked, this, &BatchDownloadDlg::stop);
    connect(m_btnAddPort, &QPushButton::clicked, this, &BatchDownloadDlg::on_btnAddPort_clicked);
    connect(m_portPath, &QLineEdit::returnPressed, this, &BatchDownloadDlg::on_btnAddPort_clicked);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::hide);

    retranslate();
    refreshPorts();
    updateControls();
}

// Jobs still running end with the dialog (the window is closing).
BatchDownloadDlg::~BatchDownloadDlg()
{
    m_watch.reset();
    m_batch.reset();
    m_virtuals.clear();
}

void BatchDownloadDlg::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(e);
}

void BatchDownloadDlg::retranslate()
{
    setWindowTitle(tr("批量下载"));
    m_labPorts->setText(tr("端口："));
    m_labVirtual->setText(tr("虚拟模块："));
    m_labMode->setText(tr("下载内容："));
    m_labBaud->setText(tr("波特率："));
    m_modeCombox->setItemText(0, tr("页面"));
    m_modeCombox->setItemText(1, tr("页面和图片资源"));
    m_modeCombox->setItemText(2, tr("图片资源"));
    m_modeCombox->setItemText(3, tr("字库"));
    m_autoSwitch->setText(tr("自动下载新接入的模块"));
    m_labNote->setText(tr("每个端口各自下载，互不影响。批量下载只读取项目，不会像单个下载那样把波特率和背光值写回项目文件。"));
    m_btnClose->setText(tr("关闭"));
    m_btnStop->setText(tr("停止"));
    m_btnAddPort->setText(tr("添加"));
    m_portPath->setPlaceholderText(tr("输入设备路径，如 /dev/ttyUSB0"));
    m_table->setHorizontalHeaderLabels({tr("端口"), tr("进度"), tr("速率"), tr("剩余时间"), tr("结果")});
    if (m_batch)
        for (int i = 0; i < m_batch->count(); ++i)
            updateRow(i);
    updateControls();
}

void BatchDownloadDlg::setDefaults(int baud, const QSize &virtualScreen)
{
    if (!virtualScreen.isEmpty())
        m_virtualScreen = virtualScreen;
    const int i = m_baudCombox->findText(QString::number(baud));
    if (i >= 0 && !isRunning())
        m_baudCombox->setCurrentIndex(i);
}

void BatchDownloadDlg::refreshPorts()
{
    QStringList checked;
    for (int i = 0; i < m_portList->count(); ++i)
        if (m_portList->item(i)->checkState() == Qt::Checked)
            checked << m_portList->item(i)->data(PathRole).toString();
    m_portList->clear();
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        auto *item = new QListWidgetItem(info.portName(), m_portList);
        item->setData(PathRole, info.systemLocation());
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(checked.contains(info.systemLocation()) ? Qt::Checked : Qt::Unchecked);
    }
    // Typed paths stay while checked.
    for (const QString &path : checked)
        if (m_portList->findItems(QSerialPortInfo(path).portName(), Qt::MatchExactly).isEmpty())
            addPort(path);
}

void BatchDownloadDlg::addPort(const QString &port)
{
    for (int i = 0; i < m_portList->count(); ++i) {
        QListWidgetItem *item = m_portList->item(i);
        if (BatchDownload::deviceKey(item->data(PathRole).toString()) == BatchDownload::deviceKey(port)) {
            item->setCheckState(Qt::Checked);
            return;
        }
    }
    auto *item = new QListWidgetItem(port, m_portList);
    item->setData(PathRole, port);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
}

QString BatchDownloadDlg::portEntryProblem(const QString &entry)
{
    const QString name = entry.trimmed();
    if (name.isEmpty())
        return tr("请输入串口的设备路径！");
    // As the command line takes it: a bare name is a device under /dev.
    const QString path = name.contains(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
    struct stat st {};
    // stat() only looks: a FIFO or a file typed here is never opened.
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return tr("%1不是串口设备！").arg(name);
    return QString();
}

void BatchDownloadDlg::on_btnAddPort_clicked()
{
    if (isRunning())
        return;
    const QString entry = m_portPath->text().trimmed();
    const QString problem = portEntryProblem(entry);
    if (!problem.isEmpty()) {
        showProblem(problem);
        return;
    }
    showProblem(QString());
    addPort(entry.contains(QLatin1Char('/')) ? entry : QStringLiteral("/dev/") + entry);
    m_portPath->clear();
}

void BatchDownloadDlg::stop()
{
    if (!isRunning())
        return;
    if (m_watch)
        m_watch->stop();
    if (m_batch)
        m_batch->stopAll();
    m_btnStop->setEnabled(false);
}

bool BatchDownloadDlg::isRunning() const { return m_watch || (m_batch && m_batch->isRunning()); }

DownloadMode BatchDownloadDlg::chosenMode() const
{
    switch (m_modeCombox->currentIndex()) {
    case 1: return DownloadMode::PicturesAndPages;
    case 2: return DownloadMode::Pictures;
    case 3: return DownloadMode::Fonts;
    default: return DownloadMode::PagesOnly;
    }
}

void BatchDownloadDlg::showProblem(const QString &text)
{
    m_problem = text;
    m_labMessage->setText(text);
}

void BatchDownloadDlg::on_btnStart_clicked()
{
    if (m_watch) {
        // Production mode ends once the modules being downloaded are done.
        m_watch->stop();
        m_btnStart->setEnabled(false);
        return;
    }
    if (isRunning())
        return;
    showProblem(QString());
    // The reasons a single download refuses, checked once before any port.
    QString problem = m_refusalSource ? m_refusalSource() : QString();
    DownloadJob job;
    if (problem.isEmpty()) {
        // The window judges the pictures with its events running: the dialog may be gone after.
        const QPointer<BatchDownloadDlg> alive(this);
        const bool made = !m_jobSource || m_jobSource(chosenMode(), &job);
        if (!alive || !made)
            return;
        problem = BatchDownload::refusal(job);
    }
    if (!problem.isEmpty()) {
        showProblem(problem);
        return;
    }
    QStringList ports, labels;
    for (int i = 0; i < m_portList->count(); ++i) {
        const QListWidgetItem *item = m_portList->item(i);
        if (item->checkState() == Qt::Checked) {
            ports << item->data(PathRole).toString();
            labels << item->text();
        }
    }
    const QString duplicate = BatchDownload::duplicateMessage(ports);
    if (!duplicate.isEmpty()) {
        showProblem(duplicate);
        return;
    }
    const bool production = m_autoSwitch->isChecked();
    if (ports.isEmpty() && m_virtualCount->value() == 0 && !production) {
        showProblem(tr("请选择要下载的端口或虚拟模块！"));
        return;
    }
    bool ok = false;
    int baud = m_baudCombox->currentText().toInt(&ok);
    if (!ok || baud <= 0)
        baud = 115200;

    m_batch = std::make_unique<BatchDownload>();
    connect(m_batch.get(), &BatchDownload::jobStarted, this, &BatchDownloadDlg::addRow);
    connect(m_batch.get(), &BatchDownload::progressChanged, this, &BatchDownloadDlg::updateRow);
    connect(m_batch.get(), &BatchDownload::jobFinished, this, [this](int i) {
        updateRow(i);
        updateTotals();
    });
    if (!production)
        connect(m_batch.get(), &BatchDownload::allFinished, this, &BatchDownloadDlg::onAllFinished);
    m_batch->setJob(job);
    m_table->setRowCount(0);
    m_rowOfJob.clear();
    m_virtuals.clear();
    for (int i = 0; i < m_virtualCount->value(); ++i) {
        // Like a real module it listens at one rate, and its line carries no more than that.
        ModuleSettings settings;
        settings.baud = baud;
        settings.screen = m_virtualScreen;
        auto module = std::make_unique<VirtualPortThread>();
        QString error;
        if (!module->start(settings, baud, &error)) {
            showProblem(tr("虚拟模块无法启动：%1").arg(error));
            break;
        }
        ports << module->devicePath();
        labels << tr("虚拟模块%1").arg(i + 1);
        m_virtuals.push_back(std::move(module));
    }
    if (production) {
        m_watch = std::make_unique<ProductionWatch>(m_batch.get(), baud);
        connect(m_watch.get(), &ProductionWatch::stopped, this, &BatchDownloadDlg::onAllFinished);
        for (int i = 0; i < ports.size(); ++i)
            m_watch->watchPort(ports.at(i), labels.at(i));
    } else {
        for (int i = 0; i < ports.size(); ++i)
            m_batch->addPort(ports.at(i), baud, labels.at(i));
    }
    updateTotals();
    updateControls();
}

void BatchDownloadDlg::slotComStatus(const QString &name, bool arrived)
{
    if (arrived) {
        bool known = false;
        for (int i = 0; i < m_portList->count() && !known; ++i)
            known = m_portList->item(i)->text() == name;
        if (!known) {
            auto *item = new QListWidgetItem(name, m_portList);
            item->setData(PathRole, QSerialPortInfo(name).systemLocation());
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    } else {
        const QList<QListWidgetItem *> items = m_portList->findItems(name, Qt::MatchExactly);
        for (QListWidgetItem *item : items)
            delete item;
    }
    if (m_watch)
        m_watch->portChanged(name, arrived);
    else if (!arrived && m_batch)
        m_batch->portRemoved(name);
}

void BatchDownloadDlg::addRow(int index)
{
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    if (m_rowOfJob.size() <= index)
        m_rowOfJob.resize(index + 1);
    m_rowOfJob[index] = row;
    for (int c = 0; c < ColumnCount; ++c)
        if (c != ProgressColumn)
            m_table->setItem(row, c, new QTableWidgetItem);
    auto *bar = new QProgressBar(m_table);
    bar->setRange(0, 1000);
    bar->setFormat(QStringLiteral("%p%"));
    m_table->setCellWidget(row, ProgressColumn, bar);
    updateRow(index);
    m_table->scrollToBottom();
}

void BatchDownloadDlg::updateRow(int index)
{
    if (!m_batch || index >= m_rowOfJob.size())
        return;
    const int row = m_rowOfJob.at(index);
    const BatchJobState &s = m_batch->state(index);
    auto *bar = qobject_cast<QProgressBar *>(m_table->cellWidget(row, ProgressColumn));
    const TransferEstimate e = BatchDownload::estimate(s);
    if (bar)
        bar->setValue(s.totalBytes > 0 ? int(s.doneBytes * 1000 / s.totalBytes) : 0);
    m_table->item(row, PortColumn)->setText(s.label);
    QTableWidgetItem *result = m_table->item(row, ResultColumn);
    if (!s.finished()) {
        m_table->item(row, RateColumn)->setText(Transfer::formatBytes(qint64(e.bytesPerSecond)) + QStringLiteral("/s"));
        m_table->item(row, LeftColumn)->setText(Transfer::formatDuration(e.msLeft));
        result->setText(tr("下载中"));
        result->setForeground(palette().text());
        return;
    }
    const double seconds = double(s.elapsedMs) / 1000.0;
    // The average of a whole download; a failed one says nothing about the line.
    const bool ok = s.status == BatchJobState::Succeeded;
    m_table->item(row, RateColumn)->setText(ok && seconds > 0 ? Transfer::formatBytes(qint64(double(s.doneBytes) / seconds)) +
                                                                     QStringLiteral("/s")
                                                               : QString());
    m_table->item(row, LeftColumn)->setText(QString());
    if (ok) {
        result->setText(tr("成功，用时%1秒").arg(QString::number(seconds, 'f', 1)));
        result->setForeground(QColor(0, 128, 0));
    } else if (s.status == BatchJobState::Stopped) {
        result->setText(BatchDownload::stoppedText());
        result->setForeground(QColor(150, 90, 0));
    } else {
        result->setText(tr("失败：%1").arg(s.message));
        result->setForeground(QColor(200, 0, 0));
    }
    result->setToolTip(result->text());
}

void BatchDownloadDlg::updateTotals()
{
    if (!m_batch) {
        m_labTotals->clear();
        return;
    }
    const int stopped = m_batch->stoppedCount();
    if (stopped > 0)
        m_labTotals->setText(tr("成功%1个，失败%2个，已停止%3个，进行中%4个")
                                 .arg(m_batch->succeededCount())
                                 .arg(m_batch->failedCount())
                                 .arg(stopped)
                                 .arg(m_batch->runningCount()));
    else
        m_labTotals->setText(tr("成功%1个，失败%2个，进行中%3个")
                                 .arg(m_batch->succeededCount())
                                 .arg(m_batch->failedCount())
                                 .arg(m_batch->runningCount()));
}

void BatchDownloadDlg::updateControls()
{
    const bool running = isRunning();
    m_btnStart->setText(m_watch ? tr("停止自动下载") : tr("开始下载"));
    m_btnStart->setEnabled(!running || (m_watch && !m_watch->isStopping()));
    m_btnStop->setEnabled(running);
    m_portList->setEnabled(!running);
    m_portPath->setEnabled(!running);
    m_btnAddPort->setEnabled(!running);
    m_virtualCount->setEnabled(!running);
    m_modeCombox->setEnabled(!running);
    m_baudCombox->setEnabled(!running);
    m_autoSwitch->setEnabled(!running);
    if (m_batch)
        updateTotals();
}

void BatchDownloadDlg::onAllFinished()
{
    // Production mode ends with the watch's signal: let it return before the watch goes.
    if (m_watch)
        m_watch.release()->deleteLater();
    updateControls();
    if (m_batch)
        emit s_batchFinished(m_batch->succeededCount(), m_batch->failedCount());
}
