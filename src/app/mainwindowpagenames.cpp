// The firmware's page names in the window: the page list's labels and renaming a page from it.
#include "mainwindow.h"

#include "canvas/pagetable.h"
#include "dialogs/qmymessagebox.h"
#include "edit/propertyedit.h"
#include "projecthistory.h"

#include <QAction>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>

void MainWindow::setupPageNames()
{
    m_actRenamePage = m_pageMenu->addAction(tr("重命名页面"));
    m_actRenamePage->setObjectName(QStringLiteral("actionRenamePage"));
    connect(m_actRenamePage, &QAction::triggered, this, [this] { askPageName(m_table->currentPage()); });
    connect(ui.listWidget, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { askPageName(ui.listWidget->row(item)); });
}

QString MainWindow::pageLabel(int n) const
{
    const QString name = m_table->pageName(n);
    const QString number = QStringLiteral("Page%1").arg(n);
    return name.isEmpty() ? number : number + QStringLiteral(" (") + name + QLatin1Char(')');
}

void MainWindow::refreshPageLabels()
{
    const QSignalBlocker block(ui.listWidget);
    for (int i = 0; i < ui.listWidget->count() && i < m_table->pageCount(); ++i) {
        QListWidgetItem *item = ui.listWidget->item(i);
        const QString label = pageLabel(i);
        if (item->text() != label)
            item->setText(label);
    }
}

void MainWindow::askPageName(int n)
{
    if (!m_table->isValidPage(n))
        return;
    auto *dialog = new QInputDialog(this);
    dialog->setObjectName(QStringLiteral("pageNameDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("重命名页面"));
    dialog->setLabelText(tr("Page%1 的名称（固件代码使用；留空表示不命名）：").arg(n));
    dialog->setTextValue(m_table->pageName(n));
    connect(dialog, &QInputDialog::textValueSelected, this, [this, n](const QString &text) { renamePage(n, text); });
    dialog->open();
}

bool MainWindow::renamePage(int n, const QString &name)
{
    if (!m_table->isValidPage(n))
        return false;
    QString stored = m_table->pageName(n);
    QStringList others = m_table->pageNames();
    others.removeAt(n);
    const EditOutcome o = PropertyEdit::editName(stored, name, others);
    if (o.status == EditOutcome::Refused) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, o.message);
        return false;
    }
    if (!o.changed())
        return true;
    m_table->setPageName(n, stored);
    refreshPageLabels();
    // One step of the history, whatever way the name came (the dialog, a test, a script).
    m_history->checkpoint();
    return true;
}
