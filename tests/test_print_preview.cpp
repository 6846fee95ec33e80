// The print preview window and the main window's output commands: zoom
// steps and their limits, the page boxes' layout, the second page, page one
// drawn without a selection frame; the print entries without a printer, and
// the snapshot and print commands from the File menu with scripted dialogs.
#include "app/Main.h"
#include "app/PrintPreview.h"
#include "platform/AppInfo.h"
#include "platform/FileSystem.h"
#include "platform/Rounding.h"
#include "platform/Forms.h"
#include "platform/PainterDc.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/WindowPort.h"
#include "views/Graphs.h"
#include "views/Metafile.h"
#include "views/Print.h"

#include "support/NewPlaceScript.h"
#include "support/QtPrint.h"
#include "support/SampleItems.h"
#include "support/TempDir.h"
#include "support/TestDialogs.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void FurnishedRoom()
{
    G = SceneState();
    G.PlanScale = G.IsoScale = G.WallScale = 1.0f / 400;
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 3, 5, 2.5f, 0x336699, 0x608040);
    ItemRecord desk =
        TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, "Home\\Desk", 40000, 20000, 30000, 0x2020C0);
    desk.X = -40000;
    G.PlacedItems.resize(size_t(G.PlacedItemCount) + 1);
    G.PlacedItems[size_t(G.PlacedItemCount++)] = desk;
    FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                  G.ViewListCount);
}

int Ink(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

class Preview : public ::testing::Test {
protected:
    void SetUp() override
    {
        FurnishedRoom();
        Print::CurrentPrinter().setPageSize(QPageSize(QPageSize::A4));
        Print::CurrentPrinter().setPageOrientation(QPageLayout::Portrait);
        preview = std::make_unique<PrintPreview>();
        preview->Move(0, 0, 9000, 8000);
        preview->Show();
        QCoreApplication::processEvents();
        preview->PreviewZoom = 1.0;
    }
    void TearDown() override
    {
        preview.reset();
        // Closing the last window shown ends the run.
        dorv::ResetEnding();
        G = SceneState();
    }
    void press(int index) { preview->Command1[size_t(index)]->Click(); }
    std::unique_ptr<PrintPreview> preview;
};

}  // namespace

TEST_F(Preview, ZoomStepsByHalvesBetweenOneAndFive)
{
    preview->Command1_Click(5);  // at 1.0 already: no change
    EXPECT_EQ(preview->PreviewZoom, 1.0);
    const int32_t first = preview->Picture2->Height();
    for (int i = 0; i < 8; ++i) press(4);
    EXPECT_EQ(preview->PreviewZoom, 5.0);
    press(4);
    EXPECT_EQ(preview->PreviewZoom, 5.0);
    EXPECT_GT(preview->Picture2->Height(), 4 * first);
    for (int i = 0; i < 10; ++i) press(5);
    EXPECT_EQ(preview->PreviewZoom, 1.0);
    EXPECT_NEAR(preview->Picture2->Height(), first, 15);
    // The page box has the paper's shape.
    EXPECT_NEAR(double(preview->Picture2->Width()) / preview->Picture2->Height(), 210.0 / 297.0, 0.01);
}

TEST_F(Preview, TwoPagesSideBySideAndATooSmallWindowKeepsTheBoxes)
{
    EXPECT_FALSE(preview->Picture3->Visible());
    press(3);
    EXPECT_TRUE(preview->PreviewTwoPage);
    EXPECT_TRUE(preview->Picture3->Visible());
    // A 200-twip gap in the middle of the window.
    EXPECT_NEAR(preview->Picture3->Left() - (preview->Picture2->Left() + preview->Picture2->Width()), 200, 30);
    press(3);
    EXPECT_FALSE(preview->Picture3->Visible());

    const int32_t h = preview->Picture2->Height(), w = preview->Picture2->Width();
    preview->SetHeight(1800);  // leaves less than 1000 twips of page
    QCoreApplication::processEvents();
    EXPECT_EQ(preview->Picture2->Height(), h);
    EXPECT_EQ(preview->Picture2->Width(), w);
}

TEST_F(Preview, PageOneShowsTheViewWithoutTheSelectionFrame)
{
    G.ViewMode = 0;
    G.SelectedItem = -1;
    preview->Picture2->Refresh();
    const QImage unselected = preview->Picture2->Surface().copy();
    G.SelectedItem = G.PlacedItemCount - 1;
    preview->Picture2->Refresh();
    const QImage page = preview->Picture2->Surface().copy();
    // The desk is there, and the page is the same whether it is selected or not.
    EXPECT_GT(Ink(page, qRgb(0xC0, 0x20, 0x20)), 20);
    EXPECT_TRUE(page == unselected) << "the selection frame is drawn on the preview";
}

namespace {

// Counts the paint events of the widgets it watches.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

TEST_F(Preview, PageBoxesPaintOnlyWhenAsked)
{
    G.ViewMode = 3;
    G.GraphKind = 0;
    press(3);  // both page boxes shown
    QTest::qWait(50);
    PaintCounter counter;
    preview->Picture2->installEventFilter(&counter);
    preview->Picture3->installEventFilter(&counter);
    QTest::qWait(300);
    EXPECT_LE(counter.paints, 2) << "an idle preview keeps repainting";
    counter.paints = 0;
    preview->Picture2->Refresh();
    EXPECT_EQ(counter.paints, 1);
}

TEST_F(Preview, EachActivationStartsAtZoomOneOnOnePage)
{
    press(4);
    press(3);
    ASSERT_EQ(preview->PreviewZoom, 1.5);
    dorv::Form other(QStringLiteral("Other"));
    other.Show();
    Activate(other);
    Activate(*preview);
    EXPECT_EQ(preview->PreviewZoom, 1.0);
    EXPECT_FALSE(preview->PreviewTwoPage);
}

namespace {

// The spreadsheet panel, showing page `page`.
struct PanelOnPage : WindowPort {
    int32_t page = 1;
    int32_t SpreadsheetPage() override { return page; }
};

}  // namespace

TEST_F(Preview, SecondPageIsThePageAfterThePanels)
{
    PanelOnPage panel;
    SetWindows(&panel);
    G.SpentTotal = 100;
    for (int i = 0; Graphs::GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount) < 3 && i < 200; ++i) {
        ItemRecord box = TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, QStringLiteral("Home\\Box%1").arg(i),
                                            10000, 10000, 10000, 0x808080);
        box.Price = 10 + i;
        G.PlacedItems.resize(size_t(G.PlacedItemCount) + 1);
        G.PlacedItems[size_t(G.PlacedItemCount++)] = box;
    }
    ASSERT_EQ(Graphs::GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount), 3);
    G.ViewMode = 3;
    G.GraphKind = 0;
    press(3);
    QCoreApplication::processEvents();
    const QSize size = preview->Picture3->Surface().size();
    auto sheet = [&](int16_t page) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        dorv::ImageDc dc(&image, preview->Picture3->logicalDpiY());
        Graphs::DrawSpreadsheet(dc, G.PlacedItems, G.PlacedItemCount, size.width() / 2.0f, size.height() / 2.0f,
                                size.width(), size.height(), page, true);
        return image;
    };
    // The panel counts from 1, the painter from 0.
    for (int32_t shown : {1, 2}) {
        panel.page = shown;
        preview->Picture3->Refresh();
        const QImage second = preview->Picture3->Surface().copy();
        EXPECT_TRUE(second == sheet(int16_t(shown))) << "panel on page " << shown;
        EXPECT_FALSE(second == sheet(int16_t(shown - 1))) << "panel on page " << shown;
    }
    SetWindows(nullptr);
}

TEST_F(Preview, CloseUnloadsTheWindow)
{
    press(4);
    EXPECT_EQ(preview->PreviewZoom, 1.5);
    press(6);
    EXPECT_FALSE(preview->IsLoaded());
    EXPECT_FALSE(preview->isVisible());
}

namespace {

class OutputCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        dorv::SetAppPath(DORV_CONTENT_BUILD_DIR);
        dorv::SetCommandLine(QString());
    }
    void TearDown() override
    {
        CloseProgram(main);
    }
    void start(int16_t printers)
    {
        ExpectNewPlace(1);
        main = std::make_unique<Main>();
        G.PrinterCount = printers;  // what the probe would have found
        StartProgram(*main);
        ASSERT_EQ(TestDialogs().Pending(), 0);
        G.PrinterCount = printers;
    }
    std::unique_ptr<Main> main;
    TempDir dir;
};

}  // namespace

TEST_F(OutputCommands, WithoutAPrinterThePrintEntriesAreDisabled)
{
    start(0);
    EXPECT_FALSE(main->mnu_print->Enabled());
    EXPECT_FALSE(main->mnu_printSetup->Enabled());
    EXPECT_FALSE(main->mnu_printPreview->Enabled());
    EXPECT_FALSE(main->mnu_printPreview->Visible());
    EXPECT_FALSE(main->Picture7[6]->Visible());
    // The snapshots need no printer.
    EXPECT_TRUE(main->mnu_snapToFile->Enabled());
    EXPECT_TRUE(main->mnu_snapToClip->Enabled());
}

TEST_F(OutputCommands, SnapshotsAndPrintFromTheFileMenu)
{
    start(1);
    EXPECT_TRUE(main->mnu_print->Enabled());
    EXPECT_TRUE(main->Picture7[6]->Visible());

    // A bitmap of the canvas, then the same dialog remembers the file.
    TestDialogs().ExpectSave(dorv::FileDialogAnswer{dir.file("view.bmp"), 1});
    main->mnu_snapToFile->Choose();
    QImage bitmap(dir.file("view.bmp"), "BMP");
    EXPECT_EQ(bitmap.width(), dorv::RoundHalfEven(main->Picture2->ScaleWidth()));
    EXPECT_EQ(main->CommonDialog1.FileName, dir.file("view.bmp"));
    TestDialogs().ExpectSave(dorv::FileDialogAnswer{dir.file("view.wmf"), 2});
    main->mnu_snapToFile->Choose();
    bool ok = false;
    const QByteArray wmf = dorv::ReadWholeFile(dir.file("view.wmf"), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(uint8_t(wmf[0]), 0xD7);
    TestDialogs().ExpectSave(std::nullopt);  // cancelled: nothing written
    main->mnu_snapToFile->Choose();

    main->mnu_snapToClip->Choose();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QString::fromLatin1(Metafile::kEmfMimeType)));
    EXPECT_TRUE(data->hasImage());

    // Printing into a PDF file through the Print entry.
    Print::CurrentPrinter().setOutputFormat(QPrinter::PdfFormat);
    Print::CurrentPrinter().setOutputFileName(dir.file("out.pdf"));
    TestDialogs().ExpectPrintDialog(dorv::PrintDialogAnswer{});
    TestDialogs().ExpectInputBox(QString());
    main->mnu_print->Choose();
    EXPECT_TRUE(QFile::exists(dir.file("out.pdf")));
    EXPECT_EQ(TestDialogs().Pending(), 0);
}
