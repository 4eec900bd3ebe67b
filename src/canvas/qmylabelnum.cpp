#include "qmylabelnum.h"

QMyLabelNum::QMyLabelNum(int id, const QString &className, QMyFrame *parent) : QMyWidget(id, className, parent)
{
    syncGeometry();
}
