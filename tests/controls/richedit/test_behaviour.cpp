#include "controls/richedit/charattrs.h"
#include "controls/richedit/richedit.h"
#include "richtest.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace brimble;
using brimble::test::caretAt;
using brimble::test::select;

TEST(RichEditBehaviour, SettingsOfEveryUse) {
    TRichEdit e;
    EXPECT_TRUE(e.acceptRichText());
    EXPECT_EQ(e.lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_EQ(e.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(e.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_TRUE(e.document()->isUndoRedoEnabled());
}

TEST(RichEditBehaviour, AtLeastAHundredUndoSteps) {
    TRichEdit e;
    e.setText(QString(120, 'x'));
    for (int i = 0; i < 120; ++i) {
        select(e, i, i + 1);
        e.setStyle(i % 2 ? charattr::kBold : charattr::kItalic);
    }
    int steps = 0;
    while (e.document()->isUndoAvailable() && steps < 200) {
        e.document()->undo();
        ++steps;
    }
    EXPECT_GE(steps, 100);
    select(e, 0, 1);
    EXPECT_EQ(e.style(), 0) << "undone back to the loaded text";
}

TEST(RichEditBehaviour, SelectionMarginClickSelectsTheLine) {
    TRichEdit e;
    e.setText("first paragraph\nsecond one\nthird");
    test::showSized(e);
    ASSERT_GT(e.viewport()->x(), TRichEdit::kSelectionMargin - 1);
    QWidget* bar = e.childAt(e.viewport()->x() - TRichEdit::kSelectionMargin / 2,
                             e.viewport()->y() + test::charCenter(e, 17).y());
    ASSERT_TRUE(bar && bar != e.viewport());
    QSignalSpy spy(&e, &TRichEdit::selectionChange);
    QTest::mouseClick(bar, Qt::LeftButton, {},
                      QPoint(TRichEdit::kSelectionMargin / 2, test::charCenter(e, 17).y()));
    EXPECT_EQ(e.textCursor().selectedText(), QString("second one") + QChar::ParagraphSeparator);
    EXPECT_GE(spy.count(), 1);
    // A wrapped paragraph: only the display line beside the click.
    e.setText(QString("word ").repeated(60).trimmed());
    const QTextLayout* layout = e.document()->begin().layout();
    ASSERT_GT(layout->lineCount(), 2);
    const QTextLine second = layout->lineAt(1);
    const int y = int(second.y() + second.height() / 2) + 4; // document margin
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(2, y));
    EXPECT_EQ(e.textCursor().selectionStart(), second.textStart());
    EXPECT_EQ(e.textCursor().selectionEnd(), second.textStart() + second.textLength());
}

TEST(RichEditBehaviour, SelectionIsHiddenWhileUnfocused) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* e = new TRichEdit;
    auto* other = new QLineEdit;
    layout->addWidget(e);
    layout->addWidget(other);
    e->setText("some selected text");
    test::showSized(window);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto grab = [&] { return e->viewport()->grab().toImage(); };
    other->setFocus();
    QApplication::processEvents();
    const QImage plain = grab();
    select(*e, 0, 13);
    EXPECT_EQ(grab(), plain) << "unfocused: the selection is not drawn";
    e->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(e->hasFocus());
    EXPECT_NE(grab(), plain) << "focused: it is";
    other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(e->textCursor().selectedText(), "some selected") << "kept, only not shown";
}

TEST(RichEditBehaviour, NotificationsOfSelectionMouseDoubleClickAndFocus) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* e = new TRichEdit;
    auto* other = new QLineEdit;
    layout->addWidget(e);
    layout->addWidget(other);
    e->setText("hello world");
    test::showSized(window);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();

    QSignalSpy selection(e, &TRichEdit::selectionChange);
    QSignalSpy downs(e, &TRichEdit::mouseDown);
    QSignalSpy doubles(e, &TRichEdit::dblClick);
    QSignalSpy focus(e, &TRichEdit::entered);
    int caretDuringPress = -2;
    QObject::connect(e, &TRichEdit::mouseDown,
                     [&] { caretDuringPress = e->textCursor().position(); });

    caretAt(*e, 0);
    const QPoint p = test::charCenter(*e, 7);
    QTest::mouseClick(e->viewport(), Qt::RightButton, Qt::ShiftModifier, p);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(downs.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(downs.at(0).at(2).toPoint(), e->viewport()->mapTo(e, p));
    EXPECT_EQ(caretDuringPress, 0) << "reported while the press is being handled";
    EXPECT_GE(focus.count(), 1);

    selection.clear();
    QTest::keyClick(e, Qt::Key_End);
    EXPECT_EQ(selection.count(), 1);
    QTest::keyClick(e, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(selection.count(), 2);
    QTest::keyClick(e, Qt::Key_Home, Qt::ShiftModifier); // nothing moves
    EXPECT_EQ(selection.count(), 2);
    QTest::keyClicks(e, "X");
    EXPECT_EQ(selection.count(), 3);

    QTest::mouseDClick(e->viewport(), Qt::LeftButton, {}, test::charCenter(*e, 0));
    EXPECT_EQ(doubles.count(), 1);
}

TEST(RichEditBehaviour, NoBuiltInContextMenu) {
    TRichEdit e;
    e.setText("x");
    test::showSized(e);
    QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(5, 5),
                         e.viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(e.viewport(), &ev);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}
