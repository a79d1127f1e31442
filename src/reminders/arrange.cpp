#include "reminders/popups.h"

#include "reminders/popupwindow.h"
#include "store/database.h"

namespace brimble {

namespace {

void place(QWidget* form, const QRect& outer) {
    if (auto* window = qobject_cast<PopupWindow*>(form))
        window->setOuterGeometry(outer);
}

} // namespace

void PopupManager::tileit() {
    for (std::size_t i = 0; i < poplist_.size(); ++i) {
        const int column = int(i) / kPerColumn;
        const int row = int(i) % kPerColumn;
        place(poplist_[i]->form, QRect(column * kCellWidth + tilemarginx,
                                       row * kCellHeight + tilemarginy, kCellWidth, kCellHeight));
    }
}

void PopupManager::cascadeit() {
    for (std::size_t i = 0; i < poplist_.size(); ++i) {
        const int corner = int(i) * kCascadeStep + kCascadeStart;
        place(poplist_[i]->form, QRect(corner, corner, kCellWidth, kCellHeight));
    }
}

void PopupManager::ToolButton9Click() {
    View& bms = db_.bms;
    for (const auto& entry : poplist_) {
        if (!entry->form)
            continue;
        const QRect place = entry->form->frameGeometry();
        for (bms.first(); !bms.eof(); bms.next()) {
            if (bms.intValue(QStringLiteral("idx")) != entry->idx)
                continue;
            bms.edit();
            bms.setValue(QStringLiteral("top"), place.y());
            bms.setValue(QStringLiteral("left"), place.x());
            bms.setValue(QStringLiteral("tinggi"), place.height());
            bms.setValue(QStringLiteral("lebar"), place.width());
            Database::postOrCancel(bms);
        }
    }
    refreshMemoList();
}

} // namespace brimble
