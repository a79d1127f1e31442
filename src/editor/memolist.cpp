#include "editor/memolist.h"

#include "editor/memolistmodel.h"
#include "store/view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace brimble {

namespace {

QColor fromBgr(quint32 bgr) { return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff); }

} // namespace

MemoPanelDelegate::MemoPanelDelegate(MemoListModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model), font_(QStringLiteral("MS Sans Serif")) {
    font_.setStyleHint(QFont::SansSerif);
    font_.setPixelSize(13);
    font_.setBold(true);
}

void MemoPanelDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QRect r = option.rect;
    const bool current = index.row() == model_.currentRow();
    painter->save();
    painter->fillRect(r, current ? fromBgr(selection_) : option.palette.color(QPalette::Window));
    qDrawShadePanel(painter, r, option.palette, false, 1);
    painter->setFont(font_);
    painter->setPen(option.palette.color(QPalette::WindowText));
    painter->drawText(r.adjusted(kLabelPos.x(), kLabelPos.y(), 0, 0), Qt::AlignLeft | Qt::AlignTop,
                      index.data(Qt::DisplayRole).toString());
    if (current && (option.state & QStyle::State_HasFocus)) {
        painter->setPen(QPen(option.palette.color(QPalette::WindowText), 1, Qt::DotLine));
        painter->drawRect(r.adjusted(2, 2, -3, -3));
    }
    painter->restore();
}

QSize MemoPanelDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return size_;
}

TDBCtrlGrid::TDBCtrlGrid(MemoListModel& model, Guard guard, QWidget* parent)
    : QListView(parent), model_(model), delegate_(new MemoPanelDelegate(model, this)),
      guard_(std::move(guard)) {
    setObjectName(QStringLiteral("DBCtrlGrid1"));
    setModel(&model_);
    setItemDelegate(delegate_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFrameShape(QFrame::NoFrame);
    connect(&model_, &MemoListModel::cursorMoved, this, &TDBCtrlGrid::follow);
    follow(model_.currentRow());
}

void TDBCtrlGrid::setSelectionColor(quint32 bgr) {
    delegate_->setSelectionColor(bgr);
    viewport()->update();
}

void TDBCtrlGrid::setPanelSize(QSize panel, int gridWidth) {
    delegate_->setPanelSize(panel);
    width_ = gridWidth;
    scheduleDelayedItemsLayout();
    updateGeometry();
}

QSize TDBCtrlGrid::sizeHint() const {
    return {width_, kRowsVisible * delegate_->panelSize().height()};
}

int TDBCtrlGrid::rowAt(const QPoint& viewportPos) const {
    const QModelIndex i = indexAt(viewportPos);
    return i.isValid() ? i.row() : -1;
}

void TDBCtrlGrid::follow(int row) {
    // The current index only serves scrolling and assistive tools; painting asks the model.
    if (row < 0) {
        setCurrentIndex({});
    } else {
        const QModelIndex i = model_.index(row);
        selectionModel()->setCurrentIndex(i, QItemSelectionModel::NoUpdate);
        scrollTo(i);
    }
    viewport()->update();
}

void TDBCtrlGrid::moveCursor(int row) {
    guard_([this, row] {
        View& v = model_.view();
        if (v.isOpen() && row >= 0)
            v.moveTo(row); // the view applies the record-cursor rule first
    });
}

void TDBCtrlGrid::keyPressEvent(QKeyEvent* e) {
    keysDown_.insert(e->key());
    const int count = model_.rowCount();
    const int cur = model_.currentRow();
    int target = -1;
    switch (e->key()) {
    case Qt::Key_Up: target = cur - 1; break;
    case Qt::Key_Down: target = cur + 1; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = count - 1; break;
    case Qt::Key_PageUp: target = cur - kRowsVisible; break;
    case Qt::Key_PageDown: target = cur + kRowsVisible; break;
    default:
        QWidget::keyPressEvent(e); // no type-ahead search, no editing
        return;
    }
    e->accept();
    if (count == 0)
        return;
    moveCursor(std::clamp(target, 0, count - 1));
}

void TDBCtrlGrid::keyReleaseEvent(QKeyEvent* e) {
    e->accept();
    // One report per key, not one per auto-repeat; and only for a key pressed here: the
    // release of the Enter that chose "Open Brimble" in the tray menu lands in the list.
    if (!e->isAutoRepeat() && keysDown_.remove(e->key()))
        emit keyReleased();
}

void TDBCtrlGrid::focusOutEvent(QFocusEvent* e) {
    keysDown_.clear(); // released elsewhere
    QListView::focusOutEvent(e);
}

void TDBCtrlGrid::mousePressEvent(QMouseEvent* e) {
    setFocus(Qt::MouseFocusReason);
    if (e->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    moveCursor(rowAt(e->position().toPoint()));
}

void TDBCtrlGrid::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    if (viewport()->rect().contains(e->position().toPoint()))
        emit clicked2();
}

void TDBCtrlGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    // A second press of a double click is a press like any other.
    mousePressEvent(e);
}

void TDBCtrlGrid::mouseMoveEvent(QMouseEvent*) {
    // No drag selection, no dragging panels.
}

} // namespace brimble
