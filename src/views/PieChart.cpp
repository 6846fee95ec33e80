// The pie chart, flat or in 3D, with its ruled background, title, legend and
// numbered slices; and the filled ellipse it draws its shadow with.
#include "views/Graphs.h"

#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "views/GraphsCommon.h"
#include "views/PictureEngine.h"

#include <algorithm>
#include <cmath>

namespace Graphs {

using namespace Detail;

namespace {
constexpr float kTurn = 6.2831856f;
// Only the front half of a 3D pie (angles past this) shows a side.
constexpr double kFrontFrom = 3.14;
// Samples of one slice's rim; the point buffer of a slice holds 801 points.
constexpr int kMaxSamples = 800;
// The side bands' colours by group modulo 9.
constexpr int32_t kSideColours[9] = {0x88, 0x4488, 0x8888, 0x448800, 0x888800, 0x884400, 0x880044, 0x880088, 0x440088};

// The values at which a slice's rim is sampled, from its start to its end:
// about 100 steps, no step below 0.02 of a unit, the exact end last. The
// steps are added in single precision; where they no longer move the value
// (a slice of a very large sum) the end follows at once.
std::vector<float> RimSamples(float cum, float v, float step)
{
    std::vector<float> out;
    const float last = cum + v - step;
    for (float x = cum; x <= last && int(out.size()) < kMaxSamples - 1;) {
        out.push_back(x);
        const float next = x + step;
        if (!(next > x)) break;
        x = next;
    }
    out.push_back(cum + v);
    return out;
}

// The same values walked back from the end to the start.
std::vector<float> RimSamplesBack(float cum, float v, float step)
{
    std::vector<float> out;
    for (float x = cum + v; x >= cum + step && int(out.size()) < kMaxSamples - 1;) {
        out.push_back(x);
        const float next = x - step;
        if (!(next < x)) break;
        x = next;
    }
    out.push_back(cum);
    return out;
}
}  // namespace

void DrawFilledEllipse(dorv::DeviceContext& dc, int32_t centreX, int32_t centreY, int32_t radiusX,
                       int32_t radiusY, int32_t fillColour, int32_t lineColour)
{
    QPoint points[180];
    for (int i = 0; i < 180; ++i) {
        const float a = static_cast<float>(i) * kTurn / 180;
        points[i] = QPoint(R(centreX - double(radiusX) * std::cos(a)), R(centreY + double(radiusY) * std::sin(a)));
    }
    SelectedPen pen(dc, lineColour == -1 ? dorv::PS_NULL : dorv::PS_GEOMETRIC, 1, lineColour == -1 ? 0 : lineColour);
    FillPolygon(dc, points, 180, fillColour);
}

void DrawPieChart(dorv::DeviceContext& dc, const std::vector<ItemRecord>& items, int32_t count, float centreX,
                  float centreY, int32_t width, int32_t height)
{
    std::vector<ItemSummary> summary;
    double total = 0;
    const int32_t groups = BuildItemSummary(items, count, summary, total);
    if (groups == 0 || width <= 0 || height <= 0) return;
    const bool costs = G.GraphShowCosts[0], pictures = G.GraphShowPictures[0], in3D = G.Graph3D[0];

    const double w = width, h = height, cx = centreX, cy = centreY;
    const double t = h / 10, s = w / (groups + 2), B = h / 2 - t, C = cy - t / 2;
    std::vector<float> values;
    float sum = 0;
    for (const ItemSummary& g : summary) {
        values.push_back(static_cast<float>(costs ? g.Value : g.Count));
        sum += values.back();
    }
    // Nothing to share out: the frame, title and legend alone.
    const bool plotted = sum > 0 && std::isfinite(sum);
    const float k = plotted ? kTurn / sum : 0.0f;

    dc.SetBkMode(dorv::TRANSPARENT);
    ChartFont font(dc, static_cast<float>(w));
    SelectedPen nullPen(dc, dorv::PS_NULL, 1, 0);

    {
        // The ruled background, half a tenth of the height apart.
        SelectedPen grey(dc, dorv::PS_GEOMETRIC, 1, kGrey);
        const int32_t step = R(t / 2);
        if (step >= 1) {
            for (double y = C + 0.37 * h; y >= C - 0.4 * h; y -= step) {
                dc.MoveToEx(R(cx - w / 2 + s), R(y));
                dc.LineTo(R(cx + w / 2 - s), R(y));
            }
        }
    }

    DrawMod::DrawGradientRect(dc, kLightBlue, kWhite, R(cx - w / 2 + s), R(cy - 1.15 * B), R(cx + w / 2 - s),
                              R(cy - 1.05 * B), 1);
    DrawTextAligned(dc, R(cx - w / 2 + 1.1 * s), R(cy - 1.1 * B), LangMod::GetMessage(QStringLiteral("lang_DorvPieChart")),
                    QStringLiteral("L"));

    const double q = in3D ? 0.4 : 0.8;
    auto rim = [&](float value, double drop) {
        const double a = double(k) * value;
        return QPoint(R(cx + 0.8 * B * std::cos(a)), R(C - q * B * std::sin(a) + drop));
    };

    if (plotted) {
        // The shadow under the pie.
        static constexpr int32_t kShadow[3] = {0xFFFFCC, 0xFFCC88, 0xCC8833};
        for (int i = 0; i < 3; ++i) {
            if (in3D) {
                const double off = (0.06 - 0.02 * i) * B;
                DrawFilledEllipse(dc, R(cx + off), R(C + off + t), R((0.83 - 0.01 * i) * B),
                                  R(0.4 * (1.03 - 0.01 * i) * B), kShadow[i], -1);
            } else {
                DrawFilledEllipse(dc, R(cx + 6 - 2 * i), R(C + 6 - 2 * i), R(0.8 * B), R(0.8 * B), kShadow[i], -1);
            }
        }

        std::vector<QPoint> points;
        if (in3D) {
            // The sides of the front half, every slice before any top.
            float cum = 0;
            for (int32_t g = 0; g < groups; ++g) {
                const float v = values[size_t(g)];
                const float step = std::max(v / 100, 0.02f);
                points.clear();
                for (float x : RimSamples(cum, v, step))
                    if (double(k) * x > kFrontFrom) points.push_back(rim(x, 0));
                for (float x : RimSamplesBack(cum, v, step))
                    if (double(k) * x > kFrontFrom) points.push_back(rim(x, t));
                if (!points.empty()) FillPolygon(dc, points.data(), int(points.size()), kSideColours[g % 9]);
                cum += v;
            }
        }
        float cum = 0;
        for (int32_t g = 0; g < groups; ++g) {
            const float v = values[size_t(g)];
            const float step = std::max(v / 100, 0.02f);
            points.assign(1, QPoint(R(cx), R(C)));
            for (float x : RimSamples(cum, v, step)) points.push_back(rim(x, 0));
            FillPolygon(dc, points.data(), int(points.size()), FullColour(g));
            cum += v;
        }
    }

    // The legend along the bottom, one column per group. A name is cut where
    // the canvas ends below it; the costs shrink together until each fits
    // its column, so that neighbours never run into each other.
    std::vector<QString> costTexts;
    for (const ItemSummary& sg : summary) costTexts.push_back(CommonMod::FormatTotal(sg.Value, 1));
    const float costRef = costs ? ShrinkToFit(dc, costTexts, 6, static_cast<float>(w), s - 2) : static_cast<float>(w);
    const int32_t nameLength = R(0.12 * h - 2);
    int32_t legendTop = R(C + 0.37 * h);  // the swatches' top, or the costs' over them
    for (int32_t g = 0; g < groups; ++g) {
        const ItemSummary& sg = summary[size_t(g)];
        const ItemRecord& item = items[size_t(sg.FirstItem)];
        const double x0 = cx - w / 2 + (g + 1) * s;
        DrawMod::DrawGradientRect(dc, FullColour(g), kWhite, R(x0 + 0.2 * s), R(C + 0.37 * h), R(x0 + s),
                                  R(C + 0.45 * h), 1);
        DrawTextAligned(dc, R(x0 + 0.6 * s), R(C + 0.39 * h), SignedNumber(g + 1), QStringLiteral("C"));
        if (pictures) {
            DrawMod::DrawItemIcon(dc, G.SceneShapes, G.SceneShapeCount, item, kPicture3D, 0,
                                  static_cast<float>(x0 + 0.2 * s), static_cast<float>(-(C + 0.48 * h)),
                                  static_cast<float>(w / 20), static_cast<float>(h / 20), 0);
        } else {
            const QString name =
                FitSizedText(dc, LangMod::GetPlanInfoText(item.Name.str()), 8, static_cast<float>(w), nameLength);
            DrawTextAlignedSized(dc, R(x0 + 0.8 * s), R(C + 0.43 * h), name, 8, 270, static_cast<float>(w),
                                 QStringLiteral("Arial"), QStringLiteral("L"));
        }
        if (costs)
            DrawPlacedText(dc, costTexts[size_t(g)], 6, costRef, [&](const QSize& e) {
                const QPoint at(R(x0 + 0.6 * s), R(C + 0.355 * h));
                legendTop = std::min(legendTop, LabelSpace::TextBox(at, e).y());
                return at;
            });
    }

    if (plotted) {
        // The slices' numbers: inside the pie, or just outside the rim for a
        // slice too thin to hold its number.
        // A number that would run into one placed before moves out along
        // its slice's middle until it stands clear, between the title band
        // and the legend, on the canvas.
        SelectedPen labelPen(dc, dorv::PS_GEOMETRIC, 1, 0x444444);
        const int32_t top = R(cy - 1.05 * B);
        LabelSpace space(QRect(R(cx - w / 2), top, R(w), legendTop - top));
        float cum = 0;
        for (int32_t g = 0; g < groups; ++g) {
            const float v = values[size_t(g)];
            const double am = double(k) * (cum + v / 2);
            const double f = double(k) * v < 0.2 ? 0.88 : 0.7;
            const QString number = SignedNumber(g + 1);
            // Out along the middle of the slice, then, where the title or
            // the legend leaves no room for that, on round the pie.
            std::vector<QPoint> spots;
            for (int i = 0; i <= 20; ++i) {
                const double r = f + 0.06 * i;
                spots.push_back(QPoint(R(cx + r * B * std::cos(am)), R(C - r * B * 1.2 * q * std::sin(am))));
            }
            for (int j = 1; j <= 20; ++j)
                spots.push_back(spots.front() + QPoint(R(-3.0 * j * std::sin(am)), R(-3.0 * j * std::cos(am))));
            const QPoint at = space.Place(dc.GetTextExtentPoint32A(number), spots);
            DrawTextAligned(dc, at.x(), at.y(), number, QStringLiteral("C"));
            cum += v;
        }
    }
}

}  // namespace Graphs
