#include "app/ItemGroups.h"

#include "app/Main.h"
#include "scene/Environments.h"
#include "scene/ItemCatalogue.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "views/ViewRender.h"

#include <QStyle>

#include <algorithm>

namespace {

using EnvList = WindowPort::EnvList;

// Pixels as the controls' twips.
int32_t Px(int32_t pixels) { return pixels * dorv::TwipsPerPixelX(); }

void fitColumn(dorv::ListView& list, int32_t width, int32_t pictureHeight)
{
    const int32_t inner = width - list.style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 20;
    list.setIconSize(QSize(inner, pictureHeight));
    list.setGridSize(QSize(inner + 4, pictureHeight + 2 * list.fontMetrics().height() + 12));
    list.setUniformItemSizes(false);
}

// The form's layout in pixels: lists above, the two boxes with their texts,
// then the buttons.
// Each text has room for three lines ("Usar os preços de / Cantinho de /
// aprender").
constexpr int32_t kTop = 8, kListWidth = 134, kListHeight = 220, kAllWidth = 100;
constexpr int32_t kBoxSize = 16, kLabelHeight = 46, kBox0Top = kTop + kListHeight + 8;
constexpr int32_t kBox1Top = kBox0Top + kLabelHeight + 4;
constexpr int32_t kButtonsTop = kBox1Top + kLabelHeight + 6, kButtonHeight = 24;
constexpr int32_t kLabelWidth = 118;

}  // namespace

ItemGroups* ItemGroups::Window()
{
    auto* groups = dynamic_cast<ItemGroups*>(dorv::Form::Get(QStringLiteral("ItemGroups")));
    if (groups) groups->Load();
    return groups;
}

ItemGroups::ItemGroups() : dorv::Form(QStringLiteral("ItemGroups"))
{
    SetCaption(QStringLiteral("Item Groups"));
    SetScaleMode(dorv::vbPixels);
    QWidget* client = Client();

    ListView1 = new dorv::ListView(client, QStringLiteral("ListView1"));
    ListView1->SetIcons(&ImageList1);
    ListView2 = new dorv::ListView(client, QStringLiteral("ListView2"));
    ListView2->SetIcons(&ImageList3);
    // One column of pictures each, the picture's box as wide as the column:
    // a name wraps under its picture within the box's width.
    fitColumn(*ListView1, kListWidth, 56);
    fitColumn(*ListView2, kAllWidth, 36);
    ListView2->SetVisible(false);
    for (int i = 0; i < 2; ++i) {
        Check1[i] = new dorv::CheckBox(client, QStringLiteral("Check1(%1)").arg(i));
        Check1[i]->Click = [this, i] { Check1_Click(i); };
    }
    Label1 = new dorv::Label(client, QStringLiteral("Label1"), QStringLiteral("Use Prices"));
    Label2 = new dorv::Label(client, QStringLiteral("Label2"), QStringLiteral("Show all item groups"));
    for (dorv::Label* l : {Label1, Label2}) l->setWordWrap(true);
    Label1->Click = [this] { Label1_Click(); };
    Label2->Click = [this] { Label2_Click(); };
    Command1 = new dorv::CommandButton(client, QStringLiteral("Command1"), QStringLiteral("Reset"));
    Command2 = new dorv::CommandButton(client, QStringLiteral("Command2"), QStringLiteral(">>"));
    Command2->SetVisible(false);
    Command1->Click = [this] { Command1_Click(); };
    Command2->Click = [this] { Command2_Click(); };
    ListView1->ItemClick = [this](int index) { ListView1_ItemClick(index); };
    ListView2->ItemClick = [this](int index) { ListView2_ItemClick(index); };

    for (dorv::Label* l : {Label1, Label2}) l->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Move(0, 500, kNarrowWidth, Px(kClientHeight));
    placeLists(kNarrowLeft);
}

void ItemGroups::placeLists(int32_t left)
{
    listsLeft_ = left;
    const int32_t lost = std::clamp(kClientHeight - height(), 0, kClientHeight - kLeastClientHeight);
    const int32_t listHeight = kListHeight - lost, box0Top = kBox0Top - lost, box1Top = kBox1Top - lost;
    ListView1->Move(Px(left), Px(kTop), Px(kListWidth), Px(listHeight));
    ListView2->Move(Px(kNarrowLeft), Px(kTop), Px(kAllWidth), Px(listHeight));
    Command2->Move(Px(kNarrowLeft + kAllWidth - 40), Px(box0Top - 4), Px(40), Px(kButtonHeight));
    Command1->Move(Px(kNarrowLeft), Px(kButtonsTop - lost), Px(64), Px(kButtonHeight));
    Check1[0]->Move(Px(left), Px(box0Top), Px(kBoxSize), Px(kBoxSize));
    Check1[1]->Move(Px(left), Px(box1Top), Px(kBoxSize), Px(kBoxSize));
    Label1->Move(Check1[0]->Left() + Check1[0]->Width() + Px(3), Px(box0Top), Px(kLabelWidth), Px(kLabelHeight));
    Label2->Move(Check1[1]->Left() + Check1[1]->Width() + Px(3), Px(box1Top), Px(kLabelWidth), Px(kLabelHeight));
}

void ItemGroups::Form_Resize() { placeLists(listsLeft_); }

// ---- the lists ----

void ItemGroups::ClearListPictures(EnvList list)
{
    if (list == EnvList::Groups) ImageList1.Clear();
    if (list == EnvList::AllEnvironments) ImageList3.Clear();
}

void ItemGroups::AddListPicture(EnvList list, const QString& key, const QImage& picture)
{
    // An entry added before its picture shows it now.
    if (list == EnvList::Groups) {
        ImageList1.Add(picture, key);
        ListView1->SetIcons(&ImageList1);
    } else if (list == EnvList::AllEnvironments) {
        ImageList3.Add(picture, key);
        ListView2->SetIcons(&ImageList3);
    }
}

void ItemGroups::ClearListEntries(EnvList list)
{
    if (list == EnvList::Groups) ListView1->Clear();
    if (list == EnvList::AllEnvironments) {
        ListView2->Clear();
        rows_.clear();
    }
}

void ItemGroups::AddListEntry(EnvList list, const WindowPort::ListEntry& entry)
{
    if (list == EnvList::Groups) ListView1->AddItem(entry.key, entry.text, entry.iconKey, entry.tag);
    if (list == EnvList::AllEnvironments) {
        ListView2->AddItem(entry.key, entry.text, entry.iconKey, entry.tag);
        rows_.push_back(entry.row);
    }
}

void ItemGroups::LanguageChanged()
{
    for (int i = 1; i <= ListView2->Count(); ++i) ListView2->SetItemText(i, LangMod::GetEnvText(ListView2->ItemTag(i)));
    for (int i = 1; i <= ListView1->Count(); ++i) ListView1->SetItemText(i, LangMod::GetEnvText(ListView1->ItemTag(i)));
    // The item names in the palette follow the language too. Before a group
    // was ever loaded there is nothing to reload.
    if (!G.ItemFolder.isEmpty()) LoadItemGroup(G.ItemFolder);
}

// ---- the palette ----

void ItemGroups::LoadItemGroup(const QString& folder)
{
    G.ItemFolder = folder;
    G.CatalogueShapes.assign(1, 0);
    G.CatalogueShapeCount = 0;
    G.PaletteCount = 0;
    FileMod::LoadItemCatalogue(G.ItemFolder, G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount);
    G.PaletteSelection = 0;
    if (Main* main = MainWindow()) {
        main->Picture5->Refresh();
        main->ShowPaletteSelection();
    }
}

void ItemGroups::showEnvironment(const QString& folder)
{
    G.ItemGroupsReady = false;
    G.EnvFolder = folder;
    LoadItemGroup(FileMod::LoadEnvironmentItemGroups(G.ViewMode, G.EnvFolder));
    G.ItemGroupsReady = true;
}

// ---- handlers ----

void ItemGroups::ListView1_ItemClick(int index)
{
    if (index < 1 || index > ListView1->Count()) return;
    LoadItemGroup(G.EnvFolder + QLatin1Char('\\') + ListView1->ItemKey(index));
    G.ItemGroupIndex = static_cast<int16_t>(index);
}

void ItemGroups::ListView2_ItemClick(int index)
{
    // The entry knows the table row it stands for. The place keeps its own
    // environment (EnvironmentIndex): only the palette borrows from another.
    if (index < 1 || index > static_cast<int>(rows_.size())) return;
    const int32_t row = rows_[static_cast<size_t>(index - 1)];
    if (row < 1 || row > static_cast<int32_t>(G.EnvironmentTable.size())) return;
    showEnvironment(G.EnvironmentTable[static_cast<size_t>(row - 1)][0]);
}

void ItemGroups::Command1_Click()
{
    if (G.EnvFolder == G.HomeEnvironmentFolder) return;
    showEnvironment(G.HomeEnvironmentFolder);
}

void ItemGroups::Check1_Click(int index)
{
    // Element 0 ("Use Prices") is read where items are added.
    if (index != 1 || !G.ItemGroupsReady) return;
    if (Check1[1]->Value() != 0) {
        SetLeft(Left() - kGrowLeft);
        SetWidth(kWideWidth);
        placeLists(kWideLeft);
        ListView2->SetVisible(true);
        Command2->SetVisible(true);
    } else {
        Command1_Click();
        ListView2->SetVisible(false);
        Command2->SetVisible(false);
        placeLists(kNarrowLeft);
        SetLeft(Left() + kGrowLeft);
        SetWidth(kNarrowWidth);
    }
}

void ItemGroups::Command2_Click() { Check1[1]->SetValue(0); }

void ItemGroups::Label1_Click() { Check1[0]->SetValue(Check1[0]->Value() ^ 1); }

void ItemGroups::Label2_Click() { Check1[1]->SetValue(Check1[1]->Value() ^ 1); }

void ItemGroups::NarrowForm()
{
    G.ItemGroupsReady = false;
    ListView2->SetVisible(false);
    Command2->SetVisible(false);
    Check1[1]->SetValue(0);
    placeLists(kNarrowLeft);
    SetWidth(kNarrowWidth);
    G.ItemGroupsReady = true;
}

void ItemGroups::Form_Paint()
{
    int32_t top = 0, bottom = 0;
    DrawMod::PaintFormBackground(hDC(), Client()->width(), Client()->height(), dorv::GetSysColor(19),
                                 dorv::GetSysColor(3), top, bottom, 4);
}

void ItemGroups::Form_QueryUnload(int16_t& cancel, int unloadMode)
{
    // The window only goes out of sight; its menu entry stays checked, so
    // the next toggle shows it again.
    cancel = 1;
    Hide();
}
