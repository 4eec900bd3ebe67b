#include "cliutil.h"
#include "commands.h"

#include "library/picturereader.h"
#include "support/headless.h"

#include <QGuiApplication>
#include <QMap>

#include <functional>

namespace {

const char *kUsage =
    "usage: tavo-cli COMMAND [ARGS]\n"
    "\n"
    "  info PROJECT.Tavo [--json]\n"
    "  script PROJECT.Tavo (--page N | --boot | --all)\n"
    "  check PROJECT.Tavo [--limits CONTROLS,BYTES,TEXTBYTES]\n"
    "  pictures PROJECT.Tavo [--json] | --add FILE... | --remove N...\n"
    "  render PROJECT.Tavo --page N -o FILE.png [--design | --module]\n"
    "  download PROJECT.Tavo --port DEV [--with-pictures | --pictures-only | --fonts] [--baud N] [--log]\n"
    "           [--render DIR]\n"
    "  download PROJECT.Tavo --port DEV --port DEV... | --ports-found [--with-pictures | --pictures-only | --fonts]\n"
    "           [--baud N] [--json] [--watch] [--log FILE]\n"
    "  bindings PROJECT.Tavo (--c DIR | --python FILE) [--check] [--prefix P] [--chars FILE | --all-chars]\n"
    "  export-download PROJECT.Tavo --c DIR [--prefix P] [--pages | --with-pictures | --pictures-only]\n"
    "           [--pictures-from-reader] [--example]\n"
    "  set PROJECT.Tavo --page N [--control ID | --primitive INDEX] FIELD=VALUE...\n"
    "  send --port DEV TEXT\n"
    "  set-backlight --port DEV VALUE [PROJECT]\n"
    "  set-baud --port DEV RATE [PROJECT]\n"
    "  set-address --port DEV (--off | ADDRESS)\n"
    "  get-address --port DEV\n"
    "  find-module [--port DEV]\n"
    "\n"
    "DEV is a serial device path, or 'virtual' for a virtual module on a pseudo-terminal.\n"
    "Several --port (or --ports-found) download to every port at once; --watch keeps downloading to\n"
    "each module plugged in until Ctrl+C. A batch never writes the baud rate or backlight back to the\n"
    "project, as a single download does.\n";

}  // namespace

int main(int argc, char **argv)
{
    // Rendering needs a GUI application for fonts; no window is ever shown.
    prepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("tavo-cli"));

    const QMap<QString, std::function<int(const QStringList &)>> commands = {
        {QStringLiteral("info"), cmdInfo},
        {QStringLiteral("script"), cmdScript},
        {QStringLiteral("check"), cmdCheck},
        {QStringLiteral("render"), cmdRender},
        {QStringLiteral("pictures"), cmdPictures},
        {QStringLiteral("download"), cmdDownload},
        {QStringLiteral("export-download"), cmdExportDownload},
        {QStringLiteral("send"), cmdSend},
        {QStringLiteral("set-backlight"), cmdSetBacklight},
        {QStringLiteral("set-baud"), cmdSetBaud},
        {QStringLiteral("set-address"), cmdSetAddress},
        {QStringLiteral("get-address"), cmdGetAddress},
        {QStringLiteral("set"), cmdSet},
        {QStringLiteral("find-module"), cmdFindModule},
        {QStringLiteral("bindings"), cmdBindings},
    };

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        (args.isEmpty() ? err() : out()) << kUsage;
        return args.isEmpty() ? ExitUsage : ExitOk;
    }
    const QString name = args.takeFirst();
    const auto it = commands.find(name);
    if (it == commands.end()) {
        err() << kUsage;
        return fail(ExitUsage, QStringLiteral("unknown command '%1'").arg(name));
    }
    const int status = it.value()(args);
    // How often pictures were decoded, for the tests that hold each command to its share.
    if (qEnvironmentVariableIsSet("TAVO_COUNT_DECODES"))
        err() << "decoded: " << PictureReader::decodeCount() << Qt::endl;
    return status;
}
