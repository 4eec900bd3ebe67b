#include "modulefinder.h"
#include "ptydevice.h"

#include <QSignalSpy>
#include <QtTest>

// The finder on a port where nothing answers.
class TestModuleFinder : public QObject {
    Q_OBJECT
private slots:
    void silentPortIsTriedAtEveryRate();
};

// Every rate of the list is tried, the last one too, before the finder says nothing was found.
void TestModuleFinder::silentPortIsTriedAtEveryRate()
{
    PtyDevice pty;
    QVERIFY(pty.openPty());
    ModuleFinder finder;
    QSignalSpy trying(&finder, &ModuleFinder::s_trying);
    QSignalSpy notFound(&finder, &ModuleFinder::s_notFound);
    QSignalSpy found(&finder, &ModuleFinder::s_found);
    finder.start({pty.slavePath()});
    QVERIFY(notFound.wait(7 * ModuleFinder::AnswerWaitMs + 10000));
    QList<int> rates;
    for (const QList<QVariant> &call : trying) {
        QCOMPARE(call.at(0).toString(), pty.slavePath());
        rates << call.at(1).toInt();
    }
    QCOMPARE(rates, (QList<int>{9600, 19200, 38400, 115200, 460800, 921600, 1000000}));
    QCOMPARE(found.size(), 0);
    QCOMPARE(notFound.size(), 1);
    QVERIFY(!finder.isRunning());
}

QTEST_GUILESS_MAIN(TestModuleFinder)
#include "tst_modulefinder.moc"
