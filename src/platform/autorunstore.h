#pragma once

#include "platform/platform.h"

#include <memory>

namespace brimble {

// The autorun store of this system: the registry's Run keys on Windows, XDG autostart
// entries elsewhere.
std::unique_ptr<AutorunStore> makeAutorunStore();

} // namespace brimble
