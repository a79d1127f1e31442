#pragma once

#include "store/datalink.h"

#include <QAbstractListModel>

namespace brimble {

class View;

// The memo list's rows straight from the view's snapshot: one row per visible record, its
// text the due date-time as a list entry. Nothing is copied, so 10,000 memos cost nothing
// until they are painted.
class MemoListModel : public QAbstractListModel, public DataLink {
    Q_OBJECT
public:
    explicit MemoListModel(View& view, QObject* parent = nullptr);
    ~MemoListModel() override;

    View& view() const { return view_; }
    // The view's current row, -1 when it is closed or empty.
    int currentRow() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void recordChanged(View& view) override;
    void updateRecord(View&) override {}
    void editCancelled(View& view) override;
    bool isModified() const override { return false; }
    void dataChanged(View& view) override;

signals:
    // The view's cursor or rows changed: followers (list, navigator) show it.
    void cursorMoved(int row);

private:
    View& view_;
};

} // namespace brimble
