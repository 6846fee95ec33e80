#include "app/Budget.h"

#include "app/Main.h"
#include "platform/NumberFormat.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "views/ViewRender.h"

#include <QColor>
#include <QPalette>

namespace {

int32_t Px(int32_t pixels) { return pixels * dorv::TwipsPerPixelX(); }

constexpr int32_t kInner = 148;  // the controls' width in the 160-pixel window

QColor FromColorRef(dorv::ColorRef c) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

void SetColours(dorv::TextBox& box, dorv::ColorRef text, dorv::ColorRef back)
{
    QPalette p = box.palette();
    p.setColor(QPalette::Text, FromColorRef(text));
    p.setColor(QPalette::Base, FromColorRef(back));
    box.setPalette(p);
}

}  // namespace

Budget* Budget::Window()
{
    auto* budget = dynamic_cast<Budget*>(dorv::Form::Get(QStringLiteral("Budget")));
    if (budget) budget->Load();
    return budget;
}

Budget::Budget() : dorv::Form(QStringLiteral("Budget"))
{
    SetCaption(QStringLiteral(" Budget"));
    SetScaleMode(dorv::vbPixels);
    QWidget* client = Client();
    const char* const captions[] = {"Initial Budget", "Spent so far", "Left to spend", "Last Item"};
    dorv::Label** labels[] = {&Label1, &Label2, &Label3, &Label4};
    dorv::TextBox** texts[] = {&Text1, &Text2, &Text3, &Text4};
    for (int i = 0; i < 4; ++i) {
        *labels[i] = new dorv::Label(client, QStringLiteral("Label%1").arg(i + 1), QLatin1String(captions[i]));
        *texts[i] = new dorv::TextBox(client, QStringLiteral("Text%1").arg(i + 1));
        // Each label above its amount, both the window's width: room for
        // "Orçamento inicial" and for five figures after a two-letter
        // currency with a sign ("+ R$12345.00").
        (*labels[i])->Move(Px(6), Px(4 + 44 * i), Px(kInner), Px(18));
        (*texts[i])->Move(Px(6), Px(22 + 44 * i), Px(kInner), Px(22));
        // The amounts are the program's to write, not the child's.
        (*texts[i])->setReadOnly(true);
    }
    Text3->setAutoFillBackground(true);
    SetColours(*Text3, 0, dorv::GetSysColor(3));
    // What is left follows the budget as well as the money spent.
    Text1->Change = [this] { Text2_Change(); };
    Text2->Change = [this] { Text2_Change(); };
    Move(0, 0, 2400, 2850);
}

double Budget::AmountOf(const QString& text)
{
    // The money reader skips the symbol and reads the locale's decimal
    // comma as the point FormatMoney wrote. The amount is taken as shown, to
    // the cent: what a class spends is beyond the cents of a Single.
    return CommonMod::ReadShownAmount(text).value_or(0);
}

void Budget::Text2_Change()
{
    const double initial = AmountOf(Text1->Text());
    const double spent = AmountOf(Text2->Text());
    Text3->SetText(G.CurrencySymbol + dorv::FormatFixed(initial - spent, 2));
    if (AmountOf(Text3->Text()) < 0)
        SetColours(*Text3, 0xFFFFFF, 0x0000FF);
    else
        SetColours(*Text3, 0, dorv::GetSysColor(3));
    Text3->repaint();
}

void Budget::Form_Paint()
{
    int32_t top = 0, bottom = 0;
    DrawMod::PaintFormBackground(hDC(), Client()->width(), Client()->height(), dorv::GetSysColor(19),
                                 dorv::GetSysColor(3), top, bottom, 4);
}

void Budget::Form_QueryUnload(int16_t& cancel, int unloadMode)
{
    if (Main* main = MainWindow())
        if (main->mnu_showBudgetInfo) main->mnu_showBudgetInfo->SetChecked(false);
    Hide();
    cancel = 1;
}
