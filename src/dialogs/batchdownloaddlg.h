#pragma once

#include "download/downloadjob.h"

#include <QDialog>
#include <QSize>

#include <functional>
#include <memory>
#include <vector>

class BatchDownload;
class ProductionWatch;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;
class VirtualPortThread;

// "批量下载": the project to many modules at once. A view over a BatchDownload: the ports to use
// (serial ports with check boxes, and virtual modules for trying it out), the download options,
// one row per module with its progress, rate, time left and result, and the totals. With
// "自动下载新接入的模块" on, starting watches the ports instead (production mode): each module
// that appears is downloaded to once. The interface thread only reads results: ports, jobs and
// virtual modules all run in threads of their own.
class BatchDownloadDlg : public QDialog {
    Q_OBJECT
public:
    enum Column { PortColumn, ProgressColumn, RateColumn, LeftColumn, ResultColumn, ColumnCount };

    explicit BatchDownloadDlg(QWidget *parent = nullptr);
    ~BatchDownloadDlg() override;

    // The window's job for a mode, made when a batch starts (the project read once); false when
    // no job is made now, the source having said why.
    void setJobSource(std::function<bool(DownloadMode, DownloadJob *)> source) { m_jobSource = std::move(source); }
    // Why the window refuses any download now (no project, its own download running); empty when
    // it does not. Asked once per start, before the job's own checks.
    void setRefusalSource(std::function<QString()> source) { m_refusalSource = std::move(source); }
    // Rate and screen the dialog starts with: the project's.
    void setDefaults(int baud, const QSize &virtualScreen);

    // Refills the port list from the system, keeping the check marks.
    void refreshPorts();
    // Adds a port to the list (a typed device path, a hot-plugged port), checked.
    void addPort(const QString &port);
    bool isRunning() const;
    // Ends every job where it is (each reported as stopped) and production mode with them; the
    // dialog stays as it is, with the results and totals.
    void stop();
    // Why a typed entry cannot be a port ("ttyUSB0", "/dev/pts/3"); empty when it names a
    // character device.
    static QString portEntryProblem(const QString &entry);
    BatchDownload *batch() const { return m_batch.get(); }

    // Widgets by object name.
    QListWidget *portList() const { return m_portList; }
    QSpinBox *virtualCount() const { return m_virtualCount; }
    QComboBox *modeCombox() const { return m_modeCombox; }
    QComboBox *baudCombox() const { return m_baudCombox; }
    QCheckBox *autoSwitch() const { return m_autoSwitch; }
    QPushButton *btnStart() const { return m_btnStart; }
    QPushButton *btnStop() const { return m_btnStop; }
    QLineEdit *portPath() const { return m_portPath; }
    QPushButton *btnAddPort() const { return m_btnAddPort; }
    QTableWidget *table() const { return m_table; }
    QLabel *labTotals() const { return m_labTotals; }
    QLabel *labMessage() const { return m_labMessage; }

public slots:
    void on_btnStart_clicked();
    void on_btnAddPort_clicked();
    // The port watcher's hot-plug events.
    void slotComStatus(const QString &name, bool arrived);

signals:
    void s_batchFinished(int succeeded, int failed);

protected:
    void changeEvent(QEvent *e) override;

private:
    void retranslate();
    void showProblem(const QString &text);
    void addRow(int index);
    void updateRow(int index);
    void updateTotals();
    void updateControls();
    void onAllFinished();
    DownloadMode chosenMode() const;

    std::function<bool(DownloadMode, DownloadJob *)> m_jobSource;
    std::function<QString()> m_refusalSource;
    std::unique_ptr<BatchDownload> m_batch;
    std::unique_ptr<ProductionWatch> m_watch;
    std::vector<std::unique_ptr<VirtualPortThread>> m_virtuals;
    QSize m_virtualScreen = QSize(320, 240);
    QVector<int> m_rowOfJob;

    QLabel *m_labPorts = nullptr;
    QListWidget *m_portList = nullptr;
    QLineEdit *m_portPath = nullptr;
    QPushButton *m_btnAddPort = nullptr;
    QLabel *m_labVirtual = nullptr;
    QSpinBox *m_virtualCount = nullptr;
    QLabel *m_labMode = nullptr;
    QComboBox *m_modeCombox = nullptr;
    QLabel *m_labBaud = nullptr;
    QComboBox *m_baudCombox = nullptr;
    QCheckBox *m_autoSwitch = nullptr;
    QLabel *m_labNote = nullptr;
    QPushButton *m_btnStart = nullptr;
    QPushButton *m_btnStop = nullptr;
    QPushButton *m_btnClose = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_labTotals = nullptr;
    QLabel *m_labMessage = nullptr;
    QString m_problem;
};
