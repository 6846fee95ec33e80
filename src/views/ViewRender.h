#pragma once
// Drawing the current view of the scene: the plan, the isometric 3D view and
// the wall elevation, on the screen's off-screen canvas or on any device
// context (printer, preview, snapshots). Also the small drawing helpers every
// window uses: boxes, the XOR selection frame, gradients, the print scale.

#include "platform/DeviceContext.h"
#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <QRectF>

#include <cstdint>
#include <vector>

namespace DrawMod {

// Everything DrawCurrentView draws from; the view itself is G.ViewMode.
struct ViewDrawing {
    dorv::DeviceContext* dc = nullptr;
    float canvasHeight = 0;         // handed on, not used for drawing
    float originX = 0, originY = 0; // centre of the drawing area, pixels
    double scale = 1.0;             // 1 on the screen; a fit factor elsewhere
    const std::vector<ItemRecord>* items = nullptr;    // the placed items
    int32_t itemCount = 0;
    const std::vector<ItemRecord>* ordered = nullptr;  // back to front (3D)
    int32_t orderedCount = 0;
    int32_t selected = -1, dragged = -1, wallDragged = -1;
    const ShapeStream* stream = nullptr;
    int32_t streamCount = 0;
    float planScale = 0, isoScale = 0, wallScale = 0;
    float planPanX = 0, planPanY = 0, isoPanX = 0, isoPanY = 0;
    bool showDims = false, showWires = false;
    bool singleItem = false;  // only the selected item, with no frame or dimensions
    int16_t page = 1;         // the spreadsheet page on the printer
    // The area the spreadsheet and the charts fill (the printer's or the
    // preview's page); 0 fills the view canvas.
    int32_t areaWidth = 0, areaHeight = 0;
    // The rows at the top that a print-out's heading takes: the wall view's
    // picture of the room stands below them.
    float clearTop = 0;
    // The middle of a print-out's page, from which the wall view's picture of
    // the room is placed wherever the wall stands; below 0, the drawing's
    // centre, as on the screen.
    float locatorCentreX = -1;
};

// The scene as the screen draws it (G's items, tables, scales, pans and
// selection; the menu check marks through the window port), centred on
// (originX, originY).
ViewDrawing SceneViewDrawing(dorv::DeviceContext& dc, float originX, float originY, float canvasHeight);

// Draws the current view (G.ViewMode) with the selection frame and, in the
// 3D view with the dimensions shown, the room's near edges.
void DrawCurrentView(const ViewDrawing& v);

// Where the plan's dimension lines stand, drawn on `dc` at `scale` pixels
// per unit: left of the floor and below it, `units` off its edges, and
// reaching `left` and `below` pixels further (arrowheads and labels).
struct PlanDimensionsReach {
    float units = 0;
    float left = 0, below = 0;
};
PlanDimensionsReach PlanDimensionsBeside(dorv::DeviceContext& dc, float scale);

// The box the 3D view's dimension lines of `v`, labels included, cover on
// its device context, wherever the view is drawn.
QRectF IsoDimensionsBox(const ViewDrawing& v);

// How far the wall view's drawing of the current wall reaches above and
// below its centre line, and to its left and right, at `scale` pixels per
// unit on `dc`: the frame, and with the dimension lines shown the wall's
// name above it, its length below it and its height to its left; in units,
// and then that many pixels further (text, arrowheads).
struct WallDrawingReach {
    float unitsLeft = 0, unitsRight = 0;
    float unitsAbove = 0, unitsBelow = 0;
    float pixelsAbove = 0, pixelsBelow = 0;
};
WallDrawingReach WallViewReach(dorv::DeviceContext& dc, bool showDims, float scale);

// Clears `dc` to the view's background and draws the current view centred on
// the canvas; sets G.LastRenderTime (hundredths of a second, at least 1).
void RenderView(int16_t view, dorv::DeviceContext& dc);
// Renders the view into the canvas's off-screen surface and shows it.
void RedrawView();
// Shows the off-screen surface on the canvas, rendering it first when
// G.BufferDirty is set. Nothing is drawn straight onto the screen.
void BlitView();

// The wall elevation of wall `wallIndex` (see WallView.cpp). With itemAlone
// only the selected item's picture, where the view places it. The picture of
// the room in the upper left stands below the top `clearTop` rows, placed
// from `locatorCentreX` (below 0: from centreX).
void DrawWallView(dorv::DeviceContext& dc, int32_t wallIndex, const RoomRecord& room,
                  const std::vector<ItemRecord>& items, int32_t itemCount, const ShapeStream& shapes,
                  int32_t shapeCount, float centreX, float centreY, float scale, float canvasHeight,
                  int32_t selectedItem, int32_t wallDragItem, bool showWires, bool itemAlone = false,
                  float clearTop = 0, float locatorCentreX = -1);

// The box the wall view's picture of the room covers on `dc` for the current
// wall, placed as DrawWallView places it; empty in a place without walls.
QRectF WallLocatorBox(const dorv::DeviceContext& dc, float centreX, float clearTop);

// A rectangle filled with `fill` and outlined with a `width`-pixel pen of
// `line`; with fill -1 only the outline, with line -1 only the fill.
void DrawBox(dorv::DeviceContext& dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t fill, int32_t line,
             int32_t width);

// The selection frame round an item's picture from above, drawn with XOR so
// that drawing it twice removes it. (x, y) is the device position of the
// picture's lower-left corner relative to the origin.
void DrawSelectionFrame(dorv::DeviceContext& dc, const ItemRecord& item, const ShapeStream& stream, int32_t count,
                        float x, float y, float originX, float originY, float panX, float panY, float scale);

dorv::GdiObject SelectGdiObject(dorv::DeviceContext& dc, dorv::GdiObject object);
bool DeleteGdiObject(dorv::GdiObject object);

// The vertical resolution of the view canvas (96 without one).
int CanvasLogPixelsY();
// The factor that keeps fonts and pens their physical size on `dc`: the
// printer's resolution over the canvas's when `dc` prints, else 1.
float GetPrintScale(const dorv::DeviceContext& dc);

// The current-wall record of wall `wallIndex`: its centre, base, height,
// length and side, the side read from the wall's base line. False, with the
// record unchanged, when the room has no such wall section.
bool GetWallViewRecord(WallViewRecord& record, int32_t wallIndex, const RoomRecord& room,
                       const std::vector<ItemRecord>& items, int32_t itemCount, const ShapeStream& stream,
                       int32_t streamCount);

// A vertical gradient from colour1 at `top` to colour2 at `bottom`, in bands
// `band` pixels high (4 when 0 or less), over columns left .. right.
void DrawGradientRect(dorv::DeviceContext& dc, int32_t colour1, int32_t colour2, int32_t left, int32_t top,
                      int32_t right, int32_t bottom, int32_t band);
// The gradient over a window's client area `width` x `height` pixels: over
// rows top .. bottom, or the whole area when top equals bottom (top and
// bottom are then set to 0 and the height).
void PaintFormBackground(dorv::DeviceContext& dc, int32_t width, int32_t height, int32_t colour1, int32_t colour2,
                         int32_t& top, int32_t& bottom, int32_t band);
// The same over a picture box's inner area (the tool strip's background).
void PaintPictureBackground(dorv::DeviceContext& dc, int32_t width, int32_t height, int32_t colour1,
                            int32_t colour2, int32_t& top, int32_t& bottom, int32_t band);

}  // namespace DrawMod
