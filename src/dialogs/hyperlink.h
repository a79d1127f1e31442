#pragma once

#include <QDialog>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace brimble {

class Platform;

// "Insert HyperLink": builds a link text from a scheme prefix and an address or file name and
// inserts it into the memo as text. Made once at start-up; its text and chosen item stay as
// the user left them between uses.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{420, 133};
    enum Item { File, EMail, Http, Ftp };
    using Insert = std::function<void(const QString&)>;
    using Guard = std::function<void(const std::function<void()>&)>;

    TForm6(Platform& platform, Insert insert, Guard guard, QWidget* parent = nullptr);

    // What choosing an item writes into Edit1: a blank, the scheme, and its separators.
    static QString prefix(int item);

    void RadioGroup1Click(); // the chosen item's prefix replaces the text
    void Button1Click();     // appends a chosen file's path
    void SpeedButton1Click(); // inserts the text, then hides

    QGroupBox* RadioGroup1() const { return group_; }
    QRadioButton* item(int i) const;
    int itemIndex() const;
    QLineEdit* Edit1() const { return edit_; }
    QPushButton* Button1() const { return button1_; }
    QToolButton* SpeedButton1() const { return speed_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Platform& platform_;
    Insert insert_;
    Guard guard_;
    QGroupBox* group_ = nullptr;
    QButtonGroup* buttons_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QPushButton* button1_ = nullptr;
    QToolButton* speed_ = nullptr;
    bool placed_ = false;
};

} // namespace brimble
