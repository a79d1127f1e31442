// Building the controls of the memo list and the editor side, and wiring their events.
#include "controls/richedit/dbrichedit.h"
#include "controls/richedit/shellrun.h"
#include "controls/spinedit/timespinedit.h"
#include "editor/datepicker.h"
#include "editor/formatbar.h"
#include "editor/memoeditor.h"
#include "editor/memolist.h"
#include "editor/memolistmodel.h"
#include "editor/navigator.h"
#include "editor/swatches.h"
#include "editor/toolpictures.h"
#include "store/database.h"

#include <QCheckBox>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace brimble {

namespace {

QToolButton* toolButton(QToolBar* bar, const char* name, const char* picture, const QString& hint) {
    auto* b = new QToolButton(bar);
    b->setObjectName(QLatin1String(name));
    b->setIcon(toolPicture(QLatin1String(picture)));
    b->setIconSize(QSize(20, 20));
    b->setFixedSize(27, 26);
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setAutoRaise(true);
    bar->addWidget(b);
    return b;
}

} // namespace

void MemoEditor::buildList() {
    model_ = new MemoListModel(db_.BM);
    grid_ = new TDBCtrlGrid(*model_, guard_, hosts_.list);
    grid_->setAccessibleName(QStringLiteral("Memos"));
    hosts_.list->layout()->addWidget(grid_);
}

void MemoEditor::buildBottomBar() {
    navigator_ = new TDBNavigator(*model_, guard_, hosts_.panel1);
    navigator_->setGeometry(10, 6, 196, 31);

    toolBar1_ = new QToolBar(hosts_.panel1);
    toolBar1_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar1_->setAccessibleName(QStringLiteral("Memo commands"));
    toolBar1_->setMovable(false);
    toolBar1_->setFloatable(false);
    toolBar1_->setIconSize(QSize(20, 20));
    toolBar1_->setGeometry(218, 5, 249, 29);
    tb1_ = toolButton(toolBar1_, "ToolButton1", "new", QStringLiteral("Create new memo"));
    tb2_ = toolButton(toolBar1_, "ToolButton2", "delete", QStringLiteral("Delete Memo"));
    tb3_ = toolButton(toolBar1_, "ToolButton3", "save", QStringLiteral("Save changes"));
    toolBar1_->addSeparator()->setObjectName(QStringLiteral("ToolButton5"));
    tb6_ = toolButton(toolBar1_, "ToolButton6", "openall", QStringLiteral("Open All Popups"));
    tb4_ = toolButton(toolBar1_, "ToolButton4", "closeall", QStringLiteral("Close all Popups "));
    tb8_ = toolButton(toolBar1_, "ToolButton8", "tile", QStringLiteral("Tile Popups"));
    tb7_ = toolButton(toolBar1_, "ToolButton7", "cascade", QStringLiteral("Cascade Popups"));
    tb9_ = toolButton(toolBar1_, "ToolButton9", "lock", QStringLiteral("Lock Popups Positions"));
    // A disabled button ignores its shortcut, so the keys follow the buttons' states.
    tb1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    tb3_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
}

void MemoEditor::buildEditor() {
    memo1_ = new TDBRichEdit(hosts_.editor);
    memo1_->setObjectName(QStringLiteral("memo1"));
    memo1_->setAccessibleName(QStringLiteral("Memo text"));
    memo1_->bind(db_.BM, QStringLiteral("memo"));
    hosts_.editor->layout()->addWidget(memo1_);
}

void MemoEditor::buildDateRow() {
    QWidget* row = hosts_.panel4;
    QFont bold = row->font();
    bold.setPixelSize(13);
    bold.setBold(true);
    row->setFont(bold);

    dtp1_ = new TDatePicker(row);
    dtp1_->setGeometry(8, 8, 145, 24);
    dtp1_->setAccessibleName(QStringLiteral("Due date"));
    spt_ = makeSPT(row);
    spt_->setAccessibleName(QStringLiteral("Due time"));
    spt_->move(162, 8);
    button3_ = new QPushButton(QStringLiteral("Now"), row);
    button3_->setObjectName(QStringLiteral("Button3"));
    button3_->setAccessibleName(QStringLiteral("Now"));
    button3_->setGeometry(268, 8, 39, 23);
    cb1_ = new QCheckBox(QStringLiteral("Repeat"), row);
    cb1_->setObjectName(QStringLiteral("cb1"));
    cb1_->setAccessibleName(QStringLiteral("Repeat"));
    cb1_->setGeometry(318, 10, 71, 19);
}

void MemoEditor::buildFormatting() {
    formatBar_ = new FormatBar(*memo1_, platform_, hosts_.toolBar2, guard_);
    swatches_ = new SwatchStrip(hosts_.panel7);

    popupMenu2_ = new QMenu(memo1_);
    popupMenu2_->setObjectName(QStringLiteral("PopupMenu2"));
    auto item = [this](const char* name, const QString& caption, std::function<void()> handler) {
        QAction* a = popupMenu2_->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, handler] { run(handler); });
    };
    item("Font1", QStringLiteral("Font Type"), [this] { formatBar_->ToolButton18Click(); });
    item("FontColor1", QStringLiteral("Font Color"), [this] { formatBar_->ToolButton17Click(); });
    item("FontBGColor1", QStringLiteral("Font BG Color"),
         [this] { formatBar_->ToolButton19Click(); });
    item("Color1", QStringLiteral("Memo Color"), [this] { Color1Click(); });
    item("SelectAll1", QStringLiteral("Select All"), [this] { memo1_->selectAll(); });
    item("Copy1", QStringLiteral("Copy 2 Clipboard"), [this] { memo1_->copy(); });
    item("Paste1", QStringLiteral("Paste Clipboard"), [this] { memo1_->paste(); });
    item("Print1", QStringLiteral("Print"), [this] { Print1Click(); });
}

void MemoEditor::connectHandlers() {
    // memo1URLClick: a clicked link opens as it does in a pop-up.
    connect(memo1_, &TRichEdit::urlClicked, this, URLClickAction(platform_));
    connect(memo1_, &TRichEdit::selectionChange, this,
            [this] { run([this] { memo1SelectionChange(); }); });
    // A memo loaded into the editor switches no button; the style toolbar shows its format.
    connect(memo1_, &TRichEdit::loaded, this, [this] { formatBar_->follow(); });
    connect(swatches_, &SwatchStrip::swatchPressed, this,
            [this](int i) { run([this, i] { swatchMouseDown(i); }); });
    connect(swatches_, &SwatchStrip::customClicked, this,
            [this] { run([this] { Image1Click(); }); });
    connect(memo1_, &TRichEdit::mouseDown, this, [this](Qt::MouseButton button) {
        run([this, button] { memo1MouseDown(button); });
    });
    connect(grid_, &TDBCtrlGrid::clicked2, this, [this] { run([this] { DBCtrlGrid1Click(); }); });
    connect(grid_, &TDBCtrlGrid::keyReleased, this,
            [this] { run([this] { DBCtrlGrid1KeyUp(); }); });
    // The navigator already runs inside the guard.
    connect(navigator_, &TDBNavigator::clicked2, this, [this] { DBNavigator1Click(); });
    connect(tb1_, &QToolButton::clicked, this, [this] { run([this] { ToolButton1Click(); }); });
    connect(tb2_, &QToolButton::clicked, this, [this] { run([this] { ToolButton2Click(); }); });
    connect(tb3_, &QToolButton::clicked, this, [this] { run([this] { ToolButton3Click(); }); });
    connect(button3_, &QPushButton::clicked, this, [this] { run([this] { Button3Click(); }); });
    for (QObject* o : {static_cast<QObject*>(memo1_), static_cast<QObject*>(dtp1_),
                       static_cast<QObject*>(cb1_), static_cast<QObject*>(spt_)})
        o->installEventFilter(this);
}

} // namespace brimble
