#pragma once

#include "systemsettings.h"

#include <QDialog>

class QButtonGroup;
class QPushButton;
class QRadioButton;

// Switches the interface between Chinese and English at run time.
class LanguageDlg : public QDialog {
    Q_OBJECT
public:
    explicit LanguageDlg(QWidget *parent = nullptr);

    void retranslateUi();
    int checkedId() const;
    const SystemSettings &settings() const { return m_settings; }

    QRadioButton *rbChinese = nullptr;
    QRadioButton *rbEnglish = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

signals:
    void s_translator(QString path);

public slots:
    void on_btnOK_clicked();
    void on_btnCancel_clicked();

private:
    SystemSettings m_settings;
    QButtonGroup *m_group = nullptr;
};
