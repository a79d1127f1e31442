#include "controls/richedit/charattrs.h"
#include "controls/richedit/richedit.h"
#include "controls/richedit/richmime.h"
#include "richtest.h"
#include "rtf/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QTextDocument>
#include <QTextImageFormat>
#include <gtest/gtest.h>

using namespace brimble;
using brimble::test::caretAt;
using brimble::test::select;
using brimble::test::showSized;

namespace {

QImage sampleImage() {
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, 12, 8, QColor(200, 30, 40));
    p.fillRect(12, 8, 12, 8, QColor(10, 120, 250));
    return image;
}

std::vector<QImage> picturesOf(const QTextDocument& doc) {
    std::vector<QImage> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QString name = it.fragment().charFormat().toImageFormat().name();
                for (int i = 0; i < it.fragment().length(); ++i)
                    out.push_back(qvariant_cast<QImage>(
                        doc.resource(QTextDocument::ImageResource, QUrl(name))));
            }
    return out;
}

bool samePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(RichEditClipboard, CopyCarriesRtfHtmlAndText) {
    TRichEdit e;
    e.setText("one two three");
    select(e, 4, 7);
    e.setStyle(charattr::kBold);
    e.copy();
    const QMimeData* m = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text(), "two");
    EXPECT_TRUE(m->hasHtml());
    ASSERT_TRUE(m->hasFormat(richmime::kRtf));
    QTextDocument back;
    ASSERT_TRUE(rtf::read(QByteArrayView(m->data(richmime::kRtf)), back));
    EXPECT_EQ(back.toPlainText(), "two");
    EXPECT_EQ(charattr::style(QTextCursor(back.begin()).block().begin().fragment().charFormat()),
              charattr::kBold)
        << "formats travel with the copy";
}

TEST(RichEditClipboard, PastedTextTakesTheCaretFormatAndReplacesTheSelection) {
    TRichEdit e;
    e.setText("abc XYZ def");
    select(e, 4, 7);
    e.setStyle(charattr::kItalic); // the replaced text's format is the caret's
    QApplication::clipboard()->setText("new\nline");
    e.paste();
    EXPECT_EQ(e.document()->toPlainText(), "abc new\nline def");
    QTextCursor c(e.document());
    c.setPosition(6);
    EXPECT_TRUE(c.charFormat().fontItalic());
    EXPECT_TRUE(e.modified());
    EXPECT_EQ(e.text(), "abc new\r\nline def");
}

TEST(RichEditClipboard, BitmapBecomesAnEmbeddedPictureWrittenAsRtf) {
    TRichEdit e;
    e.setText("ab");
    caretAt(e, 1);
    QApplication::clipboard()->setImage(sampleImage());
    e.paste();
    const auto pics = picturesOf(*e.document());
    ASSERT_EQ(pics.size(), 1u);
    EXPECT_TRUE(samePixels(pics[0], sampleImage()));
    const QString rtf = e.toRtf();
    EXPECT_TRUE(rtf.contains("\\pict")) << rtf.left(400).toStdString();
    QTextDocument back;
    ASSERT_TRUE(rtf::read(rtf, back));
    const auto backPics = picturesOf(back);
    ASSERT_EQ(backPics.size(), 1u);
    EXPECT_TRUE(samePixels(backPics[0], sampleImage()));
}

TEST(RichEditClipboard, CopyAndPasteOfAPictureKeepsItInTheWrittenRtf) {
    TRichEdit e;
    e.setText("ab");
    caretAt(e, 1);
    QApplication::clipboard()->setImage(sampleImage());
    e.paste();
    select(e, 1, 2);
    e.copy();
    EXPECT_TRUE(samePixels(QApplication::clipboard()->image(), sampleImage()))
        << "a lone picture is also offered as a bitmap";
    caretAt(e, 3);
    QApplication::clipboard()->setText("replaced"); // make sure the copy is what we paste
    select(e, 1, 2);
    e.copy();
    caretAt(e, 3);
    e.paste();
    EXPECT_EQ(e.document()->toPlainText().size(), 4);
    const auto pics = picturesOf(*e.document());
    ASSERT_EQ(pics.size(), 2u);
    EXPECT_TRUE(samePixels(pics[1], sampleImage()));
    QTextDocument back;
    ASSERT_TRUE(rtf::read(e.toRtf(), back));
    const auto backPics = picturesOf(back);
    ASSERT_EQ(backPics.size(), 2u);
    EXPECT_TRUE(samePixels(backPics[0], sampleImage()));
    EXPECT_TRUE(samePixels(backPics[1], sampleImage()));
}

TEST(RichEditClipboard, CutRemovesAndReadOnlyRefusesChanges) {
    TRichEdit e;
    e.setText("keep cut");
    select(e, 4, 8);
    e.cut();
    EXPECT_EQ(e.document()->toPlainText(), "keep");
    EXPECT_EQ(QApplication::clipboard()->text(), " cut");

    TRichEdit view;
    view.setReadOnly(true);
    view.setText("fixed");
    select(view, 0, 5);
    view.cut();
    view.paste();
    QTest::keyClicks(&view, "typed");
    EXPECT_EQ(view.document()->toPlainText(), "fixed");
    EXPECT_FALSE(view.modified());
    view.copy(); // copying still works
    EXPECT_EQ(QApplication::clipboard()->text(), "fixed");
}

TEST(RichEditText, PlainTextWithCrLfAsOneTextAndLineByLine) {
    TRichEdit e;
    EXPECT_EQ(e.setText("first\r\nsecond\r\n\r\nfourth"), TRichEdit::Loaded::PlainText);
    EXPECT_EQ(e.document()->blockCount(), 4);
    EXPECT_EQ(e.text(), "first\r\nsecond\r\n\r\nfourth");
    EXPECT_EQ(e.lines(), QStringList({"first", "second", "", "fourth"}));
    e.setText("");
    EXPECT_EQ(e.text(), "");
    EXPECT_TRUE(e.lines().isEmpty());
}

TEST(RichEditText, SetTextShowsRtfFormattedAndOtherTextsPlain) {
    TRichEdit e;
    EXPECT_EQ(e.setText("{\\rtf1\\ansi {\\b bold} rest\\par}"), TRichEdit::Loaded::Rtf);
    EXPECT_EQ(e.document()->toPlainText().trimmed(), "bold rest");
    test::caretAt(e, 1);
    EXPECT_EQ(e.style(), charattr::kBold);
    EXPECT_EQ(e.setText("{not rtf} \\b"), TRichEdit::Loaded::PlainText);
    EXPECT_EQ(e.document()->toPlainText(), "{not rtf} \\b");
    EXPECT_EQ(e.setText(QString("bin") + QChar(0) + "ary"), TRichEdit::Loaded::Failed);
    EXPECT_EQ(e.document()->toPlainText(), "(Failed to Load Stream)");
    EXPECT_FALSE(e.modified());
    EXPECT_FALSE(e.document()->isUndoAvailable()) << "loading leaves no undo step";
}

namespace {
// The header of an enhanced metafile whose frame is 25.4 x 12.7 mm, and a few bytes more.
QByteArray sampleEmf() {
    QByteArray emf(100, '\0');
    auto put = [&](int offset, qint32 v) {
        for (int i = 0; i < 4; ++i)
            emf[offset + i] = char((quint32(v) >> (8 * i)) & 0xFF);
    };
    put(0, 1);  // header record
    put(4, 88); // its size
    put(24, 0); // frame left, top, right, bottom in 0.01 mm
    put(28, 0);
    put(32, 2540);
    put(36, 1270);
    put(40, 0x464D4520); // " EMF"
    emf[99] = 'z';
    return emf;
}
} // namespace

TEST(RichEditClipboard, EnhancedMetafileBecomesAPictureThatKeepsItsBytes) {
    EXPECT_EQ(richmime::emfFrameSize(sampleEmf()), QSize(96, 48));
    EXPECT_TRUE(richmime::emfFrameSize(QByteArray(100, 'x')).isEmpty());
    EXPECT_TRUE(richmime::emfFrameSize(sampleEmf().left(60)).isEmpty());

    TRichEdit e;
    e.setText("ab");
    caretAt(e, 1);
    auto* mime = new QMimeData;
    mime->setData(richmime::kEmf, sampleEmf());
    QApplication::clipboard()->setMimeData(mime);
    e.paste();
    QTextCursor c(e.document());
    c.setPosition(2);
    ASSERT_TRUE(c.charFormat().isImageFormat());
    const QTextImageFormat f = c.charFormat().toImageFormat();
    EXPECT_EQ(f.width(), 96);
    EXPECT_EQ(f.height(), 48);
    EXPECT_EQ(f.property(richmime::kMetafileBytesProperty).toByteArray(), sampleEmf());

    // Something that only claims to be a metafile inserts nothing.
    auto* bad = new QMimeData;
    bad->setData(richmime::kEmf, QByteArray("not a metafile"));
    QApplication::clipboard()->setMimeData(bad);
    e.paste();
    EXPECT_EQ(e.document()->characterCount(), 4);
}

TEST(RichEditText, CharsetAndMetafileBytesSurviveTheWrittenRtf) {
    TRichEdit e;
    e.setText("x y");
    select(e, 0, 1);
    e.setCharset(204);
    caretAt(e, 3);
    auto* mime = new QMimeData;
    mime->setData(richmime::kEmf, sampleEmf());
    QApplication::clipboard()->setMimeData(mime);
    e.paste();
    const QString rtf = e.toRtf();
    EXPECT_TRUE(rtf.contains("\\emfblip")) << rtf.toStdString();
    TRichEdit back;
    ASSERT_EQ(back.setText(rtf), TRichEdit::Loaded::Rtf);
    select(back, 0, 1);
    EXPECT_EQ(back.charset(), 204);
    select(back, 2, 3);
    EXPECT_EQ(back.charset(), 0);
    QTextCursor c(back.document());
    c.setPosition(4);
    ASSERT_TRUE(c.charFormat().isImageFormat());
    EXPECT_EQ(c.charFormat().property(richmime::kMetafileBytesProperty).toByteArray(), sampleEmf());
}

TEST(RichEditText, AParagraphMarkTypedIntoALongParagraphIsKept) {
    QString words;
    while (words.size() < 3 * rtf::kPieceLength)
        words += QStringLiteral("many words ");
    TRichEdit e;
    e.setText("{\\rtf1\\ansi " + words + "\\par}");
    ASSERT_GT(e.document()->blockCount(), 3) << "the paragraph is held in pieces";
    const QString original = e.text();
    const QTextBlock second = e.document()->begin().next();
    const int at = second.position() + 100;
    caretAt(e, at);
    QTest::keyClick(&e, Qt::Key_Return);
    QString expected = original;
    expected.insert(at - second.blockNumber(), "\r\n"); // no line end between pieces
    EXPECT_EQ(e.text(), expected);
    QTextDocument back;
    rtf::read(e.toRtf(), back);
    EXPECT_EQ(rtf::plainText(back), expected) << "the typed paragraph mark is written";
    // Text pasted with a line end is two paragraphs as well; undo brings back the one.
    QApplication::clipboard()->setText("x\ny");
    caretAt(e, at + 2 * int(rtf::kPieceLength));
    e.paste();
    EXPECT_EQ(e.text().count("\r\n"), original.count("\r\n") + 2);
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.text(), original);
    rtf::read(e.toRtf(), back);
    EXPECT_EQ(rtf::plainText(back), original) << "undo joins the pieces again";
    // A pasted line of megabytes is held in pieces too, and written as the one line.
    const QString line(3 * rtf::kPieceLength, QLatin1Char('z'));
    QApplication::clipboard()->setText(line);
    caretAt(e, at);
    e.paste();
    for (QTextBlock b = e.document()->begin(); b.isValid(); b = b.next())
        EXPECT_LE(b.length() - 1, rtf::kPieceLength);
    expected = original;
    expected.insert(at - second.blockNumber(), line);
    rtf::read(e.toRtf(), back);
    EXPECT_EQ(rtf::plainText(back), expected);
}

TEST(RichEditText, AHugeUnbrokenLineIsShownAndLaidOutInLinearTime) {
    // Laid out as one paragraph, each line searched to the end of the word for a break:
    // minutes for this memo.
    TRichEdit e;
    showSized(e);
    QElapsedTimer t;
    t.start();
    e.setText("{\\rtf1\\ansi " + QString(2 << 20, QLatin1Char('x')) + "\\par}");
    QApplication::processEvents();
    const QSizeF size = e.document()->documentLayout()->documentSize(); // all of it laid out
    EXPECT_GT(size.height(), 1000);
    EXPECT_LT(t.elapsed(), 20000);
    EXPECT_EQ(e.text().size(), 2 << 20);
}
