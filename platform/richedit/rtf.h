#pragma once
// RTF reading and writing for the engine's document (the stream-in/out of the SF_RTF formats).

#include <QByteArray>
#include <QString>

class QTextCursor;
class QTextDocument;

namespace richedit {

struct RtfReadResult {
    bool ok = false;       // false: the bytes are not RTF, or are broken beyond use
    QString error;         // why, when !ok
};

// Inserts the RTF document held in `data` at `cursor` (the caller has removed what it replaces).
// Never crashes, hangs or allocates without bound on malformed input; a truncated file inserts
// what it holds. `cursor` ends after the inserted content.
RtfReadResult readRtf(const QByteArray& data, QTextCursor& cursor);

enum class RtfObjects { Include, Omit };

// The characters [from, to) of `document` as a complete RTF document (to = -1: the end).
QByteArray writeRtf(const QTextDocument& document, int from, int to, RtfObjects objects);

}  // namespace richedit
