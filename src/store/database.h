#pragma once

#include "store/connection.h"
#include "store/view.h"

namespace brimble {

// The one connection and the four views the main window owns for the whole run.
struct Database {
    Connection ADOConnection1;
    View BM{ADOConnection1, QStringLiteral("bm"), QStringLiteral("BM")};
    View bms{ADOConnection1, QStringLiteral("bm"), QStringLiteral("bms")};
    View bmall{ADOConnection1, QStringLiteral("bm"), QStringLiteral("bmall")};
    View config{ADOConnection1, QStringLiteral("config"), QStringLiteral("config")};

    Database();
    // Closes and opens a view again: the snapshot refresh after a write through another view.
    static void reopen(View& view);
    // Walks `view` and clears every popped mark that is set, one post per row. The mark is
    // transient, so these posts do not wait for the disk.
    static void clearPopped(View& view);
};

} // namespace brimble
