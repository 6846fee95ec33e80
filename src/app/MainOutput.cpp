// The main window's output commands: printing, page setup, the print
// preview and the four snapshots.
#include "app/Main.h"
#include "app/PrintPreview.h"

#include "platform/Dialogs.h"
#include "platform/Rounding.h"
#include "scene/FileMod.h"
#include "scene/SceneState.h"
#include "views/Metafile.h"
#include "views/Print.h"

#include <QFileInfo>

void Main::connectOutputMenus()
{
    dorv::Form::Register(QStringLiteral("PrintPreview"), [] { return new PrintPreview; });
    connectMenu(mnu_print, &Main::mnu_print_Click);
    connectMenu(mnu_printSetup, &Main::mnu_printSetup_Click);
    connectMenu(mnu_printPreview, &Main::mnu_printPreview_Click);
    connectMenu(mnu_snapToFile, &Main::mnu_snapToFile_Click);
    connectMenu(mnu_snapToClip, &Main::mnu_snapToClip_Click);
    connectMenu(mnu_snapItemToFile, &Main::mnu_snapItemToFile_Click);
    connectMenu(mnu_snapItemToClip, &Main::mnu_snapItemToClip_Click);
}

void Main::DisablePrintingWithoutPrinter()
{
    if (Print::PrinterAvailable()) return;
    mnu_printPreview->SetEnabled(false);
    mnu_print->SetEnabled(false);
    mnu_printSetup->SetEnabled(false);
    Picture7[6]->SetVisible(false);
}

void Main::mnu_print_Click() { CommonMod::PrintCurrentView(); }

void Main::mnu_printSetup_Click() { Print::ShowPageSetupDialog(); }

void Main::mnu_printPreview_Click()
{
    if (dorv::Form* preview = dorv::Form::Get(QStringLiteral("PrintPreview"))) preview->Show(dorv::vbModeless);
}

namespace {

// The size of the item panel's picture, in pixels.
QSizeF PanelSize(dorv::PictureBox& panel)
{
    return QSizeF(panel.Surface().size());
}

}  // namespace

void Main::mnu_snapToFile_Click()
{
    // The dialog shares the folder, the name and the type of the other file
    // dialogs; the name takes the type's extension.
    if (!ChooseOutputFile(QStringLiteral("Bitmap file BMP|*.bmp|Window MetaFile WMF|*.wmf|Enhanced MetaFile EMF|*.emf"),
                          QFileInfo(CommonDialog1.FileName).completeBaseName()))
        return;
    const QString path = CommonDialog1.FileName;
    switch (CommonDialog1.FilterIndex) {
    case 1: {
        // The view as the canvas shows it, without the rest of the surface.
        if (!CanvasDC || !CanvasDC->Surface()) return;
        const QImage& surface = *CanvasDC->Surface();
        const int w = dorv::RoundHalfEven(Picture2->ScaleWidth()), h = dorv::RoundHalfEven(Picture2->ScaleHeight());
        Metafile::SaveBitmapToFile(path, surface.copy(0, 0, w, h));
        break;
    }
    case 2:
    case 3:
        Metafile::SaveViewMetafile(path, Picture2->hDC(), CommonDialog1.FilterIndex == 2);
        break;
    default:
        break;
    }
}

void Main::mnu_snapToClip_Click() { Metafile::CopyViewToClipboard(false, -1); }

void Main::mnu_snapItemToFile_Click()
{
    if (G.PaletteCount <= 0 || G.PaletteSelection < 0 || G.PaletteSelection >= G.PaletteCount ||
        G.PaletteSelection >= static_cast<int32_t>(G.Palette.size()))
        return;
    const ItemRecord& item = G.Palette[static_cast<size_t>(G.PaletteSelection)];
    if (!ChooseOutputFile(QStringLiteral("Window MetaFile WMF|*.wmf|Enhanced MetaFile EMF|*.emf"),
                          FileMod::GetTrimmedFileName(item.Name.str())))
        return;
    Metafile::SaveItemMetafile(CommonDialog1.FileName, Picture6->hDC(), PanelSize(*Picture6),
                               CommonDialog1.FilterIndex == 1);
}

void Main::mnu_snapItemToClip_Click() { Metafile::CopyItemToClipboard(PanelSize(*Picture6)); }
