#pragma once
// Finding and measuring item pictures in a picture table, and the boxes the
// record writers and the fitting routines keep. Nothing here draws; the
// drawing side lives in views/PictureEngine.h.
//
// An item's run holds two top-level group records per rotation view: the
// picture seen from above, then the 3D picture. Every read is checked
// against the table's count: an item whose indexes do not fit its table
// measures 0 by 0 and adds nothing to an extent.

#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <cstdint>
#include <vector>

// Picture modes.
constexpr int16_t kPictureFromAbove = 0;  // plan view, palette
constexpr int16_t kPicture3D = 1;         // the isometric picture of a view
constexpr int16_t kPictureWallSize = 2;   // wall-palette size rule; drawn like 0

namespace DrawMod {

// The index of the record after the 2 x view-th top-level group counted from
// `start`: the plan group of that view. View 0 (or less) gives `start`
// without reading anything. The walk stops early at a record that cannot be
// stepped over inside the table.
int32_t FindShapeView(int32_t start, const Shapes::Table& t, int32_t view);

// The record at `index` when it is a whole shape or group inside the table.
bool PictureRecordAt(const Shapes::Table& t, int32_t index, Shapes::Record& r);

// Where the picture of `view` in `mode` starts: the plan group of the view,
// or the record after it in mode 1. The view is used as given; callers pass
// one already reduced to 0 .. ViewCount - 1 (a view below 1 gives view 0).
int32_t PictureStart(const ItemRecord& item, int16_t mode, int32_t view, const Shapes::Table& t);

// The view counted in 0 .. ViewCount - 1 the way the pictures are found:
// the remainder keeps the sign of `view`. A ViewCount of 0 counts as 1.
int32_t ReduceView(const ItemRecord& item, int32_t view);

// Width and height in pixels (units x scale) of the picture of `view` in
// `mode`. A view of -1 means the item's ViewIndex and is written back to the
// caller's variable. Mode 2 takes the height from the item's last view. An
// item whose picture does not lie in the table gives 0 by 0.
void GetItemPictureSize(const ItemRecord& item, int16_t mode, const ShapeStream& stream, int32_t count,
                        float scale, float& width, float& height, int16_t& view);
// The same for callers that need not know the view used.
void GetItemPictureSize(const ItemRecord& item, int16_t mode, const ShapeStream& stream, int32_t count,
                        float scale, float& width, float& height);

// What the picture of `view` in `mode` draws, for showing it at a size of its
// own (palette cells, the item panel, icons, selection frames): its width and
// height in pixels (units x scale), and where its lower-left corner lies, in
// units, from the lower-left corner at which DrawItemPicture places the
// picture. A wall item's pictures reach down to the floor, so that the views
// hang it at its height; measured by its shapes alone, a clock is the clock
// and not the wall below it. Mode 2 measures the front (the last view) whole.
// Other items are measured by their pictures' boxes, inset (0, 0).
void GetItemDrawnSize(const ItemRecord& item, int16_t mode, const ShapeStream& stream, int32_t count,
                      float scale, float& width, float& height, float& insetX, float& insetY, int16_t& view);

// The plan picture's width and depth of `view`, in units.
void GetShapeViewBounds(const ItemRecord& item, int32_t view, const ShapeStream& stream, int32_t count,
                        int32_t& width, int32_t& depth);

// Height in units of the plan group of the item's last view.
int32_t GetLastViewHeight(const ItemRecord& item, const ShapeStream& stream, int32_t count);

}  // namespace DrawMod

namespace CommonMod {

using Box = Shapes::Box;

// A box that any point grows: (1e9, 1e9, -1e9, -1e9).
void InitBoundingBox(Box& box);
void ExtendBoundingBox(Box& box, int32_t x, int32_t y);
// The box of two corner points in any order.
void NormaliseRect(Box& box, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// Grows the box to hold a rectangle of the size of the box of the record at
// `index`, centred on (cx, cy). Does nothing when no record lies there.
void ExtendBoxByCentredShape(Box& box, const Shapes::Table& t, int32_t index, float cx, float cy);

// The union, in units, of the first `count` items' pictures (their current
// views, from above in mode 0, 3D in mode 1), each centred on the item's
// (X, Y). An empty list leaves the initial box.
void GetItemsExtent(Box& box, int16_t mode, const std::vector<ItemRecord>& items, int32_t count,
                    const ShapeStream& stream, int32_t streamCount);

// The scale at which the room's pictures (the section items among the first
// four placed items of the scene) are `target` pixels wide. With nothing to
// measure (no section items, or pictures of no width) the result is 0, which
// draws the room as a point rather than dividing by zero.
float ComputeFitScale(int16_t mode, float target);

}  // namespace CommonMod
