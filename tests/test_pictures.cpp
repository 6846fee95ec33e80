// Finding and measuring item pictures, extents and the colour arithmetic.
#include "scene/Colours.h"
#include "scene/PictureMeasure.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "support/SampleItems.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace CommonMod;
using namespace DrawMod;

namespace {
struct Fixture {
    ShapeStream s;
    int32_t count = 0;
};
}  // namespace

TEST(PictureSize, ViewsAreFoundByCountingTopLevelGroups)
{
    Fixture f;
    // Something before the item, so that indexes are absolute.
    AppendQuadShape(f.s, f.count, 0, 0, 0, 0, 5, 5);
    const ItemRecord item = TestItems::BoxItem(f.s, f.count, "g\\Desk", 3000, 1000, 800, 0x808080);
    const Shapes::Table t = Shapes::Used(f.s, f.count);

    // View 0 is the run's start, found without reading: also past the table.
    EXPECT_EQ(FindShapeView(item.ShapeStart, t, 0), item.ShapeStart);
    EXPECT_EQ(FindShapeView(f.count + 1000, t, 0), f.count + 1000);

    float w = 0, h = 0;
    int16_t view = 1;
    GetItemPictureSize(item, kPictureFromAbove, f.s, f.count, 0.5f, w, h, view);
    EXPECT_FLOAT_EQ(w, 500);  // view 1 is turned: width and depth swap
    EXPECT_FLOAT_EQ(h, 1500);
    view = 4;  // equal to the view count: view 0
    GetItemPictureSize(item, kPictureFromAbove, f.s, f.count, 1, w, h, view);
    EXPECT_FLOAT_EQ(w, 3000);
    EXPECT_FLOAT_EQ(h, 1000);

    ItemRecord turned = item;
    turned.ViewIndex = 3;
    view = -1;  // the item's own view, written back
    GetItemPictureSize(turned, kPictureFromAbove, f.s, f.count, 1, w, h, view);
    EXPECT_EQ(view, 3);
    EXPECT_FLOAT_EQ(w, 1000);

    // The 3D picture: the isometric image of a 3000 x 1000 x 800 box.
    view = 0;
    GetItemPictureSize(item, kPicture3D, f.s, f.count, 1, w, h, view);
    EXPECT_NEAR(w, 4000 * kIsoCos, 1.5);
    EXPECT_NEAR(h, 800 + 2000, 1.5);

    int32_t bw = 0, bd = 0;
    GetShapeViewBounds(item, 1, f.s, f.count, bw, bd);
    EXPECT_EQ(bw, 1000);
    EXPECT_EQ(bd, 3000);
}

TEST(PictureSize, WallItemsTakeTheirHeightFromTheLastView)
{
    Fixture f;
    const ItemRecord item = TestItems::WallItem(f.s, f.count, "w\\Window", 1200, 900, 0xFFFF00);
    EXPECT_EQ(GetLastViewHeight(item, f.s, f.count), 900);
    float w = 0, h = 0;
    int16_t view = 0;
    GetItemPictureSize(item, kPictureWallSize, f.s, f.count, 2, w, h, view);
    EXPECT_FLOAT_EQ(w, 2400);
    EXPECT_FLOAT_EQ(h, 1800);
}

TEST(PictureSize, ItemsWhoseIndexesMissTheTableMeasureNothing)
{
    Fixture f;
    ItemRecord item = TestItems::BoxItem(f.s, f.count, "g\\Desk", 3000, 1000, 800, 0x808080);
    // The table is shorter than its count says: only the words present count.
    f.s.resize(static_cast<size_t>(f.count) - 5);
    float w = 7, h = 7;
    int16_t view = 3;
    GetItemPictureSize(item, kPicture3D, f.s, f.count, 1, w, h, view);  // the last group is cut short
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);

    for (int32_t start : {-5, 1 << 30}) {
        item.ShapeStart = start;
        view = 1;
        GetItemPictureSize(item, kPicture3D, f.s, f.count, 1, w, h, view);
        EXPECT_EQ(w, 0);
        EXPECT_EQ(GetLastViewHeight(item, f.s, f.count), 0);
    }
    // A record claiming a length that reaches past the table.
    Fixture g;
    ItemRecord ok = TestItems::BoxItem(g.s, g.count, "g\\Box", 100, 100, 100, 0);
    g.s[static_cast<size_t>(ok.ShapeStart) + 1] = 1 << 28;
    view = 0;
    GetItemPictureSize(ok, kPictureFromAbove, g.s, g.count, 1, w, h, view);
    EXPECT_EQ(w, 0);
    // A view count of 0 counts as 1.
    ok = TestItems::BoxItem(g.s, g.count, "g\\Box", 100, 200, 100, 0);
    ok.ViewCount = 0;
    view = 5;
    GetItemPictureSize(ok, kPictureFromAbove, g.s, g.count, 1, w, h, view);
    EXPECT_FLOAT_EQ(h, 200);
}

TEST(PictureSize, ExtentsAndTheFitScale)
{
    G = SceneState();
    Box box;
    GetItemsExtent(box, kPictureFromAbove, G.PlacedItems, 0, G.SceneShapes, G.SceneShapeCount);
    EXPECT_EQ(box.minX, 1000000000);
    EXPECT_EQ(box.maxX, -1000000000);
    EXPECT_EQ(ComputeFitScale(kPicture3D, 150), 0.0f);  // nothing to measure

    BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 3, 5, 2.5f, 0x808080, 0xFFFFFF);
    ItemRecord desk = TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, "g\\Desk", 3000, 1000, 800, 0);
    desk.X = 200000;  // far outside the room: the fit measures the room only
    desk.Y = -10;
    G.PlacedItems.push_back(desk);
    G.PlacedItemCount = 6;

    GetItemsExtent(box, kPictureFromAbove, G.PlacedItems, 6, G.SceneShapes, G.SceneShapeCount);
    EXPECT_EQ(box.minX, -90720);
    EXPECT_EQ(box.maxX, 201500);
    EXPECT_EQ(box.minY, -54432);
    EXPECT_EQ(box.maxY, 54432);
    EXPECT_FLOAT_EQ(ComputeFitScale(kPictureFromAbove, 150), 150.0f / 181440);
    // From above with no walls: only the floor counts.
    G = SceneState();
    BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 3, 5, 0, 0x808080, 0xFFFFFF);
    G.PlacedItems.push_back(desk);
    G.PlacedItemCount = 2;
    EXPECT_FLOAT_EQ(ComputeFitScale(kPictureFromAbove, 150), 150.0f / 181440);
    // In 3D the floor is as wide as the isometric image of the room.
    EXPECT_FLOAT_EQ(ComputeFitScale(kPicture3D, 150), 150.0f / 251410);  // 2 x round(145152 x cos 30)
}

TEST(Colours, ArithmeticOfPictureWords)
{
    EXPECT_EQ(ColourToShiftedLong(0xFFFFFF), -256);
    EXPECT_EQ(ColourToShiftedLong(0x123456), 0x12345600);
    EXPECT_EQ(static_cast<uint32_t>(ColourToShiftedLong(0x800000)), 0x80000000u);

    EXPECT_EQ(static_cast<uint32_t>(ScaleColour(ColourToShiftedLong(0x808080), 0.5f)), 0x40404000u);
    EXPECT_EQ(static_cast<uint32_t>(ScaleColour(-256, 0.75f)), 0xBFBFBF00u);
    EXPECT_EQ(ScaleColour(0x7F7F7F00, 1.0f), 0x7F7F7F00);
    EXPECT_EQ(ScaleColour(-256, 0.0f), 0);

    EXPECT_EQ(BrightenColour(0x102030, 1.4f), 0x162C43);
    EXPECT_EQ(BrightenColour(0xC0C0C0, 1.4f), 0xFFFFFF);  // each channel capped
    EXPECT_EQ(BrightenColour(0xC0C0C0, 1.0f), 0xC0C0C0);

    EXPECT_NEAR(SegmentAngle(0, 0, 0, 10), 0, 1e-4);  // along +y; divides by 0.0001
    EXPECT_NEAR(SegmentAngle(0, 0, 10, 0), M_PI / 2, 1e-6);
    EXPECT_NEAR(SegmentAngle(0, 10, 0, 0), M_PI, 1e-4);
    EXPECT_NEAR(SegmentAngle(10, 0, 0, 0), 3 * M_PI / 2, 1e-6);
    float factor = 0;
    EXPECT_EQ(static_cast<uint32_t>(ShadeColourByAngle(10, 0, 0, 0, -256, factor)), 0xBFBFBF00u);
    EXPECT_NEAR(factor, 0.75, 1e-6);

    EXPECT_DOUBLE_EQ(PointLineCrossAbs(0, 0, 10, 0, 5, 3), 30);
    EXPECT_DOUBLE_EQ(PointLineCrossAbs(0, 0, 10, 0, 5, -3), 30);
    EXPECT_DOUBLE_EQ(PointLineCrossAbs(0, 0, 10, 0, 25, 0), 0);
}
