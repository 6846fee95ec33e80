// The main window's side of the tool windows (item groups, budget, colours),
// the splash screen, the About box, the web page and the language menu.
#include "app/About.h"
#include "app/ApplyLanguage.h"
#include "app/Budget.h"
#include "app/Colours.h"
#include "app/ItemGroups.h"
#include "app/Main.h"
#include "app/Splash.h"
#include "platform/Forms.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"

void Main::RegisterToolWindows()
{
    dorv::Form::Register(QStringLiteral("ItemGroups"), [] { return new ItemGroups; });
    dorv::Form::Register(QStringLiteral("Budget"), [] { return new Budget; });
    dorv::Form::Register(QStringLiteral("Colours"), [] { return new Colours; });
    dorv::Form::Register(QStringLiteral("frmSplash"), [] { return new frmSplash; });
}

void Main::connectToolMenus()
{
    for (int16_t i = 0; i < static_cast<int16_t>(mnu_languageselect.size()); ++i)
        connectMenu(mnu_languageselect[static_cast<size_t>(i)], [this, i] { mnu_languageselect_Click(i); });
    connectMenu(mnu_about, &Main::mnu_about_Click);
    connectMenu(mKelmoOnTheWeb, &Main::mKelmoOnTheWeb_Click);
}

void Main::mnu_languageselect_Click(int16_t index)
{
    // (interface, item texts) of each entry.
    static const int16_t pairs[4][2] = {{0, 0}, {1, 1}, {0, 1}, {1, 0}};
    if (index < 0 || index > 3) return;
    LangMod::ApplyLanguage(pairs[index][0], pairs[index][1]);
}

void Main::mnu_about_Click()
{
    wAbout about;
    about.Show(dorv::vbModal, this);
}

void Main::mKelmoOnTheWeb_Click() { OpenMakerWebPage(); }

// ---- the item-groups window's "Use Prices" box, as the catalogue sets it ----

void Main::Port::SetUsePricesCaption(const QString& text)
{
    if (ItemGroups* groups = ItemGroups::Window()) groups->Label1->SetCaption(text);
}

void Main::Port::SetUsePricesTicked(bool ticked)
{
    if (ItemGroups* groups = ItemGroups::Window()) groups->Check1[0]->SetValue(ticked ? 1 : 0);
}

void Main::SetToolWindowsForPlace()
{
    if (Budget* budget = Budget::Window()) {
        budget->Text1->SetText(CommonMod::FormatMoney(G.PlanInfo.budget, true));
        budget->Text2->SetText(CommonMod::FormatMoney(0, true));
        budget->Text3->SetText(CommonMod::FormatMoney(G.PlanInfo.budget, true));
        // Nothing was bought in the new place yet.
        budget->Text4->SetText(QString());
    }
    if (Colours* colours = Colours::Window()) colours->ShowSceneColours();
}

bool Main::Port::UsePricesTicked()
{
    ItemGroups* groups = ItemGroups::Window();
    return groups && groups->Check1[0]->Value() != 0;
}

void Main::Port::SetBudgetSpentTexts(const QString& spent, const QString& lastItem)
{
    if (Budget* budget = Budget::Window()) {
        budget->Text2->SetText(spent);
        budget->Text4->SetText(lastItem);
    }
}
