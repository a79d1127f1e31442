#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>
#include <stdexcept>

class QMimeData;

namespace brimble::pictures {

// A picture that cannot be loaded or put on the clipboard; the text is what the user sees.
class PictureError : public std::runtime_error {
public:
    explicit PictureError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// The kinds of picture file the program knows, told apart by extension alone.
enum class Kind { Gif, Jpeg, Bitmap, Icon, Emf, Wmf };

// The kind for an extension (without its point), whatever its case.
std::optional<Kind> kindForExtension(const QString& extension);

// Clipboard formats beside Qt's own image: an enhanced metafile's bytes, and the original
// bytes of a JPEG picture offered with its bitmap so that a pasting editor can keep them.
constexpr const char* kEmfMime = "image/x-emf";
constexpr const char* kJpegMime = "image/jpeg";

// What a picture becomes on the clipboard and so in a memo: a bitmap, or an enhanced metafile.
struct ClipboardForm {
    QImage bitmap;   // the bitmap, or a rendering of the metafile for other programs
    QByteArray emf;  // set for an enhanced metafile
    QByteArray jpeg; // a JPEG picture's own bytes, decoding to `bitmap`
    bool isMetafile() const { return !emf.isEmpty(); }
    // The clipboard content: one item in the forms above.
    QMimeData* toMimeData() const;
};

// A loaded picture file.
class Picture {
public:
    // Loads `path` by its extension. Throws PictureError: "Unknown picture file extension
    // (.ext)" for other extensions, the decoder's own text for damaged content.
    static Picture loadFromFile(const QString& path);
    // Loads bytes of a known kind (the built-in pictures).
    static Picture load(Kind kind, const QByteArray& bytes);

    Kind kind() const { return kind_; }
    // The picture as shown: a GIF's first frame, a decoded JPEG, a rendered metafile.
    const QImage& image() const { return image_; }
    // The enhanced metafile (a Windows metafile converted), empty for other kinds.
    const QByteArray& metafile() const { return emf_; }

    // Throws PictureError "Clipboard does not support Icons" for an icon.
    ClipboardForm clipboardForm() const;

private:
    Kind kind_ = Kind::Bitmap;
    QImage image_;
    QByteArray emf_;
    QByteArray bytes_; // the file as read
};

} // namespace brimble::pictures
