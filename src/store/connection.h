#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>
#include <map>
#include <vector>

struct sqlite3;

namespace brimble {

// One row of a table as read: its key and its values in the table's column order. A memo
// body is read only when asked for: until then `bodyPending` is set and its value is null.
struct StoredRow {
    qint64 rowid = 0;
    QVector<QVariant> values;
    bool bodyPending = false;
};

class View;

// The one connection to the memo database. The connection string carries the file and its
// key: "Provider=SQLCipher;Data Source=<dir>bm.mdb;Persist Security Info=False;Password=<key>";
// a path that holds ';' or a quote is given in double quotes.
class Connection {
public:
    static constexpr const char* kPrefix = "Provider=SQLCipher;Data Source=";
    static constexpr const char* kFileName = "bm.mdb";
    static constexpr const char* kSettings = ";Persist Security Info=False;Password=wvqz47";
    static constexpr const char* kSuffix = "bm.mdb;Persist Security Info=False;Password=wvqz47";
    static constexpr int kBusyTimeoutMs = 1000;
    static QString connectionStringFor(const QString& directoryWithSeparator);
    // The same for a database file wherever it lies.
    static QString connectionStringForFile(const QString& file);

    // Settings of the encrypted file that every open must repeat after keying.
    static void applyCipherSettings(sqlite3* db);

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(const QString& text) { connectionString_ = text; }
    const QString& connectionString() const { return connectionString_; }
    // The file the connection string names.
    QString fileName() const;

    // Opens the existing file read-write (never creates it) and checks the key by reading the
    // schema. Throws DbError with the engine's text on failure.
    void open();
    void close();
    bool isOpen() const { return db_ != nullptr; }

    sqlite3* handle() const;
    // Runs SQL that returns no rows; throws DbError with the engine's text.
    void exec(const char* sql);
    // Raises an error for the last failed call on this connection, naming the file where the
    // failure concerns it.
    [[noreturn]] void fail(const QString& context = {}) const;
    QString errorText() const;

    // Whether the file has the index views read their snapshots from.
    bool hasRowsIndex() const { return rowsIndex_; }

    // Views of this connection, so that a write through one lets the others keep, as their
    // snapshot has it, a body they have not read yet.
    void enroll(View* view);
    void leave(View* view);
    void beforeRowWrite(const QString& table, qint64 rowid, const View* writer);

    // Bulk writes of a transient mark (the popped flags) may skip waiting for the disk:
    // losing them in a power cut is harmless, they are cleared at every start.
    void setDurableCommits(bool durable);

    // Long texts read by several views are kept once: a view reading a row whose text equals
    // the one already held shares it instead of holding a copy of its own.
    QByteArray shareText(qint64 rowid, const char* data, int size);

    // The rows of a table as a view last read them, while nothing has been written to the
    // file since, by this connection or another: views opened again in the meantime take
    // these instead of reading the whole table again. Null when the table must be read, and
    // always inside a transaction.
    const std::vector<StoredRow>* unchangedRows(const QString& table);
    void keepRows(const QString& table, const std::vector<StoredRow>& rows);

private:
    // What tells that the file may have changed: commits of other connections, and rows
    // this connection inserted, updated or deleted (rolled-back ones included).
    struct Changes {
        qint64 otherCommits = -1;
        qint64 ownRows = -1;
        bool operator==(const Changes&) const = default;
    };
    Changes changes();
    struct KeptRows {
        Changes at;
        std::vector<StoredRow> rows;
    };

    QString connectionString_;
    QString file_;
    bool rowsIndex_ = false;
    std::vector<View*> views_;
    QHash<qint64, QByteArray> texts_;
    std::map<QString, KeptRows> kept_;
    sqlite3* db_ = nullptr;
};

} // namespace brimble
