#pragma once

#include <QImage>
#include <QString>

class QMimeData;
class QTextCursor;
class QTextDocument;

namespace brimble::richmime {

// The clipboard forms the editor reads and writes besides Qt's own.
constexpr const char* kRtf = "text/rtf";
constexpr const char* kRtfAlt = "application/rtf";
constexpr const char* kEmf = "image/x-emf"; // an enhanced metafile's bytes

// The selection as clipboard data: RTF (so that word processors paste it formatted, and so
// that pictures survive a copy within the program), HTML and plain text; a selection that
// is exactly one picture also carries the picture itself.
QMimeData* fromSelection(const QTextDocument& document, const QTextCursor& selection);

bool canInsert(const QMimeData& source);
// Inserts at the cursor, replacing its selection: RTF, then a bitmap, then an enhanced
// metafile, then HTML, then plain text (in the character format at the cursor).
void insert(QTextCursor& cursor, const QMimeData& source);

// Adds an embedded picture at the cursor; the image is kept as a resource of the document.
void insertPicture(QTextCursor& cursor, const QImage& image);

} // namespace brimble::richmime
