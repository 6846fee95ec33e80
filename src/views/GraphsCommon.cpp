#include "views/GraphsCommon.h"

#include "views/Graphs.h"
#include "views/ViewRender.h"

#include <algorithm>
#include <limits>

namespace Graphs::Detail {

namespace {
// Full, dark and pastel colours by group modulo 9 (red in the low byte).
constexpr int32_t kColours[27] = {
    0xFF,     0x88FF,   0xFFFF,   0x88FF00, 0xFFFF00, 0xFF8800, 0xFF0088, 0xFF00FF, 0x8800FF,
    0x88,     0x4488,   0x8888,   0x448800, 0x888800, 0x884400, 0x880044, 0x880088, 0x440088,
    0x8888FF, 0x88CCFF, 0x88FFFF, 0xCCFF88, 0xFFFF88, 0xFFCC88, 0xFF88CC, 0xFF88FF, 0xCC88FF,
};
int32_t Index(int32_t g) { return ((g % 9) + 9) % 9; }
}  // namespace

ChartFont::ChartFont(dorv::DeviceContext& dc, float width)
    : dc_(dc), font_(dorv::CreateFontA(ChartFontHeight(8, width), 0, 0, dorv::FW_NORMAL, QStringLiteral("Arial")))
{
    old_ = DrawMod::SelectGdiObject(dc_, font_);
}

ChartFont::~ChartFont()
{
    DrawMod::SelectGdiObject(dc_, old_);
    DrawMod::DeleteGdiObject(font_);
}

SelectedPen::SelectedPen(dorv::DeviceContext& dc, int32_t style, int32_t width, int32_t colour)
    : dc_(dc), pen_(dorv::CreatePen(style, width, colour))
{
    old_ = DrawMod::SelectGdiObject(dc_, pen_);
}

SelectedPen::~SelectedPen()
{
    DrawMod::SelectGdiObject(dc_, old_);
    DrawMod::DeleteGdiObject(pen_);
}

void FillPolygon(dorv::DeviceContext& dc, const QPoint* points, int count, int32_t colour)
{
    const dorv::GdiObject brush = dorv::CreateSolidBrush(colour);
    const dorv::GdiObject old = DrawMod::SelectGdiObject(dc, brush);
    dc.Polygon(points, count);
    DrawMod::SelectGdiObject(dc, old);
    DrawMod::DeleteGdiObject(brush);
}

int32_t FullColour(int32_t g) { return kColours[Index(g)]; }
int32_t DarkColour(int32_t g) { return kColours[9 + Index(g)]; }
int32_t PastelColour(int32_t g) { return kColours[18 + Index(g)]; }

QString FitText(const dorv::DeviceContext& dc, const QString& text, int32_t width)
{
    if (dc.GetTextExtentPoint32A(text).width() <= width) return text;
    const QString dots = QStringLiteral("...");
    // The longest beginning that fits with the dots, found by halving.
    int lo = 0, hi = int(text.size()) - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (dc.GetTextExtentPoint32A(text.left(mid).trimmed() + dots).width() <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QString cut = text.left(lo).trimmed() + dots;
    return dc.GetTextExtentPoint32A(cut).width() <= width ? cut : QString();
}

namespace {
// The labels' font, unturned (a length along a turned text is the same),
// selected for the object's life.
class SizedFont {
public:
    SizedFont(dorv::DeviceContext& dc, float points, float widthRef)
        : dc_(dc),
          font_(dorv::CreateFontA(ChartFontHeight(points, widthRef), 0, 0, dorv::FW_NORMAL, QStringLiteral("Arial")))
    {
        old_ = DrawMod::SelectGdiObject(dc_, font_);
    }
    ~SizedFont()
    {
        DrawMod::SelectGdiObject(dc_, old_);
        DrawMod::DeleteGdiObject(font_);
    }
    SizedFont(const SizedFont&) = delete;
    SizedFont& operator=(const SizedFont&) = delete;

private:
    dorv::DeviceContext& dc_;
    dorv::GdiObject font_, old_;
};

int32_t WidestOf(dorv::DeviceContext& dc, const std::vector<QString>& texts, float points, float widthRef)
{
    SizedFont font(dc, points, widthRef);
    int32_t widest = 0;
    for (const QString& t : texts) widest = std::max(widest, dc.GetTextExtentPoint32A(t).width());
    return widest;
}
}  // namespace

QString FitSizedText(dorv::DeviceContext& dc, const QString& text, float points, float widthRef, int32_t length)
{
    SizedFont font(dc, points, widthRef);
    return FitText(dc, text, length);
}

float ShrinkToFit(dorv::DeviceContext& dc, const std::vector<QString>& texts, float points, float widthRef,
                  double room)
{
    const int32_t widest = WidestOf(dc, texts, points, widthRef);
    if (widest <= room || widest <= 0 || room <= 0) return widthRef;
    // The font grows with the width reference: scale it by the room over
    // the widest, then a little more while whole pixels still overflow.
    float ref = static_cast<float>(widthRef * room / widest);
    for (int i = 0; i < 20 && ref > 1 && WidestOf(dc, texts, points, ref) > room; ++i) ref *= 0.95f;
    return ref;
}

QRect LabelSpace::TextBox(const QPoint& at, const QSize& extent)
{
    return QRect(R(at.x() - extent.width() / 2.0), R(at.y() - extent.height() / 2.0), extent.width(),
                 extent.height());
}

namespace {
// Boxes cover left .. left + width and top .. top + height: boxes that only
// touch do not overlap.
bool Overlap(const QRect& a, const QRect& b)
{
    return a.x() < b.x() + b.width() && b.x() < a.x() + a.width() && a.y() < b.y() + b.height() &&
           b.y() < a.y() + a.height();
}

bool Inside(const QRect& box, const QRect& area)
{
    return box.x() >= area.x() && box.y() >= area.y() && box.x() + box.width() <= area.x() + area.width() &&
           box.y() + box.height() <= area.y() + area.height();
}

// Whether the line from a to b runs through the box (Liang-Barsky clipping).
bool Crosses(const QLineF& line, const QRectF& box)
{
    const double dx = line.dx(), dy = line.dy();
    double t0 = 0, t1 = 1;
    auto clip = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    return clip(-dx, line.x1() - box.left()) && clip(dx, box.right() - line.x1()) &&
           clip(-dy, line.y1() - box.top()) && clip(dy, box.bottom() - line.y1());
}
}  // namespace

bool LabelSpace::Free(const QRect& box, bool onFill) const
{
    if (!Inside(box, area_)) return false;
    for (const QRect& t : taken_)
        if (Overlap(box, t)) return false;
    const QRectF wide = QRectF(box.x(), box.y(), box.width(), box.height())
                            .adjusted(-lineClear, -lineClear, lineClear, lineClear);
    for (const QLineF& l : lines_)
        if (Crosses(l, wide)) return false;
    const QPolygonF corners(QRectF(box.x(), box.y(), box.width(), box.height()));
    if (!onFill) {
        for (const QPolygonF& f : fills_)
            if (f.intersects(corners)) return false;
        return true;
    }
    // Wholly on a fill: every corner inside one whose edges it keeps clear of.
    for (const QPolygonF& f : fills_) {
        if (std::all_of(corners.begin(), corners.end(),
                        [&](const QPointF& c) { return f.containsPoint(c, Qt::OddEvenFill); }))
            return true;
    }
    return false;
}

bool LabelSpace::TryPlace(const QSize& extent, const std::vector<QPoint>& spots, QPoint& placed, bool onFill)
{
    for (const QPoint& at : spots) {
        const QRect box = TextBox(at, extent);
        if (Free(box, onFill)) {
            Take(box);
            placed = at;
            return true;
        }
    }
    return false;
}

QPoint LabelSpace::Place(const QSize& extent, const std::vector<QPoint>& spots)
{
    QPoint at;
    if (TryPlace(extent, spots, at) || spots.empty()) return at;
    // Nowhere free: the first spot, moved inside the area as far as it fits.
    at = spots.front();
    const QRect box = TextBox(at, extent);
    const int dx = std::max(0, area_.x() - box.x()) -
                   std::max(0, box.x() + box.width() - (area_.x() + area_.width()));
    const int dy = std::max(0, area_.y() - box.y()) -
                   std::max(0, box.y() + box.height() - (area_.y() + area_.height()));
    at += QPoint(dx, dy);
    Take(TextBox(at, extent));
    return at;
}

std::vector<QPoint> LabelSpace::SpotsAbove(const QSize& extent, const QPoint& at, int ceiling) const
{
    // Raised over the highest box it meets, until nothing is met, the area
    // ends above it or what it meets stands higher than its own column.
    std::vector<QPoint> spots{at};
    QPoint cur = at;
    for (size_t i = 0; i <= taken_.size(); ++i) {
        const QRect box = TextBox(cur, extent);
        bool met = false;
        int top = box.y(), highest = std::numeric_limits<int>::max();
        for (const QRect& t : taken_) {
            if (!Overlap(box, t)) continue;
            met = true;
            top = std::min(top, t.y());
            highest = std::min(highest, t.y());
        }
        if (!met || top < area_.y() || highest < ceiling) break;
        // The box's bottom two pixels above the top of what it met.
        cur.setY(top - 2 - extent.height() + extent.height() / 2);
        spots.push_back(cur);
    }
    return spots;
}

void DrawPlacedText(dorv::DeviceContext& dc, const QString& text, float points, float widthRef,
                    const std::function<TextSpot(const QSize&)>& place)
{
    // The calls of DrawTextAlignedSized, with the spot chosen in between.
    dc.SetBkMode(dorv::TRANSPARENT);
    const int32_t height = ChartFontHeight(points, widthRef);
    const dorv::GdiObject font = dorv::CreateFontA(height, 0, 0, dorv::FW_NORMAL, QStringLiteral("Arial"));
    const dorv::GdiObject old = DrawMod::SelectGdiObject(dc, font);
    const QSize extent = dc.GetTextExtentPoint32A(text);
    const TextSpot spot = place(extent);
    const dorv::ColorRef colour = spot.light ? dc.SetTextColor(0xFFFFFF) : dc.TextColor();
    if (!spot.upright) {
        DrawTextAligned(dc, spot.at.x(), spot.at.y(), text, QStringLiteral("C"));
        DrawMod::SelectGdiObject(dc, old);
    } else {
        // Turned a quarter to the left about the corner where its cell
        // starts: that corner is the bottom left of the upright box.
        const dorv::GdiObject turned = dorv::CreateFontA(height, 900, 0, dorv::FW_NORMAL, QStringLiteral("Arial"));
        DrawMod::SelectGdiObject(dc, turned);
        const QRect box = LabelSpace::TextBox(spot.at, extent.transposed());
        dc.TextOutA(box.x(), box.y() + box.height(), text);
        DrawMod::SelectGdiObject(dc, old);
        DrawMod::DeleteGdiObject(turned);
    }
    if (spot.light) dc.SetTextColor(colour);
    DrawMod::DeleteGdiObject(font);
}

int32_t WidestText(const dorv::DeviceContext& dc, const std::vector<QString>& texts)
{
    int32_t widest = 0;
    for (const QString& t : texts) widest = std::max(widest, dc.GetTextExtentPoint32A(t).width());
    return widest;
}

QString SignedNumber(int64_t n)
{
    return n < 0 ? QString::number(n) : QStringLiteral(" ") + QString::number(n);
}

}  // namespace Graphs::Detail
