#include "qmystandarditemmodel.h"

#include "model/controlrecord.h"

#include <QMimeData>

Qt::ItemFlags QMyStandardItemModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QStandardItemModel::flags(index);
    if (index.isValid())
        f |= Qt::ItemIsDragEnabled;
    return f;
}

QStringList QMyStandardItemModel::mimeTypes() const { return {QStringLiteral("TypeName")}; }

QMimeData *QMyStandardItemModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty())
        return nullptr;
    const int row = indexes.first().row();
    if (row < 0 || row >= ClassNameList().size())
        return nullptr;
    auto *data = new QMimeData;
    data->setData(QStringLiteral("TypeName"), ClassNameList().at(row).toUtf8());
    return data;
}
