#pragma once

#include "qmywidget.h"

// Progress bar.
class QMyProgressBar : public QMyWidget {
    Q_OBJECT
public:
    QMyProgressBar(int id, const QString &className, QMyFrame *parent);
};
