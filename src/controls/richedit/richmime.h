#pragma once

#include "pictures/picture.h"
#include "rtf/rtf.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QMimeData;
class QTextCursor;
class QTextDocument;

namespace brimble::richmime {

// The clipboard forms the editor reads and writes besides Qt's own.
constexpr const char* kRtf = "text/rtf";
constexpr const char* kRtfAlt = "application/rtf";
constexpr const char* kEmf = pictures::kEmfMime; // an enhanced metafile's bytes

// The selection as clipboard data: RTF (so that word processors paste it formatted, and so
// that pictures survive a copy within the program), HTML and plain text; a selection that
// is exactly one picture also carries the picture itself.
QMimeData* fromSelection(const QTextDocument& document, const QTextCursor& selection);

bool canInsert(const QMimeData& source);
// Inserts at the cursor, replacing its selection: RTF, then an enhanced metafile, then a
// bitmap (keeping the JPEG file it came from when one is offered beside it), then HTML, then
// plain text (in the character format at the cursor).
void insert(QTextCursor& cursor, const QMimeData& source);

// Adds an embedded picture at the cursor; the image is kept as a resource of the document.
// `jpeg`, when it is the JPEG file of the same picture, is what the document writes for it.
void insertPicture(QTextCursor& cursor, const QImage& image, const QByteArray& jpeg = {});

// Property of a picture's format that keeps an enhanced metafile's own bytes, so that the
// document writes them back unchanged.
constexpr int kMetafileBytesProperty = rtf::kMetafileBytesProperty;

// The picture's frame in pixels at 96 dots per inch, from an enhanced metafile's header;
// an empty size when the bytes are no enhanced metafile.
QSize emfFrameSize(const QByteArray& emf);
// Adds an enhanced metafile as an embedded picture that keeps its bytes; one that cannot be
// drawn shows as an empty frame of its size.
bool insertMetafile(QTextCursor& cursor, const QByteArray& emf);

} // namespace brimble::richmime
