#include "qmylabel.h"

QMyLabel::QMyLabel(int id, const QString &className, QMyFrame *parent) : QMyWidget(id, className, parent)
{
    syncGeometry();
}
