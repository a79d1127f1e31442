#pragma once

#include "rtf/controlwords.h"
#include "rtf/picture.h"
#include "rtf/tokenizer.h"

#include <QColor>
#include <QString>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <array>
#include <optional>
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
    enum class Dest : uint8_t {
        Text, Skip, FontTable, ColorTable, Pict, FieldInst, ListTable, ListOverrides, LevelText,
        PnDef, PnText
    };

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
        int ls = 0;   // the list override numbering the paragraph; 0: none
        int ilvl = 0; // its level there, 0..8
        int pn = -1;  // index into pns_ of the paragraph's \pn numbering; -1: none
        bool operator==(const ParaState&) const = default;
    };
    struct State {
        CharState ch;
        ParaState para;
        Dest dest = Dest::Text;
        int uc = 1;
        int field = -1;
        bool pictOwner = false, altGroup = false;
        bool levelOwner = false, pnOwner = false; // the group of a \listlevel, of a \pn
        bool listText = false; // in \listtext or \pntext: the paragraph's own label
        bool upr = false;      // a \upr group: of its two groups only the \ud one is read
        bool uprChild = false; // a group of a \upr group, passed over unless it is \ud
    };
    struct Font {
        QString name;
        std::string nameBytes;
        int charset = -1; // none given: the document's code page
        int codePage = 0;
    };
    // A list level of the list table. The label text holds level numbers as the characters
    // 0 to 8; its first character is its length.
    struct ListLevel {
        std::vector<int> raw; // \leveltext as read: bytes b as -1 - b, \uN characters as N
        QString text;
        int style = 0, start = 1, font = -1;
        int follow = 0; // after the label: 0 a tab, 1 a space, 2 nothing
        bool noRestart = false, legal = false;
    };
    struct ListDef {
        int id = 0;
        std::vector<ListLevel> levels;
    };
    // A \lsN entry: a list with its own counts and the start values it overrides.
    struct ListOverride {
        int listId = 0, ls = 0;
        int lfoLevels = 0;
        bool startOverride = false; // the current \lfolevel restarts its level
        std::array<int, 9> startAt{-1, -1, -1, -1, -1, -1, -1, -1, -1};
        std::array<int, 9> count{};
        std::array<bool, 9> started{};
    };
    // Numbering of the \pn kind, carried by each paragraph.
    struct PnDef {
        int level = kPnBody; // 1..9, or kPnBody, kPnBullet, kPnContinue
        int style = 0, start = 1, font = -1;
        std::vector<int> rawBefore, rawAfter; // as ListLevel::raw
        QString before, after;
        bool sameNumbering(const PnDef& o) const {
            return level == o.level && style == o.style && start == o.start && before == o.before &&
                   after == o.after;
        }
    };
    struct Field {
        QString instruction;
        int link = -2; // index into links_ once the result starts; -1: no link; -2: not yet known
    };

    void word(const Tokenizer::Token& t, bool starred);
    void acceptUd(const Tokenizer::Token& t);
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
    void continueParagraph();
    void applyBlockFormat();
    void insertPicture();
    void finishFontEntry();
    void startFieldResult();

    // Lists and footnote marks.
    void listTableWord(W id, bool hasParam, int param);
    void listOverrideWord(W id, int param);
    void pnWord(const WordEntry& entry, int param);
    void addRaw(int item);
    void finishLevel();
    int finishPn();
    QString decodeLabel(const std::vector<int>& raw, int font) const;
    void numberParagraph();
    std::optional<QString> listLabel(const ParaState& p);
    ListLevel* openLevel();
    QString pnLabel(const ParaState& p);
    void insertLabel(const QString& label);

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

    // Lists: the tables, the \pn numberings met, and the paragraph being numbered.
    std::vector<ListDef> lists_;
    std::vector<ListOverride> overrides_;
    std::unordered_map<int, size_t> overrideOfLs_, listOfId_;
    int listEntry_ = -1, levelEntry_ = -1, overrideEntry_ = -1; // being read; -1: none
    std::vector<PnDef> pns_;
    PnDef pn_;                       // the \pn group being read
    bool pnAfter_ = false;           // its text group is \pntxta
    // By \pn level: 0 the body level, 1..9 the outline levels.
    std::array<int, 10> pnCount_{};
    std::array<bool, 10> pnStarted_{};
    std::array<size_t, 10> pnPrevDef_{}; // the numbering each level was last counted in
    bool pnPrevPara_ = false;        // the paragraph before was numbered by \pn
    bool pnThisPara_ = false;
    bool numbered_ = false;          // the current paragraph was given its place in its list
    bool labelGiven_ = false;        // its \listtext or \pntext put text in
    int footnotes_ = 0, footnoteStart_ = 1, footnoteStyle_ = 0;

    struct CharStateHash {
        size_t operator()(const CharState& c) const;
    };
    std::unordered_map<CharState, QTextCharFormat, CharStateHash> formats_;
    ParaState blockPara_;          // the paragraph properties the current block has
    bool blockHasContent_ = false; // text or a picture went into the current block
    qsizetype blockChars_ = 0;     // characters in the current block
    QTextBlock firstPiece_;        // of the current paragraph, once it is held in pieces
};

} // namespace brimble::rtf
