#pragma once
// Dimension lines: a measured distance drawn as a line beside the measured
// segment, an arrowhead at each end and the length written along it. The
// text runs along the line, never upside down; a size written with a
// fraction ("2 1/2m") shows its numerator and denominator smaller. On the
// printer the offsets and arrowheads grow with the printer's resolution and
// the text keeps its point size. The lines use the pen and text colour
// already selected into the device context.

#include "platform/DeviceContext.h"

#include <QRectF>
#include <QString>

namespace Graphs {

// The direction of the line from (x1, y1) to (x2, y2) in radians, measured
// so that a line running right gives a half turn and one running left adds
// half a turn more; a vertical line counts as a tiny step to the right.
double LineAngle(double x1, double y1, double x2, double y2);

// The dimension line of the segment from (x1, y1) to (x2, y2), in device
// pixels, labelled `label`. A segment of no length draws nothing.
void DrawDimensionLine(dorv::DeviceContext& dc, float x1, float y1, float x2, float y2, const QString& label);

// The same with the device scale given: k is the device's resolution over
// the screen's (1 on the screen), screenDpi the screen's vertical resolution.
void DrawDimensionLineScaled(dorv::DeviceContext& dc, float k, int screenDpi, float x1, float y1, float x2,
                             float y2, const QString& label);

// How far the dimension line of a segment `length` pixels long, labelled
// `label`, reaches to its side of the segment on `dc`: its arrowheads, or
// its label when that stands further out. In device pixels.
float DimensionLineReach(dorv::DeviceContext& dc, float length, const QString& label);

// The box that DrawDimensionLine's drawing of the same segment covers on
// `dc`: the line, its arrowheads and its label. Empty for no length.
QRectF DimensionLineBox(dorv::DeviceContext& dc, float x1, float y1, float x2, float y2, const QString& label);

// The label centred on (x, y), turned by `angle` radians. ratio is the
// screen's resolution over the device's; ratio x (ex, ey) is the unit vector
// against the text's reading direction. An empty label draws nothing.
void DrawRotatedLengthLabel(dorv::DeviceContext& dc, const QString& label, int32_t x, int32_t y, float angle,
                            float ratio, float ex, float ey, int screenDpi);

}  // namespace Graphs

namespace BitmapMod {

// MoveToEx and LineTo that do nothing without a device context.
void DcMoveTo(dorv::DeviceContext* dc, int32_t x, int32_t y);
void DcLineTo(dorv::DeviceContext* dc, int32_t x, int32_t y);

}  // namespace BitmapMod
