#include "library/qmyimageitemmodel.h"

QMyImageItemModel::QMyImageItemModel(QObject *parent)
    : QStandardItemModel(0, ColumnCount, parent)
{
}

QVariant QMyImageItemModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignHCenter | Qt::AlignVCenter);
    if (role == Qt::CheckStateRole) {
        if (index.column() != 0)
            return QVariant();
        return isTicked(index.row()) ? Qt::Checked : Qt::Unchecked;
    }
    return QStandardItemModel::data(index, role);
}

bool QMyImageItemModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role == Qt::CheckStateRole && index.isValid() && index.column() == 0) {
        const int state = value.toInt() == Qt::Checked ? 2 : 0;
        if (!QStandardItemModel::setData(index, state, CheckRole))
            return false;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }
    return QStandardItemModel::setData(index, value, role);
}

Qt::ItemFlags QMyImageItemModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() == 0)
        return Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

bool QMyImageItemModel::isTicked(int row) const
{
    return QStandardItemModel::data(index(row, 0), CheckRole).toInt() == 2;
}

void QMyImageItemModel::setTicked(int row, bool ticked)
{
    setData(index(row, 0), ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

void QMyImageItemModel::setAllTicked(bool ticked)
{
    for (int r = 0; r < rowCount(); ++r)
        setTicked(r, ticked);
}

QVector<int> QMyImageItemModel::tickedRows() const
{
    QVector<int> rows;
    for (int r = 0; r < rowCount(); ++r) {
        if (isTicked(r))
            rows << r;
    }
    return rows;
}
