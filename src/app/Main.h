#pragma once
// The main window: the view canvas with its pan bars, the item palette with
// the item panel below it, the tool strip along the top and the row of view
// and tool buttons along the bottom. Its load handler runs the program's
// start-up; it lays its controls out on every resize, keeps the off-screen
// surfaces of the canvas and the palette, docks the tool windows along its
// right edge, hides them while it is minimised, and runs the exit sequence.

#include "app/AdminSetup.h"
#include "platform/Controls.h"
#include "platform/DeviceContext.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "scene/Records.h"
#include "scene/ShapeStream.h"
#include "scene/WindowPort.h"
#include "views/Palette.h"

#include <QMargins>
#include <QRect>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class frmChangePrice;

class Main : public dorv::Form {
public:
    Main();
    ~Main() override;

    // ---- controls (twips unless said) ----
    dorv::PictureBox* Picture2;  // the view canvas (pixel scale)
    dorv::PictureBox* Picture5;  // the item palette (pixel scale)
    dorv::ScrollBar* VScroll1;   // the palette's bar
    dorv::ScrollBar* HScroll1;   // a horizontal palette bar, hidden in the vertical layout
    dorv::PictureBox* Picture6;  // the item panel below the palette
    dorv::CommandButton* Command1;  // next view of the palette item
    dorv::CommandButton* Command2;  // change price
    dorv::ScrollBar* HScroll2;   // the canvas's pan bars
    dorv::ScrollBar* VScroll2;
    dorv::PictureBox* Picture4;  // the tool strip
    std::array<dorv::PictureBox*, 7> Picture7{};   // its command buttons
    std::array<dorv::PictureBox*, 5> Picture1{};   // the view buttons
    std::array<dorv::PictureBox*, 13> Picture3{};  // the tool buttons 5 to 12 (0 to 4 unused)
    dorv::ImageList ImageList1;  // button faces: 2i+1 raised, 2i+2 pressed
    dorv::ImageList ImageList2;  // faces of disabled buttons, and the picture of an environment without one
    dorv::ImageList ImageList4;  // faces of the change-price button, by currency

    // ---- menus ----
    // The whole menu tree is made with the window (MainMenus.cpp), in menu
    // order, with its English captions, shortcuts and first states. An entry
    // whose command lives elsewhere starts disabled and comes alive when its
    // handler is connected:
    //
    //     connectMenu(mnu_open, &Main::mnu_open_Click);     // enables mnu_open
    //     connectMenu(mnu_languageselect[2], [this] { mnu_languageselect_Click(2); });
    //
    // Each topic connects its entries in one member of its own source file
    // (MainFiles.cpp: `void Main::connectFileMenus()`, ...), declared below
    // under the topic's comment and called from the constructor, after
    // makeMenus(), one line per topic. The tool and command buttons that run
    // the same commands (Picture3, Picture7) call the entry's Click, so they
    // work as soon as the entry is connected.
    void connectMenu(dorv::Menu* entry, void (Main::*handler)());
    void connectMenu(dorv::Menu* entry, std::function<void()> handler);

    // File
    dorv::Menu* mnu_file = nullptr;
    dorv::Menu* mnu_new = nullptr;
    dorv::Menu* mnu_open = nullptr;
    dorv::Menu* mnu_save = nullptr;
    dorv::Menu* mnu_saveas = nullptr;
    dorv::Menu* mnu_export = nullptr;
    dorv::Menu* mnu_examples = nullptr;
    dorv::Menu* mnu_snapshot = nullptr;  // submenu
    dorv::Menu* mnu_snapToFile = nullptr;
    dorv::Menu* mnu_snapToClip = nullptr;
    dorv::Menu* mnu_snapItem = nullptr;  // submenu
    dorv::Menu* mnu_snapItemToFile = nullptr;
    dorv::Menu* mnu_snapItemToClip = nullptr;
    dorv::Menu* mnu_print = nullptr;
    dorv::Menu* mnu_printPreview = nullptr;
    dorv::Menu* mnu_printSetup = nullptr;
    dorv::Menu* mnu_language = nullptr;  // submenu
    // English, Portuguese, English | Portuguese, Portuguese | English.
    std::array<dorv::Menu*, 4> mnu_languageselect{};
    dorv::Menu* mnu_exit = nullptr;
    // Edit (also the canvas popup)
    dorv::Menu* mnu_edit = nullptr;
    dorv::Menu* mnu_zoom = nullptr;  // shown only in the popup
    dorv::Menu* ed_div3 = nullptr;   // idem
    dorv::Menu* mnu_rotateItem = nullptr;
    dorv::Menu* mnu_undo = nullptr;
    dorv::Menu* mnu_redo = nullptr;
    dorv::Menu* mnu_cut = nullptr;
    dorv::Menu* mnu_copy = nullptr;
    dorv::Menu* mnu_paste = nullptr;
    dorv::Menu* mnu_delete = nullptr;
    dorv::Menu* mnu_changePrice = nullptr;
    dorv::Menu* mnu_snap = nullptr;
    // Options
    dorv::Menu* mnu_options = nullptr;
    dorv::Menu* mnu_showAllGroups = nullptr;
    dorv::Menu* mnu_showDims = nullptr;
    dorv::Menu* mnu_showTips = nullptr;
    dorv::Menu* mnu_oneClickZoom = nullptr;
    dorv::Menu* mnu_showWallBar = nullptr;
    dorv::Menu* mnu_showItemsSheet = nullptr;
    dorv::Menu* mnu_zoomIn = nullptr;
    dorv::Menu* mnu_zoomOut = nullptr;
    dorv::Menu* opt_div2 = nullptr;
    dorv::Menu* mnu_showWires = nullptr;
    // View
    dorv::Menu* mnu_view = nullptr;
    dorv::Menu* mnu_toolbar = nullptr;
    dorv::Menu* mnu_statusBar = nullptr;
    dorv::Menu* mnu_showItemGroups = nullptr;
    dorv::Menu* mnu_showBudgetInfo = nullptr;
    dorv::Menu* mnu_changeColours = nullptr;
    dorv::Menu* mnu_showGraph = nullptr;  // submenu
    dorv::Menu* mnu_showSheet = nullptr;
    dorv::Menu* mnu_showPieChart = nullptr;
    dorv::Menu* mnu_showBargraph = nullptr;
    dorv::Menu* mnu_showPictogram = nullptr;
    dorv::Menu* mnu_showLinegraph = nullptr;
    dorv::Menu* mnu_rotateWall = nullptr;
    dorv::Menu* mnu_planView = nullptr;
    dorv::Menu* mnu_3DView = nullptr;
    dorv::Menu* mnu_wallView = nullptr;
    // Help
    dorv::Menu* mnu_help = nullptr;
    dorv::Menu* mKelmoOnTheWeb = nullptr;
    dorv::Menu* mnu_about = nullptr;

    // ---- state ----
    // 8 while minimised, plus 1, 2, 4 for the item-groups, budget and colours
    // windows that minimising hid.
    int16_t HiddenToolWindows = 0;
    // The off-screen surfaces of the canvas and of the palette.
    std::unique_ptr<dorv::DeviceContext> CanvasDC, ListDC;
    dorv::GdiObject CanvasBitmap = 0, CanvasOldBitmap = 0, ListBitmap = 0, ListOldBitmap = 0;
    // What the settings said of the environment chooser's worksheet button.
    WorksheetButton WorksheetButtonState = WorksheetButton::AsMade;
    // The scene path the command line names, if it names one.
    std::optional<QString> CommandLineScene;

    // The save question of the file commands: true when the user cancelled.
    // Without it nothing is asked.
    std::function<bool()> ConfirmSaveChanges;
    // The Open command of the file commands, its dialog starting in the
    // folder given. While the program has none, the environment chooser's
    // load buttons are disabled rather than offering what cannot be done.
    std::function<void(const QString& startFolder)> OpenCommand;

    // ---- file commands ----
    // The two file dialogs: the first serves the save question, Open, Save,
    // Save As, Export and the snapshots, the second Examples. What a use does
    // not set (folder, file name, filter chosen) stays from its last use.
    dorv::FileDialogRequest CommonDialog1, CommonDialog2;
    // Shows a dialog; false when it was cancelled. The file and the filter
    // chosen stay in the request.
    static bool ShowFileDialog(dorv::FileDialogRequest& dialog, bool save);
    // The save question before a command that would drop a modified scene:
    // true when the command must stop. ConfirmSaveChanges runs it.
    bool AskToSaveChanges();
    // Reads a scene file and loads what its environment needs; false when
    // the file was refused (and the scene is as it was).
    bool OpenScene(const QString& path);
    // The Open command with its dialog starting in `startFolder`.
    void OpenFrom(const QString& startFolder);
    // Open after its dialog (also the scene of the command line): the scene
    // read, named (a shipped worksheet or example stays untitled), the controls that follow
    // the place set and the plan shown. False when the file was refused.
    bool OpenSceneFile(const QString& path);
    // True when `path` lies in a folder of scenes that ship with the program.
    static bool IsShippedScene(const QString& path);
    void mnu_open_Click();
    void mnu_examples_Click();
    void mnu_save_Click();
    void mnu_saveas_Click();
    void mnu_export_Click();
    // The save dialog of an output file (Export, the snapshots) on
    // CommonDialog1 with `filter`: it starts where the file dialogs were last
    // used (the user's folder instead of one the program ships), offering
    // `name` with the extension of the type last chosen. The file to write
    // takes the type of the extension typed, or gets the chosen type's
    // extension; an existing one is replaced only when the user agrees.
    // False when nothing is to be written; else CommonDialog1's FileName and
    // FilterIndex are the file and its type.
    bool ChooseOutputFile(const QString& filter, const QString& name);
    // Connects the File menu's entries of these commands.
    void connectFileMenus();

    // ---- procedures ----
    void ReadAdminSetup();
    // Docks the tool windows and the two panels in a column along the main
    // window's right edge; the canvas ends left of the column.
    void PositionToolWindows();
    // The client areas (pixels) of the item groups, the budget and the
    // colours windows docked one below the other: the first frame's top left
    // corner at `topLeft`, each frame `gap` below the one above, each window
    // as large as its client size and its frame. The item groups give up
    // height, down to `leastGroups`, so that the last frame ends by `bottom`.
    // A window with an empty size is not docked and takes no room.
    static std::array<QRect, 3> DockColumn(QPoint topLeft, int bottom, int gap, const std::array<QSize, 3>& clients,
                                           const std::array<QMargins, 3>& frames, int leastGroups);
    void ConfirmExitAndUnloadAll(int unloadMode, int16_t& cancel);
    void CreatePlanCanvas();
    void DestroyPlanCanvas();
    void CreateListCanvas();
    void DestroyListCanvas();
    void SetPaletteLayout(int16_t mode);
    // The new-place flow: the scene back to its first state, the environment
    // chooser and the place-setup dialog until a place is set (or a scene
    // opened), then the room shown in the plan view.
    void ResetScene();
    // The views as a fresh start shows them: centred, at the first zoom.
    void ResetViewPlacement();
    void StartNewPlace();
    void NewPlace();
    // The controls that follow the place in hand: the wall view, its turn
    // button and menu entries when it has walls; the spreadsheet, the price
    // button and the Use Prices box when it has prices.
    void SetPlaceControls();
    // The window as a fresh start with the place or scene in hand leaves it,
    // after New, Open, Examples, the command line and the chooser's loads:
    // the plan view, those controls, the title, the item groups of the
    // place's environment and the palette's range.
    void ShowPlace();
    // The item-groups window shown beside the window, its menu entry ticked,
    // as a run or a new place begins.
    void ShowItemGroups();
    // The window's title names the place of the scene.
    void ShowPlaceInCaption();

    // Tool windows, splash, About box and languages (MainTools.cpp).
    // Registers the item-groups, budget and colours windows, the splash
    // screen and the About box by name.
    static void RegisterToolWindows();
    // Connects the language entries, the About box and the web page.
    void connectToolMenus();
    // The language pair of entry `index`: English, Portuguese, English |
    // Portuguese, Portuguese | English (interface | item texts).
    void mnu_languageselect_Click(int16_t index);
    // A new About box, shown modally, then let go.
    void mnu_about_Click();
    void mKelmoOnTheWeb_Click();
    // A place set in the place-setup dialog: the budget window's amounts and
    // the colour swatches of its floor and walls.
    void SetToolWindowsForPlace();

    // ---- the spreadsheet and graph panels and the price dialog (MainReports.cpp) ----
    // Makes the windows "frmGraphs", "frmSpreadSht" and "frmChangePrice"
    // known by name (unless a window of that name is known already). The view switch shows a panel with
    // frmSpreadSht::Window()->Show(dorv::vbModeless, this) (frmGraphs
    // likewise) and hides it with Hide(); in a place without prices it calls
    // frmGraphs::Window()->SetCostsAvailable(false), else (true). The item
    // panel fills frmChangePrice::Window()'s Label1, Label2 and Text1 and
    // shows it modeless without owner.
    void registerReportWindows();

    // ---- handlers ----
    void mnu_new_Click();
    void mnu_exit_Click();
    void mnu_toolbar_Click();
    void mnu_showItemGroups_Click();
    void mnu_showBudgetInfo_Click();
    void mnu_changeColours_Click();
    // Option toggles: each flips its own check mark, and the views that read
    // it are drawn again.
    void mnu_snap_Click();
    void mnu_showDims_Click();
    void mnu_showWires_Click();
    void mnu_showItemsSheet_Click();
    // The check mark of the language entry whose pair of languages (interface,
    // item texts) is the current one; none for any other pair.
    void mnu_languageselect_setchecks();

    // ---- views, view buttons and tool buttons (MainViews.cpp) ----
    // The view button shown pressed (-1 none). View buttons by index: 0 3D,
    // 1 plan, 2 wall, 3 spreadsheet, 4 graphs (view modes 1, 0, 2, 3, 3).
    int16_t CurrentViewButton = -1;
    dorv::ImageList ImageList3;  // the canvas cursors
    // Switches to the view of view button `index`.
    void Picture1_Click(int16_t index);
    // Raises view button `current` (when 0 or more), makes `next` the
    // current one and shows it pressed.
    void SetViewButtonImages(int16_t current, int16_t next);
    // The tool buttons 5 to 12 and the tool strip's command buttons 0 to 6
    // run the commands of their menu entries.
    void Picture3_Click(int16_t index);
    void Picture3_DblClick(int16_t index);
    void Picture7_Click(int16_t index);
    void mnu_planView_Click();
    void mnu_3DView_Click();
    void mnu_wallView_Click();
    void mnu_showSheet_Click();
    void mnu_showPieChart_Click();
    void mnu_showBargraph_Click();
    void mnu_showPictogram_Click();
    void mnu_showLinegraph_Click();
    // Turns the wall view to the next wall, when the place has walls.
    void mnu_rotateWall_Click();
    void connectViews();

    // ---- editing: placed items, the undo history, the clip buffer ----
    // Every change to the set of placed items goes through these.
    //
    // Makes a placed item from `tmpl`, whose picture run lies in `source`
    // (a catalogue entry in G.CatalogueShapes, or G.ClipItem in
    // G.ClipParts): copies the run to the end of `shapes`, puts the item at
    // (x / scale, y / scale) in plan units, records an add step, counts its
    // price when "Use Prices" is ticked (else sets it to 0) and marks the
    // scene modified. Items with kItemInFront go right after the section
    // items, the others at the end. Returns the new item's index, or -1 when
    // nothing was added (an empty catalogue, or a template whose run does
    // not lie in `source`).
    int32_t AddItemFromTemplate(ShapeStream& shapes, int32_t& shapeCount, const ShapeStream& source,
                                const ItemRecord& tmpl, std::vector<ItemRecord>& items, int32_t& itemCount,
                                float x, float y, int16_t viewIndex, const RoomRecord& room, float scale);
    // Removes item `index` of G.PlacedItems, takes its price off the money
    // spent and writes the budget texts. Its picture run stays in
    // G.SceneShapes so that an undo step can bring it back.
    void DeleteItem(std::vector<ItemRecord>& items, int32_t index);
    // The array operations under every change to the set or the order of
    // the placed items. Each keeps the indexes that name items (the
    // selection, the last hit item, the dragged items, the items a press
    // gathered) on their items; an item that leaves is named no more.
    void InsertItemAt(int32_t index, const ItemRecord& item);
    void RemoveItemAt(int32_t index);
    // Moves the listed items, in list order, to the end of the array, where
    // they are drawn after all the others; PutBackLifted undoes it. Both do
    // nothing and return false when the list does not fit the items.
    bool LiftToEnd(const std::vector<int32_t>& lifted);
    bool PutBackLifted(const std::vector<int32_t>& lifted);
    // Undo actions; a settle step holds only elevations that a release
    // changed after other steps were recorded during its drag.
    static constexpr int16_t kUndoAdd = 0, kUndoDelete = 1, kUndoRotate = 2, kUndoMove = 3, kUndoSettle = 4;
    // Records one step: the action, a copy of items(index) as it is now and
    // the money spent, dropping whatever Redo could still replay.
    void PushUndoRecord(int16_t action, const std::vector<ItemRecord>& items, int32_t index);
    // After a drag: the elevations of other items that settling changed
    // (`before` holds them as they were), recorded in the drag's move step,
    // or in a step of their own when other steps came after it.
    void RecordSettling(const std::vector<float>& before, int32_t dragged);
    // Withdraws add step `record` and its item, for a palette drop that is
    // called off (released over the palette): the item goes with its money,
    // also when steps were recorded during the drag or the step was undone
    // meanwhile, and neither Undo nor Redo will see it again.
    void DiscardAdd(int32_t record);
    // Forgets the whole history: the indexes it holds mean nothing in
    // another scene.
    void ClearUndoList();
    void CopyItemToBuffer(const ItemRecord& item);
    void PasteItemFromBuffer();
    void mnu_copy_Click();
    void mnu_cut_Click();
    void mnu_paste_Click();
    void mnu_delete_Click();
    void mnu_undo_Click();
    void mnu_redo_Click();
    void mnu_rotateItem_Click();

    // ---- output: printing, page setup, print preview, snapshots ----
    void connectOutputMenus();
    // Start-up: without a printer the print entries are disabled and the
    // tool strip's print button hidden.
    void DisablePrintingWithoutPrinter();
    void mnu_print_Click();
    void mnu_printSetup_Click();
    void mnu_printPreview_Click();
    void mnu_snapToFile_Click();
    void mnu_snapToClip_Click();
    void mnu_snapItemToFile_Click();
    void mnu_snapItemToClip_Click();

    // ---- canvas editing (MainCanvas.cpp) ----
    // Connects the canvas's mouse, keys and paint, the pan bars, and the
    // Edit and zoom menu entries.
    void connectEditing();
    void Picture2_MouseDown(int button, int shift, float x, float y);
    void Picture2_MouseMove(int button, int shift, float x, float y);
    void Picture2_MouseUp(int button, int shift, float x, float y);
    void Picture2_KeyDown(int keyCode, int shift);
    // While "Snap" is checked: moves item `index` so that an edge of it
    // meets an edge of another item within 7 pixels.
    void SnapItem(std::vector<ItemRecord>& items, int32_t index);
    // Pushes an item back inside the floor of `room`: its plan picture at
    // `scale` ends up within the floor less one pixel on each side.
    static void ClampItemToFloor(ItemRecord& item, const RoomRecord& room, float scale);
    // Keeps wall item `index` within the current wall (G.WallView).
    static void ClampItemToWall(int32_t index);
    // Lists the items whose plan boxes overlap item `index`.
    static void FindItemsOnTop(const std::vector<ItemRecord>& items, int32_t count, std::vector<int32_t>& list,
                               int32_t& listCount, int32_t index);
    // Settles the listed items again, section items left alone.
    static void SettleStackedItems(std::vector<ItemRecord>& items, int32_t count, const std::vector<int32_t>& list,
                                   int32_t listCount);
    // One zoom step of the current view: its scale becomes
    // scale / divisor + scale + delta when that lies strictly between
    // 0.00001 and 0.1; otherwise it stays and atLimit is set.
    void ZoomBy(float delta, float divisor, bool& atLimit);
    void mnu_zoomIn_Click();
    void mnu_zoomOut_Click();
    void mnu_zoom_Click();
    // Back to the place's standard scale, the pan to its start.
    void ResetZoom();
    // Sets the pan bars to the pans of the plan or the 3D view, whichever
    // is shown, without panning again: after the pans were set by code.
    void ShowPansOnBars();
    void HScroll2_Change();
    void VScroll2_Change();
    // Enables or disables the commands that act on one item (Copy, Rotate
    // Item, Delete, Cut and the tool strip's Copy and Cut).
    void EnableEditCommands(bool flag);

    float LastMouseX = 0, LastMouseY = 0;
    // The items that overlapped a carrying item when it was pressed.
    std::vector<int32_t> StackedItems;
    int32_t StackedItemCount = 0;
    // The move step of the press being dragged on the plan, and the add
    // step of the palette drop under way; -1 none.
    int32_t PressRecord = -1;
    int32_t DropRecord = -1;
    bool PanActive = false;     // a left press on the empty plan: moving pans
    bool ZoomMode = false;      // the popup's "Zoom": a left drag zooms
    bool ScrollByCode = false;  // the pan bars are being set by the pan code

    struct UndoRecord {
        int16_t Action = 0;
        int32_t ItemIndex = 0;
        ItemRecord Item;
        // A move step whose press brought items to the end of the array:
        // their indexes before it, the pressed item first, then the items
        // that stood on it (so that they are still drawn after it).
        std::vector<int32_t> Lifted;
        // Other items whose elevations the step changed, each with its
        // elevation on the other side of the step.
        std::vector<std::pair<int32_t, float>> Elevations;
        // The money spent on the other side of an add or delete step.
        double Spent = 0;
    };
    std::vector<UndoRecord> UndoRecords;
    int32_t UndoPos = 0;  // records applied; Undo reverses the one below
    int32_t UndoTop = 0;  // valid records; Redo replays up to here

    // ---- palette and item panel (MainPalette.cpp) ----
    // The catalogue of the item group in `folder` becomes the palette; its
    // first entry is selected.
    void LoadPalette(const QString& folder);
    // The item panel shows the palette's selected item again, and an open
    // price dialog names that item and its price: the item it names is the
    // one its OK prices.
    void ShowPaletteSelection();
    // Greys the palette, the panel and their buttons out (and ignores the
    // mouse on them), or brings them back; callers redraw after enabling.
    void SetPaletteDisabled(bool flag);
    // The palette bar's range for the current catalogue, and the bar to 0.
    void UpdateItemListScrollRange();
    void Picture5_MouseDown(int button, int shift, float x, float y);
    // With the button held, the first move makes a placed item of the
    // pressed entry (in the plan, or against the current wall in the wall
    // view) and later moves drag it; the release drops it, or takes it away
    // again when it is back over the palette.
    void Picture5_MouseMove(int button, int shift, float x, float y);
    void Picture5_MouseUp(int button, int shift, float x, float y);
    void Picture5_DblClick();
    void Picture5_Paint();
    void Picture6_Paint();
    void Command1_Click();
    // The price dialog for the palette's selected item, in the plan and the
    // wall view of a place with prices.
    void Picture6_DblClick();
    void Command2_Click();
    // The price dialog as it stands (its menu entry is hidden).
    void mnu_changePrice_Click();
    // The pointing finger over the panel's buttons.
    void Command1_MouseMove();
    void Command2_MouseMove();
    void VScroll1_Change();
    // A palette cell was pressed: the next move with the button held starts
    // a drop.
    bool PaletteDragArmed = false;
    // The new item (G.DragItem) follows the mouse until the release.
    bool PaletteDragActive = false;
    // The pressed cell's picture box, in palette pixels.
    DrawMod::CellRect PaletteCellRect;
    // The mouse relative to the grabbed item's centre, in pixels, while
    // dragging (from the palette, or on the canvas).
    int32_t GrabOffsetX = 0, GrabOffsetY = 0;
    // Where the palette was pressed, in palette pixels: a drop holds the
    // item where it was grabbed, however far the first move lands.
    QPointF PalettePress;
    // Where the canvas's inner corner lies from the palette's, in pixels: a
    // point in palette pixels minus this is the same point on the canvas.
    QPoint PaletteOffset() const;

    // The scene path in a command line: the whole line when it is longer than
    // 4 characters, with one leading and then one trailing double quote
    // removed; nothing for a shorter line.
    static std::optional<QString> SceneFromCommandLine(const QString& commandLine);

    // Design sizes (twips) the layout reads.
    static constexpr int32_t kScrollBarThickness = 255;
    static constexpr int32_t kButtonSize = 600;     // view and tool buttons (40 pixels)
    static constexpr int32_t kToolStripHeight = 630;
    static constexpr int32_t kStripButtonSize = 480;  // the tool strip's buttons (32 pixels)

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Paint() override;
    void Form_Resize() override;
    void Form_QueryUnload(int16_t& cancel, int unloadMode) override;

private:
    void makeControls();
    void makeMenus();
    void loadPictures();
    void layout();
    // A tool window by name, made and loaded on first use; nullptr when the
    // program has no such window.
    dorv::Form* toolWindow(const QString& name);
    // Shows or hides a tool window; returns whether it is now shown.
    bool toggleToolWindow(const QString& name);
    // Moves every index that names a placed item to where `newIndex` puts
    // that item (-1: it has gone).
    void FollowItems(const std::function<int32_t(int32_t)>& newIndex);
    bool makeSurface(dorv::PictureBox* control, std::unique_ptr<dorv::DeviceContext>& dc, dorv::GdiObject& bitmap,
                     dorv::GdiObject& oldBitmap);
    void destroySurface(std::unique_ptr<dorv::DeviceContext>& dc, dorv::GdiObject& bitmap, dorv::GdiObject& oldBitmap);
    // The palette's and the item panel's events and bar.
    void connectPalette();
    void showPriceDialog(frmChangePrice& dialog);
    // The palette bar's range for the palette's present height, keeping its
    // value where it still fits: the palette window changes size with the
    // main window.
    void fitPaletteScrollRange();
    // The first place of a wall item dropped from the palette: against the
    // current wall, at the mouse's place along it; pixel offsets from the
    // plan origin at the wall scale.
    void GetWallDropPosition(const ItemRecord& entry, float mouseX, float& x, float& y) const;
    // True when a release at palette column x lies left of the canvas.
    bool ReleasedOverPalette(float x) const;

    // The windows as scene and view code reach them.
    class Port : public WindowPort {
    public:
        explicit Port(Main& m) : main(m) {}
        int MsgBox(const QString& prompt, int style, const QString& title) override;
        void SetCurrencyPictures(int budgetImage, int priceImage) override;
        dorv::DeviceContext* CanvasDC() override;
        QSizeF CanvasSize() override;
        void ShowCanvas(const dorv::DeviceContext& surface, int width, int height) override;
        void ClearListPictures(EnvList list) override;
        void AddListPicture(EnvList list, const QString& key, const QImage& picture) override;
        void AddDefaultListPicture(EnvList list, const QString& key) override;
        void ClearListEntries(EnvList list) override;
        void AddListEntry(EnvList list, const ListEntry& entry) override;
        bool ShowDimensions() override;
        bool ShowWireObjects() override;
        QString PlaceSizeText(int box) override;
        // The item-groups window's Use Prices box (MainTools.cpp).
        void SetUsePricesCaption(const QString& text) override;
        void SetUsePricesTicked(bool ticked) override;
        bool UsePricesTicked() override;
        // The budget window's texts (MainTools.cpp).
        void SetBudgetSpentTexts(const QString& spent, const QString& lastItem) override;
        int32_t SpreadsheetPage() override;
        bool SpreadsheetShowsItems() override;
        void UpdateItemListScrollRange() override;
        // The budget texts and the size texts the scene files read and
        // write (MainFiles.cpp).
        QString BudgetText(int box) override;
        void SetBudgetText(int box, const QString& text) override;
        void SetPlaceSizeText(int box, const QString& text) override;

    private:
        Main& main;
        // The budget texts while there is no budget window.
        std::array<QString, 5> budgetTexts;
    };

    std::vector<std::unique_ptr<dorv::Menu>> menus_;
    Port port_{*this};
    bool exiting_ = false;

    // The docked column: the width (twips) of the widest docked window shown,
    // 0 with none; the layout keeps the canvas clear of it.
    int32_t dockedWidth() const;
    // Twips between the column and the main window's right edge, and between
    // the canvas's bar and the column.
    static constexpr int32_t kDockMargin = 200, kDockGap = 120;
    int32_t layoutDockWidth_ = 0;
    bool dockCheckPending_ = false;
    // A docked window was shown, hidden or resized: the canvas follows once
    // the events of the moment have run.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dockedWindowsChanged();
};

// The one main window of the run (nullptr before it is made).
Main* MainWindow();
