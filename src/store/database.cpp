#include "store/database.h"

#include "store/dberror.h"

#include <exception>

namespace brimble {

Database::Database() {
    BM.setFilterText(QStringLiteral("done=false"));
    BM.setFiltered(true);
    bms.setFilterText(QStringLiteral("done=false"));
    bms.setFiltered(true);
    bmall.setFilterText(QStringLiteral("done=true"));
    bmall.setFiltered(true);
}

void Database::reopen(View& view) {
    view.close();
    view.open();
}

void Database::clearPopped(View& view) {
    Connection* c = nullptr;
    struct Durable { // back to full sync however the walk ends
        Connection*& c;
        ~Durable() {
            if (c)
                try {
                    c->setDurableCommits(true);
                } catch (...) {
                }
        }
    } restore{c};
    std::exception_ptr failure;
    for (view.first(); !view.eof(); view.next()) {
        if (!view.boolValue(QStringLiteral("popped")))
            continue; // writing false over false changes nothing
        if (!c) {
            c = &view.connection();
            c->setDurableCommits(false);
        }
        try {
            setPopped(view, false);
        } catch (const DbError&) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

void Database::setPopped(View& view, bool popped) {
    view.edit();
    view.setValue(QStringLiteral("popped"), popped);
    postOrCancel(view);
}

void Database::postOrCancel(View& view) {
    try {
        view.post();
    } catch (...) {
        view.cancel();
        throw;
    }
}

} // namespace brimble
