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

// Puts `item` back at `index` of G.PlacedItems, the later items moving up
// one place; an index past the end puts it at the end.
int32_t ReinsertItem(int32_t index, const ItemRecord& item)
{
    std::vector<ItemRecord>& items = G.PlacedItems;
    index = std::clamp(index, 0, G.PlacedItemCount);
    EnsureItemRoom(items, G.PlacedItemCount);
    for (int32_t j = G.PlacedItemCount; j > index; --j) items[size_t(j)] = items[size_t(j - 1)];
    items[size_t(index)] = item;
    ++G.PlacedItemCount;
    return index;
}

// Moves item `from` of G.PlacedItems to `to`, the items between closing up.
void MoveItem(int32_t from, int32_t to)
{
    if (!InsideItems(from) || !InsideItems(to) || from == to) return;
    std::vector<ItemRecord>& items = G.PlacedItems;
    const ItemRecord lifted = items[size_t(from)];
    if (from < to)
        for (int32_t j = from; j < to; ++j) items[size_t(j)] = items[size_t(j + 1)];
    else
        for (int32_t j = from; j > to; --j) items[size_t(j)] = items[size_t(j - 1)];
    items[size_t(to)] = lifted;
}

// The price of an item that comes back (Undo of a delete, Redo of an add)
// counts again, as it did when the item was first added: an item added
// without prices has price 0.
void CountPriceAgain(float price)
{
    G.SpentTotal += price;
    Windows().SetBudgetSpentTexts(CommonMod::FormatMoney(G.SpentTotal, 1),
                                  QStringLiteral("- ") + CommonMod::FormatMoney(price, 1));
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

// The selection and the last hit item keep naming their own items when
// another item leaves the array or comes back into it; an item that leaves
// is neither selected nor hit any more.
void FollowRemoval(int32_t index)
{
    for (int32_t* ref : {&G.SelectedItem, &G.HitItem}) {
        if (*ref == index)
            *ref = -1;
        else if (*ref > index)
            --*ref;
    }
}

void FollowInsertion(int32_t index)
{
    for (int32_t* ref : {&G.SelectedItem, &G.HitItem})
        if (*ref >= index) ++*ref;
}

// After Undo or Redo has put item `index` back where it stood (its state
// before that step in `other`), the items that stand or stood on it come to
// rest again on whatever now lies under them: a table carried away and
// brought back by Undo holds its lamp again.
void ResettleAround(int32_t index, const ItemRecord& other)
{
    if (!InsideItems(index)) return;
    const FileMod::PlanBox a = FileMod::ItemPlanBox(G.PlacedItems[size_t(index)], G.SceneShapes, G.SceneShapeCount);
    const FileMod::PlanBox b = FileMod::ItemPlanBox(other, G.SceneShapes, G.SceneShapeCount);
    for (int32_t j = 0; j < G.PlacedItemCount; ++j) {
        const ItemRecord& item = G.PlacedItems[size_t(j)];
        if (j == index || (item.Flags & (kItemSection | kItemOnWall))) continue;
        const FileMod::PlanBox c = FileMod::ItemPlanBox(item, G.SceneShapes, G.SceneShapeCount);
        if (FileMod::RectanglesOverlap(a.left, a.bottom, a.right, a.top, c.left, c.bottom, c.right, c.top) ||
            FileMod::RectanglesOverlap(b.left, b.bottom, b.right, b.top, c.left, c.bottom, c.right, c.top))
            FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, j, G.SceneShapes, G.SceneShapeCount);
    }
}

}  // namespace

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
        G.SpentTotal += tmpl.Price;
        Windows().SetBudgetSpentTexts(CommonMod::FormatMoney(G.SpentTotal, 1),
                                      QStringLiteral("- ") + CommonMod::FormatMoney(tmpl.Price, 1));
    } else {
        item.Price = 0;
        // The undo record keeps the item as it stands.
        UndoRecords[size_t(UndoPos - 1)].Item.Price = 0;
    }
    ++itemCount;
    G.CleanFlag = false;
    return k;
}

void Main::DeleteItem(std::vector<ItemRecord>& items, int32_t index)
{
    if (G.PlacedItemCount < 1 || index < 0 || index >= G.PlacedItemCount) return;
    const float price = items[size_t(index)].Price;
    G.SpentTotal -= price;
    Windows().SetBudgetSpentTexts(CommonMod::FormatMoney(G.SpentTotal, 1),
                                  QStringLiteral("+ ") + CommonMod::FormatMoney(price, 1));
    for (int32_t j = index; j < G.PlacedItemCount - 1; ++j) items[size_t(j)] = items[size_t(j + 1)];
    --G.PlacedItemCount;
}

void Main::PushUndoRecord(int16_t action, const std::vector<ItemRecord>& items, int32_t index, int32_t fromIndex)
{
    if (index < 0 || index >= int32_t(items.size())) return;
    UndoRecords.resize(size_t(UndoPos) + 2);
    UndoRecord& r = UndoRecords[size_t(UndoPos)];
    r.Action = action;
    r.ItemIndex = index;
    r.Item = items[size_t(index)];
    r.FromIndex = fromIndex;
    ++UndoPos;
    UndoTop = UndoPos;
}

void Main::DiscardLastAdd()
{
    if (UndoPos < 1) return;
    const UndoRecord& r = UndoRecords[size_t(UndoPos - 1)];
    if (r.Action != kUndoAdd) return;
    DeleteItem(G.PlacedItems, r.ItemIndex);
    --UndoPos;
    UndoTop = UndoPos;
    UndoRecords.resize(size_t(UndoPos) + 1);
}

void Main::ClearUndoList()
{
    UndoRecords.assign(1, UndoRecord());
    UndoPos = UndoTop = 0;
}

void Main::mnu_undo_Click()
{
    if (UndoPos < 1) return;
    --UndoPos;
    UndoRecord& r = UndoRecords[size_t(UndoPos)];
    const int32_t i = r.ItemIndex;
    // A step whose item is no longer there (the scene changed in a way the
    // history does not know) changes nothing rather than another item.
    switch (r.Action) {
    case kUndoAdd:
        if (!InsideItems(i)) return;
        r.Item = G.PlacedItems[size_t(i)];
        DeleteItem(G.PlacedItems, i);
        FollowRemoval(i);
        break;
    case kUndoDelete:
        r.ItemIndex = ReinsertItem(i, r.Item);
        FollowInsertion(r.ItemIndex);
        CountPriceAgain(r.Item.Price);
        break;
    case kUndoRotate:
    case kUndoMove:
        if (!InsideItems(i)) return;
        std::swap(G.PlacedItems[size_t(i)], r.Item);
        if (r.Action == kUndoMove && InsideItems(r.FromIndex)) {
            MoveItem(i, r.FromIndex);
            ResettleAround(r.FromIndex, r.Item);
        } else {
            ResettleAround(i, r.Item);
        }
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
    case kUndoAdd:
        r.ItemIndex = ReinsertItem(i, r.Item);
        FollowInsertion(r.ItemIndex);
        CountPriceAgain(r.Item.Price);
        break;
    case kUndoDelete:
        if (!InsideItems(i)) return;
        r.Item = G.PlacedItems[size_t(i)];
        DeleteItem(G.PlacedItems, i);
        FollowRemoval(i);
        break;
    case kUndoRotate:
    case kUndoMove:
        if (r.Action == kUndoMove) MoveItem(r.FromIndex, i);
        if (!InsideItems(i)) return;
        std::swap(G.PlacedItems[size_t(i)], r.Item);
        ResettleAround(i, r.Item);
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
    FollowRemoval(G.SelectedItem);
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
