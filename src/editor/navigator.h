#pragma once

#include <QWidget>
#include <array>
#include <functional>

class QToolButton;

namespace brimble {

class MemoListModel;

// `DBNavigator1`: first, prior, next and last record of the memo-list view. First and prior
// are off on the first record, next and last on the last one, all four with no record.
class TDBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last };
    using Guard = std::function<void(const std::function<void()>&)>;

    TDBNavigator(MemoListModel& model, Guard guard, QWidget* parent = nullptr);

    QToolButton* button(Button b) const { return buttons_[b]; }
    // Moves the view as the button does, then reports the click.
    void press(Button b);

signals:
    void clicked2(int button); // DBNavigator1Click, after the view moved

private:
    void refresh();

    MemoListModel& model_;
    Guard guard_;
    std::array<QToolButton*, 4> buttons_{};
};

} // namespace brimble
