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
#include <gtest/gtest.h>

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
        main.reset();
        Form::DestroyAll();
        ResetEnding();
        SetAppPath(QString());
        G = SceneState();
    }
    void start(int environment = 1)
    {
        ExpectNewPlace(environment);
        main = std::make_unique<Main>();
        main->Show();
        Settle();
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
        if (m && !m->Enabled()) {
            EXPECT_FALSE(m->Click) << name.toStdString();
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
