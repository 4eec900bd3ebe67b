#include "appglobals.h"
#include "desktopintegration.h"
#include "support/headless.h"
#include "mainwindow.h"
#include "systemsettings.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 always scales and uses high-density pixmaps.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    ensureRuntimeFolder();
    QApplication app(argc, argv);

    App::programPath() = argc > 0 ? QString::fromLocal8Bit(argv[0]) : QString();
    App::projectPath() = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    SystemSettings settings;
    App::switchTranslator(settings.languagePath());

    // Here rather than in the window, so that windows built by tests never touch the desktop.
    DesktopIntegration::registerAtStart();

    MainWindow w;
    w.setWindowIcon(QIcon(QStringLiteral(":/images/tavo.svg")));
    w.restoreLayout(settings.settings());
    QObject::connect(&w, &MainWindow::s_closing, &w, [&w, &settings] { w.saveLayout(settings.settings()); });
    w.show();
    return app.exec();
}
