#include "editortest.h"

#include "pictures/picture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QToolBar>

namespace brimble::test {
namespace {

class Insertions : public EditorTest {
protected:
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    static QByteArray jpegOf(QSize size) {
        QImage img(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                img.setPixel(x, y, qRgb((x * 5) % 256, (y * 3) % 256, (x ^ y) % 256));
        QByteArray out;
        QBuffer b(&out);
        b.open(QIODevice::WriteOnly);
        img.save(&b, "JPEG", 90);
        return out;
    }
    int pictures() const {
        return int(editor->memo1()->toPlainText().count(QChar::ObjectReplacementCharacter));
    }
    QTemporaryDir dir;
};

TEST_F(Insertions, TheThreeButtonsSitBetweenBackgroundColourAndPrint) {
    start();
    FormatBar* bar = editor->formatBar();
    QStringList order;
    for (QAction* a : bar->ToolBar2()->actions())
        if (QWidget* w = bar->ToolBar2()->widgetForAction(a); w && w->objectName().startsWith("ToolButton"))
            order << w->objectName();
    EXPECT_EQ(order.mid(order.indexOf("ToolButton19")),
              QStringList({"ToolButton19", "ToolButton20", "ToolButton21", "ToolButton25",
                           "ToolButton26"}));
    EXPECT_EQ(bar->ToolButton20()->accessibleName(), "Insert Image");
    EXPECT_EQ(bar->ToolButton21()->toolTip(), "Insert Quick Image");
    EXPECT_EQ(bar->ToolButton25()->accessibleName(), "Create Hyperlink");
}

TEST_F(Insertions, InsertImageReplacesTheSelectionKeepsThePhotoSmallAndStaysOnTheClipboard) {
    const int idx = addMemo(days(2026, 12, 24), "{\\rtf1 hello world}");
    start();
    const QByteArray jpeg = jpegOf(QSize(320, 240));
    TRichEdit* m = editor->memo1();
    QTextCursor c = m->textCursor();
    c.setPosition(6);
    c.setPosition(11, QTextCursor::KeepAnchor);
    m->setTextCursor(c);
    platform.pictureAnswers.push_back(writeFile("PHOTO.JPG", jpeg));
    editor->formatBar()->ToolButton20()->click();
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(m->toPlainText(), QStringLiteral("hello ") + QChar::ObjectReplacementCharacter);
    EXPECT_TRUE(saveOn());
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(clip && clip->hasImage());
    EXPECT_EQ(clip->data(QString::fromLatin1(pictures::kJpegMime)), jpeg);

    editor->ToolButton3()->click();
    const QString memo = stored(idx).memo;
    EXPECT_TRUE(memo.contains("\\jpegblip"));
    EXPECT_LE(memo.size(), jpeg.size() * 2 + jpeg.size() / 16 + 1000);

    // The picture is still on the clipboard: pasting again pastes it again.
    m->moveCursor(QTextCursor::End);
    m->paste();
    EXPECT_EQ(pictures(), 2);
}

TEST_F(Insertions, APictureThatFailsInsertsNothingAndLeavesTheClipboardAlone) {
    addMemo(days(2026, 12, 24), "{\\rtf1 hello}");
    start();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    const QByteArray jpeg = jpegOf(QSize(64, 64));
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    QByteArray ico;
    QBuffer b(&ico);
    b.open(QIODevice::WriteOnly);
    icon.save(&b, "ICO");
    const std::pair<QString, QString> cases[] = {
        {writeFile("cut.jpg", jpeg.left(jpeg.size() / 2)), "Premature end of JPEG file"},
        {writeFile("icon.ico", ico), "Clipboard does not support Icons"},
        {writeFile("notes.txt", "text"), "Unknown picture file extension (.txt)"},
    };
    for (const auto& [path, text] : cases) {
        platform.pictureAnswers.push_back(path);
        editor->formatBar()->ToolButton20()->click();
        ASSERT_FALSE(errors.isEmpty()) << path.toStdString();
        EXPECT_EQ(errors.takeLast(), text);
        EXPECT_EQ(editor->memo1()->toPlainText(), "hello");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
        EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());
    }
    // A cancelled dialog changes nothing either.
    editor->formatBar()->ToolButton20()->click();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(editor->memo1()->toPlainText(), "hello");
    EXPECT_FALSE(saveOn());
}

} // namespace
} // namespace brimble::test
