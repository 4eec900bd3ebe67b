#include "qmypointer.h"

QMyPointer::QMyPointer(int id, const QString &className, QMyFrame *parent) : QMyWidget(id, className, parent)
{
    syncGeometry();
}

void QMyPointer::settle()
{
    // A damaged length must not overflow the doubled side.
    m_rec.pointerL = qBound(0, m_rec.pointerL, 4096);
    m_rec.settlePointer();
}
