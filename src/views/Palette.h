#pragma once
// The item palette beside the canvas: one column of cells, one per catalogue
// entry, each with the entry's picture, a light frame and its name; its
// height for the scroll bar; the cell under a point. Also the two hit tests
// of the canvas: the item under the mouse in the plan and the wall item under
// the mouse in the wall view.
//
// Palette geometry, in content coordinates (window y plus the scroll value):
// the first cell begins at y = -20 and each cell is round(max(w, h) + 27)
// pixels tall, w and h being the entry's picture size at the palette scale.
// The palette draws the plan pictures at the plan scale; in the wall view
// (and, with the wall-item palette chosen, in the 3D and spreadsheet views)
// it draws the wall items' front pictures at the wall scale.

#include "platform/DeviceContext.h"
#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <cstdint>
#include <vector>

namespace DrawMod {

// The picture mode the palette draws in (0 plan, 2 wall items) and its scale,
// from the current view (G.ViewMode, G.PaletteKind and the view scales).
int16_t PaletteMode();
float PaletteScale(int16_t mode);

// The palette's content height in pixels (the last cell's end plus 27); 0
// for a palette without entries.
int32_t MeasureItemListHeight(const ShapeStream& stream, int32_t count, const std::vector<ItemRecord>& items,
                              int32_t itemCount);

// Paints the cells that show in a window `width` x `height` pixels scrolled
// down by `vScroll`. A disabled palette (G.PaletteDisabled) draws grey ghost
// pictures and no names; the frames stay.
void DrawItemPalette(dorv::DeviceContext& dc, const ShapeStream& stream, int32_t streamCount,
                     const std::vector<ItemRecord>& items, int32_t itemCount, int32_t hScroll, int32_t vScroll,
                     int32_t width, float height);

// A picture's box in window pixels.
struct CellRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The palette index of the cell holding content point (px, py) (window
// point plus the scroll values). On a hit `rect` becomes the box of the
// cell's picture, whole, where the cell draws it, in window pixels (a hung
// wall item's reaches below the cell, down to the floor it hangs above). A point below the last cell, and an empty palette,
// answer 0 and leave `rect` as it was.
int32_t HitTestItemPalette(int32_t px, int32_t py, const ShapeStream& stream, int32_t streamCount,
                           const std::vector<ItemRecord>& items, int32_t itemCount, int32_t hScroll,
                           int32_t vScroll, int32_t width, int32_t height, CellRect& rect);

// The placed item under (px, py), pixels from the plan origin at `scale`, or
// -1. Only in the plan view (viewMode 0); section items and wall items are
// never hit; of overlapping items the last in the list wins. A point on a
// picture's edge is outside. On a hit, grabX and grabY become the distance
// from the item's centre to the point.
int32_t HitTestPlanItem(int16_t viewMode, const ShapeStream& stream, int32_t streamCount,
                        const std::vector<ItemRecord>& items, int32_t itemCount, int32_t px, int32_t py,
                        int32_t& grabX, int32_t& grabY, float scale);

// The wall item of the current wall (G.WallView) under px, pixels from the
// canvas centre along the wall at G.WallScale, or -1. An item counts only on
// the wall it faces (its view index is the wall's side); the last hit wins.
// On a hit grabX becomes the offset that the wall drag adds back. py is not
// read and grabY not written: the wall test is along the wall only.
int32_t HitTestWallItem(const ShapeStream& stream, int32_t streamCount, const std::vector<ItemRecord>& items,
                        int32_t itemCount, int32_t px, int32_t py, int32_t& grabX, int32_t& grabY);

}  // namespace DrawMod
