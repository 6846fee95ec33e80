// The main window's canvas: selecting, dragging, duplicating and deleting
// placed items with the mouse and the keys, snapping and clamping them,
// re-settling what stood on a moved item, panning and zooming.
#include "app/Main.h"

#include "platform/Dialogs.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "views/Palette.h"
#include "views/ViewRender.h"

#include <algorithm>

using dorv::RoundHalfEven;

namespace {

// Internal units in one step of the pan.
constexpr float kPanStep = 512;
// Items taller than this that others can stand on carry what stands on them.
constexpr int32_t kCarrierHeight = 512;

bool InsideItems(int32_t index) { return index >= 0 && index < G.PlacedItemCount; }

// The scale of the current view; nullptr in the spreadsheet and graphs.
float* CurrentScale()
{
    switch (G.ViewMode) {
    case 0: return &G.PlanScale;
    case 1: return &G.IsoScale;
    case 2: return &G.WallScale;
    default: return nullptr;
    }
}

}  // namespace

void Main::connectEditing()
{
    connectMenu(mnu_undo, &Main::mnu_undo_Click);
    connectMenu(mnu_redo, &Main::mnu_redo_Click);
    connectMenu(mnu_cut, &Main::mnu_cut_Click);
    connectMenu(mnu_copy, &Main::mnu_copy_Click);
    connectMenu(mnu_paste, &Main::mnu_paste_Click);
    connectMenu(mnu_delete, &Main::mnu_delete_Click);
    connectMenu(mnu_rotateItem, &Main::mnu_rotateItem_Click);
    connectMenu(mnu_zoom, &Main::mnu_zoom_Click);
    connectMenu(mnu_zoomIn, &Main::mnu_zoomIn_Click);
    connectMenu(mnu_zoomOut, &Main::mnu_zoomOut_Click);
    // Nothing is selected before the first press on the canvas.
    EnableEditCommands(false);

    Picture2->MouseDown = [this](int b, int s, float x, float y) { Picture2_MouseDown(b, s, x, y); };
    Picture2->MouseMove = [this](int b, int s, float x, float y) { Picture2_MouseMove(b, s, x, y); };
    Picture2->MouseUp = [this](int b, int s, float x, float y) { Picture2_MouseUp(b, s, x, y); };
    Picture2->KeyDown = [this](int& key, int s) { Picture2_KeyDown(key, s); };
    Picture2->Paint = [] { DrawMod::BlitView(); };

    for (dorv::ScrollBar* bar : {HScroll2, VScroll2}) {
        bar->SetMin(-10000);
        bar->SetMax(10000);
        bar->SetSmallChange(2);
    }
    HScroll2->Change = HScroll2->Scroll = [this] { HScroll2_Change(); };
    VScroll2->Change = VScroll2->Scroll = [this] { VScroll2_Change(); };
}

void Main::EnableEditCommands(bool flag)
{
    for (dorv::Menu* m : {mnu_copy, mnu_rotateItem, mnu_delete, mnu_cut})
        if (m) m->SetEnabled(flag);
    Picture7[4]->SetEnabled(flag);
    Picture7[5]->SetEnabled(flag);
}

// ---- mouse and keys ----

void Main::Picture2_MouseDown(int button, int shift, float x, float y)
{
    const float planOffsetX = x - G.PlanPanX * kPanStep * G.PlanScale - G.CanvasCentreX;
    const float planOffsetY = y + G.PlanPanY * kPanStep * G.PlanScale - G.CanvasCentreY;
    auto hitPlan = [&] {
        return DrawMod::HitTestPlanItem(G.ViewMode, G.SceneShapes, G.SceneShapeCount, G.PlacedItems,
                                        G.PlacedItemCount, RoundHalfEven(planOffsetX), RoundHalfEven(planOffsetY),
                                        GrabOffsetX, GrabOffsetY, G.PlanScale);
    };

    if (button == dorv::vbLeftButton) {
        if (G.ViewMode == 1) {
            LastMouseX = x;
            LastMouseY = y;
        } else if (G.ViewMode == 2) {
            int32_t grabY = 0;
            G.WallDragItem = DrawMod::HitTestWallItem(G.SceneShapes, G.SceneShapeCount, G.PlacedItems,
                                                      G.PlacedItemCount, RoundHalfEven(x - G.CanvasCentreX),
                                                      RoundHalfEven(y - G.CanvasCentreY), GrabOffsetX, grabY);
            G.SelectedItem = G.WallDragItem >= 0 ? G.WallDragItem : -1;
            DrawMod::RedrawView();
        } else if (G.ViewMode == 0) {
            if (G.DragItem >= 0) {
                PanActive = true;
                LastMouseX = x;
                LastMouseY = y;
                return;
            }
            G.HitItem = G.DragItem = hitPlan();
            // Only the items that stand on the item pressed now are settled
            // again at its release.
            StackedItemCount = 0;
            if (G.DragItem >= 0) {
                if (shift & dorv::vbCtrlMask) {
                    // Ctrl held at the press (as the mouse event tells it,
                    // wherever Ctrl went down or up before): a copy at the
                    // same spot is what gets dragged.
                    CopyItemToBuffer(G.PlacedItems[size_t(G.DragItem)]);
                    const int32_t copy = AddItemFromTemplate(
                        G.SceneShapes, G.SceneShapeCount, G.ClipParts, G.ClipItem, G.PlacedItems, G.PlacedItemCount,
                        G.ClipItem.X * G.PlanScale, G.ClipItem.Y * G.PlanScale, G.ClipItem.ViewIndex, G.Room,
                        G.PlanScale);
                    if (copy >= 0) G.DragItem = copy;
                }
                // An item that others can stand on comes to the end of the
                // array, drawn after the others, and the items standing on
                // it come after it: they are still drawn over it and are
                // the ones a click there finds. What stands on any other
                // item (a lamp on a table that itself rests on nothing) is
                // settled again at the release too, so that it never
                // floats where the item was.
                std::vector<int32_t> lifted;
                const ItemRecord& pressed = G.PlacedItems[size_t(G.DragItem)];
                const bool carrier = pressed.Height > kCarrierHeight && (pressed.Flags & kItemStacks);
                const float top = pressed.Elevation + float(pressed.Height);
                FindItemsOnTop(G.PlacedItems, G.PlacedItemCount, StackedItems, StackedItemCount, G.DragItem);
                int32_t kept = 0;
                if (carrier) lifted.push_back(G.DragItem);
                for (int32_t k = 0; k < StackedItemCount; ++k) {
                    const int32_t j = StackedItems[size_t(k)];
                    const ItemRecord& other = G.PlacedItems[size_t(j)];
                    const bool rider = other.Elevation >= top && !(other.Flags & (kItemOnWall | kItemSection));
                    if (carrier && rider) lifted.push_back(j);
                    if (carrier || rider) StackedItems[size_t(kept++)] = j;
                }
                StackedItemCount = kept;
                if (carrier) LiftToEnd(lifted);
                G.SelectedItem = G.DragItem;
                PushUndoRecord(kUndoMove, G.PlacedItems, G.DragItem);
                if (!lifted.empty()) UndoRecords[size_t(UndoPos - 1)].Lifted = std::move(lifted);
                PressRecord = UndoPos - 1;
                EnableEditCommands(true);
                DrawMod::RedrawView();
            } else {
                EnableEditCommands(false);
                LastMouseX = x;
                LastMouseY = y;
                PanActive = true;
                G.SelectedItem = -1;
                DrawMod::RedrawView();
            }
        }
    } else if (button == dorv::vbRightButton) {
        if (G.ViewMode == 1 || G.ViewMode == 2) {
            Picture2->SetMouseIcon(ImageList3.Image(3));
            Picture2->SetMousePointer(dorv::vbCustom);
            LastMouseX = x;
            LastMouseY = y;
        } else if (G.ViewMode == 0) {
            G.HitItem = G.DragItem = hitPlan();
            if (G.HitItem >= 0) {
                PushUndoRecord(kUndoMove, G.PlacedItems, G.HitItem);
                G.DragItem = -1;
                G.SelectedItem = G.HitItem;
                DrawMod::RedrawView();
                EnableEditCommands(true);
            } else {
                EnableEditCommands(false);
            }
            mnu_zoom->SetVisible(true);
            ed_div3->SetVisible(true);
            dorv::Dialogs().PopupMenu(*mnu_edit);
            mnu_zoom->SetVisible(false);
            ed_div3->SetVisible(false);
            LastMouseX = x;
            LastMouseY = y;
        }
    }
}

void Main::Picture2_MouseMove(int button, int /*shift*/, float x, float y)
{
    // The pans before this move, for an axis whose step is refused.
    const float oldPanX = G.ViewMode == 1 ? G.IsoPanX : G.PlanPanX;
    const float oldPanY = G.ViewMode == 1 ? G.IsoPanY : G.PlanPanY;
    auto syncScrollBars = [&] {
        float& panX = G.ViewMode == 1 ? G.IsoPanX : G.PlanPanX;
        float& panY = G.ViewMode == 1 ? G.IsoPanY : G.PlanPanY;
        ScrollByCode = true;
        if (HScroll2->Min() < -panX && -panX < HScroll2->Max())
            HScroll2->SetValue(int16_t(RoundHalfEven(-panX)));
        else
            panX = oldPanX;
        if (VScroll2->Min() < panY && panY < VScroll2->Max())
            VScroll2->SetValue(int16_t(RoundHalfEven(panY)));
        else
            panY = oldPanY;
        ScrollByCode = false;
        LastMouseX = x;
        LastMouseY = y;
        DrawMod::RedrawView();
    };
    auto dragZoom = [&] {
        const float d = (y - LastMouseY) + (x - LastMouseX);
        if (d != 0) {
            bool atLimit = false;
            ZoomBy(0, 200 / d, atLimit);
        }
        if (G.ViewMode < 3) {
            LastMouseX = x;
            LastMouseY = y;
        }
    };

    if (button == dorv::vbLeftButton) {
        if (G.ViewMode == 2) {
            if (InsideItems(G.WallDragItem)) {
                ItemRecord& item = G.PlacedItems[size_t(G.WallDragItem)];
                const float d = x - G.CanvasCentreX;
                switch (G.WallView.Side) {
                case 0: item.X = (d + GrabOffsetX) / G.WallScale; break;
                case 1: item.Y = (-d + GrabOffsetX) / G.WallScale; break;
                case 2: item.X = (-d + GrabOffsetX) / G.WallScale; break;
                case 3: item.Y = (d + GrabOffsetX) / G.WallScale; break;
                default: break;
                }
                ClampItemToWall(G.WallDragItem);
                G.CleanFlag = false;
                DrawMod::RedrawView();
            } else {
                int32_t grabY = 0;
                const int32_t hit = DrawMod::HitTestWallItem(G.SceneShapes, G.SceneShapeCount, G.PlacedItems,
                                                             G.PlacedItemCount, RoundHalfEven(x - G.CanvasCentreX),
                                                             RoundHalfEven(y - G.CanvasCentreY), GrabOffsetX, grabY);
                if (hit >= 0) G.WallDragItem = G.SelectedItem = hit;
            }
        } else if (G.ViewMode == 1) {
            G.IsoPanX += (x - LastMouseX) / (G.IsoScale * kPanStep);
            G.IsoPanY += (LastMouseY - y) / (G.IsoScale * kPanStep);
            syncScrollBars();
        } else if (G.ViewMode == 0) {
            if (ZoomMode) {
                dragZoom();
            } else if (InsideItems(G.DragItem)) {
                ItemRecord& item = G.PlacedItems[size_t(G.DragItem)];
                item.X = (x - GrabOffsetX - G.PlanPanX * kPanStep * G.PlanScale - G.CanvasCentreX) / G.PlanScale;
                item.Y = (y - GrabOffsetY + G.PlanPanY * kPanStep * G.PlanScale - G.CanvasCentreY) / G.PlanScale;
                SnapItem(G.PlacedItems, G.DragItem);
                DrawMod::RedrawView();
                G.CleanFlag = false;
            } else if (PanActive) {
                G.PlanPanX += (x - LastMouseX) / (G.PlanScale * kPanStep);
                G.PlanPanY += (LastMouseY - y) / (G.PlanScale * kPanStep);
                syncScrollBars();
            }
        }
    } else if (button == dorv::vbRightButton) {
        if (G.ViewMode == 1 || G.ViewMode == 2 || (G.ViewMode == 0 && (G.DragItem == -1 || ZoomMode))) dragZoom();
    } else if (button == 0) {
        const bool idle = !PanActive && !ZoomMode && G.DragItem < 0;
        if (G.ViewMode == 0 && idle) {
            const int32_t hit = DrawMod::HitTestPlanItem(
                G.ViewMode, G.SceneShapes, G.SceneShapeCount, G.PlacedItems, G.PlacedItemCount,
                RoundHalfEven(x - G.PlanPanX * kPanStep * G.PlanScale - G.CanvasCentreX),
                RoundHalfEven(y + G.PlanPanY * kPanStep * G.PlanScale - G.CanvasCentreY), GrabOffsetX, GrabOffsetY,
                G.PlanScale);
            if (hit >= 0) {
                Picture2->SetMousePointer(dorv::vbSizeAll);
                Picture2->SetToolTipText(LangMod::GetPlanInfoText(G.PlacedItems[size_t(hit)].Name.str()));
            } else {
                Picture2->SetMouseIcon(ImageList3.Image(1));
                Picture2->SetMousePointer(dorv::vbCustom);
                Picture2->SetToolTipText(QString());
            }
        } else if (G.ViewMode == 1) {
            Picture2->SetMouseIcon(ImageList3.Image(1));
            Picture2->SetMousePointer(dorv::vbCustom);
            Picture2->SetToolTipText(QString());
        } else if (G.ViewMode == 2 && idle) {
            int32_t grabY = 0;
            const int32_t hit = DrawMod::HitTestWallItem(G.SceneShapes, G.SceneShapeCount, G.PlacedItems,
                                                         G.PlacedItemCount, RoundHalfEven(x - G.CanvasCentreX),
                                                         RoundHalfEven(y - G.CanvasCentreY), GrabOffsetX, grabY);
            if (hit >= 0) {
                Picture2->SetMousePointer(dorv::vbSizeAll);
                Picture2->SetToolTipText(LangMod::GetPlanInfoText(G.PlacedItems[size_t(hit)].Name.str()));
            } else {
                Picture2->SetMousePointer(dorv::vbDefault);
            }
        } else if (G.ViewMode != 0 && G.ViewMode != 2) {
            Picture2->SetMousePointer(dorv::vbDefault);
        }
    }
}

void Main::Picture2_MouseUp(int /*button*/, int /*shift*/, float /*x*/, float /*y*/)
{
    if (G.ViewMode == 0) {
        if (InsideItems(G.DragItem)) {
            std::vector<float> before(size_t(G.PlacedItemCount));
            for (int32_t j = 0; j < G.PlacedItemCount; ++j) before[size_t(j)] = G.PlacedItems[size_t(j)].Elevation;
            ClampItemToFloor(G.PlacedItems[size_t(G.DragItem)], G.Room, G.PlanScale);
            // What lay beneath the item first, then the item, then what
            // stood on it (those come after it in the array): each comes to
            // rest on what now lies under it.
            std::vector<int32_t> beneath, riders;
            for (int32_t k = 0; k < std::min<int32_t>(StackedItemCount, int32_t(StackedItems.size())); ++k)
                (StackedItems[size_t(k)] < G.DragItem ? beneath : riders).push_back(StackedItems[size_t(k)]);
            SettleStackedItems(G.PlacedItems, G.PlacedItemCount, beneath, int32_t(beneath.size()));
            FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, G.DragItem, G.SceneShapes,
                                         G.SceneShapeCount);
            SettleStackedItems(G.PlacedItems, G.PlacedItemCount, riders, int32_t(riders.size()));
            RecordSettling(before, G.DragItem);
            PressRecord = -1;
            StackedItemCount = 0;
            G.DragItem = -1;
            DrawMod::RedrawView();
        } else {
            G.DragItem = -1;
            Picture5->Refresh();
        }
    } else if (G.ViewMode == 1) {
        Picture2->SetMouseIcon(ImageList3.Image(1));
        Picture2->SetMousePointer(dorv::vbCustom);
    } else if (G.ViewMode == 2) {
        G.ViewList.assign(size_t(G.PlacedItemCount) + 1, ItemRecord());
        FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                      G.ViewListCount);
        if (G.WallDragItem >= 0) {
            G.WallDragItem = -1;
            DrawMod::RedrawView();
        } else {
            Picture5->Refresh();
        }
    }
    PanActive = false;
    if (ZoomMode) {
        if (G.ViewMode == 0) {
            UpdateItemListScrollRange();
            Picture5->Refresh();
        }
        ZoomMode = false;
    }
}

void Main::Picture2_KeyDown(int keyCode, int /*shift*/)
{
    if (keyCode == 46) mnu_delete_Click();
}

// ---- snapping, clamping, stacking ----

void Main::SnapItem(std::vector<ItemRecord>& items, int32_t index)
{
    if (!mnu_snap || !mnu_snap->Checked() || G.PlanScale == 0) return;
    const int32_t count = std::min<int32_t>(G.PlacedItemCount, int32_t(items.size()));
    if (index < 0 || index >= count) return;
    const float tol = 7 / G.PlanScale;
    ItemRecord& item = items[size_t(index)];
    float wi = 0, hi = 0;
    DrawMod::GetItemPictureSize(item, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1, wi, hi);
    const float Li = float(RoundHalfEven(item.X - wi / 2)), Ti = float(RoundHalfEven(item.Y - hi / 2));
    const float Ri = float(RoundHalfEven(item.X + wi / 2)), Bi = float(RoundHalfEven(item.Y + hi / 2));
    auto near = [tol](float a, float b) { return b - tol < a && a < b + tol; };
    for (int32_t j = 0; j < count; ++j) {
        if (j == index) continue;
        const ItemRecord& other = items[size_t(j)];
        float wj = 0, hj = 0;
        DrawMod::GetItemPictureSize(other, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1, wj, hj);
        const float Lj = other.X - wj / 2, Tj = other.Y - hj / 2, Rj = other.X + wj / 2, Bj = other.Y + hj / 2;
        if (near(Lj, Li)) item.X = Lj + wi / 2;
        if (near(Tj, Ti)) item.Y = Tj + hi / 2;
        if (near(Rj, Li)) item.X = Rj + wi / 2;
        if (near(Bj, Ti)) item.Y = Bj + hi / 2;
        if (near(Lj, Ri)) item.X = Lj - wi / 2;
        if (near(Tj, Bi)) item.Y = Tj - hi / 2;
        if (near(Rj, Ri)) item.X = Rj - wi / 2;
        if (near(Bj, Bi)) item.Y = Bj - hi / 2;
    }
}

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

void Main::ClampItemToWall(int32_t index)
{
    if (!InsideItems(index)) return;
    ItemRecord& item = G.PlacedItems[size_t(index)];
    const float half = (float(G.WallView.Length) - float(item.FootWidth)) / 2;
    switch (G.WallView.Side) {
    case 0:
    case 2:
        if (item.X < G.WallView.CentreX - half) item.X = G.WallView.CentreX - half;
        if (item.X > G.WallView.CentreX + half) item.X = G.WallView.CentreX + half;
        break;
    case 1:
    case 3:
        if (item.Y < G.WallView.CentreY - half) item.Y = G.WallView.CentreY - half;
        if (item.Y > G.WallView.CentreY + half) item.Y = G.WallView.CentreY + half;
        break;
    default: break;
    }
}

void Main::FindItemsOnTop(const std::vector<ItemRecord>& items, int32_t count, std::vector<int32_t>& list,
                          int32_t& listCount, int32_t index)
{
    listCount = 0;
    count = std::min<int32_t>(count, int32_t(items.size()));
    if (count < 2 || index < 0 || index >= count) return;
    const FileMod::PlanBox a = FileMod::ItemPlanBox(items[size_t(index)], G.SceneShapes, G.SceneShapeCount);
    for (int32_t j = 0; j < count; ++j) {
        if (j == index) continue;
        const FileMod::PlanBox b = FileMod::ItemPlanBox(items[size_t(j)], G.SceneShapes, G.SceneShapeCount);
        if (!FileMod::RectanglesOverlap(a.left, a.bottom, a.right, a.top, b.left, b.bottom, b.right, b.top)) continue;
        if (int32_t(list.size()) <= listCount) list.resize(size_t(listCount) + 1);
        list[size_t(listCount++)] = j;
    }
}

void Main::SettleStackedItems(std::vector<ItemRecord>& items, int32_t count, const std::vector<int32_t>& list,
                              int32_t listCount)
{
    listCount = std::min<int32_t>(listCount, int32_t(list.size()));
    for (int32_t n = 0; n < listCount; ++n) {
        const int32_t k = list[size_t(n)];
        // An index left from another scene is passed over.
        if (k < 0 || k >= count || k >= int32_t(items.size())) continue;
        if (items[size_t(k)].Flags & kItemSection) continue;
        FileMod::SettleItemElevation(items, count, k, G.SceneShapes, G.SceneShapeCount);
    }
}

// ---- zoom and pan ----

void Main::ZoomBy(float delta, float divisor, bool& atLimit)
{
    float* scale = CurrentScale();
    atLimit = true;
    if (!scale || divisor == 0) return;
    const float s = *scale;
    const float next = s / divisor + s + delta;
    if (!(0.00001f < next && next < 0.1f)) return;
    *scale = next;
    atLimit = false;
    if (G.ViewMode < 3) DrawMod::RedrawView();
}

void Main::mnu_zoomIn_Click()
{
    const float t = std::max(1.0f, G.LastRenderTime);
    bool atLimit = false;
    if (t <= 40) {
        for (float counter = 0; counter < 40 && !atLimit; counter += t) {
            ZoomBy(0, 100 / t, atLimit);
            dorv::DoEvents();
        }
    } else {
        ZoomBy(0, 2.5f, atLimit);
    }
    if (G.ViewMode == 0 || G.ViewMode == 2) {
        UpdateItemListScrollRange();
        Picture5->Refresh();
    }
}

void Main::mnu_zoomOut_Click()
{
    const float t = std::max(1.0f, G.LastRenderTime);
    bool atLimit = false;
    if (t <= 40) {
        for (float counter = 0; counter < 40 && !atLimit; counter += t) {
            ZoomBy(0, -(100 / t), atLimit);
            dorv::DoEvents();
        }
    } else {
        ZoomBy(0, -2.5f, atLimit);
    }
    if (G.ViewMode == 0 || G.ViewMode == 2) {
        UpdateItemListScrollRange();
        Picture5->Refresh();
    }
}

void Main::mnu_zoom_Click()
{
    ZoomMode = true;
    Picture2->SetMouseIcon(ImageList3.Image(3));
    Picture2->SetMousePointer(dorv::vbCustom);
}

void Main::ResetZoom()
{
    float* scale = CurrentScale();
    if (!scale) return;
    // An environment without place information has scale 1.
    const float k = G.PlanInfo.scale1 > 0 ? G.PlanInfo.scale1 : 1.0f;
    *scale = 1 / ((k / 50) * 512);
    if (G.ViewMode == 0) {
        G.PlanPanX = G.PlanPanY = 0;
    } else if (G.ViewMode == 1) {
        G.IsoPanX = 0;
        G.IsoPanY = -80;
    }
    ShowPansOnBars();
    DrawMod::RedrawView();
    if (G.ViewMode == 0 || G.ViewMode == 2) {
        UpdateItemListScrollRange();
        Picture5->Refresh();
    }
}

void Main::ShowPansOnBars()
{
    if (G.ViewMode != 0 && G.ViewMode != 1) return;
    const float panX = G.ViewMode == 1 ? G.IsoPanX : G.PlanPanX;
    const float panY = G.ViewMode == 1 ? G.IsoPanY : G.PlanPanY;
    auto barValue = [](float pan) { return int16_t(std::clamp(RoundHalfEven(pan), -32768, 32767)); };
    ScrollByCode = true;
    HScroll2->SetValue(barValue(-panX));
    VScroll2->SetValue(barValue(panY));
    ScrollByCode = false;
}

void Main::HScroll2_Change()
{
    if (ScrollByCode) return;
    if (G.ViewMode == 0)
        G.PlanPanX = -HScroll2->Value();
    else if (G.ViewMode == 1)
        G.IsoPanX = -HScroll2->Value();
    else
        return;
    DrawMod::RedrawView();
}

void Main::VScroll2_Change()
{
    if (ScrollByCode) return;
    if (G.ViewMode == 0)
        G.PlanPanY = VScroll2->Value();
    else if (G.ViewMode == 1)
        G.IsoPanY = VScroll2->Value();
    else
        return;
    DrawMod::RedrawView();
}
