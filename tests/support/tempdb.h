#pragma once

#include <QString>
#include <QTemporaryDir>
#include "printers.h"

namespace brimble::test {

// A fresh delivered database in a temporary directory, as the build makes it.
class TempDb {
public:
    TempDb();
    // The directory with its trailing separator, as the program takes it.
    QString directory() const;
    QString filePath() const;
    QString connectionString() const;

private:
    QTemporaryDir dir_;
};

} // namespace brimble::test
