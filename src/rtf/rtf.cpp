#include "rtf/rtf.h"

#include "rtf/reader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>

namespace brimble::rtf {

namespace {

bool isBlank(char16_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }


} // namespace

bool looksLikeRtf(QByteArrayView text) {
    qsizetype i = text.startsWith(QByteArrayView("\xEF\xBB\xBF")) ? 3 : 0; // a UTF-8 byte-order mark
    while (i < text.size() && isBlank(char16_t(static_cast<unsigned char>(text[i]))))
        ++i;
    return text.sliced(i).startsWith(QByteArrayView("{\\rtf"));
}

bool looksLikeRtf(const QString& text) {
    // A byte-order mark, as the character or as the UTF-8 bytes it is written in.
    qsizetype i = text.startsWith(QChar(0xFEFF)) ? 1 : text.startsWith(QLatin1String("\xEF\xBB\xBF")) ? 3 : 0;
    while (i < text.size() && isBlank(text[i].unicode()))
        ++i;
    return QStringView(text).sliced(i).startsWith(QLatin1String("{\\rtf"));
}

bool read(QByteArrayView rtf, QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    // Cleared inside the edit, the document changes as a whole, and a layout that shows it
    // lays it out lazily, in steps, instead of all at once.
    QTextCursor edit(&document);
    edit.beginEditBlock();
    document.clear();
    if (!looksLikeRtf(rtf)) {
        edit.endEditBlock();
        return false;
    }
    document.setUndoRedoEnabled(false); // a loaded document starts without history
    Reader(document).read(std::string_view(rtf.data(), size_t(rtf.size())));
    edit.endEditBlock();
    document.setUndoRedoEnabled(undo);
    return true;
}

bool read(const QString& rtf, QTextDocument& document) {
    // Characters up to U+00FF are the bytes; anything above cannot be a byte and is read as
    // the character it is.
    std::string bytes;
    bytes.reserve(size_t(rtf.size()));
    const QStringView text = QStringView(rtf).sliced(rtf.startsWith(QChar(0xFEFF)) ? 1 : 0);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u <= 0xFF) {
            bytes.push_back(char(u));
        } else {
            bytes.append("{\\uc0\\u");
            bytes.append(std::to_string(int(u) > 32767 ? int(u) - 65536 : int(u)));
            bytes.append("}");
        }
    }
    return read(QByteArrayView(bytes.data(), qsizetype(bytes.size())), document);
}

bool read(const QByteArray& rtf, QTextDocument& document) {
    return read(QByteArrayView(rtf), document);
}

QString writeString(const QTextDocument& document) {
    return QString::fromLatin1(write(document));
}

QString plainText(const QTextDocument& document) {
    QString out;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        if (b != document.begin() && !continuesParagraph(b))
            out.append(u"\r\n");
        const QString text = b.text();
        for (const QChar c : text) {
            if (c == QChar::LineSeparator)
                out.append(u"\r\n");
            else if (c != QChar::ObjectReplacementCharacter)
                out.append(c);
        }
    }
    return out;
}

} // namespace brimble::rtf
