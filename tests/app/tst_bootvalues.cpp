#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "script/moduletext.h"
#include "script/scripts.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "tavocli.h"

// The window and tavo-cli read the boot values of one file alike: same defaults, same ranges.
class TestBootValues : public QObject {
    Q_OBJECT
private slots:
    void windowAndCliAgree_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray size = "<frameW>240</frameW><frameH>320</frameH><screenType>1</screenType>";
        QTest::newRow("no backlight value") << size + "<currentPage>0</currentPage>" << 1
                                           << QByteArray("DIR(1);BL(20);JUMP(0);\r\n");
        QTest::newRow("animation values beyond the spin boxes")
            << size + "<blValue>7</blValue><logo1>0</logo1><logo2>1</logo2><logox>-5</logox>"
                      "<logoy>1000000000</logoy><logow>-1</logow><logoh>3</logoh><logotime>2000000000</logotime>"
            << 1
            << QByteArray("DIR(1);BL(7);GIF(0,0,999999999,0,3);DELAYMS(999999999);"
                          "GIF(1,0,999999999,0,3);DELAYMS(999999999);JUMP(0);\r\n");
        QTest::newRow("boot page equal to the page count") << size + "<blValue>0</blValue><currentPage>2</currentPage>"
                                                           << 2 << QByteArray("DIR(1);BL(0);JUMP(0);\r\n");
        QTest::newRow("boot page of the last page") << size + "<blValue>0</blValue><currentPage>1</currentPage>" << 2
                                                    << QByteArray("DIR(1);BL(0);JUMP(1);\r\n");
    }
    void windowAndCliAgree()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, pages);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("tempImages"))));
        for (int i = 0; i < 2; ++i) {
            QImage img(4, 3, QImage::Format_RGB32);
            img.fill(Qt::blue);
            QVERIFY(img.save(dir.filePath(QStringLiteral("tempImages/%1_p.bmp").arg(100001 + i))));
        }
        QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui>\n<frame frame=\"frame\">" + frame + "</frame>\n";
        for (int i = 0; i < pages; ++i)
            xml += QStringLiteral("<page id=\"%1\"><pageBackgroundNum pageBackgroundNum=\"15\"/></page>\n")
                       .arg(i + 1)
                       .toUtf8();
        xml += "</ui>\n";
        const QString path = dir.filePath(QStringLiteral("p.Tavo"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(xml);
        f.close();

        const CliRun cli = runTavoCli({QStringLiteral("script"), path, QStringLiteral("--boot")});
        QVERIFY2(cli.code == 0, qPrintable(cli.err));
        QCOMPARE(cli.out, expected);

        App::projectPath() = path;
        {
            MainWindow w;
            QCOMPARE(w.pageCount(), pages);
            QCOMPARE(ModuleText::encode(buildBootScript(w.bootSettings())), expected);
        }
        App::projectPath().clear();
    }

    // A backlight value carried over from the project open before must not reach the next one.
    void backlightIsNotCarriedOver()
    {
        QTemporaryDir dir;
        const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui><frame frame=\"frame\">"
                                "<frameW>240</frameW><frameH>320</frameH>";
        const QByteArray tail = "</frame><page id=\"1\"/></ui>\n";
        const QString first = dir.filePath(QStringLiteral("a/a.Tavo")), second = dir.filePath(QStringLiteral("b/b.Tavo"));
        for (const auto &file : {qMakePair(first, head + "<blValue>99</blValue>" + tail), qMakePair(second, head + tail)}) {
            QVERIFY(QDir().mkpath(QFileInfo(file.first).path()));
            QFile f(file.first);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(file.second);
        }
        App::projectPath() = first;
        MainWindow w;
        QCOMPARE(w.bootSettings().backlight, 99);
        App::projectPath() = second;
        QVERIFY(w.loadProject());
        QCOMPARE(w.bootSettings().backlight, 20);
        App::projectPath().clear();
    }

    void init()
    {
        m_oldCwd = QDir::currentPath();
        QDir::setCurrent(m_cwd.path());
        App::programPath() = QStringLiteral("/opt/tavo/tavo");
    }
    void cleanup() { QDir::setCurrent(m_oldCwd); }

private:
    QTemporaryDir m_cwd;
    QString m_oldCwd;
};

QTEST_MAIN(TestBootValues)
#include "tst_bootvalues.moc"
