#pragma once

#include "edit/propertyedit.h"
#include "edit/propertyrows.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QVariant>

class MainWindow;
class QMyDrawType;
class QMyWidget;
class QtEnumEditorFactory;
class QtEnumPropertyManager;
class QtProperty;
class QtTreePropertyBrowser;
class QtUserTypeOne_ImageFactory;
class QtUserTypeOne_ImageManager;
class QtUserTypeTwo_ColorFactory;
class QtUserTypeTwo_ColorManager;
class QtVariantEditorFactory;
class QtVariantPropertyManager;

// The property panel beside the canvas: shows the page, one primitive or one control as rows
// and hands every edit to the core's rules, then writes the result into the canvas. Showing a
// selection never changes the project; only an edit does.
class PropertyPanel : public QObject {
    Q_OBJECT
public:
    PropertyPanel(MainWindow *window, QtTreePropertyBrowser *browser);

    QtTreePropertyBrowser *browser() const { return m_browser; }

    // Made in this order; clearing follows it too.
    QtVariantPropertyManager *readOnlyManager = nullptr;
    QtVariantPropertyManager *variantManager = nullptr;
    QtVariantPropertyManager *drawManager = nullptr;
    QtUserTypeOne_ImageManager *imageManager = nullptr;
    QtUserTypeTwo_ColorManager *colorManager = nullptr;
    QtEnumPropertyManager *enumManager = nullptr;

    // Editable rows and the field each edits, in row order.
    QMap<QtProperty *, QString> propertyKeys;
    QMyWidget *curWidget() const { return m_curWidget; }
    QMyDrawType *curDraw() const { return m_curDraw; }

    // The row editing key, or null.
    QtProperty *property(const QString &key) const;
    // True while the rows are those shared by several selected items.
    bool showsSelection() const { return m_selection; }

public slots:
    // kind 0: the page; 1..6: the primitive draw (nothing shown without one).
    void slotRecvParent(int kind, QMyDrawType *draw);
    void slotRecvWnd(QMyWidget *widget);
    // Shows the current selection again (after a language change, a clamp, a drag).
    void rebuild();
    void clearPropertyPanel();
    // Shows the values the project holds now, after a change made elsewhere (a nudge, an
    // alignment, an undo); rows already right are left alone, with their editors.
    void refresh();
    // Several items selected: the rows they share, each with its value where all agree.
    void showSelection();

    void slotVariantPropertyValueChanged(QtProperty *property, const QVariant &value);
    void slotVariantPropertyValueChanged(QtProperty *property, int index);
    void slotDrawPropertyValueChanged(QtProperty *property, const QVariant &value);
    void slotImageColorPropertyValueChanged(QtProperty *property, const QString &value);

private:
    enum class Target { Page, Primitive, Control, Selection };

    void addRows(const QVector<PropertyRow> &rows, Target target);
    QtProperty *addRow(const PropertyRow &row, Target target);
    QStringList choiceNames(const PropertyRow &row) const;
    int choiceIndex(const PropertyRow &row, const QString &stored) const;
    QString storedValue(const QString &key, Target target) const;
    EditContext context() const;
    PageFields pageFields() const;

    // Runs one edit of the row's field; value as the rules take it.
    void edit(QtProperty *property, const QString &value);
    void editControl(const QString &key, const QString &value);
    void editPrimitive(const QString &key, const QString &value);
    void editPage(const QString &key, const QString &value);
    void showOffsetRows(bool shown);
    void setShownImage(const QString &key, int number);
    void message(const QString &text);
    // Tells at once of a stored text the module would misread.
    void warnUnsafeText(const ControlRecord &rec);
    void rebuildLater();
    Target target() const;
    // The value each row stands for now; a blank row of several items has its own mark.
    QMap<QString, QString> currentValues() const;
    // Several items at once (propertypanelselection.cpp).
    bool severalSelected() const;
    void followSelection();
    QString sharedValue(const QString &key, bool *mixed) const;
    QString selectionSummary() const;
    void editSelection(const QString &key, QString value);

    MainWindow *m_window;
    QtTreePropertyBrowser *m_browser;
    QtVariantEditorFactory *m_variantFactory = nullptr;
    QtVariantEditorFactory *m_drawFactory = nullptr;
    QtUserTypeOne_ImageFactory *m_imageFactory = nullptr;
    QtUserTypeTwo_ColorFactory *m_colorFactory = nullptr;
    QtEnumEditorFactory *m_enumFactory = nullptr;

    QPointer<QMyWidget> m_curWidget;
    QMyDrawType *m_curDraw = nullptr;
    bool m_pageShown = false;
    bool m_selection = false;
    QVector<PropertyRow> m_sharedRows;
    // The rows shown and the values they show.
    QVector<PropertyRow> m_rows;
    QMap<QString, QString> m_shown;
    // Rows whose items hold different values: shown blank; a choice row then has a blank first
    // entry in front of its names.
    QSet<QString> m_mixed;
    // Set while rows are made or refreshed: the managers' notices are not edits.
    bool m_building = false;
    bool m_rebuildQueued = false;
};
