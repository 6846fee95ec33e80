#pragma once
// Turns an item description into the words of an item file:
//
//   words 0-9   header (a signature, the format version, the view count,
//               flags, price in hundredths, width, depth and height in units)
//   shape       the height marker: its box is as tall as the item
//   shape       the footprint: its box is the item's footprint, its fill word
//               carries the flags and its line word the price in hundredths
//               of the base currency, both shifted left by 8 bits
//   per view    a group seen from above, then a group in the isometric
//               projection of the 3D view, (x, y, z) -> ((x + y) cos 30°,
//               (y - x) / 2 + z), with every solid's visible faces shaded by
//               their direction and the solids drawn back to front
//
// Floor items have 1, 2 or 4 views, view v turned by v x 360 / views degrees
// (anticlockwise seen from above). A wall item has five: views 0 to 3 stand
// it against the north, west, south and east wall, and view 4 holds its front
// picture for the wall view (the front, seen straight on, in the group from
// above) with the 3D picture of view 0.

#include "ItemSource.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace ItemTool {

constexpr double kUnitsPerCm = 362.88;  // 36288 units to the metre
constexpr int32_t kHeaderSignature = 0x3149564F;  // "OVI1" read as bytes
constexpr int32_t kHeaderVersion = 1;

std::vector<int32_t> CompileItem(const ItemSource& item);

// The words as the file stores them: little-endian, one after another.
QByteArray ItemFileBytes(const std::vector<int32_t>& words);

// The item as a VRML 2.0 model, for the worlds the program exports: the same
// solids in the same colours, in metres, x to the right, y up and z towards
// the item's front, centred over its footprint with its foot (the floor, for
// a mounted wall item) at y = 0, so that a world turns it about its centre as
// the plan turns its views. `name` goes into the header comment.
QByteArray ItemVrmlModel(const ItemSource& item, const QString& name);

}  // namespace ItemTool
