// The line store's line access: the control's display lines counted, read and changed one by one.
// Our engine ends a paragraph with a single CR.
#include "documents/QxRichEditStrings.h"

#include "documents/QxScopeExit.h"
#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"

using namespace richedit;

namespace {

constexpr int kLineBufferLength = 4096;
const QString kParagraphBreak = QStringLiteral("\r");

// The lines of a text split at CR LF, CR or LF; a break at the very end starts no further line.
QStringList splitLines(const QString& text) {
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        while (i < n && text[i] != u'\r' && text[i] != u'\n') ++i;
        lines.append(text.mid(start, i - start));
        if (i < n && text[i] == u'\r') ++i;
        if (i < n && text[i] == u'\n') ++i;
    }
    return lines;
}

}  // namespace

int TQxRichEditStrings::LineCount() const {
    Engine& engine = editor_.HandleNeeded();
    int count = engine.getLineCount();
    if (count > 0) {
        const int lastStart = engine.lineIndex(count - 1);
        if (lastStart >= 0 && engine.lineLength(lastStart) == 0) --count;
    }
    return count;
}

QString TQxRichEditStrings::LineText(int index) const {
    if (index < 0) return {};
    QString line = editor_.HandleNeeded().getLine(index, kLineBufferLength);
    if (line.endsWith(QLatin1String("\r\n"))) line.chop(2);
    else if (line.endsWith(u'\r')) line.chop(1);
    return line;
}

void TQxRichEditStrings::ReplaceRange(int from, int to, const QString& text) {
    Engine& engine = editor_.HandleNeeded();
    engine.exSetSel({from, to});
    TQxRichEdit::SelTextReplacingScope replacing(editor_);
    editor_.ReplaceSel(text);
}

void TQxRichEditStrings::ReplaceLine(int index, const QString& text) {
    if (index < 0) return;
    Engine& engine = editor_.HandleNeeded();
    const int start = engine.lineIndex(index);
    if (start < 0) return;
    ReplaceRange(start, start + engine.lineLength(start), text);
}

void TQxRichEditStrings::InsertLine(int index, const QString& text) {
    if (index < 0) return;
    Engine& engine = editor_.HandleNeeded();
    int start = engine.lineIndex(index);
    QString inserted;
    if (start >= 0) {
        inserted = text + kParagraphBreak;
    } else {
        // Past the last line: append to line index - 1, unless that is missing or empty.
        if (index == 0) return;
        start = engine.lineIndex(index - 1);
        if (start < 0) return;
        const int length = engine.lineLength(start);
        if (length == 0) return;
        start += length;
        inserted = kParagraphBreak + text;
    }
    ReplaceRange(start, start, inserted);
}

void TQxRichEditStrings::AddLine(const QString& text) { InsertLine(LineCount(), text); }

void TQxRichEditStrings::DeleteLine(int index) {
    if (index < 0) return;
    Engine& engine = editor_.HandleNeeded();
    const int start = engine.lineIndex(index);
    if (start < 0) return;
    int end = engine.lineIndex(index + 1);
    if (end < 0) end = start + engine.lineLength(start);  // the last line: its text alone
    ReplaceRange(start, end, QString());
}

void TQxRichEditStrings::Clear() { editor_.Clear(); }

void TQxRichEditStrings::AddLines(const QStringList& texts) {
    TNotifyEvent selectionChange = std::move(editor_.OnSelectionChange);
    editor_.OnSelectionChange = nullptr;
    const ScopeExit restoreEvent([&] { editor_.OnSelectionChange = std::move(selectionChange); });
    SetUpdating(UpdateState::On);
    const ScopeExit endUpdate([&] { SetUpdating(UpdateState::Off); });
    for (const QString& text : texts) AddLine(text);
}

void TQxRichEditStrings::SetAllText(const QString& text) {
    Engine& engine = editor_.HandleNeeded();
    const std::uint32_t mask = engine.setEventMask(engine.eventMask() & ~ENM_CHANGE);
    // Nothing here rebuilds the engine window, so the mask goes back to the same engine.
    const ScopeExit restoreMask([&] { engine.setEventMask(mask); });
    SetUpdating(UpdateState::On);
    const ScopeExit endUpdate([&] { SetUpdating(UpdateState::Off); });
    Clear();
    for (const QString& line : splitLines(text)) AddLine(line);
}

void TQxRichEditStrings::SetUpdating(UpdateState state) {
    if (state == UpdateState::On) {
        if (editor_.isVisible()) editor_.setUpdatesEnabled(false);
        return;
    }
    editor_.setUpdatesEnabled(true);
    editor_.update();
}
