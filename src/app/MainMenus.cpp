// The main window's menu tree, the way other source files connect their
// commands to it, and the option toggles.

#include "app/Main.h"

#include "scene/SceneState.h"
#include "views/ViewRender.h"

namespace {

// An entry of `parent`, with a shortcut when one is given.
dorv::Menu* entry(dorv::Menu* parent, const char* name, const QString& caption, const char* shortcut = nullptr)
{
    auto* m = new dorv::Menu(parent, QLatin1String(name), caption);
    if (shortcut) m->SetShortcut(QLatin1String(shortcut));
    return m;
}

void separator(dorv::Menu* parent, const char* name) { new dorv::Menu(parent, QLatin1String(name), QStringLiteral("-")); }

}  // namespace

void Main::connectMenu(dorv::Menu* menuEntry, void (Main::*handler)())
{
    if (!handler)
        connectMenu(menuEntry, std::function<void()>());
    else
        connectMenu(menuEntry, [this, handler] { (this->*handler)(); });
}

void Main::connectMenu(dorv::Menu* menuEntry, std::function<void()> handler)
{
    if (!menuEntry) return;
    menuEntry->Click = std::move(handler);
    menuEntry->SetEnabled(bool(menuEntry->Click));
}

void Main::makeMenus()
{
    using dorv::Menu;
    auto top = [this](const char* name, const QString& caption) {
        menus_.push_back(std::make_unique<Menu>(MenuBar(), QLatin1String(name), caption));
        return menus_.back().get();
    };
    // Every command entry starts disabled; connectMenu enables it. Submenus
    // and separators stay enabled, and so do the entries that do nothing.
    auto command = [](Menu* m) {
        m->SetEnabled(false);
        return m;
    };

    mnu_file = top("mnu_file", QStringLiteral("&File"));
    mnu_new = command(entry(mnu_file, "mnu_new", QStringLiteral("&New"), "Ctrl+N"));
    mnu_open = command(entry(mnu_file, "mnu_open", QStringLiteral("&Open"), "Ctrl+O"));
    mnu_save = command(entry(mnu_file, "mnu_save", QStringLiteral("&Save"), "Ctrl+S"));
    mnu_saveas = command(entry(mnu_file, "mnu_saveas", QStringLiteral("Save &As ...")));
    mnu_export = command(entry(mnu_file, "mnu_export", QStringLiteral("&Export CSV file")));
    mnu_examples = command(entry(mnu_file, "mnu_examples", QStringLiteral("Examples...")));
    separator(mnu_file, "file_div4");
    mnu_snapshot = entry(mnu_file, "mnu_snapshot", QStringLiteral("Sna&pshot view"));
    mnu_snapToFile = command(entry(mnu_snapshot, "mnu_snapToFile", QStringLiteral("To &File")));
    mnu_snapToClip = command(entry(mnu_snapshot, "mnu_snapToClip", QStringLiteral("To &Clipboard")));
    mnu_snapItem = entry(mnu_file, "mnu_snapItem", QStringLiteral("Snapshot item"));
    mnu_snapItemToFile = command(entry(mnu_snapItem, "mnu_snapItemToFile", QStringLiteral("To &File")));
    mnu_snapItemToClip = command(entry(mnu_snapItem, "mnu_snapItemToClip", QStringLiteral("To &Clipboard")));
    separator(mnu_file, "file_div1");
    mnu_print = command(entry(mnu_file, "mnu_print", QStringLiteral("&Print"), "Ctrl+P"));
    mnu_printPreview = command(entry(mnu_file, "mnu_printPreview", QStringLiteral("Print Pre&view")));
    mnu_printSetup = command(entry(mnu_file, "mnu_printSetup", QStringLiteral("Print Setup")));
    separator(mnu_file, "file_div3");
    mnu_language = entry(mnu_file, "mnu_language", QStringLiteral("Language"));
    static const char* const languages[] = {"English", "Portuguese", "English | Portuguese", "Portuguese | English"};
    for (int i = 0; i < 4; ++i)
        mnu_languageselect[i] = command(new Menu(mnu_language, QStringLiteral("mnu_languageselect(%1)").arg(i),
                                                 QLatin1String(languages[i])));
    separator(mnu_file, "file_div2");
    mnu_exit = command(entry(mnu_file, "mnu_exit", QStringLiteral("E&xit")));

    mnu_edit = top("mnu_edit", QStringLiteral("&Edit"));
    mnu_zoom = command(entry(mnu_edit, "mnu_zoom", QStringLiteral("&Zoom")));
    ed_div3 = new Menu(mnu_edit, QStringLiteral("ed_div3"), QStringLiteral("-"));
    // The zoom entry and its line show only in the canvas popup.
    mnu_zoom->SetVisible(false);
    ed_div3->SetVisible(false);
    mnu_rotateItem = command(entry(mnu_edit, "mnu_rotateItem", QStringLiteral("Rotate Item"), "Ctrl+R"));
    separator(mnu_edit, "ed_div2");
    mnu_undo = command(entry(mnu_edit, "mnu_undo", QStringLiteral("&Undo"), "Ctrl+Z"));
    mnu_redo = command(entry(mnu_edit, "mnu_redo", QStringLiteral("&Redo"), "Ctrl+Y"));
    separator(mnu_edit, "ed_div1");
    mnu_cut = command(entry(mnu_edit, "mnu_cut", QStringLiteral("Cu&t"), "Ctrl+X"));
    mnu_copy = command(entry(mnu_edit, "mnu_copy", QStringLiteral("Copy"), "Ctrl+C"));
    mnu_paste = command(entry(mnu_edit, "mnu_paste", QStringLiteral("&Paste"), "Ctrl+V"));
    mnu_delete = command(entry(mnu_edit, "mnu_delete", QStringLiteral("Delete"), "Del"));
    separator(mnu_edit, "ed_div4");
    mnu_changePrice = command(entry(mnu_edit, "mnu_changePrice", QStringLiteral("Change price")));
    mnu_changePrice->SetVisible(false);
    mnu_snap = command(entry(mnu_edit, "mnu_snap", QStringLiteral("Snap")));
    mnu_snap->SetChecked(true);

    mnu_options = top("mnu_options", QStringLiteral("&Options"));
    mnu_showAllGroups = command(entry(mnu_options, "mnu_showAllGroups", QStringLiteral("Show All Item Groups")));
    mnu_showAllGroups->SetVisible(false);
    mnu_showDims = command(entry(mnu_options, "mnu_showDims", QStringLiteral("Show &View Dimensions")));
    mnu_showDims->SetChecked(true);
    // Entries kept hidden, with no command behind them.
    mnu_showTips = entry(mnu_options, "mnu_showTips", QStringLiteral("Show &Item Tips"));
    mnu_showTips->SetVisible(false);
    mnu_oneClickZoom = entry(mnu_options, "mnu_oneClickZoom", QStringLiteral("&One Click Zoom"));
    mnu_oneClickZoom->SetVisible(false);
    mnu_showWallBar = entry(mnu_options, "mnu_showWallBar", QStringLiteral("Show Wall Button Bar"));
    mnu_showWallBar->SetVisible(false);
    mnu_showItemsSheet = command(entry(mnu_options, "mnu_showItemsSheet", QStringLiteral("Show Items in Spreadsheet")));
    mnu_showItemsSheet->SetVisible(false);
    mnu_showItemsSheet->SetChecked(true);
    separator(mnu_options, "opt_div1");
    mnu_zoomIn = command(entry(mnu_options, "mnu_zoomIn", QStringLiteral("Zoom In")));
    mnu_zoomOut = command(entry(mnu_options, "mnu_zoomOut", QStringLiteral("Zoom Out")));
    opt_div2 = new Menu(mnu_options, QStringLiteral("opt_div2"), QStringLiteral("-"));
    opt_div2->SetVisible(false);
    mnu_showWires = command(entry(mnu_options, "mnu_showWires", QStringLiteral("Show &wire objects on walls")));
    mnu_showWires->SetVisible(false);

    mnu_view = top("mnu_view", QStringLiteral("&View"));
    mnu_toolbar = command(entry(mnu_view, "mnu_toolbar", QStringLiteral("&Toolbars")));
    // The tool strip starts shown, and its entry says so.
    mnu_toolbar->SetChecked(true);
    mnu_statusBar = entry(mnu_view, "mnu_statusBar", QStringLiteral("&Status Bar"));
    mnu_statusBar->SetVisible(false);
    separator(mnu_view, "vw_div1");
    mnu_showItemGroups = command(entry(mnu_view, "mnu_showItemGroups", QStringLiteral("Show Item Groups")));
    mnu_showBudgetInfo = command(entry(mnu_view, "mnu_showBudgetInfo", QStringLiteral("Show Budget Info")));
    mnu_changeColours = command(entry(mnu_view, "mnu_changeColours", QStringLiteral("Change Colours")));
    mnu_showGraph = entry(mnu_view, "mnu_showGraph", QStringLiteral("Show Graph"));
    mnu_showSheet = command(entry(mnu_showGraph, "mnu_showSheet", QStringLiteral("Spreadsheet")));
    mnu_showPieChart = command(entry(mnu_showGraph, "mnu_showPieChart", QStringLiteral("Pie Chart")));
    mnu_showBargraph = command(entry(mnu_showGraph, "mnu_showBargraph", QStringLiteral("Bar Graph")));
    mnu_showPictogram = command(entry(mnu_showGraph, "mnu_showPictogram", QStringLiteral("Pictogram")));
    mnu_showLinegraph = command(entry(mnu_showGraph, "mnu_showLinegraph", QStringLiteral("Line graph")));
    mnu_rotateWall = command(entry(mnu_view, "mnu_rotateWall", QStringLiteral("Rotate Wall View")));
    separator(mnu_view, "vw_div2");
    mnu_planView = command(entry(mnu_view, "mnu_planView", QStringLiteral("Plan View")));
    mnu_3DView = command(entry(mnu_view, "mnu_3DView", QStringLiteral("3D View")));
    mnu_wallView = command(entry(mnu_view, "mnu_wallView", QStringLiteral("Wall View")));

    mnu_help = top("mnu_help", QStringLiteral("&Help"));
    // The maker's name reads the same in every language.
    mKelmoOnTheWeb = command(entry(mnu_help, "mKelmoOnTheWeb", QStringLiteral("Kelmo on the Web...")));
    mnu_about = command(entry(mnu_help, "mnu_about", QStringLiteral("About Dorv ...")));

    // The commands of this window's own topics.
    connectMenu(mnu_new, &Main::mnu_new_Click);
    connectMenu(mnu_exit, &Main::mnu_exit_Click);
    connectMenu(mnu_toolbar, &Main::mnu_toolbar_Click);
    connectMenu(mnu_showItemGroups, &Main::mnu_showItemGroups_Click);
    connectMenu(mnu_showBudgetInfo, &Main::mnu_showBudgetInfo_Click);
    connectMenu(mnu_changeColours, &Main::mnu_changeColours_Click);
    connectMenu(mnu_snap, &Main::mnu_snap_Click);
    connectMenu(mnu_showDims, &Main::mnu_showDims_Click);
    connectMenu(mnu_showWires, &Main::mnu_showWires_Click);
    connectMenu(mnu_showItemsSheet, &Main::mnu_showItemsSheet_Click);
}

// ---- option toggles ----

void Main::mnu_snap_Click() { mnu_snap->SetChecked(!mnu_snap->Checked()); }

void Main::mnu_showDims_Click()
{
    mnu_showDims->SetChecked(!mnu_showDims->Checked());
    DrawMod::RedrawView();
}

void Main::mnu_showWires_Click()
{
    mnu_showWires->SetChecked(!mnu_showWires->Checked());
    DrawMod::RedrawView();
}

void Main::mnu_showItemsSheet_Click()
{
    mnu_showItemsSheet->SetChecked(!mnu_showItemsSheet->Checked());
    // Only the spreadsheet reads it.
    if (G.ViewMode == 3 && G.GraphKind == 0) DrawMod::RedrawView();
}

void Main::mnu_languageselect_setchecks()
{
    static constexpr int16_t pairs[4][2] = {{0, 0}, {1, 1}, {0, 1}, {1, 0}};
    for (dorv::Menu* m : mnu_languageselect) m->SetChecked(false);
    for (int i = 0; i < 4; ++i)
        if (G.UiLanguage == pairs[i][0] && G.ItemLanguage == pairs[i][1]) mnu_languageselect[i]->SetChecked(true);
}
