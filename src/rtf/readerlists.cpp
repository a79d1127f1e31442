// List numbers: the list table, \pn numbering, and the labels of paragraphs whose producer
// left them out.
#include "rtf/reader.h"

#include "rtf/codepage.h"
#include "rtf/numbering.h"

#include <algorithm>
#include <climits>

namespace brimble::rtf {

namespace {

// Bounds on what a document can make the reader keep.
constexpr size_t kMaxLists = 4096;
constexpr size_t kMaxLevels = 9;
constexpr size_t kMaxLabelItems = 64;
constexpr int kMaxStart = 32767;

int next(int n) { return n < INT_MAX ? n + 1 : n; }

void forget(std::unordered_map<int, size_t>& map, int key, size_t entry) {
    const auto it = map.find(key);
    if (it != map.end() && it->second == entry)
        map.erase(it);
}

} // namespace

Reader::ListLevel* Reader::openLevel() {
    if (listEntry_ < 0 || levelEntry_ < 0)
        return nullptr;
    return &lists_[size_t(listEntry_)].levels[size_t(levelEntry_)];
}

void Reader::listTableWord(W id, bool hasParam, int p) {
    ListLevel* level = openLevel();
    const bool on = !hasParam || p != 0;
    switch (id) {
    case W::List:
        levelEntry_ = -1;
        listEntry_ = -1;
        if (lists_.size() < kMaxLists) {
            lists_.emplace_back();
            listEntry_ = int(lists_.size()) - 1;
        }
        break;
    case W::ListId:
        if (listEntry_ >= 0) {
            ListDef& list = lists_[size_t(listEntry_)];
            forget(listOfId_, list.id, size_t(listEntry_)); // one name per list: the map stays small
            list.id = p;
            listOfId_[p] = size_t(listEntry_);
        }
        break;
    case W::ListLevel:
        levelEntry_ = -1;
        if (listEntry_ >= 0 && lists_[size_t(listEntry_)].levels.size() < kMaxLevels) {
            auto& levels = lists_[size_t(listEntry_)].levels;
            levels.emplace_back();
            levelEntry_ = int(levels.size()) - 1;
            cur_.levelOwner = true;
        }
        break;
    case W::LevelText: cur_.dest = level ? Dest::LevelText : Dest::Skip; break;
    case W::LevelNfc:
        if (level)
            level->style = std::clamp(p, 0, 255);
        break;
    case W::LevelStartAt:
        if (level)
            level->start = std::clamp(p, 0, kMaxStart);
        break;
    case W::LevelFollow:
        if (level)
            level->follow = std::clamp(p, 0, 2);
        break;
    case W::LevelNoRestart:
        if (level)
            level->noRestart = on;
        break;
    case W::LevelLegal:
        if (level)
            level->legal = on;
        break;
    case W::F:
        if (level)
            level->font = p;
        break;
    case W::SkipDest: cur_.dest = Dest::Skip; break;
    default: break;
    }
}

void Reader::listOverrideWord(W id, int p) {
    ListOverride* o = overrideEntry_ >= 0 ? &overrides_[size_t(overrideEntry_)] : nullptr;
    switch (id) {
    case W::ListOverride:
        overrideEntry_ = -1;
        if (overrides_.size() < kMaxLists) {
            overrides_.emplace_back();
            overrideEntry_ = int(overrides_.size()) - 1;
        }
        break;
    case W::ListId:
        if (o)
            o->listId = p;
        break;
    case W::Ls:
        if (o) {
            forget(overrideOfLs_, o->ls, size_t(overrideEntry_));
            o->ls = p;
            overrideOfLs_[p] = size_t(overrideEntry_);
        }
        break;
    case W::LfoLevel:
        if (o) {
            o->lfoLevels = std::min(o->lfoLevels + 1, 100);
            o->startOverride = false;
        }
        break;
    case W::ListOverrideStartAt:
        if (o)
            o->startOverride = true;
        break;
    case W::LevelStartAt:
        if (o && o->startOverride && o->lfoLevels >= 1 && o->lfoLevels <= 9)
            o->startAt[size_t(o->lfoLevels - 1)] = std::clamp(p, 0, kMaxStart);
        break;
    case W::SkipDest: cur_.dest = Dest::Skip; break;
    default: break;
    }
}

void Reader::pnWord(const WordEntry& entry, int p) {
    switch (entry.id) {
    case W::PnKind: pn_.level = entry.ch; break;
    case W::PnLevel: pn_.level = std::clamp(p, 1, 9); break;
    case W::PnStyle: pn_.style = entry.ch; break;
    case W::PnStart: pn_.start = std::clamp(p, 0, kMaxStart); break;
    case W::PnF: pn_.font = p; break;
    case W::PnTxtA:
    case W::PnTxtB:
        cur_.dest = Dest::PnText;
        pnAfter_ = entry.id == W::PnTxtA;
        break;
    case W::SkipDest: cur_.dest = Dest::Skip; break;
    default: break;
    }
}

void Reader::addRaw(int item) {
    std::vector<int>* raw = nullptr;
    if (cur_.dest == Dest::PnText) {
        raw = pnAfter_ ? &pn_.rawAfter : &pn_.rawBefore;
    } else if (ListLevel* level = openLevel()) {
        raw = &level->raw;
    }
    if (raw && raw->size() < kMaxLabelItems)
        raw->push_back(item);
}

QString Reader::decodeLabel(const std::vector<int>& raw, int font) const {
    const auto f = fonts_.find(font);
    const int codePage = font >= 0 && f != fonts_.end() ? fontCodePage(f->second) : docCodePage_;
    QString out;
    std::string bytes;
    auto flush = [&] {
        appendDecoded(out, bytes, codePage);
        bytes.clear();
    };
    for (const int item : raw) {
        if (item >= 0) {
            flush();
            out.append(QChar(char16_t(item)));
        } else if (const int b = -1 - item; b < 0x20) {
            flush();
            out.append(QChar(char16_t(b))); // a level number's place, or the length
        } else {
            bytes.push_back(char(b));
        }
    }
    flush();
    mapSymbolMarks(out);
    return out;
}

void Reader::finishLevel() {
    if (ListLevel* level = openLevel()) {
        level->text = decodeLabel(level->raw, level->font);
        level->raw = {};
    }
    levelEntry_ = -1;
}

int Reader::finishPn() {
    pn_.before = decodeLabel(pn_.rawBefore, pn_.font);
    pn_.after = decodeLabel(pn_.rawAfter, pn_.font);
    pn_.rawBefore = pn_.rawAfter = {};
    // Producers repeat the same numbering in every paragraph: it is kept once.
    if (!pns_.empty() && pns_.back().sameNumbering(pn_))
        return int(pns_.size()) - 1;
    if (pns_.size() >= kMaxLists)
        pns_.pop_back();
    pns_.push_back(pn_);
    return int(pns_.size()) - 1;
}

void Reader::numberParagraph() {
    numbered_ = true;
    const ParaState& p = cur_.para;
    if (p.ls <= 0 && p.pn < 0)
        return;
    // The list table's numbering comes first; \pn is what older producers write instead.
    std::optional<QString> label = p.ls > 0 ? listLabel(p) : std::nullopt;
    if (!label && p.pn >= 0)
        label = pnLabel(p);
    // A label the producer wrote wins; the count goes on all the same.
    if (label && !labelGiven_)
        insertLabel(*label);
}

std::optional<QString> Reader::listLabel(const ParaState& p) {
    const auto o = overrideOfLs_.find(p.ls);
    if (o == overrideOfLs_.end())
        return std::nullopt;
    ListOverride& lo = overrides_[o->second];
    const auto l = listOfId_.find(lo.listId);
    if (l == listOfId_.end())
        return std::nullopt;
    const std::vector<ListLevel>& levels = lists_[l->second].levels;
    const size_t at = size_t(p.ilvl);
    if (at >= levels.size())
        return std::nullopt;

    auto startOf = [&](size_t k) { return lo.startAt[k] >= 0 ? lo.startAt[k] : levels[k].start; };
    lo.count[at] = lo.started[at] ? next(lo.count[at]) : startOf(at);
    lo.started[at] = true;
    for (size_t k = at + 1; k < lo.started.size(); ++k)
        if (k >= levels.size() || !levels[k].noRestart)
            lo.started[k] = false; // the deeper levels count again under a new item

    const ListLevel& level = levels[at];
    const QString& text = level.text;
    QString label;
    if (text.isEmpty()) {
        label = level.style == kBulletStyle ? QString(QChar(0x2022)) : formatNumber(lo.count[at], level.style) + u'.';
    } else {
        // The first character is the text's length; without one, the text ends at ';'.
        qsizetype from = 0, end = text.indexOf(u';');
        if (text[0].unicode() < 0x20) {
            from = 1;
            end = 1 + text[0].unicode();
        }
        end = end < 0 ? text.size() : std::min(end, text.size());
        for (qsizetype i = from; i < end; ++i) {
            const char16_t c = text[i].unicode();
            if (c >= 0x20) {
                label.append(text[i]);
                continue;
            }
            const size_t k = c;
            if (k > at || k >= levels.size())
                continue; // a level below this one has no number here
            const int n = k == at || lo.started[k] ? lo.count[k] : startOf(k);
            const int style = k == at ? level.style : level.legal ? int(kDecimal) : levels[k].style;
            label += formatNumber(n, style);
        }
    }
    if (level.follow == 0)
        label += u'\t';
    else if (level.follow == 1)
        label += u' ';
    return label;
}

QString Reader::pnLabel(const ParaState& p) {
    const PnDef& def = pns_[size_t(p.pn)];
    pnThisPara_ = true;
    if (!pnPrevPara_)
        pnStarted_.fill(false); // numbering of this kind runs over adjacent paragraphs only
    if (def.level == kPnContinue)
        return {};
    if (def.level == kPnBullet)
        return (def.before.isEmpty() ? QString(QChar(0x2022)) : def.before) + u'\t';
    const size_t at = def.level == kPnBody ? 0 : size_t(def.level);
    const bool goesOn = pnStarted_[at] && pns_[pnPrevDef_[at]].sameNumbering(def);
    pnCount_[at] = goesOn ? next(pnCount_[at]) : def.start;
    pnStarted_[at] = true;
    pnPrevDef_[at] = size_t(p.pn);
    if (at > 0)
        for (size_t k = at + 1; k < pnStarted_.size(); ++k)
            pnStarted_[k] = false;
    return def.before + formatNumber(pnCount_[at], def.style) + def.after + u'\t';
}

} // namespace brimble::rtf
