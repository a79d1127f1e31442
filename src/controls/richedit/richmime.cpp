#include "controls/richedit/richmime.h"

#include "rtf/rtf.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <QUuid>
#include <QVariant>
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
        const QVariant picture = from.resource(QTextDocument::ImageResource, QUrl(run.format.name()));
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
    if (source.hasImage()) {
        const QImage image = qvariant_cast<QImage>(source.imageData());
        if (!image.isNull()) {
            insertPicture(cursor, image);
            return;
        }
    }
    if (source.hasHtml()) {
        cursor.insertFragment(QTextDocumentFragment::fromHtml(source.html(), cursor.document()));
        return;
    }
    if (source.hasText())
        cursor.insertText(source.text()); // in the character format at the caret
}

void insertPicture(QTextCursor& cursor, const QImage& image) {
    QTextImageFormat f;
    f.setName(newPictureName());
    f.setWidth(image.width());
    f.setHeight(image.height());
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(f.name()), image);
    cursor.insertImage(f);
}

} // namespace brimble::richmime
