// The three charts with a value axis: the bar graph, the pictogram and the
// line (or area) graph. They share one frame: the title band, a grid whose
// step is a power of ten chosen to suit the height, and under the axis one
// column per group with a swatch and the item's picture or name.
#include "views/Graphs.h"

#include "platform/NumberFormat.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "views/GraphsCommon.h"
#include "views/PictureEngine.h"

#include <QLocale>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace Graphs {

using namespace Detail;

namespace {

enum class Kind { Bar = 1, Pictogram = 2, Line = 3 };

// A grid label's number with `decimals` decimals: no thousands separator,
// the locale's decimal separator.
QString GridNumber(double value, int decimals) { return dorv::FormatFixed(value, decimals); }

// The summary, the geometry and the options of one value chart.
struct Frame {
    dorv::DeviceContext& dc;
    const std::vector<ItemRecord>& items;
    Kind kind;
    std::vector<ItemSummary> summary;
    std::vector<float> values;  // plotted: counts, or values in the display currency
    int32_t groups = 0;
    double w = 0, h = 0, cx = 0, cy = 0, t = 0, s = 0, B = 0, y0 = 0;
    // How far the columns move right to make room for the grid's labels.
    double off = 0;
    double scale = 0;  // pixels per unit of value; 0 when nothing can be plotted
    bool costs = false, pictures = false, in3D = false;
    // The grid: the spacing of its lines in pixels, the value step from one
    // line to the next, the labels' decimals, and whether every line or
    // every fifth is labelled.
    double spacing = 0, valueStep = 1;
    int decimals = 0;
    bool everyLine = true;
    // The cost texts, and the width reference at which each fits its column.
    std::vector<QString> costTexts;
    float costRef = 0;
    // Where the cost labels may go: between the title band and the base
    // line, clear of the grid's labels and of what the chart draws.
    LabelSpace space{QRect()};

    Frame(dorv::DeviceContext& d, const std::vector<ItemRecord>& it, int32_t count, Kind k, float centreX,
          float centreY, int32_t width, int32_t height)
        : dc(d), items(it), kind(k)
    {
        double total = 0;
        groups = BuildItemSummary(items, count, summary, total);
        const size_t option = static_cast<size_t>(kind);
        costs = G.GraphShowCosts[option];
        pictures = G.GraphShowPictures[option];
        in3D = G.Graph3D[option];
        w = width;
        h = height;
        cx = centreX;
        cy = centreY;
        t = h / 10;
        s = w / (groups + 2);
        B = t - h / 2;
        y0 = cy + 0.25 * h;
        float max = 0;
        for (const ItemSummary& g : summary) {
            values.push_back(costs ? CommonMod::ToDisplayCurrency(static_cast<float>(g.Value))
                                   : static_cast<float>(g.Count));
            max = std::max(max, values.back());
        }
        // The largest column reaches 0.62 of the height above the base line.
        // With nothing above 0 there is no scale, and no grid or column.
        const double sc = 0.62 * h / max;
        if (max > 0 && std::isfinite(sc) && sc > 0) scale = sc;
        for (const ItemSummary& g : summary) costTexts.push_back(CommonMod::FormatTotal(g.Value, 1));
    }

    // With the chart's font selected: the grid's step, the columns' width
    // and the size of the costs.
    void Layout()
    {
        if (scale > 0) {
            // A step of a power of ten whose lines stand between a twentieth
            // and a tenth of the height apart.
            spacing = scale;
            int tenths = 0;  // how often the step of 1 was divided by ten
            while (spacing < h / 20) {
                spacing *= 10;
                valueStep *= 10;
                --tenths;
            }
            while (spacing > h / 10) {
                spacing /= 10;
                valueStep /= 10;
                ++tenths;
            }
            // Items come whole: a chart of counts steps by one item at least.
            if (!costs && tenths > 0) {
                spacing = scale;
                valueStep = 1;
                tenths = 0;
            }
            // "0" for whole steps and "0.0" for tenths; a smaller step gets
            // as many decimals as it needs, so that no two labels read alike.
            decimals = std::max(0, tenths);
            everyLine = spacing >= h / 20;
        }
        // The grid's labels end a tenth of a column left of the grid. Where
        // the widest would leave the canvas, the columns narrow and move
        // right until it fits with a margin.
        std::vector<QString> labels;
        ForGridLines([&](float, const QString& label) { labels.push_back(label); });
        constexpr int32_t kMargin = 2;
        const int32_t widest = WidestText(dc, labels);
        if (widest + kMargin > 0.9 * s) {
            s = (w - widest - kMargin) / (groups + 1.1);
            off = widest + kMargin - 0.9 * s;
        }
        // Neighbouring costs never run into each other: they shrink together
        // until each fits its column.
        costRef = costs ? ShrinkToFit(dc, costTexts, 6, static_cast<float>(w), s - 2) : static_cast<float>(w);
        // A cost on or under the base line would read as a value below 0.
        const int32_t top = R(cy + 1.05 * B), bottom = R(y0) - 1;
        space = LabelSpace(QRect(R(cx - w / 2), top, R(w), bottom - top));
    }

    double Left() const { return cx - w / 2 + off; }
    double X0(int32_t g) const { return Left() + (g + 1) * s; }
    const ItemRecord& First(int32_t g) const { return items[size_t(summary[size_t(g)].FirstItem)]; }

    // Calls `line`(y, label) for every grid line from the base line up, the
    // label empty on a line that carries none.
    template <class F>
    void ForGridLines(F line) const
    {
        if (scale <= 0) return;
        const double limit = kind == Kind::Bar ? cy - 0.4 * h - 1 : cy - 0.405 * h;
        const QString prefix = costs ? G.CurrencySymbol : QString();
        int64_t n = 0;
        for (float y = static_cast<float>(y0); y >= limit; y = static_cast<float>(y - spacing), ++n)
            line(y, everyLine || n % 5 == 0 ? prefix + GridNumber(n * valueStep, decimals) : QString());
    }

    void Title() const
    {
        const char* key = kind == Kind::Bar         ? "lang_DorvBarGraph"
                          : kind == Kind::Pictogram ? "lang_DorvPictogram"
                                                    : "lang_DorvLineGraph";
        DrawMod::DrawGradientRect(dc, kLightBlue, kWhite, R(Left() + s), R(cy + 1.15 * B), R(cx + w / 2 - s),
                                  R(cy + 1.05 * B), 1);
        DrawTextAligned(dc, R(Left() + 1.1 * s), R(cy + 1.1 * B), LangMod::GetMessage(QLatin1String(key)),
                        QStringLiteral("L"));
    }

    void Grid()
    {
        if (scale <= 0) return;
        SelectedPen grey(dc, dorv::PS_GEOMETRIC, 1, kGrey);
        const int32_t x = R(Left() + 0.9 * s);
        ForGridLines([&](float y, const QString& label) {
            dc.MoveToEx(R(Left() + s), R(y));
            dc.LineTo(R(cx + w / 2 - s), R(y));
            if (label.isEmpty()) return;
            DrawTextAligned(dc, x, R(y), label, QStringLiteral("R"));
            const QSize e = dc.GetTextExtentPoint32A(label);
            space.Take(QRect(x - e.width(), R(R(y) - e.height() / 2.0), e.width(), e.height()));
        });
    }

    void Legend(int32_t g) const
    {
        const double x0 = X0(g);
        DrawMod::DrawGradientRect(dc, PastelColour(g), kWhite, R(x0 + 0.2 * s), R(cy + 0.27 * h), R(x0 + s),
                                  R(cy + 0.35 * h), 1);
        if (pictures) {
            DrawMod::DrawItemIcon(dc, G.SceneShapes, G.SceneShapeCount, First(g), kPicture3D, 0,
                                  static_cast<float>(x0 + 0.2 * s), static_cast<float>(-(cy + 0.35 * h)),
                                  static_cast<float>(w / 20), static_cast<float>(h / 20), 0);
        } else {
            const double x = kind == Kind::Pictogram ? x0 + 0.7 * s : x0 + 0.8 * s;
            // A name runs down to the canvas's bottom edge at most.
            const QString name = FitSizedText(dc, LangMod::GetPlanInfoText(First(g).Name.str()), 8,
                                              static_cast<float>(w), R(0.19 * h - 2));
            DrawTextAlignedSized(dc, R(x), R(cy + 0.31 * h), name, 8, 270, static_cast<float>(w),
                                 QStringLiteral("Arial"), QStringLiteral("L"));
        }
    }

    // The cost of group g, as near the spot above its column or point as is
    // clear of what is drawn and of the other labels: `spot` chooses among
    // the places to try, from the spot just above.
    void CostText(int32_t g, const std::function<TextSpot(const QSize&, const QPoint&)>& spot)
    {
        if (!costs) return;
        const QPoint above(R(X0(g) + 0.6 * s), R(y0 - 0.03 * h - values[size_t(g)] * scale));
        DrawPlacedText(dc, costTexts[size_t(g)], 6, costRef, [&](const QSize& e) { return spot(e, above); });
    }
    // The cost over column g, whose drawing (3D top and pictures included)
    // reaches up to `top` and `depth` pixels right of its front. It stands
    // just over its own column, never over a taller neighbour: across, over
    // the middle of a 3D top where a neighbour's side leaves no room above
    // the front, else upright where even that is too narrow.
    void CostAbove(int32_t g, double top, double depth)
    {
        CostText(g, [&](const QSize& e, const QPoint& at) -> TextSpot {
            const int32_t ceiling = R(top);
            QPoint placed;
            if (space.TryPlace(e, space.SpotsAbove(e, at, ceiling), placed)) return placed;
            const QPoint middle = at + QPoint(R(depth / 2), 0);
            if (depth > 0 && space.TryPlace(e, space.SpotsAbove(e, middle, ceiling), placed)) return placed;
            // Upright, its foot just over the column.
            const QSize upright = e.transposed();
            const QPoint foot(middle.x(), ceiling - 2 - upright.height() + upright.height() / 2);
            if (space.TryPlace(upright, {foot}, placed)) return {placed, true};
            return space.Place(e, {at});
        });
    }
};

bool Usable(int32_t width, int32_t height) { return width > 0 && height > 0; }

}  // namespace

void DrawBarGraph(dorv::DeviceContext& dc, const std::vector<ItemRecord>& items, int32_t count, float centreX,
                  float centreY, int32_t width, int32_t height)
{
    if (!Usable(width, height)) return;
    Frame f(dc, items, count, Kind::Bar, centreX, centreY, width, height);
    if (f.groups == 0) return;
    dc.SetBkMode(dorv::TRANSPARENT);
    ChartFont font(dc, static_cast<float>(f.w));
    f.Layout();
    f.Title();
    f.Grid();
    SelectedPen nullPen(dc, dorv::PS_NULL, 1, 0);
    const double s = f.s;
    // The costs keep clear of every bar, its 3D top and side included.
    for (int32_t g = 0; g < f.groups && f.scale > 0; ++g) {
        const double x0 = f.X0(g), top = f.y0 - f.values[size_t(g)] * f.scale - (f.in3D ? 0.05 * s : 0);
        f.space.Take(QRect(QPoint(R(x0 + 0.2 * s), R(top)), QPoint(R(x0 + (f.in3D ? 1.03 : 1) * s), R(f.y0))));
    }
    for (int32_t g = 0; g < f.groups; ++g) {
        f.Legend(g);
        if (f.scale <= 0) continue;
        const double x0 = f.X0(g), H = f.values[size_t(g)] * f.scale, y0 = f.y0;
        if (f.in3D) {
            // The top and the right side, seen from above right.
            const double x[6] = {x0 + 0.2 * s, x0 + 0.25 * s, x0 + 1.03 * s, x0 + 1.03 * s, x0 + 0.98 * s, x0 + 0.2 * s};
            const double y[6] = {y0 - H, y0 - H - 0.05 * s, y0 - H - 0.05 * s, y0 - 0.05 * s, y0, y0};
            QPoint p[6];
            for (int i = 0; i < 6; ++i) p[i] = QPoint(R(x[i]), R(y[i]));
            FillPolygon(dc, p, 6, DarkColour(g));
        }
        DrawMod::DrawBox(dc, R(x0 + 0.2 * s), R(y0), R(x0 + s), R(y0 - H), FullColour(g), -1, 1);
        f.CostAbove(g, y0 - H - (f.in3D ? 0.05 * s : 0), f.in3D ? 0.03 * s : 0);
    }
}

void DrawPictogram(dorv::DeviceContext& dc, const std::vector<ItemRecord>& items, int32_t count, float centreX,
                   float centreY, int32_t width, int32_t height)
{
    if (!Usable(width, height)) return;
    Frame f(dc, items, count, Kind::Pictogram, centreX, centreY, width, height);
    if (f.groups == 0) return;
    dc.SetBkMode(dorv::TRANSPARENT);
    ChartFont font(dc, static_cast<float>(f.w));
    f.Layout();
    f.Title();
    f.Grid();
    const double s = f.s, y0 = f.y0;
    constexpr double kDepth = 14;  // pixels, whatever the size
    // The pictures are a twentieth of the height high and of the width wide,
    // narrower where the columns are: each stays in its own column.
    const double pictureHeight = f.h / 20, pictureWidth = std::min(f.w / 20, 0.8 * s);
    // The costs keep clear of every column, its 3D depth included, and of
    // the first picture, which stands higher than a very short column.
    for (int32_t g = 0; g < f.groups && f.scale > 0; ++g) {
        const double left = f.X0(g) + 0.2 * s, H = f.values[size_t(g)] * f.scale;
        const double depth = f.in3D ? kDepth : 0;
        f.space.Take(QRect(QPoint(R(left), R(y0 - H - depth)), QPoint(R(left + 0.8 * s + depth), R(y0))));
        f.space.Take(QRect(QPoint(R(left), R(y0 - pictureHeight)), QPoint(R(left + pictureWidth), R(y0))));
    }
    for (int32_t g = 0; g < f.groups; ++g) {
        f.Legend(g);
        if (f.scale <= 0) continue;
        const double x0 = f.X0(g), H = f.values[size_t(g)] * f.scale;
        const double left = x0 + 0.2 * s, right = x0 + s;
        {
            SelectedPen dark(dc, dorv::PS_GEOMETRIC, 1, DarkColour(g));
            if (f.in3D) {
                const double x[6] = {left, left + kDepth, left + kDepth + 0.8 * s, left + kDepth + 0.8 * s,
                                     left + 0.8 * s, left};
                const double y[6] = {y0 - H, y0 - H - kDepth, y0 - H - kDepth, y0 - kDepth, y0, y0};
                QPoint p[6];
                for (int i = 0; i < 6; ++i) p[i] = QPoint(R(x[i]), R(y[i]));
                FillPolygon(dc, p, 6, FullColour(g));
            }
            DrawMod::DrawBox(dc, R(left), R(y0), R(right), R(y0 - H), PastelColour(g), PastelColour(g), 1);
            if (f.in3D) {
                DrawMod::DrawBox(dc, R(left), R(y0), R(right), R(y0 - H), -1, DarkColour(g), 1);
                DrawMod::DrawBox(dc, R(right + kDepth), R(y0 - H - kDepth), R(left + kDepth), R(y0 - kDepth), -1,
                                 DarkColour(g), 1);
                dc.MoveToEx(R(left), R(y0));
                dc.LineTo(R(left + kDepth), R(y0 - kDepth));
                dc.MoveToEx(R(right), R(y0 - H));
                dc.LineTo(R(right + kDepth), R(y0 - H - kDepth));
            }
        }
        // The column filled with pictures of the item: always the first,
        // then each that ends below the column's top.
        for (int64_t k = 0; k == 0 || (k + 1) * pictureHeight < H; ++k) {
            DrawMod::DrawItemIcon(dc, G.SceneShapes, G.SceneShapeCount, f.First(g), kPicture3D, 0,
                                  static_cast<float>(left), static_cast<float>(-(y0 - k * pictureHeight)),
                                  static_cast<float>(pictureWidth), static_cast<float>(pictureHeight), 0);
        }
        const double depth = f.in3D ? kDepth : 0;
        f.CostAbove(g, std::min(y0 - H - depth, y0 - pictureHeight), depth);
    }
}

void DrawLineGraph(dorv::DeviceContext& dc, const std::vector<ItemRecord>& items, int32_t count, float centreX,
                   float centreY, int32_t width, int32_t height)
{
    if (!Usable(width, height)) return;
    Frame f(dc, items, count, Kind::Line, centreX, centreY, width, height);
    if (f.groups == 0) return;
    dc.SetBkMode(dorv::TRANSPARENT);
    ChartFont font(dc, static_cast<float>(f.w));
    f.Layout();
    f.Title();
    f.Grid();
    std::vector<QPoint> points;
    int32_t radius = 0;
    if (f.scale > 0) {
        const int32_t n = std::min<int32_t>(f.groups, 801);
        for (int32_t g = 0; g < n; ++g)
            points.push_back(QPoint(R(f.X0(g) + 0.6 * f.s), R(f.y0 - f.values[size_t(g)] * f.scale)));
        {
            SelectedPen thick(dc, dorv::PS_GEOMETRIC, 4, 0x884444);
            if (f.in3D) {
                // The area down to the base line, closed from the last point
                // back to the first.
                std::vector<QPoint> area = points;
                area.push_back(QPoint(points.back().x(), R(f.y0)));
                area.push_back(QPoint(points.front().x(), R(f.y0)));
                FillPolygon(dc, area.data(), int(area.size()), 0xFF);
            } else {
                dc.Polyline(points.data(), int(points.size()));
            }
        }
        radius = R(0.01 * f.h);
        for (const QPoint& p : points) DrawFilledEllipse(dc, p.x(), p.y(), radius, radius, 0xFFFF, -1);
    }
    // The costs keep clear of the markers and of the thick line (the area's
    // outline), beside the point where the line leaves no room above it.
    for (const QPoint& p : points) f.space.Take(QRect(p.x() - radius, p.y() - radius, 2 * radius + 1, 2 * radius + 1));
    std::vector<QPoint> outline = points;
    if (f.in3D && !points.empty()) {
        outline.push_back(QPoint(points.back().x(), R(f.y0)));
        outline.push_back(QPoint(points.front().x(), R(f.y0)));
        outline.push_back(points.front());
    }
    for (size_t i = 1; i < outline.size(); ++i) f.space.AddLine(outline[i - 1], outline[i]);
    f.space.lineClear = 3;
    // Dark text on the red area would hardly read.
    if (f.in3D) f.space.AddFill(QPolygonF(QPolygon(QList<QPoint>(outline.begin(), outline.end()))));
    const int32_t d = R(0.03 * f.h);
    for (int32_t g = 0; g < f.groups; ++g) {
        f.Legend(g);
        if (f.scale <= 0) continue;
        f.CostText(g, [&](const QSize& e, const QPoint& above) -> TextSpot {
            // Above the point as far as ever, else below it, beside it,
            // at its corners, farther below, or higher up.
            const QPoint p = points[size_t(std::min<int32_t>(g, int32_t(points.size()) - 1))];
            const int32_t side = radius + 3 + (e.width() + 1) / 2;
            const QPoint below = p + QPoint(0, d), right = p + QPoint(side, 0), left = p - QPoint(side, 0),
                         upRight = p + QPoint(side, -d), upLeft = p + QPoint(-side, -d),
                         downRight = p + QPoint(side, d), downLeft = p + QPoint(-side, d),
                         farBelow = p + QPoint(0, 2 * d);
            // In a narrow valley, up between its sides.
            std::vector<QPoint> higher;
            for (int32_t k = 1; k <= 20; ++k) higher.push_back(above - QPoint(0, k * d / 2));
            if (!f.in3D) {
                std::vector<QPoint> spots{above, below, right, left, upRight, upLeft, downRight, downLeft, farBelow};
                spots.insert(spots.end(), higher.begin(), higher.end());
                return f.space.Place(e, spots);
            }
            // On the area graph, off the area near the point; where a valley
            // leaves no room near it, under or beside the point in white on
            // the area, rather than high up where it would read as another
            // value.
            QPoint placed;
            if (f.space.TryPlace(e, {above, right, left, upRight, upLeft, higher[0], higher[1]}, placed)) return placed;
            if (f.space.TryPlace(e, {below, downRight, downLeft, farBelow, upRight, upLeft, right, left}, placed, true))
                return {placed, false, true};
            return f.space.Place(e, std::vector<QPoint>(higher.begin() + 2, higher.end()));
        });
    }
}

}  // namespace Graphs
