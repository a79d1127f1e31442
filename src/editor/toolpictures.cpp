#include "editor/toolpictures.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Resources of a static library must be registered by name from outside any namespace.
static void registerToolbarResources() { Q_INIT_RESOURCE(toolbar); }

namespace brimble {

namespace {

constexpr int kSide = 20;

QPixmap render(const QString& path) {
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    QPixmap pm(kSide, kSide);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    svg.render(&p, QRectF(0, 0, kSide, kSide));
    return pm;
}

} // namespace

QIcon toolPicture(const QString& name) {
    static bool registered = (registerToolbarResources(), true);
    (void)registered;
    static QHash<QString, QIcon> cache;
    if (auto it = cache.constFind(name); it != cache.constEnd())
        return *it;
    const QString base = QStringLiteral(":/toolbar/") + name;
    QIcon icon;
    const QPixmap normal = render(base + QStringLiteral(".svg"));
    const QPixmap disabled = render(base + QStringLiteral("_disabled.svg"));
    if (!normal.isNull())
        icon.addPixmap(normal, QIcon::Normal);
    if (!disabled.isNull())
        icon.addPixmap(disabled, QIcon::Disabled);
    cache.insert(name, icon);
    return icon;
}

} // namespace brimble
