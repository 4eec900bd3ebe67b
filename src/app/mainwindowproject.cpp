// The project life cycle of the main window: new, import, save, auto-save, pages and the boot
// settings.
#include "mainwindow.h"

#include "appglobals.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "file/foldermirror.h"
#include "library/librarypanel.h"
#include "file/projectfile.h"
#include "file/projectfolders.h"
#include "model/names.h"
#include "library/picturecache.h"
#include "library/picturefiles.h"
#include "projecthistory.h"
#include "model/resolutionlist.h"
#include "render/renderer.h"
#include "dialogs/qmymessagebox.h"
#include "setscreensizedlg.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>

#include <utility>

namespace {

// The canvas makes a widget per control, and Qt paints siblings recursively: tens of thousands
// on one page overflow the stack. The editor allows 64 a page, so a file beyond this bound is
// damaged or made by hand; tavo-cli still reads it.
constexpr int MaxControlsShown = 2000;

QString pageTooLargeToShow(const ProjectData &data)
{
    for (int p = 0; p < data.pages.size(); ++p) {
        const int controls = data.pages.at(p).controls.size();
        if (controls > MaxControlsShown)
            return QCoreApplication::translate("MainWindow", "第%1页有%2个控件，超过窗口可显示的%3个，项目未打开")
                .arg(p)
                .arg(controls)
                .arg(MaxControlsShown);
    }
    return QString();
}

const QString Suffix = QStringLiteral(".Tavo");

bool createEmptyFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    f.close();
    return true;
}

}  // namespace

QString MainWindow::projectFolder()
{
    return QFileInfo(App::projectPath()).absolutePath();
}

int MainWindow::pageCount() const
{
    return m_table->pageCount();
}

int MainWindow::currentPage() const
{
    return m_table->currentPage();
}

QSize MainWindow::pageSize() const
{
    return m_pageSizeSet ? QSize(m_frame->frameW(), m_frame->frameH()) : QSize();
}

int MainWindow::screenType() const
{
    return m_frame->screenType();
}

// ---- new project ----------------------------------------------------------------------------

void MainWindow::on_btnNewPro_clicked()
{
    const bool accepted = m_screenSizeRunner ? m_screenSizeRunner() : m_screenSizeDlg->exec() == 1;
    if (!accepted)
        return;
    QString file = m_fileChooser
        ? m_fileChooser(FileDialog::NewProject)
        : QFileDialog::getSaveFileName(this, tr("新建项目"), QString(), QStringLiteral("*%1").arg(Suffix));
    if (file.isEmpty())
        return;
    // A typed name without the extension still makes a project file.
    if (QFileInfo(file).suffix().isEmpty())
        file += Suffix;
    const QFileInfo chosen(file);
    const QString folder = chosen.absolutePath() + QLatin1Char('/') + chosen.completeBaseName();
    if (QFileInfo::exists(folder)) {
        message(m_questionBox, QMyMessageBox::Warning, 0, 0, tr("新建项目名称已存在，请您重新命名！"));
        return;
    }

    const bool inPlace = QFileInfo(file).absoluteFilePath() == QFileInfo(App::projectPath()).absoluteFilePath()
        && App::isProjectOpen();
    if (inPlace) {
        QFile::remove(App::projectPath());
        if (!createEmptyFile(App::projectPath()))
            return;
    } else {
        QDir dir;
        if (!dir.mkpath(folder))
            return;
        dir.mkpath(folder + QStringLiteral("/tempImages"));
        dir.mkpath(folder + QStringLiteral("/tempFonts"));
        if (App::isProjectOpen())
            discardPictureChanges();
        App::projectPath() = folder + QLatin1Char('/') + chosen.fileName();
        if (!createEmptyFile(App::projectPath()))
            return;
    }

    const QString resolution = m_screenSizeDlg->resolutionText();
    const QSize size = pageSizeFor(resolution, m_screenSizeDlg->screenType());
    if (!size.isValid())
        return;
    if (!inPlace)
        setTitlePath(App::projectPath());
    clearProject();
    if (!inPlace)
        reloadLibrary();
    // A new project starts without the old one's boot animation.
    m_logo1 = m_logo2 = -1;
    ui.editLogo1->clear();
    ui.editLogo2->clear();
    for (QSpinBox *sb : {ui.sbLogoX, ui.sbLogoY, ui.sbLogoW, ui.sbLogoH, ui.sbLogoTime})
        sb->setValue(0);
    m_loadIncomplete = false;
    addPage();
    setPageSize(size.width(), size.height(), m_screenSizeDlg->screenType());
    saveProject();
    m_history->reset();
    m_autoSaveTimer->start(AutoSaveMs);
}

void MainWindow::setPageSize(int w, int h, int screenType)
{
    m_pageSizeSet = true;
    m_frame->setScreenType(screenType);
    m_frame->setFrameSize(w, h);
    m_library->setPageSize(QSize(w, h));
    m_frame->show();
    // The page's own properties show until something on it is picked.
    m_frame->showPage(m_table->currentPage());
}

// ---- import ---------------------------------------------------------------------------------

void MainWindow::on_btnLoadPro_clicked()
{
    const QString question = hasUnsavedWork()
        ? tr("您是否需要继续导入项目覆盖当前项目？（建议您先保存当前项目再导入！）")
        : tr("是否导入项目？");
    message(m_questionBox, QMyMessageBox::Hint, 2, 9, question);
}

void MainWindow::importChosenProject()
{
    const QString file = m_fileChooser
        ? m_fileChooser(FileDialog::ImportProject)
        : QFileDialog::getOpenFileName(this, tr("导入项目"), QString(), QStringLiteral("*%1").arg(Suffix));
    if (file.isEmpty() || file == App::projectPath())
        return;
    // A name that is no project file leaves the open project as it is, still open.
    if (!file.contains(Suffix)) {
        message(m_infoBox, QMyMessageBox::Error, 0, 0, tr("加载项目路径错误，导入失败！"));
        return;
    }
    // The file is read before anything changes: one that cannot be read leaves the open project
    // exactly as it was.
    const QString folder = QFileInfo(file).absolutePath();
    ProjectData data = loadDefaults();
    PictureFiles::recoverRemoval(file);
    const int pictureCount = PictureLibrary::fromFolder(ProjectFolders::picturesToRead(folder), PictureLibrary::HeadersOnly).count();
    const ProjectFile::ReadResult r = ProjectFile::read(file, pictureCount, &data);
    if (!r.ok) {
        qWarning().noquote() << r.reason;
        message(m_infoBox, QMyMessageBox::Error, 0, 0, tr("加载控件错误，可能该项目之前未做保存操作，导入失败！"));
        return;
    }
    const QString tooLarge = pageTooLargeToShow(data);
    if (!tooLarge.isEmpty()) {
        message(m_infoBox, QMyMessageBox::Error, 0, 0, tooLarge);
        return;
    }
    if (App::isProjectOpen())
        discardPictureChanges();
    App::projectPath() = file;
    setTitlePath(App::projectPath());
    clearProject();
    const QString restored = reloadLibrary();
    showLoaded(data, r);
    message(m_infoBox, QMyMessageBox::Hint, 0, 0, withNote(tr("导入成功！"), restored));
}

// ---- folders --------------------------------------------------------------------------------

void MainWindow::discardPictureChanges()
{
    const QString folder = projectFolder();
    PictureFiles::undoRemoval(App::projectPath());
    // The picture folder as saved again: the note of unsaved changes has served, unless the copy
    // failed, when the next opening tries again.
    if (mirrorFolder(folder + QStringLiteral("/backUpImages"), folder + QStringLiteral("/tempImages")))
        PictureFiles::dropUnsavedNote(App::projectPath());
    else
        PictureFiles::leaveUnsavedNote(App::projectPath());
}

QString MainWindow::reloadLibrary()
{
    const QString folder = projectFolder();
    const QString temp = ProjectFolders::pictures(folder);
    // A deletion cut short by a crash is finished or undone before the pictures are read.
    PictureFiles::recoverRemoval(App::projectPath());
    // Pictures lost or emptied outside the program come back from the last save's copy; an empty
    // folder is never mirrored over a backup that still holds pictures.
    QString folderError;
    const int restored = ProjectFolders::restorePicturesFromBackup(folder, &folderError);
    if (PictureFiles::pictureFolderProblem(temp).isEmpty())
        QDir().mkpath(temp);
    QDir().mkpath(folder + QStringLiteral("/tempFonts"));
    QString note;
    if (restored > 0)
        note = tr("图片文件夹“tempImages”缺失或为空，已从“backUpImages”恢复%1个文件。").arg(restored);
    else if (restored < 0)
        note = tr("图片文件夹“tempImages”缺失或为空，从“backUpImages”恢复失败，备份保持不变。");
    if (restored >= 0)
        mirrorFolder(temp, ProjectFolders::backup(folder), &folderError);
    if (!folderError.isEmpty())
        note = withNote(folderError, note);
    m_library->load(folder);
    m_selectedImageNum = -1;
    return note;
}

QString MainWindow::withNote(const QString &text, const QString &note)
{
    return note.isEmpty() ? text : text + QLatin1Char('\n') + note;
}

// ---- save and load --------------------------------------------------------------------------

ProjectData MainWindow::projectData() const
{
    ProjectData d = projectFields();
    m_table->writeTo(d);
    return d;
}

ProjectData MainWindow::projectFields() const
{
    ProjectData d;
    d.frameW = m_pageSizeSet ? m_frame->frameW() : 0;
    d.frameH = m_pageSizeSet ? m_frame->frameH() : 0;
    d.parentImageNum = m_frame->pageImageNum();
    d.parentBackgroundNum = m_frame->pageBackgroundNum();
    d.screenType = m_frame->screenType();
    d.dpi = m_screenSizeDlg->resolutionText();
    d.baud = m_baud;
    d.blValue = m_blValue;
    d.logo1 = m_logo1;
    d.logo2 = m_logo2;
    d.logoX = ui.sbLogoX->value();
    d.logoY = ui.sbLogoY->value();
    d.logoW = ui.sbLogoW->value();
    d.logoH = ui.sbLogoH->value();
    d.logoTime = ui.sbLogoTime->value();
    d.currentPage = m_table->currentPage();
    d.bootPage = m_table->isValidPage(m_bootPage) ? m_bootPage : -1;
    return d;
}

BootSettings MainWindow::bootSettings() const { return bootSettingsOf(projectData()); }

bool MainWindow::saveProject()
{
    if (!m_table->hasPages())
        return true;
    if (!ProjectFile::write(App::projectPath(), projectData()))
        return false;
    // The file now names the pictures without those deleted since the last save.
    PictureFiles::finishRemoval(App::projectPath());
    // The saved state of the pictures goes with the saved file, unless the working folder was
    // emptied behind the window's back while the library still lists pictures: the backup is
    // then the only copy left.
    const QString folder = projectFolder();
    const QString temp = ProjectFolders::pictures(folder);
    QDir().mkpath(temp);
    const bool emptiedOutside = QDir(temp).isEmpty() && !m_table->pictures().isEmpty();
    QString folderError;
    if (!emptiedOutside && !mirrorFolder(temp, ProjectFolders::backup(folder), &folderError) && !folderError.isEmpty())
        statusBar()->showMessage(folderError, 8000);
    // The file names the pictures of the folder as it is.
    PictureFiles::dropUnsavedNote(App::projectPath());
    // Once the user has saved over a partly read file, it is whole again and may be auto-saved.
    m_loadIncomplete = false;
    m_history->markSaved();
    if (!m_autoSaveTimer->isActive())
        m_autoSaveTimer->start(AutoSaveMs);
    return true;
}

ProjectData MainWindow::loadDefaults() const
{
    // What a file that leaves a value out gets: the window's current values, except the
    // backlight, which gets the default rather than the previous project's value.
    ProjectData data;
    data.baud = m_baud;
    data.frameW = m_frame->frameW();
    data.frameH = m_frame->frameH();
    data.screenType = m_frame->screenType();
    data.dpi = m_screenSizeDlg->resolutionText();
    return data;
}

bool MainWindow::loadProject()
{
    ProjectData data = loadDefaults();
    const ProjectFile::ReadResult r = ProjectFile::read(App::projectPath(), m_table->pictures().count(), &data);
    if (!r.ok)
        qWarning().noquote() << r.reason;
    const QString tooLarge = pageTooLargeToShow(data);
    if (!tooLarge.isEmpty()) {
        // Nothing of it is shown, so nothing of it can be saved over the file.
        App::projectPath().clear();
        setTitlePath(App::programPath());
        message(m_infoBox, QMyMessageBox::Error, 0, 0, tooLarge);
        return true;
    }
    // What was read is shown either way; a failed read must not be saved over the file unasked.
    showLoaded(data, r);
    return r.ok;
}

void MainWindow::showLoaded(const ProjectData &data, const ProjectFile::ReadResult &r)
{
    applyProjectData(data, r.hasFrameSize);
    m_history->reset();
    m_loadIncomplete = !r.ok;
    m_autoSaveTimer->stop();
    if (r.ok)
        m_autoSaveTimer->start(AutoSaveMs);
}

void MainWindow::applyProjectData(const ProjectData &data, bool hasFrameSize)
{
    // The shown page's pictures are decoded on the thread pool while its widgets are made (or,
    // in a window not shown yet, while it is laid out), so that its first paint finds them ready.
    m_picturesToPrefetch.clear();
    if (data.currentPage >= 0 && data.currentPage < data.pages.size())
        m_picturesToPrefetch = Renderer::picturePaths(data.pages.at(data.currentPage), m_table->pictures());
    if (isVisible())
        PictureCache::global().prefetch(std::exchange(m_picturesToPrefetch, {}));
    m_screenSizeDlg->setResolutionText(data.dpi);
    m_baud = data.baud;
    m_bootPage = data.bootPage;
    // Read through the rule every download uses, so the window shows what would be sent.
    const BootSettings boot = bootSettingsOf(data);
    m_blValue = boot.backlight;
    m_logo1 = boot.gifFirst;
    m_logo2 = boot.gifLast;
    ui.sbLogoX->setValue(boot.gifX);
    ui.sbLogoY->setValue(boot.gifY);
    ui.sbLogoW->setValue(boot.gifW);
    ui.sbLogoH->setValue(boot.gifH);
    ui.sbLogoTime->setValue(boot.gifIntervalMs);
    if (hasFrameSize) {
        ui.editLogo1->setText(m_logo1 == -1 ? QString() : QString::number(m_logo1));
        ui.editLogo2->setText(m_logo2 == -1 ? QString() : QString::number(m_logo2));
        setPageSize(data.frameW, data.frameH, data.screenType);
    }
    // All pages at once: the list and the boot page box are filled once, and only the page
    // shown gets its widgets now.
    if (m_table->pageCount() + data.pages.size() > MaxPages)
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("添加的页数不能超过%1页").arg(MaxPages));
    QStringList names;
    // No page is shown while they are filled, so none makes its widgets yet.
    m_table->setCurrentPage(-1);
    for (const PageData &page : data.pages) {
        if (m_table->pageCount() >= MaxPages)
            break;
        const int n = m_table->addPage();
        m_frame->fillPage(n, page);
        names << pageLabel(n);
    }
    {
        const QSignalBlocker block(ui.listWidget);
        ui.listWidget->addItems(names);
    }
    m_table->setCurrentPage(0);
    refreshBootJumpList();
    if (!m_table->hasPages())
        return;
    // The page shown at the last save comes back on screen.
    const int c = m_table->isValidPage(data.currentPage) ? data.currentPage : 0;
    {
        const QSignalBlocker block(ui.listWidget);
        ui.listWidget->setCurrentRow(c);
    }
    showPage(c);
    ui.listWidget->setFocus();
}

void MainWindow::on_btnSavePro_clicked()
{
    if (!App::isProjectOpen()) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("未创建项目，请您先创建项目！"));
        return;
    }
    const QString question = m_loadIncomplete
        ? tr("该项目未能完整导入，保存将覆盖原项目文件。是否保存当前项目？")
        : tr("是否保存当前项目？");
    message(m_questionBox, QMyMessageBox::Hint, 2, 7, question);
}

void MainWindow::slotTimerAutoSavePro()
{
    // Never write a partly read project over its file without the user asking.
    if (m_loadIncomplete)
        return;
    saveProject();
}

// ---- pages ----------------------------------------------------------------------------------

void MainWindow::on_btnPageAdd_clicked()
{
    if (!App::isProjectOpen()) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("未创建项目，请您先创建项目！"));
        return;
    }
    addPage();
}

void MainWindow::addPage()
{
    if (m_table->pageCount() >= MaxPages) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("添加的页数不能超过%1页").arg(MaxPages));
        return;
    }
    const int n = m_table->addPage();
    m_table->setCurrentPage(n);
    ui.listWidget->addItem(pageLabel(n));
    ui.listWidget->setCurrentRow(n);
    emit ui.listWidget->clicked(ui.listWidget->currentIndex());
    ui.listWidget->setFocus();
    refreshBootJumpList();
}

void MainWindow::on_btnPageSub_clicked()
{
    if (m_table->pageCount() <= 1) {
        message(m_questionBox, QMyMessageBox::Warning, 0, 0, tr("不可删除最后一页！"));
        return;
    }
    message(m_questionBox, QMyMessageBox::Hint, 2, 1, tr("是否删除当前页？"));
}

void MainWindow::deleteCurrentPage()
{
    const int removed = m_table->currentPage();
    if (!m_table->isValidPage(removed))
        return;
    {
        const QSignalBlocker block(ui.listWidget);
        m_table->removePage(removed);
        bootPageAfterPageRemoved(removed);
        delete ui.listWidget->takeItem(removed);
        refreshPageLabels();
        ui.listWidget->setCurrentRow(0);
    }
    refreshBootJumpList();
    showPage(0);
    emit ui.listWidget->clicked(ui.listWidget->currentIndex());
    ui.listWidget->setFocus();
}

void MainWindow::on_listWidget_currentRowChanged(int row)
{
    showPage(row);
}

void MainWindow::showPage(int row)
{
    if (!m_table->isValidPage(row))
        return;
    m_frame->showPage(row);
    showBootPage();
}

void MainWindow::refreshBootJumpList()
{
    ui.cbBootJump->clear();
    QStringList numbers;
    numbers.reserve(m_table->pageCount());
    for (int i = 0; i < m_table->pageCount(); ++i)
        numbers << QString::number(i);
    {
        const QSignalBlocker block(ui.cbBootJump);
        ui.cbBootJump->addItems(numbers);
    }
    showBootPage();
}

void MainWindow::clearProject()
{
    if (!m_table->hasPages())
        return;
    m_table->clear();
    m_bootPage = -1;
    const QSignalBlocker block(ui.listWidget);
    ui.listWidget->clear();
    ui.cbBootJump->clear();
}

void MainWindow::on_listWidget_customContextMenuRequested(const QPoint &)
{
    m_pageMenu->popup(QCursor::pos());
}

void MainWindow::slotCopyAction()
{
    if (!m_table->isValidPage(m_table->currentPage()))
        return;
    m_copiedPage = m_frame->copyPage(m_table->currentPage());
    m_hasCopiedPage = true;
}

void MainWindow::slotPasteAction()
{
    if (!App::isProjectOpen() || !m_hasCopiedPage)
        return;
    const int before = m_table->pageCount();
    addPage();
    if (m_table->pageCount() == before)
        return;
    // The copy is named apart from the page it came from.
    PageData copy = m_copiedPage;
    copy.name = Names::freshName(copy.name, m_table->pageNames());
    m_frame->fillPage(before, copy);
    refreshPageLabels();
    showPage(before);
}

// ---- boot animation -------------------------------------------------------------------------

void MainWindow::on_btnLogo1_clicked()
{
    if (m_selectedImageNum < 0) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("未选择图片，请您在图库中选择一张图片！"));
        return;
    }
    m_logo1 = m_selectedImageNum;
    ui.editLogo1->setText(QString::number(m_logo1));
}

void MainWindow::on_btnLogo2_clicked()
{
    if (m_selectedImageNum < 0) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("未选择图片，请您在图库中选择一张图片！"));
    } else if (m_logo1 == -1) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("起始动画未设置，请您先设置起始动画！"));
    } else if (m_selectedImageNum >= m_logo1) {
        m_logo2 = m_selectedImageNum;
        ui.editLogo2->setText(QString::number(m_logo2));
    } else {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("结束动画ID不可大于起始动画ID，请您重新设置！"));
    }
}

void MainWindow::on_btnRemoveLogo1_clicked()
{
    m_logo1 = -1;
    ui.editLogo1->clear();
}

void MainWindow::on_btnRemoveLogo2_clicked()
{
    m_logo2 = -1;
    ui.editLogo2->clear();
}
