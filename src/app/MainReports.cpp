// The main window's side of the spreadsheet and graph panels and the price
// dialog: they are made by name on first use, and the spreadsheet painter
// reads the page and the Display Items box of the panel through the port.
#include "app/Main.h"
#include "app/frmChangePrice.h"
#include "app/frmGraphs.h"
#include "app/frmSpreadSht.h"

void Main::registerReportWindows()
{
    dorv::Form::Register(QStringLiteral("frmGraphs"), [] { return new frmGraphs; });
    dorv::Form::Register(QStringLiteral("frmSpreadSht"), [] { return new frmSpreadSht; });
    dorv::Form::Register(QStringLiteral("frmChangePrice"), [] { return new frmChangePrice; });
}

int32_t Main::Port::SpreadsheetPage()
{
    const auto* sheet = dynamic_cast<frmSpreadSht*>(dorv::Form::Existing(QStringLiteral("frmSpreadSht")));
    return sheet ? sheet->PageNumber() : 1;
}

bool Main::Port::SpreadsheetShowsItems()
{
    const auto* sheet = dynamic_cast<frmSpreadSht*>(dorv::Form::Existing(QStringLiteral("frmSpreadSht")));
    return sheet ? sheet->ShowItems() : true;
}
