#pragma once

#include "download/downloadjob.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QSize>

class ModuleFinder;
class QComboBox;
class QLabel;
class QMyMessageBox;
class QMyProgressBarMes;
class QPushButton;
class SerialLink;
class VirtualPort;

// The port dialog: chooses and opens the serial port and shows the link's state. A view over the
// one SerialLink it owns (port and worker); jobs, answers and the log go through that link.
// The last entry of the port list is the virtual module, served in this process on a pty.
class SerialPortDlg : public QDialog {
    Q_OBJECT
public:
    explicit SerialPortDlg(QWidget *parent = nullptr);
    ~SerialPortDlg() override;

    SerialLink *link() const { return m_link; }
    // The in-process virtual module; started the first time its entry is opened.
    VirtualPort *virtualPort() const { return m_virtual; }
    // Starts the virtual module if needed; false when no pty can be made.
    bool ensureVirtualModule();
    // Screen size of the virtual module (the project's page size); empty leaves it as it is.
    void setVirtualScreen(const QSize &size);
    QMyMessageBox *messageBox() const { return m_messageBox; }
    QMyProgressBarMes *progressDialog() const { return m_progressDialog; }
    ModuleFinder *finder() const { return m_finder; }

    // Refills the lists (system ports, the typed path in use, the virtual module) and the rates.
    void refreshPorts();
    // Opens the entry at index (or the typed text) at the chosen rate; false when it would not open.
    bool openSelected();
    bool isBusy() const;
    // Hands a job to the link ("通信未连接，请您先连接通信！" when the port is closed).
    bool startJob(const DownloadJob &job);
    // "1.2 MB / 3.4 MB · 11.2 KB/s · 剩余 0:42" for the picture transfer under way.
    QString progressDetail() const { return m_progressDetail; }
    // Ends a running job and closes the port, without a message (the window is closing).
    void shutDown();

    static QString virtualEntry() { return QStringLiteral("virtual"); }

    // Widgets by object name.
    QComboBox *portCombox() const { return m_portCombox; }
    QComboBox *baudCombox() const { return m_baudCombox; }
    QPushButton *btnOpenClose() const { return m_btnOpenClose; }
    QPushButton *btnInstrTest() const { return m_btnInstrTest; }
    QPushButton *btnFindModule() const { return m_btnFindModule; }
    QLabel *labConnectState() const { return m_labConnectState; }

signals:
    void s_sendMes(int code, const QString &text);
    void s_sendProbar(int total, int value);
    void s_send485(int enabled, int address);

public slots:
    void slotComStatus(const QString &name, bool arrived);
    void slotRecvProgressBar(int total, int value);
    void on_btnClose_clicked();
    void on_btnOpenClose_clicked();
    void on_btnInstrTest_clicked();
    void on_btnFindModule_clicked();

protected:
    void changeEvent(QEvent *e) override;

public:
    void retranslate();

private:
    void refreshConnection();
    void showMessage(int kind, const QString &text);
    // Port name the link should open for the current entry of portCombox.
    QString selectedPortPath();
    int virtualIndex() const;
    void onFound(const QString &port, int baud);
    void onNotFound();

    SerialLink *m_link = nullptr;
    VirtualPort *m_virtual = nullptr;
    ModuleFinder *m_finder = nullptr;
    QMyMessageBox *m_messageBox = nullptr;
    QMyProgressBarMes *m_progressDialog = nullptr;

    QLabel *m_labPort = nullptr;
    QLabel *m_labBaud = nullptr;
    QComboBox *m_portCombox = nullptr;
    QComboBox *m_baudCombox = nullptr;
    QPushButton *m_btnOpenClose = nullptr;
    QPushButton *m_btnInstrTest = nullptr;
    QPushButton *m_btnFindModule = nullptr;
    QPushButton *m_btnClose = nullptr;
    QLabel *m_labConnectState = nullptr;

    // Picture transfer of the running job.
    bool m_pictureProgressActive = false;
    QElapsedTimer m_transferClock;
    QString m_progressDetail;
    // Which state text is shown, so a language change can say it again.
    enum class State { Unknown, Open, Closed, Finding } m_state = State::Unknown;
    QString m_findingText;
    QSize m_virtualScreen;
};
