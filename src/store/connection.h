#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

struct sqlite3;

namespace brimble {

// The one connection to the memo database. The connection string carries the file and its
// key: "Provider=SQLCipher;Data Source=<dir>bm.mdb;Persist Security Info=False;Password=<key>".
class Connection {
public:
    static constexpr const char* kPrefix = "Provider=SQLCipher;Data Source=";
    static constexpr const char* kSuffix = "bm.mdb;Persist Security Info=False;Password=wvqz47";
    static QString connectionStringFor(const QString& directoryWithSeparator);

    // Settings of the encrypted file that every open must repeat after keying.
    static void applyCipherSettings(sqlite3* db);

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(const QString& text) { connectionString_ = text; }
    const QString& connectionString() const { return connectionString_; }

    // Opens the existing file read-write (never creates it) and checks the key by reading the
    // schema. Throws DbError with the engine's text on failure.
    void open();
    void close();
    bool isOpen() const { return db_ != nullptr; }

    sqlite3* handle() const;
    // Runs SQL that returns no rows; throws DbError with the engine's text.
    void exec(const char* sql);
    // Raises an error for the last failed call on this connection.
    [[noreturn]] void fail(const QString& context = {}) const;

    // Bulk writes of a transient mark (the popped flags) may skip waiting for the disk:
    // losing them in a power cut is harmless, they are cleared at every start.
    void setDurableCommits(bool durable);

    // Long texts read by several views are kept once: a view reading a row whose text equals
    // the one already held shares it instead of holding a copy of its own.
    QByteArray shareText(qint64 rowid, const char* data, int size);

private:
    QString connectionString_;
    QHash<qint64, QByteArray> texts_;
    sqlite3* db_ = nullptr;
};

} // namespace brimble
