#include "dialogs/historywindow.h"
#include "dialogs/placement.h"

#include "controls/richedit/dbrichedit.h"
#include "dialogs/pictures.h"
#include "editor/memolist.h"
#include "editor/memolistmodel.h"
#include "editor/navigator.h"
#include "store/view.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace brimble {

TForm3::TForm3(View& history, Guard guard, QWidget* parent)
    : QWidget(parent, Qt::Window), records_(history), guard_(std::move(guard)) {
    if (!guard_)
        guard_ = [](const std::function<void()>& f) { f(); };
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Edit History"));
    resize(623, 470);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    outer->addLayout(top, 1);

    model_ = new MemoListModel(history, this);
    grid_ = new TDBCtrlGrid(*model_, guard_, this);
    grid_->setPanelSize(kPanelSize, kListWidth);
    grid_->setFixedWidth(kListWidth);
    top->addWidget(grid_);

    viewer_ = new TDBRichEdit(this);
    viewer_->setObjectName(QStringLiteral("DBRichEdit1"));
    viewer_->bind(history, QStringLiteral("memo"));
    viewer_->installEventFilter(this);
    top->addWidget(viewer_, 1);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setFixedHeight(kBarHeight);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(12);
    navigator_ = new TDBNavigator(*model_, guard_, bar);
    navigator_->setFixedSize(196, 31);
    row->addWidget(navigator_);
    spb1_ = new QToolButton(bar);
    spb1_->setObjectName(QStringLiteral("spb1"));
    spb1_->setIcon(dialogPicture(QStringLiteral("cross"), 24));
    spb1_->setIconSize(QSize(24, 24));
    spb1_->setFixedSize(32, 32);
    spb1_->setAutoRaise(true); // flat
    spb1_->setToolTip(QStringLiteral("Delete Record"));
    spb1_->setAccessibleName(QStringLiteral("Delete Record"));
    spb1_->setEnabled(false); // until the first refresh finds a row
    row->addWidget(spb1_);
    row->addStretch(1);
    outer->addWidget(bar);

    menu_ = new QMenu(viewer_);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    selectAll_ = menu_->addAction(QStringLiteral("Select All"));
    selectAll_->setObjectName(QStringLiteral("SelectAll1"));
    // Named as the users know it: Ctrl-X copies here, as the item says (see eventFilter).
    copy_ = menu_->addAction(QStringLiteral("Copy 2 clipboard (Ctrl-X)"));
    copy_->setObjectName(QStringLiteral("Copy2clipboardCtrlX1"));

    connect(grid_, &TDBCtrlGrid::clicked2, this, [this] { run([this] { DBCtrlGrid1Click(); }); });
    connect(grid_, &TDBCtrlGrid::keyReleased, this,
            [this] { run([this] { DBCtrlGrid1KeyUp(); }); });
    // The navigator already runs inside the guard.
    connect(navigator_, &TDBNavigator::clicked2, this, [this] { DBNavigator1Click(); });
    connect(spb1_, &QToolButton::clicked, this, [this] { spb1Click(); });
    connect(viewer_, &TRichEdit::mouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, const QPoint& pos) {
                DBRichEdit1MouseDown(b, pos);
            });
    connect(selectAll_, &QAction::triggered, this, [this] { SelectAll1Click(); });
    connect(copy_, &QAction::triggered, this, [this] { Copy2clipboardCtrlX1Click(); });
}

TForm3::~TForm3() {
    // The bound controls go while the view they are linked to still exists.
    delete viewer_;
    viewer_ = nullptr;
    delete grid_;
    delete navigator_;
    delete model_;
}

void TForm3::refresh() {
    if (!records_.hasRows()) {
        spb1_->setEnabled(false);
        return;
    }
    spb1_->setEnabled(true);
    viewer_->setBackgroundColor(*records_.rowColor());
}

void TForm3::spb1Click() {
    run([this] {
        if (!records_.deleteCurrent())
            spb1_->setEnabled(false);
    });
}

void TForm3::DBRichEdit1MouseDown(Qt::MouseButton button, const QPoint& pos) {
    if (button == Qt::RightButton)
        menu_->popup(viewer_->mapToGlobal(pos));
}

void TForm3::SelectAll1Click() { viewer_->selectAll(); }

void TForm3::Copy2clipboardCtrlX1Click() { viewer_->copy(); }

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    // The menu promises that Ctrl-X copies; a cut would empty the memo, which is written back
    // when the row changes. Every cut key copies in this viewer.
    if (watched == viewer_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cut)) {
        Copy2clipboardCtrlX1Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    centreOnFirstShow(*this, placed_);
}

} // namespace brimble
