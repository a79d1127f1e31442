// The reader's tables and the Qt formats it makes from its character and paragraph states.
#include "rtf/reader.h"

#include "rtf/codepage.h"
#include "rtf/rtf.h"

#include <algorithm>
#include <cmath>

namespace brimble::rtf {

void Reader::finishFontEntry() {
    if (fontEntry_ < 0)
        return;
    Font& f = fonts_[fontEntry_];
    appendDecoded(f.name, f.nameBytes, fontCodePage(f));
    f.nameBytes.clear();
    f.name.removeIf([](QChar c) { return c.unicode() < 0x20; });
    f.name = f.name.trimmed();
    fontEntry_ = -1;
    formats_.clear(); // formats made before name the font as it was
}

int Reader::fontCodePage(const Font& f) const {
    if (f.codePage > 0)
        return f.codePage;
    const int cp = f.charset < 0 ? 0 : codePageOfCharset(f.charset);
    return cp ? cp : docCodePage_;
}

int Reader::codePageOf(const CharState& ch) const {
    const auto it = fonts_.find(ch.font >= 0 ? ch.font : defaultFont_);
    return it == fonts_.end() ? docCodePage_ : fontCodePage(it->second);
}

size_t Reader::CharStateHash::operator()(const CharState& c) const {
    size_t h = size_t(c.font) * 0x9E3779B97F4A7C15ull;
    for (int v : {c.size, c.fg, c.bg, c.link,
                  int(c.bold) | int(c.italic) << 1 | int(c.underline) << 2 | int(c.strike) << 3 |
                      int(c.hidden) << 4 | int(c.vpos) << 5})
        h = (h ^ size_t(v)) * 0x100000001B3ull;
    return h;
}

const QTextCharFormat& Reader::charFormat(const CharState& ch) {
    const auto cached = formats_.find(ch);
    if (cached != formats_.end())
        return cached->second;
    if (formats_.size() > 4096)
        formats_.clear(); // a document of endless distinct formats gets no cache
    QTextCharFormat f;
    const auto font = fonts_.find(ch.font >= 0 ? ch.font : defaultFont_);
    if (font != fonts_.end()) {
        if (!font->second.name.isEmpty())
            f.setFontFamilies(QStringList{font->second.name});
        if (font->second.charset > 0)
            f.setProperty(kCharsetProperty, font->second.charset);
    }
    if (ch.size > 0)
        f.setFontPointSize(ch.size / 2.0);
    if (ch.bold)
        f.setFontWeight(QFont::Bold);
    if (ch.italic)
        f.setFontItalic(true);
    if (ch.underline)
        f.setFontUnderline(true);
    if (ch.strike)
        f.setFontStrikeOut(true);
    if (ch.fg > 0 && size_t(ch.fg) < colors_.size() && colors_[size_t(ch.fg)].isValid())
        f.setForeground(colors_[size_t(ch.fg)]);
    if (ch.bg > 0 && size_t(ch.bg) < colors_.size() && colors_[size_t(ch.bg)].isValid())
        f.setBackground(colors_[size_t(ch.bg)]);
    if (ch.vpos)
        f.setVerticalAlignment(ch.vpos == 1 ? QTextCharFormat::AlignSuperScript
                                            : QTextCharFormat::AlignSubScript);
    if (ch.link >= 0) {
        f.setAnchor(true);
        f.setAnchorHref(links_[size_t(ch.link)]);
    }
    return formats_.emplace(ch, std::move(f)).first->second;
}

QTextBlockFormat Reader::blockFormat(const ParaState& p) const {
    QTextBlockFormat b;
    static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter,
                                               Qt::AlignJustify};
    if (p.align)
        b.setAlignment(kAlign[p.align]);
    if (p.li)
        b.setLeftMargin(p.li / 15.0);
    if (p.ri)
        b.setRightMargin(p.ri / 15.0);
    if (p.fi)
        b.setTextIndent(p.fi / 15.0);
    if (p.sb)
        b.setTopMargin(p.sb / 15.0);
    if (p.sa)
        b.setBottomMargin(p.sa / 15.0);
    if (p.sl && p.slmult)
        b.setLineHeight(std::abs(p.sl) * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (p.sl > 0)
        b.setLineHeight(p.sl / 15.0, QTextBlockFormat::MinimumHeight);
    else if (p.sl < 0)
        b.setLineHeight(-p.sl / 15.0, QTextBlockFormat::FixedHeight);
    return b;
}

} // namespace brimble::rtf
