#pragma once

#include <QCursor>
#include <QString>
#include <QStringList>
#include <QTextEdit>
#include <optional>

class QMimeData;

namespace brimble {

class LinkHighlighter;
class SelectionBar;

// The rich text control behind every memo body: the main editor, the history viewer and the
// pop-up views. A QTextEdit in rich-text mode with word wrap, scroll bars only when needed, a
// selection margin, link detection and character attributes in the units the program uses
// (sizes in twentieths of a point, colours as 0x00BBGGRR with the automatic stand-ins).
class TRichEdit : public QTextEdit {
    Q_OBJECT
public:
    enum class Loaded { Rtf, PlainText, Failed };
    static constexpr const char* kLoadFailedText = "(Failed to Load Stream)";
    static constexpr int kSelectionMargin = 8; // pixels left of the text

    explicit TRichEdit(QWidget* parent = nullptr);
    ~TRichEdit() override;

    // The whole document from one string: RTF shows formatted, any other text as plain text;
    // a text that cannot be shown at all (binary content) shows the load-failure text.
    Loaded setText(const QString& text);
    // Loads an RTF document; false (and an empty document) when the text is not RTF.
    bool loadRtf(const QString& rtf);
    // The whole document as RTF, pictures included.
    QString toRtf() const;

    // Plain text with lines joined by CR LF, and the same lines one by one.
    QString text() const;
    QStringList lines() const;

    // Attributes of the selection (for an empty selection, of the text about to be typed).
    QString faceName() const;
    void setFaceName(const QString& name);
    int sizeTwips() const;
    void setSizeTwips(int twips);
    int size() const; // whole points, rounded toward zero
    void setSize(int points);
    int style() const; // bold 1, italic 2, underline 4, strike-out 8
    void setStyle(int bits);
    quint32 textColor() const; // 0xFF000008 when automatic
    void setTextColor(quint32 value);
    quint32 backColor() const; // 0xFF000005 when the text has no background
    void setBackColor(quint32 value);
    int charset() const;
    void setCharset(int charset);

    // Alignment of the paragraph at the selection: 0 left, 1 right, 2 centre, 3 justified.
    int paraAlignment() const;
    // Sets it on every paragraph the selection touches; other values are ignored.
    void setParaAlignment(int alignment);

    // One colour for the whole control, not part of the document.
    quint32 backgroundColor() const { return background_; }
    void setBackgroundColor(quint32 bgr);

    // Clipboard commands. Cut and paste are changes and refused in read-only mode.
    void cut();
    void paste();

    // Whether the document was changed through the control since it was last loaded.
    bool modified() const { return modified_; }
    void setModified(bool on) { modified_ = on; }

    struct Link {
        int position = 0; // document position of its first character
        QString text;
        bool operator==(const Link&) const = default;
    };
    // The link under a point of the viewport, if any.
    std::optional<Link> linkAt(const QPoint& viewportPos) const;
    // Selects the display line at a height of the viewport (the selection margin's click).
    void selectLineAt(int viewportY);

signals:
    // The user moved the caret or changed the selection.
    void selectionChange();
    // A document was loaded in place of the last one (the caret is back at its start).
    void loaded();
    void urlClicked(const QString& text, Qt::MouseButton button);
    // Position in the control's own coordinates; sent while the press is being handled.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    void dblClick();
    void entered();

protected:
    // Called before any change reaches the document; may throw to refuse the change.
    virtual void beginChange() {}
    // Called when a change reached the document without passing through the control's own
    // entry points (a path the control does not intercept); must not throw.
    virtual void changedUnannounced() {}

    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    friend class ChangeScope;
    friend class LoadScope;
    QTextCharFormat selectionFormat() const;
    template <typename F> void applyCharFormat(F&& change);
    void onContentsChange(int from, int removed, int added);
    void settlePieces();
    void notifySelection();
    void placeSelectionBar();

    LinkHighlighter* highlighter_ = nullptr;
    SelectionBar* bar_ = nullptr;
    quint32 background_ = 0x00FFFFFF;
    bool modified_ = false;
    bool showSelection_ = false;
    bool overLink_ = false;
    QCursor normalCursor_;
    int loading_ = 0;
    int inChange_ = 0;
    // Where the change in progress put text, and whether paragraph marks it typed may have
    // carried a piece's continuation mark along (not so for undo, redo or a paste).
    int changeFrom_ = -1, changeTo_ = -1;
    bool settle_ = false;
    int lastAnchor_ = -1, lastPosition_ = -1;
    struct Press {
        Link link;
        Qt::MouseButton button;
    };
    std::optional<Press> pressed_;
};

} // namespace brimble
