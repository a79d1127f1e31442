#include "controls/spinedit/customspinedit.h"

#include "controls/spinedit/spinbutton.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>

namespace brimble {

namespace {

std::function<void()>& beepHook() {
    static std::function<void()> hook = [] { QApplication::beep(); };
    return hook;
}

// Focus that comes back with the window or from a closed pop-up menu is not an entry.
bool isEntry(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

void TCustomSpinEdit::setBeep(std::function<void()> beep) {
    beepHook() = beep ? std::move(beep) : [] { QApplication::beep(); };
}

void TCustomSpinEdit::beep() {
    beepHook()();
}

TCustomSpinEdit::TCustomSpinEdit(QWidget* parent)
    : QLineEdit(parent), button_(new TSpinButton(this)) {
    button_->setFocusControl(this);
    // Text may only come in key by key, where each character is checked.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(button_, &TSpinButton::upClick, this, &TCustomSpinEdit::upClick);
    connect(button_, &TSpinButton::downClick, this, &TCustomSpinEdit::downClick);
    connect(button_, &TSpinButton::pressing, this, &TCustomSpinEdit::stripPressed);
    connect(this, &QLineEdit::textChanged, this, &TCustomSpinEdit::onTextChanged);
    placeButton();
}

void TCustomSpinEdit::setUseRanges(bool on) {
    useRanges_ = on;
    RefreshValue();
}

void TCustomSpinEdit::setSunkenBorder(bool on) {
    setFrame(on);
    placeButton();
}

QRect TCustomSpinEdit::buttonGeometry(QSize size, bool sunken) {
    if (sunken)
        return {size.width() - kButtonWidth - 2, 2, kButtonWidth, size.height() - 4};
    return {size.width() - kButtonWidth, 1, kButtonWidth, size.height() - 2};
}

void TCustomSpinEdit::placeButton() {
    const QRect r = buttonGeometry(size(), hasFrame());
    button_->setGeometry(r.x(), r.y(), std::max(r.width(), TSpinButton::kMinWidth),
                         std::max(r.height(), 0));
    // The text stops one pixel left of the strip.
    QStyleOptionFrame opt;
    initStyleOption(&opt);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &opt, this);
    const int textEnd = button_->x() - 1;
    const QMargins m = textMargins();
    setTextMargins(m.left(), m.top(), std::max(0, contents.right() + 1 - textEnd), m.bottom());
}

int TCustomSpinEdit::selStart() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TCustomSpinEdit::selectRange(int start, int length) {
    const int size = int(text().size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (length == 0)
        setCursorPosition(start);
    else
        setSelection(start, length);
}

bool TCustomSpinEdit::AcceptKey(QChar&) {
    return false;
}

void TCustomSpinEdit::insertAccepted(QChar key) {
    insert(QString(key));
}

void TCustomSpinEdit::upClick() {
    if (isReadOnly())
        beep();
    else
        StepUp();
}

void TCustomSpinEdit::downClick() {
    if (isReadOnly())
        beep();
    else
        StepDown();
}

void TCustomSpinEdit::stripPressed() {
    if (!mouseFocusPending_)
        return;
    mouseFocusPending_ = false;
    if (autoSelect_)
        selectAll();
}

void TCustomSpinEdit::onTextChanged(const QString& text) {
    if (text == shownText_)
        return;
    shownText_ = text;
    emit changed();
}

void TCustomSpinEdit::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    if (key == Qt::Key_Delete) {
        e->accept(); // swallowed whatever the modifiers: the text never loses a character
        return;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        if (key == Qt::Key_Up && button_->UpEnabled())
            upClick();
        else if (key == Qt::Key_Down && button_->DownEnabled())
            downClick();
        e->accept();
        return;
    }
    if (key == Qt::Key_Backspace) {
        beep();
        e->accept();
        return;
    }
    if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut)) {
        if (pasteAllowed())
            QLineEdit::keyPressEvent(e);
        else
            e->accept();
        return;
    }
    // Other ways of removing text, and undo, which would bring back text the value never had.
    for (auto seq : {QKeySequence::DeleteEndOfLine, QKeySequence::DeleteStartOfWord,
                     QKeySequence::DeleteEndOfWord, QKeySequence::DeleteCompleteLine,
                     QKeySequence::Backspace, QKeySequence::Undo, QKeySequence::Redo}) {
        if (e->matches(seq)) {
            e->accept();
            return;
        }
    }
    const QString text = e->text();
    const bool command = e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (text.size() == 1 && !command && key != Qt::Key_Tab && key != Qt::Key_Backtab) {
        QChar c = text[0];
        e->accept();
        // Control characters (Return, Escape ...) never make a time.
        if (isReadOnly() || c.category() == QChar::Other_Control || !AcceptKey(c)) {
            beep();
            return;
        }
        insertAccepted(c);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TCustomSpinEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (!isEntry(e->reason()))
        return;
    const bool byMouse = e->reason() == Qt::MouseFocusReason;
    if (byMouse) {
        // The press may be on the button strip, which Qt delivers after handing the focus
        // up to the edit; the strip then asks for the keyboard-focus selection.
        mouseFocusPending_ = true;
        QTimer::singleShot(0, this, [this] { mouseFocusPending_ = false; });
    }
    if (autoSelect_ && !byMouse)
        selectAll();
    else if (!autoSelect_ && !byMouse)
        deselect(); // the line edit selects on Tab by itself
    emit entered();
}

void TCustomSpinEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (!isEntry(e->reason()))
        return;
    CheckRangeOnExit();
    emit exited();
}

void TCustomSpinEdit::resizeEvent(QResizeEvent* e) {
    QLineEdit::resizeEvent(e);
    placeButton();
}

void TCustomSpinEdit::showEvent(QShowEvent* e) {
    QLineEdit::showEvent(e);
    placeButton();
}

void TCustomSpinEdit::changeEvent(QEvent* e) {
    QLineEdit::changeEvent(e);
    if (e->type() == QEvent::StyleChange || e->type() == QEvent::FontChange)
        placeButton();
}

// The edit's own menu without Undo, Redo and Delete, which would change the text past the
// value; Cut and Paste follow the same rule as their keys. Texts come from Qt's translations.
void TCustomSpinEdit::contextMenuEvent(QContextMenuEvent* e) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [&](const char* name, const char* text, QKeySequence::StandardKey key,
                         std::function<void()> slot, bool enabled) {
        QString label = QCoreApplication::translate("QLineEdit", text);
        const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
        if (!shortcut.isEmpty())
            label += u'\t' + shortcut;
        QAction* a = menu->addAction(label, this, std::move(slot));
        a->setObjectName(QString::fromLatin1(name));
        a->setEnabled(enabled);
    };
    const bool selected = hasSelectedText() && echoMode() == QLineEdit::Normal;
    add(
        "edit-cut", "Cu&t", QKeySequence::Cut, [this] { cut(); }, selected && pasteAllowed());
    add(
        "edit-copy", "&Copy", QKeySequence::Copy, [this] { copy(); }, selected);
    add(
        "edit-paste", "&Paste", QKeySequence::Paste, [this] { paste(); },
        pasteAllowed() && !QGuiApplication::clipboard()->text().isEmpty());
    menu->addSeparator();
    add(
        "select-all", "Select All", QKeySequence::SelectAll, [this] { selectAll(); },
        !text().isEmpty());
    menu->popup(e->globalPos());
}

void TCustomSpinEdit::mouseReleaseEvent(QMouseEvent* e) {
    // The middle button pastes the selection clipboard on X11.
    if (e->button() == Qt::MiddleButton && !pasteAllowed()) {
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void TCustomSpinEdit::dragEnterEvent(QDragEnterEvent* e) {
    if (pasteAllowed())
        QLineEdit::dragEnterEvent(e);
    else
        e->ignore();
}

void TCustomSpinEdit::dropEvent(QDropEvent* e) {
    if (pasteAllowed())
        QLineEdit::dropEvent(e);
    else
        e->ignore();
}

} // namespace brimble
