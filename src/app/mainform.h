#pragma once

#include <QCoreApplication>

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTableView;
class QTextBrowser;
class QToolButton;
class QVBoxLayout;
class QWidget;

// The widgets of the main window, by object name. Built in code; the texts are set by
// retranslateUi so a language change can run it again.
struct MainForm {
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
public:
    void setupUi(QMainWindow *w);
    void retranslateUi(QMainWindow *w);
    // The nine tool buttons of the top bar, in bar order.
    QList<QToolButton *> toolButtons() const;
    // Puts the canvas into the design area in place of the current one.
    void setCanvas(QWidget *canvas);
    // The splitters' sizes of a first start: the property panel takes most of its column, the
    // console and the library what their texts need.
    void setDefaultSizes();
    QList<QSplitter *> splitters() const;

    QWidget *centralWidget = nullptr;
    QSplitter *splitterBody = nullptr, *splitterCentre = nullptr, *splitterRight = nullptr;
    QSplitter *splitterConsole = nullptr;
    QToolButton *btnNewPro = nullptr, *btnLoadPro = nullptr, *btnSavePro = nullptr;
    QToolButton *btnSetCOM = nullptr, *btnSetSys = nullptr, *btnInstrDownLoad = nullptr;
    QToolButton *btnHelp = nullptr, *btnLanguage = nullptr, *btnVersion = nullptr;
    QLabel *labLogo = nullptr;
    QFrame *line = nullptr;

    QListView *listView = nullptr;
    QListView *listViewDraw = nullptr;

    QTabWidget *tabWidgetImageFont = nullptr;
    QWidget *tab1 = nullptr, *tab2 = nullptr;
    QTableView *tvImage = nullptr, *tvFont = nullptr;
    QLabel *labImageSize = nullptr;
    QLabel *labDeleteHint = nullptr;
    QProgressBar *progressBarDown = nullptr;
    QPushButton *btnImageFontAdd = nullptr, *btnImageFontSub = nullptr, *btnImageFontAll = nullptr;
    QPushButton *btnImageFontCannel = nullptr, *btnDownLoad = nullptr;

    QScrollArea *scrollArea = nullptr;
    QWidget *scrollAreaWidgetContents = nullptr;
    QVBoxLayout *canvasLayout = nullptr;
    QLabel *labFramePressPos = nullptr;
    QWidget *frame = nullptr;

    QGroupBox *groupBox = nullptr;
    QTextBrowser *textBrowser = nullptr;
    QPushButton *btnClearCmd = nullptr, *btnSendCmd = nullptr;
    // Where the console sends: the open port or the running simulator.
    QComboBox *cbSendTarget = nullptr;
    QLabel *labInstrCount = nullptr;
    QListView *listViewCmd = nullptr;
    QFrame *frameDebug = nullptr;
    QTextBrowser *textBrowserRecv = nullptr;
    QPushButton *btnClearRecv = nullptr;

    QFrame *frameDesignParent = nullptr;
    QWidget *designWnd = nullptr;

    QLabel *label_2 = nullptr;
    QComboBox *cbBootJump = nullptr;
    QGroupBox *groupBox_2 = nullptr;
    QLabel *label_3 = nullptr, *label_4 = nullptr, *label_5 = nullptr, *label_6 = nullptr;
    QLabel *label_7 = nullptr, *label_8 = nullptr, *label_9 = nullptr;
    QLineEdit *editLogo1 = nullptr, *editLogo2 = nullptr;
    QPushButton *btnLogo1 = nullptr, *btnRemoveLogo1 = nullptr, *btnLogo2 = nullptr, *btnRemoveLogo2 = nullptr;
    QSpinBox *sbLogoX = nullptr, *sbLogoY = nullptr, *sbLogoW = nullptr, *sbLogoH = nullptr, *sbLogoTime = nullptr;

    QLabel *label = nullptr;
    QPushButton *btnPageAdd = nullptr, *btnPageSub = nullptr;
    QListWidget *listWidget = nullptr;

    QAction *actionUseDocument = nullptr, *actionDocument = nullptr, *actionInstr = nullptr;
    QAction *actionProgram = nullptr, *actionNotice = nullptr, *actionOffline = nullptr;
    QAction *actionStudy = nullptr, *actionSupport = nullptr;
};
