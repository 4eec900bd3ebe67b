#include "edit/editrules.h"

#include "model/controlrecord.h"
#include "model/resolutionlist.h"
#include "script/moduletext.h"

#include <QCoreApplication>

namespace EditRules {

namespace {

QString translated(const char *text) { return QCoreApplication::translate("MainWindow", text); }

// Sums of values from a damaged file must not overflow.
qint64 wide(int v) { return qint64(v); }

}  // namespace

int clampPosition(int v, int size, int pageSide)
{
    if (wide(v) + size > pageSide)
        v = int(qMax<qint64>(0, wide(pageSide) - size));
    return qMax(0, v);
}

int clampSize(int v, int pos, int pageSide, int fallback)
{
    if (v <= 0)
        v = fallback;
    if (wide(qMax(0, pos)) + v > pageSide)
        v = int(wide(pageSide) - qMax(0, pos));
    return qBound(1, v, qMax(1, pageSide));
}

int clampPointerCentre(int v, int side, int pageSide)
{
    const int half = side / 2;
    if (wide(v) + half > pageSide)
        v = int(wide(pageSide) - half);
    return qMax(half, v);
}

int clampPointerWidth(int v, int w, int h)
{
    if (v <= 0)
        return 1;
    return qMin(v, qMax(1, qMin(w, h)));
}

int clampPointerLength(int v, int centreX, int centreY, int pageW, int pageH)
{
    if (v <= 0)
        v = 5;
    if (wide(centreX) - v < 0 || wide(centreY) - v < 0 || wide(centreX) + v > pageW || wide(centreY) + v > pageH)
        v = int(qMin(qMin(wide(centreX), wide(centreY)), qMin(wide(pageW) - centreX, wide(pageH) - centreY)));
    return qMax(1, v);
}

int clampCircleCentre(int v, int current, int r, int pageSide)
{
    if (wide(v) > wide(pageSide) - r && v > current)
        v = int(qMax<qint64>(0, wide(pageSide) - r));
    return qMax(qMax(0, r), v);
}

int clampCircleRadius(int v, int x1, int y1, int pageW, int pageH)
{
    if (v <= 0)
        v = 5;
    if (wide(x1) - v >= 0 && wide(y1) - v >= 0 && wide(x1) + v <= pageW && wide(y1) + v <= pageH)
        return v;
    return int(qMax<qint64>(1, qMin(qMin(wide(x1), wide(y1)), qMin(wide(pageW) - x1, wide(pageH) - y1))));
}

int clampPoint(int v, int pageSide) { return qBound(0, v, qMax(0, pageSide - 1)); }

namespace {

NumberCheck refuse(const QString &message)
{
    NumberCheck c;
    c.message = message;
    return c;
}

// The decimal part of a value with one point: length limit, decimals limit, then padding.
NumberCheck padDecimals(const QString &s, const char *tooManyDecimals)
{
    const int n = s.size();
    const int f = n - 1 - s.indexOf(QLatin1Char('.'));
    if (n - f + NumberDecimals > TextByteLimit)
        return refuse(QCoreApplication::translate("MainWindow", "输入的字符不可超过%1，小数需预留%2位字符！").arg(TextByteLimit).arg(NumberDecimals));
    if (f > NumberDecimals)
        return refuse(translated(tooManyDecimals).arg(NumberDecimals));
    NumberCheck c;
    c.ok = true;
    c.value = s + QString(NumberDecimals - f, QLatin1Char('0'));
    return c;
}

NumberCheck plain(const QString &s)
{
    if (s.size() > TextByteLimit)
        return refuse(QCoreApplication::translate("MainWindow", "输入的字符不可超过%1！").arg(TextByteLimit));
    NumberCheck c;
    c.ok = true;
    c.value = s;
    return c;
}

}  // namespace

NumberCheck checkNumberText(const QString &s)
{
    if (s.isEmpty()) {
        NumberCheck c;
        c.ok = true;
        c.value = QStringLiteral("0");
        return c;
    }
    for (const QChar ch : s) {
        if (!(ch.unicode() >= '0' && ch.unicode() <= '9') && ch != QLatin1Char('.') && ch != QLatin1Char('-'))
            return refuse(QCoreApplication::translate("MainWindow", "输入数值格式不对，数值里不可包含特殊字符，请您重新输入有效的数值格式！"));
    }
    const int n = s.size();
    const int points = s.count(QLatin1Char('.'));
    if (s.contains(QLatin1Char('-'))) {
        if (s.at(0) != QLatin1Char('-'))
            return refuse(QCoreApplication::translate("MainWindow", "输入数值格式不对，'-'应在第一位，请您重新输入有效的数值格式！"));
        if (s.count(QLatin1Char('-')) > 1)
            return refuse(QCoreApplication::translate("MainWindow", "输入数值格式不对，'-'应只有一位，请您重新输入有效的数值格式！"));
        if (points > 1)
            return refuse(QCoreApplication::translate("MainWindow", "输入数值格式不对，'.'应只有一位，请您重新输入有效的数值格式！"));
        if (points == 1)
            return padDecimals(s, QT_TRANSLATE_NOOP("MainWindow", "小数只保留%1位，无法再添加小数位！"));
        if (n > 2 && s.at(1) == QLatin1Char('0'))
            return refuse(QCoreApplication::translate("MainWindow", "输入数值格式不对，第二个字符不能为0，请您重新输入有效的数值格式！"));
        return plain(s);
    }
    if (points > 0) {
        if (s.at(0) == QLatin1Char('.'))
            return refuse(QCoreApplication::translate("MainWindow", "输入数值格式不对，'.'不应在第一位，请您重新输入有效的数值格式！"));
        if (points > 1)
            return refuse(QCoreApplication::translate("MainWindow", "输入数值格式不对，'.'应只有一位，请您重新输入有效的数值格式！"));
        return padDecimals(s, QT_TRANSLATE_NOOP("MainWindow", "小数只保留%1位字符，无法再添加小数位！"));
    }
    if (n > 1 && s.at(0) == QLatin1Char('0'))
        return refuse(QCoreApplication::translate("MainWindow", "输入数值格式不对，第一个字符不能为0，请您重新输入有效的数值格式！"));
    return plain(s);
}

bool isLargeFontSize(int size) { return size == 72 || size == 96; }

bool isLargeFontText(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (const QChar ch : s) {
        const ushort u = ch.unicode();
        if (u < 0x21 || u > 0x7E || u == '"' || u == '\'' || u == '{' || u == '|' || u == '}')
            return false;
    }
    return true;
}

QString largeFontMessage() { return QCoreApplication::translate("MainWindow", "字体大小为72或96时，文本不支持中文！"); }

QString checkControlText(const QString &s, int fontSize)
{
    if (ModuleText::byteCount(s) > TextByteLimit)
        return QCoreApplication::translate("MainWindow", "文本字符不能大于%1（每个中文占两个字符）！").arg(TextByteLimit);
    if (isLargeFontSize(fontSize) && !s.isEmpty() && !isLargeFontText(s))
        return largeFontMessage();
    return QString();
}

QList<int> fontSizesFor(const QString &resolutionText)
{
    const QStringList &res = ResolutionList();
    const QList<int> &all = fontSizeList();
    if (resolutionText == res.at(0) || resolutionText == res.at(1))
        return all.mid(0, 3);
    if (resolutionText == res.at(2))
        return all.mid(0, 5);
    return all;
}

QList<int> qrCodeSizes(int pageW, int pageH)
{
    QList<int> sizes;
    const int side = qMin(pageW, pageH);
    for (int s = 53; s < side; s += 53)
        sizes.append(s);
    return sizes;
}

int resolutionIndex(const QString &resolutionText)
{
    const QStringList mine = resolutionText.split(QLatin1Char('('));
    if (mine.size() != 2)
        return -1;
    const QStringList &res = ResolutionList();
    for (int i = 0; i < res.size(); ++i) {
        const QStringList theirs = res.at(i).split(QLatin1Char('('));
        if (theirs.size() == 2 && theirs.first() == mine.first())
            return i;
    }
    return -1;
}

}  // namespace EditRules
