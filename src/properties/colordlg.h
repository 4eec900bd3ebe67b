#pragma once

#include <QDialog>

class ColorDraw;
class QLabel;
class QLineEdit;
class QPushButton;

// Picks a colour number from the 64-colour table.
class ColorDlg : public QDialog {
    Q_OBJECT
public:
    explicit ColorDlg(QWidget *parent = nullptr);

    void showColorNum(int n);
    // Shows n, runs the dialog modally; true when accepted.
    bool execWithColorNum(int n);
    int colorNum() const { return m_colorNum; }

    ColorDraw *colorFrame() const { return m_colorFrame; }
    QLineEdit *swatch() const { return m_editColor; }
    QLabel *numberLabel() const { return m_labNum; }

    void retranslate();

public slots:
    void slotSelectColorNum(int n);
    void on_btnOK_clicked();
    void on_btnCancel_clicked();

protected:
    void changeEvent(QEvent *e) override;

private:
    ColorDraw *m_colorFrame = nullptr;
    QLabel *m_label = nullptr;
    QLineEdit *m_editColor = nullptr;
    QLabel *m_labNum = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnCancel = nullptr;
    int m_colorNum = 0;
};
