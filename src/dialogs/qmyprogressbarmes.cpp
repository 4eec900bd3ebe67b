#include "qmyprogressbarmes.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

QMyProgressBarMes::QMyProgressBarMes(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("QMyProgressBarMes"));
    setWindowTitle(QStringLiteral("Dialog"));
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

QString QMyProgressBarMes::detail() const { return m_labDetail->text(); }

void QMyProgressBarMes::retranslate() { m_btnClose->setText(m_finished ? tr("完成") : tr("关闭")); }

void QMyProgressBarMes::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(e);
}

void QMyProgressBarMes::on_btnClose_clicked() { hide(); }
