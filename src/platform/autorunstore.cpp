#include "platform/autorunstore.h"

#ifdef Q_OS_WIN
#include "platform/registryautorun.h"
#else
#include "platform/xdgautorun.h"
#endif

namespace brimble {

std::unique_ptr<AutorunStore> makeAutorunStore() {
#ifdef Q_OS_WIN
    return std::make_unique<RegistryAutorunStore>();
#else
    return std::make_unique<XdgAutorunStore>();
#endif
}

} // namespace brimble
