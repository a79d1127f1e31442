#include "rtf/rtf.h"

#include "rtf/codepage.h"
#include "rtf/picture.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace brimble::rtf {

namespace {

// A run's formats as written; the start values are the plain state a reader begins in, except
// font and size, which are always written.
struct RunProps {
    int font = -1, size = -1, fg = 0, bg = 0, vpos = 0;
    int bold = 0, italic = 0, underline = 0, strike = 0;
};

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(doc) {}
    QByteArray run();

private:
    void collect();
    int fontIndex(const QTextCharFormat& f);
    int colorIndex(const QBrush& b) const;
    RunProps propsOf(const QTextCharFormat& f);
    void writeProps(const RunProps& p);
    QTextBlockFormat paragraphFormat(const QTextBlock& first);
    void writeBlockProps(const QTextBlockFormat& b);
    void writeText(QStringView text, int charset);
    void word(const char* w);
    void word(const char* w, qint64 value);
    void writePlain(const QString& text, bool dropSemicolons);
    void openLink(const QString& href);
    void closeLink();

    const QTextDocument& doc_;
    QByteArray out_;
    std::map<std::pair<QString, int>, int> fonts_;
    std::vector<std::pair<QString, int>> fontList_;
    std::map<QRgb, int> colors_;
    std::vector<QRgb> colorList_;
    QString defaultFamily_;
    int defaultHalfPoints_ = 24;
    RunProps last_;
    RunProps beforeLink_;
    QString link_;
    bool inLink_ = false;
    bool delimit_ = false; // the last thing written was a control word
};

QString familyOf(const QTextCharFormat& f, const QString& fallback) {
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString single = f.stringProperty(QTextFormat::FontFamily);
    return single.isEmpty() ? fallback : single;
}

void Writer::word(const char* w) {
    out_.append(w);
    delimit_ = true;
}

void Writer::word(const char* w, qint64 value) {
    out_.append(w);
    out_.append(QByteArray::number(value));
    delimit_ = true;
}

int Writer::fontIndex(const QTextCharFormat& f) {
    const std::pair<QString, int> key(familyOf(f, defaultFamily_), std::clamp(f.intProperty(kCharsetProperty), 0, 255));
    const auto it = fonts_.find(key);
    if (it != fonts_.end())
        return it->second;
    const int index = int(fontList_.size());
    fonts_.emplace(key, index);
    fontList_.push_back(key);
    return index;
}

int Writer::colorIndex(const QBrush& b) const {
    if (b.style() == Qt::NoBrush)
        return 0;
    const auto it = colors_.find(b.color().rgb());
    return it == colors_.end() ? 0 : it->second;
}

void Writer::collect() {
    auto addColor = [&](const QBrush& b) {
        if (b.style() == Qt::NoBrush)
            return;
        const QRgb rgb = b.color().rgb();
        if (colors_.emplace(rgb, int(colorList_.size()) + 1).second)
            colorList_.push_back(rgb);
    };
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
        if (b.length() <= 1)
            fontIndex(b.charFormat());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat())
                continue;
            fontIndex(f);
            if (f.hasProperty(QTextFormat::ForegroundBrush))
                addColor(f.foreground());
            if (f.hasProperty(QTextFormat::BackgroundBrush))
                addColor(f.background());
        }
    }
}

RunProps Writer::propsOf(const QTextCharFormat& f) {
    RunProps p;
    p.font = fontIndex(f);
    const qreal pt = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 0;
    p.size = pt > 0 ? int(std::clamp<long>(std::lround(pt * 2), 1, 3276)) : defaultHalfPoints_;
    p.bold = f.fontWeight() >= QFont::DemiBold;
    p.italic = f.fontItalic();
    p.underline = f.fontUnderline();
    p.strike = f.fontStrikeOut();
    p.fg = f.hasProperty(QTextFormat::ForegroundBrush) ? colorIndex(f.foreground()) : 0;
    p.bg = f.hasProperty(QTextFormat::BackgroundBrush) ? colorIndex(f.background()) : 0;
    const auto v = f.verticalAlignment();
    p.vpos = v == QTextCharFormat::AlignSuperScript ? 1 : v == QTextCharFormat::AlignSubScript ? 2 : 0;
    return p;
}

void Writer::writeProps(const RunProps& p) {
    if (p.font != last_.font)
        word("\\f", p.font);
    if (p.size != last_.size)
        word("\\fs", p.size);
    if (p.bold != last_.bold)
        word(p.bold ? "\\b" : "\\b0");
    if (p.italic != last_.italic)
        word(p.italic ? "\\i" : "\\i0");
    if (p.underline != last_.underline)
        word(p.underline ? "\\ul" : "\\ulnone");
    if (p.strike != last_.strike)
        word(p.strike ? "\\strike" : "\\strike0");
    if (p.fg != last_.fg)
        word("\\cf", p.fg);
    if (p.bg != last_.bg)
        word("\\highlight", p.bg);
    if (p.vpos != last_.vpos)
        word(p.vpos == 1 ? "\\super" : p.vpos == 2 ? "\\sub" : "\\nosupersub");
    last_ = p;
}

QTextBlockFormat Writer::paragraphFormat(const QTextBlock& first) {
    QTextBlockFormat f = first.blockFormat();
    QTextBlock last = first;
    while (continuesParagraph(last.next()))
        last = last.next();
    if (last != first) { // a paragraph in pieces: its space after is on its last piece
        const QTextBlockFormat end = last.blockFormat();
        if (end.hasProperty(QTextFormat::BlockBottomMargin))
            f.setBottomMargin(end.bottomMargin());
        else
            f.clearProperty(QTextFormat::BlockBottomMargin);
    }
    return f;
}

void Writer::writeBlockProps(const QTextBlockFormat& b) {
    word("\\pard");
    const Qt::Alignment a = b.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        word("\\qc");
    else if (a & Qt::AlignJustify)
        word("\\qj");
    else if (a & (Qt::AlignRight | Qt::AlignTrailing))
        word("\\qr");
    auto twips = [](qreal px) { return qint64(std::llround(std::clamp<qreal>(px, -2112, 2112) * 15)); };
    if (b.leftMargin() != 0)
        word("\\li", twips(b.leftMargin()));
    if (b.rightMargin() != 0)
        word("\\ri", twips(b.rightMargin()));
    if (b.textIndent() != 0)
        word("\\fi", twips(b.textIndent()));
    if (b.topMargin() > 0)
        word("\\sb", twips(b.topMargin()));
    if (b.bottomMargin() > 0)
        word("\\sa", twips(b.bottomMargin()));
    switch (b.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (b.lineHeight() > 0 && b.lineHeight() != 100) {
            word("\\sl", std::llround(std::min<qreal>(b.lineHeight(), 10000) * 240 / 100));
            word("\\slmult1");
        }
        break;
    case QTextBlockFormat::MinimumHeight:
        if (b.lineHeight() > 0)
            word("\\sl", twips(b.lineHeight()));
        break;
    case QTextBlockFormat::FixedHeight:
        if (b.lineHeight() > 0)
            word("\\sl", -twips(b.lineHeight()));
        break;
    default: break;
    }
}

void Writer::writeText(QStringView text, int charset) {
    static constexpr char hex[] = "0123456789abcdef";
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x7F) {
            if (delimit_) {
                out_.append(' ');
                delimit_ = false;
            }
            if (c == '\\' || c == '{' || c == '}')
                out_.append('\\');
            // A run of plain characters goes in one append.
            qsizetype j = i + 1;
            while (j < n && text[j].unicode() >= 0x20 && text[j].unicode() < 0x7F &&
                   text[j] != u'\\' && text[j] != u'{' && text[j] != u'}')
                ++j;
            const qsizetype at = out_.size();
            out_.resize(at + (j - i));
            char* d = out_.data() + at;
            for (qsizetype k = i; k < j; ++k)
                *d++ = char(text[k].unicode());
            i = j - 1;
            continue;
        }
        switch (c) {
        case u'\t': word("\\tab"); continue;
        case 0x2028: word("\\line"); continue;
        case 0x00A0: out_.append("\\~"); delimit_ = false; continue;
        case 0x00AD: out_.append("\\-"); delimit_ = false; continue;
        case 0x2011: out_.append("\\_"); delimit_ = false; continue;
        case 0xFFFC: continue;
        default: break;
        }
        if (c < 0x20)
            continue;
        // Bytes of \'hh are read in the font's code page: only an ANSI font takes them.
        const int byte = charset == 0 ? cp1252Byte(c) : -1;
        if (byte >= 0x80) {
            const char esc[4] = {'\\', '\'', hex[byte >> 4], hex[byte & 15]};
            out_.append(esc, 4);
        } else {
            const int signedValue = c > 32767 ? int(c) - 65536 : int(c);
            out_.append("\\u");
            out_.append(QByteArray::number(signedValue));
            out_.append('?');
        }
        delimit_ = false;
    }
}

// Font names and field instructions take no control words: only plain characters and \uN.
void Writer::writePlain(const QString& text, bool dropSemicolons) {
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if ((c == ';' && dropSemicolons) || c < 0x20)
            continue;
        if (c > 0x20 && c < 0x7F) {
            if (c == '\\' || c == '{' || c == '}')
                out_.append('\\');
            out_.append(char(c));
        } else if (c == ' ') {
            out_.append(' ');
        } else {
            out_.append("\\u");
            out_.append(QByteArray::number(c > 32767 ? int(c) - 65536 : int(c)));
            out_.append('?');
        }
    }
}

void Writer::openLink(const QString& href) {
    beforeLink_ = last_;
    out_.append("{\\field{\\*\\fldinst{HYPERLINK \"");
    delimit_ = false;
    QString escaped;
    for (const QChar c : href) {
        if (c == u'"')
            escaped.append(u"\\\"");
        else if (c == u'\\')
            escaped.append(u"\\\\");
        else
            escaped.append(c);
    }
    writePlain(escaped, false);
    out_.append("\"}}{\\fldrslt{");
    delimit_ = false;
    link_ = href;
    inLink_ = true;
}

void Writer::closeLink() {
    if (!inLink_)
        return;
    out_.append("}}}");
    delimit_ = false;
    last_ = beforeLink_; // the group's formats end with it
    inLink_ = false;
}

QByteArray Writer::run() {
    const QFont base = doc_.defaultFont();
    defaultFamily_ = base.family();
    if (base.pointSizeF() > 0)
        defaultHalfPoints_ = int(std::clamp<long>(std::lround(base.pointSizeF() * 2), 1, 3276));
    fontIndex(QTextCharFormat()); // the default font is \f0
    collect();

    out_.reserve(4096);
    out_.append("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl");
    for (size_t i = 0; i < fontList_.size(); ++i) {
        out_.append("{\\f");
        out_.append(QByteArray::number(qsizetype(i)));
        out_.append("\\fnil\\fcharset");
        out_.append(QByteArray::number(fontList_[i].second));
        out_.append(' ');
        writePlain(fontList_[i].first, true);
        out_.append(";}");
        delimit_ = false;
    }
    out_.append("}\r\n");
    if (!colorList_.empty()) {
        out_.append("{\\colortbl ;");
        for (QRgb c : colorList_) {
            out_.append("\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) +
                        "\\blue" + QByteArray::number(qBlue(c)) + ';');
        }
        out_.append("}\r\n");
    }
    word("\\viewkind4\\uc1");

    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
        const bool continues = continuesParagraph(b);
        if (!continues) {
            writeBlockProps(paragraphFormat(b));
            if (b.length() <= 1)
                writeProps(propsOf(b.charFormat()));
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat f = frag.charFormat();
            if (f.isImageFormat()) {
                closeLink();
                const QTextImageFormat image = f.toImageFormat();
                const QVariant resource = doc_.resource(QTextDocument::ImageResource, QUrl(image.name()));
                for (int k = 0; k < frag.length(); ++k)
                    writePicture(out_, image, resource);
                delimit_ = false;
                continue;
            }
            const QString href = f.isAnchor() ? f.anchorHref() : QString();
            if (inLink_ && href != link_)
                closeLink();
            if (!href.isEmpty() && !inLink_)
                openLink(href);
            writeProps(propsOf(f));
            writeText(frag.text(), std::clamp(f.intProperty(kCharsetProperty), 0, 255));
        }
        if (continuesParagraph(b.next()))
            continue; // the next piece goes on with this paragraph
        closeLink();
        word("\\par");
        out_.append("\r\n");
        delimit_ = false;
    }
    out_.append('}');
    return out_;
}

} // namespace

QByteArray write(const QTextDocument& document) { return Writer(document).run(); }

} // namespace brimble::rtf
