#pragma once

#include <QtGlobal>
#include <optional>

namespace brimble {

class View;

// The records of the Edit History window: the done memos of the history view, which the
// main window owns and re-opens. The window neither opens nor refreshes the view itself.
class HistoryRecords {
public:
    explicit HistoryRecords(View& view) : view_(view) {}

    View& view() const { return view_; }
    // Whether there is a row to show and delete; a view that failed to open holds none.
    bool hasRows() const;
    // The current row's background colour (0x00BBGGRR), none without a row.
    std::optional<quint32> rowColor() const;
    // Removes the current row from the file for good; the next row becomes current (the
    // previous one when it was the last). Returns whether rows remain. A failure of the
    // database throws and leaves the row in place.
    bool deleteCurrent();

private:
    View& view_;
};

} // namespace brimble
