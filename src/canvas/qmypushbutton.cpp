#include "qmypushbutton.h"

#include <QGraphicsDropShadowEffect>

QMyPushButton::QMyPushButton(int id, const QString &className, QMyFrame *parent)
    : QMyWidget(id, className, parent), m_shadow(new QGraphicsDropShadowEffect(this))
{
    m_shadow->setColor(QColor(43, 43, 43, 255));
    styleChanged();
    syncGeometry();
}

// The pressed-in look attaches the shadow; once attached it stays, and other styles only flatten it.
void QMyPushButton::styleChanged()
{
    // The shadow is a module pixel wide at every zoom.
    const qreal z = moduleScale();
    m_shadow->setBlurRadius(2 * z);
    if (m_rec.style == 2) {
        m_shadow->setOffset(z, z);
        m_shadow->setColor(QColor(43, 43, 43, 255));
        if (!m_shadowAttached) {
            setGraphicsEffect(m_shadow);
            m_shadowAttached = true;
        }
        return;
    }
    m_shadow->setOffset(0, 0);
    if (m_rec.style == 0 || m_rec.style == 1)
        m_shadow->setColor(Qt::transparent);
}
