#pragma once
// The program-wide state: the scene (room, placed items, their pictures), the
// catalogue of the current item group, the views, colours, folders, languages,
// currency and units. One instance, `G`, lives for the whole run; the
// start-up code fills its settings part and a new place or a scene load
// replace its scene part.

#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <QString>

#include <array>
#include <vector>

// One row per environment: column 0 its folder, 1 its "+" sub-folder, 2 its
// "=" sub-folder, 3 to 19 its item-group sub-folders (empty after the last).
constexpr int kEnvironmentColumns = 20;
using EnvironmentRow = std::array<QString, kEnvironmentColumns>;

constexpr int kGraphKinds = 6;

struct SceneState {
    // Item arrays, each with its count (the arrays may be longer).
    std::vector<ItemRecord> Palette;
    int32_t PaletteCount = 0;
    std::vector<ItemRecord> PlacedItems = std::vector<ItemRecord>(1);
    int32_t PlacedItemCount = 0;
    std::vector<ItemRecord> ViewList;
    int32_t ViewListCount = 0;
    ItemRecord ClipItem;

    // Picture tables: words with the next free index.
    ShapeStream CatalogueShapes;
    int32_t CatalogueShapeCount = 0;
    ShapeStream SceneShapes;
    int32_t SceneShapeCount = 0;
    ShapeStream RoomShapes;
    int32_t RoomShapeCount = 0;
    ShapeStream ClipParts;
    int32_t ClipPartCount = 0;

    RoomRecord Room;
    PlanInfoRecord PlanInfo;
    int32_t WallIndex = 0;
    WallViewRecord WallView;

    std::vector<NamedAmount> CurrencyTable = std::vector<NamedAmount>(1);
    std::vector<NamedAmount> PriceOverrides;
    int32_t PriceOverrideCount = 0;

    std::vector<EnvironmentRow> EnvironmentTable;
    int32_t EnvironmentCount = 0;

    // Views.
    int16_t ViewMode = 0;     // 0 plan, 1 isometric 3D, 2 wall, 3 spreadsheet or graph
    int16_t PaletteKind = 0;  // 0 plan items, 2 wall items
    float PlanScale = 1.0f / 512, IsoScale = 1.0f / 512, WallScale = 1.0f / 512;
    float PlanPanX = 0, PlanPanY = 0;
    float IsoPanX = 0, IsoPanY = -80;
    float CanvasCentreX = 0, CanvasCentreY = 0;
    int32_t FloorColour = 0, WallColour = 0, BackgroundColour = 0;
    bool BufferDirty = false;
    float LastRenderTime = 1;

    // Selection and editing.
    int32_t SelectedItem = -1;
    int32_t DragItem = -1;
    int32_t WallDragItem = -1;
    int32_t HitItem = -1;
    int32_t PaletteSelection = 0;
    bool PaletteDisabled = false;
    int16_t PaletteLayout = 0;
    bool CleanFlag = true;
    QString SceneFileName;
    float WallDragOffset = 0;

    // Money and units.
    // In the base currency, kept to the cent shown (CommonMod::AddMoney):
    // a Single would lose the cents of what a class spends.
    double SpentTotal = 0;
    int16_t UnitIndex = 0;
    int32_t UnitFactor = 1000;
    float UnitScaleMode = 6;
    QString UnitText;
    float PlaceWidth = 0, PlaceLength = 0, PlaceHeight = 0;
    QString CurrencySymbol;
    float CurrencyRate = 1.0f;  // never 0: amounts are divided by it

    // Languages and folders.
    QString LanguageName = QStringLiteral("english");
    int32_t UiLanguage = 0, ItemLanguage = 0;
    QString EnvironDir, EnvironPlusDir, UserDir, ExamplesDir, WorksheetDir;
    QString EnvFolder;
    QString HomeEnvironmentFolder;
    QString ItemFolder;
    int16_t ItemGroupIndex = 1;
    bool ItemGroupsReady = false;
    int16_t EnvironmentIndex = -1;
    int16_t PlaceSetupResult = 0;
    bool OpenFileChosen = false;

    // Graphs.
    int16_t GraphKind = 0;
    std::array<bool, kGraphKinds> GraphShowPictures = {true, true, true, true, true, false};
    std::array<bool, kGraphKinds> GraphShowCosts = {true, true, true, true, true, false};
    std::array<bool, kGraphKinds> GraphByReferences = {};
    std::array<bool, kGraphKinds> Graph3D = {};

    int16_t PrinterCount = -1;
};

// The program-wide state.
extern SceneState G;
