#include "qmyitemmodel.h"

#include <QBrush>
#include <QColor>

QMyItemModel::QMyItemModel(QObject *parent) : QStandardItemModel(parent) {}

QVariant QMyItemModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::BackgroundRole)
        return index.row() % 2 == 1 ? QVariant(QBrush(QColor(240, 240, 240))) : QVariant();
    return QStandardItemModel::data(index, role);
}

Qt::ItemFlags QMyItemModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool QMyItemModel::setData(const QModelIndex &index, const QVariant &, int)
{
    // The examples are read-only: a write is accepted and changes nothing.
    return index.isValid();
}
