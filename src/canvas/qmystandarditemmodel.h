#pragma once

#include <QStandardItemModel>

// Model of both palettes. Every row can be dragged; the drag carries the ClassName of the
// control kind of that row under "TypeName".
class QMyStandardItemModel : public QStandardItemModel {
    Q_OBJECT
public:
    using QStandardItemModel::QStandardItemModel;

    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    // A drag hands out a copy of the row: were it a move, the view would remove the row from the
    // palette once the canvas took it.
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }
};
