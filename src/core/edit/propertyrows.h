#pragma once

#include "model/controlrecord.h"

#include <QString>
#include <QVector>

// The rows the property panel shows for the page, a primitive or a control, in order. The panel
// builds itself from these lists and `tavo-cli set` accepts exactly their keys, so both edit the
// same fields.
enum class RowType {
    ReadOnlyText,    // the kind's name
    ReadOnlyNumber,  // the control number
    Text,
    Number,
    Choice,
    Image,   // picture number or nothing
    Colour,  // colour number 0..63
};

struct PropertyRow {
    RowType type = RowType::Text;
    // Chinese source of the label, translated in the context "MainWindow" unless fixed.
    const char *label = "";
    bool fixedLabel = false;
    // The model field the row edits; empty for read-only rows.
    QString key;
    // Source texts of a fixed choice list (context "MainWindow"); empty for choices whose names
    // depend on the project (resolution, font size, QR size).
    QVector<const char *> choices;
};

namespace PropertyRows {

QVector<PropertyRow> pageRows();
// The helper-line offset rows, shown while the page's helper line is the rectangle.
QVector<PropertyRow> helpLineOffsetRows();
// Rows of a primitive kind 1..6 (empty for any other).
QVector<PropertyRow> primitiveRows(int drawKind);
QVector<PropertyRow> controlRows(ControlKind kind);

// Name of the primitive kind for its read-only "类型" row (context "MainWindow").
const char *primitiveTypeName(int drawKind);
// Display name of a control kind for its "类型" row (context "QObject").
const char *controlTypeName(ControlKind kind);

// The editable rows every list has alike (same key, same kind of row, same choices), in the
// order of the first list: what several items selected together can be edited by.
QVector<PropertyRow> sharedRows(const QVector<QVector<PropertyRow>> &lists);

// The row with this key in the list, or null.
const PropertyRow *find(const QVector<PropertyRow> &rows, const QString &key);

}  // namespace PropertyRows
