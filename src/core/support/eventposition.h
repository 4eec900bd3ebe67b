#pragma once

#include <QDropEvent>
#include <QMouseEvent>
#include <QPointF>

// Where a mouse or drop event happened, in the widget's coordinates, to the fraction: under a
// fractional screen scale a widget pixel holds more than one device pixel, and a module pixel
// may be smaller than a widget pixel. Qt 6 names these position(); Qt 5 localPos() and posF().
inline QPointF eventPosition(const QMouseEvent *e)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return e->position();
#else
    return e->localPos();
#endif
}

inline QPointF eventPosition(const QDropEvent *e)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return e->position();
#else
    return e->posF();
#endif
}
