// The main window's item palette and the item panel below it: loading an
// item group into the palette, painting both, the palette's scroll bar,
// greying them out, turning the palette item and, through the palette's own
// mouse events, dragging a new item onto the plan or the wall view.
#include "app/Main.h"

#include "app/frmChangePrice.h"

#include "platform/Rounding.h"
#include "scene/ItemCatalogue.h"
#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/UnitsMoney.h"
#include "views/Palette.h"
#include "views/PictureEngine.h"
#include "views/ViewRender.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>

#include <algorithm>
#include <functional>

using dorv::RoundHalfEven;

namespace {
constexpr int32_t kDisabledGrey = 0xEEEEEE;

// The catalogue entry the palette has selected, or nullptr.
ItemRecord* SelectedEntry()
{
    const int32_t n = std::min<int32_t>(G.PaletteCount, static_cast<int32_t>(G.Palette.size()));
    if (G.PaletteSelection < 0 || G.PaletteSelection >= n) return nullptr;
    return &G.Palette[static_cast<size_t>(G.PaletteSelection)];
}

// Tells the window of every mouse move over one of the panel's buttons.
class ButtonMoves : public QObject {
public:
    ButtonMoves(QWidget* button, std::function<void()> moved) : QObject(button), moved_(std::move(moved))
    {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) moved_();
        return false;
    }

private:
    std::function<void()> moved_;
};

// Hands the mouse wheel over the palette to its bar, which moves as the
// wheel moves it over the bar itself.
class WheelToBar : public QObject {
public:
    WheelToBar(QWidget* over, QWidget* bar) : QObject(over), bar_(bar) { over->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel) return false;
        QCoreApplication::sendEvent(bar_, event);
        return true;
    }

private:
    QWidget* bar_;
};

void FillPriceDialog(frmChangePrice& dialog, const ItemRecord& entry)
{
    dialog.Label1->SetCaption(LangMod::GetPlanInfoText(entry.Name.str()));
    dialog.Label2->SetCaption(G.CurrencySymbol);
    dialog.Text1->SetText(CommonMod::FormatMoney(entry.Price, false));
}

void SetButtonColour(dorv::CommandButton* button, int32_t colour)
{
    QPalette pal = button->palette();
    pal.setColor(QPalette::Button, QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    button->setPalette(pal);
}
}  // namespace

void Main::connectPalette()
{
    VScroll1->SetMax(1000);
    VScroll1->SetSmallChange(10);
    VScroll1->SetLargeChange(10);
    VScroll1->Change = [this] { VScroll1_Change(); };
    VScroll1->Scroll = [this] { VScroll1_Change(); };
    // A child drags the bar and sees the palette follow.
    VScroll1->setTracking(true);
    new WheelToBar(Picture5, VScroll1);
    Picture5->Paint = [this] { Picture5_Paint(); };
    Picture5->MouseDown = [this](int button, int shift, float x, float y) { Picture5_MouseDown(button, shift, x, y); };
    Picture5->MouseMove = [this](int button, int shift, float x, float y) { Picture5_MouseMove(button, shift, x, y); };
    Picture5->MouseUp = [this](int button, int shift, float x, float y) { Picture5_MouseUp(button, shift, x, y); };
    Picture5->DblClick = [this] { Picture5_DblClick(); };
    Picture6->Paint = [this] { Picture6_Paint(); };
    Command1->Click = [this] { Command1_Click(); };
    Command2->Click = [this] { Command2_Click(); };
    Picture6->DblClick = [this] { Picture6_DblClick(); };
    connectMenu(mnu_changePrice, &Main::mnu_changePrice_Click);
    new ButtonMoves(Command1, [this] { Command1_MouseMove(); });
    new ButtonMoves(Command2, [this] { Command2_MouseMove(); });
}

void Main::LoadPalette(const QString& folder)
{
    G.ItemFolder = folder;
    G.CatalogueShapes.assign(1, 0);
    G.CatalogueShapeCount = 0;
    G.PaletteCount = 0;
    FileMod::LoadItemCatalogue(G.ItemFolder, G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount);
    Picture5_Paint();
    G.PaletteSelection = 0;
    ShowPaletteSelection();
}

void Main::ShowPaletteSelection()
{
    Picture6->Refresh();
    auto* dialog = dynamic_cast<frmChangePrice*>(dorv::Form::Existing(QStringLiteral("frmChangePrice")));
    if (!dialog || !dialog->IsWindowVisible()) return;
    // A group with nothing in it leaves nothing to price.
    if (const ItemRecord* entry = SelectedEntry())
        FillPriceDialog(*dialog, *entry);
    else
        dialog->Hide();
}

void Main::fitPaletteScrollRange()
{
    const int64_t h = DrawMod::MeasureItemListHeight(G.CatalogueShapes, G.CatalogueShapeCount, G.Palette,
                                                     G.PaletteCount);
    const int64_t m = h - RoundHalfEven(Picture5->ScaleHeight());
    VScroll1->SetMax(static_cast<int16_t>(std::clamp<int64_t>(m, 0, 32000)));
}

void Main::UpdateItemListScrollRange()
{
    fitPaletteScrollRange();
    VScroll1->SetValue(0);
}

void Main::SetPaletteDisabled(bool flag)
{
    G.PaletteDisabled = flag;
    const int32_t colour = flag ? kDisabledGrey : dorv::GetSysColor(19);
    Picture5->SetBackColor(colour);
    Picture6->SetBackColor(colour);
    SetButtonColour(Command1, colour);
    SetButtonColour(Command2, colour);
    Command1->SetEnabled(!flag);
    Command2->SetEnabled(!flag);
    VScroll1->SetEnabled(!flag);
    if (flag) {
        Picture6_Paint();
        Picture5_Paint();
    }
}

// ---- painting ----

void Main::Picture5_Paint()
{
    if (!ListDC) return;
    dorv::DeviceContext& dc = *ListDC;
    const int32_t width = RoundHalfEven(Picture5->ScaleWidth());
    const float height = Picture5->ScaleHeight();
    const int32_t h = RoundHalfEven(height);
    if (G.PaletteDisabled)
        DrawMod::DrawBox(dc, 0, 0, width, h, kDisabledGrey, kDisabledGrey, 1);
    else
        DrawMod::DrawGradientRect(dc, dorv::GetSysColor(5), dorv::GetSysColor(19), 0, 0, width, h, 8);
    DrawMod::DrawItemPalette(dc, G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount,
                             HScroll1->Value(), VScroll1->Value(), width, height);
    dc.SetViewportOrgEx(0, 0);
    dorv::BitBlt(Picture5->hDC(), 0, 0, width, h, dc, 0, 0, dorv::SRCCOPY);
}

void Main::Picture6_Paint()
{
    // The panel is a picture box measured in twips; it draws in pixels.
    dorv::DeviceContext& dc = Picture6->hDC();
    const float SW = static_cast<float>(dorv::ScaleX(Picture6->ScaleWidth(), Picture6->ScaleMode(), dorv::vbPixels));
    const float SH =
        static_cast<float>(dorv::ScaleY(Picture6->ScaleHeight(), Picture6->ScaleMode(), dorv::vbPixels));
    // Cleared to its back colour without asking for another repaint.
    DrawMod::DrawBox(dc, -1, -1, RoundHalfEven(SW) + 1, RoundHalfEven(SH) + 1, Picture6->BackColor(), -1, 1);
    const ItemRecord* entry = SelectedEntry();
    if (G.PaletteCount <= 0 || !entry) return;

    const float H = SH - 16;  // room for the caption
    float w = 0, h = 0, insetX = 0, insetY = 0;
    int16_t view = -1;
    DrawMod::GetItemDrawnSize(*entry, kPicture3D, G.CatalogueShapes, G.CatalogueShapeCount, 1.0f, w, h, insetX, insetY,
                              view);
    if (w == 0) return;
    float k = SW / w;
    const float ky = h > 0 ? H / h : 0;
    float offX = 0, offY = 0;
    if (ky > 0 && ky < k) {
        k = ky;
        offX = (SW / k - w) * 0.5f;
    } else {
        offY = (H / k - h) * 0.5f;
    }
    if (k > 0 && 1 / k > 2)
        DrawMod::DrawItemPicture(dc, G.CatalogueShapes, G.CatalogueShapeCount, *entry, kPicture3D,
                                 DrawMod::ReduceView(*entry, entry->ViewIndex), offX - insetX, offY - insetY, 0, H, k,
                                 G.PaletteDisabled ? DrawMod::kGhost : 0);

    QString caption = LangMod::GetPlanInfoText(entry->Name.str());
    if (!G.PlanInfo.noprices) caption += QStringLiteral(" - ") + CommonMod::FormatMoney(entry->Price, true);
    // The panel's font: 8-point Arial, about six pixels to a character,
    // which the caption's centring counts on.
    dc.SetBkMode(dorv::TRANSPARENT);
    const dorv::GdiObject font = dorv::CreateFontA(-dorv::MulDiv(8, dc.GetDeviceCaps(dorv::LOGPIXELSY), 72), 0, 0,
                                                   dorv::FW_NORMAL, QStringLiteral("Arial"));
    const dorv::GdiObject oldFont = dc.SelectObject(font);
    dc.TextOutA(RoundHalfEven(SW * 0.5 - 3.0 * caption.size()), RoundHalfEven(SH - 15), caption);
    dc.SelectObject(oldFont);
    dorv::DeleteObject(font);
}

void Main::VScroll1_Change() { Picture5_Paint(); }

// ---- the panel's buttons ----

void Main::Command1_Click()
{
    ItemRecord* entry = SelectedEntry();
    if (G.PaletteCount <= 0 || !entry) return;
    entry->ViewIndex = static_cast<int16_t>((entry->ViewIndex + 1) % std::max<int16_t>(1, entry->ViewCount));
    Picture5_Paint();
    Picture6->Refresh();
}

void Main::Picture5_DblClick()
{
    // A grey palette ignores the mouse, double clicks too.
    if (G.PaletteDisabled) return;
    Command1_Click();
}

void Main::Picture6_DblClick()
{
    if (G.ViewMode != 0 && G.ViewMode != 2) return;
    if (G.PlanInfo.noprices) return;
    const ItemRecord* entry = SelectedEntry();
    if (!entry) return;
    frmChangePrice* dialog = frmChangePrice::Window();
    if (!dialog) return;
    FillPriceDialog(*dialog, *entry);
    showPriceDialog(*dialog);
}

void Main::showPriceDialog(frmChangePrice& dialog)
{
    // Over the main window, centred on it, where the child is looking; kept
    // above it while it is open.
    dialog.Load();
    dialog.Move(Left() + (Width() - dialog.Width()) / 2, Top() + (Height() - dialog.Height()) / 2, dialog.Width(),
                dialog.Height());
    // The child types the new price over the old one at once, whatever had
    // the keyboard when the dialog last closed (a click on OK leaves it on
    // that button).
    dialog.Text1->setFocus();
    dialog.Text1->selectAll();
    dialog.Show(dorv::vbModeless, this);
}

void Main::Command2_Click() { Picture6_DblClick(); }

void Main::Command1_MouseMove()
{
    // The pointing finger of the cursor list, its tip at (10, 2).
    const QImage finger = ImageList3.Image(2);
    if (!finger.isNull()) Command1->setCursor(QCursor(QPixmap::fromImage(finger), 10, 2));
}

void Main::Command2_MouseMove()
{
    const QImage finger = ImageList3.Image(2);
    if (!finger.isNull()) Command2->setCursor(QCursor(QPixmap::fromImage(finger), 10, 2));
}

void Main::mnu_changePrice_Click()
{
    if (frmChangePrice* dialog = frmChangePrice::Window()) showPriceDialog(*dialog);
}

// ---- the mouse on the palette ----

void Main::Picture5_MouseDown(int, int, float x, float y)
{
    if (G.PaletteDisabled) return;
    const int32_t h = HScroll1->Value(), v = VScroll1->Value();
    G.PaletteSelection = DrawMod::HitTestItemPalette(
        RoundHalfEven(x + h), RoundHalfEven(y + v), G.CatalogueShapes, G.CatalogueShapeCount, G.Palette,
        G.PaletteCount, h, v, RoundHalfEven(Picture5->ScaleWidth()), RoundHalfEven(Picture5->ScaleHeight()),
        PaletteCellRect);
    PalettePress = QPointF(x, y);
    PaletteDragArmed = true;
    ShowPaletteSelection();
    // The Delete and Ctrl keys of the canvas work after a drop.
    Picture2->setFocus();
}

// ---- dragging a new item from the palette ----

QPoint Main::PaletteOffset() const
{
    // Where the canvas's inner corner lies from the palette's, in pixels: a
    // point in palette pixels minus this is the same point in canvas pixels.
    const QPoint palette = Picture5->mapTo(Picture5->window(), Picture5->contentsRect().topLeft());
    const QPoint canvas = Picture2->mapTo(Picture2->window(), Picture2->contentsRect().topLeft());
    return canvas - palette;
}

void Main::GetWallDropPosition(const ItemRecord& entry, float mouseX, float& x, float& y) const
{
    x = 0;
    y = 0;
    const int16_t side = G.WallView.Side;
    if (side < 0 || side > 3) return;
    const float cx = G.WallView.CentreX, cy = G.WallView.CentreY, s = G.WallScale;
    float w = 0, h = 0;
    int16_t view = side;
    DrawMod::GetItemPictureSize(entry, kPictureFromAbove, G.CatalogueShapes, G.CatalogueShapeCount, 1.0f, w, h,
                                view);
    const float m = mouseX - GrabOffsetX - G.CanvasCentreX - PaletteOffset().x();
    switch (side) {
    case 0:
        x = m + s * cx;
        y = (cy - h * 0.5f) * s + 1;
        break;
    case 1:
        x = (cx - w * 0.5f) * s + 1;
        y = -m + s * cy;
        break;
    case 2:
        x = -m + s * cx;
        y = (h * 0.5f + cy) * s - 1;
        break;
    case 3:
        x = (w * 0.5f + cx) * s - 1;
        y = m + s * cy;
        break;
    }
}

void Main::Picture5_MouseMove(int button, int, float x, float y)
{
    const QPoint off = PaletteOffset();
    const float panX = G.PlanPanX * 512 * G.PlanScale, panY = G.PlanPanY * 512 * G.PlanScale;
    if (button != 0 && !PaletteDragActive && PaletteDragArmed && G.PaletteCount > 0 && !G.PaletteDisabled) {
        // The first move of a drop makes the item; it shows from the next.
        // It is held where the press grabbed it: a quick flick, or a touch
        // screen, sends its first move far from the press.
        GrabOffsetX =
            RoundHalfEven(PalettePress.x() - (double(PaletteCellRect.left) + PaletteCellRect.right) * 0.5);
        GrabOffsetY =
            RoundHalfEven(PalettePress.y() - (double(PaletteCellRect.top) + PaletteCellRect.bottom) * 0.5);
        PaletteDragActive = true;
        PaletteDragArmed = false;
        ItemRecord* entry = SelectedEntry();
        if (!entry) return;
        const int32_t steps = UndoPos;
        if (G.ViewMode == 2) {
            entry->Flags |= kItemOnWall;
            float dx = 0, dy = 0;
            GetWallDropPosition(*entry, x, dx, dy);
            G.DragItem = AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes, *entry,
                                             G.PlacedItems, G.PlacedItemCount, dx, dy, G.WallView.Side, G.Room,
                                             G.WallScale);
        } else if (G.ViewMode == 0) {
            entry->Flags &= ~kItemOnWall;
            const float dx = x - GrabOffsetX - panX - G.CanvasCentreX - off.x();
            const float dy = y - GrabOffsetY + panY - G.CanvasCentreY - off.y();
            G.DragItem = AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes, *entry,
                                             G.PlacedItems, G.PlacedItemCount, dx, dy, entry->ViewIndex, G.Room,
                                             G.PlanScale);
        }
        // The add step that taking the drop back withdraws.
        DropRecord = UndoPos > steps ? UndoPos - 1 : -1;
        return;
    }
    if (!PaletteDragActive || G.DragItem < 0 || G.DragItem >= G.PlacedItemCount) return;
    ItemRecord& item = G.PlacedItems[static_cast<size_t>(G.DragItem)];
    if (G.ViewMode == 0) {
        item.X = (x - GrabOffsetX - panX - G.CanvasCentreX - off.x()) / G.PlanScale;
        item.Y = (y - GrabOffsetY + panY - G.CanvasCentreY - off.y()) / G.PlanScale;
        SnapItem(G.PlacedItems, G.DragItem);
        DrawMod::RedrawView();
    } else if (G.ViewMode == 2) {
        const float a = (x - G.CanvasCentreX - off.x() - GrabOffsetX) / G.WallScale;
        const int16_t side = G.WallView.Side;
        if (side >= 0 && side <= 3) {
            switch (side) {
            case 0: item.X = a; break;
            case 1: item.Y = -a; break;
            case 2: item.X = -a; break;
            case 3: item.Y = a; break;
            }
            G.WallDragOffset = (y - GrabOffsetY + G.PlanPanY * 512 * G.WallScale - G.CanvasCentreY - off.y()) /
                               G.WallScale;
        }
        DrawMod::RedrawView();
    }
}

bool Main::ReleasedOverPalette(float x) const
{
    // The release point's column in canvas pixels: at or left of the
    // canvas's first column the item went back to the palette.
    return x - PaletteOffset().x() < 0;
}

void Main::Picture5_MouseUp(int, int, float x, float)
{
    if (PaletteDragActive && ReleasedOverPalette(x) && DropRecord >= 0) {
        // Called off: the item goes with its money and its add step, also
        // when steps were recorded meanwhile or the add was undone.
        const bool shown = G.DragItem >= 0;
        DiscardAdd(DropRecord);
        G.WallDragOffset = 0;
        G.DragItem = -1;
        if (shown) {
            G.SelectedItem = -1;
            DrawMod::RedrawView();
        }
    } else if (PaletteDragActive && G.DragItem >= 0 && G.DragItem < G.PlacedItemCount) {
        int32_t selection = -1;
        if (ReleasedOverPalette(x)) {
            // An item whose add step is gone from the history.
            DeleteItem(G.PlacedItems, G.DragItem);
            G.WallDragOffset = 0;
        } else {
            if (G.ViewMode != 2) {
                ClampItemToFloor(G.PlacedItems[static_cast<size_t>(G.DragItem)], G.Room, G.PlanScale);
            } else {
                G.WallDragOffset = 0;
                ClampItemToWall(G.DragItem);
                FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount,
                                              G.ViewList, G.ViewListCount);
            }
            FileMod::SettleItemElevation(G.PlacedItems, G.PlacedItemCount, G.DragItem, G.SceneShapes,
                                         G.SceneShapeCount);
            selection = G.DragItem;
        }
        G.DragItem = -1;
        G.SelectedItem = selection;
        DrawMod::RedrawView();
    }
    PaletteDragActive = false;
    PaletteDragArmed = false;
    DropRecord = -1;
}
