#pragma once

namespace brimble {

class View;

// A control bound to a view. The view calls these on the UI thread; any of them may throw
// DbError, which stops the operation that caused the call.
class DataLink {
public:
    virtual ~DataLink() = default;
    // The view was opened, closed or moved to another row: show the current row afresh.
    virtual void recordChanged(View& view) = 0;
    // A post is about to happen: write any modified content into the row being edited.
    virtual void updateRecord(View& view) = 0;
    // The row's edit was abandoned: drop local changes and show the row as stored.
    virtual void editCancelled(View& view) = 0;
    // Whether the control holds changes not yet written into the row.
    virtual bool isModified() const = 0;
    // Rows were read afresh, posted, appended or removed: lists redraw. Most links ignore it.
    virtual void dataChanged(View& view) { (void)view; }
};

} // namespace brimble
