#include "scene/PictureMeasure.h"

#include "platform/Rounding.h"
#include "scene/SceneState.h"

#include <algorithm>

using dorv::RoundHalfEven;
using Shapes::Record;
using Shapes::Table;

namespace DrawMod {

int32_t FindShapeView(int32_t start, const Table& t, int32_t view)
{
    if (2 * view < 1) return start;
    int32_t i = start;
    int32_t groups = 0;
    for (;;) {
        const int32_t step = Shapes::RecordStep(t, i, t.count);
        if (step == 0) return i;
        if (t.at(i) == Shapes::kGroup) ++groups;
        i += step;
        if (groups >= 2 * view) return i;
    }
}

bool PictureRecordAt(const Table& t, int32_t index, Record& r)
{
    Shapes::RecordWalker w(t, index, t.count);
    return w.next(r) && (r.isShape() || r.isGroup());
}

int32_t PictureStart(const ItemRecord& item, int16_t mode, int32_t view, const Table& t)
{
    int32_t i = item.ShapeStart;
    if (mode == kPicture3D) {
        const int32_t step = Shapes::RecordStep(t, i, t.count);
        if (step == 0) return -1;
        i += step;
    }
    return FindShapeView(i, t, view);
}

int32_t ReduceView(const ItemRecord& item, int32_t view)
{
    const int32_t views = std::max<int32_t>(1, item.ViewCount);
    return view % views;
}

namespace {
// Width and height of the record at `index`; false when there is none.
bool RecordSize(const Table& t, int32_t index, double& w, double& h)
{
    Record r;
    if (!PictureRecordAt(t, index, r)) return false;
    const Shapes::Box b = Shapes::RecordBox(t, r);
    w = static_cast<double>(b.maxX) - b.minX;
    h = static_cast<double>(b.maxY) - b.minY;
    return true;
}
}  // namespace

void GetItemPictureSize(const ItemRecord& item, int16_t mode, const ShapeStream& stream, int32_t count,
                        float scale, float& width, float& height, int16_t& view)
{
    width = 0;
    height = 0;
    if (view == -1) view = item.ViewIndex;
    const Table t = Shapes::Used(stream, count);
    double w = 0, h = 0;
    if (!RecordSize(t, PictureStart(item, mode, ReduceView(item, view), t), w, h)) return;
    width = static_cast<float>(scale * w);
    height = static_cast<float>(scale * h);
    if (mode == kPictureWallSize) height = static_cast<float>(scale * double(GetLastViewHeight(item, stream, count)));
}

void GetItemPictureSize(const ItemRecord& item, int16_t mode, const ShapeStream& stream, int32_t count,
                        float scale, float& width, float& height)
{
    int16_t view = -1;
    GetItemPictureSize(item, mode, stream, count, scale, width, height, view);
}

namespace {
// The union of the boxes of the shapes that the picture at `index` paints
// (a fill or a line colour), walked as DrawItemPicture walks it; false when
// it paints none.
bool DrawnBox(const Table& t, int32_t index, Shapes::Box& drawn)
{
    Record picture;
    if (!PictureRecordAt(t, index, picture)) return false;
    bool any = false;
    Shapes::ForEachShapeInOrder(t, index, picture.end, [&](const Record& shape) {
        if (Shapes::FillWord(t, shape) == Shapes::kNoColour && Shapes::LineWord(t, shape) == Shapes::kNoColour) return;
        Shapes::Extend(drawn, any, Shapes::RecordBox(t, shape));
    });
    return any;
}
}  // namespace

void GetItemDrawnSize(const ItemRecord& item, int16_t mode, const ShapeStream& stream, int32_t count,
                      float scale, float& width, float& height, float& insetX, float& insetY, int16_t& view)
{
    insetX = 0;
    insetY = 0;
    GetItemPictureSize(item, mode, stream, count, scale, width, height, view);
    if (!(item.Flags & kItemOnWall)) return;
    const Table t = Shapes::Used(stream, count);
    const int32_t v = mode == kPictureWallSize ? ReduceView(item, item.ViewCount - 1) : ReduceView(item, view);
    const int32_t g = PictureStart(item, mode, v, t);
    Record picture;
    if (!PictureRecordAt(t, g, picture)) return;
    const Shapes::Box box = Shapes::RecordBox(t, picture);
    Shapes::Box drawn = box;
    DrawnBox(t, g, drawn);
    width = static_cast<float>(scale * (double(drawn.maxX) - drawn.minX));
    height = static_cast<float>(scale * (double(drawn.maxY) - drawn.minY));
    insetX = static_cast<float>(double(drawn.minX) - box.minX);
    insetY = static_cast<float>(double(drawn.minY) - box.minY);
}

void GetShapeViewBounds(const ItemRecord& item, int32_t view, const ShapeStream& stream, int32_t count,
                        int32_t& width, int32_t& depth)
{
    width = 0;
    depth = 0;
    const Table t = Shapes::Used(stream, count);
    double w = 0, h = 0;
    if (!RecordSize(t, FindShapeView(item.ShapeStart, t, ReduceView(item, view)), w, h)) return;
    width = RoundHalfEven(w);
    depth = RoundHalfEven(h);
}

int32_t GetLastViewHeight(const ItemRecord& item, const ShapeStream& stream, int32_t count)
{
    const Table t = Shapes::Used(stream, count);
    int32_t i = item.ShapeStart;
    const int32_t steps = 2 * std::max<int32_t>(1, item.ViewCount) - 2;
    for (int32_t k = 0; k < steps; ++k) {
        const int32_t step = Shapes::RecordStep(t, i, t.count);
        if (step == 0) return 0;
        i += step;
    }
    double w = 0, h = 0;
    if (!RecordSize(t, i, w, h)) return 0;
    return RoundHalfEven(h);
}

}  // namespace DrawMod

namespace CommonMod {

void InitBoundingBox(Box& box)
{
    box.minX = 1000000000;
    box.minY = 1000000000;
    box.maxX = -1000000000;
    box.maxY = -1000000000;
}

void ExtendBoundingBox(Box& box, int32_t x, int32_t y)
{
    box.minX = std::min(box.minX, x);
    box.minY = std::min(box.minY, y);
    box.maxX = std::max(box.maxX, x);
    box.maxY = std::max(box.maxY, y);
}

void NormaliseRect(Box& box, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    box.minX = std::min(x1, x2);
    box.minY = std::min(y1, y2);
    box.maxX = std::max(x1, x2);
    box.maxY = std::max(y1, y2);
}

void ExtendBoxByCentredShape(Box& box, const Shapes::Table& t, int32_t index, float cx, float cy)
{
    Record r;
    if (!DrawMod::PictureRecordAt(t, index, r)) return;
    const Shapes::Box b = Shapes::RecordBox(t, r);
    const float halfW = static_cast<float>((static_cast<double>(b.maxX) - b.minX) * 0.5);
    const float halfH = static_cast<float>((static_cast<double>(b.maxY) - b.minY) * 0.5);
    box.minX = std::min(box.minX, RoundHalfEven(cx - halfW));
    box.minY = std::min(box.minY, RoundHalfEven(cy - halfH));
    box.maxX = std::max(box.maxX, RoundHalfEven(cx + halfW));
    box.maxY = std::max(box.maxY, RoundHalfEven(cy + halfH));
}

void GetItemsExtent(Box& box, int16_t mode, const std::vector<ItemRecord>& items, int32_t count,
                    const ShapeStream& stream, int32_t streamCount)
{
    InitBoundingBox(box);
    const Table t = Shapes::Used(stream, streamCount);
    const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(items.size()));
    for (int32_t i = 0; i < n; ++i) {
        const ItemRecord& item = items[static_cast<size_t>(i)];
        int32_t g = DrawMod::FindShapeView(item.ShapeStart, t, DrawMod::ReduceView(item, item.ViewIndex));
        if (mode == kPicture3D) {
            const int32_t step = Shapes::RecordStep(t, g, t.count);
            if (step == 0) continue;
            g += step;
        }
        ExtendBoxByCentredShape(box, t, g, item.X, item.Y);
    }
}

float ComputeFitScale(int16_t mode, float target)
{
    const int32_t n = std::min({4, G.PlacedItemCount, G.Room.FirstRealItem});
    if (n < 1) return 0;
    Box box;
    GetItemsExtent(box, mode, G.PlacedItems, n, G.SceneShapes, G.SceneShapeCount);
    const double width = static_cast<double>(box.maxX) - box.minX;
    if (width <= 0) return 0;
    return static_cast<float>(target / width);
}

}  // namespace CommonMod
