#include "app/frmChangePrice.h"

#include "app/Main.h"
#include "platform/Dialogs.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "views/ViewRender.h"

namespace {
constexpr int kWidth = 340, kHeight = 170;  // client, pixels
}

frmChangePrice* frmChangePrice::Window()
{
    auto* f = dynamic_cast<frmChangePrice*>(dorv::Form::Get(QStringLiteral("frmChangePrice")));
    if (f) f->Load();
    return f;
}

frmChangePrice::frmChangePrice() : dorv::Form(QStringLiteral("frmChangePrice"))
{
    // The English captions; the language menu sets them anew.
    SetCaption(QStringLiteral("Change Item Price"));
    makeControls();
    setFixedSize(kWidth, kHeight);
}

void frmChangePrice::makeControls()
{
    QWidget* client = Client();
    Label1 = new dorv::Label(client, QStringLiteral("Label1"), QStringLiteral("Label1"));
    Label1->setGeometry(16, 12, kWidth - 32, 30);
    QFont bold = Label1->font();
    bold.setPointSize(12);
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = new dorv::Label(client, QStringLiteral("Label2"), QStringLiteral("\u00A3"));
    Label2->setGeometry(16, 54, 50, 34);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text1 = new dorv::TextBox(client, QStringLiteral("Text1"));
    Text1->setGeometry(72, 54, 140, 34);
    Command3 = new dorv::CommandButton(client, QStringLiteral("Command3"), QStringLiteral("Default"));
    Command3->setGeometry(222, 54, 100, 34);
    Command1 = new dorv::CommandButton(client, QStringLiteral("Command1"), QStringLiteral("OK"));
    Command2 = new dorv::CommandButton(client, QStringLiteral("Command2"), QStringLiteral("Cancel"));
    Command1->setGeometry(kWidth - 16 - 2 * 100 - 10, 118, 100, 36);
    Command2->setGeometry(kWidth - 16 - 100, 118, 100, 36);
    QFont plain = bold;
    plain.setBold(false);
    plain.setPointSize(11);
    for (QWidget* w : std::initializer_list<QWidget*>{Label2, Text1, Command1, Command2, Command3}) w->setFont(plain);
    // Enter is OK, Escape is Cancel.
    Command1->setDefault(true);
    Command2->SetCancel(true);
    Command1->Click = [this] { Command1_Click(); };
    Command2->Click = [this] { Command2_Click(); };
    Command3->Click = [this] { Command3_Click(); };
}

bool frmChangePrice::CataloguePrice(const ItemRecord& item, const ShapeStream& shapes, int32_t shapeCount,
                                    float& price)
{
    const Shapes::Table t = Shapes::Used(shapes, shapeCount);
    const int64_t word = int64_t(item.FootprintShape) + 7;
    if (item.FootprintShape < 0 || word >= t.count) return false;
    price = static_cast<float>((dorv::RoundHalfEven(t.at(static_cast<int32_t>(word)) / 256.0) & 0xFFFFFF) / 100.0);
    return true;
}

void frmChangePrice::Command1_Click()
{
    // A price is read as typed, or not at all: the dialog stays for a text
    // that is no amount or could mean two, and for one the program cannot
    // keep to the cent.
    const QString fault = CommonMod::TypedAmountFault(Text1->Text());
    if (!fault.isEmpty()) {
        dorv::MsgBox(fault, dorv::vbExclamation);
        // The child types it again: the keyboard comes back to the box, which
        // the desktop may have handed to the main window as the message went.
        activateWindow();
        Text1->setFocus();
        Text1->selectAll();
        return;
    }
    const float price = CommonMod::ParseMoneyText(Text1->Text());
    if (G.PaletteSelection >= 0 && G.PaletteSelection < G.PaletteCount &&
        G.PaletteSelection < static_cast<int32_t>(G.Palette.size())) {
        ItemRecord& entry = G.Palette[size_t(G.PaletteSelection)];
        entry.Price = price;
        const int32_t placed = std::min<int32_t>(G.PlacedItemCount, static_cast<int32_t>(G.PlacedItems.size()));
        for (int32_t i = 0; i < placed; ++i)
            if (G.PlacedItems[size_t(i)].Name == entry.Name) G.PlacedItems[size_t(i)].Price = price;
        // The override outlives a change of group: the catalogue loader
        // applies it to every entry of that name it loads.
        const QString name = entry.Name.str();
        const int32_t overrides =
            std::clamp<int32_t>(G.PriceOverrideCount, 0, static_cast<int32_t>(G.PriceOverrides.size()));
        int32_t found = -1;
        for (int32_t i = 0; i < overrides && found < 0; ++i)
            if (G.PriceOverrides[size_t(i)].Name == name) found = i;
        if (found >= 0) {
            G.PriceOverrides[size_t(found)].Amount = price;
        } else {
            G.PriceOverrides.resize(size_t(overrides) + 1);
            G.PriceOverrides[size_t(overrides)] = NamedAmount{name, price};
            G.PriceOverrideCount = overrides + 1;
        }
    }
    Hide();
    if (Main* m = MainWindow()) m->Picture6->Refresh();
}

void frmChangePrice::Command2_Click()
{
    Hide();
}

void frmChangePrice::Command3_Click()
{
    if (G.PaletteSelection < 0 || G.PaletteSelection >= G.PaletteCount ||
        G.PaletteSelection >= static_cast<int32_t>(G.Palette.size()))
        return;
    float price = 0;
    if (CataloguePrice(G.Palette[size_t(G.PaletteSelection)], G.CatalogueShapes, G.CatalogueShapeCount, price))
        Text1->SetText(CommonMod::FormatMoney(price, 0));
}

void frmChangePrice::Form_Paint()
{
    int32_t top = 0, bottom = 0;
    DrawMod::PaintFormBackground(hDC(), Client()->width(), Client()->height(), dorv::GetSysColor(19),
                                 dorv::GetSysColor(3), top, bottom, 4);
}
