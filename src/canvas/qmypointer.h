#pragma once

#include "qmywidget.h"

// Pointer gauge: a square of side 2 * pointerL around its centre; only moves.
class QMyPointer : public QMyWidget {
    Q_OBJECT
public:
    QMyPointer(int id, const QString &className, QMyFrame *parent);

protected:
    void settle() override;
};
