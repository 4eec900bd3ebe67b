#include "download/downloadjob.h"
#include "download/downloadsteps.h"
#include "editcases.h"
#include "model/names.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every byte a page download writes to the module, acknowledged step by step.
QByteArray downloadBytes(const ProjectData &p)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("tempImages"));
    const DownloadJob job = jobFromProject(p, dir.path(), DownloadMode::PagesOnly, JobPictures::Headers);
    DownloadSteps steps([] { return qint64(0); });
    steps.start(job);
    QByteArray out;
    for (int i = 0; i < 1000; ++i) {
        for (const StepOutput &o : steps.takeOutput()) {
            if (o.kind == StepOutput::Write)
                out += o.bytes;
        }
        if (!steps.isActive())
            break;
        steps.acknowledge();
    }
    return out;
}

}  // namespace

class TestNames : public QObject {
    Q_OBJECT
private slots:
    // What a name may be, and which of the messages says why not.
    void rules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");  // a word of the message, empty when given
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("plain") << "fan" << QString();
        QTest::newRow("underscore first") << "_x9" << QString();
        QTest::newRow("32 long") << QString(32, QLatin1Char('a')) << QString();
        QTest::newRow("33 long") << QString(33, QLatin1Char('a')) << QStringLiteral("过长");
        QTest::newRow("digit first") << "9lives" << QStringLiteral("无效");
        QTest::newRow("space") << "fan speed" << QStringLiteral("无效");
        QTest::newRow("hyphen") << "fan-speed" << QStringLiteral("无效");
        QTest::newRow("chinese") << QStringLiteral("温度") << QStringLiteral("无效");
        QTest::newRow("accented") << QStringLiteral("caf\u00e9") << QStringLiteral("无效");
        QTest::newRow("fullwidth digit") << QStringLiteral("a\uff11") << QStringLiteral("无效");
        QTest::newRow("duplicate") << "taken" << QStringLiteral("已被使用");
        QTest::newRow("case differs") << "Taken" << QString();
    }
    void rules()
    {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        const QString message = Names::problem(name, {QStringLiteral("taken"), QString()});
        QVERIFY2(refusal.isEmpty() ? message.isEmpty() : message.contains(refusal), qPrintable(message));
        QCOMPARE(Names::isIdentifier(name), !name.isEmpty() && (refusal.isEmpty() || refusal == QStringLiteral("已被使用")));
    }

    // A page or control is compared with the others, never with itself.
    void uniquePerScope()
    {
        ProjectData p;
        p.pages.resize(2);
        p.pages[0].name = QStringLiteral("main");
        p.pages[1].name = QStringLiteral("settings");
        QVERIFY(Names::pageNameProblem(p, 0, QStringLiteral("main")).isEmpty());
        QVERIFY(!Names::pageNameProblem(p, 0, QStringLiteral("settings")).isEmpty());
        QVERIFY(!Names::pageNameProblem(p, -1, QStringLiteral("main")).isEmpty());  // a new page

        ControlRecord a = ControlRecord::make(ControlKind::Text, 0);
        a.name = QStringLiteral("main");  // the same name as a page is fine
        p.pages[0].controls = {a, ControlRecord::make(ControlKind::Button, 1)};
        p.pages[1].controls = {a};  // and as a control of another page
        QVERIFY(Names::controlNameProblem(p.pages[0], 0, QStringLiteral("main")).isEmpty());
        QVERIFY(!Names::controlNameProblem(p.pages[0], 1, QStringLiteral("main")).isEmpty());
        QVERIFY(Names::controlNameProblem(p.pages[0], 1, QString()).isEmpty());
    }

    void freshNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("fresh");
        QTest::newRow("free") << "fan" << QStringList{"pump"} << "fan";
        QTest::newRow("empty stays") << QString() << QStringList{QString()} << QString();
        QTest::newRow("first copy") << "fan" << QStringList{"fan"} << "fan_2";
        QTest::newRow("next copy") << "fan" << QStringList{"fan", "fan_2"} << "fan_3";
        QTest::newRow("copy of a copy") << "fan_2" << QStringList{"fan", "fan_2"} << "fan_3";
        QTest::newRow("number is part of the name") << "fan_0" << QStringList{"fan_0"} << "fan_0_2";
        QTest::newRow("one is part of the name") << "v_1" << QStringList{"v_1"} << "v_1_2";
        const QString long32(32, QLatin1Char('x'));
        QTest::newRow("kept within 32") << long32 << QStringList{long32} << QString(30, QLatin1Char('x')) + "_2";
    }
    void freshNames()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, taken);
        QFETCH(QString, fresh);
        const QString got = Names::freshName(name, taken);
        QCOMPARE(got, fresh);
        QVERIFY(got.isEmpty() || Names::problem(got, taken).isEmpty());
    }

    // The bindings' names for unnamed objects: the numbers the module uses, per numbering group.
    void defaultNames()
    {
        QCOMPARE(Names::defaultPageName(0), QStringLiteral("page0"));
        const QVector<QPair<ControlKind, QString>> kinds = {
            {ControlKind::Text, "page2_text3"},       {ControlKind::Number, "page2_number3"},
            {ControlKind::Button, "page2_button3"},   {ControlKind::Progress, "page2_progress3"},
            {ControlKind::Pointer, "page2_pointer3"}, {ControlKind::QRCode, "page2_qrcode3"},
        };
        for (const auto &k : kinds) {
            const QString name = Names::defaultControlName(2, ControlRecord::make(k.first, 3));
            QCOMPARE(name, k.second);
            QVERIFY(Names::isIdentifier(name));
        }
    }

    // Names are the firmware's and the file's alone: the module is sent the same bytes.
    void namesNeverReachTheModule()
    {
        ProjectData plain = EditCases::project();
        plain.pages.append(plain.pages.first());
        ProjectData named = plain;
        for (int i = 0; i < named.pages.size(); ++i) {
            named.pages[i].name = Names::defaultPageName(i) + QStringLiteral("_x");
            for (ControlRecord &c : named.pages[i].controls)
                c.name = QStringLiteral("n_") + Names::defaultControlName(i, c);
        }
        const QByteArray bytes = downloadBytes(plain);
        QVERIFY2(bytes.contains("TXT(10,10,") && bytes.contains("QRCODE("), bytes.left(200).constData());
        QCOMPARE(downloadBytes(named), bytes);
    }
};

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"
