#pragma once

#include "bindings/bindinglayout.h"
#include "bindings/gbktable.h"
#include "model/projectdata.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// Firmware bindings: code in C or Python that sends the module the instructions for each named
// page and control. A pure function of the project and these options: same input, same bytes.
namespace Bindings {

enum class Language { C, Python };

struct Options {
    Language language = Language::C;
    QString prefix;     // of every generated name; an identifier
    QString command;    // the command line the opening comment names
    QString characters; // non-ASCII characters the firmware will send, besides the project's own
    bool allCharacters = false;  // the whole of GBK
};

struct File {
    QString name;  // file name without folder: "P.h", "P.c", or the Python file's name
    QByteArray bytes;
};

struct Result {
    QVector<File> files;
    BindingLayout::Layout layout;
    QString stamp;
    int tableCharacters = 0;
    int tableBytes = 0;  // what the table takes in the generated program
};

// False with the reason when the names cannot become distinct identifiers or the prefix is not one.
// pythonFileName names the Python file (only its name is used).
bool generate(const ProjectData &project, const Options &options, const QString &pythonFileName, Result *result,
              QString *error);

// The command that makes these files, as their opening comment names it: file names only, so the
// files do not depend on the folder it ran in. output: the C folder or the Python file.
QString commandLine(const QString &projectPath, const Options &options, const QString &output,
                    const QString &charsFile = QString());
// Writes the files into folder (made when missing), each whole; the paths written, or false and why.
bool writeFiles(const QString &folder, const Result &result, QStringList *written, QString *error);

// The layout lines kept in a generated file ("page 0 main", ...), found by their marker.
QStringList layoutLinesOf(const QByteArray &generated);

// The generators themselves, for a layout already checked.
QVector<File> cFiles(const BindingLayout::Layout &layout, const QVector<GbkTable::Entry> &table, const Options &options);
QByteArray pythonModule(const BindingLayout::Layout &layout, const QVector<GbkTable::Entry> &table,
                        const Options &options);

// Lines shared by both languages.
QStringList commentLines(const BindingLayout::Layout &layout, const QString &stamp, int tableCharacters);
// Marker before each layout line in a generated file's comment.
inline QString layoutMarker() { return QStringLiteral("layout: "); }

}  // namespace Bindings
