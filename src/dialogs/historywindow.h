#pragma once

#include "dialogs/history.h"

#include <QWidget>
#include <functional>

class QAction;
class QMenu;
class QToolButton;

namespace brimble {

class MemoListModel;
class TDBCtrlGrid;
class TDBNavigator;
class TDBRichEdit;
class View;

// The Edit History window: the done memos in a list of panels, a navigator, a rich text
// viewer bound to the current memo and "Delete Record", which removes a memo for good.
// Made once at start-up over the main window's history view, then only shown and hidden.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    // Runs a handler; the program passes its error boundary. The default lets errors through.
    using Guard = std::function<void(const std::function<void()>&)>;
    static constexpr QSize kPanelSize{191, 38};
    static constexpr int kListWidth = 208;
    static constexpr int kBarHeight = 49;

    explicit TForm3(View& history, Guard guard = {}, QWidget* parent = nullptr);
    ~TForm3() override;

    // The handlers, named after their controls and events.
    void DBCtrlGrid1Click() { refresh(); }
    void DBCtrlGrid1KeyUp() { refresh(); }
    void DBNavigator1Click() { refresh(); }
    void spb1Click();
    void DBRichEdit1MouseDown(Qt::MouseButton button, const QPoint& pos);
    void SelectAll1Click();
    void Copy2clipboardCtrlX1Click();

    TDBCtrlGrid* DBCtrlGrid1() const { return grid_; }
    TDBNavigator* DBNavigator1() const { return navigator_; }
    TDBRichEdit* DBRichEdit1() const { return viewer_; }
    QToolButton* spb1() const { return spb1_; }
    QMenu* PopupMenu1() const { return menu_; }
    QAction* SelectAll1() const { return selectAll_; }
    QAction* Copy2clipboardCtrlX1() const { return copy_; }
    const HistoryRecords& records() const { return records_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // "Delete Record" and the viewer's colour follow the current row.
    void refresh();
    void run(const std::function<void()>& handler) const { guard_(handler); }

    HistoryRecords records_;
    Guard guard_;
    MemoListModel* model_ = nullptr;
    TDBCtrlGrid* grid_ = nullptr;
    TDBNavigator* navigator_ = nullptr;
    TDBRichEdit* viewer_ = nullptr;
    QToolButton* spb1_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* selectAll_ = nullptr;
    QAction* copy_ = nullptr;
    bool placed_ = false;
};

} // namespace brimble
