#include "bindings/bindinglayout.h"

#include "bindings/bindingrules.h"
#include "bindings/generatedfile.h"
#include "model/names.h"

#include <QCryptographicHash>
#include <QHash>

#include <algorithm>
#include <functional>

namespace BindingLayout {

namespace {

// Names the generated files use for themselves; a page or control must not make them again.
const char *const kOwnNames[] = {"INIT", "OK", "ERR_NO_WRITER", "ERR_RANGE", "ERR_CHARACTER", "ERR_LENGTH",
                                 "ERR_ENCODING", "LAYOUT_STAMP", "TEXT_BYTES", "CHAR_COUNT", "WRITE_FN", "H"};

// Every name a layout makes in the generated files, in capitals, with what made it (described
// only when two meet, so a large project builds no sentence per name).
class TakenNames {
public:
    TakenNames()
    {
        m_owners << QStringLiteral("the generated code's own names");
        for (const char *n : kOwnNames)
            m_seen.insert(QLatin1String(n), 0);
    }
    // Starts the names of one page or control, described by owner() should one meet another's.
    void setOwner(std::function<QString()> owner)
    {
        m_describe.append(std::move(owner));
        m_owners.append(QString());
    }
    bool add(const QString &name, QString *error)
    {
        const QString key = name.toUpper();
        const auto it = m_seen.constFind(key);
        if (it != m_seen.cend()) {
            *error = QStringLiteral("%1 and %2 would both be named %3 in the generated code; rename one of them")
                         .arg(describe(it.value()), describe(m_owners.size() - 1), key);
            return false;
        }
        m_seen.insert(key, m_owners.size() - 1);
        return true;
    }

private:
    QString describe(int i) const { return i == 0 ? m_owners.first() : m_describe.at(i - 1)(); }

    QHash<QString, int> m_seen;
    QStringList m_owners;
    QVector<std::function<QString()>> m_describe;
};

QString pageOwner(const Page &p) { return QStringLiteral("page %1 '%2'").arg(p.index).arg(p.name); }

QString controlOwner(const Page &p, const Control &c)
{
    return QStringLiteral("%1 %2 '%3' on page '%4'").arg(Names::kindWord(c.kind)).arg(c.id).arg(c.name, p.name);
}

bool nameOk(const QString &name, const QString &owner, QString *error)
{
    if (GeneratedFile::isIdentifier(name))
        return true;
    *error = QStringLiteral("%1: the name is not an identifier (a letter or '_', then letters, digits or '_', "
                            "at most %2 characters)")
                 .arg(owner)
                 .arg(GeneratedFile::MaxIdentifier);
    return false;
}

bool addPageNames(const Page &p, TakenNames *names, QString *error)
{
    names->setOwner([p]() { return pageOwner(p); });
    if (!nameOk(p.name, pageOwner(p), error) || !names->add(QLatin1String("PAGE_") + p.name, error) ||
        !names->add(QLatin1String("SHOW_") + p.name, error))
        return false;
    for (const Control &c : p.controls) {
        names->setOwner([p, c]() { return controlOwner(p, c); });
        const QString stem = p.name + QLatin1Char('_') + c.name;
        if (!GeneratedFile::isIdentifier(c.name))
            return nameOk(c.name, controlOwner(p, c), error);  // says why
        if (!names->add(stem, error))
            return false;
        for (const BindingRules::Action &a : BindingRules::actionsFor(c.kind)) {
            const QString fn = stem + QLatin1Char('_') + QLatin1String(a.suffix);
            if (!names->add(fn, error))
                return false;
            if ((a.arg == BindingRules::Arg::Text || a.arg == BindingRules::Arg::QrText) &&
                !names->add(fn + QLatin1String("_gbk"), error))
                return false;
        }
    }
    return true;
}

bool controlOrder(const Control &a, const Control &b)
{
    const bool aQr = a.kind == ControlKind::QRCode;
    const bool bQr = b.kind == ControlKind::QRCode;
    return aQr != bQr ? bQr : a.id < b.id;
}

QString key(const Page &p, const Control &c) { return p.name + QLatin1Char('\n') + c.name; }

}  // namespace

QString defaultControlName(ControlKind kind, int id) { return Names::kindWord(kind) + QString::number(id); }

bool fromProject(const ProjectData &project, Layout *layout, QString *error)
{
    layout->clear();
    layout->reserve(project.pages.size());
    TakenNames names;
    for (int i = 0; i < project.pages.size(); ++i) {
        const PageData &pd = project.pages.at(i);
        Page p;
        p.index = i;
        p.name = pd.name.isEmpty() ? Names::defaultPageName(i) : pd.name;
        p.controls.reserve(pd.controls.size());
        for (const ControlRecord &r : pd.controls) {
            Control c;
            c.kind = r.kind;
            c.id = r.id;
            c.name = r.name.isEmpty() ? defaultControlName(r.kind, r.id) : r.name;
            c.record = &r;
            p.controls.append(c);
        }
        std::stable_sort(p.controls.begin(), p.controls.end(), controlOrder);
        if (!addPageNames(p, &names, error))
            return false;
        layout->append(p);
    }
    return true;
}

QStringList lines(const Layout &layout)
{
    QStringList out;
    for (const Page &p : layout) {
        out << QStringLiteral("page %1 %2").arg(p.index).arg(p.name);
        for (const Control &c : p.controls)
            out << QStringLiteral("control %1 %2 %3 %4").arg(p.index).arg(Names::kindWord(c.kind)).arg(c.id).arg(c.name);
    }
    return out;
}

Layout fromLines(const QStringList &text)
{
    Layout layout;
    for (const QString &line : text) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool ok = false;
        if (f.size() == 3 && f.at(0) == QLatin1String("page")) {
            Page p;
            p.index = f.at(1).toInt(&ok);
            p.name = f.at(2);
            if (ok)
                layout.append(p);
        } else if (f.size() == 5 && f.at(0) == QLatin1String("control") && !layout.isEmpty()) {
            Control c;
            bool idOk = false;
            const int page = f.at(1).toInt(&ok);
            c.id = f.at(3).toInt(&idOk);
            c.name = f.at(4);
            if (ok && idOk && page == layout.last().index && BindingRules::kindFromWord(f.at(2), &c.kind))
                layout.last().controls.append(c);
        }
    }
    return layout;
}

QString stamp(const Layout &layout)
{
    const QByteArray text = lines(layout).join(QLatin1Char('\n')).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex().left(16));
}

QStringList differences(const Layout &before, const Layout &after)
{
    QStringList out;
    QHash<QString, const Page *> oldPages, newPages;
    for (const Page &p : before)
        oldPages.insert(p.name, &p);
    for (const Page &p : after)
        newPages.insert(p.name, &p);
    for (const Page &p : before) {
        const Page *n = newPages.value(p.name);
        if (!n)
            out << QStringLiteral("page '%1' was removed (it was %2)").arg(p.name).arg(p.index);
        else if (n->index != p.index)
            out << QStringLiteral("page '%1' moved from %2 to %3").arg(p.name).arg(p.index).arg(n->index);
    }
    for (const Page &p : after) {
        if (!oldPages.contains(p.name))
            out << QStringLiteral("page '%1' was added as %2").arg(p.name).arg(p.index);
    }

    // Controls are known by their page's name and their own; one that kept its page, kind and
    // number under another name was renamed.
    QHash<QString, const Control *> oldControls, newControls;
    QHash<QString, QString> pageOfOld, pageOfNew;
    for (const Page &p : before)
        for (const Control &c : p.controls)
            oldControls.insert(key(p, c), &c);
    for (const Page &p : after)
        for (const Control &c : p.controls)
            newControls.insert(key(p, c), &c);
    for (const Page &p : before) {
        for (const Control &c : p.controls) {
            const Control *n = newControls.value(key(p, c));
            if (!n)
                continue;
            if (n->kind != c.kind)
                out << QStringLiteral("control '%1' on page '%2' changed from %3 to %4")
                           .arg(c.name, p.name, Names::kindWord(c.kind), Names::kindWord(n->kind));
            else if (n->id != c.id)
                out << QStringLiteral("control '%1' on page '%2' moved from %3 to %4").arg(c.name, p.name).arg(c.id).arg(n->id);
        }
    }
    for (const Page &p : before) {
        const Page *np = newPages.value(p.name);
        for (const Control &c : p.controls) {
            if (newControls.contains(key(p, c)))
                continue;
            const Control *renamed = nullptr;
            for (int i = 0; np && i < np->controls.size() && !renamed; ++i) {
                const Control &n = np->controls.at(i);
                if (n.kind == c.kind && n.id == c.id && !oldControls.contains(key(*np, n)))
                    renamed = &n;
            }
            if (renamed)
                out << QStringLiteral("control %1 on page '%2' was renamed from '%3' to '%4'")
                           .arg(c.id)
                           .arg(p.name, c.name, renamed->name);
            else
                out << QStringLiteral("control '%1' on page '%2' was removed (it was %3 %4)")
                           .arg(c.name, p.name, Names::kindWord(c.kind))
                           .arg(c.id);
        }
    }
    for (const Page &p : after) {
        const Page *op = oldPages.value(p.name);
        for (const Control &c : p.controls) {
            if (oldControls.contains(key(p, c)))
                continue;
            bool renamed = false;
            for (int i = 0; op && i < op->controls.size() && !renamed; ++i) {
                const Control &o = op->controls.at(i);
                renamed = o.kind == c.kind && o.id == c.id && !newControls.contains(key(*op, o));
            }
            if (!renamed)
                out << QStringLiteral("control '%1' on page '%2' was added as %3 %4")
                           .arg(c.name, p.name, Names::kindWord(c.kind))
                           .arg(c.id);
        }
    }
    return out;
}

}  // namespace BindingLayout
