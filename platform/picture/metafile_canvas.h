#pragma once
// What the WMF and EMF players share: the graphics objects, the device-context state with its
// mapping modes, and the drawing of the records onto a QPainter. The players decode records into
// calls on Canvas in the metafile's logical coordinates; Canvas maps them to the picture's frame.

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <variant>
#include <vector>

class QPainter;

namespace platform::metafile_detail {

// The object table never holds more than this many entries, whatever the header says.
constexpr int kMaxObjects = 16384;
// Save/restore of the device context nests at most this deep.
constexpr int kMaxSavedStates = 1024;
// Polygons, text and path pieces are cut at this many points or characters.
constexpr int kMaxPoints = 1 << 20;
// A clip region more complex than this stops changing: combining paths costs more as they grow.
constexpr int kMaxClipElements = 4096;
// Fonts are never set larger than this many frame pixels.
constexpr double kMaxFontPixels = 10000;

QColor colorFromRef(std::uint32_t colorRef);

struct GdiPen {
    int style = 0;       // PS_* with end-cap and join bits
    double width = 0;    // logical units; 0 draws one device pixel wide
    QColor color = Qt::black;
};
struct GdiBrush {
    QBrush brush{Qt::white};
};
struct GdiFont {
    QString face = QStringLiteral("Arial");
    double height = 0;   // logical units: negative is the character height, positive the cell height
    int escapement = 0;  // tenths of a degree, counterclockwise
    int weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    int charset = 1;
};
// A brush as LOGBRUSH describes it: solid, hollow or hatched (patterns come as their own records).
GdiBrush logBrush(std::uint32_t style, std::uint32_t colorRef, std::uint32_t hatch);
// Palettes and regions only take their place in the table.
struct GdiOther {};
using GdiObject = std::variant<std::monostate, GdiPen, GdiBrush, GdiFont, GdiOther>;

enum MapMode { MM_TEXT = 1, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS, MM_ISOTROPIC, MM_ANISOTROPIC };

struct DcState {
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    bool opaqueBackground = true;
    std::uint32_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int mapMode = MM_TEXT;
    QPointF windowOrg, windowExt{1, 1}, viewportOrg, viewportExt{1, 1};
    QTransform world;
    QPointF position;
    bool clipped = false;
    QPainterPath clip;  // in frame coordinates
};

enum class ArcKind { Arc, Chord, Pie };

class Canvas {
public:
    // `deviceToFrame` maps device units to the picture's frame; `devicePixelsPerMm` serves the
    // metric and English mapping modes.
    Canvas(QPainter& painter, const QTransform& deviceToFrame, double devicePixelsPerMm);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    DcState& dc() { return dc_; }
    void saveDc();
    void restoreDc(int relative);

    // Object table. WMF objects take the lowest free slot; EMF records name their slot.
    void setObjectTableSize(std::int64_t size);
    void addObject(GdiObject object);
    void setObject(std::uint32_t index, GdiObject object);
    void selectObject(std::uint32_t index);  // indexes with the top bit set are stock objects
    void deleteObject(std::uint32_t index);

    // Mapping
    QTransform logicalToFrame() const;
    void setMapMode(int mode);

    // Drawing, in logical coordinates
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const QList<QPolygonF>& polygons);
    void polyPolyline(const QList<QPolygonF>& polylines);
    void bezier(const QPolygonF& points, bool fromCurrent);
    void rectangle(const QRectF& rect);
    void roundRect(const QRectF& rect, QSizeF corner);
    void ellipse(const QRectF& rect);
    void arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind);
    void fillRect(const QRectF& rect, const QBrush& brush);
    void setPixel(QPointF p, const QColor& color);
    // ETO_OPAQUE fills `rect` with the background colour; `dx` are the advances in logical units.
    void text(QPointF reference, const QString& text, const QList<double>& dx, std::uint32_t options, const QRectF& rect);
    void image(const QRectF& target, const QImage& image, const QRectF& source, std::uint32_t rasterOp);

    // Clipping
    void intersectClip(const QRectF& rect);
    void excludeClip(const QRectF& rect);
    void resetClip();
    // Rectangles in device units combined by RGN_AND (1), RGN_OR (2), RGN_XOR (3), RGN_DIFF (4), RGN_COPY (5).
    void combineClip(const QPainterPath& deviceRegion, int mode);

    // Path brackets (EMF)
    void beginPath();
    void endPath() { inPath_ = false; }
    void abortPath() { inPath_ = false; path_ = {}; }
    void closeFigure();
    void fillPath() { drawPath(false, true); }
    void strokePath() { drawPath(true, false); }
    void strokeAndFillPath() { drawPath(true, true); }
    void selectClipPath(int mode);

private:
    QPen currentPen() const;
    // Starts a drawing from a clean painter state with the clip applied. Each drawing is bracketed
    // by a save and restore, and clips only intersect: replayed into a document, the picture can
    // then never draw outside the clip its painter already has.
    void begin();
    void prepare(bool pen, bool brush);
    void draw(const QPainterPath& logicalPath, bool pen, bool brush);
    void drawPath(bool pen, bool brush);
    QTransform pageTransform() const;
    void setClip(QPainterPath clip);

    QPainter& painter_;
    QTransform deviceToFrame_;
    double devicePixelsPerMm_;
    DcState dc_;
    std::vector<DcState> saved_;
    std::vector<GdiObject> objects_;
    QPainterPath path_;
    bool inPath_ = false;
};

}  // namespace platform::metafile_detail
