#include "platform/richedit/rtf_keywords.h"

#include <unordered_map>

namespace richedit::rtf {

Kw keyword(std::string_view name) {
    static const std::unordered_map<std::string_view, Kw> table = {
#define QX_RTF_ENTRY(name) {#name, Kw::name},
#define QX_RTF_ENTRY_NAMED(id, word) {#word, Kw::id},
        QX_RTF_KEYWORDS(QX_RTF_ENTRY, QX_RTF_ENTRY_NAMED)
#undef QX_RTF_ENTRY
#undef QX_RTF_ENTRY_NAMED
    };
    const auto it = table.find(name);
    return it == table.end() ? Kw::Unknown : it->second;
}

}  // namespace richedit::rtf
