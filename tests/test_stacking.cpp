// Items settling on the items beneath them, and the back-to-front order of
// the 3D and wall views.
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "support/SampleItems.h"

#include <gtest/gtest.h>

using namespace FileMod;

namespace {
// At the default plan scale of 1/512 a size of 4096 units is 8 pixels.
class Stacking : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = SceneState();
        G.PlacedItemCount = 0;
    }
    int32_t Add(const char* name, int32_t w, int32_t d, int32_t h, float x, float y,
                int32_t flags = kItemStacks | kItemFromFile)
    {
        ItemRecord item = TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, name, w, d, h, 0x808080, 4, flags);
        item.X = x;
        item.Y = y;
        if (static_cast<int32_t>(G.PlacedItems.size()) <= G.PlacedItemCount)
            G.PlacedItems.resize(static_cast<size_t>(G.PlacedItemCount) + 1);
        G.PlacedItems[static_cast<size_t>(G.PlacedItemCount)] = item;
        return G.PlacedItemCount++;
    }
    ItemRecord& Item(int32_t i) { return G.PlacedItems[static_cast<size_t>(i)]; }
    void Settle(int32_t i) { SettleItemElevation(G.PlacedItems, G.PlacedItemCount, i, G.SceneShapes, G.SceneShapeCount); }
    // The names of the ordered list.
    std::vector<QString> Order()
    {
        BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                             G.ViewListCount);
        std::vector<QString> names;
        for (int32_t i = 0; i < G.ViewListCount; ++i) names.push_back(G.ViewList[static_cast<size_t>(i)].Name.trimmed());
        return names;
    }
};
using Names = std::vector<QString>;
}  // namespace

TEST(Overlap, TouchingIsNotOverlapping)
{
    EXPECT_FALSE(RectanglesOverlap(0, 0, 4, 4, 4, 0, 8, 4));  // share an edge
    EXPECT_FALSE(RectanglesOverlap(0, 0, 4, 4, 0, 4, 4, 8));
    EXPECT_TRUE(RectanglesOverlap(0, 0, 4, 4, 3, 3, 8, 8));
    EXPECT_TRUE(RectanglesOverlap(0, 0, 4, 4, 0, 0, 4, 4));   // equal
    EXPECT_TRUE(RectanglesOverlap(0, 0, 8, 8, 2, 2, 4, 4));   // one inside the other, both ways
    EXPECT_TRUE(RectanglesOverlap(2, 2, 4, 4, 0, 0, 8, 8));
    EXPECT_TRUE(RectanglesOverlap(0, 0, 8, 8, 3, 3, 3, 5));   // a zero-width box inside
    EXPECT_FALSE(RectanglesOverlap(0, 0, 8, 8, 9, 0, 12, 8)); // apart on one axis only
}

TEST_F(Stacking, AnItemRestsOnTheHighestItemBeneathItThatCameBefore)
{
    const int32_t table = Add("g\\Table", 8192, 8192, 800, 0, 0);
    const int32_t box = Add("g\\Box", 4096, 4096, 400, 4096, 0);
    const int32_t beside = Add("g\\Beside", 4096, 4096, 300, 0, 12288);  // touches the table's edge
    const int32_t lamp = Add("g\\Lamp", 4096, 4096, 500, 2048, 0);          // over both
    const int32_t rug = Add("g\\Rug", 8192, 8192, 10, 0, 0, kItemFromFile);  // does not stack
    const int32_t later = Add("g\\Shelf", 8192, 8192, 2000, 0, 0);
    for (int32_t i : {table, box, beside, lamp, rug, later}) Settle(i);
    EXPECT_EQ(Item(table).Elevation, 0);  // index 0: nothing before it
    EXPECT_EQ(Item(box).Elevation, 800);
    EXPECT_EQ(Item(beside).Elevation, 0);
    EXPECT_EQ(Item(lamp).Elevation, 1200);  // on the box, which stands on the table
    EXPECT_EQ(Item(rug).Elevation, 0);
    EXPECT_EQ(Item(later).Elevation, 1700);
    Settle(lamp);  // the shelf came after it: it never lifts the lamp
    EXPECT_EQ(Item(lamp).Elevation, 1200);

    // One pass: the supports are taken as they stand.
    Item(box).Elevation = 0;
    Settle(lamp);
    EXPECT_EQ(Item(lamp).Elevation, 800);

    // Wall items neither rest on others nor carry them.
    Item(table).Flags |= kItemOnWall;
    Settle(box);
    EXPECT_EQ(Item(box).Elevation, 0);
    Item(lamp).Flags |= kItemOnWall;
    Item(lamp).Elevation = 99;
    Settle(lamp);
    EXPECT_EQ(Item(lamp).Elevation, 0);
}

TEST_F(Stacking, DrawingOrderRunsFromBackToFront)
{
    EXPECT_TRUE(Order().empty());
    Add("one", 4096, 4096, 100, 0, 0);
    EXPECT_EQ(Order(), Names{"one"});

    G = SceneState();
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 4, 4, 2.5f, 0x808080, 0xFFFFFF);
    G.PlacedItems.resize(static_cast<size_t>(G.PlacedItemCount));
    Add("south", 8192, 8192, 800, 0, 40000);
    Add("north", 8192, 8192, 800, 0, -40000);
    Add("east", 8192, 8192, 800, 40000, 0);
    Add("west", 8192, 8192, 800, -40000, 0);
    // The floor, then the two far walls; the walls nearest the viewer never.
    // Then north before south and west before east.
    EXPECT_EQ(Order(), (Names{"FloorSect0", "WallSect1", "WallSect2", "north", "west", "south", "east"}));
}

TEST_F(Stacking, ItemsBeneathAndFlaggedItemsAreDrawnFirst)
{
    const int32_t lamp = Add("lamp", 4096, 4096, 300, 0, 0);
    Item(lamp).Elevation = 800;
    Add("table", 8192, 8192, 800, 0, 0);
    EXPECT_EQ(Order(), (Names{"table", "lamp"}));

    SetUp();
    Add("desk", 8192, 8192, 800, 0, 0);
    Add("rug", 16384, 16384, 10, 0, 0, kItemInFront);
    EXPECT_EQ(Order(), (Names{"rug", "desk"}));
}

TEST_F(Stacking, OddItemsAreKeptOrLeftOutAsTheyShouldBe)
{
    const int32_t sunk = Add("sunk", 4096, 4096, 300, 0, 0);
    Item(sunk).Elevation = -100;  // below the floor: still drawn
    const int32_t hidden = Add("hidden", 4096, 4096, 300, 20000, 0);
    Item(hidden).Flags |= kItemSectionBack;
    Item(hidden).Elevation = 123.5f;
    Add("plain", 4096, 4096, 300, 40000, 0);
    // An item whose picture lies outside the table is still ordered.
    const int32_t lost = Add("lost", 4096, 4096, 300, 60000, 0);
    Item(lost).ShapeStart = G.SceneShapeCount + 50;

    const Names order = Order();
    EXPECT_EQ(order.size(), 3u);
    EXPECT_EQ(order.front(), "sunk");
    EXPECT_NE(std::find(order.begin(), order.end(), "lost"), order.end());
    EXPECT_EQ(std::find(order.begin(), order.end(), "hidden"), order.end());
    EXPECT_EQ(Item(hidden).Elevation, 123.5f);
    EXPECT_EQ(G.ViewList[0].Elevation, -100);  // copies as they were
}

// The scenes below are given as boxes in pixels at the plan scale of 1/512
// (left, north edge, right, south edge). Each is small enough that one rule
// of the ordering alone decides its answer.
namespace {
constexpr int32_t kPx = 512;  // units in one pixel
}

TEST_F(Stacking, ARugAddedInFrontIsDrawnBeforeTheTableStandingOnIt)
{
    // The rug is where the program puts such items, before the table in the
    // array. Once a round has taken it, no later item may take its place:
    // the table would be drawn first and the rug painted over it.
    Add("rug", 20 * kPx, 20 * kPx, 100, 0, 0, kItemInFront);
    Add("table", 8 * kPx, 8 * kPx, 800, 0, 0);
    EXPECT_EQ(Order(), (Names{"rug", "table"}));
}

TEST_F(Stacking, AnItemWhoseBoxRunsRightToLeftIsDrawnBeforeTheItemItReachesBehind)
{
    // A picture box stored with its right edge first (as an item file may
    // hold it) gives a box whose left lies east of its right. Only the
    // third way of lying "beside" (further north and ending further west)
    // puts it before the box south of it.
    Add("box", 4 * kPx, 4 * kPx, 5, 0, 2 * kPx);
    const int32_t mirrored = Add("mirrored", 6 * kPx, 2 * kPx, 5, 0, 0);
    std::swap(G.SceneShapes[static_cast<size_t>(Item(mirrored).ShapeStart) + 2],
              G.SceneShapes[static_cast<size_t>(Item(mirrored).ShapeStart) + 4]);
    const PlanBox b = ItemPlanBox(Item(mirrored), G.SceneShapes, G.SceneShapeCount);
    ASSERT_GT(b.left, b.right);
    EXPECT_EQ(Order(), (Names{"mirrored", "box"}));
}

TEST_F(Stacking, ItemsHungOverlappingOnOneWallAreDrawnInTheOrderTheyWereHung)
{
    // A poster and then a clock half over it on the east wall. Flattened
    // onto the edge that faces the room, neither lies beside the other, so
    // the clock stays in front; measured whole, the poster would be drawn
    // over the clock.
    for (const char* name : {"poster", "clock"}) {
        const float y = name[0] == 'p' ? 2 * kPx : 5 * kPx;
        // View 3 of a four-view box is turned: its depth runs along x.
        const int32_t i = Add(name, 4 * kPx, 1 * kPx, 300, 9.5f * kPx, y);
        Item(i).Flags = kItemOnWall | kItemFromFile;
        Item(i).ViewIndex = 3;
    }
    EXPECT_EQ(Order(), (Names{"poster", "clock"}));
}

TEST_F(Stacking, ARoundStopsLookingAfterFourTakes)
{
    // Six floor items crowded round the middle: the candidate keeps moving
    // between them, and after the pass that brings it to four takes the
    // round lists the candidate it has. The one in the north-east, which
    // overlaps nothing, comes last; more passes would list it first.
    Add("a", 4 * kPx, 2 * kPx, 5, 0, 0);
    Add("b", 4 * kPx, 2 * kPx, 5, 4 * kPx, -4 * kPx);
    Add("c", 4 * kPx, 6 * kPx, 5, 2 * kPx, 0);
    Add("d", 2 * kPx, 2 * kPx, 5, -2 * kPx, 3 * kPx);
    Add("e", 4 * kPx, 6 * kPx, 5, 4 * kPx, 3 * kPx);
    Add("f", 6 * kPx, 2 * kPx, 5, 0, -2 * kPx);
    EXPECT_EQ(Order(), (Names{"f", "d", "e", "c", "a", "b"}));
}

TEST(PlanScale, ZoomSetsAllThreeScales)
{
    G = SceneState();
    SetPlanScale(1);
    EXPECT_FLOAT_EQ(G.PlanScale, 1.0f / 512);
    EXPECT_FLOAT_EQ(G.IsoScale, 1.0f / 512);
    EXPECT_FLOAT_EQ(G.WallScale, 1.0f / 512);
    SetPlanScale(2);
    EXPECT_FLOAT_EQ(G.WallScale, 1.0f / 1024);
}
