#include "file/projectfile.h"
#include "library/picturefiles.h"
#include "picturereferencesproject.h"
#include "tavocli.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

// What tavo-cli does with what other programs left or hold beside a project: notes, locks,
// removals in progress and copies cut short, hostile or not.
class TestCliPictureLock : public QObject {
    Q_OBJECT
private slots:
    void init();
    void craftedNoteTouchesNothingOutside();
    void concurrentAddsKeepEveryPicture();
    void nonRegularFilesNeverHangTheOpening_data();
    void nonRegularFilesNeverHangTheOpening();
    void hugeNoteIsIgnored();
    void leftoversOfKilledProgramsAreSettled();

private:
    QString folder() const { return m_dir->path() + QStringLiteral("/p"); }
    QString file() const { return folder() + QStringLiteral("/p.Tavo"); }
    QString images() const { return folder() + QStringLiteral("/tempImages"); }
    QString backup() const { return folder() + QStringLiteral("/backUpImages"); }
    QStringList pictures() const { return QDir(images()).entryList(QDir::Files, QDir::Name); }
    // The note a window killed with unsaved picture changes leaves, as the program writes it.
    void leaveNote() const;
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

QByteArray bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

const QStringList Saved{QStringLiteral("100001_a.bmp"), QStringLiteral("100002_b.bmp"), QStringLiteral("100003_c.bmp")};

}  // namespace

void TestCliPictureLock::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(images()));
    QVERIFY(QDir().mkpath(backup()));
    for (int n = 0; n < Saved.size(); ++n) {
        QImage img(QSize(4 + n, 3), QImage::Format_RGB32);
        img.fill(QColor(80 * n, 0, 0));
        QVERIFY(img.save(images() + QLatin1Char('/') + Saved.at(n)));
        QVERIFY(QFile::copy(images() + QLatin1Char('/') + Saved.at(n), backup() + QLatin1Char('/') + Saved.at(n)));
    }
    QVERIFY(ProjectFile::write(file(), projectNamingEachPicture(3)));
}

void TestCliPictureLock::leaveNote() const
{
    QVERIFY(PictureFiles::noteUnsavedPictures(file()));
    PictureFiles::leaveUnsavedNote(file());
}

void TestCliPictureLock::craftedNoteTouchesNothingOutside()
{
    const QString outside = m_dir->path() + QStringLiteral("/outside");
    QVERIFY(QDir().mkpath(outside));
    QVERIFY(writeBytes(outside + QStringLiteral("/keep.txt"), "theirs"));
    const QDateTime keepTime = QFileInfo(outside + QStringLiteral("/keep.txt")).lastModified();
    QVERIFY(QDir().mkpath(backup() + QStringLiteral("/evil")));
    QVERIFY(writeBytes(backup() + QStringLiteral("/evil/victim.txt"), "planted"));
    leaveNote();
    // The note's last entry now names a path through a link in the picture folder.
    QByteArray note = bytes(folder() + QStringLiteral("/tempImages.unsaved"));
    const QByteArray entry = '\t' + QByteArray("100003_c.bmp") + '\n';
    const int at = note.indexOf(entry);
    QVERIFY(at > 0);
    const int lineStart = note.lastIndexOf('\n', at) + 1;
    note.replace(lineStart, at + entry.size() - lineStart, "7\tevil%2Fvictim.txt\n");
    QVERIFY(writeBytes(folder() + QStringLiteral("/tempImages.unsaved"), note));
    QVERIFY(QFile::link(outside, images() + QStringLiteral("/evil")));
    QVERIFY(QFile::remove(images() + QStringLiteral("/100002_b.bmp")));

    const CliRun r = runTavoCli({QStringLiteral("info"), file()});
    QCOMPARE(r.code, 0);
    QCOMPARE(QDir(outside).entryList(QDir::Files), QStringList{QStringLiteral("keep.txt")});
    QCOMPARE(bytes(outside + QStringLiteral("/keep.txt")), QByteArray("theirs"));
    QCOMPARE(QFileInfo(outside + QStringLiteral("/keep.txt")).lastModified(), keepTime);
    QVERIFY2(r.err.contains(QStringLiteral("tempImages.unsaved")), qPrintable(r.err));
    // A note that cannot be trusted changes nothing at all.
    QCOMPARE(pictures(), (QStringList{QStringLiteral("100001_a.bmp"), QStringLiteral("100003_c.bmp")}));
    QVERIFY(QFileInfo::exists(folder() + QStringLiteral("/tempImages.unsaved")));
}

void TestCliPictureLock::concurrentAddsKeepEveryPicture()
{
    QStringList sources;
    for (int n = 0; n < 2; ++n) {
        sources << m_dir->path() + QStringLiteral("/new%1.bmp").arg(n);
        QImage img(QSize(7 + n, 5), QImage::Format_RGB32);
        img.fill(n ? Qt::green : Qt::blue);
        QVERIFY(img.save(sources.last()));
    }
    const QString tavoCli = QStringLiteral(TAVO_BIN_DIR "/tavo-cli");
    for (int round = 0; round < 20; ++round) {
        QProcess runs[2];
        for (int n = 0; n < 2; ++n)
            runs[n].start(tavoCli, {QStringLiteral("pictures"), file(), QStringLiteral("--add"), sources.at(n)});
        QSet<QString> numbers;
        for (int n = 0; n < 2; ++n) {
            QVERIFY(runs[n].waitForFinished(60000));
            const QString said = QString::fromUtf8(runs[n].readAllStandardOutput());
            QVERIFY2(runs[n].exitCode() == 0, qPrintable(said + runs[n].readAllStandardError()));
            QVERIFY2(said.startsWith(QStringLiteral("added ")) && !said.startsWith(QStringLiteral("added -")), qPrintable(said));
            const QString name = said.section(QLatin1Char('\t'), 1).trimmed();
            numbers << said.section(QLatin1Char('\t'), 0, 0);
            QCOMPARE(bytes(images() + QLatin1Char('/') + name), bytes(sources.at(n)));
        }
        QCOMPARE(numbers.size(), 2);
        QCOMPARE(pictures().size(), 3 + 2 * (round + 1));
    }
}

void TestCliPictureLock::nonRegularFilesNeverHangTheOpening_data()
{
    QTest::addColumn<QString>("fifo");
    QTest::addColumn<bool>("withNote");
    QTest::newRow("lock") << "tempImages.lock" << true;
    QTest::newRow("note") << "tempImages.unsaved" << false;
    QTest::newRow("note's old lock") << "tempImages.unsaved.lock" << true;
    QTest::newRow("removal's old lock") << "tempImages.removing.lock" << false;
    QTest::newRow("removal's note") << "tempImages.removing/.project" << false;
}

void TestCliPictureLock::nonRegularFilesNeverHangTheOpening()
{
    QFETCH(QString, fifo);
    QFETCH(bool, withNote);
    if (withNote)
        leaveNote();
    QVERIFY(QDir().mkpath(QFileInfo(folder() + QLatin1Char('/') + fifo).absolutePath()));
    QFile::remove(folder() + QLatin1Char('/') + fifo);
    QVERIFY(::mkfifo(QFile::encodeName(folder() + QLatin1Char('/') + fifo).constData(), 0600) == 0);

    const CliRun r = runTavoCli({QStringLiteral("info"), file()}, 20000);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(pictures(), Saved);
    // Without a lock that works nothing is changed.
    if (fifo == QLatin1String("tempImages.lock")) {
        const CliRun add = runTavoCli({QStringLiteral("pictures"), file(), QStringLiteral("--add"),
                                       images() + QStringLiteral("/100001_a.bmp")}, 20000);
        QCOMPARE(add.code, 1);
        QVERIFY2(add.err.contains(QStringLiteral("not a regular file")), qPrintable(add.err));
        QCOMPARE(pictures(), Saved);
    }
}

void TestCliPictureLock::hugeNoteIsIgnored()
{
    const QString note = folder() + QStringLiteral("/tempImages.unsaved");
    QVERIFY(writeBytes(note, "tavo unsaved pictures 2\n"));
    // Sparse: it costs no disk, only whoever reads it all.
    QVERIFY(QFile::resize(note, qint64(3) << 30));
    const CliRun r = runTavoCli({QStringLiteral("info"), file()}, 60000);
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.contains(QStringLiteral("tempImages.unsaved")), qPrintable(r.err));
    QCOMPARE(QFileInfo(note).size(), qint64(3) << 30);
    QCOMPARE(pictures(), Saved);
}

void TestCliPictureLock::leftoversOfKilledProgramsAreSettled()
{
    // A removal cut short before the project file was written: the picture comes back even
    // though the old lock beside it names a live process (this one) of its own program.
    const QString aside = folder() + QStringLiteral("/tempImages.removing");
    QVERIFY(QDir().mkpath(aside));
    QVERIFY(QFile::rename(images() + QStringLiteral("/100002_b.bmp"), aside + QStringLiteral("/100002_b.bmp")));
    QFile project(file());
    QVERIFY(project.open(QIODevice::ReadOnly));
    QVERIFY(writeBytes(aside + QStringLiteral("/.project"), QCryptographicHash::hash(project.readAll(), QCryptographicHash::Sha256).toHex()));
    const QByteArray liveLock = QByteArray::number(qint64(::getpid())) + '\n'
        + QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n'
        + QSysInfo::machineHostName().toUtf8() + '\n';
    QVERIFY(writeBytes(folder() + QStringLiteral("/tempImages.removing.lock"), liveLock));
    // A copy of the backup cut short, and the picture folder renamed away by a swap cut short.
    QVERIFY(QDir().mkpath(backup() + QStringLiteral(".new")));
    QVERIFY(writeBytes(backup() + QStringLiteral(".new/100001_a.bmp"), "half"));

    const CliRun r = runTavoCli({QStringLiteral("info"), file()});
    QCOMPARE(r.code, 0);
    QCOMPARE(pictures(), Saved);
    QVERIFY(!QFileInfo::exists(aside));
    QVERIFY(!QFileInfo::exists(backup() + QStringLiteral(".new")));
    QVERIFY(!QFileInfo::exists(folder() + QStringLiteral("/tempImages.removing.lock")));

    QVERIFY(QDir().rename(images(), images() + QStringLiteral(".old")));
    QCOMPARE(runTavoCli({QStringLiteral("info"), file()}).code, 0);
    QCOMPARE(pictures(), Saved);
    QVERIFY(!QFileInfo::exists(images() + QStringLiteral(".old")));
}

QTEST_GUILESS_MAIN(TestCliPictureLock)
#include "tst_clipicturelock.moc"
