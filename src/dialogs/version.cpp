#include "version.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

Version::Version(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Version"));
    resize(364, 165);
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setGeometry(30, 30, 131, 41);

    m_labVersion = new QLabel(this);
    m_labVersion->setObjectName(QStringLiteral("labVersion"));
    m_labVersion->setGeometry(170, 30, 131, 41);

    m_btnClose = new QPushButton(this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setGeometry(260, 110, 75, 41);

    connect(m_btnClose, &QPushButton::clicked, this, &Version::on_btnClose_clicked);
    retranslate();
    hide();
}

QString Version::versionText() { return QStringLiteral("V1.0.37"); }

QString Version::shownVersion() const { return m_labVersion->text(); }

void Version::retranslate()
{
    setWindowTitle(tr("版本信息"));
    m_label->setText(tr("版本信息："));
    // The version is not a translatable text.
    m_labVersion->setText(versionText());
    m_btnClose->setText(tr("关闭"));
}

void Version::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(e);
}

void Version::on_btnClose_clicked() { hide(); }
