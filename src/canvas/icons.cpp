#include "icons.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initIconsResource() { Q_INIT_RESOURCE(icons); }

void initTavoIcons()
{
    static bool done = false;
    if (!done) {
        initIconsResource();
        done = true;
    }
}
