#include "controls/richedit/richmime.h"

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
    if (source.hasImage()) {
        const QImage image = qvariant_cast<QImage>(source.imageData());
        if (!image.isNull()) {
            insertPicture(cursor, image);
            return;
        }
    }
    if (source.hasFormat(QString::fromLatin1(kEmf)) &&
        insertMetafile(cursor, source.data(QString::fromLatin1(kEmf))))
        return;
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

QSize emfFrameSize(const QByteArray& emf) {
    // ENHMETAHEADER: type 1, record size, bounds, frame in 0.01 mm, signature " EMF".
    if (emf.size() < 88)
        return {};
    auto int32 = [&](int offset) {
        const auto* p = reinterpret_cast<const uchar*>(emf.constData() + offset);
        return qint32(quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 |
                      quint32(p[3]) << 24);
    };
    if (int32(0) != 1 || quint32(int32(40)) != 0x464D4520u)
        return {};
    const qint64 w = qint64(int32(32)) - int32(24), h = qint64(int32(36)) - int32(28);
    if (w <= 0 || h <= 0 || w > 10'000'000 || h > 10'000'000)
        return {};
    // 0.01 mm to pixels at 96 dpi: x / 100 / 25.4 * 96.
    return QSize(int(std::max<qint64>(1, (w * 96 + 1270) / 2540)),
                 int(std::max<qint64>(1, (h * 96 + 1270) / 2540)));
}

bool insertMetafile(QTextCursor& cursor, const QByteArray& emf) {
    const QSize size = emfFrameSize(emf);
    if (size.isEmpty())
        return false;
    QImage frame(std::min(size.width(), 4096), std::min(size.height(), 4096),
                 QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    {
        QPainter p(&frame);
        p.setPen(QColor(160, 160, 160));
        p.drawRect(frame.rect().adjusted(0, 0, -1, -1));
    }
    QTextImageFormat f;
    f.setName(newPictureName());
    f.setWidth(size.width());
    f.setHeight(size.height());
    f.setProperty(kMetafileBytesProperty, emf);
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(f.name()), frame);
    cursor.insertImage(f);
    return true;
}

} // namespace brimble::richmime
