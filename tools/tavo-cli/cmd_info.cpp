#include "cliutil.h"
#include "commands.h"

int cmdInfo(const QStringList &)
{
    return fail(ExitUsage, QStringLiteral("'info' is not available yet"));
}
