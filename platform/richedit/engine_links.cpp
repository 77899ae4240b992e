// Links: anchors stored with CFE_LINK, and addresses detected in the text while automatic link
// detection is on. Detected links live only on screen; the stored formats stay as they are.
#include "platform/richedit/engine_private.h"
#include "platform/richedit/linkdetect.h"

#include <QTextBlock>

#include <algorithm>

namespace richedit {

namespace {

constexpr int kScanMargin = 2048;  // how far around a position the detector looks inside a long paragraph

bool sameLink(const QTextCharFormat& a, const QTextCharFormat& b) {
    return a.isAnchor() && b.isAnchor() && a.anchorHref() == b.anchorHref();
}

// The anchors of `block` that overlap [from, to), merged over neighbouring fragments of the same link.
void anchorsIn(const QTextBlock& block, int from, int to, std::vector<CHARRANGE>& out) {
    QTextCharFormat current;
    CHARRANGE range{-1, -1};
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const QTextCharFormat f = frag.charFormat();
        if (range.cpMin >= 0 && sameLink(current, f) && range.cpMax == frag.position()) {
            range.cpMax = frag.position() + frag.length();
            continue;
        }
        if (range.cpMin >= 0 && range.cpMax > from && range.cpMin < to) out.push_back(range);
        range = {-1, -1};
        if (f.isAnchor()) {
            current = f;
            range = {frag.position(), frag.position() + frag.length()};
        }
    }
    if (range.cpMin >= 0 && range.cpMax > from && range.cpMin < to) out.push_back(range);
}

void urlsIn(const QTextBlock& block, int from, int to, std::vector<CHARRANGE>& out) {
    const QString text = block.text();
    const int base = block.position();
    int a = std::clamp(from - base - kScanMargin, 0, int(text.size()));
    int b = std::clamp(to - base + kScanMargin, 0, int(text.size()));
    // start and end the scan at white space, so no address is cut
    while (a > 0 && !text[a - 1].isSpace()) --a;
    while (b < text.size() && !text[b].isSpace()) ++b;
    for (const TextSpan& span : findUrls(QStringView(text).mid(a, b - a))) {
        const CHARRANGE r{base + a + span.start, base + a + span.start + span.length};
        if (r.cpMax > from && r.cpMin < to) out.push_back(r);
    }
}

}  // namespace

std::vector<CHARRANGE> Engine::Private::linksIn(int from, int to) const {
    std::vector<CHARRANGE> out;
    for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() <= to; block = block.next()) {
        anchorsIn(block, from, to, out);
        if (autoUrl) urlsIn(block, from, to, out);
    }
    return out;
}

CHARRANGE Engine::Private::linkAt(int position) const {
    if (position < 0 || position >= length()) return {-1, -1};
    for (const CHARRANGE& r : linksIn(position, position + 1))
        if (r.cpMin <= position && position < r.cpMax) return r;
    return {-1, -1};
}

}  // namespace richedit
