#include "colordlg.h"

#include "colordraw.h"
#include "model/colortable.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ColorDlg::ColorDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ColorDlg"));
    resize(757, 394);
    setWindowFlags(Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

    m_colorFrame = new ColorDraw(this);
    m_colorFrame->setObjectName(QStringLiteral("colorFrame"));
    m_colorFrame->setGeometry(10, 10, 731, 311);
    m_colorFrame->setFrameShape(QFrame::StyledPanel);
    m_colorFrame->setFrameShadow(QFrame::Raised);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setGeometry(50, 350, 81, 31);

    m_editColor = new QLineEdit(this);
    m_editColor->setObjectName(QStringLiteral("editColor"));
    m_editColor->setGeometry(150, 350, 181, 31);
    m_editColor->setEnabled(false);

    m_labNum = new QLabel(this);
    m_labNum->setObjectName(QStringLiteral("labNum"));
    m_labNum->setGeometry(340, 350, 54, 31);

    m_btnOK = new QPushButton(this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setGeometry(580, 340, 75, 41);

    m_btnCancel = new QPushButton(this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setGeometry(670, 340, 75, 41);

    connect(m_colorFrame, &ColorDraw::s_selectColorNum, this, &ColorDlg::slotSelectColorNum);
    connect(m_btnOK, &QPushButton::clicked, this, &ColorDlg::on_btnOK_clicked);
    connect(m_btnCancel, &QPushButton::clicked, this, &ColorDlg::on_btnCancel_clicked);
    retranslate();
}

void ColorDlg::retranslate()
{
    setWindowTitle(tr("颜色表"));
    m_label->setText(tr("当前颜色："));
    m_btnOK->setText(tr("确定"));
    m_btnCancel->setText(tr("取消"));
    // Widths follow the texts so that no language cuts them; the buttons keep their right edge.
    const int labelW = qMax(81, m_label->sizeHint().width());
    m_label->setGeometry(50, 350, labelW, 31);
    m_editColor->move(m_label->geometry().right() + 20, 350);
    m_labNum->move(m_editColor->geometry().right() + 10, 350);
    const int cancelW = qMax(75, m_btnCancel->sizeHint().width());
    const int okW = qMax(75, m_btnOK->sizeHint().width());
    m_btnCancel->setGeometry(745 - cancelW, 340, cancelW, 41);
    m_btnOK->setGeometry(m_btnCancel->x() - 15 - okW, 340, okW, 41);
}

void ColorDlg::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(e);
}

void ColorDlg::slotSelectColorNum(int n) { showColorNum(n); }

void ColorDlg::showColorNum(int n)
{
    // Out-of-range numbers come only from damaged files; show them as they are, in the table's
    // fallback colour, so the caller's value is not silently changed.
    const QColor c = ColorTable::colorAt(n);
    m_editColor->setStyleSheet(
        QStringLiteral("background-color:rgb(%1,%2,%3);").arg(c.red()).arg(c.green()).arg(c.blue()));
    m_labNum->setText(QString::number(n));
    m_colorNum = n;
}

bool ColorDlg::execWithColorNum(int n)
{
    showColorNum(n);
    return exec() == QDialog::Accepted;
}

void ColorDlg::on_btnOK_clicked() { done(QDialog::Accepted); }

void ColorDlg::on_btnCancel_clicked() { done(QDialog::Rejected); }
