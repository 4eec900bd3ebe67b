#include "editcases.h"
#include "tavocli.h"

#include "edit/propertyedit.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

// `tavo-cli set` on a real project file, driven by the same table as the window's panel.
class TestCliSet : public QObject {
    Q_OBJECT
private slots:
    void editsLikeThePanel_data();
    void editsLikeThePanel();
    void oneRefusalLeavesTheFileUntouched();
    void unchangedValuesDoNotRewriteTheFile();
    void unknownFieldsAndTargetsAreUsageErrors();
    void qrCodesAreNamedApartFromOtherControls();
    void namesUniquePerScopeAndShownByInfo();
};

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ProjectData readBack(const QString &path)
{
    ProjectData d;
    const ProjectFile::ReadResult r = ProjectFile::read(path, 2, &d);
    if (!r.ok)
        qWarning() << r.reason;
    return d;
}

// The target's options for the command line, and the field's value in a project read back.
QStringList targetArgs(const QString &target)
{
    const QStringList parts = target.split(QLatin1Char(' '));
    if (parts.first() == QLatin1String("page"))
        return {};
    const int i = parts.at(1).toInt();
    if (parts.first() == QLatin1String("primitive"))
        return {QStringLiteral("--primitive"), QString::number(i)};
    const ControlRecord rec = EditCases::project().pages.at(0).controls.at(i);
    return {QStringLiteral("--control"), (rec.isQRCode() ? QStringLiteral("qr") : QString()) + QString::number(rec.id)};
}

}  // namespace

void TestCliSet::editsLikeThePanel_data()
{
    QTest::addColumn<int>("index");
    const QVector<EditCases::Case> cases = EditCases::cases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).name) << i;
}

void TestCliSet::editsLikeThePanel()
{
    QFETCH(int, index);
    const EditCases::Case c = EditCases::cases().at(index);
    QTemporaryDir dir;
    const QString path = EditCases::writeProject(dir.path());
    const QByteArray before = readAll(path);

    const CliRun r = runTavoCli(QStringList{QStringLiteral("set"), path, QStringLiteral("--page"), QStringLiteral("0")}
                                + targetArgs(c.target) + QStringList{c.field + QLatin1Char('=') + c.value});
    if (EditCases::refuses(c)) {
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.trimmed(), c.message);
        QCOMPARE(readAll(path), before);
        return;
    }
    QCOMPARE(r.code, 0);
    QCOMPARE(r.outText(), c.field + QLatin1Char('=') + c.stored + QLatin1Char('\n'));
    QCOMPARE(r.err.trimmed(), c.message);
    const ProjectData after = readBack(path);
    QCOMPARE(EditCases::valueIn(after, c.target, c.field), c.stored);
    if (!c.alsoField.isEmpty())
        QCOMPARE(EditCases::valueIn(after, c.target, c.alsoField), c.alsoValue);
}

void TestCliSet::oneRefusalLeavesTheFileUntouched()
{
    QTemporaryDir dir;
    const QString path = EditCases::writeProject(dir.path());
    const QByteArray before = readAll(path);
    const CliRun r = runTavoCli({QStringLiteral("set"), path, QStringLiteral("--page"), QStringLiteral("0"),
                                 QStringLiteral("--control"), QStringLiteral("1"), QStringLiteral("x=-3"),
                                 QStringLiteral("text=007")});
    QCOMPARE(r.code, 1);
    QCOMPARE(readAll(path), before);

    // Many edits at once, as a script changing texts would do.
    const CliRun ok = runTavoCli({QStringLiteral("set"), path, QStringLiteral("--page"), QStringLiteral("0"),
                                  QStringLiteral("--control"), QStringLiteral("1"), QStringLiteral("x=-3"),
                                  QStringLiteral("text=3.25"), QStringLiteral("w=20")});
    QCOMPARE(ok.code, 0);
    QCOMPARE(ok.outText(), QStringLiteral("x=0\ntext=3.2500\nw=20\n"));
    const ControlRecord rec = readBack(path).pages.at(0).controls.at(1);
    QCOMPARE(rec.x, 0);
    QCOMPARE(rec.text, QStringLiteral("3.2500"));
    QCOMPARE(rec.w, 20);
}

void TestCliSet::unchangedValuesDoNotRewriteTheFile()
{
    QTemporaryDir dir;
    const QString path = EditCases::writeProject(dir.path());
    // Bytes the writer would not produce itself: any rewrite would show.
    QByteArray bytes = readAll(path);
    bytes.replace("<x>10</x>", "<x>10</x>   ");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const CliRun r = runTavoCli({QStringLiteral("set"), path, QStringLiteral("--page"), QStringLiteral("0"),
                                 QStringLiteral("--control"), QStringLiteral("0"), QStringLiteral("y=10"),
                                 QStringLiteral("fontSize=16")});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.outText(), QStringLiteral("y=10\nfontSize=16\n"));
    QCOMPARE(readAll(path), bytes);
}

void TestCliSet::unknownFieldsAndTargetsAreUsageErrors()
{
    QTemporaryDir dir;
    const QString path = EditCases::writeProject(dir.path());
    const QByteArray before = readAll(path);
    const QStringList base{QStringLiteral("set"), path, QStringLiteral("--page"), QStringLiteral("0")};
    // A pointer has no "text"; a box has no radius; a page 3 does not exist.
    QCOMPARE(runTavoCli(base + QStringList{QStringLiteral("--control"), QStringLiteral("4"), QStringLiteral("text=a")}).code, 2);
    QCOMPARE(runTavoCli(base + QStringList{QStringLiteral("--primitive"), QStringLiteral("0"), QStringLiteral("drawR=3")}).code, 2);
    QCOMPARE(runTavoCli(base + QStringList{QStringLiteral("--control"), QStringLiteral("9"), QStringLiteral("x=1")}).code, 2);
    QCOMPARE(runTavoCli({QStringLiteral("set"), path, QStringLiteral("--page"), QStringLiteral("3"), QStringLiteral("vga=1")}).code, 2);
    QCOMPARE(runTavoCli(base + QStringList{QStringLiteral("x")}).code, 2);
    QCOMPARE(readAll(path), before);
}

void TestCliSet::qrCodesAreNamedApartFromOtherControls()
{
    QTemporaryDir dir;
    const QString path = EditCases::writeProject(dir.path());
    const QStringList base{QStringLiteral("set"), path, QStringLiteral("--page"), QStringLiteral("0"), QStringLiteral("--control")};
    QCOMPARE(runTavoCli(base + QStringList{QStringLiteral("qr0"), QStringLiteral("x=7")}).code, 0);
    QCOMPARE(runTavoCli(base + QStringList{QStringLiteral("0"), QStringLiteral("x=8")}).code, 0);
    const PageData p = readBack(path).pages.at(0);
    QCOMPARE(p.controls.at(5).x, 7);
    QCOMPARE(p.controls.at(0).x, 8);
}


// Page names are unique among pages, control names among a page's controls; `info --json` gives
// both, and the scripts do not change with them.
void TestCliSet::namesUniquePerScopeAndShownByInfo()
{
    QTemporaryDir dir;
    ProjectData d = EditCases::project();
    d.pages.append(d.pages.first());  // page 1 holds a control named "level" too
    const QString path = EditCases::writeProject(dir.path(), d);
    const auto set = [&](const QStringList &args) {
        return runTavoCli(QStringList{QStringLiteral("set"), path} + args);
    };
    const CliRun scripts = runTavoCli({QStringLiteral("script"), path, QStringLiteral("--all")});
    QCOMPARE(scripts.code, 0);

    QCOMPARE(set({"--page", "0", "name=main"}).code, 0);
    const QByteArray named = readAll(path);
    const CliRun taken = set({"--page", "1", "name=main"});
    QCOMPARE(taken.code, 1);
    QCOMPARE(taken.err.trimmed(), QStringLiteral("名称“main”已被使用"));
    QCOMPARE(readAll(path), named);
    QCOMPARE(set({"--page", "1", "--control", "0", "name=level"}).code, 1);
    QCOMPARE(set({"--page", "1", "--control", "0", "name=main"}).code, 0);  // a page's name is free for a control
    QCOMPARE(set({"--page", "1", "name=second"}).code, 0);

    const CliRun info = runTavoCli({QStringLiteral("info"), path, QStringLiteral("--json")});
    QCOMPARE(info.code, 0);
    const QJsonArray pages = QJsonDocument::fromJson(info.out).object().value(QLatin1String("pages")).toArray();
    QCOMPARE(pages.at(0).toObject().value(QLatin1String("name")).toString(), QStringLiteral("main"));
    QCOMPARE(pages.at(1).toObject().value(QLatin1String("name")).toString(), QStringLiteral("second"));
    const QJsonArray controls = pages.at(1).toObject().value(QLatin1String("controlNames")).toArray();
    QCOMPARE(controls.size(), 6);
    QCOMPARE(controls.at(0).toObject(), (QJsonObject{{"kind", "text"}, {"id", 0}, {"name", "main"}}));
    QCOMPARE(controls.at(3).toObject().value(QLatin1String("name")).toString(), QStringLiteral("level"));
    QCOMPARE(controls.at(5).toObject().value(QLatin1String("kind")).toString(), QStringLiteral("qrcode"));

    QCOMPARE(runTavoCli({QStringLiteral("script"), path, QStringLiteral("--all")}).out, scripts.out);
}

QTEST_GUILESS_MAIN(TestCliSet)
#include "tst_cliset.moc"
