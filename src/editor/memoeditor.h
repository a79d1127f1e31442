#pragma once

#include <QObject>
#include <functional>

class QCheckBox;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;
class QWidget;

namespace brimble {

struct Database;
class MemoListModel;
class Platform;
class FormatBar;
class SwatchStrip;
class TDBCtrlGrid;
class TDBNavigator;
class TDBRichEdit;
class TDatePicker;
class TTimeSpinEdit;

// The places of the main window that the memo list and the editor fill.
struct MemoEditorHosts {
    QWidget* list = nullptr;   // left of the splitter
    QWidget* editor = nullptr; // where memo1 goes
    QWidget* panel1 = nullptr; // the bottom bar
    QWidget* panel3 = nullptr; // the whole editor side
    QWidget* panel4 = nullptr; // the date row
    QWidget* toolBar2 = nullptr; // above the editor: the style toolbar
    QWidget* panel7 = nullptr;   // right of the editor: the memo colours
};

// The memo list, its navigator, the editor's date, time and "Repeat" controls, the lower
// toolbar, and the commands that create, save and delete memos, with the rules that switch
// buttons and controls as the user selects, edits, saves and deletes.
class MemoEditor : public QObject {
    Q_OBJECT
public:
    // Runs a handler; the window passes its error boundary. The default lets errors through.
    using Guard = std::function<void(const std::function<void()>&)>;
    static constexpr quint32 kWhite = 0x00FFFFFF;
    static constexpr int kPopupSide = 200;

    MemoEditor(Database& db, Platform& platform, const MemoEditorHosts& hosts,
               std::function<void(bool)> setSchedulerEnabled, Guard guard = {},
               QObject* parent = nullptr);
    ~MemoEditor() override;

    // The editor follows the memo list view's current memo.
    void gridchange2();
    // The editor enters the editing state.
    void editmode();
    void Memo1Enter() { editmode(); }
    void DTP1Enter() { editmode(); }
    void cb1Enter() { editmode(); }
    void SPTEnter() { editmode(); }

    void DBCtrlGrid1Click() { gridchange2(); }
    void DBCtrlGrid1KeyUp() { gridchange2(); }
    void DBNavigator1Click() { gridchange2(); }

    void Button3Click();     // "Now"
    void ToolButton1Click(); // "Create new memo"
    void ToolButton2Click(); // "Delete Memo"
    void ToolButton3Click(); // "Save changes"

    // The main window became active: with a memo in the list, the date row is usable.
    void FormActivate();

    void setEditorColor(quint32 bgr);
    // Date, time and "Repeat" from the current memo, after the list's view moved under the
    // editor (re-opened on its first row): "Save changes" then never writes another memo's
    // date, or the picker's own default, into this one.
    void showCurrentDateRow();
    quint32 editorColor() const;
    void setSelectionColor(quint32 bgr);
    quint32 selectionColor() const;

    // The caret or the selection moved: editing may begin, the style toolbar follows.
    void memo1SelectionChange();
    // Memo colour from swatch `i` (0 for S1 ... 9 for s10), pressed with any button.
    void swatchMouseDown(int i);
    void Image1Click(); // custom memo colour, begins editing
    void Color1Click(); // custom memo colour from the context menu, does not
    // A right press in the editor opens its context menu at the pointer.
    void memo1MouseDown(Qt::MouseButton button);
    void Print1Click();

    bool newmemo() const { return newmemo_; }
    FormatBar* formatBar() const { return formatBar_; }
    SwatchStrip* swatches() const { return swatches_; }
    QMenu* PopupMenu2() const { return popupMenu2_; }

    TDBCtrlGrid* DBCtrlGrid1() const { return grid_; }
    TDBNavigator* DBNavigator1() const { return navigator_; }
    TDBRichEdit* memo1() const { return memo1_; }
    TDatePicker* DTP1() const { return dtp1_; }
    TTimeSpinEdit* SPT() const { return spt_; }
    QPushButton* Button3() const { return button3_; }
    QCheckBox* cb1() const { return cb1_; }
    QWidget* Panel3() const { return hosts_.panel3; }
    QToolBar* ToolBar1() const { return toolBar1_; }
    QToolButton* ToolButton1() const { return tb1_; }
    QToolButton* ToolButton2() const { return tb2_; }
    QToolButton* ToolButton3() const { return tb3_; }
    // Wired by the pop-up work: open all, close all, tile, cascade, lock positions.
    QToolButton* ToolButton6() const { return tb6_; }
    QToolButton* ToolButton4() const { return tb4_; }
    QToolButton* ToolButton8() const { return tb8_; }
    QToolButton* ToolButton7() const { return tb7_; }
    QToolButton* ToolButton9() const { return tb9_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildList();
    void buildBottomBar();
    void buildEditor();
    void buildDateRow();
    void buildFormatting();
    // Asks for a memo colour, starting from the editor's; false when cancelled.
    bool askEditorColor();
    void connectHandlers();
    void setCommands(bool create, bool remove, bool save);
    void setDateRowEnabled(bool on);
    // The date picker's date with the spin edit's time of day to the second, as days.
    double editedDateTime() const;
    void showDateTime(double days);
    void setDefaultGeometry();
    void run(const std::function<void()>& handler) const;

    Database& db_;
    Platform& platform_;
    MemoEditorHosts hosts_;
    std::function<void(bool)> setSchedulerEnabled_;
    Guard guard_;
    bool newmemo_ = false;

    MemoListModel* model_ = nullptr;
    TDBCtrlGrid* grid_ = nullptr;
    TDBNavigator* navigator_ = nullptr;
    TDBRichEdit* memo1_ = nullptr;
    TDatePicker* dtp1_ = nullptr;
    TTimeSpinEdit* spt_ = nullptr;
    QPushButton* button3_ = nullptr;
    QCheckBox* cb1_ = nullptr;
    QToolBar* toolBar1_ = nullptr;
    FormatBar* formatBar_ = nullptr;
    SwatchStrip* swatches_ = nullptr;
    QMenu* popupMenu2_ = nullptr;
    QToolButton *tb1_ = nullptr, *tb2_ = nullptr, *tb3_ = nullptr, *tb6_ = nullptr,
                *tb4_ = nullptr, *tb8_ = nullptr, *tb7_ = nullptr, *tb9_ = nullptr;
};

} // namespace brimble
