#pragma once

#include <QMargins>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>

class QVBoxLayout;

namespace brimble {

// The window of one pop-up: a sizeable tool window with a small title and no title-bar
// buttons, no taskbar button and not kept on top. Its geometry is that of the outer frame,
// as the memo stores it. Where the window manager would add buttons to its title bar (X11),
// the window draws its own title strip and frame: the strip moves the window, the frame
// resizes it, and the window manager's close key still closes it.
class PopupWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBorder = 3; // own frame, wide enough to take hold of

    // `onClose` runs whenever the window is being closed, by the keyboard or by the window
    // manager; it may throw, which leaves the window open.
    explicit PopupWindow(std::function<void(PopupWindow*)> onClose);

    // The window flags asked for on this platform.
    static Qt::WindowFlags flags();
    // Whether this window draws its own title strip and frame.
    bool ownTitle() const { return titleStrip_ != nullptr; }
    QWidget* titleStrip() const { return titleStrip_; }

    // The widget that fills the window under its title.
    void setContent(QWidget* content);

    // Places the outer frame exactly at `outer`, before or after the window is shown.
    void setOuterGeometry(const QRect& outer);
    QRect outerGeometry() const { return frameGeometry(); }
    // Whether the window is still being held at its place while the frame settles.
    bool settling() const { return settle_.isActive(); }

protected:
    void setVisible(bool visible) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QMargins currentMargins() const;
    void applyOuter();
    void startSettling();
    void settleTick();
    Qt::Edges edgesAt(const QPoint& pos) const;

    std::function<void(PopupWindow*)> onClose_;
    QRect target_;
    QMargins applied_;
    QTimer settle_;
    int settleTicks_ = 0;
    QVBoxLayout* layout_ = nullptr;
    QWidget* titleStrip_ = nullptr;
    // A resize done by hand, where the window system cannot do it.
    Qt::Edges resizing_;
    QPoint pressGlobal_;
    QRect pressGeometry_;
};

} // namespace brimble
