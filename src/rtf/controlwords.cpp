#include "rtf/controlwords.h"

#include <unordered_map>
#include <utility>

namespace brimble::rtf {

WordEntry lookupWord(std::string_view name) {
    static const std::unordered_map<std::string_view, WordEntry> table = [] {
        std::unordered_map<std::string_view, WordEntry> t;
        const std::pair<std::string_view, W> plain[] = {
            {"rtf", W::Rtf}, {"ansi", W::Ansi}, {"mac", W::Mac}, {"pc", W::Pc}, {"pca", W::Pca},
            {"ansicpg", W::Ansicpg}, {"deff", W::Deff}, {"fonttbl", W::Fonttbl},
            {"colortbl", W::Colortbl}, {"f", W::F}, {"fcharset", W::Fcharset}, {"cpg", W::Cpg},
            {"red", W::Red}, {"green", W::Green}, {"blue", W::Blue}, {"plain", W::Plain},
            {"b", W::B}, {"i", W::I}, {"ulnone", W::UlNone}, {"strike", W::Strike},
            {"striked", W::Strike}, {"fs", W::Fs}, {"cf", W::Cf}, {"cb", W::Cb},
            {"chcbpat", W::Cb}, {"highlight", W::Highlight}, {"v", W::V}, {"super", W::Super},
            {"sub", W::Sub}, {"nosupersub", W::NoSuperSub}, {"pard", W::Pard}, {"ql", W::Ql},
            {"qr", W::Qr}, {"qc", W::Qc}, {"qj", W::Qj}, {"li", W::Li}, {"ri", W::Ri},
            {"fi", W::Fi}, {"sb", W::Sb}, {"sa", W::Sa}, {"sl", W::Sl}, {"slmult", W::Slmult},
            {"par", W::Par}, {"page", W::Par}, {"sect", W::Par}, {"column", W::Par},
            {"line", W::Line}, {"tab", W::Tab}, {"cell", W::Cell}, {"nestcell", W::Cell},
            {"row", W::Row}, {"nestrow", W::Row}, {"uc", W::Uc}, {"u", W::U}, {"pict", W::Pict},
            {"pngblip", W::PngBlip}, {"jpegblip", W::JpegBlip}, {"emfblip", W::EmfBlip},
            {"wmetafile", W::Wmetafile}, {"dibitmap", W::Dibitmap}, {"wbitmap", W::Wbitmap},
            {"picw", W::Picw}, {"pich", W::Pich}, {"picwgoal", W::Picwgoal},
            {"pichgoal", W::Pichgoal}, {"picscalex", W::Picscalex}, {"picscaley", W::Picscaley},
            {"wbmbitspixel", W::WbmBitsPixel}, {"wbmwidthbytes", W::WbmWidthBytes},
            {"macpict", W::UnsupportedPict}, {"pmmetafile", W::UnsupportedPict},
            {"shppict", W::Shppict}, {"nonshppict", W::Nonshppict}, {"field", W::Field},
            {"fldinst", W::Fldinst}, {"fldrslt", W::Fldrslt}, {"ls", W::Ls}, {"ilvl", W::Ilvl},
            {"listtext", W::ListText}, {"pntext", W::ListText}, {"pn", W::Pn},
            {"pnlvl", W::PnLevel}, {"pnstart", W::PnStart}, {"pnf", W::PnF},
            {"pntxta", W::PnTxtA}, {"pntxtb", W::PnTxtB}, {"listtable", W::ListTable},
            {"listoverridetable", W::ListOverrideTable}, {"list", W::List},
            {"listid", W::ListId}, {"listlevel", W::ListLevel}, {"leveltext", W::LevelText},
            {"levelnfc", W::LevelNfc}, {"levelnfcn", W::LevelNfc},
            {"levelstartat", W::LevelStartAt}, {"levelfollow", W::LevelFollow},
            {"levelnorestart", W::LevelNoRestart}, {"levellegal", W::LevelLegal},
            {"listoverride", W::ListOverride}, {"lfolevel", W::LfoLevel},
            {"listoverridestartat", W::ListOverrideStartAt}, {"chftn", W::Chftn},
            {"ftnstart", W::FtnStart}, {"chpgn", W::Chpgn}, {"upr", W::Upr}, {"ud", W::Ud}};
        for (const auto& [name, id] : plain)
            t.emplace(name, WordEntry{id});
        for (std::string_view u : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                   "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                                   "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(u, WordEntry{W::Ul});
        // Destinations whose content is not part of the text, starred or not.
        for (std::string_view d :
             {"stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer", "footerl",
              "footerr", "footerf", "footnote", "annotation", "objdata", "objclass", "objname",
              "objalias", "objsect", "objitem", "objtopic", "revtbl", "rsidtbl", "xmlnstbl", "filetbl", "template",
              "bkmkstart", "bkmkend", "themedata", "colorschememapping", "latentstyles",
              "datastore", "mmathPr", "generator", "userprops", "docvar", "xe", "tc", "txe", "rxe",
              "atnid", "atnauthor", "atndate", "atnref", "ftnsep", "ftnsepc", "ftncn", "aftnsep",
              "aftnsepc", "aftncn", "pgdsctbl", "listpicture", "picprop", "blipuid", "fldtype",
              "datafield", "shpinst", "pnseclvl", "keywords", "author", "operator", "title",
              "subject", "comment", "doccomm", "company", "category", "manager", "hlinkbase",
              "nonesttables"})
            t.emplace(d, WordEntry{W::SkipDest});
        const std::pair<std::string_view, char16_t> chars[] = {
            {"emdash", 0x2014}, {"endash", 0x2013}, {"lquote", 0x2018}, {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022},
            {"emspace", 0x2003}, {"enspace", 0x2002}, {"qmspace", 0x2005}, {"zwj", 0x200D},
            {"zwnj", 0x200C}, {"ltrmark", 0x200E}, {"rtlmark", 0x200F}};
        for (const auto& [name, c] : chars)
            t.emplace(name, WordEntry{W::Char, c});
        // Number styles, as \levelnfc numbers them.
        const std::pair<std::string_view, char16_t> pnStyles[] = {
            {"pndec", 0}, {"pnucrm", 1}, {"pnlcrm", 2}, {"pnucltr", 3}, {"pnlcltr", 4},
            {"pncard", 0}, {"pnord", 0}, {"pnordt", 0}};
        for (const auto& [name, style] : pnStyles)
            t.emplace(name, WordEntry{W::PnStyle, style});
        const std::pair<std::string_view, char16_t> ftnStyles[] = {
            {"ftnnar", 0}, {"ftnnruc", 1}, {"ftnnrlc", 2}, {"ftnnauc", 3}, {"ftnnalc", 4}};
        for (const auto& [name, style] : ftnStyles)
            t.emplace(name, WordEntry{W::FtnStyle, style});
        t.emplace("pnlvlbody", WordEntry{W::PnKind, kPnBody});
        t.emplace("pnlvlblt", WordEntry{W::PnKind, kPnBullet});
        t.emplace("pnlvlcont", WordEntry{W::PnKind, kPnContinue});
        return t;
    }();
    const auto it = table.find(name);
    return it == table.end() ? WordEntry{W::Unknown} : it->second;
}


} // namespace brimble::rtf
