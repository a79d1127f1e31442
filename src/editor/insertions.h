#pragma once

#include <QString>

class QMimeData;

namespace brimble {

class Platform;
class TRichEdit;

namespace pictures {
class Picture;
}

// Puts pictures and link texts into the memo editor the way a user would: the item replaces
// the clipboard's content and is pasted at the caret, replacing the selection, so it stays on
// the clipboard afterwards. A picture that fails to load leaves the clipboard alone.
class Inserter {
public:
    Inserter(TRichEdit& editor, Platform& platform) : editor_(editor), platform_(platform) {}

    // "Insert Image": a picture file the user picks. Throws PictureError when the file cannot
    // be loaded or is an icon.
    void insertImageFile();
    // A picture already loaded (the Quick Images).
    void insertPicture(const pictures::Picture& picture);
    // A text, as it stands (a link built in the Insert HyperLink dialog).
    void insertText(const QString& text);

private:
    void pasteItem(QMimeData* item);

    TRichEdit& editor_;
    Platform& platform_;
};

} // namespace brimble
