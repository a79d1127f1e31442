#pragma once

#include "dialogs/credits.h"

#include <QDialog>

class QLabel;
class QToolButton;

namespace brimble {

// The About box: the product name, its version and the scrolling credits. Made once at
// start-up and then only shown (modeless) and hidden; the credits keep their cycle across.
class Tabout : public QDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{260, 183};
    static constexpr int kPanelHeight = 149;

    // `clock` is the credits' time since start-up (see TCreditsPanel).
    explicit Tabout(TCreditsPanel::Clock clock = {}, QWidget* parent = nullptr);

    static QStringList creditLines();

    QLabel* Label1() const { return label1_; }
    QLabel* Label2() const { return label2_; }
    TCreditsPanel* Panel2() const { return credits_; }
    QToolButton* SpeedButton1() const { return button_; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    TCreditsPanel* credits_ = nullptr;
    QToolButton* button_ = nullptr;
    bool placed_ = false;
};

} // namespace brimble
