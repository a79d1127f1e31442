#include "controls/spinedit/timerspeedbutton.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QTimer>

namespace brimble {

namespace {

QTimer* sharedTimer = nullptr;
QPointer<TTimerSpeedButton> target;

void freeSharedTimer() {
    delete sharedTimer;
    sharedTimer = nullptr;
    target = nullptr;
}

} // namespace

QTimer* TTimerSpeedButton::repeatTimer() {
    if (!sharedTimer) {
        sharedTimer = new QTimer;
        QObject::connect(sharedTimer, &QTimer::timeout, &TTimerSpeedButton::repeatTick);
        qAddPostRoutine(freeSharedTimer);
    }
    return sharedTimer;
}

TTimerSpeedButton* TTimerSpeedButton::repeatTarget() {
    return target.data();
}

void TTimerSpeedButton::repeatTick() {
    QTimer* timer = repeatTimer();
    TTimerSpeedButton* button = target.data();
    if (!button) {
        timer->stop();
        return;
    }
    timer->setInterval(kRepeatMs);
    if (!button->down_ || !button->tracking_)
        return; // the pointer is off the button: paused until it comes back
    try {
        emit button->clicked();
    } catch (...) {
        if (sharedTimer && target == button) {
            sharedTimer->stop();
            target = nullptr;
        }
        throw;
    }
}

TTimerSpeedButton::TTimerSpeedButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

TTimerSpeedButton::~TTimerSpeedButton() {
    releaseTimer();
}

void TTimerSpeedButton::setFocusShown(bool on) {
    focusShown_ = on;
    update();
}

void TTimerSpeedButton::setGlyph(const QPixmap& pixmap) {
    glyph_ = pixmap;
    update();
}

void TTimerSpeedButton::setDown(bool on) {
    if (down_ != on) {
        down_ = on;
        update();
    }
}

void TTimerSpeedButton::releaseTimer() {
    if (sharedTimer && target == this) {
        sharedTimer->stop();
        target = nullptr;
    }
}

// A press that ends without a release (the button disabled or hidden meanwhile) must not
// leave the shared timer clicking.
void TTimerSpeedButton::endPress() {
    tracking_ = false;
    setDown(false);
    releaseTimer();
}

void TTimerSpeedButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    emit pressing();
    if (!isEnabled() || !isVisible())
        return; // the focus change took the button away
    tracking_ = true;
    setDown(true);
    if (allowTimer_) {
        QTimer* timer = repeatTimer();
        timer->stop();
        target = this;
        timer->setInterval(kInitialRepeatMs);
        timer->start();
    }
}

void TTimerSpeedButton::mouseMoveEvent(QMouseEvent* e) {
    if (tracking_)
        setDown(rect().contains(e->position().toPoint()));
    QWidget::mouseMoveEvent(e);
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !tracking_) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    endPress();
    if (rect().contains(e->position().toPoint()))
        emit clicked();
}

void TTimerSpeedButton::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange && !isEnabled())
        endPress();
    QWidget::changeEvent(e);
}

void TTimerSpeedButton::hideEvent(QHideEvent* e) {
    endPress();
    QWidget::hideEvent(e);
}

void TTimerSpeedButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.features = QStyleOptionButton::Flat;
    opt.state |= down_ ? QStyle::State_Sunken : QStyle::State_Raised;
    if (focusShown_)
        opt.state |= QStyle::State_HasFocus;
    style()->drawPrimitive(QStyle::PE_PanelButtonTool, &opt, &p, this);
    if (!glyph_.isNull()) {
        const QPixmap pm =
            isEnabled() ? glyph_ : QIcon(glyph_).pixmap(glyph_.size(), QIcon::Disabled);
        const QSize size = pm.deviceIndependentSize().toSize();
        QPoint at = rect().center() - QPoint(size.width() / 2, size.height() / 2);
        if (down_)
            at += QPoint(1, 1);
        p.drawPixmap(at, pm);
    }
}

} // namespace brimble
