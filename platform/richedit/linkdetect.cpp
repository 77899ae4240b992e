#include "platform/richedit/linkdetect.h"

#include <QRegularExpression>

namespace richedit {

std::vector<TextSpan> findUrls(QStringView text) {
    static const QRegularExpression pattern(
        QStringLiteral(R"((?:(?:https?|ftp|file)://|mailto:|www\.)[^\s<>"\x{2028}\x{2029}\x{fffc}]+)"),
        QRegularExpression::CaseInsensitiveOption);
    std::vector<TextSpan> spans;
    auto it = pattern.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        int start = int(m.capturedStart());
        int length = int(m.capturedLength());
        if (start > 0 && (text[start - 1].isLetterOrNumber() || text[start - 1] == u'_')) continue;
        const QStringView url = text.mid(start, length);
        const bool balancedParen = url.contains(u'(');
        while (length > 0) {
            const QChar last = text[start + length - 1];
            if (QStringView(u".,;:!?'\"]}>").contains(last) || (last == u')' && !balancedParen)) --length;
            else break;
        }
        // the scheme alone is no link
        const QStringView kept = text.mid(start, length);
        if (kept.endsWith(u"://") || kept.compare(u"mailto:", Qt::CaseInsensitive) == 0 ||
            kept.compare(u"www.", Qt::CaseInsensitive) == 0)
            continue;
        spans.push_back({start, length});
    }
    return spans;
}

}  // namespace richedit
