#pragma once

#include <QLineEdit>
#include <functional>

namespace brimble {

class TSpinButton;

// A single-line edit with a spin button strip at its right edge. Up and Down (keys or
// buttons) call StepUp and StepDown; every typed character goes through AcceptKey first and
// is dropped with a beep when refused. Delete never reaches the edit, Backspace is refused,
// and paste and cut are allowed only while the editor is enabled and not read-only.
class TCustomSpinEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE setEditorEnabled)
    Q_PROPERTY(bool UseRanges READ UseRanges WRITE setUseRanges)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)
public:
    static constexpr int kButtonWidth = 20;

    explicit TCustomSpinEdit(QWidget* parent = nullptr);

    bool EditorEnabled() const { return editorEnabled_; }
    void setEditorEnabled(bool on) { editorEnabled_ = on; }
    bool UseRanges() const { return useRanges_; }
    void setUseRanges(bool on);
    bool AutoSelect() const { return autoSelect_; }
    void setAutoSelect(bool on) { autoSelect_ = on; }

    // The sunken 3-D border (the edit's frame); the button strip moves with it.
    void setSunkenBorder(bool on);
    bool sunkenBorder() const { return hasFrame(); }

    TSpinButton* button() const { return button_; }

    // Where the button strip lies in an edit of `size`, in the edit's own coordinates: along
    // the right edge inside the border (2 pixels when sunken, else 1 at top and bottom).
    static QRect buttonGeometry(QSize size, bool sunken);

    // The start of the selection, or the caret position when nothing is selected.
    int selStart() const;
    // Selects `length` characters from `start`, cut at the end of the text; a length of 0
    // puts the caret at `start`.
    void selectRange(int start, int length);

    // The sound of a refused key or step. Tests and the main window point it elsewhere.
    static void setBeep(std::function<void()> beep);
    static void beep();

    bool pasteAllowed() const { return editorEnabled_ && !isReadOnly(); }

signals:
    // The shown text changed (never for a rebuild that gives the same text).
    void changed();
    // The focus came in from elsewhere in the window, or left for elsewhere in it.
    void entered();
    void exited();

protected:
    // Takes a typed character, which it may rewrite; true lets it through to the edit.
    virtual bool AcceptKey(QChar& key);
    virtual void StepDown() = 0;
    virtual void StepUp() = 0;
    virtual void CheckRangeOnExit() = 0;
    virtual void RefreshValue() = 0;
    // Overwrites the selected character with an accepted key; a subclass that rebuilt the
    // text in AcceptKey itself can replace this.
    virtual void insertAccepted(QChar key);

    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void placeButton();
    void upClick();
    void downClick();
    void onTextChanged(const QString& text);
    void stripPressed();

    TSpinButton* button_;
    bool editorEnabled_ = true;
    bool useRanges_ = false;
    bool autoSelect_ = true;
    bool mouseFocusPending_ = false; // focus came with a mouse press not yet delivered
    QString shownText_;
};

} // namespace brimble
