#pragma once

#include "pictures/picture.h"

#include <QDialog>
#include <QLabel>
#include <array>
#include <functional>

namespace brimble {

// One picture of the Quick Images dialog: shown stretched to its square; a double-click
// chooses it, a single click does nothing.
class QuickImage : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// "Quick Images": 25 built-in pictures (12 enhanced metafiles, 10 JPEG pictures, 3 GIF
// pictures) kept in the program's resources; a double-click inserts one into the memo and
// hides the dialog. Made once at start-up; the pictures are read the first time it is shown.
class Temoticon : public QDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{370, 398};
    static constexpr int kCount = 25;
    using Insert = std::function<void(const pictures::Picture&)>;
    using Guard = std::function<void(const std::function<void()>&)>;

    Temoticon(Insert insert, Guard guard, QWidget* parent = nullptr);

    // Image1 ... Image25; `n` counts from 1.
    QuickImage* image(int n) const { return images_.at(size_t(n - 1)); }
    const pictures::Picture& picture(int n);
    QLabel* Label1() const { return label_; }

    // A double-click on picture `n`: insert it, then hide.
    void Image1DblClick(int n);
    // Reads the pictures from the resources, once.
    void load();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Insert insert_;
    Guard guard_;
    std::array<QuickImage*, kCount> images_{};
    std::array<pictures::Picture, kCount> pictures_{};
    QLabel* label_ = nullptr;
    bool loaded_ = false;
    bool placed_ = false;
};

} // namespace brimble
