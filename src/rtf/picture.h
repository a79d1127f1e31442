#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QTextImageFormat>
#include <string_view>

class QVariant;

namespace brimble::rtf {

// What a \pict group said about its picture.
struct PictureData {
    enum class Kind { None, Png, Jpeg, Emf, Wmf, Dib, Wbitmap };
    Kind kind = Kind::None;
    QByteArray bytes;
    int picw = 0, pich = 0;         // pixels for bitmaps, 0.01 mm for metafiles
    int goalw = 0, goalh = 0;       // twips
    int scalex = 100, scaley = 100; // percent
    int bitsPerPixel = 1, widthBytes = 0; // \wbitmap layout
    int hexNibble = -1;             // a half byte waiting for its partner
};

// Appends hex digits to the data; other characters (blanks, line ends) are passed over.
void appendHex(PictureData& picture, std::string_view text);

// Keeps the memory a document's pictures take bounded, whatever the document asks for:
// placeholder frames stay small in total, and PNG or JPEG data past the budget for decoded
// images is not decoded (it shows as a frame and keeps its bytes, like undecodable data).
struct FrameBudget {
    qint64 pixelsLeft = 16 * 1024 * 1024;
    qint64 imageBytesLeft = qint64(1) << 30;
};

// The image and the format (without a name) of a finished picture; a null image when the
// data gives no picture.
struct Picture {
    QImage image;
    QTextImageFormat format;
};
Picture makePicture(PictureData& data, FrameBudget& budget);

// Appends the \pict group of a picture to `out`; nothing when the picture has no image.
void writePicture(QByteArray& out, const QTextImageFormat& format, const QVariant& resource);

} // namespace brimble::rtf
