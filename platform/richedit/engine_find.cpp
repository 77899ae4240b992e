// Finding text forward or backward in a range, with match-case and whole-word.
#include "platform/richedit/engine_private.h"

#include <algorithm>

namespace richedit {

namespace {
bool isWordCharacter(QChar c) { return c.isLetterOrNumber() || c == u'_'; }
}  // namespace

int Engine::findTextEx(std::uint32_t flags, FINDTEXTEX& find) const {
    find.chrgText = {-1, -1};
    if (!find.lpstrText || !*find.lpstrText) return -1;
    QString needle = QString::fromUtf16(find.lpstrText);
    needle.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
    needle.replace(u'\r', QChar::ParagraphSeparator);
    needle.replace(u'\n', QChar::ParagraphSeparator);

    const QString& text = d->rawText();
    const int n = int(text.size());
    const int len = int(needle.size());
    const Qt::CaseSensitivity cs = (flags & FR_MATCHCASE) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool wholeWord = flags & FR_WHOLEWORD;
    auto isWhole = [&](int at) {
        return (at == 0 || !isWordCharacter(text[at - 1])) && (at + len >= n || !isWordCharacter(text[at + len]));
    };

    int found = -1;
    if (flags & FR_DOWN) {
        const int lo = std::clamp(find.chrg.cpMin, 0, n);
        const int hi = (find.chrg.cpMax < 0 || find.chrg.cpMax > n) ? n : std::max(lo, find.chrg.cpMax);
        for (int at = int(text.indexOf(needle, lo, cs)); at >= 0 && at + len <= hi; at = int(text.indexOf(needle, at + 1, cs))) {
            if (!wholeWord || isWhole(at)) {
                found = at;
                break;
            }
        }
    } else {
        // backward from cpMin toward cpMax; cpMin -1 is the end, cpMax -1 the start
        const int hi = (find.chrg.cpMin < 0 || find.chrg.cpMin > n) ? n : find.chrg.cpMin;
        const int lo = find.chrg.cpMax < 0 ? 0 : std::min(find.chrg.cpMax, hi);
        for (int at = hi - len; at >= lo; --at) {
            at = int(text.lastIndexOf(needle, at, cs));
            if (at < lo) break;
            if (!wholeWord || isWhole(at)) {
                found = at;
                break;
            }
        }
    }
    if (found >= 0) find.chrgText = {found, found + len};
    return found;
}

}  // namespace richedit
