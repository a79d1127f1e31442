#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QFrame>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

class QPainter;

namespace brimble {

// The blue of the product name and the credits: pure blue on a light panel, a light blue on
// a dark one, where pure blue could hardly be read.
QColor creditsBlue(const QPalette& palette);

// The scrolling of the About box's credits: a block of centred lines that starts just below
// the bottom of the text area and moves up one pixel every 30 ms until it has passed the top,
// then starts again. The position is a function of the time since start-up, so the cycle goes
// on whether or not anything is drawn.
class CreditsScroll {
public:
    static constexpr int kStepMs = 30;

    // Leading blank lines are dropped; `lineHeight` is the font's height plus its leading.
    CreditsScroll(const QStringList& lines, int lineHeight, int areaHeight);

    const QStringList& lines() const { return lines_; }
    int lineHeight() const { return lineHeight_; }
    int areaHeight() const { return areaHeight_; }
    // Pixels moved in one whole cycle: the text area and the whole block.
    int cycle() const { return areaHeight_ + int(lines_.size()) * lineHeight_; }
    // Pixels moved at a time since start-up.
    int offsetAt(qint64 elapsedMs) const;
    // Draws the lines at `offset` into `area`, text only (the caller fills the background).
    void draw(QPainter& painter, const QRect& area, int offset) const;

private:
    QStringList lines_;
    int lineHeight_;
    int areaHeight_;
};

// The credits panel. It is drawn on the UI thread by a timer that runs only while the panel
// is shown: a few lines of text cost next to nothing to draw, widgets may only be painted on
// the UI thread anyway, and in the tray the program then does not wake 33 times a second.
class TCreditsPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr QSize kSize{258, 78};
    // Milliseconds since start-up; by default from a monotonic clock started with the panel.
    using Clock = std::function<qint64()>;

    explicit TCreditsPanel(const QStringList& lines, Clock clock = {}, QWidget* parent = nullptr);

    const CreditsScroll& scroll() const { return *scroll_; }
    const QFont& creditsFont() const { return font_; }
    // Where the cycle is now.
    int offset() const { return scroll_->offsetAt(clock_()); }
    bool animating() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QFont font_;
    QElapsedTimer started_;
    Clock clock_;
    std::unique_ptr<CreditsScroll> scroll_;
    QTimer timer_;
};

} // namespace brimble
