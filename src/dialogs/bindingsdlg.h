#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// What the firmware bindings export is asked for: the language, where the files go, the prefix
// of their names and whether the whole of GBK goes into the character table.
struct BindingsChoice {
    bool python = false;
    QString cFolder;
    QString pythonFile;
    QString prefix;
    bool allChars = false;
};

// "导出固件接口": picks a BindingsChoice, starting from the one given.
class BindingsDlg : public QDialog {
    Q_OBJECT
public:
    explicit BindingsDlg(const BindingsChoice &choice, QWidget *parent = nullptr);

    void retranslateUi();
    BindingsChoice choice() const;

    QRadioButton *rbC = nullptr;
    QRadioButton *rbPython = nullptr;
    QLabel *labPath = nullptr;
    QLineEdit *editPath = nullptr;
    QPushButton *btnBrowse = nullptr;
    QLabel *labPrefix = nullptr;
    QLineEdit *editPrefix = nullptr;
    QCheckBox *cbAllChars = nullptr;
    QLabel *labNote = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    void languageChanged();
    void browse();

    // The path field shows the folder for C and the file for Python; each is kept while the other shows.
    QString m_cFolder;
    QString m_pythonFile;
};
