#include "download/downloadcheck.h"
#include "script/moduletext.h"
#include "script/scripts.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

PictureLibrary pictures(int count)
{
    PictureLibrary lib;
    for (int i = 0; i < count; ++i)
        lib.append(PictureInfo{QStringLiteral("/p%1.bmp").arg(i), QSize(10 + i, 20 + i), 0});
    return lib;
}

DownloadJob animationJob(int first, int last, int pictureCount)
{
    DownloadJob job;
    job.direction = 1;
    job.backlight = 20;
    job.gifFirst = first;
    job.gifLast = last;
    job.gifX = 10;
    job.gifY = 20;
    job.gifW = 50;
    job.gifH = 40;
    job.gifIntervalMs = 100;
    job.pictures = pictures(pictureCount);
    return job;
}

PageData pageWith(const ControlRecord &c)
{
    PageData p;
    p.controls.append(c);
    return p;
}

}  // namespace

class TestDownloadCheck : public QObject {
    Q_OBJECT
private slots:
    void animationRange_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("refused");
        // With 5 pictures.
        QTest::newRow("inside") << 0 << 4 << false;
        QTest::newRow("last at count") << 0 << 5 << true;
        QTest::newRow("first at count") << 5 << 2 << true;
        QTest::newRow("only first set") << 9 << -1 << false;
        QTest::newRow("only last set") << -1 << 9 << false;
        QTest::newRow("reversed") << 3 << 1 << false;
        QTest::newRow("negative start") << -7 << 2 << true;
        QTest::newRow("wild") << 0 << 2000000000 << true;
    }
    void animationRange()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, refused);
        const QString m = DownloadCheck::bootAnimationMessage(animationJob(first, last, 5));
        QCOMPARE(!m.isEmpty(), refused);
        if (refused)
            QCOMPARE(m, QStringLiteral("开机动画设置的ID已超过总图片的数目，请您重新设置！"));
    }

    // The counted boot length is the length of the script that is built.
    void bootBytesMatchScript_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("none") << -1 << -1;
        QTest::newRow("one") << 3 << 3;
        QTest::newRow("across 10") << 7 << 12;
        QTest::newRow("across 100") << 95 << 140;
        QTest::newRow("reversed") << 5 << 2;
        QTest::newRow("negatives") << -12 << 3;
    }
    void bootBytesMatchScript()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        DownloadJob job = animationJob(first, last, 0);
        job.gifX = -3;
        job.bootPage = 12;
        QCOMPARE(DownloadCheck::bootScriptBytes(job), qint64(ModuleText::byteCount(buildBootScript(job))));
    }

    void bootSizeWithoutBuilding()
    {
        // Counting a range of two billion frames must not build it.
        const DownloadJob job = animationJob(0, 2000000000, 0);
        QVERIFY(DownloadCheck::bootScriptBytes(job) > DownloadCheck::MaxScriptBytes);
        QCOMPARE(DownloadCheck::bootSizeMessage(job), QStringLiteral("BOOT指令字节数超过了2040000000字节，请您重新调整！"));
        const DownloadJob small = animationJob(0, 2, 0);
        const qint64 n = DownloadCheck::bootScriptBytes(small);
        QVERIFY(DownloadCheck::bootSizeMessage(small, n).isEmpty());  // exactly at the limit passes
        QVERIFY(!DownloadCheck::bootSizeMessage(small, n - 1).isEmpty());
    }

    void pageSizes()
    {
        QVector<PageData> pages(3);
        pages[1].controls.append(ControlRecord::make(ControlKind::Text, 0));
        pages[2].controls.append(ControlRecord::make(ControlKind::Text, 0));
        pages[2].controls[0].text = QStringLiteral("中文中文");
        const PictureLibrary lib = pictures(1);
        // Page 0 is "CLR(15);\r\n": 10 bytes. Page 1 adds the text control.
        const qint64 page1 = 10 + ModuleText::byteCount(
                                      QStringLiteral("TXT(0,0,60,30,16,'文本',0,0,0,0,7,0);"));
        const qint64 page2 = page1 + 4;  // four more GBK bytes
        QCOMPARE(DownloadCheck::pageSizeMessage(pages, lib, page2), QString());
        QCOMPARE(DownloadCheck::pageSizeMessage(pages, lib, page2 - 1),
                 QStringLiteral("第2页指令字节数超过了%1字节，请您重新调整！").arg(page2 - 1));
        QCOMPARE(DownloadCheck::pageSizeMessage(pages, lib, 10),
                 QStringLiteral("第1、2页指令字节数超过了10字节，请您重新调整！"));
        QCOMPARE(DownloadCheck::pageSizeMessage(pages, lib, page1),
                 QStringLiteral("第2页指令字节数超过了%1字节，请您重新调整！").arg(page1));
    }

    void unsafeTexts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("quote in text") << int(ControlKind::Text) << "it's" << "第1页QLabel控件3的文本含有单引号，请您修改！";
        QTest::newRow("quote in button") << int(ControlKind::Button) << "'" << "第1页QPushButton控件3的文本含有单引号，请您修改！";
        QTest::newRow("line feed") << int(ControlKind::QRCode) << "a\nb" << "第1页QRcode控件3的文本含有换行符，请您修改！";
        QTest::newRow("carriage return") << int(ControlKind::Number) << "1\r" << "第1页QLabelNum控件3的文本含有换行符，请您修改！";
        QTest::newRow("outside GBK") << int(ControlKind::Text) << "\U0001F600" << "第1页QLabel控件3的文本含有显示屏不支持的字符，请您修改！";
        QTest::newRow("number with a bracket") << int(ControlKind::Number) << "1);RESET(" << "第1页QLabelNum控件3的数值格式不对，请您修改！";
        QTest::newRow("number with a comma") << int(ControlKind::Number) << "1,5" << "第1页QLabelNum控件3的数值格式不对，请您修改！";
        QTest::newRow("number signed fraction") << int(ControlKind::Number) << "-1.5000" << "";
        QTest::newRow("progress sends a number") << int(ControlKind::Progress) << "5\n'" << "";
        QTest::newRow("pointer sends no text") << int(ControlKind::Pointer) << "\U0001F600\r" << "";
        QTest::newRow("quote in QR code") << int(ControlKind::QRCode) << "it's" << "";
        QTest::newRow("QR code injecting an instruction") << int(ControlKind::QRCode) << "a,1,1);RESET();QRCODE(1,1,b"
                                                        << "第1页QRcode控件3的文本含有分号，请您修改！";
        QTest::newRow("QR code with commas and brackets") << int(ControlKind::QRCode) << "WIFI:S(a,b),\"c\")" << "";
        QTest::newRow("semicolon in quoted text") << int(ControlKind::Text) << "a;b" << "";
        QTest::newRow("empty number") << int(ControlKind::Number) << "" << "第1页QLabelNum控件3的数值为空，请您修改！";
        QTest::newRow("number point alone") << int(ControlKind::Number) << "." << "第1页QLabelNum控件3的数值为空，请您修改！";
        QTest::newRow("number ending in a point") << int(ControlKind::Number) << "12." << "";
        QTest::newRow("number with two points") << int(ControlKind::Number) << "1.2.3" << "";
        QTest::newRow("minus alone") << int(ControlKind::Number) << "-" << "";
        QTest::newRow("plain") << int(ControlKind::Text) << "好的 ok" << "";
    }
    void unsafeTexts()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, message);
        ControlRecord c = ControlRecord::make(ControlKind(kind), 3);
        c.text = text;
        QVector<PageData> pages = {PageData(), pageWith(c)};
        QCOMPARE(DownloadCheck::unsafeTextMessage(pages), message);
        // The script builder refuses the same page rather than sending it.
        QString script = QStringLiteral("untouched");
        QCOMPARE(buildPageScript(pages[1], 1, PictureLibrary(), &script), message.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(script, QStringLiteral("untouched"));
    }

    void bootValues_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("backlight");
        QTest::addColumn<QString>("message");
        QTest::newRow("lowest") << 0 << 0 << "";
        QTest::newRow("highest") << 3 << 255 << "";
        QTest::newRow("backlight 256") << 0 << 256 << "背光值256超出了0到255的范围，请您重新设置！";
        QTest::newRow("backlight -1") << 0 << -1 << "背光值-1超出了0到255的范围，请您重新设置！";
        QTest::newRow("direction 4") << 4 << 20 << "屏幕方向4超出了0到3的范围，请您重新设置！";
        QTest::newRow("both") << 77 << 99999
                              << "屏幕方向77超出了0到3的范围，背光值99999超出了0到255的范围，请您重新设置！";
    }
    void bootValues()
    {
        QFETCH(int, direction);
        QFETCH(int, backlight);
        QFETCH(QString, message);
        DownloadJob job;
        job.direction = direction;
        job.backlight = backlight;
        QCOMPARE(DownloadCheck::bootValuesMessage(job), message);
        QCOMPARE(DownloadCheck::firstMessage(job), message);
    }

    // The editor's question about one text gives the same judgement without a page or control.
    void oneTextAlone_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("QR semicolon") << int(ControlKind::QRCode) << "x;y" << "文本含有分号，请您修改！";
        QTest::newRow("QR line break") << int(ControlKind::QRCode) << "x\r\ny" << "文本含有换行符，请您修改！";
        QTest::newRow("QR fine") << int(ControlKind::QRCode) << "https://a.b/?q=(1,'2')" << "";
        QTest::newRow("empty number") << int(ControlKind::Number) << "" << "数值不能为空，请您修改！";
        QTest::newRow("text quote") << int(ControlKind::Button) << "'" << "文本含有单引号，请您修改！";
    }
    void oneTextAlone()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QCOMPARE(controlTextProblem(ControlKind(kind), text), message);
    }

    // A button showing a picture sends an empty text, whatever its own text holds.
    void buttonWithPictureSendsNoText()
    {
        ControlRecord c = ControlRecord::make(ControlKind::Button, 0);
        c.text = QStringLiteral("it's");
        c.cutImageNum = 0;
        const QVector<PageData> pages = {pageWith(c)};
        QCOMPARE(DownloadCheck::unsafeTextMessage(pages), QString());
        QString script;
        QVERIFY(buildPageScript(pages[0], 0, PictureLibrary(), &script));
        QVERIFY2(script.contains(QLatin1String("BUTTON(0,0,60,30,16,'',0,0,65,")), qPrintable(script));
    }

    void colourNumbers()
    {
        QVector<PageData> pages(2);
        QVERIFY(DownloadCheck::colorNumberMessage(pages).isEmpty());
        pages[0].backgroundNum = 64;
        ControlRecord button = ControlRecord::make(ControlKind::Button, 2);
        button.pressColorNum = -1;
        pages[1].controls.append(button);
        ControlRecord qr = ControlRecord::make(ControlKind::QRCode, 0);
        qr.backgroundColorNum = 99;  // not sent for a QR code
        pages[1].controls.append(qr);
        QMyDrawType d;
        d.setDrawType(QMyDrawType::Point);
        d.setColorNum(200);
        pages[1].primitives.append(d);
        QCOMPARE(DownloadCheck::colorNumberMessage(pages),
                 QStringLiteral("第0页背景颜色64、第1页QPushButton控件2的颜色-1、第1页第0个图形的颜色200"
                                "超出了颜色编号0到63的范围，请您重新设置！"));
        // A page showing a picture sends no background colour.
        pages[0].imageNum = 0;
        QVERIFY(!DownloadCheck::colorNumberMessage(pages).contains(QStringLiteral("背景")));
    }

    // Pictures that may not be downloaded are named with the pages that use them; a page
    // download names only those its pages use, a picture download looks at nothing else.
    void pictureProblems()
    {
        PictureLibrary lib;
        lib.append(PictureInfo{QStringLiteral("/x/100001_ok.bmp"), QSize(4, 4), 0});
        lib.append(PictureInfo{QStringLiteral("/x/100002_bad.bmp"), QSize(0, 0), 0, PictureState::Unreadable});
        lib.append(PictureInfo{QStringLiteral("/x/100003_wide.bmp"), QSize(70000, 10), 0, PictureState::TooLarge});
        lib.append(PictureInfo{QStringLiteral("/x/100004_big.bmp"), QSize(9000, 9000), 0, PictureState::TooLarge});
        DownloadJob job;
        job.pictures = lib;
        PageData first;
        first.imageNum = 1;
        ControlRecord button = ControlRecord::make(ControlKind::Button, 0);
        button.pressCutImageNum = 2;
        PageData second = pageWith(button);
        PageData third;
        third.imageNum = 1;
        ControlRecord unsafe = ControlRecord::make(ControlKind::Text, 0);
        unsafe.text = QStringLiteral("'");
        job.pages = {first, second, third, pageWith(unsafe)};

        const QString bad = QStringLiteral("图片100002_bad.bmp（编号1）无法读取，第0、2页使用了该图片，请您删除或重新导入该图片！");
        const QString wide = QStringLiteral(
            "图片100003_wide.bmp（编号2）的尺寸70000x10过大，每边不能超过65535像素，第1页使用了该图片，请您删除或缩小该图片！");
        const QString big = QStringLiteral(
            "图片100004_big.bmp（编号3）的尺寸9000x9000过大，像素总数不能超过67108864，请您删除或缩小该图片！");
        job.mode = DownloadMode::PicturesAndPages;
        QStringList all = DownloadCheck::allMessages(job);
        QCOMPARE(all.mid(0, 3), (QStringList{bad, wide, big}));
        QCOMPARE(all.size(), 4);  // and the unsafe text
        job.mode = DownloadMode::PagesOnly;
        all = DownloadCheck::allMessages(job);
        QCOMPARE(all.mid(0, 2), (QStringList{bad, wide}));
        QCOMPARE(all.size(), 3);
        job.mode = DownloadMode::Pictures;
        QCOMPARE(DownloadCheck::allMessages(job), (QStringList{bad, wide, big}));
        job.pages.clear();
        QCOMPARE(DownloadCheck::firstMessage(job),
                 QStringLiteral("图片100002_bad.bmp（编号1）无法读取，请您删除或重新导入该图片！"));
    }

    void allInOrder()
    {
        DownloadJob job = animationJob(0, 9, 2);
        ControlRecord c = ControlRecord::make(ControlKind::Text, 0);
        c.text = QStringLiteral("'");
        c.fontColorNum = 70;
        job.pages = {pageWith(c)};
        const QStringList all = DownloadCheck::allMessages(job);
        QCOMPARE(all.size(), 3);
        QVERIFY(all[0].startsWith(QStringLiteral("开机动画")));
        QVERIFY(all[1].contains(QStringLiteral("单引号")));
        QVERIFY(all[2].contains(QLatin1String("70")));
        QCOMPARE(DownloadCheck::firstMessage(job), all[0]);
        job.gifLast = 1;
        job.pages[0].controls[0].text = QStringLiteral("ok");
        job.pages[0].controls[0].fontColorNum = 0;
        QVERIFY(DownloadCheck::allMessages(job).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDownloadCheck)
#include "tst_downloadcheck.moc"
