#include "store/view.h"

#include "store/connection.h"
#include "store/datalink.h"
#include "store/datetime.h"
#include "store/dberror.h"

#include <QStringList>
#include <algorithm>
#include <sqlcipher/sqlite3.h>

namespace brimble {

namespace {

// Finalizes a statement on every path out.
class Statement {
public:
    Statement(Connection& c, const QString& sql) : c_(c) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(c.handle(), text.constData(), int(text.size()), &s_, nullptr) !=
            SQLITE_OK)
            c.fail();
    }
    ~Statement() { sqlite3_finalize(s_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return s_; }
    bool step() {
        const int rc = sqlite3_step(s_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            c_.fail();
        return false;
    }

private:
    Connection& c_;
    sqlite3_stmt* s_ = nullptr;
};

QVariant readColumn(Connection& c, qint64 rowid, sqlite3_stmt* s, int i, ColumnKind kind) {
    if (sqlite3_column_type(s, i) == SQLITE_NULL)
        return {};
    switch (kind) {
    case ColumnKind::Key:
    case ColumnKind::Integer:
        return int(sqlite3_column_int64(s, i));
    case ColumnKind::YesNo:
        return sqlite3_column_int64(s, i) != 0;
    case ColumnKind::DateTime:
        return sqlite3_column_double(s, i);
    case ColumnKind::Text: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
        return QString::fromUtf8(text, sqlite3_column_bytes(s, i));
    }
    case ColumnKind::Memo: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
        return c.shareText(rowid, text, sqlite3_column_bytes(s, i));
    }
    }
    return {};
}

const QString kVanished = QStringLiteral("Row handle referred to a deleted row or a row marked "
                                         "for deletion.");

void bindValue(Connection& c, sqlite3_stmt* s, int i, const QVariant& v, ColumnKind kind) {
    int rc = SQLITE_OK;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(s, i);
    } else {
        switch (kind) {
        case ColumnKind::Key:
        case ColumnKind::Integer:
            rc = sqlite3_bind_int64(s, i, v.toInt());
            break;
        case ColumnKind::YesNo:
            rc = sqlite3_bind_int(s, i, v.toBool() ? 1 : 0);
            break;
        case ColumnKind::DateTime:
            rc = sqlite3_bind_double(s, i, v.toDouble());
            break;
        case ColumnKind::Text: {
            const QByteArray text = v.toString().toUtf8();
            rc = sqlite3_bind_text(s, i, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        case ColumnKind::Memo: {
            const QByteArray text = v.toByteArray();
            rc = sqlite3_bind_text(s, i, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        c.fail();
}

QString quoted(const char* name) { return QStringLiteral("\"%1\"").arg(QLatin1String(name)); }

} // namespace

View::View(Connection& connection, QString table, QString name)
    : connection_(connection), table_(std::move(table)), name_(std::move(name)),
      columns_(columnsOf(table_)) {
    if (columns_.empty())
        throw DbError(QStringLiteral("Unknown table '%1'.").arg(table_));
    for (int i = 0; i < int(columns_.size()); ++i)
        if (columns_[i].kind == ColumnKind::Memo)
            memoColumn_ = i;
    connection_.enroll(this);
}

View::~View() { connection_.leave(this); }

QString View::selectList() const {
    // The body is left out: it is read when asked for.
    QStringList names{QStringLiteral("rowid")};
    for (const auto& c : columns_)
        names << (c.kind == ColumnKind::Memo ? QStringLiteral("NULL") : quoted(c.name));
    return names.join(QLatin1String(", "));
}

void View::setFilterText(const QString& filter) {
    filterText_ = filter.trimmed();
    filterColumn_ = -1;
    filterValue_ = {};
    if (!filterText_.isEmpty()) {
        const qsizetype eq = filterText_.indexOf(QLatin1Char('='));
        if (eq <= 0)
            throw DbError(QStringLiteral("Invalid filter '%1'.").arg(filter));
        filterColumn_ = columnIndex(filterText_.left(eq).trimmed());
        const QString v = filterText_.mid(eq + 1).trimmed().toLower();
        if (v == QLatin1String("true") || v == QLatin1String("false")) {
            filterValue_ = v == QLatin1String("true");
        } else {
            bool ok = false;
            const int n = v.toInt(&ok);
            if (!ok)
                throw DbError(QStringLiteral("Invalid filter '%1'.").arg(filter));
            filterValue_ = n;
        }
    }
    if (isOpen()) {
        checkBrowse();
        refilter();
    }
}

void View::setFiltered(bool on) {
    if (filtered_ == on)
        return;
    if (isOpen())
        checkBrowse();
    filtered_ = on;
    if (isOpen())
        refilter();
}

void View::open() {
    if (isOpen())
        return;
    // Several views show the same table; after a write they are opened again one after the
    // other, and only the first needs to read it. Rows are shared, not copied.
    if (const std::vector<Row>* kept = connection_.unchangedRows(table_)) {
        all_ = *kept;
        state_ = ViewState::Browse;
        refilter();
        return;
    }
    // The rows come from the index that holds every column but the body, when there is one.
    const QString from = memoColumn_ >= 0 && connection_.hasRowsIndex()
                             ? QStringLiteral("\"%1\" INDEXED BY \"%2\"")
                                   .arg(table_, QLatin1String(kRowsIndex))
                             : QStringLiteral("\"%1\"").arg(table_);
    Statement s(connection_,
                QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid;").arg(selectList(), from));
    std::vector<Row> rows;
    const int n = int(columns_.size());
    while (s.step()) {
        Row r;
        r.rowid = sqlite3_column_int64(s.get(), 0);
        r.values.resize(n);
        for (int i = 0; i < n; ++i)
            if (i != memoColumn_)
                r.values[i] = readColumn(connection_, r.rowid, s.get(), i + 1, columns_[i].kind);
        r.bodyPending = memoColumn_ >= 0;
        rows.push_back(std::move(r));
    }
    connection_.keepRows(table_, rows);
    all_ = std::move(rows);
    state_ = ViewState::Browse;
    refilter();
}

void View::close() {
    if (!isOpen())
        return;
    // Closing keeps what a bound control typed, as moving the cursor does.
    checkBrowse();
    state_ = ViewState::Inactive;
    all_.clear();
    visible_.clear();
    pos_ = -1;
    eof_ = bof_ = true;
    for (DataLink* l : std::vector<DataLink*>(links_)) {
        l->recordChanged(*this);
        l->dataChanged(*this);
    }
}

void View::refilter() {
    visible_.clear();
    visible_.reserve(all_.size());
    for (int i = 0; i < int(all_.size()); ++i)
        if (passes(all_[i]))
            visible_.push_back(i);
    pos_ = visible_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = visible_.empty();
    for (DataLink* l : std::vector<DataLink*>(links_))
        l->dataChanged(*this);
    notifyRecordChanged();
}

bool View::passes(const Row& row) const {
    if (!filtered_ || filterColumn_ < 0)
        return true;
    const QVariant& v = row.values[filterColumn_];
    if (filterValue_.typeId() == QMetaType::Bool)
        return v.toBool() == filterValue_.toBool(); // a null yes/no reads as false
    return v.isValid() && v.toInt() == filterValue_.toInt();
}

void View::ensureOpen(const char* what) const {
    if (!isOpen())
        throw DbError(QStringLiteral("%1: cannot perform this operation on a closed view (%2).")
                          .arg(name_, QLatin1String(what)));
}

void View::ensureEditing() const {
    ensureOpen("set a value");
    if (!editing())
        throw DbError(QStringLiteral("%1: the view is not in edit or insert mode.").arg(name_));
}

void View::checkBrowse() {
    if (!editing())
        return;
    for (DataLink* l : std::vector<DataLink*>(links_))
        l->updateRecord(*this);
    if (modified_)
        post();
    else
        cancel();
}

void View::notifyRecordChanged() {
    for (DataLink* l : std::vector<DataLink*>(links_))
        l->recordChanged(*this);
}

void View::first() {
    ensureOpen("first");
    checkBrowse();
    pos_ = visible_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = visible_.empty();
    notifyRecordChanged();
}

void View::last() {
    ensureOpen("last");
    checkBrowse();
    pos_ = int(visible_.size()) - 1;
    eof_ = true;
    bof_ = visible_.empty();
    notifyRecordChanged();
}

void View::next() {
    ensureOpen("next");
    checkBrowse();
    if (pos_ + 1 < int(visible_.size())) {
        ++pos_;
        bof_ = false;
        eof_ = false;
        notifyRecordChanged();
    } else {
        eof_ = true; // stays on the last row, as a record cursor does
    }
}

void View::prior() {
    ensureOpen("prior");
    checkBrowse();
    if (pos_ > 0) {
        --pos_;
        bof_ = false;
        eof_ = false;
        notifyRecordChanged();
    } else {
        bof_ = true;
    }
}

void View::moveTo(int row) {
    ensureOpen("move");
    if (row < 0 || row >= int(visible_.size()) || row == pos_)
        return;
    checkBrowse();
    // Posting may not change the rows, but a failed post leaves us where we were.
    pos_ = std::min(row, int(visible_.size()) - 1);
    bof_ = eof_ = false;
    notifyRecordChanged();
}

bool View::eof() const { return !isOpen() || eof_; }
bool View::bof() const { return !isOpen() || bof_; }

int View::recordCount() const {
    ensureOpen("record count");
    return int(visible_.size());
}

bool View::locate(const QString& column, const QVariant& value) {
    ensureOpen("locate");
    const int c = columnIndex(column);
    for (int i = 0; i < int(visible_.size()); ++i) {
        const QVariant v = read(all_[visible_[i]], c);
        if (v.isValid() && value.isValid() && v == value) {
            if (i != pos_) {
                checkBrowse();
                pos_ = i;
                bof_ = eof_ = false;
                notifyRecordChanged();
            }
            return true;
        }
    }
    return false;
}

int View::columnIndex(const QString& column) const {
    for (int i = 0; i < int(columns_.size()); ++i)
        if (column.compare(QLatin1String(columns_[i].name), Qt::CaseInsensitive) == 0)
            return i;
    throw DbError(QStringLiteral("%1: no column named '%2'.").arg(name_, column));
}

const View::Row* View::currentRow() const {
    if (editing())
        return &buffer_;
    if (pos_ < 0 || pos_ >= int(visible_.size()))
        return nullptr;
    return &all_[visible_[pos_]];
}

QVariant View::value(const QString& column) const {
    ensureOpen("read");
    const int c = columnIndex(column);
    const Row* r = currentRow();
    return r ? stored(c, read(*r, c)) : QVariant();
}

QVariant View::value(int column) const {
    ensureOpen("read");
    if (column < 0 || column >= int(columns_.size()))
        throw DbError(QStringLiteral("%1: no column number %2.").arg(name_).arg(column));
    const Row* r = currentRow();
    return r ? stored(column, read(*r, column)) : QVariant();
}

const QVariant& View::field(int column) const {
    static const QVariant none;
    ensureOpen("read");
    if (column < 0 || column >= int(columns_.size()))
        throw DbError(QStringLiteral("%1: no column number %2.").arg(name_).arg(column));
    const Row* r = currentRow();
    if (!r)
        return none;
    if (column == memoColumn_ && r->bodyPending)
        loadBody(const_cast<Row&>(*r));
    return r->values[column];
}

QVariant View::read(const Row& row, int c) const {
    if (c == memoColumn_ && row.bodyPending)
        loadBody(const_cast<Row&>(row)); // only the body's cache changes
    return row.values[c];
}

void View::loadBody(Row& row) const {
    Statement s(connection_, QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE rowid = ?;")
                                 .arg(QLatin1String(columns_[memoColumn_].name), table_));
    sqlite3_bind_int64(s.get(), 1, row.rowid);
    const bool found = s.step();
    // Whatever came of it, the row is not read again: a vanished row is reported once.
    row.bodyPending = false;
    if (!found) {
        row.values[memoColumn_] = QVariant();
        throw RowVanished(kVanished);
    }
    // A copy of its own: bodies read one at a time are not kept once every view lets go.
    if (sqlite3_column_type(s.get(), 0) == SQLITE_NULL)
        row.values[memoColumn_] = QVariant();
    else
        row.values[memoColumn_] =
            QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)),
                       sqlite3_column_bytes(s.get(), 0));
}

void View::keepBodyOf(qint64 rowid) {
    if (memoColumn_ < 0 || !isOpen())
        return;
    auto keep = [this](Row& r) {
        if (!r.bodyPending)
            return;
        try {
            loadBody(r);
        } catch (const DbError&) {
            // Nothing to keep: the view says so when the body is asked for.
        }
    };
    // Rows are in rowid order, appended ones last with higher keys.
    auto it = std::lower_bound(all_.begin(), all_.end(), rowid,
                               [](const Row& r, qint64 key) { return r.rowid < key; });
    if (it != all_.end() && it->rowid == rowid)
        keep(*it);
    if (state_ == ViewState::Edit && buffer_.rowid == rowid)
        keep(buffer_);
}

QVariant View::stored(int column, const QVariant& raw) const {
    if (columns_[column].kind == ColumnKind::Memo && raw.isValid())
        return QString::fromUtf8(raw.toByteArray());
    return raw;
}

int View::intValue(const QString& column) const { return value(column).toInt(); }
bool View::boolValue(const QString& column) const { return value(column).toBool(); }
double View::dateValue(const QString& column) const { return value(column).toDouble(); }
QString View::textValue(const QString& column) const { return value(column).toString(); }
bool View::isNull(const QString& column) const { return !value(column).isValid(); }

QVariant View::valueAt(int row, const QString& column) const {
    ensureOpen("read");
    const int c = columnIndex(column);
    if (row < 0 || row >= int(visible_.size()))
        return {};
    if (editing() && row == pos_ && state_ == ViewState::Edit)
        return stored(c, read(buffer_, c));
    return stored(c, read(all_[visible_[row]], c));
}

qint64 View::keyAt(int row) const {
    ensureOpen("read");
    if (row < 0 || row >= int(visible_.size()))
        return 0;
    return all_[visible_[row]].rowid;
}

void View::edit() {
    ensureOpen("edit");
    if (editing())
        return;
    const Row* r = currentRow();
    if (!r)
        throw DbError(QStringLiteral("%1: there is no current row to edit.").arg(name_));
    buffer_ = *r;
    changed_.assign(columns_.size(), false);
    modified_ = false;
    state_ = ViewState::Edit;
}

void View::append() {
    ensureOpen("append");
    checkBrowse();
    buffer_ = Row{};
    buffer_.values.resize(int(columns_.size()));
    // A new row reads as the file will hold it: yes/no columns false, others null.
    for (int i = 0; i < int(columns_.size()); ++i)
        if (columns_[i].kind == ColumnKind::YesNo)
            buffer_.values[i] = false;
    changed_.assign(columns_.size(), false);
    modified_ = false;
    state_ = ViewState::Insert;
    notifyRecordChanged();
}

void View::setValue(const QString& column, const QVariant& value) {
    ensureEditing();
    const int c = columnIndex(column);
    const ColumnDef& def = columns_[c];
    QVariant v;
    if (value.isValid() && !value.isNull()) {
        bool ok = true;
        switch (def.kind) {
        case ColumnKind::Key:
            throw DbError(QStringLiteral("%1: the column '%2' is read-only.").arg(name_, column));
        case ColumnKind::Integer:
            v = value.toInt(&ok);
            break;
        case ColumnKind::YesNo:
            v = value.toBool();
            break;
        case ColumnKind::DateTime:
            v = value.typeId() == QMetaType::QDateTime ? toDays(value.toDateTime())
                                                        : value.toDouble(&ok);
            break;
        case ColumnKind::Memo:
            v = value.toString().toUtf8();
            break;
        case ColumnKind::Text:
            v = value.toString();
            if (def.width > 0 && v.toString().size() > def.width)
                throw DbError(QStringLiteral("The value for column '%1' is %2 characters long; "
                                             "it holds at most %3.")
                                  .arg(column)
                                  .arg(v.toString().size())
                                  .arg(def.width));
            break;
        }
        if (!ok)
            throw DbError(QStringLiteral("'%1' is not a valid value for column '%2'.")
                              .arg(value.toString(), column));
    } else if (def.kind == ColumnKind::YesNo) {
        v = false; // yes/no never holds null
    }
    buffer_.values[c] = v;
    if (c == memoColumn_)
        buffer_.bodyPending = false;
    changed_[c] = true;
    modified_ = true;
}

View::Row View::readRow(qint64 rowid) const {
    Statement s(connection_, QStringLiteral("SELECT %1 FROM \"%2\" WHERE rowid = ?;")
                                 .arg(selectList(), table_));
    sqlite3_bind_int64(s.get(), 1, rowid);
    Row r;
    r.rowid = rowid;
    r.values.resize(int(columns_.size()));
    r.bodyPending = memoColumn_ >= 0;
    if (s.step())
        for (int i = 0; i < int(columns_.size()); ++i)
            if (i != memoColumn_)
                r.values[i] = readColumn(connection_, rowid, s.get(), i + 1, columns_[i].kind);
    return r;
}

void View::writeRow(Row& row, bool insert) {
    QStringList names, marks;
    std::vector<int> cols;
    for (int i = 0; i < int(columns_.size()); ++i) {
        if (!changed_[i] || columns_[i].kind == ColumnKind::Key)
            continue;
        cols.push_back(i);
        names << quoted(columns_[i].name);
    }
    QString sql;
    if (insert) {
        for (size_t i = 0; i < cols.size(); ++i)
            marks << QStringLiteral("?");
        sql = cols.empty() ? QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES;").arg(table_)
                           : QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3);")
                                 .arg(table_, names.join(", "), marks.join(", "));
    } else {
        if (cols.empty())
            return;
        QStringList sets;
        for (const QString& n : names)
            sets << n + QStringLiteral(" = ?");
        sql = QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid = ?;").arg(table_, sets.join(", "));
    }
    if (!insert && memoColumn_ >= 0 && changed_[memoColumn_])
        connection_.beforeRowWrite(table_, row.rowid, this);
    Statement s(connection_, sql);
    int bind = 1;
    for (int c : cols)
        bindValue(connection_, s.get(), bind++, row.values[c], columns_[c].kind);
    if (!insert)
        sqlite3_bind_int64(s.get(), bind, row.rowid);
    s.step();
    if (insert) {
        Row fresh = readRow(sqlite3_last_insert_rowid(connection_.handle()));
        // The body just written is the one in the buffer: no need to read it back.
        if (memoColumn_ >= 0 && changed_[memoColumn_]) {
            fresh.values[memoColumn_] = row.values[memoColumn_];
            fresh.bodyPending = false;
        }
        row = std::move(fresh);
    } else if (sqlite3_changes(connection_.handle()) == 0) {
        throw RowVanished(QStringLiteral("Row cannot be located for updating: it was removed since "
                                     "the view '%1' was opened.")
                          .arg(name_));
    }
}

void View::post() {
    ensureOpen("post");
    if (!editing())
        return;
    for (DataLink* l : std::vector<DataLink*>(links_))
        l->updateRecord(*this);
    if (state_ == ViewState::Insert) {
        writeRow(buffer_, true);
        all_.push_back(buffer_);
        // The view that appended a row shows it, filter or not, until it is opened again.
        visible_.push_back(int(all_.size()) - 1);
        pos_ = int(visible_.size()) - 1;
    } else {
        writeRow(buffer_, false);
        all_[visible_[pos_]] = buffer_;
    }
    state_ = ViewState::Browse;
    modified_ = false;
    bof_ = eof_ = false;
    for (DataLink* l : std::vector<DataLink*>(links_))
        l->dataChanged(*this);
}

void View::cancel() {
    if (!editing())
        return;
    const bool wasInsert = state_ == ViewState::Insert;
    state_ = ViewState::Browse;
    modified_ = false;
    buffer_ = Row{};
    for (DataLink* l : std::vector<DataLink*>(links_))
        l->editCancelled(*this);
    if (wasInsert)
        notifyRecordChanged();
}

void View::deleteRow() {
    ensureOpen("delete");
    if (state_ == ViewState::Insert) {
        cancel();
        return;
    }
    if (state_ == ViewState::Edit)
        cancel();
    if (pos_ < 0 || pos_ >= int(visible_.size()))
        throw DbError(QStringLiteral("%1: there is no current row to delete.").arg(name_));
    const int index = visible_[pos_];
    connection_.beforeRowWrite(table_, all_[index].rowid, this);
    Statement s(connection_, QStringLiteral("DELETE FROM \"%1\" WHERE rowid = ?;").arg(table_));
    sqlite3_bind_int64(s.get(), 1, all_[index].rowid);
    s.step();
    all_.erase(all_.begin() + index);
    visible_.erase(visible_.begin() + pos_);
    for (int& v : visible_)
        if (v > index)
            --v;
    if (pos_ >= int(visible_.size()))
        pos_ = int(visible_.size()) - 1;
    eof_ = visible_.empty();
    bof_ = visible_.empty();
    for (DataLink* l : std::vector<DataLink*>(links_))
        l->dataChanged(*this);
    notifyRecordChanged();
}

void View::addLink(DataLink* link) {
    if (std::find(links_.begin(), links_.end(), link) == links_.end())
        links_.push_back(link);
}

void View::removeLink(DataLink* link) { std::erase(links_, link); }

} // namespace brimble
