#include "dialogs/commandexamples.h"
#include "dialogs/qmyitemmodel.h"
#include "dialogs/qmymessagebox.h"
#include "dialogs/qmyslider.h"
#include "dialogs/sysdlg.h"
#include "download/transferestimate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QValidator>
#include <QtTest>

// The display settings dialog, its slider, the console's examples and the progress figures.
class TestDeviceDialogs : public QObject {
    Q_OBJECT
private slots:
    void sliderShowsBacklightInverted()
    {
        SysDlg dlg;
        dlg.showFor(QStringLiteral("38400"), 20);
        QCOMPARE(dlg.horizontalSliderScreen()->value(), 235);
        QCOMPARE(dlg.labScreenValue()->text(), QStringLiteral("92%"));
        QCOMPARE(dlg.cbBuad()->currentText(), QStringLiteral("38400"));
        QCOMPARE(dlg.cbBuad()->count(), 4);
        dlg.horizontalSliderScreen()->setValue(255);
        QCOMPARE(dlg.labScreenValue()->text(), QStringLiteral("100%"));
        dlg.horizontalSliderScreen()->setValue(0);
        QCOMPARE(dlg.labScreenValue()->text(), QStringLiteral("0%"));
    }

    void clickJumpsToThePoint()
    {
        QCOMPARE(QMySlider::valueAt(0, 255, 110, 221), 126);
        QCOMPARE(QMySlider::valueAt(0, 255, 0, 221), 0);
        QCOMPARE(QMySlider::valueAt(0, 255, 221, 221), 255);
        QMySlider slider(Qt::Horizontal);
        slider.setRange(0, 255);
        slider.resize(221, 22);
        slider.show();
        QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(110, 11));
        QCOMPARE(slider.value(), 126);
    }

    void requestsCarryTheirCommands()
    {
        SysDlg dlg;
        dlg.showFor(QStringLiteral("115200"), 20);
        QSignalSpy sent(&dlg, &SysDlg::s_sendMes);
        dlg.cbBuad()->setCurrentText(QStringLiteral("9600"));
        dlg.on_btnBaud_clicked();
        dlg.horizontalSliderScreen()->setValue(55);
        dlg.on_btnScreenValue_clicked();
        QCOMPARE(sent.size(), 2);
        QCOMPARE(sent.at(0), (QList<QVariant>{5, QStringLiteral("ADDR(0);BPS(9600);")}));
        QCOMPARE(sent.at(1), (QList<QVariant>{4, QStringLiteral("ADDR(0);BL(200);")}));
        // Requested, not yet confirmed.
        QCOMPARE(dlg.requestedBaud(), QStringLiteral("9600"));
        QCOMPARE(dlg.confirmedBaud(), QStringLiteral("115200"));
        QCOMPARE(dlg.requestedBacklight(), 200);
        QCOMPARE(dlg.confirmedBacklight(), 20);
    }

    void addressValidator_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        for (const char *ok : {"0", "9", "05", "99", "100", "199", "200", "249", "250", "255"})
            QTest::newRow(ok) << QString::fromLatin1(ok) << true;
        for (const char *bad : {"256", "260", "300", "1000", "005", "-1", "a", "1a"})
            QTest::newRow(bad) << QString::fromLatin1(bad) << false;
    }
    void addressValidator()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        SysDlg dlg;
        int pos = 0;
        QCOMPARE(dlg.editAddr()->validator()->validate(text, pos) == QValidator::Acceptable, accepted);
    }

    void writeAddress()
    {
        SysDlg dlg;
        QSignalSpy sent(&dlg, &SysDlg::s_sendMes);
        QVERIFY(!dlg.editAddr()->isEnabled());
        dlg.checkBoxAddr()->setChecked(true);
        dlg.on_checkBoxAddr_clicked(true);
        QVERIFY(dlg.editAddr()->isEnabled());
        // Enabled with no address: only the message.
        dlg.on_btnWrite485_clicked();
        QCOMPARE(sent.size(), 0);
        QVERIFY(dlg.messageBox()->isVisible());
        QCOMPARE(dlg.messageBox()->message(), QStringLiteral("请您输入地址！"));
        dlg.editAddr()->setText(QStringLiteral("17"));
        dlg.on_btnWrite485_clicked();
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0), (QList<QVariant>{6, QStringLiteral("write_flash(2002944,2);")}));
        QCOMPARE(dlg.addressEnabled(), 1);
        QCOMPARE(dlg.addressText(), QStringLiteral("17"));
        // Disabled: the flag is 0 whatever the field holds.
        dlg.checkBoxAddr()->setChecked(false);
        dlg.on_btnWrite485_clicked();
        QCOMPARE(dlg.addressEnabled(), 0);

        dlg.slotRecv485(1, 7);
        QVERIFY(dlg.checkBoxAddr()->isChecked());
        QVERIFY(dlg.editAddr()->isEnabled());
        QCOMPARE(dlg.editAddr()->text(), QStringLiteral("7"));
        dlg.slotRecv485(0, 7);
        QVERIFY(!dlg.checkBoxAddr()->isChecked());
        QVERIFY(!dlg.editAddr()->isEnabled());
        QVERIFY(dlg.editAddr()->text().isEmpty());
    }

    void consoleExamples()
    {
        QMyItemModel model;
        const QStringList instructions = CommandExamples::fill(&model);
        QCOMPARE(instructions.size(), 46);
        QCOMPARE(model.rowCount(), 46);
        QCOMPARE(instructions.first(), QStringLiteral("BL(20);"));
        QCOMPARE(instructions.at(6), QStringLiteral("BPS(115200);"));
        QCOMPARE(instructions.at(7), QStringLiteral("BTN(80,80,32,16,'按钮',1,0,1,4);"));
        QCOMPARE(instructions.at(37), QStringLiteral("SET_TXT(2,'关闭');"));
        QCOMPARE(instructions.last(), QStringLiteral("ADDR(1);"));
        for (int i = 0; i < 46; ++i) {
            const QString shown = model.index(i, 0).data().toString();
            QVERIFY2(shown.startsWith(instructions.at(i) + QStringLiteral("//")), qPrintable(shown));
        }
        QCOMPARE(model.index(0, 0).data().toString(),
                 QStringLiteral("BL(20);//调整背光的亮度到20 范围：0为最亮 255为最暗"));
        // Shaded odd rows, read-only rows.
        QVERIFY(!model.index(0, 0).data(Qt::BackgroundRole).isValid());
        QCOMPARE(model.index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(240, 240, 240));
        QVERIFY(model.setData(model.index(2, 0), QStringLiteral("X")));
        QVERIFY(model.index(2, 0).data().toString().startsWith(QStringLiteral("BOXF(")));
        QVERIFY(!(model.flags(model.index(2, 0)) & Qt::ItemIsEditable));
        // Filling again replaces, never appends.
        CommandExamples::fill(&model);
        QCOMPARE(model.rowCount(), 46);
    }

    void transferEstimate_data()
    {
        QTest::addColumn<qint64>("done");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("elapsed");
        QTest::addColumn<qint64>("baud");
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("measured");
        QTest::addColumn<qint64>("msLeft");
        QTest::addColumn<double>("rate");
        // Too early to measure: the rest at the line's 11520 bytes a second.
        QTest::newRow("start") << qint64(0) << qint64(115200) << qint64(0) << qint64(115200) << 0 << false << qint64(10000)
                               << 11520.0;
        QTest::newRow("early") << qint64(1000) << qint64(11520 + 1000) << qint64(100) << qint64(115200) << 7 << false
                               << qint64(1000) << 11520.0;
        // Measured: 2000 bytes in 1 s, 6000 to go.
        QTest::newRow("measured") << qint64(2000) << qint64(8000) << qint64(1000) << qint64(115200) << 25 << true
                                  << qint64(3000) << 2000.0;
        QTest::newRow("done") << qint64(8000) << qint64(8000) << qint64(4000) << qint64(9600) << 100 << true << qint64(0)
                              << 2000.0;
        QTest::newRow("over") << qint64(9000) << qint64(8000) << qint64(4000) << qint64(9600) << 100 << true << qint64(0)
                              << 2000.0;
        // Over in a fifth of a second: what the line really carried, not its nominal speed.
        QTest::newRow("sub-second, done") << qint64(8000) << qint64(8000) << qint64(200) << qint64(115200) << 100 << true
                                          << qint64(0) << 40000.0;
        QTest::newRow("sub-second, not done") << qint64(4000) << qint64(8000) << qint64(200) << qint64(115200) << 50
                                              << false << qint64(348) << 11520.0;
    }
    void transferEstimate()
    {
        QFETCH(qint64, done);
        QFETCH(qint64, total);
        QFETCH(qint64, elapsed);
        QFETCH(qint64, baud);
        QFETCH(int, percent);
        QFETCH(bool, measured);
        QFETCH(qint64, msLeft);
        QFETCH(double, rate);
        const TransferEstimate e = Transfer::estimate(done, total, elapsed, baud);
        QCOMPARE(e.percent, percent);
        QCOMPARE(e.measured, measured);
        QCOMPARE(e.msLeft, msLeft);
        QCOMPARE(e.bytesPerSecond, rate);
    }

    void transferTexts()
    {
        QCOMPARE(Transfer::formatDuration(0), QStringLiteral("0:00"));
        QCOMPARE(Transfer::formatDuration(42001), QStringLiteral("0:43"));
        QCOMPARE(Transfer::formatDuration(3723000), QStringLiteral("1:02:03"));
        QCOMPARE(Transfer::formatBytes(300), QStringLiteral("300 B"));
        QCOMPARE(Transfer::formatBytes(1536), QStringLiteral("1.5 KB"));
        QCOMPARE(Transfer::formatBytes(3 * 1024 * 1024 / 2), QStringLiteral("1.5 MB"));
        // 11 MiB at 115200 baud: over 16 minutes on the wire.
        QCOMPARE(Transfer::wireMs(11534336, 115200), qint64(1001245));
        QCOMPARE(Transfer::wireMs(11520, 115200), qint64(1000));
        QCOMPARE(Transfer::wireMs(1, 0), qint64(0));
        const TransferEstimate e = Transfer::estimate(2000, 8000, 1000, 115200);
        QCOMPARE(Transfer::describe(e), QStringLiteral("2.0 KB / 7.8 KB · 2.0 KB/s · 剩余 0:03"));
    }
};

QTEST_MAIN(TestDeviceDialogs)
#include "tst_devicedialogs.moc"
