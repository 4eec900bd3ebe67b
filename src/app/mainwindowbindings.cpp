// Firmware bindings from the window: the export dialog behind the save button's menu, the choice
// and the exported layout's stamp kept per project, and the notice when an edit moved numbers
// under bindings already exported.
#include "mainwindow.h"

#include "appglobals.h"
#include "bindings/bindings.h"
#include "bindings/generatedfile.h"
#include "dialogs/bindingsdlg.h"
#include "dialogs/qmymessagebox.h"
#include "mainform.h"
#include "projecthistory.h"
#include "systemsettings.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolButton>
#include <QUndoStack>

namespace {

// Settings of one project, under a key made from its path.
QString bindingsKey(const QString &project, const char *field)
{
    const QByteArray path = QFileInfo(project).absoluteFilePath().toUtf8();
    return QStringLiteral("Bindings/%1/%2")
        .arg(QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16)),
             QLatin1String(field));
}

}  // namespace

void MainWindow::setupBindings()
{
    m_exportBindingsAction = new QAction(this);
    m_exportBindingsAction->setObjectName(QStringLiteral("actionExportBindings"));
    connect(m_exportBindingsAction, &QAction::triggered, this, &MainWindow::exportBindings);
    auto *menu = new QMenu(this);
    menu->addAction(m_exportBindingsAction);
    ui.btnSavePro->setMenu(menu);
    ui.btnSavePro->setPopupMode(QToolButton::MenuButtonPopup);
    connect(m_history->stack(), &QUndoStack::indexChanged, this, &MainWindow::checkBindingsStamp);
    // A lasting note beside the zoom rather than a passing message, which would hide undo and redo
    // just when they may be wanted.
    m_bindingsNotice = new QLabel(statusBar());
    m_bindingsNotice->setObjectName(QStringLiteral("labBindingsNotice"));
    m_bindingsNotice->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_bindingsNotice->hide();
    statusBar()->insertPermanentWidget(0, m_bindingsNotice);
    retranslateBindings();
}

void MainWindow::retranslateBindings()
{
    m_exportBindingsAction->setText(tr("导出固件接口…"));
    m_bindingsNotice->setText(tr("控件编号已改变，固件接口需要重新导出"));
}

BindingsChoice MainWindow::bindingsChoice() const
{
    SystemSettings settings;
    const QSettings &s = settings.settings();
    const QString project = App::projectPath();
    const QFileInfo info(project);
    BindingsChoice c;
    c.python = s.value(bindingsKey(project, "python"), false).toBool();
    c.cFolder = s.value(bindingsKey(project, "cFolder"), info.dir().filePath(QStringLiteral("firmware"))).toString();
    c.prefix = s.value(bindingsKey(project, "prefix"), GeneratedFile::defaultPrefix(project)).toString();
    c.pythonFile = s.value(bindingsKey(project, "pythonFile"), info.dir().filePath(c.prefix + QStringLiteral(".py"))).toString();
    c.allChars = s.value(bindingsKey(project, "allChars"), false).toBool();
    return c;
}

void MainWindow::exportBindings()
{
    if (!App::projectPath().contains(QLatin1String(".Tavo"))) {
        message(m_questionBox, QMyMessageBox::Hint, 0, 0, tr("未创建项目，请您先创建项目！"));
        return;
    }
    auto *dlg = new BindingsDlg(bindingsChoice(), this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QDialog::accepted, this, [this, dlg]() { writeBindings(dlg->choice()); });
    dlg->open();
}

bool MainWindow::writeBindings(const BindingsChoice &choice)
{
    const QString project = App::projectPath();
    Bindings::Options options;
    options.language = choice.python ? Bindings::Language::Python : Bindings::Language::C;
    options.prefix = choice.prefix;
    options.allCharacters = choice.allChars;
    const QString output = choice.python ? choice.pythonFile : choice.cFolder;
    options.command = Bindings::commandLine(project, options, output);
    Bindings::Result result;
    QString error;
    QStringList written;
    if (output.isEmpty())
        error = tr("请选择导出的位置！");
    else if (Bindings::generate(projectData(), options, QFileInfo(choice.pythonFile).fileName(), &result, &error))
        Bindings::writeFiles(choice.python ? QFileInfo(choice.pythonFile).path() : choice.cFolder, result, &written, &error);
    if (written.size() != result.files.size() || result.files.isEmpty()) {
        message(m_infoBox, QMyMessageBox::Error, 0, 0, tr("导出固件接口失败：%1").arg(error));
        return false;
    }
    SystemSettings settings;
    QSettings &s = settings.settings();
    s.setValue(bindingsKey(project, "python"), choice.python);
    s.setValue(bindingsKey(project, "cFolder"), choice.cFolder);
    s.setValue(bindingsKey(project, "pythonFile"), choice.pythonFile);
    s.setValue(bindingsKey(project, "prefix"), choice.prefix);
    s.setValue(bindingsKey(project, "allChars"), choice.allChars);
    s.setValue(bindingsKey(project, "stamp"), result.stamp);
    m_bindingsStampProject = project;
    m_bindingsStamp = result.stamp;
    m_bindingsNotice->hide();
    message(m_infoBox, QMyMessageBox::Hint, 0, 0,
            tr("已导出固件接口：\n%1\n字符表：%2个汉字等字符").arg(written.join(QLatin1Char('\n'))).arg(result.tableCharacters));
    return true;
}

void MainWindow::checkBindingsStamp()
{
    const QString project = App::projectPath();
    if (!project.contains(QLatin1String(".Tavo")))
        return;
    // The settings file is read once per project, not on every edit.
    if (m_bindingsStampProject != project) {
        m_bindingsStampProject = project;
        m_bindingsStamp = SystemSettings().settings().value(bindingsKey(project, "stamp")).toString();
    }
    const QString &exported = m_bindingsStamp;
    if (exported.isEmpty()) {
        m_bindingsNotice->hide();
        return;
    }
    BindingLayout::Layout layout;
    QString error;
    const bool same = BindingLayout::fromProject(projectData(), &layout, &error) && BindingLayout::stamp(layout) == exported;
    m_bindingsNotice->setVisible(!same);
}
