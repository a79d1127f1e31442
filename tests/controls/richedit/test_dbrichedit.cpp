#include "controls/richedit/charattrs.h"
#include "controls/richedit/dbrichedit.h"
#include "richtest.h"
#include "rtf/rtf.h"
#include "store/connection.h"
#include "store/dberror.h"
#include "store/view.h"
#include "support/tempdb.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

using namespace brimble;
using brimble::test::caretAt;
using brimble::test::select;

namespace {

const QString kRtfMemo = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\qj Justified "
                         "{\\b bold}\\par\\pard second\\par}";

class BoundEditor : public ::testing::Test {
protected:
    void SetUp() override {
        c.setConnectionString(db.connectionString());
        c.open();
        bm = openView("BM");
    }
    std::unique_ptr<View> openView(const char* name) {
        auto v = std::make_unique<View>(c, "bm", name);
        v->setFilterText("done=false");
        v->setFiltered(true);
        v->open();
        return v;
    }
    int addMemo(const QString& text) {
        bm->append();
        bm->setValue("memo", text);
        bm->setValue("bgcolor", 0xFFFFFF);
        bm->post();
        return bm->intValue("idx");
    }
    // The column as the file holds it, through a view of its own.
    QString stored(int idx) {
        auto v = openView("check");
        EXPECT_TRUE(v->locate("idx", idx));
        return v->textValue("memo");
    }
    void reopen() {
        bm->close();
        bm->open();
    }
    test::TempDb db;
    Connection c;
    std::unique_ptr<View> bm;
};

} // namespace

TEST_F(BoundEditor, LoadsRtfPlainTextAndAnUnloadableValue) {
    addMemo(kRtfMemo);
    addMemo("plain\r\ntext memo");
    addMemo(QString("\x01\x02") + QChar(0) + "binary");
    addMemo("");
    reopen();
    TDBRichEdit memo1;
    memo1.bind(*bm);
    EXPECT_EQ(memo1.text(), "Justified bold\r\nsecond");
    caretAt(memo1, 0);
    EXPECT_EQ(memo1.paraAlignment(), 3) << "justified paragraph read from stored text";
    caretAt(memo1, 11);
    EXPECT_EQ(memo1.style(), charattr::kBold);
    bm->next();
    EXPECT_EQ(memo1.text(), "plain\r\ntext memo");
    bm->next();
    EXPECT_EQ(memo1.text(), "(Failed to Load Stream)");
    bm->next();
    EXPECT_EQ(memo1.text(), "") << "a memo never edited shows an empty body";
    bm->first();
    EXPECT_EQ(memo1.text(), "Justified bold\r\nsecond");
    EXPECT_FALSE(memo1.isModified());
    EXPECT_FALSE(bm->editing()) << "loading is no change";
}

TEST_F(BoundEditor, TypingEditsTheRowAndPostWritesRtf) {
    const int idx = addMemo("hello");
    reopen();
    TDBRichEdit memo1;
    memo1.bind(*bm);
    caretAt(memo1, 5);
    QTest::keyClicks(&memo1, " world");
    EXPECT_TRUE(bm->editing());
    EXPECT_TRUE(memo1.isModified());
    bm->post();
    EXPECT_FALSE(memo1.isModified());
    const QString saved = stored(idx);
    EXPECT_TRUE(rtf::looksLikeRtf(saved)) << saved.toStdString();
    QTextDocument back;
    ASSERT_TRUE(rtf::read(saved, back));
    EXPECT_EQ(back.toPlainText(), "hello world");
}

TEST_F(BoundEditor, AFormatChangeAloneEditsTheRowAndIsSavedWithIt) {
    const int idx = addMemo("make me bold");
    const int other = addMemo("other");
    reopen();
    TDBRichEdit memo1;
    memo1.bind(*bm);
    select(memo1, 8, 12);
    EXPECT_FALSE(bm->editing());
    memo1.setStyle(charattr::kBold);
    EXPECT_TRUE(bm->editing());
    EXPECT_TRUE(memo1.isModified());
    bm->next(); // leaving the row posts it
    EXPECT_FALSE(bm->editing());
    EXPECT_EQ(memo1.text(), "other");
    auto v = openView("check"); // outlives the control bound to it
    TDBRichEdit check;
    check.bind(*v);
    ASSERT_TRUE(v->locate("idx", idx));
    select(check, 8, 12);
    EXPECT_EQ(check.style(), charattr::kBold);
    select(check, 0, 4);
    EXPECT_EQ(check.style(), 0);
    EXPECT_EQ(stored(other), "other") << "the row moved to is untouched";

    // The same for a paragraph format.
    bm->first();
    caretAt(memo1, 0);
    memo1.setParaAlignment(2);
    EXPECT_TRUE(bm->editing());
    bm->post();
    v->close();
    v->open();
    ASSERT_TRUE(v->locate("idx", idx));
    EXPECT_EQ(check.paraAlignment(), 2);
}

TEST_F(BoundEditor, EditingKeysPasteAndCutGoThroughTheBinding) {
    addMemo("abc");
    reopen();
    TDBRichEdit memo1;
    memo1.bind(*bm);
    caretAt(memo1, 0);
    QTest::keyClick(&memo1, Qt::Key_End);
    QTest::keyClick(&memo1, Qt::Key_Left, Qt::ShiftModifier);
    memo1.copy();
    EXPECT_FALSE(bm->editing()) << "moving and copying change nothing";
    QTest::keyClick(&memo1, Qt::Key_Delete);
    EXPECT_TRUE(bm->editing());
    EXPECT_EQ(memo1.text(), "ab");
    bm->cancel();
    EXPECT_EQ(memo1.text(), "abc") << "cancel reloads the column";
    EXPECT_FALSE(memo1.isModified());

    QApplication::clipboard()->setText("Z");
    caretAt(memo1, 1);
    memo1.paste();
    EXPECT_TRUE(bm->editing());
    EXPECT_EQ(memo1.text(), "aZbc");
    bm->cancel();
    select(memo1, 0, 1);
    memo1.cut();
    EXPECT_TRUE(bm->editing());
    EXPECT_EQ(memo1.text(), "bc");
    bm->cancel();
    caretAt(memo1, 3);
    QTest::keyClick(&memo1, Qt::Key_Return);
    EXPECT_TRUE(bm->editing());
    bm->cancel();
    caretAt(memo1, 3);
    QTest::keyClick(&memo1, Qt::Key_Backspace);
    EXPECT_TRUE(bm->editing());
    EXPECT_EQ(memo1.text(), "ab");
}

TEST_F(BoundEditor, CancelReloadsAndAnUnchangedRowIsNotWritten) {
    const int idx = addMemo("original");
    reopen();
    TDBRichEdit memo1;
    memo1.bind(*bm);
    caretAt(memo1, 8);
    QTest::keyClicks(&memo1, " changed");
    bm->cancel();
    EXPECT_EQ(memo1.text(), "original");
    EXPECT_EQ(stored(idx), "original");
    // Entering the edit state without a change leaves the stored text as it was.
    bm->edit();
    bm->post();
    EXPECT_EQ(stored(idx), "original") << "not rewritten as RTF when nothing changed";
}

namespace {
class RefusingEditor : public TDBRichEdit {
protected:
    QString streamOut() const override { throw std::runtime_error("writer gave up"); }
};
} // namespace

TEST_F(BoundEditor, ARefusedWriteFailsThePostWithItsMessage) {
    const int idx = addMemo("kept");
    reopen();
    RefusingEditor memo1;
    memo1.bind(*bm);
    caretAt(memo1, 4);
    QTest::keyClicks(&memo1, "!");
    try {
        bm->post();
        FAIL() << "the post went through";
    } catch (const DbError& e) {
        EXPECT_EQ(e.text(), "Failed to Save Stream");
    }
    EXPECT_TRUE(bm->editing()) << "the row stays in the edit state";
    EXPECT_TRUE(memo1.isModified()) << "the typing is not lost";
    EXPECT_EQ(stored(idx), "kept");
}

namespace {
// Calls the key handler itself: the program's error boundary sits above event dispatch.
class KeyProbe : public TDBRichEdit {
public:
    using TDBRichEdit::keyPressEvent;
};
} // namespace

TEST_F(BoundEditor, NoRowToEditTakesNoTypingAndRefusesOtherChanges) {
    KeyProbe memo1;
    memo1.bind(*bm); // the view is empty
    EXPECT_THROW(memo1.setStyle(charattr::kBold), DbError);
    // Keys and pastes have nowhere to go: they are not taken, and raise no error box.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    EXPECT_NO_THROW(memo1.keyPressEvent(&key));
    QApplication::clipboard()->setText("pasted");
    EXPECT_NO_THROW(memo1.paste());
    EXPECT_FALSE(bm->editing());
    EXPECT_EQ(memo1.document()->toPlainText(), "");
    EXPECT_FALSE(memo1.isModified());
}

TEST_F(BoundEditor, AppendedRowShowsEmptyAndIsWrittenOnPost) {
    addMemo("first");
    TDBRichEdit memo1;
    memo1.bind(*bm);
    bm->append();
    EXPECT_EQ(memo1.text(), "");
    QTest::keyClicks(&memo1, "new memo");
    EXPECT_EQ(bm->state(), ViewState::Insert);
    bm->post();
    const int idx = bm->intValue("idx");
    QTextDocument back;
    ASSERT_TRUE(rtf::read(stored(idx), back));
    EXPECT_EQ(back.toPlainText(), "new memo");
}

TEST_F(BoundEditor, BackgroundColourIsNotBoundAndClosingShowsNothing) {
    const int idx = addMemo("text");
    reopen();
    TDBRichEdit memo1;
    memo1.bind(*bm);
    memo1.setBackgroundColor(0x00CAFFE9);
    EXPECT_FALSE(bm->editing());
    bm->edit();
    bm->post();
    auto v = openView("check");
    ASSERT_TRUE(v->locate("idx", idx));
    EXPECT_EQ(v->intValue("bgcolor"), 0xFFFFFF);
    bm->close();
    EXPECT_EQ(memo1.text(), "");
    memo1.unbind();
    bm->open(); // no longer told
    EXPECT_EQ(memo1.text(), "");
}

TEST_F(BoundEditor, AVeryLargeMemoIsReadWhenTheEditorIsSeen) {
    const QString big = "{\\rtf1\\ansi " + QString(TDBRichEdit::kDeferredChars, QLatin1Char('y')) +
                        "\\par}";
    addMemo("small");
    addMemo(big);
    reopen();
    QWidget window; // starts in the tray: hidden
    auto* memo1 = new TDBRichEdit(&window);
    memo1->bind(*bm);
    EXPECT_EQ(memo1->text(), "small");
    bm->next();
    EXPECT_TRUE(memo1->deferred());
    EXPECT_TRUE(memo1->isReadOnly()) << "nothing to type into before it is read";
    window.showMinimized();
    QApplication::processEvents();
    EXPECT_TRUE(memo1->deferred()) << "a minimized window shows nothing either";
    window.showNormal();
    QApplication::processEvents();
    EXPECT_FALSE(memo1->deferred());
    EXPECT_FALSE(memo1->isReadOnly());
    EXPECT_EQ(memo1->text().size(), TDBRichEdit::kDeferredChars);
    EXPECT_FALSE(bm->editing()) << "reading it late is no change";
    bm->first();
    EXPECT_EQ(memo1->text(), "small");
}
