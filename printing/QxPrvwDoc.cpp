// The preview control: page pictures, layout at the five scale modes, painting, scrolling, hit test
// and printing of the pictures.
#include "printing/QxPrvwDoc.h"

#include "platform/printer/printer.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// a * b / d with a 64-bit intermediate, rounded half away from zero; -1 for d = 0, as the
// platform's MulDiv answers.
int MulDiv(qint64 a, qint64 b, qint64 d) {
    if (d == 0) return -1;
    const qint64 product = a * b;
    const bool negative = (product < 0) != (d < 0);
    const qint64 magnitude = (std::llabs(product) + std::llabs(d) / 2) / std::llabs(d);
    return int(negative ? -magnitude : magnitude);
}

int ceilDiv(int a, int b) {
    return a / b + (a % b != 0 ? 1 : 0);
}

QRect rectLTRB(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

// The outline a hollow rectangle of pen width 1 draws inside `rect`.
QRect outline(const QRect& rect) {
    return rect.adjusted(0, 0, -1, -1);
}

QPointer<QLabel>& sharedHint() {
    static QPointer<QLabel> hint;
    return hint;
}

}  // namespace

// ---- the control: construction, pages ------------------------------------------------------------

TQxCustomPreviewControl::TQxCustomPreviewControl(QWidget* parent)
    : QAbstractScrollArea(parent),
      deviceInfo_([this] { DeviceInfoChanged(); }),
      options_([this] { OptionsChanged(); }, [this] { ScaleModeChanged(); }),
      selection_([this] { OptionsChanged(); }) {
    pages_.reserve(64);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    hintTimer_.setSingleShot(true);
    hintTimer_.setInterval(500);
    connect(&hintTimer_, &QTimer::timeout, this, [] {
        if (QLabel* hint = sharedHint()) {
            hint->hide();
            hint->clear();
            hint->deleteLater();
            sharedHint() = nullptr;
        }
    });
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setSingleStep(1);
        bar->setPageStep(0);
    }
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) {
        HorzScroll(action, horizontalScrollBar()->sliderPosition());
    });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) {
        VertScroll(action, verticalScrollBar()->sliderPosition());
    });
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        connect(bar, &QScrollBar::sliderReleased, this, &TQxCustomPreviewControl::EndScroll);
    ApplyScrollBarPolicy();
}

TQxCustomPreviewControl::~TQxCustomPreviewControl() {
    destroying_ = true;
    Clear();
}

QPicture* TQxCustomPreviewControl::Add() {
    bool more = true;
    while (more) {
        pages_.push_back(std::make_unique<QPicture>());
        more = DoAddPage(*pages_.back(), int(pages_.size()) - 1);
    }
    Change();
    return pages_.back().get();
}

bool TQxCustomPreviewControl::DoAddPage(QPicture& picture, int index) {
    const int width = int(deviceInfo_.PhysicalWidth());
    const int height = int(deviceInfo_.PhysicalHeight());
    bool needMorePages = false;
    {
        QPainter canvas(&picture);
        // One logical unit is one reference-device pixel; fonts measure at the device's resolution.
        canvas.setFont(QFont(canvas.font(), deviceInfo_.MeasuringDevice()));
        if (OnAddPage)
            OnAddPage(this, index, &canvas,
                      rectLTRB(-int(deviceInfo_.OffsetLeft()), -int(deviceInfo_.OffsetTop()),
                               width + int(deviceInfo_.OffsetRight()), height + int(deviceInfo_.OffsetBottom())),
                      QRect(0, 0, width, height), needMorePages);
    }
    picture.setBoundingRect(QRect(0, 0, width, height));
    return needMorePages;
}

void TQxCustomPreviewControl::Clear() {
    pages_.clear();
    if (!destroying_) Change();
}

// ---- notifications, update bracket --------------------------------------------------------------

void TQxCustomPreviewControl::DeviceInfoChanged() {
    Change();
    if (OnDeviceInfoChange) OnDeviceInfoChange(this);
}

void TQxCustomPreviewControl::OptionsChanged() {
    Change();
    if (OnOptionsChange) OnOptionsChange(this);
}

void TQxCustomPreviewControl::ScaleModeChanged() {
    Change();
    if (OnScaleModeChange) OnScaleModeChange(this);
}

void TQxCustomPreviewControl::BeginUpdate() {
    ++updateCount_;
}

void TQxCustomPreviewControl::EndUpdate() {
    --updateCount_;
    if (updateCount_ < 0) updateCount_ = 0;
    if (updateCount_ == 0) Change();
}

void TQxCustomPreviewControl::Change() {
    CalcSizes();
    UpdateScale();
    CalcSizes();
    UpdateScrollBars();
    if (OnChange) OnChange(this);
    RepaintNow();
}

void TQxCustomPreviewControl::RepaintNow() {
    if (updateCount_ == 0) viewport()->repaint();
}

// ---- layout -----------------------------------------------------------------------------------------

int TQxCustomPreviewControl::ScreenDpiX() const {
    return logicalDpiX();
}

int TQxCustomPreviewControl::ScreenDpiY() const {
    return logicalDpiY();
}

int TQxCustomPreviewControl::ClientWidth() const {
    return viewport()->width();
}

int TQxCustomPreviewControl::ClientHeight() const {
    return viewport()->height();
}

void TQxCustomPreviewControl::CalcSizes() {
    const int s = int(options_.scale_);
    const int sx = ScreenDpiX(), sy = ScreenDpiY();
    const qint64 lx = deviceInfo_.LogPixelsX(), ly = deviceInfo_.LogPixelsY();
    const auto scaledX = [&](std::uint32_t v) { return MulDiv(MulDiv(v, sx, lx), s, 100); };
    const auto scaledY = [&](std::uint32_t v) { return MulDiv(MulDiv(v, sy, ly), s, 100); };
    pagePixelWidth_ = scaledX(deviceInfo_.PhysicalWidth());
    pagePixelHeight_ = scaledY(deviceInfo_.PhysicalHeight());
    offsetLeft_ = scaledX(deviceInfo_.OffsetLeft());
    offsetRight_ = scaledX(deviceInfo_.OffsetRight());
    offsetTop_ = scaledY(deviceInfo_.OffsetTop());
    offsetBottom_ = scaledY(deviceInfo_.OffsetBottom());
    screenPageRect_ = QRect(0, 0, pagePixelWidth_, pagePixelHeight_);
    screenPrintRect_ = rectLTRB(offsetLeft_, offsetTop_, pagePixelWidth_ - offsetRight_, pagePixelHeight_ - offsetBottom_);

    const int cw = ClientWidth(), ch = ClientHeight();
    const int hs = int(options_.HorzSpacing()), vs = int(options_.VertSpacing());
    const int pageCount = PageCount();
    const TQxPreviewScaleMode mode = options_.ScaleMode();
    if (mode == TQxPreviewScaleMode::smFullPage || mode == TQxPreviewScaleMode::smPageWidth) {
        visibleCols_ = visibleRows_ = 1;
    } else if (cw <= pagePixelWidth_ || (mode == TQxPreviewScaleMode::smColsRows && ch <= pagePixelHeight_)) {
        visibleCols_ = visibleRows_ = 1;
    } else if (mode == TQxPreviewScaleMode::smAutoScale) {
        const int cols = std::max((cw - hs) / (hs + pagePixelWidth_), 1);
        visibleCols_ = std::max(std::min(pageCount, cols), 1);
        const int rows = std::max((ch - vs) / (vs + pagePixelHeight_), 1);
        visibleRows_ = std::min(rows, totalRows_);
        if (visibleRows_ > 1 && pageCount < visibleRows_ * visibleCols_)
            visibleRows_ = std::min(ceilDiv(pageCount, visibleCols_), totalRows_);
        if (2 * hs + pagePixelWidth_ >= cw || 2 * vs + pagePixelHeight_ >= ch) {
            visibleCols_ = visibleRows_ = 1;
            options_.scale_ = std::uint32_t(std::max(1, FullPageScale()));
        }
    } else {  // smScale, smColsRows
        const int cols = int(options_.Cols());
        visibleCols_ = std::max(std::min(pageCount, cols), 1);
        visibleRows_ = std::max(std::min(ceilDiv(pageCount, cols), int(options_.Rows())), 1);
    }
    totalRows_ = std::max(ceilDiv(pageCount, visibleCols_), 1);
    virtualHeight_ = (vs + pagePixelHeight_) * totalRows_ + vs;
    virtualWidth_ = (hs + pagePixelWidth_) * visibleCols_ + hs;
}

void TQxCustomPreviewControl::UpdateScale() {
    const int hs = int(options_.HorzSpacing());
    // A computed scale below 1 has no meaning (the client is smaller than the spacing); 1 keeps the
    // layout arithmetic sound.
    const auto store = [this](int scale) { options_.scale_ = std::uint32_t(std::max(1, scale)); };
    switch (options_.ScaleMode()) {
    case TQxPreviewScaleMode::smFullPage:
        options_.cols_ = options_.rows_ = 1;
        store(FullPageScale());
        break;
    case TQxPreviewScaleMode::smPageWidth:
        options_.cols_ = options_.rows_ = 1;
        store(ScaleForSize(0, ClientWidth() - 2 * hs - style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
        break;
    case TQxPreviewScaleMode::smScale:
        visibleCols_ = std::min(visibleCols_, int(options_.Cols()));
        visibleRows_ = std::min(visibleRows_, int(options_.Rows()));
        break;
    case TQxPreviewScaleMode::smAutoScale:
        options_.cols_ = std::uint32_t(visibleCols_);
        options_.rows_ = std::uint32_t(visibleRows_);
        totalRows_ = std::max(ceilDiv(PageCount(), visibleCols_), 1);
        break;
    case TQxPreviewScaleMode::smColsRows:
        store(FullPageScale());
        break;
    }
}

int TQxCustomPreviewControl::ScaleForSize(int h, int w) const {
    int hs = 0, ws = 0;
    if (w != 0) ws = MulDiv(w, 100, MulDiv(deviceInfo_.PhysicalWidth(), ScreenDpiX(), deviceInfo_.LogPixelsX()));
    if (h != 0) hs = MulDiv(h, 100, MulDiv(deviceInfo_.PhysicalHeight(), ScreenDpiY(), deviceInfo_.LogPixelsY()));
    if (w != 0 && h != 0) return std::min(hs, ws);
    return w != 0 ? ws : hs;
}

int TQxCustomPreviewControl::FullPageScale() const {
    const int hs = int(options_.HorzSpacing()), vs = int(options_.VertSpacing());
    return ScaleForSize((ClientHeight() - vs) / visibleRows_ - 2 * vs, (ClientWidth() - hs) / visibleCols_ - 2 * hs);
}

bool TQxCustomPreviewControl::IsPageMode() const {
    switch (options_.ScaleMode()) {
    case TQxPreviewScaleMode::smPageWidth: return false;
    case TQxPreviewScaleMode::smScale: return 2 * int(options_.VertSpacing()) + pagePixelHeight_ <= ClientHeight();
    default: return true;
    }
}

// ---- scroll bars ------------------------------------------------------------------------------------

void TQxCustomPreviewControl::ApplyScrollBarPolicy() {
    const bool horz = scrollBars_ == TQxScrollBars::ssHorizontal || scrollBars_ == TQxScrollBars::ssBoth;
    const bool vert = scrollBars_ == TQxScrollBars::ssVertical || scrollBars_ == TQxScrollBars::ssBoth;
    const Qt::ScrollBarPolicy shown = hideScrollBars_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    setHorizontalScrollBarPolicy(horz ? shown : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vert ? shown : Qt::ScrollBarAlwaysOff);
}

void TQxCustomPreviewControl::UpdateScrollBars() {
    settingBars_ = true;
    const int horzMax = std::max(0, virtualWidth_ - ClientWidth());
    const int vertMax = PageCount() > 0 ? std::max(0, virtualHeight_ - ClientHeight()) : 0;
    horizontalScrollBar()->setRange(0, horzMax);
    verticalScrollBar()->setRange(0, vertMax);
    if (!hideScrollBars_) {
        horizontalScrollBar()->setEnabled(horzMax > 0);
        verticalScrollBar()->setEnabled(vertMax > 0);
    }
    horzPos_ = std::clamp(horzPos_, 0, horzMax);
    vertPos_ = std::clamp(vertPos_, 0, vertMax);
    horizontalScrollBar()->setValue(horzPos_);
    verticalScrollBar()->setValue(vertPos_);
    settingBars_ = false;
}

void TQxCustomPreviewControl::scrollContentsBy(int, int) {
    // The bars report positions that the scrolling code set itself; the view follows those only.
    if (settingBars_) return;
    horzPos_ = horizontalScrollBar()->value();
    vertPos_ = verticalScrollBar()->value();
    viewport()->update();
}

void TQxCustomPreviewControl::HorzScroll(int action, int thumb) {
    if (IsPageMode()) return;
    const int step = pagePixelWidth_ / 3;
    int target = horzPos_;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub: target = horzPos_ - step; break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd: target = horzPos_ + step; break;
    case QAbstractSlider::SliderMove:
        if (thumb == horzPos_) return;
        target = thumb;
        break;
    case QAbstractSlider::SliderToMinimum: target = 0; break;
    case QAbstractSlider::SliderToMaximum: target = virtualWidth_; break;
    default: return;
    }
    QScrollBar* bar = horizontalScrollBar();
    target = std::clamp(target, bar->minimum(), bar->maximum());
    if (OnHorzScroll) OnHorzScroll(this, action, target);
    target = std::clamp(target, bar->minimum(), bar->maximum());
    horzPos_ = target;
    settingBars_ = true;
    bar->setSliderPosition(target);
    bar->setValue(target);
    settingBars_ = false;
    if (OnAfterScroll) OnAfterScroll(this);
    RepaintNow();
}

void TQxCustomPreviewControl::VertScroll(int action, int thumb) {
    const bool pageMode = IsPageMode();
    const int row = int(options_.VertSpacing()) + pagePixelHeight_;
    const int step = std::max(1, pageMode ? row : row / 3);
    int target = vertPos_;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub: target = vertPos_ - step; break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd: target = vertPos_ + step; break;
    case QAbstractSlider::SliderMove:
        target = pageMode ? thumb - thumb % step : thumb;
        if (target == vertPos_) {
            // Keep the thumb where the view is (it snaps to whole rows in page mode).
            settingBars_ = true;
            verticalScrollBar()->setSliderPosition(vertPos_);
            settingBars_ = false;
            return;
        }
        break;
    case QAbstractSlider::SliderToMinimum: target = 0; break;
    case QAbstractSlider::SliderToMaximum: target = virtualHeight_; break;
    default: return;
    }
    ScrollVertTo(target, action);
    if (action != QAbstractSlider::SliderMove) EndScroll();
}

void TQxCustomPreviewControl::ScrollVertTo(int target, int action) {
    QScrollBar* bar = verticalScrollBar();
    target = std::clamp(target, bar->minimum(), bar->maximum());
    if (OnVertScroll) OnVertScroll(this, action, target);
    target = std::clamp(target, bar->minimum(), bar->maximum());
    vertPos_ = target;
    settingBars_ = true;
    bar->setSliderPosition(target);
    bar->setValue(target);
    settingBars_ = false;
    ShowScrollHint(target);
    if (OnAfterScroll) OnAfterScroll(this);
    RepaintNow();
}

void TQxCustomPreviewControl::EndScroll() {
    HideScrollHintLater();
}

void TQxCustomPreviewControl::wheelEvent(QWheelEvent* event) {
    if (verticalScrollBar()->maximum() == 0) {
        event->ignore();
        return;
    }
    const int delta = event->angleDelta().y();
    const int action = delta < 1 ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderPageStepSub;
    const int row = int(options_.VertSpacing()) + pagePixelHeight_;
    const int step = std::max(1, IsPageMode() ? row : row / 3);
    ScrollVertTo(action == QAbstractSlider::SliderPageStepAdd ? vertPos_ + step : vertPos_ - step, action);
    RepaintNow();
    HideScrollHintLater();
    event->accept();
}

// ---- scroll hint -----------------------------------------------------------------------------------

QLabel* TQxCustomPreviewControl::HintWindow() {
    return sharedHint();
}

void TQxCustomPreviewControl::ShowScrollHint(int position) {
    if (!OnScrollHint) return;
    QString text;
    OnScrollHint(this, position, text);
    if (text.isEmpty()) return;
    QPointer<QLabel>& hint = sharedHint();
    if (!hint) {
        hint = new QLabel(nullptr, Qt::ToolTip);
        hint->setObjectName(QStringLiteral("QxScrollHint"));
        hint->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (hint->isHidden()) {
        QPalette palette = hint->palette();
        palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::ToolTipBase));
        palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ToolTipText));
        hint->setPalette(palette);
        hint->setAutoFillBackground(true);
    }
    const QFontMetrics metrics(hint->font());
    const int textWidth = metrics.horizontalAdvance(text);
    const QPoint topLeft(ClientWidth() - textWidth - 12, viewport()->mapFromGlobal(QCursor::pos()).y() - 4);
    hint->setText(text);
    hint->setGeometry(QRect(viewport()->mapToGlobal(topLeft), QSize(textWidth + 6, metrics.height() + 4)));
    hint->show();
    hint->repaint();
}

void TQxCustomPreviewControl::HideScrollHintLater() {
    hintTimer_.start();
}

// ---- rows ---------------------------------------------------------------------------------------------

int TQxCustomPreviewControl::TopRow() const {
    const int row = int(options_.VertSpacing()) + pagePixelHeight_;
    if (row <= 0) return 0;
    const int top = vertPos_ / row + (vertPos_ % row != 0 ? 1 : 0);
    return std::min(top, totalRows_ - 1);
}

void TQxCustomPreviewControl::SetTopRow(int row) {
    const int r = std::max(std::min(row, totalRows_ - 1), 0);
    vertPos_ = r * (int(options_.VertSpacing()) + pagePixelHeight_);
    settingBars_ = true;
    verticalScrollBar()->setValue(vertPos_);
    settingBars_ = false;
    RepaintNow();
}

void TQxCustomPreviewControl::First() {
    SetTopRow(0);
}

void TQxCustomPreviewControl::Prior() {
    SetTopRow(TopRow() - 1);
}

void TQxCustomPreviewControl::Next() {
    SetTopRow(TopRow() + 1);
}

void TQxCustomPreviewControl::Last() {
    SetTopRow(totalRows_);
}

void TQxCustomPreviewControl::resizeEvent(QResizeEvent*) {
    if (settingBars_) return;
    const int top = TopRow();
    Change();
    if (IsPageMode()) SetTopRow(top);
}

// ---- properties ----------------------------------------------------------------------------------------

void TQxCustomPreviewControl::SetSelectedPage(int page) {
    if (selectedPage_ == page) return;
    selectedPage_ = page;
    viewport()->update();
}

void TQxCustomPreviewControl::SetScrollBars(TQxScrollBars bars) {
    scrollBars_ = bars;
    ApplyScrollBarPolicy();
    Change();
}

void TQxCustomPreviewControl::SetHideScrollBars(bool hide) {
    hideScrollBars_ = hide;
    ApplyScrollBarPolicy();
    Change();
}

void TQxCustomPreviewControl::SetColor(platform::ColorValue color) {
    color_ = color;
    viewport()->update();
}

void TQxCustomPreviewControl::SetSingleBorder(bool single) {
    setFrameStyle(single ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

// ---- painting ------------------------------------------------------------------------------------------

void TQxCustomPreviewControl::paintEvent(QPaintEvent*) {
    if (updateCount_ > 0) return;
    const QSize size = viewport()->size();
    if (backBuffer_.size() != size) backBuffer_ = QPixmap(size);
    {
        QPainter buffer(&backBuffer_);
        DrawPreview(buffer, QPoint(horzPos_, vertPos_));
    }
    QPainter screen(viewport());
    screen.drawPixmap(0, 0, backBuffer_);
}

QPoint TQxCustomPreviewControl::PageOrigin(QPoint origin) const {
    const int hs = int(options_.HorzSpacing()), vs = int(options_.VertSpacing());
    const int dx = std::max(hs, (ClientWidth() - (hs + pagePixelWidth_) * visibleCols_) / 2) - origin.x();
    const int dy = IsPageMode() ? std::max(vs, (ClientHeight() - (vs + pagePixelHeight_) * visibleRows_) / 2) - origin.y()
                                : vs - origin.y();
    return {dx, dy};
}

void TQxCustomPreviewControl::DrawPreview(QPainter& canvas, QPoint origin) {
    const int hs = int(options_.HorzSpacing()), vs = int(options_.VertSpacing());
    const int cw = ClientWidth(), ch = ClientHeight();
    const bool pageMode = IsPageMode();
    const QPoint d = PageOrigin(origin);
    const QPalette& palette = this->palette();
    const QColor windowText = platform::resolveColor(platform::clWindowText, palette);
    canvas.fillRect(QRect(QPoint(0, 0), viewport()->size()), platform::resolveColor(color_, palette));
    const int pageCount = PageCount();
    const auto visible = [&](int index, const QRect& sheet) {
        if (index >= pageCount && pageCount > 0) return false;
        const int right = sheet.left() + sheet.width(), bottom = sheet.top() + sheet.height();
        if (pageMode) return sheet.left() >= 0 && sheet.top() >= 0 && right <= cw && bottom <= ch;
        return sheet.left() < cw && sheet.top() < ch && right > 0 && bottom > 0;
    };
    for (int r = 0; r <= std::max(0, pageCount - 1); ++r) {
        QRect sheet = screenPageRect_.translated(d.x(), (vs + pagePixelHeight_) * r + d.y());
        QRect print = screenPrintRect_.translated(d.x(), (vs + pagePixelHeight_) * r + d.y());
        if (sheet.top() > ch) break;  // this row and every later one lie below the client area
        for (int j = 0; j < visibleCols_; ++j) {
            const int i = r * visibleCols_ + j;
            if (visible(i, sheet)) {
                DrawShadow(canvas, sheet);
                canvas.fillRect(sheet, platform::resolveColor(options_.Color(), palette));
                if (i < pageCount) DrawPage(canvas, i, sheet, print);
                canvas.setBrush(Qt::NoBrush);
                canvas.setPen(QPen(windowText, 1));
                canvas.drawRect(outline(sheet));
                if (i == selectedPage_ && selection_.Visible()) {
                    QPen pen(platform::resolveColor(selection_.Color(), palette), selection_.Width());
                    pen.setJoinStyle(Qt::MiterJoin);
                    canvas.setPen(pen);
                    canvas.drawRect(outline(sheet));
                    canvas.setPen(QPen(windowText, 1));
                }
                if (options_.DrawMargins() && print != sheet) {
                    canvas.setPen(QPen(windowText, 1, Qt::DotLine));
                    canvas.drawRect(outline(print));
                    canvas.setPen(QPen(windowText, 1));
                }
                if (pageCount == 0) return;
            }
            sheet.translate(hs + pagePixelWidth_, 0);
            print.translate(hs + pagePixelWidth_, 0);
        }
    }
}

void TQxCustomPreviewControl::DrawShadow(QPainter& canvas, const QRect& sheet) {
    const int offset = options_.Shadow().Offset();
    if (offset == 0) return;
    canvas.fillRect(sheet.translated(offset, offset), platform::resolveColor(options_.Shadow().Color(), palette()));
}

void TQxCustomPreviewControl::DrawPage(QPainter& canvas, int index, const QRect& sheet, const QRect& print) {
    const double width = deviceInfo_.PhysicalWidth(), height = deviceInfo_.PhysicalHeight();
    if (width > 0 && height > 0) {
        canvas.save();
        canvas.setClipRect(print);
        canvas.translate(print.topLeft());
        canvas.scale(print.width() / width, print.height() / height);
        platform::drawPictureUnscaled(canvas, *pages_.at(std::size_t(index)));
        canvas.restore();
    }
    if (OnDrawPreviewPage) OnDrawPreviewPage(this, index, &canvas, sheet, print);
}

// ---- hit test, mouse, keyboard ------------------------------------------------------------------------

int TQxCustomPreviewControl::PageAt(QPoint point, bool existingOnly) const {
    const int hs = int(options_.HorzSpacing()), vs = int(options_.VertSpacing());
    const QPoint d = PageOrigin(QPoint(horzPos_, vertPos_));
    for (int r = 0;; ++r) {
        QRect cell = screenPageRect_.translated(d.x(), (vs + pagePixelHeight_) * r + d.y());
        const int rowTop = cell.top();
        for (int j = 0; j < visibleCols_; ++j) {
            if (cell.contains(point)) {
                const int i = r * visibleCols_ + j;
                return existingOnly && i >= PageCount() ? -1 : i;
            }
            cell.translate(hs + pagePixelWidth_, 0);
        }
        if (rowTop > ClientHeight() || pagePixelHeight_ + vs <= 0) return -1;
    }
}

void TQxCustomPreviewControl::mousePressEvent(QMouseEvent* event) {
    if (focusPolicy() & Qt::ClickFocus) setFocus(Qt::MouseFocusReason);
    const int page = PageAt(event->position().toPoint(), true);
    if (page >= 0) SetSelectedPage(page);
}

bool TQxCustomPreviewControl::event(QEvent* event) {
    // The control takes every key while it has the focus: Tab, arrows, Enter and Escape move no focus
    // and press no dialog button. It has no key bindings of its own.
    if (event->type() == QEvent::KeyPress) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

// ---- printing ---------------------------------------------------------------------------------------------

void TQxCustomPreviewControl::PrintPages(IPreviewPrintTarget* target, int StartIndex, int EndIndex, int Copies,
                                         bool Collate) {
    if (!target || target->Printing()) return;
    const int count = PageCount();
    if (StartIndex < 0 || StartIndex >= count) StartIndex = count - 1;
    if (EndIndex < 0 || EndIndex >= count) EndIndex = count - 1;
    if (Copies < 1) Copies = 1;
    if (StartIndex < 0 || EndIndex < 0) return;

    std::vector<int> sequence;
    const int direction = StartIndex <= EndIndex ? 1 : -1;
    for (int i = StartIndex;; i += direction) {
        sequence.push_back(i);
        if (i == EndIndex) break;
    }
    std::vector<int> output;
    if (Collate) {
        for (int copy = 0; copy < Copies; ++copy) output.insert(output.end(), sequence.begin(), sequence.end());
    } else {
        for (int i : sequence) output.insert(output.end(), std::size_t(Copies), i);
    }
    bool first = true;
    for (int i : output) {
        if (target->Aborted()) {
            if (target->Printing()) target->EndDoc();
            return;
        }
        if (first) target->BeginDoc();
        else target->NewPage();
        first = false;
        platform::drawPictureUnscaled(*target->Canvas(), *pages_.at(std::size_t(i)));
    }
    if (target->Printing()) target->EndDoc();
}
