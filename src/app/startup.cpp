#include "app/startup.h"

#include "app/errorboundary.h"
#include "app/mainwindow.h"
#include "app/sessionend.h"
#include "platform/platform.h"

namespace brimble {

Program::Program(Platform& platform) : platform_(platform) {}

Program::~Program() = default;

void Program::start() {
    ErrorBoundary::install(&platform_);
    form1_ = std::make_unique<TForm1>(platform_);
    form1_->FormCreate();
    // The Customize, Edit History, About, Quick Images and Insert HyperLink windows are made
    // here, in that order, by the work that builds them.
    sessionEnd_ = std::make_unique<SessionEnd>([this] { form1_->close(); });
    form1_->startInTray();
}

} // namespace brimble
