// Drawing pictures and views: the calls the picture engine makes, known
// pixels of a rendered 3 x 5 x 2.5 m room in the plan, 3D and wall views,
// and scenes whose tables are broken.
#include "platform/PainterDc.h"
#include "platform/RecordingDc.h"
#include "scene/Colours.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/WindowPort.h"
#include "support/QtPrint.h"
#include "support/SampleItems.h"
#include "views/PictureEngine.h"
#include "views/ViewRender.h"

#include <QImage>
#include <QPrinter>
#include <QLocale>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <functional>
#include <random>

using namespace DrawMod;
using dorv::DcCall;
using dorv::DcOp;

namespace {
constexpr int32_t kFloor = 0x336699;   // red 0x99, green 0x66, blue 0x33
constexpr int32_t kWall = 0x608040;
constexpr int32_t kBackground = 0xFFFFFF;
constexpr int32_t kDesk = 0x2020C0;
constexpr int32_t kWindow = 0xE0A000;
constexpr int kWidth = 800, kHeight = 600;

int32_t Rgb(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16);
}
// The picture-word colour as drawn.
int32_t Drawn(int32_t word) { return Shapes::ShiftedLongToColour(word); }

struct Port : WindowPort {
    bool dims = false, wires = false;
    QSizeF CanvasSize() override { return {kWidth, kHeight}; }
    bool ShowDimensions() override { return dims; }
    bool ShowWireObjects() override { return wires; }
    // The sizes as typed: width, length, height.
    QString sizes[4] = {{}, QStringLiteral(" 3"), QStringLiteral("5"), QStringLiteral("2.5")};
    QString PlaceSizeText(int box) override { return box >= 1 && box <= 3 ? sizes[box] : QString(); }
};

class Views : public ::testing::Test {
protected:
    Port port;
    int32_t desk = -1, window = -1;

    void SetUp() override
    {
        SetWindows(&port);
        G = SceneState();
        G.FloorColour = kFloor;
        G.WallColour = kWall;
        G.BackgroundColour = kBackground;
        G.PlanScale = G.IsoScale = G.WallScale = 1.0f / 400;
        G.IsoPanX = G.IsoPanY = 0;
        G.CanvasCentreX = kWidth / 2;
        G.CanvasCentreY = kHeight / 2;
        CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 3, 5, 2.5f, kFloor, kWall);
        // A desk 100 x 50 pixels centred 100 left of and 50 below the centre
        // in the plan; a window on the north wall, its foot 50 pixels up.
        desk = Place(TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, "Home\\Desk", 40000, 20000, 30000, kDesk),
                     -40000, 20000, 0);
        window = Place(TestItems::WallItem(G.SceneShapes, G.SceneShapeCount, "Home\\Window", 40000, 40000, kWindow),
                       0, -54432 + 1000, 0);
        Item(window).Elevation = 20000;
        Order();
    }
    void TearDown() override { SetWindows(nullptr); }

    int32_t Place(ItemRecord item, float x, float y, int16_t view)
    {
        item.X = x;
        item.Y = y;
        item.ViewIndex = view;
        G.PlacedItems.resize(static_cast<size_t>(G.PlacedItemCount) + 1);
        G.PlacedItems[static_cast<size_t>(G.PlacedItemCount)] = item;
        return G.PlacedItemCount++;
    }
    ItemRecord& Item(int32_t i) { return G.PlacedItems[static_cast<size_t>(i)]; }
    void Order()
    {
        FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                      G.ViewListCount);
    }
    QImage Render(int16_t mode, int32_t wall = 0)
    {
        QImage img(kWidth, kHeight, QImage::Format_RGB32);
        img.fill(Qt::black);
        dorv::ImageDc dc(&img, 96);
        G.ViewMode = mode;
        G.WallIndex = wall;
        RenderView(mode, dc);
        return img;
    }
    // True when a pixel of `colour` lies within `radius` of (x, y).
    static bool Near(const QImage& img, int x, int y, int32_t colour, int radius = 1)
    {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (Rgb(img, x + dx, y + dy) == colour) return true;
        return false;
    }
    static int Count(const QImage& img, const QRect& area, int32_t colour)
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += Rgb(img, x, y) == colour;
        return n;
    }
};

// Records the calls of drawing one picture.
std::vector<DcCall> Record(const ShapeStream& s, int32_t count, const ItemRecord& item, int16_t colourMode,
                           std::vector<dorv::GdiObject>* undeleted = nullptr)
{
    dorv::RecordingDc dc;
    DrawItemPicture(dc, s, count, item, kPictureFromAbove, 0, 0, 0, 0, 0, 1, colourMode);
    if (undeleted) *undeleted = dc.Undeleted();
    return dc.Calls();
}
std::vector<const DcCall*> Calls(const std::vector<DcCall>& calls, DcOp op)
{
    std::vector<const DcCall*> out;
    for (const DcCall& c : calls)
        if (c.op == op) out.push_back(&c);
    return out;
}

// A one-view item whose picture from above holds the given shapes.
ItemRecord Picture(ShapeStream& s, int32_t& count, const std::vector<std::pair<int32_t, int32_t>>& colours)
{
    ItemRecord item;
    item.ShapeStart = count;
    item.ViewCount = 1;
    const int32_t g = CommonMod::AppendGroupHeader(s, count);
    int32_t k = 0;
    for (auto [fill, line] : colours) {
        CommonMod::AppendQuadShape(s, count, fill, line, k, 0, k + 10, 10);
        k += 20;
    }
    CommonMod::FinishRecordBounds(s, count, g);
    CommonMod::FinishRecordBounds(s, count, CommonMod::AppendGroupHeader(s, count));
    item.ShapeEnd = count;
    return item;
}
}  // namespace

TEST(Bezier, FlattensByTheSizeOfItsControlPolygon)
{
    std::vector<QPoint> pts;
    float step = 0;
    FlattenBezier(pts, 5, 5, 5, 5, 5, 5, 5, 5, step);
    EXPECT_EQ(pts, std::vector<QPoint>(5, QPoint(5, 5)));  // start, 1/4, 1/2, 3/4, end
    EXPECT_FLOAT_EQ(step, 0.25f);

    // Legs of 20: one root over the squares, 3 / root(1200) a step.
    pts.clear();
    step = 0;
    FlattenBezier(pts, 0, 0, 0, 20, 20, 20, 20, 0, step);
    EXPECT_NEAR(step, 3 / std::sqrt(1200.0f), 1e-6);
    EXPECT_EQ(pts.size(), 13u);  // t = step .. 0.999, with both ends
    EXPECT_EQ(pts.front(), QPoint(0, 0));
    EXPECT_EQ(pts.back(), QPoint(20, 0));

    // At most 50 pieces, at least 4.
    pts.clear();
    step = 0;
    FlattenBezier(pts, 0, 0, 0, 100, 100, 100, 100, 0, step);
    EXPECT_FLOAT_EQ(step, 0.02f);
    EXPECT_EQ(pts.size(), 51u);
    EXPECT_EQ(pts[25], QPoint(50, 75));  // t = 1/2 on the symmetric arch
    pts.clear();
    step = 0;
    FlattenBezier(pts, 0, 0, 0, 2, 2, 2, 2, 0, step);
    EXPECT_FLOAT_EQ(step, 0.25f);
    EXPECT_EQ(pts.size(), 5u);
}

TEST(PictureEngine, OnePolyPolygonAndOnePolyPolylinePerShapeAndNothingLeftBehind)
{
    ShapeStream s;
    int32_t count = 0;
    ItemRecord item = Picture(s, count, {{-256, 0}, {-1, -1}, {-1, 0x0000FF00}, {0x00FF0000, -1}});
    // A second polygon in the first shape.
    std::vector<dorv::GdiObject> undeleted;
    auto calls = Record(s, count, item, 0, &undeleted);
    EXPECT_TRUE(undeleted.empty());
    const auto polygons = Calls(calls, DcOp::PolyPolygon);
    const auto lines = Calls(calls, DcOp::PolyPolyline);
    ASSERT_EQ(polygons.size(), 2u);  // the white and the blue-filled shapes
    ASSERT_EQ(lines.size(), 2u);     // the black- and the red-lined shapes
    const auto brushes = Calls(calls, DcOp::CreateSolidBrush);
    ASSERT_EQ(brushes.size(), 2u);
    EXPECT_EQ(brushes[0]->c, 0xFFFFFF);
    EXPECT_EQ(brushes[1]->c, 0x00FF00);  // the word 0x00FF0000 is green
    // Shape coordinates: y up inside the picture, down on the device; the
    // picture's lower-left corner goes to the offset.
    EXPECT_EQ(polygons[0]->points.front(), QPoint(10, -10));
    EXPECT_EQ(polygons[0]->counts, std::vector<int32_t>{5});
    const auto pens = Calls(calls, DcOp::CreatePen);
    for (const DcCall* p : pens)
        if (p->a != dorv::PS_NULL) {
            EXPECT_EQ(p->b, 1);
        }
}

TEST(PictureEngine, GhostAndHighlightColours)
{
    ShapeStream s;
    int32_t count = 0;
    ItemRecord item = Picture(s, count, {{-256, 0}, {0x12345600, -1}, {-1, 0x0000FF00}, {-1, -1}});
    auto calls = Record(s, count, item, kGhost);
    auto brushes = Calls(calls, DcOp::CreateSolidBrush);
    ASSERT_EQ(brushes.size(), 2u);  // unfilled shapes stay unfilled
    for (const DcCall* b : brushes) EXPECT_EQ(b->c, 0xEEEEEE);
    int outlined = 0;
    for (const DcCall* p : Calls(calls, DcOp::CreatePen))
        if (p->a != dorv::PS_NULL) {
            EXPECT_EQ(p->c, 0xCCCCCC);
            ++outlined;
        }
    EXPECT_EQ(outlined, 2);  // unoutlined shapes stay unoutlined

    calls = Record(s, count, item, kHighlight);
    EXPECT_EQ(Calls(calls, DcOp::PolyPolyline).size(), 4u);  // every shape, also those without a line
    for (const DcCall* p : Calls(calls, DcOp::CreatePen))
        if (p->a != dorv::PS_NULL) {
            EXPECT_EQ(p->c, 0x0000FF);
            EXPECT_EQ(p->b, 3);
        }
    EXPECT_EQ(Calls(calls, DcOp::CreateSolidBrush).size(), 2u);  // fills unchanged
}

TEST(PictureEngine, PathsWithCurvesAndOddTokens)
{
    ShapeStream s;
    int32_t count = 0;
    ItemRecord item;
    item.ShapeStart = 0;
    item.ViewCount = 1;
    const int32_t g = CommonMod::AppendGroupHeader(s, count);
    const int32_t sh = CommonMod::AppendShapeHeader(s, count, -256, 0);
    // A line-to before any move-to draws nothing; 99 is one word of nothing;
    // two polygons, the second with a curve whose points coincide.
    for (int32_t w : {8, 50, 50, 2, 0, 0, 99, 8, 10, 0, 5, 2, 20, 20, 6, 20, 20, 20, 20, 20, 20})
        s.push_back(w), ++count;
    CommonMod::Box box{0, 0, 20, 20};
    CommonMod::CloseShapeRecord(s, count, sh, box);
    CommonMod::FinishRecordBounds(s, count, g);
    item.ShapeEnd = count;

    auto calls = Record(s, count, item, 0);
    const auto polygons = Calls(calls, DcOp::PolyPolygon);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0]->counts, (std::vector<int32_t>{3, 6}));
    EXPECT_EQ(polygons[0]->points[2], QPoint(0, 0));  // the close repeats the start
    for (int k = 3; k < 9; ++k) EXPECT_EQ(polygons[0]->points[static_cast<size_t>(k)], QPoint(20, -20));
}

TEST(PictureEngine, FittingAPictureIntoABox)
{
    float s = 0, mx = 0, my = 0;
    ASSERT_TRUE(FitPictureInBox(200, 100, 50, 50, s, mx, my));
    EXPECT_FLOAT_EQ(s, 0.25f);  // width decides; centred vertically
    EXPECT_FLOAT_EQ(mx, 0);
    EXPECT_FLOAT_EQ(my, 12.5f);
    ASSERT_TRUE(FitPictureInBox(100, 200, 50, 50, s, mx, my));
    EXPECT_FLOAT_EQ(mx, 12.5f);
    ASSERT_TRUE(FitPictureInBox(100, 0, 50, 50, s, mx, my));  // a flat picture fits by its width
    EXPECT_FLOAT_EQ(s, 0.5f);
    EXPECT_FLOAT_EQ(my, 25);
    EXPECT_FALSE(FitPictureInBox(0, 0, 50, 50, s, mx, my));
    EXPECT_FALSE(FitPictureInBox(10, 10, 0, 0, s, mx, my));

    // Drawn into the box at (10, 20) - (60, 70): boxY is the negated bottom.
    ShapeStream st;
    int32_t count = 0;
    ItemRecord item = Picture(st, count, {{-256, -1}});
    dorv::RecordingDc dc;
    DrawItemIcon(dc, st, count, item, kPictureFromAbove, 0, 10, -70, 50, 50, 0);
    const auto polygons = Calls(dc.Calls(), DcOp::PolyPolygon);
    ASSERT_EQ(polygons.size(), 1u);
    QRect r;
    for (const QPoint& p : polygons[0]->points) r |= QRect(p, QSize(1, 1));
    EXPECT_EQ(r, QRect(QPoint(10, 20), QPoint(60, 70)));
}

TEST(PictureEngine, AnIconOfAViewBeyondTheCountDrawsTheViewItMeasures)
{
    // A rotation index past the item's views (from a damaged scene) is
    // counted round, for drawing as for measuring: view 5 of four is view 1,
    // turned a quarter, 20000 wide and 40000 deep. Another item follows in
    // the table, whose pictures must not be taken instead.
    ShapeStream st;
    int32_t count = 0;
    ItemRecord item = TestItems::BoxItem(st, count, "Home\\Desk", 40000, 20000, 30000, 0x2020C0);
    TestItems::BoxItem(st, count, "Home\\Cube", 1000, 1000, 1000, 0x00FF00);
    item.ViewIndex = 5;
    dorv::RecordingDc dc;
    DrawItemIcon(dc, st, count, item, kPictureFromAbove, -1, 0, -100, 100, 100, 0);
    const auto polygons = Calls(dc.Calls(), DcOp::PolyPolygon);
    ASSERT_FALSE(polygons.empty());
    QRect r;
    for (const QPoint& p : polygons[0]->points) r |= QRect(p, QSize(1, 1));
    EXPECT_EQ(r, QRect(QPoint(25, 0), QPoint(75, 100)));
    const auto brushes = Calls(dc.Calls(), DcOp::CreateSolidBrush);
    ASSERT_FALSE(brushes.empty());
    EXPECT_EQ(brushes[0]->c, 0x2020C0);
}

TEST_F(Views, PlanOfTheRoom)
{
    Item(desk).ViewIndex = 0;
    const QImage img = Render(0);
    EXPECT_EQ(Rgb(img, 400, 300), kFloor);
    EXPECT_EQ(Rgb(img, 180, 170), kFloor);
    EXPECT_EQ(Rgb(img, 620, 430), kFloor);
    EXPECT_EQ(Rgb(img, 168, 300), kBackground);  // the floor spans 173 .. 627
    EXPECT_EQ(Rgb(img, 632, 300), kBackground);
    EXPECT_EQ(Rgb(img, 400, 158), kBackground);  // and 164 .. 436
    EXPECT_EQ(Rgb(img, 400, 442), kBackground);
    EXPECT_EQ(Rgb(img, 300, 350), kDesk);
    EXPECT_EQ(Rgb(img, 255, 330), kDesk);
    EXPECT_EQ(Rgb(img, 245, 350), kFloor);
    // Turned a quarter, the desk is 50 wide and 100 deep.
    Item(desk).ViewIndex = 1;
    const QImage turned = Render(0);
    EXPECT_EQ(Rgb(turned, 300, 390), kDesk);
    EXPECT_EQ(Rgb(turned, 255, 350), kFloor);
}

TEST_F(Views, SelectionFrameIsDrawnWithXorRightAfterItsItem)
{
    const int32_t framed = kFloor ^ 0xFFFF00;
    const int32_t frameX = 300 - 50 - 2;  // two pixels left of the picture
    G.SelectedItem = desk;
    QImage img = Render(0);
    EXPECT_TRUE(Near(img, frameX, 350, framed));
    EXPECT_TRUE(Near(img, 300, 375 + 4, framed));  // four below

    // Exactly 2 pixels beyond the picture on the left and top, 4 on the
    // right and bottom, 4 pixels wide.
    {
        dorv::RecordingDc dc;
        float w = 0, h = 0;
        GetItemPictureSize(Item(desk), kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 0.5f, w, h);
        DrawSelectionFrame(dc, Item(desk), G.SceneShapes, G.SceneShapeCount, 100, 200, 10, 20, 0, 0, 0.5f);
        const auto frames = Calls(dc.Calls(), DcOp::Polyline);
        ASSERT_EQ(frames.size(), 1u);
        const int left = 110, bottom = 220, right = dorv::RoundHalfEven(110 + w), top = dorv::RoundHalfEven(220 - h);
        const std::vector<QPoint> corners = {{left - 2, bottom + 4}, {right + 4, bottom + 4}, {right + 4, top - 2},
                                             {left - 2, top - 2}, {left - 2, bottom + 4}};
        EXPECT_EQ(frames[0]->points, corners);
        const auto pens = Calls(dc.Calls(), DcOp::CreatePen);
        ASSERT_EQ(pens.size(), 1u);
        EXPECT_EQ(pens[0]->b, 4);
    }

    // Drawing it again removes it.
    {
        dorv::ImageDc dc(&img, 96);
        float w = 0, h = 0;
        GetItemPictureSize(Item(desk), kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1, w, h);
        const float s = G.PlanScale;
        DrawSelectionFrame(dc, Item(desk), G.SceneShapes, G.SceneShapeCount, (Item(desk).X - w / 2) * s,
                           -(-Item(desk).Y - h / 2) * s, 400, 300, 0, 0, s);
    }
    G.SelectedItem = -1;
    EXPECT_EQ(img, Render(0));

    // No frame while the item is dragged; an item drawn later covers it.
    G.SelectedItem = desk;
    G.DragItem = desk;
    EXPECT_EQ(Count(Render(0), QRect(240, 310, 130, 80), framed), 0);
    G.DragItem = -1;
    Place(TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, "Home\\Rug", 60000, 40000, 100, 0x00FF00), -40000,
          20000, 0);
    EXPECT_EQ(Count(Render(0), QRect(240, 310, 130, 80), framed), 0);
}

TEST_F(Views, IsometricViewOfTheRoom)
{
    // Out of the way: the desk's place in 3D is tested apart.
    Item(desk).X = -60000;
    Item(desk).Y = -30000;
    Order();
    QImage img = Render(1);
    EXPECT_EQ(Rgb(img, 400, 300), kFloor);  // the floor's centre at the origin
    float north = 0;
    const int32_t wall = CommonMod::ColourToShiftedLong(kWall);
    CommonMod::ShadeColourByAngle(54432, 54432, -54432, 54432, wall, north);
    EXPECT_EQ(Rgb(img, 669, 206), Drawn(CommonMod::ScaleColour(wall, north)));  // the north wall, half way up
    EXPECT_EQ(Rgb(img, 204, 80), Drawn(CommonMod::ScaleColour(wall, 0.5f)));    // the west wall
    EXPECT_EQ(Rgb(img, 282, 255), kFloor);  // seen through the open south wall
    EXPECT_EQ(Rgb(img, 400, 560), kBackground);
    // The near edges only with the dimensions shown.
    EXPECT_FALSE(Near(img, 479, 370, 0));
    port.dims = true;
    img = Render(1);
    EXPECT_TRUE(Near(img, 479, 370, 0));
    // A pan moves everything by 512-unit steps.
    G.IsoPanX = 10;
    img = Render(1);
    EXPECT_EQ(Rgb(img, 400 + 13, 300), kFloor);
}

TEST_F(Views, ItemsStandOnTheirPlaceIn3D)
{
    // The desk's top face: the isometric image of its centre at its height.
    const QImage img = Render(1);
    const double x = -40000, y = -20000, z = 30000;  // plan Y is south-positive
    const int px = static_cast<int>(400 + (x + y) * CommonMod::kIsoCos / 400);
    const int py = static_cast<int>(300 - ((y - x) * 0.5 + z) / 400);
    EXPECT_EQ(Rgb(img, px, py), kDesk);
    // Standing on something, it rises by that height.
    Item(desk).Elevation = 8000;
    Order();
    EXPECT_EQ(Rgb(Render(1), px, py - 20), kDesk);
}

TEST_F(Views, OneItemAloneForItsSnapshot)
{
    // As the copy of one placed item draws it: that item, no frame, no room.
    G.SelectedItem = desk;
    for (int16_t mode : {0, 1}) {
        QImage img(kWidth, kHeight, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            dorv::ImageDc dc(&img, 96);
            G.ViewMode = mode;
            ViewDrawing v = SceneViewDrawing(dc, 400, 300, 0);
            v.singleItem = true;
            port.dims = true;
            DrawCurrentView(v);
        }
        SCOPED_TRACE(mode);
        EXPECT_EQ(Rgb(img, 400, 300), kBackground);  // no floor
        EXPECT_EQ(Count(img, img.rect(), kFloor ^ 0xFFFF00), 0);
        // The desk itself, in 3D also when its place in the ordered list is
        // not its index among the placed items.
        EXPECT_EQ(mode == 0 ? Rgb(img, 300, 350) : Rgb(img, 270, 200), kDesk);
    }
    // In the wall view the window alone, where the wall view shows it: no
    // wall, no frame, no room picture, no wire frames.
    G.SelectedItem = window;
    port.wires = true;
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        dorv::ImageDc dc(&img, 96);
        G.ViewMode = 2;
        G.WallIndex = 0;
        ViewDrawing v = SceneViewDrawing(dc, 400, 300, 0);
        v.singleItem = true;
        DrawCurrentView(v);
    }
    EXPECT_EQ(Rgb(img, 355, 300), kWindow);
    EXPECT_EQ(Count(img, img.rect(), kWall), 0);
    EXPECT_EQ(Count(img, img.rect(), kWall ^ 0xFFFF00), 0);
    EXPECT_EQ(Count(img, img.rect(), 0x0000FF), 0);
    EXPECT_EQ(Count(img, QRect(200, 330, 140, 60), 0), 0);
}

TEST_F(Views, WallViewOfTheNorthWall)
{
    const QImage img = Render(2, 0);
    EXPECT_EQ(Rgb(img, 400, 200), kWall);
    EXPECT_EQ(Rgb(img, 180, 400), kWall);
    EXPECT_EQ(Rgb(img, 400, 433), kFloor);  // the floor strip, 40 pixels deep
    EXPECT_EQ(Rgb(img, 150, 300), CommonMod::BrightenColour(kWall, 1.4f));
    EXPECT_EQ(Rgb(img, 650, 300), CommonMod::BrightenColour(kWall, 1.4f));
    EXPECT_EQ(Rgb(img, 400, 413), 0);  // the floor line
    EXPECT_EQ(Rgb(img, 400, 470), kBackground);
    // The window's front: 100 pixels wide, its foot 50 pixels above the floor.
    EXPECT_EQ(Rgb(img, 355, 300), kWindow);
    EXPECT_EQ(Rgb(img, 400, 313), 0xFFFFFF);
    EXPECT_EQ(Rgb(img, 345, 300), kWall);
    EXPECT_EQ(Rgb(img, 400, 368), kWall);
    // The locator outlines this wall in red.
    EXPECT_GT(Count(img, QRect(0, 0, 260, 200), 0x0000FF), 20);
    // The desk is no wall item: shown only as a wire frame.
    EXPECT_EQ(Count(img, QRect(200, 370, 140, 40), 0), 0);
    port.wires = true;
    const QImage wired = Render(2, 0);
    EXPECT_TRUE(Near(wired, 250, 380, 0));  // its left edge, from x - 50
    EXPECT_TRUE(Near(wired, 300, 338, 0));  // its top, 75 pixels up
    EXPECT_GT(Count(wired, QRect(270, 340, 60, 20), 0), 10);  // its name
}

TEST_F(Views, OtherWallsAreMirroredWhereTheyShouldBe)
{
    Item(window).ViewIndex = 2;  // on the south wall now
    Item(window).X = 40000;      // east of the centre
    Item(window).Y = 54432 - 1000;
    // Seen from inside, the east lies to the left on the south wall.
    QImage img = Render(2, 2);
    EXPECT_EQ(Rgb(img, 255, 300), kWindow);
    EXPECT_EQ(Rgb(img, 545, 300), kWall);
    EXPECT_GT(Count(img, QRect(0, 0, 260, 200), 0x0000FF), 20);
    // The north wall shows it no more.
    img = Render(2, 0);
    EXPECT_EQ(Count(img, QRect(300, 250, 200, 120), kWindow), 0);
    // Seen from inside, the south lies to the left on the west wall and to
    // the right on the east wall: 75 pixels from the middle.
    Item(window).Y = 30000;
    Item(window).ViewIndex = 1;
    Item(window).X = -90720 + 1000;
    img = Render(2, 1);
    EXPECT_EQ(Rgb(img, 325 - 45, 300), kWindow);
    EXPECT_EQ(Rgb(img, 475 - 45, 300), kWall);
    Item(window).ViewIndex = 3;
    Item(window).X = 90720 - 1000;
    img = Render(2, 3);
    EXPECT_EQ(Rgb(img, 475 - 45, 300), kWindow);
    EXPECT_EQ(Rgb(img, 325 - 45, 300), kWall);
    // A wall view of a room without walls draws nothing at all.
    G = SceneState();
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 3, 5, 0, kFloor, kWall);
    img = Render(2, 0);
    EXPECT_EQ(Count(img, img.rect(), kBackground), kWidth * kHeight);
}

namespace {

// The box of the pixels of `colour`, or of every pixel that is not `colour`
// when `other` is set.
QRect InkBox(const QImage& img, int32_t colour, bool other = false)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((Rgb(img, x, y) == colour) != other) box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

TEST_F(Views, TheRoomPictureOfTheWallViewLiesInsideTheCanvas)
{
    // The room's picture stands in the upper left corner, placed from the
    // centre's x alone, and the wall view draws nothing else there.
    auto roomPicture = [&](float centreX, float centreY) {
        QImage img(kWidth, kHeight, QImage::Format_RGB32);
        img.fill(Qt::white);
        dorv::ImageDc dc(&img, 96);
        DrawWallView(dc, 0, G.Room, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, centreX,
                     centreY, 1.0f / 4000, 0, -1, -1, false);
        return InkBox(img.copy(0, 0, kWidth / 2 - 20, kHeight / 2 - 20), 0xFFFFFF, true);
    };
    // A canvas 600 pixels wide would put its top 6 pixels above the canvas.
    const QRect map = roomPicture(300, 300);
    ASSERT_FALSE(map.isEmpty());
    EXPECT_GT(map.top(), 0) << "cut at the top";
    EXPECT_GT(map.left(), 0) << "cut at the left";
    EXPECT_NEAR(map.width(), 150, 10);
    // Room to spare: the picture stays where the centre's x puts it.
    const QRect wide = roomPicture(700, 300);
    EXPECT_EQ(roomPicture(700, 200), wide);
    EXPECT_EQ(roomPicture(700, 280), wide);
    // At (0.2, 0.25) times the centre's x: 140, 175.
    EXPECT_NEAR(wide.left(), 140 - 71, 3);
    EXPECT_NEAR(wide.top(), 175 - 94, 3);
}

TEST_F(Views, TheRoomPictureOfAVerySmallPlaceKeepsItsSize)
{
    // A place 1 cm across with a bench 1.5 m long in it.
    G = SceneState();
    G.WallScale = 1.0f / 400;
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 0.01f, 0.01f, 2.0f, kFloor, kWall);
    Place(TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, "Garden\\Bench", 54432, 18000, 16000, kDesk), 0, 0,
          0);
    Order();
    // The room's picture, with the bench, is 150 pixels wide; nothing else
    // is drawn but the wall, too small to see.
    const QRect map = InkBox(Render(2, 0), 0xFFFFFF, true);
    EXPECT_LE(map.width(), 160);
    EXPECT_LE(map.height(), 300);
}

TEST_F(Views, WallItemFrameAndDragInTheWallView)
{
    // The selected window is framed with XOR; not while a wall drag runs.
    const int32_t framed = kWall ^ 0xFFFF00;
    const QRect around(330, 240, 140, 140);
    G.SelectedItem = window;
    EXPECT_GT(Count(Render(2, 0), around, framed), 100);
    G.WallDragItem = window;
    EXPECT_EQ(Count(Render(2, 0), around, framed), 0);
    G.WallDragItem = -1;

    // Dragged in from the palette, the newest item hangs WallDragOffset
    // below the floor line: 20000 units, 50 pixels, its foot at 463.
    G.SelectedItem = -1;
    G.WallDragOffset = 20000;
    QImage img = Render(2, 0);
    EXPECT_EQ(Rgb(img, 355, 400), kWindow);
    EXPECT_EQ(Rgb(img, 355, 300), kWall);
    // Only the newest item follows it.
    Place(TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, "Home\\Box", 1000, 1000, 1000, 0x00FF00), 0, 0, 0);
    img = Render(2, 0);
    EXPECT_EQ(Rgb(img, 355, 300), kWindow);
    G.WallDragOffset = 0;
}

TEST_F(Views, AFlatRoomIn3DHasNoEdges)
{
    G = SceneState();
    G.IsoScale = 1.0f / 400;
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 3, 5, 0, kFloor, kWall);
    Order();
    port.dims = true;
    G.ViewMode = 1;
    dorv::RecordingDc dc;
    DrawCurrentView(SceneViewDrawing(dc, 400, 300, 600));
    EXPECT_FALSE(Calls(dc.Calls(), DcOp::PolyPolygon).empty());  // the floor
    // The width and length lines, but no height line and no edges: every
    // line belongs to a dimension (two pieces and two arrowheads each).
    EXPECT_EQ(Calls(dc.Calls(), DcOp::TextOut).size(), 2u);
    EXPECT_EQ(Calls(dc.Calls(), DcOp::LineTo).size(), 2u * (2 + 6));
    EXPECT_TRUE(dc.Undeleted().empty());
}

TEST_F(Views, DimensionLinesCarryTheTypedSizesInEveryView)
{
    G.UnitText = QStringLiteral(" metres");
    auto labels = [&](int16_t mode, int32_t wall = 0, bool single = false) {
        dorv::RecordingDc dc;
        G.ViewMode = mode;
        G.WallIndex = wall;
        ViewDrawing v = SceneViewDrawing(dc, 400, 300, 600);
        v.singleItem = single;
        DrawCurrentView(v);
        QStringList texts;
        for (const DcCall* c : Calls(dc.Calls(), DcOp::TextOut)) texts << c->text;
        EXPECT_TRUE(dc.Undeleted().empty());
        return texts;
    };
    EXPECT_TRUE(labels(0).isEmpty());  // only while they are shown
    port.dims = true;
    EXPECT_EQ(labels(0), QStringList({"3.0 metres", "5.0 metres"}));
    EXPECT_EQ(labels(1), QStringList({"3.0 metres", "5.0 metres", "2.5 metres"}));
    // North and south run along the length, west and east along the width;
    // the wall's name (here the message key: no messages are loaded) above.
    EXPECT_EQ(labels(2, 0), QStringList({"2.5 metres", "5.0 metres", "lang_NorthWall"}));
    EXPECT_EQ(labels(2, 1), QStringList({"2.5 metres", "3.0 metres", "lang_WestWall"}));
    EXPECT_EQ(labels(2, 2), QStringList({"2.5 metres", "5.0 metres", "lang_SouthWall"}));
    EXPECT_EQ(labels(2, 3), QStringList({"2.5 metres", "3.0 metres", "lang_EastWall"}));
    // One item alone has none.
    G.SelectedItem = desk;
    EXPECT_TRUE(labels(0, 0, true).isEmpty());
    EXPECT_TRUE(labels(1, 0, true).isEmpty());
    // A size that is no number is written as typed; halves round away from
    // zero, as typed (4.35 is stored a little below 4.35).
    port.sizes[1] = QStringLiteral("wide");
    port.sizes[2] = QStringLiteral("4.25");
    EXPECT_EQ(labels(0), QStringList({"wide metres", "4.3 metres"}));
    port.sizes[1] = QStringLiteral("-4.25");
    port.sizes[2] = QStringLiteral("4.35");
    EXPECT_EQ(labels(0), QStringList({"-4.3 metres", "4.4 metres"}));
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    port.sizes[1] = QStringLiteral("4,25");
    EXPECT_EQ(labels(0), QStringList({"4,3 metres", "4,4 metres"}));
    QLocale::setDefault(before);
    port.sizes[1] = QStringLiteral("3");
    port.sizes[2] = QStringLiteral("5");

    // In the plan: the width line 25.6 pixels left of the floor (which
    // spans 173 .. 627 by 164 .. 436), drawn 5 pixels further out, and the
    // length line below it.
    const QImage img = Render(0);
    EXPECT_EQ(Rgb(img, 143, 200), 0);
    EXPECT_EQ(Rgb(img, 150, 200), kBackground);
    EXPECT_EQ(Rgb(img, 250, 467), 0);
    EXPECT_EQ(Rgb(img, 250, 460), kBackground);
}

TEST_F(Views, WallRecordAndScales)
{
    WallViewRecord r;
    const int16_t sides[] = {0, 1, 2, 3};
    for (int w = 0; w < 4; ++w) {
        ASSERT_TRUE(GetWallViewRecord(r, w, G.Room, G.PlacedItems, G.PlacedItemCount, G.SceneShapes,
                                      G.SceneShapeCount));
        EXPECT_EQ(r.Side, sides[w]);
        EXPECT_EQ(r.Height, 90720);
        EXPECT_EQ(r.Length, w % 2 == 0 ? 181440 : 108864);
    }
    EXPECT_EQ(r.CentreX, 90720);
    EXPECT_EQ(r.CentreY, 0);
    EXPECT_FALSE(GetWallViewRecord(r, 4, G.Room, G.PlacedItems, G.PlacedItemCount, G.SceneShapes,
                                   G.SceneShapeCount));

    QImage img(10, 10, QImage::Format_RGB32);
    dorv::ImageDc dc(&img, 96);
    EXPECT_EQ(GetPrintScale(dc), 1.0f);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir::temp().filePath("dorv-print-scale.pdf"));
    dorv::PrinterDc paper(&printer);
    EXPECT_FLOAT_EQ(GetPrintScale(paper), printer.resolution() / 96.0f);
    paper.EndDoc();
    QFile::remove(printer.outputFileName());
}

TEST(Gradient, RunsFromTopColourToBottomColourInBands)
{
    QImage img(40, 100, QImage::Format_RGB32);
    img.fill(Qt::black);
    {
        dorv::ImageDc dc(&img, 96);
        DrawGradientRect(dc, 0x0000FF, 0xFF0000, 0, 0, 40, 100, 0);
    }
    EXPECT_EQ(Rgb(img, 0, 0), 0x0000FF);
    EXPECT_EQ(Rgb(img, 39, 3), 0x0000FF);         // one band of 4 rows
    EXPECT_EQ(Rgb(img, 20, 4), 0x0A00F5);         // the next: 4/100 of the way
    EXPECT_EQ(Rgb(img, 20, 99), 0xF4000A);        // the last band, from row 96

    // The channels step in single precision: after 306 rows of this long
    // gradient the red channel stands just below 102.5 and rounds down.
    QImage tall(1, 925, QImage::Format_RGB32);
    {
        dorv::ImageDc dc(&tall, 96);
        DrawGradientRect(dc, 0xC1F425, 0x4780EB, 0, 0, 1, 925, 1);
    }
    EXPECT_EQ(Rgb(tall, 0, 306), 0x98CD66);

    dorv::RecordingDc dc;
    DrawGradientRect(dc, 0, 0xFFFFFF, 0, 10, 10, 10, 4);  // no height: nothing
    EXPECT_TRUE(dc.Calls().empty());
    int32_t top = 5, bottom = 5;  // equal: the whole client area
    PaintFormBackground(dc, 40, 100, 0, 0xFFFFFF, top, bottom, 10);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(bottom, 100);
    EXPECT_EQ(Calls(dc.Calls(), DcOp::Rectangle).size(), 10u);
    EXPECT_TRUE(dc.Undeleted().empty());
}

TEST_F(Views, BrokenTablesDrawWithoutCrashing)
{
    // Good items to look for afterwards: the desk.
    ItemRecord bad = Item(desk);
    const std::vector<std::function<void(ItemRecord&)>> breaks = {
        [](ItemRecord& i) { i.ShapeStart = -100; },
        [](ItemRecord& i) { i.ShapeStart = 1 << 30; },
        [](ItemRecord& i) { i.ShapeStart = G.SceneShapeCount - 3; },
        [](ItemRecord& i) { i.ViewCount = 0; i.ViewIndex = 7; },
        [](ItemRecord& i) { i.ViewCount = -3; i.ViewIndex = -2; },
        [](ItemRecord& i) { i.ViewIndex = 30000; },
        [](ItemRecord& i) { i.Flags = kItemOnWall; i.ViewIndex = 0; i.ViewCount = 0; },
    };
    for (const auto& b : breaks) {
        ItemRecord item = bad;
        b(item);
        Place(item, -40000, 20000, item.ViewIndex);
    }
    Order();
    G.SelectedItem = G.PlacedItemCount - 1;
    EXPECT_EQ(Rgb(Render(0), 300, 350), kDesk);
    Render(1);
    Render(2);

    // Counts beyond the arrays, and room indexes beyond the items.
    G.SceneShapeCount += 1000;
    G.PlacedItemCount += 50;
    G.ViewListCount += 50;
    G.Room.FirstWallSection = 3;
    G.Room.WallSectionCount = 1000;
    G.Room.FirstRealItem = -4;
    for (int16_t mode : {0, 1, 2})
        for (int32_t wall : {0, 3, 900, -7}) Render(mode, wall);
    G.Room.FirstWallSection = 1 << 30;
    Render(2, 5);

    // Words of the scene's pictures overwritten at random.
    SetUp();
    const ShapeStream good = G.SceneShapes;
    std::mt19937 random(7);
    for (int round = 0; round < 150; ++round) {
        G.SceneShapes = good;
        for (int k = 0; k < 20; ++k) {
            const size_t at = random() % good.size();
            const int32_t values[] = {0, -1, 1, 2, 5, 6, 8, 36, 1 << 30, -(1 << 30), static_cast<int32_t>(random())};
            G.SceneShapes[at] = values[random() % 11];
        }
        const int16_t mode = static_cast<int16_t>(round % 3);
        QImage img(64, 48, QImage::Format_RGB32);
        dorv::ImageDc dc(&img, 96);
        G.ViewMode = mode;
        G.WallIndex = round % 4;
        DrawCurrentView(SceneViewDrawing(dc, 32, 24, 48));
    }
}
