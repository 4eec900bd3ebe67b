#include "file/projectfile.h"
#include "file/foldermirror.h"
#include "file/projectfolders.h"
#include "file/projectxml.h"

#include <QDomDocument>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <sys/stat.h>

namespace {

QMyDrawType primitive(int kind, int x1, int y1, int x2, int y2, int color)
{
    QMyDrawType d;
    d.setDrawType(kind);
    d.setStart(x1, y1);
    d.setEnd(x2, y2);
    d.setColorNum(color);
    return d;
}

// Every field set to something other than its default, several pages, both numbering groups.
ProjectData richProject()
{
    ProjectData p;
    p.frameW = 320;
    p.frameH = 240;
    p.parentImageNum = 2;
    p.parentBackgroundNum = 9;
    p.screenType = 3;
    p.dpi = QStringLiteral("240*320(QVGA-1)");
    p.baud = QStringLiteral("9600");
    p.blValue = 77;
    p.logo1 = 1;
    p.logo2 = 3;
    p.logoX = 5;
    p.logoY = 6;
    p.logoW = 100;
    p.logoH = 80;
    p.logoTime = 250;
    p.currentPage = 1;

    PageData first;
    first.imageNum = 0;
    first.backgroundNum = 33;
    first.helpLineNum = 2;
    first.helpLineLeft = 10;
    first.helpLineRight = -4;
    first.helpLineTop = 7;
    first.helpLineBottom = 8;
    for (int k = 0; k < ControlKindCount; ++k) {
        const ControlKind kind = static_cast<ControlKind>(k);
        ControlRecord c = ControlRecord::make(kind, first.nextControlId(kind));
        c.x = 3 * k + 1;
        c.y = 5 * k - 2;
        c.w = 40 + k;
        c.h = 20 + k;
        c.fontSize = 24;
        c.hAlign = 1;
        c.vAlign = 2;
        c.fontColorNum = 10 + k;
        c.backgroundColorNum = 20 + k;
        c.pressColorNum = 30 + k;
        c.imageNum = 0;
        c.cutImageNum = 1;
        c.backgroundImageNum = 2;
        c.backgroundCutImageNum = 3;
        c.pressImageNum = 4;
        c.pressCutImageNum = 0;
        c.progType = 3;
        c.style = 4;
        c.styleColorNum = 63;
        c.pointerX = 100;
        c.pointerY = 110;
        c.pointerW = 3;
        c.pointerL = 33;
        c.pointerAngle = 270;
        first.controls.append(c);
    }
    first.controls[0].text = QStringLiteral("中文 & <tags> \"quoted\" ]]> tab\tend");
    first.controls[2].text = QStringLiteral("  spaced  ");
    first.controls[1].text = QString();
    first.controls[0].name = QStringLiteral("title");
    first.controls[5].name = QStringLiteral("_link2");
    first.name = QStringLiteral("main");
    ControlRecord qr2 = ControlRecord::make(ControlKind::QRCode, first.nextControlId(ControlKind::QRCode));
    qr2.text = QStringLiteral("second qr \U0001F600");
    first.controls.append(qr2);
    for (int kind = 1; kind <= 6; ++kind) {
        QMyDrawType d = primitive(kind, 10 * kind, 20, 10 * kind + 15, 40, kind + 40);
        first.primitives.append(d);
    }
    p.pages.append(first);

    PageData second;  // defaults, no items
    p.pages.append(second);

    PageData third;
    third.backgroundNum = 0;
    ControlRecord n = ControlRecord::make(ControlKind::Number, 0);
    n.text = QStringLiteral("-12.5");
    third.controls.append(n);
    third.primitives.append(primitive(QMyDrawType::Line, 300, 200, 0, 0, 1));
    third.name = QStringLiteral("settings");
    p.pages.append(third);
    return p;
}

QByteArray domResave(const QByteArray &xml)
{
    QDomDocument doc;
    if (!doc.setContent(xml))
        return QByteArray();
    ProjectFile::normalizeDeclaration(doc);
    QByteArray out;
    QTextStream s(&out);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    s.setCodec("UTF-8");
#endif
    doc.save(s, 4, QDomNode::EncodingFromDocument);
    s.flush();
    return out;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const char *kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

QByteArray frameOnly(const QByteArray &frameChildren)
{
    return QByteArray(kHeader) + "<ui><frame frame=\"frame\">" + frameChildren + "</frame><page id=\"1\"/></ui>";
}

}  // namespace

class TestProjectFile : public QObject {
    Q_OBJECT
private slots:
    // A character at any place of a long plain run is judged alike by both parsers (the fast one
    // looks at plain runs sixteen bytes at a time).
    void charactersInALongRun_data()
    {
        QTest::addColumn<QByteArray>("character");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("read");
        const QList<int> places{0, 1, 15, 16, 17, 31, 38};
        for (int at : places) {
            QTest::addRow("control 0x01 at %d", at) << QByteArray("\x01") << false << QString();
            QTest::addRow("control 0x1F at %d", at) << QByteArray("\x1F") << false << QString();
            QTest::addRow("lone continuation byte at %d", at) << QByteArray("\x80") << false << QString();
            QTest::addRow("tab at %d", at) << QByteArray("\t") << true << QStringLiteral("\t");
            QTest::addRow("DEL at %d", at) << QByteArray("\x7F") << true << QStringLiteral("\x7F");
            QTest::addRow("CJK at %d", at) << QByteArray("\xE4\xB8\xAD") << true << QStringLiteral("\u4E2D");
        }
    }

    void charactersInALongRun()
    {
        QFETCH(QByteArray, character);
        QFETCH(bool, accepted);
        QFETCH(QString, read);
        const QByteArray run(39, 'a');
        const int at = QByteArray(QTest::currentDataTag()).mid(QByteArray(QTest::currentDataTag()).lastIndexOf(' ') + 1).toInt();
        const QByteArray text = run.left(at) + character + run.mid(at);
        const QByteArray xml = QByteArray(kHeader) + "<ui><page id=\"1\"><ClassName ClassName=\"QLabel\"><text>" + text +
                               "</text></ClassName></page></ui>";
        for (bool fast : {true, false}) {
            ProjectData d;
            const ProjectFile::ReadResult r = ProjectFile::readFromBytesWith(xml, 0, &d, QString(), fast);
            QCOMPARE(r.ok, accepted);
            if (accepted)
                QCOMPARE(d.pages.at(0).controls.at(0).text, QString::fromLatin1(run.left(at)) + read + QString::fromLatin1(run.mid(at)));
        }
    }

    void roundTrip()
    {
        const ProjectData p = richProject();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rich.Tavo"));
        QVERIFY(ProjectFile::write(path, p));
        ProjectData back;
        const ProjectFile::ReadResult r = ProjectFile::read(path, 5, &back);
        QVERIFY2(r.ok, qPrintable(r.reason));
        QVERIFY(r.hasFrameSize);
        QCOMPARE(back.pages.size(), p.pages.size());
        for (int i = 0; i < p.pages.size(); ++i) {
            for (int c = 0; c < p.pages[i].controls.size(); ++c)
                QCOMPARE(back.pages[i].controls[c].text, p.pages[i].controls[c].text);
            QVERIFY(back.pages[i] == p.pages[i]);
        }
        QVERIFY(back == p);
        // Writing what was read gives the same bytes.
        QCOMPARE(ProjectFile::toXml(back), fileBytes(path));
    }

    // A name is a "<name>" child written only when given; readers pass over elements they do
    // not know, wherever they stand, so older and newer files read alike.
    void namesAndUnknownElements()
    {
        const ProjectData p = richProject();
        const QByteArray xml = ProjectFile::toXml(p);
        QCOMPARE(xml.count("<name>"), 4);
        QVERIFY(xml.contains("<page id=\"1\">\n        <name>main</name>\n"));
        QVERIFY(xml.contains("<ClassName ClassName=\"QLabel\">\n            <name>title</name>\n"));
        ProjectData unnamed = p;
        for (PageData &page : unnamed.pages) {
            page.name.clear();
            for (ControlRecord &c : page.controls)
                c.name.clear();
        }
        QVERIFY(!ProjectFile::toXml(unnamed).contains("<name"));

        // Unknown elements beside the names, and a name where none is read (in the frame).
        QByteArray extended = xml;
        extended.replace("<name>main</name>", "<future a=\"1\"><x>9</x></future><name> main </name><future/>");
        extended.replace("<name>title</name>", "<name>title</name><colourDepth>16<deep/></colourDepth>");
        extended.replace("<frameW>", "<name>frame</name><frameW>");
        for (const bool fast : {true, false}) {
            ProjectData back;
            const ProjectFile::ReadResult r = ProjectFile::readFromBytesWith(extended, 5, &back, QString(), fast);
            QVERIFY2(r.ok, qPrintable(r.reason));
            QCOMPARE(back.pages.at(0).name, QStringLiteral("main"));
            QCOMPARE(back.pages.at(0).controls.at(0).name, QStringLiteral("title"));
            QVERIFY(back == p);
        }
    }

    // The demo project is kept in exactly the form the writer gives.
    void demoInWriterForm()
    {
        const QString path = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");
        ProjectData d;
        const ProjectFile::ReadResult r = ProjectFile::read(path, 9, &d);
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(d.pages.size(), 3);
        QCOMPARE(QString::fromUtf8(ProjectFile::toXml(d)), QString::fromUtf8(fileBytes(path)));
    }

    // The writer's layout is the one the DOM writes, so the in-place updates keep the file alike.
    void layoutMatchesDom()
    {
        const QByteArray xml = ProjectFile::toXml(richProject());
        const QStringList dom = QString::fromUtf8(domResave(xml)).split(QLatin1Char('\n'));
        // An empty text reads back as no text at all, which the DOM writes as an empty element.
        const QStringList ours = QString::fromUtf8(xml)
                                     .replace(QLatin1String("<text></text>"), QLatin1String("<text/>"))
                                     .split(QLatin1Char('\n'));
        for (int i = 0; i < qMin(dom.size(), ours.size()); ++i)
            QCOMPARE(ours.at(i), dom.at(i));
        QCOMPARE(ours.size(), dom.size());
    }

    void onePageLayout()
    {
        ProjectData p;
        p.frameW = 240;
        p.frameH = 320;
        p.dpi = QStringLiteral("240*320(QVGA-1)");
        p.pages.append(PageData());
        const QByteArray expected =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<ui>\n"
            "    <frame frame=\"frame\">\n"
            "        <frameW>240</frameW>\n"
            "        <frameH>320</frameH>\n"
            "        <parentImageNum>-1</parentImageNum>\n"
            "        <parentBackgroundNum>15</parentBackgroundNum>\n"
            "        <screenType>0</screenType>\n"
            "        <dpi>240*320(QVGA-1)</dpi>\n"
            "        <baud>115200</baud>\n"
            "        <blValue>20</blValue>\n"
            "        <logo1>-1</logo1>\n"
            "        <logo2>-1</logo2>\n"
            "        <logox>0</logox>\n"
            "        <logoy>0</logoy>\n"
            "        <logow>0</logow>\n"
            "        <logoh>0</logoh>\n"
            "        <logotime>0</logotime>\n"
            "        <currentPage>0</currentPage>\n"
            "    </frame>\n"
            "    <page id=\"1\">\n"
            "        <pageImageNum pageImageNum=\"-1\"/>\n"
            "        <pageBackgroundNum pageBackgroundNum=\"15\"/>\n"
            "        <pageHelpLineNum pageHelpLineNum=\"0\"/>\n"
            "        <pageHelpLineLeft pageHelpLineLeft=\"0\"/>\n"
            "        <pageHelpLineRight pageHelpLineRight=\"0\"/>\n"
            "        <pageHelpLineTop pageHelpLineTop=\"0\"/>\n"
            "        <pageHelpLineBottom pageHelpLineBottom=\"0\"/>\n"
            "    </page>\n"
            "</ui>\n";
        QCOMPARE(QString::fromUtf8(ProjectFile::toXml(p)), QString::fromUtf8(expected));
    }

    void controlAndPrimitiveOrder()
    {
        ProjectData p;
        PageData page;
        page.controls.append(ControlRecord::make(ControlKind::Pointer, 0));
        page.primitives.append(primitive(QMyDrawType::Circle, 50, 50, 60, 50, 5));
        p.pages.append(page);
        const QString xml = QString::fromUtf8(ProjectFile::toXml(p));
        QStringList tags;
        QXmlStreamReader r(xml);
        int depth = 0;
        while (!r.atEnd()) {
            const auto t = r.readNext();
            if (t == QXmlStreamReader::StartElement && ++depth == 4)
                tags << r.name().toString();
            else if (t == QXmlStreamReader::EndElement)
                --depth;
        }
        const QString expected = QStringLiteral(
            "id x y w h text fontSize hAlign vAlign fontColorNum backgroundColorNum pressColorNum imageNum cutImageNum "
            "backgroundImageNum backgroundCutImageNum pressImageNum pressCutImageNum progType style styleColorNum "
            "pointerX pointerY pointerW pointerL pointerAngle "
            "drawX drawY drawW drawH drawX1 drawY1 drawX2 drawY2 drawR drawColorNum");
        QCOMPARE(tags.join(QLatin1Char(' ')), expected);
        QVERIFY(xml.contains(QLatin1String("<ClassName ClassName=\"QPointer\">")));
        QVERIFY(xml.contains(QLatin1String("<DrawClassName DrawClassName=\"3\">")));
        QVERIFY(xml.contains(QLatin1String("<drawR>10</drawR>")));
    }

    // Characters XML cannot carry are dropped rather than making the file unreadable.
    void unwritableCharacters()
    {
        ProjectData p;
        PageData page;
        ControlRecord c = ControlRecord::make(ControlKind::Text, 0);
        c.text = QStringLiteral("a") + QChar(0x01) + QStringLiteral("b") + QChar(0xD800) + QStringLiteral("c\r\nd");
        page.controls.append(c);
        p.pages.append(page);
        ProjectData back;
        const ProjectFile::ReadResult r = ProjectFile::readFromBytes(ProjectFile::toXml(p), 0, &back);
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(back.pages[0].controls[0].text, QStringLiteral("abc\r\nd"));
    }

    void noPagesWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.Tavo"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
        f.close();
        QVERIFY(ProjectFile::write(path, ProjectData()));
        QCOMPARE(fileBytes(path), QByteArray("old"));
    }

    void failedWriteKeepsOldFile()
    {
        QTemporaryDir dir;
        // A directory in the way of the new file: the save cannot complete.
        const QString path = dir.filePath(QStringLiteral("sub"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        ProjectData p = richProject();
        QString error;
        QVERIFY(!ProjectFile::write(path, p, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(QFileInfo(path).isDir());
        // Nothing left behind beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0);
    }

    // Mirroring the picture folder copies regular files only: a FIFO among them would block the
    // copy for ever, a link could reach anywhere.
    void mirrorSkipsWhatIsNotAFile()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath(QStringLiteral("tempImages"));
        const QString dst = dir.filePath(QStringLiteral("backUpImages"));
        QVERIFY(QDir().mkpath(src));
        QFile f(src + QStringLiteral("/100001_a.bmp"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("picture");
        f.close();
        QVERIFY(::mkfifo(QFile::encodeName(src + QStringLiteral("/100002_pipe.bmp")).constData(), 0600) == 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), src + QStringLiteral("/100003_zero.bmp")));
        QVERIFY(mirrorFolder(src, dst));
        QCOMPARE(QDir(dst).entryList(QDir::Files | QDir::System), QStringList{QStringLiteral("100001_a.bmp")});
    }

    // A working folder or a temporary name beside it that is a link is refused, named, and its
    // target left as it was; a link as the source is read through.
    void mirrorNeverFollowsLinks_data()
    {
        QTest::addColumn<QString>("linked");
        QTest::addColumn<bool>("asFile");
        QTest::newRow("destination") << "backUpImages" << false;
        QTest::newRow("new copy") << "backUpImages.new" << false;
        QTest::newRow("old copy") << "backUpImages.old" << false;
        QTest::newRow("new copy a file") << "backUpImages.new" << true;
    }

    void mirrorNeverFollowsLinks()
    {
        QFETCH(QString, linked);
        QFETCH(bool, asFile);
        QTemporaryDir dir;
        const QString project = dir.filePath(QStringLiteral("project"));
        const QString outside = dir.filePath(QStringLiteral("outside"));
        QVERIFY(QDir().mkpath(project + QStringLiteral("/tempImages")));
        QVERIFY(QDir().mkpath(outside));
        const auto write = [](const QString &path, const QByteArray &bytes) {
            QFile f(path);
            return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
        };
        QVERIFY(write(project + QStringLiteral("/tempImages/100001_a.bmp"), "picture"));
        QVERIFY(write(outside + QStringLiteral("/precious.txt"), "keep me"));
        const QString name = project + QLatin1Char('/') + linked;
        if (asFile)
            QVERIFY(write(name, "a file"));
        else
            QVERIFY(QFile::link(outside, name));

        QString error;
        QVERIFY(!mirrorFolder(project + QStringLiteral("/tempImages"), project + QStringLiteral("/backUpImages"), &error));
        QVERIFY2(error.contains(linked), qPrintable(error));
        QCOMPARE(QDir(outside).entryList(QDir::Files), QStringList{QStringLiteral("precious.txt")});
        QFile precious(outside + QStringLiteral("/precious.txt"));
        QVERIFY(precious.open(QIODevice::ReadOnly));
        QCOMPARE(precious.readAll(), QByteArray("keep me"));
        QVERIFY(QFileInfo(name).isSymLink() || QFileInfo(name).isFile());

        // The source itself may be a link the user made.
        QTemporaryDir other;
        QVERIFY(QFile::link(project + QStringLiteral("/tempImages"), other.filePath(QStringLiteral("tempImages"))));
        QVERIFY(mirrorFolder(other.filePath(QStringLiteral("tempImages")), other.filePath(QStringLiteral("backUpImages"))));
        QCOMPARE(QDir(other.filePath(QStringLiteral("backUpImages"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("100001_a.bmp")});
        QVERIFY(!QFileInfo(other.filePath(QStringLiteral("backUpImages"))).isSymLink());
    }

    // Bringing the pictures back from the backup never writes through a linked "/tempImages".
    void restoreRefusesLinkedPictureFolder()
    {
        QTemporaryDir dir;
        const QString project = dir.filePath(QStringLiteral("project"));
        const QString outside = dir.filePath(QStringLiteral("outside"));
        QVERIFY(QDir().mkpath(project + QStringLiteral("/backUpImages")));
        QVERIFY(QDir().mkpath(outside));
        QFile f(project + QStringLiteral("/backUpImages/100001_a.bmp"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("picture");
        f.close();
        QVERIFY(QFile::link(outside, project + QStringLiteral("/tempImages")));
        QString error;
        QCOMPARE(ProjectFolders::restorePicturesFromBackup(project, &error), -1);
        QVERIFY2(error.contains(QStringLiteral("tempImages")), qPrintable(error));
        QVERIFY(QDir(outside).isEmpty());
        QVERIFY(QFileInfo(project + QStringLiteral("/tempImages")).isSymLink());
    }

    void numberingBeforeId()
    {
        const QByteArray xml = QByteArray(kHeader) +
                               "<ui><page id=\"1\">"
                               "<ClassName ClassName=\"QLabel\"/>"
                               "<ClassName ClassName=\"QRcode\"/>"
                               "<ClassName ClassName=\"QLabel\"/>"
                               "<ClassName ClassName=\"QRcode\"><id>7</id></ClassName>"
                               "<ClassName ClassName=\"QPushButton\"/>"
                               "</page></ui>";
        ProjectData d;
        const ProjectFile::ReadResult r = ProjectFile::readFromBytes(xml, 0, &d);
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(d.pages.size(), 1);
        QVector<int> ids;
        for (const ControlRecord &c : d.pages[0].controls)
            ids << c.id;
        QCOMPARE(ids, (QVector<int>{0, 0, 1, 7, 2}));
        // Missing elements keep the kind's defaults.
        QCOMPARE(d.pages[0].controls[4].text, ControlRecord::make(ControlKind::Button, 2).text);
        QCOMPARE(d.pages[0].controls[4].style, 2);
    }

    void pictureNumbers_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside") << "4" << 5 << 4;
        QTest::newRow("at count") << "5" << 5 << -1;
        QTest::newRow("beyond") << "7" << 5 << -1;
        QTest::newRow("none") << "-1" << 5 << -1;
        QTest::newRow("other negative") << "-3" << 5 << -1;
        QTest::newRow("huge") << "99999999999999" << 5 << -1;
        QTest::newRow("not a number") << "abc" << 5 << 0;
        QTest::newRow("not a number, no pictures") << "abc" << 0 << -1;
        QTest::newRow("empty, no pictures") << "" << 0 << -1;
        QTest::newRow("spaces") << " 2 " << 5 << 2;
    }
    void pictureNumbers()
    {
        QFETCH(QString, value);
        QFETCH(int, count);
        QFETCH(int, expected);
        const QByteArray v = value.toUtf8();
        const QByteArray xml = QByteArray(kHeader) + "<ui><frame frame=\"frame\"><logo1>" + v + "</logo1><logo2>" + v +
                               "</logo2><parentImageNum>" + v + "</parentImageNum></frame>"
                               "<page id=\"1\"><pageImageNum pageImageNum=\"" + v + "\"/>"
                               "<ClassName ClassName=\"QPushButton\">"
                               "<imageNum>" + v + "</imageNum><cutImageNum>" + v + "</cutImageNum>"
                               "<backgroundImageNum>" + v + "</backgroundImageNum>"
                               "<backgroundCutImageNum>" + v + "</backgroundCutImageNum>"
                               "<pressImageNum>" + v + "</pressImageNum><pressCutImageNum>" + v +
                               "</pressCutImageNum></ClassName></page></ui>";
        ProjectData d;
        QVERIFY(ProjectFile::readFromBytes(xml, count, &d).ok);
        QCOMPARE(d.logo1, expected);
        QCOMPARE(d.logo2, expected);
        QCOMPARE(d.parentImageNum, expected);
        QCOMPARE(d.pages[0].imageNum, expected);
        const ControlRecord &c = d.pages[0].controls[0];
        QCOMPARE(c.imageNum, expected);
        QCOMPARE(c.cutImageNum, expected);
        QCOMPARE(c.backgroundImageNum, expected);
        QCOMPARE(c.backgroundCutImageNum, expected);
        QCOMPARE(c.pressImageNum, expected);
        QCOMPARE(c.pressCutImageNum, expected);
    }

    void frameSize_data()
    {
        QTest::addColumn<QByteArray>("children");
        QTest::addColumn<bool>("has");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("screenType");
        QTest::newRow("usable") << QByteArray("<frameW>320</frameW><frameH>240</frameH><screenType>1</screenType>")
                                << true << 320 << 240 << 1;
        QTest::newRow("width 0") << QByteArray("<frameW>0</frameW><frameH>240</frameH><screenType>1</screenType>")
                                 << false << 11 << 22 << 2;
        QTest::newRow("negative") << QByteArray("<frameW>-5</frameW><frameH>240</frameH>") << false << 11 << 22 << 2;
        QTest::newRow("huge") << QByteArray("<frameW>2000000000</frameW><frameH>240</frameH>") << false << 11 << 22
                              << 2;
        QTest::newRow("missing height") << QByteArray("<frameW>320</frameW>") << false << 11 << 22 << 2;
        QTest::newRow("text") << QByteArray("<frameW>wide</frameW><frameH>240</frameH>") << false << 11 << 22 << 2;
        QTest::newRow("largest side") << QByteArray("<frameW>4096</frameW><frameH>4096</frameH><screenType>3</screenType>")
                                      << true << 4096 << 4096 << 3;
        QTest::newRow("width one over") << QByteArray("<frameW>4097</frameW><frameH>240</frameH>") << false << 11 << 22
                                        << 2;
        QTest::newRow("height one over") << QByteArray("<frameW>240</frameW><frameH>4097</frameH>") << false << 11 << 22
                                         << 2;
    }
    void frameSize()
    {
        QFETCH(QByteArray, children);
        QFETCH(bool, has);
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(int, screenType);
        ProjectData d;
        d.frameW = 11;
        d.frameH = 22;
        d.screenType = 2;
        const ProjectFile::ReadResult r =
            ProjectFile::readFromBytes(frameOnly(children + "<blValue>50</blValue>"), 0, &d);
        QVERIFY(r.ok);
        QCOMPARE(r.hasFrameSize, has);
        QCOMPARE(d.frameW, w);
        QCOMPARE(d.frameH, h);
        QCOMPARE(d.screenType, screenType);
        // The other frame values and the pages load either way.
        QCOMPARE(d.blValue, 50);
        QCOMPARE(d.pages.size(), 1);
    }

    void lenientValues()
    {
        const QByteArray xml = QByteArray(kHeader) +
                               "<!-- a comment --><ui><unknown><deep><er/></deep></unknown>"
                               "<frame frame=\"frame\"><blValue>lots</blValue><currentPage>9</currentPage>"
                               "<logotime>1e3</logotime><extra>1</extra></frame>"
                               "<page><pageBackgroundNum pageBackgroundNum=\"x\"/><pageHelpLineNum/>"
                               "<mystery mystery=\"1\"/>"
                               "<DrawClassName DrawClassName=\"1\"><drawX>12<b>3</b></drawX><drawR>9</drawR>"
                               "<bogus>4</bogus></DrawClassName>"
                               "<DrawClassName DrawClassName=\"4\"><drawR>9</drawR></DrawClassName>"
                               "<ClassName ClassName=\"QLabel\"><text>  keep  spaces </text><w>2147483648</w>"
                               "<h>-0</h><fontSize>+24</fontSize></ClassName>"
                               "</page></ui>";
        ProjectData d;
        const ProjectFile::ReadResult r = ProjectFile::readFromBytes(xml, 0, &d);
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(d.blValue, 0);
        QCOMPARE(d.logoTime, 0);
        QCOMPARE(d.currentPage, 0);  // page 9 does not exist
        const PageData &page = d.pages.at(0);
        QCOMPARE(page.backgroundNum, 0);
        QCOMPARE(page.primitives.size(), 2);
        QCOMPARE(page.primitives[0].x(), 123);
        QCOMPARE(page.primitives[0].radius(), 0);  // boxes have no radius
        QCOMPARE(page.primitives[1].radius(), 9);
        QCOMPARE(page.controls[0].text, QStringLiteral("  keep  spaces "));
        QCOMPARE(page.controls[0].w, 0);
        QCOMPARE(page.controls[0].h, 0);
        QCOMPARE(page.controls[0].fontSize, 24);
    }

    // Only the codes 0, 1 and 2 set an alignment; any other value leaves the centred default.
    void alignmentCodes_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("left") << "1" << 1;
        QTest::newRow("right") << "2" << 2;
        QTest::newRow("centre") << "0" << 0;
        QTest::newRow("beyond") << "3" << 0;
        QTest::newRow("negative") << "-1" << 0;
        QTest::newRow("a Qt flag") << "132" << 0;
    }
    void alignmentCodes()
    {
        QFETCH(QString, value);
        QFETCH(int, expected);
        const QByteArray v = value.toUtf8();
        const QByteArray xml = QByteArray(kHeader) + "<ui><page><ClassName ClassName=\"QLabel\"><hAlign>" + v +
                               "</hAlign><vAlign>" + v + "</vAlign></ClassName></page></ui>";
        ProjectData d;
        QVERIFY(ProjectFile::readFromBytes(xml, 0, &d).ok);
        QCOMPARE(d.pages[0].controls[0].hAlign, expected);
        QCOMPARE(d.pages[0].controls[0].vAlign, expected);
    }

    // A repeated element must not undo a valid value with an invalid one, in either parser.
    void duplicatedAlignment_data()
    {
        QTest::addColumn<bool>("fast");
        QTest::newRow("fast parser") << true;
        QTest::newRow("full parser") << false;
    }
    void duplicatedAlignment()
    {
        QFETCH(bool, fast);
        const QByteArray xml = QByteArray(kHeader) +
                               "<ui><page><ClassName ClassName=\"QLabel\"><hAlign>2</hAlign><hAlign>7</hAlign>"
                               "<vAlign>1</vAlign><vAlign>-1</vAlign></ClassName>"
                               "<ClassName ClassName=\"QLabel\"><hAlign>1</hAlign><hAlign>2</hAlign></ClassName>"
                               "</page></ui>";
        ProjectData d;
        QVERIFY(ProjectFile::readFromBytesWith(xml, 0, &d, QString(), fast).ok);
        QCOMPARE(d.pages[0].controls[0].hAlign, 2);
        QCOMPARE(d.pages[0].controls[0].vAlign, 1);
        QCOMPARE(d.pages[0].controls[1].hAlign, 2);
    }

    // A current page that names no page reads as the first.
    void currentPageRange_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("last page") << 2 << 2;
        QTest::newRow("page count") << 3 << 0;
        QTest::newRow("negative") << -1 << 0;
    }
    void currentPageRange()
    {
        QFETCH(int, stored);
        QFETCH(int, expected);
        ProjectData p;
        p.pages.resize(3);
        p.currentPage = stored;
        for (const bool fast : {true, false}) {
            ProjectData d;
            QVERIFY(ProjectFile::readFromBytesWith(ProjectFile::toXml(p), 0, &d, QString(), fast).ok);
            QCOMPARE(d.currentPage, expected);
        }
        QCOMPARE(bootSettingsOf(p).bootPage, expected);
    }

    // A hand-written file may declare another encoding; its texts arrive as the characters meant.
    void otherEncoding()
    {
        const QByteArray xml = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ui><page>"
                               "<ClassName ClassName=\"QLabel\"><text>caf\xe9</text></ClassName></page></ui>";
        ProjectData d;
        QVERIFY(ProjectFile::readFromBytes(xml, 0, &d).ok);
        QCOMPARE(d.pages[0].controls[0].text, QStringLiteral("café"));
    }

    void currentPageKept()
    {
        ProjectData p;
        p.pages.resize(3);
        p.currentPage = 2;
        ProjectData d;
        QVERIFY(ProjectFile::readFromBytes(ProjectFile::toXml(p), 0, &d).ok);
        QCOMPARE(d.currentPage, 2);
    }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("pagesRead");
        QTest::addColumn<QString>("reasonHas");
        const QByteArray h(kHeader);
        QTest::newRow("empty") << QByteArray() << 0 << "第1行";
        QTest::newRow("not closed") << h + "<ui><page>" << 0 << "第2行";
        QTest::newRow("mismatched") << h + "<ui>\n<page>\n</pag></ui>" << 0 << "第4行";
        static const char junk[] = "\x00\xff\xfe<\x01\x02 garbage";
        QTest::newRow("binary junk") << QByteArray(junk, sizeof junk - 1) << 0 << "project.Tavo";
        QTest::newRow("two roots") << h + "<ui/><ui/>" << 0 << "第2行";
        QTest::newRow("unknown class") << h + "<ui><page/><page>\n<ClassName ClassName=\"QSlider\"/></page></ui>" << 2
                                       << "QSlider";
        QTest::newRow("draw kind 7") << h + "<ui><page/><page/>\n\n<page><DrawClassName DrawClassName=\"7\"/></page></ui>"
                                     << 3 << "第4行";
        QTest::newRow("draw kind 0") << h + "<ui><page><DrawClassName DrawClassName=\"0\"/></page></ui>" << 1 << "“0”";
        QTest::newRow("draw kind text") << h + "<ui><page><DrawClassName DrawClassName=\"box\"/></page></ui>" << 1
                                        << "box";
        QTest::newRow("control before page") << h + "<ui><ClassName ClassName=\"QLabel\"/><page/></ui>" << 0
                                             << "ClassName";
        QTest::newRow("primitive before page") << h + "<ui><DrawClassName DrawClassName=\"1\"/><page/></ui>" << 0
                                               << "DrawClassName";
        // A byte that is not UTF-8 is placed where it is, counting characters, not bytes.
        QByteArray badByte = h + "<ui>\n";
        for (int line = 3; line < 35; ++line)
            badByte += "<page/>\n";
        QTest::newRow("bad byte at 35:20") << badByte + "<page><text>1234567\xff</text></page></ui>" << 0 << "第35行第20列";
        QTest::newRow("bad byte after Chinese")
            << h + "<ui><page><ClassName ClassName=\"QLabel\"><text>\xe4\xb8\xad\xe6\x96\x87\xc0\xaf</text>"
                   "</ClassName></page></ui>"
            << 0 << "第2行第49列";
        QByteArray deep = h;
        for (int i = 0; i < 100000; ++i)
            deep += "<a>";
        QTest::newRow("deep") << deep << 0 << "嵌套";
        QTest::newRow("entity bomb")
            << h + "<!DOCTYPE ui [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
                   "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                   "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                   "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                   "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
                   "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">]>"
                   "<ui><page><ClassName ClassName=\"QLabel\"><text>&f;</text></ClassName></page></ui>"
            << 0 << "project.Tavo";
        // An entity whose text lies outside the file is refused like one never declared.
        QTest::newRow("undeclared entity")
            << h + "<ui><page><ClassName ClassName=\"QLabel\"><text>&outsideText;</text></ClassName></page></ui>" << 0
            << "outsideText";
        QTest::newRow("external entity")
            << h + "<!DOCTYPE ui [<!ENTITY outsideText SYSTEM \"/etc/hostname\">]>"
                   "<ui><page><ClassName ClassName=\"QLabel\"><text>&outsideText;</text></ClassName></page></ui>"
            << 0 << "outsideText";
        // Refused alike whichever Qt the program was built with (Qt 6's parser lets these pass).
        QTest::newRow("doctype inside")
            << h + "<ui>\n<page>t<!DOCTYPE x [<!ENTITY e 'v'>]>u</page></ui>" << 0
            << "第3行第37列：Unexpected token type DTD in Body.";
        QTest::newRow("doctype after the root") << h + "<ui><page/></ui><!DOCTYPE x>" << 0
                                                << "第2行第28列：Unexpected token type DTD in Body.";
        QTest::newRow("second doctype") << h + "<!DOCTYPE a><!DOCTYPE b><ui><page/></ui>" << 0
                                        << "第2行第24列：Found second DTD token in Prolog.";
    }
    void failures()
    {
        QFETCH(QByteArray, xml);
        QFETCH(int, pagesRead);
        QFETCH(QString, reasonHas);
        ProjectData d;
        d.pages.resize(4);  // replaced by what the file holds
        // A "%2" in the file name stays as it is.
        const ProjectFile::ReadResult r =
            ProjectFile::readFromBytes(xml, 0, &d, QStringLiteral("100%2 project.Tavo"));
        QVERIFY(!r.ok);
        QVERIFY2(r.reason.contains(reasonHas), qPrintable(r.reason));
        QVERIFY2(r.reason.startsWith(QLatin1String("100%2 project.Tavo")), qPrintable(r.reason));
        QCOMPARE(d.pages.size(), pagesRead);
    }

    // A number field as both parsers read it: a plain number straight from its bytes, anything
    // else as the text's whole-number reading.
    void numberFields_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("imageNum");
        QTest::newRow("plain") << QByteArray("<x>480</x><imageNum>3</imageNum>") << true << 480 << 3;
        QTest::newRow("spaces and minus") << QByteArray("<x> -12 </x><imageNum> 4\r\n</imageNum>") << true << -12 << 4;
        QTest::newRow("line ends") << QByteArray("<x>\r\n7\r\n</x>") << true << 7 << -1;
        QTest::newRow("nine digits") << QByteArray("<x>123456789</x>") << true << 123456789 << -1;
        QTest::newRow("ten digits") << QByteArray("<x>1234567890</x><imageNum>1234567890</imageNum>") << true
                                    << 1234567890 << -1;
        QTest::newRow("beyond int") << QByteArray("<x>99999999999</x>") << true << 0 << -1;
        QTest::newRow("minus zero") << QByteArray("<x>-0</x><imageNum>-0</imageNum>") << true << 0 << 0;
        QTest::newRow("plus") << QByteArray("<x>+5</x><imageNum>+2</imageNum>") << true << 5 << 2;
        QTest::newRow("exponent") << QByteArray("<x>1e3</x>") << true << 0 << -1;
        QTest::newRow("empty") << QByteArray("<x></x><imageNum/>") << true << 0 << 0;
        QTest::newRow("picture out of range") << QByteArray("<imageNum>5</imageNum>") << true << 0 << -1;
        QTest::newRow("comment after") << QByteArray("<x>7<!--c--></x>") << true << 7 << -1;
        QTest::newRow("child after") << QByteArray("<x>8<b/></x>") << true << 8 << -1;
        QTest::newRow("end tag space") << QByteArray("<x>9</x \n><imageNum>2</imageNum >") << true << 9 << 2;
        QTest::newRow("longer end tag") << QByteArray("<x>9</xy></x>") << false << 0 << -1;
        QTest::newRow("reference") << QByteArray("<x>&#55;</x>") << true << 7 << -1;
    }
    void numberFields()
    {
        QFETCH(QByteArray, field);
        QFETCH(bool, ok);
        QFETCH(int, x);
        QFETCH(int, imageNum);
        const QByteArray xml = QByteArray(kHeader) + "<ui><page><ClassName ClassName=\"QLabel\">" + field +
                               "</ClassName></page></ui>";
        for (const bool fast : {true, false}) {
            ProjectData d;
            const ProjectFile::ReadResult r = ProjectFile::readFromBytesWith(xml, 5, &d, QString(), fast);
            QCOMPARE(r.ok, ok);
            if (!ok)
                continue;
            QCOMPARE(d.pages.size(), 1);
            QCOMPARE(d.pages[0].controls.size(), 1);
            QCOMPARE(d.pages[0].controls[0].x, x);
            QCOMPARE(d.pages[0].controls[0].imageNum, imageNum);
        }
    }

    // Files as the writer makes them take the fast parser.
    void writerOutputIsFast()
    {
        ProjectXml::Document doc;
        QVERIFY(ProjectXml::tokenizeFast(ProjectFile::toXml(richProject()), ProjectFile::MaxDepth, &doc));
        QVERIFY(ProjectXml::tokenizeFast(fileBytes(QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo")),
                                         ProjectFile::MaxDepth, &doc));
    }

    // Whatever the fast parser accepts, the full parser reads the same way; what it refuses goes
    // to the full parser.
    void parsersAgree_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("fast");
        const QByteArray h(kHeader);
        const QByteArray page = "<page><pageImageNum pageImageNum='2'/><ClassName ClassName=\"QLabel\"><text>";
        const QByteArray tail = "</text></ClassName></page></ui>";
        QTest::newRow("rich") << ProjectFile::toXml(richProject()) << true;
        QTest::newRow("no declaration") << "<ui>" + page + "x" + tail << true;
        QTest::newRow("bom") << "\xEF\xBB\xBF" + h + "<ui>" + page + "x" + tail << true;
        QTest::newRow("mark in text") << h + "<ui>" + page + "\xEF\xBB\xBF\xEF\xBB\xBFx&amp;" + tail << true;
        QTest::newRow("mark in class name")
            << h + "<ui><page><ClassName ClassName=\"\xEF\xBB\xBFQLabel\"/></page></ui>" << true;
        QTest::newRow("mark in number") << h + "<ui><page><ClassName ClassName=\"QLabel\"><y>\xEF\xBB\xBF-5</y>"
                                               "</ClassName></page></ui>" << true;
        QTest::newRow("line ends") << h + "<ui>\r\n" + page + "a\r\nb\rc\n" + tail << true;
        QTest::newRow("references") << h + "<ui>" + page + "&lt;&gt;&amp;&quot;&apos;&#65;&#x4e2d;&#xd;&#x1F600;" + tail
                                    << true;
        QTest::newRow("comments") << h + "<!-- a -->\n<ui><!--b-->" + page + "x<!-- in text -->y" + tail + "<!--c-->"
                                  << true;
        QTest::newRow("nested text") << h + "<ui>" + page + "a<b>b<c/>c</b>d" + tail << true;
        QTest::newRow("single quotes") << h + "<ui><page><ClassName ClassName='QRcode'><id>3</id></ClassName></page></ui>"
                                       << true;
        QTest::newRow("declaration variants")
            << QByteArray("<?xml version='1.0' encoding='utf-8' standalone='yes' ?><ui>") + page + "x" + tail << true;
        QTest::newRow("space in end tag") << h + "<ui>" + page + "x</text ></ClassName\n></page></ui >" << true;
        QTest::newRow("cdata") << h + "<ui>" + page + "<![CDATA[<&>]]>" + tail << false;
        QTest::newRow("doctype") << h + "<!DOCTYPE ui><ui>" + page + "x" + tail << false;
        QTest::newRow("entity") << h + "<!DOCTYPE ui [<!ENTITY e \"E\">]><ui>" + page + "&e;" + tail << false;
        QTest::newRow("other encoding") << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ui>") + page +
                                               "\xe9" + tail
                                        << false;
        QTest::newRow("attribute with newline") << h + "<ui><page><pageBackgroundNum pageBackgroundNum=\"\n3\"/></page></ui>"
                                                << false;
        QTest::newRow("attribute reference") << h + "<ui><page><pageBackgroundNum pageBackgroundNum=\"&#51;\"/></page></ui>"
                                             << false;
        QTest::newRow("processing instruction") << h + "<ui><?pi x?>" + page + "x" + tail << false;
        QTest::newRow("namespace") << h + "<ui xmlns:a=\"urn:a\"><a:page/></ui>" << false;
        QTest::newRow("non-ascii name") << h + "<ui><页/></ui>" << false;
        // Broken documents: the full parser says why.
        QTest::newRow("mismatch") << h + "<ui><page></ui>" << false;
        QTest::newRow("duplicate attribute") << h + "<ui><page a='1' a='2'/></ui>" << false;
        QTest::newRow("bad reference") << h + "<ui>" + page + "&foo;" + tail << false;
        QTest::newRow("null reference") << h + "<ui>" + page + "&#0;" + tail << false;
        QTest::newRow("control character") << h + "<ui>" + page + "\x01" + tail << false;
        QTest::newRow("bad utf-8") << h + "<ui>" + page + "\xc3\x28" + tail << false;
        // Overlong forms, surrogates and code points past U+10FFFF: refused alike, with the same message.
        QTest::newRow("overlong 2-byte") << h + "<ui>" + page + "\xC0\xAF" + tail << false;
        QTest::newRow("overlong 3-byte") << h + "<ui>" + page + "a\xE0\x80\xAF" + tail << false;
        QTest::newRow("overlong 4-byte") << h + "<ui>" + page + "\xF0\x80\x80\xAF" + tail << false;
        QTest::newRow("overlong in attribute") << h + "<ui><page><ClassName ClassName=\"Q\xE0\x80\xAFLabel\"/></page></ui>"
                                               << false;
        QTest::newRow("surrogate") << h + "<ui>" + page + "\xED\xA0\x80" + tail << false;
        QTest::newRow("past U+10FFFF") << h + "<ui>" + page + "\xF4\x90\x80\x80" + tail << false;
        // A tab in an attribute value is read as a space: the class named in the message and the
        // number read must not depend on the parser.
        QTest::newRow("tab in class name") << h + "<ui><page><ClassName ClassName=\"Q\tLabel\"/></page></ui>" << false;
        QTest::newRow("tab in number attribute")
            << h + "<ui><page><pageBackgroundNum pageBackgroundNum=\"\t3\"/></page></ui>" << false;
        QTest::newRow("cdata end in text") << h + "<ui>" + page + "]]>" + tail << false;
        QTest::newRow("text after root") << h + "<ui/>x" << false;
        QTest::newRow("second root") << h + "<ui/><ui/>" << false;
        QTest::newRow("lt in attribute") << h + "<ui a='<'/>" << false;
        QTest::newRow("no space between attributes") << h + "<ui a='1'b='2'/>" << false;
        QTest::newRow("bad comment") << h + "<ui><!-- a -- b --></ui>" << false;
        QTest::newRow("unclosed") << h + "<ui><page>" << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("only space") << QByteArray(" \n") << false;
        QByteArray deep = h;
        for (int i = 0; i <= ProjectFile::MaxDepth; ++i)
            deep += "<a>";
        for (int i = 0; i <= ProjectFile::MaxDepth; ++i)
            deep += "</a>";
        QTest::newRow("too deep") << deep << false;
    }
    void parsersAgree()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, fast);
        ProjectXml::Document doc;
        QCOMPARE(ProjectXml::tokenizeFast(xml, ProjectFile::MaxDepth, &doc), fast);
        ProjectData a, b;
        const ProjectFile::ReadResult ra = ProjectFile::readFromBytesWith(xml, 5, &a, QString(), true);
        const ProjectFile::ReadResult rb = ProjectFile::readFromBytesWith(xml, 5, &b, QString(), false);
        QCOMPARE(ra.ok, rb.ok);
        QCOMPARE(ra.reason, rb.reason);
        QCOMPARE(ra.hasFrameSize, rb.hasFrameSize);
        QCOMPARE(a.pages.size(), b.pages.size());
        for (int i = 0; i < a.pages.size(); ++i) {
            for (int c = 0; c < qMin(a.pages[i].controls.size(), b.pages[i].controls.size()); ++c)
                QCOMPARE(a.pages[i].controls[c].text, b.pages[i].controls[c].text);
        }
        QVERIFY(a == b);
    }

    void tooLarge()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.Tavo"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(ProjectFile::MaxFileBytes + 1));  // sparse, costs nothing
        f.close();
        ProjectData d;
        const ProjectFile::ReadResult r = ProjectFile::read(path, 0, &d);
        QVERIFY(!r.ok);
        QVERIFY2(r.reason.contains(QLatin1String("big.Tavo")), qPrintable(r.reason));
    }

    void missingFile()
    {
        ProjectData d;
        const ProjectFile::ReadResult r = ProjectFile::read(QStringLiteral("/nonexistent/x.Tavo"), 0, &d);
        QVERIFY(!r.ok);
        QVERIFY(r.reason.contains(QLatin1String("/nonexistent/x.Tavo")));
    }

    void handWrittenFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("reasonHas");
        QTest::newRow("minimal") << "minimal.Tavo" << true << 1 << QString();
        QTest::newRow("crlf and bom") << "crlf_bom.Tavo" << true << 2 << QString();
        QTest::newRow("unknown class") << "unknown_class.Tavo" << false << 1 << "第17行";
        QTest::newRow("draw kind 9") << "bad_draw_kind.Tavo" << false << 2 << "DrawClassName";
        QTest::newRow("truncated") << "truncated.Tavo" << false << 0 << "truncated.Tavo";
        QTest::newRow("control before page") << "control_before_page.Tavo" << false << 0 << "ClassName";
        QTest::newRow("not xml") << "not_xml.Tavo" << false << 0 << "第1行";
    }
    void handWrittenFiles()
    {
        QFETCH(QString, file);
        QFETCH(bool, ok);
        QFETCH(int, pages);
        QFETCH(QString, reasonHas);
        ProjectData d;
        const ProjectFile::ReadResult r = ProjectFile::read(QStringLiteral(TAVO_TEST_DATA "/") + file, 3, &d);
        QCOMPARE(r.ok, ok);
        QCOMPARE(d.pages.size(), pages);
        if (!ok)
            QVERIFY2(r.reason.contains(reasonHas), qPrintable(r.reason));
    }

    void updateInPlace()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("u.Tavo"));
        ProjectData p = richProject();
        QVERIFY(ProjectFile::write(path, p));
        QVERIFY(ProjectFile::updateBaud(path, QStringLiteral("57600")));
        QVERIFY(ProjectFile::updateBlValue(path, 12));
        p.baud = QStringLiteral("57600");
        p.blValue = 12;
        // Same as writing the changed project.
        QCOMPARE(QString::fromUtf8(fileBytes(path)), QString::fromUtf8(ProjectFile::toXml(p)));
        ProjectData back;
        QVERIFY(ProjectFile::read(path, 5, &back).ok);
        QVERIFY(back == p);
    }

    // Texts made only of spaces or line breaks survive a baud or backlight update.
    void updateKeepsBlankTexts()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("u.Tavo"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(kHeader) + "<ui>\n<frame frame=\"frame\"><baud>9600</baud><blValue>1</blValue></frame>\n"
                              "<page id=\"1\"><ClassName ClassName=\"QLabel\"><text>   </text></ClassName>"
                              "<ClassName ClassName=\"QRcode\"><text>\n</text></ClassName></page>\n</ui>\n");
        f.close();
        QVERIFY(ProjectFile::updateBaud(path, QStringLiteral("57600")));
        QVERIFY(ProjectFile::updateBlValue(path, 30));
        ProjectData d;
        QVERIFY(ProjectFile::read(path, 0, &d).ok);
        QCOMPARE(d.baud, QStringLiteral("57600"));
        QCOMPARE(d.blValue, 30);
        QCOMPARE(d.pages[0].controls[0].text, QStringLiteral("   "));
        QCOMPARE(d.pages[0].controls[1].text, QStringLiteral("\n"));
    }

    void updateRefusesBadFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("u.Tavo"));
        QVERIFY(!ProjectFile::updateBaud(path, QStringLiteral("9600")));  // missing
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray deep = "<ui>";
        for (int i = 0; i < 100000; ++i)
            deep += "<a>";
        f.write(deep);
        f.close();
        QVERIFY(!ProjectFile::updateBlValue(path, 3));
        QCOMPARE(fileBytes(path), deep);
    }

    void updateLeavesEmptyElement()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("u.Tavo"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(kHeader) + "<ui><frame frame=\"frame\"><baud/><blValue>3</blValue></frame></ui>");
        f.close();
        QVERIFY(ProjectFile::updateBaud(path, QStringLiteral("9600")));
        QVERIFY(ProjectFile::updateBlValue(path, 40));
        ProjectData d;
        d.baud = QStringLiteral("default");
        QVERIFY(ProjectFile::read(path, 0, &d).ok);
        QCOMPARE(d.baud, QString());
        QCOMPARE(d.blValue, 40);
    }
};

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
