#pragma once

#include "qmywidget.h"

// Text control.
class QMyLabel : public QMyWidget {
    Q_OBJECT
public:
    QMyLabel(int id, const QString &className, QMyFrame *parent);
};
