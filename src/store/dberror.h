#pragma once

#include <QString>
#include <stdexcept>

namespace brimble {

// A failure of the database engine or of a refused operation on a view. The message is the
// text the user sees in the error box (the engine's own text for engine failures).
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// An update met no row: another process or view removed it after the snapshot was taken.
class RowVanished : public DbError {
public:
    using DbError::DbError;
};

} // namespace brimble
