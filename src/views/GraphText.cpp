// Aligned text, in the selected font or in a font of its own, and the size
// of the charts' fonts.
#include "views/Graphs.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

using dorv::RoundHalfEven;

namespace Graphs {

int32_t ChartFontHeight(float points, float widthRef)
{
    // 600 / widthRef x 72: the points of a 600-pixel-wide drawing grow with
    // the width. A drawing with no width (or one so wide that the divisor
    // would round to 0) would divide by zero.
    int32_t divisor = 72;
    if (widthRef > 0 && std::isfinite(widthRef)) {
        const double n = 600.0 / widthRef * 72.0;
        divisor = std::max(1, RoundHalfEven(std::min(n, double(std::numeric_limits<int32_t>::max()))));
    }
    return -dorv::MulDiv(RoundHalfEven(points), DrawMod::CanvasLogPixelsY(), divisor);
}

void DrawTextAligned(dorv::DeviceContext& dc, int32_t x, int32_t y, const QString& text, const QString& align)
{
    const QString code = align.toUpper();
    if (code != QLatin1String("L") && code != QLatin1String("C") && code != QLatin1String("R")) return;
    const QSize extent = dc.GetTextExtentPoint32A(text);
    const double ex = extent.width(), ey = extent.height();
    double left = x;
    if (code == QLatin1String("C"))
        left = x - ex / 2;
    else if (code == QLatin1String("R"))
        left = x - ex;
    dc.TextOutA(RoundHalfEven(left), RoundHalfEven(y - ey / 2), text);
}

void DrawTextAlignedSized(dorv::DeviceContext& dc, int32_t x, int32_t y, const QString& text, float pointSize,
                          float angle, float widthRef, const QString& fontName, const QString& align)
{
    dc.SetBkMode(dorv::TRANSPARENT);
    const dorv::GdiObject font = dorv::CreateFontA(ChartFontHeight(pointSize, widthRef),
                                                   RoundHalfEven(double(angle) * 10), 0, dorv::FW_NORMAL, fontName);
    const dorv::GdiObject oldFont = DrawMod::SelectGdiObject(dc, font);
    DrawTextAligned(dc, x, y, text, align);
    DrawMod::SelectGdiObject(dc, oldFont);
    DrawMod::DeleteGdiObject(font);
}

}  // namespace Graphs
