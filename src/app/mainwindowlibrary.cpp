// The main window's side of the picture and font library: import, ticking, deletion with every
// reference kept pointing at its picture, and the selected picture.
#include "mainwindow.h"

#include "appglobals.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "edit/picturereferences.h"
#include "edit/pictureuses.h"
#include "file/projectfolders.h"
#include "library/fontlibrary.h"
#include "library/librarypanel.h"
#include "library/picturefiles.h"
#include "library/qmyimageitemmodel.h"
#include "projecthistory.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

void MainWindow::setUpLibrary()
{
    LibraryWidgets w;
    w.tabs = ui.tabWidgetImageFont;
    w.pictureTab = ui.tab1;
    w.fontTab = ui.tab2;
    w.tvImage = ui.tvImage;
    w.tvFont = ui.tvFont;
    w.labImageSize = ui.labImageSize;
    w.labDeleteHint = ui.labDeleteHint;
    w.btnAll = ui.btnImageFontAll;
    w.btnCancel = ui.btnImageFontCannel;
    m_library = new LibraryPanel(w, m_table, this);
    connect(m_library, &LibraryPanel::filesDropped, this, [this](const QStringList &files) {
        if (!App::isProjectOpen()) {
            message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("未新建或加载项目，请您先新建或加载项目！"));
            return;
        }
        importPictures(files);
    });
}

void MainWindow::on_tvImage_clicked(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    m_selectedImageNum = index.row();
    m_library->clickRow(LibraryPanel::Pictures, index.row());
}

void MainWindow::on_tvFont_clicked(const QModelIndex &index)
{
    if (index.isValid())
        m_library->clickRow(LibraryPanel::Fonts, index.row());
}

void MainWindow::on_btnImageFontAll_clicked()
{
    m_library->selectAll();
}

void MainWindow::on_btnImageFontCannel_clicked()
{
    m_library->cancel();
}

void MainWindow::on_tabWidgetImageFont_currentChanged(int)
{
    if (m_library)
        m_library->showDeleteModeOfCurrentTab();
}

// ---- import ---------------------------------------------------------------------------------

void MainWindow::on_btnImageFontAdd_clicked()
{
    if (!App::isProjectOpen()) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("未新建或加载项目，请您先新建或加载项目！"));
        return;
    }
    const bool pictures = m_library->currentTab() == LibraryPanel::Pictures;
    QStringList files;
    if (m_filesChooser)
        files = m_filesChooser(pictures);
    else if (pictures)
        files = QFileDialog::getOpenFileNames(this, tr("选择图片"), QString(), PictureFiles::importNameFilter());
    else
        files = QFileDialog::getOpenFileNames(this, tr("选择字库"), QString(), QStringLiteral("(*.bin)"));
    if (files.isEmpty())
        return;
    if (pictures)
        importPictures(files);
    else
        importFonts(files);
}

void MainWindow::importPictures(const QStringList &files)
{
    // Edits made before the import are their own step.
    m_history->checkpoint();
    PictureFiles::ImportResult r;
    if (pictureFolderChanging()) {
        r = PictureFiles::importPictures(projectFolder() + QStringLiteral("/tempImages"), files);
    } else {
        for (const QString &file : files)
            r.failed.append({file, PictureFiles::ImportFailure::CopyFailed});
    }
    if (!r.added.isEmpty()) {
        PictureLibrary lib = m_table->pictures();
        QStringList names;
        for (const QString &path : r.added) {
            lib.append(PictureLibrary::readInfo(path));
            names << QFileInfo(path).fileName();
        }
        m_table->setPictures(lib);
        m_library->refreshPictures();
        m_pictureLibraryChanged = true;
        m_history->pushDone(PictureChange::imported(this, names, m_history->asideFolder(), m_history->resyncer()));
    }
    if (!r.failed.isEmpty())
        message(m_infoBox, QMyMessageBox::Warning, 0, 0, r.message());
}

void MainWindow::importFonts(const QStringList &files)
{
    const QString fonts = projectFolder() + QStringLiteral("/tempFonts");
    const QStringList failed = FontLibrary::importFonts(fonts, files);
    m_library->reloadFonts(projectFolder());
    if (!failed.isEmpty())
        message(m_infoBox, QMyMessageBox::Warning, 0, 0,
                tr("以下字库未能导入：") + QLatin1Char('\n') + failed.join(QLatin1Char('\n')));
}

// ---- deletion -------------------------------------------------------------------------------

void MainWindow::on_btnImageFontSub_clicked()
{
    if (m_downloadRunning) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("下载中，不可删除！"));
        return;
    }
    const LibraryPanel::Tab tab = m_library->currentTab();
    if (m_library->model(tab)->rowCount() == 0)
        return;
    if (!m_library->deleteMode(tab)) {
        m_library->setDeleteMode(tab, true);
        return;
    }
    // Nothing ticked, nothing to ask.
    if (m_library->model(tab)->tickedRows().isEmpty())
        return;
    if (tab == LibraryPanel::Pictures)
        message(m_questionBox, QMyMessageBox::Hint, 2, 3, pictureDeletionQuestion());
    else
        message(m_questionBox, QMyMessageBox::Hint, 2, 5, tr("是否删除选中的字库？"));
}

QString MainWindow::pictureDeletionQuestion() const
{
    const QVector<int> ticked =
        PictureReferences::validNumbers(m_library->pictureModel()->tickedRows(), m_table->pictures().count());
    // The user sees what would lose its picture before saying yes.
    const QString uses = PictureUses::describe(PictureUses::usesOf(projectData(), ticked));
    const QString question = tr("是否删除选中的图片？");
    return uses.isEmpty() ? question : uses + QLatin1Char('\n') + question;
}

void MainWindow::deleteTickedPictures()
{
    // A download may have started while the question was open.
    if (m_downloadRunning) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("下载中，不可删除！"));
        return;
    }
    const PictureLibrary before = m_table->pictures();
    QStringList failed;
    m_history->checkpoint();
    // The files wait outside the project, so the deletion can be undone until it is closed.
    PictureChange *change = PictureChange::removed(
        this, before, PictureReferences::validNumbers(m_library->pictureModel()->tickedRows(), before.count()),
        m_history->asideFolder(), m_history->resyncer(), &failed);
    if (change)
        m_history->pushDone(change);
    m_library->refreshPictures();
    m_selectedImageNum = -1;
    if (!failed.isEmpty())
        message(m_infoBox, QMyMessageBox::Warning, 0, 0,
                tr("以下图片未能删除：") + QLatin1Char('\n') + failed.join(QLatin1Char('\n')));
}

void MainWindow::applyPictureReferences(const ProjectData &after)
{
    for (int p = 0; p < after.pages.size() && m_table->isValidPage(p); ++p) {
        const PageData &page = after.pages.at(p);
        if (p == m_table->currentPage())
            m_frame->setPageImageNum(page.imageNum);
        else
            m_table->setPageImageNum(p, page.imageNum);
        if (!m_table->hasWidgets(p)) {
            m_table->setPendingControls(p, page.controls);
            continue;
        }
        const QList<QMyWidget *> &controls = m_table->pageControls(p);
        for (int i = 0; i < controls.size() && i < page.controls.size(); ++i) {
            QMyWidget *w = controls.at(i);
            const ControlRecord &r = page.controls.at(i);
            if (w->record() == r)
                continue;
            w->setImageNum(r.imageNum);
            w->setCutImageNum(r.cutImageNum);
            w->setBackgroundImageNum(r.backgroundImageNum);
            w->setBackgroundCutImageNum(r.backgroundCutImageNum);
            w->setPressImageNum(r.pressImageNum);
            w->setPressCutImageNum(r.pressCutImageNum);
        }
    }
    m_logo1 = after.logo1;
    m_logo2 = after.logo2;
    ui.editLogo1->setText(m_logo1 == -1 ? QString() : QString::number(m_logo1));
    ui.editLogo2->setText(m_logo2 == -1 ? QString() : QString::number(m_logo2));
    // The property panel shows the selection's new numbers.
    if (QMyWidget *selected = m_frame->selectedControl())
        slotRecvWnd(selected);
}

QString MainWindow::pictureFolder() const
{
    return ProjectFolders::pictures(projectFolder());
}

bool MainWindow::pictureFolderChanging()
{
    return PictureFiles::noteUnsavedPictures(App::projectPath());
}

void MainWindow::reloadPictures()
{
    m_table->setPictures(PictureLibrary::fromFolder(pictureFolder()));
    m_library->refreshPictures();
    m_pictureLibraryChanged = true;
    m_selectedImageNum = -1;
}

void MainWindow::deleteTickedFonts()
{
    const QVector<int> rows = m_library->fontModel()->tickedRows();
    const QStringList paths = m_library->fontPaths();
    QStringList failed;
    for (int r : rows) {
        if (r < paths.size() && !QFile::remove(paths.at(r)) && QFileInfo::exists(paths.at(r)))
            failed << QFileInfo(paths.at(r)).fileName();
    }
    m_library->reloadFonts(projectFolder());
    if (!failed.isEmpty())
        message(m_infoBox, QMyMessageBox::Warning, 0, 0,
                tr("以下字库未能删除：") + QLatin1Char('\n') + failed.join(QLatin1Char('\n')));
}
