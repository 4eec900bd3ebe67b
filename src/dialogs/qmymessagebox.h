#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

// The program's only message box: frameless, always on top, never blocking. A question's answer
// arrives later on s_sendIsNo: the question code for Yes, code + 1 for No. Buttons: 0 OK, 1 OK and
// Cancel, 2 Yes and No, 3 the same with "download resources too", 4 Yes, No and Cancel, where
// Cancel answers nothing and leaves everything as it was.
class QMyMessageBox : public QDialog {
    Q_OBJECT
public:
    enum Type { Hint = 0, Warning = 1, Error = 2 };

    explicit QMyMessageBox(QWidget *parent = nullptr);

    void showMessage(int type, int buttons, int code, const QString &text);
    bool downloadResourcesChecked() const;

    int code() const { return m_code; }
    QString message() const;
    QString title() const;

    // Re-applies every text in the current language.
    void retranslate();

signals:
    void s_sendIsNo(int code);

public slots:
    void on_btnOk_clicked();
    void on_btnCancel_clicked();
    void on_btnKeep_clicked();

protected:
    void changeEvent(QEvent *e) override;

private:
    void applyType();
    void applyButtons();

    QFrame *m_frame = nullptr;
    QLabel *m_labType = nullptr;
    QLabel *m_labMessage = nullptr;
    QPushButton *m_btnOk = nullptr;
    QPushButton *m_btnCancel = nullptr;
    QPushButton *m_btnKeep = nullptr;
    QCheckBox *m_checkBoxDown = nullptr;
    int m_code = 0;
    int m_type = Hint;
    int m_buttons = 0;
};
