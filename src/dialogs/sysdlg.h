#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMyMessageBox;
class QMySlider;
class QPushButton;

// Display settings: the module's baud rate, backlight and RS-485 address. It composes the
// command and hands it on with s_sendMes(mode, command); the window turns that into a job.
// It keeps the confirmed and the requested baud rate and backlight of the project.
class SysDlg : public QDialog {
    Q_OBJECT
public:
    explicit SysDlg(QWidget *parent = nullptr);

    // Shows the dialog for the project's values.
    void showFor(const QString &baud, int backlight);

    QString confirmedBaud() const { return m_confirmedBaud; }
    QString requestedBaud() const { return m_requestedBaud; }
    void setBaud(const QString &baud);
    int confirmedBacklight() const { return m_confirmedBacklight; }
    int requestedBacklight() const { return m_requestedBacklight; }
    void setBacklight(int value);

    // Shared with the address job: enable flag (0 or 1) and the address text.
    int addressEnabled() const { return m_addressEnabled; }
    QString addressText() const { return m_addressText; }

    QMyMessageBox *messageBox() const { return m_messageBox; }
    static QString addressPattern();

    // Widgets by object name.
    QComboBox *cbBuad() const { return m_cbBuad; }
    QMySlider *horizontalSliderScreen() const { return m_slider; }
    QLabel *labScreenValue() const { return m_labScreenValue; }
    QCheckBox *checkBoxAddr() const { return m_checkBoxAddr; }
    QLineEdit *editAddr() const { return m_editAddr; }

    void retranslate();

signals:
    void s_sendMes(int mode, const QString &command);

public slots:
    void slotRecv485(int enabled, int address);
    void on_btnBaud_clicked();
    void on_btnScreenValue_clicked();
    void on_horizontalSliderScreen_valueChanged(int position);
    void on_checkBoxAddr_clicked(bool checked);
    void on_btnWrite485_clicked();
    void on_btnClose_clicked();

protected:
    void changeEvent(QEvent *e) override;

private:
    QString m_confirmedBaud = QStringLiteral("115200");
    QString m_requestedBaud = QStringLiteral("115200");
    int m_confirmedBacklight = 20;
    int m_requestedBacklight = 20;
    int m_addressEnabled = 0;
    QString m_addressText;
    QMyMessageBox *m_messageBox = nullptr;

    QGroupBox *m_groupBox = nullptr, *m_groupBox2 = nullptr, *m_groupBox3 = nullptr;
    QComboBox *m_cbBuad = nullptr;
    QPushButton *m_btnBaud = nullptr;
    QMySlider *m_slider = nullptr;
    QLabel *m_labScreenValue = nullptr;
    QPushButton *m_btnScreenValue = nullptr;
    QCheckBox *m_checkBoxAddr = nullptr;
    QLabel *m_label2 = nullptr, *m_label3 = nullptr;
    QLineEdit *m_editAddr = nullptr;
    QPushButton *m_btnWrite485 = nullptr;
    QPushButton *m_btnClose = nullptr;
};
