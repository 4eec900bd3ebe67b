#include "cliutil.h"
#include "commands.h"

int cmdCheck(const QStringList &)
{
    return fail(ExitUsage, QStringLiteral("'check' is not available yet"));
}
