#pragma once
// Printing: the current view on the printer's page, scaled to fill it, with
// an optional heading; the print and page-setup dialogs applied to the
// program's current printer; whether a printer is installed; the printer's
// device context while a print-out is being made.

#include "platform/Dialogs.h"
#include "platform/PainterDc.h"

#include <QString>

#include <cstdint>

class QPrinter;

namespace Print {

// The program's current printer: the system's default printer until one of
// the dialogs chooses another; it keeps its settings for the rest of the run.
// Made on first use, freed when the application ends.
QPrinter& CurrentPrinter();
// The copies the print dialog asked for. Each copy is printed as a job of
// its own, so the printer itself is always left at one copy.
int16_t Copies();

// The print dialog: the printer, the copies and, between `pages`' Min and
// Max, the pages. True when the user confirmed it; the choice is then the
// current printer's and the range is in `pages`.
bool ShowPrintDialog(dorv::PrintPages& pages);
// The page-setup dialog: the printer, the paper and its orientation. Does
// nothing without a printer.
void ShowPageSetupDialog();
// True when a printer is installed. Counted once (G.PrinterCount) and then
// remembered until the scene is reset.
bool PrinterAvailable();
// The printer's device context while a print-out is being made, else nullptr.
dorv::PrinterDc* GetPrinterHdc();

}  // namespace Print

namespace CommonMod {

// The Print command: the print dialog (pages of the spreadsheet, else one
// page), the heading asked for, and one print-out for each copy.
void PrintCurrentView();
// Prints the pages `pages` chose (every page when FromPage is 0) of view
// `viewMode` as one print-out, the heading `title` in the upper left corner
// of each page when it is not empty. False, with a message shown, when the
// printer could not start the print-out.
bool PrintViewPage(int16_t viewMode, const QString& title, const dorv::PrintPages& pages);

}  // namespace CommonMod
