#include "cliutil.h"
#include "commands.h"

static int notYet(const char *name) { return fail(ExitUsage, QStringLiteral("'%1' is not available yet").arg(QLatin1String(name))); }

int cmdSend(const QStringList &) { return notYet("send"); }
int cmdSetBacklight(const QStringList &) { return notYet("set-backlight"); }
int cmdSetBaud(const QStringList &) { return notYet("set-baud"); }
int cmdSetAddress(const QStringList &) { return notYet("set-address"); }
int cmdGetAddress(const QStringList &) { return notYet("get-address"); }
