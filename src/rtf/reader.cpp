#include "rtf/reader.h"

#include "rtf/codepage.h"
#include "rtf/controlwords.h"
#include "rtf/fields.h"
#include "rtf/numbering.h"
#include "rtf/rtf.h"

#include <QAtomicInteger>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <array>

namespace brimble::rtf {

namespace {

int clampTwips(int v) { return std::clamp(v, -31680, 31680); }

QString newPictureName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("rtf-picture:%1").arg(++counter);
}

// Qt's own structure characters and lone surrogates must not enter the document's text.
bool acceptable(char16_t c) {
    return (c >= 0x20 || c == '\t') && c != 0x2029 && c != 0xFFFC && c != 0xFDD0 && c != 0xFDD1;
}

void fixSurrogates(QString& s) {
    QChar* d = s.data();
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (d[i].isHighSurrogate() && i + 1 < n && d[i + 1].isLowSurrogate())
            ++i;
        else if (d[i].isSurrogate())
            d[i] = QChar(0xFFFD);
    }
}

} // namespace

Reader::Reader(QTextDocument& document) : doc_(document), cursor_(&document) {
    stack_.reserve(64);
    bytes_.reserve(4096);
}

void Reader::read(std::string_view rtf) {
    Tokenizer tok(rtf);
    // Up to the opening brace of the document.
    for (;;) {
        const auto t = tok.next();
        if (t.kind == Tokenizer::Kind::End)
            return;
        if (t.kind == Tokenizer::Kind::Open)
            break;
    }
    cursor_.beginEditBlock();
    while (!done_) {
        const Tokenizer::Token t = tok.next();
        using K = Tokenizer::Kind;
        if (t.kind == K::End)
            break;
        if (overflow_ > 0) {
            if (t.kind == K::Open)
                ++overflow_;
            else if (t.kind == K::Close)
                --overflow_;
            continue;
        }
        const bool starred = star_;
        star_ = false;
        const bool groupStart = groupStart_;
        groupStart_ = t.kind == K::Open;
        if (skip_ > 0 && t.kind != K::Open && t.kind != K::Close) {
            if (t.kind == K::Text && t.text.size() > size_t(skip_)) {
                const auto rest = t.text.substr(size_t(skip_));
                skip_ = 0;
                text(rest);
            } else {
                skip_ -= t.kind == K::Text ? int(t.text.size()) : 1;
            }
            continue;
        }
        switch (t.kind) {
        case K::Open: openGroup(); break;
        case K::Close: closeGroup(); break;
        case K::Word: word(t, starred); break;
        case K::Symbol:
            if (t.symbol == '*')
                star_ = groupStart; // only "{\*" marks a destination
            else
                symbol(t.symbol);
            break;
        case K::Hex: hexByte(t.hex); break;
        case K::Text: text(t.text); break;
        case K::Binary:
            if (cur_.dest == Dest::Pict)
                picture_.bytes.append(t.text.data(), qsizetype(t.text.size()));
            break;
        case K::End: break;
        }
    }
    // Missing closing braces: what is open ends here.
    while (!done_)
        closeGroup();
    flushRun();
    if (!pendingBlock_)
        applyBlockFormat();
    cursor_.endEditBlock();
}

void Reader::openGroup() {
    skip_ = 0;
    if (stack_.size() + 2 > kMaxDepth) { // the document's own group is the first level
        overflow_ = 1;
        return;
    }
    stack_.push_back(cur_);
    cur_.pictOwner = false;
    cur_.altGroup = false;
    cur_.levelOwner = false;
    cur_.pnOwner = false;
    cur_.uprChild = cur_.upr;
    cur_.upr = false;
    if (cur_.uprChild)
        cur_.dest = Dest::Skip; // until it shows itself to be the \ud group
}

void Reader::closeGroup() {
    skip_ = 0;
    if (cur_.dest == Dest::FontTable)
        finishFontEntry();
    if (cur_.pictOwner)
        insertPicture();
    if (cur_.levelOwner)
        finishLevel();
    const bool alt = cur_.altGroup;
    const bool pn = cur_.pnOwner;
    if (stack_.empty()) {
        done_ = true; // the document's own group is closed: what follows is not RTF
        return;
    }
    cur_ = stack_.back();
    stack_.pop_back();
    if (pn)
        cur_.para.pn = finishPn(); // the numbering belongs to the paragraph, not to its group
    if (fontEntry_ >= 0 && cur_.dest != Dest::FontTable)
        finishFontEntry(); // the table ended inside a group that was passed over
    if (alt)
        altTaken_ = true;
}

void Reader::acceptUd(const Tokenizer::Token& t) {
    cur_.uprChild = false; // only the group's first word can make it the \ud group
    if (lookupWord(t.text).id == W::Ud)
        cur_.dest = stack_.back().dest; // the \upr group's own
}

void Reader::word(const Tokenizer::Token& t, bool starred) {
    if (cur_.dest == Dest::Skip) {
        if (cur_.uprChild)
            acceptUd(t);
        return;
    }
    const WordEntry entry = lookupWord(t.text);
    const W id = entry.id;
    const int p = t.param;
    if (starred && id != W::Shppict && id != W::Fldinst &&
        !(cur_.dest == Dest::Text && (id == W::Fldrslt || id == W::Pn || id == W::ListTable ||
                                      id == W::ListOverrideTable))) {
        cur_.dest = Dest::Skip;
        return;
    }
    switch (cur_.dest) {
    case Dest::FontTable:
        if (id == W::F) {
            finishFontEntry();
            fontEntry_ = p;
            fonts_[p] = Font{};
        } else if (id == W::Fcharset && fontEntry_ >= 0) {
            fonts_[fontEntry_].charset = std::clamp(p, 0, 255);
        } else if (id == W::Cpg && fontEntry_ >= 0) {
            fonts_[fontEntry_].codePage = std::clamp(p, 0, 65535);
        } else if (id == W::U && fontEntry_ >= 0) {
            Font& f = fonts_[fontEntry_];
            appendDecoded(f.name, f.nameBytes, fontCodePage(f));
            f.nameBytes.clear();
            const int v = p < 0 ? p + 65536 : p;
            f.name.append(QChar(char16_t(v >= 0 && v <= 0xFFFF ? v : 0xFFFD)));
            skip_ = cur_.uc;
        } else if (id == W::SkipDest) {
            cur_.dest = Dest::Skip;
        } else if (id == W::Upr) {
            cur_.upr = true;
        }
        return;
    case Dest::ColorTable:
        if (id == W::Red)
            red_ = std::clamp(p, 0, 255);
        else if (id == W::Green)
            green_ = std::clamp(p, 0, 255);
        else if (id == W::Blue)
            blue_ = std::clamp(p, 0, 255);
        return;
    case Dest::Pict:
        switch (id) {
        case W::PngBlip: picture_.kind = PictureData::Kind::Png; break;
        case W::JpegBlip: picture_.kind = PictureData::Kind::Jpeg; break;
        case W::EmfBlip: picture_.kind = PictureData::Kind::Emf; break;
        case W::Wmetafile: picture_.kind = PictureData::Kind::Wmf; break;
        case W::Dibitmap: picture_.kind = PictureData::Kind::Dib; break;
        case W::Wbitmap: picture_.kind = PictureData::Kind::Wbitmap; break;
        case W::UnsupportedPict: picture_.kind = PictureData::Kind::None; break;
        case W::Picw: picture_.picw = p; break;
        case W::Pich: picture_.pich = p; break;
        case W::Picwgoal: picture_.goalw = p; break;
        case W::Pichgoal: picture_.goalh = p; break;
        case W::Picscalex: picture_.scalex = p; break;
        case W::Picscaley: picture_.scaley = p; break;
        case W::WbmBitsPixel: picture_.bitsPerPixel = p; break;
        case W::WbmWidthBytes: picture_.widthBytes = p; break;
        case W::SkipDest: cur_.dest = Dest::Skip; break;
        default: break;
        }
        return;
    case Dest::FieldInst:
        if (id == W::U) {
            const int v = p < 0 ? p + 65536 : p;
            if (cur_.field >= 0 && v > 0 && v <= 0xFFFF)
                fields_[size_t(cur_.field)].instruction.append(QChar(char16_t(v)));
            skip_ = cur_.uc;
        } else if (id == W::Fldrslt || id == W::SkipDest) {
            cur_.dest = Dest::Skip;
        }
        return;
    case Dest::ListTable: listTableWord(id, t.hasParam, p); return;
    case Dest::ListOverrides: listOverrideWord(id, p); return;
    case Dest::PnDef: pnWord(entry, p); return;
    case Dest::LevelText:
    case Dest::PnText:
        if (id == W::U) {
            const int v = p < 0 ? p + 65536 : p;
            if (v > 0 && v <= 0xFFFF)
                addRaw(v);
            skip_ = cur_.uc;
        } else if (id == W::SkipDest) {
            cur_.dest = Dest::Skip;
        }
        return;
    case Dest::Text: break;
    case Dest::Skip: return;
    }

    CharState& ch = cur_.ch;
    ParaState& para = cur_.para;
    const bool on = !t.hasParam || p != 0;
    switch (id) {
    case W::Unknown:
    case W::Rtf:
    case W::Cpg:
    case W::Fcharset:
    case W::Red:
    case W::Green:
    case W::Blue: break;
    case W::Ansi:
    case W::Mac:
    case W::Pc:
    case W::Pca:
        docCodePage_ = id == W::Ansi ? 1252 : id == W::Mac ? 10000 : id == W::Pc ? 437 : 850;
        break;
    case W::Ansicpg:
        if (p > 0 && p <= 65535)
            docCodePage_ = p;
        break;
    case W::Deff:
        defaultFont_ = p;
        formats_.clear();
        break;
    case W::Fonttbl: cur_.dest = Dest::FontTable; fontEntry_ = -1; break;
    case W::Colortbl:
        cur_.dest = Dest::ColorTable;
        colors_.clear();
        red_ = green_ = blue_ = -1;
        break;
    case W::SkipDest: cur_.dest = Dest::Skip; break;
    case W::F: ch.font = p; break;
    case W::Plain: {
        const int link = ch.link;
        ch = CharState{};
        ch.link = link;
        break;
    }
    case W::B: ch.bold = on; break;
    case W::I: ch.italic = on; break;
    case W::Ul: ch.underline = on; break;
    case W::UlNone: ch.underline = false; break;
    case W::Strike: ch.strike = on; break;
    case W::Fs: ch.size = t.hasParam && p > 0 ? std::min(p, 3276) : 24; break;
    case W::Cf: ch.fg = std::max(p, 0); break;
    case W::Cb:
    case W::Highlight: ch.bg = std::max(p, 0); break;
    case W::V: ch.hidden = on; break;
    case W::Super: ch.vpos = on ? 1 : 0; break;
    case W::Sub: ch.vpos = on ? 2 : 0; break;
    case W::NoSuperSub: ch.vpos = 0; break;
    case W::Pard: para = ParaState{}; break;
    case W::Ql: para.align = 0; break;
    case W::Qr: para.align = 1; break;
    case W::Qc: para.align = 2; break;
    case W::Qj: para.align = 3; break;
    case W::Li: para.li = clampTwips(p); break;
    case W::Ri: para.ri = clampTwips(p); break;
    case W::Fi: para.fi = clampTwips(p); break;
    case W::Sb: para.sb = std::clamp(p, 0, 31680); break;
    case W::Sa: para.sa = std::clamp(p, 0, 31680); break;
    case W::Sl: para.sl = clampTwips(p); break;
    case W::Slmult: para.slmult = on; break;
    case W::Par: endParagraph(); break;
    case W::Line: addChar(QChar::LineSeparator); break;
    case W::Tab: addChar(u'\t'); break;
    case W::Cell:
        if (cellTab_)
            ensureRun(); // an empty cell: its tab goes in now
        cellTab_ = true;
        break;
    case W::Row:
        cellTab_ = false;
        endParagraph();
        break;
    case W::Uc: cur_.uc = std::clamp(p, 0, 16); break;
    case W::U: unicode(p); break;
    case W::Pict:
        cur_.dest = Dest::Pict;
        cur_.pictOwner = true;
        picture_ = PictureData{};
        break;
    case W::Shppict:
    case W::Nonshppict:
        if (altTaken_)
            cur_.dest = Dest::Skip;
        else
            cur_.altGroup = true;
        break;
    case W::Field:
        cur_.field = int(fields_.size());
        fields_.emplace_back();
        break;
    case W::Fldinst: cur_.dest = cur_.field >= 0 ? Dest::FieldInst : Dest::Skip; break;
    case W::Fldrslt: startFieldResult(); break;
    case W::Char: addChar(entry.ch); break;
    case W::Ls: para.ls = std::max(p, 0); break;
    case W::Ilvl: para.ilvl = std::clamp(p, 0, 8); break;
    case W::ListText: cur_.listText = true; break;
    case W::Pn:
        cur_.dest = Dest::PnDef;
        cur_.pnOwner = true;
        pn_ = PnDef{};
        break;
    case W::PnTxtA:
    case W::PnTxtB: cur_.dest = Dest::Skip; break; // outside a \pn group
    case W::ListTable:
        cur_.dest = Dest::ListTable;
        listEntry_ = levelEntry_ = -1;
        break;
    case W::ListOverrideTable:
        cur_.dest = Dest::ListOverrides;
        overrideEntry_ = -1;
        break;
    case W::Chftn: {
        const int n = footnoteStart_ + footnotes_;
        footnotes_ = std::min(footnotes_ + 1, 1 << 30);
        for (const QChar c : formatNumber(n, footnoteStyle_))
            addChar(c.unicode());
        break;
    }
    case W::FtnStart: footnoteStart_ = std::clamp(p, 0, 32767); break;
    case W::FtnStyle: footnoteStyle_ = entry.ch; break;
    case W::Chpgn: addChar(u'1'); break; // a memo is one page
    case W::Upr: cur_.upr = true; break;
    default: break; // picture and list table words outside their destinations
    }
}

void Reader::startFieldResult() {
    if (cur_.field < 0)
        return;
    // The instruction is looked at once: a field may have any number of result groups.
    Field& field = fields_[size_t(cur_.field)];
    if (field.link == -2) {
        const QString target = hyperlinkTarget(field.instruction);
        field.link = target.isEmpty() ? -1 : int(links_.size());
        if (!target.isEmpty())
            links_.push_back(target);
    }
    if (field.link >= 0)
        cur_.ch.link = field.link;
}

void Reader::symbol(char c) {
    switch (cur_.dest) {
    case Dest::Text:
        switch (c) {
        case '\\':
        case '{':
        case '}': addBytes(std::string_view(&c, 1)); break;
        case '~': addChar(0x00A0); break;
        case '-': addChar(0x00AD); break;
        case '_': addChar(0x2011); break;
        case '\t': addChar(u'\t'); break;
        default: break;
        }
        return;
    case Dest::FieldInst:
        if ((c == '\\' || c == '{' || c == '}') && cur_.field >= 0)
            fields_[size_t(cur_.field)].instruction.append(QLatin1Char(c));
        return;
    case Dest::FontTable:
        if ((c == '\\' || c == '{' || c == '}') && fontEntry_ >= 0)
            fonts_[fontEntry_].nameBytes.push_back(c);
        return;
    case Dest::LevelText:
    case Dest::PnText:
        if (c == '\\' || c == '{' || c == '}')
            addRaw(-1 - static_cast<unsigned char>(c));
        return;
    default: return;
    }
}

void Reader::text(std::string_view bytes) {
    switch (cur_.dest) {
    case Dest::Text: {
        // Control characters other than the tab are no text.
        size_t start = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b >= 0x20)
                continue;
            if (i > start)
                addBytes(bytes.substr(start, i - start));
            if (b == '\t')
                addChar(u'\t');
            start = i + 1;
        }
        if (start < bytes.size())
            addBytes(bytes.substr(start));
        return;
    }
    case Dest::Pict: appendHex(picture_, bytes); return;
    case Dest::FontTable:
        for (char c : bytes) {
            if (c == ';') {
                finishFontEntry();
            } else if (fontEntry_ >= 0) {
                fonts_[fontEntry_].nameBytes.push_back(c);
            }
        }
        return;
    case Dest::ColorTable:
        for (char c : bytes) {
            if (c != ';')
                continue;
            if (red_ < 0 && green_ < 0 && blue_ < 0)
                colors_.emplace_back(); // automatic
            else
                colors_.emplace_back(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0));
            red_ = green_ = blue_ = -1;
            formats_.clear();
        }
        return;
    case Dest::FieldInst:
        if (cur_.field >= 0)
            appendDecoded(fields_[size_t(cur_.field)].instruction, bytes, docCodePage_);
        return;
    case Dest::LevelText:
    case Dest::PnText:
        for (const char c : bytes)
            addRaw(-1 - static_cast<unsigned char>(c));
        return;
    case Dest::Skip:
    case Dest::ListTable:
    case Dest::ListOverrides:
    case Dest::PnDef: return;
    }
}

void Reader::hexByte(unsigned char b) {
    const char c = static_cast<char>(b);
    switch (cur_.dest) {
    case Dest::Text:
        if (b >= 0x20)
            addBytes(std::string_view(&c, 1));
        else if (b == '\t')
            addChar(u'\t');
        return;
    case Dest::FontTable:
        if (fontEntry_ >= 0)
            fonts_[fontEntry_].nameBytes.push_back(c);
        return;
    case Dest::FieldInst:
        if (cur_.field >= 0)
            appendDecoded(fields_[size_t(cur_.field)].instruction, std::string_view(&c, 1), docCodePage_);
        return;
    case Dest::LevelText:
    case Dest::PnText: addRaw(-1 - int(b)); return;
    default: return;
    }
}

void Reader::unicode(int value) {
    skip_ = cur_.uc;
    const int v = value < 0 ? value + 65536 : value;
    if (v < 0 || v > 0xFFFF) {
        addChar(0xFFFD);
        return;
    }
    const auto c = char16_t(v);
    if (!acceptable(c))
        return;
    addChar(c);
    if (QChar::isSurrogate(c))
        runSurrogates_ = true; // after addChar, which may have ended the run before

}

void Reader::ensureRun() {
    altTaken_ = false;
    if (pendingBlock_)
        startBlock();
    if (!numbered_) {
        if (cur_.listText)
            labelGiven_ = true;
        else
            numberParagraph(); // the paragraph's first own text: its label goes before it
    }
    blockHasContent_ = true;
    if ((!bytes_.empty() || !run_.isEmpty()) && !(runState_ == cur_.ch))
        flushRun();
    if (bytes_.empty() && run_.isEmpty())
        runState_ = cur_.ch;
    if (cellTab_) {
        cellTab_ = false;
        decodeBytes();
        run_.append(u'\t');
    }
}

void Reader::addBytes(std::string_view bytes) {
    if (cur_.ch.hidden)
        return;
    ensureRun();
    bytes_.append(bytes);
}

void Reader::addChar(char16_t c) {
    if (cur_.ch.hidden)
        return;
    ensureRun();
    decodeBytes();
    run_.append(QChar(c));
}

void Reader::decodeBytes() {
    if (bytes_.empty())
        return;
    const qsizetype from = run_.size();
    const int codePage = codePageOf(runState_);
    appendDecoded(run_, bytes_, codePage);
    bytes_.clear();
    if (codePage != 1252) {
        // Some code pages (EBCDIC ones) map printable bytes to line ends and controls.
        const auto bad = std::find_if(run_.cbegin() + from, run_.cend(),
                                      [](QChar c) { return !acceptable(c.unicode()); });
        if (bad != run_.cend()) {
            const QString tail = run_.sliced(from);
            run_.truncate(from);
            for (const QChar c : tail)
                if (acceptable(c.unicode()))
                    run_.append(c);
        }
    }
}

void Reader::flushRun() {
    decodeBytes();
    if (run_.isEmpty())
        return;
    if (runSurrogates_) {
        fixSurrogates(run_);
        runSurrogates_ = false;
    }
    const QTextCharFormat& format = charFormat(runState_);
    if (blockChars_ + run_.size() <= kPieceLength) {
        cursor_.insertText(run_, format);
        blockChars_ += run_.size();
    } else {
        insertInPieces(cursor_, run_, format, blockChars_, [this] { continueParagraph(); });
    }
    run_.resize(0); // keeps the buffer for the next run
}

void Reader::startBlock() {
    flushRun();
    if (firstPiece_.isValid()) {
        cursor_.insertBlock(blockFormat(blockPara_)); // not the mark of the piece before
        firstPiece_ = QTextBlock();
    } else {
        cursor_.insertBlock(); // takes the formats of the block before
    }
    pendingBlock_ = false;
    blockHasContent_ = false;
    blockChars_ = 0;
}

void Reader::continueParagraph() {
    if (!firstPiece_.isValid())
        firstPiece_ = cursor_.block();
    QTextBlockFormat f = cursor_.blockFormat();
    f.setProperty(kContinuesProperty, true);
    cursor_.insertBlock(f); // the paragraph's own formats are given all pieces at its end
    blockChars_ = 0;
}

void Reader::applyBlockFormat() {
    if (firstPiece_.isValid()) {
        setPieceFormats(firstPiece_, cursor_.block(), blockFormat(cur_.para));
        blockPara_ = cur_.para;
        return;
    }
    if (!(cur_.para == blockPara_)) {
        cursor_.setBlockFormat(blockFormat(cur_.para));
        blockPara_ = cur_.para;
    }
}

void Reader::endParagraph() {
    cellTab_ = false;
    altTaken_ = false;
    if (pendingBlock_)
        startBlock();
    if (!numbered_)
        numberParagraph(); // an empty list paragraph is numbered too
    flushRun();
    applyBlockFormat();
    if (!blockHasContent_) // an empty paragraph is as high as its mark's font
        cursor_.setBlockCharFormat(charFormat(cur_.ch));
    pendingBlock_ = true;
    numbered_ = labelGiven_ = false;
    pnPrevPara_ = pnThisPara_;
    pnThisPara_ = false;
}

void Reader::insertLabel(const QString& label) {
    const CharState text = cur_.ch;
    cur_.ch.link = -1; // the label is no part of a link its paragraph begins with
    cur_.ch.hidden = false;
    for (const QChar c : label) {
        if (!acceptable(c.unicode()))
            continue;
        addChar(c.unicode());
        if (c.isSurrogate())
            runSurrogates_ = true;
    }
    cur_.ch = text;
}

void Reader::insertPicture() {
    Picture pic = makePicture(picture_, frames_);
    picture_ = PictureData{};
    if (pic.image.isNull() || cur_.ch.hidden)
        return;
    ensureRun();
    flushRun();
    if (blockChars_ >= kPieceLength)
        continueParagraph();
    pic.format.setName(newPictureName());
    doc_.addResource(QTextDocument::ImageResource, QUrl(pic.format.name()), pic.image);
    cursor_.insertImage(pic.format);
    ++blockChars_;
}

} // namespace brimble::rtf
