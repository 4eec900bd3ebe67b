#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSplitter;
class ScreenView;
class VirtualModule;

// The simulator window: the virtual module's screen, its page, orientation and backlight, a log
// of what arrived and what was answered, and a command line that sends to the module as if the
// text came over the line. A thin view: everything it shows comes from the module.
class SimulatorWindow : public QWidget {
    Q_OBJECT
public:
    // The screen is redrawn at most this often.
    static constexpr int FrameIntervalMs = 16;
    static constexpr int MaxLogLines = 2000;

    explicit SimulatorWindow(VirtualModule *module, QWidget *parent = nullptr);

    ScreenView *screenView() const { return m_view; }
    QString statusText() const;
    QString logText() const;
    // Sends a line as if it came over the line.
    void sendCommand(const QString &text);
    // Picks the largest zoom up to 2x at which the window shows the whole screen within room
    // (the screen's free area) and sizes the window to it; done once when the window is made.
    void fitScreen(const QSize &room);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void scheduleRefresh();
    void refresh();
    void appendLog(const QString &kind, const QString &text);
    void onSendClicked();

    QPointer<VirtualModule> m_module;
    ScreenView *m_view = nullptr;
    QLabel *m_labPage = nullptr;
    QLabel *m_labDirection = nullptr;
    QLabel *m_labBacklight = nullptr;
    QLabel *m_labZoom = nullptr;
    QComboBox *m_cbZoom = nullptr;
    QScrollArea *m_scroll = nullptr;
    QSplitter *m_split = nullptr;
    QPlainTextEdit *m_log = nullptr;
    QLineEdit *m_editCommand = nullptr;
    QPushButton *m_btnSend = nullptr;
    QPushButton *m_btnClearLog = nullptr;
    QTimer m_frameTimer;
    QSize m_fittedFor;  // the screen size (as drawn) the window was last sized for
};
