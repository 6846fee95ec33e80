// The main window's editing commands: making and deleting placed items, the
// undo history, the one-item clip buffer, turning an item, and the enabling
// of the commands that act on one item.
#include "app/Main.h"

#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/UnitsMoney.h"
#include "views/Metafile.h"
#include "views/ViewRender.h"

#include <algorithm>

namespace {

// The distance a paste steps from the last copy, along X and back along Y
// (about 7 cm).
constexpr float kPasteStep = 2560;

bool InsideItems(int32_t index) { return index >= 0 && index < G.PlacedItemCount; }

// Room for `count` items plus the two spare records the arrays keep.
void EnsureItemRoom(std::vector<ItemRecord>& items, int32_t count)
{
    if (int32_t(items.size()) < count + 2) items.resize(size_t(count) + 2);
}

// Sets the money spent and the budget window's two texts.
void ShowSpent(double total, const QString& sign, float lastItem)
{
    G.SpentTotal = total;
    Windows().SetBudgetSpentTexts(CommonMod::FormatTotal(G.SpentTotal, 1),
                                  sign + CommonMod::FormatMoney(lastItem, 1));
}

// Where each item goes when `lifted` (distinct indexes inside the items)
// moves, in its order, to the end of the array.
std::vector<int32_t> LiftPlaces(const std::vector<int32_t>& lifted)
{
    const int32_t n = G.PlacedItemCount;
    std::vector<int32_t> place(size_t(n), -1);
    const int32_t first = n - int32_t(lifted.size());
    for (size_t k = 0; k < lifted.size(); ++k) place[size_t(lifted[k])] = first + int32_t(k);
    int32_t next = 0;
    for (int32_t i = 0; i < n; ++i)
        if (place[size_t(i)] < 0) place[size_t(i)] = next++;
    return place;
}

bool FitsItems(const std::vector<int32_t>& lifted)
{
    std::vector<bool> seen(size_t(std::max(G.PlacedItemCount, 0)), false);
    for (int32_t i : lifted) {
        if (!InsideItems(i) || seen[size_t(i)]) return false;
        seen[size_t(i)] = true;
    }
    return !lifted.empty();
}

// The scene drawn again after its items changed. The 3D view and the wall
// view's room picture draw the items in their back-to-front order, a copy
// that is made again first.
void RedrawChangedItems()
{
    if (G.ViewMode == 1 || G.ViewMode == 2)
        FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                      G.ViewListCount);
    DrawMod::RedrawView();
}

// Exchanges the listed items' elevations with the recorded ones.
void ExchangeElevations(std::vector<std::pair<int32_t, float>>& elevations)
{
    for (auto& [index, elevation] : elevations)
        if (InsideItems(index)) std::swap(G.PlacedItems[size_t(index)].Elevation, elevation);
}

}  // namespace

void Main::FollowItems(const std::function<int32_t(int32_t)>& newIndex)
{
    for (int32_t* ref : {&G.SelectedItem, &G.HitItem, &G.DragItem, &G.WallDragItem})
        if (*ref >= 0) *ref = newIndex(*ref);
    int32_t kept = 0;
    for (int32_t k = 0; k < std::min<int32_t>(StackedItemCount, int32_t(StackedItems.size())); ++k) {
        const int32_t j = StackedItems[size_t(k)] >= 0 ? newIndex(StackedItems[size_t(k)]) : -1;
        if (j >= 0) StackedItems[size_t(kept++)] = j;
    }
    StackedItemCount = kept;
}

void Main::InsertItemAt(int32_t index, const ItemRecord& item)
{
    std::vector<ItemRecord>& items = G.PlacedItems;
    index = std::clamp(index, 0, G.PlacedItemCount);
    EnsureItemRoom(items, G.PlacedItemCount);
    for (int32_t j = G.PlacedItemCount; j > index; --j) items[size_t(j)] = items[size_t(j - 1)];
    items[size_t(index)] = item;
    ++G.PlacedItemCount;
    FollowItems([index](int32_t i) { return i >= index ? i + 1 : i; });
}

void Main::RemoveItemAt(int32_t index)
{
    if (!InsideItems(index)) return;
    std::vector<ItemRecord>& items = G.PlacedItems;
    for (int32_t j = index; j < G.PlacedItemCount - 1; ++j) items[size_t(j)] = items[size_t(j + 1)];
    --G.PlacedItemCount;
    FollowItems([index](int32_t i) { return i == index ? -1 : i > index ? i - 1 : i; });
}

bool Main::LiftToEnd(const std::vector<int32_t>& lifted)
{
    if (!FitsItems(lifted)) return false;
    const std::vector<int32_t> place = LiftPlaces(lifted);
    const std::vector<ItemRecord> old(G.PlacedItems.begin(), G.PlacedItems.begin() + G.PlacedItemCount);
    for (size_t i = 0; i < old.size(); ++i) G.PlacedItems[size_t(place[i])] = old[i];
    FollowItems([&place](int32_t i) { return i < int32_t(place.size()) ? place[size_t(i)] : i; });
    return true;
}

bool Main::PutBackLifted(const std::vector<int32_t>& lifted)
{
    if (!FitsItems(lifted)) return false;
    const std::vector<int32_t> place = LiftPlaces(lifted);
    std::vector<int32_t> from(place.size());
    for (size_t i = 0; i < place.size(); ++i) from[size_t(place[i])] = int32_t(i);
    const std::vector<ItemRecord> old(G.PlacedItems.begin(), G.PlacedItems.begin() + G.PlacedItemCount);
    for (size_t i = 0; i < old.size(); ++i) G.PlacedItems[size_t(from[i])] = old[i];
    FollowItems([&from](int32_t i) { return i < int32_t(from.size()) ? from[size_t(i)] : i; });
    return true;
}

int32_t Main::AddItemFromTemplate(ShapeStream& shapes, int32_t& shapeCount, const ShapeStream& source,
                                  const ItemRecord& tmpl, std::vector<ItemRecord>& items, int32_t& itemCount,
                                  float x, float y, int16_t viewIndex, const RoomRecord& room, float scale)
{
    if (G.PaletteCount == 0) return -1;
    // The template's run must lie whole in its table: a picture is never
    // copied from outside it.
    const int64_t n = int64_t(tmpl.ShapeEnd) - tmpl.ShapeStart;
    if (tmpl.ShapeStart < 0 || n < 0 || int64_t(tmpl.ShapeEnd) > int64_t(source.size())) return -1;
    if (scale == 0 || shapeCount < 0 || itemCount < 0) return -1;

    const int32_t start = shapeCount;
    if (int64_t(start) + n >= INT32_MAX) return -1;
    if (int64_t(shapes.size()) < start + n + 1) shapes.resize(size_t(start + n + 1));
    shapeCount = int32_t(start + n);

    EnsureItemRoom(items, itemCount);
    int32_t k = itemCount;
    if (tmpl.Flags & kItemInFront) {
        k = std::clamp(room.FirstRealItem, 0, itemCount);
        for (int32_t j = itemCount; j > k; --j) items[size_t(j)] = items[size_t(j - 1)];
    }
    ItemRecord& item = items[size_t(k)];
    item = tmpl;
    item.X = x / scale;
    item.Y = y / scale;
    item.ShapeStart = start;
    item.ViewIndex = int16_t(viewIndex % std::max<int16_t>(1, tmpl.ViewCount));
    std::copy(source.begin() + tmpl.ShapeStart, source.begin() + tmpl.ShapeEnd, shapes.begin() + start);
    item.ShapeEnd = int32_t(start + n);

    PushUndoRecord(kUndoAdd, items, k);

    if (Windows().UsePricesTicked()) {
        ShowSpent(CommonMod::AddMoney(G.SpentTotal, tmpl.Price), QStringLiteral("- "), tmpl.Price);
    } else {
        item.Price = 0;
        // The undo record keeps the item as it stands.
        UndoRecords[size_t(UndoPos - 1)].Item.Price = 0;
    }
    ++itemCount;
    FollowItems([k](int32_t i) { return i >= k ? i + 1 : i; });
    G.CleanFlag = false;
    return k;
}

void Main::DeleteItem(std::vector<ItemRecord>& items, int32_t index)
{
    if (G.PlacedItemCount < 1 || index < 0 || index >= G.PlacedItemCount) return;
    const float price = items[size_t(index)].Price;
    ShowSpent(CommonMod::AddMoney(G.SpentTotal, price, -1), QStringLiteral("+ "), price);
    RemoveItemAt(index);
}

void Main::PushUndoRecord(int16_t action, const std::vector<ItemRecord>& items, int32_t index)
{
    if (index < 0 || index >= int32_t(items.size())) return;
    // The steps Redo could still replay go: a drag or a drop no longer has
    // its step among them.
    for (int32_t* step : {&PressRecord, &DropRecord})
        if (*step >= UndoPos) *step = -1;
    UndoRecords.resize(size_t(UndoPos) + 2);
    UndoRecord& r = UndoRecords[size_t(UndoPos)];
    r = UndoRecord();
    r.Action = action;
    r.ItemIndex = index;
    r.Item = items[size_t(index)];
    r.Spent = G.SpentTotal;
    ++UndoPos;
    UndoTop = UndoPos;
}

void Main::RecordSettling(const std::vector<float>& before, int32_t dragged)
{
    std::vector<std::pair<int32_t, float>> changed;
    for (int32_t j = 0; j < std::min<int32_t>(G.PlacedItemCount, int32_t(before.size())); ++j)
        if (j != dragged && G.PlacedItems[size_t(j)].Elevation != before[size_t(j)])
            changed.emplace_back(j, before[size_t(j)]);
    if (changed.empty()) return;
    // Nothing recorded since the press, and its step not undone: the
    // settling belongs to the move step.
    if (PressRecord >= 0 && PressRecord == UndoPos - 1 && UndoPos == UndoTop &&
        UndoRecords[size_t(PressRecord)].Action == kUndoMove &&
        UndoRecords[size_t(PressRecord)].ItemIndex == dragged) {
        UndoRecords[size_t(PressRecord)].Elevations = std::move(changed);
        return;
    }
    PushUndoRecord(kUndoSettle, G.PlacedItems, dragged);
    UndoRecords[size_t(UndoPos - 1)].Elevations = std::move(changed);
}

void Main::DiscardAdd(int32_t record)
{
    if (record < 0 || record >= UndoTop || UndoRecords[size_t(record)].Action != kUndoAdd) return;
    const UndoRecord add = UndoRecords[size_t(record)];
    // The steps recorded during the drag (a paste, a delete or a turn of
    // another item) were told with the item in the scene: they are told
    // again without it. `at` is where the item stands after each of them,
    // `live` where it stands now (-1: not in the scene).
    int32_t at = add.ItemIndex;
    int32_t live = UndoPos > record ? at : -1;
    int32_t pos = std::min(UndoPos, record);
    std::vector<UndoRecord> kept(UndoRecords.begin(), UndoRecords.begin() + record);
    for (int32_t k = record + 1; k < UndoTop; ++k) {
        UndoRecord r = UndoRecords[size_t(k)];
        const bool onAnother = r.Action == kUndoAdd ||
                               ((r.Action == kUndoDelete || r.Action == kUndoRotate) && r.ItemIndex != at);
        // A step on the item itself, or one that reorders the items,
        // cannot be told without it: the history ends before it.
        if (!onAnother) break;
        if (r.Action == kUndoAdd && r.ItemIndex <= at)
            ++at;
        else if (r.Action == kUndoDelete && r.ItemIndex < at)
            --at;
        else if (r.ItemIndex > at)
            --r.ItemIndex;
        r.Spent = CommonMod::AddMoney(r.Spent, add.Item.Price, -1);
        kept.push_back(std::move(r));
        if (k < UndoPos) {
            ++pos;
            live = at;
        }
    }
    if (live >= 0) {
        // With nothing recorded after it, the money is exactly what it was.
        const double spent =
            UndoTop == record + 1 ? add.Spent : CommonMod::AddMoney(G.SpentTotal, add.Item.Price, -1);
        ShowSpent(spent, QStringLiteral("+ "), add.Item.Price);
        RemoveItemAt(live);
    }
    UndoTop = int32_t(kept.size());
    UndoPos = std::min(pos, UndoTop);
    kept.resize(size_t(UndoTop) + 1);
    UndoRecords = std::move(kept);
    for (int32_t* step : {&PressRecord, &DropRecord})
        if (*step >= record) *step = -1;
}

void Main::ClearUndoList()
{
    UndoRecords.assign(1, UndoRecord());
    UndoPos = UndoTop = 0;
    PressRecord = DropRecord = -1;
}

void Main::mnu_undo_Click()
{
    if (UndoPos < 1) return;
    --UndoPos;
    UndoRecord& r = UndoRecords[size_t(UndoPos)];
    const int32_t i = r.ItemIndex;
    // A step gives back what it changed, and only that. A step whose item
    // is no longer there (the scene changed in a way the history does not
    // know) changes nothing rather than another item.
    switch (r.Action) {
    case kUndoAdd: {
        if (!InsideItems(i)) return;
        r.Item = G.PlacedItems[size_t(i)];
        RemoveItemAt(i);
        const double spent = r.Spent;
        r.Spent = G.SpentTotal;
        ShowSpent(spent, QStringLiteral("+ "), r.Item.Price);
        break;
    }
    case kUndoDelete: {
        r.ItemIndex = std::clamp(i, 0, G.PlacedItemCount);
        InsertItemAt(r.ItemIndex, r.Item);
        const double spent = r.Spent;
        r.Spent = G.SpentTotal;
        ShowSpent(spent, QStringLiteral("- "), r.Item.Price);
        break;
    }
    case kUndoRotate:
    case kUndoMove:
        if (!InsideItems(i)) return;
        ExchangeElevations(r.Elevations);
        std::swap(G.PlacedItems[size_t(i)], r.Item);
        if (!r.Lifted.empty()) PutBackLifted(r.Lifted);
        break;
    case kUndoSettle:
        ExchangeElevations(r.Elevations);
        break;
    default:
        return;
    }
    G.CleanFlag = false;
    RedrawChangedItems();
}

void Main::mnu_redo_Click()
{
    if (UndoPos >= UndoTop) return;
    UndoRecord& r = UndoRecords[size_t(UndoPos)];
    const int32_t i = r.ItemIndex;
    ++UndoPos;
    switch (r.Action) {
    case kUndoAdd: {
        r.ItemIndex = std::clamp(i, 0, G.PlacedItemCount);
        InsertItemAt(r.ItemIndex, r.Item);
        const double spent = r.Spent;
        r.Spent = G.SpentTotal;
        ShowSpent(spent, QStringLiteral("- "), r.Item.Price);
        break;
    }
    case kUndoDelete: {
        if (!InsideItems(i)) return;
        r.Item = G.PlacedItems[size_t(i)];
        RemoveItemAt(i);
        const double spent = r.Spent;
        r.Spent = G.SpentTotal;
        ShowSpent(spent, QStringLiteral("+ "), r.Item.Price);
        break;
    }
    case kUndoRotate:
    case kUndoMove:
        if (!r.Lifted.empty()) LiftToEnd(r.Lifted);
        if (!InsideItems(i)) return;
        std::swap(G.PlacedItems[size_t(i)], r.Item);
        ExchangeElevations(r.Elevations);
        break;
    case kUndoSettle:
        ExchangeElevations(r.Elevations);
        break;
    default:
        return;
    }
    G.CleanFlag = false;
    RedrawChangedItems();
}

void Main::CopyItemToBuffer(const ItemRecord& item)
{
    // Only a run that lies in the scene's table is copied.
    const int32_t n = item.ShapeEnd - item.ShapeStart;
    if (item.ShapeStart < 0 || n < 0 || item.ShapeEnd > G.SceneShapeCount ||
        item.ShapeEnd > int32_t(G.SceneShapes.size()))
        return;
    G.ClipPartCount = n;
    G.ClipParts.assign(size_t(n) + 1, 0);
    G.ClipItem = item;
    G.ClipItem.ShapeStart = 0;
    std::copy(G.SceneShapes.begin() + item.ShapeStart, G.SceneShapes.begin() + item.ShapeEnd, G.ClipParts.begin());
    G.ClipItem.ShapeEnd = n;
}

void Main::PasteItemFromBuffer()
{
    if (G.ClipPartCount < 1) return;
    const int32_t k = AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.ClipParts, G.ClipItem, G.PlacedItems,
                                          G.PlacedItemCount, (G.ClipItem.X + kPasteStep) * G.PlanScale,
                                          (G.ClipItem.Y - kPasteStep) * G.PlanScale, G.ClipItem.ViewIndex, G.Room,
                                          G.PlanScale);
    if (k < 0) return;
    G.SelectedItem = k;
    ItemRecord& item = G.PlacedItems[size_t(k)];
    ClampItemToFloor(item, G.Room, G.PlanScale);
    G.ClipItem.X = item.X;
    G.ClipItem.Y = item.Y;
    G.ClipItem.Elevation = item.Elevation;
    // The new copy is the selected item: the redraw frames it, and only it.
    DrawMod::RedrawView();
}

void Main::mnu_paste_Click() { PasteItemFromBuffer(); }

void Main::mnu_copy_Click()
{
    if (!InsideItems(G.SelectedItem)) return;
    // Other programs get a picture of the item.
    Metafile::CopyViewToClipboard(true, G.SelectedItem);
    CopyItemToBuffer(G.PlacedItems[size_t(G.SelectedItem)]);
}

void Main::mnu_cut_Click()
{
    if (!InsideItems(G.SelectedItem)) return;
    // Other programs get a picture of the item.
    Metafile::CopyViewToClipboard(true, G.SelectedItem);
    CopyItemToBuffer(G.PlacedItems[size_t(G.SelectedItem)]);
    mnu_delete_Click();
}

void Main::mnu_delete_Click()
{
    if (!InsideItems(G.SelectedItem)) return;
    PushUndoRecord(kUndoDelete, G.PlacedItems, G.SelectedItem);
    DeleteItem(G.PlacedItems, G.SelectedItem);
    G.SelectedItem = -1;
    G.CleanFlag = false;
    RedrawChangedItems();
}

void Main::mnu_rotateItem_Click()
{
    if (!InsideItems(G.HitItem)) return;
    PushUndoRecord(kUndoRotate, G.PlacedItems, G.HitItem);
    ItemRecord& item = G.PlacedItems[size_t(G.HitItem)];
    item.ViewIndex = int16_t((item.ViewIndex + 1) % std::max<int16_t>(1, item.ViewCount));
    ClampItemToFloor(item, G.Room, G.PlanScale);
    G.CleanFlag = false;
    DrawMod::RedrawView();
}
