#include "views/ViewRender.h"

#include "platform/NumberFormat.h"
#include "platform/PainterDc.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/WindowPort.h"
#include "views/DimensionLines.h"
#include "views/Graphs.h"
#include "views/PictureEngine.h"

#include <QElapsedTimer>
#include <QLocale>

#include <algorithm>
#include <cmath>

using dorv::RoundHalfEven;

namespace DrawMod {

namespace {
constexpr int32_t kBlack = 0;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kFrameColour = 0xFFFF00;
constexpr float kPanStep = 512;  // pans count in steps of 512 units
// How far the plan's dimension lines stand off the floor, in units.
constexpr float kPlanDimensionOffset = 10240;

// A size typed in the place-setup dialog, with one decimal, and the unit:
// " 3" in metres reads "3.0 metres". Text that is no number stands as it is.
QString DimensionLabel(int box)
{
    const QString typed = Windows().PlaceSizeText(box);
    QString shown = typed;
    const QString t = typed.trimmed();
    bool ok = false;
    double value = QLocale().toDouble(t, &ok);
    if (!ok) value = QLocale::c().toDouble(t, &ok);
    if (ok && std::isfinite(value)) shown = dorv::FormatFixed(value, 1);
    return shown + G.UnitText;
}

const ItemRecord* ItemAt(const std::vector<ItemRecord>* items, int32_t count, int32_t i)
{
    if (!items || i < 0 || i >= count || i >= static_cast<int32_t>(items->size())) return nullptr;
    return &(*items)[static_cast<size_t>(i)];
}

void DrawPlan(const ViewDrawing& v)
{
    const float s = static_cast<float>(v.planScale * v.scale);
    for (int32_t i = 0; i < v.itemCount; ++i) {
        const ItemRecord* item = ItemAt(v.items, v.itemCount, i);
        if (!item) break;
        float W = 0, H = 0;
        GetItemPictureSize(*item, kPictureFromAbove, *v.stream, v.streamCount, 1.0f, W, H);
        const float offX = kPanStep * v.planPanX + item->X - W / 2;
        const float offY = kPanStep * v.planPanY - item->Y - H / 2;
        if (!v.singleItem || i == v.selected)
            DrawItemPicture(*v.dc, *v.stream, v.streamCount, *item, kPictureFromAbove,
                            ReduceView(*item, item->ViewIndex), offX, offY, v.originX, v.originY, s, 0);
        // Right after its item, so that items drawn later cover it.
        if (i == v.selected && v.dragged == -1 && !v.singleItem)
            DrawSelectionFrame(*v.dc, *item, *v.stream, v.streamCount, offX * s, -offY * s, v.originX, v.originY, 0, 0,
                               s);
    }
    if (!v.showDims || v.singleItem) return;
    // The width down the left of the floor, the length along its foot.
    const float xExt = float(G.Room.ExtentX), yExt = float(G.Room.ExtentY);
    const float xc = v.originX + kPanStep * v.planPanX * s, yc = v.originY - kPanStep * v.planPanY * s;
    const float left = xc - xExt * s / 2 - kPlanDimensionOffset * s;
    Graphs::DrawDimensionLine(*v.dc, left, yc - yExt * s / 2, left, yc + yExt * s / 2, DimensionLabel(1));
    const float foot = yc + yExt * s / 2 + kPlanDimensionOffset * s;
    Graphs::DrawDimensionLine(*v.dc, xc - xExt * s / 2, foot, xc + xExt * s / 2, foot, DimensionLabel(2));
}

// Where the 3D view places an item: the lower-left corner of its 3D picture
// on the isometric image of its box from above, raised by its elevation.
void DrawIsoItem(const ViewDrawing& v, const ItemRecord& item, float s)
{
    float W = 0, H = 0;
    GetItemPictureSize(item, kPictureFromAbove, *v.stream, v.streamCount, 1.0f, W, H);
    const double a = item.X - W / 2, b = -item.Y - H / 2;
    const double offX = (a + b) * CommonMod::kIsoCos + kPanStep * v.isoPanX;
    const double offY = (b - W - a) * 0.5 + item.Elevation + kPanStep * v.isoPanY;
    DrawItemPicture(*v.dc, *v.stream, v.streamCount, item, kPicture3D, ReduceView(item, item.ViewIndex),
                    static_cast<float>(offX), static_cast<float>(offY), v.originX, v.originY, s, 0);
}

// Where the 3D view draws the room's point (x, y, z), given in pixels at
// scale `s` from the floor's centre, z up.
QPointF IsoPoint(const ViewDrawing& v, float s, double x, double y, double z)
{
    return QPointF(v.originX + (x + y) * CommonMod::kIsoCos + kPanStep * v.isoPanX * s,
                   v.originY - ((y - x) * 0.5 + z) - kPanStep * v.isoPanY * s);
}

// The 3D view's dimension lines, each handed to `line` with its ends and its
// label: the width and length along two floor edges and, in a room with
// walls, the height up the far corner to its left. They stand 20 pixels off
// the room on the screen, and as far on paper.
template <class Line>
void IsoDimensionLines(const ViewDrawing& v, float s, Line&& line)
{
    const RoomRecord& room = G.Room;
    const double A = room.ExtentX * double(s) / 2, B = room.ExtentY * double(s) / 2, Z = room.ExtentZ * double(s);
    const double off = 20.0 * GetPrintScale(*v.dc);
    auto dimension = [&](double x1, double y1, double z1, double x2, double y2, double z2, double shift, int box) {
        const QPointF p1 = IsoPoint(v, s, x1, y1, z1), p2 = IsoPoint(v, s, x2, y2, z2);
        line(float(p1.x() + shift), float(p1.y()), float(p2.x() + shift), float(p2.y()), DimensionLabel(box));
    };
    dimension(A + off, -B, 0, A + off, B, 0, 0, 1);
    dimension(-A, -B - off, 0, A, -B - off, 0, 0, 2);
    if (Z > 0) dimension(-A, -B, Z, -A, -B, 0, -off, 3);
}

void DrawIso(const ViewDrawing& v)
{
    const float s = static_cast<float>(v.isoScale * v.scale);
    if (v.singleItem) {
        // The selected placed item alone; the order of the list does not
        // matter for one item.
        if (const ItemRecord* item = ItemAt(v.items, v.itemCount, v.selected)) DrawIsoItem(v, *item, s);
        return;
    }
    for (int32_t i = 0; i < v.orderedCount; ++i) {
        const ItemRecord* item = ItemAt(v.ordered, v.orderedCount, i);
        if (!item) break;
        DrawIsoItem(v, *item, s);
    }
    if (!v.showDims) return;
    IsoDimensionLines(v, s, [&v](float x1, float y1, float x2, float y2, const QString& label) {
        Graphs::DrawDimensionLine(*v.dc, x1, y1, x2, y2, label);
    });
    const RoomRecord& room = G.Room;
    const double A = room.ExtentX * double(s) / 2, B = room.ExtentY * double(s) / 2, Z = room.ExtentZ * double(s);
    if (Z <= 0) return;
    auto at = [&](double x, double y, double z) {
        const QPointF p = IsoPoint(v, s, x, y, z);
        return QPoint(RoundHalfEven(p.x()), RoundHalfEven(p.y()));
    };
    // The near edges of the room, whose walls are left open.
    QPoint p = at(-A, -B, Z);
    v.dc->MoveToEx(p.x(), p.y());
    p = at(A, -B, Z);
    v.dc->LineTo(p.x(), p.y());
    p = at(A, -B, 0);
    v.dc->LineTo(p.x(), p.y());
    p = at(A, -B, Z);
    v.dc->MoveToEx(p.x(), p.y());
    p = at(A, B, Z);
    v.dc->LineTo(p.x(), p.y());
}

// The current wall's name, which the wall view writes above it.
QString WallTitle()
{
    static const char* const titles[] = {"lang_NorthWall", "lang_WestWall", "lang_SouthWall", "lang_EastWall"};
    return G.WallIndex >= 0 && G.WallIndex <= 3 ? LangMod::GetMessage(QLatin1String(titles[G.WallIndex])) : QString();
}

void DrawWall(const ViewDrawing& v)
{
    const float s = static_cast<float>(v.wallScale * v.scale);
    DrawWallView(*v.dc, G.WallIndex, G.Room, *v.items, v.itemCount, *v.stream, v.streamCount, v.originX, v.originY,
                 s, v.canvasHeight, v.selected, v.wallDragged, v.showWires, v.singleItem, v.clearTop,
                 v.locatorCentreX);
    if (!v.showDims || v.singleItem) return;
    // The wall's height beside it and its length below it. The north and
    // south walls run along the room's x extent (its length), the west and
    // east walls along its y extent (its width).
    const bool alongX = G.WallIndex == 0 || G.WallIndex == 2;
    const float span = float(alongX ? G.Room.ExtentX : G.Room.ExtentY) + 64000;
    const float height = float(G.Room.ExtentZ);
    const float left = v.originX - span * s / 2 - 5120 * s;
    Graphs::DrawDimensionLine(*v.dc, left, v.originY + (height + 32000) * s / 2, left,
                              v.originY - (height + 32000) * s / 2, DimensionLabel(3));
    const float foot = v.originY + height * s / 2 + 20480 * s;
    Graphs::DrawDimensionLine(*v.dc, v.originX - span * s / 2, foot, v.originX + span * s / 2, foot,
                              DimensionLabel(alongX ? 2 : 1));
    // The wall's name above it.
    Graphs::DrawTextAlignedSized(*v.dc, RoundHalfEven(v.originX),
                                 RoundHalfEven(v.originY - (height + 32000) * s / 2 - 10240 * s), WallTitle(),
                                 12 * GetPrintScale(*v.dc), 0, static_cast<float>(Windows().CanvasSize().width()),
                                 QStringLiteral("Arial"), QStringLiteral("C"));
}
}  // namespace

PlanDimensionsReach PlanDimensionsBeside(dorv::DeviceContext& dc, float scale)
{
    PlanDimensionsReach r;
    r.units = kPlanDimensionOffset;
    r.left = Graphs::DimensionLineReach(dc, float(G.Room.ExtentY) * scale, DimensionLabel(1));
    r.below = Graphs::DimensionLineReach(dc, float(G.Room.ExtentX) * scale, DimensionLabel(2));
    return r;
}

QRectF IsoDimensionsBox(const ViewDrawing& v)
{
    QRectF box;
    if (!v.dc) return box;
    IsoDimensionLines(v, static_cast<float>(v.isoScale * v.scale),
                      [&](float x1, float y1, float x2, float y2, const QString& label) {
                          box |= Graphs::DimensionLineBox(*v.dc, x1, y1, x2, y2, label);
                      });
    return box;
}

WallDrawingReach WallViewReach(dorv::DeviceContext& dc, bool showDims, float scale)
{
    WallDrawingReach r;
    const int64_t sec = int64_t(G.Room.FirstWallSection) + G.WallIndex;
    if (G.Room.WallSectionCount == 0 || sec < 0 || sec >= std::min<int64_t>(G.PlacedItemCount, G.PlacedItems.size()))
        return r;
    // The frame: the wall's full height and the strips of floor and ceiling.
    const ItemRecord& wall = G.PlacedItems[static_cast<size_t>(sec)];
    r.unitsAbove = r.unitsBelow = static_cast<float>((double(wall.Height) + RoundHalfEven(wall.Elevation)) / 2 + 16000);
    r.unitsLeft = r.unitsRight = static_cast<float>(double(wall.SectionLength) / 2 + 32000);
    if (!showDims) return r;
    // The name above the frame and the length below it, as DrawWall puts them.
    const float height = float(G.Room.ExtentZ), s = scale;
    const bool alongX = G.WallIndex == 0 || G.WallIndex == 2;
    const float span = float(alongX ? G.Room.ExtentX : G.Room.ExtentY) + 64000;
    r.unitsAbove = std::max(r.unitsAbove, (height + 32000) / 2 + 10240);
    r.unitsBelow = std::max(r.unitsBelow, height / 2 + 20480);
    r.unitsLeft = std::max(r.unitsLeft, span / 2 + 5120);
    r.pixelsBelow = Graphs::DimensionLineReach(dc, span * s, DimensionLabel(alongX ? 2 : 1));
    const dorv::GdiObject font = dorv::CreateFontA(
        Graphs::ChartFontHeight(12 * GetPrintScale(dc), static_cast<float>(Windows().CanvasSize().width())), 0, 0,
        dorv::FW_NORMAL, QStringLiteral("Arial"));
    const dorv::GdiObject oldFont = dc.SelectObject(font);
    r.pixelsAbove = dc.GetTextExtentPoint32A(WallTitle()).height() / 2.0f;
    dc.SelectObject(oldFont);
    dorv::DeleteObject(font);
    return r;
}

ViewDrawing SceneViewDrawing(dorv::DeviceContext& dc, float originX, float originY, float canvasHeight)
{
    ViewDrawing v;
    v.dc = &dc;
    v.canvasHeight = canvasHeight;
    v.originX = originX;
    v.originY = originY;
    v.items = &G.PlacedItems;
    v.itemCount = G.PlacedItemCount;
    v.ordered = &G.ViewList;
    v.orderedCount = G.ViewListCount;
    v.selected = G.SelectedItem;
    v.dragged = G.DragItem;
    v.wallDragged = G.WallDragItem;
    v.stream = &G.SceneShapes;
    v.streamCount = G.SceneShapeCount;
    v.planScale = G.PlanScale;
    v.isoScale = G.IsoScale;
    v.wallScale = G.WallScale;
    v.planPanX = G.PlanPanX;
    v.planPanY = G.PlanPanY;
    v.isoPanX = G.IsoPanX;
    v.isoPanY = G.IsoPanY;
    v.showDims = Windows().ShowDimensions();
    v.showWires = Windows().ShowWireObjects();
    return v;
}

void DrawCurrentView(const ViewDrawing& v)
{
    if (!v.dc || !v.stream || !v.items) return;
    dorv::DeviceContext& dc = *v.dc;
    // Draws the room edges; restored at the end.
    const dorv::GdiObject pen = dorv::CreatePen(dorv::PS_GEOMETRIC, 1, kBlack);
    const dorv::GdiObject oldPen = dc.SelectObject(pen);
    if (v.singleItem) dc.MoveToEx(0, 0);
    switch (G.ViewMode) {
    case 0:
        DrawPlan(v);
        break;
    case 1:
        DrawIso(v);
        break;
    case 2:
        DrawWall(v);
        break;
    case 3:
        Graphs::DrawSheetOrGraphView(v);
        break;
    default:
        break;
    }
    dc.SelectObject(oldPen);
    dorv::DeleteObject(pen);
}

void RenderView(int16_t view, dorv::DeviceContext& dc)
{
    const QSizeF size = Windows().CanvasSize();
    const int32_t background = (view == 0 || view == 1) ? G.BackgroundColour : kWhite;
    DrawBox(dc, 0, 0, RoundHalfEven(size.width() + 1), RoundHalfEven(size.height() + 1), background, -1, 1);
    QElapsedTimer timer;
    timer.start();
    DrawCurrentView(SceneViewDrawing(dc, G.CanvasCentreX, G.CanvasCentreY, static_cast<float>(size.height())));
    G.LastRenderTime = std::max(1.0f, static_cast<float>(timer.nsecsElapsed() / 1e7));
}

void RedrawView()
{
    dorv::DeviceContext* canvas = Windows().CanvasDC();
    if (!canvas) return;
    RenderView(G.ViewMode, *canvas);
    BlitView();
}

void BlitView()
{
    dorv::DeviceContext* canvas = Windows().CanvasDC();
    if (!canvas) return;
    if (G.BufferDirty) {
        RenderView(G.ViewMode, *canvas);
        G.BufferDirty = false;
    }
    canvas->SetViewportOrgEx(0, 0);
    const QSizeF size = Windows().CanvasSize();
    Windows().ShowCanvas(*canvas, RoundHalfEven(size.width()), RoundHalfEven(size.height()));
}

void DrawBox(dorv::DeviceContext& dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t fill, int32_t line,
             int32_t width)
{
    const dorv::GdiObject pen = line == -1 ? dorv::CreatePen(dorv::PS_NULL, 1, 0)
                                           : dorv::CreatePen(dorv::PS_GEOMETRIC, width, line);
    const dorv::GdiObject oldPen = dc.SelectObject(pen);
    if (fill != -1) {
        const dorv::GdiObject brush = dorv::CreateSolidBrush(fill);
        const dorv::GdiObject oldBrush = dc.SelectObject(brush);
        dc.Rectangle(x1, y1, x2, y2);
        dc.SelectObject(oldBrush);
        dorv::DeleteObject(brush);
    } else {
        const QPoint outline[5] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
        dc.Polyline(outline, 5);
    }
    dc.SelectObject(oldPen);
    dorv::DeleteObject(pen);
}

void DrawSelectionFrame(dorv::DeviceContext& dc, const ItemRecord& item, const ShapeStream& stream, int32_t count,
                        float x, float y, float originX, float originY, float panX, float panY, float scale)
{
    float W = 0, H = 0;
    GetItemPictureSize(item, kPictureFromAbove, stream, count, scale, W, H);
    const double left = double(x) + originX + panX, bottom = double(y) + originY - panY;
    dc.SetROP2(dorv::R2_XORPEN);
    DrawBox(dc, RoundHalfEven(left - 2), RoundHalfEven(bottom + 4), RoundHalfEven(left + W + 4),
            RoundHalfEven(bottom - H - 2), -1, kFrameColour, 4);
    dc.SetROP2(dorv::R2_COPYPEN);
}

dorv::GdiObject SelectGdiObject(dorv::DeviceContext& dc, dorv::GdiObject object)
{
    return dc.SelectObject(object);
}

bool DeleteGdiObject(dorv::GdiObject object)
{
    return dorv::DeleteObject(object);
}

int CanvasLogPixelsY()
{
    const dorv::DeviceContext* canvas = Windows().CanvasDC();
    return canvas ? canvas->GetDeviceCaps(dorv::LOGPIXELSY) : 96;
}

float GetPrintScale(const dorv::DeviceContext& dc)
{
    if (!dynamic_cast<const dorv::PrinterDc*>(&dc)) return 1.0f;
    const int r = CanvasLogPixelsY();
    int p = dc.GetDeviceCaps(dorv::LOGPIXELSY);
    if (p == 0) p = r;
    return r > 0 ? static_cast<float>(p) / r : 1.0f;
}

bool GetWallViewRecord(WallViewRecord& record, int32_t wallIndex, const RoomRecord& room,
                       const std::vector<ItemRecord>& items, int32_t itemCount, const ShapeStream& stream,
                       int32_t streamCount)
{
    if (wallIndex < 0 || wallIndex >= room.WallSectionCount) return false;
    const ItemRecord* sec = ItemAt(&items, itemCount, room.FirstWallSection + wallIndex);
    if (!sec) return false;
    record.CentreX = RoundHalfEven(sec->X);
    record.CentreY = RoundHalfEven(sec->Y);
    record.Elevation = RoundHalfEven(sec->Elevation);
    record.Height = sec->Height;
    record.Length = sec->SectionLength;
    // The side from the wall's base line: the move-to and line-to that begin
    // the path of its plan shape.
    const Shapes::Table t = Shapes::Used(stream, streamCount);
    Shapes::Record shape;
    const int32_t s = sec->ShapeStart;
    if (!PictureRecordAt(t, s, shape) || !shape.isShape() || shape.end < s + 16) {
        record.Side = sec->WallSide;
        return true;
    }
    const int64_t startX = t.at(s + 11), startY = t.at(s + 12), endX = t.at(s + 14), endY = t.at(s + 15);
    if (std::llabs(startX - endX) >= 513)
        record.Side = startX > endX ? 0 : 2;
    else
        record.Side = startY > endY ? 1 : 3;
    return true;
}

void DrawGradientRect(dorv::DeviceContext& dc, int32_t colour1, int32_t colour2, int32_t left, int32_t top,
                      int32_t right, int32_t bottom, int32_t band)
{
    if (int64_t(bottom) - top < 1) return;
    if (band < 1) band = 4;
    // The channels and their steps are stored in single precision (each sum
    // worked out in double), which decides how the bands' colours round.
    const double rows = double(bottom) - top;
    float red = colour1 & 0xFF, green = colour1 & 0xFF00, blue = colour1 & 0xFF0000;
    const float redStep = static_cast<float>(((colour2 & 0xFF) - double(red)) / rows);
    const float greenStep = static_cast<float>(((colour2 & 0xFF00) - double(green)) / rows);
    const float blueStep = static_cast<float>(((colour2 & 0xFF0000) - double(blue)) / rows);
    const dorv::GdiObject pen = dorv::CreatePen(dorv::PS_NULL, 1, 0);
    const dorv::GdiObject oldPen = dc.SelectObject(pen);
    for (int64_t y = top; y < bottom; y += band) {
        const int32_t colour = (RoundHalfEven(red) & 0xFF) | (RoundHalfEven(green) & 0xFF00) |
                               (RoundHalfEven(blue) & 0xFF0000);
        const dorv::GdiObject brush = dorv::CreateSolidBrush(colour);
        const dorv::GdiObject oldBrush = dc.SelectObject(brush);
        dc.Rectangle(left, static_cast<int>(y), right + 1, static_cast<int>(y + band + 1));
        dc.SelectObject(oldBrush);
        dorv::DeleteObject(brush);
        red = static_cast<float>(red + double(redStep) * band);
        green = static_cast<float>(green + double(greenStep) * band);
        blue = static_cast<float>(blue + double(blueStep) * band);
    }
    dc.SelectObject(oldPen);
    dorv::DeleteObject(pen);
}

void PaintFormBackground(dorv::DeviceContext& dc, int32_t width, int32_t height, int32_t colour1, int32_t colour2,
                         int32_t& top, int32_t& bottom, int32_t band)
{
    if (top == bottom) {
        top = 0;
        bottom = height;
    }
    DrawGradientRect(dc, colour1, colour2, 0, top, width, bottom, band);
}

void PaintPictureBackground(dorv::DeviceContext& dc, int32_t width, int32_t height, int32_t colour1, int32_t colour2,
                            int32_t& top, int32_t& bottom, int32_t band)
{
    PaintFormBackground(dc, width, height, colour1, colour2, top, bottom, band);
}

}  // namespace DrawMod
