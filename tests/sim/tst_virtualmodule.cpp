#include "ptydevice.h"
#include "virtualmodule.h"

#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray be16(int v) { return QByteArray(1, char((v >> 8) & 0xFF)) + char(v & 0xFF); }

// A picture header naming pictures of the given sizes, with the pixel length it claims.
QByteArray header(const QVector<QSize> &sizes)
{
    qint64 total = 0;
    QByteArray sides;
    for (const QSize &s : sizes) {
        total += qint64(s.width()) * s.height() * 2;
        sides += be16(s.width()) + be16(s.height());
    }
    const quint32 t = quint32(total);
    return be16(int(t >> 16)) + be16(int(t & 0xFFFF)) + be16(sizes.size()) + sides;
}

// A virtual module on a pty, fed from the host's side of it.
struct Peer {
    PtyDevice pty;
    VirtualModule module;
    int host = -1;

    bool open(const QSize &screen, int flashMiB = 11)
    {
        ModuleSettings settings;
        settings.screen = screen;
        settings.flashMiB = flashMiB;
        module.setSettings(settings);
        if (!pty.openPty())
            return false;
        module.attach(&pty);
        host = ::open(QFile::encodeName(pty.slavePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        return host >= 0;
    }
    ~Peer()
    {
        if (host >= 0)
            ::close(host);
    }
    // Writes in the pace the pty takes, letting the module read (and dropping its answers).
    bool send(const QByteArray &bytes)
    {
        QElapsedTimer clock;
        clock.start();
        qint64 done = 0;
        char sink[4096];
        while (done < bytes.size() && clock.elapsed() < 30000) {
            const ssize_t n = ::write(host, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            while (::read(host, sink, sizeof sink) > 0) {
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return done == bytes.size();
    }
    // Writes bytes and collects what the module answers until it has sent `until` or waitMs pass.
    QByteArray exchange(const QByteArray &bytes, const QByteArray &until, int waitMs = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        qint64 done = 0;
        QByteArray answers;
        char buf[4096];
        while (clock.elapsed() < waitMs) {
            if (done < bytes.size()) {
                const ssize_t n = ::write(host, bytes.constData() + done, size_t(bytes.size() - done));
                if (n > 0)
                    done += n;
            }
            ssize_t n;
            while ((n = ::read(host, buf, sizeof buf)) > 0)
                answers.append(buf, int(n));
            if (done == bytes.size() && !until.isEmpty() && answers.endsWith(until))
                break;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return answers;
    }
    // The picture header and pixel blocks, each announced as a download announces it.
    bool sendPictures(const QByteArray &head, const QByteArray &pixels)
    {
        return send("FS_HEAD(" + QByteArray::number(head.size()) + ");\r\n" + head) &&
               send("SR_DLOAD(2," + QByteArray::number(pixels.size()) + ");\r\n" + pixels);
    }
};

}  // namespace

class TestVirtualModule : public QObject {
    Q_OBJECT
private slots:
    void picturesBoundedByBytes_data();
    void picturesBoundedByBytes();
    void picturesKeepTheirPixels();
    void pixelBlockTicksPerErasedAndWrittenBytes();
    void storageBoundedByFlash();
};

void TestVirtualModule::picturesBoundedByBytes_data()
{
    QTest::addColumn<QVector<QSize>>("named");
    QTest::addColumn<int>("pixelBytes");
    QTest::addColumn<QVector<QSize>>("built");
    // A picture is built only when all its bytes arrived.
    QTest::newRow("one huge picture, one row of bytes")
        << QVector<QSize>{QSize(65535, 65535)} << 8 << QVector<QSize>{QSize(0, 0)};
    QTest::newRow("large picture, two rows and a bit")
        << QVector<QSize>{QSize(2000, 2000)} << 2 * 4000 + 2 << QVector<QSize>{QSize(0, 0)};
    QTest::newRow("no bytes at all") << QVector<QSize>{QSize(1000, 1000), QSize(5, 5)} << 0
                                     << QVector<QSize>{QSize(0, 0), QSize(0, 0)};
    QTest::newRow("many huge pictures") << QVector<QSize>(2000, QSize(65535, 65535)) << 65535 * 2 * 2
                                        << QVector<QSize>(2000, QSize(0, 0));
    QTest::newRow("complete, taller than the screen") << QVector<QSize>{QSize(4, 1000), QSize(3, 3)} << 4 * 2 * 1000
                                                      << QVector<QSize>{QSize(4, 1000), QSize(0, 0)};
}

// What the module builds from a hostile header, sent through a pty as a download sends it, stays
// within the bytes received, and a page showing such a picture still draws.
void TestVirtualModule::picturesBoundedByBytes()
{
    QFETCH(QVector<QSize>, named);
    QFETCH(int, pixelBytes);
    QFETCH(QVector<QSize>, built);
    Peer peer;
    QVERIFY(peer.open(QSize(320, 240)));
    const QByteArray head = header(named);
    QVERIFY(peer.sendPictures(head, QByteArray(pixelBytes, '\x11')));
    QTRY_COMPARE(peer.module.pictureHeader().size(), head.size());
    QTRY_COMPARE(peer.module.pixelData().size(), pixelBytes);

    const QVector<QImage> pictures = peer.module.pictures();
    QCOMPARE(pictures.size(), built.size());
    for (int i = 0; i < built.size(); ++i)
        QCOMPARE(pictures.at(i).size(), built.at(i));

    // A page showing the first picture at the size the header names is drawn at the screen's size
    // (in either orientation).
    const QByteArray page = QStringLiteral("PIC(0,0,0,%1,%2);\r\n").arg(named.at(0).width()).arg(named.at(0).height()).toLatin1();
    QVERIFY(peer.send("PG_DLOAD(0," + QByteArray::number(page.size()) + ");\r\n" + page));
    QTRY_VERIFY(peer.module.pageScripts().contains(0));
    const QSize shown = peer.module.renderPage(0).size();
    QVERIFY2(shown == QSize(320, 240) || shown == QSize(240, 320), qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
}

void TestVirtualModule::picturesKeepTheirPixels()
{
    Peer peer;
    QVERIFY(peer.open(QSize(320, 240)));
    // Two pictures: 2 x 1 red and green, then 1 x 2 blue over white.
    const QByteArray pixels = QByteArray::fromHex("F80007E0" "001FFFFF");
    QVERIFY(peer.sendPictures(header({QSize(2, 1), QSize(1, 2)}), pixels));
    QTRY_COMPARE(peer.module.pixelData(), pixels);
    const QVector<QImage> pictures = peer.module.pictures();
    QCOMPARE(pictures.size(), 2);
    QCOMPARE(pictures.at(0).pixelColor(1, 0), QColor(0, 252, 0));
    QCOMPARE(pictures.at(1).size(), QSize(1, 2));
    QCOMPARE(pictures.at(1).pixelColor(0, 0), QColor(0, 0, 248));
    QCOMPARE(pictures.at(1).pixelColor(0, 1), QColor(248, 252, 248));
}

// One erase tick per 4,096 bytes stored, one write tick per 8,192, before the block's OK.
void TestVirtualModule::pixelBlockTicksPerErasedAndWrittenBytes()
{
    Peer peer;
    QVERIFY(peer.open(QSize(320, 240)));
    const QByteArray answers = peer.exchange("SR_DLOAD(2,8192);\r\n" + QByteArray(8192, '\x22'), "eeoOK");
    QCOMPARE(answers, QByteArray("OKeeoOK"));
}

// Pages, pictures and scripts share the flash: a block that would not fit beside what is stored
// gets no answer and a note, and is not kept; one replacing a stored page counts only once.
void TestVirtualModule::storageBoundedByFlash()
{
    Peer peer;
    QVERIFY(peer.open(QSize(320, 240), 2));
    QStringList notes;
    QObject::connect(&peer.module, &VirtualModule::noted, [&](const QString &n) { notes << n; });
    const QByteArray page(1536 * 1024, ' ');
    QCOMPARE(peer.exchange("PG_DLOAD(0,1572864);\r\n" + page, "OKOK"), QByteArray("OKOK"));
    QCOMPARE(peer.exchange("PG_DLOAD(0,1572864);\r\n" + page, "OKOK"), QByteArray("OKOK"));

    QCOMPARE(peer.exchange("PG_DLOAD(1,1048576);\r\n", QByteArray(), 300), QByteArray());
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes.at(0).contains(QStringLiteral("1048576")), qPrintable(notes.at(0)));
    QCOMPARE(peer.exchange("SR_DLOAD(2,1048576);\r\n", QByteArray(), 300), QByteArray());
    QCOMPARE(peer.module.pageScripts().keys(), QList<int>{0});
    // What still fits is taken.
    QCOMPARE(peer.exchange("PG_DLOAD(1,7);\r\nCLR(0);", "OKOK"), QByteArray("OKOK"));
    QCOMPARE(peer.module.pageScripts().keys(), (QList<int>{0, 1}));
}

QTEST_GUILESS_MAIN(TestVirtualModule)
#include "tst_virtualmodule.moc"
