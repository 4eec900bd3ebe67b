#pragma once

#include <QString>
#include <QVector>

class QStandardItemModel;

// The example instructions of the command console, in display order.
namespace CommandExamples {

struct Example {
    QString instruction;  // as it is inserted into the editor
    QString comment;      // translated, starting with "//"
};

// Every example in the current language (words inside instructions translated too).
QVector<Example> all();
// Clears the model and fills it with one row per example (instruction then comment); returns
// the instructions in row order.
QStringList fill(QStandardItemModel *model);

}  // namespace CommandExamples
