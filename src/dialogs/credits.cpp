#include "dialogs/credits.h"

#include <QFontMetrics>
#include <QPainter>

namespace brimble {

QColor creditsBlue(const QPalette& palette) {
    if (palette.color(QPalette::Window).lightness() >= 128)
        return QColor(0, 0, 255);
    return QColor(0x8c, 0xb4, 0xff);
}

CreditsScroll::CreditsScroll(const QStringList& lines, int lineHeight, int areaHeight)
    : lines_(lines), lineHeight_(std::max(1, lineHeight)), areaHeight_(std::max(0, areaHeight)) {
    while (!lines_.isEmpty() && lines_.front().trimmed().isEmpty())
        lines_.removeFirst();
}

int CreditsScroll::offsetAt(qint64 elapsedMs) const {
    const int n = cycle();
    if (n <= 0 || elapsedMs <= 0)
        return 0;
    return int((elapsedMs / kStepMs) % n);
}

void CreditsScroll::draw(QPainter& painter, const QRect& area, int offset) const {
    painter.save();
    painter.setClipRect(area);
    const int top = area.top() + areaHeight_ - offset;
    // Only the lines that reach into the area.
    const int first = std::max(0, (offset - areaHeight_) / lineHeight_);
    for (int i = first; i < int(lines_.size()); ++i) {
        const int y = top + i * lineHeight_;
        if (y >= area.bottom() + 1)
            break;
        painter.drawText(QRect(area.left(), y, area.width(), lineHeight_),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, lines_[i]);
    }
    painter.restore();
}

TCreditsPanel::TCreditsPanel(const QStringList& lines, Clock clock, QWidget* parent)
    : QFrame(parent), font_(QStringLiteral("MS Sans Serif")), clock_(std::move(clock)) {
    setObjectName(QStringLiteral("Panel2"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFixedSize(kSize);
    font_.setStyleHint(QFont::SansSerif);
    font_.setPixelSize(13);
    font_.setBold(true);
    started_.start();
    if (!clock_)
        clock_ = [this] { return started_.elapsed(); };
    const QFontMetrics fm(font_);
    scroll_ = std::make_unique<CreditsScroll>(lines, fm.height() + std::max(0, fm.leading()),
                                              contentsRect().height());
    timer_.setInterval(CreditsScroll::kStepMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { update(contentsRect()); });
}

void TCreditsPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event); // the border
    QPainter p(this);
    const QRect area = contentsRect();
    p.fillRect(area, palette().color(QPalette::Window));
    p.setFont(font_);
    p.setPen(creditsBlue(palette()));
    scroll_->draw(p, area, offset());
}

void TCreditsPanel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    timer_.start();
}

void TCreditsPanel::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    timer_.stop();
}

} // namespace brimble
