// The new-place flow of the main window: the environment chooser, the
// place-setup dialog, and what the place they set makes of the window.
#include "app/EnvSelect.h"
#include "app/Floors.h"
#include "app/ItemGroups.h"
#include "app/Main.h"

#include "platform/AppInfo.h"
#include "scene/Environments.h"
#include "scene/FileMod.h"
#include "scene/LangMod.h"
#include "scene/PlaceInfo.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/UnitsMoney.h"
#include "views/ViewRender.h"

void Main::ResetScene()
{
    G.EnvironmentIndex = -1;
    G.DragItem = -1;
    G.WallDragItem = -1;
    G.SelectedItem = -1;
    G.PaletteSelection = 0;
    G.ViewMode = 0;
    G.PaletteKind = 0;
    G.PaletteDisabled = false;
    ResetViewPlacement();
    G.CleanFlag = true;
    G.PlacedItemCount = 0;
    G.SceneShapeCount = 0;
    G.SceneFileName.clear();
    G.PrinterCount = -1;
    G.SpentTotal = 0;
    G.OpenFileChosen = false;
    G.ItemGroupIndex = 1;
    G.PlanInfo.background_colour = 0xFFFFFF;
    G.PlanInfo.default_height = 0;
    G.PlanInfo.noprices = false;
    G.UnitIndex = 0;
    G.UnitText = CommonMod::SetLengthUnit(0);
    for (int kind = 0; kind <= 4; ++kind) {
        G.GraphShowPictures[kind] = G.GraphShowCosts[kind] = true;
        G.GraphByReferences[kind] = G.Graph3D[kind] = false;
    }
    G.PlacedItems.assign(1, ItemRecord());
    // The history and the last hit item name items of the scene that goes:
    // in the next scene they would act on other items.
    ClearUndoList();
    G.HitItem = -1;
    StackedItemCount = 0;
    EnableEditCommands(false);
}

void Main::ResetViewPlacement()
{
    G.PlanScale = G.IsoScale = G.WallScale = 1.0f / 512;
    G.PlanPanX = G.PlanPanY = G.IsoPanX = 0;
    G.IsoPanY = -80;
    ShowPansOnBars();
}

void Main::StartNewPlace()
{
    ResetScene();
    G.OpenFileChosen = true;
    G.SceneFileName.clear();
    G.PlaceSetupResult = -1;
    G.EnvironmentIndex = -1;

    EnvSelect* chooser = EnvSelect::Window();
    Floors* floors = Floors::Window();
    if (!chooser || !floors) return;

    while ((G.SceneFileName.isEmpty() && G.OpenFileChosen) || G.PlaceSetupResult == -2 || G.EnvironmentIndex == -1) {
        chooser->Command2->SetEnabled(static_cast<bool>(OpenCommand));
        chooser->Command3->SetEnabled(static_cast<bool>(OpenCommand));
        const bool chosen = chooser->go(this);
        if (dorv::Ending()) return;
        // The chooser went without a choice: it was closed, which ends the
        // program.
        if (!chosen) {
            dorv::EndProgram();
            return;
        }

        if (G.OpenFileChosen) {
            // A scene whose environment is known ends the loop; a cancelled
            // dialog or another scene brings the chooser back.
            G.EnvironmentIndex = -1;
            if (OpenCommand) OpenCommand(chooser->OpenFolder);
            G.PlaceSetupResult = -1;
            // The plan view of a scene that brings the chooser back offered
            // the item groups: the chooser stands alone until a place is set.
            if (dorv::Form* groups = dorv::Form::Existing(QStringLiteral("ItemGroups"))) groups->Hide();
            continue;
        }
        if (G.EnvironmentIndex < 1 || G.EnvironmentIndex > G.EnvironmentCount ||
            G.EnvironmentIndex > static_cast<int32_t>(G.EnvironmentTable.size())) {
            G.EnvironmentIndex = -1;
            continue;
        }
        // A new place starts from nothing, also after the chooser came back
        // over a scene it opened (one whose environment is not installed):
        // none of its items, pictures or name may reach the new room.
        const int32_t environment = G.EnvironmentIndex;
        ResetScene();
        G.EnvironmentIndex = environment;

        G.EnvFolder = G.EnvironmentTable[static_cast<size_t>(G.EnvironmentIndex - 1)][0];
        // Lists the environment's item groups (and reads its add-on place
        // information); the palette shows the first of them.
        LoadPalette(FileMod::LoadEnvironmentItemGroups(G.ViewMode, G.EnvFolder));
        if (FileMod::FileExists(G.EnvFolder + QStringLiteral("\\PlanInfo.dvf")))
            FileMod::ReadInfoFile(G.EnvFolder, QStringLiteral("\\PlanInfo.dvf"), G.PlanInfo);
        // An environment without place information has no scale: 1.
        const float scale = G.PlanInfo.scale1 > 0 ? G.PlanInfo.scale1 : 1.0f;
        FileMod::SetPlanScale(scale / 50);

        floors->Load();
        QString caption = LangMod::GetMessage(QStringLiteral("lang_PlaceSetup"));
        floors->SetCaption(caption.replace(QLatin1Char('%'), LangMod::GetPlaceText()));
        floors->Text1->SetText(Floors::StrOf(G.PlanInfo.default_width));
        floors->Text2->SetText(Floors::StrOf(G.PlanInfo.default_depth));
        floors->Text3->SetText(Floors::StrOf(G.PlanInfo.default_height));
        floors->Text4->SetText(Floors::BudgetBoxText(G.PlanInfo.budget));
        floors->Combo1->SetEnabled(!G.PlanInfo.noprices);
        floors->Text4->SetEnabled(!G.PlanInfo.noprices);
        G.PlaceWidth = Floors::MetresFromText(floors->Text1->Text()).value_or(0);
        G.PlaceLength = Floors::MetresFromText(floors->Text2->Text()).value_or(0);
        G.PlaceHeight = Floors::MetresFromText(floors->Text3->Text()).value_or(0);

        floors->Show(dorv::vbModal, this);
        if (dorv::Ending()) return;
        if (G.PlaceSetupResult < 0) {
            G.EnvironmentIndex = -1;
            continue;
        }

        // OK: the place is set.
        CommonMod::SetCurrency(floors->Combo1->Text());
        G.PlanInfo.budget = CommonMod::ParseMoneyText(floors->Text4->Text());
        SetPaletteDisabled(false);
        Command1->SetVisible(true);
        for (int kind = 0; kind <= 4; ++kind) G.GraphShowCosts[kind] = !G.PlanInfo.noprices;
        G.FloorColour = G.PlanInfo.floor_colour;
        G.WallColour = G.PlanInfo.wall_colour;
        G.BackgroundColour = G.PlanInfo.background_colour;
        // The budget and the colour swatches of the place.
        SetToolWindowsForPlace();
        CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, G.PlaceWidth, G.PlaceLength,
                                     G.PlaceHeight, G.FloorColour, G.WallColour);
    }

    ShowPlace();
    ShowItemGroups();
}

void Main::SetPlaceControls()
{
    // A place without walls has no wall view and no wall to turn to; the
    // turn button waits for the wall view either way.
    const bool walls = G.Room.WallSectionCount != 0;
    Picture1[2]->SetPicture(ImageList2.Image(walls ? 5 : 1));
    Picture1[2]->SetEnabled(walls);
    Picture3[9]->SetPicture(ImageList2.Image(2));
    Picture3[9]->SetEnabled(false);
    mnu_showWallBar->SetEnabled(walls);
    mnu_rotateWall->SetEnabled(walls);
    mnu_wallView->SetEnabled(walls);

    // The spreadsheet counts money: without prices it has nothing to show,
    // and there is no price to change or to use.
    const bool prices = !G.PlanInfo.noprices;
    Command2->SetVisible(prices);
    Picture1[3]->SetEnabled(prices);
    mnu_showSheet->SetEnabled(prices);
    Picture1[3]->SetPicture(prices ? ImageList1.Image(7) : ImageList2.Image(14));
    if (ItemGroups* groups = ItemGroups::Window()) {
        groups->Check1[0]->SetEnabled(prices);
        groups->Label1->SetEnabled(prices);
    }
}

void Main::ShowPlace()
{
    // The plan first: the switch gives the button of the view it leaves its
    // working face, which the place's own controls then grey where the place
    // lacks walls or prices.
    Picture1_Click(1);
    SetPlaceControls();
    if (ItemGroups* groups = ItemGroups::Window()) groups->NarrowForm();
    ShowPlaceInCaption();
    G.HomeEnvironmentFolder = G.EnvFolder;
    // Measured at the place's own scale, now that the plan shows.
    UpdateItemListScrollRange();
}

void Main::ShowItemGroups()
{
    if (dorv::Form* groups = toolWindow(QStringLiteral("ItemGroups"))) {
        groups->Show(dorv::vbModeless, this);
        mnu_showItemGroups->SetChecked(true);
    }
}

void Main::ShowPlaceInCaption()
{
    QString caption = LangMod::GetMessage(QStringLiteral("lang_CurrentEnvironment"));
    SetCaption(dorv::AppTitle() + QStringLiteral(" - ") + caption.replace(QLatin1Char('%'), LangMod::GetPlaceText()));
}

void Main::NewPlace()
{
    if (ConfirmSaveChanges && ConfirmSaveChanges()) return;
    ResetScene();
    Hide();
    for (const char* name : {"Budget", "Colours", "ItemGroups", "frmGraphs", "frmChangePrice", "frmSpreadSht"})
        if (dorv::Form* f = dorv::Form::Existing(QLatin1String(name))) f->Hide();
    StartNewPlace();
    if (dorv::Ending()) return;
    Show(dorv::vbModeless);
    G.ItemGroupsReady = false;
    if (dorv::Form* groups = toolWindow(QStringLiteral("ItemGroups"))) groups->Show(dorv::vbModeless, this);
    G.ItemGroupsReady = true;
}

void Main::mnu_new_Click() { NewPlace(); }
