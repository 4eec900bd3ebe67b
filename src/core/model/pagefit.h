#pragma once

#include "model/projectdata.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

// Controls and primitives against the page they are on, for a page made smaller (a new
// resolution or orientation) and for the checks before a download.
namespace PageFit {

struct Item {
    int page = 0;
    bool control = true;  // false: a primitive
    int index = 0;        // position in the page's list
    int id = 0;           // control: its number
    bool qrCode = false;
    bool wholly = false;  // nothing of it on the page
};

// Every item lying partly or wholly outside a page of w x h, page by page, controls first.
QVector<Item> itemsOutside(const QVector<PageData> &pages, int w, int h);

// The page with every item moved (never resized) to lie inside w x h; an item larger than the
// page goes to its left or top edge.
PageData movedInside(const PageData &page, int w, int h);

// One warning per item lying wholly outside its page ("第1页控件2完全在页面之外"): the module
// clips, so this does not stop a download, but such an item is never seen.
QStringList outsideWarnings(const QVector<PageData> &pages, int w, int h);

}  // namespace PageFit
