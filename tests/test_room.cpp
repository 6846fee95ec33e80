// The room builder: the outline, the floor and wall section items of a
// 3 x 5 x 2.5 m room, rooms without walls, and the colour repaint.
#include "scene/Colours.h"
#include "scene/PlaceInfo.h"
#include "scene/PictureMeasure.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace CommonMod;

namespace {
constexpr int32_t kFloor = 0x336699;
constexpr int32_t kWall = 0xC0E0F0;

class Room : public ::testing::Test {
protected:
    void SetUp() override { G = SceneState(); }

    // What a new place does: empty the scene, then build.
    void Build(float width, float length, float height)
    {
        G.PlacedItemCount = 0;
        G.SceneShapeCount = 0;
        BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, width, length, height, kFloor, kWall);
    }
    const ItemRecord& Item(int i) { return G.PlacedItems[static_cast<size_t>(i)]; }
    int32_t Word(int32_t i) { return G.SceneShapes[static_cast<size_t>(i)]; }
    Shapes::Table Scene() { return Shapes::Used(G.SceneShapes, G.SceneShapeCount); }

    // The record at `index` of the scene's table, which must be one.
    Shapes::Record At(int32_t index)
    {
        Shapes::Record r;
        EXPECT_TRUE(DrawMod::PictureRecordAt(Scene(), index, r)) << index;
        return r;
    }
    // The shapes inside the 3D group of item i, in order.
    std::vector<Shapes::Record> Faces(int i)
    {
        const ItemRecord& it = Item(i);
        const int32_t g = DrawMod::PictureStart(it, kPicture3D, 0, Scene());
        const Shapes::Record group = At(g);
        EXPECT_TRUE(group.isGroup());
        std::vector<Shapes::Record> out;
        Shapes::RecordWalker w = Shapes::RecordWalker::Children(Scene(), group);
        Shapes::Record r;
        while (w.next(r)) out.push_back(r);
        return out;
    }
};
}  // namespace

TEST_F(Room, ThreeByFiveByTwoAndAHalfMetres)
{
    Build(3, 5, 2.5f);
    EXPECT_EQ(G.Room.RoomKind, 1);
    EXPECT_EQ(G.Room.ExtentX, 181440);
    EXPECT_EQ(G.Room.ExtentY, 108864);
    EXPECT_EQ(G.Room.ExtentZ, 90720);
    EXPECT_EQ(G.Room.FirstWallSection, 1);
    EXPECT_EQ(G.Room.WallSectionCount, 4);
    EXPECT_EQ(G.Room.FirstRealItem, 5);
    ASSERT_EQ(G.PlacedItemCount, 5);

    // The outline: height marker, floor group, wall path, back to back.
    EXPECT_EQ(G.Room.RoomListStart, 0);
    EXPECT_EQ(G.Room.FloorGroupStart, 26);
    EXPECT_EQ(G.Room.WallPathStart, 26 + 35);
    EXPECT_EQ(G.Room.RoomListEnd, 26 + 35 + 26);
    EXPECT_EQ(G.RoomShapeCount, G.Room.RoomListEnd);
    EXPECT_EQ(G.RoomShapes[static_cast<size_t>(G.Room.WallPathStart) + 7], 90720);  // the walls' height

    // The floor: item 0, spanning the whole room from above.
    const ItemRecord& floor = Item(0);
    EXPECT_EQ(floor.Name.trimmed(), "FloorSect0");
    EXPECT_EQ(floor.Flags, 0x182);
    EXPECT_EQ(floor.ViewCount, 1);
    EXPECT_EQ(floor.ShapeStart, 0);
    EXPECT_EQ(floor.FootWidth, 181440);
    EXPECT_EQ(floor.FootDepth, 108864);
    EXPECT_EQ(floor.Height, 0);
    EXPECT_EQ(floor.X, 0.0f);
    EXPECT_EQ(floor.Y, 0.0f);
    const Shapes::Record plan = At(floor.FloorColourShape);
    ASSERT_TRUE(plan.isShape());
    const Shapes::Box fb = Shapes::RecordBox(Scene(), plan);
    EXPECT_EQ(fb.minX, -90720);
    EXPECT_EQ(fb.maxX, 90720);
    EXPECT_EQ(fb.minY, -54432);
    EXPECT_EQ(fb.maxY, 54432);
    EXPECT_EQ(Word(floor.FloorColourShape + 6), ColourToShiftedLong(kFloor));
    EXPECT_EQ(Word(floor.FaceColourShape + 6), ColourToShiftedLong(kFloor));
    // Its 3D group: four flat edge faces (the south and east ones open),
    // then the projected floor.
    const auto faces = Faces(0);
    ASSERT_EQ(faces.size(), 5u);
    EXPECT_NE(Shapes::FillWord(Scene(), faces[0]), -1);  // north edge
    EXPECT_NE(Shapes::FillWord(Scene(), faces[1]), -1);  // west edge
    for (int k : {2, 3}) {
        EXPECT_EQ(Shapes::FillWord(Scene(), faces[k]), -1);
        EXPECT_EQ(Shapes::LineWord(Scene(), faces[k]), -1);
    }
    EXPECT_EQ(faces[4].index, floor.FaceColourShape);
    EXPECT_EQ(floor.ShapeEnd, Item(1).ShapeStart - 9);  // the wall's run starts inside its plan group

    struct Expect {
        const char* name;
        int32_t x1, y1, x2, y2;
        int16_t side;
        bool back;
        float angle;
    };
    const int32_t hx = 90720, hy = 54432;
    const Expect walls[] = {
        {"WallSect1", hx, hy, -hx, hy, 0, false, 0.75f},
        {"WallSect2", -hx, hy, -hx, -hy, 1, false, 0.5f},
        {"WallSect3", -hx, -hy, hx, -hy, 2, true, 0.25f},
        {"WallSect4", hx, -hy, hx, hy, 3, true, 0.0f},
    };
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        const Expect& e = walls[i - 1];
        const ItemRecord& w = Item(i);
        EXPECT_EQ(w.Name.trimmed(), e.name);
        EXPECT_EQ(w.WallSide, e.side);
        EXPECT_EQ(w.Flags, e.back ? 0x342 : 0x142);
        EXPECT_EQ(w.Elevation, 0.0f);
        EXPECT_EQ(w.Height, 90720);
        EXPECT_EQ(w.SectionLength, e.side % 2 == 0 ? 181440 : 108864);
        EXPECT_NEAR(w.WallAngle, e.angle, 1e-4);
        EXPECT_EQ(w.X, static_cast<float>((e.x1 + e.x2) / 2));
        EXPECT_EQ(w.Y, static_cast<float>(-(e.y1 + e.y2) / 2));  // north is negative Y
        // The run starts at the plan shape, whose path gives the wall's ends.
        const Shapes::Record line = At(w.ShapeStart);
        ASSERT_TRUE(line.isShape());
        EXPECT_EQ(Word(w.ShapeStart + 11), e.x1);
        EXPECT_EQ(Word(w.ShapeStart + 12), e.y1);
        EXPECT_EQ(Word(w.ShapeStart + 14), e.x2);
        EXPECT_EQ(Word(w.ShapeStart + 15), e.y2);
        // The face: the north and west walls filled with the shaded wall
        // colour, the two that face the viewer left open.
        const int32_t fill = Word(w.FaceColourShape + 6);
        if (e.back) {
            EXPECT_EQ(fill, -1);
            EXPECT_EQ(Word(w.FaceColourShape + 7), -1);
        } else {
            EXPECT_EQ(fill, ScaleColour(ColourToShiftedLong(kWall), w.WallAngle));
            EXPECT_EQ(Word(w.FaceColourShape + 7), 0);
        }
        EXPECT_EQ(w.ShapeEnd, i < 4 ? Item(i + 1).ShapeStart - 9 : G.SceneShapeCount);
    }
}

TEST_F(Room, LowRoomsHaveNoWalls)
{
    Build(3, 5, 0);
    EXPECT_EQ(G.PlacedItemCount, 1);
    EXPECT_EQ(G.Room.ExtentZ, 0);
    EXPECT_EQ(G.Room.FirstWallSection, 0);
    EXPECT_EQ(G.Room.WallSectionCount, 0);
    EXPECT_EQ(G.Room.FirstRealItem, 1);
    EXPECT_EQ(Item(0).Name.trimmed(), "FloorSect0");
    EXPECT_EQ(Item(0).ShapeEnd, G.SceneShapeCount);

    Build(3, 5, 512.0f / 36288);
    EXPECT_EQ(G.Room.ExtentZ, 512);
    EXPECT_EQ(G.Room.WallSectionCount, 0);

    Build(3, 5, 513.0f / 36288);
    EXPECT_EQ(G.Room.ExtentZ, 513);
    EXPECT_EQ(G.Room.WallSectionCount, 4);
    EXPECT_EQ(G.Room.FirstRealItem, 5);
}

TEST_F(Room, EveryWallOfEveryRoomTheShippedPlacesAllowStandsOnTheFloor)
{
    const QDir environments(QStringLiteral(DORV_CONTENT_BUILD_DIR "/Environments"));
    const QStringList names = environments.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_GE(names.size(), 3);
    for (const QString& folder : names) {
        const std::string name = folder.toStdString();
        PlanInfoRecord info;
        ASSERT_TRUE(FileMod::ReadInfoFile(environments.filePath(folder), QStringLiteral("/PlanInfo.dvf"), info)) << name;
        ASSERT_GT(info.max_width, 0) << name;
        // The largest room, and the longest and narrowest ones, at the
        // largest height.
        const float sizes[3][2] = {{info.max_width, info.max_depth},
                                   {info.min_width, info.max_depth},
                                   {info.max_width, info.min_depth}};
        for (const auto& size : sizes) {
            Build(size[0], size[1], info.max_height);
            ASSERT_EQ(G.Room.WallSectionCount, 4) << name;
            for (int i = G.Room.FirstWallSection; i < G.Room.FirstWallSection + 4; ++i) {
                EXPECT_EQ(Item(i).Elevation, 0) << name << " " << size[0] << " x " << size[1] << " wall " << i;
                EXPECT_EQ(Item(i).Height, G.Room.ExtentZ) << name << " " << size[0] << " x " << size[1] << " wall " << i;
            }
        }
    }
}

TEST_F(Room, ASecondPlaceStartsAgainWithTheFloorWhileTheOutlinesAccumulate)
{
    Build(3, 5, 2.5f);
    const int32_t firstEnd = G.Room.RoomListEnd;
    Build(4, 4, 3);
    EXPECT_EQ(G.Room.RoomListStart, firstEnd);
    EXPECT_EQ(G.RoomShapeCount, 2 * firstEnd);
    EXPECT_EQ(G.PlacedItemCount, 5);
    EXPECT_EQ(Item(0).Name.trimmed(), "FloorSect0");
    EXPECT_EQ(Item(0).ShapeStart, 0);
    EXPECT_EQ(G.Room.ExtentX, 145152);
}

TEST_F(Room, AClosedWallPathRunsBackToItsFirstPoint)
{
    // An outline of our own: a floor of 20000 x 20000, walls 4000 high, and a
    // wall path of two pieces whose close token ends the second piece at the
    // path's first point.
    ShapeStream& rs = G.RoomShapes;
    int32_t& rc = G.RoomShapeCount;
    RoomRecord room;
    room.RoomListStart = rc;
    AppendQuadShape(rs, rc, 0, 0, 0, 0, 10, 4000);
    room.FloorGroupStart = rc;
    const int32_t group = AppendGroupHeader(rs, rc);
    AppendQuadShape(rs, rc, 0, 0, -10000, -10000, 10000, 10000);
    FinishRecordBounds(rs, rc, group);
    room.WallPathStart = rc;
    const int32_t path = AppendShapeHeader(rs, rc, -1, 4000);
    AppendRecordValues5(rs, rc, Shapes::kTokenMoveTo, 10000, 10000);
    AppendRecordValues5(rs, rc, Shapes::kTokenLineTo, -10000, 10000);
    AppendRecordValues5(rs, rc, Shapes::kTokenMoveTo, -10000, -10000);
    AppendRecordValues5(rs, rc, Shapes::kTokenLineTo, 10000, -10000);
    Shapes::Reserve(rs, rc + 1);
    rs[static_cast<size_t>(rc++)] = Shapes::kTokenClose;
    Box box;
    NormaliseRect(box, -10000, -10000, 10000, 10000);
    CloseShapeRecord(rs, rc, path, box);

    BuildRoomSections(room, rs, rc, ColourToShiftedLong(kWall), G.PlacedItems, G.PlacedItemCount);
    ASSERT_EQ(room.WallSectionCount, 3);
    // The wall's ends: the first two points of its plan shape's path.
    auto ends = [&](int i) {
        const int32_t s = Item(i).ShapeStart;
        return std::vector<int32_t>{Word(s + 11), Word(s + 12), Word(s + 14), Word(s + 15)};
    };
    EXPECT_EQ(ends(1), (std::vector<int32_t>{10000, 10000, -10000, 10000}));
    EXPECT_EQ(ends(2), (std::vector<int32_t>{-10000, -10000, 10000, -10000}));
    EXPECT_EQ(ends(3), (std::vector<int32_t>{10000, -10000, 10000, 10000}));
}

TEST_F(Room, ColourRepaintTouchesSectionsOnly)
{
    Build(3, 5, 2.5f);
    // A real item whose name starts like a section's, and one whose colour
    // index points outside the table.
    G.PlacedItems.resize(7);
    ItemRecord& lookalike = G.PlacedItems[5];
    lookalike = Item(0);
    lookalike.Name.set("FloorSection\\Rug");
    lookalike.Flags = 0x3;
    ItemRecord& broken = G.PlacedItems[6];
    broken = Item(1);
    broken.FaceColourShape = G.SceneShapeCount + 100;
    G.PlacedItemCount = 7;
    const ShapeStream before = G.SceneShapes;

    ApplyFloorWallColours(G.PlacedItems, G.PlacedItemCount, 0x00FF00, 0x0000FF, G.SceneShapes, G.SceneShapeCount);
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != G.SceneShapes[i];
    EXPECT_EQ(changed, 4);  // the floor's two fills, the two closed walls' faces
    EXPECT_EQ(Word(Item(0).FloorColourShape + 6), ColourToShiftedLong(0x00FF00));
    EXPECT_EQ(Word(Item(0).FaceColourShape + 6), ColourToShiftedLong(0x00FF00));
    EXPECT_EQ(Word(Item(1).FaceColourShape + 6), ScaleColour(ColourToShiftedLong(0x0000FF), 0.75f));
    EXPECT_EQ(Word(Item(2).FaceColourShape + 6), ScaleColour(ColourToShiftedLong(0x0000FF), 0.5f));
}

TEST_F(Room, IsometricProjection)
{
    EXPECT_EQ(IsoProjectPoint(100, 100, 0, 0, 0), QPoint(173, 0));
    EXPECT_EQ(IsoProjectPoint(100, -100, 50, 10, 20), QPoint(10, -50 + 20));
    // x + y and y - x are single-precision sums: 2^24 + 1 is 2^24 there, and
    // 2^24 + 1 taken away from 0 is -2^24.
    EXPECT_EQ(IsoProjectPoint(16777216, 1, 0, 0, 0).x(), 14529495);
    EXPECT_EQ(IsoProjectPoint(16777216, -1, 0.75f, 0, 0).y(), -8388607);
    EXPECT_FLOAT_EQ(IsoX(1000, 1000), 1732.0508f);
    EXPECT_FLOAT_EQ(IsoY(1000, 0, 7), -493.0f);
    EXPECT_EQ(ComparePoints(5, 5, 0, 5), 0);
    EXPECT_EQ(ComparePoints(5, 5, 9, 5), 2);
    EXPECT_EQ(ComparePoints(5, 9, 5, 5), 1);
    EXPECT_EQ(ComparePoints(5, 5, 5, 9), 3);
}

TEST_F(Room, AWallBetweenTwoFloorsStandsOnTheLowerOne)
{
    // Two floors side by side that share the edge x = 0: a raised one 3000
    // high on the west, a low one 1000 high on the east, in either order.
    for (const bool raisedFirst : {true, false}) {
        G = SceneState();
        ShapeStream& rs = G.RoomShapes;
        int32_t& rc = G.RoomShapeCount;
        RoomRecord room;
        room.RoomListStart = rc;
        AppendQuadShape(rs, rc, 0, 0, 0, 0, 10, 8000);
        room.FloorGroupStart = rc;
        const int32_t group = AppendGroupHeader(rs, rc);
        for (const bool raised : {raisedFirst, !raisedFirst}) {
            if (raised)
                AppendQuadShape(rs, rc, 0, 3000, -10000, -10000, 0, 10000);
            else
                AppendQuadShape(rs, rc, 0, 1000, 0, -10000, 10000, 10000);
        }
        FinishRecordBounds(rs, rc, group);
        // Walls along the shared edge and along the raised floor's west edge.
        room.WallPathStart = rc;
        const int32_t path = AppendShapeHeader(rs, rc, -1, 8000);
        AppendRecordValues5(rs, rc, Shapes::kTokenMoveTo, 0, 10000);
        AppendRecordValues5(rs, rc, Shapes::kTokenLineTo, 0, -10000);
        AppendRecordValues5(rs, rc, Shapes::kTokenMoveTo, -10000, -10000);
        AppendRecordValues5(rs, rc, Shapes::kTokenLineTo, -10000, 10000);
        Box box;
        NormaliseRect(box, -10000, -10000, 10000, 10000);
        CloseShapeRecord(rs, rc, path, box);

        BuildRoomSections(room, rs, rc, ColourToShiftedLong(kWall), G.PlacedItems, G.PlacedItemCount);
        ASSERT_EQ(room.WallSectionCount, 2) << raisedFirst;
        const ItemRecord& shared = Item(room.FirstWallSection);
        EXPECT_EQ(shared.Elevation, 1000) << raisedFirst;
        EXPECT_EQ(shared.Height, 7000) << raisedFirst;
        EXPECT_EQ(Item(room.FirstWallSection + 1).Elevation, 3000) << raisedFirst;
    }
}
