#include "zoombox.h"

#include "qmyframe.h"
#include "qmywidget.h"
#include "support/zoomlevels.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QShortcut>

namespace {
constexpr int kFit = 0;
}

ZoomBox::ZoomBox(QMyFrame *canvas, QWidget *parent) : QWidget(parent), m_canvas(canvas)
{
    setObjectName(QStringLiteral("ZoomBox"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_cursor = new QLabel(this);
    m_cursor->setObjectName(QStringLiteral("labCursorPos"));
    m_cursor->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("X 8888  Y 8888")));
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("cbZoom"));
    m_combo->setFocusPolicy(Qt::NoFocus);
    for (const int z : ZoomLevels::all())
        m_combo->addItem(ZoomLevels::label(z), z);
    m_combo->addItem(QString(), kFit);
    layout->addWidget(m_cursor);
    layout->addWidget(m_combo);
    retranslate();
    showZoom(canvas->zoomPercent());

    connect(m_combo, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        const int z = m_combo->itemData(index).toInt();
        if (z == kFit)
            fit();
        else
            m_canvas->setZoomPercent(z);
    });
    connect(canvas, &QMyFrame::zoomChanged, this, &ZoomBox::showZoom);
    connect(canvas, &QMyFrame::cursorMoved, this, [this](const QPoint &p) {
        m_cursor->setText(p.x() < 0 ? QString() : QStringLiteral("X %1  Y %2").arg(p.x()).arg(p.y()));
    });

    auto zoomIn = [this] { m_canvas->zoomStep(1); };
    auto zoomOut = [this] { m_canvas->zoomStep(-1); };
    QWidget *window = parent ? parent->window() : this;
    for (const QKeySequence &k : {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)})
        connect(new QShortcut(k, window), &QShortcut::activated, this, zoomIn);
    connect(new QShortcut(QKeySequence(QKeySequence::ZoomOut), window), &QShortcut::activated, this, zoomOut);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), window), &QShortcut::activated, this,
            [this] { m_canvas->setZoom(1); });
}

void ZoomBox::fit()
{
    const QScrollArea *area = m_canvas->scrollArea();
    if (!area || !area->widget()) {
        m_canvas->setZoom(1);
        return;
    }
    // The room without scroll bars, less what lies above and left of the page and as much again
    // for the margin on the other side.
    const QPoint at = m_canvas->mapTo(area->widget(), QPoint(0, 0));
    const int margin = qMin(at.x(), 16);
    m_canvas->zoomToFit(area->maximumViewportSize() - QSize(at.x() + margin, at.y() + margin));
}

void ZoomBox::showZoom(int percent)
{
    const int i = m_combo->findData(percent);
    if (i >= 0)
        m_combo->setCurrentIndex(i);
}

void ZoomBox::retranslate()
{
    m_combo->setItemText(m_combo->findData(kFit), tr("适合窗口"));
    m_combo->setToolTip(tr("缩放"));
}

void ZoomBox::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(e);
}
