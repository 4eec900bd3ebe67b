#include "edit/propertyrows.h"

#include "model/qmydrawtype.h"

#include <QCoreApplication>

namespace {

PropertyRow row(RowType type, const char *label, const char *key, QVector<const char *> choices = {})
{
    PropertyRow r;
    r.type = type;
    r.label = label;
    r.key = QString::fromLatin1(key);
    r.choices = std::move(choices);
    return r;
}

PropertyRow fixed(RowType type, const char *label, const char *key)
{
    PropertyRow r = row(type, label, key);
    r.fixedLabel = true;
    return r;
}

PropertyRow typeRow() { return row(RowType::ReadOnlyText, QT_TRANSLATE_NOOP("MainWindow", "类型"), ""); }

}  // namespace

namespace PropertyRows {

QVector<PropertyRow> pageRows()
{
    PropertyRow name = fixed(RowType::ReadOnlyText, "Name", "");
    return {
        name,
        row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "分辨率"), "vga"),
        row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "类型"), "screenType", {QT_TRANSLATE_NOOP("MainWindow", "竖屏1"), QT_TRANSLATE_NOOP("MainWindow", "横屏1"), QT_TRANSLATE_NOOP("MainWindow", "竖屏2"), QT_TRANSLATE_NOOP("MainWindow", "横屏2")}),
        row(RowType::Image, QT_TRANSLATE_NOOP("MainWindow", "图片编号"), "parentImageNum"),
        row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "背景颜色"), "parentBackgroundNum"),
        row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "辅助线"), "pageHelpLineNum", {QT_TRANSLATE_NOOP("MainWindow", "无"), QT_TRANSLATE_NOOP("MainWindow", "圆或椭圆"), QT_TRANSLATE_NOOP("MainWindow", "矩形")}),
    };
}

QVector<PropertyRow> helpLineOffsetRows()
{
    return {
        row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "左偏移"), "pageHelpLineLeft"),
        row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "右偏移"), "pageHelpLineRight"),
        row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "上偏移"), "pageHelpLineTop"),
        row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "下偏移"), "pageHelpLineBottom"),
    };
}

const char *primitiveTypeName(int drawKind)
{
    switch (drawKind) {
    case QMyDrawType::Box: return QT_TRANSLATE_NOOP("MainWindow", "线框");
    case QMyDrawType::FilledBox: return QT_TRANSLATE_NOOP("MainWindow", "填充框");
    case QMyDrawType::Circle: return QT_TRANSLATE_NOOP("MainWindow", "线圆");
    case QMyDrawType::FilledCircle: return QT_TRANSLATE_NOOP("MainWindow", "填充圆");
    case QMyDrawType::Point: return QT_TRANSLATE_NOOP("MainWindow", "点");
    case QMyDrawType::Line: return QT_TRANSLATE_NOOP("MainWindow", "直线");
    default: return "";
    }
}

QVector<PropertyRow> primitiveRows(int drawKind)
{
    if (!QMyDrawType::isValidKind(drawKind))
        return {};
    QVector<PropertyRow> rows{typeRow()};
    if (QMyDrawType::isBoxKind(drawKind)) {
        rows << fixed(RowType::Number, "x", "drawX") << fixed(RowType::Number, "y", "drawY")
             << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "宽度"), "drawW") << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "高度"), "drawH");
    } else if (QMyDrawType::isCircleKind(drawKind)) {
        rows << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "圆心x"), "drawX1") << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "圆心y"), "drawY1")
             << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "半径"), "drawR");
    } else if (drawKind == QMyDrawType::Point) {
        rows << fixed(RowType::Number, "x", "drawX1") << fixed(RowType::Number, "y", "drawY1");
    } else {
        rows << fixed(RowType::Number, "x1", "drawX1") << fixed(RowType::Number, "y1", "drawY1")
             << fixed(RowType::Number, "x2", "drawX2") << fixed(RowType::Number, "y2", "drawY2");
    }
    rows << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "颜色"), "drawColorNum");
    return rows;
}

const char *controlTypeName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Text: return QT_TRANSLATE_NOOP("QObject", "文本");
    case ControlKind::Number: return QT_TRANSLATE_NOOP("QObject", "数字");
    case ControlKind::Button: return QT_TRANSLATE_NOOP("QObject", "按键");
    case ControlKind::Progress: return QT_TRANSLATE_NOOP("QObject", "进度条");
    case ControlKind::Pointer: return QT_TRANSLATE_NOOP("QObject", "指针");
    case ControlKind::QRCode: return QT_TRANSLATE_NOOP("QObject", "二维码");
    }
    return "";
}

QVector<PropertyRow> controlRows(ControlKind kind)
{
    // The firmware's name first: it is what the firmware knows the control by.
    QVector<PropertyRow> rows{row(RowType::Text, QT_TRANSLATE_NOOP("MainWindow", "名称"), "name"), typeRow(),
                              fixed(RowType::ReadOnlyNumber, "ID", "")};
    if (kind == ControlKind::Pointer) {
        rows << fixed(RowType::Number, "x", "pointerX") << fixed(RowType::Number, "y", "pointerY")
             << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "宽度"), "pointerW") << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "长度"), "pointerL")
             << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "角度(0-360)"), "pointerAngle")
             << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "指针颜色"), "fontColorNum");
        return rows;
    }
    if (kind == ControlKind::QRCode) {
        rows << fixed(RowType::Number, "x", "x") << fixed(RowType::Number, "y", "y")
             << row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "大小"), "qrcodeSize") << row(RowType::Text, QT_TRANSLATE_NOOP("MainWindow", "二维码内容"), "text")
             << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "二维码颜色"), "fontColorNum");
        return rows;
    }
    rows << fixed(RowType::Number, "x", "x") << fixed(RowType::Number, "y", "y")
         << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "宽度"), "w") << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "高度"), "h");
    switch (kind) {
    case ControlKind::Number: rows << row(RowType::Text, QT_TRANSLATE_NOOP("MainWindow", "数值"), "text"); break;
    case ControlKind::Progress: rows << row(RowType::Number, QT_TRANSLATE_NOOP("MainWindow", "进度值"), "text1"); break;
    default: rows << row(RowType::Text, QT_TRANSLATE_NOOP("MainWindow", "文本"), "text"); break;
    }
    if (kind == ControlKind::Progress) {
        rows << row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "边框模式"), "style", {QT_TRANSLATE_NOOP("MainWindow", "无边框"), QT_TRANSLATE_NOOP("MainWindow", "有边框")})
             << row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "模式"), "progType", {QT_TRANSLATE_NOOP("MainWindow", "正向横放"), QT_TRANSLATE_NOOP("MainWindow", "正向竖放"), QT_TRANSLATE_NOOP("MainWindow", "负向横放"), QT_TRANSLATE_NOOP("MainWindow", "负向竖放")})
             << row(RowType::Image, QT_TRANSLATE_NOOP("MainWindow", "前景图片编号"), "imageNum")
             << row(RowType::Image, QT_TRANSLATE_NOOP("MainWindow", "背景图片编号"), "backgroundImageNum")
             << row(RowType::Image, QT_TRANSLATE_NOOP("MainWindow", "前景切图编号"), "cutImageNum")
             << row(RowType::Image, QT_TRANSLATE_NOOP("MainWindow", "背景切图编号"), "backgroundCutImageNum")
             << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "前景颜色"), "fontColorNum")
             << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "背景颜色"), "backgroundColorNum")
             << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "边框颜色"), "styleColorNum");
        return rows;
    }
    rows << row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "字体大小"), "fontSize") << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "字体颜色"), "fontColorNum")
         << row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "水平对齐"), "hAlign", {QT_TRANSLATE_NOOP("MainWindow", "居中"), QT_TRANSLATE_NOOP("MainWindow", "左对齐"), QT_TRANSLATE_NOOP("MainWindow", "右对齐")})
         << row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "垂直对齐"), "vAlign", {QT_TRANSLATE_NOOP("MainWindow", "居中"), QT_TRANSLATE_NOOP("MainWindow", "上对齐"), QT_TRANSLATE_NOOP("MainWindow", "下对齐")});
    if (kind == ControlKind::Button) {
        rows << row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "模式"), "style",
                    {QT_TRANSLATE_NOOP("MainWindow", "无背景无边框"), QT_TRANSLATE_NOOP("MainWindow", "无背景有边框"), QT_TRANSLATE_NOOP("MainWindow", "有背景下压"), QT_TRANSLATE_NOOP("MainWindow", "有背景无边框"), QT_TRANSLATE_NOOP("MainWindow", "有背景有边框")})
             << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "边框颜色"), "styleColorNum")
             << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "按下背景颜色"), "pressColorNum")
             << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "抬起背景颜色"), "backgroundColorNum")
             << row(RowType::Image, QT_TRANSLATE_NOOP("MainWindow", "按下背景图片编号"), "pressImageNum")
             << row(RowType::Image, QT_TRANSLATE_NOOP("MainWindow", "抬起背景图片编号"), "imageNum")
             << row(RowType::Image, QT_TRANSLATE_NOOP("MainWindow", "按下背景切图编号"), "pressCutImageNum")
             << row(RowType::Image, QT_TRANSLATE_NOOP("MainWindow", "抬起背景切图编号"), "cutImageNum");
        return rows;
    }
    rows << row(RowType::Choice, QT_TRANSLATE_NOOP("MainWindow", "模式"), "style", {QT_TRANSLATE_NOOP("MainWindow", "无背景无边框"), QT_TRANSLATE_NOOP("MainWindow", "无背景有边框"), QT_TRANSLATE_NOOP("MainWindow", "有背景无边框"), QT_TRANSLATE_NOOP("MainWindow", "有背景有边框")})
         << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "边框颜色"), "styleColorNum")
         << row(RowType::Colour, QT_TRANSLATE_NOOP("MainWindow", "背景颜色"), "backgroundColorNum");
    return rows;
}

QVector<PropertyRow> sharedRows(const QVector<QVector<PropertyRow>> &lists)
{
    QVector<PropertyRow> out;
    if (lists.isEmpty())
        return out;
    const auto sameChoices = [](const PropertyRow &a, const PropertyRow &b) {
        if (a.choices.size() != b.choices.size())
            return false;
        for (int i = 0; i < a.choices.size(); ++i) {
            if (qstrcmp(a.choices.at(i), b.choices.at(i)) != 0)
                return false;
        }
        return true;
    };
    for (const PropertyRow &row : lists.first()) {
        // A name belongs to one object: several never take the same one.
        if (row.key.isEmpty() || row.key == QLatin1String("name"))
            continue;
        bool everywhere = true;
        for (int i = 1; i < lists.size() && everywhere; ++i) {
            const PropertyRow *other = find(lists.at(i), row.key);
            everywhere = other && other->type == row.type && sameChoices(row, *other);
        }
        if (everywhere)
            out.append(row);
    }
    return out;
}

const PropertyRow *find(const QVector<PropertyRow> &rows, const QString &key)
{
    if (key.isEmpty())
        return nullptr;
    for (const PropertyRow &r : rows) {
        if (r.key == key)
            return &r;
    }
    return nullptr;
}

}  // namespace PropertyRows
