#pragma once

#include <QStringList>

class PageTable;
class QListView;
class QMyStandardItemModel;

// The control palette (drag a kind onto the canvas) and the draw palette (choose the draw tool).
namespace Palettes {

// Icon resources per row, in ClassNameList order and in draw-tool order (row 0 cancels).
const QStringList &controlIcons();
const QStringList &drawIcons();
// Row labels in the current language.
QStringList controlLabels();
QStringList drawLabels();

// Clears and refills the models; run again after a language change.
void fillControlModel(QMyStandardItemModel *model);
void fillDrawModel(QMyStandardItemModel *model);

// Sets the views up as the main window shows them and fills their models. A click on a row of
// the draw palette sets the table's draw tool.
void setupControlView(QListView *view, QMyStandardItemModel *model);
void setupDrawView(QListView *view, QMyStandardItemModel *model, PageTable *table);

}  // namespace Palettes
