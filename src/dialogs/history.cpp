#include "dialogs/history.h"

#include "store/view.h"

namespace brimble {

bool HistoryRecords::hasRows() const { return view_.isOpen() && !view_.isEmpty(); }

std::optional<quint32> HistoryRecords::rowColor() const {
    if (!hasRows())
        return std::nullopt;
    return quint32(view_.intValue(QStringLiteral("bgcolor"))) & 0x00FFFFFF;
}

bool HistoryRecords::deleteCurrent() {
    // The view may have been emptied or closed since the button was last brought up to date.
    if (!hasRows())
        return false;
    view_.deleteRow();
    return !view_.isEmpty();
}

} // namespace brimble
