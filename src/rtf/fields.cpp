#include "rtf/fields.h"

namespace brimble::rtf {

QString hyperlinkTarget(QString instruction) {
    instruction.removeIf([](QChar c) { return c.unicode() < 0x20; });
    const QString inst = instruction.trimmed();
    if (!inst.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return {};
    QString target;
    bool local = false;
    qsizetype i = 9;
    const qsizetype n = inst.size();
    while (i < n) {
        while (i < n && inst[i].isSpace())
            ++i;
        if (i >= n)
            break;
        if (inst[i] == u'\\' && i + 1 < n) {
            const QChar sw = inst[i + 1].toLower();
            i += 2;
            if (sw == u'l')
                local = true;
            else if (sw == u'o' || sw == u't') { // the switch's argument is no target
                while (i < n && inst[i].isSpace())
                    ++i;
                if (i < n && inst[i] == u'"') {
                    const qsizetype end = inst.indexOf(u'"', i + 1);
                    i = end < 0 ? n : end + 1;
                } else {
                    while (i < n && !inst[i].isSpace())
                        ++i;
                }
            }
            continue;
        }
        QString arg;
        if (inst[i] == u'"') {
            for (++i; i < n && inst[i] != u'"'; ++i) {
                if (inst[i] == u'\\' && i + 1 < n && (inst[i + 1] == u'\\' || inst[i + 1] == u'"'))
                    ++i;
                arg.append(inst[i]);
            }
            ++i;
        } else {
            while (i < n && !inst[i].isSpace())
                arg.append(inst[i++]);
        }
        if (target.isEmpty() && !local)
            target = arg;
        else if (local && target.isEmpty())
            target = u'#' + arg;
        local = false;
    }
    return target;
}

} // namespace brimble::rtf
