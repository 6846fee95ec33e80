// dorv-render-views: furnishes a 5 x 4 x 2.5 m living room with the shipped
// items and draws it the way the program does, in the plan, the 3D view and
// the wall view of each of the four walls, one PNG each, to check the views
// by eye.
//   dorv-render-views OUTPUT-FOLDER [CONTENT-FOLDER]
// The content folder defaults to the one beside the program (share/dorv).
#include "platform/AppInfo.h"
#include "platform/PainterDc.h"
#include "scene/ItemCatalogue.h"
#include "scene/PictureMeasure.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/WindowPort.h"
#include "views/ViewRender.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

namespace {
constexpr int kWidth = 1024, kHeight = 720;
constexpr float kUnitsPerMetre = 36288;

struct Port : WindowPort {
    QSizeF CanvasSize() override { return {kWidth, kHeight}; }
    bool ShowDimensions() override { return true; }
    bool ShowWireObjects() override { return true; }
};

QString g_content;
int g_missing = 0;

// Places the item file `group/file` with its centre at (x, y) metres from the
// floor's centre (y to the south, as on the plan) in rotation `view`, and
// settles it on what lies beneath.
int32_t Place(const QString& item, float x, float y, int16_t view)
{
    ItemRecord entry;
    const QString path = g_content + QStringLiteral("/Environments/Home/") + item + QStringLiteral(".dvo");
    if (!FileMod::LoadItemDefinition(G.CatalogueShapes, G.CatalogueShapeCount, path, entry) ||
        !Shapes::CopyItemRun(G.CatalogueShapes, G.CatalogueShapeCount, entry, G.SceneShapes, G.SceneShapeCount)) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(path));
        ++g_missing;
        return -1;
    }
    entry.X = x * kUnitsPerMetre;
    entry.Y = y * kUnitsPerMetre;
    entry.ViewIndex = view;
    const int32_t i = G.PlacedItemCount++;
    G.PlacedItems.resize(static_cast<size_t>(G.PlacedItemCount));
    G.PlacedItems[static_cast<size_t>(i)] = entry;
    FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, i, G.SceneShapes, G.SceneShapeCount);
    return i;
}

// A wall item against wall `side` (0 north, 1 west, 2 south, 3 east), `along`
// metres from the wall's middle. As in the program it stays at elevation 0:
// its pictures carry its height on the wall.
void PlaceOnWall(const QString& item, int16_t side, float along)
{
    const int32_t i = Place(item, 0, 0, side);
    if (i < 0) return;
    ItemRecord& it = G.PlacedItems[static_cast<size_t>(i)];
    float w = 0, d = 0;
    DrawMod::GetItemPictureSize(it, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1.0f, w, d);
    const float hx = G.Room.ExtentX / 2.0f, hy = G.Room.ExtentY / 2.0f;
    const float a = along * kUnitsPerMetre;
    switch (side) {
    case 0: it.X = a; it.Y = -hy + d / 2; break;
    case 1: it.X = -hx + w / 2; it.Y = -a; break;
    case 2: it.X = -a; it.Y = hy - d / 2; break;
    default: it.X = hx - w / 2; it.Y = a; break;
    }
}

bool Save(const QString& folder, const QString& name, int16_t mode, int32_t wall)
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    {
        dorv::ImageDc dc(&img, 96);
        G.ViewMode = mode;
        G.WallIndex = wall;
        DrawMod::RenderView(mode, dc);
    }
    const QString path = QDir(folder).filePath(name);
    if (!img.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}
}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: dorv-render-views OUTPUT-FOLDER [CONTENT-FOLDER]\n");
        return 2;
    }
    g_content = args.size() > 2 ? args[2] : dorv::AppPath();
    if (!QDir().mkpath(args[1])) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(args[1]));
        return 1;
    }
    Port port;
    SetWindows(&port);

    // The Home environment's colours and scale.
    G.FloorColour = 0x70A0C8;
    G.WallColour = 0xD0E4F8;
    G.BackgroundColour = 0xFFFFFF;
    FileMod::SetPlanScale(40.0f / 50);
    G.CanvasCentreX = kWidth / 2.0f;
    G.CanvasCentreY = kHeight / 2.0f;
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 4, 5, 2.5f, G.FloorColour, G.WallColour);

    Place(QStringLiteral("Living/rug"), 0, 0.2f, 0);
    Place(QStringLiteral("Living/sofa"), 0, -1.45f, 0);
    Place(QStringLiteral("Living/coffeetable"), 0, 0.1f, 0);
    Place(QStringLiteral("Living/armchair"), -1.7f, 0.2f, 1);
    Place(QStringLiteral("Living/tvunit"), 0, 1.7f, 2);
    Place(QStringLiteral("Living/tv"), 0, 1.7f, 2);
    Place(QStringLiteral("Living/sidetable"), 1.9f, -1.5f, 0);
    Place(QStringLiteral("Living/tablelamp"), 1.9f, -1.5f, 0);
    Place(QStringLiteral("Living/floorlamp"), -2.1f, -1.6f, 0);
    Place(QStringLiteral("Bedroom/desk"), 1.9f, 0.9f, 3);
    Place(QStringLiteral("Kitchen/chair"), 1.4f, 0.9f, 1);
    PlaceOnWall(QStringLiteral("HomeWalls/window"), 0, 0.8f);
    PlaceOnWall(QStringLiteral("HomeWalls/radiator"), 0, -0.9f);
    PlaceOnWall(QStringLiteral("HomeWalls/door"), 1, 1.1f);
    PlaceOnWall(QStringLiteral("HomeWalls/picture"), 2, -1.2f);
    PlaceOnWall(QStringLiteral("HomeWalls/clock"), 3, 0.5f);
    G.SelectedItem = G.Room.FirstRealItem + 2;  // the coffee table
    FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                  G.ViewListCount);

    const QString out = args[1];
    bool ok = Save(out, QStringLiteral("plan.png"), 0, 0) && Save(out, QStringLiteral("3d.png"), 1, 0);
    const char* walls[] = {"north", "west", "south", "east"};
    for (int w = 0; w < 4 && ok; ++w) ok = Save(out, QStringLiteral("wall-%1.png").arg(walls[w]), 2, w);
    SetWindows(nullptr);
    return ok && g_missing == 0 ? 0 : 1;
}
