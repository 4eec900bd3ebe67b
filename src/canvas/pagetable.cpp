#include "pagetable.h"

#include "qmyframe.h"
#include "qmywidget.h"

#include <algorithm>

namespace {
const QList<QMyWidget *> kNoControls;

// Records held for later as their widgets would hold them; untouched vectors stay shared.
void settle(QVector<ControlRecord> &records)
{
    for (int i = 0; i < records.size(); ++i) {
        ControlRecord r = records.at(i);
        r.settle();
        if (!(r == records.at(i)))
            records[i] = r;
    }
}
const QList<QMyDrawType *> kNoPrimitives;

// Item by item: Qt 6.4's list comparison hands null pointers to memcmp for two empty lists.
template <typename T>
bool sameItems(const QList<T> &a, const QList<T> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend());
}
}  // namespace

PageTable::PageTable(QObject *parent) : QObject(parent)
{
    // Whatever goes away leaves the selection first.
    connect(this, &PageTable::controlAboutToBeDestroyed, this, [this](QMyWidget *w) {
        if (m_selControls.removeAll(w) > 0)
            emit selectionChanged();
    });
    connect(this, &PageTable::primitiveAboutToBeDestroyed, this, [this](QMyDrawType *d) {
        if (m_selPrimitives.removeAll(d) > 0)
            emit selectionChanged();
    });
}

bool PageTable::isSelected(const QMyWidget *w) const
{
    return w && m_selControls.contains(const_cast<QMyWidget *>(w));
}

bool PageTable::isSelected(const QMyDrawType *d) const
{
    return d && m_selPrimitives.contains(const_cast<QMyDrawType *>(d));
}

void PageTable::setSelection(const QList<QMyWidget *> &controls, const QList<QMyDrawType *> &primitives)
{
    if (sameItems(controls, m_selControls) && sameItems(primitives, m_selPrimitives))
        return;
    m_selControls = controls;
    m_selPrimitives = primitives;
    emit selectionChanged();
}

PageTable::~PageTable()
{
    // Controls are widgets of the canvas and die with it; primitives are ours.
    for (Page &p : m_pages)
        qDeleteAll(p.primitives);
}

void PageTable::setDrawTool(int tool)
{
    if (tool < 0 || tool > QMyDrawType::Line)
        tool = 0;
    if (tool == m_drawTool)
        return;
    m_drawTool = tool;
    emit drawToolChanged(tool);
}

const QList<QMyWidget *> &PageTable::pageControls(int n) const
{
    if (!isValidPage(n))
        return kNoControls;
    // Making the widgets changes how the page is held, not what it holds.
    if (m_pages.at(n).pending)
        const_cast<PageTable *>(this)->makeWidgets(n);
    return m_pages.at(n).controls;
}

void PageTable::setPendingControls(int n, const QVector<ControlRecord> &controls)
{
    if (!isValidPage(n))
        return;
    Page &p = m_pages[n];
    if (!p.pending && !p.controls.isEmpty()) {
        // Widgets exist already: these get theirs now as well.
        for (const ControlRecord &r : controls)
            appendControl(n, m_maker ? m_maker(n, r) : nullptr);
        return;
    }
    p.pending = true;
    p.pendingControls = controls;
    settle(p.pendingControls);
}

void PageTable::makeWidgets(int n)
{
    Page &p = m_pages[n];
    // Without a canvas the records stay as they are, and still save.
    if (!m_maker)
        return;
    const QVector<ControlRecord> records = p.pendingControls;
    p.pending = false;
    p.pendingControls.clear();
    for (const ControlRecord &r : records)
        appendControl(n, m_maker(n, r));
}

const QList<QMyDrawType *> &PageTable::pagePrimitives(int n) const
{
    return isValidPage(n) ? m_pages.at(n).primitives : kNoPrimitives;
}

int PageTable::pageOf(const QMyWidget *w) const
{
    // Pages without widgets cannot hold this one.
    for (int i = 0; i < m_pages.size(); ++i) {
        if (m_pages.at(i).controls.contains(const_cast<QMyWidget *>(w)))
            return i;
    }
    return -1;
}

int PageTable::pageOf(const QMyDrawType *d) const
{
    for (int i = 0; i < m_pages.size(); ++i) {
        if (m_pages.at(i).primitives.contains(const_cast<QMyDrawType *>(d)))
            return i;
    }
    return -1;
}

#define TAVO_PAGE_SETTER(setter, field)  \
    void PageTable::setter(int n, int v) \
    {                                    \
        if (isValidPage(n))              \
            m_pages[n].field = v;        \
    }

TAVO_PAGE_SETTER(setPageImageNum, imageNum)
TAVO_PAGE_SETTER(setPageBackgroundNum, backgroundNum)
TAVO_PAGE_SETTER(setPageHelpLineNum, helpLineNum)
TAVO_PAGE_SETTER(setPageHelpLineLeft, helpLineLeft)
TAVO_PAGE_SETTER(setPageHelpLineRight, helpLineRight)
TAVO_PAGE_SETTER(setPageHelpLineTop, helpLineTop)
TAVO_PAGE_SETTER(setPageHelpLineBottom, helpLineBottom)
#undef TAVO_PAGE_SETTER

int PageTable::addPage() { return insertPage(m_pages.size()); }

int PageTable::insertPage(int n)
{
    n = qBound(0, n, m_pages.size());
    m_pages.insert(n, Page());
    return n;
}

void PageTable::destroyPageContents(Page &p)
{
    p.pending = false;
    p.pendingControls.clear();
    const QList<QMyDrawType *> prims = p.primitives;
    p.primitives.clear();
    for (QMyDrawType *d : prims) {
        emit primitiveAboutToBeDestroyed(d);
        delete d;
    }
    const QList<QMyWidget *> controls = p.controls;
    p.controls.clear();
    for (QMyWidget *w : controls) {
        emit controlAboutToBeDestroyed(w);
        // Already off the list: no need to look through every page for it.
        disconnect(w, &QObject::destroyed, this, nullptr);
        delete w;
    }
}

void PageTable::removePage(int n)
{
    if (!isValidPage(n))
        return;
    destroyPageContents(m_pages[n]);
    m_pages.remove(n);
}

void PageTable::clearPage(int n)
{
    if (isValidPage(n))
        destroyPageContents(m_pages[n]);
}

void PageTable::movePage(int from, int to)
{
    if (!isValidPage(from) || !isValidPage(to) || from == to)
        return;
    m_pages.move(from, to);
}

void PageTable::clear()
{
    for (Page &p : m_pages)
        destroyPageContents(p);
    m_pages.clear();
    m_currentPage = 0;
}

void PageTable::appendControl(int n, QMyWidget *w)
{
    if (!isValidPage(n) || !w)
        return;
    m_pages[n].controls.append(w);
    // A control that dies with its canvas leaves the table without a dangling entry.
    connect(w, &QObject::destroyed, this, [this, w] {
        for (Page &p : m_pages)
            p.controls.removeAll(w);
    });
}

void PageTable::destroyControl(QMyWidget *w)
{
    const int n = pageOf(w);
    if (n < 0)
        return;
    m_pages[n].controls.removeOne(w);
    emit controlAboutToBeDestroyed(w);
    disconnect(w, &QObject::destroyed, this, nullptr);
    delete w;
}

void PageTable::appendPrimitive(int n, QMyDrawType *d)
{
    if (isValidPage(n) && d)
        m_pages[n].primitives.append(d);
    else
        delete d;
}

void PageTable::destroyPrimitive(QMyDrawType *d)
{
    const int n = pageOf(d);
    if (n < 0)
        return;
    m_pages[n].primitives.removeOne(d);
    emit primitiveAboutToBeDestroyed(d);
    delete d;
}

void PageTable::setPictures(const PictureLibrary &pictures)
{
    m_pictures = pictures;
    emit picturesChanged();
}

void PageTable::setPageFields(int n, const PageData &d)
{
    if (!isValidPage(n))
        return;
    Page &p = m_pages[n];
    p.imageNum = d.imageNum;
    p.backgroundNum = d.backgroundNum;
    p.helpLineNum = d.helpLineNum;
    p.helpLineLeft = d.helpLineLeft;
    p.helpLineRight = d.helpLineRight;
    p.helpLineTop = d.helpLineTop;
    p.helpLineBottom = d.helpLineBottom;
    p.name = d.name;
}

void PageTable::setPageName(int n, const QString &name)
{
    if (isValidPage(n))
        m_pages[n].name = name;
}

QStringList PageTable::pageNames() const
{
    QStringList names;
    names.reserve(m_pages.size());
    for (const Page &p : m_pages)
        names << p.name;
    return names;
}

void PageTable::appendPrimitivesOf(int n, const PageData &d)
{
    if (!isValidPage(n))
        return;
    for (const QMyDrawType &prim : d.primitives) {
        auto *copy = new QMyDrawType(prim);
        copy->setSelected(false);
        m_pages[n].primitives.append(copy);
    }
}

PageData PageTable::pageData(int n) const
{
    PageData d;
    if (!isValidPage(n))
        return d;
    const Page &p = m_pages.at(n);
    d.imageNum = p.imageNum;
    d.backgroundNum = p.backgroundNum;
    d.helpLineNum = p.helpLineNum;
    d.helpLineLeft = p.helpLineLeft;
    d.helpLineRight = p.helpLineRight;
    d.helpLineTop = p.helpLineTop;
    d.helpLineBottom = p.helpLineBottom;
    d.name = p.name;
    if (p.pending) {
        d.controls = p.pendingControls;
    } else {
        d.controls.reserve(p.controls.size());
        for (const QMyWidget *w : p.controls)
            d.controls.append(w->record());
    }
    d.primitives.reserve(p.primitives.size());
    for (const QMyDrawType *prim : p.primitives) {
        QMyDrawType copy = *prim;
        copy.setSelected(false);
        d.primitives.append(copy);
    }
    return d;
}

QVector<PageData> PageTable::pagesData() const
{
    QVector<PageData> out;
    out.reserve(m_pages.size());
    for (int i = 0; i < m_pages.size(); ++i)
        out.append(pageData(i));
    return out;
}

void PageTable::writeTo(ProjectData &project) const
{
    project.pages = pagesData();
    project.currentPage = m_currentPage;
}

void PageTable::readFrom(const ProjectData &project, QMyFrame *canvas)
{
    clear();
    for (const PageData &pd : project.pages) {
        const int n = addPage();
        if (canvas) {
            canvas->fillPage(n, pd);
        } else {
            setPageFields(n, pd);
            appendPrimitivesOf(n, pd);
        }
    }
    m_currentPage = isValidPage(project.currentPage) ? project.currentPage : 0;
}
