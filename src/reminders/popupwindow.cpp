#include "reminders/popupwindow.h"

#include "platform/windowhints.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>
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

// The title of a pop-up that draws its own: the window's title on the colours of an active
// or inactive title bar. Dragging it moves the window.
class TitleStrip : public QWidget {
public:
    explicit TitleStrip(QWidget* window) : QWidget(window) {
        setObjectName(QStringLiteral("title"));
        QFont f = font();
        f.setBold(true);
        setFont(f);
        setFixedHeight(fontMetrics().height() + 4);
        setCursor(Qt::SizeAllCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const bool active = window()->isActiveWindow();
        const QPalette& pal = palette();
        p.fillRect(rect(), active ? pal.color(QPalette::Highlight) : pal.color(QPalette::Mid));
        p.setPen(active ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::WindowText));
        const QRect text = rect().adjusted(4, 0, -4, 0);
        p.drawText(text, Qt::AlignCenter,
                   fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight, text.width()));
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton)
            return;
        // The window manager moves it (and snaps, as it does for its own windows); by hand
        // where it cannot.
        QWindow* handle = window()->windowHandle();
        if (handle && handle->startSystemMove())
            return;
        dragOffset_ = e->globalPosition().toPoint() - window()->frameGeometry().topLeft();
        dragging_ = true;
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (dragging_)
            window()->move(e->globalPosition().toPoint() - dragOffset_);
    }
    void mouseReleaseEvent(QMouseEvent*) override { dragging_ = false; }

private:
    QPoint dragOffset_;
    bool dragging_ = false;
};

} // namespace

Qt::WindowFlags PopupWindow::flags() {
    if (drawsOwnButtonlessTitle())
        return Qt::Tool | Qt::FramelessWindowHint;
    return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

PopupWindow::PopupWindow(std::function<void(PopupWindow*)> onClose)
    : QWidget(nullptr, flags()), onClose_(std::move(onClose)) {
    layout_ = new QVBoxLayout(this);
    layout_->setSpacing(0);
    if (drawsOwnButtonlessTitle()) {
        layout_->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
        titleStrip_ = new TitleStrip(this);
        layout_->addWidget(titleStrip_);
        setMouseTracking(true); // the frame shows where it resizes
    } else {
        layout_->setContentsMargins(0, 0, 0, 0);
    }
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

void PopupWindow::setContent(QWidget* content) {
    layout_->addWidget(content, 1);
}

Qt::Edges PopupWindow::edgesAt(const QPoint& pos) const {
    if (!ownTitle())
        return {};
    // Corners take a longer stretch of the frame, as window managers' own frames do.
    const int corner = 4 * kBorder;
    Qt::Edges edges;
    if (pos.x() < kBorder || (pos.x() < corner && (pos.y() < kBorder || pos.y() >= height() - kBorder)))
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - kBorder ||
        (pos.x() >= width() - corner && (pos.y() < kBorder || pos.y() >= height() - kBorder)))
        edges |= Qt::RightEdge;
    if (pos.y() < kBorder || (pos.y() < corner && (pos.x() < kBorder || pos.x() >= width() - kBorder)))
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - kBorder ||
        (pos.y() >= height() - corner && (pos.x() < kBorder || pos.x() >= width() - kBorder)))
        edges |= Qt::BottomEdge;
    return edges;
}

void PopupWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!ownTitle())
        return;
    QPainter p(this);
    const QPalette& pal = palette();
    const QColor frame = isActiveWindow() ? pal.color(QPalette::Highlight) : pal.color(QPalette::Mid);
    p.fillRect(rect(), frame);
    p.setPen(pal.color(QPalette::Shadow));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PopupWindow::mousePressEvent(QMouseEvent* event) {
    const Qt::Edges edges = edgesAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !edges) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (windowHandle() && windowHandle()->startSystemResize(edges))
        return;
    resizing_ = edges;
    pressGlobal_ = event->globalPosition().toPoint();
    pressGeometry_ = geometry();
}

void PopupWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!resizing_) {
        const Qt::Edges edges = edgesAt(event->position().toPoint());
        const bool diagonal = (edges & Qt::LeftEdge && edges & Qt::TopEdge) ||
                              (edges & Qt::RightEdge && edges & Qt::BottomEdge);
        const bool anti = (edges & Qt::RightEdge && edges & Qt::TopEdge) ||
                          (edges & Qt::LeftEdge && edges & Qt::BottomEdge);
        if (diagonal)
            setCursor(Qt::SizeFDiagCursor);
        else if (anti)
            setCursor(Qt::SizeBDiagCursor);
        else if (edges & (Qt::LeftEdge | Qt::RightEdge))
            setCursor(Qt::SizeHorCursor);
        else if (edges)
            setCursor(Qt::SizeVerCursor);
        else
            unsetCursor();
        return;
    }
    const QPoint d = event->globalPosition().toPoint() - pressGlobal_;
    QRect g = pressGeometry_;
    if (resizing_ & Qt::LeftEdge)
        g.setLeft(std::min(g.left() + d.x(), g.right() - minimumSizeHint().width()));
    if (resizing_ & Qt::RightEdge)
        g.setRight(g.right() + d.x());
    if (resizing_ & Qt::TopEdge)
        g.setTop(std::min(g.top() + d.y(), g.bottom() - minimumSizeHint().height()));
    if (resizing_ & Qt::BottomEdge)
        g.setBottom(g.bottom() + d.y());
    setGeometry(g);
}

void PopupWindow::mouseReleaseEvent(QMouseEvent* event) {
    resizing_ = {};
    QWidget::mouseReleaseEvent(event);
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

void PopupWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowTitleChange)
        update(); // the own title and frame show whether the window is the active one
    // A minimised pop-up has no taskbar button to come back from, and its memo stays marked
    // as shown: it is never lost, it comes straight back.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
        QTimer::singleShot(0, this, [this] {
            if (windowState() & Qt::WindowMinimized)
                setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
            show();
        });
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
