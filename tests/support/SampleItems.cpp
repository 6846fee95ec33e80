#include "support/SampleItems.h"

#include "scene/Colours.h"
#include "scene/RoomGeometry.h"

#include <QPoint>

#include <vector>

using namespace CommonMod;

namespace TestItems {

namespace {
constexpr int32_t kBlack = 0;

// A vertical face over (x1, y1) - (x2, y2) from z0 to z1, projected.
void Face(ShapeStream& s, int32_t& count, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t z0, int32_t z1,
          int32_t fill)
{
    const int32_t start = AppendShapeHeader(s, count, fill, ColourToShiftedLong(kBlack));
    Box box;
    InitBoundingBox(box);
    AppendIsoPoint(s, count, 2, x1, y1, z0, box);
    AppendIsoPoint(s, count, 8, x2, y2, z0, box);
    AppendIsoPoint(s, count, 8, x2, y2, z1, box);
    AppendIsoPoint(s, count, 8, x1, y1, z1, box);
    AppendIsoPoint(s, count, 8, x1, y1, z0, box);
    CloseShapeRecord(s, count, start, box);
}

void BoxPictures(ShapeStream& s, int32_t& count, int32_t w, int32_t d, int32_t h, int32_t rgb)
{
    const int32_t plan = AppendGroupHeader(s, count);
    AppendQuadShape(s, count, ColourToShiftedLong(rgb), ColourToShiftedLong(kBlack), 0, 0, w, d);
    FinishRecordBounds(s, count, plan);

    const int32_t iso = AppendGroupHeader(s, count);
    const int32_t fill = ColourToShiftedLong(rgb);
    Face(s, count, 0, 0, w, 0, 0, h, ScaleColour(fill, 0.8f));  // south
    Face(s, count, w, 0, w, d, 0, h, ScaleColour(fill, 0.6f));  // east
    ConvertShapeToIso({QPoint(0, 0), QPoint(w, 0), QPoint(w, d), QPoint(0, d)}, true, s, count, fill,
                      ColourToShiftedLong(kBlack), h);
    FinishRecordBounds(s, count, iso);
}
}  // namespace

ItemRecord BoxItem(ShapeStream& s, int32_t& count, const QString& name, int32_t w, int32_t d, int32_t h,
                   int32_t rgb, int16_t views, int32_t flags)
{
    ItemRecord item;
    item.Name.set(name);
    item.ShapeStart = count;
    for (int16_t v = 0; v < views; ++v) {
        const bool turned = views == 4 && (v % 2) == 1;
        BoxPictures(s, count, turned ? d : w, turned ? w : d, h, rgb);
    }
    item.ShapeEnd = count;
    item.ViewCount = views;
    item.Flags = flags;
    item.Height = h;
    item.FootWidth = w;
    item.FootDepth = d;
    return item;
}

ItemRecord WallItem(ShapeStream& s, int32_t& count, const QString& name, int32_t w, int32_t h, int32_t rgb)
{
    constexpr int32_t thickness = 2000;
    ItemRecord item;
    item.Name.set(name);
    item.ShapeStart = count;
    for (int16_t v = 0; v < 4; ++v) {
        const bool turned = (v % 2) == 1;
        BoxPictures(s, count, turned ? thickness : w, turned ? w : thickness, h, rgb);
    }
    // The front, as the wall view shows it.
    const int32_t front = AppendGroupHeader(s, count);
    AppendQuadShape(s, count, ColourToShiftedLong(rgb), ColourToShiftedLong(kBlack), 0, 0, w, h);
    AppendQuadShape(s, count, ColourToShiftedLong(0xFFFFFF), ColourToShiftedLong(kBlack), w / 8, h / 8,
                    w - w / 8, h - h / 8);
    FinishRecordBounds(s, count, front);
    const int32_t iso = AppendGroupHeader(s, count);
    Face(s, count, 0, 0, w, 0, 0, h, ColourToShiftedLong(rgb));
    FinishRecordBounds(s, count, iso);
    item.ShapeEnd = count;
    item.ViewCount = 5;
    item.Flags = kItemOnWall | kItemFromFile;
    item.Height = h;
    item.FootWidth = w;
    item.FootDepth = thickness;
    return item;
}

}  // namespace TestItems
