#pragma once

#include "rtf/rtf.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <vector>

namespace brimble::rtf::test {

inline QString readText(const QByteArray& rtf) {
    QTextDocument doc;
    read(QByteArrayView(rtf), doc);
    return plainText(doc);
}

struct Run {
    QString text;
    QTextCharFormat format;
};

// The document's text runs in order; a paragraph mark is a run of "\n".
inline std::vector<Run> runsOf(const QTextDocument& doc) {
    std::vector<Run> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin())
            out.push_back({QStringLiteral("\n"), {}});
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.push_back({it.fragment().text(), it.fragment().charFormat()});
    }
    return out;
}

// The format of the character at a position.
inline QTextCharFormat formatAt(const QTextDocument& doc, int position) {
    const QTextBlock b = doc.findBlock(position);
    for (auto it = b.begin(); !it.atEnd(); ++it)
        if (it.fragment().contains(position))
            return it.fragment().charFormat();
    return {};
}

inline QString family(const QTextCharFormat& f) {
    const QStringList l = f.fontFamilies().toStringList();
    return l.isEmpty() ? QString() : l.first();
}

struct PictureRun {
    QTextImageFormat format;
    QImage image;
};

inline std::vector<PictureRun> picturesOf(const QTextDocument& doc) {
    std::vector<PictureRun> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            const QTextImageFormat img = f.toImageFormat();
            for (int i = 0; i < it.fragment().length(); ++i)
                out.push_back({img, qvariant_cast<QImage>(doc.resource(QTextDocument::ImageResource,
                                                                       QUrl(img.name())))});
        }
    return out;
}

inline bool samePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

// A readable account of every run's formats and text, for comparing two documents.
QString describe(const QTextDocument& doc);

QString dataDir();
QByteArray testData(const QString& relative);
// Written RTF without its line breaks, for finding picture data in it.
inline QByteArray unwrapped(QByteArray rtf) { return rtf.replace("\r\n", ""); }
QByteArray hex(const QByteArray& bytes);
QByteArray pngBytes(const QImage& image);
QImage sampleImage(int w, int h, int seed);
// A minimal enhanced metafile whose frame is `w` x `h` in 0.01 mm.
QByteArray sampleEmf(int w, int h);

} // namespace brimble::rtf::test
