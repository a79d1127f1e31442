#pragma once

#include "rtf/picture.h"
#include "rtf/tokenizer.h"

#include <QColor>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QTextDocument;

namespace brimble::rtf {

// Builds a QTextDocument from RTF. One instance reads one document.
class Reader {
public:
    // Groups nested deeper than this are passed over whole.
    static constexpr size_t kMaxDepth = 1000;

    explicit Reader(QTextDocument& document);
    void read(std::string_view rtf);

private:
    enum class Dest : uint8_t { Text, Skip, FontTable, ColorTable, Pict, FieldInst };

    struct CharState {
        int font = -1; // -1: the document's default font
        int size = 0;  // half-points; 0: the document's default size
        int fg = 0, bg = 0;
        int link = -1;
        bool bold = false, italic = false, underline = false, strike = false, hidden = false;
        uint8_t vpos = 0; // 1 superscript, 2 subscript
        bool operator==(const CharState&) const = default;
    };
    struct ParaState {
        uint8_t align = 0; // 0 left, 1 right, 2 centre, 3 justified
        bool slmult = false;
        int li = 0, ri = 0, fi = 0, sb = 0, sa = 0, sl = 0; // twips
        bool operator==(const ParaState&) const = default;
    };
    struct State {
        CharState ch;
        ParaState para;
        Dest dest = Dest::Text;
        int uc = 1;
        int field = -1;
        bool pictOwner = false, altGroup = false;
    };
    struct Font {
        QString name;
        std::string nameBytes;
        int charset = -1; // none given: the document's code page
        int codePage = 0;
    };
    struct Field {
        QString instruction;
        int link = -2; // index into links_ once the result starts; -1: no link; -2: not yet known
    };

    void word(const Tokenizer::Token& t, bool starred);
    void textWord(std::string_view name, bool hasParam, int param);
    void symbol(char c);
    void text(std::string_view bytes);
    void hexByte(unsigned char b);
    void unicode(int value);
    void openGroup();
    void closeGroup();

    void addBytes(std::string_view bytes);
    void addChar(char16_t c);
    void ensureRun();
    void decodeBytes();
    void flushRun();
    void endParagraph();
    void startBlock();
    void applyBlockFormat();
    void insertPicture();
    void finishFontEntry();
    void startFieldResult();

    int codePageOf(const CharState& ch) const;
    int fontCodePage(const Font& f) const;
    const QTextCharFormat& charFormat(const CharState& ch);
    QTextBlockFormat blockFormat(const ParaState& p) const;

    QTextDocument& doc_;
    QTextCursor cursor_;
    State cur_;
    std::vector<State> stack_;
    size_t overflow_ = 0; // depth inside groups passed over for being too deep
    bool done_ = false;
    bool star_ = false;
    bool groupStart_ = false; // the last token opened a group
    int skip_ = 0; // fallback characters still to pass over after \uN

    // Tables.
    std::unordered_map<int, Font> fonts_;
    int fontEntry_ = -1;
    std::vector<QColor> colors_;
    int red_ = -1, green_ = -1, blue_ = -1;
    int defaultFont_ = 0;
    int docCodePage_ = 1252;

    // The text run being gathered: bytes not yet decoded, then characters, in one format.
    std::string bytes_;
    QString run_;
    CharState runState_;
    bool runSurrogates_ = false;
    bool pendingBlock_ = false; // a paragraph mark was read; the next content starts a block
    bool cellTab_ = false;      // a table cell ended; the next content in the row gets a tab
    bool altTaken_ = false;     // a picture alternative was taken; its sibling is passed over

    PictureData picture_;
    FrameBudget frames_;
    std::vector<Field> fields_;
    std::vector<QString> links_;

    struct CharStateHash {
        size_t operator()(const CharState& c) const;
    };
    std::unordered_map<CharState, QTextCharFormat, CharStateHash> formats_;
    ParaState blockPara_;          // the paragraph properties the current block has
    bool blockHasContent_ = false; // text or a picture went into the current block
};

} // namespace brimble::rtf
