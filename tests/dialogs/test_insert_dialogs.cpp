// The Quick Images and Insert HyperLink dialogs in the whole program.
#include "app/errorboundary.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "controls/richedit/dbrichedit.h"
#include "controls/richedit/links.h"
#include "dialogs/hyperlink.h"
#include "dialogs/quickimages.h"
#include "editor/formatbar.h"
#include "store/connection.h"
#include "store/view.h"
#include "support/fakeplatform.h"
#include "support/tempdb.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace brimble;

namespace {

class InsertDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        platform.programPath = file.directory() + "brimble";
        Connection c;
        c.setConnectionString(file.connectionString());
        c.open();
        View v(c, "bm", "setup");
        v.open();
        v.append();
        v.setValue("datetime", 46400.5);
        v.setValue("memo", QStringLiteral("{\\rtf1 note}"));
        v.post();
        program = std::make_unique<Program>(platform);
        program->start();
        QApplication::processEvents();
        ASSERT_TRUE(platform.errors.isEmpty()) << platform.errors.join("\n").toStdString();
    }
    void TearDown() override {
        if (program && !program->mainWindow().closed())
            program->mainWindow().close();
        program.reset();
        ErrorBoundary::install(nullptr);
    }
    TDBRichEdit& memo1() { return *program->mainWindow().editor().memo1(); }
    FormatBar& bar() { return *program->mainWindow().editor().formatBar(); }

    test::TempDb file;
    test::FakePlatform platform;
    std::unique_ptr<Program> program;
};

TEST_F(InsertDialogs, ADoubleClickedQuickImageGoesIntoTheMemoAndTheDialogHides) {
    Temoticon& quick = program->quickImages();
    EXPECT_FALSE(quick.isVisible());
    bar().ToolButton21()->click();
    ASSERT_TRUE(quick.isVisible());
    EXPECT_EQ(quick.size(), Temoticon::kClientSize);

    // All 25 are there with the kinds and natural sizes the dialog promises.
    int emf = 0, jpeg = 0, gif = 0;
    for (int n = 1; n <= Temoticon::kCount; ++n) {
        const pictures::Picture& p = quick.picture(n);
        EXPECT_FALSE(p.image().isNull()) << n;
        emf += p.kind() == pictures::Kind::Emf;
        jpeg += p.kind() == pictures::Kind::Jpeg;
        gif += p.kind() == pictures::Kind::Gif;
        EXPECT_EQ(quick.image(n)->size(), QSize(66, 66));
    }
    EXPECT_EQ(emf, 12);
    EXPECT_EQ(jpeg, 10);
    EXPECT_EQ(gif, 3);
    EXPECT_EQ(quick.picture(14).image().size(), QSize(112, 80));
    EXPECT_EQ(quick.picture(24).image().size(), QSize(101, 80));

    memo1().moveCursor(QTextCursor::End);
    QTest::mouseDClick(quick.image(24), Qt::LeftButton);
    EXPECT_FALSE(quick.isVisible());
    EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join("\n").toStdString();
    EXPECT_EQ(memo1().toPlainText(), QStringLiteral("note") + QChar::ObjectReplacementCharacter);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());

    // A metafile goes in as a metafile.
    bar().ToolButton21()->click();
    QTest::mouseDClick(quick.image(2), Qt::LeftButton);
    EXPECT_TRUE(memo1().toRtf().contains("\\emfblip"));
}

TEST_F(InsertDialogs, TheHyperLinkDialogBuildsTheLinkTextAndKeepsIt) {
    TForm6& link = program->hyperLinkDialog();
    EXPECT_FALSE(link.isVisible());
    EXPECT_EQ(link.Edit1()->text(), " file:\\\\");
    EXPECT_EQ(link.itemIndex(), TForm6::File);
    EXPECT_EQ(TForm6::prefix(TForm6::EMail), " mailto:");
    EXPECT_EQ(TForm6::prefix(TForm6::Ftp), " ftp:\\\\");

    // Browsing twice appends both paths; a cancelled browse changes nothing.
    platform.fileAnswers = {QStringLiteral("/home/ann/a.txt"), QStringLiteral("/tmp/b.txt")};
    link.Button1()->click();
    link.Button1()->click();
    link.Button1()->click();
    EXPECT_EQ(link.Edit1()->text(), " file:\\\\/home/ann/a.txt/tmp/b.txt");

    bar().ToolButton25()->click();
    ASSERT_TRUE(link.isVisible());
    link.item(TForm6::Http)->click();
    EXPECT_EQ(link.Edit1()->text(), " http:\\\\");
    link.Edit1()->setText(link.Edit1()->text() + "example.com/x");
    memo1().moveCursor(QTextCursor::End);
    link.SpeedButton1()->click();
    EXPECT_FALSE(link.isVisible());
    EXPECT_EQ(memo1().toPlainText(), "note http:\\\\example.com/x");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), " http:\\\\example.com/x");
    // The editor's link detection sees it from "http:" on.
    const auto found = findLinks(memo1().toPlainText());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(memo1().toPlainText().mid(found[0].start, found[0].length), "http:\\\\example.com/x");

    // Shown again, it holds what it held.
    bar().ToolButton25()->click();
    EXPECT_EQ(link.Edit1()->text(), " http:\\\\example.com/x");
    EXPECT_EQ(link.itemIndex(), TForm6::Http);
}

// memo1URLClick: a link clicked in the editor opens as it does in a pop-up.
TEST_F(InsertDialogs, ALinkClickedInTheEditorOpens) {
    program->mainWindow().show();
    TDBRichEdit& m = memo1();
    m.moveCursor(QTextCursor::End);
    bar().inserter().insertText(QStringLiteral(" http:\\\\example.com"));
    QApplication::processEvents();
    const QTextBlock block = m.document()->firstBlock();
    const int at = block.text().indexOf("example");
    QTextCursor c(m.document());
    c.setPosition(at);
    const QPoint p = m.cursorRect(c).center() + QPoint(2, 0);
    QTest::mouseClick(m.viewport(), Qt::LeftButton, {}, p);
    ASSERT_EQ(platform.opened.size(), 1);
    EXPECT_EQ(platform.opened[0], "http://example.com");
}

} // namespace
