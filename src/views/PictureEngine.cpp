#include "views/PictureEngine.h"

#include "platform/Rounding.h"

#include <cmath>
#include <limits>

using dorv::RoundHalfEven;
using Shapes::PathOp;
using Shapes::Record;
using Shapes::Table;

namespace DrawMod {

namespace {
constexpr int32_t kGhostFill = 0xEEEEEE00;
constexpr int32_t kGhostLine = static_cast<int32_t>(0xCCCCCC00u);
constexpr int32_t kHighlightLine = 0xFF00;  // red as a picture word

// The points of the shape being drawn; kept between shapes so that drawing
// does not allocate once the buffers have grown.
struct PathBuffer {
    std::vector<QPoint> points;
    std::vector<int32_t> counts;
};
PathBuffer& Buffer()
{
    static PathBuffer buffer;
    return buffer;
}
}  // namespace

void FlattenBezier(std::vector<QPoint>& points, float x0, float y0, float x1, float y1, float x2, float y2,
                   float x3, float y3, float& step)
{
    if (step == 0) {
        step = std::sqrt((x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0) + (x2 - x1) * (x2 - x1) +
                         (y2 - y1) * (y2 - y1) + (x3 - x2) * (x3 - x2) + (y3 - y2) * (y3 - y2));
    }
    if (step != 0 && std::isfinite(step)) {
        step = 3 / step;
        if (step < 0.02f) step = 0.02f;
        if (step > 0.25f) step = 0.25f;
    } else {
        step = 0.25f;  // all four points equal (or beyond measure)
    }
    points.emplace_back(RoundHalfEven(x0), RoundHalfEven(y0));
    for (float t = step; t <= 0.999f; t += step) {
        const float u = 1 - t;
        const float a = u * u * u, b = 3 * t * u * u, c = 3 * t * t * u, d = t * t * t;
        points.emplace_back(RoundHalfEven(a * x0 + b * x1 + c * x2 + d * x3),
                            RoundHalfEven(a * y0 + b * y1 + c * y2 + d * y3));
    }
    points.emplace_back(RoundHalfEven(x3), RoundHalfEven(y3));
}

void DrawShapePath(dorv::DeviceContext& dc, const Table& t, const Record& shape, int32_t fill, int32_t line,
                   float width, float offX, float offY, float originX, float originY, float scale)
{
    if (fill == Shapes::kNoColour && line == Shapes::kNoColour) return;
    PathBuffer& buf = Buffer();
    buf.points.clear();
    buf.counts.clear();
    const double s = scale, ox = offX, oy = offY, gx = originX, gy = originY;
    auto devX = [&](int32_t x) { return (ox + x) * s + gx; };
    auto devY = [&](int32_t y) { return gy - (oy + y) * s; };
    auto device = [&](QPoint p) { return QPoint(RoundHalfEven(devX(p.x())), RoundHalfEven(devY(p.y()))); };

    QPoint start;
    Shapes::PathReader path(t, shape);
    PathOp op;
    while (path.next(op)) {
        switch (op.kind) {
        case PathOp::MoveTo:
            start = device(op.p[0]);
            buf.points.push_back(start);
            buf.counts.push_back(1);
            break;
        case PathOp::LineTo:
            buf.points.push_back(device(op.p[0]));
            ++buf.counts.back();
            break;
        case PathOp::Close:
            buf.points.push_back(start);
            ++buf.counts.back();
            break;
        case PathOp::Curve: {
            const QPoint p0 = buf.points.back();
            const size_t before = buf.points.size();
            float step = 0;
            FlattenBezier(buf.points, float(p0.x()), float(p0.y()), float(devX(op.p[0].x())),
                          float(devY(op.p[0].y())), float(devX(op.p[1].x())), float(devY(op.p[1].y())),
                          float(devX(op.p[2].x())), float(devY(op.p[2].y())), step);
            buf.counts.back() += static_cast<int32_t>(buf.points.size() - before);
            break;
        }
        }
    }
    const int polygons = static_cast<int>(buf.counts.size());
    if (polygons == 0) return;

    if (fill != Shapes::kNoColour) {
        const dorv::GdiObject pen = dorv::CreatePen(dorv::PS_NULL, 1, 0);
        const dorv::GdiObject brush = dorv::CreateSolidBrush(Shapes::ShiftedLongToColour(fill));
        const dorv::GdiObject oldPen = dc.SelectObject(pen);
        const dorv::GdiObject oldBrush = dc.SelectObject(brush);
        dc.PolyPolygon(buf.points.data(), buf.counts.data(), polygons);
        dc.SelectObject(oldBrush);
        dc.SelectObject(oldPen);
        dorv::DeleteObject(brush);
        dorv::DeleteObject(pen);
    }
    if (line != Shapes::kNoColour) {
        const dorv::GdiObject pen =
            dorv::CreatePen(dorv::PS_GEOMETRIC, RoundHalfEven(width), Shapes::ShiftedLongToColour(line));
        const dorv::GdiObject oldPen = dc.SelectObject(pen);
        dc.PolyPolyline(buf.points.data(), buf.counts.data(), polygons);
        dc.SelectObject(oldPen);
        dorv::DeleteObject(pen);
    }
}

void DrawItemPicture(dorv::DeviceContext& dc, const ShapeStream& stream, int32_t count, const ItemRecord& item,
                     int16_t mode, int32_t view, float offX, float offY, float originX, float originY,
                     float scale, int16_t colourMode)
{
    const Table t = Shapes::Used(stream, count);
    const int32_t g = PictureStart(item, mode, view, t);
    Record picture;
    if (!PictureRecordAt(t, g, picture)) return;
    const Shapes::Box box = Shapes::RecordBox(t, picture);
    const float dx = static_cast<float>(double(offX) - box.minX);
    const float dy = static_cast<float>(double(offY) - box.minY);

    // Later shapes paint over earlier ones.
    Shapes::ForEachShapeInOrder(t, g, picture.end, [&](const Record& shape) {
        int32_t fill = Shapes::FillWord(t, shape);
        int32_t line = Shapes::LineWord(t, shape);
        float width = 1.0f;
        if (colourMode == kGhost) {
            if (fill != Shapes::kNoColour) fill = kGhostFill;
            if (line != Shapes::kNoColour) line = kGhostLine;
        } else if (colourMode == kHighlight) {
            line = kHighlightLine;
            width = 3.0f;
        }
        DrawShapePath(dc, t, shape, fill, line, width, dx, dy, originX, originY, scale);
    });
}

bool FitPictureInBox(float w, float h, float boxWidth, float boxHeight, float& scale, float& marginX,
                     float& marginY)
{
    constexpr float none = std::numeric_limits<float>::infinity();
    const float byHeight = h > 0 ? boxHeight / h : none;
    const float byWidth = w > 0 ? boxWidth / w : none;
    marginX = 0;
    marginY = 0;
    if (byHeight <= byWidth) {
        scale = byHeight;
        marginX = (boxWidth - w * scale) * 0.5f;
    } else {
        scale = byWidth;
        marginY = (boxHeight - h * scale) * 0.5f;
    }
    return std::isfinite(scale) && scale > 0;
}

void DrawItemIcon(dorv::DeviceContext& dc, const ShapeStream& stream, int32_t count, const ItemRecord& item,
                  int16_t mode, int16_t view, float boxLeft, float boxY, float boxWidth, float boxHeight,
                  int16_t colourMode)
{
    float w = 0, h = 0, insetX = 0, insetY = 0, s = 0, marginX = 0, marginY = 0;
    GetItemDrawnSize(item, mode, stream, count, 1.0f, w, h, insetX, insetY, view);
    if (!FitPictureInBox(w, h, boxWidth, boxHeight, s, marginX, marginY)) return;
    // The view measured: a view past the item's count would otherwise walk
    // on into the pictures of whatever follows the item in the table.
    DrawItemPicture(dc, stream, count, item, mode, ReduceView(item, view), (marginX + boxLeft) / s - insetX,
                    (marginY + boxY) / s - insetY, 0, 0, s, colourMode);
}

}  // namespace DrawMod
