#include "qmyprogressbarmes.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

QMyProgressBarMes::QMyProgressBarMes(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("QMyProgressBarMes"));
    setWindowTitle(tr("下载进度"));
    // Wide enough for the bytes, rate and time left under the bar.
    resize(360, 130);

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setGeometry(30, 24, 300, 21);
    m_progressBar->setValue(0);

    m_labDetail = new QLabel(this);
    m_labDetail->setObjectName(QStringLiteral("labDetail"));
    m_labDetail->setGeometry(10, 52, 340, 22);
    m_labDetail->setAlignment(Qt::AlignCenter);
    m_labDetail->setStyleSheet(QStringLiteral("color:rgb(70, 70, 70);"));

    m_labResult = new QLabel(this);
    m_labResult->setObjectName(QStringLiteral("labResult"));
    m_labResult->setGeometry(10, 86, 250, 31);

    m_btnClose = new QPushButton(this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setGeometry(269, 86, 61, 31);

    connect(m_btnClose, &QPushButton::clicked, this, &QMyProgressBarMes::on_btnClose_clicked);
    retranslate();
    hide();
}

void QMyProgressBarMes::startProgress()
{
    m_finished = false;
    m_labResult->clear();
    m_btnClose->setText(tr("关闭"));
    show();
}

void QMyProgressBarMes::setProgressTitle(const QString &title) { setWindowTitle(title); }

void QMyProgressBarMes::setProgress(int total, int done)
{
    if (done == total) {
        m_finished = true;
        m_btnClose->setText(tr("完成"));
        show();
    }
    m_progressBar->setOrientation(Qt::Horizontal);
    m_progressBar->setRange(0, qMax(0, total));
    m_progressBar->setValue(qBound(0, done, qMax(0, total)));
}

void QMyProgressBarMes::setDetail(const QString &text)
{
    m_labDetail->setText(text);
    m_labDetail->setToolTip(text);
}

void QMyProgressBarMes::finish(bool ok, const QString &text)
{
    m_finished = true;
    m_btnClose->setText(tr("完成"));
    showResult(text, ok ? QStringLiteral("color:rgb(0, 128, 0);") : QStringLiteral("color:rgb(200, 0, 0);"));
    show();
    raise();
}

void QMyProgressBarMes::setStatus(const QString &text)
{
    if (!m_finished)
        showResult(text, QStringLiteral("color:rgb(70, 70, 70);"));
}

void QMyProgressBarMes::showResult(const QString &text, const QString &style)
{
    m_labResult->setStyleSheet(style);
    m_labResult->setText(m_labResult->fontMetrics().elidedText(text, Qt::ElideRight, m_labResult->width()));
    m_labResult->setToolTip(text);
}

QString QMyProgressBarMes::detail() const { return m_labDetail->text(); }

QString QMyProgressBarMes::result() const { return m_labResult->toolTip(); }

void QMyProgressBarMes::retranslate() { m_btnClose->setText(m_finished ? tr("完成") : tr("关闭")); }

void QMyProgressBarMes::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(e);
}

void QMyProgressBarMes::on_btnClose_clicked() { hide(); }
