#include "resources_init.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be expanded outside any namespace.
static void initArtworkResources() {
    Q_INIT_RESOURCE(resources);
}

namespace rek {

void initResources() {
    initArtworkResources();
}

}  // namespace rek
