#include "scene/Colours.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using dorv::RoundHalfEven;

namespace CommonMod {

float SegmentAngle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    float dx = static_cast<float>(static_cast<double>(x2) - x1);
    if (dx == 0) dx = 0.0001f;
    const float dy = static_cast<float>(static_cast<double>(y2) - y1);
    double angle = 1.57079633 - std::atan(static_cast<double>(dy / dx));
    if (x1 > x2) angle += 3.14159268;
    return static_cast<float>(angle);
}

int32_t ScaleColour(int32_t colour, float factor)
{
    const uint32_t u = static_cast<uint32_t>(colour);
    auto channel = [factor](uint32_t value, uint32_t mask) {
        return static_cast<uint32_t>(RoundHalfEven(static_cast<double>(value & mask) * factor)) & mask;
    };
    uint32_t r = channel(u, 0xFF00u) | channel(u, 0xFF0000u);
    if (colour >= 0) {
        r |= channel(u, 0xFF000000u);
    } else {
        // The top channel one byte lower, so that the product stays positive.
        const uint32_t top = ((u & 0x7F000000u) >> 8) | 0x800000u;
        r |= channel(top, 0xFF0000u) << 8;
    }
    return static_cast<int32_t>(r);
}

int32_t ShadeColourByAngle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour, float& factor)
{
    factor = static_cast<float>(SegmentAngle(x1, y1, x2, y2) / 6.2831856);
    return ScaleColour(colour, factor);
}

int32_t BrightenColour(int32_t colour, float factor)
{
    const int32_t red = std::min(255, RoundHalfEven(double(factor) * (colour & 0xFF)));
    const int32_t green = std::min(0xFF00, RoundHalfEven(double(factor) * (colour & 0xFF00))) & 0xFFFFFF00;
    const int32_t blue = std::min(0xFF0000, RoundHalfEven(double(factor) * (colour & 0xFF0000))) & 0xFF0000;
    return red | green | blue;
}

double PointLineCrossAbs(double x1, double y1, double x2, double y2, double px, double py)
{
    return std::fabs((px - x1) * (y1 - y2) + (py - y1) * (x2 - x1));
}

namespace {
// The fill word of the shape record at `index`, or nullptr when no shape
// record lies there or the shape is not filled: the faces of the walls that
// look towards the viewer are left open and stay open whatever the colour.
int32_t* FillWordAt(ShapeStream& stream, int32_t streamCount, int32_t index)
{
    const Shapes::Table t = Shapes::Used(stream, streamCount);
    Shapes::RecordWalker w(t, index, t.count);
    Shapes::Record r;
    if (!w.next(r) || !r.isShape() || Shapes::FillWord(t, r) == Shapes::kNoColour) return nullptr;
    return &stream[static_cast<size_t>(index) + 6];
}
}  // namespace

void ApplyFloorWallColours(const std::vector<ItemRecord>& items, int32_t count, int32_t floorColour,
                           int32_t wallColour, ShapeStream& stream, int32_t streamCount)
{
    const int32_t floorWord = ColourToShiftedLong(floorColour);
    const int32_t wallWord = ColourToShiftedLong(wallColour);
    const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(items.size()));
    for (int32_t i = 0; i < n; ++i) {
        const ItemRecord& item = items[static_cast<size_t>(i)];
        if (!(item.Flags & kItemSection)) continue;
        const QString key = item.Name.str().left(8).toLower();
        if (key == QLatin1String("floorsec")) {
            for (int32_t index : {item.FloorColourShape, item.FaceColourShape})
                if (int32_t* fill = FillWordAt(stream, streamCount, index)) *fill = floorWord;
        } else if (key == QLatin1String("wallsect")) {
            if (int32_t* fill = FillWordAt(stream, streamCount, item.FaceColourShape))
                *fill = ScaleColour(wallWord, item.WallAngle);
        }
    }
}

}  // namespace CommonMod
