#include "app/startup.h"

#include "app/errorboundary.h"
#include "app/mainwindow.h"
#include "app/sessionend.h"
#include "dialogs/aboutbox.h"
#include "dialogs/historywindow.h"
#include "platform/platform.h"

namespace brimble {

Program::Program(Platform& platform) : platform_(platform) {}

Program::~Program() = default;

void Program::start() {
    ErrorBoundary::install(&platform_);
    form1_ = std::make_unique<TForm1>(platform_);
    form1_->FormCreate();
    // The Customize, Edit History, About, Quick Images and Insert HyperLink windows are made
    // here, in that order, by the work that builds them; all start hidden.
    form3_ = std::make_unique<TForm3>(form1_->database().bmall,
                                      [](const std::function<void()>& step) {
                                          ErrorBoundary::run(step);
                                      });
    form1_->setEditHistoryWindow(form3_.get());
    about_ = std::make_unique<Tabout>();
    form1_->setAboutWindow(about_.get());
    sessionEnd_ = std::make_unique<SessionEnd>([this] { form1_->close(); });
    form1_->startInTray();
}

} // namespace brimble
