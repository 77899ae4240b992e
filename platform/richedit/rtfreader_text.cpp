// RTF reader: where text goes, runs of body text, paragraphs and fields.
#include "platform/richedit/rtf_reader.h"

#include <QTextBlock>

namespace richedit::rtf {

namespace {

void appendBounded(QString& target, QStringView chars) {
    if (target.size() + chars.size() <= kMaxTextPerDestination) target.append(chars);
}

// Characters that QTextDocument would turn into structure, and C0 controls other than tab.
bool keptInBody(char16_t c) {
    if (c < 0x20) return c == u'\t';
    return c != 0x2029 && c != 0xFDD0 && c != 0xFDD1 && c != 0xFFFC && c != 0x7F && c != kCellMark;
}

}  // namespace

void Reader::deliver(QStringView chars) {
    GroupState& g = top();
    switch (g.dest) {
    case Dest::Body: bodyText(chars); return;
    case Dest::FontTable:
        for (const QChar c : chars) {
            if (pendingFontIndex_ < 0) return;
            if (c == u';') commitFont();
            else if (c.unicode() < 0x20) continue;  // control characters are no part of a name
            else if (pendingFont_.name.size() < LF_FACESIZE * 4) pendingFont_.name.append(c);
        }
        return;
    case Dest::ColorTable:
        for (const QChar c : chars)
            if (c == u';') commitColor();
        return;
    case Dest::StyleSheet:
        for (const QChar c : chars) {
            if (c == u';') commitStyle();
            else if (c.unicode() < 0x20) continue;  // control characters are no part of a name
            else if (pendingStyleIndex_ >= 0 && pendingStyle_.name.size() < LF_FACESIZE * 8) pendingStyle_.name.append(c);
        }
        return;
    case Dest::LevelText: appendBounded(pendingLevel_.text, chars); return;
    case Dest::FieldInstruction:
        if (g.field >= 0) appendBounded(fields_[std::size_t(g.field)].instruction, chars);
        return;
    case Dest::PnTextAfter: appendBounded(pn_.after, chars); return;
    case Dest::PnTextBefore: appendBounded(pn_.before, chars); return;
    case Dest::ListText:
        appendBounded(listText_, chars);
        listTextState_ = g.ch;
        return;
    default: return;
    }
}

void Reader::bodyText(QStringView chars) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= chars.size(); ++i) {
        if (i < chars.size() && keptInBody(chars[i].unicode())) continue;
        if (i > start) {
            beginContent();
            if (!(runState_ == top().ch)) {
                flushRun();
                runState_ = top().ch;
            }
            runText_.append(chars.mid(start, i - start));
        }
        start = i + 1;
    }
}

void Reader::insertPendingBlock() {
    if (!pendingBreak_) return;
    flushRun();
    cursor_.insertBlock();
    pendingBreak_ = false;
    ownsBlock_ = true;
}

void Reader::beginContent() {
    lastPictureGroup_ = GroupState::PictureGroup::None;
    contentInRow();
    insertPendingBlock();
    if (!paragraphHasContent_ && !listText_.isEmpty()) {
        // \pntext and \listtext show the number to readers that cannot number; with real
        // numbering in the paragraph the engine draws it, so the text would double it.
        std::uint16_t numbering = PFN_NONE, start = 1, style = 0;
        numberingOf(top().para, numbering, start, style);
        if (numbering == PFN_NONE && !listTextState_.hidden) {
            flushRun();
            runState_ = listTextState_;
            for (const QChar c : listText_)
                if (keptInBody(c.unicode())) runText_.append(c);
        }
        listText_.clear();
    }
    paragraphHasContent_ = true;
}

void Reader::listTextAtMark() {
    if (listText_.isEmpty()) return;
    const bool hadContent = paragraphHasContent_;
    beginContent();
    // A number the numbering draws is no content: the empty paragraph's mark keeps its format.
    if (runText_.isEmpty()) paragraphHasContent_ = hadContent;
}

void Reader::flushRun() {
    if (runText_.isEmpty()) return;
    cursor_.insertText(runText_, charFormat(runState_));
    runText_.clear();
}

void Reader::paragraphBreak() {
    listTextAtMark();
    insertPendingBlock();
    flushRun();
    if (ownsBlock_) {
        QTextBlockFormat format = blockFormat(top().para);
        numberParagraph(format, top().para);
        if (!cursorBlockFormat_ || !(*cursorBlockFormat_ == format)) {
            cursor_.setBlockFormat(format);
            cursorBlockFormat_ = format;
        }
        if (!paragraphHasContent_) cursor_.setBlockCharFormat(charFormat(top().ch));
    } else {
        listCounter_.next(listParagraphOf(cursor_.blockFormat()));
    }
    // The block after this mark is inserted only when something follows, so that the mark
    // ending the last paragraph does not add an empty one.
    pendingBreak_ = true;
    paragraphHasContent_ = false;
    pageBreakNext_ = false;
    lastPictureGroup_ = GroupState::PictureGroup::None;
}

void Reader::pageBreak() {
    if (paragraphHasContent_) paragraphBreak();
    pageBreakNext_ = true;  // the paragraph being read starts on a new page
}

void Reader::finish() {
    listTextAtMark();
    if (row_.open) endRow();  // the file ends inside a row
    flushRun();
    if (highSurrogate_) highSurrogate_ = 0;
    // A pending mark ended the last paragraph, whose format is already set. Otherwise the last
    // paragraph is formatted when it is ours and nothing of the document follows it.
    if (!pendingBreak_ && ownsBlock_ && cursor_.atBlockEnd()) {
        QTextBlockFormat format = blockFormat(top().para);
        numberParagraph(format, top().para);
        cursor_.setBlockFormat(format);
        cursorBlockFormat_.reset();
        if (!paragraphHasContent_) cursor_.setBlockCharFormat(charFormat(top().ch));
    }
}

void Reader::parseField(Field& field) {
    if (field.parsed) return;
    field.parsed = true;
    // Split the instruction into words; quotes group words, a backslash starts a switch.
    QStringList words;
    const QString& s = field.instruction;
    for (qsizetype i = 0; i < s.size();) {
        if (s[i].isSpace()) {
            ++i;
            continue;
        }
        QString word;
        if (s[i] == u'"') {
            ++i;
            while (i < s.size() && s[i] != u'"') word.append(s[i++]);
            ++i;
        } else {
            while (i < s.size() && !s[i].isSpace() && s[i] != u'"') word.append(s[i++]);
        }
        words.append(word);
    }
    if (words.isEmpty() || words.front().compare(u"HYPERLINK", Qt::CaseInsensitive) != 0) return;
    QString target, location;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& w = words[i];
        if (w.startsWith(u'\\')) {
            const QString sw = w.mid(1).toLower();
            if (sw == u"l" && i + 1 < words.size()) location = words[++i];
            else if ((sw == u"o" || sw == u"t") && i + 1 < words.size()) ++i;  // tooltip, target frame
            continue;
        }
        if (target.isEmpty()) target = w;
    }
    if (!location.isEmpty()) target += u'#' + location;
    field.href = target;
}

}  // namespace richedit::rtf
