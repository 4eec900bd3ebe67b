#pragma once

#include "modulepage.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

class QCheckBox;
class QMyFrame;

// The canvas's module look: a cover over the canvas showing the current page as the module draws
// it (its own pixels, blown up by the zoom). While it is shown the page cannot be edited with
// the mouse; the design look underneath is untouched.
class ModuleLook : public QWidget {
    Q_OBJECT
public:
    explicit ModuleLook(QMyFrame *canvas);

    // The page as the module shows it, at module resolution.
    QImage image();

protected:
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    // Mouse gestures stop here, so nothing on the page moves while the module look is shown.
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    // What the page's look depends on; the picture is drawn again only when this changes.
    QString stateKey() const;
    void refresh();

    QMyFrame *m_canvas;
    ModulePageRenderer m_renderer;
    QImage m_image;
    QString m_key;
    QTimer m_poll;
};

// The status bar's "模块效果" switch beside the zoom box.
class ModuleLookSwitch : public QWidget {
    Q_OBJECT
public:
    explicit ModuleLookSwitch(QMyFrame *canvas, QWidget *parent = nullptr);

    QCheckBox *box() const { return m_box; }
    ModuleLook *look() const { return m_look; }

protected:
    void changeEvent(QEvent *e) override;

private:
    void retranslate();

    QMyFrame *m_canvas;
    QCheckBox *m_box;
    ModuleLook *m_look = nullptr;
};
