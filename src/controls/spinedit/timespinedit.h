#pragma once

#include "controls/spinedit/customspinedit.h"
#include "controls/spinedit/timetext.h"

namespace brimble {

// A time of day edited by overwriting single digits or by stepping the part of the time the
// caret stands in (hour, minute, second or AM/PM), which wraps within that part and never
// carries into its neighbour. Values are fractions of a day; milliseconds are never kept.
// The separator and designators come from the control's locale().
class TTimeSpinEdit : public TCustomSpinEdit {
    Q_OBJECT
    Q_PROPERTY(double Value READ Value WRITE setValue)
    Q_PROPERTY(double MinValue READ MinValue WRITE setMinValue)
    Q_PROPERTY(double MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(bool ShowSeconds READ ShowSeconds WRITE setShowSeconds)
public:
    enum Part { NoPart, HourPart, MinutePart, SecondPart, AmPmPart };

    explicit TTimeSpinEdit(QWidget* parent = nullptr);

    double Value() const;
    // Takes the time-of-day part to the nearest millisecond, drops the milliseconds and
    // rebuilds the text. Applies no range and leaves the buttons as they are.
    void setValue(double days);
    double MinValue() const { return minValue_; }
    // Ignored when above MaxValue (or not a number).
    void setMinValue(double days);
    double MaxValue() const { return maxValue_; }
    // Ignored when below MinValue (or not a number).
    void setMaxValue(double days);
    TTimeDisplay TimeDisplay() const { return timeDisplay_; }
    void setTimeDisplay(TTimeDisplay display);
    bool ShowSeconds() const { return showSeconds_; }
    void setShowSeconds(bool on);

    TimeOfDay time() const { return time_; }
    TimeLocale timeLocale() const { return TimeLocale::from(locale()); }

    // The part a step at caret position `pos` changes, and what is selected after it.
    Part partAt(int pos) const;
    std::pair<int, int> partSelection(Part part) const;

    // Public so that a frame can step without a key press.
    void StepDown() override { step(false); }
    void StepUp() override { step(true); }

protected:
    bool AcceptKey(QChar& key) override;
    void CheckRangeOnExit() override;
    void RefreshValue() override;
    void insertAccepted(QChar key) override;
    void changeEvent(QEvent* e) override;

    // The value limited to [MinValue, MaxValue] when ranges are in use; also sets which of
    // the two buttons can step further.
    double ClampToRange(double days);
    void RebuildText();

private:
    void step(bool up);
    void updateButtons(double days);
    int designatorStart() const { return showSeconds_ ? 9 : 6; }

    TimeOfDay time_{12, 0, 0};
    double minValue_ = 0.5;
    double maxValue_ = 0.5;
    TTimeDisplay timeDisplay_ = td24Hour;
    bool showSeconds_ = false;
    int clampedTypingAt_ = -1; // caret after a typed time that the range changed
};

// The main window's time field, made as the frame expects it: "SPT", 99 x 24, bold Arial
// 13 pixels high, sunken border, 24 hours without seconds or ranges, disabled, and its
// three values at 12:00:00 plus one millisecond (kept in the limits, dropped by Value).
constexpr double kSPTStoredValue = 0.500000011574074;
TTimeSpinEdit* makeSPT(QWidget* parent);

} // namespace brimble
