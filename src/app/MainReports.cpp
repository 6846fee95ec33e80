// The main window's side of the spreadsheet and graph panels and the price
// dialog: they are made by name on first use, and the spreadsheet painter
// reads the page and the Display Items box of the panel through the port.
#include "app/Main.h"
#include "app/frmChangePrice.h"
#include "app/frmGraphs.h"
#include "app/frmSpreadSht.h"

void Main::registerReportWindows()
{
    // A window already known by its name (a test's stand-in) is kept.
    auto add = [](const char* name, dorv::Form::Factory make) {
        if (!dorv::Form::Known(QLatin1String(name))) dorv::Form::Register(QLatin1String(name), std::move(make));
    };
    add("frmGraphs", [] { return new frmGraphs; });
    add("frmSpreadSht", [] { return new frmSpreadSht; });
    add("frmChangePrice", [] { return new frmChangePrice; });
}

int32_t Main::Port::SpreadsheetPage()
{
    auto* sheet = dynamic_cast<frmSpreadSht*>(dorv::Form::Existing(QStringLiteral("frmSpreadSht")));
    if (!sheet) return 1;
    // Whatever changed the pages since (Display Items, a deletion, money
    // spent at last), the page drawn and the box showing it are one of the
    // pages there are, so that "<" and ">" step through them.
    sheet->KeepPageInRange();
    return sheet->PageNumber();
}

bool Main::Port::SpreadsheetShowsItems()
{
    const auto* sheet = dynamic_cast<frmSpreadSht*>(dorv::Form::Existing(QStringLiteral("frmSpreadSht")));
    return sheet ? sheet->ShowItems() : true;
}
