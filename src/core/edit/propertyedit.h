#pragma once

#include "model/controlrecord.h"
#include "model/projectdata.h"
#include "model/qmydrawtype.h"

#include <QString>
#include <QStringList>

class PictureLibrary;

// What an edit is judged against: the page's size, the project's resolution (for the font
// sizes offered) and the picture library (image numbers must exist).
struct EditContext {
    int pageW = 0;
    int pageH = 0;
    QString resolutionText;
    const PictureLibrary *pictures = nullptr;
    // The names of the page's other controls, which a control's name may not repeat.
    QStringList otherNames;
};

// The page's own fields and the project's page geometry, as one edit of the page sees them.
struct PageFields {
    QString resolutionText;
    int screenType = 0;
    int frameW = 0;
    int frameH = 0;
    int imageNum = -1;
    int backgroundNum = 15;
    int helpLineNum = 0;
    int helpLineLeft = 0;
    int helpLineRight = 0;
    int helpLineTop = 0;
    int helpLineBottom = 0;
    // The page's name (key "name", edited from the page list) and those of the other pages.
    QString name;
    QStringList otherNames;
};

// The page fields of page p of a project (p one of its pages), and back.
PageFields pageFieldsOf(const ProjectData &project, const PageData &page);
void applyPageFields(const PageFields &fields, ProjectData &project, PageData &page);

struct EditOutcome {
    enum Status {
        Unchanged,   // the value was already stored
        Stored,      // stored as given
        Adjusted,    // stored after a clamp or padding, or a related field was changed
        Refused,     // nothing stored; message says why
        UnknownKey,  // the object has no such field
    };
    Status status = Unchanged;
    // Refused: why. Otherwise a notice to show with the stored value (may be empty).
    QString message;
    // The field's value after the edit, as the project file holds it.
    QString value;

    bool changed() const { return status == Stored || status == Adjusted; }
};

// One edit of one field, named by the key of its property row, with the value as text (sizes,
// picture and colour numbers, choice indexes, the resolution text). Every rule of the property
// panel applies; the panel and `tavo-cli set` both come through here.
namespace PropertyEdit {

EditOutcome editControl(ControlRecord &rec, const QString &key, const QString &value, const EditContext &ctx);
EditOutcome editPrimitive(QMyDrawType &d, const QString &key, const QString &value, const EditContext &ctx);
EditOutcome editPage(PageFields &page, const QString &key, const QString &value, const PictureLibrary &pictures);

// A page's or control's name (key "name"): spaces around it dropped, then the naming rules
// against the names of the others in its scope.
EditOutcome editName(QString &name, const QString &value, const QStringList &others);

// The stored value of a field as text, empty for an unknown key.
QString controlValue(const ControlRecord &rec, const QString &key);
QString primitiveValue(const QMyDrawType &d, const QString &key);
QString pageValue(const PageFields &page, const QString &key);

// The partner of an image field in its pair (imageNum <-> cutImageNum, ...), empty for others.
QString imagePartner(const QString &key);

}  // namespace PropertyEdit
