#pragma once

#include "dialogs/config.h"

#include <QColor>
#include <QDialog>
#include <functional>

class QCheckBox;
class QGroupBox;
class QSpinBox;
class QToolButton;

namespace brimble {

class Platform;
class View;

// What the Customize dialog changes outside itself; the main window hands these in.
struct CustomizeTargets {
    std::function<void(int)> setScanIntervalMs;
    std::function<void()> tileit;
    std::function<void()> cascadeit;
    std::function<void(bool)> setAutoRun;
    std::function<void(quint32)> setListSelectionColor;
};

// The Customize dialog over the config view of the main window. Made once at start-up,
// when it reads the stored settings and applies them; then only shown (modeless) and hidden.
// Its changes take effect at once and last for the run; only "Save config" stores them.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    // Runs a handler; the program passes its error boundary. The default lets errors through.
    using Guard = std::function<void(const std::function<void()>&)>;
    static constexpr QSize kClientSize{287, 321};
    static constexpr int kInitialSeconds = 10;

    TForm2(View& config, Platform& platform, CustomizeTargets targets, Guard guard = {},
           QWidget* parent = nullptr);

    // Reads the current config row and applies it column by column; a column that cannot be
    // converted stops it there, and what was applied before stays.
    void loadconfig();

    // The handlers, named after their controls and events.
    void cb1Click();
    void cb2Click();
    void sp1Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void cb5Click();

    const PopupSettings& settings() const { return settings_; }
    QCheckBox* cb1() const { return cb1_; }
    QCheckBox* cb2() const { return cb2_; }
    QCheckBox* cb5() const { return cb5_; }
    QSpinBox* sp1() const { return sp1_; }
    QToolButton* SpeedButton1() const { return sb1_; }
    QToolButton* SpeedButton2() const { return sb2_; }
    QToolButton* SpeedButton3() const { return sb3_; }
    QToolButton* SpeedButton4() const { return sb4_; }
    // The seconds box's value: its text as an integer, 0 when it is none.
    int seconds() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void run(const std::function<void()>& handler) const { guard_(handler); }
    // Both colour buttons share one colour dialog, which opens on its last choice.
    std::optional<quint32> pickColor();

    View& config_;
    Platform& platform_;
    CustomizeTargets targets_;
    Guard guard_;
    PopupSettings settings_;
    QColor lastColor_ = Qt::black;
    bool loading_ = false;

    QGroupBox* group1_ = nullptr;
    QGroupBox* group2_ = nullptr;
    QCheckBox* cb1_ = nullptr;
    QCheckBox* cb2_ = nullptr;
    QCheckBox* cb5_ = nullptr;
    QSpinBox* sp1_ = nullptr;
    QToolButton* sb1_ = nullptr;
    QToolButton* sb2_ = nullptr;
    QToolButton* sb3_ = nullptr;
    QToolButton* sb4_ = nullptr;
    bool placed_ = false;
};

} // namespace brimble
