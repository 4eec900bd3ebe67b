#include "download/limitcheck.h"

#include "script/instructions.h"
#include "script/moduletext.h"

#include <QCoreApplication>
#include <QStringList>

bool parseModuleLimits(const QString &answer, ModuleLimits *limits)
{
    QString text = answer;
    text.remove(QLatin1String("\r\n"));
    const QStringList parts = text.split(QLatin1Char('_'));
    if (parts.size() != 6)
        return false;
    if (limits) {
        limits->maxControls = parts.at(2).trimmed().toInt();
        limits->maxBytes = parts.at(3).trimmed().toInt();
        limits->maxTextBytes = parts.at(5).trimmed().toInt();
    }
    return true;
}

qint64 controlTextBytes(const ControlRecord &c)
{
    const bool hasText = c.kind == ControlKind::Text || c.kind == ControlKind::Number || c.kind == ControlKind::Button;
    return hasText ? ModuleText::byteCount(c.text) : -1;
}

PageLoad pageLoad(const PageData &page)
{
    PageLoad load;
    load.controls = page.controls.size();
    QString content;
    for (const ControlRecord &c : page.controls) {
        content += instructionText(c);
        load.longestText = qMax(load.longestText, controlTextBytes(c));
    }
    for (const QMyDrawType &d : page.primitives)
        content += d.instructionTextFor();
    load.bytes = ModuleText::byteCount(content);
    return load;
}

QString moduleLimitMessage(const QVector<PageData> &pages, const ModuleLimits &limits)
{
    QString controlList, byteList, textList;
    for (int p = 0; p < pages.size(); ++p) {
        const PageData &page = pages.at(p);
        const PageLoad load = pageLoad(page);
        if (load.controls > limits.maxControls)
            controlList += QStringLiteral("%1,").arg(p);
        if (load.bytes > limits.maxBytes)
            byteList += QStringLiteral("%1,").arg(p);
        for (const ControlRecord &c : page.controls) {
            const qint64 text = controlTextBytes(c);
            if (text >= 0 && text > limits.maxTextBytes)
                textList += QCoreApplication::translate("SerialPortDlg", "第%1页编号%2,").arg(p).arg(c.id);
        }
    }
    QString message;
    if (!controlList.isEmpty()) {
        controlList.chop(1);
        message += QCoreApplication::translate("SerialPortDlg", "第%1页控件数量已超过%2！")
                       .arg(controlList)
                       .arg(limits.maxControls);
    }
    if (!byteList.isEmpty()) {
        byteList.chop(1);
        message += QCoreApplication::translate("SerialPortDlg", "第%1页字节数已超过%2！").arg(byteList).arg(limits.maxBytes);
    }
    if (!textList.isEmpty()) {
        textList.chop(1);
        message +=
            QCoreApplication::translate("SerialPortDlg", "%1文本字符已超过%2！").arg(textList).arg(limits.maxTextBytes);
    }
    return message;
}
