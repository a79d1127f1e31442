#include "dialogs/pictures.h"

#include "editor/toolpictures.h"

// Resources of a static library must be registered by name from outside any namespace.
static void registerDialogResources() { Q_INIT_RESOURCE(dialogs); }

namespace brimble {

QIcon dialogPicture(const QString& name, int /*side: drawn at whatever size it is shown*/) {
    static bool registered = (registerDialogResources(), true);
    (void)registered;
    const QString base = QStringLiteral(":/dialogs/") + name;
    return svgPicture(base + QStringLiteral(".svg"), base + QStringLiteral("_disabled.svg"));
}

} // namespace brimble
