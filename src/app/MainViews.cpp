// The five views of the main window and the switch between them, the view
// buttons' faces, the wall the wall view shows, and the tool and command
// buttons that run the menu entries' commands.

#include "app/Main.h"
#include "app/frmGraphs.h"

#include "platform/Rounding.h"
#include "scene/Environments.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/UnitsMoney.h"
#include "views/ViewRender.h"

#include <algorithm>

namespace {

// A pan bar takes `value` only when it lies within the bar's range.
void SetWithinRange(dorv::ScrollBar* bar, double value)
{
    const int32_t v = dorv::RoundHalfEven(value);
    const int32_t lo = std::min(bar->Min(), bar->Max()), hi = std::max(bar->Min(), bar->Max());
    if (v >= lo && v <= hi) bar->SetValue(static_cast<int16_t>(v));
}

void HideForm(const char* name)
{
    if (dorv::Form* f = dorv::Form::Existing(QLatin1String(name))) f->Hide();
}

// Runs a menu entry's command, when one is connected.
void Run(dorv::Menu* entry)
{
    if (entry && entry->Click) entry->Click();
}

}  // namespace

void Main::connectViews()
{
    for (int16_t i = 0; i < int16_t(Picture1.size()); ++i) Picture1[i]->Click = [this, i] { Picture1_Click(i); };
    for (int16_t i = 5; i <= 12; ++i) {
        Picture3[i]->Click = [this, i] { Picture3_Click(i); };
        Picture3[i]->DblClick = [this, i] { Picture3_DblClick(i); };
    }
    for (int16_t i = 0; i < int16_t(Picture7.size()); ++i) Picture7[i]->Click = [this, i] { Picture7_Click(i); };

    connectMenu(mnu_planView, &Main::mnu_planView_Click);
    connectMenu(mnu_3DView, &Main::mnu_3DView_Click);
    connectMenu(mnu_wallView, &Main::mnu_wallView_Click);
    connectMenu(mnu_showSheet, &Main::mnu_showSheet_Click);
    connectMenu(mnu_showPieChart, &Main::mnu_showPieChart_Click);
    connectMenu(mnu_showBargraph, &Main::mnu_showBargraph_Click);
    connectMenu(mnu_showPictogram, &Main::mnu_showPictogram_Click);
    connectMenu(mnu_showLinegraph, &Main::mnu_showLinegraph_Click);
    connectMenu(mnu_rotateWall, &Main::mnu_rotateWall_Click);
}

// ---- the view switch ----

void Main::SetViewButtonImages(int16_t current, int16_t next)
{
    if (current >= 0 && current < int16_t(Picture1.size())) {
        Picture1[current]->SetPicture(ImageList1.Image(2 * current + 1));
        Picture1[current]->Refresh();
    }
    CurrentViewButton = next;
    if (next >= 0 && next < int16_t(Picture1.size())) {
        Picture1[next]->SetPicture(ImageList1.Image(2 * next + 2));
        Picture1[next]->Refresh();
    }
}

void Main::Picture1_Click(int16_t index)
{
    const int16_t previous = CurrentViewButton;
    SetViewButtonImages(CurrentViewButton, index);

    // What every view starts from: nothing selected, the plain cursor, no
    // wall to turn, no panels.
    G.SelectedItem = -1;
    EnableEditCommands(false);
    Picture2->SetToolTipText(QString());
    Picture2->SetMouseIcon(ImageList3.Image(1));
    Picture2->SetMousePointer(dorv::vbCustom);
    Picture3[9]->SetEnabled(false);
    Picture3[9]->SetPicture(ImageList2.Image(2));
    Command1->SetVisible(false);
    HideForm("frmSpreadSht");
    HideForm("frmGraphs");
    G.ItemGroupsReady = false;
    HScroll2->SetEnabled(true);
    VScroll2->SetEnabled(true);

    const bool groupsKnown = dorv::Form::Known(QStringLiteral("ItemGroups"));
    // The plan and the wall view offer the item groups; the others do not.
    auto offerGroups = [this, groupsKnown] {
        mnu_showItemGroups->SetEnabled(groupsKnown);
        if (mnu_showItemGroups->Checked())
            if (dorv::Form* groups = toolWindow(QStringLiteral("ItemGroups"))) groups->Show(dorv::vbModeless, this);
    };
    auto withdrawGroups = [this] {
        HideForm("ItemGroups");
        mnu_showItemGroups->SetEnabled(false);
    };
    auto panBarsOff = [this] {
        HScroll2->SetEnabled(false);
        VScroll2->SetEnabled(false);
    };

    switch (index) {
    case 0:  // 3D
        FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                      G.ViewListCount);
        SetPaletteDisabled(true);
        G.ViewMode = 1;
        DrawMod::RedrawView();
        SetWithinRange(HScroll2, -G.IsoPanX);
        SetWithinRange(VScroll2, G.IsoPanY);
        withdrawGroups();
        break;
    case 1:  // plan
        SetPaletteDisabled(false);
        Command1->SetVisible(true);
        G.ViewMode = 0;
        DrawMod::RedrawView();
        SetWithinRange(HScroll2, -G.PlanPanX);
        SetWithinRange(VScroll2, G.PlanPanY);
        // The palette holds plan items again, or is only repainted.
        if (G.PaletteKind != 0) {
            G.ItemGroupIndex = 1;
            LoadPalette(FileMod::LoadEnvironmentItemGroups(G.ViewMode, G.EnvFolder));
            G.PaletteKind = 0;
        } else {
            Picture5_Paint();
            Picture6->Refresh();
        }
        offerGroups();
        break;
    case 2:  // wall
        SetPaletteDisabled(false);
        G.ViewMode = 2;
        FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                      G.ViewListCount);
        DrawMod::RedrawView();
        HScroll2->SetValue(0);
        VScroll2->SetValue(0);
        panBarsOff();
        // The palette holds the wall items of the first wall group, when
        // the environment has one.
        if (G.PaletteKind == 2) {
            Picture5_Paint();
            Picture6->Refresh();
        } else {
            G.ItemGroupIndex = 1;
            const QString firstGroup = FileMod::LoadEnvironmentItemGroups(G.ViewMode, G.EnvFolder);
            if (!firstGroup.isEmpty()) LoadPalette(firstGroup);
            G.PaletteKind = 2;
        }
        DrawMod::GetWallViewRecord(G.WallView, G.WallIndex, G.Room, G.PlacedItems, G.PlacedItemCount, G.SceneShapes,
                                   G.SceneShapeCount);
        Picture3[9]->SetPicture(ImageList2.Image(9 + G.WallIndex));
        Picture3[9]->SetEnabled(true);
        offerGroups();
        break;
    case 3:  // spreadsheet
        // Its panel pages through the money spent, when there is any.
        if (CommonMod::MoneySpent() && !G.PlanInfo.noprices)
            if (dorv::Form* sheet = toolWindow(QStringLiteral("frmSpreadSht"))) sheet->Show(dorv::vbModeless, this);
        if (previous == 3) break;
        panBarsOff();
        G.ViewMode = 3;
        G.GraphKind = 0;
        DrawMod::RedrawView();
        SetPaletteDisabled(true);
        withdrawGroups();
        break;
    case 4:  // graphs
        if (G.GraphKind == 0) G.GraphKind = 1;
        // The panel names the chart drawn and shows its options, also when
        // the chart was chosen from the menu.
        if (auto* panel = dynamic_cast<frmGraphs*>(dorv::Form::Existing(QStringLiteral("frmGraphs"))))
            panel->ShowKindOptions();
        if (previous == 4) break;
        // Without prices a graph can only count: the panel takes its costs
        // option away and shows the count chosen.
        if (auto* panel = dynamic_cast<frmGraphs*>(toolWindow(QStringLiteral("frmGraphs"))))
            panel->SetCostsAvailable(!G.PlanInfo.noprices);
        else if (G.PlanInfo.noprices && G.GraphKind >= 1 && G.GraphKind <= kGraphKinds)
            G.GraphShowCosts[size_t(G.GraphKind - 1)] = false;
        if (G.PlacedItemCount > G.Room.FirstRealItem)
            if (dorv::Form* graphs = toolWindow(QStringLiteral("frmGraphs"))) graphs->Show(dorv::vbModeless, this);
        G.ViewMode = 3;
        panBarsOff();
        DrawMod::RedrawView();
        SetPaletteDisabled(true);
        withdrawGroups();
        break;
    default:
        break;
    }
    G.ItemGroupsReady = true;
}

void Main::mnu_3DView_Click() { Picture1_Click(0); }

void Main::mnu_planView_Click() { Picture1_Click(1); }

void Main::mnu_wallView_Click() { Picture1_Click(2); }

void Main::mnu_showSheet_Click()
{
    if (!Picture1[3]->Enabled()) return;
    G.GraphKind = 0;
    Picture1_Click(3);
}

void Main::mnu_showPieChart_Click()
{
    G.GraphKind = 1;
    Picture1_Click(4);
    DrawMod::RedrawView();
}

void Main::mnu_showBargraph_Click()
{
    G.GraphKind = 2;
    Picture1_Click(4);
    DrawMod::RedrawView();
}

void Main::mnu_showPictogram_Click()
{
    G.GraphKind = 3;
    Picture1_Click(4);
    DrawMod::RedrawView();
}

void Main::mnu_showLinegraph_Click()
{
    G.GraphKind = 4;
    Picture1_Click(4);
    DrawMod::RedrawView();
}

// ---- the wall shown ----

void Main::mnu_rotateWall_Click()
{
    const int32_t walls = G.Room.WallSectionCount;
    if (walls <= 0) return;
    // A wall index from elsewhere that lies outside the walls starts again
    // from the first.
    G.WallIndex = G.WallIndex >= 0 && G.WallIndex < walls ? (G.WallIndex + 1) % walls : 0;
    DrawMod::GetWallViewRecord(G.WallView, G.WallIndex, G.Room, G.PlacedItems, G.PlacedItemCount, G.SceneShapes,
                               G.SceneShapeCount);
    DrawMod::RedrawView();
    Picture3[9]->SetPicture(ImageList2.Image(9 + G.WallIndex));
}

// ---- tool and command buttons ----

void Main::Picture3_Click(int16_t index)
{
    switch (index) {
    case 5:
        mnu_changeColours_Click();
        break;
    case 6:
        mnu_showItemGroups_Click();
        break;
    case 7:
        mnu_showBudgetInfo_Click();
        break;
    case 8:
        mnu_new_Click();
        break;
    case 9:
        mnu_rotateWall_Click();
        break;
    case 10:
        Run(mnu_zoomIn);
        break;
    case 11:
        Run(mnu_zoomOut);
        break;
    case 12:
        ResetZoom();
        break;
    default:
        break;
    }
}

void Main::Picture3_DblClick(int16_t index) { Picture3_Click(index); }

void Main::Picture7_Click(int16_t index)
{
    switch (index) {
    case 0:
        NewPlace();
        break;
    case 1:
        Run(mnu_open);
        break;
    case 2:
        Run(mnu_save);
        break;
    case 3:
        Run(mnu_paste);
        break;
    case 4:
        Run(mnu_copy);
        break;
    case 5:
        Run(mnu_cut);
        break;
    case 6:
        Run(mnu_print);
        break;
    default:
        break;
    }
}
