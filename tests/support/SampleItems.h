#pragma once
// Items made by test code: boxes with a picture from above and a 3D picture
// per rotation view, written with the program's own record writers, so that
// tests can place, order and draw them without any item files.

#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <QString>

#include <cstdint>

namespace TestItems {

// Appends to `s` a floor item `w` wide (x), `d` deep (y) and `h` high in
// `views` rotations (odd views of a four-view item swap width and depth).
// From above: a rectangle in `rgb` outlined in black; in 3D: its top in
// `rgb`, its south face darker and its east face darker still. The item
// stands at (0, 0) with elevation 0.
ItemRecord BoxItem(ShapeStream& s, int32_t& count, const QString& name, int32_t w, int32_t d, int32_t h,
                   int32_t rgb, int16_t views = 4, int32_t flags = kItemStacks | kItemFromFile);

// A wall item `w` wide and `h` high: views 0 to 3 are thin rectangles
// against each wall, view 4 its front (w by h) as the wall view shows it.
ItemRecord WallItem(ShapeStream& s, int32_t& count, const QString& name, int32_t w, int32_t h, int32_t rgb);

}  // namespace TestItems
