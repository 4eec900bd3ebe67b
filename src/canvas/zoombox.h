#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QMyFrame;

// The status bar's zoom box and cursor position for one canvas, with the zoom keys
// (Ctrl++, Ctrl+-, Ctrl+0 for 1x) working anywhere in the window.
class ZoomBox : public QWidget {
    Q_OBJECT
public:
    ZoomBox(QMyFrame *canvas, QWidget *parent = nullptr);

    QComboBox *combo() const { return m_combo; }
    QLabel *cursorLabel() const { return m_cursor; }
    // Zooms so the page fills the scroll area the canvas sits in: the largest level that shows
    // it whole, from 25 % to 8x.
    void fit();

protected:
    void changeEvent(QEvent *e) override;

private:
    void retranslate();
    void showZoom(int percent);

    QMyFrame *m_canvas = nullptr;
    QComboBox *m_combo = nullptr;
    QLabel *m_cursor = nullptr;
};
