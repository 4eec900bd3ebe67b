#pragma once

#include <QStyledItemDelegate>

// Paints a palette row: hover and selection backgrounds, the icon, the label.
class ItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
