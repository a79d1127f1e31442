#pragma once

#include <QObject>
#include <QPointer>
#include <QList>
#include <QRect>
#include <QSet>
#include <exception>
#include <memory>
#include <vector>

class QWidget;

namespace brimble {

struct Database;
class Platform;
class MemoListHooks;
class PopupWindow;
class Scheduler;
class TRichEdit;

// Where a pop-up with the stored place `stored` opens on these screens (primary first): as
// stored when any part of it is on a screen, its size bounded by the desktop; a place wholly
// off every screen is brought onto the primary one, so that no reminder is shown where nobody
// can see it.
QRect boundedPlace(const QRect& stored, const QList<QRect>& screens);

// One open pop-up: its window, the text view that fills it and the memo's idx.
struct PopEntry {
    QPointer<QWidget> form;
    QPointer<QWidget> viewer;
    int idx = 0;
};

// The open pop-up windows, in order of opening, and the commands that act on all of them.
// The windows belong to the main window through this object: those still open go with it.
class PopupManager : public QObject {
    Q_OBJECT
public:
    // Tiling grid: cells of 150 x 100, seven to a column, from these margins.
    static constexpr int tilemarginx = 10;
    static constexpr int tilemarginy = 10;
    static constexpr int kCellWidth = 150;
    static constexpr int kCellHeight = 100;
    static constexpr int kPerColumn = 7;
    // Cascade: first corner at (10, 10), then 30 right and 30 down per window.
    static constexpr int kCascadeStart = 10;
    static constexpr int kCascadeStep = 30;
    // What a memo row without geometry opens with, centred on the primary screen.
    static constexpr int kFallbackSize = 200;

    PopupManager(Database& db, Platform& platform, MemoListHooks& hooks, QWidget* owner);
    ~PopupManager() override;

    const std::vector<std::unique_ptr<PopEntry>>& poplist() const { return poplist_; }
    // Whether a window of the memo is open (or its row was found deleted): what the scan and
    // "Open All Popups" go by besides the popped mark, which a refused write may have left unset.
    bool isShown(int idx) const;

    // The scheduler whose timer "Close all Popups " stops; it registers itself.
    void setScheduler(Scheduler* scheduler) { scheduler_ = scheduler; }

    // Builds and shows a pop-up for the current row of `bms`, which it reads and leaves as is.
    void createpop2();
    // createpop2, then marks the row shown. A mark that cannot be written leaves the pop-up
    // open (the scan never shows it twice); the first such error is kept in `firstFailure`, so
    // that a walk over many rows goes on and reports once.
    void popAndMark(std::exception_ptr& firstFailure);
    // Close handler of every pop-up window.
    void FClose(QWidget* sender);
    // Double-click handler of every pop-up view: stores the window's place in its memo and
    // selects the memo in the memo list.
    void Zclick(QWidget* sender);

    // Closes every pop-up, clears their popped marks, reopens the memo list view and
    // recolours the editor from its first memo.
    void closepop();
    // "Close all Popups ": the scan stops, then every pop-up closes.
    void ToolButton4Click();
    // "Open All Popups": a pop-up for every pending memo not shown yet, in the order of `bms`.
    void ToolButton6Click();

    // Arrangement: windows in list order; only the windows move, nothing is stored.
    void tileit();
    void cascadeit();
    // "Lock Popups Positions": every window's present place goes into its memo.
    void ToolButton9Click();

    // Shutdown: the entries go, and the windows still open with them.
    void release();

private:
    QRect storedGeometry() const;
    TRichEdit* makeViewer(QWidget* window, const QString& body);
    // False when the memo's row was removed from the file meanwhile.
    bool clearPoppedOf(int idx);
    void refreshMemoList();

    Database& db_;
    Platform& platform_;
    MemoListHooks& hooks_;
    QWidget* owner_;
    Scheduler* scheduler_ = nullptr;
    std::vector<std::unique_ptr<PopEntry>> poplist_;
    QSet<int> vanished_;
};

} // namespace brimble
