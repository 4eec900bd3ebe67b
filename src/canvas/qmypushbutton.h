#pragma once

#include "qmywidget.h"

// Button; shows its released look.
class QMyPushButton : public QMyWidget {
    Q_OBJECT
public:
    QMyPushButton(int id, const QString &className, QMyFrame *parent);

protected:
    void styleChanged() override;
    void zoomChanged() override { styleChanged(); }

private:
    QGraphicsDropShadowEffect *m_shadow = nullptr;
    bool m_shadowAttached = false;
};
