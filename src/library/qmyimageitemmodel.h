#pragma once

#include <QStandardItemModel>

// The picture and font tables: six centred columns, a tick box in column 0 whose state is kept
// as 2 (ticked) or 0 per row.
class QMyImageItemModel : public QStandardItemModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 6;
    // Where column 0 keeps the row's tick: 2 ticked, 0 not.
    static constexpr int CheckRole = Qt::UserRole + 1;

    explicit QMyImageItemModel(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    bool isTicked(int row) const;
    void setTicked(int row, bool ticked);
    void setAllTicked(bool ticked);
    QVector<int> tickedRows() const;
};
