#include "editor/memoeditor.h"

#include "controls/richedit/dbrichedit.h"
#include "controls/spinedit/timespinedit.h"
#include "controls/richedit/charattrs.h"
#include "editor/datepicker.h"
#include "editor/formatbar.h"
#include "editor/memolist.h"
#include "editor/memolistmodel.h"
#include "editor/navigator.h"
#include "editor/swatches.h"
#include "platform/platform.h"
#include "store/database.h"
#include "store/datetime.h"

#include <QCheckBox>
#include <QCursor>
#include <QFocusEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

namespace brimble {

namespace {

const QString kBgcolor = QStringLiteral("bgcolor");
const QString kDatetime = QStringLiteral("datetime");
const QString kRepeated = QStringLiteral("repeated");

// A view that failed to open at start-up counts as holding no memo.
bool hasMemo(const View& v) { return v.isOpen() && !v.isEmpty(); }

} // namespace

MemoEditor::MemoEditor(Database& db, Platform& platform, const MemoEditorHosts& hosts,
                       std::function<void(bool)> setSchedulerEnabled, Guard guard,
                       QObject* parent)
    : QObject(parent), db_(db), platform_(platform), hosts_(hosts),
      setSchedulerEnabled_(std::move(setSchedulerEnabled)), guard_(std::move(guard)) {
    if (!guard_)
        guard_ = [](const std::function<void()>& f) { f(); };
    buildList();
    buildBottomBar();
    buildEditor();
    buildDateRow();
    buildFormatting();
    connectHandlers();

    // As the window is built: only a new memo can be made, the date row waits for a memo.
    setCommands(true, false, false);
    hosts_.panel3->setEnabled(true);
    setDateRowEnabled(false);
    dtp1_->setEnabled(true);
    cb1_->setChecked(true);
}

MemoEditor::~MemoEditor() {
    // The controls live in the window's hosts, which outlive this object and the views: the
    // bound ones go now, while the view they are linked to still exists. Focus moving
    // between dying controls must not run the enter handlers.
    for (QObject* o : std::initializer_list<QObject*>{memo1_, dtp1_, cb1_, spt_})
        if (o)
            o->removeEventFilter(this);
    delete popupMenu2_;
    delete formatBar_;
    delete swatches_;
    for (QWidget* w : std::initializer_list<QWidget*>{grid_, navigator_, toolBar1_, memo1_, dtp1_,
                                                     spt_, button3_, cb1_})
        delete w;
    delete model_;
}

void MemoEditor::run(const std::function<void()>& handler) const { guard_(handler); }

void MemoEditor::setCommands(bool create, bool remove, bool save) {
    tb1_->setEnabled(create);
    tb2_->setEnabled(remove);
    tb3_->setEnabled(save);
}

void MemoEditor::setDateRowEnabled(bool on) {
    cb1_->setEnabled(on);
    button3_->setEnabled(on);
    spt_->setEnabled(on);
    dtp1_->setEnabled(on);
}

void MemoEditor::setEditorColor(quint32 bgr) { memo1_->setBackgroundColor(bgr & 0x00FFFFFF); }
quint32 MemoEditor::editorColor() const { return memo1_->backgroundColor(); }
void MemoEditor::setSelectionColor(quint32 bgr) { grid_->setSelectionColor(bgr); }
quint32 MemoEditor::selectionColor() const { return grid_->panels().selectionColor(); }

void MemoEditor::showDateTime(double days) {
    const QDateTime when = fromDays(days);
    dtp1_->setDate(when.date());
    spt_->setValue(timeOfDay(days));
}

double MemoEditor::editedDateTime() const {
    // Milliseconds first, so that 0.4999999 of a day is 11:59:59.999 and not a second off.
    const qint64 ms = std::llround(spt_->Value() * 86400000.0) % 86400000;
    const QTime t(int(ms / 3600000), int(ms / 60000 % 60), int(ms / 1000 % 60));
    return toDays(QDateTime(dtp1_->date(), t));
}

void MemoEditor::setDefaultGeometry() {
    const QSize screen = platform_.primaryScreenSize();
    View& bm = db_.BM;
    bm.setValue(QStringLiteral("left"), screen.width() / 2 - kPopupSide / 2);
    bm.setValue(QStringLiteral("top"), screen.height() / 2 - kPopupSide / 2);
    bm.setValue(QStringLiteral("tinggi"), kPopupSide);
    bm.setValue(QStringLiteral("lebar"), kPopupSide);
}

void MemoEditor::gridchange2() {
    newmemo_ = false;
    View& bm = db_.BM;
    // What was typed or set for this memo is dropped. The editor reloads as the edit is
    // cancelled, which moves its caret, so the buttons are set after that.
    if (hasMemo(bm) && bm.editing())
        bm.cancel();
    setCommands(true, false, false);
    if (!hasMemo(bm))
        return;
    tb2_->setEnabled(true);
    setEditorColor(quint32(bm.intValue(kBgcolor)));
    showDateTime(bm.dateValue(kDatetime));
    cb1_->setChecked(bm.boolValue(kRepeated));
}

void MemoEditor::showCurrentDateRow() {
    View& bm = db_.BM;
    if (!hasMemo(bm) || bm.editing())
        return;
    showDateTime(bm.dateValue(kDatetime));
    cb1_->setChecked(bm.boolValue(kRepeated));
}

void MemoEditor::editmode() {
    setCommands(false, false, true);
    View& bm = db_.BM;
    // With no memo there is nothing to edit; saving then only resets the buttons.
    if (hasMemo(bm) || bm.editing())
        bm.edit();
}

void MemoEditor::memo1SelectionChange() {
    setCommands(false, false, true);
    formatBar_->follow();
}

void MemoEditor::swatchMouseDown(int i) {
    setEditorColor(SwatchStrip::kColors[size_t(i)]);
    editmode();
}

bool MemoEditor::askEditorColor() {
    const auto chosen = platform_.chooseColor(charattr::fromColorRef(editorColor()));
    if (!chosen)
        return false;
    setEditorColor(charattr::colorRef(*chosen));
    return true;
}

void MemoEditor::Image1Click() {
    if (askEditorColor())
        editmode();
}

void MemoEditor::Color1Click() { askEditorColor(); }

void MemoEditor::memo1MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton)
        popupMenu2_->popup(QCursor::pos());
}

void MemoEditor::Print1Click() { formatBar_->print(); }

void MemoEditor::Button3Click() {
    editmode();
    const double now = toDays(platform_.now());
    dtp1_->setDate(fromDays(now).date());
    spt_->setValue(timeOfDay(now));
}

void MemoEditor::ToolButton1Click() {
    newmemo_ = true;
    hosts_.panel3->setEnabled(true);
    setCommands(false, false, true);
    setDateRowEnabled(true);
    cb1_->setChecked(true);

    const QDateTime now = platform_.now();
    const double days = toDays(now);
    dtp1_->setDate(now.date());
    spt_->setValue(timeOfDay(days));

    View& bm = db_.BM;
    bm.append(); // a pending edit of another memo is settled first
    // The append showed the empty new row in the editor.
    setEditorColor(kWhite);
    memo1_->setTextColor(0);
    memo1_->setFocus(Qt::OtherFocusReason);

    bm.setValue(kDatetime, days);
    bm.setValue(QStringLiteral("done"), false);
    bm.setValue(kBgcolor, int(kWhite));
    setDefaultGeometry();
    bm.setValue(kRepeated, false);
    bm.setValue(QStringLiteral("memo"), QString());
    bm.post(); // stored at once, whatever follows
    Database::reopen(db_.bms);
    Database::reopen(db_.bmall);
    bm.edit();
}

void MemoEditor::ToolButton3Click() {
    View& bm = db_.BM;
    if (bm.editing()) {
        if (newmemo_) {
            setDefaultGeometry(); // from the screen as it is now
            newmemo_ = false;
        }
        bm.setValue(kBgcolor, int(editorColor()));
        bm.setValue(kDatetime, editedDateTime());
        bm.setValue(QStringLiteral("done"), false);
        bm.setValue(kRepeated, cb1_->isChecked());
        bm.post(); // the editor writes its text with the row
        Database::reopen(db_.bms);
        Database::reopen(db_.bmall);
    }
    if (setSchedulerEnabled_)
        setSchedulerEnabled_(false);
    setCommands(true, true, false);
    // Leaving the editor makes the next entry begin editing again.
    grid_->setFocus(Qt::OtherFocusReason);
}

void MemoEditor::ToolButton2Click() {
    View& bm = db_.BM;
    View& all = db_.bmall;
    Database::reopen(all);
    all.setFiltered(false);
    if (all.locate(QStringLiteral("idx"), bm.value(QStringLiteral("idx")))) {
        all.edit();
        all.setValue(QStringLiteral("done"), true);
        all.post();
    }
    Database::reopen(bm);
    Database::reopen(db_.bms);
    all.setFiltered(true);
    if (bm.isEmpty()) {
        setCommands(true, false, false);
        hosts_.panel3->setEnabled(false);
        setDateRowEnabled(false);
    } else {
        // The list is back on its first memo: show that memo's colour, date, time and
        // "Repeat", so that a later save does not give it the deleted memo's values.
        gridchange2();
    }
}

void MemoEditor::FormActivate() {
    if (hasMemo(db_.BM))
        setDateRowEnabled(true);
}

bool MemoEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        // Coming back from a menu, a calendar or another window is not entering the control.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == memo1_)
                run([this] { Memo1Enter(); });
            else if (watched == dtp1_)
                run([this] { DTP1Enter(); });
            else if (watched == cb1_)
                run([this] { cb1Enter(); });
            else if (watched == spt_)
                run([this] { SPTEnter(); });
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace brimble
