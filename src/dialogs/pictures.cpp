#include "dialogs/pictures.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Resources of a static library must be registered by name from outside any namespace.
static void registerDialogResources() { Q_INIT_RESOURCE(dialogs); }

namespace brimble {

namespace {

QPixmap render(const QString& path, int side) {
    if (!QFile::exists(path))
        return {};
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    svg.render(&p, QRectF(0, 0, side, side));
    return pm;
}

} // namespace

QIcon dialogPicture(const QString& name, int side) {
    static bool registered = (registerDialogResources(), true);
    (void)registered;
    const QString base = QStringLiteral(":/dialogs/") + name;
    QIcon icon;
    const QPixmap normal = render(base + QStringLiteral(".svg"), side);
    if (normal.isNull())
        return icon;
    icon.addPixmap(normal, QIcon::Normal);
    const QPixmap disabled = render(base + QStringLiteral("_disabled.svg"), side);
    if (!disabled.isNull())
        icon.addPixmap(disabled, QIcon::Disabled);
    return icon;
}

} // namespace brimble
