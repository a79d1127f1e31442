#include "pictures/picture.h"

#include "pictures/jpeg.h"
#include "pictures/metafile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>

namespace brimble::pictures {

namespace {

// A decoder of Qt's own; its error text is what the user sees.
QImage readWithQt(const QByteArray& bytes, const char* format, const char* what) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read(); // the first frame of an animation
    if (image.isNull())
        throw PictureError(QStringLiteral("%1: %2").arg(QLatin1String(what), reader.errorString()));
    return image;
}

} // namespace

std::optional<Kind> kindForExtension(const QString& extension) {
    const QString e = extension.toLower();
    if (e == u"gif")
        return Kind::Gif;
    if (e == u"jpg" || e == u"jpeg")
        return Kind::Jpeg;
    if (e == u"bmp")
        return Kind::Bitmap;
    if (e == u"ico")
        return Kind::Icon;
    if (e == u"emf")
        return Kind::Emf;
    if (e == u"wmf")
        return Kind::Wmf;
    return std::nullopt;
}

Picture Picture::loadFromFile(const QString& path) {
    const QString extension = QFileInfo(path).suffix();
    const auto kind = kindForExtension(extension);
    if (!kind)
        throw PictureError(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PictureError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return load(*kind, file.readAll());
}

Picture Picture::load(Kind kind, const QByteArray& bytes) {
    Picture p;
    p.kind_ = kind;
    p.bytes_ = bytes;
    switch (kind) {
    case Kind::Gif: p.image_ = readWithQt(bytes, "gif", "GIF image"); break;
    case Kind::Jpeg: p.image_ = decodeJpeg(bytes); break;
    case Kind::Bitmap: p.image_ = readWithQt(bytes, "bmp", "Bitmap image"); break;
    case Kind::Icon: p.image_ = readWithQt(bytes, "ico", "Icon image"); break;
    case Kind::Emf:
    case Kind::Wmf: {
        p.emf_ = kind == Kind::Emf ? bytes : wmfToEmf(bytes);
        const QSize size = emfPixelSize(p.emf_);
        if (size.isEmpty())
            throw PictureError(QStringLiteral("Invalid metafile: no enhanced metafile header"));
        p.image_ = renderEmf(p.emf_, size);
        if (p.image_.isNull())
            throw PictureError(QStringLiteral("Invalid metafile: its records cannot be drawn"));
        break;
    }
    }
    return p;
}

ClipboardForm Picture::clipboardForm() const {
    ClipboardForm form;
    switch (kind_) {
    case Kind::Icon: throw PictureError(QStringLiteral("Clipboard does not support Icons"));
    case Kind::Emf:
    case Kind::Wmf:
        form.emf = emf_;
        form.bitmap = image_;
        break;
    case Kind::Jpeg:
        form.jpeg = bytes_;
        form.bitmap = image_;
        break;
    case Kind::Gif:
    case Kind::Bitmap: form.bitmap = image_; break;
    }
    return form;
}

QMimeData* ClipboardForm::toMimeData() const {
    auto* mime = new QMimeData;
    if (isMetafile())
        mime->setData(QString::fromLatin1(kEmfMime), emf);
    if (!bitmap.isNull())
        mime->setImageData(bitmap);
    if (!jpeg.isEmpty())
        mime->setData(QString::fromLatin1(kJpegMime), jpeg);
    return mime;
}

} // namespace brimble::pictures
