#include "support/headless.h"

#include <QByteArray>
#include <QtGlobal>

#include <sys/stat.h>
#include <unistd.h>

void ensureRuntimeFolder()
{
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir = QByteArray("/tmp/runtime-") + QByteArray::number(uint(getuid()));
        ::mkdir(dir.constData(), 0700);
        struct stat st {};
        // Only a folder of our own that nobody else can read will do; otherwise leave it to Qt.
        if (::stat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
            (st.st_mode & 0077) == 0)
            qputenv("XDG_RUNTIME_DIR", dir);
    }
}

void prepareHeadlessEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureRuntimeFolder();
}
