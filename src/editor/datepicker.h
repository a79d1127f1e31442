#pragma once

#include <QDateEdit>

namespace brimble {

// `DTP1`: the memo's date, shown "dd/MM/yy ddd" with the locale's date separator, and a
// calendar to pick from.
class TDatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit TDatePicker(QWidget* parent = nullptr);

    // The display format for the program's date-picker pattern, separators from the settings.
    static QString qtFormat();
    // Follows the program's settings again (after they changed).
    void applyFormat();
};

} // namespace brimble
