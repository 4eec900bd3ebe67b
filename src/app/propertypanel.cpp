#include "propertypanel.h"

#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "edit/editrules.h"
#include "script/scripts.h"
#include "mainwindow.h"
#include "model/resolutionlist.h"
#include "properties/qtusertypeone_image.h"
#include "properties/qtusertypetwo_color.h"
#include "qtenumeditorfactory.h"
#include "qtenumpropertymanager.h"
#include "qttreepropertybrowser.h"
#include "qtvarianteditorfactory.h"
#include "qtvariantpropertymanager.h"
#include "setscreensizedlg.h"

#include <QCoreApplication>

namespace {

QString trMain(const char *text) { return QCoreApplication::translate("MainWindow", text); }

QStringList numbers(const QList<int> &values)
{
    QStringList s;
    for (int v : values)
        s << QString::number(v);
    return s;
}

}  // namespace

PropertyPanel::PropertyPanel(MainWindow *window, QtTreePropertyBrowser *browser)
    : QObject(browser), m_window(window), m_browser(browser)
{
    readOnlyManager = new QtVariantPropertyManager(browser);
    variantManager = new QtVariantPropertyManager(browser);
    drawManager = new QtVariantPropertyManager(browser);
    imageManager = new QtUserTypeOne_ImageManager(browser);
    colorManager = new QtUserTypeTwo_ColorManager(browser);
    enumManager = new QtEnumPropertyManager(browser);

    m_variantFactory = new QtVariantEditorFactory(browser);
    m_drawFactory = new QtVariantEditorFactory(browser);
    m_imageFactory = new QtUserTypeOne_ImageFactory(browser);
    m_colorFactory = new QtUserTypeTwo_ColorFactory(browser);
    m_enumFactory = new QtEnumEditorFactory(browser);
    browser->setFactoryForManager(variantManager, m_variantFactory);
    browser->setFactoryForManager(drawManager, m_drawFactory);
    browser->setFactoryForManager(imageManager, m_imageFactory);
    browser->setFactoryForManager(colorManager, m_colorFactory);
    browser->setFactoryForManager(enumManager, m_enumFactory);
    browser->setResizeMode(QtTreePropertyBrowser::ResizeToContents);
    m_imageFactory->setSelectedImageNumProvider([window] { return window->selectedImageNum(); });

    connect(variantManager, &QtVariantPropertyManager::valueChanged, this,
            qOverload<QtProperty *, const QVariant &>(&PropertyPanel::slotVariantPropertyValueChanged));
    connect(drawManager, &QtVariantPropertyManager::valueChanged, this, &PropertyPanel::slotDrawPropertyValueChanged);
    connect(imageManager, &QtUserTypeOne_ImageManager::valueChanged, this,
            &PropertyPanel::slotImageColorPropertyValueChanged);
    connect(colorManager, &QtUserTypeTwo_ColorManager::valueChanged, this,
            &PropertyPanel::slotImageColorPropertyValueChanged);
    connect(enumManager, &QtEnumPropertyManager::valueChanged, this,
            qOverload<QtProperty *, int>(&PropertyPanel::slotVariantPropertyValueChanged));

    // A drag ends with the release: the rows then show where the control or primitive went.
    connect(window->canvas(), &QMyFrame::s_sendPressPos, this, [this] {
        if (m_curWidget || m_curDraw || m_selection)
            rebuild();
    });

    // Whatever the panel shows must not outlive the object.
    PageTable *table = window->pageTable();
    connect(table, &PageTable::selectionChanged, this, &PropertyPanel::followSelection);
    connect(table, &PageTable::controlAboutToBeDestroyed, this, [this](QMyWidget *w) {
        if (w == m_curWidget) {
            clearPropertyPanel();
            m_curWidget = nullptr;
        }
    });
    connect(table, &PageTable::primitiveAboutToBeDestroyed, this, [this](QMyDrawType *d) {
        if (d == m_curDraw) {
            clearPropertyPanel();
            m_curDraw = nullptr;
        }
    });
}

QtProperty *PropertyPanel::property(const QString &key) const { return propertyKeys.key(key, nullptr); }

void PropertyPanel::clearPropertyPanel()
{
    m_building = true;
    readOnlyManager->clear();
    variantManager->clear();
    drawManager->clear();
    imageManager->clear();
    colorManager->clear();
    enumManager->clear();
    propertyKeys.clear();
    m_pageShown = false;
    m_selection = false;
    m_mixed.clear();
    m_building = false;
}

void PropertyPanel::slotRecvParent(int kind, QMyDrawType *draw)
{
    // One of several selected items announced (pressed, dragged): the selection stays shown.
    if (kind != 0 && draw && severalSelected() && m_window->pageTable()->isSelected(draw)) {
        showSelection();
        return;
    }
    clearPropertyPanel();
    m_curWidget = nullptr;
    m_curDraw = kind == 0 ? nullptr : draw;
    m_window->canvas()->setSelectedPrimitive(m_curDraw);
    if (kind == 0) {
        if (!m_window->pageTable()->hasPages())
            return;
        m_pageShown = true;
        addRows(PropertyRows::pageRows(), Target::Page);
        if (m_window->canvas()->helpLineNum() == 2)
            showOffsetRows(true);
        return;
    }
    if (draw)
        addRows(PropertyRows::primitiveRows(draw->drawType()), Target::Primitive);
}

void PropertyPanel::slotRecvWnd(QMyWidget *widget)
{
    if (widget && severalSelected() && m_window->pageTable()->isSelected(widget)) {
        showSelection();
        return;
    }
    clearPropertyPanel();
    m_curDraw = nullptr;
    m_curWidget = widget;
    QMyFrame *canvas = m_window->canvas();
    canvas->setSelectedControl(widget);
    canvas->setPageSelected(false);
    if (widget)
        addRows(PropertyRows::controlRows(widget->kind()), Target::Control);
}

void PropertyPanel::rebuild()
{
    m_rebuildQueued = false;
    if (m_selection)
        showSelection();
    else if (m_curWidget)
        slotRecvWnd(m_curWidget);
    else if (m_curDraw)
        slotRecvParent(m_curDraw->drawType(), m_curDraw);
    else if (m_pageShown)
        slotRecvParent(0, nullptr);
}

// A rebuild from inside an edit waits for the editor that reported it to finish its signal.
void PropertyPanel::rebuildLater()
{
    if (m_rebuildQueued)
        return;
    m_rebuildQueued = true;
    QMetaObject::invokeMethod(this, &PropertyPanel::rebuild, Qt::QueuedConnection);
}

// ---- building -------------------------------------------------------------------------------

void PropertyPanel::addRows(const QVector<PropertyRow> &rows, Target target)
{
    m_building = true;
    for (const PropertyRow &row : rows) {
        QtProperty *p = addRow(row, target);
        if (p)
            m_browser->addProperty(p);
    }
    m_building = false;
}

QtProperty *PropertyPanel::addRow(const PropertyRow &row, Target target)
{
    const QString label = row.fixedLabel ? QString::fromUtf8(row.label) : trMain(row.label);
    const QString stored = storedValue(row.key, target);
    QtProperty *p = nullptr;
    switch (row.type) {
    case RowType::ReadOnlyText: {
        QString value;
        if (target == Target::Selection)
            value = selectionSummary();
        else if (target == Target::Page)
            value = QCoreApplication::translate("MainWindow", "屏幕");
        else if (target == Target::Primitive)
            value = trMain(PropertyRows::primitiveTypeName(m_curDraw->drawType()));
        else
            value = QCoreApplication::translate("QObject", PropertyRows::controlTypeName(m_curWidget->kind()));
        QtVariantProperty *v = readOnlyManager->addProperty(QVariant::String, label);
        v->setValue(value);
        return v;
    }
    case RowType::ReadOnlyNumber: {
        QtVariantProperty *v = readOnlyManager->addProperty(QVariant::Int, label);
        v->setValue(m_curWidget->id());
        return v;
    }
    case RowType::Text: {
        QtVariantProperty *v = variantManager->addProperty(QVariant::String, label);
        v->setValue(stored);
        p = v;
        break;
    }
    case RowType::Number: {
        if (target == Target::Selection && m_mixed.contains(row.key)) {
            // A spin box cannot be blank: a text row takes the number typed for all.
            QtVariantProperty *v = variantManager->addProperty(QVariant::String, label);
            p = v;
            break;
        }
        QtVariantPropertyManager *m = target == Target::Control || target == Target::Selection ? variantManager : drawManager;
        QtVariantProperty *v = m->addProperty(QVariant::Int, label);
        v->setValue(stored.toInt());
        p = v;
        break;
    }
    case RowType::Choice: {
        p = enumManager->addProperty(label);
        propertyKeys.insert(p, row.key);
        QStringList names = choiceNames(row);
        const bool mixed = target == Target::Selection && m_mixed.contains(row.key);
        if (mixed)
            names.prepend(QString());
        enumManager->setEnumNames(p, names);
        const int index = mixed ? 0 : choiceIndex(row, stored);
        if (index > 0 && index < names.size())
            enumManager->setValue(p, index);
        return p;
    }
    case RowType::Image: {
        p = imageManager->addProperty(label);
        const int n = stored.toInt();
        // Only numbers of pictures the library has are ever shown.
        const bool shown = !stored.isEmpty() && m_window->pageTable()->pictures().contains(n);
        imageManager->setValue(p, shown ? stored : QString());
        break;
    }
    case RowType::Colour:
        p = colorManager->addProperty(label);
        colorManager->setValue(p, stored);
        break;
    }
    propertyKeys.insert(p, row.key);
    return p;
}

QStringList PropertyPanel::choiceNames(const PropertyRow &row) const
{
    if (row.key == QLatin1String("vga"))
        return ResolutionList();
    if (row.key == QLatin1String("fontSize"))
        return numbers(EditRules::fontSizesFor(m_window->screenSizeDlg()->resolutionText()));
    if (row.key == QLatin1String("qrcodeSize"))
        return numbers(EditRules::qrCodeSizes(m_window->canvas()->frameW(), m_window->canvas()->frameH()));
    QStringList names;
    for (const char *c : row.choices)
        names << trMain(c);
    return names;
}

// The entry to show for a stored value; 0 (the first entry) when it is not offered. The stored
// value itself is kept until the person picks an entry.
int PropertyPanel::choiceIndex(const PropertyRow &row, const QString &stored) const
{
    if (row.key == QLatin1String("vga"))
        return qMax(0, EditRules::resolutionIndex(stored));
    if (row.key == QLatin1String("fontSize") || row.key == QLatin1String("qrcodeSize"))
        return qMax(0, choiceNames(row).indexOf(stored));
    return stored.toInt();
}

QString PropertyPanel::storedValue(const QString &key, Target target) const
{
    if (key.isEmpty())
        return QString();
    switch (target) {
    case Target::Control: return PropertyEdit::controlValue(m_curWidget->record(), key);
    case Target::Primitive: return PropertyEdit::primitiveValue(*m_curDraw, key);
    case Target::Page: return PropertyEdit::pageValue(pageFields(), key);
    case Target::Selection: {
        bool mixed = false;
        return sharedValue(key, &mixed);
    }
    }
    return QString();
}

EditContext PropertyPanel::context() const
{
    const QMyFrame *canvas = m_window->canvas();
    return EditContext{canvas->frameW(), canvas->frameH(), m_window->screenSizeDlg()->resolutionText(),
                       &m_window->pageTable()->pictures(), {}};
}

PageFields PropertyPanel::pageFields() const
{
    const QMyFrame *c = m_window->canvas();
    PageFields f;
    f.resolutionText = m_window->screenSizeDlg()->resolutionText();
    f.screenType = c->screenType();
    f.frameW = c->frameW();
    f.frameH = c->frameH();
    f.imageNum = c->pageImageNum();
    f.backgroundNum = c->pageBackgroundNum();
    f.helpLineNum = c->helpLineNum();
    f.helpLineLeft = c->helpLineLeft();
    f.helpLineRight = c->helpLineRight();
    f.helpLineTop = c->helpLineTop();
    f.helpLineBottom = c->helpLineBottom();
    return f;
}

void PropertyPanel::showOffsetRows(bool shown)
{
    const bool building = m_building;
    m_building = true;
    for (const PropertyRow &row : PropertyRows::helpLineOffsetRows()) {
        QtProperty *p = property(row.key);
        if (shown && !p) {
            p = addRow(row, Target::Page);
            m_browser->addProperty(p);
        } else if (!shown && p) {
            propertyKeys.remove(p);
            m_browser->removeProperty(p);
            delete p;
        }
    }
    m_building = building;
}

// ---- edits ----------------------------------------------------------------------------------

void PropertyPanel::slotVariantPropertyValueChanged(QtProperty *property, const QVariant &value)
{
    if (m_building || (!m_selection && (!m_curWidget || m_curWidget->isDragging())))
        return;
    edit(property, value.toString());
}

void PropertyPanel::slotVariantPropertyValueChanged(QtProperty *property, int index)
{
    if (m_building)
        return;
    const QString key = propertyKeys.value(property);
    if (m_selection && m_mixed.contains(key)) {
        // The blank first entry stands for the values as they are.
        if (index <= 0)
            return;
        --index;
    }
    QString value = QString::number(index);
    if (key == QLatin1String("vga")) {
        if (index < 0 || index >= ResolutionList().size())
            return;
        value = ResolutionList().at(index);
    } else if (key == QLatin1String("fontSize")) {
        if (index < 0 || index >= fontSizeList().size())
            return;
        value = QString::number(fontSizeList().at(index));
    } else if (key == QLatin1String("qrcodeSize")) {
        const QList<int> sizes = EditRules::qrCodeSizes(m_window->canvas()->frameW(), m_window->canvas()->frameH());
        if (index < 0 || index >= sizes.size())
            return;
        value = QString::number(sizes.at(index));
    }
    if (!m_pageShown && !m_selection && (!m_curWidget || m_curWidget->isDragging()))
        return;
    edit(property, value);
}

void PropertyPanel::slotDrawPropertyValueChanged(QtProperty *property, const QVariant &value)
{
    if (m_building)
        return;
    edit(property, value.toString());
}

void PropertyPanel::slotImageColorPropertyValueChanged(QtProperty *property, const QString &value)
{
    if (m_building)
        return;
    if (!m_pageShown && !m_curDraw && !m_selection && (!m_curWidget || m_curWidget->isDragging()))
        return;
    edit(property, value);
}

void PropertyPanel::edit(QtProperty *property, const QString &value)
{
    const QString key = propertyKeys.value(property);
    if (key.isEmpty())
        return;
    if (m_selection)
        editSelection(key, value);
    else if (m_curWidget)
        editControl(key, value);
    else if (m_curDraw)
        editPrimitive(key, value);
    else if (m_pageShown)
        editPage(key, value);
}

void PropertyPanel::message(const QString &text)
{
    m_window->questionBox()->showMessage(QMyMessageBox::Hint, 0, 0, text);
}

void PropertyPanel::editControl(const QString &key, const QString &value)
{
    ControlRecord rec = m_curWidget->record();
    EditContext ctx = context();
    const int page = m_window->pageTable()->pageOf(m_curWidget);
    for (const QMyWidget *w : m_window->pageTable()->pageControls(page)) {
        if (w != m_curWidget)
            ctx.otherNames << w->record().name;
    }
    const EditOutcome o = PropertyEdit::editControl(rec, key, value, ctx);
    if (o.changed())
        m_curWidget->setRecord(rec);
    if (!o.message.isEmpty())
        message(o.message);
    else if (o.changed() && key == QLatin1String("text"))
        warnUnsafeText(rec);
    // The row shows what the project holds, never a value that was refused.
    if (o.status == EditOutcome::Adjusted || o.status == EditOutcome::Refused) {
        rebuildLater();
    } else if (o.status == EditOutcome::Stored) {
        const QString partner = PropertyEdit::imagePartner(key);
        if (!partner.isEmpty())
            setShownImage(partner, PropertyEdit::controlValue(rec, partner).toInt());
    }
}

void PropertyPanel::warnUnsafeText(const ControlRecord &rec)
{
    // Stored as typed, but said now with the download's own words rather than at download time.
    PageData page;
    page.controls.append(rec);
    TextProblem problem;
    if (findUnsafeText(page, m_window->currentPage(), &problem))
        message(problem.message);
}

void PropertyPanel::setShownImage(const QString &key, int number)
{
    QtProperty *p = property(key);
    if (!p)
        return;
    m_building = true;
    imageManager->setValue(p, number < 0 ? QString() : QString::number(number));
    m_building = false;
}

void PropertyPanel::editPrimitive(const QString &key, const QString &value)
{
    const EditOutcome o = PropertyEdit::editPrimitive(*m_curDraw, key, value, context());
    if (!o.message.isEmpty())
        message(o.message);
    if (o.changed())
        m_window->canvas()->update();
    if (o.status == EditOutcome::Adjusted || o.status == EditOutcome::Refused)
        rebuildLater();
}

void PropertyPanel::editPage(const QString &key, const QString &value)
{
    PageFields f = pageFields();
    const EditOutcome o = PropertyEdit::editPage(f, key, value, m_window->pageTable()->pictures());
    if (!o.message.isEmpty())
        message(o.message);
    if (o.status == EditOutcome::Refused)
        rebuildLater();
    if (!o.changed())
        return;
    QMyFrame *c = m_window->canvas();
    m_window->screenSizeDlg()->setResolutionText(f.resolutionText);
    c->setScreenType(f.screenType);
    const bool smaller = f.frameW < c->frameW() || f.frameH < c->frameH();
    if (f.frameW != c->frameW() || f.frameH != c->frameH())
        c->setFrameSize(f.frameW, f.frameH);
    if (f.imageNum != c->pageImageNum() || key == QLatin1String("parentImageNum"))
        c->setPageImageNum(f.imageNum);
    if (f.backgroundNum != c->pageBackgroundNum())
        c->setPageBackgroundNum(f.backgroundNum);
    if (f.helpLineNum != c->helpLineNum()) {
        c->setHelpLineNum(f.helpLineNum);
        showOffsetRows(f.helpLineNum == 2);
    }
    c->setHelpLineLeft(f.helpLineLeft);
    c->setHelpLineRight(f.helpLineRight);
    c->setHelpLineTop(f.helpLineTop);
    c->setHelpLineBottom(f.helpLineBottom);
    c->update();
    if (smaller && o.message.isEmpty())
        m_window->offerMoveInside();
}
