#pragma once

#include "model/controlrecord.h"

#include <QPointer>
#include <QRect>
#include <QVector>
#include <QWidget>

class QGraphicsDropShadowEffect;
class QMyFrame;

// A control on the page canvas. Owns its record; the kinds only differ in how they paint and in
// which fields they use. Mouse handling moves and resizes the control inside the page.
class QMyWidget : public QWidget {
    Q_OBJECT
public:
    enum DragMode { NoDrag = -1, HandleTopLeft = 0, HandleTop, HandleTopRight, HandleLeft, HandleRight,
                    HandleBottomLeft, HandleBottom, HandleBottomRight, DragMove, DragGroup };

    QMyWidget(int id, const QString &className, QMyFrame *parent);

    // A control of the kind named by className (one of ClassNameList), null for an unknown name.
    static QMyWidget *create(const QString &className, int id, QMyFrame *parent);
    // A control carrying a copy of every field of the record (number and position included).
    static QMyWidget *create(const ControlRecord &record, QMyFrame *parent);

    const ControlRecord &record() const { return m_rec; }
    // Replaces every field and moves the widget; no signal.
    void setRecord(const ControlRecord &record);

    ControlKind kind() const { return m_rec.kind; }
    QString className() const { return m_rec.className(); }
    int id() const { return m_rec.id; }
    void setId(int id);
    QRect geometryRect() const { return m_geometryRect; }

    virtual QString instructionText();
    QString instruction() const { return m_instruction; }

    void setPosition(int x, int y);
    // Moves without announcing the control (the canvas moves several at once).
    void placeAt(const QPoint &topLeft);
    // Follows a change of the canvas zoom: size, place and look.
    void refreshGeometry()
    {
        zoomChanged();
        syncGeometry();
    }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    // True while a mouse button holds the control for a move or a resize.
    bool isDragging() const { return m_drag != NoDrag; }
    DragMode dragMode() const { return m_drag; }

    // The eight resize handles in widget coordinates; empty for kinds that only move.
    QVector<QRect> handleRects() const;

    int getX() const { return m_rec.x; }
    int getY() const { return m_rec.y; }
    int getW() const { return m_rec.w; }
    int getH() const { return m_rec.h; }
    QString text() const { return m_rec.text; }

    // Setters store; the ones that change the position or size also move the widget.
    void setX(int x);
    void setY(int y);
    void setW(int w);
    void setH(int h);
    void setText(const QString &text);
    // The firmware's name; no look depends on it.
    void setName(const QString &name) { m_rec.name = name; }
    void setFontSize(int v);
    void setHAlign(int code);
    void setVAlign(int code);
    void setFontColorNum(int v);
    void setBackgroundColorNum(int v);
    void setPressColorNum(int v);
    void setImageNum(int v);
    void setCutImageNum(int v);
    void setBackgroundImageNum(int v);
    void setBackgroundCutImageNum(int v);
    void setPressImageNum(int v);
    void setPressCutImageNum(int v);
    void setProgType(int v);
    using QWidget::setStyle;
    void setStyle(int v);
    void setStyleColorNum(int v);
    void setPointerX(int v);
    void setPointerY(int v);
    void setPointerW(int v);
    void setPointerL(int v);
    void setPointerAngle(int v);

    QMyFrame *page() const { return m_page; }

signals:
    void s_sendPressWnd(QMyWidget *w);
    void s_sendPressPos(QPoint pagePos);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

    // Kind-specific hook run before painting (the pointer keeps its square in step).
    virtual void settle() {}
    // Puts the widget where the record says.
    void syncGeometry();
    virtual void styleChanged() {}
    virtual void zoomChanged() {}

    ControlRecord m_rec;

    // Screen pixels per module pixel on the canvas.
    int zoom() const;
    // Widget pixels per module pixel (the canvas's), and the widget rectangle the control takes.
    qreal moduleScale() const;
    QRect screenRect() const;

private:
    // A point of the widget in module pixels from the control's top-left corner.
    QPoint local(const QPointF &widgetPos) const;
    // The handle under a point of the widget, -1 for none.
    int handleAt(const QPointF &widgetPos) const;
    void dragTo(const QPoint &p, bool snap);

    QMyFrame *m_page = nullptr;  // our parent
    QString m_instruction;
    QRect m_geometryRect;
    bool m_selected = true;
    DragMode m_drag = NoDrag;
    QPoint m_pressPoint;
    QPoint m_pressPagePoint;  // the press in page coordinates, for group moves
};
