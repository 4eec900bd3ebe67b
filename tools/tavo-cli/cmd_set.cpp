#include "cliutil.h"
#include "commands.h"

#include "edit/propertyedit.h"
#include "edit/propertyrows.h"
#include "file/projectfile.h"

namespace {

const char *kUsage =
    "usage: tavo-cli set PROJECT.Tavo --page N [--control ID | --primitive INDEX] FIELD=VALUE...\n"
    "  ID: the control's number; qrN names the QR code numbered N\n"
    "  INDEX: the primitive's position in the page's list, from 0\n"
    "  name=NAME names the page or control for the firmware (empty: no name)";

// The control a --control value names: "qrN" the QR code numbered N; "N" the other control
// numbered N, or the QR code numbered N when there is no such control. -1 when none.
int findControl(const PageData &page, const QString &id)
{
    const bool qr = id.startsWith(QLatin1String("qr"), Qt::CaseInsensitive);
    bool ok = false;
    const int n = (qr ? id.mid(2) : id).toInt(&ok);
    if (!ok)
        return -1;
    int qrMatch = -1;
    for (int i = 0; i < page.controls.size(); ++i) {
        const ControlRecord &c = page.controls.at(i);
        if (c.id != n)
            continue;
        if (c.isQRCode() == qr)
            return i;
        if (c.isQRCode())
            qrMatch = i;
    }
    return qr ? -1 : qrMatch;
}

QStringList keysOf(const QVector<PropertyRow> &rows)
{
    QStringList keys;
    for (const PropertyRow &r : rows) {
        if (!r.key.isEmpty())
            keys << r.key;
    }
    return keys;
}

}  // namespace

// tavo-cli set PROJECT.Tavo --page N [--control ID | --primitive INDEX] FIELD=VALUE...: edits
// fields with the property panel's rules. Any refused value leaves the file as it was.
int cmdSet(const QStringList &arguments)
{
    QStringList args = arguments;
    QString pageText, controlText, primitiveText;
    bool hasPage = false, hasControl = false, hasPrimitive = false;
    if (!takeOption(args, QStringLiteral("--page"), &pageText, &hasPage)
        || !takeOption(args, QStringLiteral("--control"), &controlText, &hasControl)
        || !takeOption(args, QStringLiteral("--primitive"), &primitiveText, &hasPrimitive) || !hasPage
        || (hasControl && hasPrimitive) || args.size() < 2 || args.first().startsWith(QLatin1String("--")))
        return fail(ExitUsage, QString::fromLatin1(kUsage));
    const QString path = args.takeFirst();
    QVector<QPair<QString, QString>> edits;
    for (const QString &a : args) {
        const int eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return fail(ExitUsage, QStringLiteral("'%1' is not FIELD=VALUE").arg(a));
        edits.append({a.left(eq), a.mid(eq + 1)});
    }

    CliProject project;
    if (!loadCliProject(path, &project))
        return ExitUsage;
    ProjectData &d = project.data;
    bool ok = false;
    const int pageIndex = pageText.toInt(&ok);
    if (!ok || pageIndex < 0 || pageIndex >= d.pages.size())
        return fail(ExitUsage, QStringLiteral("--page %1: the project has pages 0 to %2").arg(pageText).arg(d.pages.size() - 1));
    PageData &page = d.pages[pageIndex];

    EditContext ctx{d.frameW, d.frameH, d.dpi, &project.pictures, {}};
    std::function<EditOutcome(const QString &, const QString &)> apply;
    std::function<QString(const QString &)> valueOf;
    QStringList keys;
    PageFields fields = pageFieldsOf(d, page);
    if (hasControl) {
        const int i = findControl(page, controlText);
        if (i < 0)
            return fail(ExitUsage, QStringLiteral("page %1 has no control '%2'").arg(pageIndex).arg(controlText));
        ControlRecord &rec = page.controls[i];
        keys = keysOf(PropertyRows::controlRows(rec.kind));
        for (int k = 0; k < page.controls.size(); ++k) {
            if (k != i)
                ctx.otherNames << page.controls.at(k).name;
        }
        apply = [&](const QString &k, const QString &v) { return PropertyEdit::editControl(rec, k, v, ctx); };
        valueOf = [&](const QString &k) { return PropertyEdit::controlValue(rec, k); };
    } else if (hasPrimitive) {
        const int i = primitiveText.toInt(&ok);
        if (!ok || i < 0 || i >= page.primitives.size())
            return fail(ExitUsage, QStringLiteral("page %1 has no primitive '%2'").arg(pageIndex).arg(primitiveText));
        QMyDrawType &prim = page.primitives[i];
        keys = keysOf(PropertyRows::primitiveRows(prim.drawType()));
        apply = [&](const QString &k, const QString &v) { return PropertyEdit::editPrimitive(prim, k, v, ctx); };
        valueOf = [&](const QString &k) { return PropertyEdit::primitiveValue(prim, k); };
    } else {
        keys = QStringList{QStringLiteral("name")} + keysOf(PropertyRows::pageRows()) + keysOf(PropertyRows::helpLineOffsetRows());
        apply = [&](const QString &k, const QString &v) { return PropertyEdit::editPage(fields, k, v, project.pictures); };
        valueOf = [&](const QString &k) { return PropertyEdit::pageValue(fields, k); };
    }

    bool changed = false;
    QStringList notices;
    for (const auto &e : edits) {
        const EditOutcome o = apply(e.first, e.second);
        if (o.status == EditOutcome::UnknownKey)
            return fail(ExitUsage, QStringLiteral("no field '%1' here; fields: %2").arg(e.first, keys.join(QStringLiteral(", "))));
        if (o.status == EditOutcome::Refused) {
            err() << o.message << Qt::endl;
            return ExitFailed;
        }
        if (!o.message.isEmpty())
            notices << o.message;
        changed = changed || o.changed();
    }
    if (!hasControl && !hasPrimitive)
        applyPageFields(fields, d, page);
    if (changed) {
        QString error;
        if (!ProjectFile::write(project.path, d, &error))
            return fail(ExitFailed, error);
    }
    for (const QString &n : notices)
        err() << n << Qt::endl;
    for (const auto &e : edits)
        out() << e.first << '=' << valueOf(e.first) << '\n';
    out().flush();
    return ExitOk;
}
