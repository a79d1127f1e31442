#include "controls/richedit/dbrichedit.h"

#include "store/dberror.h"
#include "store/view.h"

#include <QEvent>
#include <exception>

namespace brimble {

TDBRichEdit::TDBRichEdit(QWidget* parent) : TRichEdit(parent) {}

TDBRichEdit::~TDBRichEdit() {
    unbind();
}

void TDBRichEdit::bind(View& view, const QString& column) {
    unbind();
    view_ = &view;
    column_ = column;
    view.addLink(this);
    load();
}

void TDBRichEdit::unbind() {
    if (view_)
        view_->removeLink(this);
    view_ = nullptr;
}

void TDBRichEdit::load() {
    const bool hasRow = view_ && view_->isOpen() && (view_->editing() || view_->position() >= 0);
    QString text = hasRow ? view_->textValue(column_) : QString();
    // Reading megabytes of RTF takes seconds, and the main window starts in the tray: a very
    // large memo waits until someone can see it.
    deferred_ = !seen() && text.size() > kDeferredChars;
    if (deferred_)
        text = QString();
    setText(text);
    // With no row there is nothing to type into: keys would only raise the view's error.
    setReadOnly(!hasRow || deferred_);
}

bool TDBRichEdit::seen() const {
    return isVisible() && !window()->isMinimized();
}

void TDBRichEdit::showEvent(QShowEvent* e) {
    TRichEdit::showEvent(e);
    // A window restored from the taskbar gets no show event of its own children.
    if (watchedWindow_ != window()) {
        if (watchedWindow_)
            watchedWindow_->removeEventFilter(this);
        watchedWindow_ = window();
        watchedWindow_->installEventFilter(this);
    }
    if (deferred_ && seen())
        load();
}

bool TDBRichEdit::eventFilter(QObject* watched, QEvent* e) {
    if (watched == watchedWindow_ && e->type() == QEvent::WindowStateChange && deferred_ &&
        seen())
        load();
    return TRichEdit::eventFilter(watched, e);
}

void TDBRichEdit::recordChanged(View& view) {
    if (&view == view_)
        load();
}

void TDBRichEdit::updateRecord(View& view) {
    if (&view != view_ || !modified())
        return;
    QString text;
    try {
        text = streamOut();
    } catch (const std::exception&) {
        // Whatever stopped the writer, the user is told in the post's own words.
        throw DbError(QString::fromLatin1(kSaveFailedText));
    }
    view.setValue(column_, text);
    setModified(false);
}

void TDBRichEdit::editCancelled(View& view) {
    if (&view == view_)
        load();
}

QString TDBRichEdit::streamOut() const {
    return toRtf();
}

void TDBRichEdit::beginChange() {
    if (view_ && !view_->editing())
        view_->edit(); // throws when there is no row to edit: the change does not happen
}

void TDBRichEdit::changedUnannounced() {
    // Too late to refuse; still let the row know it is being edited where it can be.
    if (view_ && view_->isOpen() && !view_->editing() && view_->position() >= 0)
        view_->edit();
}

} // namespace brimble
