#include "languagedlg.h"

#include "appglobals.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>

LanguageDlg::LanguageDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("LanguageDlg"));
    resize(325, 148);
    auto *row = new QWidget(this);
    row->setObjectName(QStringLiteral("horizontalLayoutWidget"));
    row->setGeometry(20, 20, 271, 51);
    auto *lay = new QHBoxLayout(row);
    lay->setContentsMargins(0, 0, 0, 0);
    rbChinese = new QRadioButton(row);
    rbChinese->setObjectName(QStringLiteral("rbChinese"));
    rbChinese->setMinimumHeight(40);
    rbEnglish = new QRadioButton(row);
    rbEnglish->setObjectName(QStringLiteral("rbEnglish"));
    rbEnglish->setMinimumHeight(40);
    lay->addWidget(rbChinese);
    lay->addWidget(rbEnglish);
    m_group = new QButtonGroup(this);
    m_group->addButton(rbChinese, 1);
    m_group->addButton(rbEnglish, 2);

    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(174, 90, 61, 41);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(250, 90, 61, 41);
    connect(btnOK, &QPushButton::clicked, this, &LanguageDlg::on_btnOK_clicked);
    connect(btnCancel, &QPushButton::clicked, this, &LanguageDlg::on_btnCancel_clicked);

    if (m_settings.languageId() == 1)
        rbChinese->setChecked(true);
    else if (m_settings.languageId() == 2)
        rbEnglish->setChecked(true);
    retranslateUi();
    hide();
}

void LanguageDlg::retranslateUi()
{
    setWindowTitle(tr("语言选择"));
    rbChinese->setText(tr("简体中文"));
    rbEnglish->setText(tr("英文"));
    btnOK->setText(tr("确定"));
    btnCancel->setText(tr("取消"));
    // Widths follow the texts so that no language cuts them; the buttons keep their right edge.
    const int cancelW = qMax(61, btnCancel->sizeHint().width());
    const int okW = qMax(61, btnOK->sizeHint().width());
    btnCancel->setGeometry(311 - cancelW, 90, cancelW, 41);
    btnOK->setGeometry(btnCancel->x() - 15 - okW, 90, okW, 41);
}

int LanguageDlg::checkedId() const
{
    return m_group->checkedId();
}

void LanguageDlg::on_btnOK_clicked()
{
    const int id = checkedId();
    if (id == m_settings.languageId()) {
        hide();
        return;
    }
    const QString path = id == 2 ? QString::fromLatin1(App::EnglishTranslationPath) : QString();
    App::switchTranslator(path);
    emit s_translator(path);
    m_settings.setLanguage(id, path);
    hide();
}

void LanguageDlg::on_btnCancel_clicked()
{
    hide();
}
