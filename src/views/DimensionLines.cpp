#include "views/DimensionLines.h"

#include "platform/Rounding.h"
#include "scene/PlaceInfo.h"
#include "views/ViewRender.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>

using dorv::RoundHalfEven;

namespace BitmapMod {

void DcMoveTo(dorv::DeviceContext* dc, int32_t x, int32_t y)
{
    if (dc) dc->MoveToEx(x, y);
}

void DcLineTo(dorv::DeviceContext* dc, int32_t x, int32_t y)
{
    if (dc) dc->LineTo(x, y);
}

}  // namespace BitmapMod

namespace Graphs {

namespace {

using BitmapMod::DcLineTo;
using BitmapMod::DcMoveTo;

// A label font of `points` on a device whose resolution is the screen's over
// `ratio`, turned by `escapement` tenths of a degree.
dorv::GdiObject LabelFont(int points, int screenDpi, float ratio, int32_t escapement)
{
    const int32_t height = -dorv::MulDiv(points, screenDpi, RoundHalfEven(double(ratio) * 72));
    return dorv::CreateFontA(height, escapement, escapement, dorv::FW_NORMAL, QStringLiteral("Arial"));
}

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

double LineAngle(double x1, double y1, double x2, double y2)
{
    double dx = x2 - x1;
    if (dx == 0) dx = 0.0001;
    const double dy = y2 - y1;
    double angle = 1.57079633 - std::atan(dy / dx);
    if (x1 > x2) angle += 3.14159268;
    return angle;
}

void DrawDimensionLine(dorv::DeviceContext& dc, float x1, float y1, float x2, float y2, const QString& label)
{
    DrawDimensionLineScaled(dc, DrawMod::GetPrintScale(dc), DrawMod::CanvasLogPixelsY(), x1, y1, x2, y2, label);
}

void DrawDimensionLineScaled(dorv::DeviceContext& dc, float k, int screenDpi, float x1, float y1, float x2,
                             float y2, const QString& label)
{
    if (!(k > 0) || !std::isfinite(k)) k = 1;
    const float ratio = 1 / k;
    const float len = std::sqrt((y2 - y1) * (y2 - y1) + (x2 - x1) * (x2 - x1));
    // No length, or none that can be drawn.
    if (!(len > 0) || !std::isfinite(len)) return;

    // The direction, the arrow step along it and the offset to its right
    // (y grows downwards), all k times their screen size.
    const float dx = (x2 - x1) / len, dy = (y2 - y1) / len;
    float ex = k * dx, ey = k * dy;
    const float Ax = 5 * k * dx, Ay = 5 * k * dy;
    const float nx = -Ay, ny = Ax;
    // Half the gap the text leaves in the line, in arrow steps.
    const float tw = static_cast<float>(RoundHalfEven(label.size() * 8 * 0.07));

    // The text reads left to right, or upwards, never upside down.
    float angle = static_cast<float>(LineAngle(x1, y1, x2, y2));
    if (x1 > x2) {
        angle += 1.5707964f;
    } else {
        angle -= 1.5707964f;
        ex = -ex;
        ey = -ey;
    }

    const float mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
    auto line = [&dc](double ax, double ay, double bx, double by) {
        DcMoveTo(&dc, RoundHalfEven(ax), RoundHalfEven(ay));
        DcLineTo(&dc, RoundHalfEven(bx), RoundHalfEven(by));
    };
    if (len >= 80 * k) {
        DrawRotatedLengthLabel(dc, label, RoundHalfEven(mx + nx), RoundHalfEven(my + ny), angle, ratio, ex, ey,
                               screenDpi);
        const bool gapCoversLine =
            std::fabs(mx - x1) <= std::fabs(tw * Ax) && std::fabs(my - y1) <= std::fabs(tw * Ay);
        if (len > 80 * k && !gapCoversLine) {
            line(x1 + 2 * Ax + nx, y1 + 2 * Ay + ny, mx - tw * Ax + nx, my - tw * Ay + ny);
            line(mx + tw * Ax + nx, my + tw * Ay + ny, x2 - 2 * Ax + nx, y2 - 2 * Ay + ny);
        }
    } else if (label != QLatin1String("0")) {
        DrawRotatedLengthLabel(dc, label, RoundHalfEven(mx + 4 * nx), RoundHalfEven(my + 4 * ny), angle, ratio, ex,
                               ey, screenDpi);
        if (len > 20 * k) line(x1 + 2 * Ax + nx, y1 + 2 * Ay + ny, x2 - 2 * Ax + nx, y2 - 2 * Ay + ny);
    }

    // Arrowheads, tips on the line's ends: inside pointing out, or on a short
    // line outside pointing in.
    auto triangle = [&dc](double ax, double ay, double bx, double by, double cx, double cy) {
        DcMoveTo(&dc, RoundHalfEven(ax), RoundHalfEven(ay));
        DcLineTo(&dc, RoundHalfEven(bx), RoundHalfEven(by));
        DcLineTo(&dc, RoundHalfEven(cx), RoundHalfEven(cy));
        DcLineTo(&dc, RoundHalfEven(ax), RoundHalfEven(ay));
    };
    if (len > 20 * k) {
        triangle(x2 - 2 * Ax, y2 - 2 * Ay, x2 + nx, y2 + ny, x2 - 2 * Ax + 2 * nx, y2 - 2 * Ay + 2 * ny);
        triangle(x1 + 2 * Ax, y1 + 2 * Ay, x1 + nx, y1 + ny, x1 + 2 * Ax + 2 * nx, y1 + 2 * Ay + 2 * ny);
    } else {
        triangle(x2 + 2 * Ax + 2 * nx, y2 + 2 * Ay + 2 * ny, x2 + nx, y2 + ny, x2 + 2 * Ax, y2 + 2 * Ay);
        triangle(x1 - 2 * Ax + 2 * nx, y1 - 2 * Ay + 2 * ny, x1 + nx, y1 + ny, x1 - 2 * Ax, y1 - 2 * Ay);
    }
}

float DimensionLineReach(dorv::DeviceContext& dc, float length, const QString& label)
{
    float k = DrawMod::GetPrintScale(dc);
    if (!(k > 0) || !std::isfinite(k)) k = 1;
    // The arrowheads run from the segment to twice the line's offset.
    const float arrows = 10 * k;
    const bool labelled = length >= 80 * k ? !label.isEmpty() : !label.isEmpty() && label != QLatin1String("0");
    if (!labelled) return arrows;
    const dorv::GdiObject font = LabelFont(8, DrawMod::CanvasLogPixelsY(), 1 / k, 0);
    const dorv::GdiObject oldFont = dc.SelectObject(font);
    const float th = static_cast<float>(dc.GetTextExtentPoint32A(label).height());
    dc.SelectObject(oldFont);
    dorv::DeleteObject(font);
    // The label's middle is one offset out, on a short line four.
    return std::max(arrows, (length >= 80 * k ? 5 * k : 20 * k) + th / 2);
}

QRectF DimensionLineBox(dorv::DeviceContext& dc, float x1, float y1, float x2, float y2, const QString& label)
{
    float k = DrawMod::GetPrintScale(dc);
    if (!(k > 0) || !std::isfinite(k)) k = 1;
    const float len = std::sqrt((y2 - y1) * (y2 - y1) + (x2 - x1) * (x2 - x1));
    if (!(len > 0) || !std::isfinite(len)) return {};
    // The same steps as the drawing: along the line, and to its right.
    const float dx = (x2 - x1) / len, dy = (y2 - y1) / len;
    const QPointF a(5 * k * dx, 5 * k * dy), n(-a.y(), a.x()), p1(x1, y1), p2(x2, y2);
    QPolygonF drawn;
    // The arrowheads: inside the ends, or on a short line outside them.
    const float inward = len > 20 * k ? 2 : -2;
    drawn << p1 << p2 << p1 + n << p2 + n << p1 + inward * a + 2 * n << p2 - inward * a + 2 * n;
    if (!label.isEmpty() && (len >= 80 * k || label != QLatin1String("0"))) {
        const dorv::GdiObject font = LabelFont(8, DrawMod::CanvasLogPixelsY(), 1 / k, 0);
        const dorv::GdiObject oldFont = dc.SelectObject(font);
        const QSizeF extent = dc.GetTextExtentPoint32A(label);
        dc.SelectObject(oldFont);
        dorv::DeleteObject(font);
        // The label along the line, centred one offset out, on a short line four.
        const QPointF centre = (p1 + p2) / 2 + (len >= 80 * k ? 1 : 4) * n;
        const QPointF along = QPointF(dx, dy) * (extent.width() / 2), across = QPointF(-dy, dx) * (extent.height() / 2);
        drawn << centre - along - across << centre - along + across << centre + along - across
              << centre + along + across;
    }
    return drawn.boundingRect();
}

void DrawRotatedLengthLabel(dorv::DeviceContext& dc, const QString& label, int32_t x, int32_t y, float angle,
                            float ratio, float ex, float ey, int screenDpi)
{
    if (label.isEmpty()) return;
    dc.SetBkMode(dorv::TRANSPARENT);
    const int32_t escapement = RoundHalfEven(double(angle) * 572.957795);
    const dorv::GdiObject font = LabelFont(8, screenDpi, ratio, escapement);
    const dorv::GdiObject oldFont = dc.SelectObject(font);
    const QSize extent = dc.GetTextExtentPoint32A(label);
    const float tw = static_cast<float>(extent.width()), th = static_cast<float>(extent.height());
    // The turned text's centre on (x, y).
    const int32_t sx = RoundHalfEven(x + ratio * tw / 2 * ex - ratio * th / 2 * ey);
    const int32_t sy = RoundHalfEven(y + ratio * tw / 2 * ey + ratio * th / 2 * ex);
    auto done = [&dc, oldFont](dorv::GdiObject f) {
        dc.SelectObject(oldFont);
        dorv::DeleteObject(f);
    };

    // A fraction is read as whole part, numerator, "/", denominator, rest;
    // the whole part ends at a blank. Without one the label cannot be split
    // and is written as it stands.
    const int slash = label.indexOf(QLatin1Char('/'));
    QString whole = slash < 0 ? QString() : label.left(slash);
    while (!whole.isEmpty() && !whole.endsWith(QLatin1Char(' '))) whole.chop(1);
    if (whole.isEmpty()) {
        dc.TextOutA(sx, sy, label);
        done(font);
        return;
    }
    const QString after = label.mid(slash + 1);
    int c = 0;
    while (c < after.size() && IsDigit(after[c])) ++c;
    const QString rest = after.mid(c);
    // q: how many characters of the label come before the numerator.
    int q = 0;
    const int equals = whole.indexOf(QLatin1Char('='));
    if (equals >= 0) {
        if (FileMod::LeadingNumber(whole.mid(equals + 2)) == 0) {
            whole = whole.left(equals + 2);
            q = int(whole.size()) + 1;
        } else {
            q = int(whole.size());
        }
    } else {
        if (FileMod::LeadingNumber(whole) == 0) whole = QStringLiteral(" ");
        q = int(whole.size());
    }
    const int m = std::max(0, slash - int(whole.size()));
    const QString upToBar = whole + QString(m, QLatin1Char(' ')) + QLatin1Char('/');
    dc.TextOutA(sx, sy, upToBar + QString(c + 1, QLatin1Char(' ')) + rest);
    const QSize wholeExtent = dc.GetTextExtentPoint32A(whole);
    const float ww = static_cast<float>(wholeExtent.width()), wh = static_cast<float>(wholeExtent.height());
    const float sw = static_cast<float>(dc.GetTextExtentPoint32A(upToBar).width());
    dc.SelectObject(oldFont);
    dorv::DeleteObject(font);

    const dorv::GdiObject small = LabelFont(5, screenDpi, ratio, escapement);
    dc.SelectObject(small);
    // The numerator just after the whole part, tops level.
    const int nextSlash = label.indexOf(QLatin1Char('/'), q);
    const QString numerator = nextSlash < 0 ? label.mid(q) : label.mid(q, nextSlash - q);
    dc.TextOutA(RoundHalfEven(sx - ratio * (ww + 1) * ex), RoundHalfEven(sy - ratio * (ww + 1) * ey), numerator);
    // The denominator 2 pixels before the end of the bar, lowered.
    if (c > 0)
        dc.TextOutA(RoundHalfEven(sx - ratio * (sw - 2) * ex + ratio * wh * 0.3 * ey),
                    RoundHalfEven(sy - ratio * (sw - 2) * ey - ratio * wh * 0.3 * ex), after.left(c));
    done(small);
}

}  // namespace Graphs
