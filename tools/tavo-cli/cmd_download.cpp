#include "cliutil.h"
#include "commands.h"

int cmdDownload(const QStringList &)
{
    return fail(ExitUsage, QStringLiteral("'download' is not available yet"));
}
