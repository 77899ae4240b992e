#pragma once
// TQxPreviewControl: a scrollable control that owns the recorded page pictures of a document and
// lays them out as paper sheets (shadow, optional margin frame, selection frame) at one of five scale
// modes. It does not know what is on the pages: a renderer fills them through OnAddPage, and
// PrintPages sends them to a print target.
//
// Units: device-info values are pixels of the reference device; layout values are screen pixels;
// the scale is a percentage.

#include "platform/colorvalue.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPicture>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QPainter;
class QPaintDevice;
class TQxCustomPreviewControl;

// ---- companions ------------------------------------------------------------------------------

// The reference device whose pages are previewed. Every setter stores only a different value and then
// notifies the control.
class TQxDeviceInfo {
public:
    explicit TQxDeviceInfo(std::function<void()> changed);

    // The device whose measurements apply; nullptr: none, the A4-at-300-dpi defaults apply.
    QPaintDevice* ReferenceHandle() const { return referenceHandle_; }
    void SetReferenceHandle(QPaintDevice* device);
    // The device pages are measured on: the reference device, or one at the default resolution.
    QPaintDevice* MeasuringDevice();

    std::uint32_t LogPixelsX() const { return logPixelsX_; }
    std::uint32_t LogPixelsY() const { return logPixelsY_; }
    std::uint32_t PhysicalWidth() const { return physicalWidth_; }
    std::uint32_t PhysicalHeight() const { return physicalHeight_; }
    std::uint32_t PageWidth() const { return pageWidth_; }
    std::uint32_t PageHeight() const { return pageHeight_; }
    std::uint32_t OffsetLeft() const { return offsetLeft_; }
    std::uint32_t OffsetTop() const { return offsetTop_; }
    std::uint32_t OffsetRight() const { return offsetRight_; }
    std::uint32_t OffsetBottom() const { return offsetBottom_; }
    void SetLogPixelsX(std::uint32_t v) { set(logPixelsX_, v); }
    void SetLogPixelsY(std::uint32_t v) { set(logPixelsY_, v); }
    void SetPhysicalWidth(std::uint32_t v) { set(physicalWidth_, v); }
    void SetPhysicalHeight(std::uint32_t v) { set(physicalHeight_, v); }
    void SetPageWidth(std::uint32_t v) { set(pageWidth_, v); }
    void SetPageHeight(std::uint32_t v) { set(pageHeight_, v); }
    void SetOffsetLeft(std::uint32_t v) { set(offsetLeft_, v); }
    void SetOffsetTop(std::uint32_t v) { set(offsetTop_, v); }
    void SetOffsetRight(std::uint32_t v) { set(offsetRight_, v); }
    void SetOffsetBottom(std::uint32_t v) { set(offsetBottom_, v); }

    // An A4 sheet at 300 pixels per inch with 40-pixel offsets; notifies once.
    void SetDefaults();
    // Inches to device pixels, rounded to the nearest integer with halves to even.
    int InchToXPixels(double inches) const;
    int InchToYPixels(double inches) const;

private:
    void set(std::uint32_t& field, std::uint32_t value);
    void applyDefaults();

    std::function<void()> changed_;
    QPaintDevice* referenceHandle_ = nullptr;
    QImage defaultDevice_;
    std::uint32_t logPixelsX_ = 300, logPixelsY_ = 300;
    std::uint32_t physicalWidth_ = 2480, physicalHeight_ = 3507;
    std::uint32_t pageWidth_ = 2400, pageHeight_ = 3281;
    std::uint32_t offsetLeft_ = 40, offsetTop_ = 40, offsetRight_ = 40, offsetBottom_ = 40;
};

class TQxPageShadow {
public:
    explicit TQxPageShadow(std::function<void()> changed) : changed_(std::move(changed)) {}
    platform::ColorValue Color() const { return color_; }
    void SetColor(platform::ColorValue color);
    int Offset() const { return offset_; }
    void SetOffset(int offset);

private:
    std::function<void()> changed_;
    platform::ColorValue color_ = platform::clBlack;
    int offset_ = 4;
};

enum class TQxPreviewScaleMode { smFullPage, smPageWidth, smScale, smAutoScale, smColsRows };

class TQxPreviewPageOptions {
public:
    TQxPreviewPageOptions(std::function<void()> changed, std::function<void()> scaleModeChanged);

    platform::ColorValue Color() const { return color_; }
    void SetColor(platform::ColorValue color);
    std::uint32_t Cols() const { return std::max<std::uint32_t>(1, cols_); }
    void SetCols(std::uint32_t cols);  // 0 stores 1
    std::uint32_t Rows() const { return std::max<std::uint32_t>(1, rows_); }
    void SetRows(std::uint32_t rows);
    // The gaps read at least as wide as the shadow.
    std::uint32_t HorzSpacing() const;
    void SetHorzSpacing(std::uint32_t spacing);
    std::uint32_t VertSpacing() const;
    void SetVertSpacing(std::uint32_t spacing);
    bool DrawMargins() const { return drawMargins_; }
    void SetDrawMargins(bool draw);
    std::uint32_t Scale() const { return scale_; }
    void SetScale(std::uint32_t scale);  // stores at least 1
    TQxPreviewScaleMode ScaleMode() const { return scaleMode_; }
    void SetScaleMode(TQxPreviewScaleMode mode);
    TQxPageShadow& Shadow() { return shadow_; }
    const TQxPageShadow& Shadow() const { return shadow_; }

private:
    friend class TQxCustomPreviewControl;  // the layout stores computed values without notifying
    void changed();

    std::function<void()> changed_;
    std::function<void()> scaleModeChanged_;
    platform::ColorValue color_ = platform::clWhite;
    std::uint32_t cols_ = 1, rows_ = 1;
    std::uint32_t horzSpacing_ = 8, vertSpacing_ = 8;
    bool drawMargins_ = true;
    std::uint32_t scale_ = 100;
    TQxPreviewScaleMode scaleMode_ = TQxPreviewScaleMode::smFullPage;
    TQxPageShadow shadow_;
};

class TQxPreviewSelection {
public:
    explicit TQxPreviewSelection(std::function<void()> changed) : changed_(std::move(changed)) {}
    platform::ColorValue Color() const { return color_; }
    void SetColor(platform::ColorValue color);
    int Width() const { return width_; }
    void SetWidth(int width);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

private:
    std::function<void()> changed_;
    platform::ColorValue color_ = 0x800000;  // navy
    int width_ = 4;
    bool visible_ = true;
};

// What the control prints through (implemented by the preview printer).
class IPreviewPrintTarget {
public:
    virtual ~IPreviewPrintTarget() = default;
    virtual void SetTitle(const QString& title) = 0;
    virtual QString Title() = 0;
    virtual void BeginDoc() = 0;
    virtual void EndDoc() = 0;
    virtual void NewPage() = 0;
    virtual void Abort() = 0;
    virtual bool Aborted() = 0;
    virtual QPainter* Canvas() = 0;
    virtual int PageWidth() = 0;
    virtual int PageHeight() = 0;
    virtual bool Printing() = 0;
};

// ---- events --------------------------------------------------------------------------------------

using TQxNotifyEvent = std::function<void(QObject* Sender)>;
using TQxDrawPageEvent = std::function<void(QObject* Sender, int PageIndex, QPainter* Canvas, QRect PageRect,
                                            QRect PrintRect, bool& NeedMorePages)>;
using TQxDrawPreviewEvent =
    std::function<void(QObject* Sender, int PageIndex, QPainter* Canvas, QRect PageRect, QRect PrintRect)>;
using TQxScrollHintEvent = std::function<void(QObject* Sender, int AScrollPos, QString& AHint)>;
// ScrollCode: the QAbstractSlider action that moved the view.
using TQxScrollEvent = std::function<void(QObject* Sender, int ScrollCode, int& ScrollPos)>;

enum class TQxScrollBars { ssNone, ssHorizontal, ssVertical, ssBoth };

// ---- the control ----------------------------------------------------------------------------------

class TQxCustomPreviewControl : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TQxCustomPreviewControl(QWidget* parent = nullptr);
    ~TQxCustomPreviewControl() override;

    TQxDeviceInfo& DeviceInfo() { return deviceInfo_; }
    TQxPreviewPageOptions& Options() { return options_; }
    TQxPreviewSelection& Selection() { return selection_; }

    // ---- pages
    int PageCount() const { return int(pages_.size()); }
    QPicture* Pages(int index) const { return pages_.at(std::size_t(index)).get(); }
    // Appends pages until OnAddPage stops asking for more (at least one); returns the last one.
    QPicture* Add();
    // Frees every page, then Change.
    void Clear();

    // ---- layout and view
    void BeginUpdate();
    void EndUpdate();  // at 0: Change
    int UpdateCount() const { return updateCount_; }
    // Recomputes the layout, updates the scroll bars, fires OnChange and repaints at once.
    void Change();
    void First();
    void Prior();
    void Next();
    void Last();
    int TopRow() const;
    void SetTopRow(int row);
    int SelectedPage() const { return selectedPage_; }
    void SetSelectedPage(int page);
    // The page under a client point, or -1; with existingOnly, cells after the last page give -1.
    int PageAt(QPoint point, bool existingOnly) const;
    bool IsPageMode() const;
    // Scale modes: the scale that fits a sheet of height h and/or width w (0: not given).
    int ScaleForSize(int h, int w) const;
    int FullPageScale() const;

    // Prints pages StartIndex..EndIndex (0-based, either direction) through the target.
    void PrintPages(IPreviewPrintTarget* target, int StartIndex, int EndIndex, int Copies, bool Collate);

    TQxScrollBars ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TQxScrollBars bars);
    bool HideScrollBars() const { return hideScrollBars_; }
    void SetHideScrollBars(bool hide);
    platform::ColorValue Color() const { return color_; }
    void SetColor(platform::ColorValue color);
    bool SingleBorder() const { return frameShape() != QFrame::NoFrame; }
    void SetSingleBorder(bool single);

    // Scrolling as the scroll bars do it; `action` is a QAbstractSlider::SliderAction, `thumb` the
    // thumb position for SliderMove.
    void HorzScroll(int action, int thumb = 0);
    void VertScroll(int action, int thumb = 0);
    // The end of a scroll-bar action: the hint goes 500 ms later.
    void EndScroll();

    // ---- layout results (screen pixels)
    int PagePixelWidth() const { return pagePixelWidth_; }
    int PagePixelHeight() const { return pagePixelHeight_; }
    QRect ScreenPageRect() const { return screenPageRect_; }
    QRect ScreenPrintRect() const { return screenPrintRect_; }
    int VisibleCols() const { return visibleCols_; }
    int VisibleRows() const { return visibleRows_; }
    int TotalRows() const { return totalRows_; }
    int VirtualWidth() const { return virtualWidth_; }
    int VirtualHeight() const { return virtualHeight_; }
    int HorzPos() const { return horzPos_; }
    int VertPos() const { return vertPos_; }

    // The application's shared scroll-hint window while one exists.
    static QLabel* HintWindow();

    // ---- events
    TQxDrawPageEvent OnAddPage;
    TQxDrawPreviewEvent OnDrawPreviewPage;
    TQxScrollHintEvent OnScrollHint;
    TQxScrollEvent OnVertScroll;
    TQxScrollEvent OnHorzScroll;
    TQxNotifyEvent OnChange;
    TQxNotifyEvent OnDeviceInfoChange;
    TQxNotifyEvent OnOptionsChange;
    TQxNotifyEvent OnScaleModeChange;
    TQxNotifyEvent OnAfterScroll;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent* event) override;

    // Per-page work; the default runs OnAddPage.
    virtual bool DoAddPage(QPicture& picture, int index);
    void DrawPreview(QPainter& canvas, QPoint origin);

private:
    void DeviceInfoChanged();
    void OptionsChanged();
    void ScaleModeChanged();
    void CalcSizes();
    void UpdateScale();
    void UpdateScrollBars();
    void DrawShadow(QPainter& canvas, const QRect& sheet);
    void DrawPage(QPainter& canvas, int index, const QRect& sheet, const QRect& print);
    QPoint PageOrigin(QPoint origin) const;  // dx, dy of DrawPreview
    int ScreenDpiX() const;
    int ScreenDpiY() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void ScrollVertTo(int target, int action);
    void ShowScrollHint(int position);
    void HideScrollHintLater();
    void ApplyScrollBarPolicy();
    void RepaintNow();

    TQxDeviceInfo deviceInfo_;
    TQxPreviewPageOptions options_;
    TQxPreviewSelection selection_;
    std::vector<std::unique_ptr<QPicture>> pages_;
    int updateCount_ = 0;
    int selectedPage_ = -1;
    int horzPos_ = 0, vertPos_ = 0;
    int pagePixelWidth_ = 0, pagePixelHeight_ = 0;
    int offsetLeft_ = 0, offsetTop_ = 0, offsetRight_ = 0, offsetBottom_ = 0;
    QRect screenPageRect_, screenPrintRect_;
    int visibleCols_ = 1, visibleRows_ = 1, totalRows_ = 1;
    int virtualWidth_ = 0, virtualHeight_ = 0;
    TQxScrollBars scrollBars_ = TQxScrollBars::ssBoth;
    bool hideScrollBars_ = false;
    platform::ColorValue color_ = platform::clAppWorkSpace;
    QPixmap backBuffer_;
    QTimer hintTimer_;
    bool destroying_ = false;
    bool settingBars_ = false;
};

// The published control.
class TQxPreviewControl : public TQxCustomPreviewControl {
    Q_OBJECT
public:
    using TQxCustomPreviewControl::TQxCustomPreviewControl;
};
