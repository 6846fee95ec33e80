#pragma once
// Drawing item pictures on a device context: one picture in its own colours,
// as a grey ghost or with a red highlight outline, replayed with a scale and
// an offset; Bezier curves flattened into points; a picture fitted into a
// box. Measuring lives in scene/PictureMeasure.h.
//
// Transform from picture units (x, y), y pointing up, to device pixels:
//   device x = round((offX + x) x scale + originX)
//   device y = round(originY - (offY + y) x scale)

#include "platform/DeviceContext.h"
#include "scene/PictureMeasure.h"

#include <QPoint>

#include <vector>

namespace DrawMod {

// Colour modes of DrawItemPicture; any other value draws the shapes' own
// colours with 1-pixel outlines.
constexpr int16_t kGhost = -1;      // fills light grey, outlines grey
constexpr int16_t kHighlight = -2;  // every shape outlined in red, 3 pixels wide

// Appends the points of the cubic curve P0 .. P3 (device pixels, not yet
// rounded), the start point included: about one piece per 3 pixels of
// control-polygon size, 4 to 50 pieces. A `step` of 0 is computed and left
// in `step`.
void FlattenBezier(std::vector<QPoint>& points, float x0, float y0, float x1, float y1, float x2, float y2,
                   float x3, float y3, float& step);

// Draws one shape record's path: all its polygons filled in one poly-polygon
// call (even-odd), then outlined in one poly-polyline call. `fill` and `line`
// are picture colour words (-1 none).
void DrawShapePath(dorv::DeviceContext& dc, const Shapes::Table& t, const Shapes::Record& shape, int32_t fill,
                   int32_t line, float width, float offX, float offY, float originX, float originY, float scale);

// Draws the picture of `view` in `mode` (2 draws like 0), its lower-left
// corner at (offX, offY) picture units from the origin. The view is used as
// given (callers pass one in 0 .. ViewCount - 1); below 1 it draws view 0.
// An item whose picture does not lie in the table draws nothing.
void DrawItemPicture(dorv::DeviceContext& dc, const ShapeStream& stream, int32_t count, const ItemRecord& item,
                     int16_t mode, int32_t view, float offX, float offY, float originX, float originY,
                     float scale, int16_t colourMode);

// The scale and margins that fit a w x h picture into a box, centred along
// the axis it does not fill. A side of 0 fits by the other side alone;
// false (nothing to draw) when both are 0 or the box is empty.
bool FitPictureInBox(float w, float h, float boxWidth, float boxHeight, float& scale, float& marginX,
                     float& marginY);

// Draws the picture fitted into a box, measured by what it draws
// (GetItemDrawnSize). boxY is the negated device y of the
// box's bottom edge: the picture's lower-left corner lands at
// (boxLeft + marginX, -(boxY + marginY)). A view of -1 is the item's own;
// a view past the item's count is counted round, as it is measured.
void DrawItemIcon(dorv::DeviceContext& dc, const ShapeStream& stream, int32_t count, const ItemRecord& item,
                  int16_t mode, int16_t view, float boxLeft, float boxY, float boxWidth, float boxHeight,
                  int16_t colourMode);

}  // namespace DrawMod
