#pragma once
// What the fuzz targets check, shared with the test that replays their
// corpus: each entry feeds bytes to a reader and answers whether the reader
// kept its promises.

#include "app/AdminSetup.h"
#include "scene/ItemCatalogue.h"
#include "scene/LangMod.h"
#include "scene/PlaceInfo.h"
#include "scene/RecordIO.h"
#include "scene/SceneFile.h"
#include "scene/SceneState.h"

#include <QByteArray>
#include <QStringList>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

namespace FuzzEntries {

// Loads the bytes as an item file into a table that already holds words.
// A refused file must leave the table, its count and the item as they were;
// an accepted one must lie whole after the earlier words, with its run
// inside them and a zero word just past the count.
inline bool ItemFile(const QByteArray& bytes)
{
    ShapeStream table;
    for (int32_t i = 0; i < 40; ++i) table.push_back(i * 7919 - 100000);
    int32_t count = 37;  // three words past the count hold something else
    const ShapeStream tableBefore = table;
    ItemRecord item;
    item.X = 3.5f;
    dorv::ByteWriter itemBefore;
    WriteItemRecord(itemBefore, item);

    const int32_t base = count;
    const bool loaded = FileMod::LoadItemDefinitionData(table, count, bytes, QStringLiteral("grp\\item.dvo"), item);
    dorv::ByteWriter itemAfter;
    WriteItemRecord(itemAfter, item);
    if (!loaded) return table == tableBefore && count == base && itemAfter.data() == itemBefore.data();

    const int64_t words = bytes.size() / 4;
    if (count != base + words + 1) return false;
    if (static_cast<int64_t>(table.size()) <= count || table[static_cast<size_t>(count)] != 0) return false;
    if (!std::equal(table.begin(), table.begin() + base, tableBefore.begin())) return false;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (int64_t i = 0; i < words; ++i) {
        const auto w = static_cast<int32_t>(b[4 * i] | b[4 * i + 1] << 8 | b[4 * i + 2] << 16 |
                                            static_cast<uint32_t>(b[4 * i + 3]) << 24);
        if (table[static_cast<size_t>(base + i)] != w) return false;
    }
    auto inside = [&](int32_t index) { return index >= base && index <= count; };
    return inside(item.FirstShape) && inside(item.FootprintShape) && inside(item.ShapeStart) &&
           inside(item.ShapeEnd) && item.ShapeStart <= item.ShapeEnd && item.ViewCount >= 0 &&
           table[static_cast<size_t>(item.FootprintShape)] == 2 && table[static_cast<size_t>(item.ShapeStart)] == 6 &&
           item.Flags >= 0 && item.Flags <= 15 && item.Price >= 0 && item.Price <= 167772.15f &&
           item.Name.trimmed() == QStringLiteral("grp\\item") && item.X == 3.5f;
}

// Reads the bytes as a place information file over a record that holds
// values. The rules that end every read must hold whatever the file said.
inline bool InfoFile(const QByteArray& bytes)
{
    PlanInfoRecord info;
    info.scale1 = 0;
    info.default_height = 0;
    info.useprices = false;
    FileMod::ReadInfoData(bytes, info);
    auto colour = [](int32_t c) { return c >= 0 && c <= 0xFFFFFF; };
    return info.scale1 != 0 && (info.min_height <= 0 || info.default_height != 0) && colour(info.wall_colour) &&
           colour(info.floor_colour) && colour(info.background_colour);
}

// A scene file over a scene already in memory. A refused file must leave
// that scene exactly as it was; an accepted one must hold together: every
// item's pictures inside the words read, the room's item ranges inside the
// items, a known length unit, every amount, size, position and angle a
// number; and saved, it must open again to the same scene.
inline bool SceneFile(const QByteArray& bytes)
{
    G = SceneState();
    G.SceneShapes = ShapeStream(64, 7);
    G.SceneShapeCount = 60;
    G.PlacedItems.assign(4, ItemRecord());
    G.PlacedItemCount = 3;
    G.PlacedItems[1].ShapeEnd = 60;
    G.Room.FirstRealItem = 1;
    G.FloorColour = 0x123456;
    G.UnitIndex = 2;
    G.SpentTotal = 5;
    G.RoomShapeCount = 0;
    const QByteArray before = FileMod::SceneFileBytes(G.PlacedItems, G.PlacedItemCount, G.SceneShapes,
                                                      G.SceneShapeCount, G.Room);
    int16_t environment = -7;
    const bool loaded = FileMod::LoadSceneData(bytes, G.PlacedItems, G.PlacedItemCount, G.SceneShapes,
                                               G.SceneShapeCount, G.Room, environment);
    if (!loaded)
        return environment == -7 && G.SpentTotal == 5 && G.RoomShapeCount == 0 && G.SceneShapes.size() == 64 &&
               FileMod::SceneFileBytes(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount,
                                       G.Room) == before;

    const int32_t words = G.SceneShapeCount, items = G.PlacedItemCount;
    if (words < 0 || items < 0 || static_cast<int64_t>(G.SceneShapes.size()) <= words ||
        static_cast<int64_t>(G.PlacedItems.size()) <= items)
        return false;
    for (int32_t i = 0; i < items; ++i) {
        const ItemRecord& r = G.PlacedItems[static_cast<size_t>(i)];
        if (r.ShapeStart < 0 || r.ShapeEnd < r.ShapeStart || r.ShapeEnd > words) return false;
        for (float v : {r.Price, r.HeightMm, r.WidthMm, r.DepthMm, r.Elevation, r.X, r.Y, r.WallAngle})
            if (!std::isfinite(v)) return false;
    }
    if (!std::isfinite(G.SpentTotal)) return false;
    const RoomRecord& room = G.Room;
    if (environment != 0 || room.FirstRealItem < 0 || room.FirstRealItem > items || room.FirstWallSection < 0 ||
        room.WallSectionCount < 0 || int64_t(room.FirstWallSection) + room.WallSectionCount > items ||
        G.UnitIndex < 0 || G.UnitIndex >= 8)
        return false;

    // What opens saves to a file that opens again to the same scene.
    const QByteArray saved =
        FileMod::SceneFileBytes(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room);
    return FileMod::LoadSceneData(saved, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room,
                                  environment) &&
           FileMod::SceneFileBytes(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room) ==
               saved;
}

// Reads the bytes as a language file. Whatever they hold, a slot is made
// only with an entry, every entry needs its ";", and reading the same bytes
// again over the tables changes nothing (a key keeps its first text), nor
// does reading them into new tables.
inline bool Language(const QByteArray& bytes)
{
    const QString key = QStringLiteral("msg\\lang_Width");
    auto read = [&](LangMod::LanguageTables& tables, std::vector<int>& counts, QStringList& texts) {
        LangMod::ReadLanguageText(bytes, QStringLiteral("msg"), tables);
        counts.clear();
        texts.clear();
        for (const auto& slot : tables) {
            counts.push_back(slot ? slot->Count() : -1);
            const QString* text = slot ? slot->Find(key) : nullptr;
            texts << (text ? *text : QStringLiteral("<none>"));
        }
    };
    LangMod::LanguageTables tables;
    std::vector<int> counts, again, fresh;
    QStringList texts, textsAgain, textsFresh;
    read(tables, counts, texts);
    int64_t entries = 0;
    for (int count : counts) {
        if (count == 0) return false;
        entries += count > 0 ? count : 0;
    }
    if (entries > bytes.count(';')) return false;
    read(tables, again, textsAgain);
    LangMod::LanguageTables other;
    read(other, fresh, textsFresh);
    return again == counts && fresh == counts && textsAgain == texts && textsFresh == texts;
}

// The settings file over a state that holds other settings. Whatever the
// file says, the program starts with sane folders, currencies and
// languages: every folder named (none of them empty of meaning: a line's
// value never carries a line end and is lower case), the currency table led
// by the element that carries no currency and every rate a positive,
// finite Single, both languages 16-bit numbers; and reading the same file
// again gives the same settings, nothing being left over from before.
inline bool Settings(const QByteArray& bytes)
{
    SceneState state;
    state.CurrencyTable.assign(3, NamedAmount{QStringLiteral("OLD"), 2.0f});
    state.EnvironDir = QStringLiteral("left over");
    const QString app = QStringLiteral("/opt/dorv"), user = QStringLiteral("/home/ana/Documents/");
    const WorksheetButton button = ApplyAdminSetup(bytes, state, app, user);

    auto folder = [](const QString& f, const QString& fallback) {
        if (f == fallback) return true;
        for (QChar c : f)
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.toLower() != c) return false;
        return true;
    };
    if (!folder(state.EnvironDir, app + QStringLiteral("\\Environments")) ||
        !folder(state.EnvironPlusDir, app + QStringLiteral("\\EnvironPlus")) || !folder(state.UserDir, user) ||
        !folder(state.ExamplesDir, app + QStringLiteral("\\Examples")) ||
        !folder(state.WorksheetDir, app + QStringLiteral("\\Worksheets")))
        return false;
    if (state.CurrencyTable.empty() || !state.CurrencyTable[0].Name.isEmpty() || state.CurrencyTable[0].Amount != 0)
        return false;
    for (size_t i = 1; i < state.CurrencyTable.size(); ++i) {
        const NamedAmount& c = state.CurrencyTable[i];
        if (!(c.Amount > 0) || !std::isfinite(c.Amount) || c.Name.contains(QLatin1Char(';')) ||
            c.Name.startsWith(QLatin1Char(' ')) || c.Name.endsWith(QLatin1Char(' ')))
            return false;
    }
    for (int32_t language : {state.UiLanguage, state.ItemLanguage})
        if (language < -32768 || language > 32767) return false;

    SceneState again;
    if (ApplyAdminSetup(bytes, again, app, user) != button) return false;
    if (again.EnvironDir != state.EnvironDir || again.EnvironPlusDir != state.EnvironPlusDir ||
        again.UserDir != state.UserDir || again.ExamplesDir != state.ExamplesDir ||
        again.WorksheetDir != state.WorksheetDir || again.UiLanguage != state.UiLanguage ||
        again.ItemLanguage != state.ItemLanguage || again.CurrencyTable.size() != state.CurrencyTable.size())
        return false;
    for (size_t i = 0; i < state.CurrencyTable.size(); ++i)
        if (again.CurrencyTable[i].Name != state.CurrencyTable[i].Name ||
            again.CurrencyTable[i].Amount != state.CurrencyTable[i].Amount)
            return false;
    return true;
}

}  // namespace FuzzEntries
