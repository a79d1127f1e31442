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

} // namespace brimble
