// HTML syntax treatment: colours the markup of an HTML document in the editor, in place, in one pass
// over the text. Tag names, attribute names, attribute values, comments, character entities and
// declarations (the doctype) each get their own colour; the contents of <script> and <style> and
// the text between tags keep their format. The colouring is a display treatment: no undo step and
// no change to the modified flag.
#include "quillex_plugin.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

// 0x00BBGGRR
constexpr std::uint32_t kTagColor = 0x00800000;        // navy: brackets, tag names, "="
constexpr std::uint32_t kAttrNameColor = 0x000000C0;   // red
constexpr std::uint32_t kAttrValueColor = 0x00008000;  // green
constexpr std::uint32_t kCommentColor = 0x00808080;    // grey
constexpr std::uint32_t kEntityColor = 0x00800080;     // purple
constexpr std::uint32_t kDoctypeColor = 0x00808000;    // teal

using Run = QxEditorAccess::ColorRun;

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }
bool isLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isAlnum(char16_t c) { return isLetter(c) || (c >= u'0' && c <= u'9'); }
char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

class Colourer {
public:
    explicit Colourer(const std::u16string& text) : t_(text), n_(text.size()) {}

    std::vector<Run> run() {
        std::size_t i = 0;
        while (i < n_) {
            const char16_t c = t_[i];
            if (c == u'<') i = markup(i);
            else if (c == u'&') i = entity(i);
            else ++i;
        }
        return std::move(runs_);
    }

private:
    // Adjacent runs of one colour become one.
    void add(std::size_t from, std::size_t to, std::uint32_t color) {
        if (to <= from) return;
        if (!runs_.empty() && runs_.back().colorRef == color && std::size_t(runs_.back().start + runs_.back().length) == from) {
            runs_.back().length += int(to - from);
            return;
        }
        runs_.push_back({int(from), int(to - from), color});
    }

    bool startsWith(std::size_t i, std::u16string_view s) const { return t_.compare(i, s.size(), s) == 0; }

    std::size_t find(std::size_t from, std::u16string_view s) const {
        const std::size_t at = t_.find(s, from);
        return at == std::u16string::npos ? n_ : at;
    }

    std::size_t markup(std::size_t i) {
        if (startsWith(i, u"<!--")) {
            const std::size_t end = std::min(n_, find(i + 4, u"-->") + 3);
            add(i, end, kCommentColor);
            return end;
        }
        if (startsWith(i, u"<!") || startsWith(i, u"<?")) {  // doctype and other declarations
            const std::size_t end = std::min(n_, find(i + 2, u">") + 1);
            add(i, end, kDoctypeColor);
            return end;
        }
        const bool closing = i + 1 < n_ && t_[i + 1] == u'/';
        std::size_t j = i + (closing ? 2 : 1);
        if (j >= n_ || !isLetter(t_[j])) return i + 1;  // a lone "<" is text
        const std::size_t nameStart = j;
        while (j < n_ && !isSpace(t_[j]) && t_[j] != u'>' && t_[j] != u'/') ++j;
        std::u16string name;
        for (std::size_t k = nameStart; k < j; ++k) name += lower(t_[k]);
        add(i, j, kTagColor);
        bool selfClosing = false;
        while (j < n_) {
            const char16_t c = t_[j];
            if (isSpace(c)) {
                ++j;
            } else if (c == u'>') {
                add(j, j + 1, kTagColor);
                ++j;
                break;
            } else if (c == u'/') {
                selfClosing = j + 1 < n_ && t_[j + 1] == u'>';
                add(j, j + 1, kTagColor);
                ++j;
            } else if (c == u'=') {
                add(j, j + 1, kTagColor);
                j = value(j + 1);
            } else if (c == u'<') {
                break;  // an unclosed tag ends where the next markup starts
            } else {
                const std::size_t a = j;
                while (j < n_ && !isSpace(t_[j]) && t_[j] != u'=' && t_[j] != u'>' && t_[j] != u'/' && t_[j] != u'<') ++j;
                if (j == a) ++j;
                add(a, j, kAttrNameColor);
            }
        }
        // Script and style hold no markup: their text stays as it is, up to the closing tag.
        if (!closing && !selfClosing && (name == u"script" || name == u"style")) j = rawTextEnd(j, name);
        return j;
    }

    std::size_t value(std::size_t j) {
        while (j < n_ && isSpace(t_[j])) ++j;
        if (j >= n_) return j;
        const std::size_t a = j;
        if (t_[j] == u'"' || t_[j] == u'\'') {
            const std::size_t close = t_.find(t_[j], j + 1);
            j = close == std::u16string::npos ? n_ : close + 1;
        } else {
            while (j < n_ && !isSpace(t_[j]) && t_[j] != u'>') ++j;
        }
        add(a, j, kAttrValueColor);
        return j;
    }

    std::size_t rawTextEnd(std::size_t j, const std::u16string& name) const {
        for (std::size_t at = t_.find(u"</", j); at != std::u16string::npos; at = t_.find(u"</", at + 2)) {
            bool match = at + 2 + name.size() <= n_;
            for (std::size_t k = 0; match && k < name.size(); ++k) match = lower(t_[at + 2 + k]) == name[k];
            if (match) return at;
        }
        return n_;
    }

    // "&name;", "&#123;" or "&#x1F;"; anything else is a plain "&".
    std::size_t entity(std::size_t i) {
        std::size_t j = i + 1;
        if (j < n_ && t_[j] == u'#') ++j;
        const std::size_t first = j;
        while (j < n_ && j - i <= 32 && isAlnum(t_[j])) ++j;
        if (j > first && j < n_ && t_[j] == u';') {
            add(i, j + 1, kEntityColor);
            return j + 1;
        }
        return i + 1;
    }

    const std::u16string& t_;
    const std::size_t n_;
    std::vector<Run> runs_;
};

}  // namespace

QX_PLUGIN_EXPORT void htmlsyntaxe(QxEditorAccess* editor) {
    if (!editor) return;
    const int length = editor->textLength();
    std::u16string text(std::size_t(length), u'\0');
    text.resize(std::size_t(editor->copyText(0, length, text.data(), length)));
    const std::vector<Run> runs = Colourer(text).run();
    editor->beginUpdate();
    editor->colorRuns(runs.data(), int(runs.size()));
    editor->endUpdate();
}
