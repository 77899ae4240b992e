// The preview control's companions: the reference device, the page options with their shadow, and
// the look of the selection frame.
#include "printing/QxPrvwDoc.h"

#include "platform/printer/printer.h"

#include <cmath>

// ---- TQxDeviceInfo --------------------------------------------------------------------------------

TQxDeviceInfo::TQxDeviceInfo(std::function<void()> changed) : changed_(std::move(changed)) {
    defaultDevice_ = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
}

void TQxDeviceInfo::set(std::uint32_t& field, std::uint32_t value) {
    if (field == value) return;
    field = value;
    if (changed_) changed_();
}

void TQxDeviceInfo::applyDefaults() {
    logPixelsX_ = logPixelsY_ = 300;
    physicalWidth_ = 2480;
    physicalHeight_ = 3507;
    pageWidth_ = 2400;
    pageHeight_ = 3281;
    offsetLeft_ = offsetTop_ = offsetRight_ = offsetBottom_ = 40;
}

void TQxDeviceInfo::SetDefaults() {
    applyDefaults();
    if (changed_) changed_();
}

void TQxDeviceInfo::SetReferenceHandle(QPaintDevice* device) {
    referenceHandle_ = device;
    if (!device) {
        SetDefaults();
        return;
    }
    const platform::DeviceCaps caps = platform::deviceCaps(*device);
    logPixelsX_ = std::uint32_t(caps.logPixelsX);
    logPixelsY_ = std::uint32_t(caps.logPixelsY);
    pageWidth_ = std::uint32_t(caps.horzRes);
    pageHeight_ = std::uint32_t(caps.vertRes);
    physicalWidth_ = std::max(pageWidth_, std::uint32_t(caps.physicalWidth));
    physicalHeight_ = std::max(pageHeight_, std::uint32_t(caps.physicalHeight));
    offsetLeft_ = std::uint32_t(caps.physicalOffsetX);
    offsetTop_ = std::uint32_t(caps.physicalOffsetY);
    offsetRight_ = pageWidth_ == physicalWidth_
                       ? offsetLeft_
                       : std::uint32_t(std::max<qint64>(0, qint64(physicalWidth_) - pageWidth_ - offsetLeft_));
    offsetBottom_ = pageHeight_ == physicalHeight_
                        ? offsetTop_
                        : std::uint32_t(std::max<qint64>(0, qint64(physicalHeight_) - pageHeight_ - offsetTop_));
    if (changed_) changed_();
}

QPaintDevice* TQxDeviceInfo::MeasuringDevice() {
    if (referenceHandle_) return referenceHandle_;
    const int dotsPerMeterX = qRound(logPixelsX_ / 0.0254);
    const int dotsPerMeterY = qRound(logPixelsY_ / 0.0254);
    if (defaultDevice_.dotsPerMeterX() != dotsPerMeterX) defaultDevice_.setDotsPerMeterX(dotsPerMeterX);
    if (defaultDevice_.dotsPerMeterY() != dotsPerMeterY) defaultDevice_.setDotsPerMeterY(dotsPerMeterY);
    return &defaultDevice_;
}

int TQxDeviceInfo::InchToXPixels(double inches) const {
    return int(std::nearbyint(inches * logPixelsX_));
}

int TQxDeviceInfo::InchToYPixels(double inches) const {
    return int(std::nearbyint(inches * logPixelsY_));
}

// ---- options --------------------------------------------------------------------------------------

void TQxPageShadow::SetColor(platform::ColorValue color) {
    if (color_ == color) return;
    color_ = color;
    if (changed_) changed_();
}

void TQxPageShadow::SetOffset(int offset) {
    if (offset_ == offset) return;
    offset_ = offset;
    if (changed_) changed_();
}

TQxPreviewPageOptions::TQxPreviewPageOptions(std::function<void()> changed, std::function<void()> scaleModeChanged)
    : changed_(std::move(changed)), scaleModeChanged_(std::move(scaleModeChanged)), shadow_([this] { this->changed(); }) {}

void TQxPreviewPageOptions::changed() {
    if (changed_) changed_();
}

void TQxPreviewPageOptions::SetColor(platform::ColorValue color) {
    if (color_ == color) return;
    color_ = color;
    changed();
}

void TQxPreviewPageOptions::SetCols(std::uint32_t cols) {
    cols = std::max<std::uint32_t>(1, cols);
    if (cols_ == cols) return;
    cols_ = cols;
    changed();
}

void TQxPreviewPageOptions::SetRows(std::uint32_t rows) {
    if (rows_ == rows) return;
    rows_ = rows;
    changed();
}

std::uint32_t TQxPreviewPageOptions::HorzSpacing() const {
    return std::max<std::uint32_t>(std::uint32_t(std::abs(shadow_.Offset())), horzSpacing_);
}

void TQxPreviewPageOptions::SetHorzSpacing(std::uint32_t spacing) {
    if (horzSpacing_ == spacing) return;
    horzSpacing_ = spacing;
    changed();
}

std::uint32_t TQxPreviewPageOptions::VertSpacing() const {
    return std::max<std::uint32_t>(std::uint32_t(std::abs(shadow_.Offset())), vertSpacing_);
}

void TQxPreviewPageOptions::SetVertSpacing(std::uint32_t spacing) {
    if (vertSpacing_ == spacing) return;
    vertSpacing_ = spacing;
    changed();
}

void TQxPreviewPageOptions::SetDrawMargins(bool draw) {
    if (drawMargins_ == draw) return;
    drawMargins_ = draw;
    changed();
}

void TQxPreviewPageOptions::SetScale(std::uint32_t scale) {
    scale = std::max<std::uint32_t>(1, scale);
    if (scale_ == scale) return;
    scale_ = scale;
    changed();
}

void TQxPreviewPageOptions::SetScaleMode(TQxPreviewScaleMode mode) {
    if (scaleMode_ == mode) return;
    scaleMode_ = mode;
    if (scaleModeChanged_) scaleModeChanged_();
}

void TQxPreviewSelection::SetColor(platform::ColorValue color) {
    if (color_ == color) return;
    color_ = color;
    if (changed_) changed_();
}

void TQxPreviewSelection::SetWidth(int width) {
    if (width_ == width) return;
    width_ = width;
    if (changed_) changed_();
}

void TQxPreviewSelection::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (changed_) changed_();
}
