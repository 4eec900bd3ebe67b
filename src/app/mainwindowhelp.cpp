// The help button and the help actions of the main window.
#include "mainwindow.h"

#include "dialogs/qmymessagebox.h"
#include "helpdocuments.h"
#include "languagedlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

void MainWindow::on_btnHelp_clicked()
{
    const QPoint at(ui.btnHelp->x(), ui.btnHelp->y() + 54);
    m_helpMenu->popup(ui.btnHelp->parentWidget()->mapToGlobal(at));
}

QString MainWindow::helpProgramDir() const
{
    return m_helpProgramDir.isNull() ? QCoreApplication::applicationDirPath() : m_helpProgramDir;
}

void MainWindow::openHelpDocument(int document)
{
    const auto doc = HelpDocuments::Document(document);
    const QString tablePath = HelpDocuments::tablePath(doc, m_languageDlg->settings().languageId());
    if (tablePath.isEmpty())
        return;
    const QStringList folders = HelpDocuments::searchFolders(helpProgramDir());
    const QString name = QFileInfo(tablePath).fileName();
    const QString path = HelpDocuments::locate(tablePath, folders);
    // The user is told which file and where, so it can be put there or opened by hand.
    if (path.isEmpty()) {
        QStringList shown;
        for (const QString &folder : folders)
            shown << QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
        message(m_infoBox, QMyMessageBox::Warning, 0, 0,
                tr("找不到帮助文档“%1”，已查找的文件夹：\n%2").arg(name, shown.join(QLatin1Char('\n'))));
        return;
    }
    const QString cannotOpen = tr("无法打开帮助文档“%1”（所在文件夹：%2），请安装能打开此类文件的程序后重试。")
                                   .arg(name, QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    // The opener may fail after it started (no viewer for the type): said then, if the window is
    // still there.
    const QPointer<MainWindow> alive(this);
    const auto failed = [alive, cannotOpen] {
        if (alive)
            alive->message(alive->m_infoBox, QMyMessageBox::Warning, 0, 0, cannotOpen);
    };
    if (!HelpDocuments::open(doc, m_languageDlg->settings().languageId(), helpProgramDir(), failed))
        failed();
}

void MainWindow::on_actionUseDocument_triggered() { openHelpDocument(HelpDocuments::UseDocument); }
void MainWindow::on_actionDocument_triggered() { openHelpDocument(HelpDocuments::ApplicationNote); }
void MainWindow::on_actionInstr_triggered() { openHelpDocument(HelpDocuments::InstructionSet); }
void MainWindow::on_actionProgram_triggered() { openHelpDocument(HelpDocuments::Programming); }
void MainWindow::on_actionNotice_triggered() { openHelpDocument(HelpDocuments::Notice); }
void MainWindow::on_actionOffline_triggered() { openHelpDocument(HelpDocuments::OfflineUpload); }
void MainWindow::on_actionStudy_triggered() { openHelpDocument(HelpDocuments::Study); }
void MainWindow::on_actionSupport_triggered() { openHelpDocument(HelpDocuments::Support); }
