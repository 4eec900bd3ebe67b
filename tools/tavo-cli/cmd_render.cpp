#include "cliutil.h"
#include "commands.h"

int cmdRender(const QStringList &)
{
    return fail(ExitUsage, QStringLiteral("'render' is not available yet"));
}
