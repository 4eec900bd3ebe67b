#include "download/downloadblocks.h"
#include "download/downloadcheck.h"
#include "download/downloadjob.h"
#include "download/downloadsteps.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestDownloadBlocks : public QObject {
    Q_OBJECT
private slots:
    void headerOfTwoPictures()
    {
        QTemporaryDir dir;
        QImage a(2, 1, QImage::Format_RGB32);
        a.fill(Qt::black);
        QImage b(1, 1, QImage::Format_RGB32);
        b.fill(Qt::black);
        QVERIFY(a.save(dir.filePath(QStringLiteral("a.bmp"))));
        QVERIFY(b.save(dir.filePath(QStringLiteral("b.bmp"))));
        const PictureLibrary lib =
            PictureLibrary::fromPaths({dir.filePath(QStringLiteral("a.bmp")), dir.filePath(QStringLiteral("b.bmp"))});
        QCOMPARE(DownloadBlocks::pictureHeader(lib), QByteArray::fromHex("0000000600020002000100010001"));
        QCOMPARE(DownloadBlocks::pixelData(lib).size(), 6);
    }

    void pixels_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("white") << QColor(255, 255, 255) << QByteArray::fromHex("FFFF");
        QTest::newRow("red") << QColor(255, 0, 0) << QByteArray::fromHex("F800");
        QTest::newRow("green") << QColor(0, 255, 0) << QByteArray::fromHex("07E0");
        QTest::newRow("blue") << QColor(0, 0, 255) << QByteArray::fromHex("001F");
        QTest::newRow("low bits dropped") << QColor(7, 3, 7) << QByteArray::fromHex("0000");
        QTest::newRow("transparent red keeps its colour") << QColor(255, 0, 0, 0) << QByteArray::fromHex("F800");
    }
    void pixels()
    {
        QFETCH(QColor, color);
        QFETCH(QByteArray, bytes);
        QImage img(1, 1, QImage::Format_ARGB32);
        img.setPixel(0, 0, color.rgba());
        QByteArray out;
        DownloadBlocks::appendPixels(&out, img, QSize(1, 1));
        QCOMPARE(out, bytes);
    }

    void rowsFromTheTopLeft()
    {
        QImage img(2, 2, QImage::Format_RGB32);
        img.setPixel(0, 0, qRgb(255, 0, 0));
        img.setPixel(1, 0, qRgb(0, 255, 0));
        img.setPixel(0, 1, qRgb(0, 0, 255));
        img.setPixel(1, 1, qRgb(255, 255, 255));
        QByteArray out;
        DownloadBlocks::appendPixels(&out, img, img.size());
        QCOMPARE(out, QByteArray::fromHex("F80007E0001FFFFF"));
    }

    void changedFileKeepsTheRecordedSize()
    {
        // The header announced 3 x 2; a file that is now 2 x 1 is padded with black.
        QImage img(2, 1, QImage::Format_RGB32);
        img.fill(Qt::white);
        QByteArray out;
        DownloadBlocks::appendPixels(&out, img, QSize(3, 2));
        QCOMPARE(out, QByteArray::fromHex("FFFFFFFF0000" "000000000000"));
        out.clear();
        DownloadBlocks::appendPixels(&out, QImage(), QSize(1, 1));
        QCOMPARE(out, QByteArray(2, '\0'));
    }

    void fontImages_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<int>("small");
        QTest::addColumn<int>("large");
        QTest::newRow("no files") << QString() << 0 << 1909488 << 2744640;
        QTest::newRow("short C_16 is not padded") << QStringLiteral("C_16.bin") << 100 << 100 + 1647792 << 2744640;
        QTest::newRow("short E_48 is padded") << QStringLiteral("E_48.bin") << 100 << 1909488 << 2744640;
        QTest::newRow("long E_48 is sent whole") << QStringLiteral("E_48.bin") << 40000 << 1909488
                                                  << 2744640 - 32256 + 40000;
        QTest::newRow("base name up to the first dot") << QStringLiteral("E_16.v2.bin") << 10 << 1909488 - 1520 + 10
                                                        << 2744640;
    }
    void fontImages()
    {
        QFETCH(QString, file);
        QFETCH(int, fileSize);
        QFETCH(int, small);
        QFETCH(int, large);
        QTemporaryDir dir;
        QStringList fonts;
        if (!file.isEmpty()) {
            QFile f(dir.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(fileSize, 'a'));
            fonts << f.fileName();
        }
        const QByteArray s = DownloadBlocks::smallFontImage(fonts);
        const QByteArray l = DownloadBlocks::largeFontImage(fonts);
        QCOMPARE(s.size(), small);
        QCOMPARE(l.size(), large);
        if (file.startsWith(QLatin1String("E_48")) && fileSize < 32256) {
            QCOMPARE(l.left(fileSize), QByteArray(fileSize, 'a'));
            QCOMPARE(l.at(fileSize), char(0xFF));
            QCOMPARE(l.at(32256), char(0xFF));
        }
        if (file.isEmpty())
            QCOMPARE(s.count(char(0xFF)), small);
    }

    // Block sizes are counted in 64 bits: a block past what is ever built is refused, not wrapped.
    void blockSizesIn64Bits()
    {
        QByteArray out("ab");
        QVERIFY(!DownloadBlocks::appendPixels(&out, QImage(), QSize(40000, 40000)));
        QCOMPARE(out, QByteArray("ab"));
        PictureLibrary lib;
        for (int i = 0; i < 17; ++i)
            lib.append(PictureInfo{QStringLiteral("/nowhere/%1_x.bmp").arg(100001 + i), QSize(8192, 8192), 0});
        QCOMPARE(lib.totalBytes(), Q_INT64_C(2281701376));
        QVERIFY(DownloadBlocks::pixelData(lib).isEmpty());
        // The header still tells the module the sizes it would be sent.
        QCOMPARE(DownloadBlocks::pictureHeader(lib).left(8), QByteArray::fromHex("880000000011" "2000"));
    }

    // Pictures that no module could store are refused from their headers, before any is decoded.
    void libraryBeyondAnyFlashRefusedFromHeaders()
    {
        QTemporaryDir dir;
        const QString images = dir.filePath(QStringLiteral("tempImages"));
        QVERIFY(QDir().mkpath(images));
        QImage bomb(8192, 8192, QImage::Format_Mono);
        bomb.fill(0);
        // Small PNG files named as BMPs, as a hostile folder would hold them.
        const QString first = images + QStringLiteral("/100001_big.bmp");
        QVERIFY(bomb.save(first, "PNG"));
        for (int i = 1; i < 17; ++i)
            QVERIFY(QFile::copy(first, images + QStringLiteral("/%1_big.bmp").arg(100001 + i)));
        ProjectData project;
        project.pages.resize(1);
        const int before = PictureReader::decodeCount();
        const DownloadJob job = jobFromProject(project, dir.path(), DownloadMode::PicturesAndPages);
        QCOMPARE(PictureReader::decodeCount(), before);
        QCOMPARE(job.pictures.count(), 17);
        QCOMPARE(job.pictures.at(16).size, QSize(8192, 8192));
        QCOMPARE(DownloadCheck::firstMessage(job), QStringLiteral("下载失败，下载图片的bin文件总大小超过11M！"));
        QVERIFY(!job.pixelsReady);
        // A job started without the check stops before a byte is sent.
        DownloadSteps steps([] { return qint64(0); });
        steps.start(job);
        for (const StepOutput &o : steps.takeOutput())
            QVERIFY(o.kind != StepOutput::Write);
        QCOMPARE(PictureReader::decodeCount(), before);
    }

    // A download decodes each picture once: for its verdict and its pixels together.
    void eachPictureDecodedOnceForADownload()
    {
        QTemporaryDir dir;
        const QString images = dir.filePath(QStringLiteral("tempImages"));
        QVERIFY(QDir().mkpath(images));
        const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
        for (int i = 0; i < 3; ++i) {
            QImage img(2, 1, QImage::Format_RGB32);
            img.fill(colours[i]);
            QVERIFY(img.save(images + QStringLiteral("/%1_p.bmp").arg(100001 + i)));
        }
        ProjectData project;
        project.pages.resize(1);
        const int before = PictureReader::decodeCount();
        const DownloadJob job = jobFromProject(project, dir.path(), DownloadMode::PicturesAndPages);
        QCOMPARE(PictureReader::decodeCount(), before + 3);
        QVERIFY(job.pixelsReady);
        QCOMPARE(job.pixelBlock, QByteArray::fromHex("F800F800" "07E007E0" "001F001F"));
        QVERIFY(DownloadCheck::firstMessage(job).isEmpty());
        QVERIFY(wireByteCount(job) > job.pixelBlock.size());
        QCOMPARE(PictureReader::decodeCount(), before + 3);
        // Scripts need sizes only.
        const DownloadJob headers = jobFromProject(project, dir.path(), DownloadMode::PagesOnly, JobPictures::Headers);
        QCOMPARE(headers.pictures.sizeOf(2), QSize(2, 1));
        QCOMPARE(PictureReader::decodeCount(), before + 3);
    }

    void firstFileOfANameWins()
    {
        const QStringList fonts = {QStringLiteral("/x/C_16.bin"), QStringLiteral("/y/C_16.bin")};
        QCOMPARE(DownloadBlocks::fontFileFor(fonts, QStringLiteral("C_16")), fonts.first());
        QCOMPARE(DownloadBlocks::fontFileFor(fonts, QStringLiteral("C_1")), QString());
    }
};

QTEST_GUILESS_MAIN(TestDownloadBlocks)
#include "tst_downloadblocks.moc"
