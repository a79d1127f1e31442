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
    // transient, so these posts do not wait for the disk. A row that cannot be written is
    // left as it is and the walk goes on; the first failure is raised at the end.
    static void clearPopped(View& view);
    // Writes the popped mark of the current row. A refused post cancels the edit before the
    // error goes on: a transient mark must not leave the view editing, where every later
    // move of its cursor would try the same post again.
    static void setPopped(View& view, bool popped);
    // Posts a row the program filled itself (no typed text): refused, the edit is dropped.
    static void postOrCancel(View& view);
};

} // namespace brimble
