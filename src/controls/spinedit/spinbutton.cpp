#include "controls/spinedit/spinbutton.h"

#include "controls/spinedit/timerspeedbutton.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>

namespace brimble {

namespace {

// A small filled triangle, 7 x 4, pointing up or down, in the palette's button text colour
// (dark on light themes, light on dark ones) and at the screens' scale.
QPixmap arrow(bool up) {
    const qreal scale = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(QSize(7, 4) * scale);
    pm.setDevicePixelRatio(scale);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::NoPen);
    p.setBrush(QGuiApplication::palette().color(QPalette::ButtonText));
    for (int row = 0; row < 4; ++row) {
        const int y = up ? row : 3 - row;
        p.drawRect(3 - row, y, 2 * row + 1, 1);
    }
    return pm;
}

} // namespace

QPixmap TSpinButton::defaultUpGlyph() {
    return arrow(true);
}
QPixmap TSpinButton::defaultDownGlyph() {
    return arrow(false);
}

TSpinButton::TSpinButton(QWidget* parent)
    : QWidget(parent), up_(new TTimerSpeedButton(this)), down_(new TTimerSpeedButton(this)) {
    setObjectName(QStringLiteral("SpinButton"));
    up_->setObjectName(QStringLiteral("UpButton"));
    down_->setObjectName(QStringLiteral("DownButton"));
    up_->setAccessibleName(QStringLiteral("Up"));
    down_->setAccessibleName(QStringLiteral("Down"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setMinimumWidth(kMinWidth);
    up_->setGlyph(defaultUpGlyph());
    down_->setGlyph(defaultDownGlyph());
    connect(up_, &TTimerSpeedButton::pressing, this, &TSpinButton::focusTheControl);
    connect(down_, &TTimerSpeedButton::pressing, this, &TSpinButton::focusTheControl);
    connect(up_, &TTimerSpeedButton::clicked, this, &TSpinButton::upClick);
    connect(down_, &TTimerSpeedButton::clicked, this, &TSpinButton::downClick);
}

void TSpinButton::focusTheControl() {
    QWidget* w = focusControl_.data();
    if (w && !w->hasFocus() && w->isEnabled() && w->isVisible() &&
        (w->focusPolicy() & Qt::ClickFocus))
        w->setFocus(Qt::OtherFocusReason);
    emit pressing();
}

void TSpinButton::setUpEnabled(bool on) {
    upEnabled_ = on;
    up_->setEnabled(on);
}

void TSpinButton::setDownEnabled(bool on) {
    downEnabled_ = on;
    down_->setEnabled(on);
}

QPixmap TSpinButton::UpGlyph() const {
    return up_->glyph();
}
void TSpinButton::setUpGlyph(const QPixmap& pixmap) {
    up_->setGlyph(pixmap);
}
QPixmap TSpinButton::DownGlyph() const {
    return down_->glyph();
}
void TSpinButton::setDownGlyph(const QPixmap& pixmap) {
    down_->setGlyph(pixmap);
}

void TSpinButton::resizeEvent(QResizeEvent*) {
    const int upHeight = height() / 2;
    up_->setGeometry(0, 0, width(), upHeight);
    down_->setGeometry(0, upHeight, width(), height() - upHeight);
}

} // namespace brimble
