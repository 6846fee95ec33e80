#include "app/Main.h"

#include "app/EnvSelect.h"
#include "app/Floors.h"
#include "app/ItemGroups.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "views/ViewRender.h"

#include <functional>

namespace {

Main* theMain = nullptr;

// The tool windows that dock beside the main window, with their bits in
// HiddenToolWindows.
struct ToolWindowBit {
    const char* name;
    int16_t bit;
};
constexpr ToolWindowBit kDockedWindows[] = {{"ItemGroups", 1}, {"Budget", 2}, {"Colours", 4}};

// The windows the exit sequence unloads, in its order; Main comes last.
constexpr const char* kUnloadOrder[] = {"frmGraphs", "frmSpreadSht", "frmChangePrice", "ItemGroups", "EnvSelect",
                                        "Budget",    "Floors",       "Colours",        "PrintPreview"};

}  // namespace

Main* MainWindow() { return theMain; }

// ---- what scene and view code asks of the windows ----

int Main::Port::MsgBox(const QString& prompt, int style, const QString& title)
{
    return dorv::MsgBox(prompt, style, title);
}

void Main::Port::SetCurrencyPictures(int budgetImage, int priceImage)
{
    main.Picture3[7]->SetPicture(main.ImageList1.Image(budgetImage));
    const QImage price = main.ImageList4.Image(priceImage);
    main.Command2->setIcon(QPixmap::fromImage(price));
    main.Command2->setIconSize(price.size());
}

void Main::Port::UpdateItemListScrollRange() { main.UpdateItemListScrollRange(); }

dorv::DeviceContext* Main::Port::CanvasDC() { return main.CanvasDC.get(); }

QSizeF Main::Port::CanvasSize() { return QSizeF(main.Picture2->ScaleWidth(), main.Picture2->ScaleHeight()); }

void Main::Port::ShowCanvas(const dorv::DeviceContext& surface, int width, int height)
{
    dorv::BitBlt(main.Picture2->hDC(), 0, 0, width, height, surface, 0, 0, dorv::SRCCOPY);
}

// The environment chooser's list here; the item-groups window keeps the others.

void Main::Port::ClearListPictures(EnvList list)
{
    if (list != EnvList::Chooser) {
        if (ItemGroups* groups = ItemGroups::Window()) groups->ClearListPictures(list);
        return;
    }
    if (EnvSelect* chooser = EnvSelect::Window()) chooser->ClearPictures();
}

void Main::Port::AddListPicture(EnvList list, const QString& key, const QImage& picture)
{
    if (list != EnvList::Chooser) {
        if (ItemGroups* groups = ItemGroups::Window()) groups->AddListPicture(list, key, picture);
        return;
    }
    if (EnvSelect* chooser = EnvSelect::Window()) chooser->AddPicture(key, picture);
}

void Main::Port::AddDefaultListPicture(EnvList list, const QString& key)
{
    if (list != EnvList::Chooser) {
        if (ItemGroups* groups = ItemGroups::Window()) groups->AddListPicture(list, key, main.ImageList2.Image(13));
        return;
    }
    if (EnvSelect* chooser = EnvSelect::Window()) chooser->AddPicture(key, main.ImageList2.Image(13));
}

void Main::Port::ClearListEntries(EnvList list)
{
    if (list != EnvList::Chooser) {
        if (ItemGroups* groups = ItemGroups::Window()) groups->ClearListEntries(list);
        return;
    }
    if (EnvSelect* chooser = EnvSelect::Window()) chooser->ClearEntries();
}

void Main::Port::AddListEntry(EnvList list, const ListEntry& entry)
{
    if (list != EnvList::Chooser) {
        if (ItemGroups* groups = ItemGroups::Window()) groups->AddListEntry(list, entry);
        return;
    }
    if (EnvSelect* chooser = EnvSelect::Window()) chooser->AddEntry(entry);
}

bool Main::Port::ShowDimensions() { return main.mnu_showDims->Checked(); }

bool Main::Port::ShowWireObjects() { return main.mnu_showWires->Checked(); }

QString Main::Port::PlaceSizeText(int box)
{
    Floors* floors = Floors::Window();
    if (!floors) return {};
    switch (box) {
    case 1:
        return floors->Text1->Text();
    case 2:
        return floors->Text2->Text();
    case 3:
        return floors->Text3->Text();
    default:
        return {};
    }
}

Main::Main() : dorv::Form(QStringLiteral("Main"))
{
    theMain = this;
    SetWindows(&port_);
    // The dialogs of the new-place flow, made on first use.
    dorv::Form::Register(QStringLiteral("EnvSelect"), [] { return new EnvSelect; });
    dorv::Form::Register(QStringLiteral("Floors"), [] { return new Floors; });
    // The file commands answer the save question and the Open command of
    // the new-place flow and the exit.
    ConfirmSaveChanges = [this] { return AskToSaveChanges(); };
    OpenCommand = [this](const QString& startFolder) { OpenFrom(startFolder); };
    RegisterToolWindows();
    registerReportWindows();
    SetCaption(dorv::AppTitle());
    makeControls();
    makeMenus();
    connectViews();
    connectPalette();
    connectFileMenus();
    // Each topic connects its menu entries here, one line per topic (see the
    // menus in Main.h).
    connectToolMenus();
    connectOutputMenus();
    connectEditing();
    Move(600, 600, 12000, 9000);
}

Main::~Main()
{
    DestroyPlanCanvas();
    DestroyListCanvas();
    menus_.clear();
    SetWindows(nullptr);
    if (theMain == this) theMain = nullptr;
}

void Main::makeControls()
{
    using dorv::PictureBox;
    using dorv::ScrollBar;
    QWidget* client = Client();

    Picture2 = new PictureBox(client, QStringLiteral("Picture2"));
    Picture2->SetScaleMode(dorv::vbPixels);
    Picture5 = new PictureBox(client, QStringLiteral("Picture5"));
    Picture5->SetScaleMode(dorv::vbPixels);
    VScroll1 = new ScrollBar(client, QStringLiteral("VScroll1"), Qt::Vertical);
    VScroll1->SetWidth(kScrollBarThickness);
    HScroll1 = new ScrollBar(client, QStringLiteral("HScroll1"), Qt::Horizontal);
    HScroll1->SetHeight(kScrollBarThickness);

    Picture6 = new PictureBox(client, QStringLiteral("Picture6"));
    Command1 = new dorv::CommandButton(Picture6, QStringLiteral("Command1"), QStringLiteral("\u21BB"));
    Command1->Move(0, 0, 540, 540);
    Command2 = new dorv::CommandButton(Picture6, QStringLiteral("Command2"));
    Command2->Move(0, 0, 660, 660);

    HScroll2 = new ScrollBar(client, QStringLiteral("HScroll2"), Qt::Horizontal);
    HScroll2->SetHeight(kScrollBarThickness);
    VScroll2 = new ScrollBar(client, QStringLiteral("VScroll2"), Qt::Vertical);
    VScroll2->SetWidth(kScrollBarThickness);

    Picture4 = new PictureBox(client, QStringLiteral("Picture4"), false);
    Picture4->Move(0, 0, 12000, kToolStripHeight);
    Picture4->SetScaleMode(dorv::vbPixels);
    Picture4->Paint = [this] {
        int32_t top = 0, bottom = 0;  // the whole strip
        DrawMod::PaintPictureBackground(Picture4->hDC(), dorv::RoundHalfEven(Picture4->ScaleWidth()),
                                        dorv::RoundHalfEven(Picture4->ScaleHeight()), dorv::GetSysColor(19),
                                        dorv::GetSysColor(3), top, bottom, 4);
    };
    for (int i = 0; i < int(Picture7.size()); ++i) {
        Picture7[i] = new PictureBox(Picture4, QStringLiteral("Picture7(%1)").arg(i), false);
        Picture7[i]->Move(120 + i * (kStripButtonSize + 60), (kToolStripHeight - kStripButtonSize) / 2,
                          kStripButtonSize, kStripButtonSize);
    }
    // One row along the bottom: the five view buttons, a gap, the tool buttons.
    int32_t left = 120;
    for (int i = 0; i < int(Picture1.size()); ++i) {
        Picture1[i] = new PictureBox(client, QStringLiteral("Picture1(%1)").arg(i), false);
        Picture1[i]->Move(left, 0, kButtonSize, kButtonSize);
        left += kButtonSize + 45;
    }
    left += 300;
    for (int i = 5; i <= 12; ++i) {
        Picture3[i] = new PictureBox(client, QStringLiteral("Picture3(%1)").arg(i), false);
        Picture3[i]->Move(left, 0, kButtonSize, kButtonSize);
        left += kButtonSize + 45;
    }
    // The buttons show their faces over the window's background.
    for (PictureBox* b : Picture1) b->SetBackColor(dorv::GetSysColor(5));
    for (int i = 5; i <= 12; ++i) Picture3[i]->SetBackColor(dorv::GetSysColor(5));
}

// ---- events ----

void Main::Form_Activate()
{
    DrawMod::RedrawView();
    PositionToolWindows();
}

void Main::Form_Paint()
{
    // Three bands over the whole width; the narrow middle one is a bright
    // line above the row of buttons.
    dorv::DeviceContext& dc = hDC();
    const int32_t w = Client()->width();
    const int32_t h = dorv::RoundHalfEven(dorv::ScaleY(ScaleHeight(), ScaleMode(), dorv::vbPixels));
    const int32_t c19 = dorv::GetSysColor(19), c3 = dorv::GetSysColor(3);
    int32_t top = 0, bottom = h - 55;
    DrawMod::PaintFormBackground(dc, w, h, c19, c3, top, bottom, 4);
    top = h - 55;
    bottom = h - 48;
    DrawMod::PaintFormBackground(dc, w, h, c3, c19, top, bottom, 1);
    top = h - 48;
    bottom = h;
    DrawMod::PaintFormBackground(dc, w, h, c19, c3, top, bottom, 2);
}

void Main::Form_Resize()
{
    if (WindowState() == 1) {
        HiddenToolWindows = 8;
        for (const ToolWindowBit& t : kDockedWindows) {
            dorv::Form* f = toolWindow(QLatin1String(t.name));
            if (f && f->IsWindowVisible()) {
                f->Hide();
                HiddenToolWindows += t.bit;
            }
        }
    } else if (HiddenToolWindows > 0) {
        if (HiddenToolWindows & 1) mnu_showItemGroups_Click();
        if (HiddenToolWindows & 2) mnu_showBudgetInfo_Click();
        if (HiddenToolWindows & 4) mnu_changeColours_Click();
        HiddenToolWindows = 0;
    }
    layout();
    G.CanvasCentreX = Picture2->ScaleWidth() * 0.5f;
    G.CanvasCentreY = Picture2->ScaleHeight() * 0.5f;
    CreatePlanCanvas();
    DrawMod::RedrawView();
    CreateListCanvas();
    fitPaletteScrollRange();
    Picture5_Paint();
}

void Main::layout()
{
    const int32_t SW = dorv::RoundHalfEven(ScaleWidth());
    const int32_t SH = dorv::RoundHalfEven(ScaleHeight());
    // A computed size is applied only when it is greater than 0.
    auto size = [](double v, const std::function<void(int32_t)>& apply) {
        int32_t r = dorv::RoundHalfEven(v);
        if (r > 0) apply(r);
    };

    Picture2->SetLeft(3000);
    Picture2->SetTop(100 + (Picture4->Visible() ? Picture4->Height() : 0));
    // The canvas and its bar end left of the docked windows' column, so that
    // no tool window or panel hides the room, the chart or the spreadsheet.
    layoutDockWidth_ = dockedWidth();
    int32_t right = SW - 120;
    if (layoutDockWidth_ > 0) {
        const int32_t border = (geometry().x() - frameGeometry().x()) * dorv::TwipsPerPixelX();
        right = std::min(right, Width() - layoutDockWidth_ - kDockMargin - border - kDockGap);
    }
    size(right - 3000 - VScroll2->Width(), [this](int32_t v) { Picture2->SetWidth(v); });
    size(SH - Picture2->Top() - Picture1[0]->Height() - 220 - HScroll2->Height(),
         [this](int32_t v) { Picture2->SetHeight(v); });

    Picture5->SetTop(Picture2->Top());
    size(2780 - VScroll1->Width(), [this](int32_t v) { Picture5->SetWidth(v); });
    Picture5->SetLeft(120);
    size(SH * 0.7, [this](int32_t v) { Picture5->SetHeight(v); });

    HScroll2->SetLeft(Picture2->Left());
    HScroll2->SetTop(Picture2->Top() + Picture2->Height());
    size(Picture2->Width(), [this](int32_t v) { HScroll2->SetWidth(v); });
    VScroll2->SetLeft(Picture2->Left() + Picture2->Width());
    VScroll2->SetTop(Picture2->Top());
    size(Picture2->Height(), [this](int32_t v) { VScroll2->SetHeight(v); });

    Picture4->SetTop(0);
    size(Width(), [this](int32_t v) { Picture4->SetWidth(v); });

    Picture6->SetLeft(120);
    size(2780, [this](int32_t v) { Picture6->SetWidth(v); });
    Picture6->SetTop(Picture5->Top() + Picture5->Height() + 100);
    size(Picture2->Top() + Picture2->Height() + HScroll2->Height() - Picture6->Top(),
         [this](int32_t v) { Picture6->SetHeight(v); });

    Command1->SetLeft(dorv::RoundHalfEven(Picture6->ScaleWidth()) - Command1->Width());
    Command1->SetTop(0);
    Command2->SetTop(0);

    VScroll1->SetLeft(Picture5->Left() + Picture5->Width());
    VScroll1->SetTop(Picture5->Top());
    size(Picture5->Height(), [this](int32_t v) { VScroll1->SetHeight(v); });

    const int32_t buttonsTop = SH - Picture1[0]->Height() - 80;
    for (dorv::PictureBox* b : Picture1) b->SetTop(buttonsTop);
    for (int i = 5; i <= 12; ++i) Picture3[i]->SetTop(buttonsTop);
}

// ---- off-screen surfaces ----

bool Main::makeSurface(dorv::PictureBox* control, std::unique_ptr<dorv::DeviceContext>& dc, dorv::GdiObject& bitmap,
                       dorv::GdiObject& oldBitmap)
{
    const int w = dorv::RoundHalfEven(control->ScaleWidth());
    const int h = dorv::RoundHalfEven(control->ScaleHeight());
    dorv::DeviceContext& screen = control->hDC();
    dc = dorv::CreateCompatibleDC(&screen);
    bitmap = dorv::CreateCompatibleBitmap(screen, w, h);
    oldBitmap = dc ? dc->SelectObject(bitmap) : 0;
    if (oldBitmap == 0 || !dc) return false;
    DrawMod::DrawBox(*dc, -1, -1, w + 1, h + 1, 0xFFFFFF, 0xFFFFFF, 1);
    return true;
}

void Main::destroySurface(std::unique_ptr<dorv::DeviceContext>& dc, dorv::GdiObject& bitmap,
                          dorv::GdiObject& oldBitmap)
{
    if (oldBitmap != 0 && dc) dc->SelectObject(oldBitmap);
    // The bitmap goes also when it never made it into the context.
    if (bitmap != 0) dorv::DeleteObject(bitmap);
    dorv::DeleteDC(dc);
    bitmap = oldBitmap = 0;
}

void Main::CreatePlanCanvas()
{
    DestroyPlanCanvas();
    if (!makeSurface(Picture2, CanvasDC, CanvasBitmap, CanvasOldBitmap))
        dorv::MsgBox(LangMod::GetMessage(QStringLiteral("lang_NotEnoughMemoryForCanvas")), dorv::vbOKOnly);
}

void Main::DestroyPlanCanvas() { destroySurface(CanvasDC, CanvasBitmap, CanvasOldBitmap); }

void Main::CreateListCanvas()
{
    DestroyListCanvas();
    if (!makeSurface(Picture5, ListDC, ListBitmap, ListOldBitmap))
        dorv::MsgBox(LangMod::GetMessage(QStringLiteral("lang_NotEnoughMemoryForListCanvas")), dorv::vbOKOnly);
}

void Main::DestroyListCanvas() { destroySurface(ListDC, ListBitmap, ListOldBitmap); }

void Main::mnu_toolbar_Click()
{
    if (Picture4->Visible()) {
        mnu_toolbar->SetChecked(false);
        Picture4->SetVisible(false);
    } else {
        mnu_toolbar->SetChecked(true);
        Picture4->SetVisible(true);
    }
    Form_Resize();
    Picture6->Refresh();
    DrawMod::RedrawView();
}

// ---- the end ----

void Main::mnu_exit_Click()
{
    int16_t cancel = 0;
    ConfirmExitAndUnloadAll(0, cancel);
}

void Main::Form_QueryUnload(int16_t& cancel, int unloadMode)
{
    // Unloading Main is the exit sequence's own last step: asked already.
    if (exiting_) return;
    ConfirmExitAndUnloadAll(unloadMode, cancel);
}

void Main::ConfirmExitAndUnloadAll(int unloadMode, int16_t& cancel)
{
    const bool cancelled = ConfirmSaveChanges ? ConfirmSaveChanges() : false;
    // When the desktop session ends or another program closes this one, the
    // program closes whatever the answer.
    if (cancelled && unloadMode < dorv::vbAppWindows) {
        cancel = 1;
        return;
    }
    exiting_ = true;
    DestroyPlanCanvas();
    DestroyListCanvas();
    for (const char* name : kUnloadOrder) {
        if (dorv::Form* f = dorv::Form::Existing(QLatin1String(name))) f->Unload(dorv::vbFormCode);
        if (dorv::Ending()) return;
    }
    Unload(dorv::vbFormCode);
    exiting_ = false;
}
