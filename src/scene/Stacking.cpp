#include "scene/Stacking.h"

#include "platform/Rounding.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"

#include <algorithm>

using dorv::RoundHalfEven;

namespace FileMod {

namespace {
constexpr int32_t kDrawnBeforeOverlapped = kItemInFront | 0x80;

// On one axis: [a1, a2] and [c1, c2] share more than an end point.
bool IntervalsOverlap(int32_t a1, int32_t a2, int32_t c1, int32_t c2)
{
    return (a1 < c2 && c2 < a2) || (a1 < c1 && c1 < a2) || (a1 <= c1 && a2 >= c2) || (a1 >= c1 && a2 <= c2);
}

bool Overlap(const PlanBox& a, const PlanBox& b)
{
    return RectanglesOverlap(a.left, a.bottom, a.right, a.top, b.left, b.bottom, b.right, b.top);
}

// A wall item's box flattened onto the edge that faces its wall.
PlanBox WallBox(const ItemRecord& item, PlanBox b)
{
    switch (item.ViewIndex) {
    case 0: b.bottom = b.top; break;
    case 1: b.left = b.right; break;
    case 2: b.top = b.bottom; break;
    case 3: b.right = b.left; break;
    default: break;
    }
    return b;
}
}  // namespace

PlanBox ItemPlanBox(const ItemRecord& item, const ShapeStream& stream, int32_t streamCount)
{
    float w = 0, d = 0;
    DrawMod::GetItemPictureSize(item, kPictureFromAbove, stream, streamCount, G.PlanScale, w, d);
    const float cx = G.PlanScale * item.X;
    const float cy = G.PlanScale * item.Y;
    PlanBox b;
    b.left = RoundHalfEven(cx - w / 2);
    b.bottom = RoundHalfEven(cy - d / 2);
    b.right = RoundHalfEven(cx + w / 2);
    b.top = RoundHalfEven(cy + d / 2);
    return b;
}

bool RectanglesOverlap(int32_t left1, int32_t bottom1, int32_t right1, int32_t top1, int32_t left2,
                       int32_t bottom2, int32_t right2, int32_t top2)
{
    return IntervalsOverlap(left1, right1, left2, right2) && IntervalsOverlap(bottom1, top1, bottom2, top2);
}

void SettleItemElevation(std::vector<ItemRecord>& items, int32_t count, int32_t index, const ShapeStream& stream,
                         int32_t streamCount)
{
    const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(items.size()));
    if (index < 0 || index >= n) return;
    ItemRecord& item = items[static_cast<size_t>(index)];
    item.Elevation = 0;
    if ((item.Flags & kItemOnWall) || !(item.Flags & kItemStacks)) return;
    const PlanBox box = ItemPlanBox(item, stream, streamCount);
    for (int32_t j = 0; j < index; ++j) {
        const ItemRecord& below = items[static_cast<size_t>(j)];
        if (below.Flags & kItemOnWall) continue;
        if (!Overlap(ItemPlanBox(below, stream, streamCount), box)) continue;
        const float top = below.Elevation + static_cast<float>(below.Height);
        if (top > item.Elevation) item.Elevation = top;
    }
}

void BuildOrderedItemList(const std::vector<ItemRecord>& items, int32_t count, const ShapeStream& stream,
                          int32_t streamCount, std::vector<ItemRecord>& out, int32_t& outCount)
{
    outCount = 0;
    const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(items.size()));
    if (n <= 0) return;
    if (static_cast<int32_t>(out.size()) < n) out.resize(static_cast<size_t>(n));
    if (n == 1) {
        out[0] = items[0];
        outCount = 1;
        return;
    }

    // The boxes do not change while the list is built: measure each once.
    std::vector<PlanBox> boxes(static_cast<size_t>(n));
    std::vector<char> taken(static_cast<size_t>(n), 0);
    int32_t left = 0;  // items still to be listed
    for (int32_t j = 0; j < n; ++j) {
        const ItemRecord& item = items[static_cast<size_t>(j)];
        const PlanBox b = ItemPlanBox(item, stream, streamCount);
        boxes[static_cast<size_t>(j)] = (item.Flags & kItemOnWall) ? WallBox(item, b) : b;
        if (item.Flags & kItemSectionBack)
            taken[static_cast<size_t>(j)] = 1;
        else
            ++left;
    }

    // Each round picks the item to draw next: one that nothing still waiting
    // must be drawn behind.
    for (int32_t round = 0; round < n && left > 0; ++round) {
        PlanBox cand;
        int32_t candIndex = -1;
        int32_t candElevation = 0;
        int64_t candTop = 0;
        bool locked = false;
        int takes = 0;
        bool changed = false;
        do {
            changed = false;
            for (int32_t j = 0; j < n && !locked; ++j) {
                if (taken[static_cast<size_t>(j)] || j == candIndex) continue;
                const ItemRecord& item = items[static_cast<size_t>(j)];
                const PlanBox& b = boxes[static_cast<size_t>(j)];
                const bool overlap = Overlap(b, cand);
                const bool low = item.Elevation < static_cast<float>(candElevation);
                const bool special = (item.Flags & kDrawnBeforeOverlapped) != 0;
                const bool beside = (b.left < cand.right && b.bottom < cand.top) ||
                                    (b.top < cand.bottom && b.right < cand.left) ||
                                    (b.bottom < cand.bottom && b.right < cand.right);
                if ((overlap && (special || low)) ||
                    (beside && (special || double(item.Elevation) < double(candTop))) || candIndex < 0) {
                    cand = b;
                    candIndex = j;
                    candElevation = RoundHalfEven(item.Elevation);
                    candTop = int64_t(candElevation) + item.Height;
                    changed = true;
                    ++takes;
                    locked = special || low;
                }
            }
        } while (changed && takes < 4);
        out[static_cast<size_t>(outCount++)] = items[static_cast<size_t>(candIndex)];
        taken[static_cast<size_t>(candIndex)] = 1;
        --left;
    }
}

void SetPlanScale(float zoom)
{
    const float scale = 1.0f / (zoom * 512);
    G.PlanScale = scale;
    G.IsoScale = scale;
    G.WallScale = scale;
}

}  // namespace FileMod
