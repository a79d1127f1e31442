#include "app/tray.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Resources of a static library must be registered by name from outside any namespace.
static void registerIconResources() { Q_INIT_RESOURCE(icons); }

namespace brimble {

QIcon brimbleIcon() {
    static bool registered = (registerIconResources(), true);
    (void)registered;
    // A note with a clock, outlined dark and filled light so that it reads on light and dark
    // panels. Below 32 pixels a simpler drawing on the pixel grid stays sharp; each size is
    // drawn at 1x, 1.5x and 2x so that scaled panels get a crisp picture too.
    QIcon icon;
    QSvgRenderer small(QStringLiteral(":/icons/brimble-small.svg"));
    QSvgRenderer large(QStringLiteral(":/icons/brimble.svg"));
    for (int size : {16, 20, 22, 24, 32, 36, 40, 44, 48, 64, 72, 96, 128, 256}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        (size < 32 ? small : large).render(&p, QRectF(0, 0, size, size));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

TTrayIcon::TTrayIcon(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("CTI"));
    menu_.setObjectName(QStringLiteral("PopupMenu1"));
    icon_.setIcon(brimbleIcon());
    icon_.setToolTip(QStringLiteral("Brimble!"));

    auto add = [this](QMenu& menu, const char* name, const QString& text) {
        QAction* a = menu.addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    connect(add(menu_, "OpenBrimble1", QStringLiteral("Open Brimble")), &QAction::triggered, this,
            &TTrayIcon::openRequested);
    popups_ = add(menu_, "popups", QStringLiteral("Pop-ups"));
    popups_->setCheckable(true);
    popups_->setChecked(true);
    // The check mark is the handler's to change, not the menu's.
    connect(popups_, &QAction::triggered, this, [this](bool checked) {
        popups_->setChecked(!checked);
        emit popupsClicked();
    });
    QMenu* arrange = menu_.addMenu(QStringLiteral("Arrange"));
    arrange->setObjectName(QStringLiteral("Arrange1"));
    connect(add(*arrange, "cascade1", QStringLiteral("cascade")), &QAction::triggered, this,
            &TTrayIcon::cascadeRequested);
    connect(add(*arrange, "ile1", QStringLiteral("Tile")), &QAction::triggered, this,
            &TTrayIcon::tileRequested);
    connect(add(menu_, "Exit1", QStringLiteral("Exit")), &QAction::triggered, this,
            &TTrayIcon::exitRequested);
    icon_.setContextMenu(&menu_);
}

void TTrayIcon::show() { icon_.show(); }
void TTrayIcon::hide() { icon_.hide(); }

} // namespace brimble
