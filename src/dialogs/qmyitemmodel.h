#pragma once

#include <QStandardItemModel>

// The console's example list: left-aligned rows, every second row shaded, nothing editable.
class QMyItemModel : public QStandardItemModel {
    Q_OBJECT
public:
    explicit QMyItemModel(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
};
