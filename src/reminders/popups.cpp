#include "reminders/popups.h"

#include "controls/richedit/richedit.h"
#include "controls/richedit/shellrun.h"
#include "platform/platform.h"
#include "reminders/hooks.h"
#include "reminders/popupwindow.h"
#include "reminders/scheduler.h"
#include "store/database.h"
#include "store/datetime.h"

#include <QVBoxLayout>
#include <algorithm>

namespace brimble {

namespace {

const QString kIdx = QStringLiteral("idx");
const QString kPopped = QStringLiteral("popped");
constexpr quint32 kWhite = 0x00FFFFFF;

} // namespace

PopupManager::PopupManager(Database& db, Platform& platform, MemoListHooks& hooks, QWidget* owner)
    : QObject(owner), db_(db), platform_(platform), hooks_(hooks), owner_(owner) {}

PopupManager::~PopupManager() {
    release();
}

QRect PopupManager::storedGeometry() const {
    const View& bms = db_.bms;
    for (const char* column : {"left", "top", "lebar", "tinggi"}) {
        if (bms.isNull(QLatin1String(column))) {
            // A row this program did not make: a default place rather than a failure.
            const QSize screen = platform_.primaryScreenSize();
            return QRect((screen.width() - kFallbackSize) / 2,
                         (screen.height() - kFallbackSize) / 2, kFallbackSize, kFallbackSize);
        }
    }
    return QRect(bms.intValue(QStringLiteral("left")), bms.intValue(QStringLiteral("top")),
                 bms.intValue(QStringLiteral("lebar")), bms.intValue(QStringLiteral("tinggi")));
}

TRichEdit* PopupManager::makeViewer(QWidget* window) {
    const View& bms = db_.bms;
    auto* viewer = new TRichEdit(window);
    viewer->setObjectName(QStringLiteral("viewer"));
    viewer->setReadOnly(true);
    viewer->setLineWrapMode(QTextEdit::WidgetWidth);
    viewer->viewport()->setCursor(Qt::ArrowCursor);
    viewer->setBackgroundColor(bms.isNull(QStringLiteral("bgcolor"))
                                   ? kWhite
                                   : quint32(bms.intValue(QStringLiteral("bgcolor"))));
    viewer->setText(bms.textValue(QStringLiteral("memo")));
    connect(viewer, &TRichEdit::dblClick, this, [this, viewer] { Zclick(viewer); });
    connect(viewer, &TRichEdit::urlClicked, this, URLClickAction(platform_));
    return viewer;
}

void PopupManager::createpop2() {
    View& bms = db_.bms;
    auto entry = std::make_unique<PopEntry>();
    auto* window = new PopupWindow([this](PopupWindow* w) { FClose(w); });
    window->setObjectName(QStringLiteral("popup"));
    entry->form = window;
    entry->idx = bms.intValue(kIdx);
    window->setOuterGeometry(storedGeometry());
    const QString title =
        formatDays(patterns::listEntry, bms.dateValue(QStringLiteral("datetime")));
    window->setWindowTitle(title);
    window->setAccessibleName(title);

    TRichEdit* viewer = makeViewer(window);
    entry->viewer = viewer;
    window->setContent(viewer);

    window->show();
    window->raise();
    window->activateWindow();
    poplist_.push_back(std::move(entry));
    // The program's own taskbar presence is the main window's, which the shell manages: the
    // pop-ups, being tool windows, add none.
}

void PopupManager::clearPoppedOf(int idx) {
    View& bms = db_.bms;
    for (bms.first(); !bms.eof(); bms.next()) {
        if (bms.intValue(kIdx) != idx)
            continue;
        bms.edit();
        bms.setValue(kPopped, false);
        bms.post();
    }
}

void PopupManager::FClose(QWidget* sender) {
    auto it = std::find_if(poplist_.begin(), poplist_.end(),
                           [sender](const auto& e) { return e->form == sender; });
    if (it != poplist_.end()) {
        clearPoppedOf((*it)->idx);
        poplist_.erase(it);
    }
    // The window is in its own close handling: it goes once that has finished.
    sender->deleteLater();
}

void PopupManager::Zclick(QWidget* sender) {
    auto it = std::find_if(poplist_.begin(), poplist_.end(),
                           [sender](const auto& e) { return e->viewer == sender; });
    if (it == poplist_.end() || !(*it)->form)
        return;
    const int idx = (*it)->idx;
    const QRect place = (*it)->form->frameGeometry();
    View& list = db_.BM;
    for (list.first(); !list.eof(); list.next()) {
        if (list.intValue(kIdx) != idx)
            continue;
        list.edit();
        list.setValue(QStringLiteral("top"), place.y());
        list.setValue(QStringLiteral("left"), place.x());
        list.setValue(QStringLiteral("tinggi"), place.height());
        list.setValue(QStringLiteral("lebar"), place.width());
        list.post();
        hooks_.gridchange2();
        Database::reopen(db_.bms);
        return;
    }
}

void PopupManager::refreshMemoList() {
    Database::reopen(db_.BM);
    if (!db_.BM.isEmpty())
        hooks_.setEditorColor(db_.BM.intValue(QStringLiteral("bgcolor")));
}

void PopupManager::closepop() {
    for (const auto& entry : poplist_)
        clearPoppedOf(entry->idx);
    for (const auto& entry : poplist_)
        delete entry->form.data();
    poplist_.clear();
    refreshMemoList();
}

void PopupManager::ToolButton4Click() {
    if (scheduler_)
        scheduler_->setEnabled(false);
    closepop();
}

void PopupManager::ToolButton6Click() {
    View& bms = db_.bms;
    for (bms.first(); !bms.eof(); bms.next()) {
        if (bms.boolValue(kPopped))
            continue;
        createpop2();
        bms.edit();
        bms.setValue(kPopped, true);
        bms.post();
    }
}

void PopupManager::release() {
    for (const auto& entry : poplist_)
        delete entry->form.data();
    poplist_.clear();
}

} // namespace brimble
