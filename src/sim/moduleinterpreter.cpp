// The instructions of the module's language, one function per group.
#include "moduleruntime.h"

#include "model/colortable.h"
#include "pagereader.h"
#include "script/moduletext.h"

#include <QCoreApplication>

#include <algorithm>

using ModuleInstructions::toInt;
using ModuleInstructions::toQuoted;

namespace {

QString tr(const char *text) { return QCoreApplication::translate("ModuleRuntime", text); }

// Module coordinates are 16-bit; sizes beyond the largest panel are not sizes.
constexpr int kMaxCoord = 32767;
constexpr int kMaxSize = 8192;

bool ints(const ModuleInstruction &ins, int count, QVector<int> *out, QString *error)
{
    if (ins.args.size() != count) {
        *error = tr("需要%1个参数").arg(count);
        return false;
    }
    out->resize(count);
    for (int i = 0; i < count; ++i) {
        if (!toInt(ins.args.at(i), &(*out)[i])) {
            *error = tr("第%1个参数不是整数").arg(i + 1);
            return false;
        }
    }
    return true;
}

bool inRange(int v, int lo, int hi, const QString &what, QString *error)
{
    if (v >= lo && v <= hi)
        return true;
    *error = tr("%1超出范围 %2..%3").arg(what).arg(lo).arg(hi);
    return false;
}

bool colourOk(int c, QString *error) { return inRange(c, 0, ColorTable::Count - 1, tr("颜色号"), error); }

bool pointOk(int x, int y, QString *error)
{
    return inRange(x, -kMaxCoord, kMaxCoord, tr("坐标"), error) && inRange(y, -kMaxCoord, kMaxCoord, tr("坐标"), error);
}

}  // namespace

const QHash<QString, ModuleRuntime::Handler> &ModuleRuntime::handlers()
{
    static const QHash<QString, Handler> table = [] {
        QHash<QString, Handler> t;
        t.insert(QStringLiteral("CLR"), &ModuleRuntime::doClear);
        t.insert(QStringLiteral("PIC"), &ModuleRuntime::doPicture);
        for (const char *name : {"BOX", "BOXF", "CIR", "CIRF", "PS", "PL"})
            t.insert(QLatin1String(name), &ModuleRuntime::doShape);
        for (const char *name : {"TXT", "NUM", "BUTTON", "PROG", "POINT", "QRCODE"})
            t.insert(QLatin1String(name), &ModuleRuntime::doControl);
        t.insert(QStringLiteral("BTN"), &ModuleRuntime::doSimpleButton);
        for (const char *name : {"DC16", "DC24", "DC32", "DCV16", "DCV24", "DCV32", "DC48", "DC72", "DC96"})
            t.insert(QLatin1String(name), &ModuleRuntime::doText);
        t.insert(QStringLiteral("SBC"), &ModuleRuntime::doBackgroundColour);
        t.insert(QStringLiteral("BL"), &ModuleRuntime::doBacklight);
        t.insert(QStringLiteral("DIR"), &ModuleRuntime::doDirection);
        t.insert(QStringLiteral("JUMP"), &ModuleRuntime::doJump);
        t.insert(QStringLiteral("FSIMG"), &ModuleRuntime::doFlashPicture);
        t.insert(QStringLiteral("GIF"), &ModuleRuntime::doAnimationFrame);
        t.insert(QStringLiteral("QBAR"), &ModuleRuntime::doSetQr);
        t.insert(QStringLiteral("SET_TXT"), &ModuleRuntime::doSetText);
        t.insert(QStringLiteral("SET_NUM"), &ModuleRuntime::doSetNumber);
        t.insert(QStringLiteral("SET_PROG"), &ModuleRuntime::doSetProgress);
        t.insert(QStringLiteral("SET_POINT"), &ModuleRuntime::doSetPointer);
        t.insert(QStringLiteral("SET_BTN"), &ModuleRuntime::doSetButton);
        t.insert(QStringLiteral("SET_BTN_IMG"), &ModuleRuntime::doSetButtonPicture);
        for (const char *name : {"SET_BCOLOR", "SET_BCOLOR2", "SET_FCOLOR", "SET_FRAME_COLOR"})
            t.insert(QLatin1String(name), &ModuleRuntime::doSetColour);
        t.insert(QStringLiteral("SET_HDOT"), &ModuleRuntime::doHalfDot);
        t.insert(QStringLiteral("DELAYMS"), &ModuleRuntime::doDelay);
        t.insert(QStringLiteral("LCDON"), &ModuleRuntime::doLcd);
        t.insert(QStringLiteral("RESET"), &ModuleRuntime::doReset);
        t.insert(QStringLiteral("VER"), &ModuleRuntime::doVersion);
        t.insert(QStringLiteral("GET_ADDR"), &ModuleRuntime::doGetAddress);
        t.insert(QStringLiteral("ADDR"), &ModuleRuntime::doAddress);
        t.insert(QStringLiteral("BPS"), &ModuleRuntime::doBaud);
        t.insert(QStringLiteral("MODE_CFG"), &ModuleRuntime::doPictureMode);
        return t;
    }();
    return table;
}

bool ModuleRuntime::doClear(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 1, &a, error) || !colourOk(a[0], error))
        return false;
    m_screen.fill(a[0]);
    m_screen.setBackgroundNum(a[0]);
    m_screen.clearControls();
    return true;
}

void ModuleRuntime::drawPicture(const QImage &image, int x, int y, int w, int h)
{
    const QRect part = QRect(0, 0, w, h) & image.rect();
    m_screen.draw([&](ModuleRaster &r) { r.picture(image, QPoint(x, y), part); });
}

bool ModuleRuntime::doPicture(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 5, &a, error) || !pointOk(a[1], a[2], error) || !inRange(a[3], 0, kMaxSize, tr("宽度"), error) ||
        !inRange(a[4], 0, kMaxSize, tr("高度"), error))
        return false;
    const QImage img = m_pictures.image(a[0]);
    if (img.isNull()) {
        *error = tr("没有图片%1").arg(a[0]);
        return false;
    }
    drawPicture(img, a[1], a[2], a[3], a[4]);
    return true;
}

bool ModuleRuntime::doAnimationFrame(const ModuleInstruction &ins, Origin origin, QString *error)
{
    return doPicture(ins, origin, error);
}

bool ModuleRuntime::doShape(const ModuleInstruction &ins, Origin, QString *error)
{
    const QString &n = ins.name;
    const int count = (n == QLatin1String("PS")) ? 3 : (n.startsWith(QLatin1String("CIR")) ? 4 : 5);
    QVector<int> a;
    if (!ints(ins, count, &a, error) || !colourOk(a[count - 1], error))
        return false;
    for (int i = 0; i + 1 < count; ++i) {
        if (!inRange(a[i], -kMaxCoord, kMaxCoord, tr("坐标"), error))
            return false;
    }
    if (count == 4 && !inRange(a[2], 0, kMaxSize, tr("半径"), error))
        return false;
    const QRgb c = ModuleRaster::tableColour(a[count - 1]);
    m_screen.draw([&](ModuleRaster &r) {
        if (n == QLatin1String("PS"))
            r.pixel(a[0], a[1], c);
        else if (n == QLatin1String("PL"))
            r.line(a[0], a[1], a[2], a[3], c);
        else if (count == 4)
            r.circle(a[0], a[1], a[2], c, n == QLatin1String("CIRF"));
        else
            r.box(a[0], a[1], a[2], a[3], c, n == QLatin1String("BOXF"));
    });
    return true;
}

bool ModuleRuntime::doControl(const ModuleInstruction &ins, Origin, QString *error)
{
    const QString &n = ins.name;
    // Argument count and which arguments are texts.
    int count = 0;
    int textAt = -1;
    bool quoted = false;
    if (n == QLatin1String("TXT")) {
        count = 12, textAt = 5, quoted = true;
    } else if (n == QLatin1String("NUM")) {
        count = 13, textAt = 5;
    } else if (n == QLatin1String("BUTTON")) {
        count = 15, textAt = 5, quoted = true;
    } else if (n == QLatin1String("PROG")) {
        count = 12;
    } else if (n == QLatin1String("POINT")) {
        count = 6;
    }
    QVector<int> a;
    if (n == QLatin1String("QRCODE")) {
        // The text is bare and may hold commas: position, text, side, colour.
        int v = 0;
        if (ins.args.size() < 5) {
            *error = tr("需要%1个参数").arg(5);
            return false;
        }
        for (int i : {0, 1, int(ins.args.size()) - 2, int(ins.args.size()) - 1}) {
            if (!toInt(ins.args.at(i), &v)) {
                *error = tr("第%1个参数不是整数").arg(i + 1);
                return false;
            }
            a << v;
        }
        if (!pointOk(a[0], a[1], error) || !inRange(a[2], 1, kMaxSize, tr("尺寸"), error) || !colourOk(a[3], error))
            return false;
    } else {
        if (ins.args.size() != count) {
            *error = tr("需要%1个参数").arg(count);
            return false;
        }
        for (int i = 0; i < count; ++i) {
            int v = 0;
            if (i == textAt) {
                QString text;
                if (quoted && !toQuoted(ins.args.at(i), &text)) {
                    *error = tr("文本须用单引号括起");
                    return false;
                }
                if (ModuleText::byteCount(quoted ? text : ins.args.at(i)) > m_maxTextBytes) {
                    *error = tr("文本超过%1字节").arg(m_maxTextBytes);
                    return false;
                }
                continue;
            }
            if (!toInt(ins.args.at(i), &v)) {
                *error = tr("第%1个参数不是整数").arg(i + 1);
                return false;
            }
            a << v;
        }
        const bool pointer = n == QLatin1String("POINT");
        if (!pointOk(a[0], a[1], error))
            return false;
        if (pointer ? !inRange(a[3], 0, kMaxSize / 2, tr("长度"), error) || !inRange(a[4], 0, kMaxSize, tr("宽度"), error)
                    : !inRange(a[2], 0, kMaxSize, tr("宽度"), error) || !inRange(a[3], 0, kMaxSize, tr("高度"), error))
            return false;
    }
    const PageData page = PageReader::read(ins.text);
    if (page.controls.isEmpty()) {
        *error = tr("参数错误");
        return false;
    }
    m_screen.addControl(page.controls.first());
    return true;
}

bool ModuleRuntime::doSimpleButton(const ModuleInstruction &ins, Origin, QString *error)
{
    // BTN(x,y,w,h,'text',text colour,frame colour,pressed look,background colour)
    if (ins.args.size() != 9) {
        *error = tr("需要%1个参数").arg(9);
        return false;
    }
    QString text;
    if (!toQuoted(ins.args.at(4), &text)) {
        *error = tr("文本须用单引号括起");
        return false;
    }
    QVector<int> a;
    for (int i : {0, 1, 2, 3, 5, 6, 7, 8}) {
        int v = 0;
        if (!toInt(ins.args.at(i), &v)) {
            *error = tr("第%1个参数不是整数").arg(i + 1);
            return false;
        }
        a << v;
    }
    if (!pointOk(a[0], a[1], error) || !inRange(a[2], 0, kMaxSize, tr("宽度"), error) ||
        !inRange(a[3], 0, kMaxSize, tr("高度"), error) || !colourOk(a[4], error) || !colourOk(a[5], error) ||
        !inRange(a[6], 0, 1, tr("按下效果"), error) || !colourOk(a[7], error))
        return false;
    ControlRecord r = ControlRecord::make(ControlKind::Button, 0);
    r.x = a[0], r.y = a[1], r.w = a[2], r.h = a[3];
    r.text = text;
    r.fontSize = 16;
    r.imageNum = r.cutImageNum = r.pressImageNum = r.pressCutImageNum = -1;
    r.fontColorNum = a[4];
    r.styleColorNum = a[5];
    r.style = a[6] ? 2 : 3;
    r.backgroundColorNum = r.pressColorNum = a[7];
    m_screen.addControl(r);
    return true;
}

bool ModuleRuntime::doText(const ModuleInstruction &ins, Origin, QString *error)
{
    const QString &n = ins.name;
    const bool large = n == QLatin1String("DC48") || n == QLatin1String("DC72") || n == QLatin1String("DC96");
    const int size = n.right(2).toInt();
    if (ins.args.size() != (large ? 5 : 4)) {
        *error = tr("需要%1个参数").arg(large ? 5 : 4);
        return false;
    }
    QString text;
    if (!toQuoted(ins.args.at(2), &text)) {
        *error = tr("文本须用单引号括起");
        return false;
    }
    int x = 0, y = 0, colour = 0, mode = n.startsWith(QLatin1String("DCV")) ? 1 : 0;
    if (!toInt(ins.args.at(0), &x) || !toInt(ins.args.at(1), &y) || !toInt(ins.args.at(3), &colour) ||
        (large && !toInt(ins.args.at(4), &mode))) {
        *error = tr("参数不是整数");
        return false;
    }
    if (!pointOk(x, y, error) || !colourOk(colour, error) || !inRange(mode, 0, 1, tr("显示方式"), error))
        return false;
    if (ModuleText::byteCount(text) > m_maxTextBytes) {
        *error = tr("文本超过%1字节").arg(m_maxTextBytes);
        return false;
    }
    ControlRecord r = ControlRecord::make(ControlKind::Text, 0);
    r.x = x, r.y = y, r.w = ModuleRaster::textWidth(text, size), r.h = size;
    r.fontSize = size;
    r.text = text;
    r.style = mode ? 2 : 0;
    r.hAlign = AlignStart;
    r.vAlign = AlignStart;
    r.fontColorNum = colour;
    r.backgroundColorNum = m_sbc;
    m_screen.draw([&](ModuleRaster &raster) { raster.control(r, nullptr, m_sbc); });
    return true;
}

bool ModuleRuntime::doBackgroundColour(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 1, &a, error) || !colourOk(a[0], error))
        return false;
    m_sbc = a[0];
    return true;
}

bool ModuleRuntime::doBacklight(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 1, &a, error) || !inRange(a[0], 0, 255, tr("背光值"), error))
        return false;
    m_backlight = a[0];
    return true;
}

bool ModuleRuntime::doDirection(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 1, &a, error) || !inRange(a[0], 0, 3, tr("方向"), error))
        return false;
    m_screen.turn(m_direction, a[0]);
    m_direction = a[0];
    return true;
}

bool ModuleRuntime::doJump(const ModuleInstruction &ins, Origin origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 1, &a, error))
        return false;
    // A page that jumps would run for ever.
    if (origin == Origin::Page) {
        *error = tr("页面脚本中不能跳转");
        return false;
    }
    if (!m_pages.contains(a[0])) {
        *error = tr("没有第%1页").arg(a[0]);
        return false;
    }
    m_currentPage = a[0];
    m_screen.clearControls();
    queueScript(m_pages.value(a[0]), Origin::Page, true);
    return true;
}

bool ModuleRuntime::doFlashPicture(const ModuleInstruction &ins, Origin, QString *error)
{
    // FSIMG(picture number or flash address, x, y, w, h, mode)
    QVector<int> a;
    if (!ints(ins, 6, &a, error) || !pointOk(a[1], a[2], error) || !inRange(a[3], 0, kMaxSize, tr("宽度"), error) ||
        !inRange(a[4], 0, kMaxSize, tr("高度"), error) || !inRange(a[5], 0, 1, tr("显示方式"), error))
        return false;
    if (a[0] < 0) {
        *error = tr("没有图片%1").arg(a[0]);
        return false;
    }
    if (a[0] >= int(PictureLibrary::BaseAddress)) {
        // By address: w x h pixels straight from the flash; only what lands on the screen is read.
        const QRect visible = QRect(QPoint(0, 0), m_screen.size()).translated(-a[1], -a[2]);
        const QImage img = m_pictures.imageAt(a[0], a[3], a[4], visible);
        if (img.isNull()) {
            *error = tr("地址%1处没有图片数据").arg(a[0]);
            return false;
        }
        const QRect part = visible & QRect(0, 0, a[3], a[4]);
        m_screen.draw([&](ModuleRaster &r) { r.picture(img, QPoint(a[1], a[2]) + part.topLeft()); });
        return true;
    }
    const QImage img = m_pictures.image(a[0]);
    if (img.isNull()) {
        *error = tr("没有图片%1").arg(a[0]);
        return false;
    }
    drawPicture(img, a[1], a[2], a[3], a[4]);
    return true;
}

ControlRecord *ModuleRuntime::target(const ModuleInstruction &ins, std::initializer_list<ControlKind> kinds,
                                     QString *error)
{
    int n = 0;
    if (ins.args.isEmpty() || !toInt(ins.args.first(), &n)) {
        *error = tr("控件编号不是整数");
        return nullptr;
    }
    ControlRecord *r = m_screen.control(n);
    if (!r) {
        *error = tr("当前页没有控件%1").arg(n);
        return nullptr;
    }
    if (kinds.size() == 0 || std::find(kinds.begin(), kinds.end(), r->kind) != kinds.end())
        return r;
    switch (*kinds.begin()) {
    case ControlKind::Text: *error = tr("控件%1不是文本或按键").arg(n); break;
    case ControlKind::Number: *error = tr("控件%1不是数字").arg(n); break;
    case ControlKind::Progress: *error = tr("控件%1不是进度条").arg(n); break;
    case ControlKind::Pointer: *error = tr("控件%1不是指针").arg(n); break;
    default: *error = tr("控件%1不是按键").arg(n); break;
    }
    return nullptr;
}

bool ModuleRuntime::doSetQr(const ModuleInstruction &ins, Origin, QString *error)
{
    // QBAR(n,text): the text is bare and may hold commas.
    int n = 0;
    if (ins.args.size() < 2 || !toInt(ins.args.first(), &n)) {
        *error = tr("参数错误");
        return false;
    }
    ControlRecord *r = m_screen.qrCode(n);
    if (!r) {
        *error = tr("当前页没有二维码%1").arg(n);
        return false;
    }
    const QString text = ins.args.mid(1).join(QLatin1Char(','));
    if (ModuleText::byteCount(text) > m_maxTextBytes) {
        *error = tr("文本超过%1字节").arg(m_maxTextBytes);
        return false;
    }
    r->text = text;
    m_screen.redraw(r);
    return true;
}

bool ModuleRuntime::doSetText(const ModuleInstruction &ins, Origin, QString *error)
{
    QString text;
    if (ins.args.size() != 2 || !toQuoted(ins.args.at(1), &text)) {
        *error = tr("参数错误");
        return false;
    }
    ControlRecord *r = target(ins, {ControlKind::Text, ControlKind::Button}, error);
    if (!r)
        return false;
    if (ModuleText::byteCount(text) > m_maxTextBytes) {
        *error = tr("文本超过%1字节").arg(m_maxTextBytes);
        return false;
    }
    r->text = text;
    m_screen.redraw(r);
    return true;
}

bool ModuleRuntime::doSetNumber(const ModuleInstruction &ins, Origin, QString *error)
{
    // SET_NUM(n, value, integer digits)
    if (ins.args.size() != 3) {
        *error = tr("需要%1个参数").arg(3);
        return false;
    }
    const QString value = ins.args.at(1).trimmed();
    bool ok = false;
    value.toDouble(&ok);
    int digits = 0;
    if (!ok || value.size() > 32 || !toInt(ins.args.at(2), &digits) || !inRange(digits, 0, 32, tr("位数"), error)) {
        if (error->isEmpty())
            *error = tr("数值错误");
        return false;
    }
    ControlRecord *r = target(ins, {ControlKind::Number}, error);
    if (!r)
        return false;
    r->text = value;
    m_screen.redraw(r);
    return true;
}

bool ModuleRuntime::doSetProgress(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 2, &a, error) || !inRange(a[1], 0, 100, tr("进度"), error))
        return false;
    ControlRecord *r = target(ins, {ControlKind::Progress}, error);
    if (!r)
        return false;
    r->text = QString::number(a[1]);
    m_screen.redraw(r);
    return true;
}

bool ModuleRuntime::doSetPointer(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 2, &a, error) || !inRange(a[1], 0, 360, tr("角度"), error))
        return false;
    ControlRecord *r = target(ins, {ControlKind::Pointer}, error);
    if (!r)
        return false;
    r->pointerAngle = a[1];
    m_screen.redraw(r);
    return true;
}

bool ModuleRuntime::doSetButton(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 2, &a, error) || !inRange(a[1], 0, 1, tr("按键状态"), error))
        return false;
    ControlRecord *r = target(ins, {ControlKind::Button}, error);
    if (!r)
        return false;
    m_screen.setPressed(a[0], a[1] == 1);
    return true;
}

bool ModuleRuntime::doSetButtonPicture(const ModuleInstruction &ins, Origin, QString *error)
{
    // SET_BTN_IMG(n, 0 released / 1 pressed, picture number)
    QVector<int> a;
    if (!ints(ins, 3, &a, error) || !inRange(a[1], 0, 1, tr("按键状态"), error))
        return false;
    ControlRecord *r = target(ins, {ControlKind::Button}, error);
    if (!r)
        return false;
    if (m_pictures.image(a[2]).isNull()) {
        *error = tr("没有图片%1").arg(a[2]);
        return false;
    }
    if (a[1] == 0) {
        r->imageNum = a[2];
        r->cutImageNum = -1;
    } else {
        r->pressImageNum = a[2];
        r->pressCutImageNum = -1;
    }
    m_screen.redraw(r);
    return true;
}

bool ModuleRuntime::doSetColour(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 2, &a, error) || !colourOk(a[1], error))
        return false;
    ControlRecord *r = target(ins, {}, error);
    if (!r)
        return false;
    const QString &n = ins.name;
    if (n == QLatin1String("SET_BCOLOR"))
        r->backgroundColorNum = a[1];
    else if (n == QLatin1String("SET_FCOLOR"))
        r->fontColorNum = a[1];
    else if (n == QLatin1String("SET_FRAME_COLOR"))
        r->styleColorNum = a[1];
    else if (r->kind == ControlKind::Button)
        r->pressColorNum = a[1];  // a button's second background is its pressed colour
    else
        r->backgroundColorNum = a[1];
    m_screen.redraw(r);
    return true;
}

bool ModuleRuntime::doHalfDot(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 1, &a, error) || !inRange(a[0], 0, 1, tr("参数"), error))
        return false;
    m_halfDot = a[0] == 1;
    return true;
}

bool ModuleRuntime::doDelay(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 1, &a, error) || !inRange(a[0], 0, MaxDelayMs, tr("延时"), error))
        return false;
    m_busyUntil = m_now + a[0];
    return true;
}

bool ModuleRuntime::doLcd(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 1, &a, error) || !inRange(a[0], 0, 1, tr("参数"), error))
        return false;
    m_lcdOn = a[0] == 1;
    return true;
}

bool ModuleRuntime::doReset(const ModuleInstruction &ins, Origin origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 0, &a, error))
        return false;
    // A stored script that restarts the module would restart it for ever.
    if (origin != Origin::Line) {
        *error = tr("脚本中不能重启");
        return false;
    }
    // The module restarts at once and answers nothing; a host never waits for it.
    m_restartRequested = true;
    return true;
}

bool ModuleRuntime::doVersion(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 0, &a, error))
        return false;
    m_reply = m_firmware.toLatin1() + "\r\n";
    return true;
}

bool ModuleRuntime::doGetAddress(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 0, &a, error))
        return false;
    m_reply = QStringLiteral("GETADDR_%1_%2\r\n").arg(m_addressEnabled).arg(m_address).toLatin1();
    return true;
}

bool ModuleRuntime::doAddress(const ModuleInstruction &ins, Origin, QString *error)
{
    // Alone on a line: an address header with nothing behind it.
    QVector<int> a;
    return ints(ins, 1, &a, error) && inRange(a[0], 0, 255, tr("地址"), error);
}

bool ModuleRuntime::doBaud(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 1, &a, error))
        return false;
    static const QVector<int> rates{2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
    if (!rates.contains(a[0])) {
        *error = tr("不支持的波特率");
        return false;
    }
    m_baud = a[0];
    return true;
}

bool ModuleRuntime::doPictureMode(const ModuleInstruction &ins, Origin, QString *error)
{
    QVector<int> a;
    if (!ints(ins, 1, &a, error) || !inRange(a[0], 0, 2, tr("参数"), error))
        return false;
    m_modeCfg = a[0];
    return true;
}
