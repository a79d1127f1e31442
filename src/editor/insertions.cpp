#include "editor/insertions.h"

#include "controls/richedit/richedit.h"
#include "pictures/picture.h"
#include "platform/platform.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace brimble {

void Inserter::pasteItem(QMimeData* item) {
    QGuiApplication::clipboard()->setMimeData(item);
    editor_.paste();
}

void Inserter::insertImageFile() {
    const QString path = platform_.openPictureName();
    if (path.isEmpty())
        return;
    // Both steps may throw; the clipboard is touched only once the picture is ready.
    const pictures::Picture picture = pictures::Picture::loadFromFile(path);
    insertPicture(picture);
}

void Inserter::insertPicture(const pictures::Picture& picture) {
    pasteItem(picture.clipboardForm().toMimeData());
}

void Inserter::insertText(const QString& text) {
    auto* item = new QMimeData;
    item->setText(text);
    pasteItem(item);
}

} // namespace brimble
