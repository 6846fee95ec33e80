// The main window's canvas: selecting, dragging, duplicating and deleting
// placed items with the mouse and the keys, snapping and clamping them,
// re-settling what stood on a moved item, panning and zooming.
#include "app/Main.h"

#include "platform/Rounding.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"

using dorv::RoundHalfEven;

void Main::ClampItemToFloor(ItemRecord& item, const RoomRecord& room, float scale)
{
    if (scale == 0) return;
    float w = 0, h = 0;
    DrawMod::GetItemPictureSize(item, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, scale, w, h);
    const int32_t left = RoundHalfEven(scale * item.X - w / 2);
    const int32_t top = RoundHalfEven(scale * item.Y - h / 2);
    const int32_t right = RoundHalfEven(scale * item.X + w / 2);
    const int32_t bottom = RoundHalfEven(scale * item.Y + h / 2);
    const int32_t hw = RoundHalfEven(scale * room.ExtentX * 0.5f - 1);
    const int32_t hh = RoundHalfEven(scale * room.ExtentY * 0.5f - 1);
    if (left < -hw) item.X += float(-(left + hw)) / scale;
    if (top < -hh) item.Y += float(-(top + hh)) / scale;
    if (right > hw) item.X -= float(right - hw) / scale;
    if (bottom > hh) item.Y -= float(bottom - hh) / scale;
}
