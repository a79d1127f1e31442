#include "store/connection.h"
#include "store/datalink.h"
#include "store/dberror.h"
#include "store/view.h"
#include "support/tempdb.h"

#include <gtest/gtest.h>
#include <memory>

using namespace brimble;

namespace {

class Views : public ::testing::Test {
protected:
    void SetUp() override {
        c.setConnectionString(db.connectionString());
        c.open();
    }
    std::unique_ptr<View> view(const char* name, const char* filter) {
        auto v = std::make_unique<View>(c, "bm", name);
        v->setFilterText(filter);
        v->setFiltered(true);
        v->open();
        return v;
    }
    int addMemo(View& v, const QString& text, bool done = false) {
        v.append();
        v.setValue("memo", text);
        v.setValue("done", done);
        v.post();
        return v.intValue("idx");
    }
    test::TempDb db;
    Connection c;
};

// A bound control stand-in: holds text typed "into it" and writes it when asked.
class FakeEditor : public DataLink {
public:
    QString typed;
    bool dirty = false;
    int loads = 0, cancels = 0;
    void type(View& v, const QString& text) {
        if (!v.editing())
            v.edit();
        typed = text;
        dirty = true;
    }
    void recordChanged(View&) override { ++loads; dirty = false; }
    void updateRecord(View& v) override {
        if (dirty)
            v.setValue("memo", typed);
        dirty = false;
    }
    void editCancelled(View&) override { ++cancels; dirty = false; }
    bool isModified() const override { return dirty; }
};

} // namespace

TEST_F(Views, IdxAssignedInOrderAndYesNoDefaultFalse) {
    auto bm = view("BM", "done=false");
    EXPECT_TRUE(bm->isEmpty());
    EXPECT_TRUE(bm->eof());
    bm->append();
    bm->setValue("memo", "one");
    EXPECT_FALSE(bm->boolValue("popped")); // before the post, as the file will hold it
    bm->post();
    const int first = bm->intValue("idx");
    const int second = addMemo(*bm, "two");
    EXPECT_GT(first, 0);
    EXPECT_EQ(second, first + 1);
    auto fresh = view("bms", "done=false");
    ASSERT_EQ(fresh->recordCount(), 2);
    EXPECT_EQ(fresh->intValue("idx"), first);
    EXPECT_FALSE(fresh->value("popped").toBool());
    EXPECT_EQ(fresh->value("popped").typeId(), QMetaType::Bool);
    EXPECT_TRUE(fresh->isNull("bgcolor")); // carried columns stay empty
}

TEST_F(Views, SnapshotRuleBetweenTwoViews) {
    auto bm = view("BM", "done=false");
    auto bms = view("bms", "done=false");
    addMemo(*bm, "hello");
    EXPECT_EQ(bms->recordCount(), 0) << "another view sees the row only after reopening";
    bms->close();
    bms->open();
    ASSERT_EQ(bms->recordCount(), 1);
    bms->edit();
    bms->setValue("popped", true);
    bms->post();
    EXPECT_FALSE(bm->boolValue("popped"));
    bm->close();
    bm->open();
    EXPECT_TRUE(bm->boolValue("popped"));
}

TEST_F(Views, FiltersAndSwitchingThemOff) {
    auto bm = view("BM", "done=false");
    addMemo(*bm, "pending");
    addMemo(*bm, "finished", true);
    addMemo(*bm, "pending too");
    bm->close();
    bm->open();
    EXPECT_EQ(bm->recordCount(), 2);
    auto history = view("bmall", "done=true");
    EXPECT_EQ(history->recordCount(), 1);
    EXPECT_EQ(history->textValue("memo"), "finished");
    history->setFiltered(false);
    EXPECT_EQ(history->recordCount(), 3);
    EXPECT_EQ(history->textValue("memo"), "pending") << "back on the first row, table order";
    history->setFiltered(true);
    EXPECT_EQ(history->recordCount(), 1);
}

TEST_F(Views, WalkingAndLocate) {
    auto bm = view("BM", "done=false");
    const int a = addMemo(*bm, "a");
    const int b = addMemo(*bm, "b");
    addMemo(*bm, "c");
    bm->close();
    bm->open();
    QStringList seen;
    for (bm->first(); !bm->eof(); bm->next())
        seen << bm->textValue("memo");
    EXPECT_EQ(seen, QStringList({"a", "b", "c"}));
    EXPECT_EQ(bm->textValue("memo"), "c") << "past the end the cursor stays on the last row";
    EXPECT_TRUE(bm->locate("idx", b));
    EXPECT_EQ(bm->textValue("memo"), "b");
    EXPECT_FALSE(bm->locate("idx", 9999));
    EXPECT_EQ(bm->textValue("memo"), "b") << "a failed locate does not move";
    EXPECT_TRUE(bm->locate("idx", a));
    EXPECT_EQ(bm->position(), 0);
}

TEST_F(Views, TextWidthIsRefusedNotCut) {
    auto bm = view("BM", "done=false");
    bm->append();
    bm->setValue("topic", QString(50, 'x'));
    try {
        bm->setValue("topic", QString(51, 'x'));
        FAIL() << "a 51-character topic was taken";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.text().contains("topic"));
        EXPECT_TRUE(e.text().contains("50"));
    }
    bm->post();
    EXPECT_EQ(bm->textValue("topic").size(), 50);
    EXPECT_THROW(bm->setValue("nosuch", 1), DbError);
}

TEST_F(Views, RefusedWritesAreErrorsAndOthersSeeNoChange) {
    auto bm = view("BM", "done=false");
    const int idx = addMemo(*bm, "x");
    EXPECT_THROW(bm->setValue("done", true), DbError) << "not in edit mode";
    bm->edit();
    EXPECT_THROW(bm->setValue("idx", 5), DbError);
    EXPECT_THROW(bm->setValue("bgcolor", "blue"), DbError);
    bm->cancel();
    // Another view deletes the row; posting an edit of it must fail, not report success.
    auto all = view("bmall", "done=true");
    all->setFiltered(false);
    ASSERT_TRUE(all->locate("idx", idx));
    all->deleteRow();
    bm->edit();
    bm->setValue("bgcolor", 1);
    EXPECT_THROW(bm->post(), DbError);
}

TEST_F(Views, RecordCursorRulePostsTypedTextAndDropsUntouchedEdits) {
    auto bm = view("BM", "done=false");
    addMemo(*bm, "first");
    addMemo(*bm, "second");
    bm->close();
    bm->open();
    FakeEditor editor;
    bm->addLink(&editor);

    editor.type(*bm, "typed into the first");
    bm->next(); // moving writes the text and posts
    EXPECT_FALSE(bm->editing());
    EXPECT_EQ(bm->textValue("memo"), "second");

    bm->edit(); // edit begun but nothing changed: the move cancels it
    bm->first();
    EXPECT_EQ(editor.cancels, 1);

    auto other = view("bms", "done=false");
    EXPECT_EQ(other->textValue("memo"), "typed into the first");
    bm->removeLink(&editor);
}

TEST_F(Views, ClosingAViewKeepsTypedText) {
    auto bm = view("BM", "done=false");
    addMemo(*bm, "before");
    FakeEditor editor;
    bm->addLink(&editor);
    editor.type(*bm, "after");
    bm->close(); // e.g. minimizing or "Close all Popups " reopens the list view
    bm->open();
    EXPECT_EQ(bm->textValue("memo"), "after");
    bm->removeLink(&editor);
}

TEST_F(Views, CancelRestoresAndNotifies) {
    auto bm = view("BM", "done=false");
    addMemo(*bm, "kept");
    FakeEditor editor;
    bm->addLink(&editor);
    editor.type(*bm, "dropped");
    bm->setValue("bgcolor", 255);
    bm->cancel();
    EXPECT_EQ(editor.cancels, 1);
    EXPECT_EQ(bm->textValue("memo"), "kept");
    EXPECT_TRUE(bm->isNull("bgcolor"));
    // An appended row that is cancelled leaves nothing behind.
    bm->append();
    bm->cancel();
    EXPECT_EQ(bm->recordCount(), 1);
    bm->removeLink(&editor);
}

TEST_F(Views, LinkThatCannotWriteFailsThePost) {
    auto bm = view("BM", "done=false");
    addMemo(*bm, "x");
    struct Refusing : FakeEditor {
        void updateRecord(View&) override { throw DbError("Failed to Save Stream"); }
    } editor;
    bm->addLink(&editor);
    editor.type(*bm, "y");
    try {
        bm->post();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.text(), "Failed to Save Stream");
    }
    EXPECT_TRUE(bm->editing()) << "the row is still being edited after a refused post";
    bm->removeLink(&editor);
    bm->cancel();
}

TEST_F(Views, DateAndMemoValuesRoundTrip) {
    auto bm = view("BM", "done=false");
    bm->append();
    bm->setValue("datetime", 46365.5);
    bm->setValue("memo", QString::fromUtf8("{\\rtf1 ünï 日本}"));
    bm->post();
    auto other = view("bms", "done=false");
    EXPECT_DOUBLE_EQ(other->dateValue("datetime"), 46365.5);
    EXPECT_EQ(other->textValue("memo"), QString::fromUtf8("{\\rtf1 ünï 日本}"));
    EXPECT_EQ(other->valueAt(0, "memo").toString(), other->textValue("memo"));
}

// Views opened again with nothing written in between share the rows already read; whatever
// was written since, by any route, must show.
TEST_F(Views, ReopeningSeesEveryWriteWhicheverWayItCame) {
    auto bm = view("BM", "done=false");
    addMemo(*bm, "one");
    auto reopened = [&](const char* name) { return view(name, "done=false"); };

    // Through this connection but not through a view.
    c.exec("UPDATE bm SET bgcolor = 7;");
    EXPECT_EQ(reopened("a")->intValue("bgcolor"), 7);

    // Another connection to the same file.
    {
        Connection other;
        other.setConnectionString(db.connectionString());
        other.open();
        other.exec("UPDATE bm SET bgcolor = 8;");
    }
    EXPECT_EQ(reopened("b")->intValue("bgcolor"), 8);

    // A change rolled back is gone again.
    c.exec("BEGIN;");
    c.exec("UPDATE bm SET bgcolor = 9;");
    EXPECT_EQ(reopened("c")->intValue("bgcolor"), 9);
    c.exec("ROLLBACK;");
    EXPECT_EQ(reopened("d")->intValue("bgcolor"), 8);

    // A view's own post and append change only its own snapshot until others reopen.
    auto first = reopened("e");
    auto second = reopened("f"); // shares the rows first read
    first->edit();
    first->setValue("memo", "changed");
    first->post();
    addMemo(*first, "two");
    EXPECT_EQ(second->textValue("memo"), "one");
    EXPECT_EQ(second->recordCount(), 1);
    second->close();
    second->open();
    EXPECT_EQ(second->textValue("memo"), "changed");
    EXPECT_EQ(second->recordCount(), 2);

    // Deleting through a view.
    first->deleteRow();
    EXPECT_EQ(reopened("g")->recordCount(), 1);
}

// Bodies are read when asked for, yet every view still shows its own snapshot of them.
TEST_F(Views, BodiesReadLateAreStillTheSnapshots) {
    auto bm = view("BM", "done=false");
    const int a = addMemo(*bm, "first body");
    const int b = addMemo(*bm, "second body");
    auto writer = view("w", "done=false");
    auto reader = view("r", "done=false"); // shares the rows the writer read
    ASSERT_TRUE(writer->locate("idx", a));
    writer->edit();
    writer->setValue("memo", "rewritten");
    writer->post();
    ASSERT_TRUE(writer->locate("idx", b));
    writer->deleteRow();
    EXPECT_EQ(reader->textValue("memo"), "first body");
    ASSERT_TRUE(reader->locate("idx", b));
    EXPECT_EQ(reader->valueAt(1, "memo").toString(), "second body");
    EXPECT_EQ(writer->textValue("memo"), "rewritten");
    // Being edited, a row reads its body the same way.
    reader->first();
    reader->edit();
    EXPECT_EQ(reader->textValue("memo"), "first body");
    reader->cancel();

    auto fresh = view("f", "done=false");
    EXPECT_EQ(fresh->recordCount(), 1);
    EXPECT_EQ(fresh->textValue("memo"), "rewritten");
}

TEST_F(Views, BodyOfARowDeletedElsewhereIsReportedOnce) {
    auto bm = view("BM", "done=false");
    const int a = addMemo(*bm, "soon gone");
    auto later = view("later", "done=false");
    {
        Connection other;
        other.setConnectionString(db.connectionString());
        other.open();
        other.exec(QStringLiteral("DELETE FROM bm WHERE idx = %1;").arg(a).toUtf8().constData());
    }
    try {
        (void)later->textValue("memo");
        FAIL() << "the body of a vanished row read as if it were there";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.text().contains("deleted row")) << e.text().toStdString();
    }
    EXPECT_EQ(later->textValue("memo"), QString()) << "reported once";
    EXPECT_EQ(later->intValue("idx"), a) << "the rest of the snapshot stands";
}
