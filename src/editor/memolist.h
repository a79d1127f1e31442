#pragma once

#include <QListView>
#include <QSet>
#include <QStyledItemDelegate>
#include <functional>

namespace brimble {

class MemoListModel;

// Paints one memo as a panel of the grid: the due date-time in bold at (6, 10), the current
// memo's panel in the selection colour, every other one in the grid's own colour. Panels are
// 154 x 41 unless the grid is given another size.
class MemoPanelDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kPanelWidth = 154;
    static constexpr int kPanelHeight = 41;
    static constexpr QPoint kLabelPos{6, 10};

    explicit MemoPanelDelegate(MemoListModel& model, QObject* parent = nullptr);

    void setSelectionColor(quint32 bgr) { selection_ = bgr; }
    quint32 selectionColor() const { return selection_; }
    void setPanelSize(QSize size) { size_ = size; }
    QSize panelSize() const { return size_; }
    const QFont& labelFont() const { return font_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    MemoListModel& model_;
    quint32 selection_ = 0x00C0DCC0;
    QSize size_{kPanelWidth, kPanelHeight};
    QFont font_;
};

// The memo list `DBCtrlGrid1`: a panel per pending memo, bound to the memo-list view. A press
// moves the view's cursor to the panel; the release is the grid's click. The navigation keys
// move the cursor, and every key release is reported, as the window runs its refresh then.
// Rows cannot be inserted or deleted through it.
class TDBCtrlGrid : public QListView {
    Q_OBJECT
public:
    static constexpr int kRowsVisible = 10;
    static constexpr int kWidth = 171;
    // Every cursor move and every handler runs through this (the window's error boundary).
    using Guard = std::function<void(const std::function<void()>&)>;

    TDBCtrlGrid(MemoListModel& model, Guard guard, QWidget* parent = nullptr);

    MemoListModel& memoModel() const { return model_; }
    MemoPanelDelegate& panels() const { return *delegate_; }
    void setSelectionColor(quint32 bgr);
    // Another panel size and grid width than the memo list's (the history list has its own).
    void setPanelSize(QSize panel, int gridWidth);
    // The row a point of the viewport falls on, -1 below the last panel.
    int rowAt(const QPoint& viewportPos) const;
    QSize sizeHint() const override;

signals:
    void clicked2();    // DBCtrlGrid1Click
    void keyReleased(); // DBCtrlGrid1KeyUp

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void follow(int row);
    void moveCursor(int row);

    MemoListModel& model_;
    MemoPanelDelegate* delegate_;
    Guard guard_;
    int width_ = kWidth;
    bool pressed_ = false;
    QSet<int> keysDown_;
};

} // namespace brimble
