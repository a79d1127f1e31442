#pragma once

#include <QPixmap>
#include <QWidget>

class QTimer;

namespace brimble {

// A flat push button that takes no focus and clicks on release; with the timer allowed, a
// held press also clicks at 400 ms and then every 100 ms while the pointer stays on it.
// All such buttons share one repeat timer, which follows the button pressed last.
class TTimerSpeedButton : public QWidget {
    Q_OBJECT
public:
    static constexpr int kInitialRepeatMs = 400;
    static constexpr int kRepeatMs = 100;

    explicit TTimerSpeedButton(QWidget* parent = nullptr);
    ~TTimerSpeedButton() override;

    bool allowTimer() const { return allowTimer_; }
    void setAllowTimer(bool on) { allowTimer_ = on; }
    // Drawn with a focus mark; the button itself never takes the focus.
    bool focusShown() const { return focusShown_; }
    void setFocusShown(bool on);

    QPixmap glyph() const { return glyph_; }
    void setGlyph(const QPixmap& pixmap);

    // Shown pressed: from the press while the pointer is on the button.
    bool isDown() const { return down_; }

    // The process's one repeat timer, made on first use and freed with the application.
    static QTimer* repeatTimer();
    // The button the repeat timer currently serves, if any.
    static TTimerSpeedButton* repeatTarget();

signals:
    // Sent when the left button goes down, before the button shows pressed.
    void pressing();
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    static void repeatTick();
    void setDown(bool on);
    void releaseTimer();
    void endPress();

    QPixmap glyph_;
    bool allowTimer_ = true;
    bool focusShown_ = false;
    bool down_ = false;
    bool tracking_ = false; // holds the mouse from a left press until its release
};

} // namespace brimble
