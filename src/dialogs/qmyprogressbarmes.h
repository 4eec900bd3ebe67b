#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// Small progress window shown while pictures and fonts go to the module.
class QMyProgressBarMes : public QDialog {
    Q_OBJECT
public:
    explicit QMyProgressBarMes(QWidget *parent = nullptr);

    void startProgress();
    void setProgressTitle(const QString &title);
    void setProgress(int total, int done);
    // Bytes, rate and time left under the bar.
    void setDetail(const QString &text);
    QString detail() const;
    // The job ended: its result is shown beside the button, and the dialog is shown again if it
    // was closed meanwhile.
    void finish(bool ok, const QString &text);
    // What the job is doing now, where its result will be shown; ignored once it ended.
    void setStatus(const QString &text);
    QString result() const;

    QProgressBar *progressBar() const { return m_progressBar; }
    QPushButton *closeButton() const { return m_btnClose; }

    void retranslate();

public slots:
    void on_btnClose_clicked();

protected:
    void changeEvent(QEvent *e) override;

private:
    void showResult(const QString &text, const QString &style);

    QProgressBar *m_progressBar = nullptr;
    QPushButton *m_btnClose = nullptr;
    QLabel *m_labDetail = nullptr;
    QLabel *m_labResult = nullptr;
    bool m_finished = false;
};
