#pragma once
// Colour arithmetic of picture words (a colour shifted left by 8 bits, see
// ShapeStream.h) and of plain colour values (red in the low byte), and the
// repaint of the room's floor and walls after a colour change.

#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <cstdint>
#include <vector>

namespace CommonMod {

using Shapes::ColourToShiftedLong;

// Direction of the segment in radians, 0 to 2 pi: 0 along +y, pi / 2 along
// +x, measured clockwise. A vertical segment divides by 0.0001, not by 0.
float SegmentAngle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// A picture colour word with each channel times `factor`, rounded; the low
// byte of the result is 0. Nothing overflows, also for colours whose blue
// makes the word negative.
int32_t ScaleColour(int32_t colour, float factor);

// `colour` (a picture word) darkened by the segment's direction: the factor,
// SegmentAngle / 2 pi, is returned through `factor`.
int32_t ShadeColourByAngle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour, float& factor);

// A plain colour value with each channel times `factor`, capped at full.
int32_t BrightenColour(int32_t colour, float factor);

// |(px - x1)(y1 - y2) + (py - y1)(x2 - x1)|: the point's distance from the
// segment's line times the segment's length.
double PointLineCrossAbs(double x1, double y1, double x2, double y2, double px, double py);

// Writes the floor colour into the floor sections' plan and 3D fill words and
// the wall colour, shaded by each wall's direction, into the wall sections'
// face fill words. Only section items are touched: they carry the section
// flag and a name beginning "FloorSect" or "WallSect" (any letter case); a
// colour index that does not name a shape record in the table is skipped,
// and so is a face without fill (the open faces of the walls nearest the
// viewer).
void ApplyFloorWallColours(const std::vector<ItemRecord>& items, int32_t count, int32_t floorColour,
                           int32_t wallColour, ShapeStream& stream, int32_t streamCount);

}  // namespace CommonMod
