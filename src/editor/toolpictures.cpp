#include "editor/toolpictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

// Resources of a static library must be registered by name from outside any namespace.
static void registerToolbarResources() { Q_INIT_RESOURCE(toolbar); }

namespace brimble {

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return !path.isEmpty() && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The dark greys the pictures draw their lines and letters with.
constexpr const char* kInks[] = {"#202020", "#303030"};

class SvgPictureEngine : public QIconEngine {
public:
    SvgPictureEngine(QByteArray normal, QByteArray disabled, QString key)
        : normal_(std::move(normal)), disabled_(std::move(disabled)), key_(std::move(key)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        const QPixmap pm = render(rect.size() * dpr, mode);
        painter->drawPixmap(rect, pm);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return render(size, mode);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new SvgPictureEngine(*this); }
    QString key() const override { return QStringLiteral("brimble-svg"); }
    bool isNull() override { return normal_.isEmpty(); }

private:
    QPixmap render(const QSize& size, QIcon::Mode mode) const {
        if (size.isEmpty() || normal_.isEmpty())
            return {};
        const QPalette palette = QGuiApplication::palette();
        const bool dark = palette.color(QPalette::Window).lightness() < 128;
        const QColor ink = palette.color(QPalette::ButtonText);
        const bool disabled = mode == QIcon::Disabled;
        const QString cacheKey = QStringLiteral("brimble-svg:%1:%2x%3:%4:%5")
                                     .arg(key_)
                                     .arg(size.width())
                                     .arg(size.height())
                                     .arg(int(disabled))
                                     .arg(dark ? ink.name() : QString());
        QPixmap pm;
        if (QPixmapCache::find(cacheKey, &pm))
            return pm;
        QByteArray svg = normal_;
        if (dark) {
            for (const char* from : kInks)
                svg.replace(from, ink.name().toLatin1());
        } else if (disabled && !disabled_.isEmpty()) {
            svg = disabled_;
        }
        pm = QPixmap(size);
        pm.fill(Qt::transparent);
        QSvgRenderer renderer(svg);
        if (renderer.isValid()) {
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            if (disabled && (dark || disabled_.isEmpty()))
                p.setOpacity(0.4);
            renderer.render(&p, QRectF(QPointF(0, 0), size));
        }
        QPixmapCache::insert(cacheKey, pm);
        return pm;
    }

    QByteArray normal_, disabled_;
    QString key_;
};

} // namespace

QIcon svgPicture(const QString& normalPath, const QString& disabledPath) {
    QByteArray normal = readAll(normalPath);
    if (normal.isEmpty())
        return {};
    return QIcon(new SvgPictureEngine(std::move(normal), readAll(disabledPath), normalPath));
}

QIcon toolPicture(const QString& name) {
    static bool registered = (registerToolbarResources(), true);
    (void)registered;
    static QHash<QString, QIcon> cache;
    if (auto it = cache.constFind(name); it != cache.constEnd())
        return *it;
    const QString base = QStringLiteral(":/toolbar/") + name;
    QIcon icon = svgPicture(base + QStringLiteral(".svg"), base + QStringLiteral("_disabled.svg"));
    cache.insert(name, icon);
    return icon;
}

} // namespace brimble
