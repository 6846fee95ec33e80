#include "views/Palette.h"

#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"
#include "views/PictureEngine.h"
#include "views/ViewRender.h"

#include <algorithm>

using dorv::RoundHalfEven;

namespace DrawMod {

namespace {
constexpr int32_t kFirstCellTop = -20;  // content y where the first cell begins
constexpr float kCellMargin = 27;       // a cell's height beyond its picture
constexpr int32_t kFrameColour = 0xCCCCCC;

// The entries that the array really holds.
int32_t EntryCount(const std::vector<ItemRecord>& items, int32_t itemCount)
{
    return std::clamp<int32_t>(itemCount, 0, static_cast<int32_t>(items.size()));
}

// The size of what an entry's picture draws at the palette's mode and
// scale, and the inset of that box in the picture (units).
void EntrySize(const ItemRecord& entry, int16_t mode, float scale, const ShapeStream& stream, int32_t count,
               float& w, float& h, float& insetX, float& insetY)
{
    int16_t view = -1;
    GetItemDrawnSize(entry, mode, stream, count, scale, w, h, insetX, insetY, view);
}
void EntrySize(const ItemRecord& entry, int16_t mode, float scale, const ShapeStream& stream, int32_t count,
               float& w, float& h)
{
    float insetX = 0, insetY = 0;
    EntrySize(entry, mode, scale, stream, count, w, h, insetX, insetY);
}

int32_t CellHeight(float w, float h) { return RoundHalfEven(std::max(w, h) + kCellMargin); }
}  // namespace

int16_t PaletteMode()
{
    // The 3D view and the spreadsheet show the palette their kind chose.
    return (G.ViewMode == 1 || G.ViewMode == 3) ? G.PaletteKind : G.ViewMode;
}

float PaletteScale(int16_t mode)
{
    switch (mode) {
    case 1:
        return G.IsoScale;
    case 2:
        return G.WallScale;
    default:
        return G.PlanScale;
    }
}

int32_t MeasureItemListHeight(const ShapeStream& stream, int32_t count, const std::vector<ItemRecord>& items,
                              int32_t itemCount)
{
    const int32_t n = EntryCount(items, itemCount);
    if (n == 0) return 0;
    const int16_t mode = PaletteMode();
    const float scale = PaletteScale(mode);
    int64_t total = 0;
    for (int32_t i = 0; i < n; ++i) {
        float w = 0, h = 0;
        EntrySize(items[static_cast<size_t>(i)], mode, scale, stream, count, w, h);
        total += CellHeight(w, h);
    }
    return static_cast<int32_t>(std::min<int64_t>(total + 27, INT32_MAX));
}

void DrawItemPalette(dorv::DeviceContext& dc, const ShapeStream& stream, int32_t streamCount,
                     const std::vector<ItemRecord>& items, int32_t itemCount, int32_t hScroll, int32_t vScroll,
                     int32_t width, float height)
{
    (void)hScroll;  // the side palette is one column: nothing scrolls across
    const int32_t n = EntryCount(items, itemCount);
    if (n == 0) return;
    const bool disabled = G.PaletteDisabled;
    dc.SetBkMode(dorv::TRANSPARENT);
    const dorv::GdiObject font = dorv::CreateFontA(-dorv::MulDiv(10, dc.GetDeviceCaps(dorv::LOGPIXELSY), 72), 0, 0,
                                                   dorv::FW_NORMAL, QStringLiteral("Arial"));
    const dorv::GdiObject oldFont = dc.SelectObject(font);

    const int16_t mode = PaletteMode();
    const float scale = PaletteScale(mode);
    int64_t y = kFirstCellTop;
    int32_t i = 0;
    // Cells that end above the window.
    for (; i < n; ++i) {
        float w = 0, h = 0;
        EntrySize(items[static_cast<size_t>(i)], mode, scale, stream, streamCount, w, h);
        const int32_t cell = CellHeight(w, h);
        if (y + cell >= vScroll) break;
        y += cell;
    }
    for (; i < n; ++i) {
        const ItemRecord& entry = items[static_cast<size_t>(i)];
        const QString name = LangMod::GetPlanInfoText(entry.Name.str());
        const int32_t tw = dc.GetTextExtentPoint32A(name).width();
        float w = 0, h = 0, insetX = 0, insetY = 0;
        EntrySize(entry, mode, scale, stream, streamCount, w, h, insetX, insetY);
        const int32_t cell = CellHeight(w, h);
        const int32_t lift = w <= h ? 0 : RoundHalfEven((double(w) - h) * 0.5);
        const int32_t t = static_cast<int32_t>(y - vScroll);
        // Plan items in the view they will be dropped in; wall items by their
        // front, which their last view holds.
        const int32_t view = mode == kPictureWallSize ? ReduceView(entry, entry.ViewCount - 1)
                                                      : ReduceView(entry, entry.ViewIndex);
        // With the origin at the window's foot, the picture's lower edge
        // lands at t + cell - lift.
        if (scale > 0)
            DrawItemPicture(dc, stream, streamCount, entry, mode, view, (width * 0.5f - w * 0.5f) / scale - insetX,
                            static_cast<float>((double(height) - double(y) + vScroll - cell + lift) / scale - insetY),
                            0, height, scale, disabled ? kGhost : 0);
        DrawBox(dc, 2, t + 22, width - 2, t + cell + 19, -1, kFrameColour, 1);
        if (!disabled) dc.TextOutA(RoundHalfEven(width * 0.5 - RoundHalfEven(tw * 0.5)), t + cell + 2, name);
        if (y + cell > height + double(vScroll)) break;
        y += cell;
    }
    dc.SelectObject(oldFont);
    dorv::DeleteObject(font);
}

int32_t HitTestItemPalette(int32_t px, int32_t py, const ShapeStream& stream, int32_t streamCount,
                           const std::vector<ItemRecord>& items, int32_t itemCount, int32_t hScroll,
                           int32_t vScroll, int32_t width, int32_t height, CellRect& rect)
{
    (void)px;
    (void)hScroll;
    (void)height;
    const int32_t n = EntryCount(items, itemCount);
    if (n == 0) return 0;
    const int16_t mode = PaletteMode();
    const float scale = PaletteScale(mode);
    int64_t y = kFirstCellTop;
    for (int32_t i = 0; i < n; ++i) {
        const ItemRecord& entry = items[static_cast<size_t>(i)];
        float w = 0, h = 0, insetX = 0, insetY = 0;
        EntrySize(entry, mode, scale, stream, streamCount, w, h, insetX, insetY);
        const int32_t cell = CellHeight(w, h);
        if (y + cell > py) {
            // The cell centres what the picture draws; the box is the whole
            // picture's where the cell draws it, since a drop moves the item
            // by that box: a hung item's reaches down below the cell to the
            // floor it hangs above.
            float boxW = 0, boxH = 0;
            GetItemPictureSize(entry, mode, stream, streamCount, scale, boxW, boxH);
            const double left = double(insetX) * scale, right = double(boxW) - w - left;
            const double below = double(insetY) * scale, above = double(boxH) - h - below;
            rect.left = RoundHalfEven(width * 0.5 - w * 0.5 - left);
            rect.right = RoundHalfEven(width * 0.5 + w * 0.5 + right);
            const int32_t c = RoundHalfEven(cell * 0.5 + double(y) + kCellMargin * 0.5);
            rect.top = RoundHalfEven(c - h * 0.5 - vScroll - above);
            rect.bottom = RoundHalfEven(c + h * 0.5 - vScroll + below);
            return i;
        }
        y += cell;
    }
    return 0;
}

int32_t HitTestPlanItem(int16_t viewMode, const ShapeStream& stream, int32_t streamCount,
                        const std::vector<ItemRecord>& items, int32_t itemCount, int32_t px, int32_t py,
                        int32_t& grabX, int32_t& grabY, float scale)
{
    int32_t result = -1;
    if (viewMode != 0) return result;
    const int32_t n = EntryCount(items, itemCount);
    for (int32_t i = 0; i < n; ++i) {
        const ItemRecord& item = items[static_cast<size_t>(i)];
        float w = 0, h = 0;
        GetItemPictureSize(item, kPictureFromAbove, stream, streamCount, scale, w, h);
        const double x = double(item.X) * scale, y = double(item.Y) * scale;
        const int32_t left = RoundHalfEven(x - w / 2.0), right = RoundHalfEven(x + w / 2.0);
        const int32_t top = RoundHalfEven(y - h / 2.0), bottom = RoundHalfEven(y + h / 2.0);
        if (!(left < px && px < right && top < py && py < bottom)) continue;
        if (item.Flags & (kItemSection | kItemOnWall)) continue;
        result = i;
        grabX = RoundHalfEven(px - x);
        grabY = RoundHalfEven(py - y);
    }
    return result;
}

int32_t HitTestWallItem(const ShapeStream& stream, int32_t streamCount, const std::vector<ItemRecord>& items,
                        int32_t itemCount, int32_t px, int32_t py, int32_t& grabX, int32_t& grabY)
{
    (void)py;
    (void)grabY;
    int32_t result = -1;
    const double ws = G.WallScale;
    const int16_t side = G.WallView.Side;
    const double Wx = G.WallView.CentreX, Wy = G.WallView.CentreY;
    const int32_t n = EntryCount(items, itemCount);
    for (int32_t i = std::max<int32_t>(0, G.Room.FirstRealItem); i < n; ++i) {
        const ItemRecord& item = items[static_cast<size_t>(i)];
        int32_t w = 0, d = 0;
        GetShapeViewBounds(item, side, stream, streamCount, w, d);
        double from = 0, to = 0, m = 0;
        switch (side) {
        case 0:
            from = (item.X - w / 2.0) * ws, to = (item.X + w / 2.0) * ws, m = px + ws * Wx;
            break;
        case 1:
            from = (item.Y - d / 2.0) * ws, to = (item.Y + d / 2.0) * ws, m = ws * Wy - px;
            break;
        case 2:
            // The south wall runs leftwards on the screen: its centre term
            // keeps the sign it has in the drawing.
            from = (item.X - w / 2.0) * ws, to = (item.X + w / 2.0) * ws, m = -px + ws * Wx;
            break;
        case 3:
            from = (item.Y - d / 2.0) * ws, to = (item.Y + d / 2.0) * ws, m = ws * Wy + px;
            break;
        default:
            return -1;  // no wall is shown
        }
        const int32_t lo = RoundHalfEven(from), hi = RoundHalfEven(to);
        if (!(lo < m && m < hi)) continue;
        if (!(item.Flags & kItemOnWall) || (item.Flags & kItemSection) || item.ViewIndex != side) continue;
        result = i;
        const double centre = (side == 0 || side == 2) ? Wx : Wy;
        grabX = RoundHalfEven((double(lo) + hi) * 0.5 - m + ws * centre);
    }
    return result;
}

}  // namespace DrawMod
