// The item palette: its cells as painted (pixels and recorded calls), its
// height, the cell under a point; the canvas hit tests of the plan and of the
// wall view; and the palette in the main window as a child uses it: the
// group of a new place, the item panel, the turn button, the scroll bar,
// greying out.
#include "app/Main.h"
#include "app/frmChangePrice.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/PainterDc.h"
#include "platform/RecordingDc.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "scene/WindowPort.h"
#include "support/ItemFiles.h"
#include "support/NewPlaceScript.h"
#include "support/QtPrint.h"
#include "support/SampleItems.h"
#include "support/TempDir.h"
#include "support/TestDialogs.h"
#include "support/WaitFor.h"
#include "views/Palette.h"
#include "views/PictureEngine.h"
#include "views/ViewRender.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace DrawMod;
using dorv::DcCall;
using dorv::DcOp;

namespace {
constexpr int32_t kRed = 0x2020C0;
constexpr int32_t kGreen = 0x20A020;
constexpr int32_t kBlue = 0xC02020;
constexpr int32_t kFrame = 0xCCCCCC;
constexpr int kWidth = 160, kHeight = 400;

int32_t Rgb(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16);
}

std::vector<const DcCall*> Calls(const std::vector<DcCall>& calls, DcOp op)
{
    std::vector<const DcCall*> out;
    for (const DcCall& c : calls)
        if (c.op == op) out.push_back(&c);
    return out;
}

class Palette : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = SceneState();
        G.PlanScale = G.IsoScale = G.WallScale = 1.0f / 400;
        // At 1/400: a desk 100 x 50 pixels (cell 127), a shelf 20 x 60
        // (cell 87), a bin 40 x 40 (cell 67).
        Add(TestItems::BoxItem(G.CatalogueShapes, G.CatalogueShapeCount, "Home\\Desk", 40000, 20000, 30000, kRed));
        Add(TestItems::BoxItem(G.CatalogueShapes, G.CatalogueShapeCount, "Home\\Shelf", 8000, 24000, 60000, kGreen));
        Add(TestItems::BoxItem(G.CatalogueShapes, G.CatalogueShapeCount, "Home\\Bin", 16000, 16000, 16000, kBlue));
    }
    void Add(const ItemRecord& item)
    {
        G.Palette.push_back(item);
        G.PaletteCount = static_cast<int32_t>(G.Palette.size());
    }
    QImage Paint(int32_t vScroll, int height = kHeight)
    {
        QImage img(kWidth, height, QImage::Format_RGB32);
        img.fill(Qt::white);
        dorv::ImageDc dc(&img, 96);
        DrawItemPalette(dc, G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount, 0, vScroll, kWidth,
                        float(height));
        return img;
    }
    std::vector<DcCall> Record(int32_t vScroll, int height = kHeight)
    {
        dorv::RecordingDc dc;
        DrawItemPalette(dc, G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount, 0, vScroll, kWidth,
                        float(height));
        EXPECT_TRUE(dc.Undeleted().empty());
        return dc.Calls();
    }
    int32_t Hit(int32_t py, CellRect& rect, int32_t vScroll = 0)
    {
        return HitTestItemPalette(0, py, G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount, 0,
                                  vScroll, kWidth, kHeight, rect);
    }
    static QStringList Names(const std::vector<DcCall>& calls)
    {
        QStringList names;
        for (const DcCall* c : Calls(calls, DcOp::TextOut)) names << c->text;
        return names;
    }
};

TEST_F(Palette, EmptyPaletteDrawsNothingMeasuresNothingAndHitsTheFirstCell)
{
    G.Palette.clear();
    G.PaletteCount = 0;
    EXPECT_TRUE(Record(0).empty());
    EXPECT_EQ(MeasureItemListHeight(G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount), 0);
    CellRect rect{1, 2, 3, 4};
    EXPECT_EQ(Hit(50, rect), 0);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.bottom, 4);
    // A count beyond what the array holds is not read past its end.
    G.PaletteCount = 5;
    EXPECT_TRUE(Record(0).empty());
}

TEST_F(Palette, CellsStackFromAboveTheTopAndTheHeightCountsThemAll)
{
    EXPECT_EQ(MeasureItemListHeight(G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount),
              127 + 87 + 67 + 27);
    // Cells: -20 .. 107, 107 .. 194, 194 .. 261.
    CellRect rect;
    EXPECT_EQ(Hit(0, rect), 0);  // the first 20 content pixels belong to the first cell
    EXPECT_EQ(Hit(106, rect), 0);
    EXPECT_EQ(Hit(107, rect), 1);
    EXPECT_EQ(Hit(193, rect), 1);
    EXPECT_EQ(Hit(194, rect), 2);
    EXPECT_EQ(Hit(260, rect), 2);
    // The picture's box of the bin: 40 x 40 centred across 160, around the
    // middle of its 67-pixel cell below the 27-pixel margin.
    EXPECT_EQ(rect.left, 60);
    EXPECT_EQ(rect.right, 100);
    EXPECT_EQ(rect.top, 194 + 47 - 20);
    EXPECT_EQ(rect.bottom, 194 + 47 + 20);
    // Below the last cell: 0, and the rectangle stays as it was.
    const CellRect before = rect;
    EXPECT_EQ(Hit(261, rect), 0);
    EXPECT_EQ(rect.top, before.top);
    EXPECT_EQ(rect.left, before.left);
    // Scrolled, the box is given in window pixels.
    EXPECT_EQ(Hit(210, rect, 100), 2);
    EXPECT_EQ(rect.top, before.top - 100);
}

TEST_F(Palette, EachCellShowsItsPictureFrameAndName)
{
    const QImage img = Paint(0);
    // The desk, 100 x 50, sits in the middle of a 100 x 100 square that
    // starts 27 below its cell's top (-20): rows 32 to 81, columns 30 to 129.
    EXPECT_EQ(Rgb(img, 80, 57), kRed);
    EXPECT_EQ(Rgb(img, 35, 36), kRed);
    EXPECT_EQ(Rgb(img, 80, 28), 0xFFFFFF);  // above the picture
    EXPECT_EQ(Rgb(img, 80, 86), 0xFFFFFF);  // below it
    // The shelf, 20 x 60, is taller than wide: it starts 27 below its top.
    EXPECT_EQ(Rgb(img, 80, 107 + 27 + 30), kGreen);
    EXPECT_EQ(Rgb(img, 65, 107 + 27 + 30), 0xFFFFFF);
    // The frames: from x 2 to width - 2, 22 below each cell's top to 19
    // below its end.
    EXPECT_EQ(Rgb(img, 80, 2), kFrame);
    EXPECT_EQ(Rgb(img, 2, 50), kFrame);
    EXPECT_EQ(Rgb(img, 158, 50), kFrame);
    EXPECT_EQ(Rgb(img, 80, 107 + 22), kFrame);

    const std::vector<DcCall> calls = Record(0);
    const auto texts = Calls(calls, DcOp::TextOut);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0]->text, "Desk");
    EXPECT_EQ(texts[0]->b, -20 + 127 + 2);
    EXPECT_EQ(texts[1]->text, "Shelf");
    EXPECT_EQ(texts[1]->b, 107 + 87 + 2);
    EXPECT_EQ(texts[2]->b, 194 + 67 + 2);
    // Names are centred: the text starts half its width left of the middle.
    dorv::RecordingDc measure;
    const dorv::GdiObject font = dorv::CreateFontA(-dorv::MulDiv(10, 96, 72), 0, 0, 400, "Arial");
    measure.SelectObject(font);
    const int tw = measure.GetTextExtentPoint32A("Shelf").width();
    EXPECT_NEAR(texts[1]->a, 80 - tw / 2, 1);
    // The font is 10-point regular Arial, selected back out and deleted.
    const auto fonts = Calls(calls, DcOp::CreateFont);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(dorv::DescribeGdiObject(font).face, "Arial");
    measure.SelectObject(0);
    dorv::DeleteObject(font);
}

TEST_F(Palette, ScrolledPaletteSkipsCellsAboveAndStopsOnceTheWindowIsFull)
{
    // Scrolled by 110 content pixels, the desk's cell (ending at 107) is
    // passed over; the shelf's cell starts 3 pixels above the window.
    std::vector<DcCall> calls = Record(110);
    EXPECT_EQ(Names(calls), QStringList({"Shelf", "Bin"}));
    EXPECT_EQ(Calls(calls, DcOp::TextOut)[0]->b, 107 - 110 + 87 + 2);
    // A window 150 pixels high is filled by the desk's cell and the shelf's,
    // which runs past its foot: the bin is not drawn.
    calls = Record(0, 150);
    EXPECT_EQ(Names(calls), QStringList({"Desk", "Shelf"}));

    const QImage img = Paint(110);
    EXPECT_EQ(Rgb(img, 80, 107 - 110 + 27 + 30), kGreen);
}

TEST_F(Palette, DisabledPaletteDrawsGhostsWithoutNamesAndKeepsTheFrames)
{
    G.PaletteDisabled = true;
    const std::vector<DcCall> calls = Record(0);
    EXPECT_TRUE(Calls(calls, DcOp::TextOut).empty());
    const QImage img = Paint(0);
    const int32_t ghost = Rgb(img, 80, 57);
    EXPECT_NE(ghost, kRed);
    EXPECT_EQ(ghost, 0xEEEEEE);
    EXPECT_EQ(Rgb(img, 80, 2), kFrame);
}

TEST_F(Palette, TheViewOfAnEntryIsTheOneItWillBeDroppedIn)
{
    // Turned once, the desk stands 50 wide and 100 deep: a taller cell.
    G.Palette[0].ViewIndex = 1;
    EXPECT_EQ(MeasureItemListHeight(G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount),
              127 + 87 + 67 + 27);
    const QImage img = Paint(0);
    EXPECT_EQ(Rgb(img, 80, 7 + 50), kRed);
    // 50 wide now: columns 55 to 104.
    EXPECT_EQ(Rgb(img, 52, 57), 0xFFFFFF);
    EXPECT_EQ(Rgb(img, 56, 57), kRed);
    EXPECT_EQ(Rgb(img, 107, 57), 0xFFFFFF);
}

TEST_F(Palette, WallItemsShowTheirFrontAtTheWallScaleInTheWallView)
{
    G = SceneState();
    G.PlanScale = 1.0f / 400;
    G.WallScale = 1.0f / 800;
    // A window 80 000 wide and 40 000 high: at 1/800 its front is 100 x 50.
    Add(TestItems::WallItem(G.CatalogueShapes, G.CatalogueShapeCount, "Home\\Window", 80000, 40000, kBlue));
    G.ViewMode = 2;
    EXPECT_EQ(PaletteMode(), 2);
    EXPECT_EQ(MeasureItemListHeight(G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount),
              127 + 27);
    QImage img = Paint(0);
    // The front: a blue frame round a white pane, rows 32 to 81.
    EXPECT_EQ(Rgb(img, 34, 57), kBlue);
    EXPECT_EQ(Rgb(img, 80, 57), 0xFFFFFF);
    EXPECT_EQ(Rgb(img, 80, 34), kBlue);
    // The 3D view and the spreadsheet show the palette kind chosen.
    G.ViewMode = 1;
    G.PaletteKind = 2;
    EXPECT_EQ(PaletteMode(), 2);
    G.PaletteKind = 0;
    EXPECT_EQ(PaletteMode(), 0);
    G.ViewMode = 3;
    EXPECT_EQ(PaletteMode(), 0);
    // In the plan the same window is drawn from above at the plan scale: 200
    // pixels wide and thin.
    G.ViewMode = 0;
    img = Paint(0);
    EXPECT_EQ(Rgb(img, 80, 57), 0xFFFFFF);
}

// ---- the canvas hit tests ----

class HitTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = SceneState();
        G.PlanScale = G.WallScale = 1.0f / 400;
        CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 5, 4, 2.5f, 0x808080, 0xC0C0C0);
    }
    int32_t Place(ItemRecord item, float x, float y, int16_t view = 0)
    {
        item.X = x;
        item.Y = y;
        item.ViewIndex = view;
        G.PlacedItems.resize(static_cast<size_t>(G.PlacedItemCount) + 1);
        G.PlacedItems[static_cast<size_t>(G.PlacedItemCount)] = item;
        return G.PlacedItemCount++;
    }
    int32_t Plan(int32_t px, int32_t py, int16_t viewMode = 0)
    {
        return HitTestPlanItem(viewMode, G.SceneShapes, G.SceneShapeCount, G.PlacedItems, G.PlacedItemCount, px, py,
                               grabX, grabY, G.PlanScale);
    }
    int32_t Wall(int32_t px)
    {
        int32_t unusedY = 12345;
        const int32_t r =
            HitTestWallItem(G.SceneShapes, G.SceneShapeCount, G.PlacedItems, G.PlacedItemCount, px, 0, grabX, unusedY);
        EXPECT_EQ(unusedY, 12345);
        return r;
    }
    void ShowWall(int32_t wall)
    {
        ASSERT_TRUE(GetWallViewRecord(G.WallView, wall, G.Room, G.PlacedItems, G.PlacedItemCount, G.SceneShapes,
                                      G.SceneShapeCount));
    }
    int32_t grabX = 0, grabY = 0;
};

TEST_F(HitTests, PlanHitsTheLastItemUnderThePointNeverARoomSectionOrAWallItem)
{
    // A table 100 x 50 pixels centred at (40, 20); a lamp 20 x 20 at (60, 30)
    // on it, later in the list.
    const int32_t table =
        Place(TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, "Home\\Table", 40000, 20000, 30000, kRed), 16000,
              8000);
    const int32_t lamp =
        Place(TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, "Home\\Lamp", 8000, 8000, 60000, kGreen), 24000,
              12000);
    EXPECT_EQ(Plan(60, 30), lamp);
    EXPECT_EQ(grabX, 0);
    EXPECT_EQ(grabY, 0);
    EXPECT_EQ(Plan(0, 10), table);
    EXPECT_EQ(grabX, -40);
    EXPECT_EQ(grabY, -10);
    // The table's box runs from -10 to 90 across and -5 to 45 down: its
    // edges are outside.
    EXPECT_EQ(Plan(-10, 20), -1);
    EXPECT_EQ(Plan(-9, 20), table);
    EXPECT_EQ(Plan(89, 44), table);
    EXPECT_EQ(Plan(40, 45), -1);
    // Only in the plan.
    EXPECT_EQ(Plan(60, 30, 1), -1);
    EXPECT_EQ(Plan(60, 30, 2), -1);
    // The floor lies under every point, and a wall item is not taken in the
    // plan even where it lies on top.
    EXPECT_EQ(Plan(-200, -200), -1);
    Place(TestItems::WallItem(G.SceneShapes, G.SceneShapeCount, "Home\\Window", 40000, 30000, kBlue), 16000, 8000);
    EXPECT_EQ(Plan(0, 10), table);
}

TEST_F(HitTests, WallItemsAreHitOnlyOnTheWallTheyFace)
{
    // A window 40 000 wide (100 pixels) centred 40 pixels right of the
    // middle of the north wall, facing it.
    ShowWall(0);
    ASSERT_EQ(G.WallView.Side, 0);
    const int32_t window =
        Place(TestItems::WallItem(G.SceneShapes, G.SceneShapeCount, "Home\\Window", 40000, 30000, kBlue), 16000,
              G.WallView.CentreY + 1000, 0);
    // A floor item under it is never hit in the wall view.
    Place(TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, "Home\\Desk", 40000, 20000, 30000, kRed), 16000, 0);
    EXPECT_EQ(Wall(40), window);
    EXPECT_EQ(Wall(-9), window);
    EXPECT_EQ(Wall(-10), -1);  // on its edge
    EXPECT_EQ(Wall(90), -1);
    EXPECT_EQ(Wall(-100), -1);
    // The grab offset is what the wall drag adds back: X = (px + grab) / scale.
    EXPECT_EQ(Wall(10), window);
    EXPECT_FLOAT_EQ((10 + grabX) / G.WallScale, 16000);
    // Turned to face another wall, it is not on this one.
    G.PlacedItems[static_cast<size_t>(window)].ViewIndex = 2;
    EXPECT_EQ(Wall(40), -1);
    // On the south wall, which runs the other way on the screen, it is now
    // found left of the middle.
    ShowWall(2);
    ASSERT_EQ(G.WallView.Side, 2);
    EXPECT_EQ(Wall(-40), window);
    EXPECT_EQ(Wall(40), -1);
    EXPECT_FLOAT_EQ((-(-40) + grabX) / G.WallScale, 16000);
}

TEST_F(HitTests, OnTheSideWallsTheItemIsFoundAlongY)
{
    int sides = 0;
    for (int32_t wall = 0; wall < G.Room.WallSectionCount; ++wall) {
        ShowWall(wall);
        const int16_t side = G.WallView.Side;
        if (side != 1 && side != 3) continue;
        ++sides;
        G.PlacedItemCount = G.Room.FirstRealItem;
        const int32_t item =
            Place(TestItems::WallItem(G.SceneShapes, G.SceneShapeCount, "Home\\Board", 20000, 30000, kBlue),
                  G.WallView.CentreX, 8000, side);
        // West runs with -Y on the screen, east with +Y.
        const int32_t px = side == 1 ? -20 : 20;
        EXPECT_EQ(Wall(px), item) << "side " << side;
        const float d = float(px);
        const float y = side == 1 ? (-d + grabX) / G.WallScale : (d + grabX) / G.WallScale;
        EXPECT_FLOAT_EQ(y, 8000) << "side " << side;
        EXPECT_EQ(Wall(-px), -1) << "side " << side;
    }
    EXPECT_EQ(sides, 2);
}

// ---- the palette in the main window ----

constexpr int kHome = 3;  // the shipped environments' row of Home

class GroupsStandIn : public dorv::Form {
public:
    GroupsStandIn() : dorv::Form(QStringLiteral("ItemGroups")) { Move(0, 0, 3000, 4500); }
};

class PaletteWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        dorv::SetAppPath(DORV_CONTENT_BUILD_DIR);
        dorv::SetCommandLine(QString());
        dorv::Form::Register(QStringLiteral("ItemGroups"), [] { return new GroupsStandIn; });
    }
    void TearDown() override
    {
        CloseProgram(main);
    }
    // The program started as the desktop starts it; a child picks Home and
    // takes the place as offered.
    void start()
    {
        ExpectNewPlace(kHome);
        main = std::make_unique<Main>();
        StartProgram(*main);
    }
    QImage palette() const
    {
        main->Picture5->Refresh();
        return main->Picture5->Surface().copy();
    }
    QImage panel() const
    {
        main->Picture6->Refresh();
        return main->Picture6->Surface().copy();
    }
    // A point inside a picture box's inner area, in its window's coordinates.
    QPoint at(dorv::PictureBox* box, QPoint inner) const
    {
        return box->mapTo(main.get(), box->contentsRect().topLeft() + inner);
    }
    void press(QPoint p) { QTest::mousePress(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, p); }
    // Turns the mouse wheel with the pointer at p, a notch at a time (down,
    // towards the user, when positive): each notch goes to the control under
    // the pointer, as the window hands it on.
    void wheel(QPoint p, int notches)
    {
        QWidget* under = main->childAt(p);
        ASSERT_NE(under, nullptr);
        for (int i = 0; i < std::abs(notches); ++i) {
            QWheelEvent event(under->mapFrom(main.get(), QPointF(p)), main->mapToGlobal(QPointF(p)), QPoint(),
                              QPoint(0, notches > 0 ? -120 : 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(under, &event);
        }
    }
    void release(QPoint p) { QTest::mouseRelease(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, p); }
    // The middle of what entry i's cell pictures, in the palette as it
    // stands.
    QPoint cell(int32_t i)
    {
        const int32_t v = main->VScroll1->Value();
        const int32_t width = dorv::RoundHalfEven(main->Picture5->ScaleWidth());
        const int16_t mode = PaletteMode();
        int32_t y = -20;
        float w = 0, h = 0;
        for (int32_t k = 0; k <= i; ++k) {
            float insetX = 0, insetY = 0;
            int16_t view = -1;
            GetItemDrawnSize(G.Palette[static_cast<size_t>(k)], mode, G.CatalogueShapes, G.CatalogueShapeCount,
                             PaletteScale(mode), w, h, insetX, insetY, view);
            if (k < i) y += dorv::RoundHalfEven(std::max(w, h) + 27);
        }
        CellRect rect;
        EXPECT_EQ(HitTestItemPalette(0, y + 30, G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount,
                                     0, v, width, 0, rect),
                  i);
        using dorv::RoundHalfEven;
        const int32_t c = RoundHalfEven(RoundHalfEven(std::max(w, h) + 27) * 0.5 + y + 13.5);
        return at(main->Picture5,
                  QPoint((RoundHalfEven(width * 0.5 - w * 0.5) + RoundHalfEven(width * 0.5 + w * 0.5)) / 2,
                         (RoundHalfEven(c - h * 0.5 - v) + RoundHalfEven(c + h * 0.5 - v)) / 2));
    }
    static int Count(const QImage& img, int32_t colour)
    {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += Rgb(img, x, y) == colour;
        return n;
    }
    // Pixels of text and outlines: dark in every channel.
    static int Dark(const QImage& img)
    {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb p = img.pixel(x, y);
                n += qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110;
            }
        return n;
    }
    static bool Differ(const QImage& a, const QImage& b) { return a != b; }
    std::unique_ptr<Main> main;
};

TEST_F(PaletteWindow, ANewPlaceShowsTheFirstGroupOfItsEnvironment)
{
    start();
    // Home's first plan group is the bathroom, in the order of its files.
    EXPECT_TRUE(G.ItemFolder.endsWith(QLatin1String("Bathroom"))) << G.ItemFolder.toStdString();
    ASSERT_EQ(G.PaletteCount, 4);
    EXPECT_EQ(G.Palette[0].Name.str().trimmed(), "Bathroom\\basin");
    EXPECT_EQ(G.Palette[3].Name.str().trimmed(), "Bathroom\\toilet");
    EXPECT_EQ(G.PaletteSelection, 0);
    EXPECT_FALSE(G.PaletteDisabled);
    EXPECT_TRUE(main->Command1->Enabled());
    EXPECT_TRUE(main->VScroll1->Enabled());
    // The bar reaches exactly the palette's foot; it starts at the top.
    const int32_t height = MeasureItemListHeight(G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount);
    EXPECT_EQ(main->VScroll1->Max(),
              std::max(0, height - dorv::RoundHalfEven(main->Picture5->ScaleHeight())));
    EXPECT_GT(main->VScroll1->Max(), 0);
    EXPECT_EQ(main->VScroll1->Value(), 0);
    // The palette shows framed cells; the first frame's top runs along row 2.
    const QImage img = palette();
    EXPECT_EQ(Rgb(img, img.width() / 2, 2), kFrame);
    EXPECT_GT(Count(img, kFrame), 200);
    // The panel shows the first entry: its 3D picture and its caption.
    EXPECT_GT(Dark(panel()), 20);
}

TEST_F(PaletteWindow, PressingACellSelectsItAndThePanelShowsIt)
{
    start();
    const QImage before = panel();
    const QPoint shower = cell(2);
    press(shower);
    release(shower);
    EXPECT_EQ(G.PaletteSelection, 2);
    EXPECT_TRUE(Differ(before, panel()));
    // Nothing was placed by a press alone.
    EXPECT_EQ(G.PlacedItemCount, G.Room.FirstRealItem);
    // The canvas has the keys after a press on the palette.
    EXPECT_TRUE(main->Picture2->hasFocus() || !main->isActiveWindow());
}

TEST_F(PaletteWindow, TheTurnButtonTurnsTheSelectedEntryRoundItsViews)
{
    start();
    const QPoint bath = cell(1);
    press(bath);
    release(bath);
    ASSERT_EQ(G.PaletteSelection, 1);
    const ItemRecord& entry = G.Palette[1];
    ASSERT_GT(entry.ViewCount, 1);
    const QImage paletteBefore = palette(), panelBefore = panel();
    for (int turn = 1; turn <= entry.ViewCount; ++turn) {
        ClickButton(*main->Command1);
        EXPECT_EQ(entry.ViewIndex, turn % entry.ViewCount);
        if (turn == 1) {
            EXPECT_TRUE(Differ(paletteBefore, palette()));
            EXPECT_TRUE(Differ(panelBefore, panel()));
        }
    }
    // Round again: as it was.
    EXPECT_EQ(palette(), paletteBefore);
    // A double click on the palette turns it too.
    QTest::mouseDClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, cell(1));
    EXPECT_EQ(entry.ViewIndex, 1);
}

TEST_F(PaletteWindow, TheScrollBarMovesTheCellsUp)
{
    start();
    const QImage top = palette();
    ASSERT_GE(main->VScroll1->Max(), 30);
    main->VScroll1->SetValue(30);
    const QImage scrolled = palette();
    // Row y of the scrolled palette is row y + 30 of the one at the top (the
    // background gradient aside: compare the frame pixels).
    int same = 0, frames = 0;
    for (int y = 0; y + 30 < top.height(); ++y)
        for (int x = 0; x < top.width(); ++x)
            if (Rgb(top, x, y + 30) == kFrame) {
                ++frames;
                same += Rgb(scrolled, x, y) == kFrame;
            }
    EXPECT_GT(frames, 100);
    EXPECT_EQ(same, frames);
    // A press now selects by what is shown.
    const QPoint toilet = cell(3);
    press(toilet);
    release(toilet);
    EXPECT_EQ(G.PaletteSelection, 3);

    // The wheel, over the cells or over the bar, moves the bar as its
    // arrows do, a small step a notch (down for a notch turned towards the
    // child), and the cells move with it.
    const int16_t step = main->VScroll1->SmallChange();
    const QPoint bar = main->VScroll1->mapTo(main.get(), main->VScroll1->rect().center());
    for (QPoint over : {at(main->Picture5, QPoint(60, 60)), bar}) {
        main->VScroll1->SetValue(30);
        const QImage before = palette();
        wheel(over, 1);
        EXPECT_EQ(main->VScroll1->Value(), 30 + step);
        EXPECT_TRUE(Differ(before, palette()));
        wheel(over, -2);
        EXPECT_EQ(main->VScroll1->Value(), 30 - step);
    }
}

TEST_F(PaletteWindow, ADisabledPaletteIsGreyIgnoresTheMouseAndComesBack)
{
    start();
    main->SetPaletteDisabled(true);
    EXPECT_TRUE(G.PaletteDisabled);
    EXPECT_FALSE(main->Command1->Enabled());
    EXPECT_FALSE(main->Command2->Enabled());
    EXPECT_FALSE(main->VScroll1->Enabled());
    const QImage img = palette();
    // Grey throughout but for the frames and the ghosts' grey outlines: no
    // colours, no names.
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int32_t c = Rgb(img, x, y);
            ASSERT_TRUE(c == 0xEEEEEE || c == kFrame) << x << "," << y << " " << std::hex << c;
        }
    // The panel's picture is a ghost too; its caption still names the item.
    const QImage greyPanel = panel();
    EXPECT_GT(Dark(greyPanel), 20);
    const QPoint bath = cell(1);
    press(bath);
    release(bath);
    EXPECT_EQ(G.PaletteSelection, 0);

    main->SetPaletteDisabled(false);
    EXPECT_TRUE(main->Command1->Enabled());
    EXPECT_TRUE(main->VScroll1->Enabled());
    main->Picture5_Paint();
    EXPECT_GT(Dark(palette()), 20);  // the names are back
    press(bath);
    release(bath);
    EXPECT_EQ(G.PaletteSelection, 1);
}

TEST_F(PaletteWindow, ADoubleClickOnTheGreyPaletteOfThe3DViewOrTheReportsTurnsNothing)
{
    start();
    const QPoint bath = cell(1);
    const int16_t view = G.Palette[0].ViewIndex;
    ASSERT_GT(G.Palette[0].ViewCount, 1);
    main->mnu_3DView_Click();
    ASSERT_TRUE(G.PaletteDisabled);
    QTest::mouseDClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, bath);
    EXPECT_EQ(G.PaletteSelection, 0);
    EXPECT_EQ(G.Palette[0].ViewIndex, view);
    main->mnu_showPieChart_Click();
    ASSERT_TRUE(G.PaletteDisabled);
    QTest::mouseDClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, bath);
    EXPECT_EQ(G.Palette[0].ViewIndex, view);
    EXPECT_EQ(G.Palette[1].ViewIndex, 0);
}

// The box of the pixels in `area` that are neither `background` nor one of
// `others`.
QRect Painted(const QImage& img, const QRect& area, QRgb background, std::initializer_list<int32_t> others = {})
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            const int32_t c = Rgb(img, x, y);
            if (p != background && std::find(others.begin(), others.end(), c) == others.end())
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

TEST_F(PaletteWindow, HungWallItemsArePicturedAtTheSizeOfWhatTheyDraw)
{
    // The shipped wall items hang at their heights: a clock 1.8 m up is a
    // clock, not a tall strip of empty wall with a clock at its top, in its
    // palette cell, in the item panel and in the icons of the spreadsheet
    // and the chart legends.
    start();
    main->mnu_wallView_Click();
    ASSERT_EQ(G.ViewMode, 2);
    ASSERT_GE(G.PaletteCount, 5);
    const int width = dorv::RoundHalfEven(main->Picture5->ScaleWidth());
    for (int32_t i = 0; i < G.PaletteCount; ++i) {
        const ItemRecord& entry = G.Palette[static_cast<size_t>(i)];
        SCOPED_TRACE(entry.Name.str().trimmed().toStdString());
        // Its cell alone: the frame's foot is at cell - 1, the name below
        // cell - 18; the picture fills a square of cell - 27 and lies within
        // the frame.
        QImage cellImage(width, 600, QImage::Format_RGB32);
        cellImage.fill(Qt::white);
        {
            dorv::ImageDc dc(&cellImage, 96);
            DrawItemPalette(dc, G.CatalogueShapes, G.CatalogueShapeCount, {entry}, 1, 0, 0, width, 600.0f);
        }
        int cell = 0;
        for (int y = 599; y > 0 && cell == 0; --y)
            if (Rgb(cellImage, width / 2, y) == kFrame) cell = y + 1;
        ASSERT_GT(cell, 27);
        const QRect picture = Painted(cellImage, QRect(3, 3, width - 6, cell - 22), qRgb(255, 255, 255), {kFrame});
        EXPECT_NEAR(std::max(picture.width(), picture.height()), cell - 27, 2) << "cell " << cell;

        // The panel: the picture spans the panel's width or the height above
        // the caption.
        G.PaletteSelection = i;
        const QImage shown = panel();
        const int H = shown.height() - 16;
        const QRect inPanel = Painted(shown, QRect(0, 0, shown.width(), H), shown.pixel(shown.width() - 1, H - 1));
        EXPECT_TRUE(inPanel.width() >= shown.width() - 3 || inPanel.height() >= H - 3)
            << inPanel.width() << " x " << inPanel.height() << " in " << shown.width() << " x " << H;

        // The icon of the spreadsheet and the legends: fitted into its box,
        // centred along the other side.
        QImage icon(60, 60, QImage::Format_RGB32);
        icon.fill(Qt::white);
        {
            dorv::ImageDc dc(&icon, 96);
            DrawItemIcon(dc, G.CatalogueShapes, G.CatalogueShapeCount, entry, kPicture3D, 0, 0, -60, 60, 60, 0);
        }
        const QRect drawn = Painted(icon, icon.rect(), qRgb(255, 255, 255));
        EXPECT_GE(std::max(drawn.width(), drawn.height()), 58);
        EXPECT_NEAR(drawn.left(), 59 - drawn.right(), 2);
        EXPECT_NEAR(drawn.top(), 59 - drawn.bottom(), 2);
    }
}

TEST_F(PaletteWindow, AShortOrEmptyGroupHasNoScrollRangeAndAnEmptyPanel)
{
    start();
    TempDir dir;
    dir.write(QStringLiteral("Shelf/one.dvo"), ItemFiles::ItemFile());
    dir.mkdir(QStringLiteral("Empty"));
    main->VScroll1->SetValue(20);
    main->LoadPalette(dir.file(QStringLiteral("Shelf")));
    EXPECT_EQ(G.PaletteCount, 1);
    EXPECT_EQ(main->VScroll1->Max(), 0);
    EXPECT_EQ(main->VScroll1->Value(), 0);
    EXPECT_GT(Dark(panel()), 20);

    main->LoadPalette(dir.file(QStringLiteral("Empty")));
    EXPECT_EQ(G.PaletteCount, 0);
    EXPECT_EQ(main->VScroll1->Max(), 0);
    EXPECT_EQ(Dark(panel()), 0);
    EXPECT_EQ(Count(palette(), kFrame), 0);
    // Presses and the turn button find nothing to act on.
    const QPoint p = at(main->Picture5, QPoint(60, 60));
    press(p);
    release(p);
    EXPECT_EQ(G.PaletteSelection, 0);
    ClickButton(*main->Command1);
    EXPECT_EQ(G.PlacedItemCount, G.Room.FirstRealItem);
}

// ---- dragging a new item from the palette ----

class PaletteDrop : public PaletteWindow {
protected:
    // Presses palette cell `index` and drags its new item onto the canvas,
    // still held; the point pressed.
    QPoint holdOutOfThePalette(int index)
    {
        const QPoint from = cell(index);
        press(from);
        QTest::mouseMove(main->windowHandle(), centre() + QPoint(40, 30));
        QTest::mouseMove(main->windowHandle(), centre() + QPoint(50, 30));
        return from;
    }
    // Clicks the palette's third item (the shower) and opens the price
    // dialog from the item panel's button.
    frmChangePrice* openPriceDialogOnTheShower()
    {
        const QPoint shower = cell(2);
        press(shower);
        release(shower);
        ClickButton(*main->Command2);
        frmChangePrice* dialog = frmChangePrice::Window();
        return WAITED_FOR(QApplication::focusWidget() == dialog->Text1) ? dialog : nullptr;
    }
    // The point of the canvas `inner` pixels from its inner corner.
    QPoint canvas(int x, int y) const { return at(main->Picture2, QPoint(x, y)); }
    QPoint centre() const
    {
        return canvas(dorv::RoundHalfEven(G.CanvasCentreX), dorv::RoundHalfEven(G.CanvasCentreY));
    }
    // Press on entry i (`grab` from its picture's middle), move in steps to
    // `to` with the button held, release.
    void drag(int32_t i, QPoint to, bool letGo = true, QPoint grab = QPoint())
    {
        const QPoint from = cell(i) + grab;
        press(from);
        // The hand starts to move a pixel, then sweeps across.
        QTest::mouseMove(main->windowHandle(), from + QPoint(1, 0));
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(main->windowHandle(), from + (to - from) * step / 4);
        if (letGo) release(to);
    }
    const ItemRecord& placed(int32_t i) const { return G.PlacedItems[static_cast<size_t>(i)]; }
    // The plan point under a canvas point, in pixels from the plan origin.
    QPointF planPixels(QPoint canvasInner) const
    {
        return QPointF(canvasInner.x() - G.CanvasCentreX - G.PlanPanX * 512 * G.PlanScale,
                       canvasInner.y() - G.CanvasCentreY + G.PlanPanY * 512 * G.PlanScale);
    }
};

TEST_F(PaletteDrop, AnItemDraggedOntoThePlanStaysWhereItIsDroppedSelectedAndPaidFor)
{
    start();
    const int32_t before = G.PlacedItemCount;
    const float bathPrice = G.Palette[1].Price;
    ASSERT_GT(bathPrice, 0);
    ASSERT_TRUE(G.PlanInfo.useprices);
    const QPoint target(dorv::RoundHalfEven(G.CanvasCentreX) + 30, dorv::RoundHalfEven(G.CanvasCentreY) + 20);
    drag(1, canvas(target.x(), target.y()));
    ASSERT_EQ(G.PlacedItemCount, before + 1);
    const int32_t k = G.PlacedItemCount - 1;
    EXPECT_EQ(placed(k).Name, G.Palette[1].Name);
    // Its centre is under the mouse (the press was on the picture's middle).
    const QPointF p = planPixels(target);
    EXPECT_NEAR(placed(k).X * G.PlanScale, p.x(), 1.0);
    EXPECT_NEAR(placed(k).Y * G.PlanScale, p.y(), 1.0);
    EXPECT_EQ(G.SelectedItem, k);
    EXPECT_EQ(G.DragItem, -1);
    EXPECT_FALSE(main->PaletteDragActive);
    EXPECT_FALSE(main->PaletteDragArmed);
    EXPECT_FLOAT_EQ(G.SpentTotal, bathPrice);
    EXPECT_FALSE(G.CleanFlag);
    EXPECT_EQ(placed(k).Flags & kItemOnWall, 0);
    // One add step: Undo takes it away again.
    main->mnu_undo_Click();
    EXPECT_EQ(G.PlacedItemCount, before);
}

TEST_F(PaletteDrop, AnItemDroppedHalfOffTheFloorIsPushedBackOntoIt)
{
    start();
    // The floor's right edge in canvas pixels, and a point past it.
    const int32_t floorRight = dorv::RoundHalfEven(G.CanvasCentreX + G.Room.ExtentX * 0.5 * G.PlanScale);
    drag(1, canvas(floorRight + 5, dorv::RoundHalfEven(G.CanvasCentreY)));
    const int32_t k = G.PlacedItemCount - 1;
    ASSERT_EQ(G.SelectedItem, k);
    float w = 0, h = 0;
    GetItemPictureSize(placed(k), 0, G.SceneShapes, G.SceneShapeCount, G.PlanScale, w, h);
    const float right = placed(k).X * G.PlanScale + w / 2;
    EXPECT_LE(right, G.Room.ExtentX * 0.5f * G.PlanScale - 1 + 0.5f);
    EXPECT_GT(right, G.Room.ExtentX * 0.5f * G.PlanScale - 3);
}

TEST_F(PaletteDrop, DraggedBackOverThePaletteTheItemIsTakenAwayAgain)
{
    start();
    const int32_t before = G.PlacedItemCount;
    const QPoint from = cell(2);
    press(from);
    QTest::mouseMove(main->windowHandle(), from + QPoint(0, 1));
    QTest::mouseMove(main->windowHandle(), centre());
    QTest::mouseMove(main->windowHandle(), centre() + QPoint(10, 10));
    ASSERT_EQ(G.PlacedItemCount, before + 1);
    EXPECT_GT(G.SpentTotal, 0);
    EXPECT_FALSE(G.CleanFlag);
    // The item follows the mouse on the canvas meanwhile.
    EXPECT_EQ(G.DragItem, before);
    const QPointF p = planPixels(QPoint(dorv::RoundHalfEven(G.CanvasCentreX) + 10,
                                        dorv::RoundHalfEven(G.CanvasCentreY) + 10));
    EXPECT_NEAR(placed(before).X * G.PlanScale, p.x() - main->GrabOffsetX, 1.0);
    QTest::mouseMove(main->windowHandle(), from);
    release(from);
    EXPECT_EQ(G.PlacedItemCount, before);
    EXPECT_FLOAT_EQ(G.SpentTotal, 0);
    EXPECT_EQ(G.SelectedItem, -1);
    EXPECT_EQ(G.DragItem, -1);
    // Nothing is left to undo.
    EXPECT_EQ(main->UndoPos, 0);
}

TEST_F(PaletteDrop, ADropTakenBackAfterAKeyTurnedAnotherItemLeavesNeitherItNorItsStep)
{
    start();
    // A bath on the plan, clicked: the item Ctrl+R turns.
    drag(1, centre());
    const int32_t bath = G.PlacedItemCount - 1;
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, centre());
    ASSERT_EQ(G.HitItem, bath);
    const float spent = G.SpentTotal;
    const int32_t count = G.PlacedItemCount, pos = main->UndoPos;

    // A shower dragged out, Ctrl+R while it is held, and back to the palette.
    const QPoint from = holdOutOfThePalette(2);
    ASSERT_EQ(G.PlacedItemCount, count + 1);
    QTest::keyClick(main->Picture2, Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(placed(bath).ViewIndex, 1 % placed(bath).ViewCount);
    QTest::mouseMove(main->windowHandle(), from);
    release(from);
    EXPECT_EQ(G.PlacedItemCount, count);
    EXPECT_EQ(G.SpentTotal, spent);
    EXPECT_EQ(G.SelectedItem, -1);
    // Only the turn is left to undo, then the click, then the bath's drop.
    ASSERT_EQ(main->UndoPos, pos + 1);
    EXPECT_EQ(main->UndoRecords[size_t(pos)].Action, Main::kUndoRotate);
    main->mnu_undo_Click();
    EXPECT_EQ(placed(bath).ViewIndex, 0);
    main->mnu_undo_Click();
    main->mnu_undo_Click();
    EXPECT_EQ(G.PlacedItemCount, count - 1);
    EXPECT_EQ(main->UndoPos, 0);
    EXPECT_EQ(G.SpentTotal, 0);
}

TEST_F(PaletteDrop, ADropTakenBackAfterAPasteAndADeleteLeavesTheirStepsWithTheRightMoney)
{
    start();
    // A bath on the plan, clicked and copied.
    drag(1, centre());
    const int32_t count = G.PlacedItemCount;
    const float bath = G.SpentTotal;
    ASSERT_GT(bath, 0);
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, centre());
    QTest::keyClick(main->Picture2, Qt::Key_C, Qt::ControlModifier);

    // A shower dragged out; while it is held a copy of the bath is pasted
    // and deleted again; then the shower goes back to the palette.
    const QPoint from = holdOutOfThePalette(2);
    const float shower = G.SpentTotal - bath;
    ASSERT_GT(shower, 0);
    QTest::keyClick(main->Picture2, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(G.PlacedItemCount, count + 2);
    QTest::keyClick(main->Picture2, Qt::Key_Delete);
    ASSERT_EQ(G.PlacedItemCount, count + 1);
    QTest::mouseMove(main->windowHandle(), from);
    release(from);
    EXPECT_EQ(G.PlacedItemCount, count);
    EXPECT_FLOAT_EQ(G.SpentTotal, bath);
    // The paste and the delete are undone with the shower's money gone.
    main->mnu_undo_Click();
    EXPECT_EQ(G.PlacedItemCount, count + 1);
    EXPECT_FLOAT_EQ(G.SpentTotal, 2 * bath);
    main->mnu_undo_Click();
    EXPECT_EQ(G.PlacedItemCount, count);
    EXPECT_FLOAT_EQ(G.SpentTotal, bath);
}

TEST_F(PaletteDrop, TheItemLandsUnderThePointerHeldWhereItWasGrabbedSlowOrFlickedIntoAPannedPlan)
{
    start();
    // The plan panned right and up by a few steps of 512 units, some 30
    // pixels each way, with the bars under and beside it.
    const int16_t steps = int16_t(std::ceil(30 / (512 * G.PlanScale)));
    main->HScroll2->SetValue(steps);
    main->VScroll2->SetValue(steps);
    ASSERT_EQ(G.PlanPanX, -steps);
    ASSERT_EQ(G.PlanPanY, steps);
    // Grabbed right of and above the picture's middle.
    const QPoint grab(7, -5);
    int32_t n = 0;
    for (const bool flick : {false, true}) {
        const QPoint target = centre() + QPoint(flick ? -60 : 60, flick ? 40 : -40);
        if (flick) {
            // A flick, or a finger on a touch screen: the first move comes
            // where the item is let go.
            press(cell(1) + grab);
            QTest::mouseMove(main->windowHandle(), target);
            release(target);
        } else {
            drag(1, target, true, grab);
        }
        ASSERT_EQ(G.PlacedItemCount, G.Room.FirstRealItem + ++n) << "flick " << flick;
        const int32_t k = G.PlacedItemCount - 1;
        const QPointF p = planPixels(target - at(main->Picture2, QPoint()) - grab);
        EXPECT_NEAR(placed(k).X * G.PlanScale, p.x(), 1.0) << "flick " << flick;
        EXPECT_NEAR(placed(k).Y * G.PlanScale, p.y(), 1.0) << "flick " << flick;
        // The plan shows it under the pointer: a click there takes it.
        QTest::mouseClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, target);
        EXPECT_EQ(G.HitItem, k) << "flick " << flick;
    }
}

TEST_F(PaletteDrop, APressWithoutAMoveMakesNothingAndATurnedEntryDropsTurned)
{
    start();
    const int32_t before = G.PlacedItemCount;
    const QPoint bath = cell(1);
    press(bath);
    release(bath);
    EXPECT_EQ(G.PlacedItemCount, before);
    EXPECT_EQ(G.PaletteSelection, 1);
    ClickButton(*main->Command1);
    ASSERT_EQ(G.Palette[1].ViewIndex, 1);
    drag(1, centre());
    ASSERT_EQ(G.PlacedItemCount, before + 1);
    EXPECT_EQ(placed(before).ViewIndex, 1);
}

TEST_F(PaletteDrop, WithoutUsePricesTheItemCostsNothing)
{
    start();
    Windows().SetUsePricesTicked(false);
    drag(1, centre());
    EXPECT_FLOAT_EQ(G.SpentTotal, 0);
    EXPECT_FLOAT_EQ(placed(G.PlacedItemCount - 1).Price, 0);
}

TEST_F(PaletteDrop, OnTheWallViewTheItemStandsAgainstTheWallItFaces)
{
    start();
    ASSERT_GT(G.Room.WallSectionCount, 0);
    main->mnu_wallView_Click();
    ASSERT_EQ(G.ViewMode, 2);
    const int16_t side = G.WallView.Side;
    const int32_t before = G.PlacedItemCount;
    const QPoint from = cell(0);
    // Far right of the wall and above its middle, with the button held.
    const QPoint far = canvas(dorv::RoundHalfEven(G.CanvasCentreX * 1.9), dorv::RoundHalfEven(G.CanvasCentreY) - 40);
    press(from);
    QTest::mouseMove(main->windowHandle(), centre());
    ASSERT_EQ(G.PlacedItemCount, before + 1);
    QTest::mouseMove(main->windowHandle(), far);
    // While dragged its height on the wall follows the mouse.
    EXPECT_NE(G.WallDragOffset, 0);
    release(far);
    const ItemRecord& item = placed(before);
    EXPECT_TRUE(item.Flags & kItemOnWall);
    EXPECT_EQ(item.ViewIndex, side);
    EXPECT_EQ(G.WallDragOffset, 0);
    EXPECT_EQ(G.SelectedItem, before);
    EXPECT_FLOAT_EQ(item.Elevation, 0);
    // Kept within its wall.
    const float half = (G.WallView.Length - item.FootWidth) / 2.0f;
    const float along = (side == 0 || side == 2) ? item.X - G.WallView.CentreX : item.Y - G.WallView.CentreY;
    EXPECT_LE(std::abs(along), half + 1);
    // The wall view finds it where it was dropped.
    int32_t grabX = 0, grabY = 0;
    EXPECT_GE(HitTestWallItem(G.SceneShapes, G.SceneShapeCount, G.PlacedItems, G.PlacedItemCount,
                              dorv::RoundHalfEven(along * G.WallScale * ((side == 0 || side == 3) ? 1 : -1)), 0,
                              grabX, grabY),
              before);
}

TEST_F(PaletteDrop, OnTheWallViewAnItemIsHeldWhereItWasGrabbedSlowOrFlickedAndLandsFramedRoundItsPicture)
{
    start();
    main->mnu_wallView_Click();
    // In the order of the group's files: a clock hung high, a door on the
    // floor.
    ASSERT_TRUE(G.Palette[0].Name.str().trimmed().endsWith(QLatin1String("clock")));
    ASSERT_TRUE(G.Palette[2].Name.str().trimmed().endsWith(QLatin1String("door")));
    const double s = G.WallScale;
    // Grabbed right of and above the middle of what its cell shows.
    const QPoint grab(5, -3);
    for (const int32_t i : {0, 2})
        for (const bool flick : {false, true}) {
            SCOPED_TRACE(std::string(i == 0 ? "clock" : "door") + (flick ? ", flicked" : ", slow"));
            const ItemRecord& entry = G.Palette[static_cast<size_t>(i)];
            float w = 0, h = 0, insetX = 0, insetY = 0, wholeW = 0, wholeH = 0;
            int16_t view = -1;
            GetItemDrawnSize(entry, kPictureWallSize, G.CatalogueShapes, G.CatalogueShapeCount, float(s), w, h,
                             insetX, insetY, view);
            GetItemPictureSize(entry, kPictureWallSize, G.CatalogueShapes, G.CatalogueShapeCount, float(s), wholeW,
                               wholeH);
            const QPoint target = centre() + QPoint(60, -40), inner = target - at(main->Picture2, QPoint());
            const QImage before = main->Picture2->Surface().copy();
            if (flick) {
                // The first move comes next to where the item is let go;
                // it shows from the next.
                press(cell(i) + grab);
                QTest::mouseMove(main->windowHandle(), target - QPoint(1, 0));
                QTest::mouseMove(main->windowHandle(), target);
            } else {
                drag(i, target, false, grab);
            }
            // While dragged the wall view holds the whole picture, down to
            // the floor below a hung item, by the grab, half the wall's
            // height to spare below the pointer: the grabbed point of what
            // it draws stays there.
            const QImage during = main->Picture2->Surface().copy();
            QRect held;
            for (int y = 0; y < during.height(); ++y)
                for (int x = inner.x() - 60; x <= inner.x() + 60; ++x)
                    if (during.pixel(x, y) != before.pixel(x, y)) held |= QRect(x, y, 1, 1);
            ASSERT_NEAR(held.width(), w, 2);
            ASSERT_NEAR(held.height(), h, 2);
            const double spare = (s * (double(G.WallView.Height) + G.WallView.Elevation) - wholeH) / 2;
            EXPECT_NEAR(held.left() + w / 2.0 + grab.x(), inner.x(), 1.5);
            EXPECT_NEAR(held.top() + h / 2.0 + grab.y(), inner.y() + spare, 1.5);
            release(target);
            ASSERT_EQ(G.SelectedItem, G.PlacedItemCount - 1);
            const QImage selected = main->Picture2->Surface().copy();
            G.SelectedItem = -1;
            RedrawView();
            const QImage plain = main->Picture2->Surface().copy();
            // The frame: what selecting changed. The item: what the drop
            // changed across the frame's columns (the room's small picture
            // in the corner changed too).
            QRect frame, itemBox;
            for (int y = 0; y < plain.height(); ++y)
                for (int x = 0; x < plain.width(); ++x)
                    if (selected.pixel(x, y) != plain.pixel(x, y)) frame |= QRect(x, y, 1, 1);
            ASSERT_FALSE(frame.isEmpty());
            for (int y = 0; y < plain.height(); ++y)
                for (int x = frame.left(); x <= frame.right(); ++x)
                    if (plain.pixel(x, y) != before.pixel(x, y)) itemBox |= QRect(x, y, 1, 1);
            ASSERT_FALSE(itemBox.isEmpty());
            // It lands along the wall where it was let go, at its own height;
            // the 4-pixel frame runs along its picture's edges, not from the
            // floor.
            EXPECT_NEAR(itemBox.left() + w / 2.0 + grab.x(), inner.x(), 1.5);
            EXPECT_NEAR(frame.top(), itemBox.top(), 3);
            EXPECT_NEAR(frame.bottom(), itemBox.bottom(), 3);
            EXPECT_NEAR(frame.left(), itemBox.left(), 3);
            EXPECT_NEAR(frame.right(), itemBox.right(), 3);
            main->mnu_undo_Click();
        }
}

TEST_F(PaletteDrop, ThePriceDialogOpensFromThePanelWithTheSelectedItem)
{
    start();
    frmChangePrice* dialog = openPriceDialogOnTheShower();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsWindowVisible());
    EXPECT_EQ(dialog->Label1->Caption(), "Shower");
    EXPECT_EQ(dialog->Label2->Caption(), G.CurrencySymbol);
    EXPECT_EQ(dialog->Text1->Text(), CommonMod::FormatMoney(G.Palette[2].Price, false));
    // It opens over the main window, centred on it, wherever that stands.
    const QPoint centre = main->frameGeometry().center();
    EXPECT_LE((dialog->frameGeometry().center() - centre).manhattanLength(), 4);
    // Escape is Cancel, also after typing: the dialog goes, the price stays.
    const float price = G.Palette[2].Price;
    QTest::keyClicks(dialog->Text1, QStringLiteral("7"));
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Escape);  // to the window with the keyboard
    EXPECT_FALSE(dialog->IsWindowVisible());
    EXPECT_EQ(G.Palette[2].Price, price);
    dialog->Hide();
    const int32_t left = main->Left() + 1500;
    main->Move(left, main->Top() + 900, main->Width(), main->Height());
    WAIT_FOR(main->Left() == left);
    main->Command2_Click();
    WAIT_FOR(QApplication::focusWidget() == dialog->Text1);
    EXPECT_LE((dialog->frameGeometry().center() - main->frameGeometry().center()).manhattanLength(), 4);
    EXPECT_NE(main->frameGeometry().center(), centre);
    dialog->Hide();
    // Without prices neither the button nor a double click on the panel
    // opens it; nor in the 3D view.
    const int withPrice = Dark(panel());
    G.PlanInfo.noprices = true;
    main->Command2_Click();
    EXPECT_FALSE(dialog->IsWindowVisible());
    main->Picture6_DblClick();
    EXPECT_FALSE(dialog->IsWindowVisible());
    // The panel's caption is then the name alone.
    EXPECT_LT(Dark(panel()), withPrice - 20);
    G.PlanInfo.noprices = false;
    G.ViewMode = 1;
    main->Picture6_DblClick();
    EXPECT_FALSE(dialog->IsWindowVisible());
}

// Whatever closed it last (a click on OK or Cancel leaves a button with the
// focus), the dialog opens with the keyboard in the price box, its text
// selected, and closing it gives the keyboard back to the main window.
TEST_F(PaletteDrop, ThePriceDialogTakesTheKeyboardOnEveryOpeningAndGivesItBack)
{
    start();
    const std::vector<std::pair<const char*, std::function<void(frmChangePrice&)>>> closings = {
        {"OK clicked", [](frmChangePrice& d) { ClickButton(*d.Command1); }},
        {"the close box", [](frmChangePrice& d) { d.close(); }},
        {"Cancel clicked", [](frmChangePrice& d) { ClickButton(*d.Command2); }},
        {"Escape", [](frmChangePrice&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }},
        {"Enter", [](frmChangePrice&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }},
    };
    int typed = 10;
    for (const auto& [how, close] : closings) {
        SCOPED_TRACE(how);
        ClickButton(*main->Command2);
        frmChangePrice* dialog = frmChangePrice::Window();
        WAIT_FOR(QApplication::focusWidget() == dialog->Text1);
        EXPECT_EQ(dialog->Text1->selectedText(), dialog->Text1->Text());
        QTest::keyClicks(QApplication::focusWidget(), QString::number(++typed));
        EXPECT_EQ(dialog->Text1->Text(), QString::number(typed));
        close(*dialog);
        EXPECT_FALSE(dialog->isVisible());
        WAIT_FOR(QApplication::activeWindow() == main.get() && QApplication::focusWidget());
        EXPECT_EQ(QApplication::focusWidget()->window(), main.get());
    }
    // Enter was OK for the last price typed.
    EXPECT_FLOAT_EQ(G.Palette[size_t(G.PaletteSelection)].Price, CommonMod::ParseMoneyText(QString::number(typed)));
}

TEST_F(PaletteDrop, TheOpenPriceDialogFollowsThePaletteSoItPricesTheItemItNames)
{
    start();
    frmChangePrice* dialog = openPriceDialogOnTheShower();
    ASSERT_TRUE(dialog && dialog->IsWindowVisible());
    ASSERT_EQ(dialog->Label1->Caption(), "Shower");
    const float showerPrice = G.Palette[2].Price;
    // Another item clicked while the dialog is open: it names that one.
    const QPoint bath = cell(1);
    press(bath);
    release(bath);
    ASSERT_EQ(G.PaletteSelection, 1);
    EXPECT_TRUE(dialog->IsWindowVisible());
    EXPECT_EQ(dialog->Label1->Caption(), "Bath");
    EXPECT_EQ(dialog->Text1->Text(), CommonMod::FormatMoney(G.Palette[1].Price, false));
    dialog->Text1->SetText("42");
    ClickButton(*dialog->Command1);
    EXPECT_FLOAT_EQ(G.Palette[1].Price, CommonMod::ParseMoneyText("42"));
    EXPECT_FLOAT_EQ(G.Palette[2].Price, showerPrice);
    // Another group (the wall view's) while it is open: its first item.
    main->Command2_Click();
    main->mnu_wallView_Click();
    ASSERT_TRUE(G.ItemFolder.endsWith("HomeWalls")) << G.ItemFolder.toStdString();
    EXPECT_TRUE(dialog->IsWindowVisible());
    EXPECT_EQ(dialog->Label1->Caption(), LangMod::GetPlanInfoText(G.Palette[0].Name.str()));
    // A group with nothing in it leaves nothing to price.
    TempDir dir;
    dir.mkdir(QStringLiteral("Empty"));
    main->LoadPalette(dir.file(QStringLiteral("Empty")));
    EXPECT_FALSE(dialog->IsWindowVisible());
}

}  // namespace

