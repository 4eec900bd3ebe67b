#include "modulelook.h"

#include "pagetable.h"
#include "qmyframe.h"
#include "qmywidget.h"
#include "support/eventposition.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>

namespace {
// Edits made through the property panel or the page list while the look is shown are picked
// up this often; building the key costs about as much as writing the page script.
constexpr int kPollMs = 200;
}

ModuleLook::ModuleLook(QMyFrame *canvas) : QWidget(canvas), m_canvas(canvas)
{
    setObjectName(QStringLiteral("ModuleLook"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(canvas->rect());
    canvas->installEventFilter(this);
    connect(&m_poll, &QTimer::timeout, this, &ModuleLook::refresh);
    m_poll.start(kPollMs);
    raise();
}

QString ModuleLook::stateKey() const
{
    PageTable *table = m_canvas->pageTable();
    if (!table || table->pageCount() == 0)
        return QString();
    const int n = table->currentPage();
    return QStringLiteral("%1x%2 %3 %4 ")
               .arg(m_canvas->frameW())
               .arg(m_canvas->frameH())
               .arg(n)
               .arg(table->pictures().paths().join(QLatin1Char('|'))) +
           ModulePageRenderer::pageScript(table->pageData(n), table->pictures());
}

QImage ModuleLook::image()
{
    const QString key = stateKey();
    if (key != m_key || m_image.isNull()) {
        m_key = key;
        PageTable *table = m_canvas->pageTable();
        const QSize size(m_canvas->frameW(), m_canvas->frameH());
        if (key.isEmpty()) {
            m_image = QImage(size, QImage::Format_RGB32);
            m_image.fill(Qt::black);
        } else {
            m_image = m_renderer.render(table->pageData(table->currentPage()), table->pictures(), size);
        }
    }
    return m_image;
}

void ModuleLook::refresh()
{
    if (isVisible() && stateKey() != m_key)
        update();
}

void ModuleLook::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QImage img = image();
    // Each module pixel a square of the canvas's device pixels, never smoothed; only a page shrunk
    // below 1x is blended, so that thin strokes stay visible.
    p.setRenderHint(QPainter::SmoothPixmapTransform, m_canvas->zoomPercent() < 100);
    p.drawImage(m_canvas->exactRect(QRect(QPoint(0, 0), img.size())), img);
}

bool ModuleLook::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == m_canvas && e->type() == QEvent::Resize) {
        setGeometry(m_canvas->rect());
        update();
    } else if (watched == m_canvas && e->type() == QEvent::ChildAdded) {
        // Controls made while the look is shown must stay under it.
        QMetaObject::invokeMethod(this, [this] { raise(); }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, e);
}

void ModuleLook::mousePressEvent(QMouseEvent *e) { e->accept(); }
void ModuleLook::mouseReleaseEvent(QMouseEvent *e) { e->accept(); }
void ModuleLook::mouseDoubleClickEvent(QMouseEvent *e) { e->accept(); }
void ModuleLook::mouseMoveEvent(QMouseEvent *e)
{
    // The cursor position still shows in module pixels.
    m_canvas->trackCursor(eventPosition(e));
    e->accept();
}
void ModuleLook::wheelEvent(QWheelEvent *e)
{
    // Zooming stays possible: the canvas handles the wheel.
    e->ignore();
}
void ModuleLook::contextMenuEvent(QContextMenuEvent *e) { e->accept(); }

ModuleLookSwitch::ModuleLookSwitch(QMyFrame *canvas, QWidget *parent) : QWidget(parent), m_canvas(canvas)
{
    setObjectName(QStringLiteral("ModuleLookSwitch"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_box = new QCheckBox(this);
    m_box->setObjectName(QStringLiteral("chkModuleLook"));
    m_box->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_box);
    retranslate();
    connect(m_box, &QCheckBox::toggled, this, [this](bool on) {
        if (on && !m_look) {
            m_look = new ModuleLook(m_canvas);
            m_look->show();
        } else if (!on && m_look) {
            delete m_look;
            m_look = nullptr;
        }
    });
}

void ModuleLookSwitch::retranslate()
{
    m_box->setText(tr("模块效果"));
    m_box->setToolTip(tr("按模块的像素显示当前页（只读；编辑请关闭）"));
}

void ModuleLookSwitch::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(e);
}
