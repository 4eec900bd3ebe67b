// The help button and the help actions of the main window.
#include "mainwindow.h"

#include "helpdocuments.h"
#include "languagedlg.h"

#include <QCoreApplication>
#include <QMenu>
#include <QToolButton>

void MainWindow::on_btnHelp_clicked()
{
    const QPoint at(ui.btnHelp->x(), ui.btnHelp->y() + 54);
    m_helpMenu->popup(ui.btnHelp->parentWidget()->mapToGlobal(at));
}

void MainWindow::openHelpDocument(int document)
{
    HelpDocuments::open(HelpDocuments::Document(document), m_languageDlg->settings().languageId(),
                        QCoreApplication::applicationDirPath());
}

void MainWindow::on_actionUseDocument_triggered() { openHelpDocument(HelpDocuments::UseDocument); }
void MainWindow::on_actionDocument_triggered() { openHelpDocument(HelpDocuments::ApplicationNote); }
void MainWindow::on_actionInstr_triggered() { openHelpDocument(HelpDocuments::InstructionSet); }
void MainWindow::on_actionProgram_triggered() { openHelpDocument(HelpDocuments::Programming); }
void MainWindow::on_actionNotice_triggered() { openHelpDocument(HelpDocuments::Notice); }
void MainWindow::on_actionOffline_triggered() { openHelpDocument(HelpDocuments::OfflineUpload); }
void MainWindow::on_actionStudy_triggered() { openHelpDocument(HelpDocuments::Study); }
void MainWindow::on_actionSupport_triggered() { openHelpDocument(HelpDocuments::Support); }
