#pragma once
// Items stand on the floor or on other items, and the 3D and wall views draw
// the items back to front. Both decisions use the items' pictures from above
// measured at the plan scale (G.PlanScale), in whole pixels.

#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <cstdint>
#include <vector>

namespace FileMod {

// An item's box from above, in pixels at the plan scale.
struct PlanBox {
    int32_t left = 0, bottom = 0, right = 0, top = 0;
};
PlanBox ItemPlanBox(const ItemRecord& item, const ShapeStream& stream, int32_t streamCount);

// True when the rectangles overlap on both axes. Rectangles that only touch
// do not overlap; equal ones, and a zero-width one inside the other, do.
bool RectanglesOverlap(int32_t left1, int32_t bottom1, int32_t right1, int32_t top1, int32_t left2,
                       int32_t bottom2, int32_t right2, int32_t top2);

// Sets the elevation of item `index` from the items before it: a stacking
// item (kItemStacks, not on a wall) rests on the highest top among the
// earlier items that are not wall items and whose boxes overlap its own;
// any other item stands on the floor. One pass: items standing on it are
// not lifted with it.
void SettleItemElevation(std::vector<ItemRecord>& items, int32_t count, int32_t index, const ShapeStream& stream,
                         int32_t streamCount);

// Copies the items into `out` in drawing order for the 3D and wall views,
// back to front. Items with kItemSectionBack (the walls that face the viewer)
// are left out. `out` is grown when it is too short.
void BuildOrderedItemList(const std::vector<ItemRecord>& items, int32_t count, const ShapeStream& stream,
                          int32_t streamCount, std::vector<ItemRecord>& out, int32_t& outCount);

// Sets the plan, 3D and wall scales to 1 / (zoom x 512) pixels per unit.
void SetPlanScale(float zoom);

}  // namespace FileMod
