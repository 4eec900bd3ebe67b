#include "cliutil.h"
#include "commands.h"

int cmdScript(const QStringList &)
{
    return fail(ExitUsage, QStringLiteral("'script' is not available yet"));
}
