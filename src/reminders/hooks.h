#pragma once

namespace brimble {

// What the reminders need of the memo list and editor on the main window.
class MemoListHooks {
public:
    virtual ~MemoListHooks() = default;
    // The editor follows the memo list view's current row.
    virtual void gridchange2() = 0;
    // The editor's background colour, 0x00BBGGRR.
    virtual void setEditorColor(int bgr) = 0;
};

} // namespace brimble
