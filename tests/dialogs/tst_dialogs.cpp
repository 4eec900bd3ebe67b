#include "dialogs/qmymessagebox.h"
#include "dialogs/qmyprogressbarmes.h"
#include "dialogs/version.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void buttonSets_data();
    void buttonSets();
    void checkBoxResetForEachDownloadQuestion();
    void unknownButtonSetKeepsPreviousButtons();
    void showDoesNotBlockAndReusesTheBox();
    void followUpFromAnswerStaysShown();
    void progress_data();
    void progress();
    void versionSurvivesLanguageChange();
};

static QPushButton *button(QWidget *w, const char *name)
{
    return w->findChild<QPushButton *>(QLatin1String(name));
}

void TestDialogs::answers_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QList<int>>("emitted");

    QTest::newRow("yes to save") << 2 << 7 << "btnOk" << QList<int>{7};
    QTest::newRow("no to save") << 2 << 7 << "btnCancel" << QList<int>{8};
    QTest::newRow("plain message emits nothing") << 0 << 0 << "btnCancel" << QList<int>{};
    QTest::newRow("acknowledged coded message") << 0 << 1 << "btnCancel" << QList<int>{2};
    QTest::newRow("ok of ok/cancel") << 1 << 13 << "btnOk" << QList<int>{13};
}

void TestDialogs::answers()
{
    QFETCH(int, buttons);
    QFETCH(int, code);
    QFETCH(QString, press);
    QFETCH(QList<int>, emitted);

    QMyMessageBox box;
    QSignalSpy spy(&box, &QMyMessageBox::s_sendIsNo);
    box.showMessage(0, buttons, code, QStringLiteral("问题"));
    QVERIFY(box.isVisible());
    QTest::mouseClick(button(&box, press.toLatin1().constData()), Qt::LeftButton);
    QList<int> got;
    for (const auto &args : spy)
        got << args.at(0).toInt();
    QCOMPARE(got, emitted);
    QVERIFY(!box.isVisible());
}

void TestDialogs::buttonSets_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("cancelText");
    QTest::addColumn<bool>("okShown");
    QTest::addColumn<QString>("okText");
    QTest::addColumn<bool>("checkShown");

    QTest::newRow("hint, one button") << 0 << 0 << "提示" << "确定" << false << QString() << false;
    QTest::newRow("warning, ok cancel") << 1 << 1 << "警告" << "取消" << true << "确定" << false;
    QTest::newRow("error, yes no") << 2 << 2 << "错误" << "否" << true << "是" << false;
    QTest::newRow("download question") << 1 << 3 << "警告" << "否" << true << "是" << true;
    QTest::newRow("unknown type reads as hint") << 9 << 0 << "提示" << "确定" << false << QString() << false;
}

void TestDialogs::buttonSets()
{
    QFETCH(int, type);
    QFETCH(int, buttons);
    QFETCH(QString, title);
    QFETCH(QString, cancelText);
    QFETCH(bool, okShown);
    QFETCH(QString, okText);
    QFETCH(bool, checkShown);

    QMyMessageBox box;
    box.showMessage(type, buttons, 0, QStringLiteral("x"));
    QCOMPARE(box.title(), title);
    QCOMPARE(box.message(), QStringLiteral("x"));
    QVERIFY(button(&box, "btnCancel")->isVisible());
    QCOMPARE(button(&box, "btnCancel")->text(), cancelText);
    QCOMPARE(button(&box, "btnOk")->isVisible(), okShown);
    if (okShown)
        QCOMPARE(button(&box, "btnOk")->text(), okText);
    QCOMPARE(box.findChild<QCheckBox *>(QStringLiteral("checkBoxDown"))->isVisible(), checkShown);
}

void TestDialogs::checkBoxResetForEachDownloadQuestion()
{
    QMyMessageBox box;
    box.showMessage(1, 3, 11, QStringLiteral("下载？"));
    auto *check = box.findChild<QCheckBox *>(QStringLiteral("checkBoxDown"));
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    QVERIFY(box.downloadResourcesChecked());
    QSignalSpy spy(&box, &QMyMessageBox::s_sendIsNo);
    QTest::mouseClick(button(&box, "btnOk"), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 11);
    // The handler reads the box after the answer, so the state survives hiding.
    QVERIFY(box.downloadResourcesChecked());

    box.showMessage(1, 3, 11, QStringLiteral("再次下载？"));
    QVERIFY(!box.downloadResourcesChecked());
    QCOMPARE(check->text(), QStringLiteral("同时下载资源"));
}

void TestDialogs::unknownButtonSetKeepsPreviousButtons()
{
    QMyMessageBox box;
    box.showMessage(0, 2, 0, QStringLiteral("a"));
    box.showMessage(0, 7, 0, QStringLiteral("b"));
    QVERIFY(button(&box, "btnOk")->isVisible());
    QCOMPARE(button(&box, "btnOk")->text(), QStringLiteral("是"));
}

void TestDialogs::showDoesNotBlockAndReusesTheBox()
{
    QMyMessageBox box;
    QSignalSpy spy(&box, &QMyMessageBox::s_sendIsNo);
    box.showMessage(0, 2, 1, QStringLiteral("是否删除当前页？"));
    // A second message replaces the first one on the same box.
    box.showMessage(0, 2, 13, QStringLiteral("退出软件前是否保存当前项目？"));
    QCOMPARE(box.message(), QStringLiteral("退出软件前是否保存当前项目？"));
    QTest::mouseClick(button(&box, "btnCancel"), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 14);
}

void TestDialogs::followUpFromAnswerStaysShown()
{
    // The answer handler may put the next message on the same box.
    QMyMessageBox box;
    connect(&box, &QMyMessageBox::s_sendIsNo, &box, [&box](int code) {
        if (code == 7)
            box.showMessage(1, 0, 0, QStringLiteral("路径错误，保存失败！"));
    });
    box.showMessage(0, 2, 7, QStringLiteral("是否保存当前项目？"));
    QTest::mouseClick(button(&box, "btnOk"), Qt::LeftButton);
    QVERIFY(box.isVisible());
    QCOMPARE(box.message(), QStringLiteral("路径错误，保存失败！"));
    QCOMPARE(box.code(), 0);
}

void TestDialogs::progress_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("done");
    QTest::addColumn<QString>("buttonText");
    QTest::addColumn<bool>("shown");

    QTest::newRow("finished") << 10 << 10 << "完成" << true;
    QTest::newRow("running") << 10 << 3 << "关闭" << false;
}

void TestDialogs::progress()
{
    QFETCH(int, total);
    QFETCH(int, done);
    QFETCH(QString, buttonText);
    QFETCH(bool, shown);

    QMyProgressBarMes dlg;
    QVERIFY(!dlg.isVisible());
    dlg.setProgressTitle(QStringLiteral("图片下载进度"));
    dlg.setProgress(total, done);
    QCOMPARE(dlg.closeButton()->text(), buttonText);
    QCOMPARE(dlg.isVisible(), shown);
    QCOMPARE(dlg.progressBar()->maximum(), total);
    QCOMPARE(dlg.progressBar()->value(), done);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("图片下载进度"));

    dlg.startProgress();
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.closeButton()->text(), QStringLiteral("关闭"));
    QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
}

void TestDialogs::versionSurvivesLanguageChange()
{
    Version v;
    QCOMPARE(v.shownVersion(), QStringLiteral("V1.0.37"));
    QCOMPARE(v.windowTitle(), QStringLiteral("版本信息"));
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&v, &change);
    QCOMPARE(v.shownVersion(), QStringLiteral("V1.0.37"));
    v.show();
    QTest::mouseClick(v.findChild<QPushButton *>(QStringLiteral("btnClose")), Qt::LeftButton);
    QVERIFY(!v.isVisible());
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
