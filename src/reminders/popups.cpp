#include "reminders/popups.h"

#include "controls/richedit/richedit.h"
#include "controls/richedit/shellrun.h"
#include "platform/platform.h"
#include "reminders/hooks.h"
#include "reminders/popupwindow.h"
#include "reminders/scheduler.h"
#include "store/database.h"
#include "store/datetime.h"
#include "store/dberror.h"

#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace brimble {

namespace {

const QString kIdx = QStringLiteral("idx");
const QString kPopped = QStringLiteral("popped");
constexpr quint32 kWhite = 0x00FFFFFF;

} // namespace

QRect boundedPlace(const QRect& stored, const QList<QRect>& screens) {
    if (screens.isEmpty())
        return stored;
    QRect desktop;
    for (const QRect& s : screens)
        desktop |= s;
    // Sizes beyond the whole desktop only cost memory (and a window system takes no more).
    const int width = std::min(stored.width(), desktop.width());
    const int height = std::min(stored.height(), desktop.height());
    // In 64 bits: a stored corner near the ends of the int range must not wrap around.
    const qint64 left = stored.x(), top = stored.y();
    const qint64 right = left + std::max(width, 1), bottom = top + std::max(height, 1);
    for (const QRect& s : screens)
        if (left < qint64(s.x()) + s.width() && right > s.x() && top < qint64(s.y()) + s.height() &&
            bottom > s.y())
            return QRect(stored.x(), stored.y(), width, height);
    const QRect& primary = screens.first();
    const QSize size(std::min(width, primary.width()), std::min(height, primary.height()));
    return QRect(primary.x() + (primary.width() - size.width()) / 2,
                 primary.y() + (primary.height() - size.height()) / 2, size.width(), size.height());
}

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
    // Far beyond any desktop, but small enough that no edge overflows.
    static constexpr int kFar = 1 << 24;
    auto read = [&bms](const char* column, int low) {
        return std::clamp(bms.intValue(QLatin1String(column)), low, kFar);
    };
    return QRect(read("left", -kFar), read("top", -kFar), read("lebar", 0), read("tinggi", 0));
}

TRichEdit* PopupManager::makeViewer(QWidget* window, const QString& body) {
    const View& bms = db_.bms;
    auto* viewer = new TRichEdit(window);
    viewer->setObjectName(QStringLiteral("viewer"));
    viewer->setReadOnly(true);
    viewer->setLineWrapMode(QTextEdit::WidgetWidth);
    viewer->viewport()->setCursor(Qt::ArrowCursor);
    viewer->setBackgroundColor(bms.isNull(QStringLiteral("bgcolor"))
                                   ? kWhite
                                   : quint32(bms.intValue(QStringLiteral("bgcolor"))));
    viewer->setText(body);
    connect(viewer, &TRichEdit::dblClick, this, [this, viewer] { Zclick(viewer); });
    connect(viewer, &TRichEdit::urlClicked, this, URLClickAction(platform_));
    return viewer;
}

void PopupManager::createpop2() {
    View& bms = db_.bms;
    // The body first: a row deleted meanwhile gets no window, and no later tick tries again.
    QString body;
    try {
        body = bms.textValue(QStringLiteral("memo"));
    } catch (const RowVanished&) {
        vanished_.insert(bms.intValue(kIdx));
        throw;
    }
    auto entry = std::make_unique<PopEntry>();
    auto* window = new PopupWindow([this](PopupWindow* w) { FClose(w); });
    window->setObjectName(QStringLiteral("popup"));
    entry->form = window;
    entry->idx = bms.intValue(kIdx);
    window->setOuterGeometry(boundedPlace(storedGeometry(), platform_.screenGeometries()));
    const QString title =
        formatDays(patterns::listEntry, bms.dateValue(QStringLiteral("datetime")));
    window->setWindowTitle(title);
    window->setAccessibleName(title);

    TRichEdit* viewer = makeViewer(window, body);
    entry->viewer = viewer;
    window->setContent(viewer);

    window->show();
    window->raise();
    window->activateWindow();
    poplist_.push_back(std::move(entry));
    // The program's own taskbar presence is the main window's, which the shell manages: the
    // pop-ups, being tool windows, add none.
}

bool PopupManager::isShown(int idx) const {
    if (vanished_.contains(idx))
        return true;
    return std::any_of(poplist_.begin(), poplist_.end(),
                       [idx](const auto& e) { return e->idx == idx && e->form; });
}

bool PopupManager::clearPoppedOf(int idx) {
    View& bms = db_.bms;
    if (!bms.isOpen())
        return true;
    for (bms.first(); !bms.eof(); bms.next()) {
        if (bms.intValue(kIdx) != idx)
            continue;
        try {
            Database::setPopped(bms, false);
        } catch (const RowVanished&) {
            // The row went with its mark: the window may go, and the user hears of it once.
            return false;
        }
    }
    return true;
}

void PopupManager::FClose(QWidget* sender) {
    auto it = std::find_if(poplist_.begin(), poplist_.end(),
                           [sender](const auto& e) { return e->form == sender; });
    bool vanished = false;
    if (it != poplist_.end()) {
        // Any other refusal (a lock held elsewhere, a full disk) throws here and leaves the
        // window open with its mark still set, so the memo is neither shown twice nor lost.
        vanished = !clearPoppedOf((*it)->idx);
        poplist_.erase(it);
    }
    // The window is in its own close handling: it goes once that has finished.
    sender->deleteLater();
    if (vanished)
        throw RowVanished(QStringLiteral("Row cannot be located for updating: it was removed "
                                         "since the view '%1' was opened.")
                              .arg(db_.bms.name()));
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
        Database::postOrCancel(list);
        hooks_.gridchange2();
        Database::reopen(db_.bms);
        return;
    }
}

void PopupManager::refreshMemoList() {
    // With no database there is no list to refresh, and opening the window must still work.
    if (!db_.ADOConnection1.isOpen())
        return;
    Database::reopen(db_.BM);
    if (!db_.BM.isEmpty())
        hooks_.setEditorColor(db_.BM.intValue(QStringLiteral("bgcolor")));
}

void PopupManager::closepop() {
    // A pop-up whose mark cannot be cleared stays open, marked; the others close. The first
    // failure is reported once, after all.
    std::exception_ptr failure;
    std::vector<std::unique_ptr<PopEntry>> kept;
    for (auto& entry : poplist_) {
        try {
            clearPoppedOf(entry->idx);
        } catch (const DbError&) {
            if (!failure)
                failure = std::current_exception();
            kept.push_back(std::move(entry));
        }
    }
    for (const auto& entry : poplist_)
        if (entry)
            delete entry->form.data();
    poplist_ = std::move(kept);
    refreshMemoList();
    if (failure)
        std::rethrow_exception(failure);
}

void PopupManager::ToolButton4Click() {
    if (scheduler_)
        scheduler_->setEnabled(false);
    closepop();
}

void PopupManager::popAndMark(std::exception_ptr& firstFailure) {
    createpop2();
    try {
        Database::setPopped(db_.bms, true);
    } catch (const DbError&) {
        if (!firstFailure)
            firstFailure = std::current_exception();
    }
}

void PopupManager::ToolButton6Click() {
    View& bms = db_.bms;
    std::exception_ptr failure;
    for (bms.first(); !bms.eof(); bms.next()) {
        if (bms.boolValue(kPopped) || isShown(bms.intValue(kIdx)))
            continue;
        popAndMark(failure);
    }
    if (failure)
        std::rethrow_exception(failure);
}

void PopupManager::release() {
    for (const auto& entry : poplist_)
        delete entry->form.data();
    poplist_.clear();
}

} // namespace brimble
