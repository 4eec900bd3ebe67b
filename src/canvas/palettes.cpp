#include "palettes.h"

#include "icons.h"
#include "itemdata.h"
#include "itemdelegate.h"
#include "pagetable.h"
#include "qmystandarditemmodel.h"

#include <QListView>
#include <QObject>

namespace {

const char *const kViewStyle = "QListView::item{height:30px;}";

void fill(QMyStandardItemModel *model, const QStringList &icons, const QStringList &labels)
{
    initTavoIcons();
    qRegisterMetaType<ItemData>("ItemData");
    model->clear();
    for (int i = 0; i < icons.size(); ++i) {
        auto *item = new QStandardItem;
        item->setEditable(false);
        item->setData(QVariant::fromValue(ItemData{icons.at(i), labels.value(i)}), Qt::UserRole + 1);
        // Plain text too, for accessibility and for finding a row by its label.
        item->setData(labels.value(i), Qt::DisplayRole);
        model->appendRow(item);
    }
}

}  // namespace

namespace Palettes {

const QStringList &controlIcons()
{
    static const QStringList icons{QStringLiteral(":images/Text.png"),   QStringLiteral(":images/Num.png"),
                                   QStringLiteral(":images/Button.png"), QStringLiteral(":images/Prog.png"),
                                   QStringLiteral(":images/Pointer.png"), QStringLiteral(":images/QRcode.png")};
    return icons;
}

const QStringList &drawIcons()
{
    static const QStringList icons{QStringLiteral(":images/Cancel.png"), QStringLiteral(":images/BOX.png"),
                                   QStringLiteral(":images/BOXF.png"),   QStringLiteral(":images/CIR.png"),
                                   QStringLiteral(":images/CIRF.png"),   QStringLiteral(":images/PS.png"),
                                   QStringLiteral(":images/PL.png")};
    return icons;
}

QStringList controlLabels()
{
    return {QObject::tr("文本"), QObject::tr("数字"), QObject::tr("按键"),
            QObject::tr("进度条"), QObject::tr("指针"), QObject::tr("二维码")};
}

QStringList drawLabels()
{
    return {QObject::tr("取消"), QObject::tr("画线框"), QObject::tr("画填充框"), QObject::tr("画线圆"),
            QObject::tr("画填充圆"), QObject::tr("画点"), QObject::tr("画直线")};
}

void fillControlModel(QMyStandardItemModel *model) { fill(model, controlIcons(), controlLabels()); }

void fillDrawModel(QMyStandardItemModel *model) { fill(model, drawIcons(), drawLabels()); }

void setupControlView(QListView *view, QMyStandardItemModel *model)
{
    fillControlModel(model);
    view->setModel(model);
    view->setItemDelegate(new ItemDelegate(view));
    view->setFixedSize(260, 190);
    view->setDragDropMode(QAbstractItemView::DragOnly);
    view->setDragEnabled(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setBatchSize(100);
    view->setMouseTracking(true);
    view->setStyleSheet(QLatin1String(kViewStyle));
}

void setupDrawView(QListView *view, QMyStandardItemModel *model, PageTable *table)
{
    fillDrawModel(model);
    view->setModel(model);
    view->setItemDelegate(new ItemDelegate(view));
    view->setFixedSize(260, 220);
    view->setDragDropMode(QAbstractItemView::NoDragDrop);
    view->setDragEnabled(false);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setMouseTracking(true);
    view->setStyleSheet(QLatin1String(kViewStyle));
    view->setCurrentIndex(model->index(0, 0));
    table->setDrawTool(0);
    QObject::connect(view, &QListView::clicked, table, [table](const QModelIndex &index) {
        if (index.row() >= 0)
            table->setDrawTool(index.row());
    });
}

}  // namespace Palettes
