// The wall view: the current wall as a rectangle in the wall colour, framed
// by the floor and the two side walls in a simple perspective; the wall
// items on it as pictures, the selected one framed; optionally the other
// items as black wire frames with their names; and in the upper left a small
// isometric picture of the whole room with the current wall outlined.
#include "platform/Rounding.h"
#include "scene/Colours.h"
#include "scene/FileMod.h"
#include "scene/PictureMeasure.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "views/PictureEngine.h"
#include "views/ViewRender.h"

using dorv::RoundHalfEven;

namespace DrawMod {

namespace {
constexpr int32_t kBlack = 0;
constexpr int32_t kFloorLineFill = static_cast<int32_t>(0xC0C0E000u);
constexpr int32_t kFrameColour = 0xFFFF00;
constexpr double kStripDepth = 16000;  // units: depth of the floor and side-wall strips

void FilledPolygon(dorv::DeviceContext& dc, int32_t colour, const QPoint (&points)[4])
{
    const dorv::GdiObject brush = dorv::CreateSolidBrush(colour);
    const dorv::GdiObject oldBrush = dc.SelectObject(brush);
    dc.Polygon(points, 4);
    dc.SelectObject(oldBrush);
    dorv::DeleteObject(brush);
}

// True for the wall section that the locator outlines for wall `wallIndex`:
// the sections are named "WallSect" and their index among the placed items,
// whose first digit counts the walls from 1.
bool IsLocatedWall(const ItemRecord& item, int32_t wallIndex)
{
    if (!(item.Flags & kItemSection)) return false;
    const QString name = item.Name.str();
    if (!name.startsWith(QLatin1String("WallSect"), Qt::CaseInsensitive)) return false;
    const QChar digit = name.at(8);
    return digit.isDigit() && digit.digitValue() == wallIndex + 1;
}

// Where the room's picture puts an item: the lower-left corner (offX, offY)
// of its 3D picture, in units from the picture's origin with y up, as the
// 3D view places it with both pans fixed at 256 units; and that picture's
// size.
struct LocatorPlace {
    double offX = 0, offY = 0;
    float width = 0, height = 0;
};

LocatorPlace PlaceInLocator(const ItemRecord& item)
{
    float w = 0, h = 0;
    GetItemPictureSize(item, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1.0f, w, h);
    const double a = RoundHalfEven(item.X - w / 2);
    const double b = RoundHalfEven(-item.Y - h / 2);
    LocatorPlace p;
    p.offX = (a + b) * CommonMod::kIsoCos + 256;
    p.offY = (b - a - w) * 0.5 + item.Elevation + 256;
    GetItemPictureSize(item, kPicture3D, G.SceneShapes, G.SceneShapeCount, 1.0f, p.width, p.height);
    return p;
}

// The locator: the room 150 pixels wide, back to front, the current wall
// outlined in red, in the upper left corner of the drawing, below the top
// `clearTop` rows; placed from `centreX`, the middle of the canvas or page.
struct Locator {
    std::vector<std::pair<const ItemRecord*, int16_t>> drawn;
    float ox = 0, oy = 0, ls = 0;
    QRectF box;  // what it covers, in pixels
};

Locator LayOutLocator(const dorv::DeviceContext& dc, int32_t wallIndex, const ItemRecord& sec, float centreX,
                      float clearTop)
{
    Locator locator;
    auto& drawn = locator.drawn;
    const int32_t listed = std::min<int32_t>(G.ViewListCount, static_cast<int32_t>(G.ViewList.size()));
    for (int32_t k = 0; k < listed; ++k) {
        const ItemRecord& entry = G.ViewList[static_cast<size_t>(k)];
        drawn.emplace_back(&entry, IsLocatedWall(entry, wallIndex) ? kHighlight : 0);
    }
    // The walls nearest the viewer are not in the list: outline them on top.
    if (wallIndex == 2 || wallIndex == 3) drawn.emplace_back(&sec, kHighlight);

    // What the picture covers, in units with y up.
    double left = 0, right = 0, bottom = 0, top = 0;
    bool any = false;
    for (const auto& [item, mode] : drawn) {
        const LocatorPlace p = PlaceInLocator(*item);
        left = any ? std::min(left, p.offX) : p.offX;
        right = any ? std::max(right, p.offX + p.width) : p.offX + p.width;
        bottom = any ? std::min(bottom, p.offY) : p.offY;
        top = any ? std::max(top, p.offY + p.height) : p.offY + p.height;
        any = true;
    }
    // Fitted by the room; in a place much smaller than what stands in it,
    // by everything, so that a bench in a tiny garden does not fill the view.
    const float printScale = GetPrintScale(dc);
    float ls = CommonMod::ComputeFitScale(kPicture3D, 150.0f);
    if (right - left > 0) ls = std::min(ls, static_cast<float>(150.0 / (right - left)));
    ls *= printScale;
    // Moved in where the canvas's left or top edge would cut it, or down
    // where a print-out's heading stands.
    const double margin = 4.0 * printScale;
    float ox = 0.2f * centreX, oy = 0.25f * centreX;
    if (any) {
        ox += static_cast<float>(std::max(0.0, margin - (ox + left * ls)));
        oy += static_cast<float>(std::max(0.0, std::max(0.0f, clearTop) + margin - (oy - top * ls)));
        locator.box = QRectF(QPointF(ox + left * ls, oy - top * ls), QPointF(ox + right * ls, oy - bottom * ls));
    }
    locator.ox = ox;
    locator.oy = oy;
    locator.ls = ls;
    return locator;
}

void DrawLocator(dorv::DeviceContext& dc, int32_t wallIndex, const ItemRecord& sec, float centreX, float clearTop)
{
    const Locator locator = LayOutLocator(dc, wallIndex, sec, centreX, clearTop);
    for (const auto& [item, mode] : locator.drawn) {
        const LocatorPlace p = PlaceInLocator(*item);
        DrawItemPicture(dc, G.SceneShapes, G.SceneShapeCount, *item, kPicture3D, ReduceView(*item, item->ViewIndex),
                        static_cast<float>(p.offX), static_cast<float>(p.offY), locator.ox, locator.oy, locator.ls,
                        mode);
    }
}

// The wall face in the wall colour between the floor line yB and its top yT,
// framed by the floor and the two side walls in a simple perspective.
void DrawWallFrame(dorv::DeviceContext& dc, double s, double cx, double cy, double L, double T, double E,
                   int32_t xL, int32_t xR, int32_t yT, int32_t yB)
{
    const double F = s * kStripDepth;
    DrawBox(dc, xL, yT, xR, RoundHalfEven(yB - s * E), G.WallColour, kBlack, 1);
    DrawBox(dc, xL, yB, xR, yB + 1, kFloorLineFill, kBlack, 1);

    const dorv::GdiObject pen = dorv::CreatePen(dorv::PS_GEOMETRIC, 1, kBlack);
    const dorv::GdiObject oldPen = dc.SelectObject(pen);
    const int32_t sideColour = CommonMod::BrightenColour(G.WallColour, 1.4f);
    const int32_t outerL = RoundHalfEven(cx - s * L / 2 - 2 * F), outerR = RoundHalfEven(cx + s * L / 2 + 2 * F);
    const int32_t outerB = RoundHalfEven(cy + s * T / 2 + F), outerT = RoundHalfEven(cy - s * T / 2 - F);
    FilledPolygon(dc, G.FloorColour, {{xL, yB}, {outerL, outerB}, {outerR, outerB}, {xR, yB}});
    FilledPolygon(dc, sideColour, {{xL, yB}, {outerL, outerB}, {outerL, outerT}, {xL, yT}});
    FilledPolygon(dc, sideColour, {{xR, yB}, {outerR, outerB}, {outerR, outerT}, {xR, yT}});
    DrawBox(dc, outerL, outerT, outerR, outerB, -1, kBlack, 1);
    dc.SelectObject(oldPen);
    dorv::DeleteObject(pen);
}

}  // namespace

void DrawWallView(dorv::DeviceContext& dc, int32_t wallIndex, const RoomRecord& room,
                  const std::vector<ItemRecord>& items, int32_t itemCount, const ShapeStream& shapes,
                  int32_t shapeCount, float centreX, float centreY, float scale, float canvasHeight,
                  int32_t selectedItem, int32_t wallDragItem, bool showWires, bool itemAlone, float clearTop,
                  float locatorCentreX)
{
    const int32_t count = std::min<int32_t>(itemCount, static_cast<int32_t>(items.size()));
    const int64_t secIndex = int64_t(room.FirstWallSection) + wallIndex;
    if (room.WallSectionCount == 0 || secIndex < 0 || secIndex >= count) return;
    const ItemRecord& sec = items[static_cast<size_t>(secIndex)];

    const double s = scale, cx = centreX, cy = centreY;
    const double E = RoundHalfEven(sec.Elevation);
    const double T = double(sec.Height) + E;
    const double L = sec.SectionLength;
    const int32_t Xw = RoundHalfEven(sec.X), Yw = RoundHalfEven(sec.Y);
    const int16_t side = sec.WallSide;

    // The wall and its frame; the floor line yB is where the wall's full
    // height, centred on cy, ends.
    const int32_t xL = RoundHalfEven(cx - s * L / 2), xR = RoundHalfEven(cx + s * L / 2);
    const int32_t yT = RoundHalfEven(cy - s * T / 2), yB = RoundHalfEven(cy + s * T / 2);
    if (!itemAlone) DrawWallFrame(dc, s, cx, cy, L, T, E, xL, xR, yT, yB);

    // Lettering that grows and shrinks with the zoom: 8 points at 1/512.
    dc.SetBkMode(dorv::TRANSPARENT);
    const int32_t points = RoundHalfEven(72 / (s * 512));
    const dorv::GdiObject font =
        dorv::CreateFontA(-dorv::MulDiv(8, CanvasLogPixelsY(), points), 0, 0, dorv::FW_NORMAL, QStringLiteral("Arial"));
    const dorv::GdiObject oldFont = dc.SelectObject(font);

    if (side >= 0 && side <= 3) {
        for (int32_t i = std::max(0, room.FirstRealItem); i < count; ++i) {
            if (itemAlone && i != selectedItem) continue;
            const ItemRecord& item = items[static_cast<size_t>(i)];
            float w = 0, h = 0;
            GetItemPictureSize(item, kPictureFromAbove, shapes, shapeCount, 1.0f, w, h);
            // Position along the wall, growing to the right on the north and
            // east walls and mirrored on the south and west walls.
            const bool alongX = side == 0 || side == 2;
            const double P = RoundHalfEven(alongX ? item.X : item.Y);
            const double Pw = alongX ? Xw : Yw;
            const double size = alongX ? w : h;
            const int d = (side == 0 || side == 3) ? 1 : -1;
            const double elevation = item.Elevation;
            const int32_t boxL = RoundHalfEven(cx + d * s * (P - size / 2 - Pw));
            const int32_t boxB = RoundHalfEven(yB - s * elevation);
            const int32_t boxR = RoundHalfEven(cx + d * s * (P + size / 2 - Pw));
            const int32_t boxT = RoundHalfEven(yB - s * (item.Height + elevation));

            if ((item.Flags & kItemOnWall) && item.ViewIndex == side) {
                const double u = d == 1 ? P - size / 2 - Pw : Pw - P - size / 2;
                // A wall item being dragged in from the palette follows the
                // drag's height.
                const double offY = (i == count - 1 && G.WallDragOffset != 0) ? -G.WallDragOffset : elevation;
                DrawItemPicture(dc, shapes, shapeCount, item, kPictureFromAbove, item.ViewCount - 1,
                                static_cast<float>(u), static_cast<float>(offY), centreX, float(yB), scale, 0);
                if (i == selectedItem && wallDragItem == -1 && !itemAlone) {
                    // Round what the front draws, not down to the floor
                    // below an item hung at its height.
                    float fw = 0, fh = 0, insetX = 0, insetY = 0;
                    int16_t view = -1;
                    GetItemDrawnSize(item, kPictureWallSize, shapes, shapeCount, scale, fw, fh, insetX, insetY, view);
                    const double left = cx + s * (u + insetX), bottom = yB - s * (offY + insetY);
                    dc.SetROP2(dorv::R2_XORPEN);
                    DrawBox(dc, RoundHalfEven(left), RoundHalfEven(bottom), RoundHalfEven(left + fw),
                            RoundHalfEven(bottom - fh), -1, kFrameColour, 4);
                    dc.SetROP2(dorv::R2_COPYPEN);
                }
            } else if (showWires && !itemAlone) {
                DrawBox(dc, boxL, boxB, boxR, boxT, -1, kBlack, 1);
                const QString label = FileMod::GetTrimmedFileName(item.Name.str());
                const int tw = dc.GetTextExtentPoint32A(label).width();
                dc.TextOutA(RoundHalfEven(cx + d * s * (P - Pw) - tw / 2.0),
                            RoundHalfEven(yB - s * (item.Height + elevation) + 4), label);
            }
        }
    }

    if (!itemAlone) DrawLocator(dc, wallIndex, sec, locatorCentreX >= 0 ? locatorCentreX : centreX, clearTop);

    dc.SelectObject(oldFont);
    dorv::DeleteObject(font);
}

QRectF WallLocatorBox(const dorv::DeviceContext& dc, float centreX, float clearTop)
{
    const int64_t secIndex = int64_t(G.Room.FirstWallSection) + G.WallIndex;
    const int64_t count = std::min<int64_t>(G.PlacedItemCount, static_cast<int64_t>(G.PlacedItems.size()));
    if (G.Room.WallSectionCount == 0 || secIndex < 0 || secIndex >= count) return {};
    return LayOutLocator(dc, G.WallIndex, G.PlacedItems[static_cast<size_t>(secIndex)], centreX, clearTop).box;
}

}  // namespace DrawMod
