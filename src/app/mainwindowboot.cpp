// The boot page: the page the module shows after start-up. Until the user picks one in the box
// it follows the page shown, as older project files expect; once picked it stays put.
#include "mainwindow.h"

#include "canvas/pagetable.h"
#include "edit/pagenumbers.h"

#include <QComboBox>
#include <QListWidget>
#include <QPainter>

namespace {

// A small green flag with a "B", drawn here so no icon file is needed.
QIcon bootPageIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(38, 150, 70));
    p.drawRoundedRect(QRectF(0.5, 1.5, 15, 13), 3, 3);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 1, 16, 14), Qt::AlignCenter, QStringLiteral("B"));
    return QIcon(pixmap);
}

}  // namespace

void MainWindow::setupBootPage()
{
    // activated, not currentIndexChanged: only the user's own pick fixes the boot page.
    connect(ui.cbBootJump, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        pickBootPage(index);
    });
}

int MainWindow::bootPage() const
{
    if (m_table->isValidPage(m_bootPage))
        return m_bootPage;
    return m_table->isValidPage(m_table->currentPage()) ? m_table->currentPage() : 0;
}

void MainWindow::pickBootPage(int n)
{
    m_bootPage = m_table->isValidPage(n) ? n : -1;
    showBootPage();
}

void MainWindow::showBootPage()
{
    const int boot = bootPage();
    if (boot < ui.cbBootJump->count() && ui.cbBootJump->currentIndex() != boot) {
        const QSignalBlocker block(ui.cbBootJump);
        ui.cbBootJump->setCurrentIndex(boot);
    }
    static const QIcon icon = bootPageIcon();
    const QString tip = tr("开机显示此页");
    for (int i = 0; i < ui.listWidget->count(); ++i) {
        QListWidgetItem *item = ui.listWidget->item(i);
        const bool isBoot = i == boot;
        // The tip is set every time, so a language switch reaches it too.
        if (isBoot != !item->icon().isNull())
            item->setIcon(isBoot ? icon : QIcon());
        item->setToolTip(isBoot ? tip : QString());
    }
}

void MainWindow::bootPageAfterPageRemoved(int removed)
{
    // The picked page gone, the boot page follows the page shown again.
    m_bootPage = PageNumbers::afterRemoval(m_bootPage, removed);
}
