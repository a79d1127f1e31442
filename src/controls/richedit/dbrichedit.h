#pragma once

#include "controls/richedit/richedit.h"
#include "store/datalink.h"

#include <QPointer>

namespace brimble {

class View;

// The rich text control bound to a text column (by default `memo`) of a view. It shows the
// current row's text, puts the row into the edit state before any change reaches the
// document, writes the whole document as RTF when the row is posted, and shows the stored
// text again when the edit is cancelled. The control's background colour is not bound.
class TDBRichEdit : public TRichEdit, public DataLink {
    Q_OBJECT
public:
    static constexpr const char* kSaveFailedText = "Failed to Save Stream";
    // Stored text longer than this is read into the control only once the control is shown.
    static constexpr qsizetype kDeferredChars = qsizetype(1) << 20;

    explicit TDBRichEdit(QWidget* parent = nullptr);
    ~TDBRichEdit() override;

    // Binds to `view` (which must outlive the binding) and shows its current row.
    void bind(View& view, const QString& column = QStringLiteral("memo"));
    void unbind();
    View* view() const { return view_; }
    const QString& column() const { return column_; }

    void recordChanged(View& view) override;
    void updateRecord(View& view) override;
    void editCancelled(View& view) override;
    bool isModified() const override { return modified(); }
    // The row's text waits for the control to be shown.
    bool deferred() const { return deferred_; }

protected:
    void beginChange() override;
    void changedUnannounced() override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    // The document as it goes into the column; a failure here fails the post.
    virtual QString streamOut() const;

private:
    void load();
    bool seen() const;

    View* view_ = nullptr;
    QString column_ = QStringLiteral("memo");
    bool deferred_ = false;
    QPointer<QWidget> watchedWindow_;
};

} // namespace brimble
