// HTML syntax treatment: colours the markup of an HTML document in the editor, in place.
// Tags are navy, comments grey, character entities purple; the text between them keeps its format.
#include "quillex_plugin.h"

#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kTagColor = 0x00800000;      // navy (0x00BBGGRR)
constexpr std::uint32_t kCommentColor = 0x00808080;  // grey
constexpr std::uint32_t kEntityColor = 0x00800080;   // purple

struct Span {
    int start;
    int length;
    std::uint32_t color;
};

std::vector<Span> markupSpans(const std::u16string& text) {
    std::vector<Span> spans;
    const auto n = text.size();
    std::size_t i = 0;
    while (i < n) {
        if (text.compare(i, 4, u"<!--") == 0) {
            const auto end = text.find(u"-->", i + 4);
            const std::size_t stop = end == std::u16string::npos ? n : end + 3;
            spans.push_back({int(i), int(stop - i), kCommentColor});
            i = stop;
        } else if (text[i] == u'<') {
            const auto end = text.find(u'>', i + 1);
            const std::size_t stop = end == std::u16string::npos ? n : end + 1;
            spans.push_back({int(i), int(stop - i), kTagColor});
            i = stop;
        } else if (text[i] == u'&') {
            std::size_t j = i + 1;
            while (j < n && j - i <= 10 && text[j] != u';' && text[j] != u' ' && text[j] != u'<') ++j;
            if (j < n && text[j] == u';') {
                spans.push_back({int(i), int(j + 1 - i), kEntityColor});
                i = j + 1;
            } else {
                ++i;
            }
        } else {
            ++i;
        }
    }
    return spans;
}

}  // namespace

QX_PLUGIN_EXPORT void htmlsyntaxe(QxEditorAccess* editor) {
    if (!editor) return;
    const int length = editor->textLength();
    std::u16string text(std::size_t(length), u'\0');
    text.resize(std::size_t(editor->copyText(0, length, text.data(), length)));
    editor->beginUpdate();
    for (const Span& s : markupSpans(text)) {
        editor->select(s.start, s.length);
        editor->setSelectionColor(s.color);
    }
    editor->select(0, 0);
    editor->endUpdate();
}
