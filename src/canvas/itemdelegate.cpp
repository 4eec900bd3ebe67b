#include "itemdelegate.h"

#include "itemdata.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>

namespace {

QPixmap iconPixmap(const QString &path)
{
    QPixmap pm;
    if (!QPixmapCache::find(path, &pm) && pm.load(path))
        QPixmapCache::insert(path, pm);
    return pm;
}

}  // namespace

void ItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.isValid())
        return;
    const QVariant v = index.data(Qt::UserRole + 1);
    ItemData item;
    if (v.canConvert<ItemData>())
        item = v.value<ItemData>();

    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    QRectF r(option.rect);
    r.setWidth(r.width() - 1);
    r.setHeight(r.height() - 1);
    QPainterPath path;
    path.moveTo(r.topRight());
    path.lineTo(r.topLeft());
    path.lineTo(r.bottomLeft());
    path.lineTo(r.bottomRight());
    path.closeSubpath();

    if (option.state & QStyle::State_MouseOver) {
        painter->setPen(QColor(QStringLiteral("#ebeced")));
        painter->setBrush(QColor(QStringLiteral("#ebeced")));
        painter->drawPath(path);
    }
    if (option.state & QStyle::State_Selected) {
        painter->setPen(QColor(QStringLiteral("#e3e3e5")));
        painter->setBrush(QColor(QStringLiteral("#e3e3e5")));
        painter->drawPath(path);
    }

    // Icon and label share the row's middle line, whatever the row's height and the font.
    const qreal side = qMin<qreal>(26, r.height() - 2);
    const QRectF iconRect(r.left() + 5, r.top() + (r.height() - side) / 2, side, side);
    const QPixmap pm = iconPixmap(item.iconPath);
    if (!pm.isNull())
        painter->drawPixmap(iconRect, pm, QRectF(pm.rect()));

    const QRectF textRect(iconRect.right() + 8, r.top(), r.right() - iconRect.right() - 8, r.height());
    painter->setPen(Qt::black);
    painter->setFont(QFont(QStringLiteral("Microsoft Yahei"), 10));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, item.label);
    painter->restore();
}
