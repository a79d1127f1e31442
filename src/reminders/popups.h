#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QWidget;

namespace brimble {

struct Database;
class Platform;
class MemoListHooks;

// One open pop-up: its window, the text view that fills it and the memo's idx.
struct PopEntry {
    QPointer<QWidget> form;
    QPointer<QWidget> viewer;
    int idx = 0;
};

// The open pop-up windows, in order of opening, and the commands that act on all of them.
class PopupManager : public QObject {
    Q_OBJECT
public:
    PopupManager(Database& db, Platform& platform, MemoListHooks& hooks, QWidget* owner);
    ~PopupManager() override;

    const std::vector<std::unique_ptr<PopEntry>>& poplist() const { return poplist_; }

    // Closes every pop-up, clears their popped marks, reopens the memo list view and
    // recolours the editor from its first memo.
    void closepop();
    // Shutdown: the entries go; the windows go with their owner.
    void release();

private:
    Database& db_;
    Platform& platform_;
    MemoListHooks& hooks_;
    QWidget* owner_;
    std::vector<std::unique_ptr<PopEntry>> poplist_;
};

} // namespace brimble
