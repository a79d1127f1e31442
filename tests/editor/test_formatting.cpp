// The style toolbar, the size box and the memo colours beside the editor.
#include "editortest.h"

#include "controls/richedit/charattrs.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QLineEdit>
#include <QTextCursor>
#include <QToolBar>

using namespace brimble;
using namespace brimble::test;

namespace {

using Formatting = EditorTest;

// "plain {\b\i bold italic} plain" with a justified second paragraph.
const char* kStyled = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 plain \\b\\i bold italic"
                      "\\b0\\i0  plain\\par\\qj justified\\par\\qc centred}";

void select(TRichEdit* e, int from, int to) {
    QTextCursor c(e->document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    e->setTextCursor(c);
}

TEST_F(Formatting, SwatchesCarryTheirColoursAndASwatchPressBeginsEditingSoSaveStoresIt) {
    const int idx = addMemo(days(2026, 12, 24), "{\\rtf1 text}", 0x00123456);
    start();
    editor->gridchange2();
    const std::array<quint32, 10> expected = {13291519, 16763609, 16774602, 13303785, 14221258,
                                              13303551, 13297407, 16767434, 14079702, 16777215};
    for (int i = 0; i < 10; ++i) {
        QWidget* s = editor->swatches()->swatch(i);
        EXPECT_EQ(s->objectName(), i == 0 ? QString("S1") : QString("s%1").arg(i + 1));
        EXPECT_EQ(charattr::colorRef(s->palette().color(QPalette::Window)), expected[size_t(i)]);
        EXPECT_EQ(s->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(s->geometry(), QRect(0, 25 * i, 20, 25));
    }
    EXPECT_EQ(editor->swatches()->Image1()->toolTip(), "Custom Color");
    EXPECT_EQ(editor->swatches()->Image1()->y(), 250);
    EXPECT_GT(editor->swatches()->Image1()->height(), 0);

    EXPECT_EQ(editor->editorColor(), 0x00123456u);
    EXPECT_FALSE(saveOn());
    // Any button: a right press on s2 counts too.
    QTest::mousePress(editor->swatches()->swatch(1), Qt::RightButton);
    EXPECT_EQ(editor->editorColor(), 0x00FFCAD9u);
    EXPECT_EQ(db.BM.state(), ViewState::Edit);
    EXPECT_TRUE(saveOn());
    EXPECT_FALSE(newOn());
    EXPECT_FALSE(deleteOn());
    editor->ToolButton3Click();
    EXPECT_EQ(stored(idx).bgcolor, 0x00FFCAD9);
    EXPECT_EQ(plain(stored(idx).memo), "text");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(Formatting, SwatchColourIsDroppedWhenAnotherMemoIsSelectedBeforeSaving) {
    const int a = addMemo(days(2026, 1, 1), "{\\rtf1 a}", 0x00FFFFFF);
    addMemo(days(2026, 1, 2), "{\\rtf1 b}", 0x000000FF);
    start();
    QTest::mousePress(editor->swatches()->swatch(8), Qt::LeftButton);
    EXPECT_EQ(editor->editorColor(), 0x00D6D6D6u);
    clickPanel(1);
    EXPECT_EQ(editor->editorColor(), 0x000000FFu);
    EXPECT_EQ(stored(a).bgcolor, 0x00FFFFFF);
}

TEST_F(Formatting, CustomColourBeginsEditingOnOkOnlyAndMemoColorNeverDoes) {
    const int idx = addMemo(days(2026, 12, 24), "{\\rtf1 text}", 0x00FFF5CA);
    start();
    editor->gridchange2();
    // Cancelled: nothing changes, editing does not begin.
    platform.colorAnswers.push_back(std::nullopt);
    QTest::mouseClick(editor->swatches()->Image1(), Qt::LeftButton);
    ASSERT_EQ(platform.colorsAsked.size(), 1);
    EXPECT_EQ(charattr::colorRef(platform.colorsAsked[0]), 0x00FFF5CAu);
    EXPECT_EQ(editor->editorColor(), 0x00FFF5CAu);
    EXPECT_EQ(db.BM.state(), ViewState::Browse);
    EXPECT_FALSE(saveOn());

    // "Memo Color" sets the colour but does not begin editing.
    platform.colorAnswers.push_back(QColor(1, 2, 3));
    editor->Color1Click();
    EXPECT_EQ(editor->editorColor(), 0x00030201u);
    EXPECT_EQ(db.BM.state(), ViewState::Browse);
    EXPECT_FALSE(saveOn());

    platform.colorAnswers.push_back(QColor(10, 20, 30));
    QTest::mouseClick(editor->swatches()->Image1(), Qt::LeftButton);
    EXPECT_EQ(charattr::colorRef(platform.colorsAsked.last()), 0x00030201u);
    EXPECT_EQ(editor->editorColor(), 0x001E140Au);
    EXPECT_TRUE(saveOn());
    editor->ToolButton3Click();
    EXPECT_EQ(stored(idx).bgcolor, 0x001E140A);
}

TEST_F(Formatting, ToolbarFollowsTheSelectionAndAStyleButtonTogglesOnlyItsOwnBit) {
    const int idx = addMemo(days(2026, 12, 24), kStyled);
    start();
    FormatBar* bar = editor->formatBar();
    TRichEdit* m = editor->memo1();
    // Inside "bold italic".
    select(m, 7, 10);
    EXPECT_TRUE(bar->ToolButton12()->isChecked());
    EXPECT_TRUE(bar->ToolButton10()->isChecked());
    EXPECT_FALSE(bar->ToolButton11()->isChecked());
    EXPECT_TRUE(bar->ToolButton13()->isChecked());
    EXPECT_EQ(bar->SE()->value(), 12);
    EXPECT_TRUE(bar->dialogFont().bold() && bar->dialogFont().italic());
    // A caret move enables "Save changes" without beginning the edit.
    EXPECT_TRUE(saveOn());
    EXPECT_FALSE(newOn() || deleteOn());
    EXPECT_EQ(db.BM.state(), ViewState::Browse);

    bar->ToolButton12()->click(); // bold off
    EXPECT_EQ(m->style(), charattr::kItalic);
    EXPECT_EQ(db.BM.state(), ViewState::Edit);
    bar->ToolButton11()->click(); // underline on
    EXPECT_EQ(m->style(), charattr::kItalic | charattr::kUnderline);
    bar->ToolButton10()->click(); // italic off
    EXPECT_EQ(m->style(), charattr::kUnderline);
    // The text around the selection is untouched.
    select(m, 0, 3);
    EXPECT_EQ(m->style(), 0);
    EXPECT_FALSE(bar->ToolButton10()->isChecked() || bar->ToolButton11()->isChecked() ||
                 bar->ToolButton12()->isChecked());

    // Justified shows all three raised, centred presses only the centre one.
    const int justified = int(m->toPlainText().indexOf("justified"));
    select(m, justified + 1, justified + 1);
    EXPECT_FALSE(bar->ToolButton13()->isChecked() || bar->ToolButton14()->isChecked() ||
                 bar->ToolButton15()->isChecked());
    const int centred = int(m->toPlainText().indexOf("centred"));
    select(m, centred + 1, centred + 1);
    EXPECT_TRUE(bar->ToolButton14()->isChecked());
    EXPECT_FALSE(bar->ToolButton13()->isChecked() || bar->ToolButton15()->isChecked());

    editor->ToolButton3Click();
    QTextDocument d;
    rtf::read(stored(idx).memo, d);
    QTextCursor c(&d);
    c.setPosition(8);
    EXPECT_TRUE(c.charFormat().fontUnderline());
    EXPECT_FALSE(c.charFormat().fontItalic());
    EXPECT_LT(c.charFormat().fontWeight(), int(QFont::DemiBold));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(Formatting, AlignmentButtonsSetTheParagraphsAndRaiseTheOthers) {
    addMemo(days(2026, 12, 24), kStyled);
    start();
    FormatBar* bar = editor->formatBar();
    TRichEdit* m = editor->memo1();
    select(m, 2, int(m->toPlainText().indexOf("justified")) + 2); // first two paragraphs
    bar->ToolButton15()->click();
    EXPECT_EQ(m->paraAlignment(), 1);
    EXPECT_TRUE(bar->ToolButton15()->isChecked());
    EXPECT_FALSE(bar->ToolButton13()->isChecked() || bar->ToolButton14()->isChecked());
    select(m, int(m->toPlainText().indexOf("justified")) + 1,
           int(m->toPlainText().indexOf("justified")) + 1);
    EXPECT_EQ(m->paraAlignment(), 1);
    bar->ToolButton14()->click();
    EXPECT_EQ(m->paraAlignment(), 2);
    EXPECT_FALSE(bar->ToolButton15()->isChecked());

    // Clicking a pressed button raises it but still aligns; the next caret move presses it.
    bar->ToolButton13()->click();
    bar->ToolButton13()->click();
    EXPECT_FALSE(bar->ToolButton13()->isChecked());
    EXPECT_EQ(m->paraAlignment(), 0);
    m->moveCursor(QTextCursor::Right);
    EXPECT_TRUE(bar->ToolButton13()->isChecked());
    EXPECT_EQ(db.BM.state(), ViewState::Edit);
}

TEST_F(Formatting, SizeBoxAppliesEachKeystrokeOnlyWhileFocusedAndRefusesLettersWithABeep) {
    addMemo(days(2026, 12, 24), kStyled);
    start();
    FormatBar* bar = editor->formatBar();
    TRichEdit* m = editor->memo1();
    SizeBox* se = bar->SE();
    select(m, 0, 5);
    EXPECT_EQ(se->value(), 12);
    EXPECT_FALSE(bar->sefocus());

    se->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(bar->sefocus());
    se->edit()->selectAll();
    QTest::keyClick(se, Qt::Key_Backspace);
    EXPECT_EQ(se->edit()->text(), "");
    QTest::keyClick(se, Qt::Key_1);
    EXPECT_EQ(m->size(), 1);
    QTest::keyClick(se, Qt::Key_2);
    EXPECT_EQ(m->size(), 12);
    EXPECT_EQ(platform.beeps, 0);
    QTest::keyClick(se, Qt::Key_A);
    QTest::keyClick(se, Qt::Key_Return);
    EXPECT_EQ(platform.beeps, 2);
    EXPECT_EQ(se->edit()->text(), "12");
    QTest::keyClick(se, Qt::Key_0);
    EXPECT_EQ(m->size(), 120);
    QTest::keyClick(se, Qt::Key_Up);
    EXPECT_EQ(m->size(), 121);
    EXPECT_EQ(db.BM.state(), ViewState::Edit);

    // The whole selection took the size; the text after it did not.
    m->setFocus(Qt::MouseFocusReason);
    select(m, 0, 5);
    EXPECT_EQ(m->size(), 121);
    EXPECT_FALSE(bar->sefocus());
    // Moving the selection only shows the size: a selection across both sizes is left as
    // it was.
    select(m, 3, 8);
    select(m, 3, 5);
    EXPECT_EQ(m->size(), 121);
    select(m, 6, 8);
    EXPECT_EQ(m->size(), 12);
    EXPECT_EQ(se->value(), 12);
}

TEST_F(Formatting, TextColourAndBackgroundDialogsMakeTheChosenColourExplicitAndCancelKeepsIt) {
    addMemo(days(2026, 12, 24), kStyled);
    start();
    FormatBar* bar = editor->formatBar();
    TRichEdit* m = editor->memo1();
    select(m, 0, 5);
    ASSERT_EQ(m->textColor(), charattr::kWindowText);
    ASSERT_EQ(m->backColor(), charattr::kWindow);
    const QColor text = QApplication::palette().color(QPalette::Text);
    const QColor base = QApplication::palette().color(QPalette::Base);

    platform.colorAnswers.push_back(std::nullopt);
    bar->ToolButton17()->click();
    EXPECT_EQ(platform.colorsAsked.last(), text);
    EXPECT_EQ(m->textColor(), charattr::kWindowText);
    EXPECT_EQ(db.BM.state(), ViewState::Browse);

    // Confirming the preset gives the text that colour as its own.
    platform.colorAnswers.push_back(text);
    bar->ToolButton17()->click();
    EXPECT_EQ(m->textColor(), charattr::colorRef(text));
    EXPECT_EQ(db.BM.state(), ViewState::Edit);

    platform.colorAnswers.push_back(QColor(255, 255, 255));
    bar->ToolButton19()->click();
    EXPECT_EQ(platform.colorsAsked.last(), base);
    EXPECT_EQ(m->backColor(), 0x00FFFFFFu);
    // Only the text colour and the background changed.
    EXPECT_EQ(m->size(), 12);
    EXPECT_EQ(m->style(), 0);
    select(m, 7, 10);
    EXPECT_EQ(m->textColor(), charattr::kWindowText);
    EXPECT_EQ(m->backColor(), charattr::kWindow);
}

TEST_F(Formatting, FontDialogOpensOnTheSelectionsFontAndAppliesItsChoice) {
    addMemo(days(2026, 12, 24), kStyled);
    start();
    FormatBar* bar = editor->formatBar();
    TRichEdit* m = editor->memo1();
    select(m, 7, 10);
    platform.fontAnswers.push_back(std::nullopt);
    bar->ToolButton18()->click();
    ASSERT_EQ(platform.fontsAsked.size(), 1);
    EXPECT_EQ(platform.fontsAsked[0].family(), "Arial");
    EXPECT_EQ(platform.fontsAsked[0].pointSize(), 12);
    EXPECT_TRUE(platform.fontsAsked[0].bold() && platform.fontsAsked[0].italic());
    EXPECT_EQ(m->style(), charattr::kBold | charattr::kItalic);
    EXPECT_EQ(db.BM.state(), ViewState::Browse);

    QFont chosen(QStringLiteral("Courier New"));
    chosen.setPointSize(20);
    chosen.setUnderline(true);
    platform.fontAnswers.push_back(chosen);
    bar->ToolButton18()->click();
    EXPECT_EQ(m->faceName(), "Courier New");
    EXPECT_EQ(m->size(), 20);
    EXPECT_EQ(m->style(), charattr::kUnderline);
    EXPECT_EQ(m->textColor(), charattr::kWindowText); // still automatic
    EXPECT_EQ(db.BM.state(), ViewState::Edit);
    // The context menu's "Font Type" opens the same dialog on the new font.
    platform.fontAnswers.push_back(std::nullopt);
    m->moveCursor(QTextCursor::Right);
    editor->PopupMenu2()->actions()[0]->trigger();
    EXPECT_EQ(platform.fontsAsked.last().family(), "Courier New");
}

TEST_F(Formatting, CharacterMapPrintAndTheContextMenu) {
    addMemo(days(2026, 12, 24), "{\\rtf1 one\\par two}");
    start();
    FormatBar* bar = editor->formatBar();
    TRichEdit* m = editor->memo1();
    EXPECT_EQ(bar->ToolButton16()->toolTip(), "Insert Character Map");
    bar->ToolButton16()->click();
    EXPECT_EQ(platform.charmapStarts, 1);
    bar->ToolButton26()->click();
    ASSERT_EQ(platform.printed.size(), 1);
    EXPECT_EQ(platform.printed[0].remove('\r'), "one\ntwo");

    QStringList captions;
    for (QAction* a : editor->PopupMenu2()->actions())
        captions << a->text();
    EXPECT_EQ(captions, QStringList({"Font Type", "Font Color", "Font BG Color", "Memo Color",
                                     "Select All", "Copy 2 Clipboard", "Paste Clipboard",
                                     "Print"}));
    // A left press does nothing here, a right press opens the menu.
    QTest::mousePress(m->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QTest::mouseRelease(m->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_FALSE(editor->PopupMenu2()->isVisible());
    QTest::mousePress(m->viewport(), Qt::RightButton, {}, QPoint(20, 5));
    EXPECT_TRUE(editor->PopupMenu2()->isVisible());
    editor->PopupMenu2()->close();

    editor->PopupMenu2()->actions()[4]->trigger(); // Select All
    EXPECT_EQ(m->textCursor().selectedText().size(), m->toPlainText().size());
    editor->PopupMenu2()->actions()[7]->trigger(); // Print
    ASSERT_EQ(platform.printed.size(), 2);
    EXPECT_EQ(platform.printed[1].remove('\r'), "one\ntwo");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

} // namespace
