#pragma once

#include "qmywidget.h"

// QR code: a square symbol of side w; only moves, never resizes.
class QMyQRCode : public QMyWidget {
    Q_OBJECT
public:
    QMyQRCode(int id, const QString &className, QMyFrame *parent);

protected:
    void settle() override;
};
