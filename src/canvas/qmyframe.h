#pragma once

#include "edit/arrange.h"
#include "edit/snap.h"
#include "render/renderer.h"

#include <QFrame>
#include <QPointer>
#include <QVector>

class PageTable;
class QAction;
class QMenu;
class QMyDrawType;
class QMyMessageBox;
class QMyWidget;
class QPainter;
class QScrollArea;
class SnapGuideOverlay;

// The design surface: shows the current page at module resolution, takes controls dropped from
// the palette, draws primitives with the draw tool, selects, copies, pastes and deletes.
class QMyFrame : public QFrame {
    Q_OBJECT
public:
    static constexpr int MaxControlsPerPage = 64;
    static constexpr int MaxQRCodesPerPage = 2;
    static constexpr int MinZoom = 1;
    static constexpr int MaxZoom = 8;

    explicit QMyFrame(QWidget *parent = nullptr);
    ~QMyFrame() override;

    // The shared page table; the canvas makes its own until one is given (not owned then).
    PageTable *pageTable() const { return m_table; }
    void setPageTable(PageTable *table);

    int frameW() const { return m_frameW; }
    int frameH() const { return m_frameH; }
    void setFrameSize(int w, int h);
    int screenType() const { return m_screenType; }
    void setScreenType(int t) { m_screenType = t; }

    // Page values shown; setting one also stores it for the current page.
    int pageImageNum() const { return m_pageImageNum; }
    int pageBackgroundNum() const { return m_pageBackgroundNum; }
    int helpLineNum() const { return m_helpLineNum; }
    int helpLineLeft() const { return m_helpLineLeft; }
    int helpLineRight() const { return m_helpLineRight; }
    int helpLineTop() const { return m_helpLineTop; }
    int helpLineBottom() const { return m_helpLineBottom; }
    void setPageImageNum(int v);
    void setPageBackgroundNum(int v);
    void setHelpLineNum(int v);
    void setHelpLineLeft(int v);
    void setHelpLineRight(int v);
    void setHelpLineTop(int v);
    void setHelpLineBottom(int v);

    // The zoom in percent, one of ZoomLevels: 25, 50 and 75 to see a large page whole, then
    // whole factors, where each module pixel is zoom x zoom screen pixels. Every position the
    // canvas takes or gives is in module pixels. Under a fractional scale (1.25, 1.5) a module
    // pixel at a whole factor is a whole number of device pixels near zoom x scale, so that it
    // stays a square: see moduleScale().
    int zoomPercent() const { return m_zoom; }
    // Takes the nearest level.
    void setZoomPercent(int percent);
    // The whole factor (1 to 8), 0 below 1x; setZoom takes a whole factor.
    int zoom() const { return m_zoom / 100; }
    void setZoom(int factor) { setZoomPercent(qBound(int(MinZoom), factor, int(MaxZoom)) * 100); }
    // The level after or before the current one, as far as the levels go.
    void zoomStep(int steps);
    // The largest level (in percent) at which the page fits in room (screen pixels).
    int fitZoom(const QSize &room) const;
    void zoomToFit(const QSize &room);
    // Zooms by steps levels keeping the module pixel at `at` (canvas coordinates) under the same
    // spot of the scroll area around the canvas.
    void zoomAround(int steps, const QPoint &at);
    QScrollArea *scrollArea() const;
    // The module pixel under a point of the canvas widget.
    QPoint toModule(const QPointF &widgetPos) const;
    QPoint toModule(const QPoint &widgetPos) const { return toModule(QPointF(widgetPos)); }
    // Screen to module pixels at a zoom, rounding toward minus infinity (left of 0 stays negative).
    static QPoint toModule(const QPoint &screen, int zoom);
    // Device pixels a module pixel takes at a zoom and device pixel ratio: zoom x ratio rounded,
    // at least 1.
    static int devicePixelsPerModulePixel(int zoom, qreal ratio);
    // Widget pixels per module pixel at the current zoom and screen (zoom itself at a whole scale).
    qreal moduleScale() const;
    // Where a module rectangle lies on the canvas, in widget pixels, exactly and rounded outwards.
    QRectF exactRect(const QRect &module) const;
    QRect coveringRect(const QRect &module) const;
    // Reports the cursor over the canvas or one of its controls (widget coordinates of the canvas).
    void trackCursor(const QPointF &widgetPos);

    RenderContext renderContext() const;
    QMyMessageBox *messageBox() const { return m_messageBox; }
    QMenu *contextMenu() const { return m_menu; }
    QAction *copyAction() const { return m_copyAction; }
    QAction *pasteAction() const { return m_pasteAction; }
    QAction *delAction() const { return m_delAction; }
    QAction *selectAllAction() const { return m_selectAllAction; }
    QAction *duplicateAction() const { return m_duplicateAction; }

    QMyWidget *selectedControl() const { return m_selectedControl; }
    QMyDrawType *selectedPrimitive() const { return m_selectedPrimitive; }
    void setSelectedControl(QMyWidget *w);
    void setSelectedPrimitive(QMyDrawType *d);
    // The first copied control or primitive still there; null when none.
    QMyWidget *controlClipboard() const;
    QMyDrawType *primitiveClipboard() const;
    QPoint pastePos() const { return m_pastePos; }
    void setPastePos(const QPoint &p) { m_pastePos = p; }
    bool pageSelected() const { return m_pageSelected; }
    void setPageSelected(bool s) { m_pageSelected = s; }
    QString droppedTypeName() const { return m_dropTypeName; }

    // Creates a control of the kind on the current page with its top-left corner at pos, as a
    // drop does; null when refused (no page, limits) or the name is unknown.
    QMyWidget *addControl(const QString &className, const QPoint &pos);
    // Removes the selected controls and primitives of the current page and renumbers.
    void deleteSelection();
    // Selects every control and primitive of the page shown.
    void selectAllOnPage();
    // Pastes a copy of the selection a few pixels down and right, within the paste limits;
    // what was copied before stays copied.
    void duplicateSelection();
    static constexpr int DuplicateOffset = 10;

    // Several at once. The selection lives in the page table; these keep the widgets' marks and
    // the single-item announcements in step with it.
    void selectItems(const QList<QMyWidget *> &controls, const QList<QMyDrawType *> &primitives);
    void toggleSelected(QMyWidget *w);
    void toggleSelected(QMyDrawType *d);
    // The rubber band being dragged on the page, empty when none.
    QRect rubberBand() const { return m_band; }
    // Moving the whole selection: the offset counts from where it was at the start and is kept so
    // that nothing leaves the page. endGroupMove returns whether anything moved.
    // A mouse drag snaps (snap true); nudges do not.
    void beginGroupMove();
    void groupMoveBy(const QPoint &offset, bool snap = false);
    bool endGroupMove();
    // Snapping while dragging: the offset that puts one of the rectangle's named lines (Snap::Line)
    // on a nearby line of the page, its helper lines or an item not selected, and shows the guide
    // for it. The caller keeps its own limits.
    QPoint snapDrag(const QRect &moving, int lines);
    void clearSnapGuides();
    // What the last snap caught; nothing once the drag is over.
    const Snap::Result &snapGuide() const { return m_snap; }
    bool snapGuidesShown() const;
    // Moves the selection by (dx, dy) module pixels as far as the page allows.
    void nudgeSelection(int dx, int dy);
    // Aligns, distributes or sizes the selection (two or more items) within the page.
    void arrangeSelection(Arrange::Kind kind);
    QMenu *alignMenu() const { return m_alignMenu; }
    QList<QAction *> alignActions() const { return m_alignActions; }
    // Shows page n: its controls and values; every other page's controls are hidden.
    void showPage(int n);
    // Gives page n the fields, controls (deselected) and primitives of d.
    void fillPage(int n, const PageData &d);
    PageData copyPage(int n) const;
    // Appends a page made from d and shows it; returns its index.
    int pastePage(const PageData &d);
    // Hooks a control up to the canvas's selection signals.
    void adoptControl(QMyWidget *w);

signals:
    void s_sendPressWnd(QMyWidget *w);
    void s_sendParent(int drawType, QMyDrawType *d);
    void s_delAction();
    void s_sendPressPos(QPoint pos);
    void zoomChanged(int percent);
    // The module pixel under the cursor; (-1, -1) when the cursor left the page.
    void cursorMoved(const QPoint &modulePos);

public slots:
    void slotRecvWnd(QMyWidget *w);
    void slotRecvPressPos(QPoint pos);
    void slotCopyAction();
    void slotPasteAction();
    void slotDelAction();
    void retranslate();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void changeEvent(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void leaveEvent(QEvent *e) override;

private:
    // Widget pixels per module pixel at a zoom level on this screen.
    qreal scaleAt(int percent) const;
    // Sizes the canvas and places the controls of every page with widgets for the current scale.
    void relayout();
    void applySelectionMarks();
    Snap::Candidates snapCandidates() const;
    // How near (module pixels) a line must come to be caught.
    int snapWithin() const;
    void showSnapGuides(const Snap::Result &r);
    void paintPage(QPainter &p);
    QRect selectionBounds() const;
    void bandPress(const QPoint &p, bool add);
    void bandRelease(const QPoint &p);
    // Announces the single selected item to the property panel.
    void announceSelection();
    void createAlignMenu();
    void retranslateAlignMenu();
    void pasteGroup();
    QMyWidget *pasteControlAt(QMyWidget *source, const QPoint &topLeft);
    bool checkRoomFor(ControlKind kind);
    int nextControlId(ControlKind kind) const;
    void deselectPage(QMyWidget *except = nullptr);
    void announceParent(QMyDrawType *d);
    void startPrimitive(const QPoint &p);
    void finishPrimitive(const QPoint &p);
    void pasteControl(QMyWidget *source);
    void pastePrimitive(const QMyDrawType *source);
    void takePageFields(int n);
    // Drops every reference to the table's objects (clipboards, selection, the primitive being drawn).
    void forgetAll();
    void forget(QMyWidget *w);
    void forget(QMyDrawType *d);
    void connectTable();
    // A widget for a control of page n, hidden unless n is shown.
    QMyWidget *makeControl(int n, const ControlRecord &r);

    QString m_dropTypeName;
    int m_pageImageNum = -1;
    int m_pageBackgroundNum = 15;
    QMyMessageBox *m_messageBox = nullptr;
    bool m_buttonDown = false;
    int m_screenType = 0;
    int m_frameW = 420;
    int m_frameH = 360;
    bool m_pageSelected = false;
    QMenu *m_menu = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_pasteAction = nullptr;
    QAction *m_delAction = nullptr;
    QAction *m_selectAllAction = nullptr;
    QAction *m_duplicateAction = nullptr;
    QPointer<QMyWidget> m_selectedControl;
    QMyDrawType *m_selectedPrimitive = nullptr;
    // References, not snapshots; cleared whenever the object goes away.
    QList<QPointer<QMyWidget>> m_controlClipboard;
    QList<QMyDrawType *> m_primitiveClipboard;
    QPoint m_pastePos;
    int m_helpLineNum = 0;
    int m_helpLineLeft = 0;
    int m_helpLineRight = 0;
    int m_helpLineTop = 0;
    int m_helpLineBottom = 0;

    PageTable *m_table = nullptr;
    PageTable *m_ownTable = nullptr;
    QMyDrawType *m_drawing = nullptr;  // primitive being drawn by the held button

    int m_zoom = 100;  // percent
    qreal m_laidOutScale = 0;  // moduleScale() the canvas and its controls were placed at
    struct ZoomAnchor {
        bool active = false;
        QPoint spot;     // where the wheel turned, in the scroll area's viewport
        QPointF module;  // the page point aimed at, in module pixels
    } m_zoomAnchor;
    Snap::Result m_snap;
    SnapGuideOverlay *m_guides = nullptr;
    QMenu *m_alignMenu = nullptr;
    QList<QAction *> m_alignActions;
    QRect m_band;
    QPoint m_bandStart;
    bool m_bandActive = false;
    bool m_bandAdds = false;
    struct GroupMove {
        bool active = false;
        bool moved = false;
        QRect bounds;
        QVector<QPair<QPointer<QMyWidget>, QPoint>> controls;
        QVector<QPair<QMyDrawType *, QPoint>> primitives;
    } m_move;
    QPoint m_movePress;  // where a press on a primitive started moving the selection
};
