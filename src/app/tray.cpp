#include "app/tray.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace brimble {

QIcon brimbleIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal s = size;
        // A yellow note with a folded corner and a red exclamation mark.
        QPainterPath note;
        note.moveTo(s * 0.12, s * 0.08);
        note.lineTo(s * 0.70, s * 0.08);
        note.lineTo(s * 0.88, s * 0.26);
        note.lineTo(s * 0.88, s * 0.92);
        note.lineTo(s * 0.12, s * 0.92);
        note.closeSubpath();
        p.setPen(QPen(QColor(0x8a, 0x6d, 0x00), qMax(1.0, s / 24)));
        p.setBrush(QColor(0xff, 0xe0, 0x4a));
        p.drawPath(note);
        p.setBrush(QColor(0xe8, 0xbe, 0x10));
        p.drawPolygon(QPolygonF({QPointF(s * 0.70, s * 0.08), QPointF(s * 0.70, s * 0.26),
                                 QPointF(s * 0.88, s * 0.26)}));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xc6, 0x1a, 0x1a));
        p.drawRoundedRect(QRectF(s * 0.43, s * 0.24, s * 0.14, s * 0.42), s * 0.05, s * 0.05);
        p.drawEllipse(QRectF(s * 0.43, s * 0.72, s * 0.14, s * 0.13));
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
