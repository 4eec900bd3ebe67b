#pragma once

#include <QSlider>

// A slider that jumps straight to the clicked point instead of stepping a page toward it.
class QMySlider : public QSlider {
    Q_OBJECT
public:
    explicit QMySlider(Qt::Orientation orientation, QWidget *parent = nullptr);

    // Value for a press at x on a slider of this width.
    static int valueAt(int minimum, int maximum, int x, int width);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
