#pragma once

#include "platform/platform.h"

namespace brimble {

// The start at log-on (`AR`): a value named "brimble!" in the autorun store of the current
// user or of the local machine, holding the command that starts this program. Every failure
// of the store is ignored.
class TAutoRun {
public:
    static inline const QString kValueName = QStringLiteral("brimble!");

    explicit TAutoRun(Platform& platform) : platform_(platform) {}

    // Takes the state from the store, the current user's value first; writes nothing.
    void load();

    bool autoRun() const { return autoRun_; }
    // Acts only on a change: removes the value from both places, then writes it under the
    // current location when switched on.
    void setAutoRun(bool value);

    AutorunRoot location() const { return location_; }

private:
    Platform& platform_;
    AutorunRoot location_ = AutorunRoot::CurrentUser;
    bool autoRun_ = false;
};

} // namespace brimble
