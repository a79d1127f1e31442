#include "platform/windowhints.h"

#include <QtGlobal>

namespace brimble {

bool drawsOwnButtonlessTitle() {
#if defined(Q_OS_WIN)
    return false;
#else
    return true;
#endif
}

} // namespace brimble
