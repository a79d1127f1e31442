#include "reminders/popupwindow.h"

#include <QCloseEvent>
#include <QShortcut>
#include <QWindow>

namespace brimble {

namespace {

// The frame the window manager drew around the last pop-up: a good first guess for the next
// one, whose own frame is known only once it is on the screen.
QMargins& knownMargins() {
    static QMargins margins;
    return margins;
}

// A window manager reports the frame, and may nudge the window, a little after mapping or
// moving it; watch this long for that.
constexpr int kSettleIntervalMs = 40;
constexpr int kSettleTicks = 10;

} // namespace

PopupWindow::PopupWindow(std::function<void(PopupWindow*)> onClose)
    : QWidget(nullptr, kFlags), onClose_(std::move(onClose)) {
    // No close box: some window managers then refuse Alt+F4, so the window takes it itself.
    auto* altF4 = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    altF4->setContext(Qt::WindowShortcut);
    connect(altF4, &QShortcut::activated, this, &QWidget::close);
    settle_.setInterval(kSettleIntervalMs);
    connect(&settle_, &QTimer::timeout, this, &PopupWindow::settleTick);
}

QMargins PopupWindow::currentMargins() const {
    if (isVisible() && windowHandle())
        return windowHandle()->frameMargins();
    return knownMargins();
}

void PopupWindow::setOuterGeometry(const QRect& outer) {
    target_ = outer;
    applyOuter();
    if (isVisible())
        startSettling();
}

void PopupWindow::startSettling() {
    settleTicks_ = 0;
    settle_.start();
}

void PopupWindow::applyOuter() {
    const QMargins m = currentMargins();
    applied_ = m;
    const QSize inner(std::max(1, target_.width() - m.left() - m.right()),
                      std::max(1, target_.height() - m.top() - m.bottom()));
    if (isVisible()) {
        setGeometry(QRect(target_.topLeft() + QPoint(m.left(), m.top()), inner));
    } else {
        // Before mapping, a top-level's position is that of its frame.
        resize(inner);
        move(target_.topLeft());
    }
}

void PopupWindow::setVisible(bool visible) {
    QWidget::setVisible(visible);
    if (!visible || target_.isNull())
        return;
    // Mapped now: the frame is known, or will be shortly.
    applyOuter();
    startSettling();
}

void PopupWindow::settleTick() {
    const QMargins m = currentMargins();
    if (!m.isNull())
        knownMargins() = m;
    // Only for a short while after placing: later moves are the user's and stay.
    if (m != applied_ || frameGeometry() != target_)
        applyOuter();
    if (++settleTicks_ >= kSettleTicks)
        settle_.stop();
}

void PopupWindow::closeEvent(QCloseEvent* event) {
    settle_.stop();
    // Refused until the handler has run: if it throws, the window stays open.
    event->ignore();
    if (onClose_)
        onClose_(this);
    event->accept();
}

} // namespace brimble
