#pragma once

#include "model/controlrecord.h"
#include "library/picturelibrary.h"
#include "model/projectdata.h"
#include "model/qmydrawtype.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QStringList>

class QPainter;

// What painting a control or page needs to know about its surroundings.
struct RenderContext {
    const PictureLibrary *pictures = nullptr;  // pictures by number; null = none
    QSize pageSize;                            // canvas width and height
    int pageBackgroundNum = 15;                // colour shown through transparent parts
};

// Draws pages, primitives and controls as the module shows them. One code path for the canvas,
// the headless renderer and the virtual module. Pictures come from a process-wide cache.
namespace Renderer {

// The library files that painting the page reads (its picture and its controls' pictures), each
// once: what to decode ahead of showing it.
QStringList picturePaths(const PageData &page, const PictureLibrary &pictures);

// Page background: colour, then the background picture (when set).
void paintPageBackground(QPainter &p, const PageData &page, const RenderContext &ctx);
// The page's helper lines (design aid; not shown by the module).
void paintHelpLines(QPainter &p, const PageData &page, const RenderContext &ctx);
// One primitive in page coordinates; selected primitives are drawn dotted.
void paintPrimitive(QPainter &p, const QMyDrawType &d);
// One control, with the painter's origin at the control's top-left corner (widget coordinates).
// The record is taken as it is; callers that keep a pointer's square in step call
// ControlRecord::settlePointer() first.
void paintControl(QPainter &p, const ControlRecord &r, const RenderContext &ctx);
// Design-time extras, drawn separately so a preview of the module can leave them out.
// The label sits in the control's top-right corner; a QR code has none there (see below).
void paintControlNumber(QPainter &p, const ControlRecord &r);
// A QR code's label lies outside the symbol, whose modules it would hide: above its right end,
// else below, right or left of it, whichever lies on the page (page coordinates).
QRect outsideNumberRect(const ControlRecord &r, const QSize &page);
void paintOutsideNumber(QPainter &p, const ControlRecord &r, const QSize &page, int pageBackgroundNum);
// Colour of the number label on a control of that background colour: black on the red-toned
// entries, red elsewhere.
QColor numberLabelColor(int backgroundColorNum);
void paintSelectionHandles(QPainter &p, const ControlRecord &r);
// A dashed two-tone frame just inside r: the mark of a selected item that has no handles.
void paintSelectionFrame(QPainter &p, const QRect &r);
// The eight 6 x 6 resize handles of a control of size w x h (empty for pointers and QR codes).
QVector<QRect> handleRects(const ControlRecord &r);

// End of a pointer's needle in widget coordinates (angle 0 left, 90 up, 180 right, 270 down).
QPoint pointerTip(const ControlRecord &r);

// A control as the module draws it on a page: a pointer's square follows its centre and length,
// a QR code is square by its side.
ControlRecord asShown(const ControlRecord &record);
// The page area a shown control covers, the pressed-in shadow of a button included.
QRect shownBounds(const ControlRecord &shown);
// Paints a shown control in page coordinates (painter origin at the page's top-left corner).
void paintShownControl(QPainter &p, const ControlRecord &shown, const RenderContext &ctx);

// The whole page at module resolution, controls stacked in the order the module draws them. With
// design, the number labels are added as the canvas shows them (helper lines too).
QImage renderPage(const PageData &page, const RenderContext &ctx, bool design = false);

// Point size used for a module font size (16 -> 12 ... 96 -> 74).
int pointSizeFor(int fontSize);

}  // namespace Renderer
