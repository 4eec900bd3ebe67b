#pragma once

#include "edit/propertyedit.h"
#include "file/projectfile.h"
#include "model/projectdata.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <QVector>

// One project and one table of edits that the window's property panel and `tavo-cli set` must
// treat alike: same stored value, same message.
namespace EditCases {

// The project: 240 x 320 portrait, one page holding one control of each kind (list index = the
// order below) and a box, a circle, a point and a line; pictures 0 (240 x 320) and 1 (100 x 50).
inline ProjectData project()
{
    ProjectData d;
    d.frameW = 240;
    d.frameH = 320;
    d.dpi = QStringLiteral("240*320(QVGA-1)");
    PageData p;
    auto add = [&](ControlKind kind, int id, int x, int y) {
        ControlRecord r = ControlRecord::make(kind, id);
        r.x = x;
        r.y = y;
        p.controls.append(r);
        return &p.controls.last();
    };
    add(ControlKind::Text, 0, 10, 10)->text = QStringLiteral("文本");
    add(ControlKind::Number, 1, 10, 50);
    add(ControlKind::Button, 2, 10, 90)->text = QStringLiteral("按键");
    add(ControlKind::Progress, 3, 10, 130)->name = QStringLiteral("level");
    ControlRecord *pointer = add(ControlKind::Pointer, 4, 100, 100);
    pointer->settlePointer();  // 50 x 50, centre (125, 125)
    add(ControlKind::QRCode, 0, 150, 10);

    QMyDrawType box;
    box.setDrawType(QMyDrawType::Box);
    box.setRect(20, 200, 40, 30);
    QMyDrawType circle;
    circle.setDrawType(QMyDrawType::Circle);
    circle.setStart(120, 250);
    circle.setRadius(20);
    QMyDrawType point;
    point.setDrawType(QMyDrawType::Point);
    point.setStart(5, 5);
    QMyDrawType line;
    line.setDrawType(QMyDrawType::Line);
    line.setStart(0, 0);
    line.setX2(50);
    line.setY2(60);
    p.primitives = {box, circle, point, line};
    d.pages.append(p);
    return d;
}

// Writes the project file and its pictures into folder; returns the file's path.
inline QString writeProject(const QString &folder, const ProjectData &d = project())
{
    QDir(folder).mkpath(QStringLiteral("tempImages"));
    QDir(folder).mkpath(QStringLiteral("backUpImages"));
    QDir(folder).mkpath(QStringLiteral("tempFonts"));
    const QVector<QPair<QString, QSize>> pictures = {{QStringLiteral("0_full.bmp"), QSize(240, 320)},
                                                     {QStringLiteral("1_small.bmp"), QSize(100, 50)}};
    for (const auto &pic : pictures) {
        QImage img(pic.second, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        img.save(folder + QStringLiteral("/tempImages/") + pic.first);
        img.save(folder + QStringLiteral("/backUpImages/") + pic.first);
    }
    const QString path = folder + QStringLiteral("/edit.Tavo");
    ProjectFile::write(path, d);
    return path;
}

struct Case {
    const char *name;
    // "page", "control N" or "primitive N" (N the position in the page's list).
    QString target;
    QString field;
    QString value;  // as `tavo-cli set` takes it: sizes, indexes, numbers, the resolution text
    QString stored;  // the field afterwards (unchanged on refusal)
    QString message; // the panel's message; empty for none
    // Values the panel never offers (a size not on the list, a picture the library lacks).
    bool cliOnly = false;
    // A second field that the edit changes, and its value afterwards.
    QString alsoField = QString();
    QString alsoValue = QString();
};

inline QString s(const char *utf8) { return QString::fromUtf8(utf8); }

inline QVector<Case> cases()
{
    const QString c0 = QStringLiteral("control 0"), num = QStringLiteral("control 1"), btn = QStringLiteral("control 2"),
                  bar = QStringLiteral("control 3"), ptr = QStringLiteral("control 4"), qr = QStringLiteral("control 5"),
                  page = QStringLiteral("page");
    const QString digits61(61, QLatin1Char('7'));
    return {
        {"x below 0", c0, s("x"), s("-3"), s("0"), {}},
        {"x beyond the page", c0, s("x"), s("500"), s("180"), {}},
        {"x inside", c0, s("x"), s("33"), s("33"), {}},
        {"width 0", c0, s("w"), s("0"), s("2"), {}},
        {"width beyond the page", c0, s("w"), s("1000"), s("230"), {}},
        {"height beyond the page", c0, s("h"), s("400"), s("310"), {}},
        {"text of 33 Chinese", c0, s("text"), QString(33, QChar(0x4E2D)), s("文本"), s("文本字符不能大于64（每个中文占两个字符）！")},
        {"text of 32 Chinese", c0, s("text"), QString(32, QChar(0x4E2D)), QString(32, QChar(0x4E2D)), {}},
        {"text at size 16", c0, s("text"), s("a b"), s("a b"), {}},
        {"button size 96 with Chinese", btn, s("fontSize"), s("96"), s("16"), s("字体大小为72或96时，文本不支持中文！")},
        {"button size 48", btn, s("fontSize"), s("48"), s("48"), {}},
        {"number control size 96", num, s("fontSize"), s("96"), s("96"), {}},
        {"font size not offered", c0, s("fontSize"), s("20"), s("16"), s("取值无效，可选的值：16, 24, 32, 48, 72, 96"), true},
        {"number 12.5", num, s("text"), s("12.5"), s("12.5000"), {}},
        {"number 12.34567", num, s("text"), s("12.34567"), s("0"), s("小数只保留4位字符，无法再添加小数位！")},
        {"number -1.23456", num, s("text"), s("-1.23456"), s("0"), s("小数只保留4位，无法再添加小数位！")},
        {"number -.5", num, s("text"), s("-.5"), s("-.5000"), {}},
        {"number .5", num, s("text"), s(".5"), s("0"), s("输入数值格式不对，'.'不应在第一位，请您重新输入有效的数值格式！")},
        {"number 007", num, s("text"), s("007"), s("0"), s("输入数值格式不对，第一个字符不能为0，请您重新输入有效的数值格式！")},
        {"number -0", num, s("text"), s("-0"), s("-0"), {}},
        {"number -05", num, s("text"), s("-05"), s("0"), s("输入数值格式不对，第二个字符不能为0，请您重新输入有效的数值格式！")},
        {"number 1-2", num, s("text"), s("1-2"), s("0"), s("输入数值格式不对，'-'应在第一位，请您重新输入有效的数值格式！")},
        {"number 1.2.3", num, s("text"), s("1.2.3"), s("0"), s("输入数值格式不对，'.'应只有一位，请您重新输入有效的数值格式！")},
        {"number 1a", num, s("text"), s("1a"), s("0"), s("输入数值格式不对，数值里不可包含特殊字符，请您重新输入有效的数值格式！")},
        {"number of 63 characters", num, s("text"), digits61 + s(".5"), s("0"), s("输入的字符不可超过64，小数需预留4位字符！")},
        {"number of 65 digits", num, s("text"), QString(65, QLatin1Char('1')), s("0"), s("输入的字符不可超过64！")},
        {"button text with Chinese at 16", btn, s("text"), s("确定"), s("确定"), {}},
        {"progress value", bar, s("text1"), s("55"), s("55"), {}},
        {"progress mode", bar, s("progType"), s("3"), s("3"), {}},
        {"progress picture clears its cut partner", bar, s("imageNum"), s("1"), s("1"), {}, false, s("cutImageNum"), s("-1")},
        {"picture the library lacks", bar, s("imageNum"), s("7"), s("-1"), s("图库中没有编号为7的图片！"), true},
        {"colour beyond the table", c0, s("fontColorNum"), s("64"), s("0"), s("颜色编号只能是0到63！"), true},
        {"colour", c0, s("fontColorNum"), s("12"), s("12"), {}},
        {"alignment", c0, s("hAlign"), s("2"), s("2"), {}},
        {"pointer centre x below", ptr, s("pointerX"), s("0"), s("25"), {}, false, s("x"), s("0")},
        {"pointer centre x beyond", ptr, s("pointerX"), s("1000"), s("215"), {}},
        {"pointer length beyond", ptr, s("pointerL"), s("500"), s("115"), {}},
        {"pointer width 0", ptr, s("pointerW"), s("0"), s("1"), {}},
        {"pointer width beyond", ptr, s("pointerW"), s("99"), s("50"), {}},
        {"pointer angle unlimited", ptr, s("pointerAngle"), s("400"), s("400"), {}},
        {"QR size 106", qr, s("qrcodeSize"), s("106"), s("106"), {}, false, s("h"), s("106")},
        {"QR size not offered", qr, s("qrcodeSize"), s("100"), s("53"), s("取值无效，可选的值：53, 106, 159, 212"), true},
        {"QR text", qr, s("text"), s("hello"), s("hello"), {}},
        {"QR text with brackets and quotes", qr, s("text"), s("a,(b)'c'"), s("a,(b)'c'"), {}},
        {"QR text ending the instruction", qr, s("text"), s("a,1,1);RESET();QRCODE(1,1,b"), defaultQRCodeText(),
         s("文本含有分号，请您修改！")},
        {"box x below 0", s("primitive 0"), s("drawX"), s("-5"), s("0"), {}},
        {"box width 0", s("primitive 0"), s("drawW"), s("0"), s("5"), {}},
        {"box width beyond", s("primitive 0"), s("drawW"), s("1000"), s("220"), {}},
        {"circle centre below radius", s("primitive 1"), s("drawX1"), s("5"), s("20"), {}, false, s("drawX"), s("0")},
        {"circle radius beyond", s("primitive 1"), s("drawR"), s("500"), s("70"), {}},
        {"point beyond", s("primitive 2"), s("drawX1"), s("300"), s("239"), {}},
        {"line end below 0", s("primitive 3"), s("drawY2"), s("-1"), s("0"), {}},
        {"primitive colour", s("primitive 3"), s("drawColorNum"), s("5"), s("5"), {}},
        {"orientation", page, s("screenType"), s("1"), s("1"), {}},
        {"helper line", page, s("pageHelpLineNum"), s("2"), s("2"), {}},
        {"background picture of the page's size", page, s("parentImageNum"), s("0"), s("0"), {}},
        {"background picture of another size", page, s("parentImageNum"), s("1"), s("1"), s("当前设置背景图片与画布分辨率不一致")},
        {"background colour", page, s("parentBackgroundNum"), s("3"), s("3"), {}},
        {"resolution", page, s("vga"), s("320*480(HVGA)"), s("320*480(HVGA)"), {}},
        {"name", c0, s("name"), s("title_1"), s("title_1"), {}},
        {"name with spaces around", c0, s("name"), s(" title "), s("title"), {}},
        {"name starting with a digit", c0, s("name"), s("1st"), {}, s("名称“1st”无效：须以英文字母或下划线开头，其后只用英文字母、数字和下划线")},
        {"name in Chinese", btn, s("name"), s("温度"), {}, s("名称“温度”无效：须以英文字母或下划线开头，其后只用英文字母、数字和下划线")},
        {"name of 33 characters", qr, s("name"), QString(33, QLatin1Char('n')), {}, s("名称“nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn”过长：最多32个字符")},
        {"name of another control", c0, s("name"), s("level"), {}, s("名称“level”已被使用")},
        {"name taken away", bar, s("name"), {}, {}, {}},
        {"page name", page, s("name"), s("settings"), s("settings"), {}, true},
        {"page name with a hyphen", page, s("name"), s("set-up"), {}, s("名称“set-up”无效：须以英文字母或下划线开头，其后只用英文字母、数字和下划线"), true},
    };
}

// The field of a target ("page", "control N", "primitive N") of page 0, as text.
inline QString valueIn(const ProjectData &d, const QString &target, const QString &field)
{
    const QStringList parts = target.split(QLatin1Char(' '));
    const PageData &p = d.pages.at(0);
    if (parts.first() == QLatin1String("control"))
        return PropertyEdit::controlValue(p.controls.at(parts.at(1).toInt()), field);
    if (parts.first() == QLatin1String("primitive"))
        return PropertyEdit::primitiveValue(p.primitives.at(parts.at(1).toInt()), field);
    return PropertyEdit::pageValue(pageFieldsOf(d, p), field);
}

// True when the case's value is refused (the file must stay as it was).
inline bool refuses(const Case &c)
{
    return !c.message.isEmpty() && c.message != s("当前设置背景图片与画布分辨率不一致");
}

}  // namespace EditCases
