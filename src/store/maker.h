#pragma once

#include <QString>

namespace brimble {

// Makes the delivered database at `path`: both tables and the one settings row, keyed with
// the program's password. Returns false and leaves the file alone when it already exists.
// Throws DbError when the file cannot be made.
bool makeDeliveredDatabase(const QString& path);

} // namespace brimble
