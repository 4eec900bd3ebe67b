#include "bindingsdlg.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

BindingsDlg::BindingsDlg(const BindingsChoice &choice, QWidget *parent)
    : QDialog(parent), m_cFolder(choice.cFolder), m_pythonFile(choice.pythonFile)
{
    setObjectName(QStringLiteral("BindingsDlg"));
    rbC = new QRadioButton(this);
    rbC->setObjectName(QStringLiteral("rbC"));
    rbPython = new QRadioButton(this);
    rbPython->setObjectName(QStringLiteral("rbPython"));
    labPath = new QLabel(this);
    editPath = new QLineEdit(this);
    editPath->setObjectName(QStringLiteral("editPath"));
    btnBrowse = new QPushButton(this);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    labPrefix = new QLabel(this);
    editPrefix = new QLineEdit(choice.prefix, this);
    editPrefix->setObjectName(QStringLiteral("editPrefix"));
    cbAllChars = new QCheckBox(this);
    cbAllChars->setObjectName(QStringLiteral("cbAllChars"));
    cbAllChars->setChecked(choice.allChars);
    labNote = new QLabel(this);
    labNote->setWordWrap(true);
    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto *grid = new QGridLayout(this);
    auto *kinds = new QHBoxLayout;
    kinds->addWidget(rbC);
    kinds->addWidget(rbPython);
    kinds->addStretch();
    grid->addLayout(kinds, 0, 0, 1, 3);
    grid->addWidget(labPath, 1, 0);
    grid->addWidget(editPath, 1, 1);
    grid->addWidget(btnBrowse, 1, 2);
    grid->addWidget(labPrefix, 2, 0);
    grid->addWidget(editPrefix, 2, 1, 1, 2);
    grid->addWidget(cbAllChars, 3, 0, 1, 3);
    grid->addWidget(labNote, 4, 0, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 5, 0, 1, 3);
    grid->setColumnMinimumWidth(1, 320);

    (choice.python ? rbPython : rbC)->setChecked(true);
    editPath->setText(choice.python ? m_pythonFile : m_cFolder);
    connect(rbPython, &QRadioButton::toggled, this, &BindingsDlg::languageChanged);
    connect(btnBrowse, &QPushButton::clicked, this, &BindingsDlg::browse);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    retranslateUi();
}

void BindingsDlg::retranslateUi()
{
    setWindowTitle(tr("导出固件接口"));
    rbC->setText(tr("C 语言（.h 和 .c）"));
    rbPython->setText(tr("Python 模块"));
    labPath->setText(rbPython->isChecked() ? tr("文件：") : tr("文件夹："));
    btnBrowse->setText(tr("浏览…"));
    labPrefix->setText(tr("名称前缀："));
    cbAllChars->setText(tr("包含全部GBK字符（固件可发送任意汉字，代码更大）"));
    labNote->setText(tr("生成的文件每次导出都会整个覆盖，请勿在其中编写自己的代码。"));
    btnOK->setText(tr("导出"));
    btnCancel->setText(tr("取消"));
}

BindingsChoice BindingsDlg::choice() const
{
    BindingsChoice c;
    c.python = rbPython->isChecked();
    c.cFolder = c.python ? m_cFolder : editPath->text().trimmed();
    c.pythonFile = c.python ? editPath->text().trimmed() : m_pythonFile;
    c.prefix = editPrefix->text().trimmed();
    c.allChars = cbAllChars->isChecked();
    return c;
}

void BindingsDlg::languageChanged()
{
    // The field switches between the folder and the file, keeping what was typed for each.
    if (rbPython->isChecked()) {
        m_cFolder = editPath->text().trimmed();
        editPath->setText(m_pythonFile);
    } else {
        m_pythonFile = editPath->text().trimmed();
        editPath->setText(m_cFolder);
    }
    retranslateUi();
}

void BindingsDlg::browse()
{
    const QString chosen = rbPython->isChecked()
                               ? QFileDialog::getSaveFileName(this, tr("导出固件接口"), editPath->text(), QStringLiteral("Python (*.py)"))
                               : QFileDialog::getExistingDirectory(this, tr("导出固件接口"), editPath->text());
    if (!chosen.isEmpty())
        editPath->setText(chosen);
}
