// The device-context layer: what drawing code relies on of every back end.
#include "platform/DeviceContext.h"
#include "platform/PainterDc.h"
#include "platform/RecordingDc.h"

#include "support/TempDir.h"

#include <QFile>
#include <QPrinter>
#include <gtest/gtest.h>

#include <vector>

using namespace dorv;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

QImage whiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// A picture with something on it, so XOR has a background to act on.
QImage patternImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 5 % 256, (x * y) % 256));
    return image;
}

// The pixels of `image` that differ from white, as a bounding box.
QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
    return box;
}

// The same for text, whose smoothed edges are only faintly grey: the pixels
// at least half dark.
QRect darkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
}

// Draws with a created pen and brush and frees them as drawing code must.
struct PenAndBrush {
    PenAndBrush(DeviceContext& dc, int32_t style, int32_t width, ColorRef line, ColorRef fill) : dc(dc)
    {
        pen = CreatePen(style, width, line);
        brush = CreateSolidBrush(fill);
        oldPen = dc.SelectObject(pen);
        oldBrush = dc.SelectObject(brush);
    }
    ~PenAndBrush()
    {
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
    DeviceContext& dc;
    GdiObject pen, brush, oldPen, oldBrush;
};

}  // namespace

TEST(DeviceContext, XorFrameDrawnTwiceLeavesThePictureUnchanged)
{
    for (int width : {1, 4}) {
        QImage image = patternImage(60, 50);
        const QImage before = image.copy();
        {
            ImageDc dc(&image, 96);
            PenAndBrush objects(dc, PS_GEOMETRIC, width, 0xFFFF00, 0);
            const QPoint frame[5] = {{10, 40}, {50, 40}, {50, 8}, {10, 8}, {10, 40}};
            dc.SetROP2(R2_XORPEN);
            dc.Polyline(frame, 5);
            QImage once = image.copy();
            // Every corner is drawn, the start pixel too (a pixel drawn twice
            // in one call would vanish).
            for (QPoint corner : {QPoint(10, 40), QPoint(50, 40), QPoint(50, 8), QPoint(10, 8)})
                EXPECT_NE(once.pixel(corner), before.pixel(corner)) << "width " << width << " at " << corner.x() << "," << corner.y();
            EXPECT_EQ(once.pixel(30, 24), before.pixel(30, 24));
            // XOR with 0x00FFFF00 (cyan) flips green and blue.
            EXPECT_EQ(once.pixel(30, 40), before.pixel(30, 40) ^ 0x0000FFFFu);
            dc.Polyline(frame, 5);
            dc.SetROP2(R2_COPYPEN);
        }
        EXPECT_EQ(image, before) << "width " << width;
    }
}

TEST(DeviceContext, XorRectangleOutlineAndLinesAlsoUndoThemselves)
{
    QImage image = patternImage(40, 40);
    const QImage before = image.copy();
    {
        ImageDc dc(&image, 96);
        PenAndBrush objects(dc, PS_GEOMETRIC, 1, 0x00FF00, 0x0000FF);
        dc.SetROP2(R2_XORPEN);
        for (int pass = 0; pass < 2; ++pass) {
            dc.Rectangle(5, 5, 30, 25);
            dc.MoveToEx(2, 35);
            dc.LineTo(20, 35);
            dc.LineTo(20, 2);
            if (pass == 0) {
                EXPECT_NE(image, before);
            }
        }
    }
    EXPECT_EQ(image, before);
}

TEST(DeviceContext, AlternateRuleLeavesTheInnerPolygonsHole)
{
    QImage image = whiteImage(50, 50);
    {
        ImageDc dc(&image, 96);
        PenAndBrush objects(dc, PS_NULL, 0, 0, 0x0000FF);  // red
        const QPoint points[] = {{5, 5}, {45, 5}, {45, 45}, {5, 45},   // outer
                                 {15, 15}, {35, 15}, {35, 35}, {15, 35},  // inner, same turn
                                 {60, 60}, {70, 60}, {70, 70}};  // a third part off the picture
        const int32_t counts[] = {4, 4, 3};
        dc.PolyPolygon(points, counts, 3);
    }
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(image.pixel(25, 25), kWhite);  // the hole
    EXPECT_EQ(image.pixel(10, 25), red);
    EXPECT_EQ(image.pixel(40, 10), red);
    EXPECT_EQ(image.pixel(15, 15), kWhite);  // the hole's own corner
    EXPECT_EQ(image.pixel(14, 14), red);
    // Right and bottom edges stay outside, as in a rectangle fill.
    EXPECT_EQ(inkBox(image), QRect(5, 5, 40, 40));
}

TEST(DeviceContext, PolyPolygonOutlinesEachPartWithThePen)
{
    QImage image = whiteImage(50, 50);
    {
        ImageDc dc(&image, 96);
        PenAndBrush objects(dc, PS_GEOMETRIC, 1, 0, 0xFFFFFF);
        const QPoint points[] = {{5, 5}, {45, 5}, {45, 45}, {5, 45}, {15, 15}, {35, 15}, {35, 35}, {15, 35}};
        const int32_t counts[] = {4, 4};
        dc.PolyPolygon(points, counts, 2);
    }
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_EQ(image.pixel(5, 25), black);
    EXPECT_EQ(image.pixel(15, 25), black);
    EXPECT_EQ(image.pixel(25, 25), kWhite);
    // No trace of the joining edge between the parts.
    EXPECT_EQ(image.pixel(10, 10), kWhite);
}

TEST(DeviceContext, RectangleFillsAndOutlinesRightAndBottomExclusive)
{
    QImage image = whiteImage(40, 40);
    {
        ImageDc dc(&image, 96);
        {
            PenAndBrush objects(dc, PS_NULL, 0, 0, 0x000000);
            dc.Rectangle(2, 3, 12, 13);  // null pen: one pixel less each way
        }
        EXPECT_EQ(inkBox(image), QRect(2, 3, 9, 9));
        image.fill(Qt::white);
        {
            PenAndBrush objects(dc, PS_GEOMETRIC, 1, 0x0000FF, 0x00FF00);
            dc.Rectangle(12, 13, 2, 3);  // corners in any order
        }
        EXPECT_EQ(inkBox(image), QRect(2, 3, 10, 10));
        EXPECT_EQ(image.pixel(2, 3), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(11, 12), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(11, 7), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(3, 4), qRgb(0, 255, 0));
        EXPECT_EQ(image.pixel(10, 11), qRgb(0, 255, 0));
    }
}

TEST(DeviceContext, LinesLeaveOutTheirLastPixel)
{
    QImage image = whiteImage(30, 30);
    {
        ImageDc dc(&image, 96);
        PenAndBrush objects(dc, PS_GEOMETRIC, 1, 0, 0);
        EXPECT_EQ(dc.MoveToEx(3, 5), QPoint(0, 0));
        dc.LineTo(20, 5);
        EXPECT_EQ(dc.CurrentPosition(), QPoint(20, 5));
        EXPECT_EQ(inkBox(image), QRect(3, 5, 17, 1));
        image.fill(Qt::white);
        const QPoint chain[3] = {{3, 10}, {10, 10}, {10, 25}};
        dc.Polyline(chain, 3);
        EXPECT_EQ(inkBox(image), QRect(3, 10, 8, 15));
        EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(10, 25), kWhite);
    }
}

TEST(DeviceContext, NullPenDrawsNoLines)
{
    QImage image = whiteImage(20, 20);
    {
        ImageDc dc(&image, 96);
        PenAndBrush objects(dc, PS_NULL, 3, 0, 0);
        const QPoint line[2] = {{1, 1}, {18, 18}};
        dc.Polyline(line, 2);
        dc.LineTo(18, 2);
    }
    EXPECT_TRUE(inkBox(image).isNull());
}

TEST(DeviceContext, SelectReturnsTheReplacedObject)
{
    RecordingDc dc;
    GdiObject stockPen = dc.CurrentPen();
    GdiObject a = CreatePen(PS_GEOMETRIC, 2, 0x112233);
    GdiObject b = CreatePen(PS_NULL, 0, 0);
    EXPECT_EQ(dc.SelectObject(a), stockPen);
    EXPECT_EQ(dc.SelectObject(b), a);
    EXPECT_EQ(dc.SelectObject(stockPen), b);
    // A bitmap only goes into a memory context; a freed handle is refused.
    GdiObject bitmap = CreateCompatibleBitmap(dc, 4, 4);
    EXPECT_EQ(dc.SelectObject(bitmap), 0u);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_EQ(dc.SelectObject(a), 0u);
    EXPECT_FALSE(DeleteObject(a));
    DeleteObject(b);
    DeleteObject(bitmap);
}

TEST(DeviceContext, RecorderSeesEveryObjectCreatedAndDeleted)
{
    const int liveBefore = LiveGdiObjectCount();
    RecordingDc dc;
    {
        PenAndBrush objects(dc, PS_GEOMETRIC, 1, 0x0000FF, 0xFFFFFF);
        dc.Rectangle(0, 0, 10, 10);
        GdiObject font = CreateFontA(-MulDiv(8, dc.GetDeviceCaps(LOGPIXELSY), 72), 900, 0, FW_NORMAL, "Arial");
        GdiObject oldFont = dc.SelectObject(font);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOutA(1, 2, "Mesa");
        dc.SelectObject(oldFont);
        DeleteObject(font);
    }
    EXPECT_TRUE(dc.Undeleted().empty());
    EXPECT_EQ(LiveGdiObjectCount(), liveBefore);
    EXPECT_EQ(dc.Lines(), QStringList({
                              "CreatePen 65536 1 0000ff -> pen#1",
                              "CreateSolidBrush ffffff -> brush#1",
                              "SelectObject pen#1",
                              "SelectObject brush#1",
                              "Rectangle 0 0 10 10",
                              "CreateFont -11 900 0 400 Arial -> font#1",
                              "SelectObject font#1",
                              "SetBkMode 1",
                              "TextOut 1 2 Mesa",
                              "SelectObject other",
                              "DeleteObject font#1",
                              "SelectObject other",
                              "SelectObject other",
                              "DeleteObject pen#1",
                              "DeleteObject brush#1",
                          }));

    // A routine that forgets to free its brush is caught.
    dc.Clear();
    GdiObject forgotten = CreateSolidBrush(0x123456);
    ASSERT_EQ(dc.Undeleted().size(), 1u);
    EXPECT_EQ(dc.Undeleted()[0], forgotten);
    DeleteObject(forgotten);
}

TEST(DeviceContext, AnObjectDeletedWhileSelectedIsFreedWhenDeselected)
{
    const int liveBefore = LiveGdiObjectCount();
    QImage image = whiteImage(10, 10);
    {
        ImageDc dc(&image, 96);
        GdiObject brush = CreateSolidBrush(0);
        GdiObject old = dc.SelectObject(brush);
        EXPECT_TRUE(DeleteObject(brush));
        EXPECT_EQ(LiveGdiObjectCount(), liveBefore + 1);
        dc.Rectangle(0, 0, 5, 5);  // still drawable meanwhile
        EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
        dc.SelectObject(old);
        EXPECT_EQ(LiveGdiObjectCount(), liveBefore);
    }
}

TEST(DeviceContext, TwelvePointArialAt96DpiIsSixteenPixelsHigh)
{
    QImage image = whiteImage(200, 60);
    ImageDc dc(&image, 96);
    ASSERT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    const int height = -MulDiv(12, dc.GetDeviceCaps(LOGPIXELSY), 72);
    EXPECT_EQ(height, -16);
    GdiObject font = CreateFontA(height, 0, 0, FW_NORMAL, "Arial");
    GdiObject old = dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    // The cell of a 16-pixel Arial: ascent 0.905 em and descent 0.212 em.
    const QSize extent = dc.GetTextExtentPoint32A("HHHH");
    EXPECT_GE(extent.height(), 17);
    EXPECT_LE(extent.height(), 19);
    EXPECT_NEAR(extent.width(), 4 * 0.722 * 16, 4);  // H advances 0.722 em
    dc.TextOutA(10, 20, "H");
    // The capital's ink: 0.716 em high, its top 0.905 - 0.716 em below the
    // cell's top, which sits at y = 20.
    QRect ink = darkBox(image);
    EXPECT_NEAR(ink.height(), 0.716 * 16, 1.0);
    EXPECT_NEAR(ink.top(), 20 + (0.905 - 0.716) * 16, 1.5);  // hinting snaps to whole pixels
    EXPECT_NEAR(ink.left(), 10 + 0.08 * 16, 1.5);
    dc.SelectObject(old);
    DeleteObject(font);
}

TEST(DeviceContext, TurnedTextRunsUpFromItsCorner)
{
    QImage image = whiteImage(60, 120);
    {
        ImageDc dc(&image, 96);
        GdiObject font = CreateFontA(-16, 900, 900, FW_NORMAL, "Arial");
        GdiObject old = dc.SelectObject(font);
        dc.SetBkMode(TRANSPARENT);
        const QSize extent = dc.GetTextExtentPoint32A("Cadeira");
        EXPECT_GT(extent.width(), extent.height());  // measured unturned
        dc.TextOutA(10, 100, "Cadeira");
        dc.SelectObject(old);
        DeleteObject(font);
    }
    // Turned 90 degrees counter-clockwise about (10, 100): the text climbs
    // from y = 100 and its cell lies to the right of x = 10.
    QRect ink = inkBox(image);
    EXPECT_GT(ink.height(), ink.width());
    EXPECT_LE(ink.bottom(), 100);
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 10 + 19);
}

TEST(DeviceContext, OpaqueTextClearsItsCellAndTextUsesTheTextColour)
{
    QImage image = patternImage(100, 40);
    {
        ImageDc dc(&image, 96);
        GdiObject font = CreateFontA(-16, 0, 0, FW_BOLD, "Arial");
        GdiObject old = dc.SelectObject(font);
        dc.SetTextColor(0x0000FF);
        dc.TextOutA(5, 5, "WW");
        dc.SelectObject(old);
        DeleteObject(font);
    }
    EXPECT_EQ(image.pixel(5, 5), kWhite);  // the cell's corner, cleared
    bool redInk = false;
    for (int x = 5; x < 40; ++x)
        for (int y = 5; y < 25; ++y) redInk |= image.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_TRUE(redInk);
}

TEST(DeviceContext, MulDivRoundsHalvesAwayFromZeroAndFailsOnZero)
{
    EXPECT_EQ(MulDiv(12, 96, 72), 16);
    EXPECT_EQ(MulDiv(8, 96, 72), 11);   // 10.67
    EXPECT_EQ(MulDiv(3, 1, 2), 2);      // 1.5
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(3, -1, -2), 2);
    EXPECT_EQ(MulDiv(5, 2, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 2000000000, 1), -1);
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);  // 64-bit intermediate
}

TEST(DeviceContext, OffScreenSurfaceCopiesToTheScreen)
{
    QImage screen = whiteImage(30, 20);
    ImageDc screenDc(&screen, 96);
    std::unique_ptr<DeviceContext> memory = CreateCompatibleDC(&screenDc);
    ASSERT_TRUE(memory);
    EXPECT_EQ(memory->GetDeviceCaps(LOGPIXELSY), 96);
    GdiObject bitmap = CreateCompatibleBitmap(screenDc, 30, 20);
    ASSERT_NE(bitmap, 0u);
    GdiObject oldBitmap = memory->SelectObject(bitmap);
    EXPECT_NE(oldBitmap, 0u);
    EXPECT_EQ(memory->Surface(), GdiBitmapImage(bitmap));
    {
        PenAndBrush objects(*memory, PS_NULL, 0, 0, 0xFF0000);  // blue
        memory->Rectangle(0, 0, 31, 21);
        memory->SetROP2(R2_XORPEN);  // the copy ignores the mix mode
    }
    // Nothing reaches the screen until the copy.
    EXPECT_EQ(screen.pixel(5, 5), kWhite);
    memory->SetViewportOrgEx(0, 0);
    EXPECT_TRUE(BitBlt(screenDc, 0, 0, 30, 20, *memory, 0, 0, SRCCOPY));
    EXPECT_EQ(screen.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(screen.pixel(29, 19), qRgb(0, 0, 255));
    EXPECT_FALSE(BitBlt(screenDc, 0, 0, 30, 20, *memory, 0, 0, 0x660046));
    // A bitmap is in one memory context at a time.
    std::unique_ptr<DeviceContext> other = CreateCompatibleDC(&screenDc);
    EXPECT_EQ(other->SelectObject(bitmap), 0u);
    EXPECT_EQ(memory->SelectObject(oldBitmap), bitmap);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_FALSE(memory);
    EXPECT_FALSE(DeleteDC(memory));
}

TEST(DeviceContext, DegenerateBitmapsAndFiguresAreSafe)
{
    RecordingDc ref;
    GdiObject empty = CreateCompatibleBitmap(ref, 0, 50);
    ASSERT_NE(empty, 0u);
    EXPECT_EQ(DescribeGdiObject(empty).width, 1);
    EXPECT_EQ(CreateCompatibleBitmap(ref, -1, 5), 0u);
    DeleteObject(empty);

    QImage image = whiteImage(10, 10);
    ImageDc dc(&image, 96);
    const QPoint p[2] = {{0, 0}, {9, 9}};
    const int32_t bad[2] = {2, 1};
    dc.PolyPolygon(p, bad, 2);
    dc.PolyPolygon(p, bad, -4);
    dc.PolyPolyline(p, bad, 2);
    dc.Polygon(p, 1);
    dc.Polyline(nullptr, 5);
    dc.Rectangle(3, 3, 3, 9);
    EXPECT_TRUE(inkBox(image).isNull());
}

TEST(DeviceContext, SystemColoursOfTheBackgrounds)
{
    EXPECT_EQ(GetSysColor(5) & 0xFF000000, 0);
    EXPECT_NE(GetSysColor(3), GetSysColor(19));  // a gradient, not a flat band
    EXPECT_EQ(GetSysColor(42), 0);
}

// The drawing operators of a PDF page: its compressed streams, inflated.
QByteArray pdfPageOperators(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray pdf = file.readAll();
    QByteArray operators;
    for (int pos = 0; (pos = pdf.indexOf("stream\n", pos)) >= 0;) {
        pos += 7;
        int end = pdf.indexOf("endstream", pos);
        if (end < 0) break;
        // qUncompress wants the inflated size first; an upper bound will do.
        QByteArray zlib = QByteArray::fromHex("00100000") + pdf.mid(pos, end - pos);
        operators += qUncompress(zlib);
        pos = end;
    }
    return operators;
}

TEST(DeviceContext, PrinterFontsAreSizedInPrinterPixels)
{
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.file("page.pdf"));
    printer.setResolution(600);
    {
        PrinterDc dc(&printer);
        ASSERT_TRUE(dc.IsActive());
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 600);
        GdiObject font = CreateFontA(-MulDiv(12, dc.GetDeviceCaps(LOGPIXELSY), 72), 0, 0, FW_NORMAL, "Arial");
        GdiObject old = dc.SelectObject(font);
        // 12 points at 600 dpi: 100 pixels of em, about 112 of cell.
        EXPECT_NEAR(dc.GetTextExtentPoint32A("H").height(), 112, 3);
        dc.TextOutA(100, 100, "Dorv");
        dc.SelectObject(old);
        DeleteObject(font);
        EXPECT_TRUE(dc.EndDoc());
    }
    QFile pdf(dir.file("page.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}

TEST(DeviceContext, XorOnPaperDrawsWhatXorGivesOverWhite)
{
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.file("frame.pdf"));
    {
        PrinterDc dc(&printer);
        PenAndBrush objects(dc, PS_GEOMETRIC, 4, 0xFFFF00, 0);  // cyan
        const QPoint frame[5] = {{10, 10}, {200, 10}, {200, 200}, {10, 200}, {10, 10}};
        dc.SetROP2(R2_XORPEN);
        dc.Polyline(frame, 5);
        dc.SetROP2(R2_COPYPEN);
        dc.Polyline(frame, 5);
    }
    // The XOR frame strokes in red (cyan inverted), the ordinary one in cyan.
    const QByteArray ops = pdfPageOperators(dir.file("frame.pdf"));
    const int red = ops.indexOf("1 0 0 SCN"), cyan = ops.indexOf("0 1 1 SCN");
    EXPECT_GE(red, 0) << ops.constData();
    EXPECT_GT(cyan, red) << ops.constData();
}

TEST(DeviceContext, EveryShapeOfADrawingOfManyColoursKeepsItsOwnPenAndBrush)
{
    // More colours and widths than a painter keeps ready, so that what it
    // keeps is started again partway; each shape must still draw in the
    // colours of the objects selected for it, whether made before or after.
    QImage image = whiteImage(100, 100);
    ImageDc dc(&image, 96);
    const GdiObject early = CreateSolidBrush(RGB(1, 2, 3));
    for (int i = 0; i < 5000; ++i) {
        PenAndBrush pb(dc, PS_GEOMETRIC, 1 + i % 3, 0x10000 + i, 0x20000 + i);
        dc.Rectangle(10, 10, 60, 60);
        if (i % 997 == 0 || i == 4999) {
            const int32_t c = 0x20000 + i;
            EXPECT_EQ(image.pixel(30, 30), qRgb(c & 255, (c >> 8) & 255, (c >> 16) & 255)) << i;
            const int32_t l = 0x10000 + i;
            EXPECT_EQ(image.pixel(10, 30), qRgb(l & 255, (l >> 8) & 255, (l >> 16) & 255)) << i;
        }
    }
    const GdiObject old = dc.SelectObject(early);
    const GdiObject nullPen = CreatePen(PS_NULL, 1, 0);
    const GdiObject oldPen = dc.SelectObject(nullPen);
    dc.Rectangle(70, 70, 90, 90);
    EXPECT_EQ(image.pixel(80, 80), qRgb(1, 2, 3));
    dc.SelectObject(oldPen);
    dc.SelectObject(old);
    DeleteObject(nullPen);
    DeleteObject(early);
    EXPECT_EQ(LiveGdiObjectCount(), 0);
}

TEST(DeviceContext, AnObjectMadeInTheSlotOfAFreedOneDescribesOnlyItself)
{
    // The recorder and the metafile writers read these descriptions.
    const GdiObject font = CreateFontA(-20, 900, 900, 700, QStringLiteral("Arial"));
    ASSERT_TRUE(DeleteObject(font));
    const GdiObject pen = CreatePen(PS_GEOMETRIC, 5, 0x123456);
    GdiObjectInfo p = DescribeGdiObject(pen);
    EXPECT_EQ(p.kind, GdiKind::Pen);
    EXPECT_TRUE(p.face.isEmpty());
    EXPECT_EQ(p.height, 0);
    EXPECT_EQ(p.escapement, 0);
    EXPECT_EQ(p.weight, 0);
    ASSERT_TRUE(DeleteObject(pen));
    const GdiObject brush = CreateSolidBrush(0xABCDEF);
    const GdiObjectInfo b = DescribeGdiObject(brush);
    EXPECT_EQ(b.kind, GdiKind::Brush);
    EXPECT_EQ(b.colour, 0xABCDEF);
    EXPECT_EQ(b.style, 0);
    EXPECT_EQ(b.width, 0);
    EXPECT_FALSE(b.stock);
    DeleteObject(brush);
}
