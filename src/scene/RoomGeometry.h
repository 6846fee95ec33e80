#pragma once
// The room of a place: an outline of three records in G.RoomShapes (a height
// marker, the floor group, the wall path), and the section items made from
// it, which carry the pictures of the floor and of each wall in
// G.SceneShapes. The views draw the room by drawing these items like any
// other. Also the isometric projection of the 3D view and the record writers
// that build the pictures.

#include "scene/PictureMeasure.h"
#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <QPoint>

#include <cstdint>
#include <vector>

namespace CommonMod {

// cos 30 degrees: the isometric projection maps (x, y) at height z to
// ((x + y) x kIsoCos, (y - x) x 0.5 + z), y pointing up.
constexpr double kIsoCos = 0.866025404;

// Room heights of this many units or less have no walls.
constexpr int32_t kLowestWallHeight = 512;

// Record writers. Each appends at `count`, grows the table when needed
// (keeping its contents) and advances `count`.
// A 26-word shape whose path runs round the box from (x2, y2) through
// (x1, y2), (x1, y1), (x2, y1) back to (x2, y2).
void AppendQuadShape(ShapeStream& s, int32_t& count, int32_t fill, int32_t line, int32_t x1, int32_t y1,
                     int32_t x2, int32_t y2);
// A 10-word shape header; its length and box are written by CloseShapeRecord.
int32_t AppendShapeHeader(ShapeStream& s, int32_t& count, int32_t fill, int32_t line);
// Ends the path of the shape at `start` and writes its length and box.
void CloseShapeRecord(ShapeStream& s, int32_t& count, int32_t start, const Box& box);
// A 9-word group header with a blank name; FinishRecordBounds closes it.
int32_t AppendGroupHeader(ShapeStream& s, int32_t& count);
// Closes the group at `start`: its length reaches `count`, its box is the
// union of the boxes of the records it holds.
void FinishRecordBounds(ShapeStream& s, int32_t count, int32_t start);
// A path token with one point.
void AppendRecordValues5(ShapeStream& s, int32_t& count, int32_t token, int32_t x, int32_t y);
// The same three words at `index`, which advances by 3; the table must
// already hold them.
void WriteRecordValues4(ShapeStream& s, int32_t& index, int32_t token, int32_t x, int32_t y);
// Four words at index .. index + 3 (a record's box).
void WriteRecordValues(ShapeStream& s, int32_t index, int32_t a, int32_t b, int32_t c, int32_t d);

// The wall side of a wall running from point 1 to point 2: 1 if y1 > y2,
// 3 if y1 < y2; on equal y, 2 if x1 < x2, else 0.
int16_t ComparePoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// Appends `token` with the projected point of (x, y) at height z and grows
// `box` to hold it.
void AppendIsoPoint(ShapeStream& s, int32_t& count, int32_t token, int32_t x, int32_t y, int32_t z, Box& box);
// One projected shape of a polygon at height z, closed back to its first
// point (and with a close token when the source polygon was closed).
void ConvertShapeToIso(const std::vector<QPoint>& polygon, bool closed, ShapeStream& s, int32_t& count,
                       int32_t fill, int32_t line, int32_t z);
// The vertical face over (x1, y1) - (x2, y2) between heights z0 and z1 in
// `colour` shaded by the segment's direction; the shading factor is
// returned. A face that looks towards the viewer (x2 + y2 >= x1 + y1) is
// written without fill and outline.
float AppendIsoBox(ShapeStream& s, int32_t& count, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t z0,
                   int32_t z1, int32_t colour, int32_t line);

// The screen point of (x, y) at height z with the origin at (ox, oy).
QPoint IsoProjectPoint(float x, float y, float z, int32_t ox, int32_t oy);
float IsoX(float a, float b);
float IsoY(float a, float b, float c);

// Builds the room of a place of the given sizes in metres: its outline,
// appended to G.RoomShapes, and its section items, appended to `items` and
// their pictures to G.SceneShapes. The callers empty the placed items and
// the scene's pictures first, so that the floor is item 0.
void BuildRoomGeometry(RoomRecord& room, std::vector<ItemRecord>& items, int32_t& itemCount, float width,
                       float length, float height, int32_t floorColour, int32_t wallColour);

// Makes the section items from the room's outline in `roomShapes`: one
// floor section per polygon of the floor, and, when the room is higher than
// kLowestWallHeight, one wall section per edge of the wall path.
void BuildRoomSections(RoomRecord& room, const ShapeStream& roomShapes, int32_t roomShapeCount,
                       int32_t wallShapeColour, std::vector<ItemRecord>& items, int32_t& itemCount);

}  // namespace CommonMod
