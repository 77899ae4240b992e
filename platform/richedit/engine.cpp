#include "platform/richedit/engine.h"

#include "platform/richedit/engine_formatrange.h"
#include "platform/richedit/engine_private.h"
#include "platform/richedit/stylesheet.h"
#include "platform/richedit/textformat.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace richedit {

namespace {

constexpr int kDefaultTextLimit = 32767;
constexpr int kZeroTextLimit = 65536;  // EM_EXLIMITTEXT 0: the control's 64K default
constexpr double kDotsPerMeterAt96Dpi = 96 / 0.0254;

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c.category() == QChar::Mark_NonSpacing; }
bool isBreakChar(QChar c) { return c == QChar::ParagraphSeparator || c == QChar::LineSeparator; }

// Paragraph breaks in inserted text: "\r\n", "\r", "\n" and U+2029 each end one paragraph.
QStringList splitParagraphs(const QString& text) {
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            parts.append(current);
            current.clear();
        } else if (c == u'\n' || c == QChar::ParagraphSeparator) {
            parts.append(current);
            current.clear();
        } else if (c == u'\v') {
            current += QChar::LineSeparator;
        } else if (c.unicode() < 0x20 && c != u'\t') {
            continue;  // other control characters have no place in the text
        } else {
            current += c;
        }
    }
    parts.append(current);
    return parts;
}

void mergeCharRecord(CHARFORMAT2& into, const CHARFORMAT2& from) {
    const std::uint32_t m = from.dwMask;
    auto effect = [&](std::uint32_t maskBit, std::uint32_t effectBits) {
        if (m & maskBit) into.dwEffects = (into.dwEffects & ~effectBits) | (from.dwEffects & effectBits);
    };
    effect(CFM_BOLD, CFE_BOLD);
    effect(CFM_ITALIC, CFE_ITALIC);
    effect(CFM_UNDERLINE, CFE_UNDERLINE);
    effect(CFM_STRIKEOUT, CFE_STRIKEOUT);
    for (std::uint32_t bit = 1; bit; bit <<= 1)
        if (bit & kStoredCharEffects) effect(bit, bit);  // each such mask bit equals its effect bit
    effect(CFM_LINK, CFE_LINK);
    effect(CFM_SUBSCRIPT, CFE_SUBSCRIPT);
    effect(CFM_SUPERSCRIPT, CFE_SUPERSCRIPT);
    effect(CFM_COLOR, CFE_AUTOCOLOR);
    effect(CFM_BACKCOLOR, CFE_AUTOBACKCOLOR);
    if ((m & CFM_SUBSCRIPT) && (from.dwEffects & CFE_SUBSCRIPT)) into.dwEffects &= ~CFE_SUPERSCRIPT;
    if ((m & CFM_SUPERSCRIPT) && (from.dwEffects & CFE_SUPERSCRIPT)) into.dwEffects &= ~CFE_SUBSCRIPT;
    if (m & CFM_FACE) {
        into.szFaceName = from.szFaceName;
        into.bPitchAndFamily = from.bPitchAndFamily;
    }
    if (m & CFM_SIZE) into.yHeight = from.yHeight;
    if (m & CFM_COLOR) into.crTextColor = from.crTextColor;
    if (m & CFM_BACKCOLOR) into.crBackColor = from.crBackColor;
    if (m & CFM_CHARSET) into.bCharSet = from.bCharSet;
    if (m & CFM_OFFSET) into.yOffset = from.yOffset;
    if (m & CFM_WEIGHT) {
        into.wWeight = from.wWeight;
        if (from.wWeight >= 600) into.dwEffects |= CFE_BOLD;
        else into.dwEffects &= ~CFE_BOLD;
    } else if (m & CFM_BOLD) {
        into.wWeight = (from.dwEffects & CFE_BOLD) ? 700 : 400;
    }
    if (m & CFM_UNDERLINETYPE) {
        into.bUnderlineType = from.bUnderlineType;
        if ((from.bUnderlineType & 0x0F) != CFU_UNDERLINENONE && !(m & CFM_UNDERLINE)) into.dwEffects |= CFE_UNDERLINE;
    } else if (m & CFM_UNDERLINE) {
        into.bUnderlineType = (from.dwEffects & CFE_UNDERLINE) ? CFU_UNDERLINE : CFU_UNDERLINENONE;
    }
}

}  // namespace

QTextCharFormat plainTextFormat(QTextCharFormat format) {
    if (format.isImageFormat() || format.objectType() != QTextFormat::NoObject) {
        for (int p : {int(QTextFormat::ObjectType), int(QTextFormat::ImageName), int(QTextFormat::ImageWidth),
                      int(QTextFormat::ImageHeight), int(QTextFormat::ImageQuality), int(PropPictureData),
                      int(PropPictureFormat), int(PropPictureWidthTwips), int(PropPictureHeightTwips)})
            format.clearProperty(p);
        format.setObjectType(QTextFormat::NoObject);
        format = QTextCharFormat(format);
    }
    return format;
}

// ---- Private ---------------------------------------------------------------------------------

Engine::Private::Private(Engine* owner) : q(owner), doc(nullptr), layout(nullptr) {
    layoutDevice = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    layoutDevice.setDotsPerMeterX(qRound(kDotsPerMeterAt96Dpi));
    layoutDevice.setDotsPerMeterY(qRound(kDotsPerMeterAt96Dpi));
    textLimit = kDefaultTextLimit;

    defaultFormat.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_LINK | CFM_SUBSCRIPT |
                           CFM_SUPERSCRIPT | CFM_WEIGHT | CFM_UNDERLINETYPE | CFM_BACKCOLOR | CFM_CHARSET |
                           CFM_OFFSET | CFM_FACE | CFM_COLOR | CFM_SIZE | CFM_PROTECTED;
    defaultFormat.dwEffects = CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR;
    defaultFormat.yHeight = 200;
    defaultFormat.wWeight = 400;
    defaultFormat.bCharSet = DEFAULT_CHARSET;
    setFaceName(defaultFormat, QApplication::font().family());
}

Engine::Private::~Private() = default;

void Engine::Private::adoptDocument(QTextDocument* fresh) {
    fresh->setParent(q);
    fresh->setUndoRedoEnabled(false);
    fresh->setDocumentMargin(0);
    fresh->setUseDesignMetrics(true);
    if (doc) {
        fresh->setDefaultFont(doc->defaultFont());
        fresh->setDefaultTextOption(doc->defaultTextOption());
        fresh->setTextWidth(doc->textWidth());
    }
    auto* freshLayout = new ParagraphLayout(fresh);
    freshLayout->setPaintDevice(&layoutDevice);
    fresh->setDocumentLayout(freshLayout);
    QObject::connect(fresh, &QTextDocument::contentsChange, q, [this](int from, int removed, int added) {
        const bool cacheWasCurrent = textCacheRevision == contentRevision;
        ++contentRevision;
        numbersChangedFrom = std::min(numbersChangedFrom, from);
        if (cacheWasCurrent) patchTextCache(from, removed, added);
    });
    QObject::connect(freshLayout, &QAbstractTextDocumentLayout::documentSizeChanged, q, [this] { updateScrollBars(); });
    QObject::connect(freshLayout, &ParagraphLayout::completed, q, &Engine::layoutCompleted);
    std::unique_ptr<QTextDocument> old(doc);
    doc = fresh;
    layout = freshLayout;
    ++contentRevision;
    numbersChangedFrom = 0;
    formatCache.reset();
    insertionFormat.reset();
    hoverLink = {-1, -1};
}

const QString& Engine::Private::rawText() const {
    auto* self = const_cast<Private*>(this);
    if (textCacheRevision != contentRevision) {
        self->textCache = doc->toRawText();
        self->textCache.chop(std::max<qsizetype>(0, self->textCache.size() - length()));
        self->textCacheRevision = contentRevision;
    }
    return textCache;
}

void Engine::Private::patchTextCache(int from, int removed, int added) {
    // Keep the cached text in step with a small edit instead of reading the whole document again.
    const int n = length();
    if (from < 0 || removed < 0 || added < 0 || from + removed > textCache.size() || from + added > n) return;
    QString inserted;
    inserted.reserve(added);
    for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() < from + added; block = block.next()) {
        const int start = std::max(from, block.position());
        const int end = std::min(from + added, block.position() + block.length());  // the break included
        inserted += QStringView(block.text()).mid(start - block.position(), std::min(end, block.position() + block.length() - 1) - start);
        if (end == block.position() + block.length() && end <= from + added) inserted += QChar::ParagraphSeparator;
    }
    textCache.replace(from, removed, inserted);
    if (textCache.size() == n) textCacheRevision = contentRevision;
}

QTextCharFormat Engine::Private::typingFormat(int position) const {
    if (insertionFormat && position == selection().cpMin) return *insertionFormat;
    QTextCursor c(doc);
    c.setPosition(std::clamp(position, 0, length()));
    if (isPlain()) c.setPosition(length() > 0 ? 1 : 0);
    // At the start of a table cell the text takes the cell's own format, not the previous cell's mark.
    const QTextBlock block = c.block();
    const int at = c.position();
    if (!isPlain() && at > block.position() && at < block.position() + block.length() - 1 &&
        rawText()[at - 1] == u'\t' && isTableRow(block.blockFormat()))
        c.setPosition(at + 1);
    QTextCharFormat f = plainTextFormat(c.charFormat());
    f.setAnchor(false);
    f.clearProperty(QTextFormat::AnchorHref);
    // Typed text is shown and can be taken back: it is neither hidden nor protected like its neighbour.
    CHARFORMAT2 shown;
    shown.dwMask = CFM_HIDDEN | CFM_PROTECTED;
    applyCharFormat(shown, f);
    return f;
}

int Engine::Private::capacityFor(int replacedLength) const {
    return std::max(0, textLimit - (length() - replacedLength));
}

int Engine::Private::replaceRange(int from, int to, const std::function<void(QTextCursor&)>& insert, UndoMode undo,
                                  EditOrigin origin, ProtectedText protection) {
    from = std::clamp(from, 0, length());
    to = std::clamp(to, from, length());
    if (protection == ProtectedText::Refuse && changesProtectedText(from, to)) return 0;
    const CHARRANGE before = selection();
    const bool record = undo == UndoMode::Record && history.limit() > 0;
    UndoCommand* run = (record && origin == EditOrigin::Typing && from == to) ? history.typingRunAt(from) : nullptr;
    Fragment old = (record && !run) ? Fragment::capture(*doc, from, to) : Fragment{};

    QTextCursor c(doc);
    c.beginEditBlock();
    const int keptMarks = removeKeepingCellMarks(c, from, to);
    insert(c);
    c.endEditBlock();
    const int inserted = c.position() - from;
    if (keptMarks == to - from && inserted == 0) return 0;  // only cell marks were to go: nothing changed

    const CHARRANGE after{from + inserted, from + inserted};
    if (run) {
        run->newLength += inserted;
        run->selectionAfter = after;
    } else if (record) {
        UndoCommand command;
        command.kind = UndoCommand::Kind::Replace;
        command.origin = origin == EditOrigin::Typing ? UndoCommand::Origin::Typing : UndoCommand::Origin::Other;
        command.pos = from;
        command.oldLength = to - from;
        command.newLength = inserted + keptMarks;
        command.stored = std::move(old);
        command.selectionBefore = before;
        command.selectionAfter = after;
        history.push(std::move(command));
    } else if (undo == UndoMode::NotRecorded) {
        history.clear();
    }
    anchor = caret = after.cpMin;
    insertionFormat.reset();
    // the paragraph before a removed break changes too
    const bool selectionWasHere = before.cpMin >= from && before.cpMax <= to;
    contentChanged(!selectionWasHere ? -1 : from > 0 && to > from ? from - 1 : from);
    return inserted;
}

int Engine::Private::insertText(int from, int to, const QString& text, UndoMode undo, EditOrigin origin) {
    QStringList parts = splitParagraphs(text);
    // The text limit cuts what does not fit (a break counts one character).
    int room = capacityFor(std::clamp(to, 0, length()) - std::clamp(from, 0, length()));
    QStringList kept;
    for (qsizetype i = 0; i < parts.size() && room > 0; ++i) {
        if (i > 0) --room;
        if (room < 0) break;
        kept.append(parts[i].left(room));
        room -= int(kept.back().size());
    }
    if (kept.isEmpty() && from == to) return 0;
    const QTextCharFormat format = typingFormat(from);
    return replaceRange(
        from, to,
        [&](QTextCursor& c) {
            for (qsizetype i = 0; i < kept.size(); ++i) {
                if (i > 0) c.insertBlock(continuingFormat(c.blockFormat()), format);
                if (!kept[i].isEmpty()) c.insertText(kept[i], format);
            }
        },
        undo, origin);
}

void Engine::Private::setSelection(int newAnchor, int newCaret, bool scroll) {
    newAnchor = std::clamp(newAnchor, 0, length());
    newCaret = std::clamp(newCaret, 0, length());
    if (newAnchor != anchor || newCaret != caret) {
        anchor = newAnchor;
        caret = newCaret;
        insertionFormat.reset();
        history.closeTypingRun();
        caretVisible = true;
        q->viewport()->update();
    }
    if (scroll) ensureVisible(caret);
    notifySelection();
}

void Engine::Private::notifySelection() {
    const CHARRANGE now = selection();
    if (now == lastReportedSelection) return;
    lastReportedSelection = now;
    if (eventMask & ENM_SELCHANGE) emit q->selectionChanged(now);
}

void Engine::Private::notifyChange() {
    if (eventMask & ENM_CHANGE) emit q->changed();
}

void Engine::Private::contentChanged(int from) {
    modified = true;
    caretVisible = true;
    updateScrollBars();
    const bool moved = layout->changesMovedWhatFollows();
    if (from < 0) {
        q->viewport()->update();
    } else {
        const QRectF block = doc->documentLayout()->blockBoundingRect(doc->findBlock(std::clamp(from, 0, length())));
        const QPointF top = toView(QPointF(0, block.top()));
        const QPointF bottom = toView(QPointF(0, block.bottom()));
        const int viewWidth = q->viewport()->width();
        if (moved || doc->blockCount() != lastBlockCount)
            q->viewport()->update(QRect(0, int(top.y()) - 2, viewWidth, q->viewport()->height()));
        else
            q->viewport()->update(QRect(0, int(top.y()) - 2, viewWidth, int(bottom.y() - top.y()) + 4));
    }
    lastBlockCount = doc->blockCount();
    notifyChange();
    notifySelection();
}

void Engine::Private::recordFormatChange(int from, int to, Fragment before, const CHARRANGE& selectionBefore) {
    if (history.limit() > 0) {
        UndoCommand command;
        command.kind = UndoCommand::Kind::Format;
        command.pos = from;
        command.oldLength = command.newLength = to - from;
        command.stored = std::move(before);
        command.selectionBefore = selectionBefore;
        command.selectionAfter = selection();
        history.push(std::move(command));
    }
}

void Engine::Private::undoRedo(bool undoing) {
    CHARRANGE sel;
    if (!(undoing ? history.undo(*doc, sel) : history.redo(*doc, sel))) return;
    anchor = sel.cpMin;
    caret = sel.cpMax;
    insertionFormat.reset();
    contentChanged();
    ensureVisible(caret);
}

CHARRANGE Engine::Private::wordAt(int position) const {
    const QString& text = rawText();
    const int n = int(text.size());
    position = std::clamp(position, 0, n);
    int start = position;
    int end = position;
    if (position < n && isWordChar(text[position])) {
        while (start > 0 && isWordChar(text[start - 1])) --start;
        while (end < n && isWordChar(text[end])) ++end;
    } else if (position > 0 && isWordChar(text[position - 1])) {
        while (start > 0 && isWordChar(text[start - 1])) --start;
    } else if (position < n && !isBreakChar(text[position])) {
        end = position + 1;  // a lone punctuation character or space
    }
    return {start, end};
}

int Engine::Private::nextWordStart(int position) const {
    const QString& text = rawText();
    const int n = int(text.size());
    if (position >= n) return n;
    if (isBreakChar(text[position])) return position + 1;
    if (isWordChar(text[position])) {
        while (position < n && isWordChar(text[position])) ++position;
    } else if (!text[position].isSpace()) {
        ++position;
    }
    while (position < n && text[position].isSpace() && !isBreakChar(text[position])) ++position;
    return position;
}

int Engine::Private::previousWordStart(int position) const {
    const QString& text = rawText();
    if (position <= 0) return 0;
    --position;
    if (isBreakChar(text[position])) return position;
    while (position > 0 && text[position].isSpace() && !isBreakChar(text[position])) --position;
    if (isBreakChar(text[position])) return position + 1;
    if (isWordChar(text[position])) {
        while (position > 0 && isWordChar(text[position - 1])) --position;
    }
    return position;
}

// ---- Engine: text and selection -------------------------------------------------------------

Engine::Engine(QWidget* parent) : QAbstractScrollArea(parent), d(std::make_unique<Private>(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    d->adoptDocument(new QTextDocument);
    d->doc->setDefaultFont(QFont(faceName(d->defaultFormat), 10));
    d->updateLayoutWidth();
}

Engine::~Engine() = default;

CHARRANGE Engine::exGetSel() const { return d->selection(); }

void Engine::exSetSel(CHARRANGE range) {
    const int n = d->length();
    int from = range.cpMin;
    int to = range.cpMax;
    if (from == 0 && to == -1) {
        d->setSelection(0, n);
        return;
    }
    if (from < 0) {  // a negative start: no selection, the caret at the end of the selection
        d->setSelection(d->selection().cpMax, d->selection().cpMax);
        return;
    }
    if (to < 0 || to > n) to = n;
    from = std::min(from, n);
    // the caret goes to cpMax, so that a backward range keeps its active end
    d->setSelection(from, to);
}

void Engine::setSel(int start, int end) { exSetSel({start, end}); }

void Engine::scrollCaret() { d->ensureVisible(d->caret); }

QString Engine::getTextRange(int cpMin, int cpMax) const {
    const QString& text = d->rawText();
    const int n = int(text.size());
    if (cpMax < 0 || cpMax > n) cpMax = n;
    cpMin = std::clamp(cpMin, 0, n);
    if (cpMax <= cpMin) return {};
    QString out = text.mid(cpMin, cpMax - cpMin);
    for (QChar& c : out) {
        if (c == QChar::ParagraphSeparator) c = u'\r';
        else if (c == QChar::LineSeparator) c = u'\v';
    }
    return out;
}

void Engine::replaceSel(const QString& text, bool canUndo) {
    const CHARRANGE sel = d->selection();
    d->insertText(sel.cpMin, sel.cpMax, text, canUndo ? UndoMode::Record : UndoMode::NotRecorded, EditOrigin::Other);
    d->history.closeTypingRun();
    d->ensureVisible(d->caret);
}

int Engine::getTextLength(TextLengthMode mode) const {
    const int n = d->length();
    return mode == TextLengthMode::CrLf ? n + d->doc->blockCount() - 1 : n;
}

QString Engine::windowText() const {
    QString out;
    const QString& text = d->rawText();
    out.reserve(text.size() + d->doc->blockCount());
    for (QChar c : text) {
        if (c == QChar::ParagraphSeparator) out += QStringLiteral("\r\n");
        else if (c == QChar::LineSeparator) out += u'\v';
        else out += c;
    }
    return out;
}

void Engine::setWindowText(const QString& text) {
    d->insertionFormat.reset();
    const QTextCharFormat format = d->typingFormat(0);
    const QStringList parts = splitParagraphs(text);
    d->replaceRange(
        0, d->length(),
        [&](QTextCursor& c) {
            for (qsizetype i = 0; i < parts.size(); ++i) {
                if (i > 0) c.insertBlock(c.blockFormat(), format);
                if (!parts[i].isEmpty()) c.insertText(parts[i], format);
            }
        },
        UndoMode::NotRecorded, EditOrigin::Other, ProtectedText::Replace);
    d->anchor = d->caret = 0;
    d->modified = false;
    d->notifySelection();
}

int Engine::selectionType() const {
    const CHARRANGE sel = d->selection();
    if (sel.cpMin == sel.cpMax) return SEL_EMPTY;
    const QString& text = d->rawText();
    int objects = 0;
    for (int i = sel.cpMin; i < sel.cpMax; ++i)
        if (text[i] == QChar::ObjectReplacementCharacter) ++objects;
    const int chars = sel.cpMax - sel.cpMin - objects;
    int type = 0;
    if (chars > 0) type |= SEL_TEXT;
    if (chars > 1) type |= SEL_MULTICHAR;
    if (objects == 1) type |= SEL_OBJECT;
    if (objects > 1) type |= SEL_OBJECT | SEL_MULTIOBJECT;
    return type;
}

void Engine::clearAll() {
    d->doc->clear();
    StyleSheet::drop(*d->doc);
    d->history.clear();
    d->insertionFormat.reset();
    d->anchor = d->caret = 0;
    d->contentChanged();
    d->modified = false;
}

// ---- modified flag, undo --------------------------------------------------------------------

bool Engine::getModify() const { return d->modified; }
void Engine::setModify(bool modified) { d->modified = modified; }
bool Engine::undo() {
    if (!d->history.canUndo()) return false;
    d->undoRedo(true);
    return true;
}
bool Engine::redo() {
    if (!d->history.canRedo()) return false;
    d->undoRedo(false);
    return true;
}
bool Engine::canUndo() const { return d->history.canUndo(); }
bool Engine::canRedo() const { return d->history.canRedo(); }

int Engine::setUndoLimit(int limit) {
    d->requestedUndoLimit = std::max(0, limit);
    d->history.setLimit(d->requestedUndoLimit);
    if (limit > 1) d->textMode = (d->textMode & ~TM_SINGLELEVELUNDO) | TM_MULTILEVELUNDO;
    return d->history.limit();
}
int Engine::undoLimit() const { return d->history.limit(); }

// ---- notifications --------------------------------------------------------------------------

std::uint32_t Engine::eventMask() const { return d->eventMask; }
std::uint32_t Engine::setEventMask(std::uint32_t mask) {
    const std::uint32_t previous = d->eventMask;
    d->eventMask = mask;
    d->lastReportedSelection = d->selection();
    return previous;
}

// ---- modes and options ----------------------------------------------------------------------

bool Engine::setTextMode(std::uint32_t mode) {
    if (d->length() > 0) return false;
    std::uint32_t next = d->textMode;
    if (mode & TM_PLAINTEXT) next = (next & ~TM_RICHTEXT) | TM_PLAINTEXT;
    else if (mode & TM_RICHTEXT) next = (next & ~TM_PLAINTEXT) | TM_RICHTEXT;
    if (mode & TM_SINGLELEVELUNDO) {
        next = (next & ~TM_MULTILEVELUNDO) | TM_SINGLELEVELUNDO;
        d->history.setLimit(std::min(d->history.limit(), 1));
    } else if (mode & TM_MULTILEVELUNDO) {
        next = (next & ~TM_SINGLELEVELUNDO) | TM_MULTILEVELUNDO;
        d->history.setLimit(d->requestedUndoLimit);
    }
    if ((next & TM_PLAINTEXT) != (d->textMode & TM_PLAINTEXT)) {
        // A change of mode starts from an empty document with the default format.
        d->doc->clear();
        StyleSheet::drop(*d->doc);
        d->insertionFormat.reset();
        d->history.clear();
    }
    d->textMode = next;
    viewport()->update();
    return true;
}

std::uint32_t Engine::textMode() const { return d->textMode; }

void Engine::setBackgroundColor(const QColor& color) {
    d->background = color;
    viewport()->update();
}

void Engine::exLimitText(int limit) { d->textLimit = limit <= 0 ? kZeroTextLimit : limit; }
int Engine::textLimit() const { return d->textLimit; }

std::uint32_t Engine::getOptions() const { return d->options; }
void Engine::setOptions(std::uint32_t options) {
    d->options = options;
    d->updateLayoutWidth();
    viewport()->update();
}

void Engine::setAutoUrlDetect(bool on) {
    d->autoUrl = on;
    d->hoverLink = {-1, -1};
    viewport()->update();
}
bool Engine::autoUrlDetect() const { return d->autoUrl; }

void Engine::setWordWrap(bool on) {
    if (d->wordWrap == on) return;
    d->wordWrap = on;
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    d->updateLayoutWidth();
}
bool Engine::wordWrap() const { return d->wordWrap; }

void Engine::setHideSelection(bool hide) {
    d->hideSelection = hide;
    viewport()->update();
}

bool Engine::setZoom(int numerator, int denominator) {
    if (numerator == 0 && denominator == 0) {
        d->zoomNum = d->zoomDen = 0;
    } else {
        if (numerator <= 0 || denominator <= 0) return false;
        const double ratio = double(numerator) / denominator;
        if (ratio < 1.0 / 64 || ratio > 64) return false;
        d->zoomNum = numerator;
        d->zoomDen = denominator;
    }
    d->updateLayoutWidth();
    d->ensureVisible(d->caret);
    viewport()->update();
    return true;
}

void Engine::getZoom(int& numerator, int& denominator) const {
    numerator = d->zoomNum;
    denominator = d->zoomDen;
}

void Engine::setRect(const QRect& rect) {
    d->formatRect = rect.normalized();
    d->updateLayoutWidth();
    viewport()->update();
}

QRect Engine::getRect() const { return d->effectiveFormatRect(); }

// ---- formats --------------------------------------------------------------------------------

CHARFORMAT2 Engine::getCharFormat(std::uint32_t scope) const {
    if (scope == SCF_DEFAULT) return d->defaultFormat;
    CHARRANGE sel = d->selection();
    if (d->isPlain() && d->length() > 0) sel = {0, 1};
    if (sel.cpMin == sel.cpMax) return charFormatFrom(d->typingFormat(sel.cpMin), d->defaultFormat);

    bool first = true;
    CHARFORMAT2 acc;
    for (QTextBlock block = d->doc->findBlock(sel.cpMin); block.isValid() && block.position() < sel.cpMax;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.position() + frag.length() <= sel.cpMin || frag.position() >= sel.cpMax) continue;
            const CHARFORMAT2 cf = charFormatFrom(frag.charFormat(), d->defaultFormat);
            if (first) {
                acc = cf;
                first = false;
            } else {
                intersectCharFormat(acc, cf);
            }
        }
    }
    // A selection of paragraph breaks only reports the paragraph's own format.
    return first ? charFormatFrom(d->typingFormat(sel.cpMin), d->defaultFormat) : acc;
}

bool Engine::setCharFormat(std::uint32_t scope, const CHARFORMAT2& format) {
    if (scope == SCF_DEFAULT && !d->isPlain()) {
        mergeCharRecord(d->defaultFormat, format);
        QFont font(faceName(d->defaultFormat));
        font.setPointSizeF(std::max(1, d->defaultFormat.yHeight) / 20.0);
        font.setWeight(QFont::Weight(std::clamp<int>(d->defaultFormat.wWeight ? d->defaultFormat.wWeight : 400, 1, 1000)));
        font.setItalic(d->defaultFormat.dwEffects & CFE_ITALIC);
        font.setStyleStrategy(d->doc->defaultFont().styleStrategy());  // the language options' font merging
        // The same font again (the widget hands its font over whenever it is polished) changes nothing
        // and lays nothing out again.
        if (font != d->doc->defaultFont()) {
            d->doc->setDefaultFont(font);
            d->layout->relayout();
            d->updateScrollBars();
            viewport()->update();
        }
        return true;
    }
    CHARRANGE range = d->selection();
    if (d->isPlain() || scope & SCF_ALL) {
        range = {0, d->length()};
        if (d->isPlain()) mergeCharRecord(d->defaultFormat, format);
    } else if ((scope & SCF_WORD) && range.cpMin == range.cpMax) {
        range = d->wordAt(range.cpMin);
    }
    if (range.cpMin == range.cpMax || d->isPlain() || (scope & SCF_ALL)) {
        QTextCharFormat f = d->typingFormat(d->selection().cpMin);
        applyCharFormat(format, f);
        d->insertionFormat = f;
        if (range.cpMin == range.cpMax) return true;
    }

    const CHARRANGE selectionBefore = d->selection();
    Fragment before = Fragment::capture(*d->doc, range.cpMin, range.cpMax);
    struct Piece {
        int from, to;
        QTextCharFormat format;
    };
    std::vector<Piece> pieces;
    std::vector<QTextBlock> emptyBlocks;
    for (QTextBlock block = d->doc->findBlock(range.cpMin); block.isValid() && block.position() <= range.cpMax;
         block = block.next()) {
        if (block.length() == 1) emptyBlocks.push_back(block);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int a = std::max(range.cpMin, frag.position());
            const int b = std::min(range.cpMax, frag.position() + frag.length());
            if (a >= b) continue;
            QTextCharFormat f = frag.charFormat();
            applyCharFormat(format, f);
            pieces.push_back({a, b, f});
        }
    }
    QTextCursor c(d->doc);
    c.beginEditBlock();
    for (const Piece& piece : pieces) {
        c.setPosition(piece.from);
        c.setPosition(piece.to, QTextCursor::KeepAnchor);
        c.setCharFormat(piece.format);
    }
    for (const QTextBlock& block : emptyBlocks) {
        QTextCharFormat f = block.charFormat();
        applyCharFormat(format, f);
        c.setPosition(block.position());
        c.setBlockCharFormat(f);
    }
    c.endEditBlock();
    d->recordFormatChange(range.cpMin, range.cpMax, std::move(before), selectionBefore);
    d->contentChanged();
    return true;
}

PARAFORMAT2 Engine::getParaFormat() const {
    CHARRANGE sel = d->selection();
    if (d->isPlain()) sel = {0, 0};
    const int last = sel.cpMax > sel.cpMin ? sel.cpMax - 1 : sel.cpMax;
    QTextBlock block = d->doc->findBlock(sel.cpMin);
    PARAFORMAT2 acc = paraFormatFrom(block.blockFormat());
    for (block = block.next(); block.isValid() && block.position() <= last; block = block.next())
        intersectParaFormat(acc, paraFormatFrom(block.blockFormat()));
    return acc;
}

bool Engine::setParaFormat(const PARAFORMAT2& format) {
    CHARRANGE sel = d->selection();
    if (d->isPlain()) sel = {0, d->length()};
    const int last = sel.cpMax > sel.cpMin ? sel.cpMax - 1 : sel.cpMax;
    const QTextBlock firstBlock = d->doc->findBlock(sel.cpMin);
    const QTextBlock lastBlock = d->doc->findBlock(std::max(sel.cpMin, last));
    const int from = firstBlock.position();
    const int to = lastBlock.position() + lastBlock.length() - 1;
    const CHARRANGE selectionBefore = d->selection();
    Fragment before = Fragment::capture(*d->doc, from, to, Fragment::Content::ParagraphFormatsOnly);
    QTextCursor c(d->doc);
    c.beginEditBlock();
    for (QTextBlock block = firstBlock; block.isValid() && block.position() <= lastBlock.position(); block = block.next()) {
        QTextBlockFormat f = block.blockFormat();
        applyParaFormat(format, f);
        c.setPosition(block.position());
        c.setBlockFormat(f);
    }
    c.endEditBlock();
    d->recordFormatChange(from, to, std::move(before), selectionBefore);
    d->contentChanged();
    return true;
}

void Engine::setTypographyOptions(std::uint32_t options) { d->typography = options; }
std::uint32_t Engine::typographyOptions() const { return d->typography; }

const QTextDocument* Engine::document() const { return d->doc; }

}  // namespace richedit
