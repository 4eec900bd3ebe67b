#include "edit/propertyedit.h"

#include "edit/editrules.h"
#include "edit/propertyrows.h"
#include "library/picturelibrary.h"
#include "model/colortable.h"
#include "model/names.h"
#include "model/resolutionlist.h"
#include "script/scripts.h"

#include <QCoreApplication>
#include <QHash>

#include <functional>

PageFields pageFieldsOf(const ProjectData &d, const PageData &p)
{
    PageFields f{d.dpi, d.screenType, d.frameW, d.frameH, p.imageNum, p.backgroundNum, p.helpLineNum,
                 p.helpLineLeft, p.helpLineRight, p.helpLineTop, p.helpLineBottom, p.name, {}};
    for (const PageData &other : d.pages) {
        if (&other != &p)
            f.otherNames << other.name;
    }
    return f;
}

void applyPageFields(const PageFields &f, ProjectData &d, PageData &p)
{
    d.dpi = f.resolutionText;
    d.screenType = f.screenType;
    d.frameW = f.frameW;
    d.frameH = f.frameH;
    p.imageNum = f.imageNum;
    p.backgroundNum = f.backgroundNum;
    p.helpLineNum = f.helpLineNum;
    p.helpLineLeft = f.helpLineLeft;
    p.helpLineRight = f.helpLineRight;
    p.helpLineTop = f.helpLineTop;
    p.helpLineBottom = f.helpLineBottom;
    p.name = f.name;
}

namespace PropertyEdit {

namespace {


EditOutcome refused(const QString &message)
{
    EditOutcome o;
    o.status = EditOutcome::Refused;
    o.message = message;
    return o;
}

EditOutcome unknownKey()
{
    EditOutcome o;
    o.status = EditOutcome::UnknownKey;
    return o;
}

bool toInt(const QString &value, int *v)
{
    bool ok = false;
    *v = value.trimmed().toInt(&ok);
    return ok;
}

EditOutcome notANumber() { return refused(QCoreApplication::translate("MainWindow", "请输入整数！")); }

QString listOf(const QList<int> &values)
{
    QStringList s;
    for (int v : values)
        s << QString::number(v);
    return s.join(QStringLiteral(", "));
}

EditOutcome notOffered(const QList<int> &offered)
{
    if (offered.isEmpty())
        return refused(QCoreApplication::translate("MainWindow", "该属性当前没有可选的值！"));
    return refused(QCoreApplication::translate("MainWindow", "取值无效，可选的值：%1").arg(listOf(offered)));
}

QList<int> indexes(int count)
{
    QList<int> l;
    for (int i = 0; i < count; ++i)
        l << i;
    return l;
}

// Stores v into field; `wanted` is what was asked for, so a clamp reports Adjusted.
EditOutcome storeInt(int &field, int v, int wanted)
{
    EditOutcome o;
    o.status = field == v && v == wanted ? EditOutcome::Unchanged
               : v == wanted            ? EditOutcome::Stored
                                        : EditOutcome::Adjusted;
    field = v;
    o.value = QString::number(v);
    return o;
}

// A number row: unchanged when equal to the stored value, else the clamp decides.
template <typename Clamp>
EditOutcome number(const QString &value, int stored, Clamp clamp, const std::function<void(int)> &apply)
{
    int v = 0;
    if (!toInt(value, &v))
        return notANumber();
    EditOutcome o;
    o.value = QString::number(stored);
    if (v == stored)
        return o;
    const int c = clamp(v);
    apply(c);
    o.status = c == v ? EditOutcome::Stored : EditOutcome::Adjusted;
    o.value = QString::number(c);
    return o;
}

EditOutcome colour(const QString &value, int &field)
{
    int v = 0;
    if (!toInt(value, &v))
        return notANumber();
    if (!ColorTable::isValid(v))
        return refused(QCoreApplication::translate("MainWindow", "颜色编号只能是0到%1！").arg(ColorTable::Count - 1));
    return storeInt(field, v, v);
}

// A picture number: empty or -1 for none, else a picture of the library.
bool pictureNumber(const QString &value, const PictureLibrary *pictures, int *n, EditOutcome *error)
{
    const QString t = value.trimmed();
    if (t.isEmpty() || t == QLatin1String("-1")) {
        *n = -1;
        return true;
    }
    if (!toInt(t, n)) {
        *error = notANumber();
        return false;
    }
    if (!pictures || !pictures->contains(*n)) {
        *error = refused(QCoreApplication::translate("MainWindow", "图库中没有编号为%1的图片！").arg(t));
        return false;
    }
    return true;
}

int *controlField(ControlRecord &r, const QString &key)
{
    static const QHash<QString, int ControlRecord::*> fields = {
        {QStringLiteral("fontColorNum"), &ControlRecord::fontColorNum},
        {QStringLiteral("backgroundColorNum"), &ControlRecord::backgroundColorNum},
        {QStringLiteral("pressColorNum"), &ControlRecord::pressColorNum},
        {QStringLiteral("styleColorNum"), &ControlRecord::styleColorNum},
        {QStringLiteral("imageNum"), &ControlRecord::imageNum},
        {QStringLiteral("cutImageNum"), &ControlRecord::cutImageNum},
        {QStringLiteral("backgroundImageNum"), &ControlRecord::backgroundImageNum},
        {QStringLiteral("backgroundCutImageNum"), &ControlRecord::backgroundCutImageNum},
        {QStringLiteral("pressImageNum"), &ControlRecord::pressImageNum},
        {QStringLiteral("pressCutImageNum"), &ControlRecord::pressCutImageNum},
        {QStringLiteral("x"), &ControlRecord::x},
        {QStringLiteral("y"), &ControlRecord::y},
        {QStringLiteral("w"), &ControlRecord::w},
        {QStringLiteral("h"), &ControlRecord::h},
        {QStringLiteral("fontSize"), &ControlRecord::fontSize},
        {QStringLiteral("hAlign"), &ControlRecord::hAlign},
        {QStringLiteral("vAlign"), &ControlRecord::vAlign},
        {QStringLiteral("style"), &ControlRecord::style},
        {QStringLiteral("progType"), &ControlRecord::progType},
        {QStringLiteral("pointerX"), &ControlRecord::pointerX},
        {QStringLiteral("pointerY"), &ControlRecord::pointerY},
        {QStringLiteral("pointerW"), &ControlRecord::pointerW},
        {QStringLiteral("pointerL"), &ControlRecord::pointerL},
        {QStringLiteral("pointerAngle"), &ControlRecord::pointerAngle},
        {QStringLiteral("qrcodeSize"), &ControlRecord::w},
    };
    const auto it = fields.constFind(key);
    return it == fields.constEnd() ? nullptr : &(r.*it.value());
}

EditOutcome controlText(ControlRecord &rec, const QString &s)
{
    EditOutcome o;
    o.value = rec.text;
    if (rec.kind == ControlKind::Number) {
        if (s == rec.text)
            return o;
        const EditRules::NumberCheck c = EditRules::checkNumberText(s);
        if (!c.ok)
            return refused(c.message);
        o.status = c.value == s ? EditOutcome::Stored : EditOutcome::Adjusted;
        rec.text = o.value = c.value;
        return o;
    }
    if (rec.kind != ControlKind::QRCode) {
        const QString problem = EditRules::checkControlText(s, rec.fontSize);
        if (!problem.isEmpty())
            return refused(problem);
    } else {
        // Sent bare: a ";" or a line break would end the instruction on the module.
        const QString problem = controlTextProblem(rec.kind, s);
        if (!problem.isEmpty())
            return refused(problem);
    }
    if (s != rec.text) {
        rec.text = o.value = s;
        o.status = EditOutcome::Stored;
    }
    return o;
}

EditOutcome controlFontSize(ControlRecord &rec, const QString &value, const EditContext &ctx)
{
    int size = 0;
    if (!toInt(value, &size))
        return notANumber();
    const QList<int> offered = EditRules::fontSizesFor(ctx.resolutionText);
    if (!offered.contains(size))
        return notOffered(offered);
    EditOutcome o;
    o.value = QString::number(rec.fontSize);
    if (size == rec.fontSize)
        return o;
    const bool judged = rec.kind == ControlKind::Text || rec.kind == ControlKind::Button;
    if (judged && EditRules::isLargeFontSize(size) && !rec.text.isEmpty() && !EditRules::isLargeFontText(rec.text)) {
        // A large size already stored with such a text could not be sent either: back to the smallest.
        if (EditRules::isLargeFontSize(rec.fontSize)) {
            rec.fontSize = fontSizeList().first();
            o.status = EditOutcome::Adjusted;
            o.message = EditRules::largeFontMessage();
            o.value = QString::number(rec.fontSize);
            return o;
        }
        return refused(EditRules::largeFontMessage());
    }
    return storeInt(rec.fontSize, size, size);
}

EditOutcome controlImage(ControlRecord &rec, const QString &key, const QString &value, const EditContext &ctx)
{
    int n = -1;
    EditOutcome error;
    if (!pictureNumber(value, ctx.pictures, &n, &error))
        return error;
    int *own = controlField(rec, key);
    int *partner = controlField(rec, imagePartner(key));
    const bool same = *own == n && (n < 0 || *partner < 0);
    *own = n;
    if (n >= 0)
        *partner = -1;
    EditOutcome o;
    o.status = same ? EditOutcome::Unchanged : EditOutcome::Stored;
    o.value = QString::number(n);
    return o;
}

EditOutcome controlChoice(ControlRecord &rec, const QString &key, const QString &value, int count)
{
    int i = 0;
    if (!toInt(value, &i))
        return notANumber();
    if (i < 0 || i >= count)
        return notOffered(indexes(count));
    return storeInt(*controlField(rec, key), i, i);
}

}  // namespace

QString imagePartner(const QString &key)
{
    static const QHash<QString, QString> pairs = {
        {QStringLiteral("imageNum"), QStringLiteral("cutImageNum")},
        {QStringLiteral("cutImageNum"), QStringLiteral("imageNum")},
        {QStringLiteral("backgroundImageNum"), QStringLiteral("backgroundCutImageNum")},
        {QStringLiteral("backgroundCutImageNum"), QStringLiteral("backgroundImageNum")},
        {QStringLiteral("pressImageNum"), QStringLiteral("pressCutImageNum")},
        {QStringLiteral("pressCutImageNum"), QStringLiteral("pressImageNum")},
    };
    return pairs.value(key);
}

EditOutcome editControl(ControlRecord &rec, const QString &key, const QString &value, const EditContext &ctx)
{
    const QVector<PropertyRow> rows = PropertyRows::controlRows(rec.kind);
    const PropertyRow *row = PropertyRows::find(rows, key);
    if (!row)
        return unknownKey();
    const int pageW = ctx.pageW, pageH = ctx.pageH;
    if (key == QLatin1String("name"))
        return editName(rec.name, value, ctx.otherNames);
    switch (row->type) {
    case RowType::Colour: return colour(value, *controlField(rec, key));
    case RowType::Image: return controlImage(rec, key, value, ctx);
    case RowType::Text: return controlText(rec, value);
    default: break;
    }
    if (key == QLatin1String("fontSize"))
        return controlFontSize(rec, value, ctx);
    if (key == QLatin1String("qrcodeSize")) {
        int size = 0;
        if (!toInt(value, &size))
            return notANumber();
        const QList<int> offered = EditRules::qrCodeSizes(pageW, pageH);
        if (!offered.contains(size))
            return notOffered(offered);
        EditOutcome o = storeInt(rec.w, size, size);
        rec.h = size;
        return o;
    }
    if (row->type == RowType::Choice)
        return controlChoice(rec, key, value, row->choices.size());
    if (key == QLatin1String("text1")) {
        int v = 0;
        if (!toInt(value, &v))
            return notANumber();
        int current = rec.text.toInt();
        EditOutcome o = storeInt(current, v, v);
        if (o.changed())
            rec.text = QString::number(v);
        return o;
    }
    if (key == QLatin1String("x"))
        return number(value, rec.x, [&](int v) { return EditRules::clampPosition(v, rec.w, pageW); },
                      [&](int v) { rec.x = v; });
    if (key == QLatin1String("y"))
        return number(value, rec.y, [&](int v) { return EditRules::clampPosition(v, rec.h, pageH); },
                      [&](int v) { rec.y = v; });
    if (key == QLatin1String("w"))
        return number(value, rec.w, [&](int v) { return EditRules::clampSize(v, rec.x, pageW, 2); },
                      [&](int v) { rec.w = v; });
    if (key == QLatin1String("h"))
        return number(value, rec.h, [&](int v) { return EditRules::clampSize(v, rec.y, pageH, 2); },
                      [&](int v) { rec.h = v; });
    if (key == QLatin1String("pointerX"))
        return number(value, rec.pointerX, [&](int v) { return EditRules::clampPointerCentre(v, rec.w, pageW); },
                      [&](int v) { rec.setPointerX(v); });
    if (key == QLatin1String("pointerY"))
        return number(value, rec.pointerY, [&](int v) { return EditRules::clampPointerCentre(v, rec.h, pageH); },
                      [&](int v) { rec.setPointerY(v); });
    if (key == QLatin1String("pointerW"))
        return number(value, rec.pointerW, [&](int v) { return EditRules::clampPointerWidth(v, rec.w, rec.h); },
                      [&](int v) { rec.pointerW = v; });
    if (key == QLatin1String("pointerL"))
        return number(
            value, rec.pointerL,
            [&](int v) { return EditRules::clampPointerLength(v, rec.pointerX, rec.pointerY, pageW, pageH); },
            [&](int v) {
                rec.setPointerL(v);
                rec.settlePointer();
            });
    if (key == QLatin1String("pointerAngle"))
        return number(value, rec.pointerAngle, [](int v) { return v; }, [&](int v) { rec.pointerAngle = v; });
    return unknownKey();
}

EditOutcome editPrimitive(QMyDrawType &d, const QString &key, const QString &value, const EditContext &ctx)
{
    const QVector<PropertyRow> rows = PropertyRows::primitiveRows(d.drawType());
    if (!PropertyRows::find(rows, key))
        return unknownKey();
    const int pageW = ctx.pageW, pageH = ctx.pageH;
    const bool circle = QMyDrawType::isCircleKind(d.drawType());
    if (key == QLatin1String("drawColorNum")) {
        int c = d.colorNum();
        EditOutcome o = colour(value, c);
        d.setColorNum(c);
        return o;
    }
    if (key == QLatin1String("drawX"))
        return number(value, d.x(), [&](int v) { return EditRules::clampPosition(v, d.width(), pageW); },
                      [&](int v) { d.setX(v); });
    if (key == QLatin1String("drawY"))
        return number(value, d.y(), [&](int v) { return EditRules::clampPosition(v, d.height(), pageH); },
                      [&](int v) { d.setY(v); });
    if (key == QLatin1String("drawW"))
        return number(value, d.width(), [&](int v) { return EditRules::clampSize(v, d.x(), pageW, 5); },
                      [&](int v) { d.setWidth(v); });
    if (key == QLatin1String("drawH"))
        return number(value, d.height(), [&](int v) { return EditRules::clampSize(v, d.y(), pageH, 5); },
                      [&](int v) { d.setHeight(v); });
    if (key == QLatin1String("drawX1"))
        return number(
            value, d.x1(),
            [&](int v) {
                return circle ? EditRules::clampCircleCentre(v, d.x1(), d.radius(), pageW) : EditRules::clampPoint(v, pageW);
            },
            [&](int v) {
                d.setX1(v);
                if (circle)
                    d.setRadius(d.radius());
            });
    if (key == QLatin1String("drawY1"))
        return number(
            value, d.y1(),
            [&](int v) {
                return circle ? EditRules::clampCircleCentre(v, d.y1(), d.radius(), pageH) : EditRules::clampPoint(v, pageH);
            },
            [&](int v) {
                d.setY1(v);
                if (circle)
                    d.setRadius(d.radius());
            });
    if (key == QLatin1String("drawX2"))
        return number(value, d.x2(), [&](int v) { return EditRules::clampPoint(v, pageW); }, [&](int v) { d.setX2(v); });
    if (key == QLatin1String("drawY2"))
        return number(value, d.y2(), [&](int v) { return EditRules::clampPoint(v, pageH); }, [&](int v) { d.setY2(v); });
    if (key == QLatin1String("drawR"))
        return number(value, d.radius(),
                      [&](int v) { return EditRules::clampCircleRadius(v, d.x1(), d.y1(), pageW, pageH); },
                      [&](int v) { d.setRadius(v); });
    return unknownKey();
}

EditOutcome editPage(PageFields &page, const QString &key, const QString &value, const PictureLibrary &pictures)
{
    if (key == QLatin1String("name"))
        return editName(page.name, value, page.otherNames);
    const bool offset = PropertyRows::find(PropertyRows::helpLineOffsetRows(), key) != nullptr;
    const QVector<PropertyRow> rows = PropertyRows::pageRows();
    const PropertyRow *row = PropertyRows::find(rows, key);
    if (!row && !offset)
        return unknownKey();
    if (key == QLatin1String("vga")) {
        const QString text = value.trimmed();
        if (!ResolutionList().contains(text))
            return refused(QCoreApplication::translate("MainWindow", "取值无效，可选的值：%1").arg(ResolutionList().join(QStringLiteral(", "))));
        EditOutcome o;
        o.value = text;
        if (text == page.resolutionText)
            return o;
        page.resolutionText = text;
        const QSize size = pageSizeFor(text, page.screenType);
        page.frameW = size.width();
        page.frameH = size.height();
        o.status = EditOutcome::Stored;
        return o;
    }
    if (key == QLatin1String("parentImageNum")) {
        int n = -1;
        EditOutcome o;
        if (!pictureNumber(value, &pictures, &n, &o))
            return o;
        o = storeInt(page.imageNum, n, n);
        const QSize s = pictures.sizeOf(n);
        if (n >= 0 && s.width() != page.frameW && s.height() != page.frameH)
            o.message = QCoreApplication::translate("MainWindow", "当前设置背景图片与画布分辨率不一致");
        return o;
    }
    if (key == QLatin1String("parentBackgroundNum"))
        return colour(value, page.backgroundNum);
    int v = 0;
    if (!toInt(value, &v))
        return notANumber();
    if (key == QLatin1String("screenType")) {
        if (v < 0 || v >= row->choices.size())
            return notOffered(indexes(row->choices.size()));
        EditOutcome o = storeInt(page.screenType, v, v);
        const bool landscape = v == 1 || v == 3;
        if (landscape != (page.frameW >= page.frameH) && page.frameW != page.frameH)
            qSwap(page.frameW, page.frameH);
        return o;
    }
    if (key == QLatin1String("pageHelpLineNum")) {
        if (v < 0 || v >= row->choices.size())
            return notOffered(indexes(row->choices.size()));
        return storeInt(page.helpLineNum, v, v);
    }
    if (key == QLatin1String("pageHelpLineLeft"))
        return storeInt(page.helpLineLeft, v, v);
    if (key == QLatin1String("pageHelpLineRight"))
        return storeInt(page.helpLineRight, v, v);
    if (key == QLatin1String("pageHelpLineTop"))
        return storeInt(page.helpLineTop, v, v);
    return storeInt(page.helpLineBottom, v, v);
}

EditOutcome editName(QString &name, const QString &value, const QStringList &others)
{
    const QString wanted = value.trimmed();
    const QString problem = Names::problem(wanted, others);
    if (!problem.isEmpty())
        return refused(problem);
    EditOutcome o;
    o.value = wanted;
    if (wanted != name) {
        name = wanted;
        o.status = wanted == value ? EditOutcome::Stored : EditOutcome::Adjusted;
    }
    return o;
}

QString controlValue(const ControlRecord &rec, const QString &key)
{
    if (key == QLatin1String("name"))
        return rec.name;
    if (key == QLatin1String("text"))
        return rec.text;
    if (key == QLatin1String("text1"))
        return QString::number(rec.text.toInt());
    ControlRecord copy = rec;
    const int *f = controlField(copy, key);
    return f ? QString::number(*f) : QString();
}

QString primitiveValue(const QMyDrawType &d, const QString &key)
{
    static const QHash<QString, int (QMyDrawType::*)() const> getters = {
        {QStringLiteral("drawX"), &QMyDrawType::x},         {QStringLiteral("drawY"), &QMyDrawType::y},
        {QStringLiteral("drawW"), &QMyDrawType::width},     {QStringLiteral("drawH"), &QMyDrawType::height},
        {QStringLiteral("drawX1"), &QMyDrawType::x1},       {QStringLiteral("drawY1"), &QMyDrawType::y1},
        {QStringLiteral("drawX2"), &QMyDrawType::x2},       {QStringLiteral("drawY2"), &QMyDrawType::y2},
        {QStringLiteral("drawR"), &QMyDrawType::radius},    {QStringLiteral("drawColorNum"), &QMyDrawType::colorNum},
    };
    const auto it = getters.constFind(key);
    return it == getters.constEnd() ? QString() : QString::number((d.*it.value())());
}

QString pageValue(const PageFields &page, const QString &key)
{
    if (key == QLatin1String("name"))
        return page.name;
    static const QHash<QString, int PageFields::*> fields = {
        {QStringLiteral("screenType"), &PageFields::screenType},
        {QStringLiteral("parentImageNum"), &PageFields::imageNum},
        {QStringLiteral("parentBackgroundNum"), &PageFields::backgroundNum},
        {QStringLiteral("pageHelpLineNum"), &PageFields::helpLineNum},
        {QStringLiteral("pageHelpLineLeft"), &PageFields::helpLineLeft},
        {QStringLiteral("pageHelpLineRight"), &PageFields::helpLineRight},
        {QStringLiteral("pageHelpLineTop"), &PageFields::helpLineTop},
        {QStringLiteral("pageHelpLineBottom"), &PageFields::helpLineBottom},
    };
    if (key == QLatin1String("vga"))
        return page.resolutionText;
    const auto it = fields.constFind(key);
    return it == fields.constEnd() ? QString() : QString::number(page.*it.value());
}

}  // namespace PropertyEdit
