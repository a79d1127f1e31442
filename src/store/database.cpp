#include "store/database.h"

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
    for (view.first(); !view.eof(); view.next()) {
        if (!view.boolValue(QStringLiteral("popped")))
            continue; // writing false over false changes nothing
        if (!c) {
            c = &view.connection();
            c->setDurableCommits(false);
        }
        view.edit();
        view.setValue(QStringLiteral("popped"), false);
        view.post();
    }
}

} // namespace brimble
