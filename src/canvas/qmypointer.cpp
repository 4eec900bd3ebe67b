#include "qmypointer.h"

QMyPointer::QMyPointer(int id, const QString &className, QMyFrame *parent) : QMyWidget(id, className, parent)
{
    syncGeometry();
}

void QMyPointer::settle() { m_rec.settle(); }
