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
    double scale = 0;  // pixels per unit of value; 0 when nothing can be plotted
    bool costs = false, pictures = false, in3D = false;
    // The cost texts, and the width reference at which each fits its column.
    std::vector<QString> costTexts;
    float costRef = 0;

    Frame(dorv::DeviceContext& d, const std::vector<ItemRecord>& it, int32_t count, Kind k, float centreX,
          float centreY, int32_t width, int32_t height)
        : dc(d), items(it), kind(k)
    {
        float total = 0;
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
            values.push_back(costs ? CommonMod::ToDisplayCurrency(g.Value) : static_cast<float>(g.Count));
            max = std::max(max, values.back());
        }
        // The largest column reaches 0.62 of the height above the base line.
        // With nothing above 0 there is no scale, and no grid or column.
        const double sc = 0.62 * h / max;
        if (max > 0 && std::isfinite(sc) && sc > 0) scale = sc;
        // Neighbouring costs never run into each other: they shrink together
        // until each fits its column.
        for (const ItemSummary& g : summary) costTexts.push_back(CommonMod::FormatMoney(g.Value, 1));
        costRef = costs ? ShrinkToFit(dc, costTexts, 6, static_cast<float>(w), s - 2) : static_cast<float>(w);
    }

    double X0(int32_t g) const { return cx - w / 2 + (g + 1) * s; }
    const ItemRecord& First(int32_t g) const { return items[size_t(summary[size_t(g)].FirstItem)]; }

    void Title(const char* key) const
    {
        DrawMod::DrawGradientRect(dc, kLightBlue, kWhite, R(cx - w / 2 + s), R(cy + 1.15 * B), R(cx + w / 2 - s),
                                  R(cy + 1.05 * B), 1);
        DrawTextAligned(dc, R(cx - w / 2 + 1.1 * s), R(cy + 1.1 * B), LangMod::GetMessage(QLatin1String(key)),
                        QStringLiteral("L"));
    }

    void Grid() const
    {
        if (scale <= 0) return;
        // A step of a power of ten whose lines stand between a twentieth and
        // a tenth of the height apart.
        double spacing = scale, valueStep = 1;
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
        // "0" for whole steps and "0.0" for tenths; a smaller step gets as
        // many decimals as it needs, so that no two labels read alike.
        const int decimals = std::max(0, tenths);
        const bool everyLine = spacing >= h / 20;
        const double limit = kind == Kind::Bar ? cy - 0.4 * h - 1 : cy - 0.405 * h;
        const QString prefix = costs ? G.CurrencySymbol : QString();
        SelectedPen grey(dc, dorv::PS_GEOMETRIC, 1, kGrey);
        int64_t line = 0;
        for (float y = static_cast<float>(y0); y >= limit; y = static_cast<float>(y - spacing), ++line) {
            dc.MoveToEx(R(cx - w / 2 + s), R(y));
            dc.LineTo(R(cx + w / 2 - s), R(y));
            if (everyLine || line % 5 == 0)
                DrawTextAligned(dc, R(cx - w / 2 + 0.9 * s), R(y), prefix + GridNumber(line * valueStep, decimals),
                                QStringLiteral("R"));
        }
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

    void CostText(int32_t g) const
    {
        if (!costs) return;
        DrawTextAlignedSized(dc, R(X0(g) + 0.6 * s), R(y0 - 0.03 * h - values[size_t(g)] * scale),
                             costTexts[size_t(g)], 6, 0, costRef, QStringLiteral("Arial"), QStringLiteral("C"));
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
    f.Title("lang_DorvBarGraph");
    f.Grid();
    SelectedPen nullPen(dc, dorv::PS_NULL, 1, 0);
    const double s = f.s;
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
        f.CostText(g);
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
    f.Title("lang_DorvPictogram");
    f.Grid();
    const double s = f.s, y0 = f.y0;
    constexpr double kDepth = 14;  // pixels, whatever the size
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
        // The column filled with pictures of the item, one a twentieth of
        // the height high: always the first, then each that ends below the
        // column's top.
        const double p = f.h / 20;
        for (int64_t k = 0; k == 0 || (k + 1) * p < H; ++k) {
            DrawMod::DrawItemIcon(dc, G.SceneShapes, G.SceneShapeCount, f.First(g), kPicture3D, 0,
                                  static_cast<float>(left), static_cast<float>(-(y0 - k * p)),
                                  static_cast<float>(f.w / 20), static_cast<float>(p), 0);
        }
        f.CostText(g);
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
    f.Title("lang_DorvLineGraph");
    f.Grid();
    if (f.scale > 0) {
        std::vector<QPoint> points;
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
        const int32_t radius = R(0.01 * f.h);
        for (const QPoint& p : points) DrawFilledEllipse(dc, p.x(), p.y(), radius, radius, 0xFFFF, -1);
    }
    for (int32_t g = 0; g < f.groups; ++g) {
        f.Legend(g);
        if (f.scale > 0) f.CostText(g);
    }
}

}  // namespace Graphs
