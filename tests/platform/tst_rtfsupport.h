#pragma once
// Small helpers shared by the RTF tests: load bytes into a fresh document, and read back the
// records at a position the way the engine does.

#include "platform/richedit/records.h"
#include "platform/richedit/rtf.h"
#include "platform/richedit/textformat.h"

#include <QFile>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <memory>

namespace rtftest {

struct Loaded {
    std::unique_ptr<QTextDocument> doc = std::make_unique<QTextDocument>();
    richedit::RtfReadResult result;
};

inline Loaded load(const QByteArray& rtf) {
    Loaded l;
    QTextCursor cursor(l.doc.get());
    l.result = richedit::readRtf(rtf, cursor);
    return l;
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// The paragraphs' texts as stored (tabs, U+2028 line breaks and U+FFFC pictures included).
inline QStringList paragraphs(const QTextDocument& doc) {
    QStringList list;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) list.append(b.text());
    return list;
}

inline QTextCharFormat qtFormatAt(const QTextDocument& doc, int position) {
    const QTextBlock block = doc.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (position >= f.position() && position < f.position() + f.length()) return f.charFormat();
    }
    return block.charFormat();
}

// The character record of the character at `position`.
inline richedit::CHARFORMAT2 charAt(const QTextDocument& doc, int position) {
    return richedit::charFormatFrom(qtFormatAt(doc, position), richedit::CHARFORMAT2{});
}

// The position of the first occurrence of `text`, or -1.
inline int find(const QTextDocument& doc, const QString& text) {
    const QTextCursor c = doc.find(text, 0, QTextDocument::FindCaseSensitively);
    return c.isNull() ? -1 : c.selectionStart();
}

inline richedit::PARAFORMAT2 paraAt(const QTextDocument& doc, int blockNumber) {
    return richedit::paraFormatFrom(doc.findBlockByNumber(blockNumber).blockFormat());
}

inline bool hasEffect(const richedit::CHARFORMAT2& cf, std::uint32_t effect) { return (cf.dwEffects & effect) != 0; }

// The pictures of the document in order.
inline QList<richedit::Picture> picturesIn(const QTextDocument& doc) {
    QList<richedit::Picture> list;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            richedit::Picture p;
            if (richedit::pictureFromFormat(it.fragment().charFormat(), p))
                for (int i = 0; i < it.fragment().length(); ++i) list.append(p);
        }
    return list;
}

}  // namespace rtftest
