#include "reminders/popups.h"

#include "reminders/hooks.h"
#include "store/database.h"

#include <QWidget>

namespace brimble {

PopupManager::PopupManager(Database& db, Platform& platform, MemoListHooks& hooks, QWidget* owner)
    : QObject(owner), db_(db), platform_(platform), hooks_(hooks), owner_(owner) {}

PopupManager::~PopupManager() = default;

void PopupManager::closepop() {
    View& bms = db_.bms;
    for (const auto& entry : poplist_) {
        for (bms.first(); !bms.eof(); bms.next()) {
            if (bms.intValue(QStringLiteral("idx")) != entry->idx)
                continue;
            bms.edit();
            bms.setValue(QStringLiteral("popped"), false);
            bms.post();
        }
    }
    for (const auto& entry : poplist_)
        delete entry->form.data();
    poplist_.clear();
    Database::reopen(db_.BM);
    if (!db_.BM.isEmpty())
        hooks_.setEditorColor(db_.BM.intValue(QStringLiteral("bgcolor")));
}

void PopupManager::release() { poplist_.clear(); }

} // namespace brimble
