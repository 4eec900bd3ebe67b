#include "qmyslider.h"

#include "support/eventposition.h"

#include <QMouseEvent>

QMySlider::QMySlider(Qt::Orientation orientation, QWidget *parent) : QSlider(orientation, parent) {}

int QMySlider::valueAt(int minimum, int maximum, int x, int width)
{
    if (width <= 0)
        return minimum;
    const double v = double(minimum) + double(maximum - minimum) * (double(x) / double(width));
    return qBound(minimum, int(v), maximum);
}

void QMySlider::mousePressEvent(QMouseEvent *event)
{
    QSlider::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        setValue(valueAt(minimum(), maximum(), eventPosition(event).toPoint().x(), width()));
}
