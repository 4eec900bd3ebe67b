// The projects opened last, under the import button: one picked is imported as a chosen one is;
// those whose file is gone are shown greyed and can be taken off the list.
#include "mainwindow.h"

#include "appglobals.h"
#include "recentprojects.h"
#include "systemsettings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QToolButton>

void MainWindow::setupRecentProjects()
{
    m_recent = std::make_unique<RecentProjects>(SystemSettings::fileName());
    m_recentMenu = new QMenu(this);
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    ui.btnLoadPro->setMenu(m_recentMenu);
    ui.btnLoadPro->setPopupMode(QToolButton::MenuButtonPopup);
    connect(m_recentMenu, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    // The button itself always asks for a file (this runs after its question is shown).
    connect(ui.btnLoadPro, &QToolButton::clicked, this, [this] { m_recentChoice.clear(); });
}

void MainWindow::noteRecentProject(const QString &path)
{
    if (m_recent && !path.isEmpty())
        m_recent->add(path);
}

void MainWindow::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList paths = m_recent->paths();
    bool missing = false;
    for (int i = 0; i < paths.size(); ++i) {
        const QString &path = paths.at(i);
        const QFileInfo file(path);
        // "1  demo.Tavo  (/home/me/projects/demo)"
        QAction *a = m_recentMenu->addAction(QStringLiteral("&%1  %2  (%3)")
                                                 .arg(i + 1)
                                                 .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath())));
        a->setData(path);
        if (!file.isFile()) {
            a->setEnabled(false);
            a->setToolTip(tr("文件不存在"));
            missing = true;
            continue;
        }
        connect(a, &QAction::triggered, this, [this, path] { openRecentProject(path); });
    }
    if (paths.isEmpty()) {
        m_recentMenu->addAction(tr("（没有最近的项目）"))->setEnabled(false);
        return;
    }
    m_recentMenu->addSeparator();
    QAction *prune = m_recentMenu->addAction(tr("移除不存在的项目"));
    prune->setObjectName(QStringLiteral("actionRemoveMissing"));
    prune->setEnabled(missing);
    connect(prune, &QAction::triggered, this, [this] { m_recent->removeMissing(); });
    QAction *clear = m_recentMenu->addAction(tr("清空列表"));
    clear->setObjectName(QStringLiteral("actionClearRecent"));
    connect(clear, &QAction::triggered, this, [this] { m_recent->clear(); });
}

void MainWindow::openRecentProject(const QString &path)
{
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(App::projectPath()).absoluteFilePath()
        && App::isProjectOpen())
        return;
    // Asked as the import button asks; the answer imports this file.
    m_recentChoice = path;
    on_btnLoadPro_clicked();
}

RecentProjects *MainWindow::recentProjects() const
{
    return m_recent.get();
}
