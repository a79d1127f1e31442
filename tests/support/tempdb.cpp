#include "tempdb.h"

#include "store/connection.h"
#include "store/maker.h"

#include <stdexcept>

namespace brimble::test {

TempDb::TempDb() {
    if (!dir_.isValid())
        throw std::runtime_error("no temporary directory");
    makeDeliveredDatabase(filePath());
}

QString TempDb::directory() const { return dir_.path() + QLatin1Char('/'); }
QString TempDb::filePath() const { return directory() + QStringLiteral("bm.mdb"); }
QString TempDb::connectionString() const { return Connection::connectionStringFor(directory()); }

} // namespace brimble::test
