#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// First step of a new project: the module resolution and the orientation.
class SetScreenSizeDlg : public QDialog {
    Q_OBJECT
public:
    explicit SetScreenSizeDlg(QWidget *parent = nullptr);

    void retranslateUi();

    QString resolutionText() const { return m_resolutionText; }
    // Set by the project loader from the file; the combo box keeps its choice.
    void setResolutionText(const QString &text) { m_resolutionText = text; }
    int screenType() const { return m_screenType; }

    QLabel *label = nullptr;
    QLabel *label_2 = nullptr;
    QComboBox *cbVGA = nullptr;
    QRadioButton *rbPorTrait_0 = nullptr;
    QRadioButton *rbLandScape_90 = nullptr;
    QRadioButton *rbPorTrait_180 = nullptr;
    QRadioButton *rbLandScape_270 = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

public slots:
    void on_btnOK_clicked();
    void on_btnCancel_clicked();
    void on_cbVGA_currentTextChanged(const QString &text);

private:
    // Longer translations widen the orientation row and the dialog instead of clipping.
    void fitOrientationRow();

    QWidget *m_row = nullptr;
    QString m_resolutionText;
    int m_screenType = 0;
};
