// dorv-render-reports: furnishes a family room with the shipped Home items
// and draws the spreadsheet and every chart the way the program does, one PNG
// each, to check by eye that they read clearly.
//   dorv-render-reports OUTPUT-PREFIX [CONTENT-FOLDER] [LANGUAGE]
// Writes OUTPUT-PREFIX<name>.png. The content folder defaults to the one
// beside the program (share/dorv); LANGUAGE 1 draws the Portuguese texts.
#include "platform/AppInfo.h"
#include "platform/PainterDc.h"
#include "scene/ItemCatalogue.h"
#include "scene/LangMod.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/WindowPort.h"
#include "views/Graphs.h"
#include "views/ViewRender.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

namespace {
constexpr int kWidth = 1024, kHeight = 720;

struct Port : WindowPort {
    int32_t page = 1;
    bool showItems = true;
    QSizeF CanvasSize() override { return {kWidth, kHeight}; }
    int32_t SpreadsheetPage() override { return page; }
    bool SpreadsheetShowsItems() override { return showItems; }
};

QString g_content;
int g_missing = 0;

void Place(const QString& item, int copies)
{
    for (int i = 0; i < copies; ++i) {
        ItemRecord entry;
        const QString path = g_content + QStringLiteral("/Environments/Home/") + item + QStringLiteral(".dvo");
        if (!FileMod::LoadItemDefinition(G.CatalogueShapes, G.CatalogueShapeCount, path, entry) ||
            !Shapes::CopyItemRun(G.CatalogueShapes, G.CatalogueShapeCount, entry, G.SceneShapes,
                                 G.SceneShapeCount)) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(path));
            ++g_missing;
            return;
        }
        G.PlacedItems.resize(static_cast<size_t>(G.PlacedItemCount) + 1);
        G.PlacedItems[static_cast<size_t>(G.PlacedItemCount++)] = entry;
        G.SpentTotal += entry.Price > 0 ? entry.Price : 0;
    }
}

bool Save(const QString& prefix, const QString& name, int16_t kind, bool in3D, bool costs, bool pictures)
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    {
        dorv::ImageDc dc(&img, 96);
        G.ViewMode = 3;
        G.GraphKind = kind;
        if (kind > 0) {
            G.Graph3D[size_t(kind - 1)] = in3D;
            G.GraphShowCosts[size_t(kind - 1)] = costs;
            G.GraphShowPictures[size_t(kind - 1)] = pictures;
        }
        DrawMod::RenderView(3, dc);
    }
    const QString path = prefix + name + QStringLiteral(".png");
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
        std::fprintf(stderr, "usage: dorv-render-reports OUTPUT-PREFIX [CONTENT-FOLDER] [LANGUAGE]\n");
        return 2;
    }
    g_content = args.size() > 2 ? args[2] : dorv::AppPath();
    dorv::SetAppPath(g_content);
    QDir().mkpath(QFileInfo(args[1]).absolutePath());
    Port port;
    SetWindows(&port);
    LangMod::LoadMessages();
    for (const char* group : {"Living", "Kitchen", "Bedroom"})
        LangMod::ReadLanguageFile(g_content + QStringLiteral("/Environments/Home/") + QLatin1String(group) +
                                      QStringLiteral("/PlanInfo.dvf"),
                                  QLatin1String(group), LangMod::PlanInfoTexts);
    if (args.size() > 3) G.UiLanguage = G.ItemLanguage = args[3].toInt();
    G.CurrencySymbol = QStringLiteral("\u00A3");
    G.CanvasCentreX = kWidth / 2.0f;
    G.CanvasCentreY = kHeight / 2.0f;
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 5, 4, 2.5f, 0x70A0C8, 0xD0E4F8);

    Place(QStringLiteral("Living/sofa"), 1);
    Place(QStringLiteral("Living/armchair"), 2);
    Place(QStringLiteral("Kitchen/chair"), 4);
    Place(QStringLiteral("Kitchen/table"), 1);
    Place(QStringLiteral("Living/tablelamp"), 3);
    Place(QStringLiteral("Living/rug"), 1);
    Place(QStringLiteral("Bedroom/toybox"), 2);

    const QString out = args[1];
    bool ok = Save(out, QStringLiteral("sheet-pictures"), 0, false, true, true);
    port.showItems = false;
    ok = ok && Save(out, QStringLiteral("sheet-names"), 0, false, true, true);
    ok = ok && Save(out, QStringLiteral("pie-costs-pictures"), 1, false, true, true) &&
         Save(out, QStringLiteral("pie3d-counts-names"), 1, true, false, false) &&
         Save(out, QStringLiteral("bar-counts-pictures"), 2, false, false, true) &&
         Save(out, QStringLiteral("bar3d-costs-names"), 2, true, true, false) &&
         Save(out, QStringLiteral("pictogram-counts-names"), 3, false, false, false) &&
         Save(out, QStringLiteral("pictogram3d-costs-pictures"), 3, true, true, true) &&
         Save(out, QStringLiteral("line-counts-names"), 4, false, false, false) &&
         Save(out, QStringLiteral("area-costs-pictures"), 4, true, true, true);
    SetWindows(nullptr);
    return ok && g_missing == 0 ? 0 : 1;
}
