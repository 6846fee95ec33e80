// Editing the scene: adding items from the catalogue and the clip buffer,
// deleting, the undo history with Undo and Redo, copy, cut and paste,
// turning an item, and the canvas's mouse and keys in the plan, 3D and
// wall views.
#include "app/Main.h"
#include "platform/Forms.h"
#include "platform/Rounding.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"

#include "support/RecordingWindows.h"
#include "support/SampleItems.h"

#include <gtest/gtest.h>

namespace {

constexpr float kScale = 1.0f / 512;  // pixels per unit
constexpr int32_t kUnitsPerMetre = 36288;

// The budget window and the "Use Prices" box as the editing code sees them.
class BudgetWindows : public RecordingWindows {
public:
    bool UsePricesTicked() override { return usePrices; }
    void SetBudgetSpentTexts(const QString& spent, const QString& lastItem) override
    {
        spentText = spent;
        lastItemText = lastItem;
    }
    bool usePrices = true;
    QString spentText, lastItemText;
};

class Editing : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = SceneState();
        main = std::make_unique<Main>();
        // The window's own port stands aside for the recording one.
        SetWindows(&windows);
        // A room 4 m by 3 m, 2.5 m high: a floor and four walls.
        CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 4, 3, 2.5f, 0x808080, 0xFFFFFF);
        G.PlanScale = G.IsoScale = G.WallScale = kScale;
        // The catalogue: a table (others stand on it), a lamp, a rug drawn
        // before everything else, a one-view stool.
        catalogue(TestItems::BoxItem(G.CatalogueShapes, G.CatalogueShapeCount, QStringLiteral("table"), 36288,
                                     18144, 27000, 0x8040C0),
                  12.5f);
        catalogue(TestItems::BoxItem(G.CatalogueShapes, G.CatalogueShapeCount, QStringLiteral("lamp"), 7000, 7000,
                                     9000, 0x00C0FF),
                  3);
        catalogue(TestItems::BoxItem(G.CatalogueShapes, G.CatalogueShapeCount, QStringLiteral("rug"), 30000,
                                     20000, 100, 0x3030A0, 4, kItemInFront),
                  40);
        catalogue(TestItems::BoxItem(G.CatalogueShapes, G.CatalogueShapeCount, QStringLiteral("stool"), 9000,
                                     9000, 12000, 0x208020, 1),
                  7);
        G.CleanFlag = true;
    }
    void TearDown() override
    {
        main.reset();
        dorv::Form::DestroyAll();
        G = SceneState();
    }
    void catalogue(ItemRecord item, float price)
    {
        item.Price = price;
        G.Palette.resize(size_t(G.PaletteCount) + 1);
        G.Palette[size_t(G.PaletteCount++)] = item;
    }
    // Adds catalogue entry `entry` at (x, y) in plan units.
    int32_t add(int entry, float x = 0, float y = 0, int16_t view = 0)
    {
        return main->AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes,
                                         G.Palette[size_t(entry)], G.PlacedItems, G.PlacedItemCount, x * kScale,
                                         y * kScale, view, G.Room, kScale);
    }
    QString name(int32_t index) const { return G.PlacedItems[size_t(index)].Name.str().trimmed(); }
    // The names of the real items in array order.
    QStringList names() const
    {
        QStringList out;
        for (int32_t i = G.Room.FirstRealItem; i < G.PlacedItemCount; ++i) out << name(i);
        return out;
    }
    BudgetWindows windows;
    std::unique_ptr<Main> main;
};

TEST_F(Editing, AnAddedItemTakesACopyOfItsPictureItsPlaceAndItsPrice)
{
    const int32_t first = G.Room.FirstRealItem;
    ASSERT_EQ(first, G.PlacedItemCount);
    const int32_t shapesBefore = G.SceneShapeCount;
    const ItemRecord& table = G.Palette[0];

    const int32_t k = add(0, 5120, -2048, 5);
    ASSERT_EQ(k, first);
    EXPECT_EQ(G.PlacedItemCount, first + 1);
    const ItemRecord& placed = G.PlacedItems[size_t(k)];
    EXPECT_FLOAT_EQ(placed.X, 5120);
    EXPECT_FLOAT_EQ(placed.Y, -2048);
    EXPECT_EQ(placed.ViewIndex, 1);  // view 5 of a four-view item
    EXPECT_EQ(placed.ShapeStart, shapesBefore);
    EXPECT_EQ(placed.ShapeEnd - placed.ShapeStart, table.ShapeEnd - table.ShapeStart);
    EXPECT_EQ(G.SceneShapeCount, placed.ShapeEnd);
    for (int32_t j = 0; j < table.ShapeEnd - table.ShapeStart; ++j)
        ASSERT_EQ(G.SceneShapes[size_t(placed.ShapeStart + j)], G.CatalogueShapes[size_t(table.ShapeStart + j)]);
    EXPECT_FALSE(G.CleanFlag);
    EXPECT_FLOAT_EQ(G.SpentTotal, 12.5f);
    EXPECT_EQ(windows.spentText, CommonMod::FormatMoney(12.5f, 1));
    EXPECT_EQ(windows.lastItemText, QStringLiteral("- ") + CommonMod::FormatMoney(12.5f, 1));
    // The array keeps two spare records beyond the last item.
    EXPECT_GE(int32_t(G.PlacedItems.size()), G.PlacedItemCount + 1);
    EXPECT_EQ(main->UndoPos, 1);
    EXPECT_EQ(main->UndoRecords[0].Action, Main::kUndoAdd);
    EXPECT_EQ(main->UndoRecords[0].ItemIndex, k);
}

TEST_F(Editing, AnItemDrawnBeforeTheOthersGoesInFrontOfEveryRealItem)
{
    add(0);
    add(1);
    const int32_t rug = add(2);
    EXPECT_EQ(rug, G.Room.FirstRealItem);
    EXPECT_EQ(names(), (QStringList{"rug", "table", "lamp"}));
    // A later one goes in front of the earlier one.
    add(2, 100, 100);
    EXPECT_EQ(names(), (QStringList{"rug", "rug", "table", "lamp"}));
    EXPECT_FLOAT_EQ(G.PlacedItems[size_t(G.Room.FirstRealItem)].X, 100);
}

TEST_F(Editing, WithoutPricesAnItemCountsForNothingAddedOrDeleted)
{
    windows.usePrices = false;
    const int32_t k = add(0);
    EXPECT_EQ(G.PlacedItems[size_t(k)].Price, 0);
    EXPECT_EQ(G.SpentTotal, 0);
    G.SelectedItem = k;
    main->mnu_delete_Click();
    EXPECT_EQ(G.SpentTotal, 0);
    EXPECT_EQ(windows.lastItemText, QStringLiteral("+ ") + CommonMod::FormatMoney(0, 1));
    // Undo brings it back still at no price.
    main->mnu_undo_Click();
    EXPECT_EQ(G.PlacedItems[size_t(k)].Price, 0);
    EXPECT_EQ(G.SpentTotal, 0);
}

TEST_F(Editing, NothingIsAddedFromAnEmptyCatalogueOrFromARunOutsideItsTable)
{
    const int32_t count = G.PlacedItemCount, shapes = G.SceneShapeCount;
    ItemRecord broken = G.Palette[0];
    broken.ShapeEnd = int32_t(G.CatalogueShapes.size()) + 10;
    EXPECT_EQ(main->AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes, broken, G.PlacedItems,
                                        G.PlacedItemCount, 0, 0, 0, G.Room, kScale),
              -1);
    broken = G.Palette[0];
    broken.ShapeStart = broken.ShapeEnd + 1;
    EXPECT_EQ(main->AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes, broken, G.PlacedItems,
                                        G.PlacedItemCount, 0, 0, 0, G.Room, kScale),
              -1);
    G.PaletteCount = 0;
    EXPECT_EQ(add(0), -1);
    EXPECT_EQ(G.PlacedItemCount, count);
    EXPECT_EQ(G.SceneShapeCount, shapes);
    EXPECT_EQ(main->UndoPos, 0);
    EXPECT_TRUE(G.CleanFlag);
    EXPECT_EQ(G.SpentTotal, 0);
}

TEST_F(Editing, UndoOfAnAddRemovesItAndRedoPutsItBackAtItsIndexCountingItsPriceAgain)
{
    add(0);
    const int32_t lamp = add(1, 3000, 3000);
    add(3);
    ASSERT_FLOAT_EQ(G.SpentTotal, 22.5f);
    main->mnu_undo_Click();  // the stool
    main->mnu_undo_Click();  // the lamp
    EXPECT_EQ(names(), (QStringList{"table"}));
    EXPECT_FLOAT_EQ(G.SpentTotal, 12.5f);
    main->mnu_redo_Click();
    EXPECT_EQ(names(), (QStringList{"table", "lamp"}));
    EXPECT_FLOAT_EQ(G.PlacedItems[size_t(lamp)].X, 3000);
    EXPECT_FLOAT_EQ(G.SpentTotal, 15.5f);
    EXPECT_EQ(windows.spentText, CommonMod::FormatMoney(15.5f, 1));
    main->mnu_redo_Click();
    EXPECT_EQ(names(), (QStringList{"table", "lamp", "stool"}));
    EXPECT_FLOAT_EQ(G.SpentTotal, 22.5f);
    // At the end of the history Redo does nothing; at its start Undo.
    main->mnu_redo_Click();
    EXPECT_EQ(names(), (QStringList{"table", "lamp", "stool"}));
    for (int i = 0; i < 5; ++i) main->mnu_undo_Click();
    EXPECT_TRUE(names().isEmpty());
    EXPECT_EQ(main->UndoPos, 0);
    EXPECT_NEAR(G.SpentTotal, 0, 1e-5);
}

TEST_F(Editing, UndoOfADeleteBringsTheItemBackWhereItWasAndMarksTheSceneModified)
{
    add(0, 100);
    add(1, 200);
    add(3, 300);
    const auto before = std::vector<ItemRecord>(G.PlacedItems.begin(), G.PlacedItems.begin() + G.PlacedItemCount);
    G.SelectedItem = G.Room.FirstRealItem + 1;  // the lamp, not the last
    G.CleanFlag = true;
    main->mnu_delete_Click();
    EXPECT_EQ(names(), (QStringList{"table", "stool"}));
    EXPECT_EQ(G.SelectedItem, -1);
    EXPECT_FALSE(G.CleanFlag);  // a deleted item is a change to save
    EXPECT_FLOAT_EQ(G.SpentTotal, 19.5f);
    EXPECT_EQ(windows.lastItemText, QStringLiteral("+ ") + CommonMod::FormatMoney(3, 1));

    G.CleanFlag = true;
    main->mnu_undo_Click();
    EXPECT_FALSE(G.CleanFlag);
    ASSERT_EQ(G.PlacedItemCount, int32_t(before.size()));
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(G.PlacedItems[i].Name.str(), before[i].Name.str()) << i;
        EXPECT_EQ(G.PlacedItems[i].X, before[i].X) << i;
    }
    EXPECT_FLOAT_EQ(G.SpentTotal, 22.5f);
    main->mnu_redo_Click();
    EXPECT_EQ(names(), (QStringList{"table", "stool"}));
    EXPECT_FLOAT_EQ(G.SpentTotal, 19.5f);
}

TEST_F(Editing, ANewStepAfterUndoEndsWhatRedoCouldReplay)
{
    add(0);
    add(1);
    main->mnu_undo_Click();
    main->mnu_undo_Click();
    add(3);
    EXPECT_EQ(main->UndoTop, main->UndoPos);
    main->mnu_redo_Click();
    EXPECT_EQ(names(), (QStringList{"stool"}));
}

TEST_F(Editing, CommandsWithNothingToActOnDoNothing)
{
    add(0);
    const int32_t pos = main->UndoPos;
    G.SelectedItem = -1;
    G.HitItem = -1;
    main->mnu_delete_Click();
    main->mnu_copy_Click();
    main->mnu_cut_Click();
    main->mnu_rotateItem_Click();
    main->mnu_paste_Click();  // nothing copied yet
    EXPECT_EQ(names(), (QStringList{"table"}));
    EXPECT_EQ(G.ClipPartCount, 0);
    EXPECT_EQ(main->UndoPos, pos);
    // An index left over from another scene acts on nothing.
    G.SelectedItem = G.HitItem = G.PlacedItemCount + 3;
    main->mnu_delete_Click();
    main->mnu_rotateItem_Click();
    EXPECT_EQ(main->UndoPos, pos);
}

TEST_F(Editing, AStepWhoseItemIsGoneChangesNoOtherItem)
{
    add(0);
    add(1);
    // Removed behind the history's back: the add step of the lamp now
    // names an index past the items.
    main->DeleteItem(G.PlacedItems, G.PlacedItemCount - 1);
    main->mnu_undo_Click();
    EXPECT_EQ(names(), (QStringList{"table"}));
    main->mnu_undo_Click();
    EXPECT_TRUE(names().isEmpty());
}

TEST_F(Editing, ADropCalledOffLeavesNoStepBehind)
{
    add(0);
    add(1);
    main->DiscardLastAdd();
    EXPECT_EQ(names(), (QStringList{"table"}));
    EXPECT_EQ(main->UndoPos, 1);
    EXPECT_EQ(main->UndoTop, 1);
    main->mnu_redo_Click();
    EXPECT_EQ(names(), (QStringList{"table"}));
    main->mnu_undo_Click();
    EXPECT_TRUE(names().isEmpty());
}

TEST_F(Editing, PastesStepAwayFromTheLastCopyAndStayOnTheFloor)
{
    const int32_t k = add(3, -20000, 10000);
    G.SelectedItem = k;
    main->mnu_copy_Click();
    ASSERT_EQ(G.ClipPartCount, G.PlacedItems[size_t(k)].ShapeEnd - G.PlacedItems[size_t(k)].ShapeStart);
    EXPECT_EQ(G.ClipItem.ShapeStart, 0);
    EXPECT_EQ(G.ClipItem.ShapeEnd, G.ClipPartCount);

    for (int i = 1; i <= 3; ++i) {
        main->mnu_paste_Click();
        const ItemRecord& copy = G.PlacedItems[size_t(G.PlacedItemCount - 1)];
        EXPECT_EQ(G.SelectedItem, G.PlacedItemCount - 1);
        EXPECT_FLOAT_EQ(copy.X, -20000 + 2560 * i);
        EXPECT_FLOAT_EQ(copy.Y, 10000 - 2560 * i);
        EXPECT_EQ(G.ClipItem.X, copy.X);
        EXPECT_EQ(G.ClipItem.Y, copy.Y);
    }
    EXPECT_EQ(names(), (QStringList{"stool", "stool", "stool", "stool"}));
    EXPECT_EQ(main->UndoPos, 4);

    // Near the east wall a paste is pushed back onto the floor: the picture
    // within the floor less one pixel on each side.
    G.ClipItem.X = 2 * kUnitsPerMetre - 3000;
    main->mnu_paste_Click();
    const ItemRecord& copy = G.PlacedItems[size_t(G.PlacedItemCount - 1)];
    const float halfFloor = dorv::RoundHalfEven(kScale * G.Room.ExtentX * 0.5f - 1);
    EXPECT_NEAR(copy.X * kScale + 9000 * kScale / 2, halfFloor, 0.5f);
    EXPECT_EQ(G.ClipItem.X, copy.X);
}

TEST_F(Editing, CutTakesTheItemIntoTheClipBufferAndPasteBringsItBack)
{
    const int32_t k = add(1, 1000, 1000);
    G.SelectedItem = k;
    main->mnu_cut_Click();
    EXPECT_TRUE(names().isEmpty());
    EXPECT_EQ(G.SelectedItem, -1);
    main->mnu_paste_Click();
    EXPECT_EQ(names(), (QStringList{"lamp"}));
    EXPECT_FLOAT_EQ(G.PlacedItems[size_t(k)].X, 1000 + 2560);
    // The pasted copy's picture is the lamp's, word for word.
    const ItemRecord& pasted = G.PlacedItems[size_t(k)];
    const ItemRecord& lamp = G.Palette[1];
    for (int32_t j = 0; j < lamp.ShapeEnd - lamp.ShapeStart; ++j)
        ASSERT_EQ(G.SceneShapes[size_t(pasted.ShapeStart + j)], G.CatalogueShapes[size_t(lamp.ShapeStart + j)]);
}

TEST_F(Editing, RotateTurnsTheItemLastHitAndUndoTurnsItBack)
{
    const int32_t table = add(0);
    const int32_t stool = add(3);
    G.HitItem = table;
    G.SelectedItem = stool;
    main->mnu_rotateItem_Click();
    EXPECT_EQ(G.PlacedItems[size_t(table)].ViewIndex, 1);
    EXPECT_EQ(G.PlacedItems[size_t(stool)].ViewIndex, 0);
    for (int i = 0; i < 3; ++i) main->mnu_rotateItem_Click();
    EXPECT_EQ(G.PlacedItems[size_t(table)].ViewIndex, 0);
    main->mnu_undo_Click();
    EXPECT_EQ(G.PlacedItems[size_t(table)].ViewIndex, 3);
    main->mnu_redo_Click();
    EXPECT_EQ(G.PlacedItems[size_t(table)].ViewIndex, 0);

    // One view: it stays at view 0, and the step is still recorded.
    G.HitItem = stool;
    const int32_t pos = main->UndoPos;
    main->mnu_rotateItem_Click();
    EXPECT_EQ(G.PlacedItems[size_t(stool)].ViewIndex, 0);
    EXPECT_EQ(main->UndoPos, pos + 1);
}

TEST_F(Editing, ATurnedItemThatWouldCrossAWallIsPushedBackOntoTheFloor)
{
    // The table turned lengthways against the north wall.
    const int32_t table = add(0, 0, -1.5f * kUnitsPerMetre + 9072 + 512);
    G.HitItem = table;
    main->mnu_rotateItem_Click();
    float w = 0, h = 0;
    DrawMod::GetItemPictureSize(G.PlacedItems[size_t(table)], kPictureFromAbove, G.SceneShapes, G.SceneShapeCount,
                                kScale, w, h);
    const float top = G.PlacedItems[size_t(table)].Y * kScale - h / 2;
    const float halfFloor = dorv::RoundHalfEven(kScale * G.Room.ExtentY * 0.5f - 1);
    EXPECT_GE(top, -halfFloor - 0.5f);
}

}  // namespace
