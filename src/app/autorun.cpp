#include "app/autorun.h"

#include "platform/commandline.h"

namespace brimble {

void TAutoRun::load() {
    AutorunStore& store = platform_.autorunStore();
    for (AutorunRoot root : {AutorunRoot::CurrentUser, AutorunRoot::LocalMachine}) {
        const auto value = store.read(root, kValueName);
        if (value && !value->isEmpty()) {
            location_ = root;
            autoRun_ = true;
            return;
        }
    }
    autoRun_ = false;
}

void TAutoRun::setAutoRun(bool value) {
    if (value == autoRun_)
        return;
    autoRun_ = value;
    AutorunStore& store = platform_.autorunStore();
    store.remove(AutorunRoot::CurrentUser, kValueName);
    store.remove(AutorunRoot::LocalMachine, kValueName);
    if (!value)
        return;
    const QString path = platform_.programFilePath();
    // An empty value would read back as "off"; with no path there is nothing to start.
    if (!path.isEmpty())
        store.write(location_, kValueName, autorunCommandLine(path));
}

} // namespace brimble
