#include "editor/memolistmodel.h"

#include "store/datetime.h"
#include "store/view.h"

namespace brimble {

MemoListModel::MemoListModel(View& view, QObject* parent) : QAbstractListModel(parent), view_(view) {
    view_.addLink(this);
}

MemoListModel::~MemoListModel() { view_.removeLink(this); }

int MemoListModel::currentRow() const {
    return view_.isOpen() ? view_.position() : -1;
}

int MemoListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !view_.isOpen())
        return 0;
    return view_.recordCount();
}

QVariant MemoListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !view_.isOpen())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        const QVariant v = view_.valueAt(index.row(), QStringLiteral("datetime"));
        return v.isValid() ? formatDays(patterns::listEntry, v.toDouble()) : QString();
    }
    return {};
}

void MemoListModel::recordChanged(View& view) {
    if (&view == &view_)
        emit cursorMoved(currentRow());
}

void MemoListModel::editCancelled(View& view) {
    // The current row shows its stored values again.
    if (&view != &view_ || currentRow() < 0)
        return;
    const QModelIndex i = index(currentRow());
    emit QAbstractListModel::dataChanged(i, i);
}

void MemoListModel::dataChanged(View& view) {
    if (&view != &view_)
        return;
    // Rows were read afresh or one was written: the count may differ, so start over. With
    // uniform row sizes the list lays out 10,000 rows in constant time.
    beginResetModel();
    endResetModel();
    emit cursorMoved(currentRow());
}

} // namespace brimble
