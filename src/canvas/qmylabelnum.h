#pragma once

#include "qmywidget.h"

// Number control; looks like a text control.
class QMyLabelNum : public QMyWidget {
    Q_OBJECT
public:
    QMyLabelNum(int id, const QString &className, QMyFrame *parent);
};
