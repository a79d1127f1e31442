#include "controls/spinedit/timespinedit.h"

#include "controls/spinedit/spinbutton.h"

#include <QEvent>
#include <cmath>

namespace brimble {

TTimeSpinEdit::TTimeSpinEdit(QWidget* parent) : TCustomSpinEdit(parent) {
    RebuildText();
}

double TTimeSpinEdit::Value() const {
    const TimeOfDay& t = time_;
    if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
        return minValue_;
    return daysFromTimeOfDay(t);
}

void TTimeSpinEdit::setValue(double days) {
    time_ = timeOfDayFromDays(days);
    RebuildText();
}

void TTimeSpinEdit::setMinValue(double days) {
    if (std::isnan(days) || days > maxValue_)
        return;
    minValue_ = days;
    updateButtons(Value());
}

void TTimeSpinEdit::setMaxValue(double days) {
    if (std::isnan(days) || days < minValue_)
        return;
    maxValue_ = days;
    updateButtons(Value());
}

void TTimeSpinEdit::setTimeDisplay(TTimeDisplay display) {
    if (display == timeDisplay_)
        return;
    timeDisplay_ = display;
    RefreshValue();
}

void TTimeSpinEdit::setShowSeconds(bool on) {
    showSeconds_ = on;
    RefreshValue();
}

void TTimeSpinEdit::RefreshValue() {
    setValue(ClampToRange(Value()));
}

void TTimeSpinEdit::RebuildText() {
    const QString text = formatTimeOfDay(time_, timeDisplay_, showSeconds_, timeLocale());
    if (text != this->text())
        setText(text);
}

void TTimeSpinEdit::updateButtons(double days) {
    button()->setUpEnabled(!UseRanges() || days < maxValue_);
    button()->setDownEnabled(!UseRanges() || days > minValue_);
}

double TTimeSpinEdit::ClampToRange(double days) {
    if (UseRanges()) {
        if (days < minValue_)
            days = minValue_;
        if (days > maxValue_)
            days = maxValue_;
    }
    updateButtons(days);
    return days;
}

void TTimeSpinEdit::CheckRangeOnExit() {
    if (!UseRanges())
        return;
    const double v = Value();
    const double clamped = ClampToRange(v);
    if (clamped != v)
        setValue(clamped);
}

TTimeSpinEdit::Part TTimeSpinEdit::partAt(int pos) const {
    if (pos >= 0 && pos <= 2)
        return HourPart;
    if (pos >= 3 && pos <= 5)
        return MinutePart;
    if (timeDisplay_ == td24Hour)
        return pos >= 6 && pos <= 8 ? SecondPart : NoPart;
    if (showSeconds_ && pos >= 6 && pos <= 8)
        return SecondPart;
    // A designator longer than three characters keeps its part to its end.
    const int last = std::max(11, designatorStart() + int(timeLocale().am.size()));
    return pos >= designatorStart() && pos <= last ? AmPmPart : NoPart;
}

std::pair<int, int> TTimeSpinEdit::partSelection(Part part) const {
    switch (part) {
    case HourPart:
        return {0, 2};
    case MinutePart:
        return {3, 2};
    case SecondPart:
        return {6, 2};
    case AmPmPart:
        return {designatorStart(), int(std::max<qsizetype>(3, text().size() - designatorStart()))};
    case NoPart:
        break;
    }
    return {0, 0};
}

void TTimeSpinEdit::step(bool up) {
    const Part part = partAt(selStart());
    TimeOfDay t = time_;
    const auto wrap = [up](int v, int base, int count) {
        return base + (v - base + (up ? 1 : count - 1)) % count;
    };
    switch (part) {
    case HourPart:
        if (timeDisplay_ == td24Hour)
            t.hour = wrap(t.hour, 0, 24);
        else // stays in its half of the day
            t.hour = wrap(t.hour, t.hour < 12 ? 0 : 12, 12);
        break;
    case MinutePart:
        t.minute = wrap(t.minute, 0, 60);
        break;
    case SecondPart:
        t.second = wrap(t.second, 0, 60);
        break;
    case AmPmPart:
        t.hour = t.hour < 12 ? t.hour + 12 : t.hour - 12;
        break;
    case NoPart:
        break;
    }
    setValue(ClampToRange(daysFromTimeOfDay(t)));
    const auto [start, length] = partSelection(part);
    selectRange(start, length);
}

bool TTimeSpinEdit::AcceptKey(QChar& key) {
    const QString shown = text();
    int p = selStart();
    const bool h12 = timeDisplay_ == td12Hour;
    if (p == 2 || p == 5 || (h12 && p == 8))
        ++p; // over the separator (or the space before the designator)
    if (p >= shown.size())
        return false;
    const TimeLocale loc = timeLocale();
    bool digitPlace = p == 0 || p == 1 || p == 3 || p == 4;
    if (!h12 || showSeconds_)
        digitPlace = digitPlace || p == 6 || p == 7;
    if (!digitPlace) {
        // Over the designator only the morning one can be typed, letter by letter; the
        // afternoon is reached by stepping.
        const int offset = h12 ? p - designatorStart() : -1;
        if (offset < 0 || offset > 1 || offset >= loc.am.size())
            return false;
        const QChar wanted = loc.am[offset];
        if (key.toCaseFolded() != wanted.toCaseFolded())
            return false;
        key = wanted;
    }
    QString candidate = shown;
    candidate[p] = key;
    const auto parsed = parseTimeOfDay(candidate, loc);
    if (!parsed)
        return false;
    const double typed = daysFromTimeOfDay(*parsed);
    const double clamped = ClampToRange(typed);
    time_ = timeOfDayFromDays(clamped);
    clampedTypingAt_ = clamped != typed ? p + 1 : -1;
    selectRange(p, 1);
    return true;
}

void TTimeSpinEdit::insertAccepted(QChar key) {
    if (clampedTypingAt_ < 0) {
        TCustomSpinEdit::insertAccepted(key);
        return;
    }
    // The range moved the typed time: show the time actually held, not the typed text.
    const int caret = clampedTypingAt_;
    clampedTypingAt_ = -1;
    RebuildText();
    selectRange(caret, 0);
}

void TTimeSpinEdit::changeEvent(QEvent* e) {
    TCustomSpinEdit::changeEvent(e);
    if (e->type() == QEvent::LocaleChange)
        RebuildText();
}

TTimeSpinEdit* makeSPT(QWidget* parent) {
    auto* spt = new TTimeSpinEdit(parent);
    spt->setObjectName(QStringLiteral("SPT"));
    spt->setFixedSize(99, 24);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    spt->setFont(font);
    spt->setSunkenBorder(true);
    spt->setTimeDisplay(td24Hour);
    spt->setShowSeconds(false);
    spt->setUseRanges(false);
    // The limit that moves away from the other first, so that neither write is refused.
    spt->setMaxValue(kSPTStoredValue);
    spt->setMinValue(kSPTStoredValue);
    spt->setValue(kSPTStoredValue);
    spt->setEnabled(false);
    return spt;
}

} // namespace brimble
