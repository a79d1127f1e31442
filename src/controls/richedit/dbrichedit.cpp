#include "controls/richedit/dbrichedit.h"

#include "store/dberror.h"
#include "store/view.h"

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
    setText(hasRow ? view_->textValue(column_) : QString());
    // With no row there is nothing to type into: keys would only raise the view's error.
    setReadOnly(!hasRow);
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
