#pragma once

#include "qmywidget.h"

// QR code: a square symbol of side w; only moves, never resizes.
class QMyQRCode : public QMyWidget {
    Q_OBJECT
public:
    QMyQRCode(int id, const QString &className, QMyFrame *parent);

protected:
    void settle() override;
    // The number label lies on the canvas beside the symbol and moves with it.
    void moveEvent(QMoveEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
};
