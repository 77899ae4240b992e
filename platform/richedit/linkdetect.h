#pragma once
// Finding links in text: addresses the engine shows as links without changing the stored formats.

#include <QString>

#include <vector>

namespace richedit {

struct TextSpan {
    int start = 0;
    int length = 0;
};

// The addresses in `text` (http://, https://, ftp://, file://, mailto:, www.), without the
// punctuation that closes a sentence after them.
std::vector<TextSpan> findUrls(QStringView text);

}  // namespace richedit
