// The window from the keyboard: Tab through the areas in reading order, the console editor
// giving Tab up, and placing a palette item with Enter.
#include "mainwindow.h"

#include "appglobals.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "model/controlrecord.h"
#include "propertypanel.h"
#include "qttreepropertybrowser.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// The console's editor: Tab moves on like everywhere else; Ctrl+Tab types a tab.
class TabTyper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
                if (auto *edit = qobject_cast<QTextEdit *>(watched))
                    edit->insertPlainText(QStringLiteral("\t"));
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// The widgets of a box layout in the order they sit, nested boxes included.
void collectWidgets(QLayout *layout, QList<QWidget *> *out)
{
    for (int i = 0; layout && i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget())
            out->append(item->widget());
        else
            collectWidgets(item->layout(), out);
    }
}

}  // namespace

void MainWindow::setupFocus()
{
    ui.textBrowser->setTabChangesFocus(true);
    ui.textBrowser->installEventFilter(new TabTyper(ui.textBrowser));
    // The page takes the keyboard from Tab too, so the arrow keys nudge without a click.
    m_frame->setFocusPolicy(Qt::StrongFocus);

    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *place = new QShortcut(QKeySequence(key), ui.listView);
        place->setContext(Qt::WidgetShortcut);
        connect(place, &QShortcut::activated, this, [this] { placeFromPalette(ui.listView->currentIndex().row()); });
    }

    // Reading order: the top bar, the palettes and pages, the page, the console, the property
    // panel, the boot settings, the library, then the status bar.
    QList<QWidget *> chain;
    QList<QWidget *> top;
    collectWidgets(ui.centralWidget->layout()->itemAt(0)->layout(), &top);
    for (QWidget *w : top) {
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w;
    }
    chain << ui.listView << ui.listViewDraw << ui.btnPageAdd << ui.btnPageSub << ui.listWidget << m_frame
          << ui.textBrowser << ui.btnClearCmd << ui.cbSendTarget << ui.btnSendCmd << ui.listViewCmd
          << ui.textBrowserRecv << ui.btnClearRecv << m_panel->browser()->treeWidget() << ui.cbBootJump
          << ui.btnLogo1 << ui.btnRemoveLogo1 << ui.btnLogo2 << ui.btnRemoveLogo2 << ui.sbLogoX << ui.sbLogoY
          << ui.sbLogoW << ui.sbLogoH << ui.sbLogoTime << ui.tabWidgetImageFont << ui.tvImage
          << ui.btnImageFontAdd << ui.btnImageFontSub << ui.btnImageFontAll << ui.btnImageFontCannel
          << ui.btnDownLoad;
    for (QWidget *w : statusBar()->findChildren<QWidget *>()) {
        if ((w->focusPolicy() & Qt::TabFocus) && !chain.contains(w))
            chain << w;
    }
    // The read-only picture numbers are no stop of their own.
    ui.editLogo1->setFocusPolicy(Qt::ClickFocus);
    ui.editLogo2->setFocusPolicy(Qt::ClickFocus);
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

void MainWindow::placeFromPalette(int row)
{
    if (!App::isProjectOpen() || row < 0 || row >= ClassNameList().size() || !m_frame->isVisible())
        return;
    // The middle of the part of the page the scroll area shows.
    QRect visible = m_frame->visibleRegion().boundingRect();
    if (visible.isEmpty())
        visible = m_frame->rect();
    const QPoint centre = m_frame->toModule(visible.center());
    QMyWidget *w = m_frame->addControl(ClassNameList().at(row), centre);
    if (!w)
        return;
    w->setPosition(centre.x() - w->getW() / 2, centre.y() - w->getH() / 2);
    m_frame->selectItems({w}, {});
    slotRecvWnd(w);
}
