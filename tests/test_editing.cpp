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
#include "support/NewPlaceScript.h"
#include "support/TestDialogs.h"

#include "platform/AppInfo.h"

#include "scene/Stacking.h"
#include "views/ViewRender.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

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
    main->DiscardAdd(main->UndoPos - 1);
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
    QGuiApplication::clipboard()->clear();
    main->mnu_cut_Click();
    // Other programs can paste a picture of it.
    ASSERT_NE(QGuiApplication::clipboard()->mimeData(), nullptr);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
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

TEST_F(Editing, SelectionAndLastHitItemFollowTheirItemsThroughDeletesAndUndo)
{
    const int32_t table = add(0);
    const int32_t lamp = add(1);
    const int32_t stool = add(3);
    // The table is selected and deleted: Rotate Item turns nothing else.
    G.HitItem = G.SelectedItem = table;
    main->mnu_delete_Click();
    EXPECT_EQ(G.HitItem, -1);
    const int32_t pos = main->UndoPos;
    main->mnu_rotateItem_Click();
    EXPECT_EQ(main->UndoPos, pos);
    EXPECT_EQ(G.PlacedItems[size_t(lamp - 1)].ViewIndex, 0);

    // The stool stays the one hit while the lamp before it goes and comes
    // back.
    main->mnu_undo_Click();
    G.HitItem = stool;
    G.SelectedItem = lamp;
    main->mnu_delete_Click();
    EXPECT_EQ(G.HitItem, stool - 1);
    main->mnu_undo_Click();
    EXPECT_EQ(G.HitItem, stool);
    main->mnu_rotateItem_Click();
    EXPECT_EQ(name(G.HitItem), QStringLiteral("stool"));
    // Undo of the stool's own add: nothing is hit or selected any more.
    G.SelectedItem = stool;
    main->mnu_undo_Click();  // the turn
    main->mnu_undo_Click();  // the stool's add
    ASSERT_EQ(names(), (QStringList{"table", "lamp"}));
    EXPECT_EQ(G.SelectedItem, -1);
    EXPECT_EQ(G.HitItem, -1);
}

TEST_F(Editing, TheRoomPictureOfTheWallViewFollowsDeleteUndoAndRedo)
{
    // A window on the north wall, seen in the wall view, whose room picture
    // draws the ordered list.
    catalogue(TestItems::WallItem(G.CatalogueShapes, G.CatalogueShapeCount, QStringLiteral("window"), 18144, 18144,
                                  0xC0E0FF),
              20);
    const int32_t w = add(G.PaletteCount - 1, 0, -54432, 0);
    ASSERT_GE(w, 0);
    G.ViewMode = 2;
    FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                  G.ViewListCount);
    auto shown = [] {
        int n = 0;
        for (int32_t k = 0; k < G.ViewListCount; ++k) n += G.ViewList[size_t(k)].Name.str().trimmed() == u"window";
        return n;
    };
    ASSERT_EQ(shown(), 1);
    G.SelectedItem = w;
    main->mnu_delete_Click();
    EXPECT_EQ(shown(), 0);
    main->mnu_undo_Click();
    EXPECT_EQ(shown(), 1);
    main->mnu_redo_Click();
    EXPECT_EQ(shown(), 0);
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


// What Undo and Redo must give back: the items in their order with every
// field a step may change, and the money spent.
struct SceneShot {
    std::vector<ItemRecord> items;
    double spent = 0;
    static SceneShot Take()
    {
        return {std::vector<ItemRecord>(G.PlacedItems.begin(), G.PlacedItems.begin() + G.PlacedItemCount),
                G.SpentTotal};
    }
    // The first difference from `other`, or nothing.
    std::string Differs(const SceneShot& other) const
    {
        if (items.size() != other.items.size())
            return "count " + std::to_string(items.size()) + " / " + std::to_string(other.items.size());
        for (size_t i = 0; i < items.size(); ++i) {
            const ItemRecord &a = items[i], &b = other.items[i];
            if (a.Name.str() != b.Name.str() || a.X != b.X || a.Y != b.Y || a.Elevation != b.Elevation ||
                a.ViewIndex != b.ViewIndex || a.Price != b.Price || a.Flags != b.Flags ||
                a.ShapeStart != b.ShapeStart || a.ShapeEnd != b.ShapeEnd)
                return "item " + std::to_string(i) + " " + a.Name.str().trimmed().toStdString() + " (" +
                       std::to_string(a.X) + ", " + std::to_string(a.Y) + ", " + std::to_string(a.Elevation) +
                       ", view " + std::to_string(a.ViewIndex) + ") / " + b.Name.str().trimmed().toStdString() +
                       " (" + std::to_string(b.X) + ", " + std::to_string(b.Y) + ", " +
                       std::to_string(b.Elevation) + ", view " + std::to_string(b.ViewIndex) + ")";
        }
        if (spent != other.spent) return "money " + std::to_string(spent) + " / " + std::to_string(other.spent);
        return {};
    }
};

// ---- the canvas ----

// The canvas of a window that is not shown: its centre is set by hand, and
// the mouse reaches the handlers as the picture box passes it on.
class Canvas : public Editing {
protected:
    void SetUp() override
    {
        Editing::SetUp();
        G.CanvasCentreX = 400;
        G.CanvasCentreY = 300;
    }
    // The canvas point of plan position (ux, uy) in units.
    float sx(float ux) const { return G.CanvasCentreX + G.PlanScale * (ux + 512 * G.PlanPanX); }
    float sy(float uy) const { return G.CanvasCentreY + G.PlanScale * (uy - 512 * G.PlanPanY); }
    void press(float x, float y, int button = dorv::vbLeftButton, int shift = 0)
    {
        main->Picture2_MouseDown(button, shift, x, y);
    }
    void moveTo(float x, float y, int button = dorv::vbLeftButton) { main->Picture2_MouseMove(button, 0, x, y); }
    void release(float x, float y, int button = dorv::vbLeftButton) { main->Picture2_MouseUp(button, 0, x, y); }
    // A whole drag of the plan in canvas pixels, in a few steps.
    void drag(float x0, float y0, float x1, float y1, int shift = 0)
    {
        press(x0, y0, dorv::vbLeftButton, shift);
        for (int step = 1; step <= 4; ++step)
            moveTo(x0 + (x1 - x0) * step / 4, y0 + (y1 - y0) * step / 4);
        release(x1, y1);
    }
    const ItemRecord& item(int32_t i) const { return G.PlacedItems[size_t(i)]; }
};

TEST_F(Canvas, DraggingAnItemMovesItRecordsOneStepAndUndoPutsItBackExactly)
{
    const int32_t stool = add(3, 10000, 5000);
    const ItemRecord before = item(stool);
    G.CleanFlag = true;
    const int32_t pos = main->UndoPos;
    drag(sx(10000) + 3, sy(5000) - 2, sx(10000) + 3 + 40, sy(5000) - 2 + 20);
    EXPECT_NEAR(item(stool).X, 10000 + 40 * 512, 1);
    EXPECT_NEAR(item(stool).Y, 5000 + 20 * 512, 1);
    EXPECT_EQ(G.SelectedItem, stool);
    EXPECT_EQ(G.HitItem, stool);
    EXPECT_EQ(G.DragItem, -1);
    EXPECT_FALSE(G.CleanFlag);
    EXPECT_EQ(main->UndoPos, pos + 1);
    EXPECT_TRUE(main->mnu_copy->Enabled());
    EXPECT_TRUE(main->Picture7[5]->Enabled());

    main->mnu_undo_Click();
    EXPECT_EQ(item(stool).X, before.X);
    EXPECT_EQ(item(stool).Y, before.Y);
    EXPECT_EQ(item(stool).Elevation, before.Elevation);
    main->mnu_redo_Click();
    EXPECT_NEAR(item(stool).X, 10000 + 40 * 512, 1);
}

TEST_F(Canvas, ADraggedEdgeComesWithinSevenPixelsOfAnotherAndSnapsToIt)
{
    add(0);                        // the table: right edge at 18144
    const int32_t stool = add(3);  // 9000 wide
    // The stool's left edge 3 pixels right of the table's right edge.
    const float target = 18144 + 3 * 512 + 4500;
    G.PlacedItems[size_t(stool)].X = -40000;
    drag(sx(-40000), sy(0), sx(target), sy(0));
    EXPECT_FLOAT_EQ(item(stool).X, 18144 + 4500);

    // With Snap unchecked it stays where it was dropped.
    main->mnu_snap->Choose();
    ASSERT_FALSE(main->mnu_snap->Checked());
    G.PlacedItems[size_t(stool)].X = -40000;
    drag(sx(-40000), sy(0), sx(target), sy(0));
    EXPECT_NEAR(item(stool).X, target, 1);
}

TEST_F(Canvas, AnItemDroppedHalfOffTheFloorIsPushedBackOnRelease)
{
    const int32_t stool = add(3, 60000, 0);
    // Dragged half across the east wall (the floor ends at 72576).
    drag(sx(60000), sy(0), sx(72576), sy(0));
    float w = 0, h = 0;
    DrawMod::GetItemPictureSize(item(stool), kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, G.PlanScale, w, h);
    const int32_t right = dorv::RoundHalfEven(G.PlanScale * item(stool).X + w / 2);
    const int32_t halfFloor = dorv::RoundHalfEven(G.PlanScale * G.Room.ExtentX * 0.5f - 1);
    EXPECT_EQ(right, halfFloor);
}

TEST_F(Canvas, CtrlPressOnAnItemDragsACopyAndLeavesTheOriginal)
{
    const int32_t stool = add(3, 10000, 0);
    const int32_t pos = main->UndoPos;
    press(sx(10000), sy(0), dorv::vbLeftButton, dorv::vbCtrlMask);
    const int32_t copy = G.DragItem;
    ASSERT_EQ(copy, stool + 1);
    EXPECT_EQ(item(copy).X, item(stool).X);
    EXPECT_EQ(item(copy).Y, item(stool).Y);
    for (int i = 1; i <= 3; ++i) moveTo(sx(10000) + 20 * i, sy(0));
    release(sx(10000) + 60, sy(0));
    EXPECT_EQ(item(stool).X, 10000);
    EXPECT_NEAR(item(copy).X, 10000 + 60 * 512, 1);
    EXPECT_EQ(names(), (QStringList{"stool", "stool"}));
    // An add step and a move step.
    EXPECT_EQ(main->UndoPos, pos + 2);
    EXPECT_EQ(main->UndoRecords[size_t(pos)].Action, Main::kUndoAdd);
    EXPECT_EQ(main->UndoRecords[size_t(pos + 1)].Action, Main::kUndoMove);
    main->mnu_undo_Click();
    main->mnu_undo_Click();
    EXPECT_EQ(names(), (QStringList{"stool"}));
}

TEST_F(Canvas, APressWithoutCtrlMovesTheItemWhereverCtrlWasLastReleased)
{
    // Ctrl went down on the canvas and came up while a dialog had the
    // focus: the canvas never heard of the release.
    const int32_t stool = add(3, 10000, 0);
    int key = 17;
    main->Picture2_KeyDown(key, dorv::vbCtrlMask);
    drag(sx(10000), sy(0), sx(10000) + 40, sy(0));
    EXPECT_EQ(names(), (QStringList{"stool"}));
    EXPECT_NEAR(item(stool).X, 10000 + 40 * 512, 1);
}

TEST_F(Canvas, ATableCarriedAwayLeavesItsLampToDropToTheFloor)
{
    const int32_t table = add(0);
    const int32_t lamp = add(1, 10000, 0);
    FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, lamp, G.SceneShapes, G.SceneShapeCount);
    ASSERT_FLOAT_EQ(item(lamp).Elevation, 27000);

    // A press on the table away from the lamp, the table dragged south:
    // the lamp, still drawn after the table, drops to the floor.
    drag(sx(-10000), sy(0), sx(-10000), sy(30000));
    EXPECT_EQ(names(), (QStringList{"table", "lamp"}));
    EXPECT_FLOAT_EQ(item(lamp).Elevation, 0);
    EXPECT_FLOAT_EQ(item(table).Elevation, 0);
    EXPECT_NEAR(item(table).Y, 30000, 1);
    EXPECT_FLOAT_EQ(item(lamp).X, 10000);

    // Undo puts the table back where it stood and the lamp back on it;
    // the earlier add steps still name their own items.
    main->mnu_undo_Click();
    EXPECT_EQ(names(), (QStringList{"table", "lamp"}));
    EXPECT_FLOAT_EQ(item(table).Y, 0);
    EXPECT_FLOAT_EQ(item(lamp).Elevation, 27000);
    // Redo carries the table away again and the lamp drops once more.
    main->mnu_redo_Click();
    EXPECT_FLOAT_EQ(item(lamp).Elevation, 0);
    EXPECT_NEAR(item(table).Y, 30000, 1);
    main->mnu_undo_Click();
    main->mnu_undo_Click();
    EXPECT_EQ(names(), (QStringList{"table"}));
}

TEST_F(Canvas, ATableThatStandsOnNothingStillLeavesItsLampToDropWhenCarriedAway)
{
    // A table that does not itself rest on other items (no stacking flag),
    // as most furniture: the lamp placed on it still rests on it.
    G.Palette[0].Flags = kItemFromFile;
    const int32_t table = add(0);
    const int32_t lamp = add(1, 10000, 0);
    FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, lamp, G.SceneShapes, G.SceneShapeCount);
    ASSERT_FLOAT_EQ(item(lamp).Elevation, 27000);
    drag(sx(-10000), sy(0), sx(-10000), sy(30000));
    EXPECT_EQ(names(), (QStringList{"table", "lamp"}));
    EXPECT_FLOAT_EQ(item(lamp).Elevation, 0);
    main->mnu_undo_Click();
    EXPECT_FLOAT_EQ(item(table).Y, 0);
    EXPECT_FLOAT_EQ(item(lamp).Elevation, 27000);
    main->mnu_redo_Click();
    EXPECT_FLOAT_EQ(item(lamp).Elevation, 0);
    // Moved only a little, it keeps the lamp.
    main->mnu_undo_Click();
    drag(sx(-10000), sy(0), sx(-10000) + 5, sy(0) + 5);
    EXPECT_FLOAT_EQ(item(lamp).Elevation, 27000);
}

TEST_F(Canvas, ATablePressedWithoutMovingKeepsItsLampOnTop)
{
    add(0);
    const int32_t lamp = add(1, 10000, 0);
    FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, lamp, G.SceneShapes, G.SceneShapeCount);
    press(sx(-10000), sy(0));
    release(sx(-10000), sy(0));
    const int32_t table = G.PlacedItemCount - 2;
    ASSERT_EQ(name(table), QStringLiteral("table"));
    EXPECT_FLOAT_EQ(item(table).Elevation, 0);
    EXPECT_FLOAT_EQ(item(table + 1).Elevation, 27000);
}

TEST_F(Canvas, ALampOnATableStaysOnTopAndWithinReachThroughPressesTurnsUndoAndRedo)
{
    const int32_t table = add(0);
    const int32_t lamp = add(1, 10000, 0);
    FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, lamp, G.SceneShapes, G.SceneShapeCount);
    ASSERT_FLOAT_EQ(item(lamp).Elevation, 27000);
    auto lampIndex = [this] { return names().indexOf(QStringLiteral("lamp")) + G.Room.FirstRealItem; };
    auto tableIndex = [this] { return names().indexOf(QStringLiteral("table")) + G.Room.FirstRealItem; };

    // A click on the table away from the lamp: the lamp is still drawn
    // after it and a click on the lamp finds the lamp.
    press(sx(-10000), sy(0));
    release(sx(-10000), sy(0));
    EXPECT_EQ(G.HitItem, tableIndex());
    EXPECT_GT(lampIndex(), tableIndex());
    press(sx(10000), sy(0));
    EXPECT_EQ(G.HitItem, lampIndex());
    release(sx(10000), sy(0));
    EXPECT_FLOAT_EQ(item(lampIndex()).Elevation, 27000);

    // Undo and Redo of both presses, and of a turn of the table, leave the
    // lamp where it stands.
    main->mnu_undo_Click();
    main->mnu_undo_Click();
    EXPECT_EQ(names(), (QStringList{"table", "lamp"}));
    EXPECT_FLOAT_EQ(item(lamp).Elevation, 27000);
    main->mnu_redo_Click();
    main->mnu_redo_Click();
    EXPECT_FLOAT_EQ(item(lampIndex()).Elevation, 27000);
    G.HitItem = tableIndex();
    main->mnu_rotateItem_Click();
    EXPECT_FLOAT_EQ(item(lampIndex()).Elevation, 27000);
    main->mnu_undo_Click();
    EXPECT_FLOAT_EQ(item(lampIndex()).Elevation, 27000);
    main->mnu_redo_Click();
    EXPECT_FLOAT_EQ(item(lampIndex()).Elevation, 27000);
    EXPECT_EQ(item(tableIndex()).ViewIndex, 1);
    EXPECT_GT(lampIndex(), tableIndex());

    // Dragged a little, the table keeps its lamp on top.
    drag(sx(-10000), sy(0), sx(-10000) + 4, sy(0) + 3);
    EXPECT_GT(lampIndex(), tableIndex());
    EXPECT_FLOAT_EQ(item(lampIndex()).Elevation, 27000);
    (void)table;
}

TEST_F(Canvas, ATurnWhileATableIsCarriedAwayKeepsEveryStepUndoable)
{
    const int32_t table = add(0);
    const int32_t lamp = add(1, 10000, 0);
    FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, lamp, G.SceneShapes, G.SceneShapeCount);
    const SceneShot start = SceneShot::Take();
    const int32_t pos = main->UndoPos;
    press(sx(-10000), sy(0));
    moveTo(sx(-10000), sy(30000));
    main->mnu_rotateItem_Click();  // Ctrl+R with the button held
    release(sx(-10000), sy(30000));
    EXPECT_FLOAT_EQ(item(lamp).Elevation, 0);
    EXPECT_EQ(item(table).ViewIndex, 1);
    const SceneShot end = SceneShot::Take();
    // The lamp's drop is a step of its own after the turn.
    ASSERT_EQ(main->UndoPos, pos + 3);
    main->mnu_undo_Click();
    EXPECT_FLOAT_EQ(item(lamp).Elevation, 27000);
    main->mnu_undo_Click();
    main->mnu_undo_Click();
    EXPECT_EQ(SceneShot::Take().Differs(start), "");
    for (int i = 0; i < 3; ++i) main->mnu_redo_Click();
    EXPECT_EQ(SceneShot::Take().Differs(end), "");
}

TEST_F(Canvas, TheItemsLastPressedAndSelectedStayTheirsWhenAnItemGoesInFront)
{
    const int32_t rugAt = G.Room.FirstRealItem;
    add(2, -30000, 20000);  // a rug, in front of everything
    const int32_t lamp = add(1, 40000, 0);
    press(sx(40000), sy(0));
    release(sx(40000), sy(0));
    ASSERT_EQ(G.HitItem, lamp);
    // A palette drop of another rug makes its item in front of the others.
    add(2, -30000, -20000);
    EXPECT_EQ(name(G.HitItem), QStringLiteral("lamp"));
    EXPECT_EQ(name(G.SelectedItem), QStringLiteral("lamp"));
    // So does a paste of a rug.
    main->CopyItemToBuffer(item(rugAt));
    main->mnu_paste_Click();
    EXPECT_EQ(name(G.HitItem), QStringLiteral("lamp"));
    main->mnu_rotateItem_Click();  // Ctrl+R
    EXPECT_EQ(item(G.HitItem).ViewIndex, 1);
    EXPECT_EQ(name(G.HitItem), QStringLiteral("lamp"));

    // Ctrl on a rug: the copy goes in front of the rug pressed, which is
    // the one that turns.
    const float rugX = -30000, rugY = 20000;
    press(sx(rugX), sy(rugY), dorv::vbLeftButton, dorv::vbCtrlMask);
    release(sx(rugX), sy(rugY));
    ASSERT_EQ(names().count(QStringLiteral("rug")), 4);
    const int32_t pressed = G.HitItem;
    ASSERT_NE(pressed, G.SelectedItem);
    main->mnu_rotateItem_Click();
    EXPECT_EQ(item(pressed).ViewIndex, 1);
    EXPECT_EQ(item(G.SelectedItem).ViewIndex, 0);
    EXPECT_EQ(item(pressed).X, rugX);
}

TEST_F(Canvas, AnyRunOfEditsUndoneGivesBackTheStartAndRedoneGivesBackTheEnd)
{
    // A table with a lamp on it, a rug under a stool: the things that stack.
    // Prices that binary fractions do not hold, so that money adds up
    // inexactly.
    G.Palette[0].Price = 12.37f;
    G.Palette[1].Price = 3.1f;
    G.Palette[2].Price = 40.9f;
    const int32_t table = add(0, -20000, 0);
    const int32_t lamp = add(1, -15000, 0);
    FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, lamp, G.SceneShapes, G.SceneShapeCount);
    ASSERT_GT(item(lamp).Elevation, 0);
    (void)table;
    add(2, 30000, 10000);
    const int32_t stool = add(3, 30000, 10000);
    FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, stool, G.SceneShapes, G.SceneShapeCount);
    ASSERT_GT(item(stool).Elevation, 0);
    const std::vector<ItemRecord> scene(G.PlacedItems.begin(), G.PlacedItems.begin() + G.PlacedItemCount);
    const ShapeStream shapes(G.SceneShapes.begin(), G.SceneShapes.begin() + G.SceneShapeCount);
    const double spent = G.SpentTotal;
    const QPoint off = main->PaletteOffset();

    std::mt19937 rng(20261207);
    auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
    // A point of the floor, in canvas pixels (the floor is 283 by 212).
    auto floorX = [&] { return G.CanvasCentreX + float(pick(260) - 130); };
    auto floorY = [&] { return G.CanvasCentreY + float(pick(190) - 95); };
    auto anyItem = [&]() -> const ItemRecord& {
        return item(G.Room.FirstRealItem + pick(G.PlacedItemCount - G.Room.FirstRealItem));
    };
    auto dragFrom = [&](float x0, float y0, int shift) {
        const float x1 = floorX(), y1 = floorY();
        press(x0, y0, dorv::vbLeftButton, shift);
        for (int step = 1; step <= 3; ++step) moveTo(x0 + (x1 - x0) * step / 3, y0 + (y1 - y0) * step / 3);
        release(x1, y1);
    };

    // How often the runs met what can go wrong: each kind of step, a press
    // that brought items standing on another along, a release that
    // changed other items' elevations.
    int kinds[5] = {}, lifts = 0, settled = 0, changedRuns = 0;
    const int runs = 1000;
    for (int run = 0; run < runs; ++run) {
        std::copy(scene.begin(), scene.end(), G.PlacedItems.begin());
        G.PlacedItemCount = int32_t(scene.size());
        std::copy(shapes.begin(), shapes.end(), G.SceneShapes.begin());
        G.SceneShapeCount = int32_t(shapes.size());
        G.SpentTotal = spent;
        G.SelectedItem = G.HitItem = G.DragItem = -1;
        main->ClearUndoList();

        const SceneShot start = SceneShot::Take();
        std::vector<int> ops;
        for (int n = 3 + pick(8); n > 0; --n) {
            const int op = G.PlacedItemCount > G.Room.FirstRealItem ? pick(8) : 0;
            ops.push_back(op);
            switch (op) {
            case 0:    // a palette drop onto the floor,
            case 1: {  // or taken back over the palette
                G.PaletteSelection = pick(G.PaletteCount);
                const float x = floorX(), y = floorY();
                main->PaletteCellRect = {int32_t(x) + off.x(), int32_t(y) + off.y(), int32_t(x) + off.x(),
                                         int32_t(y) + off.y()};
                main->PaletteDragArmed = true;
                main->Picture5_MouseMove(dorv::vbLeftButton, 0, x + off.x(), y + off.y());
                const float x1 = op == 0 ? floorX() : float(off.x() - 5), y1 = floorY();
                main->Picture5_MouseMove(dorv::vbLeftButton, 0, x1 + off.x(), y1 + off.y());
                main->Picture5_MouseUp(dorv::vbLeftButton, 0, op == 0 ? x1 + off.x() : x1, y1 + off.y());
                break;
            }
            case 2:  // Copy and Paste
                main->CopyItemToBuffer(anyItem());
                main->mnu_paste_Click();
                break;
            case 3: {  // Ctrl and a drag: a copy
                const ItemRecord& it = anyItem();
                dragFrom(sx(it.X), sy(it.Y), dorv::vbCtrlMask);
                break;
            }
            case 4:
            case 5: {  // a drag
                const ItemRecord& it = anyItem();
                dragFrom(sx(it.X), sy(it.Y), 0);
                break;
            }
            case 6:  // Rotate Item
                main->mnu_rotateItem_Click();
                break;
            case 7:  // Delete
                main->mnu_delete_Click();
                break;
            }
        }
        const SceneShot end = SceneShot::Take();
        const int32_t steps = main->UndoPos;
        changedRuns += !end.Differs(start).empty();
        for (int32_t k = 0; k < steps; ++k) {
            const Main::UndoRecord& r = main->UndoRecords[size_t(k)];
            ++kinds[std::clamp<int>(r.Action, 0, 4)];
            lifts += r.Lifted.size() > 1;
            settled += !r.Elevations.empty();
        }
        std::string ran;
        for (int op : ops) ran += std::to_string(op) + " ";
        while (main->UndoPos > 0) main->mnu_undo_Click();
        const std::string back = SceneShot::Take().Differs(start);
        ASSERT_EQ(back, "") << "run " << run << ", edits " << ran << "undone";
        while (main->UndoPos < steps) main->mnu_redo_Click();
        const std::string again = SceneShot::Take().Differs(end);
        ASSERT_EQ(again, "") << "run " << run << ", edits " << ran << "redone";
    }
    EXPECT_GT(changedRuns, runs * 9 / 10);
    for (int kind = 0; kind < 4; ++kind) EXPECT_GT(kinds[kind], runs / 4) << "steps of kind " << kind;
    EXPECT_GT(lifts, runs / 20);
    EXPECT_GT(settled, runs / 20);
    std::printf("%d runs: %d adds, %d deletes, %d turns, %d moves, %d lifts, %d settlings\n", runs, kinds[0],
                kinds[1], kinds[2], kinds[3], lifts, settled);
}

TEST_F(Canvas, DeleteKeyRemovesTheSelectedItemAndAMissSelectsNothing)
{
    add(0);
    const int32_t stool = add(3, 40000, 0);
    press(sx(40000), sy(0));
    release(sx(40000), sy(0));
    ASSERT_EQ(G.SelectedItem, stool);
    int key = 46;
    main->Picture2_KeyDown(key, 0);
    EXPECT_EQ(names(), (QStringList{"table"}));
    EXPECT_EQ(G.SelectedItem, -1);
    // The same key with nothing selected does nothing.
    main->Picture2_KeyDown(key, 0);
    EXPECT_EQ(names(), (QStringList{"table"}));

    press(sx(-10000), sy(0));
    release(sx(-10000), sy(0));
    EXPECT_EQ(G.SelectedItem, G.PlacedItemCount - 1);
    press(sx(50000), sy(40000));  // empty floor
    release(sx(50000), sy(40000));
    EXPECT_EQ(G.SelectedItem, -1);
    EXPECT_EQ(G.HitItem, -1);
    EXPECT_FALSE(main->mnu_copy->Enabled());
    EXPECT_FALSE(main->mnu_delete->Enabled());
    EXPECT_FALSE(main->Picture7[4]->Enabled());
}

TEST_F(Canvas, DraggingTheEmptyPlanPansWithinTheBarsRange)
{
    press(100, 100);
    moveTo(100 + 512 * G.PlanScale * 3, 100 - 512 * G.PlanScale * 2);
    EXPECT_FLOAT_EQ(G.PlanPanX, 3);
    EXPECT_FLOAT_EQ(G.PlanPanY, 2);
    EXPECT_EQ(main->HScroll2->Value(), -3);
    EXPECT_EQ(main->VScroll2->Value(), 2);
    // A step that would leave the bars' range is undone on that axis only.
    moveTo(100 + 512 * G.PlanScale * 20000, 100 - 512 * G.PlanScale * 4);
    EXPECT_FLOAT_EQ(G.PlanPanX, 3);
    EXPECT_FLOAT_EQ(G.PlanPanY, 4);
    release(0, 0);
    EXPECT_FALSE(main->PanActive);
    // The bars pan the plan back.
    main->HScroll2->SetValue(0);
    main->VScroll2->SetValue(0);
    EXPECT_EQ(G.PlanPanX, 0);
    EXPECT_EQ(G.PlanPanY, 0);
}

TEST_F(Canvas, ZoomStaysStrictlyBetweenItsLimits)
{
    bool atLimit = false;
    G.PlanScale = 0.09f;
    main->ZoomBy(0, 2.5f, atLimit);  // x 1.4 would pass 0.1
    EXPECT_TRUE(atLimit);
    EXPECT_FLOAT_EQ(G.PlanScale, 0.09f);
    main->ZoomBy(0, 100, atLimit);
    EXPECT_FALSE(atLimit);
    EXPECT_FLOAT_EQ(G.PlanScale, 0.09f / 100 + 0.09f);

    G.IsoScale = 0.000012f;
    G.ViewMode = 1;
    main->ZoomBy(0, -2.5f, atLimit);
    EXPECT_TRUE(atLimit);
    EXPECT_FLOAT_EQ(G.IsoScale, 0.000012f);
    G.ViewMode = 3;
    main->ZoomBy(0, 2.5f, atLimit);
    EXPECT_TRUE(atLimit);

    // At the limit the animated zoom ends after its first frame.
    G.ViewMode = 0;
    G.PlanScale = 0.0995f;
    G.LastRenderTime = 1;
    main->mnu_zoomIn_Click();
    EXPECT_FLOAT_EQ(G.PlanScale, 0.0995f);
    // Otherwise 40 frames of 1 % each.
    G.PlanScale = kScale;
    main->mnu_zoomIn_Click();
    EXPECT_NEAR(G.PlanScale / kScale, std::pow(1.01, 40), 1e-3);
    G.LastRenderTime = 50;  // slow drawing: one step
    G.PlanScale = kScale;
    main->mnu_zoomOut_Click();
    EXPECT_FLOAT_EQ(G.PlanScale, kScale * 0.6f);
}

TEST_F(Canvas, RightDragZoomsAndRightClickOnAnItemOpensTheEditPopup)
{
    G.ViewMode = 1;
    press(100, 100, dorv::vbRightButton);
    moveTo(120, 110, dorv::vbRightButton);  // 30 pixels: x 1.15
    EXPECT_FLOAT_EQ(G.IsoScale, kScale / (200.0f / 30) + kScale);
    release(120, 110, dorv::vbRightButton);

    G.ViewMode = 0;
    const int32_t stool = add(3, 10000, 0);
    const int32_t pos = main->UndoPos;
    TestDialogs().ExpectPopup(QString());
    press(sx(10000), sy(0), dorv::vbRightButton);
    EXPECT_EQ(TestDialogs().Asked().filter(QStringLiteral("Popup mnu_edit")).size(), 1);
    EXPECT_EQ(G.SelectedItem, stool);
    EXPECT_EQ(G.DragItem, -1);
    EXPECT_EQ(main->UndoPos, pos + 1);
    EXPECT_FALSE(main->mnu_zoom->Visible());  // hidden again after the popup
    release(sx(10000), sy(0), dorv::vbRightButton);
    EXPECT_EQ(item(stool).X, 10000);

    // "Zoom" from the popup: the next left drag zooms the plan.
    main->mnu_zoom_Click();
    press(sx(10000), sy(0));
    const float scale = G.PlanScale;
    moveTo(sx(10000) + 20, sy(0));
    EXPECT_GT(G.PlanScale, scale);
    release(0, 0);
    EXPECT_FALSE(main->ZoomMode);
}

TEST_F(Canvas, ResetZoomGoesBackToThePlacesScale)
{
    G.PlanInfo.scale1 = 25;
    G.PlanScale = 0.05f;
    G.PlanPanX = 7;
    main->ResetZoom();
    EXPECT_FLOAT_EQ(G.PlanScale, 1 / (0.5f * 512));
    EXPECT_EQ(G.PlanPanX, 0);
    G.ViewMode = 1;
    G.IsoPanY = 12;
    main->ResetZoom();
    EXPECT_FLOAT_EQ(G.IsoScale, 1 / (0.5f * 512));
    EXPECT_EQ(G.IsoPanY, -80);
}

TEST_F(Canvas, AWallItemSlidesAlongItsWallAndStopsAtItsEnds)
{
    // A window on the north wall (side 0), facing it.
    ItemRecord window = TestItems::WallItem(G.CatalogueShapes, G.CatalogueShapeCount, QStringLiteral("window"),
                                            18144, 18144, 0xC0E0FF);
    catalogue(window, 20);
    const int32_t w = add(G.PaletteCount - 1, 0, -54432, 0);
    ASSERT_GE(w, 0);
    G.ViewMode = 2;
    ASSERT_TRUE(DrawMod::GetWallViewRecord(G.WallView, 0, G.Room, G.PlacedItems, G.PlacedItemCount, G.SceneShapes,
                                           G.SceneShapeCount));
    ASSERT_EQ(G.WallView.Side, 0);
    G.PlacedItems[size_t(w)].ViewIndex = G.WallView.Side;
    const float x0 = G.CanvasCentreX + (0 - G.WallView.CentreX) * G.WallScale + 2;
    press(x0, G.CanvasCentreY);
    ASSERT_EQ(G.WallDragItem, w);
    EXPECT_EQ(G.SelectedItem, w);
    moveTo(x0 + 30, G.CanvasCentreY);
    EXPECT_NEAR(item(w).X, 30 * 512, 1);
    // Far past the wall's end it stops with its foot inside the wall.
    moveTo(x0 + 2000, G.CanvasCentreY);
    EXPECT_FLOAT_EQ(item(w).X, G.WallView.CentreX + (G.WallView.Length - item(w).FootWidth) / 2.0f);
    release(x0 + 2000, G.CanvasCentreY);
    EXPECT_EQ(G.WallDragItem, -1);
    EXPECT_GT(G.ViewListCount, 0);
}

TEST_F(Canvas, ANewPlaceForgetsTheHistoryAndTheLastHitItem)
{
    const int32_t stool = add(3, 10000, 0);
    press(sx(10000), sy(0));
    release(sx(10000), sy(0));
    ASSERT_EQ(G.HitItem, stool);
    main->ResetScene();
    EXPECT_EQ(main->UndoPos, 0);
    EXPECT_EQ(main->UndoTop, 0);
    EXPECT_EQ(G.HitItem, -1);
    EXPECT_FALSE(main->mnu_rotateItem->Enabled());
    // Nothing is left for Undo or Rotate Item to act on.
    main->mnu_undo_Click();
    main->mnu_rotateItem_Click();
    EXPECT_EQ(G.PlacedItemCount, 0);
}


// ---- the whole program ----

class GroupsStandIn : public dorv::Form {
public:
    GroupsStandIn() : dorv::Form(QStringLiteral("ItemGroups")) { Move(0, 0, 3000, 4500); }
};

// The program as a child meets it: a new classroom, items from its first
// group, and the mouse and the keys on the canvas.
class CanvasInTheWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        dorv::SetAppPath(DORV_CONTENT_BUILD_DIR);
        dorv::SetCommandLine(QString());
        dorv::Form::Register(QStringLiteral("ItemGroups"), [] { return new GroupsStandIn; });
        ExpectNewPlace(1);
        main = std::make_unique<Main>();
        StartProgram(*main);
    }
    void TearDown() override
    {
        CloseProgram(main);
    }
    // Places catalogue entry `entry` at (ux, uy) in plan units.
    int32_t place(int entry, float ux, float uy)
    {
        return main->AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes,
                                         G.Palette[size_t(entry)], G.PlacedItems, G.PlacedItemCount,
                                         ux * G.PlanScale, uy * G.PlanScale, 0, G.Room, G.PlanScale);
    }
    // The window point over plan position (ux, uy).
    QPoint over(float ux, float uy) const
    {
        const QPoint inner(dorv::RoundHalfEven(G.CanvasCentreX + G.PlanScale * (ux + 512 * G.PlanPanX)),
                           dorv::RoundHalfEven(G.CanvasCentreY + G.PlanScale * (uy - 512 * G.PlanPanY)));
        return main->Picture2->mapTo(main.get(), main->Picture2->contentsRect().topLeft() + inner);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mousePress(main->windowHandle(), Qt::LeftButton, keys, from);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(main->windowHandle(), from + (to - from) * step / 4);
        QTest::mouseRelease(main->windowHandle(), Qt::LeftButton, keys, to);
    }
    std::unique_ptr<Main> main;
};

TEST_F(CanvasInTheWindow, PlaceDragDuplicateTurnDeleteAndUndoWithTheMouseAndKeys)
{
    ASSERT_GT(G.PaletteCount, 0);
    ASSERT_GT(G.Room.ExtentX, 0);
    const int32_t k = place(0, 0, 0);
    ASSERT_GE(k, 0);
    DrawMod::RedrawView();
    const ItemRecord start = G.PlacedItems[size_t(k)];

    // Dragged 60 pixels right and 20 down.
    drag(over(0, 0), over(0, 0) + QPoint(60, 20));
    const float dx = 60 / G.PlanScale, dy = 20 / G.PlanScale;
    EXPECT_NEAR(G.PlacedItems[size_t(k)].X, dx, 8 / G.PlanScale);  // snapping may pull it a few pixels
    EXPECT_NEAR(G.PlacedItems[size_t(k)].Y, dy, 8 / G.PlanScale);
    EXPECT_EQ(G.SelectedItem, k);
    EXPECT_TRUE(main->mnu_copy->Enabled());

    // Ctrl held: a copy is dragged away, the original stays.
    const ItemRecord moved = G.PlacedItems[size_t(k)];
    drag(over(moved.X, moved.Y), over(moved.X, moved.Y) + QPoint(0, 80), Qt::ControlModifier);
    ASSERT_EQ(G.PlacedItemCount, k + 2);
    EXPECT_EQ(G.PlacedItems[size_t(k)].X, moved.X);
    EXPECT_EQ(G.PlacedItems[size_t(k)].Y, moved.Y);
    EXPECT_EQ(G.PlacedItems[size_t(k + 1)].Name, moved.Name);
    EXPECT_GT(G.PlacedItems[size_t(k + 1)].Y, moved.Y + 60 / G.PlanScale);

    // A right click on the original, "Rotate Item" from the popup.
    TestDialogs().ExpectPopup(QStringLiteral("mnu_rotateItem"));
    QTest::mouseClick(main->windowHandle(), Qt::RightButton, Qt::NoModifier, over(moved.X, moved.Y));
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(G.PlacedItems[size_t(k)].ViewIndex, 1 % std::max<int16_t>(1, start.ViewCount));

    // The Delete key on the canvas removes the item the right click
    // selected.
    main->Picture2->setFocus();
    QTest::keyClick(main->Picture2, Qt::Key_Delete);
    EXPECT_EQ(G.PlacedItemCount, k + 1);
    EXPECT_EQ(G.SelectedItem, -1);

    // Undo walks everything back to the item as it was placed.
    while (main->UndoPos > 0) main->mnu_undo->Choose();
    EXPECT_EQ(G.PlacedItemCount, k);
    main->mnu_redo->Choose();
    ASSERT_EQ(G.PlacedItemCount, k + 1);
    EXPECT_EQ(G.PlacedItems[size_t(k)].X, start.X);
    EXPECT_EQ(G.PlacedItems[size_t(k)].Y, start.Y);
    EXPECT_EQ(G.PlacedItems[size_t(k)].ViewIndex, start.ViewIndex);
}

TEST_F(CanvasInTheWindow, ResetZoomAndNewBringThePanBarsBackWithThePlan)
{
    // The thumbs dragged to their ends, as far as the plan goes.
    auto throwThePlanAway = [this] {
        main->HScroll2->SetValue(main->HScroll2->Max());
        main->VScroll2->SetValue(main->VScroll2->Min());
        ASSERT_EQ(G.PlanPanX, -main->HScroll2->Max());
    };
    throwThePlanAway();
    main->Picture3_Click(12);  // Reset zoom
    EXPECT_EQ(G.PlanPanX, 0);
    EXPECT_EQ(main->HScroll2->Value(), 0);
    EXPECT_EQ(main->VScroll2->Value(), 0);
    // One click on an arrow moves the plan one small step, not to the end.
    main->HScroll2->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(G.PlanPanX, main->HScroll2->singleStep());

    // The 3D view's own pans, its vertical one starting at -80.
    main->mnu_3DView->Choose();
    main->HScroll2->SetValue(main->HScroll2->Max());
    main->Picture3_Click(12);
    EXPECT_EQ(main->HScroll2->Value(), 0);
    EXPECT_EQ(main->VScroll2->Value(), -80);
    main->mnu_planView->Choose();

    throwThePlanAway();
    main->ConfirmSaveChanges = [] { return false; };
    ExpectNewPlace(1);
    main->mnu_new->Choose();
    EXPECT_EQ(G.PlanPanX, 0);
    EXPECT_EQ(main->HScroll2->Value(), 0);
    EXPECT_EQ(main->VScroll2->Value(), 0);
}

TEST_F(CanvasInTheWindow, AfterPasteTheCanvasShowsTheSceneWithOnlyTheNewCopyFramed)
{
    const int32_t k = place(0, 0, 0);
    ASSERT_GE(k, 0);
    DrawMod::RedrawView();
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, over(0, 0));
    ASSERT_EQ(G.SelectedItem, k);
    main->mnu_copy->Choose();
    main->mnu_paste->Choose();
    ASSERT_EQ(G.SelectedItem, k + 1);
    const QImage afterPaste = main->CanvasDC->Surface()->copy();
    DrawMod::RedrawView();
    EXPECT_TRUE(afterPaste == *main->CanvasDC->Surface());
}

}  // namespace
