#pragma once

#include "store/connection.h"
#include "store/schema.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <vector>

namespace brimble {

class Connection;
class DataLink;

enum class ViewState { Inactive, Browse, Edit, Insert };

// A snapshot of one table, held in memory with a current row: what it shows is the table as
// it was when the view was last opened, reduced by its filter. Writes go to the file at once,
// one row per post, and show in other views only after those are opened again.
//
// Values are QVariants: null (invalid), int for Key/Integer, bool for YesNo, double for
// DateTime (days since 30 December 1899), QString for Text/Memo. Memo bodies are not part of
// what opening reads: a row's body is read from the file the first time it is asked for, and
// kept. A write through another view of the connection first makes this one keep the body it
// would otherwise read later, so what it shows is still its snapshot.
class View {
public:
    View(Connection& connection, QString table, QString name);
    ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    const QString& name() const { return name_; }
    const QString& table() const { return table_; }
    Connection& connection() const { return connection_; }

    // A filter "column=value" with value true, false or an integer; empty for none.
    void setFilterText(const QString& filter);
    // Switching the filter re-filters the open snapshot and goes to the first row.
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    void open();
    void close();
    bool isOpen() const { return state_ != ViewState::Inactive; }
    ViewState state() const { return state_; }
    bool editing() const { return state_ == ViewState::Edit || state_ == ViewState::Insert; }

    // Cursor. Moving while a row is being edited first lets bound controls write, then posts
    // if anything changed, else cancels (the record-cursor rule). Closing does the same.
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row); // 0-based position among the visible rows
    bool eof() const;
    bool bof() const;
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    int position() const { return pos_; } // -1 when empty
    bool locate(const QString& column, const QVariant& value);

    // Reading the current row (the edit buffer while editing).
    QVariant value(const QString& column) const;
    // The same by position, for walks that read the same columns of every row.
    int fieldIndex(const QString& column) const { return columnIndex(column); }
    QVariant value(int column) const;
    // The stored value itself, not a copy: for scans over every row. A memo body reads as its
    // UTF-8 bytes.
    const QVariant& field(int column) const;
    int intValue(const QString& column) const;   // null reads as 0
    bool boolValue(const QString& column) const; // null reads as false
    double dateValue(const QString& column) const;
    QString textValue(const QString& column) const;
    bool isNull(const QString& column) const;
    // Reading any visible row without moving the cursor (for list models).
    QVariant valueAt(int row, const QString& column) const;
    QVariant stored(int column, const QVariant& raw) const;
    // The row key (SQLite rowid) of a visible row, for lists that keep their own selection.
    qint64 keyAt(int row) const;

    // Editing.
    void edit();
    void append();
    void setValue(const QString& column, const QVariant& value);
    bool modified() const { return modified_; }
    void post();
    void cancel();
    void deleteRow();

    // Before another view of the connection changes or deletes row `rowid`: read its body
    // now if it has not been read yet.
    void keepBodyOf(qint64 rowid);

    // Bound controls. The view does not own them.
    void addLink(DataLink* link);
    void removeLink(DataLink* link);

private:
    using Row = StoredRow;
    int columnIndex(const QString& column) const;
    void ensureOpen(const char* what) const;
    void ensureEditing() const;
    void checkBrowse(); // applies the record-cursor rule before a move
    void refilter();
    bool passes(const Row& row) const;
    void notifyRecordChanged();
    void writeRow(Row& row, bool insert);
    Row readRow(qint64 rowid) const;
    const Row* currentRow() const;
    // The value of column `c` of `row`, reading a pending body first.
    QVariant read(const Row& row, int c) const;
    void loadBody(Row& row) const;
    QString selectList() const;

    Connection& connection_;
    QString table_;
    QString name_;
    std::span<const ColumnDef> columns_;
    int memoColumn_ = -1;
    QString filterText_;
    int filterColumn_ = -1;
    QVariant filterValue_;
    bool filtered_ = false;

    ViewState state_ = ViewState::Inactive;
    mutable std::vector<Row> all_; // the snapshot, table order; bodies are read into it
    std::vector<int> visible_;    // indexes into all_ that pass the filter
    int pos_ = -1;                // index into visible_
    bool eof_ = true, bof_ = true;
    mutable Row buffer_;          // the row being edited or appended
    std::vector<bool> changed_;   // columns set in the buffer
    bool modified_ = false;
    std::vector<DataLink*> links_;
};

} // namespace brimble
