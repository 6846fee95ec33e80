#include "SceneSource.h"

#include "platform/FileSystem.h"
#include "scene/FileMod.h"
#include "scene/ItemCatalogue.h"
#include "scene/PictureMeasure.h"
#include "scene/PlaceInfo.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneFile.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/UnitsMoney.h"
#include "scene/WindowPort.h"
#include "views/ViewRender.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace SceneTool {

namespace {

// Internal units per metre.
constexpr float kUnitsPerMetre = 36288;

const std::array<const char*, 4> kWallNames = {"north", "west", "south", "east"};

bool Fail(QString* error, int line, const QString& text)
{
    if (error) *error = line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(text) : text;
    return false;
}

std::optional<float> Number(const QString& text)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1e6) return std::nullopt;
    return static_cast<float>(v);
}

// One item group's catalogue, loaded once.
struct Catalogue {
    ShapeStream shapes = ShapeStream(1, 0);
    int32_t shapeCount = 0;
    std::vector<ItemRecord> items;
    int32_t itemCount = 0;
};

QString SizeText(float metres)
{
    return CommonMod::FormatTwoDecimals(
        CommonMod::ScaleFromMillimetres(metres * 1000, G.UnitScaleMode, G.UnitFactor));
}

}  // namespace

int ToolWindows::MsgBox(const QString& prompt, int, const QString&)
{
    messages.append(prompt);
    return 1;
}

QString ToolWindows::PlaceSizeText(int box) { return box >= 1 && box <= 3 ? sizes_[box] : QString(); }

void ToolWindows::SetPlaceSizeText(int box, const QString& text)
{
    if (box >= 1 && box <= 3) sizes_[box] = text;
}

QString ToolWindows::BudgetText(int box) { return box >= 1 && box <= 4 ? budget_[box] : QString(); }

void ToolWindows::SetBudgetText(int box, const QString& text)
{
    if (box >= 1 && box <= 4) budget_[box] = text;
}

std::optional<int32_t> ParseColour(const QString& text)
{
    static const QRegularExpression hex(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!hex.match(text).hasMatch()) return std::nullopt;
    const uint32_t rgb = text.mid(1).toUInt(nullptr, 16);
    const int32_t r = int32_t(rgb >> 16) & 0xFF, g = int32_t(rgb >> 8) & 0xFF, b = int32_t(rgb) & 0xFF;
    return r | (g << 8) | (b << 16);
}

bool ParseSceneSource(const QByteArray& text, SceneSource& scene, QString* error)
{
    scene = SceneSource();
    bool sized = false;
    const QStringList lines = QString::fromUtf8(text).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (int n = 0; n < lines.size(); ++n) {
        const int line = n + 1;
        QString s = lines[n];
        const int hash = s.indexOf(QLatin1Char('#'));
        // A colour's "#" follows a blank and is no comment.
        if (hash >= 0 && !(hash > 0 && s[hash - 1].isSpace() && ParseColour(s.mid(hash, 7)) &&
                           (s.size() == hash + 7 || s[hash + 7].isSpace())))
            s.truncate(hash);
        s = s.trimmed();
        if (s.isEmpty()) continue;
        const QString key = s.section(blanks, 0, 0).toLower();
        const QString rest = s.section(blanks, 1).trimmed();
        const QStringList w = rest.split(blanks, Qt::SkipEmptyParts);

        if (key == QLatin1String("environment") || key == QLatin1String("place") ||
            key == QLatin1String("currency")) {
            if (rest.isEmpty()) return Fail(error, line, key + QStringLiteral(" needs a text"));
            if (key == QLatin1String("environment")) scene.environment = rest;
            else if (key == QLatin1String("place")) scene.place = rest;
            else scene.currency = rest;
        } else if (key == QLatin1String("size")) {
            if (w.size() != 3) return Fail(error, line, QStringLiteral("size needs width, length and height"));
            const auto a = Number(w[0]), b = Number(w[1]), c = Number(w[2]);
            if (!a || !b || !c || *a <= 0 || *b <= 0 || *c < 0)
                return Fail(error, line, QStringLiteral("size needs three lengths in metres"));
            scene.width = *a;
            scene.length = *b;
            scene.height = *c;
            sized = true;
        } else if (key == QLatin1String("unit")) {
            const auto u = w.size() == 1 ? Number(w[0]) : std::nullopt;
            if (!u || *u < 0 || *u > 5 || *u != std::floor(*u)) return Fail(error, line, QStringLiteral("unit is 0 to 5"));
            scene.unit = int16_t(*u);
        } else if (key == QLatin1String("budget")) {
            const auto b = w.size() == 1 ? Number(w[0]) : std::nullopt;
            if (!b || *b < 0) return Fail(error, line, QStringLiteral("budget needs an amount"));
            scene.budget = *b;
        } else if (key == QLatin1String("prices")) {
            if (rest != QLatin1String("on") && rest != QLatin1String("off"))
                return Fail(error, line, QStringLiteral("prices is on or off"));
            scene.prices = rest == QLatin1String("on");
        } else if (key == QLatin1String("floor") || (key == QLatin1String("wall") && w.size() == 1) ||
                   key == QLatin1String("background")) {
            const auto c = w.size() == 1 ? ParseColour(w[0]) : std::nullopt;
            if (!c) return Fail(error, line, key + QStringLiteral(" needs a colour #RRGGBB"));
            (key == QLatin1String("floor") ? scene.floorColour
                                           : key == QLatin1String("wall") ? scene.wallColour : scene.backgroundColour) = *c;
        } else if (key == QLatin1String("item")) {
            if (w.size() != 3 && w.size() != 4)
                return Fail(error, line, QStringLiteral("item needs Group\\file, x, y and a view"));
            PlacedItem p;
            p.item = w[0];
            p.line = line;
            const auto x = Number(w[1]), y = Number(w[2]);
            const auto v = w.size() == 4 ? Number(w[3]) : std::optional<float>(0.0f);
            if (!x || !y || !v || *v < 0 || *v > 3 || *v != std::floor(*v))
                return Fail(error, line, QStringLiteral("item needs x and y in metres and a view 0 to 3"));
            p.x = *x;
            p.y = *y;
            p.view = int16_t(*v);
            scene.items.push_back(p);
        } else if (key == QLatin1String("wall")) {
            if (w.size() != 3) return Fail(error, line, QStringLiteral("wall needs Group\\file, a wall and a position"));
            PlacedItem p;
            p.item = w[0];
            p.line = line;
            for (size_t k = 0; k < kWallNames.size(); ++k)
                if (w[1].toLower() == QLatin1String(kWallNames[k])) p.wallSide = int16_t(k);
            const auto pos = Number(w[2]);
            if (p.wallSide < 0) return Fail(error, line, QStringLiteral("the wall is north, west, south or east"));
            if (!pos) return Fail(error, line, QStringLiteral("wall needs a position in metres"));
            (p.wallSide % 2 == 0 ? p.x : p.y) = *pos;
            scene.items.push_back(p);
        } else {
            return Fail(error, line, QStringLiteral("unknown statement ") + key);
        }
    }
    if (scene.environment.isEmpty()) return Fail(error, 0, QStringLiteral("no environment"));
    if (!sized) return Fail(error, 0, QStringLiteral("no size"));
    return true;
}

bool BuildScene(const SceneSource& scene, const QString& contentFolder, QString* error)
{
    G = SceneState();
    G.EnvFolder = contentFolder + QStringLiteral("\\Environments\\") + scene.environment;
    if (!dorv::IsFolder(G.EnvFolder) || !FileMod::FileExists(G.EnvFolder + QStringLiteral("\\PlanInfo.dvf")))
        return Fail(error, 0, QStringLiteral("no environment ") + scene.environment);
    PlanInfoRecord info;
    if (!FileMod::ReadInfoFile(G.EnvFolder, QStringLiteral("\\PlanInfo.dvf"), info))
        return Fail(error, 0, QStringLiteral("the place information of ") + scene.environment + QStringLiteral(" cannot be read"));
    // The sizes the place setup would accept.
    if (scene.width < info.min_width || scene.width > info.max_width || scene.length < info.min_depth ||
        scene.length > info.max_depth || scene.height < info.min_height || scene.height > info.max_height)
        return Fail(error, 0, QStringLiteral("the size lies outside what the environment's place setup accepts"));

    // As a new place is set up: scale, colours, unit and currency.
    FileMod::SetPlanScale((info.scale1 > 0 ? info.scale1 : 1.0f) / 50);
    G.FloorColour = scene.floorColour.value_or(info.floor_colour);
    G.WallColour = scene.wallColour.value_or(info.wall_colour);
    G.BackgroundColour = scene.backgroundColour.value_or(info.background_colour);
    G.UnitText = CommonMod::SetLengthUnit(scene.unit);
    CommonMod::SetCurrency(scene.currency.value_or(QStringLiteral("\u00A3")));
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, scene.width, scene.length,
                                 scene.height, G.FloorColour, G.WallColour);
    G.SpentTotal = 0;

    std::map<QString, Catalogue> catalogues;
    for (const PlacedItem& p : scene.items) {
        const int slash = p.item.indexOf(QLatin1Char('\\'));
        if (slash <= 0 || slash == p.item.size() - 1)
            return Fail(error, p.line, QStringLiteral("an item is named Group\\file"));
        const QString group = p.item.left(slash).toLower();
        auto found = catalogues.find(group);
        if (found == catalogues.end()) {
            Catalogue c;
            const QString folder = G.EnvFolder + QLatin1Char('\\') + p.item.left(slash);
            if (dorv::IsFolder(folder)) FileMod::LoadItemCatalogue(folder, c.shapes, c.shapeCount, c.items, c.itemCount);
            found = catalogues.emplace(group, std::move(c)).first;
        }
        const Catalogue& cat = found->second;
        const ItemRecord* tmpl = nullptr;
        for (int32_t i = 0; i < cat.itemCount; ++i)
            if (cat.items[size_t(i)].Name.trimmed().compare(p.item, Qt::CaseInsensitive) == 0) tmpl = &cat.items[size_t(i)];
        if (!tmpl) return Fail(error, p.line, QStringLiteral("no item ") + p.item + QStringLiteral(" in ") + scene.environment);

        // The item is placed as a drop from the palette places it: a copy of
        // the catalogue entry with its own copy of the picture run, after the
        // room's sections when it lies in front of the others, else at the
        // end; its price counts when prices do.
        ItemRecord item = *tmpl;
        if (!Shapes::CopyItemRun(cat.shapes, cat.shapeCount, item, G.SceneShapes, G.SceneShapeCount))
            return Fail(error, p.line, QStringLiteral("the picture of ") + p.item + QStringLiteral(" cannot be copied"));
        if (p.wallSide >= 0) item.Flags |= kItemOnWall;
        else item.Flags &= ~kItemOnWall;
        item.X = p.x * kUnitsPerMetre;
        item.Y = p.y * kUnitsPerMetre;

        if (p.wallSide >= 0) {
            // Against the wall the wall view shows as that side, on the room's
            // side of it, in the rotation that faces out from the wall.
            WallViewRecord wall;
            bool any = false;
            for (int32_t k = 0; k < G.Room.WallSectionCount && !any; ++k)
                any = DrawMod::GetWallViewRecord(wall, k, G.Room, G.PlacedItems, G.PlacedItemCount, G.SceneShapes,
                                                 G.SceneShapeCount) &&
                      wall.Side == p.wallSide;
            if (!any) return Fail(error, p.line, QStringLiteral("the place has no ") + kWallNames[size_t(p.wallSide)] + QStringLiteral(" wall"));
            item.ViewIndex = int16_t(p.wallSide % std::max<int16_t>(1, item.ViewCount));
            float w = 0, d = 0;
            DrawMod::GetItemPictureSize(item, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1.0f, w, d);
            const bool across = p.wallSide % 2 == 0;  // a north or south wall runs along x
            const float centre = across ? float(wall.CentreX) : float(wall.CentreY);
            const float along = across ? item.X : item.Y;
            const float half = (float(wall.Length) - float(item.FootWidth)) / 2;
            if (along < centre - half || along > centre + half)
                return Fail(error, p.line, p.item + QStringLiteral(" does not fit on the wall there"));
            if (across) item.Y = wall.CentreY < 0 ? wall.CentreY + d / 2 : wall.CentreY - d / 2;
            else item.X = wall.CentreX < 0 ? wall.CentreX + w / 2 : wall.CentreX - w / 2;
        } else {
            item.ViewIndex = int16_t(p.view % std::max<int16_t>(1, item.ViewCount));
        }

        // Inside the floor, as a drop is kept.
        float w = 0, d = 0;
        DrawMod::GetItemPictureSize(item, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1.0f, w, d);
        if (std::fabs(item.X) + w / 2 > G.Room.ExtentX / 2.0f + 1 || std::fabs(item.Y) + d / 2 > G.Room.ExtentY / 2.0f + 1)
            return Fail(error, p.line, p.item + QStringLiteral(" does not lie inside the floor"));

        if (scene.prices) G.SpentTotal += item.Price;
        else item.Price = 0;

        int32_t k = G.PlacedItemCount;
        if (int32_t(G.PlacedItems.size()) < G.PlacedItemCount + 2) G.PlacedItems.resize(size_t(G.PlacedItemCount) + 2);
        if (item.Flags & kItemInFront) {
            k = std::clamp(G.Room.FirstRealItem, 0, G.PlacedItemCount);
            for (int32_t j = G.PlacedItemCount; j > k; --j) G.PlacedItems[size_t(j)] = G.PlacedItems[size_t(j - 1)];
        }
        G.PlacedItems[size_t(k)] = item;
        ++G.PlacedItemCount;
        FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, k, G.SceneShapes, G.SceneShapeCount);
    }

    // The catalogues read their groups' names into the place information:
    // the environment's own is what the scene keeps.
    G.PlanInfo = info;
    if (!scene.place.isEmpty()) G.PlanInfo.place = scene.place;
    G.PlanInfo.budget = scene.budget.value_or(info.budget);
    G.PlanInfo.useprices = scene.prices;
    return true;
}

bool WriteScene(const SceneSource& scene, const QString& path, QString* error)
{
    Windows().SetBudgetText(1, CommonMod::FormatMoney(G.PlanInfo.budget, 1));
    Windows().SetBudgetText(2, CommonMod::FormatMoney(G.SpentTotal, 1));
    Windows().SetPlaceSizeText(1, SizeText(scene.width));
    Windows().SetPlaceSizeText(2, SizeText(scene.length));
    Windows().SetPlaceSizeText(3, SizeText(scene.height));
    QString where = path;
    return FileMod::SaveSceneFile(where, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room,
                                  error);
}

}  // namespace SceneTool
