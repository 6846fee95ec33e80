// The main window's menus, view buttons and view switching, as a child
// meets them: the whole menu tree, the entries that wait for their command,
// the option toggles, the five views by button and by menu, the wall turned.
#include "app/Main.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "scene/SceneState.h"

#include "support/NewPlaceScript.h"
#include "support/QtPrint.h"
#include "support/TestDialogs.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>

using namespace dorv;

namespace {

// A stand-in for a tool window the switch shows and hides.
class ToolStandIn : public Form {
public:
    explicit ToolStandIn(const QString& name) : Form(name) { Move(0, 0, 3000, 2250); }
};

// "name caption [shortcut] (hidden) (checked) (disabled)" for every entry of
// a menu, submenus indented after their entry.
void describe(const Menu& menu, QStringList& out, const QString& indent = QString())
{
    for (Menu* e : menu.Entries()) {
        QString line = indent + e->Name() + QLatin1Char(' ') +
                       (e->Action()->isSeparator() ? QStringLiteral("-") : e->Caption());
        const QString keys = e->Action()->shortcut().toString();
        if (!keys.isEmpty()) line += QStringLiteral(" [%1]").arg(keys);
        if (!e->Visible()) line += QStringLiteral(" (hidden)");
        if (e->Checked()) line += QStringLiteral(" (checked)");
        if (!e->Enabled()) line += QStringLiteral(" (disabled)");
        out << line;
        if (!e->Entries().empty()) describe(*e, out, indent + QStringLiteral("  "));
    }
}

class MainMenus : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAppPath(DORV_CONTENT_BUILD_DIR);
        SetCommandLine(QString());
        for (const char* name : {"ItemGroups", "Budget", "Colours", "frmSpreadSht", "frmGraphs"})
            Form::Register(QLatin1String(name), [name] { return new ToolStandIn(QLatin1String(name)); });
    }
    void TearDown() override
    {
        CloseProgram(main);
    }
    void start(int environment = 1)
    {
        ExpectNewPlace(environment);
        main = std::make_unique<Main>();
        StartProgram(*main);
        ASSERT_EQ(TestDialogs().Pending(), 0);
    }
    std::unique_ptr<Main> main;
};

TEST_F(MainMenus, TheMenuTreeIsCompleteInOrderWithItsFirstStates)
{
    Main window;  // as made, before start-up
    QStringList tree;
    for (Menu* top : {window.mnu_file, window.mnu_edit, window.mnu_options, window.mnu_view, window.mnu_help}) {
        tree << top->Name() + QLatin1Char(' ') + top->Caption();
        describe(*top, tree, QStringLiteral("  "));
    }
    // Entries whose commands are not connected yet wait disabled; the ones
    // that never do anything stay enabled (and hidden).
    QStringList expected = {
        "mnu_file &File",
        "  mnu_new &New [Ctrl+N]",
        "  mnu_open &Open [Ctrl+O]",
        "  mnu_save &Save [Ctrl+S]",
        "  mnu_saveas Save &As ...",
        "  mnu_export &Export CSV file",
        "  mnu_examples Examples...",
        "  file_div4 -",
        "  mnu_snapshot Sna&pshot view",
        "    mnu_snapToFile To &File",
        "    mnu_snapToClip To &Clipboard",
        "  mnu_snapItem Snapshot item",
        "    mnu_snapItemToFile To &File",
        "    mnu_snapItemToClip To &Clipboard",
        "  file_div1 -",
        "  mnu_print &Print [Ctrl+P]",
        "  mnu_printPreview Print Pre&view",
        "  mnu_printSetup Print Setup",
        "  file_div3 -",
        "  mnu_language Language",
        "    mnu_languageselect(0) English",
        "    mnu_languageselect(1) Portuguese",
        "    mnu_languageselect(2) English | Portuguese",
        "    mnu_languageselect(3) Portuguese | English",
        "  file_div2 -",
        "  mnu_exit E&xit",
        "mnu_edit &Edit",
        "  mnu_zoom &Zoom (hidden)",
        "  ed_div3 - (hidden)",
        "  mnu_rotateItem Rotate Item [Ctrl+R]",
        "  ed_div2 -",
        "  mnu_undo &Undo [Ctrl+Z]",
        "  mnu_redo &Redo [Ctrl+Y]",
        "  ed_div1 -",
        "  mnu_cut Cu&t [Ctrl+X]",
        "  mnu_copy Copy [Ctrl+C]",
        "  mnu_paste &Paste [Ctrl+V]",
        "  mnu_delete Delete [Del]",
        "  ed_div4 -",
        "  mnu_changePrice Change price (hidden)",
        "  mnu_snap Snap (checked)",
        "mnu_options &Options",
        "  mnu_showAllGroups Show All Item Groups (hidden)",
        "  mnu_showDims Show &View Dimensions (checked)",
        "  mnu_showTips Show &Item Tips (hidden)",
        "  mnu_oneClickZoom &One Click Zoom (hidden)",
        "  mnu_showWallBar Show Wall Button Bar (hidden)",
        "  mnu_showItemsSheet Show Items in Spreadsheet (hidden) (checked)",
        "  opt_div1 -",
        "  mnu_zoomIn Zoom In",
        "  mnu_zoomOut Zoom Out",
        "  opt_div2 - (hidden)",
        "  mnu_showWires Show &wire objects on walls (hidden)",
        "mnu_view &View",
        "  mnu_toolbar &Toolbars (checked)",
        "  mnu_statusBar &Status Bar (hidden)",
        "  vw_div1 -",
        "  mnu_showItemGroups Show Item Groups",
        "  mnu_showBudgetInfo Show Budget Info",
        "  mnu_changeColours Change Colours",
        "  mnu_showGraph Show Graph",
        "    mnu_showSheet Spreadsheet",
        "    mnu_showPieChart Pie Chart",
        "    mnu_showBargraph Bar Graph",
        "    mnu_showPictogram Pictogram",
        "    mnu_showLinegraph Line graph",
        "  mnu_rotateWall Rotate Wall View",
        "  vw_div2 -",
        "  mnu_planView Plan View",
        "  mnu_3DView 3D View",
        "  mnu_wallView Wall View",
        "mnu_help &Help",
        "  mKelmoOnTheWeb Kelmo on the Web...",
        "  mnu_about About Dorv ...",
    };
    // Mark what is not connected: every entry with a Click is enabled.
    for (QString& line : expected) {
        const QString name = line.trimmed().section(QLatin1Char(' '), 0, 0);
        Menu* m = nullptr;
        for (Menu* top : {window.mnu_file, window.mnu_edit, window.mnu_options, window.mnu_view, window.mnu_help})
            if (!m) m = top->Entry(name);
        // The commands that act on one item wait, connected, for an item.
        const bool waitsForAnItem = m && (m == window.mnu_copy || m == window.mnu_cut || m == window.mnu_delete ||
                                          m == window.mnu_rotateItem);
        if (m && !m->Enabled()) {
            if (!waitsForAnItem) {
                EXPECT_FALSE(m->Click) << name.toStdString();
            }
            line += QStringLiteral(" (disabled)");
        }
    }
    EXPECT_EQ(tree, expected);
    // What this window runs itself is connected from the start.
    for (Menu* m : {window.mnu_new, window.mnu_exit, window.mnu_toolbar, window.mnu_showItemGroups,
                    window.mnu_showBudgetInfo, window.mnu_changeColours, window.mnu_snap, window.mnu_showDims,
                    window.mnu_showWires, window.mnu_showItemsSheet})
        EXPECT_TRUE(m->Enabled() && m->Click) << m->Name().toStdString();
}

TEST_F(MainMenus, ConnectingAHandlerEnablesItsEntry)
{
    Main window;
    Menu* open = window.mnu_open;
    // Without its handler an entry waits disabled.
    window.connectMenu(open, nullptr);
    ASSERT_FALSE(open->Enabled());
    open->Choose();  // a disabled entry does nothing
    int runs = 0;
    window.connectMenu(open, [&runs] { ++runs; });
    EXPECT_TRUE(open->Enabled());
    open->Choose();
    open->Action()->trigger();
    EXPECT_EQ(runs, 2);
    // A member handler, by pointer.
    ASSERT_FALSE(window.mnu_showDims->Checked() == false);
    window.connectMenu(window.mnu_about, &Main::mnu_showDims_Click);
    window.mnu_about->Choose();
    EXPECT_FALSE(window.mnu_showDims->Checked());
    // No handler: the entry waits again.
    window.connectMenu(open, nullptr);
    EXPECT_FALSE(open->Enabled());
}

TEST_F(MainMenus, OptionTogglesFlipTheirOwnCheckMarks)
{
    start();
    for (Menu* m : {main->mnu_snap, main->mnu_showDims, main->mnu_showWires, main->mnu_showItemsSheet}) {
        const bool before = m->Checked();
        m->Click();
        EXPECT_NE(m->Checked(), before) << m->Name().toStdString();
        m->Click();
        EXPECT_EQ(m->Checked(), before) << m->Name().toStdString();
    }
    // The views read the dimension and wire marks through the window port.
    main->mnu_showWires->Click();
    EXPECT_TRUE(Windows().ShowWireObjects());
    EXPECT_TRUE(Windows().ShowDimensions());
    main->mnu_showDims->Click();
    EXPECT_FALSE(Windows().ShowDimensions());
    // Print preview waits hidden from start-up on.
    EXPECT_FALSE(main->mnu_printPreview->Visible());
}

TEST_F(MainMenus, TheLanguageMenuChecksTheCurrentPairOnly)
{
    Main window;
    auto checks = [&window] {
        QString s;
        for (Menu* m : window.mnu_languageselect) s += m->Checked() ? QLatin1Char('x') : QLatin1Char('.');
        return s;
    };
    const std::pair<int, int> pairs[] = {{0, 0}, {1, 1}, {0, 1}, {1, 0}};
    const char* const expected[] = {"x...", ".x..", "..x.", "...x"};
    for (int i = 0; i < 4; ++i) {
        G.UiLanguage = pairs[i].first;
        G.ItemLanguage = pairs[i].second;
        window.mnu_languageselect_setchecks();
        EXPECT_EQ(checks(), QLatin1String(expected[i]));
    }
    // A third language from the settings: no entry is checked.
    G.UiLanguage = 2;
    G.ItemLanguage = 0;
    window.mnu_languageselect_setchecks();
    EXPECT_EQ(checks(), "....");
}

}  // namespace

namespace {

bool Shown(const char* name)
{
    Form* f = Form::Existing(QLatin1String(name));
    return f && f->IsWindowVisible();
}

// A click, or a double click, on a button as the window system brings it.
void Click(PictureBox* button, bool twice = false)
{
    QWidget* top = button->window();
    QWindow* window = top->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint at = button->mapTo(top, QPoint(5, 5));
    if (twice)
        QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, at);
    else
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
}

TEST_F(MainMenus, EachViewButtonShowsItsViewPressedAndSetsTheWindowUpForIt)
{
    start();
    // A new place opens on the plan, its button pressed.
    EXPECT_EQ(main->CurrentViewButton, 1);
    EXPECT_EQ(main->Picture1[1]->Picture(), main->ImageList1.Image(4));
    EXPECT_TRUE(Shown("ItemGroups"));

    G.SelectedItem = 0;
    Click(main->Picture1[0]);  // 3D
    EXPECT_EQ(G.ViewMode, 1);
    EXPECT_EQ(main->CurrentViewButton, 0);
    EXPECT_EQ(main->Picture1[0]->Picture(), main->ImageList1.Image(2));
    EXPECT_EQ(main->Picture1[1]->Picture(), main->ImageList1.Image(3));
    EXPECT_EQ(G.SelectedItem, -1);
    EXPECT_GT(G.ViewListCount, 0);  // the drawing order, made anew
    EXPECT_TRUE(main->HScroll2->Enabled());
    EXPECT_FALSE(Shown("ItemGroups"));
    EXPECT_FALSE(main->mnu_showItemGroups->Enabled());
    EXPECT_TRUE(main->mnu_showItemGroups->Checked());  // hidden, not switched off
    EXPECT_FALSE(main->Command1->Visible());
    EXPECT_FALSE(main->Picture3[9]->Enabled());
    EXPECT_EQ(main->Picture2->MousePointer(), vbCustom);
    EXPECT_TRUE(G.ItemGroupsReady);
    EXPECT_TRUE(G.PaletteDisabled);
    // Back to the plan with the palette unchanged: repainted, not reloaded
    // (the chosen cell stays chosen).
    ASSERT_GT(G.PaletteCount, 1);
    G.PaletteSelection = 1;
    const QString planGroup = G.ItemFolder;
    Click(main->Picture1[1]);
    EXPECT_FALSE(G.PaletteDisabled);
    EXPECT_EQ(G.PaletteSelection, 1);
    EXPECT_EQ(G.ItemFolder, planGroup);
    Click(main->Picture1[0]);

    main->mnu_wallView->Choose();
    EXPECT_EQ(G.ViewMode, 2);
    EXPECT_EQ(G.PaletteKind, 2);
    // The palette holds the first wall group's items.
    EXPECT_FALSE(G.PaletteDisabled);
    EXPECT_NE(G.ItemFolder, planGroup);
    ASSERT_GT(G.PaletteCount, 0);
    EXPECT_TRUE(std::any_of(G.Palette.begin(), G.Palette.end(), [](const ItemRecord& r) { return r.Flags & 4; }));
    EXPECT_EQ(main->Picture1[0]->Picture(), main->ImageList1.Image(1));
    EXPECT_EQ(main->Picture1[2]->Picture(), main->ImageList1.Image(6));
    EXPECT_FALSE(main->HScroll2->Enabled());
    EXPECT_FALSE(main->VScroll2->Enabled());
    EXPECT_EQ(main->HScroll2->Value(), 0);
    EXPECT_TRUE(main->Picture3[9]->Enabled());
    EXPECT_EQ(main->Picture3[9]->Picture(), main->ImageList2.Image(9 + G.WallIndex));
    EXPECT_TRUE(Shown("ItemGroups"));  // checked: it comes back
    EXPECT_TRUE(main->mnu_showItemGroups->Enabled());

    main->mnu_planView->Choose();
    EXPECT_EQ(G.ViewMode, 0);
    EXPECT_EQ(G.PaletteKind, 0);
    EXPECT_EQ(G.ItemFolder, planGroup);
    EXPECT_TRUE(main->Command1->Visible());
    EXPECT_TRUE(main->HScroll2->Enabled());
    EXPECT_FALSE(main->Picture3[9]->Enabled());
    EXPECT_EQ(main->Picture3[9]->Picture(), main->ImageList2.Image(2));
    // Unchecked, the item groups stay away.
    main->mnu_showItemGroups->Choose();
    main->mnu_3DView->Choose();
    main->mnu_planView->Choose();
    EXPECT_FALSE(Shown("ItemGroups"));
    EXPECT_EQ(main->CurrentViewButton, 1);
}

TEST_F(MainMenus, RotateWallCyclesTheWallsAndShowsWhichOnItsButton)
{
    start();
    ASSERT_EQ(G.Room.WallSectionCount, 4);
    G.WallIndex = 0;
    main->mnu_wallView->Choose();
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        Click(main->Picture3[9]);
        seen.push_back(G.WallIndex);
        EXPECT_EQ(main->Picture3[9]->Picture(), main->ImageList2.Image(9 + G.WallIndex));
    }
    EXPECT_EQ(seen, std::vector<int>({1, 2, 3, 0, 1}));
    // The wall record follows: each wall faces its own side.
    EXPECT_EQ(G.WallView.Side, 1);
    // A double click turns twice; the menu entry turns once, in any view.
    Click(main->Picture3[9], true);
    EXPECT_EQ(G.WallIndex, 3);
    main->mnu_planView->Choose();
    main->mnu_rotateWall->Choose();
    EXPECT_EQ(G.WallIndex, 0);
    // Entering the wall view again keeps the wall.
    main->mnu_wallView->Choose();
    EXPECT_EQ(G.WallIndex, 0);
    // A place without walls: nothing turns.
    G.Room.WallSectionCount = 0;
    main->mnu_rotateWall_Click();
    EXPECT_EQ(G.WallIndex, 0);
}

TEST_F(MainMenus, TheSpreadsheetShowsItsPanelOnlyWhenMoneyIsSpent)
{
    start();
    ASSERT_TRUE(main->Picture1[3]->Enabled());
    G.SpentTotal = 0;
    Click(main->Picture1[3]);
    EXPECT_EQ(G.ViewMode, 3);
    EXPECT_EQ(G.GraphKind, 0);
    EXPECT_FALSE(Shown("frmSpreadSht"));
    EXPECT_FALSE(main->HScroll2->Enabled());
    EXPECT_FALSE(Shown("ItemGroups"));
    // Clicked again with money spent: the panel, and the common steps
    // only, which leave the pan bars enabled.
    G.SpentTotal = 12.5f;
    Click(main->Picture1[3]);
    EXPECT_TRUE(Shown("frmSpreadSht"));
    EXPECT_TRUE(main->HScroll2->Enabled());
    // A place without prices has no spreadsheet.
    main->mnu_planView->Choose();
    EXPECT_FALSE(Shown("frmSpreadSht"));
    G.PlanInfo.noprices = true;
    main->Picture1[3]->SetEnabled(false);
    main->mnu_showSheet_Click();
    EXPECT_EQ(G.ViewMode, 0);
    main->Picture1[3]->SetEnabled(true);
    main->mnu_showSheet->Choose();
    EXPECT_EQ(G.ViewMode, 3);
    EXPECT_FALSE(Shown("frmSpreadSht"));
}

TEST_F(MainMenus, TheGraphMenusChooseTheKindAndTheGraphPanelNeedsRealItems)
{
    start();
    // Only the floor and walls: the graph panel stays closed.
    main->mnu_showBargraph->Choose();
    EXPECT_EQ(G.ViewMode, 3);
    EXPECT_EQ(G.GraphKind, 2);
    EXPECT_EQ(main->CurrentViewButton, 4);
    EXPECT_FALSE(Shown("frmGraphs"));

    // With a real item it opens; the graphs button from the spreadsheet
    // turns kind 0 into the pie chart.
    main->mnu_planView->Choose();
    G.PlacedItems.push_back(G.PlacedItems.back());
    ++G.PlacedItemCount;
    G.GraphKind = 0;
    Click(main->Picture1[4]);
    EXPECT_EQ(G.GraphKind, 1);
    EXPECT_TRUE(Shown("frmGraphs"));
    // Clicked again, or another graph from the menu: drawn, panel hidden.
    Click(main->Picture1[4]);
    EXPECT_FALSE(Shown("frmGraphs"));
    main->mnu_showPictogram->Choose();
    EXPECT_EQ(G.GraphKind, 3);
    EXPECT_FALSE(Shown("frmGraphs"));
    main->mnu_showLinegraph->Choose();
    EXPECT_EQ(G.GraphKind, 4);
    main->mnu_showPieChart->Choose();
    EXPECT_EQ(G.GraphKind, 1);
    // Without prices a graph counts items.
    main->mnu_planView->Choose();
    G.PlanInfo.noprices = true;
    G.GraphShowCosts[1] = true;
    main->mnu_showBargraph->Choose();
    EXPECT_FALSE(G.GraphShowCosts[1]);
}

TEST_F(MainMenus, ToolAndCommandButtonsRunTheirEntriesCommands)
{
    start();
    ASSERT_TRUE(Shown("ItemGroups"));
    Click(main->Picture3[6]);
    EXPECT_FALSE(Shown("ItemGroups"));
    EXPECT_FALSE(main->mnu_showItemGroups->Checked());
    Click(main->Picture3[7]);
    EXPECT_TRUE(Shown("Budget"));
    // A double click runs the toggle twice: after a click, shown, hidden,
    // shown again.
    Click(main->Picture3[5]);
    Click(main->Picture3[5], true);
    EXPECT_TRUE(Shown("Colours"));
    // The command strip runs what the menu entries run, once connected.
    int opened = 0;
    main->connectMenu(main->mnu_open, nullptr);
    Click(main->Picture7[1]);
    main->connectMenu(main->mnu_open, [&opened] { ++opened; });
    Click(main->Picture7[1]);
    EXPECT_EQ(opened, 1);
}

}  // namespace
