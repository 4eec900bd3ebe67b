#pragma once

#include "model/projectdata.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The names firmware uses for pages and controls, with what each stands for: the part of a
// project that generated bindings depend on, and what tells whether they still fit it.
namespace BindingLayout {

struct Control {
    ControlKind kind = ControlKind::Text;
    int id = 0;
    QString name;              // the control's name, or its default name
    const ControlRecord *record = nullptr;  // only in a layout made from a project
};

struct Page {
    int index = 0;
    QString name;
    QVector<Control> controls;  // controls by number, QR codes after the others
};

using Layout = QVector<Page>;

// A control's name where none was given: the kind word and number, "text3", "qrcode0" (so that
// its generated names read page3_text3). Pages take Names::defaultPageName.
QString defaultControlName(ControlKind kind, int id);

// The layout of a project, with default names filled in. False, with the reason, when a name is
// not an identifier or two names would give the same generated name (names differing only in
// case count as the same, since constants are written in capitals).
bool fromProject(const ProjectData &project, Layout *layout, QString *error);

// One line per page and control: "page 0 main", "control 0 text 3 title" (page index, kind,
// number, name). The generated files carry them, so a later check can say what moved.
QStringList lines(const Layout &layout);
// The layout written in lines; lines that are not layout lines are skipped.
Layout fromLines(const QStringList &lines);
// A short digest of the lines.
QString stamp(const Layout &layout);

// What changed from one layout to another, one sentence each, e.g.
// "control 'temperature' on page 'settings' moved from 3 to 2". Empty when nothing did.
QStringList differences(const Layout &before, const Layout &after);

}  // namespace BindingLayout
