// Makes the delivered database next to the program when there is none.
#include "store/dberror.h"
#include "store/maker.h"

#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brimble-makedb PATH/bm.mdb\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    try {
        if (brimble::makeDeliveredDatabase(path))
            std::printf("made %s\n", argv[1]);
    } catch (const brimble::DbError& e) {
        std::fprintf(stderr, "brimble-makedb: %s\n", e.what());
        return 1;
    }
    return 0;
}
