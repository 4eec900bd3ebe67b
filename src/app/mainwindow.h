#pragma once

#include "consoletarget.h"
#include "download/downloadjob.h"
#include "mainform.h"
#include "file/projectfile.h"
#include "historytarget.h"
#include "picturechange.h"
#include "model/projectdata.h"

#include <QMainWindow>
#include <QModelIndex>
#include <QPoint>
#include <QSize>
#include <functional>
#include <memory>
#include <optional>

class BatchDownloadDlg;
struct BindingsChoice;
class LanguageDlg;
class LibraryPanel;
class PageTable;
class PictureJudging;
class ProjectHistory;
class QDialog;
class QToolButton;
class PropertyPanel;
class QKeySequence;
class QLabel;
class QMenu;
class QSettings;
class QMyFrame;
class QMyDrawType;
class QMyItemModel;
class QMyMessageBox;
class QMyNativeEventFilter;
class QMyStandardItemModel;
class QMyWidget;
class RecentProjects;
class QTimer;
class QtProperty;
class SerialPortDlg;
class SetScreenSizeDlg;
class SimulatorRun;
class SysDlg;
class Version;

// The program's window. Owns the open project: its pages, boot settings, working folders and
// the dialogs around it.
class MainWindow : public QMainWindow, public HistoryTarget, public PictureTarget {
    Q_OBJECT
public:
    static constexpr int MaxPages = 16000000;
    static constexpr int AutoSaveMs = 1200000;
    static constexpr QSize DefaultSize = QSize(1303, 853);

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Project life cycle.
    bool saveProject();
    bool loadProject();
    void clearProject();
    void addPage();
    void deleteCurrentPage();
    void showPage(int row);
    void refreshBootJumpList();
    void setTitlePath(const QString &path);
    // The whole project as the file holds it.
    ProjectData projectData() const;
    // The boot settings a download of the open project sends.
    BootSettings bootSettings() const;
    // The boot page (mainwindowboot.cpp): the picked one, or the page shown while none is picked.
    int bootPage() const;
    int pickedBootPage() const { return m_bootPage; }
    // After the page became smaller: how many items lie outside, with the offer to move them
    // inside as one step (mainwindowpagefit.cpp).
    void offerMoveInside();
    void moveItemsInside();
    // As a pick in the box does; an invalid page lets the boot page follow the page shown again.
    void pickBootPage(int n);

    // Folder beside the project file that holds it and its working folders.
    static QString projectFolder();

    int pageCount() const;
    int currentPage() const;
    QSize pageSize() const;
    int screenType() const;
    int logo1() const { return m_logo1; }
    int logo2() const { return m_logo2; }
    int selectedImageNum() const { return m_selectedImageNum; }
    void setSelectedImageNum(int n) { m_selectedImageNum = n; }
    // Set by every picture import and deletion; the download clears it once the pictures are sent.
    bool pictureLibraryChanged() const { return m_pictureLibraryChanged; }
    void setPictureLibraryChanged(bool changed) { m_pictureLibraryChanged = changed; }
    // True while a download runs; the library refuses deletions meanwhile.
    bool downloadRunning() const;
    void setDownloadRunning(bool running) { m_downloadRunning = running; }
    QString baud() const { return m_baud; }
    int blValue() const { return m_blValue; }
    // True after a load that failed part-way: what was read is shown, but the file on disk is
    // not overwritten without the user asking.
    bool loadIncomplete() const { return m_loadIncomplete; }
    bool autoSaveActive() const;
    int autoSaveInterval() const;

    // Size, place, maximized state, splitters and zoom of the last run (mainwindowlayout.cpp).
    // Restoring from settings that hold none gives the first run's layout (and false).
    void saveLayout(QSettings &settings) const;
    bool restoreLayout(const QSettings &settings);
    // The same for a screen with this much room (the primary screen's available size above).
    bool restoreLayout(const QSettings &settings, const QSize &screenRoom);

    ProjectHistory *history() const;
    // Something would be lost by closing or replacing the project: edits since the last save,
    // picture changes, or a partly read file.
    bool hasUnsavedWork();

    // HistoryTarget
    ProjectData historyFields() const override;
    void applyHistoryFields(const ProjectData &fields) override;
    void replaceAllPages(const QVector<PageData> &pages, int shown) override;
    void showHistoryPage(int n) override;
    void selectHistoryItems(int n, const QList<int> &controls, const QList<int> &primitives) override;
    PageTable *historyTable() const override;
    QMyFrame *historyCanvas() const override;
    bool historyActive() const override;

    // PictureTarget (mainwindowlibrary.cpp)
    QString pictureFolder() const override;
    ProjectData pictureReferences() const override { return projectData(); }
    void applyPictureReferences(const ProjectData &after) override;
    void reloadPictures() override;
    bool pictureFolderChanging() override;

    MainForm &form() { return ui; }
    QMyFrame *canvas() const { return m_frame; }
    PageTable *pageTable() const { return m_table; }
    LibraryPanel *library() const { return m_library; }
    PropertyPanel *propertyPanel() const { return m_panel; }
    QMyMessageBox *questionBox() const { return m_questionBox; }
    QMyMessageBox *infoBox() const { return m_infoBox; }
    SetScreenSizeDlg *screenSizeDlg() const { return m_screenSizeDlg; }
    LanguageDlg *languageDlg() const { return m_languageDlg; }
    QMenu *pageMenu() const { return m_pageMenu; }
    QAction *pageCopyAction() const { return m_actCopy; }
    QAction *pagePasteAction() const { return m_actPaste; }
    QAction *pageRenameAction() const { return m_actRenamePage; }
    // Gives page n the firmware name (mainwindowpagenames.cpp); a refused name leaves the page's
    // own and says why. The dialog asking for it (object name "pageNameDialog") ends here.
    bool renamePage(int n, const QString &name);
    void askPageName(int n);

    // Seams for the modal steps, so the flows can run without a person at the keyboard.
    enum class FileDialog { NewProject, ImportProject };
    using FileChooser = std::function<QString(FileDialog)>;
    void setFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }
    void setScreenSizeRunner(std::function<bool()> runner) { m_screenSizeRunner = std::move(runner); }
    // Files chosen for the library's add button (true: pictures, false: fonts).
    using FilesChooser = std::function<QStringList(bool pictures)>;
    void setFilesChooser(FilesChooser chooser) { m_filesChooser = std::move(chooser); }

    // The question after a page was made smaller (mainwindowpagefit.cpp).
    static QString moveInsideQuestion(int count, int wholly);
    // "模拟运行" (mainwindowsimulator.cpp).
    SimulatorRun *simulator() const;
    void on_btnSimulate_clicked();
    // Talking to the module (mainwindowdownload.cpp).
    SerialPortDlg *serialPortDlg() const { return m_serialPortDlg; }
    // Pictures being judged for a download (see judgedJob).
    bool judgingPictures() const;
    SysDlg *sysDlg() const { return m_sysDlg; }
    QMyNativeEventFilter *portWatcher() const { return m_portWatcher; }
    QStringList commandExamples() const { return m_cmdList; }
    // The program folder the help documents are looked up beside (tests put another in place).
    void setHelpProgramDir(const QString &dir) { m_helpProgramDir = dir; }
    // "批量下载" beside the download button (mainwindowbatch.cpp).
    BatchDownloadDlg *batchDownloadDlg() const { return m_batchDlg; }
    void on_btnBatchDownload_clicked();
    // Moves the page shown by delta places (-1 up, 1 down) as one step; false when it cannot
    // move (mainwindowpagemove.cpp).
    bool moveCurrentPage(int delta);
    QAction *pageUpAction() const { return m_actPageUp; }
    QAction *pageDownAction() const { return m_actPageDown; }
    // The projects opened last (mainwindowrecent.cpp).
    RecentProjects *recentProjects() const;
    QMenu *recentMenu() const { return m_recentMenu; }
    void openRecentProject(const QString &path);

signals:
    // The window has finished with the project and is closing.
    void s_closing();

public slots:
    void slotRecePortProbar(int total, int done);
    void slotDealIsNo(int code);
    void slotRecvParent(int kind, QMyDrawType *draw);
    void slotRecvWnd(QMyWidget *w);
    void slotReceivedSysDlg(int type, const QString &mes);
    void slotRecvSerialPortMes(int type, const QString &mes);
    void slotTimerAutoSavePro();
    void slotRefleshUI(const QString &path);
    void slotDelAction();
    void slotCopyAction();
    void slotPasteAction();
    void slotRecvFramePressPos(const QPoint &pos);

    void on_btnNewPro_clicked();
    void on_btnSetCOM_clicked();
    void on_listWidget_currentRowChanged(int row);
    void on_listWidget_clicked(const QModelIndex &index);
    void on_btnPageAdd_clicked();
    void on_btnPageSub_clicked();
    void on_tvImage_clicked(const QModelIndex &index);
    void on_btnImageFontAdd_clicked();
    void on_btnImageFontSub_clicked();
    void on_btnImageFontAll_clicked();
    void on_btnImageFontCannel_clicked();
    void on_tvFont_clicked(const QModelIndex &index);
    void on_tabWidgetImageFont_currentChanged(int index);
    void on_btnDownLoad_clicked();
    void on_btnSavePro_clicked();
    void on_btnLoadPro_clicked();
    void on_listViewDraw_clicked(const QModelIndex &index);
    void on_btnInstrDownLoad_clicked();
    void on_listViewCmd_doubleClicked(const QModelIndex &index);
    void on_btnClearCmd_clicked();
    void on_btnSendCmd_clicked();
    void on_btnSetSys_clicked();
    void on_btnClearRecv_clicked();
    void on_btnHelp_clicked();
    void on_btnLanguage_clicked();
    void on_btnVersion_clicked();
    void on_btnLogo1_clicked();
    void on_btnLogo2_clicked();
    void on_btnRemoveLogo1_clicked();
    void on_btnRemoveLogo2_clicked();
    void on_textBrowser_textChanged();
    void on_actionUseDocument_triggered();
    void on_actionDocument_triggered();
    void on_actionInstr_triggered();
    void on_actionProgram_triggered();
    void on_actionNotice_triggered();
    void on_actionOffline_triggered();
    void on_actionStudy_triggered();
    void on_actionSupport_triggered();
    void on_listWidget_customContextMenuRequested(const QPoint &pos);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void connectForm();
    void retranslateWindow();
    void importChosenProject();
    void finishClose();
    // Unsaved picture changes of the open project are dropped: "/tempImages" takes "/backUpImages".
    void discardPictureChanges();
    // Reads the library of the open project; returns a note for the user when pictures were
    // restored from the backup.
    QString reloadLibrary();
    static QString withNote(const QString &text, const QString &note);
    ProjectData loadDefaults() const;
    void showLoaded(const ProjectData &data, const ProjectFile::ReadResult &r);
    void applyProjectData(const ProjectData &data, bool hasFrameSize);
    void setPageSize(int w, int h, int screenType);
    // Project values without the pages.
    ProjectData projectFields() const;
    void setupHistory();
    // Firmware bindings: the export behind the save button, and the notice when numbers moved.
    void setupBindings();
    void retranslateBindings();
    BindingsChoice bindingsChoice() const;
    void checkBindingsStamp();

public:
    void exportBindings();
    // Generates and writes the bindings as chosen, keeping the choice and the layout stamp.
    bool writeBindings(const BindingsChoice &choice);

private:
    void updateHistoryActions();
    void retranslateHistory();
    void updateTitle();
    // A text field has the input cursor: the canvas's keys leave it alone.
    bool textEntryActive() const;
    // Standard keys (mainwindowkeys.cpp).
    void setupKeys();
    void retranslateKeys();
    bool canvasKeysActive() const;
    QList<QAction *> m_keyActions;
    // "Text (Ctrl+Z)" for tooltips.
    static QString withShortcut(const QString &text, const QKeySequence &key);
    // Tab order, the console's Tab, a palette item placed with Enter (mainwindowfocus.cpp).
    void setupFocus();
    void placeFromPalette(int row);
    // Page moves (mainwindowpagemove.cpp).
    void setupPageMoves();
    void retranslatePageMoves();
    QAction *m_actPageUp = nullptr;
    QAction *m_actPageDown = nullptr;
    // Recent projects (mainwindowrecent.cpp).
    void setupRecentProjects();
    void noteRecentProject(const QString &path);
    void fillRecentMenu();
    std::unique_ptr<RecentProjects> m_recent;
    QMenu *m_recentMenu = nullptr;
    QString m_recentChoice;  // the recent project the import question is about
    // Opens a HelpDocuments::Document in the chosen language.
    void openHelpDocument(int document);
    QString helpProgramDir() const;
    QString m_helpProgramDir;
    void message(QMyMessageBox *box, int type, int buttons, int code, const QString &text);
    // Page names (mainwindowpagenames.cpp): "Page3 (settings)" in the page list.
    void setupPageNames();
    QString pageLabel(int n) const;
    void refreshPageLabels();
    QAction *m_actRenamePage = nullptr;
    // Library (mainwindowlibrary.cpp).
    void setUpLibrary();
    void importPictures(const QStringList &files);
    void importFonts(const QStringList &files);
    void deleteTickedPictures();
    QString pictureDeletionQuestion() const;
    void deleteTickedFonts();
    // Boot page (mainwindowboot.cpp).
    void setupBootPage();
    // The box and the page list's mark show the boot page.
    void showBootPage();
    void bootPageAfterPageRemoved(int removed);
    int m_bootPage = -1;
    // Simulator (mainwindowsimulator.cpp).
    void setupSimulator();
    void retranslateSimulator();
    SimulatorRun *m_simulator = nullptr;
    QToolButton *m_btnSimulate = nullptr;

    // Batch download (mainwindowbatch.cpp).
    void setupBatchDownload();
    BatchDownloadDlg *m_batchDlg = nullptr;

    // Talking to the module (mainwindowdownload.cpp).
    void setupDownload();
    void retranslateDownload();
    bool downloadBusy();
    DownloadJob downloadJob(DownloadMode mode, const QString &command = QString()) const;
    DownloadJob withLinkSettings(DownloadJob job, const QString &command = QString()) const;
    // The job for the project, its pictures judged on the judging thread while the event loop
    // runs; false when there is none: a judging was under way already, or this one was dropped
    // (the window closing, the project changing). The window may be gone when it returns false.
    bool judgedJob(const ProjectData &project, DownloadMode mode, JobPictures reading, DownloadJob *job);
    void showJudgingProgress();
    static QString judgingHint();
    PictureJudging *m_judging = nullptr;
    QTimer *m_judgingTimer = nullptr;
    QString m_judgedProject;  // the project file whose pictures are being judged
    // The job judged for the download question on show, kept for its answer: its pictures are
    // used again while their folder is as it was.
    struct QuestionJob {
        DownloadJob job;
        QByteArray folderStamp;
        QString folder;
    };
    std::optional<QuestionJob> m_questionJob;
    bool startDownloadJob(const DownloadJob &job);
    QString estimatedTimeText(const DownloadJob &job) const;
    void startProjectDownload();
    void appendReceived(QString text);
    // The console's target choice follows the port and the simulator.
    void refreshSendTarget();
    ConsoleTarget m_consoleTarget;
    void applyBacklight(int value);
    void refreshInstrCount();
    // Asks before closing during a job; true when the close waits for the answer.
    bool downloadHoldsClose();
    void stopDownloadAndClose();
    void shutDownDownload();

    MainForm ui;
    PageTable *m_table = nullptr;
    QMyStandardItemModel *m_controlModel = nullptr;
    QMyStandardItemModel *m_drawModel = nullptr;
    QMyFrame *m_frame = nullptr;
    QMyMessageBox *m_questionBox = nullptr;
    QMyMessageBox *m_infoBox = nullptr;
    QTimer *m_autoSaveTimer = nullptr;
    SetScreenSizeDlg *m_screenSizeDlg = nullptr;
    LanguageDlg *m_languageDlg = nullptr;
    QAction *m_exportBindingsAction = nullptr;
    QLabel *m_bindingsNotice = nullptr;
    // The stamp of the bindings last exported from this project, read from the settings once.
    QString m_bindingsStampProject;
    QString m_bindingsStamp;
    Version *m_version = nullptr;
    QMenu *m_helpMenu = nullptr;
    QMenu *m_pageMenu = nullptr;
    QAction *m_actCopy = nullptr;
    QAction *m_actPaste = nullptr;
    ProjectHistory *m_history = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QToolButton *m_historyButton = nullptr;
    QDialog *m_historyView = nullptr;
    QString m_titlePath;
    FileChooser m_fileChooser;
    std::function<bool()> m_screenSizeRunner;
    LibraryPanel *m_library = nullptr;
    PropertyPanel *m_panel = nullptr;
    FilesChooser m_filesChooser;

    // Project values.
    QString m_baud = QStringLiteral("115200");
    int m_blValue = 20;
    int m_logo1 = -1;
    int m_logo2 = -1;
    int m_selectedImageNum = -1;
    bool m_pageSizeSet = false;
    bool m_loadIncomplete = false;
    // Pictures of the page a hidden window will show first, decoded ahead once it is shown.
    QStringList m_picturesToPrefetch;
    bool m_closeConfirmed = false;
    bool m_pictureLibraryChanged = false;
    bool m_downloadRunning = false;
    // Talking to the module.
    SerialPortDlg *m_serialPortDlg = nullptr;
    SysDlg *m_sysDlg = nullptr;
    QMyNativeEventFilter *m_portWatcher = nullptr;
    QMyItemModel *m_cmdModel = nullptr;
    QStringList m_cmdList;
    int m_bootBacklight = -1;  // backlight of the boot script of the last project job
    bool m_blValueSaved = true;
    bool m_stopDownloadConfirmed = false;
    // The page held by "页面复制" for "页面粘贴".
    PageData m_copiedPage;
    bool m_hasCopiedPage = false;
};
