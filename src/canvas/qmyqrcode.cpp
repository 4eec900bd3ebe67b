#include "qmyqrcode.h"

QMyQRCode::QMyQRCode(int id, const QString &className, QMyFrame *parent) : QMyWidget(id, className, parent)
{
    syncGeometry();
}

// The symbol is square: its height follows its width.
void QMyQRCode::settle() { m_rec.settle(); }

void QMyQRCode::moveEvent(QMoveEvent *e)
{
    QMyWidget::moveEvent(e);
    if (parentWidget())
        parentWidget()->update();
}

void QMyQRCode::resizeEvent(QResizeEvent *e)
{
    QMyWidget::resizeEvent(e);
    if (parentWidget())
        parentWidget()->update();
}
