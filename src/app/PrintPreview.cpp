#include "app/PrintPreview.h"

#include "platform/Rounding.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"
#include "scene/WindowPort.h"
#include "views/Graphs.h"
#include "views/Print.h"
#include "views/ViewRender.h"

#include <QPrinter>

PrintPreview::PrintPreview() : dorv::Form(QStringLiteral("PrintPreview"))
{
    SetCaption(QStringLiteral("Print Preview"));
    makeControls();
    Move(0, 0, 11100, 9000);
}

void PrintPreview::makeControls()
{
    QWidget* client = Client();
    Picture1 = new dorv::PictureBox(client, QStringLiteral("Picture1"), false);
    Picture1->SetScaleMode(dorv::vbPixels);
    Picture1->Move(0, 0, 11100, kBarHeight);
    Picture1->Paint = [this] { Picture1_Paint(); };
    static const char* const captions[7] = {"&Print",   "&NextPage", "Pre&v Page", "&Two Page",
                                            "Zoom &in", "Zoom &out", "&Close"};
    for (int i = 0; i < 7; ++i) {
        Command1[size_t(i)] = new dorv::CommandButton(Picture1, QStringLiteral("Command1(%1)").arg(i),
                                                      QString::fromLatin1(captions[i]));
        Command1[size_t(i)]->Move(90 + i * 1560, 90, 1530, 360);
        Command1[size_t(i)]->Click = [this, i] { Command1_Click(i); };
    }
    Picture2 = new dorv::PictureBox(client, QStringLiteral("Picture2"));
    Picture2->SetScaleMode(dorv::vbPixels);
    Picture2->Paint = [this] { Picture2_Paint(); };
    Picture3 = new dorv::PictureBox(client, QStringLiteral("Picture3"));
    Picture3->SetScaleMode(dorv::vbPixels);
    Picture3->Paint = [this] { Picture3_Paint(); };
    Picture3->SetVisible(false);
    // A page box starts at the size of a small page; the layout sizes it.
    Picture2->Move(0, kBarHeight + 200, 2100, 2970);
    Picture3->Move(0, kBarHeight + 200, 2100, 2970);
}

void PrintPreview::Form_Activate()
{
    PreviewZoom = 1.0;
    PreviewTwoPage = false;
}

void PrintPreview::Form_Paint()
{
    int32_t top = 0, bottom = 0;
    DrawMod::PaintFormBackground(hDC(), Client()->width(), Client()->height(), dorv::GetSysColor(19),
                                 dorv::GetSysColor(3), top, bottom, 4);
}

void PrintPreview::Picture1_Paint()
{
    int32_t top = 0, bottom = dorv::RoundHalfEven(Picture1->ScaleHeight());
    DrawMod::PaintPictureBackground(Picture1->hDC(), dorv::RoundHalfEven(Picture1->ScaleWidth()), bottom,
                                    dorv::GetSysColor(19), dorv::GetSysColor(3), top, bottom, 1);
}

void PrintPreview::Form_Resize()
{
    Picture1->Move(0, 0, dorv::RoundHalfEven(ScaleWidth()), Picture1->Height());
    // The paper's aspect, whole twips across over whole twips down.
    const QRectF paper = Print::CurrentPrinter().pageLayout().fullRect(QPageLayout::Point);
    const int32_t paperWidth = dorv::RoundHalfEven(paper.width() * 20);
    const int32_t paperHeight = dorv::RoundHalfEven(paper.height() * 20);
    const double r = paperHeight > 0 ? double(paperWidth) / paperHeight : 1.0;
    Picture2->SetTop(Picture1->Height() + 200);
    Picture3->SetTop(Picture2->Top());
    const int32_t H = dorv::RoundHalfEven((double(Height()) - Picture2->Top() - 600) * PreviewZoom);
    // A window too small for a page keeps the boxes at their size.
    if (H > 1000) {
        const int32_t W = dorv::RoundHalfEven(H * r);
        Picture2->SetHeight(H);
        Picture2->SetWidth(W);
        Picture3->SetHeight(H);
        Picture3->SetWidth(W);
    }
    // At a zoom above 1 the boxes may reach past the window's edges.
    if (PreviewTwoPage) {
        Picture2->SetLeft(dorv::RoundHalfEven(Width() * 0.5 - Picture2->Width() - 100));
        Picture3->SetLeft(dorv::RoundHalfEven(Width() * 0.5 + 100));
    } else {
        Picture2->SetLeft(dorv::RoundHalfEven((double(Width()) - Picture2->Width()) * 0.5));
    }
}

void PrintPreview::Command1_Click(int index)
{
    switch (index) {
    case 0:
        CommonMod::PrintCurrentView();
        break;
    case 3:
        PreviewTwoPage = !PreviewTwoPage;
        Picture3->SetVisible(PreviewTwoPage);
        Form_Resize();
        break;
    case 4:
        if (PreviewZoom < 5.0) {
            PreviewZoom += 0.5;
            Form_Resize();
            Picture2->Refresh();
        }
        break;
    case 5:
        if (PreviewZoom > 1.0) {
            PreviewZoom -= 0.5;
            Form_Resize();
            Picture2->Refresh();
        }
        break;
    case 6:
        Unload();
        break;
    default:
        // Paging beyond the second box is not offered.
        break;
    }
}

void PrintPreview::Picture2_Paint()
{
    CommonMod::Box box;
    CommonMod::GetItemsExtent(box, G.ViewMode, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount);
    const float sw = Picture2->ScaleWidth(), sh = Picture2->ScaleHeight();
    double w = 0;
    switch (G.ViewMode) {
    case 0:
    case 1: w = double(box.maxX) - box.minX; break;
    case 2:
        if (G.WallIndex == 0 || G.WallIndex == 2)
            w = double(G.Room.ExtentX) + 96000;
        else if (G.WallIndex == 1 || G.WallIndex == 3)
            w = double(G.Room.ExtentY) + 96000;
        break;
    default: w = dorv::RoundHalfEven(sw); break;
    }
    // Fitted by width only; with nothing to measure, at the scale of one.
    const double scale = w > 0 ? sw / w : 1.0;
    Picture2->Cls();
    DrawMod::ViewDrawing v = DrawMod::SceneViewDrawing(Picture2->hDC(), sw / 2, sh / 2, 0);
    v.scale = 1.0;
    v.selected = v.dragged = v.wallDragged = -1;  // no selection frame
    v.planScale = v.isoScale = v.wallScale = static_cast<float>(scale);
    v.planPanX = v.planPanY = v.isoPanX = v.isoPanY = 0;
    v.singleItem = false;
    v.page = 1;
    v.areaWidth = dorv::RoundHalfEven(sw);
    v.areaHeight = dorv::RoundHalfEven(sh);
    DrawMod::DrawCurrentView(v);
}

void PrintPreview::Picture3_Paint()
{
    // Only the spreadsheet has a second page; other views leave the box as it is.
    if (G.ViewMode != 3 || G.GraphKind != 0) return;
    Picture3->Cls();
    const float sw = Picture3->ScaleWidth(), sh = Picture3->ScaleHeight();
    // The panel counts pages from 1 and the painter from 0: this is the page
    // after the one the panel shows.
    const int32_t page = std::clamp<int32_t>(Windows().SpreadsheetPage(), 0, INT16_MAX);
    Graphs::DrawSpreadsheet(Picture3->hDC(), G.PlacedItems, G.PlacedItemCount, sw / 2, sh / 2,
                            dorv::RoundHalfEven(sw), dorv::RoundHalfEven(sh), static_cast<int16_t>(page),
                            Windows().SpreadsheetShowsItems());
}
