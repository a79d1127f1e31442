#pragma once

#include "editor/insertions.h"
#include "editor/memoeditor.h"

#include <QFont>
#include <QObject>
#include <QSpinBox>

class QToolBar;
class QToolButton;

namespace brimble {

class Platform;
class TRichEdit;

// The font size box: whole points, no limits. Of the printable keys it takes only digits,
// the signs and the decimal separator, and it refuses Enter; a refused key beeps. Text that
// is no integer counts as 0.
class SizeBox : public QSpinBox {
    Q_OBJECT
public:
    SizeBox(Platform& platform, QWidget* parent);
    // The text read as an integer, 0 when it is none.
    int textValue() const;
    QLineEdit* edit() const { return lineEdit(); }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    void fixup(QString& input) const override;

private:
    bool accepts(QChar c) const;
    Platform& platform_;
};

// The style toolbar above the editor: italic, underline, bold, the size box, the three
// alignments, character map, text colour, font, text background and print, kept in step
// with the editor's selection.
class FormatBar : public QObject {
    Q_OBJECT
public:
    FormatBar(TRichEdit& editor, Platform& platform, QWidget* host, MemoEditor::Guard guard);
    ~FormatBar() override;

    // Shows the selection's attributes on the buttons, the size box and the font dialog's font.
    void follow();

    void ToolButton10Click(); // italic
    void ToolButton11Click(); // underline
    void ToolButton12Click(); // bold
    void ToolButton13Click(); // left
    void ToolButton14Click(); // centre
    void ToolButton15Click(); // right
    void SEEnter() { sefocus_ = true; }
    void SEExit() { sefocus_ = false; }
    void SEChange();
    void ToolButton16Click(); // character map
    void ToolButton17Click(); // text colour
    void ToolButton18Click(); // font
    void ToolButton19Click(); // text background
    void ToolButton20Click(); // insert image
    void ToolButton21Click(); // show Quick Images
    void ToolButton25Click(); // show Insert HyperLink
    void ToolButton26Click(); // print
    // Prints the memo as it looks, over as many pages as it needs.
    void print();
    // What ToolButton21 and ToolButton25 show; the dialogs are made after the editor.
    void setDialogs(std::function<void()> quickImages, std::function<void()> hyperLink);
    Inserter& inserter() { return inserter_; }

    bool sefocus() const { return sefocus_; }
    // What the font dialog opens on: the selection's font at the last sync.
    const QFont& dialogFont() const { return dialogFont_; }

    QToolBar* ToolBar2() const { return bar_; }
    QToolButton* ToolButton10() const { return tb10_; }
    QToolButton* ToolButton11() const { return tb11_; }
    QToolButton* ToolButton12() const { return tb12_; }
    QToolButton* ToolButton13() const { return tb13_; }
    QToolButton* ToolButton14() const { return tb14_; }
    QToolButton* ToolButton15() const { return tb15_; }
    SizeBox* SE() const { return se_; }
    QToolButton* ToolButton16() const { return tb16_; }
    QToolButton* ToolButton17() const { return tb17_; }
    QToolButton* ToolButton18() const { return tb18_; }
    QToolButton* ToolButton19() const { return tb19_; }
    QToolButton* ToolButton20() const { return tb20_; }
    QToolButton* ToolButton21() const { return tb21_; }
    QToolButton* ToolButton25() const { return tb25_; }
    QToolButton* ToolButton26() const { return tb26_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void toggleStyle(QToolButton* button, int bit);
    void align(int alignment, QToolButton* raise1, QToolButton* raise2);

    TRichEdit& editor_;
    Platform& platform_;
    MemoEditor::Guard guard_;
    bool sefocus_ = false;
    QFont dialogFont_;
    int dialogCharset_ = 0;
    quint32 dialogColor_ = 0;
    Inserter inserter_;
    std::function<void()> showQuickImages_, showHyperLink_;

    QToolBar* bar_ = nullptr;
    QToolButton *tb10_ = nullptr, *tb11_ = nullptr, *tb12_ = nullptr, *tb13_ = nullptr,
                *tb14_ = nullptr, *tb15_ = nullptr, *tb16_ = nullptr, *tb17_ = nullptr,
                *tb18_ = nullptr, *tb19_ = nullptr, *tb20_ = nullptr, *tb21_ = nullptr,
                *tb25_ = nullptr, *tb26_ = nullptr;
    SizeBox* se_ = nullptr;
};

} // namespace brimble
