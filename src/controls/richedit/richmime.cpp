#include "controls/richedit/richmime.h"

#include "pictures/jpeg.h"
#include "pictures/metafile.h"
#include "pictures/picture.h"
#include "rtf/rtf.h"

#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <vector>

namespace brimble::richmime {

namespace {

struct ImageRun {
    int position;
    QTextImageFormat format;
};

std::vector<ImageRun> imagesOf(const QTextDocument& doc) {
    std::vector<ImageRun> runs;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().isImageFormat())
                for (int i = 0; i < f.length(); ++i)
                    runs.push_back({f.position() + i, f.charFormat().toImageFormat()});
        }
    return runs;
}

QString newPictureName() {
    return QStringLiteral("brimble-picture:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Pictures live in the document's resources, which a fragment does not carry: copy them
// under fresh names so that they cannot clash with the target's own.
void movePicturesInto(QTextDocument& from, QTextDocument& to) {
    QTextCursor edit(&from);
    for (const ImageRun& run : imagesOf(from)) {
        const QVariant picture =
            from.resource(QTextDocument::ImageResource, QUrl(run.format.name()));
        if (!picture.isValid())
            continue;
        QTextImageFormat f = run.format;
        f.setName(newPictureName());
        to.addResource(QTextDocument::ImageResource, QUrl(f.name()), picture);
        edit.setPosition(run.position);
        edit.setPosition(run.position + 1, QTextCursor::KeepAnchor);
        edit.setCharFormat(f);
    }
}

void insertDocument(QTextCursor& cursor, QTextDocument& source) {
    movePicturesInto(source, *cursor.document());
    cursor.insertFragment(QTextDocumentFragment(&source));
}

} // namespace

QMimeData* fromSelection(const QTextDocument& document, const QTextCursor& selection) {
    auto* mime = new QMimeData;
    const QTextDocumentFragment fragment(selection);
    QTextDocument part;
    part.setDefaultFont(document.defaultFont());
    QTextCursor(&part).insertFragment(fragment);
    const auto pictures = imagesOf(part);
    for (const ImageRun& run : pictures) {
        const QUrl name(run.format.name());
        part.addResource(QTextDocument::ImageResource, name,
                         document.resource(QTextDocument::ImageResource, name));
    }
    mime->setData(QString::fromLatin1(kRtf), rtf::write(part));
    mime->setHtml(fragment.toHtml());
    mime->setText(fragment.toPlainText());
    if (pictures.size() == 1 && selection.selectionEnd() - selection.selectionStart() == 1) {
        const QVariant picture =
            document.resource(QTextDocument::ImageResource, QUrl(pictures.front().format.name()));
        if (picture.canConvert<QImage>())
            mime->setImageData(picture);
    }
    return mime;
}

bool canInsert(const QMimeData& source) {
    return source.hasFormat(QString::fromLatin1(kRtf)) ||
           source.hasFormat(QString::fromLatin1(kRtfAlt)) || source.hasImage() ||
           source.hasFormat(QString::fromLatin1(kEmf)) || source.hasHtml() ||
           (source.hasText() && !source.text().isEmpty());
}

void insert(QTextCursor& cursor, const QMimeData& source) {
    for (const char* type : {kRtf, kRtfAlt}) {
        if (!source.hasFormat(QString::fromLatin1(type)))
            continue;
        const QByteArray data = source.data(QString::fromLatin1(type));
        QTextDocument part;
        part.setDefaultFont(cursor.document()->defaultFont());
        if (rtf::read(QByteArrayView(data), part)) {
            insertDocument(cursor, part);
            return;
        }
    }
    // A metafile first: it is the richer form, and its bitmap is only there for other programs.
    if (source.hasFormat(QString::fromLatin1(kEmf)) &&
        insertMetafile(cursor, source.data(QString::fromLatin1(kEmf))))
        return;
    if (source.hasImage()) {
        const QImage image = qvariant_cast<QImage>(source.imageData());
        if (!image.isNull()) {
            insertPicture(cursor, image, source.data(QString::fromLatin1(pictures::kJpegMime)));
            return;
        }
    }
    if (source.hasHtml()) {
        cursor.insertFragment(QTextDocumentFragment::fromHtml(source.html(), cursor.document()));
        return;
    }
    if (source.hasText())
        rtf::insertPlainText(cursor, source.text()); // in the character format at the caret
}

void insertPicture(QTextCursor& cursor, const QImage& image, const QByteArray& jpeg) {
    QTextImageFormat f;
    f.setName(newPictureName());
    f.setWidth(image.width());
    f.setHeight(image.height());
    // The JPEG file the bitmap came from is written instead of the bitmap: a photo stays the
    // size of its file rather than growing several times as PNG.
    if (!jpeg.isEmpty() && pictures::jpegSize(jpeg) == image.size()) {
        f.setProperty(rtf::kPictureBytesProperty, jpeg);
        f.setProperty(rtf::kPictureKeyProperty, image.cacheKey());
    }
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(f.name()), image);
    cursor.insertImage(f);
}

QSize emfFrameSize(const QByteArray& emf) { return pictures::emfPixelSize(emf); }

bool insertMetafile(QTextCursor& cursor, const QByteArray& emf) {
    const QSize size = emfFrameSize(emf);
    if (size.isEmpty())
        return false;
    // Drawn at twice its size so that it stays sharp when printed.
    QImage drawn = pictures::renderEmf(emf, size * 2);
    if (drawn.isNull()) {
        drawn = QImage(size.boundedTo(QSize(4096, 4096)), QImage::Format_ARGB32);
        drawn.fill(Qt::transparent);
        QPainter p(&drawn);
        p.setPen(QColor(160, 160, 160));
        p.drawRect(drawn.rect().adjusted(0, 0, -1, -1));
    }
    QTextImageFormat f;
    f.setName(newPictureName());
    f.setWidth(size.width());
    f.setHeight(size.height());
    f.setProperty(kMetafileBytesProperty, emf);
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(f.name()), drawn);
    cursor.insertImage(f);
    return true;
}

} // namespace brimble::richmime
