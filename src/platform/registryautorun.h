#pragma once

#include "platform/platform.h"

namespace brimble {

// Start at log-on through the Run keys of the Windows registry, under the current user or
// the local machine. A missing Run key is never created.
class RegistryAutorunStore : public AutorunStore {
public:
    std::optional<QString> read(AutorunRoot root, const QString& name) override;
    bool write(AutorunRoot root, const QString& name, const QString& text) override;
    bool remove(AutorunRoot root, const QString& name) override;
};

} // namespace brimble
