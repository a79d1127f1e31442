#include "controls/richedit/links.h"
#include "controls/richedit/richedit.h"
#include "controls/richedit/shellrun.h"
#include "richtest.h"
#include "support/fakeplatform.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace brimble;

namespace {

QStringList linksIn(const QString& text) {
    QStringList out;
    for (const LinkSpan& l : findLinks(text))
        out << text.mid(l.start, l.length);
    return out;
}

struct Clicks {
    QStringList texts;
    QList<Qt::MouseButton> buttons;
};

} // namespace

TEST(LinkDetection, PrefixesBoundariesAndEnds) {
    EXPECT_EQ(linksIn("see http://a.b/c, then"), QStringList{"http://a.b/c"});
    EXPECT_EQ(linksIn("HTTPS://X.Y and ftp:\\\\host\\dir"),
              QStringList({"HTTPS://X.Y", "ftp:\\\\host\\dir"}));
    EXPECT_EQ(linksIn("mail mailto:me@x.org."), QStringList{"mailto:me@x.org"});
    EXPECT_EQ(linksIn(" file:\\\\C:\\a.txt"), QStringList{"file:\\\\C:\\a.txt"});
    EXPECT_EQ(linksIn("(www.example.com)"), QStringList{"www.example.com"});
    EXPECT_EQ(linksIn("nohttp://x"), QStringList{}) << "inside a word is no link";
    EXPECT_EQ(linksIn("just http: alone"), QStringList{}) << "a bare prefix is no link";
    EXPECT_EQ(linksIn("http://a\tb http://c"), QStringList({"http://a", "http://c"}));
    EXPECT_EQ(linksIn(QStringLiteral("http://a") + QChar::ObjectReplacementCharacter + "x"),
              QStringList{"http://a"});
    EXPECT_EQ(linksIn("gopher://x telnet:y"), QStringList{});
}

class LinkClicks : public ::testing::Test {
protected:
    void SetUp() override {
        e.setText("go http://example.org/page now");
        test::showSized(e);
        QObject::connect(&e, &TRichEdit::urlClicked, [this](const QString& t, Qt::MouseButton b) {
            clicks.texts << t;
            clicks.buttons << b;
        });
    }
    QPoint onLink() { return test::charCenter(e, 10); }
    TRichEdit e;
    Clicks clicks;
};

TEST_F(LinkClicks, PressAndReleaseOfTheSameButtonOnTheLinkReportIt) {
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, onLink());
    QTest::mouseClick(e.viewport(), Qt::RightButton, {}, test::charCenter(e, 4));
    EXPECT_EQ(clicks.texts, QStringList({"http://example.org/page", "http://example.org/page"}));
    EXPECT_EQ(clicks.buttons, QList<Qt::MouseButton>({Qt::LeftButton, Qt::RightButton}));
}

TEST_F(LinkClicks, NoReportOffTheLinkOrWhenReleasedElsewhere) {
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, test::charCenter(e, 0));
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, test::charCenter(e, 27));
    QTest::mousePress(e.viewport(), Qt::LeftButton, {}, onLink());
    QTest::mouseRelease(e.viewport(), Qt::LeftButton, {}, test::charCenter(e, 27));
    // Far right of the line, beside the text: not on the link although the caret lands there.
    e.setText("http://x");
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, QPoint(350, test::charCenter(e, 0).y()));
    EXPECT_TRUE(clicks.texts.isEmpty()) << clicks.texts.join(",").toStdString();
}

TEST_F(LinkClicks, HandCursorOverLinksOnly) {
    const Qt::CursorShape normal = e.viewport()->cursor().shape();
    QTest::mouseMove(e.viewport(), onLink());
    EXPECT_EQ(e.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(e.viewport(), test::charCenter(e, 0));
    EXPECT_EQ(e.viewport()->cursor().shape(), normal);
}

TEST_F(LinkClicks, DetectionDoesNotChangeTheDocument) {
    // The link shows underlined, but only in the layout: the characters keep their format.
    QTextCursor c(e.document());
    c.setPosition(10);
    EXPECT_FALSE(c.charFormat().fontUnderline());
    EXPECT_FALSE(c.charFormat().hasProperty(QTextFormat::ForegroundBrush));
    const auto layoutFormats = e.document()->findBlockByNumber(0).layout()->formats();
    ASSERT_EQ(layoutFormats.size(), 1);
    EXPECT_EQ(layoutFormats.first().start, 3);
    EXPECT_TRUE(layoutFormats.first().format.fontUnderline());
    EXPECT_FALSE(e.modified());
    EXPECT_FALSE(e.document()->isUndoAvailable());
    EXPECT_FALSE(e.toRtf().contains("\\ul")) << e.toRtf().toStdString();
    // Typing a link shows it too, and only the typed text is the change.
    test::caretAt(e, 0);
    QTest::keyClicks(&e, "www.a.b ");
    ASSERT_EQ(e.document()->findBlockByNumber(0).layout()->formats().size(), 2);
    EXPECT_FALSE(QTextCursor(e.document()).charFormat().fontUnderline());
}

TEST(LinkOpening, WindowsSpellingsBecomeWhatTheOpenerTakes) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://example.org/a\\b", "http://example.org/a\\b"}, // accepted: unchanged
        {"mailto:me@example.org", "mailto:me@example.org"},
        {"www.example.org", "www.example.org"},
        {"file:///home/u/a.txt", "file:///home/u/a.txt"},
        {"http:\\\\example.org\\dir\\page.html", "http://example.org/dir/page.html"},
        {"HTTPS:\\\\x.org", "HTTPS://x.org"},
        {"ftp:\\\\ftp.x.org\\pub", "ftp://ftp.x.org/pub"},
        {"file:\\\\C:\\Docs\\a b.txt", "file:///C:/Docs/a b.txt"},
        {"file:C:\\x.txt", "file:///C:/x.txt"},
        {"file:\\\\\\\\server\\share\\x", "file://server/share/x"},
        {"file:\\\\/home/u/notes.txt", "file:///home/u/notes.txt"}, // the dialog's prefix + a path
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(openableLink(in), QString::fromLatin1(out)) << in;
}

TEST(LinkOpening, ClickActionOpensThroughTheSeamWithEitherButton) {
    test::FakePlatform platform;
    const URLClickAction memo1URLClick(platform);
    const QString longLink = "http://example.org/" + QString(200, 'a');
    memo1URLClick("http://example.org", Qt::LeftButton);
    memo1URLClick("http:\\\\example.org", Qt::RightButton);
    memo1URLClick(longLink, Qt::LeftButton);
    EXPECT_EQ(platform.opened, QStringList({"http://example.org", "http://example.org", longLink}))
        << "long texts go whole";
    shellrun(platform, "charmap.exe", QString(), QString(), kShowNormalActivate);
    EXPECT_EQ(platform.charmapStarts, 1);
    EXPECT_EQ(platform.opened.size(), 3);
}

namespace {
class RefusingPlatform : public test::FakePlatform {
public:
    bool shellOpen(const QString& target) override {
        opened << target;
        return false;
    }
};
} // namespace

TEST(LinkOpening, AnUnopenableTargetIsNotReported) {
    RefusingPlatform platform;
    TRichEdit e;
    e.setText("file:///nowhere/at/all");
    test::showSized(e);
    QObject::connect(&e, &TRichEdit::urlClicked, URLClickAction(platform));
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, test::charCenter(e, 8));
    EXPECT_EQ(platform.opened, QStringList{"file:///nowhere/at/all"});
    EXPECT_TRUE(platform.errors.isEmpty());
    EXPECT_TRUE(platform.informations.isEmpty());
}
