#pragma once
// What the spreadsheet and the four charts share inside the views library:
// their small-text font, the colour tables, and number labels.

#include "platform/DeviceContext.h"
#include "platform/Rounding.h"

#include <QLineF>
#include <QPoint>
#include <QPolygonF>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace Graphs::Detail {

// The small-text font of a drawing `width` pixels wide (8 points on 600
// pixels), selected into `dc` for the object's life and then freed.
class ChartFont {
public:
    ChartFont(dorv::DeviceContext& dc, float width);
    ~ChartFont();
    ChartFont(const ChartFont&) = delete;
    ChartFont& operator=(const ChartFont&) = delete;

private:
    dorv::DeviceContext& dc_;
    dorv::GdiObject font_, old_;
};

// A pen selected for the object's life, then the previous one back and the
// pen freed.
class SelectedPen {
public:
    SelectedPen(dorv::DeviceContext& dc, int32_t style, int32_t width, int32_t colour);
    ~SelectedPen();
    SelectedPen(const SelectedPen&) = delete;
    SelectedPen& operator=(const SelectedPen&) = delete;

private:
    dorv::DeviceContext& dc_;
    dorv::GdiObject pen_, old_;
};

// A polygon filled in `colour` with the pen selected now.
void FillPolygon(dorv::DeviceContext& dc, const QPoint* points, int count, int32_t colour);

// The colours of group g: full, dark (the 3D sides) and pastel (the legend
// swatches of the value charts), by g mod 9.
int32_t FullColour(int32_t g);
int32_t DarkColour(int32_t g);
int32_t PastelColour(int32_t g);

// A number as the charts and the spreadsheet write it: one blank, the place
// of a sign, then the digits.
QString SignedNumber(int64_t n);

// `text` as it fits in `width` pixels in the dc's current font: whole, or
// its beginning followed by "..."; empty when not even that fits.
QString FitText(const dorv::DeviceContext& dc, const QString& text, int32_t width);

// Labels that DrawTextAlignedSized draws in "Arial" at `points` on a drawing
// `widthRef` wide, made to fit the canvas and one another. FitSizedText cuts
// a text to `length` pixels as FitText does; ShrinkToFit gives the width
// reference at which every one of `texts` is at most `room` pixels wide:
// `widthRef` itself when they fit already, else a smaller one.
QString FitSizedText(dorv::DeviceContext& dc, const QString& text, float points, float widthRef, int32_t length);
float ShrinkToFit(dorv::DeviceContext& dc, const std::vector<QString>& texts, float points, float widthRef,
                  double room);

// Where a chart's labels may stand and what they keep clear of: the labels
// already placed, the boxes of what is drawn (columns, pictures, markers),
// lines drawn thick, kept `lineClear` pixels away, and filled areas.
class LabelSpace {
public:
    explicit LabelSpace(const QRect& area) : area_(area) {}
    void Take(const QRect& box) { taken_.push_back(box); }
    void AddLine(const QPointF& a, const QPointF& b) { lines_.emplace_back(a, b); }
    void AddFill(const QPolygonF& fill) { fills_.push_back(fill); }
    double lineClear = 0;

    // The box of a text `extent` in size drawn centred ("C") on `at`.
    static QRect TextBox(const QPoint& at, const QSize& extent);
    // Whether a box lies inside the area, over nothing taken and no line,
    // and clear of every fill (or, `onFill`, wholly on one).
    bool Free(const QRect& box, bool onFill = false) const;
    // The first of `spots` (centres) where a text of `extent` is free, its
    // box taken; false when none is.
    bool TryPlace(const QSize& extent, const std::vector<QPoint>& spots, QPoint& placed, bool onFill = false);
    // The first of `spots` where a text of `extent` is free; with none free,
    // the first spot moved inside the area. Its box is taken.
    QPoint Place(const QSize& extent, const std::vector<QPoint>& spots);
    // The spots for a label over a column: `at`, then raised just above
    // whatever it would cover, the nearest first, but never over anything
    // that stands higher than `ceiling`, the top of the label's own column:
    // a label lifted over a taller neighbour reads as the neighbour's.
    std::vector<QPoint> SpotsAbove(const QSize& extent, const QPoint& at, int ceiling) const;

private:
    QRect area_;
    std::vector<QRect> taken_;
    std::vector<QLineF> lines_;
    std::vector<QPolygonF> fills_;
};

// Where a label stands: its centre, whether it is turned to read upwards,
// and whether it is written in white, to read on a dark fill.
struct TextSpot {
    TextSpot(const QPoint& centre, bool turned = false, bool white = false) : at(centre), upright(turned), light(white)
    {
    }
    QPoint at;
    bool upright, light;
};

// Draws `text` as DrawTextAlignedSized does with "C", centred on the spot
// that `place` chooses for the text's extent in that font (as it lies
// across: an upright text's box is that extent turned).
void DrawPlacedText(dorv::DeviceContext& dc, const QString& text, float points, float widthRef,
                    const std::function<TextSpot(const QSize&)>& place);

// The widest of `texts` in the dc's current font.
int32_t WidestText(const dorv::DeviceContext& dc, const std::vector<QString>& texts);

// Rounds a chart coordinate for a drawing call.
inline int32_t R(double v) { return dorv::RoundHalfEven(v); }

// The light blue and grey of the title bands and frames.
constexpr int32_t kLightBlue = 0xFFCCCC;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kGrey = 0xCCCCCC;

}  // namespace Graphs::Detail
