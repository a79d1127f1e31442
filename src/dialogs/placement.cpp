#include "dialogs/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace brimble {

void centreOnFirstShow(QWidget& window, bool& placed) {
    if (placed)
        return;
    placed = true;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace brimble
