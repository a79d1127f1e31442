#include "controls/richedit/richedit.h"

#include "controls/richedit/charattrs.h"
#include "controls/richedit/links.h"
#include "controls/richedit/richmime.h"
#include "rtf/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <vector>

namespace brimble {

// The strip left of the text: a click there selects the line beside it.
class SelectionBar : public QWidget {
public:
    explicit SelectionBar(TRichEdit* owner) : QWidget(owner), owner_(owner) {
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
        setCursor(Qt::ArrowCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        const QPoint p = e->position().toPoint();
        emit owner_->mouseDown(e->button(), e->modifiers(), mapTo(owner_, p));
        if (e->button() == Qt::LeftButton) {
            owner_->setFocus(Qt::MouseFocusReason);
            owner_->selectLineAt(p.y());
        }
    }

private:
    TRichEdit* owner_;
};

// Every change through the control passes here: the owner may refuse it before it happens.
class ChangeScope {
public:
    explicit ChangeScope(TRichEdit* e) : e_(e) {
        e_->beginChange();
        if (e_->inChange_++ == 0) {
            e_->changeFrom_ = e_->changeTo_ = -1;
            e_->settle_ = true;
        }
    }
    ~ChangeScope() {
        if (--e_->inChange_ == 0)
            e_->settlePieces();
    }
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

private:
    TRichEdit* e_;
};

// Loading replaces the document without counting as a change or leaving undo steps.
class LoadScope {
public:
    explicit LoadScope(TRichEdit* e) : e_(e) {
        ++e_->loading_;
        e_->document()->setUndoRedoEnabled(false);
        e_->document()->clear(); // drops the pictures of the previous document as well
        // No caret while the text goes in: one carried to the end would be laid out there
        // when it is put back at the start, and that lays out the whole document at once.
        e_->setTextCursor(QTextCursor());
    }
    ~LoadScope() {
        e_->document()->setUndoRedoEnabled(true);
        e_->document()->setModified(false);
        e_->setTextCursor(QTextCursor(e_->document()));
        e_->modified_ = false;
        --e_->loading_;
        // A new document is no move of the user's: the caret is only put back at the start.
        const QTextCursor c = e_->textCursor();
        e_->lastAnchor_ = c.anchor();
        e_->lastPosition_ = c.position();
        emit e_->loaded();
    }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

private:
    TRichEdit* e_;
};

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    document()->setUndoRedoEnabled(true); // the document keeps every step, well over 100
    highlighter_ = new LinkHighlighter(document());
    bar_ = new SelectionBar(this);
    setViewportMargins(kSelectionMargin, 0, 0, 0);
    viewport()->setMouseTracking(true);
    background_ = charattr::colorRef(palette().color(QPalette::Base));
    connect(document(), &QTextDocument::contentsChange, this, &TRichEdit::onContentsChange);
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { notifySelection(); });
    connect(this, &QTextEdit::selectionChanged, this, [this] { notifySelection(); });
}

TRichEdit::~TRichEdit() = default;

TRichEdit::Loaded TRichEdit::setText(const QString& text) {
    LoadScope load(this);
    if (rtf::looksLikeRtf(text) && rtf::read(text, *document()))
        return Loaded::Rtf;
    // Binary content is no text to show.
    if (text.contains(QChar::Null)) {
        document()->setPlainText(QString::fromLatin1(kLoadFailedText));
        return Loaded::Failed;
    }
    rtf::setPlainText(*document(), text);
    return Loaded::PlainText;
}

bool TRichEdit::loadRtf(const QString& rtf) {
    LoadScope load(this);
    return rtf::read(rtf, *document());
}

QString TRichEdit::toRtf() const {
    return rtf::writeString(*document());
}

QString TRichEdit::text() const {
    return rtf::plainText(*document());
}

QStringList TRichEdit::lines() const {
    const QString all = text();
    if (all.isEmpty())
        return {};
    return all.split(QStringLiteral("\r\n"));
}

QTextCharFormat TRichEdit::selectionFormat() const {
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return c.charFormat();
    // The first selected character speaks for the selection.
    QTextCursor first(document());
    first.setPosition(c.selectionStart() + 1);
    return first.charFormat();
}

template <typename F> void TRichEdit::applyCharFormat(F&& change) {
    ChangeScope scope(this);
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        QTextCharFormat f = c.charFormat();
        change(f);
        setCurrentCharFormat(f);
        modified_ = true;
        return;
    }
    // Each run keeps its other attributes: only the one attribute is rewritten.
    struct Run {
        int from, to;
        QTextCharFormat format;
    };
    std::vector<Run> runs;
    const int start = c.selectionStart(), end = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            const int from = std::max(fr.position(), start);
            const int to = std::min(fr.position() + fr.length(), end);
            if (from >= to)
                continue;
            QTextCharFormat f = fr.charFormat();
            change(f);
            runs.push_back({from, to, f});
        }
    }
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (const Run& r : runs) {
        edit.setPosition(r.from);
        edit.setPosition(r.to, QTextCursor::KeepAnchor);
        edit.setCharFormat(r.format);
    }
    edit.endEditBlock();
    modified_ = true;
}

QString TRichEdit::faceName() const {
    return charattr::faceName(selectionFormat(), *document());
}
void TRichEdit::setFaceName(const QString& name) {
    applyCharFormat([&](QTextCharFormat& f) { charattr::setFaceName(f, name); });
}
int TRichEdit::sizeTwips() const {
    return charattr::sizeTwips(selectionFormat(), *document());
}
void TRichEdit::setSizeTwips(int twips) {
    applyCharFormat([&](QTextCharFormat& f) { charattr::setSizeTwips(f, twips); });
}
int TRichEdit::size() const {
    return sizeTwips() / 20;
}
void TRichEdit::setSize(int points) {
    const qint64 twips = qint64(points) * 20;
    setSizeTwips(int(std::clamp<qint64>(twips, 0, charattr::kMaxTwips)));
}
int TRichEdit::style() const {
    return charattr::style(selectionFormat());
}
void TRichEdit::setStyle(int bits) {
    applyCharFormat([&](QTextCharFormat& f) { charattr::setStyle(f, bits); });
}
quint32 TRichEdit::textColor() const {
    return charattr::textColor(selectionFormat());
}
void TRichEdit::setTextColor(quint32 value) {
    applyCharFormat([&](QTextCharFormat& f) { charattr::setTextColor(f, value); });
}
quint32 TRichEdit::backColor() const {
    return charattr::backColor(selectionFormat());
}
void TRichEdit::setBackColor(quint32 value) {
    applyCharFormat([&](QTextCharFormat& f) { charattr::setBackColor(f, value); });
}
int TRichEdit::charset() const {
    return charattr::charset(selectionFormat());
}
void TRichEdit::setCharset(int charset) {
    applyCharFormat([&](QTextCharFormat& f) { charattr::setCharset(f, charset); });
}

int TRichEdit::paraAlignment() const {
    QTextCursor at(document());
    at.setPosition(textCursor().selectionStart());
    const Qt::Alignment a = at.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        return 3;
    if (a & Qt::AlignHCenter)
        return 2;
    if ((a & Qt::AlignRight) || ((a & Qt::AlignTrailing) && !isRightToLeft()))
        return 1;
    return 0;
}

void TRichEdit::setParaAlignment(int alignment) {
    static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter,
                                               Qt::AlignJustify};
    if (alignment < 0 || alignment > 3)
        return;
    ChangeScope scope(this);
    QTextBlockFormat f;
    f.setAlignment(kAlign[alignment]);
    QTextCursor c = textCursor();
    c.mergeBlockFormat(f);
    modified_ = true;
}

void TRichEdit::setBackgroundColor(quint32 bgr) {
    background_ = bgr & 0x00FFFFFF;
    QPalette p = palette();
    p.setColor(QPalette::Base, charattr::fromColorRef(background_));
    setPalette(p);
}

void TRichEdit::cut() {
    if (isReadOnly() || !textCursor().hasSelection())
        return;
    ChangeScope scope(this);
    QTextEdit::cut();
}

void TRichEdit::paste() {
    if (isReadOnly())
        return;
    ChangeScope scope(this);
    QTextEdit::paste();
}

void TRichEdit::onContentsChange(int from, int removed, int added) {
    if (loading_ || (removed == 0 && added == 0))
        return;
    modified_ = true;
    if (inChange_ == 0) {
        changedUnannounced();
        return;
    }
    if (added > 0) {
        changeFrom_ = changeFrom_ < 0 ? from : std::min(changeFrom_, from);
        changeTo_ = std::max(changeTo_, from + added);
    }
}

void TRichEdit::settlePieces() {
    if (!settle_ || changeFrom_ < 0)
        return;
    // A paragraph mark typed into a piece of a long paragraph gives the new block the piece's
    // format, continuation mark included: the user's paragraph would be joined on writing.
    QTextCursor fix(document());
    bool joined = false;
    for (QTextBlock b = document()->findBlock(changeFrom_).next();
         b.isValid() && b.position() <= changeTo_; b = b.next()) {
        if (!rtf::continuesParagraph(b))
            continue;
        QTextBlockFormat f = b.blockFormat();
        f.clearProperty(rtf::kContinuesProperty);
        fix.setPosition(b.position());
        if (!joined) {
            fix.joinPreviousEditBlock(); // one undo step with the typing
            joined = true;
        }
        fix.setBlockFormat(f);
    }
    if (joined)
        fix.endEditBlock();
}

void TRichEdit::notifySelection() {
    if (loading_)
        return;
    const QTextCursor c = textCursor();
    if (c.anchor() == lastAnchor_ && c.position() == lastPosition_)
        return;
    lastAnchor_ = c.anchor();
    lastPosition_ = c.position();
    emit selectionChange();
}

namespace {

bool isEditingKey(QKeyEvent* e) {
    static constexpr QKeySequence::StandardKey kEditing[] = {QKeySequence::Cut,
                                                             QKeySequence::Paste,
                                                             QKeySequence::Undo,
                                                             QKeySequence::Redo,
                                                             QKeySequence::Delete,
                                                             QKeySequence::DeleteStartOfWord,
                                                             QKeySequence::DeleteEndOfWord,
                                                             QKeySequence::DeleteEndOfLine,
                                                             QKeySequence::DeleteCompleteLine,
                                                             QKeySequence::InsertParagraphSeparator,
                                                             QKeySequence::InsertLineSeparator,
                                                             QKeySequence::Backspace};
    for (auto k : kEditing)
        if (e->matches(k))
            return true;
    switch (e->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        break;
    }
    const QString t = e->text();
    return !t.isEmpty() && (t.at(0).isPrint() || t.at(0).isSurrogate());
}

} // namespace

void TRichEdit::keyPressEvent(QKeyEvent* e) {
    if (isReadOnly() || !isEditingKey(e)) {
        QTextEdit::keyPressEvent(e);
        return;
    }
    ChangeScope scope(this);
    if (e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo))
        settle_ = false; // the document restores the formats it had
    QTextEdit::keyPressEvent(e);
}

void TRichEdit::inputMethodEvent(QInputMethodEvent* e) {
    if (isReadOnly() || (e->commitString().isEmpty() && e->preeditString().isEmpty())) {
        QTextEdit::inputMethodEvent(e);
        return;
    }
    ChangeScope scope(this);
    QTextEdit::inputMethodEvent(e);
}

bool TRichEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source && richmime::canInsert(*source);
}

void TRichEdit::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || !source || !richmime::canInsert(*source))
        return;
    ChangeScope scope(this);
    settle_ = false; // what is pasted brings its own paragraph formats, pieces included
    QTextCursor c = textCursor();
    c.beginEditBlock();
    richmime::insert(c, *source);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

QMimeData* TRichEdit::createMimeDataFromSelection() const {
    return richmime::fromSelection(*document(), textCursor());
}

std::optional<TRichEdit::Link> TRichEdit::linkAt(const QPoint& viewportPos) const {
    const QPointF at(viewportPos.x() + horizontalScrollBar()->value(),
                     viewportPos.y() + verticalScrollBar()->value());
    const int hit = document()->documentLayout()->hitTest(at, Qt::ExactHit);
    if (hit < 0)
        return std::nullopt;
    const QTextBlock block = document()->findBlock(hit);
    const QTextLayout* layout = block.layout();
    if (!layout)
        return std::nullopt;
    const QPointF inBlock = at - document()->documentLayout()->blockBoundingRect(block).topLeft();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (inBlock.y() < line.y() || inBlock.y() >= line.y() + line.height())
            continue;
        if (!line.naturalTextRect().contains(inBlock))
            return std::nullopt;
        const int index = line.xToCursor(inBlock.x(), QTextLine::CursorOnCharacter);
        const QString text = block.text();
        for (const LinkSpan& l : findLinks(text))
            if (index >= l.start && index < l.start + l.length)
                return Link{block.position() + l.start, text.mid(l.start, l.length)};
        return std::nullopt;
    }
    return std::nullopt;
}

void TRichEdit::selectLineAt(int viewportY) {
    const qreal y = viewportY + verticalScrollBar()->value();
    int hit = document()->documentLayout()->hitTest(QPointF(0, y), Qt::FuzzyHit);
    if (hit < 0)
        hit = 0;
    const QTextBlock block = document()->findBlock(hit);
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return;
    const qreal inBlock = y - document()->documentLayout()->blockBoundingRect(block).top();
    int n = layout->lineCount() - 1;
    for (int i = 0; i < layout->lineCount(); ++i)
        if (inBlock < layout->lineAt(i).y() + layout->lineAt(i).height()) {
            n = i;
            break;
        }
    const QTextLine line = layout->lineAt(n);
    const int start = block.position() + line.textStart();
    int end = start + line.textLength();
    // The last line of a paragraph is selected with its paragraph mark.
    if (n == layout->lineCount() - 1)
        end = block.next().isValid() ? block.next().position()
                                     : block.position() + block.length() - 1;
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TRichEdit::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    emit mouseDown(e->button(), e->modifiers(), viewport()->mapTo(this, p));
    if (auto link = linkAt(p))
        pressed_ = Press{*link, e->button()};
    else
        pressed_.reset();
    QTextEdit::mousePressEvent(e);
}

void TRichEdit::mouseReleaseEvent(QMouseEvent* e) {
    QTextEdit::mouseReleaseEvent(e);
    if (!pressed_ || pressed_->button != e->button())
        return;
    const Press press = *pressed_;
    pressed_.reset();
    // A click is a press and a release of the same button on the same link.
    if (linkAt(e->position().toPoint()) == press.link)
        emit urlClicked(press.link.text, press.button);
}

void TRichEdit::mouseMoveEvent(QMouseEvent* e) {
    QTextEdit::mouseMoveEvent(e);
    // The hand over a link, whatever cursor the control shows elsewhere.
    const bool over = e->buttons() == Qt::NoButton && linkAt(e->position().toPoint()).has_value();
    if (over == overLink_)
        return;
    if (over) {
        normalCursor_ = viewport()->cursor();
        viewport()->setCursor(Qt::PointingHandCursor);
    } else {
        viewport()->setCursor(normalCursor_);
    }
    overLink_ = over;
}

void TRichEdit::mouseDoubleClickEvent(QMouseEvent* e) {
    QTextEdit::mouseDoubleClickEvent(e);
    emit dblClick();
}

void TRichEdit::focusInEvent(QFocusEvent* e) {
    QTextEdit::focusInEvent(e);
    showSelection_ = true;
    viewport()->update();
    emit entered();
}

void TRichEdit::focusOutEvent(QFocusEvent* e) {
    QTextEdit::focusOutEvent(e);
    // A context menu leaves the selection in sight, as it leaves the focus where it was.
    if (e->reason() != Qt::PopupFocusReason) {
        showSelection_ = false;
        viewport()->update();
    }
}

void TRichEdit::paintEvent(QPaintEvent* e) {
    if (showSelection_ || !textCursor().hasSelection()) {
        QTextEdit::paintEvent(e);
        return;
    }
    // Without the focus the selection is not drawn; everything else is.
    QPainter p(viewport());
    const int dx = isRightToLeft()
                       ? horizontalScrollBar()->maximum() - horizontalScrollBar()->value()
                       : horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    p.translate(-dx, -dy);
    const QRect clip = e->rect().translated(dx, dy);
    p.setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette = palette();
    ctx.clip = clip;
    ctx.cursorPosition = -1;
    for (const ExtraSelection& s : extraSelections())
        ctx.selections.append({s.cursor, s.format});
    document()->documentLayout()->draw(&p, ctx);
}

void TRichEdit::placeSelectionBar() {
    const QRect v = viewport()->geometry();
    bar_->setGeometry(v.left() - kSelectionMargin, v.top(), kSelectionMargin, v.height());
}

void TRichEdit::resizeEvent(QResizeEvent* e) {
    QTextEdit::resizeEvent(e);
    placeSelectionBar();
}

void TRichEdit::contextMenuEvent(QContextMenuEvent* e) {
    // No built-in menu: the owner opens its own on the press it is told of.
    e->accept();
}

} // namespace brimble
