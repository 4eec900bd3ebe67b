#include "model/names.h"

#include <QCoreApplication>

namespace Names {

namespace {

QString tr(const char *s) { return QCoreApplication::translate("Names", s); }

bool isIdentifierStart(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_';
}

bool isIdentifierChar(QChar c)
{
    const ushort u = c.unicode();
    return isIdentifierStart(c) || (u >= '0' && u <= '9');
}

// Everything but the entry at index, which is the one being named.
QStringList othersThan(QStringList names, int index)
{
    if (index >= 0 && index < names.size())
        names.removeAt(index);
    return names;
}

}  // namespace

bool isIdentifier(const QString &name)
{
    if (name.isEmpty() || name.size() > MaxLength || !isIdentifierStart(name.at(0)))
        return false;
    for (const QChar c : name) {
        if (!isIdentifierChar(c))
            return false;
    }
    return true;
}

QString problem(const QString &name, const QStringList &others)
{
    if (name.isEmpty())
        return QString();
    if (name.size() > MaxLength)
        return tr("名称“%1”过长：最多%2个字符").arg(name, QString::number(MaxLength));
    if (!isIdentifier(name))
        return tr("名称“%1”无效：须以英文字母或下划线开头，其后只用英文字母、数字和下划线").arg(name);
    if (others.contains(name))
        return tr("名称“%1”已被使用").arg(name);
    return QString();
}

QString pageNameProblem(const QStringList &names, int pageIndex, const QString &name)
{
    return problem(name, othersThan(names, pageIndex));
}

QString pageNameProblem(const ProjectData &project, int pageIndex, const QString &name)
{
    return pageNameProblem(pageNames(project), pageIndex, name);
}

QString controlNameProblem(const PageData &page, int controlIndex, const QString &name)
{
    return problem(name, othersThan(controlNames(page), controlIndex));
}

QString freshName(const QString &name, const QStringList &taken)
{
    if (name.isEmpty() || !taken.contains(name))
        return name;
    // A copy of "fan_2" is "fan_3", not "fan_2_2".
    QString base = name;
    const int underscore = name.lastIndexOf(QLatin1Char('_'));
    if (underscore > 0 && underscore + 1 < name.size()) {
        bool isNumber = false;
        const int n = name.mid(underscore + 1).toInt(&isNumber);
        if (isNumber && n >= 2 && name.at(underscore + 1) != QLatin1Char('0'))
            base = name.left(underscore);
    }
    for (int n = 2;; ++n) {
        const QString suffix = QLatin1Char('_') + QString::number(n);
        const QString candidate = base.left(MaxLength - suffix.size()) + suffix;
        if (!taken.contains(candidate))
            return candidate;
    }
}

QStringList pageNames(const ProjectData &project)
{
    QStringList names;
    names.reserve(project.pages.size());
    for (const PageData &p : project.pages)
        names << p.name;
    return names;
}

QStringList controlNames(const PageData &page)
{
    QStringList names;
    names.reserve(page.controls.size());
    for (const ControlRecord &c : page.controls)
        names << c.name;
    return names;
}

QString kindWord(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Text: return QStringLiteral("text");
    case ControlKind::Number: return QStringLiteral("number");
    case ControlKind::Button: return QStringLiteral("button");
    case ControlKind::Progress: return QStringLiteral("progress");
    case ControlKind::Pointer: return QStringLiteral("pointer");
    case ControlKind::QRCode: return QStringLiteral("qrcode");
    }
    return QString();
}

QString defaultPageName(int page) { return QStringLiteral("page") + QString::number(page); }

QString defaultControlName(int page, const ControlRecord &control)
{
    return defaultPageName(page) + QLatin1Char('_') + kindWord(control.kind) + QString::number(control.id);
}

}  // namespace Names
