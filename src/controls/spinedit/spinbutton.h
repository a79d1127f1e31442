#pragma once

#include <QPointer>
#include <QWidget>

namespace brimble {

class TTimerSpeedButton;

// Two stacked timer buttons: up in the upper floor(height / 2) pixels, down in the rest.
// Each half keeps its own enabled flag, which it gets back when the whole strip is enabled
// again. A left press on either half first gives the focus to the focus control.
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 15;

    explicit TSpinButton(QWidget* parent = nullptr);

    QWidget* FocusControl() const { return focusControl_.data(); }
    void setFocusControl(QWidget* w) { focusControl_ = w; }

    bool UpEnabled() const { return upEnabled_; }
    void setUpEnabled(bool on);
    bool DownEnabled() const { return downEnabled_; }
    void setDownEnabled(bool on);

    QPixmap UpGlyph() const;
    void setUpGlyph(const QPixmap& pixmap);
    QPixmap DownGlyph() const;
    void setDownGlyph(const QPixmap& pixmap);

    TTimerSpeedButton* upButton() const { return up_; }
    TTimerSpeedButton* downButton() const { return down_; }

    // The built-in arrows.
    static QPixmap defaultUpGlyph();
    static QPixmap defaultDownGlyph();

signals:
    void upClick();
    void downClick();
    // A left press on either half, after the focus went to the focus control.
    void pressing();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void focusTheControl();

    TTimerSpeedButton* up_;
    TTimerSpeedButton* down_;
    QPointer<QWidget> focusControl_;
    bool upEnabled_ = true;
    bool downEnabled_ = true;
};

} // namespace brimble
