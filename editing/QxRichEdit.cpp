#include "editing/QxRichEdit.h"

#include "platform/errors.h"
#include "platform/richedit/engine.h"

#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>

#include <cmath>

using namespace richedit;

namespace {

// Change, selection change, resize requests, protected text and links.
constexpr std::uint32_t kEventMask = ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE | ENM_PROTECTED | ENM_LINK;
constexpr int kUnlimitedText = 0xFFFFFF;
constexpr std::uint32_t kAdvancedTypography = 0x0001;  // TO_ADVANCEDTYPOGRAPHY

int screenVerticalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? std::max(1, qRound(screen->logicalDotsPerInchY())) : 96;
}

QByteArray streamOutToMemory(Engine& engine, std::uint32_t format, bool& ok) {
    QByteArray data;
    EDITSTREAM stream;
    stream.pfnCallback = [&data](char* buffer, int count, int& transferred) -> std::uint32_t {
        data.append(buffer, count);
        transferred = count;
        return 0;
    };
    engine.streamOut(format, stream);
    ok = stream.dwError == 0;
    return data;
}

// The widget that receives the engine's key and focus events.
QWidget* keyTargetOf(Engine& engine) {
    QWidget* target = &engine;
    while (target->focusProxy()) target = target->focusProxy();
    return target;
}

bool streamInFromMemory(Engine& engine, std::uint32_t format, const QByteArray& data) {
    qsizetype offset = 0;
    EDITSTREAM stream;
    stream.pfnCallback = [&data, &offset](char* buffer, int count, int& transferred) -> std::uint32_t {
        const qsizetype n = std::min<qsizetype>(count, data.size() - offset);
        std::copy_n(data.constData() + offset, n, buffer);
        offset += n;
        transferred = int(n);
        return 0;
    };
    engine.streamIn(format, stream);
    return stream.dwError == 0;
}

}  // namespace

TQxRichEdit::TQxRichEdit(QWidget* parent)
    : QWidget(parent),
      defaultAttributes_(*this, TAttributeKind::Default),
      selAttributes_(*this, TAttributeKind::Selection),
      wordAttributes_(*this, TAttributeKind::Word),
      paragraph_(*this),
      screenLogPixels_(screenVerticalDpi()),
      oleCallback_(MakeObjectCallback()) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
}

TQxRichEdit::~TQxRichEdit() {
    // The engine goes first, while the control it notifies is still whole; the object callback last.
    if (engine_) {
        DisconnectEngine(*engine_);
        engine_->setObjectCallback(nullptr);
        delete engine_.data();
    }
}

// ---- engine window ------------------------------------------------------------------------------

Engine& TQxRichEdit::HandleNeeded() {
    if (!engine_) {
        engine_ = BuildEngineWindow(std::nullopt);
        engine_->setModify(modified_);
    }
    return *engine_;
}

Engine* TQxRichEdit::BuildEngineWindow(const std::optional<SavedContent>& content) {
    auto* engine = new Engine(this);
    engine->setGeometry(rect());
    engine->setWordWrap(wordWrap_);
    ApplyScrollBars(*engine);  // after the wrap, which has its own idea of the horizontal bar
    engine->setHideSelection(hideSelection_);
    ConnectEngine(*engine);
    Engine* previous = engine_;
    engine_ = engine;  // notifications raised while the window is set up see the new window
    setFocusProxy(engine);

    // The toolkit hands the control's font to a new window: it becomes the default format.
    AssignFontToDefaultFormat();
    engine->setEventMask(kEventMask);
    engine->setBackgroundColor(platform::resolveColor(color_, platform::clWindow, palette()));
    engine->exLimitText(maxLength_ == 0 ? kUnlimitedText : maxLength_);
    ApplyOptions(*engine);
    engine->setAutoUrlDetect(autoUrlDetect_);
    undoLimit_ = engine->setUndoLimit(undoLimit_);
    engine->setTextMode(TextModeFlags(plainText_ ? TextMode::Plain : TextMode::Rich));
    engine->setTypographyOptions(advancedTypography_ ? kAdvancedTypography : 0);
    ApplyObjectSettings(*engine);
    if (content && !streamInFromMemory(*engine, content->format, content->data)) {
        // The copy could not be read back: keep the previous window rather than lose the document.
        DisconnectEngine(*engine);
        delete engine;
        engine_ = previous;
        setFocusProxy(previous);
        if (previous) keyTarget_ = keyTargetOf(*previous);
        return nullptr;
    }
    engine->exSetSel({0, 0});
    if (isVisible()) engine->show();
    return engine;
}

void TQxRichEdit::RecreateWnd() {
    if (!engine_) return;
    Engine* old = engine_;
    modified_ = old->getModify();
    advancedTypography_ = (old->typographyOptions() & kAdvancedTypography) != 0;
    const bool hadFocus = old->hasFocus() || (KeyTarget() && KeyTarget()->hasFocus());

    SavedContent saved;
    saved.format = plainText_ ? SF_TEXT : SF_RTF;
    bool ok = false;
    saved.data = streamOutToMemory(*old, saved.format, ok);
    Engine* rebuilt = ok ? BuildEngineWindow(saved) : nullptr;
    if (!rebuilt) {
        // The document could not travel through memory: change the old window in place instead.
        old->setWordWrap(wordWrap_);
        ApplyScrollBars(*old);
        ApplyOptions(*old);
        return;
    }
    rebuilt->setModify(modified_);
    DiscardEngineWindow(old);
    if (hadFocus) rebuilt->setFocus();
}

void TQxRichEdit::DiscardEngineWindow(Engine* engine) {
    // Destroyed later: the request to rebuild may come from inside one of its own notifications.
    DisconnectEngine(*engine);
    engine->hide();
    engine->deleteLater();
}

void TQxRichEdit::ConnectEngine(Engine& engine) {
    connect(&engine, &Engine::selectionChanged, this, [this] { EngineSelectionChanged(); });
    connect(&engine, &Engine::changed, this, [this] {
        QPointer<TQxRichEdit> self(this);
        if (OnChange) OnChange(this);
        if (self) emit StateChanged();
    });
    connect(&engine, &Engine::link, this,
            [this](MouseMessage message, CHARRANGE range) { EngineLink(message, range); });
    connect(&engine, &Engine::mouseButtonPressed, this,
            [this](Qt::MouseButton button, QPoint position) { EngineMousePressed(button, position); });
    connect(&engine, &Engine::mouseButtonReleased, this,
            [this](Qt::MouseButton button, QPoint position) { EngineMouseReleased(button, position); });
    connect(&engine, &Engine::formatKeyApplied, this, [this] {
        if (OnFormatKey) OnFormatKey(this);
    });
    keyTarget_ = keyTargetOf(engine);
    keyTarget_->installEventFilter(this);
}

void TQxRichEdit::DisconnectEngine(Engine& engine) {
    engine.disconnect(this);
    QWidget* target = keyTargetOf(engine);
    target->removeEventFilter(this);
    if (keyTarget_ == target) keyTarget_ = nullptr;
}

QWidget* TQxRichEdit::KeyTarget() const { return keyTarget_; }

void TQxRichEdit::ApplyScrollBars(Engine& engine) const {
    const bool vertical = scrollBars_ == TScrollStyle::Vertical || scrollBars_ == TScrollStyle::Both;
    const bool horizontal =
        (scrollBars_ == TScrollStyle::Horizontal || scrollBars_ == TScrollStyle::Both) && !wordWrap_;
    const Qt::ScrollBarPolicy shown = hideScrollBars_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    engine.setVerticalScrollBarPolicy(vertical ? shown : Qt::ScrollBarAlwaysOff);
    engine.setHorizontalScrollBarPolicy(horizontal ? shown : Qt::ScrollBarAlwaysOff);
}

void TQxRichEdit::ApplyOptions(Engine& engine) const {
    std::uint32_t options = engine.getOptions();
    options = wordSelection_ ? (options | ECO_AUTOWORDSELECTION) : (options & ~ECO_AUTOWORDSELECTION);
    options = selectionBar_ ? (options | ECO_SELECTIONBAR) : (options & ~ECO_SELECTIONBAR);
    engine.setOptions(options);
}

std::uint32_t TQxRichEdit::TextModeFlags(TextMode mode) const {
    return (mode == TextMode::Plain ? TM_PLAINTEXT : TM_RICHTEXT) |
           (undoLimit_ > 1 ? TM_MULTILEVELUNDO : TM_SINGLELEVELUNDO);
}

void TQxRichEdit::showEvent(QShowEvent* event) {
    HandleNeeded().show();
    QWidget::showEvent(event);
}

void TQxRichEdit::resizeEvent(QResizeEvent* event) {
    if (engine_) engine_->setGeometry(QRect(QPoint(0, 0), event->size()));
    QWidget::resizeEvent(event);
}

void TQxRichEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) AssignFontToDefaultFormat();
    QWidget::changeEvent(event);
}

void TQxRichEdit::AssignFontToDefaultFormat() { defaultAttributes_.Assign(font(), fontColor_, fontCharset_); }

void TQxRichEdit::SetFontColor(platform::ColorValue color) {
    fontColor_ = color;
    AssignFontToDefaultFormat();
}

void TQxRichEdit::SetFontCharset(std::uint8_t charset) {
    fontCharset_ = charset;
    AssignFontToDefaultFormat();
}

void TQxRichEdit::SetLines(std::unique_ptr<TQxLines> lines) { lines_ = std::move(lines); }

// ---- selection and text -------------------------------------------------------------------------

int TQxRichEdit::SelStart() { return HandleNeeded().exGetSel().cpMin; }

void TQxRichEdit::SetSelStart(int position) { HandleNeeded().exSetSel({position, position}); }

int TQxRichEdit::SelLength() {
    const CHARRANGE range = HandleNeeded().exGetSel();
    return range.cpMax - range.cpMin;
}

void TQxRichEdit::SetSelLength(int length) {
    Engine& engine = HandleNeeded();
    CHARRANGE range = engine.exGetSel();
    range.cpMax = range.cpMin + length;
    engine.exSetSel(range);
    engine.scrollCaret();
}

QString TQxRichEdit::SelText() {
    Engine& engine = HandleNeeded();
    const CHARRANGE range = engine.exGetSel();
    return engine.getTextRange(range.cpMin, range.cpMax);
}

void TQxRichEdit::SetSelText(const QString& text) {
    SelTextReplacingScope replacing(*this);
    ReplaceSel(text);
}

void TQxRichEdit::SelectAll() { HandleNeeded().setSel(0, -1); }

QString TQxRichEdit::Text() { return HandleNeeded().windowText(); }

void TQxRichEdit::SetText(const QString& text) { HandleNeeded().setWindowText(text); }

void TQxRichEdit::Clear() {
    HandleNeeded().clearAll();
    modified_ = false;
}

void TQxRichEdit::ReplaceSel(const QString& text) {
    Engine& engine = HandleNeeded();
    const CHARRANGE before = engine.exGetSel();
    const int lengthBefore = engine.getTextLength();
    const bool canUndo = undoLimit_ > 1 && (!selTextReplacing_ || forceUndo_);
    engine.replaceSel(text, canUndo);
    // The new text's length as the engine counts it: a CR LF pair is one paragraph break, and the text
    // limit may have cut the text.
    const int inserted = std::max(0, engine.getTextLength() - lengthBefore + (before.cpMax - before.cpMin));
    CHARRANGE range{before.cpMin, before.cpMin + inserted};
    if (selTextReplacing_) range.cpMin = range.cpMax;
    engine.exSetSel(range);
    engine.scrollCaret();
}

bool TQxRichEdit::Modified() const { return engine_ ? engine_->getModify() : modified_; }

void TQxRichEdit::SetModified(bool modified) {
    modified_ = modified;
    if (engine_) engine_->setModify(modified);
}

// ---- undo ---------------------------------------------------------------------------------------

void TQxRichEdit::Undo() { HandleNeeded().undo(); }

void TQxRichEdit::Redo() { HandleNeeded().redo(); }

bool TQxRichEdit::CanUndo() const { return engine_ && engine_->canUndo(); }

bool TQxRichEdit::CanRedo() const { return engine_ && engine_->canRedo(); }

void TQxRichEdit::SetUndoLimit(int limit) {
    if (limit == undoLimit_) return;
    undoLimit_ = limit;
    if (engine_) undoLimit_ = engine_->setUndoLimit(limit);
}

// ---- clipboard ----------------------------------------------------------------------------------

void TQxRichEdit::CutToClipboard() { HandleNeeded().cut(); }
void TQxRichEdit::CopyToClipboard() { HandleNeeded().copy(); }
void TQxRichEdit::PasteFromClipboard() { HandleNeeded().paste(); }
void TQxRichEdit::ClearSelection() { HandleNeeded().clear(); }

// ---- display ------------------------------------------------------------------------------------

int TQxRichEdit::Zoom() const {
    if (!engine_) return 100;
    int numerator = 0;
    int denominator = 0;
    engine_->getZoom(numerator, denominator);
    if (denominator <= 0) return 100;
    return int(std::lround(100.0 * numerator / denominator));
}

void TQxRichEdit::SetZoom(int percent) {
    if (!engine_) return;
    if (percent == 0) engine_->setZoom(0, 0);
    else engine_->setZoom(percent, 100);
}

void TQxRichEdit::SetWordWrap(bool wrap) {
    if (wrap == wordWrap_) return;
    wordWrap_ = wrap;
    RecreateWnd();
}

void TQxRichEdit::SetSelectionBar(bool on) {
    if (on == selectionBar_) return;
    selectionBar_ = on;
    RecreateWnd();
}

void TQxRichEdit::SetHideScrollBars(bool hide) {
    if (hide == hideScrollBars_) return;
    hideScrollBars_ = hide;
    RecreateWnd();
}

void TQxRichEdit::SetScrollBars(TScrollStyle bars) {
    scrollBars_ = bars;
    if (engine_) ApplyScrollBars(*engine_);
}

void TQxRichEdit::SetHideSelection(bool hide) {
    hideSelection_ = hide;
    if (engine_) engine_->setHideSelection(hide);
}

void TQxRichEdit::SetWordSelection(bool on) {
    wordSelection_ = on;
    if (engine_) ApplyOptions(*engine_);
}

bool TQxRichEdit::AutoURLDetect() const { return engine_ ? engine_->autoUrlDetect() : autoUrlDetect_; }

void TQxRichEdit::SetAutoURLDetect(bool detect) {
    if (detect == autoUrlDetect_) return;
    autoUrlDetect_ = detect;
    if (engine_) engine_->setAutoUrlDetect(detect);
}

void TQxRichEdit::SetMaxLength(int length) {
    maxLength_ = length;
    if (engine_) engine_->exLimitText(length == 0 ? kUnlimitedText : length);
}

void TQxRichEdit::SetColor(platform::ColorValue color) {
    color_ = color;
    if (engine_) engine_->setBackgroundColor(platform::resolveColor(color, platform::clWindow, palette()));
}

// ---- text mode ----------------------------------------------------------------------------------

void TQxRichEdit::SetPlainText(bool plain) {
    if (plain == plainText_) return;
    const TextMode mode = plain ? TextMode::Plain : TextMode::Rich;
    if (!engine_) plainText_ = plain;
    else if (lines_) lines_->SwitchTextMode(mode);
    else SwitchTextModeKeepingText(mode);
}

void TQxRichEdit::ApplyTextMode(TextMode mode) {
    Engine& engine = HandleNeeded();
    const std::uint32_t mask = engine.setEventMask(engine.eventMask() & ~ENM_CHANGE);
    engine.setWindowText(QString());
    engine.setTextMode(TextModeFlags(mode));
    plainText_ = mode == TextMode::Plain;
    engine.setEventMask(mask);
}

void TQxRichEdit::SwitchTextModeKeepingText(TextMode mode) {
    Engine& engine = HandleNeeded();
    bool ok = false;
    const QByteArray text = streamOutToMemory(engine, SF_TEXT, ok);
    if (!ok) throw platform::EWriteError(QStringLiteral("Failed to Save Stream"));
    ApplyTextMode(mode);
    if (!streamInFromMemory(engine, SF_TEXT, text)) throw platform::EReadError(QStringLiteral("Failed to Load Stream"));
    engine.exSetSel({0, 0});
    engine.scrollCaret();
}
