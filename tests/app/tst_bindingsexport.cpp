// The window's firmware bindings: export as chosen, the choice kept per project, and the notice
// once an edit moved numbers under the exported bindings.
#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "app/setscreensizedlg.h"
#include "bindings/bindings.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/bindingsdlg.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QUndoStack>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

class TestBindingsExport : public QObject {
    Q_OBJECT
private slots:
    void exportThenEditThatMovesNumbers()
    {
        QTemporaryDir dir;
        const QString oldCwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
        // Settings go to the portable file here, never to the user's own.
        QDir().mkpath(QStringLiteral("config"));
        QFile ini(QStringLiteral("config/system.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.close();
        App::projectPath().clear();
        {
            MainWindow w;
            const QString file = dir.filePath(QStringLiteral("plant.Tavo"));
            w.setFileChooser([file](MainWindow::FileDialog) { return file; });
            w.setScreenSizeRunner([&w]() {
                SetScreenSizeDlg *d = w.screenSizeDlg();
                d->rbPorTrait_0->setChecked(true);
                d->cbVGA->setCurrentText(QStringLiteral("240*320(QVGA-1)"));
                d->on_btnOK_clicked();
                return true;
            });
            w.show();
            w.on_btnNewPro_clicked();
            QVERIFY(App::isProjectOpen());
            w.canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 20));
            w.canvas()->addControl(QStringLiteral("QPushButton"), QPoint(80, 120));

            // The dialog starts from the project's folder and name; Python keeps the C folder apart.
            BindingsDlg dlg(BindingsChoice{false, dir.filePath(QStringLiteral("fw")), dir.filePath(QStringLiteral("p.py")),
                                           QStringLiteral("plant"), false});
            dlg.rbPython->setChecked(true);
            QCOMPARE(dlg.editPath->text(), dir.filePath(QStringLiteral("p.py")));
            dlg.rbC->setChecked(true);
            QCOMPARE(dlg.editPath->text(), dir.filePath(QStringLiteral("fw")));
            QVERIFY(w.writeBindings(dlg.choice()));
            QFile h(dir.filePath(QStringLiteral("fw/plant.h")));
            QVERIFY(h.open(QIODevice::ReadOnly));
            QVERIFY(h.readAll().contains("#define PLANT_PAGE0_BUTTON1 1"));
            QVERIFY(QFile::exists(dir.filePath(QStringLiteral("fw/plant.c"))));

            // An edit that keeps every name and number says nothing; deleting the text moves the button.
            QMyWidget *text = w.pageTable()->pageControls(w.currentPage()).first();
            text->move(text->pos() + QPoint(5, 5));
            w.history()->checkpoint();  // what a user's mouse or key release does
            auto *notice = w.statusBar()->findChild<QLabel *>(QStringLiteral("labBindingsNotice"));
            QVERIFY(notice && notice->isHidden());
            w.canvas()->setSelectedControl(text);
            text->setSelected(true);
            w.canvas()->deleteSelection();
            w.history()->checkpoint();
            QVERIFY(!notice->isHidden());
            QCOMPARE(notice->text(), QStringLiteral("控件编号已改变，固件接口需要重新导出"));
            // Undone, the numbers are those exported again.
            w.history()->stack()->undo();
            QVERIFY(notice->isHidden());
        }
        App::projectPath().clear();
        QDir::setCurrent(oldCwd);
    }
};

QTEST_MAIN(TestBindingsExport)
#include "tst_bindingsexport.moc"
