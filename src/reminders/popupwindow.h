#pragma once

#include <QMargins>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace brimble {

// The window of one pop-up: a sizeable tool window with a small title and no title-bar
// buttons, no taskbar button and not kept on top. Its geometry is that of the outer frame,
// as the memo stores it.
class PopupWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr Qt::WindowFlags kFlags =
        Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

    // `onClose` runs whenever the window is being closed, by the keyboard or by the window
    // manager; it may throw, which leaves the window open.
    explicit PopupWindow(std::function<void(PopupWindow*)> onClose);

    // Places the outer frame exactly at `outer`, before or after the window is shown.
    void setOuterGeometry(const QRect& outer);
    QRect outerGeometry() const { return frameGeometry(); }
    // Whether the window is still being held at its place while the frame settles.
    bool settling() const { return settle_.isActive(); }

protected:
    void setVisible(bool visible) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QMargins currentMargins() const;
    void applyOuter();
    void startSettling();
    void settleTick();

    std::function<void(PopupWindow*)> onClose_;
    QRect target_;
    QMargins applied_;
    QTimer settle_;
    int settleTicks_ = 0;
};

} // namespace brimble
