#include "qmyframe.h"

#include "dialogs/qmymessagebox.h"
#include "icons.h"
#include "pagetable.h"
#include "qmywidget.h"
#include "support/eventposition.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

QMyFrame::QMyFrame(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("QMyFrame"));
    setFixedSize(m_frameW, m_frameH);
    setAcceptDrops(true);
    setStyleSheet(QStringLiteral("background-color:white;"));

    initTavoIcons();
    m_messageBox = new QMyMessageBox(this);
    m_menu = new QMenu(this);
    m_copyAction = new QAction(QIcon(QStringLiteral(":images/copy.png")), QString(), this);
    m_pasteAction = new QAction(QIcon(QStringLiteral(":images/paste.png")), QString(), this);
    m_delAction = new QAction(QIcon(QStringLiteral(":images/del.png")), QString(), this);
    m_selectAllAction = new QAction(this);
    m_duplicateAction = new QAction(this);
    m_menu->addAction(m_copyAction);
    m_menu->addAction(m_pasteAction);
    m_menu->addAction(m_duplicateAction);
    m_menu->addAction(m_delAction);
    m_menu->addAction(m_selectAllAction);
    // The keys are the main window's; the menu only names them.
    m_copyAction->setShortcut(QKeySequence::Copy);
    m_pasteAction->setShortcut(QKeySequence::Paste);
    m_duplicateAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    m_delAction->setShortcut(QKeySequence::Delete);
    m_selectAllAction->setShortcut(QKeySequence::SelectAll);
    for (QAction *a : {m_copyAction, m_pasteAction, m_duplicateAction, m_delAction, m_selectAllAction})
        a->setShortcutContext(Qt::WidgetShortcut);
    connect(m_copyAction, &QAction::triggered, this, &QMyFrame::slotCopyAction);
    connect(m_pasteAction, &QAction::triggered, this, &QMyFrame::slotPasteAction);
    connect(m_delAction, &QAction::triggered, this, &QMyFrame::slotDelAction);
    connect(m_selectAllAction, &QAction::triggered, this, &QMyFrame::selectAllOnPage);
    connect(m_duplicateAction, &QAction::triggered, this, &QMyFrame::duplicateSelection);
    createAlignMenu();
    retranslate();
    // A click on the page takes the keyboard so the arrow keys nudge the selection.
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);

    m_ownTable = new PageTable(this);
    m_table = m_ownTable;
    connectTable();
}

QMyFrame::~QMyFrame()
{
    // A shared table that stays must not call on us to make widgets.
    if (m_table != m_ownTable)
        m_table->setControlMaker(nullptr);
}

void QMyFrame::setPageTable(PageTable *table)
{
    if (!table || table == m_table)
        return;
    disconnect(m_table, nullptr, this, nullptr);
    m_table->setControlMaker(nullptr);
    m_table = table;
    forgetAll();
    connectTable();
    update();
}

void QMyFrame::connectTable()
{
    m_table->setControlMaker([this](int n, const ControlRecord &r) { return makeControl(n, r); });
    connect(m_table, &PageTable::controlAboutToBeDestroyed, this, [this](QMyWidget *w) { forget(w); });
    connect(m_table, &PageTable::primitiveAboutToBeDestroyed, this, [this](QMyDrawType *d) { forget(d); });
    if (m_table != m_ownTable) {
        // A shared table that goes first leaves the canvas with its own, empty one.
        connect(m_table, &QObject::destroyed, this, [this] {
            m_table = m_ownTable;
            forgetAll();
            connectTable();
        });
    }
    connect(m_table, &PageTable::selectionChanged, this, &QMyFrame::applySelectionMarks);
    connect(m_table, &PageTable::picturesChanged, this, [this] {
        update();
        for (QMyWidget *w : m_table->pageControls(m_table->currentPage()))
            w->update();
    });
}

void QMyFrame::forgetAll()
{
    m_controlClipboard.clear();
    m_primitiveClipboard.clear();
    m_selectedControl = nullptr;
    m_selectedPrimitive = nullptr;
    m_drawing = nullptr;
    m_move = GroupMove();
}

void QMyFrame::forget(QMyWidget *w)
{
    m_controlClipboard.removeAll(w);
    if (m_selectedControl == w)
        m_selectedControl = nullptr;
}

void QMyFrame::forget(QMyDrawType *d)
{
    m_primitiveClipboard.removeAll(d);
    for (auto &entry : m_move.primitives) {
        if (entry.first == d)
            entry.first = nullptr;
    }
    if (m_selectedPrimitive == d)
        m_selectedPrimitive = nullptr;
    if (m_drawing == d)
        m_drawing = nullptr;
}

void QMyFrame::retranslate()
{
    m_copyAction->setText(tr("复制"));
    m_pasteAction->setText(tr("粘贴"));
    m_delAction->setText(tr("删除"));
    m_selectAllAction->setText(tr("全选"));
    m_duplicateAction->setText(tr("复制一份"));
    retranslateAlignMenu();
}

void QMyFrame::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(e);
}

void QMyFrame::setFrameSize(int w, int h)
{
    m_frameW = qBound(1, w, 8192);
    m_frameH = qBound(1, h, 8192);
    m_laidOutScale = moduleScale();
    setFixedSize(coveringRect(QRect(0, 0, m_frameW, m_frameH)).size());
    update();
}

#define TAVO_FRAME_SETTER(setter, field, tableSetter) \
    void QMyFrame::setter(int v)                      \
    {                                                 \
        field = v;                                    \
        m_table->tableSetter(m_table->currentPage(), v); \
        update();                                     \
    }

TAVO_FRAME_SETTER(setHelpLineNum, m_helpLineNum, setPageHelpLineNum)
TAVO_FRAME_SETTER(setHelpLineLeft, m_helpLineLeft, setPageHelpLineLeft)
TAVO_FRAME_SETTER(setHelpLineRight, m_helpLineRight, setPageHelpLineRight)
TAVO_FRAME_SETTER(setHelpLineTop, m_helpLineTop, setPageHelpLineTop)
TAVO_FRAME_SETTER(setHelpLineBottom, m_helpLineBottom, setPageHelpLineBottom)
#undef TAVO_FRAME_SETTER

// Controls show the page through their transparent parts and read cut pictures from it.
void QMyFrame::setPageImageNum(int v)
{
    m_pageImageNum = v;
    m_table->setPageImageNum(m_table->currentPage(), v);
    update();
    for (QMyWidget *w : m_table->pageControls(m_table->currentPage()))
        w->update();
}

void QMyFrame::setPageBackgroundNum(int v)
{
    m_pageBackgroundNum = v;
    m_table->setPageBackgroundNum(m_table->currentPage(), v);
    update();
    for (QMyWidget *w : m_table->pageControls(m_table->currentPage()))
        w->update();
}

RenderContext QMyFrame::renderContext() const
{
    RenderContext ctx;
    ctx.pictures = &m_table->pictures();
    ctx.pageSize = QSize(m_frameW, m_frameH);
    ctx.pageBackgroundNum = m_pageBackgroundNum;
    return ctx;
}

// The single-item API names the item the panel shows; one outside the selection replaces it.
void QMyFrame::setSelectedControl(QMyWidget *w)
{
    m_selectedControl = w;
    if (w) {
        m_selectedPrimitive = nullptr;
        if (!m_table->isSelected(w))
            selectItems({w}, {});
    }
}

void QMyFrame::setSelectedPrimitive(QMyDrawType *d)
{
    m_selectedPrimitive = d;
    if (d) {
        m_selectedControl = nullptr;
        if (!m_table->isSelected(d))
            selectItems({}, {d});
    }
}

void QMyFrame::adoptControl(QMyWidget *w)
{
    connect(w, &QMyWidget::s_sendPressWnd, this, &QMyFrame::slotRecvWnd);
    connect(w, &QMyWidget::s_sendPressPos, this, &QMyFrame::slotRecvPressPos);
}

int QMyFrame::nextControlId(ControlKind kind) const
{
    const bool qr = kind == ControlKind::QRCode;
    int n = 0;
    for (const QMyWidget *w : m_table->pageControls(m_table->currentPage())) {
        if ((w->kind() == ControlKind::QRCode) == qr)
            ++n;
    }
    return n;
}

bool QMyFrame::checkRoomFor(ControlKind kind)
{
    if (!m_table->isValidPage(m_table->currentPage())) {
        m_messageBox->showMessage(QMyMessageBox::Warning, 0, 0, tr("未添加页，请您先添加页！"));
        return false;
    }
    const QList<QMyWidget *> &controls = m_table->pageControls(m_table->currentPage());
    if (controls.size() >= MaxControlsPerPage) {
        m_messageBox->showMessage(QMyMessageBox::Warning, 0, 0,
                                  tr("每页添加的控件不能超过%1个！").arg(MaxControlsPerPage));
        return false;
    }
    if (kind == ControlKind::QRCode && nextControlId(ControlKind::QRCode) >= MaxQRCodesPerPage) {
        m_messageBox->showMessage(QMyMessageBox::Warning, 0, 0,
                                  tr("每页添加的二维码不能超过%1个！").arg(MaxQRCodesPerPage));
        return false;
    }
    return true;
}

QMyWidget *QMyFrame::addControl(const QString &className, const QPoint &pos)
{
    m_dropTypeName = className;
    ControlKind kind;
    const bool known = kindFromClassName(className, &kind);
    if (!checkRoomFor(known ? kind : ControlKind::Text) || !known)
        return nullptr;
    QMyWidget *w = QMyWidget::create(className, nextControlId(kind), this);
    m_table->appendControl(m_table->currentPage(), w);
    adoptControl(w);
    w->show();
    w->setPosition(pos.x(), pos.y());
    return w;
}

void QMyFrame::deselectPage(QMyWidget *except)
{
    if (except)
        selectItems({except}, {});
    else
        selectItems({}, {});
}

void QMyFrame::announceParent(QMyDrawType *d)
{
    m_selectedPrimitive = d;
    m_selectedControl = nullptr;
    emit s_sendParent(d ? d->drawType() : 0, d);
}

void QMyFrame::slotRecvWnd(QMyWidget *w)
{
    // Pressing one of several selected controls keeps them all (it may start moving them).
    if (!m_table->isSelected(w) || m_table->selectionSize() < 2)
        deselectPage(w);
    m_selectedControl = w;
    m_selectedPrimitive = nullptr;
    m_pageSelected = false;
    emit s_sendPressWnd(w);
    update();
}

void QMyFrame::slotRecvPressPos(QPoint pos) { emit s_sendPressPos(pos); }

void QMyFrame::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint pos = toModule(eventPosition(e));
    m_buttonDown = true;
    if (m_table->drawTool() != 0) {
        startPrimitive(pos);
        return;
    }
    if (!m_table->hasPages())
        return;
    const int n = m_table->currentPage();
    const bool adds = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    for (QMyDrawType *d : m_table->pagePrimitives(n)) {
        if (d->hitTest(pos)) {
            m_pageSelected = false;
            if (adds) {
                toggleSelected(d);
                return;
            }
            if (!m_table->isSelected(d) || m_table->selectionSize() < 2)
                selectItems({}, {d});
            announceParent(d);
            m_movePress = pos;
            beginGroupMove();
            update();
            return;
        }
    }
    QList<QMyWidget *> hit;
    for (QMyWidget *w : m_table->pageControls(n)) {
        if (w->geometryRect().contains(pos))
            hit.append(w);
    }
    if (!hit.isEmpty()) {
        selectItems(hit, {});
        m_pageSelected = false;
        update();
        return;
    }
    if (!adds) {
        selectItems({}, {});
        // A second press on the bare page does not announce the page again.
        if (!m_pageSelected) {
            announceParent(nullptr);
            m_pageSelected = true;
        }
    }
    bandPress(pos, adds);
    update();
}

void QMyFrame::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pos = toModule(eventPosition(e));
    trackCursor(eventPosition(e));
    if (!m_buttonDown)
        return;
    if (m_move.active) {
        groupMoveBy(pos - m_movePress, !(e->modifiers() & Qt::AltModifier));
        return;
    }
    if (m_bandActive) {
        m_band = QRect(m_bandStart, pos).normalized();
        update();
        return;
    }
    if (!m_drawing || m_table->drawTool() == 0)
        return;
    m_drawing->setEnd(pos.x(), pos.y());
    emit s_sendParent(m_drawing->drawType(), m_drawing);
    update();
}

void QMyFrame::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint pos = toModule(eventPosition(e));
    emit s_sendPressPos(pos);
    if (m_buttonDown && m_drawing)
        finishPrimitive(pos);
    if (m_move.active) {
        // A click without a move on one of several picks that one alone.
        if (!endGroupMove() && m_selectedPrimitive && m_table->selectionSize() > 1)
            selectItems({}, {m_selectedPrimitive});
    }
    if (m_bandActive)
        bandRelease(pos);
    m_drawing = nullptr;
    m_buttonDown = false;
}

void QMyFrame::startPrimitive(const QPoint &p)
{
    if (!m_table->isValidPage(m_table->currentPage())) {
        m_messageBox->showMessage(QMyMessageBox::Warning, 0, 0, tr("未添加页，请您先添加页！"));
        return;
    }
    auto *d = new QMyDrawType;
    d->setDrawType(m_table->drawTool());
    d->setStart(p.x(), p.y());
    m_table->appendPrimitive(m_table->currentPage(), d);
    m_drawing = d;
}

void QMyFrame::finishPrimitive(const QPoint &pos)
{
    QMyDrawType *d = m_drawing;
    const int W = m_frameW;
    const int H = m_frameH;
    selectItems({}, {d});
    const QPoint p(qBound(0, pos.x(), W - 1), qBound(0, pos.y(), H - 1));
    d->setEnd(p.x(), p.y());

    bool keep = true;
    switch (d->drawType()) {
    case QMyDrawType::Circle:
    case QMyDrawType::FilledCircle: {
        const int r = d->radius();
        const int x1 = d->x1();
        const int y1 = d->y1();
        if (r < 2) {
            keep = false;
        } else if (x1 - r < 0 || y1 - r < 0 || x1 + r > W || y1 + r > H) {
            const int fit = qMin(qMin(x1, y1), qMin(W - x1, H - y1));
            d->setRadius(fit);
            // Shrunk against the edge to nothing: as invisible as a click.
            keep = fit >= 2;
        }
        break;
    }
    case QMyDrawType::Line:
        keep = d->endPoint() != d->startPoint();
        break;
    case QMyDrawType::Box:
    case QMyDrawType::FilledBox:
        keep = d->width() >= 2 && d->height() >= 2;
        break;
    default:
        break;
    }
    m_drawing = nullptr;
    if (keep) {
        announceParent(d);
    } else {
        m_table->destroyPrimitive(d);
        announceParent(nullptr);
    }
    m_pageSelected = false;
    update();
}

void QMyFrame::paintEvent(QPaintEvent *e)
{
    if (!qFuzzyCompare(moduleScale(), m_laidOutScale)) {
        // The window went to a screen of another scale: place everything again first.
        QTimer::singleShot(0, this, [this] { relayout(); });
    }
    QPainter screen(this);
    if (m_zoom == 100 && devicePixelRatioF() == 1) {
        paintPage(screen);
    } else {
        // The module pixels under the exposed area are drawn at module resolution and blown up,
        // so each is a square of whole device pixels and a move repaints only what it touched.
        const QRect area = QRect(toModule(e->rect().topLeft()), toModule(e->rect().bottomRight()))
                               .intersected(QRect(0, 0, m_frameW, m_frameH));
        if (!area.isEmpty()) {
            QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter p(&image);
            p.translate(-area.topLeft());
            paintPage(p);
            p.end();
            // Shrunk below 1x, neighbouring pixels are blended so thin lines do not vanish.
            screen.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 100);
            screen.drawImage(exactRect(area), image);
        }
    }
    if (!m_band.isEmpty()) {
        screen.setPen(QPen(QColor(0, 120, 215), 1, Qt::DashLine));
        screen.setBrush(QColor(0, 120, 215, 40));
        screen.drawRect(coveringRect(m_band).adjusted(0, 0, -1, -1));
    }
}

void QMyFrame::paintPage(QPainter &p)
{
    PageData page;
    page.imageNum = m_pageImageNum;
    page.backgroundNum = m_pageBackgroundNum;
    page.helpLineNum = m_helpLineNum;
    page.helpLineLeft = m_helpLineLeft;
    page.helpLineRight = m_helpLineRight;
    page.helpLineTop = m_helpLineTop;
    page.helpLineBottom = m_helpLineBottom;
    const RenderContext ctx = renderContext();
    Renderer::paintPageBackground(p, page, ctx);
    Renderer::paintHelpLines(p, page, ctx);
    for (const QMyDrawType *d : m_table->pagePrimitives(m_table->currentPage()))
        Renderer::paintPrimitive(p, *d);
    // A QR code's number lies on the page beside the symbol, not on it.
    for (const QMyWidget *w : m_table->pageControls(m_table->currentPage())) {
        if (w->kind() == ControlKind::QRCode)
            Renderer::paintOutsideNumber(p, Renderer::asShown(w->record()), ctx.pageSize, m_pageBackgroundNum);
    }
}

void QMyFrame::contextMenuEvent(QContextMenuEvent *e)
{
    m_pasteAction->setEnabled(controlClipboard() || primitiveClipboard());
    m_duplicateAction->setEnabled(m_table->selectionSize() > 0);
    m_alignMenu->setEnabled(m_table->selectionSize() >= 2);
    m_pastePos = toModule(e->pos());
    m_menu->popup(e->globalPos());
}

void QMyFrame::dragEnterEvent(QDragEnterEvent *e)
{
    if (e->mimeData()->hasFormat(QStringLiteral("TypeName"))) {
        e->setDropAction(Qt::MoveAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void QMyFrame::dragMoveEvent(QDragMoveEvent *e) { e->accept(); }

void QMyFrame::dropEvent(QDropEvent *e)
{
    if (!e->mimeData()->hasFormat(QStringLiteral("TypeName"))) {
        e->ignore();
        return;
    }
    const QString name = QString::fromUtf8(e->mimeData()->data(QStringLiteral("TypeName")));
    e->setDropAction(Qt::MoveAction);
    e->accept();
    addControl(name, toModule(eventPosition(e)));
}
