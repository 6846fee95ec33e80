// Printing and snapshots of a furnished room: print-outs into PDF files,
// the print and page-setup dialogs answered by script, placeable Windows
// metafiles, enhanced metafiles and bitmaps read back from their files, and
// the clipboard's two pictures.
#include "platform/AppInfo.h"
#include "platform/ByteIO.h"
#include "platform/FileSystem.h"
#include "platform/Metafiles.h"
#include "platform/PainterDc.h"
#include "scene/ItemCatalogue.h"
#include "scene/PictureMeasure.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/WindowPort.h"
#include "support/OutsidePrograms.h"
#include "support/QtPrint.h"
#include "support/SampleItems.h"
#include "support/TempDir.h"
#include "support/TestDialogs.h"
#include "views/Graphs.h"
#include "views/Metafile.h"
#include "views/Print.h"
#include "views/ViewRender.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 800, kHeight = 600;

struct Port : WindowPort {
    bool dims = false, wires = false;
    QSizeF CanvasSize() override { return {kWidth, kHeight}; }
    bool ShowDimensions() override { return dims; }
    bool ShowWireObjects() override { return wires; }
};

int16_t Word(const QByteArray& b, int at) { return int16_t(uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8)); }
int32_t Long(const QByteArray& b, int at) { return int32_t(uint16_t(Word(b, at)) | (uint32_t(uint16_t(Word(b, at + 2))) << 16)); }

// Pages of a PDF file as Qt writes them: one page object each.
int PdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray pdf = f.readAll();
    if (!pdf.startsWith("%PDF")) return -1;
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "));
}

class Output : public ::testing::Test {
protected:
    Port port;
    TempDir dir;

    void SetUp() override
    {
        SetWindows(&port);
        G = SceneState();
        G.PlanScale = G.IsoScale = G.WallScale = 1.0f / 400;
        CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 3, 5, 2.5f, 0x336699, 0x608040);
        ItemRecord desk = TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, "Home\\Desk", 40000, 20000, 30000,
                                             0x2020C0);
        desk.X = -40000;
        desk.Y = 20000;
        G.PlacedItems.resize(size_t(G.PlacedItemCount) + 1);
        G.PlacedItems[size_t(G.PlacedItemCount++)] = desk;
        FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount,
                                      G.ViewList, G.ViewListCount);
        // A printer that writes PDF files stands in for the system's.
        G.PrinterCount = 1;
        QPrinter& printer = Print::CurrentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.file("out.pdf"));
        printer.setPageOrientation(QPageLayout::Portrait);
    }
    void TearDown() override { SetWindows(nullptr); }
    // The last placed item as the palette's one selected item, and the west
    // wall as the wall view's.
    void selectLastItemInPalette()
    {
        G.Palette.push_back(G.PlacedItems[size_t(G.PlacedItemCount - 1)]);
        G.PaletteCount = 1;
        G.PaletteSelection = 0;
        G.CatalogueShapes = G.SceneShapes;
        G.CatalogueShapeCount = G.SceneShapeCount;
        G.WallIndex = 1;
    }
};

}  // namespace

TEST_F(Output, PrintCommandAsksPagesCopiesAndHeadingThenPrintsEachCopy)
{
    dorv::PrintDialogAnswer answer;
    answer.Copies = 2;
    TestDialogs().ExpectPrintDialog(answer);
    TestDialogs().ExpectInputBox(QStringLiteral("Our classroom"));
    CommonMod::PrintCurrentView();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(TestDialogs().Asked().value(0), QStringLiteral("Print: pages 1-1"));
    // Two copies are two print-outs of one copy each.
    EXPECT_EQ(Print::Copies(), 2);
    EXPECT_EQ(Print::CurrentPrinter().copyCount(), 1);
    EXPECT_EQ(PdfPages(dir.file("out.pdf")), 1);
}

TEST_F(Output, SpreadsheetOffersItsPagesAndPrintsTheRangeChosen)
{
    // Enough different priced items for three pages of the spreadsheet.
    G.SpentTotal = 100;
    for (int i = 0; Graphs::GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount) < 3 && i < 200; ++i) {
        ItemRecord box = TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, QStringLiteral("Home\\Box%1").arg(i),
                                            10000, 10000, 10000, 0x808080);
        box.Price = 10;
        G.PlacedItems.resize(size_t(G.PlacedItemCount) + 1);
        G.PlacedItems[size_t(G.PlacedItemCount++)] = box;
    }
    G.ViewMode = 3;
    G.GraphKind = 0;
    const int16_t pages = Graphs::GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount);
    ASSERT_EQ(pages, 3);
    dorv::PrintDialogAnswer answer;
    answer.FromPage = 2;
    answer.ToPage = 3;
    TestDialogs().ExpectPrintDialog(answer);
    TestDialogs().ExpectInputBox(QString());
    CommonMod::PrintCurrentView();
    EXPECT_EQ(TestDialogs().Asked().value(0), QStringLiteral("Print: pages 1-3"));
    EXPECT_EQ(PdfPages(dir.file("out.pdf")), 2);
}

TEST_F(Output, CancelledDialogPrintsNothingAndAsksNoHeading)
{
    TestDialogs().ExpectPrintDialog(std::nullopt);
    CommonMod::PrintCurrentView();
    EXPECT_EQ(TestDialogs().Asked().size(), 1);
    EXPECT_FALSE(QFile::exists(dir.file("out.pdf")));
}

TEST_F(Output, PagesOfARangeOrEveryPage)
{
    dorv::PrintPages pages;
    pages.MinPage = 1;
    pages.MaxPage = 3;
    pages.FromPage = 2;
    pages.ToPage = 3;
    ASSERT_TRUE(CommonMod::PrintViewPage(0, QString(), pages));
    EXPECT_EQ(PdfPages(dir.file("out.pdf")), 2);
    // No range chosen: every page from the first, never a page 0.
    pages.FromPage = 0;
    pages.ToPage = 3;
    ASSERT_TRUE(CommonMod::PrintViewPage(1, QStringLiteral("Heading"), pages));
    EXPECT_EQ(PdfPages(dir.file("out.pdf")), 3);
    // While printing, and only then, the printer's context is known.
    EXPECT_EQ(Print::GetPrinterHdc(), nullptr);
}

TEST_F(Output, PrintOutThatCannotStartIsTold)
{
    Print::CurrentPrinter().setOutputFileName(dir.file("no such folder/out.pdf"));
    TestDialogs().ExpectMsgBox(dorv::vbOK);
    dorv::PrintPages pages;
    EXPECT_FALSE(CommonMod::PrintViewPage(0, QString(), pages));
    ASSERT_EQ(TestDialogs().Asked().size(), 1);
    EXPECT_TRUE(TestDialogs().Asked()[0].startsWith(QStringLiteral("MsgBox 48:")));
}

TEST_F(Output, PageSetupOnlyWithAPrinterAndPrinterCountIsRemembered)
{
    TestDialogs().ExpectPageSetupDialog([] {
        dorv::PrintDialogAnswer a;
        a.Orientation = QPageLayout::Landscape;
        return a;
    }());
    Print::ShowPageSetupDialog();
    EXPECT_EQ(Print::CurrentPrinter().pageLayout().orientation(), QPageLayout::Landscape);

    G.PrinterCount = 0;
    Print::ShowPageSetupDialog();  // asks nothing
    EXPECT_EQ(TestDialogs().Asked().size(), 1);
    EXPECT_FALSE(Print::PrinterAvailable());
    G.PrinterCount = -1;
    const bool available = Print::PrinterAvailable();
    EXPECT_GE(G.PrinterCount, 0);
    EXPECT_EQ(available, G.PrinterCount > 0);
}

TEST(PlaceableHeader, BoundsRoundedHalfToEvenAndChecksum)
{
    QByteArray bytes(30, '\x55');
    Metafile::BuildPlaceableWmfHeader(bytes, Shapes::Box{-25600, -12928, 25728, 12927});
    EXPECT_EQ(uint32_t(Long(bytes, 0)), 0x9AC6CDD7u);
    EXPECT_EQ(Word(bytes, 4), 0);
    EXPECT_EQ(Word(bytes, 6), -100);
    EXPECT_EQ(Word(bytes, 8), -50);   // -50.5 to the even -50
    EXPECT_EQ(Word(bytes, 10), 100);  // 100.5 to the even 100
    EXPECT_EQ(Word(bytes, 12), 50);
    EXPECT_EQ(Word(bytes, 14), 180);
    EXPECT_EQ(Long(bytes, 16), 0);
    uint16_t x = 0;
    for (int i = 0; i < 20; i += 2) x ^= uint16_t(Word(bytes, i));
    EXPECT_EQ(uint16_t(Word(bytes, 20)), x);
    EXPECT_EQ(bytes[22], '\x55');  // only the header is touched
}

TEST_F(Output, ViewAsPlaceableWindowsMetafileReplacesALongerFileWhole)
{
    const QString path = dir.write("plan.wmf", QByteArray(200000, 'x'));
    QImage canvas(kWidth, kHeight, QImage::Format_RGB32);
    dorv::ImageDc reference(&canvas, 96);
    ASSERT_TRUE(Metafile::SaveViewMetafile(path, reference, true));
    bool ok = false;
    const QByteArray file = dorv::ReadWholeFile(path, &ok);
    ASSERT_TRUE(ok);
    ASSERT_GT(file.size(), 22 + 18);
    // The placeable header, then a metafile whose own size covers the rest.
    uint16_t x = 0;
    for (int i = 0; i < 20; i += 2) x ^= uint16_t(Word(file, i));
    EXPECT_EQ(uint16_t(Word(file, 20)), x);
    const int32_t words = int32_t(uint16_t(Word(file, 22 + 6))) | (int32_t(uint16_t(Word(file, 22 + 8))) << 16);
    EXPECT_EQ(22 + 2 * words, file.size());
    EXPECT_EQ(Word(file, file.size() - 2), 0);  // the end record
    // The bounds are the items' extent in units / 256: the room's floor and
    // walls are 5 m across and 3 m deep, and a little more.
    const int left = Word(file, 6), top = Word(file, 8), right = Word(file, 10), bottom = Word(file, 12);
    EXPECT_GE(right - left, 5 * 36288 / 256);
    EXPECT_LT(right - left, 6 * 36288 / 256);
    EXPECT_GE(bottom - top, 3 * 36288 / 256);
    EXPECT_LT(bottom - top, 4 * 36288 / 256);
}

TEST_F(Output, ViewAsEnhancedMetafileWithItsDescription)
{
    const QString path = dir.file("plan.emf");
    QImage canvas(kWidth, kHeight, QImage::Format_RGB32);
    dorv::ImageDc reference(&canvas, 96);
    G.ViewMode = 1;
    ASSERT_TRUE(Metafile::SaveViewMetafile(path, reference, false));
    bool ok = false;
    const QByteArray emf = dorv::ReadWholeFile(path, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(uint32_t(Long(emf, 40)), dorv::emr::Signature);
    EXPECT_EQ(Long(emf, 48), emf.size());
    EXPECT_EQ(Long(emf, 72), kWidth);  // the reference device
    QString description;
    for (int i = 0; i < Long(emf, 60); ++i) description.append(QChar(uint16_t(Word(emf, Long(emf, 64) + 2 * i))));
    EXPECT_EQ(description, QStringLiteral("Dorv Zorazev") + QChar(0) + QStringLiteral("Drawing") + QChar(0) + QChar(0));
    // The drawing fits the canvas's width.
    EXPECT_GE(Long(emf, 8), -2);
    EXPECT_LE(Long(emf, 16), kWidth + 2);
    EXPECT_GT(Long(emf, 16) - Long(emf, 8), kWidth / 2);
}

TEST_F(Output, WallInAFileIsTheWallOnTheClipboardAtScreenSize)
{
    QImage canvas(kWidth, kHeight, QImage::Format_RGB32);
    dorv::ImageDc reference(&canvas, 96);
    G.ViewMode = 2;
    for (int16_t wall = 0; wall < 4; ++wall) {
        G.WallIndex = wall;
        const QString path = dir.file(QStringLiteral("wall%1.emf").arg(wall));
        ASSERT_TRUE(Metafile::SaveViewMetafile(path, reference, false));
        bool ok = false;
        const QByteArray file = dorv::ReadWholeFile(path, &ok);
        Metafile::CopyViewToClipboard(false, -1);
        const QByteArray clip =
            QGuiApplication::clipboard()->mimeData()->data(QString::fromLatin1(Metafile::kEmfMimeType));
        // The same bounds, within the canvas but for the lettering.
        for (int at = 8; at <= 20; at += 4) EXPECT_EQ(Long(file, at), Long(clip, at)) << "wall " << wall;
        EXPECT_GE(Long(file, 8), -20);
        EXPECT_LE(Long(file, 16), kWidth + 20) << "wall " << wall;
        EXPECT_LE(Long(file, 20), kHeight + 20) << "wall " << wall;
    }
}

TEST_F(Output, FileThatCannotBeWrittenIsTold)
{
    QImage canvas(kWidth, kHeight, QImage::Format_RGB32);
    dorv::ImageDc reference(&canvas, 96);
    TestDialogs().ExpectMsgBox(dorv::vbOK);
    TestDialogs().ExpectMsgBox(dorv::vbOK);
    EXPECT_FALSE(Metafile::SaveViewMetafile(dir.file("missing/plan.emf"), reference, false));
    QImage picture(20, 10, QImage::Format_RGB32);
    EXPECT_FALSE(Metafile::SaveBitmapToFile(dir.file("missing/plan.bmp"), picture));
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_FALSE(QFile::exists(dir.file("missing")));
}

TEST_F(Output, BitmapFileReadsBackAsTheSamePicture)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    picture.setPixel(5, 7, qRgb(255, 0, 0));
    const QString path = dir.file("view.bmp");
    ASSERT_TRUE(Metafile::SaveBitmapToFile(path, picture));
    QImage back(path, "BMP");
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.pixel(5, 7), qRgb(255, 0, 0));
    EXPECT_EQ(back.pixel(0, 0), qRgb(10, 200, 30));
}

TEST_F(Output, ClipboardHoldsTheMetafileAndAPictureOfTheSameDrawing)
{
    Metafile::CopyViewToClipboard(false, -1);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(QString::fromLatin1(Metafile::kEmfMimeType)));
    const QByteArray emf = data->data(QString::fromLatin1(Metafile::kEmfMimeType));
    EXPECT_EQ(uint32_t(Long(emf, 40)), dorv::emr::Signature);
    EXPECT_EQ(Long(emf, 60), 12 + 5);  // the title and five NULs
    const QImage whole = qvariant_cast<QImage>(data->imageData());

    // The desk alone: fewer records and less ink than the whole view.
    Metafile::CopyViewToClipboard(true, G.PlacedItemCount - 1);
    const QMimeData* item = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(item, nullptr);
    const QByteArray itemEmf = item->data(QString::fromLatin1(Metafile::kEmfMimeType));
    EXPECT_LT(Long(itemEmf, 52), Long(emf, 52));
    const QImage alone = qvariant_cast<QImage>(item->imageData());
    auto ink = [](const QImage& picture) {
        int n = 0;
        for (int y = 0; y < picture.height(); y += 2)
            for (int x = 0; x < picture.width(); x += 2) n += picture.pixel(x, y) != qRgb(255, 255, 255);
        return n;
    };
    const int inkWhole = ink(whole), inkAlone = ink(alone);
    EXPECT_GT(inkAlone, 0);
    EXPECT_LT(inkAlone, inkWhole);
}

TEST_F(Output, PaletteItemSnapshotsNeedASelectedItem)
{
    QImage panel(186, 200, QImage::Format_RGB32);
    dorv::ImageDc reference(&panel, 96);
    EXPECT_FALSE(Metafile::SaveItemMetafile(dir.file("item.wmf"), reference, QSizeF(186, 200), true));
    EXPECT_FALSE(QFile::exists(dir.file("item.wmf")));

    G.Palette.push_back(G.PlacedItems[size_t(G.PlacedItemCount - 1)]);
    G.PaletteCount = 1;
    G.CatalogueShapes = G.SceneShapes;
    G.CatalogueShapeCount = G.SceneShapeCount;
    ASSERT_TRUE(Metafile::SaveItemMetafile(dir.file("item.wmf"), reference, QSizeF(186, 200), true));
    bool ok = false;
    const QByteArray file = dorv::ReadWholeFile(dir.file("item.wmf"), &ok);
    ASSERT_TRUE(ok);
    // The bounds are the item's picture in units / 256 (and a pixel's
    // width more, for the outline).
    float w = 0, h = 0;
    DrawMod::GetItemPictureSize(G.Palette[0], 1, G.CatalogueShapes, G.CatalogueShapeCount, 1.0f, w, h);
    EXPECT_NEAR(Word(file, 10) - Word(file, 6), w / 256, 3);
    EXPECT_NEAR(Word(file, 12) - Word(file, 8), h / 256, 3);
    Metafile::CopyItemToClipboard(QSizeF(186, 200));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QString::fromLatin1(Metafile::kEmfMimeType)));
    EXPECT_FALSE(qvariant_cast<QImage>(data->imageData()).isNull());
}

// A palette item on the clipboard fills the panel's box (its caption's 16
// pixels left out) along one axis and is centred along the other: a wide
// item in a tall panel and a tall item in a wide panel, and the shipped
// clock, whose picture reaches down to the floor below it, by the clock alone.
TEST_F(Output, PaletteItemIsCentredInThePanelWithEqualMargins)
{
    struct Case {
        const char* name;
        int32_t w, d, h;
        QSizeF panel;
    };
    for (const Case& c : {Case{"wide item, tall panel", 80000, 8000, 8000, QSizeF(150, 400)},
                          Case{"tall item, wide panel", 8000, 8000, 80000, QSizeF(400, 166)},
                          Case{"hung clock", 0, 0, 0, QSizeF(186, 200)}}) {
        G.CatalogueShapeCount = 0;
        G.CatalogueShapes = ShapeStream();
        if (c.w > 0) {
            G.Palette = {TestItems::BoxItem(G.CatalogueShapes, G.CatalogueShapeCount, "Home\\Box", c.w, c.d, c.h,
                                            0x2020C0)};
        } else {
            const QString path = QStringLiteral(DORV_CONTENT_BUILD_DIR "/Environments/Home/HomeWalls/clock.dvo");
            bool ok = false;
            const QByteArray bytes = dorv::ReadWholeFile(path, &ok);
            ASSERT_TRUE(ok);
            G.Palette = {ItemRecord()};
            ASSERT_TRUE(FileMod::LoadItemDefinitionData(G.CatalogueShapes, G.CatalogueShapeCount, bytes, path,
                                                        G.Palette[0]));
        }
        G.PaletteCount = 1;
        G.PaletteSelection = 0;
        Metafile::CopyItemToClipboard(c.panel);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        const QByteArray emf = data->data(QString::fromLatin1(Metafile::kEmfMimeType));
        const int left = Long(emf, 8), top = Long(emf, 12);
        const int right = int(c.panel.width()) - 1 - Long(emf, 16);
        const int bottom = int(c.panel.height()) - 16 - 1 - Long(emf, 20);
        EXPECT_NEAR(left, right, 2) << c.name;
        EXPECT_NEAR(top, bottom, 2) << c.name;
        EXPECT_LE(std::min(left, top), 2) << c.name;
    }
}

namespace {

// The size an outside reader gives a picture: the width and height of the
// SVG that `program` makes of `path`, or an empty size when the program is
// missing or fails.
QSizeF ReaderSize(const QString& program, const QStringList& arguments, const QString& svgPath)
{
    if (QStandardPaths::findExecutable(program).isEmpty()) return {};
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
    QFile f(svgPath);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&f);
    while (!xml.atEnd() && !(xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"svg")) {}
    if (xml.atEnd()) return {};
    auto length = [&](const char* name) {
        QString v = xml.attributes().value(QLatin1String(name)).toString();
        v.remove(QRegularExpression(QStringLiteral("[a-z]+$")));
        return v.toDouble();
    };
    return QSizeF(length("width"), length("height"));
}

// The aspect (width / height) of what an enhanced metafile draws: its
// bounds, in pixels with right and bottom inclusive.
double DrawnAspect(const QByteArray& emf)
{
    const double w = Long(emf, 16) - Long(emf, 8) + 1, h = Long(emf, 20) - Long(emf, 12) + 1;
    return h > 0 ? w / h : 0;
}

}  // namespace

TEST_F(Output, OutsideReadersShowEverySnapshotWithTheShapeOfItsDrawing)
{
    NEED_OUTSIDE_PROGRAM("wmf2svg");
    NEED_OUTSIDE_PROGRAM("emf2svg-conv");
    selectLastItemInPalette();
    QImage canvas(kWidth, kHeight, QImage::Format_RGB32);
    dorv::ImageDc reference(&canvas, 96);
    const QSizeF panel(186, 200);
    G.PlacedItems[size_t(G.PlacedItemCount - 1)].Price = 250;
    G.SpentTotal = 250;
    for (const char* kind : {"plan", "3d", "wall", "item", "spreadsheet", "chart"}) {
        const QString name = QString::fromLatin1(kind);
        const bool sheetOrChart = name == u"spreadsheet" || name == u"chart";
        G.ViewMode = name == u"3d" ? 1 : name == u"wall" ? 2 : sheetOrChart ? 3 : 0;
        G.GraphKind = name == u"chart" ? 1 : 0;
        // The same drawing on the clipboard, which is not clipped to the
        // canvas in its metafile.
        if (name == u"item")
            Metafile::CopyItemToClipboard(panel);
        else
            Metafile::CopyViewToClipboard(false, -1);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        const double aspect = DrawnAspect(data->data(QString::fromLatin1(Metafile::kEmfMimeType)));
        ASSERT_GT(aspect, 0) << kind;
        QSizeF emfShown, wmfShown;
        for (bool wmf : {true, false}) {
            const QString path = dir.file(name + (wmf ? QStringLiteral(".wmf") : QStringLiteral(".emf")));
            const QString svg = path + QStringLiteral(".svg");
            if (name == u"item")
                ASSERT_TRUE(Metafile::SaveItemMetafile(path, reference, panel, wmf));
            else
                ASSERT_TRUE(Metafile::SaveViewMetafile(path, reference, wmf));
            // wmf2svg shrinks a picture larger than 768 x 512 unless told not to.
            const QSizeF shown = wmf ? ReaderSize(QStringLiteral("wmf2svg"),
                                                  {QStringLiteral("--maxwidth=32767"),
                                                   QStringLiteral("--maxheight=32767"), QStringLiteral("-o"), svg,
                                                   path},
                                                  svg)
                                     : ReaderSize(QStringLiteral("emf2svg-conv"),
                                                  {QStringLiteral("-i"), path, QStringLiteral("-o"), svg}, svg);
            ASSERT_GT(shown.height(), 0) << kind << (wmf ? " WMF" : " EMF") << " not read";
            EXPECT_NEAR(shown.width() / shown.height() / aspect, 1.0, 0.03)
                << kind << (wmf ? " WMF " : " EMF ") << shown.width() << " x " << shown.height()
                << ", drawing aspect " << aspect;
            (wmf ? wmfShown : emfShown) = shown;
        }
        // Without a room to scale them by, the spreadsheet and the charts
        // keep their size on the screen: wmf2svg gives the header's units,
        // 180 to the inch, emf2svg-conv the drawing's pixels at 96 dpi.
        if (sheetOrChart) {
            EXPECT_NEAR(wmfShown.width() * 96 / 180, emfShown.width(), 2) << kind;
        }
    }
}

namespace {

// The first page of a PDF file as a picture at `dpi`, by pdftoppm; a null
// image when pdftoppm is missing or fails.
QImage PdfPage(const QString& pdf, int dpi = 40)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) return {};
    const QString stem = pdf + QStringLiteral(".page");
    QProcess process;
    process.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                               QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                               QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, stem});
    if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// True when the two colours differ by no more than `tolerance` in each channel.
bool Close(QRgb a, QRgb b, int tolerance = 24)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The box of the pixels near `colour` (or, with `other`, of every pixel that
// is not near white).
QRect Ink(const QImage& page, QRgb colour, bool other = false)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (other ? !Close(page.pixel(x, y), qRgb(255, 255, 255), 8) : Close(page.pixel(x, y), colour))
                box |= QRect(x, y, 1, 1);
    return box;
}

// Counts the views drawn (each asks whether dimensions are shown).
struct CountingPort : Port {
    int drawn = 0;
    bool ShowDimensions() override
    {
        ++drawn;
        return false;
    }
};

}  // namespace

// What an image program pastes is what the metafile shows, whole: a picture
// of the metafile's bounds with the drawing reaching each of its edges, also
// where the drawing reaches past the canvas (the plan's dimension lines, the
// tops of the walls in 3D).
TEST_F(Output, ClipboardPictureHoldsTheWholeDrawingOfItsMetafile)
{
    port.dims = port.wires = true;
    selectLastItemInPalette();
    for (const char* kind : {"plan", "3d", "wall", "placed item", "palette item"}) {
        const QString name = QString::fromLatin1(kind);
        G.ViewMode = name == u"3d" ? 1 : name == u"wall" ? 2 : 0;
        if (name == u"palette item")
            Metafile::CopyItemToClipboard(QSizeF(186, 200));
        else
            Metafile::CopyViewToClipboard(name == u"placed item", G.PlacedItemCount - 1);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        const QByteArray emf = data->data(QString::fromLatin1(Metafile::kEmfMimeType));
        const QRect bounds(QPoint(Long(emf, 8), Long(emf, 12)), QPoint(Long(emf, 16), Long(emf, 20)));
        const QImage picture = qvariant_cast<QImage>(data->imageData());
        EXPECT_EQ(picture.size(), bounds.size()) << kind << ": " << picture.width() << " x " << picture.height()
                                                 << " for bounds " << bounds.width() << " x " << bounds.height();
        const QRect ink = Ink(picture, 0, true);
        EXPECT_LE(ink.left(), 2) << kind;
        EXPECT_LE(ink.top(), 2) << kind;
        EXPECT_GE(ink.right(), picture.width() - 3) << kind;
        EXPECT_GE(ink.bottom(), picture.height() - 3) << kind;
    }

    // A room far longer than wide, fitted by its width, would need a picture
    // of a gigabyte: it is shrunk to one a program can take, still whole.
    G.PlacedItems.clear();
    G.PlacedItemCount = 0;
    G.SceneShapes = ShapeStream();
    G.SceneShapeCount = 0;
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 400, 1, 2.5f, 0x336699, 0x608040);
    G.ViewMode = 0;
    Metafile::CopyViewToClipboard(false, -1);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QByteArray emf = data->data(QString::fromLatin1(Metafile::kEmfMimeType));
    const QRect bounds(QPoint(Long(emf, 8), Long(emf, 12)), QPoint(Long(emf, 16), Long(emf, 20)));
    const QImage picture = qvariant_cast<QImage>(data->imageData());
    ASSERT_FALSE(picture.isNull());
    EXPECT_LE(double(picture.width()) * picture.height(), 4096.0 * 4096.0);
    EXPECT_NEAR(double(picture.width()) / picture.height() * bounds.height() / bounds.width(), 1.0, 0.02);
    const QRect ink = Ink(picture, 0, true);
    EXPECT_LE(ink.left(), 2);
    EXPECT_GE(ink.bottom(), picture.height() - 3);
}

namespace {

// A heading too long for a line of paper upright: 142 characters.
QString LongHeading()
{
    return QStringLiteral("Our classroom as we would like it to be after the summer holidays, drawn by the children of "
                          "class 4B and their teacher for the school open day");
}

}  // namespace

class PrintOut : public Output {
protected:
    void SetUp() override
    {
        Output::SetUp();
        NEED_OUTSIDE_PROGRAM("pdftoppm");
        Print::CurrentPrinter().setPageSize(QPageSize(QPageSize::A4));
    }
    // Prints the current view with `title` and reads the page back.
    QImage print(const QString& title = QString(), int dpi = 40)
    {
        QFile::remove(dir.file("out.pdf"));
        dorv::PrintPages pages;
        pages.MinPage = pages.MaxPage = pages.ToPage = 1;
        EXPECT_TRUE(CommonMod::PrintViewPage(G.ViewMode, title, pages));
        return PdfPage(dir.file("out.pdf"), dpi);
    }
    // The printable area on the page read back at `dpi`.
    QRectF printable(int dpi = 40) const
    {
        const QRectF points = Print::CurrentPrinter().pageLayout().paintRect(QPageLayout::Point);
        return QRectF(points.topLeft() * dpi / 72, points.size() * dpi / 72);
    }
};

TEST_F(PrintOut, EachCopyIsAPrintOutOfItsOwn)
{
    CountingPort counting;
    SetWindows(&counting);
    dorv::PrintDialogAnswer answer;
    answer.Copies = 3;
    TestDialogs().ExpectPrintDialog(answer);
    TestDialogs().ExpectInputBox(QString());
    CommonMod::PrintCurrentView();
    // The view was drawn three times, and the file the last print-out wrote
    // holds one page.
    EXPECT_EQ(counting.drawn, 3);
    EXPECT_EQ(PdfPages(dir.file("out.pdf")), 1);
    SetWindows(&port);
}

TEST_F(PrintOut, TheHeadingStandsInTheUpperLeftCornerAboveTheSpreadsheet)
{
    // On the spreadsheet, which fills the page whether headed or not.
    G.ViewMode = 3;
    G.GraphKind = 0;
    const QImage plain = print();
    const QImage headed = print(QStringLiteral("Our classroom"));
    ASSERT_FALSE(plain.isNull());
    ASSERT_EQ(headed.size(), plain.size());
    QRect changed;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (!Close(plain.pixel(x, y), headed.pixel(x, y), 8)) changed |= QRect(x, y, 1, 1);
    ASSERT_FALSE(changed.isEmpty()) << "no heading";
    const QRectF area = printable();
    EXPECT_LE(changed.left(), area.left() + 4);
    EXPECT_LE(changed.top(), area.top() + 4);
    EXPECT_LT(changed.bottom(), area.top() + 20);

    // A heading of several lines: the first rows of the light blue band at
    // the spreadsheet's head hold no lettering, its last line stands above.
    G.PlacedItems[size_t(G.PlacedItemCount - 1)].Price = 250;
    G.SpentTotal = 250;
    const QImage page = print(LongHeading() + QStringLiteral(" ") + LongHeading(), 72);
    const QRect band = Ink(page, qRgb(0xCC, 0xCC, 0xFF));
    ASSERT_FALSE(band.isEmpty());
    int dark = 0;
    for (int y = band.top(); y < band.top() + 8; ++y)
        for (int x = band.left(); x <= band.right(); ++x) dark += qGray(page.pixel(x, y)) < 128;
    EXPECT_EQ(dark, 0);
}

TEST_F(PrintOut, AWallFillsThePageWidthWithItsRoomSide)
{
    // The 3 x 5 m room: the north and south walls run 5 m, the west and east
    // walls 3 m; 96000 units of frame are added to each.
    const QRectF area = printable();
    G.ViewMode = 2;
    G.WallColour = 0x608040;
    for (int16_t wall = 0; wall < 4; ++wall) {
        G.WallIndex = wall;
        const QImage page = print();
        ASSERT_FALSE(page.isNull());
        // The face along the page's middle line.
        const int middle = int(area.center().y());
        const QRect face = Ink(page.copy(0, middle, page.width(), 1), qRgb(0x40, 0x80, 0x60));
        const double side = wall % 2 == 0 ? G.Room.ExtentX : G.Room.ExtentY;
        EXPECT_NEAR(face.width(), area.width() * side / (side + 96000), 3) << "wall " << wall;
        EXPECT_NEAR(face.center().x(), area.center().x(), 3) << "wall " << wall;
    }
}

TEST_F(PrintOut, TheRoomIn3DIsCentredOnThePage)
{
    G.ViewMode = 1;
    const QImage page = print();
    ASSERT_FALSE(page.isNull());
    const QRect ink = Ink(page, 0, true);
    const QRectF area = printable();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().y(), area.center().y(), area.height() * 0.05);
    EXPECT_NEAR(ink.center().x(), area.center().x(), area.width() * 0.05);
}

TEST_F(PrintOut, TheSelectedItemIsFramedOnPaper)
{
    G.ViewMode = 0;
    G.SelectedItem = -1;
    const QImage plain = print(QString(), 72);
    G.SelectedItem = G.PlacedItemCount - 1;
    const QImage framed = print(QString(), 72);
    ASSERT_FALSE(plain.isNull());
    int changed = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) changed += !Close(plain.pixel(x, y), framed.pixel(x, y), 8);
    EXPECT_GT(changed, 20) << "no selection frame";
}

namespace {

// The dimension lines shown, labelled with the sizes as typed.
struct DimensionsPort : Port {
    bool ShowDimensions() override { return true; }
    QString PlaceSizeText(int box) override { return box == 1 ? QStringLiteral(" 3") : QStringLiteral(" 5"); }
};

}  // namespace

TEST_F(PrintOut, APlanWithItsDimensionLinesFitsThePage)
{
    DimensionsPort dimensions;
    SetWindows(&dimensions);
    G.UnitText = QStringLiteral(" metres");
    G.ViewMode = 0;
    // The furnished 3 x 5 m room, then one 12 m long and 1 m wide, whose
    // width line is too short to hold its label.
    for (int i = 0; i < 4; ++i) {
        if (i == 2) {
            G.PlacedItemCount = G.SceneShapeCount = 0;
            CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 1, 12, 2.5f, 0x336699, 0x608040);
        }
        const auto orientation = i % 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
        Print::CurrentPrinter().setPageOrientation(orientation);
        const QImage page = print();
        ASSERT_FALSE(page.isNull());
        const QRectF area = printable();
        const QRect ink = Ink(page, 0, true), floor = Ink(page, qRgb(0x99, 0x66, 0x33));
        const std::string side = (i < 2 ? "3 x 5 m, " : "1 x 12 m, ") +
                                 std::string(i % 2 ? "landscape" : "portrait");
        ASSERT_FALSE(floor.isEmpty()) << side;
        // Everything drawn, the lines' arrowheads and labels included, stands
        // clear of the printable area's edges; the width is measured down
        // the floor's left side and the length along its foot.
        EXPECT_GT(ink.left(), area.left() + 1) << side;
        EXPECT_GT(ink.top(), area.top() + 1) << side;
        EXPECT_LT(ink.right(), area.right() - 1) << side;
        EXPECT_LT(ink.bottom(), area.bottom() - 1) << side;
        EXPECT_LT(ink.left(), floor.left() - 4) << side;
        EXPECT_GT(ink.bottom(), floor.bottom() + 4) << side;
        // And it is as large as the page allows, in the middle of it.
        EXPECT_TRUE(ink.width() > area.width() * 0.9 || ink.height() > area.height() * 0.9) << side;
        EXPECT_NEAR(ink.center().x(), area.center().x(), 3) << side;
        EXPECT_NEAR(ink.center().y(), area.center().y(), 3) << side;
    }
    Print::CurrentPrinter().setPageOrientation(QPageLayout::Portrait);
    SetWindows(&port);
}

TEST_F(PrintOut, ALongNarrowRoomStaysOnThePaperWhicheverWayItRuns)
{
    // 12 m by 1 m, running across the page and down it.
    G.ViewMode = 0;
    const QRectF area = printable();
    for (const bool across : {true, false}) {
        G.PlacedItemCount = G.SceneShapeCount = 0;
        CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, across ? 1 : 12, across ? 12 : 1,
                                     2.5f, 0x336699, 0x608040);
        const QImage page = print();
        ASSERT_FALSE(page.isNull());
        const QRect floor = Ink(page, qRgb(0x99, 0x66, 0x33));
        const char* way = across ? "across" : "down";
        ASSERT_FALSE(floor.isEmpty()) << way;
        EXPECT_TRUE(area.adjusted(-1, -1, 1, 1).contains(QRectF(floor))) << way;
        // The floor as long as the page allows, twelve times as long as wide.
        const double along = across ? floor.width() : floor.height(), room = across ? area.width() : area.height();
        const double wide = across ? floor.height() : floor.width();
        EXPECT_NEAR(along, room, 3) << way;
        EXPECT_NEAR(along / wide, 12, 1.5) << way;
    }
}

TEST_F(PrintOut, TheRoomIn3DWithItsDimensionLinesFitsThePage)
{
    DimensionsPort dimensions;
    SetWindows(&dimensions);
    G.UnitText = QStringLiteral(" metres");
    G.ViewMode = 1;
    // How far the height line stands left of the room's far corner on the
    // screen (20 pixels, and the line's own 5 off its segment), on paper.
    const double standOff = 25.0 * 72 / DrawMod::CanvasLogPixelsY();
    for (const auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
        Print::CurrentPrinter().setPageOrientation(orientation);
        const std::string side = orientation == QPageLayout::Portrait ? "portrait" : "landscape";
        const QImage page = print(QString(), 72);
        ASSERT_FALSE(page.isNull()) << side;
        // The room: what is coloured; the lines and labels are black.
        QRect room;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QRgb c = page.pixel(x, y);
                if (std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)}) > 16)
                    room |= QRect(x, y, 1, 1);
            }
        ASSERT_FALSE(room.isEmpty()) << side;
        // Every label and arrowhead on the printable page, the drawing as
        // large as it allows.
        const QRect ink = Ink(page, 0, true);
        const QRectF area = printable(72);
        EXPECT_TRUE(area.adjusted(1, 1, -1, -1).contains(QRectF(ink))) << side;
        EXPECT_TRUE(ink.width() > area.width() * 0.9 || ink.height() > area.height() * 0.9) << side;
        // The height line stands off the far corner's edge as on the screen:
        // a quarter of the way down the edge, the first ink left of it.
        int top = -1, bottom = -1;
        for (int y = 0; y < page.height(); ++y)
            if (!Close(page.pixel(room.left() + 1, y), qRgb(255, 255, 255), 8)) (top < 0 ? top : bottom) = y;
        ASSERT_GT(bottom, top) << side;
        const int y = top + (bottom - top) / 4;
        const auto white = [&](int at) { return Close(page.pixel(at, y), qRgb(255, 255, 255), 8); };
        int x = room.left() - 1;
        while (x > 0 && !white(x)) --x;  // the room's outline
        while (x > 0 && white(x)) --x;
        EXPECT_NEAR(room.left() - x, standOff, 3) << side;
    }
    Print::CurrentPrinter().setPageOrientation(QPageLayout::Portrait);
    SetWindows(&port);
}

TEST_F(PrintOut, AWallStaysOnThePaperClearOfItsHeadingAndTheRoomsPicture)
{
    DimensionsPort dimensions;
    SetWindows(&dimensions);
    // A heading of one line, and one too long for a line of the page.
    const QString titles[] = {QStringLiteral("Our classroom"), LongHeading()};
    // A room as high as it is long, whose picture reaches up to the page's
    // top, and whose north wall, fitted by its width, would run off paper
    // turned sideways.
    G.PlacedItemCount = G.SceneShapeCount = 0;
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 2, 4, 4, 0x336699, 0x608040);
    FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                  G.ViewListCount);
    G.FloorColour = 0x336699;
    G.WallColour = 0x608040;
    for (const auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape})
    for (const QString& title : titles) {
        Print::CurrentPrinter().setPageOrientation(orientation);
        const std::string side = (orientation == QPageLayout::Portrait ? "portrait, " : "landscape, ") +
                                 std::to_string(title.size()) + " characters";
        // Where the heading stands: what it changes on the spreadsheet. It
        // stays on the paper.
        G.ViewMode = 3;
        G.GraphKind = 0;
        const QImage plain = print(QString(), 72), headed = print(title, 72);
        ASSERT_FALSE(plain.isNull());
        QRect heading;
        for (int y = 0; y < plain.height() / 4; ++y)
            for (int x = 0; x < plain.width(); ++x)
                if (!Close(plain.pixel(x, y), headed.pixel(x, y), 8)) heading |= QRect(x, y, 1, 1);
        ASSERT_FALSE(heading.isEmpty()) << side;
        EXPECT_TRUE(printable(72).contains(QRectF(heading))) << side << ": heading to x " << heading.right();

        G.ViewMode = 2;
        G.WallIndex = 0;
        const QImage wall = print(title, 72);
        // The wall, its name and its length line stay on the paper.
        EXPECT_TRUE(printable(72).adjusted(-1, -1, 1, 1).contains(QRectF(Ink(wall, 0, true)))) << side;
        // No colour of the room's picture or of the wall comes into the
        // heading: it holds its own black and white alone.
        int coloured = 0;
        for (int y = heading.top() - 1; y <= heading.bottom() + 1; ++y)
            for (int x = heading.left() - 1; x <= heading.right() + 1; ++x) {
                const QRgb c = wall.pixel(x, y);
                coloured += std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)}) > 30;
            }
        EXPECT_EQ(coloured, 0) << side;
        // Nothing of the drawing stands beside it or above it.
        QImage above = wall.copy(0, 0, wall.width(), heading.bottom() + 1);
        for (int y = heading.top(); y <= heading.bottom(); ++y)
            for (int x = heading.left(); x <= heading.right(); ++x) above.setPixel(x, y, qRgb(255, 255, 255));
        EXPECT_TRUE(Ink(above, 0, true).isEmpty()) << side;
        // The room's picture, its floor in the upper left, stands below it.
        const QRect floor = Ink(wall.copy(0, 0, wall.width() / 3, wall.height() / 3), qRgb(0x99, 0x66, 0x33));
        ASSERT_FALSE(floor.isEmpty()) << side;
        EXPECT_GT(floor.top(), heading.bottom()) << side;
        // And the wall in its frame of side walls, with the height line to
        // its left, stands clear of both: the picture covers no corner of it.
        const QRect frame = Ink(wall, qRgb(0x40, 0x80, 0x60)) | Ink(wall, qRgb(0x5a, 0xb3, 0x86));
        ASSERT_FALSE(frame.isEmpty()) << side;
        const QRect drawn = frame.adjusted(-frame.width() / 20, 0, 0, 0);
        EXPECT_FALSE(drawn.intersects(floor)) << side;
        EXPECT_FALSE(drawn.intersects(heading)) << side;
    }
    Print::CurrentPrinter().setPageOrientation(QPageLayout::Portrait);
    SetWindows(&port);
}

// A long heading stands above the drawing, never on it: the plan of a long
// room down the page and the room in 3D on paper turned sideways, each with
// its dimension lines, fit the page below the heading's rows.
TEST_F(PrintOut, ALongHeadingStandsAboveTheDrawing)
{
    DimensionsPort dimensions;
    SetWindows(&dimensions);
    G.UnitText = QStringLiteral(" metres");
    const QString title = QStringLiteral("Our classroom plan for the end of year project by class 4B and 4C");
    G.PlacedItemCount = G.SceneShapeCount = 0;
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 20, 2, 2.5f, 0x336699, 0x608040);
    FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                  G.ViewListCount);
    for (const int16_t view : {0, 1}) {
        G.ViewMode = view;
        Print::CurrentPrinter().setPageOrientation(view == 0 ? QPageLayout::Portrait : QPageLayout::Landscape);
        const std::string side = view == 0 ? "plan, portrait" : "3D, landscape";
        const QImage page = print(title, 72);
        ASSERT_FALSE(page.isNull()) << side;
        const QRectF area = printable(72);
        // The heading: the rows inked from the top down to the first blank
        // one, no taller than its 10-point lettering.
        const auto blank = [&](int y) { return Ink(page.copy(0, y, page.width(), 1), 0, true).isEmpty(); };
        int y = 0;
        while (y < page.height() && blank(y)) ++y;
        const int headingTop = y;
        while (y < page.height() && !blank(y)) ++y;
        EXPECT_LT(y - headingTop, 20) << side << ": heading and drawing meet, rows " << headingTop << " to " << y;
        // Below it the whole drawing, on the paper and as large as it allows.
        const QRect drawing = Ink(page.copy(0, y, page.width(), page.height() - y), 0, true).translated(0, y);
        ASSERT_FALSE(drawing.isEmpty()) << side;
        EXPECT_TRUE(area.adjusted(1, 1, -1, -1).contains(QRectF(drawing))) << side;
        EXPECT_TRUE(drawing.width() > area.width() * 0.85 || drawing.height() > area.height() * 0.85) << side;
    }
    Print::CurrentPrinter().setPageOrientation(QPageLayout::Portrait);
    SetWindows(&port);
}

TEST_F(PrintOut, TheJobIsNamedByTheProgramAndTheView)
{
    G.ViewMode = 0;
    print();
    EXPECT_EQ(Print::CurrentPrinter().docName(), dorv::AppTitle() + QStringLiteral(" - Plan View"));
    G.ViewMode = 2;
    print();
    EXPECT_EQ(Print::CurrentPrinter().docName(), dorv::AppTitle() + QStringLiteral(" - Wall View"));
    G.ViewMode = 3;
    G.GraphKind = 2;
    print();
    EXPECT_EQ(Print::CurrentPrinter().docName(), dorv::AppTitle() + QStringLiteral(" - Bar Graph"));
}

TEST_F(Output, PageSetupChoosesPaperAndOrientationAndLeavesTheMargins)
{
    QPrinter& printer = Print::CurrentPrinter();
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    bool marginsOffered = true, answered = false;
    // The user turns the paper, types a margin of 5 cm where one could be
    // typed, and confirms.
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        marginsOffered = false;
        for (const char* name : {"topMargin", "bottomMargin", "leftMargin", "rightMargin"})
            if (auto* box = dialog->findChild<QDoubleSpinBox*>(QLatin1String(name))) {
                marginsOffered = marginsOffered || box->isVisibleTo(dialog);
                box->setValue(50);
            }
        if (auto* landscape = dialog->findChild<QRadioButton*>(QStringLiteral("landscape"))) landscape->click();
        answered = true;
        if (auto* d = qobject_cast<QDialog*>(dialog)) d->accept();
    });
    dorv::DesktopDialogs desktop;
    EXPECT_TRUE(desktop.ShowPageSetupDialog(printer));
    ASSERT_TRUE(answered);
    EXPECT_FALSE(marginsOffered);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    const QMarginsF after = printer.pageLayout().margins(QPageLayout::Millimeter);
    EXPECT_NEAR(after.top(), margins.top(), 0.01);
    EXPECT_NEAR(after.left(), margins.left(), 0.01);
    printer.setPageOrientation(QPageLayout::Portrait);
}
