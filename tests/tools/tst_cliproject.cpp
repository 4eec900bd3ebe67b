// tavo-cli info, script and check, run as a user would run them.
#include "download/downloadjob.h"
#include "script/moduletext.h"
#include "file/projectfile.h"
#include "script/scripts.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "bmpbytes.h"
#include "tavocli.h"

#include <sys/stat.h>

namespace {

CliRun cli(const QStringList &args) { return runTavoCli(args, 60000); }

const QString demo = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");

ProjectData demoData()
{
    ProjectData d;
    ProjectFile::read(demo, PictureLibrary::fromProjectFolder(QFileInfo(demo).absolutePath()).count(), &d);
    return d;
}

// A project with one page holding the given control, written into dir.
QString projectWith(const QTemporaryDir &dir, const ControlRecord &c, int logo1 = -1, int logo2 = -1)
{
    ProjectData p;
    p.frameW = 320;
    p.frameH = 240;
    p.logo1 = logo1;
    p.logo2 = logo2;
    PageData page;
    page.controls.append(c);
    p.pages.append(page);
    const QString path = dir.filePath(QStringLiteral("t.Tavo"));
    ProjectFile::write(path, p);
    return path;
}

quint32 crc32Of(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 v)
{
    return QByteArray(1, char(v >> 24)) + char(v >> 16) + char(v >> 8) + char(v);
}

QByteArray pngOf(const QSize &size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

class TestCliProject : public QObject {
    Q_OBJECT
private slots:
    void info()
    {
        const CliRun r = cli({QStringLiteral("info"), demo});
        QCOMPARE(r.code, 0);
        const QString text = QString::fromUtf8(r.out);
        QVERIFY(text.contains(QLatin1String("240*320(QVGA-1)")));
        QVERIFY(text.contains(QLatin1String("pictures:    9")));
        QVERIFY(text.contains(QLatin1String("page 2: 7 controls, 3 primitives")));
    }

    void infoJson()
    {
        const CliRun r = cli({QStringLiteral("info"), demo, QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o.value(QLatin1String("width")).toInt(), 240);
        QCOMPARE(o.value(QLatin1String("height")).toInt(), 320);
        QCOMPARE(o.value(QLatin1String("screenType")).toInt(), 0);
        QCOMPARE(o.value(QLatin1String("pictureCount")).toInt(), 9);
        const QJsonArray pages = o.value(QLatin1String("pages")).toArray();
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages.at(0).toObject().value(QLatin1String("controls")).toInt(), 7);
        QCOMPARE(pages.at(2).toObject().value(QLatin1String("qrCodes")).toInt(), 2);
        QCOMPARE(pages.at(1).toObject().value(QLatin1String("primitives")).toInt(), 3);
    }

    void pageScriptBytes()
    {
        const ProjectData d = demoData();
        const PictureLibrary lib = PictureLibrary::fromProjectFolder(QFileInfo(demo).absolutePath());
        QByteArray all;
        for (int i = 0; i < d.pages.size(); ++i) {
            const CliRun r = cli({QStringLiteral("script"), demo, QStringLiteral("--page"), QString::number(i)});
            QCOMPARE(r.code, 0);
            QString script;
            QVERIFY(buildPageScript(d.pages.at(i), i, lib, &script));
            QCOMPARE(r.out, ModuleText::encode(script));
            QVERIFY(r.out.endsWith("\r\n"));
            all += r.out;
        }
        // GBK, not UTF-8: "演示" is four bytes.
        QVERIFY(all.contains(QByteArray("\xd1\xdd\xca\xbe")));
        QVERIFY(all.startsWith("PIC(0,0,0,240,320);"));
        const CliRun boot = cli({QStringLiteral("script"), demo, QStringLiteral("--boot")});
        QCOMPARE(boot.code, 0);
        QCOMPARE(boot.out, QByteArray("DIR(0);BL(20);GIF(5,96,136,48,48);DELAYMS(200);GIF(6,96,136,48,48);"
                                      "DELAYMS(200);GIF(7,96,136,48,48);DELAYMS(200);JUMP(0);\r\n"));
        const CliRun everything = cli({QStringLiteral("script"), demo, QStringLiteral("--all")});
        QCOMPARE(everything.code, 0);
        QCOMPARE(everything.out, boot.out + all);
    }

    void checkDemo()
    {
        const CliRun r = cli({QStringLiteral("check"), demo});
        QCOMPARE(r.code, 0);
        const CliRun tight = cli({QStringLiteral("check"), demo, QStringLiteral("--limits"), QStringLiteral("7,100000,8")});
        QCOMPARE(tight.code, 1);
        QVERIFY2(tight.err.contains(QStringLiteral("第1页控件数量已超过7！")), qPrintable(tight.err));
        QVERIFY2(tight.err.contains(QStringLiteral("文本字符已超过8！")), qPrintable(tight.err));
    }

    // Unreadable, oversized and non-regular library entries: every command finishes, check names
    // each problem picture with its pages, a picture download refuses to start.
    void brokenLibrary()
    {
        QTemporaryDir dir;
        const QString images = dir.filePath(QStringLiteral("tempImages"));
        const QString fonts = dir.filePath(QStringLiteral("tempFonts"));
        QVERIFY(QDir().mkpath(images) && QDir().mkpath(fonts));
        BmpBytes::Spec top;
        top.width = 3;
        top.height = -2;
        top.pixels = BmpBytes::rows24({{0xFF0000, 0, 0}, {0, 0, 0xFF}});
        QVERIFY(BmpBytes::write(images + QStringLiteral("/100001_top.bmp"), BmpBytes::file(top)));
        QVERIFY(BmpBytes::write(images + QStringLiteral("/100002_empty.bmp"), QByteArray()));
        BmpBytes::Spec wide;
        wide.width = 65536;
        wide.bitsPerPixel = 1;
        wide.palette = {0, 0xFFFFFF};
        wide.pixels = QByteArray(8192, '\0');
        QVERIFY(BmpBytes::write(images + QStringLiteral("/100003_wide.bmp"), BmpBytes::file(wide)));
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("pipe")));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        QVERIFY(QFile::link(QString::fromLocal8Bit(fifo), images + QStringLiteral("/100004_fifo.bmp")));
        QVERIFY(QFile::link(QString::fromLocal8Bit(fifo), fonts + QStringLiteral("/C_16.bin")));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), fonts + QStringLiteral("/E_16.bin")));

        ProjectData p;
        p.frameW = 320;
        p.frameH = 240;
        PageData first;
        first.imageNum = 0;
        PageData second;
        second.imageNum = 1;
        p.pages = {first, second};
        const QString project = dir.filePath(QStringLiteral("t.Tavo"));
        QVERIFY(ProjectFile::write(project, p));

        const CliRun info = cli({QStringLiteral("info"), project});
        QCOMPARE(info.code, 0);
        QVERIFY(info.outText().contains(QLatin1String("pictures:    3")));
        for (const QString &name : {QStringLiteral("100004_fifo.bmp"), QStringLiteral("C_16.bin"), QStringLiteral("E_16.bin")})
            QVERIFY2(info.err.contains(QStringLiteral("%1不是普通文件，已跳过！").arg(name)), qPrintable(info.err));

        const CliRun script = cli({QStringLiteral("script"), project, QStringLiteral("--page"), QStringLiteral("0")});
        QCOMPARE(script.code, 0);
        QVERIFY(script.out.startsWith("PIC(0,0,0,3,2);"));

        const CliRun check = cli({QStringLiteral("check"), project});
        QCOMPARE(check.code, 1);
        QVERIFY2(check.err.contains(QStringLiteral("图片100002_empty.bmp（编号1）无法读取，第1页使用了该图片")),
                 qPrintable(check.err));
        QVERIFY2(check.err.contains(QStringLiteral("图片100003_wide.bmp（编号2）的尺寸65536x1过大")), qPrintable(check.err));
        QVERIFY(!check.err.contains(QLatin1String("100001_top.bmp")));

        const CliRun render = cli({QStringLiteral("render"), project, QStringLiteral("--page"), QStringLiteral("0"),
                                   QStringLiteral("-o"), dir.filePath(QStringLiteral("p.png"))});
        QCOMPARE(render.code, 0);
        QCOMPARE(QImage(dir.filePath(QStringLiteral("p.png"))).pixelColor(0, 0), QColor(255, 0, 0));

        for (const QString &mode : {QStringLiteral("--pictures-only"), QStringLiteral("--with-pictures")}) {
            const CliRun download = cli({QStringLiteral("download"), project, QStringLiteral("--port"),
                                         dir.filePath(QStringLiteral("no-port")), mode});
            QCOMPARE(download.code, 1);
            QVERIFY2(download.err.contains(QLatin1String("100002_empty.bmp")), qPrintable(download.err));
        }
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no project") << QStringList{QStringLiteral("info")};
        QTest::newRow("two modes") << QStringList{QStringLiteral("script"), demo, QStringLiteral("--boot"),
                                                  QStringLiteral("--all")};
        QTest::newRow("no mode") << QStringList{QStringLiteral("script"), demo};
        QTest::newRow("page missing") << QStringList{QStringLiteral("script"), demo, QStringLiteral("--page"),
                                                     QStringLiteral("3")};
        QTest::newRow("page not a number") << QStringList{QStringLiteral("script"), demo, QStringLiteral("--page"),
                                                          QStringLiteral("one")};
        QTest::newRow("page without value") << QStringList{QStringLiteral("script"), demo, QStringLiteral("--page")};
        QTest::newRow("bad limits") << QStringList{QStringLiteral("check"), demo, QStringLiteral("--limits"),
                                                   QStringLiteral("1,2")};
        QTest::newRow("missing file") << QStringList{QStringLiteral("check"), QStringLiteral("/nonexistent.Tavo")};
        QTest::newRow("unknown option") << QStringList{QStringLiteral("info"), demo, QStringLiteral("--xml")};
    }
    void usage()
    {
        QFETCH(QStringList, args);
        const CliRun r = cli(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY(!r.err.isEmpty());
    }

    void unreadableProject_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("info") << "info";
        QTest::newRow("script") << "script";
        QTest::newRow("check") << "check";
    }
    void unreadableProject()
    {
        QFETCH(QString, command);
        QStringList args{command, QStringLiteral(TAVO_TEST_DATA "/unknown_class.Tavo")};
        if (command == QLatin1String("script"))
            args << QStringLiteral("--page") << QStringLiteral("0");
        const CliRun r = cli(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QStringLiteral("加载控件错误，可能该项目之前未做保存操作，导入失败！")));
        QVERIFY2(r.err.contains(QStringLiteral("unknown_class.Tavo 第17行")), qPrintable(r.err));
        QVERIFY(r.err.contains(QLatin1String("QCheckBox")));
    }

    // check, script and download all refuse a text the module would misread, before sending.
    void unsafeTextRefused_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("quote ends a button text") << int(ControlKind::Button) << "a');RESET();('"
                                                 << "第0页QPushButton控件4的文本含有单引号";
        QTest::newRow("QR code injects a reset") << int(ControlKind::QRCode) << "a,1,1);RESET();QRCODE(1,1,b"
                                                << "第0页QRcode控件4的文本含有分号";
        QTest::newRow("empty number") << int(ControlKind::Number) << "" << "第0页QLabelNum控件4的数值为空";
    }
    void unsafeTextRefused()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QTemporaryDir dir;
        ControlRecord c = ControlRecord::make(ControlKind(kind), 4);
        c.text = text;
        const QString path = projectWith(dir, c);
        const CliRun check = cli({QStringLiteral("check"), path});
        QCOMPARE(check.code, 1);
        QVERIFY2(check.err.contains(message), qPrintable(check.err));
        const CliRun script = cli({QStringLiteral("script"), path, QStringLiteral("--page"), QStringLiteral("0")});
        QCOMPARE(script.code, 1);
        QVERIFY(script.out.isEmpty());
        const CliRun all = cli({QStringLiteral("script"), path, QStringLiteral("--all")});
        QCOMPARE(all.code, 1);
        QVERIFY(all.out.isEmpty());
        const CliRun download = cli({QStringLiteral("download"), path, QStringLiteral("--port"), QStringLiteral("virtual")});
        QCOMPARE(download.code, 1);
        QVERIFY2(download.err.contains(message), qPrintable(download.err));
    }

    void outOfRangeBootValuesRefused()
    {
        QTemporaryDir dir;
        ProjectData p;
        p.frameW = 320;
        p.frameH = 240;
        p.screenType = 77;
        p.blValue = 99999;
        p.pages.append(PageData());
        const QString path = dir.filePath(QStringLiteral("t.Tavo"));
        QVERIFY(ProjectFile::write(path, p));
        const QString message = QStringLiteral("屏幕方向77超出了0到3的范围，背光值99999超出了0到255的范围，请您重新设置！");
        const CliRun check = cli({QStringLiteral("check"), path});
        QCOMPARE(check.code, 1);
        QVERIFY2(check.err.contains(message), qPrintable(check.err));
        const CliRun download = cli({QStringLiteral("download"), path, QStringLiteral("--port"), QStringLiteral("virtual")});
        QCOMPARE(download.code, 1);
        QVERIFY2(download.err.contains(message), qPrintable(download.err));
    }

    // A wild animation range in a file names no picture: it reads as none instead of being
    // expanded frame by frame.
    void wildBootRange()
    {
        QTemporaryDir dir;
        const QString path = projectWith(dir, ControlRecord::make(ControlKind::Text, 0));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray xml = f.readAll();
        f.close();
        xml.replace("<logo1>-1</logo1>", "<logo1>0</logo1>").replace("<logo2>-1</logo2>", "<logo2>2000000000</logo2>");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(xml);
        f.close();
        const CliRun boot = cli({QStringLiteral("script"), path, QStringLiteral("--boot")});
        QCOMPARE(boot.code, 0);
        QCOMPARE(boot.out, QByteArray("DIR(0);BL(20);JUMP(0);\r\n"));
        const CliRun check = cli({QStringLiteral("check"), path});
        QCOMPARE(check.code, 0);
    }

    void noPages()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("empty.Tavo"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui><frame frame=\"frame\"/></ui>\n");
        f.close();
        const CliRun r = cli({QStringLiteral("check"), path});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("未添加页，请您先添加页！")));
        const CliRun boot = cli({QStringLiteral("script"), path, QStringLiteral("--all")});
        QCOMPARE(boot.code, 0);
        // No backlight in the file: the default a new project gets, as the window reads it.
        QCOMPARE(boot.out, QByteArray("DIR(0);BL(20);JUMP(0);\r\n"));
    }

    // Places near the ends of int: the check must not wrap, and both builds say the same.
    void controlsAtTheIntLimits_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("w");
        QTest::addColumn<bool>("warned");
        QTest::newRow("far right") << 2147483600 << 10 << 60 << true;
        QTest::newRow("last int") << 2147483647 << 10 << 1 << true;
        QTest::newRow("first int") << int(-2147483647 - 1) << 10 << 60 << true;
        QTest::newRow("far below") << 10 << 2147483600 << 60 << true;
        QTest::newRow("huge, reaching in") << 10 << 10 << 2147483647 << false;
    }

    void controlsAtTheIntLimits()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, w);
        QFETCH(bool, warned);
        QTemporaryDir dir;
        ControlRecord c = ControlRecord::make(ControlKind::Text, 3);
        c.x = x;
        c.y = y;
        c.w = w;
        c.h = 20;
        const QString path = projectWith(dir, c);
        QVERIFY(QFile(path).size() > 0);
        const CliRun r = cli({QStringLiteral("check"), path});
        QVERIFY2(r.err.contains(QStringLiteral("第0页控件3完全在页面之外")) == warned, qPrintable(r.err));
    }

    // The size a page's background is drawn at in the script is the size the download sends:
    // a PNG whose image data starts far into the file, an icon whose directory names another size.
    void pictureSizesAsSent()
    {
        QTemporaryDir dir;
        const QString images = dir.filePath(QStringLiteral("tempImages"));
        QVERIFY(QDir().mkpath(images));
        QByteArray png = pngOf(QSize(100, 40));
        const QByteArray text = QByteArray("tEXt") + "Comment" + '\0' + QByteArray(20000, 'x');
        png.insert(33, bigEndian(quint32(text.size() - 4)) + text + bigEndian(crc32Of(text)));
        QVERIFY(BmpBytes::write(images + QStringLiteral("/100001_late.bmp"), png));
        const QByteArray inner = pngOf(QSize(20, 20));
        QByteArray ico("\0\0\1\0\1\0", 6);
        ico += QByteArray("\x10\x10\0\0\1\0\x20\0", 8) + QByteArray(1, char(inner.size() & 0xFF)) +
               char(inner.size() >> 8) + QByteArray(2, '\0') + QByteArray("\x16\0\0\0", 4) + inner;
        QVERIFY(BmpBytes::write(images + QStringLiteral("/100002_icon.bmp"), ico));

        ProjectData p;
        p.frameW = 320;
        p.frameH = 240;
        PageData first, second;
        first.imageNum = 0;
        second.imageNum = 1;
        p.pages = {first, second};
        const QString project = dir.filePath(QStringLiteral("t.Tavo"));
        QVERIFY(ProjectFile::write(project, p));
        // What the download decodes and sends.
        QCOMPARE(QImage(images + QStringLiteral("/100001_late.bmp"), "PNG").size(), QSize(100, 40));
        const QImage icon(images + QStringLiteral("/100002_icon.bmp"), "ICO");
        const CliRun script = cli({QStringLiteral("script"), project, QStringLiteral("--all")});
        QCOMPARE(script.code, 0);
        QVERIFY2(script.out.contains("PIC(0,0,0,100,40);"), script.out.constData());
        if (!icon.isNull())
            QVERIFY2(script.out.contains(QStringLiteral("PIC(1,0,0,%1,%2);").arg(icon.width()).arg(icon.height()).toLatin1()),
                     script.out.constData());
    }

    void colourReported()
    {
        QTemporaryDir dir;
        ControlRecord c = ControlRecord::make(ControlKind::Text, 0);
        c.styleColorNum = 64;
        const CliRun r = cli({QStringLiteral("check"), projectWith(dir, c)});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("第0页QLabel控件0的颜色64")), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(TestCliProject)
#include "tst_cliproject.moc"
