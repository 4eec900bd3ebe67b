#pragma once

#include "library/picturelibrary.h"
#include "model/projectdata.h"
#include "model/qmydrawtype.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVector>

#include <functional>

class QMyFrame;
class QMyWidget;

// The open project's pages as the editor holds them: per page its controls (widgets on the one
// canvas), its primitives (owned here) and its own fields, plus the page shown and the draw tool.
// One object shared by the canvas and the main window. Every control or primitive that goes away
// goes away through here, so whoever remembers one hears about it first.
class PageTable : public QObject {
    Q_OBJECT
public:
    struct Page {
        QList<QMyWidget *> controls;
        QList<QMyDrawType *> primitives;
        int imageNum = -1;
        int backgroundNum = 15;
        int helpLineNum = 0;
        int helpLineLeft = 0;
        int helpLineRight = 0;
        int helpLineTop = 0;
        int helpLineBottom = 0;
        QString name;  // the firmware's name, empty for none
        // A page read but never needed since keeps its controls as records; its widgets are
        // made the first time anything asks for them, so opening a large project stays quick.
        bool pending = false;
        QVector<ControlRecord> pendingControls;
    };

    explicit PageTable(QObject *parent = nullptr);
    ~PageTable() override;

    int pageCount() const { return m_pages.size(); }
    bool hasPages() const { return !m_pages.isEmpty(); }
    bool isValidPage(int n) const { return n >= 0 && n < m_pages.size(); }

    int currentPage() const { return m_currentPage; }
    void setCurrentPage(int n) { m_currentPage = n; }
    // 0 none, 1..6 the primitive kind the next press on the page starts.
    int drawTool() const { return m_drawTool; }
    void setDrawTool(int tool);

    // Lists of page n; an empty list for a page that does not exist. Asking for the controls of
    // a page whose widgets were not made yet makes them (hidden unless it is the current page).
    const QList<QMyWidget *> &pageControls(int n) const;
    // Makes the widgets of the page's controls from its records; given by the canvas.
    using ControlMaker = std::function<QMyWidget *(int page, const ControlRecord &record)>;
    void setControlMaker(ControlMaker maker) { m_maker = std::move(maker); }
    // Gives page n these controls as records only; their widgets come when first needed. A page
    // still without widgets has its records replaced; one with widgets gets these added.
    void setPendingControls(int n, const QVector<ControlRecord> &controls);
    bool hasWidgets(int n) const { return isValidPage(n) && !m_pages.at(n).pending; }
    const QList<QMyDrawType *> &pagePrimitives(int n) const;
    const Page *page(int n) const { return isValidPage(n) ? &m_pages.at(n) : nullptr; }
    // The page a control or primitive is on, -1 when none.
    int pageOf(const QMyWidget *w) const;
    int pageOf(const QMyDrawType *d) const;

    int pageImageNum(int n) const { return isValidPage(n) ? m_pages.at(n).imageNum : -1; }
    int pageBackgroundNum(int n) const { return isValidPage(n) ? m_pages.at(n).backgroundNum : 15; }
    int pageHelpLineNum(int n) const { return isValidPage(n) ? m_pages.at(n).helpLineNum : 0; }
    int pageHelpLineLeft(int n) const { return isValidPage(n) ? m_pages.at(n).helpLineLeft : 0; }
    int pageHelpLineRight(int n) const { return isValidPage(n) ? m_pages.at(n).helpLineRight : 0; }
    int pageHelpLineTop(int n) const { return isValidPage(n) ? m_pages.at(n).helpLineTop : 0; }
    int pageHelpLineBottom(int n) const { return isValidPage(n) ? m_pages.at(n).helpLineBottom : 0; }
    void setPageImageNum(int n, int v);
    void setPageBackgroundNum(int n, int v);
    void setPageHelpLineNum(int n, int v);
    void setPageHelpLineLeft(int n, int v);
    void setPageHelpLineRight(int n, int v);
    void setPageHelpLineTop(int n, int v);
    void setPageHelpLineBottom(int n, int v);
    QString pageName(int n) const { return isValidPage(n) ? m_pages.at(n).name : QString(); }
    void setPageName(int n, const QString &name);
    // Every page's name, in page order.
    QStringList pageNames() const;

    // Appends an empty page and returns its index.
    int addPage();
    // Inserts an empty page before n (n = pageCount() appends).
    int insertPage(int n);
    // Destroys page n with its controls and primitives; the current page index is left to the caller.
    void removePage(int n);
    void movePage(int from, int to);
    // Destroys the controls and primitives of page n; the page and its fields stay.
    void clearPage(int n);
    // Destroys every page.
    void clear();

    // The control list is in page order; the canvas creates and connects the widgets.
    void appendControl(int n, QMyWidget *w);
    // Takes the control off its page and destroys it.
    void destroyControl(QMyWidget *w);
    void appendPrimitive(int n, QMyDrawType *d);
    void destroyPrimitive(QMyDrawType *d);

    // Pictures shown by number on the canvas.
    const PictureLibrary &pictures() const { return m_pictures; }
    void setPictures(const PictureLibrary &pictures);

    // Takes the page fields and primitives of d (not its controls, which need the canvas).
    void setPageFields(int n, const PageData &d);
    void appendPrimitivesOf(int n, const PageData &d);

    // Plain data of page n (a snapshot: numbers, positions, every field).
    PageData pageData(int n) const;
    QVector<PageData> pagesData() const;
    // Fills the pages and the current page of a project for saving or downloading.
    void writeTo(ProjectData &project) const;
    // Replaces all pages by those of the project; the canvas makes the widgets.
    void readFrom(const ProjectData &project, QMyFrame *canvas);

    // The selection: controls and primitives of the current page, in the order they were picked.
    // Selecting is not an edit of the project.
    const QList<QMyWidget *> &selectedControls() const { return m_selControls; }
    const QList<QMyDrawType *> &selectedPrimitives() const { return m_selPrimitives; }
    int selectionSize() const { return m_selControls.size() + m_selPrimitives.size(); }
    bool isSelected(const QMyWidget *w) const;
    bool isSelected(const QMyDrawType *d) const;
    void setSelection(const QList<QMyWidget *> &controls, const QList<QMyDrawType *> &primitives);
    void clearSelection() { setSelection({}, {}); }

signals:
    void selectionChanged();
    // Sent just before a control or primitive is destroyed.
    void controlAboutToBeDestroyed(QMyWidget *w);
    void primitiveAboutToBeDestroyed(QMyDrawType *d);
    void drawToolChanged(int tool);
    void picturesChanged();

private:
    void destroyPageContents(Page &p);
    void makeWidgets(int n);

    QVector<Page> m_pages;
    int m_currentPage = 0;
    int m_drawTool = 0;
    PictureLibrary m_pictures;
    QList<QMyWidget *> m_selControls;
    QList<QMyDrawType *> m_selPrimitives;
    ControlMaker m_maker;
};
