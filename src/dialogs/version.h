#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Shows the program's version.
class Version : public QDialog {
    Q_OBJECT
public:
    explicit Version(QWidget *parent = nullptr);

    static QString versionText();
    QString shownVersion() const;

    void retranslate();

public slots:
    void on_btnClose_clicked();

protected:
    void changeEvent(QEvent *e) override;

private:
    QLabel *m_label = nullptr;
    QLabel *m_labVersion = nullptr;
    QPushButton *m_btnClose = nullptr;
};
