#pragma once

#include "model/projectdata.h"

#include <QVector>

class PageTable;
class QMyFrame;

// What the project history needs of the window that holds the project.
class HistoryTarget {
public:
    virtual ~HistoryTarget() = default;
    // Project values other than the pages; the values the module reports back (baud rate,
    // backlight) and the page shown are left out, as they are no edits.
    virtual ProjectData historyFields() const = 0;
    virtual void applyHistoryFields(const ProjectData &fields) = 0;
    // Replaces every page, then shows page `shown`.
    virtual void replaceAllPages(const QVector<PageData> &pages, int shown) = 0;
    virtual void showHistoryPage(int n) = 0;
    // Selects these controls and primitives (indexes) of page n, the page shown.
    virtual void selectHistoryItems(int n, const QList<int> &controls, const QList<int> &primitives) = 0;
    virtual PageTable *historyTable() const = 0;
    virtual QMyFrame *historyCanvas() const = 0;
    // False while no project is open: nothing is recorded then.
    virtual bool historyActive() const = 0;
};
