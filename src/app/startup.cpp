#include "app/startup.h"

#include "app/autorun.h"
#include "app/errorboundary.h"
#include "app/mainwindow.h"
#include "app/sessionend.h"
#include "dialogs/aboutbox.h"
#include "dialogs/customize.h"
#include "dialogs/historywindow.h"
#include "dialogs/hyperlink.h"
#include "dialogs/quickimages.h"
#include "editor/formatbar.h"
#include "platform/platform.h"
#include "reminders/popups.h"
#include "reminders/scheduler.h"

namespace brimble {

Program::Program(Platform& platform) : platform_(platform) {}

Program::~Program() = default;

void Program::start() {
    ErrorBoundary::install(&platform_);
    form1_ = std::make_unique<TForm1>(platform_);
    form1_->FormCreate();
    // The Customize, Edit History, About, Quick Images and Insert HyperLink windows are made
    // here, in that order, by the work that builds them; all start hidden. Making the
    // Customize window reads the stored settings and applies them.
    TForm1& main = *form1_;
    form2_ = std::make_unique<TForm2>(
        main.database().config, platform_,
        CustomizeTargets{
            [&main](int ms) { main.scheduler().setIntervalMs(ms); },
            [&main] { main.popups().tileit(); },
            [&main] { main.popups().cascadeit(); },
            [&main](bool on) { main.autorun().setAutoRun(on); },
            [&main](quint32 bgr) { main.setListSelectionColor(bgr); },
        },
        [](const std::function<void()>& step) { ErrorBoundary::run(step); });
    form1_->setCustomizeWindow(form2_.get());
    form3_ = std::make_unique<TForm3>(form1_->database().bmall,
                                      [](const std::function<void()>& step) {
                                          ErrorBoundary::run(step);
                                      });
    form1_->setEditHistoryWindow(form3_.get());
    about_ = std::make_unique<Tabout>();
    form1_->setAboutWindow(about_.get());
    FormatBar& bar = *main.editor().formatBar();
    const auto guard = [](const std::function<void()>& step) { ErrorBoundary::run(step); };
    emoticon_ = std::make_unique<Temoticon>(
        [&bar](const pictures::Picture& p) { bar.inserter().insertPicture(p); }, guard);
    form6_ = std::make_unique<TForm6>(
        platform_, [&bar](const QString& link) { bar.inserter().insertText(link); }, guard);
    const auto show = [](QWidget* w) {
        return [w] {
            w->show();
            w->raise();
            w->activateWindow();
        };
    };
    bar.setDialogs(show(emoticon_.get()), show(form6_.get()));
    sessionEnd_ = std::make_unique<SessionEnd>([this] { form1_->close(); });
    form1_->startInTray();
}

} // namespace brimble
