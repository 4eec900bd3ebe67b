#include "qmyprogressbar.h"

QMyProgressBar::QMyProgressBar(int id, const QString &className, QMyFrame *parent) : QMyWidget(id, className, parent)
{
    syncGeometry();
}
