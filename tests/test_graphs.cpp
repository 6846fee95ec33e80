// The item summary, the CSV item list, the spreadsheet and the charts: what
// they count and write, the calls they make and pixels of what they draw.
#include "platform/PainterDc.h"
#include "platform/RecordingDc.h"
#include "scene/LangMod.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "scene/WindowPort.h"
#include "support/OutsidePrograms.h"
#include "support/SampleItems.h"
#include "support/TempDir.h"
#include "views/Graphs.h"
#include "views/ViewRender.h"

#include <QFile>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <set>

using namespace Graphs;
using dorv::DcCall;
using dorv::DcOp;

namespace {
constexpr int kWidth = 600, kHeight = 400;

struct Port : WindowPort {
    int32_t page = 1;
    bool showItems = true;
    dorv::DeviceContext* canvas = nullptr;
    dorv::DeviceContext* CanvasDC() override { return canvas; }
    QSizeF CanvasSize() override { return {kWidth, kHeight}; }
    int32_t SpreadsheetPage() override { return page; }
    bool SpreadsheetShowsItems() override { return showItems; }
};

int32_t Rgb(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16);
}

std::vector<QString> Texts(const dorv::RecordingDc& dc)
{
    std::vector<QString> out;
    for (const DcCall& c : dc.Calls())
        if (c.op == DcOp::TextOut) out.push_back(c.text);
    return out;
}
const DcCall* FindText(const dorv::RecordingDc& dc, const QString& text)
{
    for (const DcCall& c : dc.Calls())
        if (c.op == DcOp::TextOut && c.text == text) return &c;
    return nullptr;
}
std::vector<const DcCall*> Calls(const dorv::RecordingDc& dc, DcOp op)
{
    std::vector<const DcCall*> out;
    for (const DcCall& c : dc.Calls())
        if (c.op == op) out.push_back(&c);
    return out;
}
// The fill colour of each polygon, in order: the brush selected when it was
// drawn.
std::vector<int32_t> PolygonFills(const dorv::RecordingDc& dc)
{
    std::map<dorv::GdiObject, int32_t> brushes;
    dorv::GdiObject current = 0;
    std::vector<int32_t> out;
    for (const DcCall& c : dc.Calls()) {
        if (c.op == DcOp::CreateSolidBrush) brushes[c.object] = c.c;
        if (c.op == DcOp::SelectObject && brushes.count(c.object)) current = c.object;
        if (c.op == DcOp::Polygon) out.push_back(brushes.count(current) ? brushes[current] : -1);
    }
    return out;
}

class Reports : public ::testing::Test {
protected:
    Port port;
    QLocale locale;

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        SetWindows(&port);
        G = SceneState();
        CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 3, 5, 2.5f, 0x336699, 0x608040);
        G.CurrencySymbol = QStringLiteral("$");
        G.CurrencyRate = 1;
    }
    void TearDown() override
    {
        SetWindows(nullptr);
        QLocale::setDefault(locale);
    }

    // The size of a text in the charts' font on a 600-pixel-wide drawing.
    static QSize Extent(const char* text)
    {
        dorv::RecordingDc dc;
        const dorv::GdiObject font = dorv::CreateFontA(ChartFontHeight(8, 600), 0, 0, 400, QStringLiteral("Arial"));
        const dorv::GdiObject old = dc.SelectObject(font);
        const QSize e = dc.GetTextExtentPoint32A(QLatin1String(text));
        dc.SelectObject(old);
        dorv::DeleteObject(font);
        return e;
    }

    int32_t Place(const char* name, float price, int32_t rgb = 0x2020C0)
    {
        ItemRecord item = TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, QLatin1String(name), 20000, 20000,
                                             20000, rgb);
        item.Price = price;
        G.PlacedItems.resize(static_cast<size_t>(G.PlacedItemCount) + 1);
        G.PlacedItems[static_cast<size_t>(G.PlacedItemCount)] = item;
        G.SpentTotal += price > 0 ? price : 0;
        return G.PlacedItemCount++;
    }
    // n groups of one item each, named Home\Item0 .. Home\Item<n-1>.
    void PlaceGroups(int n, float price = 1)
    {
        for (int i = 0; i < n; ++i) Place(qPrintable(QStringLiteral("Home\\Item%1").arg(i)), price);
    }
    int32_t Summary(std::vector<ItemSummary>& s, double& total)
    {
        return BuildItemSummary(G.PlacedItems, G.PlacedItemCount, s, total);
    }
    QImage Render(const std::function<void(dorv::DeviceContext&)>& draw, int w = kWidth, int h = kHeight)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::white);
        dorv::ImageDc dc(&img, 96);
        draw(dc);
        return img;
    }
};

// ---- the summary ----

TEST_F(Reports, SummaryGroupsByExactNameInPlacingOrderAndLeavesSectionsOut)
{
    ASSERT_GT(G.Room.FirstRealItem, 0);
    Place("Home\\Chair", 12.5f);
    Place("Home\\Desk", 40);
    Place("Home\\Chair", 12.5f);
    Place("Home\\chair", 10);  // another letter case: another group
    Place("Home\\Chair", 12.5f);
    std::vector<ItemSummary> s;
    double total = -1;
    ASSERT_EQ(Summary(s, total), 3);
    EXPECT_EQ(s[0].Name.trimmed(), QStringLiteral("Home\\Chair"));
    EXPECT_EQ(s[0].Name.str().size(), 32);
    EXPECT_EQ(s[0].Count, 3);
    EXPECT_EQ(s[0].FirstItem, G.Room.FirstRealItem);
    EXPECT_FLOAT_EQ(s[0].Value, 37.5f);
    EXPECT_EQ(s[1].Name.trimmed(), QStringLiteral("Home\\Desk"));
    EXPECT_EQ(s[1].FirstItem, G.Room.FirstRealItem + 1);
    EXPECT_EQ(s[2].Name.trimmed(), QStringLiteral("Home\\chair"));
    EXPECT_FLOAT_EQ(total, 87.5f);

    // Only sections: nothing at all, and a count past the array is not read.
    G.PlacedItemCount = G.Room.FirstRealItem;
    EXPECT_EQ(Summary(s, total), 0);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(BuildItemSummary(G.PlacedItems, 1000, s, total), 3);
}

TEST_F(Reports, UnpricedItemsAreLeftOutOnlyWhileMoneyIsSpentAndPricesAreInUse)
{
    Place("Home\\Rug", 0);
    Place("Home\\Desk", 40);
    Place("Home\\Rug", 0);
    std::vector<ItemSummary> s;
    double total = 0;
    ASSERT_EQ(Summary(s, total), 1);  // spent 40: the rugs go
    EXPECT_EQ(s[0].Name.trimmed(), QStringLiteral("Home\\Desk"));

    G.SpentTotal = 0;  // nothing spent yet: every item counts
    ASSERT_EQ(Summary(s, total), 2);
    EXPECT_EQ(s[0].Count, 2);
    EXPECT_EQ(s[0].Value, 0);
    EXPECT_FLOAT_EQ(total, 40);

    G.SpentTotal = 40;
    G.PlanInfo.noprices = true;  // a place without prices counts everything
    EXPECT_EQ(Summary(s, total), 2);
}

TEST_F(Reports, MoneyCountsAsSpentWhenItShowsAsAWholeAmountAndCountsAlwaysDraw)
{
    G.ViewMode = 3;
    auto draw = [&](int16_t kind) {
        G.GraphKind = kind;
        dorv::RecordingDc dc;
        DrawMod::DrawCurrentView(DrawMod::SceneViewDrawing(dc, 300, 200, 400));
        return Texts(dc);
    };
    auto shows = [](const std::vector<QString>& texts, const char* text) {
        return std::find(texts.begin(), texts.end(), QLatin1String(text)) != texts.end();
    };
    std::vector<ItemSummary> s;
    double total = 0;
    G.GraphShowCosts.fill(false);

    // A rug without a price stays; a desk and a lamp are bought and taken
    // away again, added and taken away in Singles, which leaves a crumb of
    // a cent in the spent total.
    Place("Home\\Rug", 0);
    const int32_t desk = Place("Home\\Desk", 12.99f);
    Place("Home\\Lamp", 0.35f);
    G.SpentTotal = 12.99f + 0.35f - 12.99f - 0.35f;  // deleted in the order they were placed
    G.PlacedItemCount = desk;
    ASSERT_NE(G.SpentTotal, 0.0f);
    // Nothing spent: the spreadsheet says so, the rug is counted and a count
    // graph of it is drawn.
    EXPECT_EQ(draw(0), std::vector<QString>{QStringLiteral("lang_NoItemsWithPricesToDisplay")});
    EXPECT_EQ(Summary(s, total), 1);
    EXPECT_TRUE(shows(draw(2), "lang_DorvBarGraph"));
    EXPECT_TRUE(shows(draw(1), "lang_DorvPieChart"));

    // Half a unit of money shows as 1: spent, and the unpriced rug leaves
    // the summary; 0.49 shows as 0.
    Place("Home\\Pin", 0.5f);
    G.SpentTotal = 0.5f;
    EXPECT_TRUE(shows(draw(0), "lang_DorvSpreadSheet"));
    ASSERT_EQ(Summary(s, total), 1);
    EXPECT_EQ(s[0].Name.trimmed(), QStringLiteral("Home\\Pin"));
    G.SpentTotal = 0.49f;
    EXPECT_EQ(draw(0), std::vector<QString>{QStringLiteral("lang_NoItemsWithPricesToDisplay")});
    EXPECT_EQ(Summary(s, total), 2);

    // Paid for, then made free in the price dialog: what is spent stays
    // spent, and with no priced item left every item is counted again.
    G.SpentTotal = 40;
    G.PlacedItems[size_t(G.PlacedItemCount - 1)].Price = 0;
    EXPECT_EQ(Summary(s, total), 2);
    EXPECT_TRUE(shows(draw(2), "lang_DorvBarGraph"));
}

// ---- the CSV list ----

TEST_F(Reports, CsvTextIsExactWithADecimalPointInEveryLocaleInUtf8)
{
    // A desktop in Portuguese (Brazil) writes "25,00" elsewhere; the list
    // keeps four columns.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    LangMod::AddLanguageEntry(QStringLiteral("lang_Price"), QStringLiteral("Preço"), QStringLiteral("msg"),
                              LangMod::MessageTexts, 5);
    LangMod::AddLanguageEntry(QStringLiteral("Sofa"), QStringLiteral("Sofá"), QStringLiteral("Living"),
                              LangMod::PlanInfoTexts, 5);
    G.UiLanguage = G.ItemLanguage = 5;
    Place("Living\\Sofa", 12.5f);
    Place("Home\\Lamp", 0.1f);
    Place("Living\\Sofa", 12.5f);
    Place("Living\\Sofa", 12.5f);
    // Names with a comma or a quote are quoted, their quotes doubled.
    Place("Home\\Desk, small", 1);
    Place("Home\\\"Big\" bed", 2000);
    G.CurrencyRate = 2;  // amounts are written in the display currency

    TempDir dir;
    const QString path = dir.file(QStringLiteral("items.csv"));
    QString error;
    ASSERT_TRUE(ExportItemListCsv(path, G.PlacedItems, G.PlacedItemCount, &error)) << qPrintable(error);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray expected = QByteArray("lang_Name,lang_Number,Pre\xC3\xA7o,lang_SubTotal\r\n") +
                                "Sof\xC3\xA1,  3,25.00,75.00\r\n" + "Lamp,  1,0.20,0.20\r\n" +
                                "\"Desk, small\",  1,2.00,2.00\r\n" + "\"\"\"Big\"\" bed\",  1,4000.00,4000.00\r\n" +
                                ",,lang_Total,4077.20\r\n";
    EXPECT_EQ(f.readAll(), expected);

    // Python's csv module, reading UTF-8 as a Linux desktop does, finds the
    // same four columns.
    NEED_OUTSIDE_PROGRAM("python3");
    const QString script = QStringLiteral(
        "import csv, sys\n"
        "for row in csv.reader(open(sys.argv[1], encoding='utf-8', newline='')):\n"
        "    sys.stdout.buffer.write('|'.join(row).encode() + b'\\n')");
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, path});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.readAllStandardError(), QByteArray());
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()),
              QStringLiteral("lang_Name|lang_Number|Preço|lang_SubTotal\nSofá|  3|25.00|75.00\nLamp|  1|0.20|0.20\n"
                             "Desk, small|  1|2.00|2.00\n\"Big\" bed|  1|4000.00|4000.00\n||lang_Total|4077.20\n"));
}

TEST_F(Reports, EveryTotalIsTheSumOfThePricesAsTheyShowToTheCent)
{
    // What a child adds up by hand: the dearest chairs a price may have, a
    // class set of cheaper ones, and a price that shows as 11.69 at a rate
    // of 1.17.
    const struct {
        float price, rate;
        int count;
        const char *each, *sum;
    } rows[] = {
        {39999.99f, 1, 4, "39999.99", "159999.96"}, {39999.99f, 1, 30, "39999.99", "1199999.70"},
        {9999.99f, 1, 6, "9999.99", "59999.94"},    {199.99f, 1, 43, "199.99", "8599.57"},
        {9.99f, 1.17f, 3, "11.69", "35.07"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.sum);
        G.PlacedItemCount = G.Room.FirstRealItem;
        G.CurrencyRate = row.rate;
        for (int i = 0; i < row.count; ++i) Place("Home\\Chair", row.price);
        const QString each = QLatin1String(row.each), sum = QLatin1String(row.sum);
        dorv::RecordingDc dc;
        DrawSpreadsheet(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400, 0, false);
        EXPECT_NE(FindText(dc, "$" + sum), nullptr);
        EXPECT_NE(FindText(dc, "lang_Total $" + sum), nullptr);
        EXPECT_EQ(ItemListCsvText(G.PlacedItems, G.PlacedItemCount).split('\n').mid(1, 2),
                  QList<QByteArray>({QStringLiteral("Chair,  %1,%2,%3\r").arg(row.count).arg(each, sum).toUtf8(),
                                     (",,lang_Total," + sum + "\r").toUtf8()}));
        // The cost the charts write over the chairs' bar and slice.
        for (auto draw : {DrawBarGraph, DrawPieChart}) {
            dc.Clear();
            draw(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
            EXPECT_NE(FindText(dc, "$" + sum), nullptr);
        }
    }
}

TEST_F(Reports, CsvOfAnEmptySceneAndUnpricedGroupsAndAFolderThatCannotBeWritten)
{
    EXPECT_EQ(ItemListCsvText(G.PlacedItems, G.PlacedItemCount),
              QByteArray("lang_Name,lang_Number,lang_Price,lang_SubTotal\r\n,,lang_Total,0.00\r\n"));
    Place("Home\\Rug", 0);
    Place("Home\\Rug", 0);
    EXPECT_EQ(ItemListCsvText(G.PlacedItems, G.PlacedItemCount),
              QByteArray("lang_Name,lang_Number,lang_Price,lang_SubTotal\r\nRug,  2,0.00,0.00\r\n"
                         ",,lang_Total,0.00\r\n"));
    TempDir dir;
    QString error;
    EXPECT_FALSE(ExportItemListCsv(dir.file(QStringLiteral("no/such/folder/items.csv")), G.PlacedItems,
                                   G.PlacedItemCount, &error));
    EXPECT_FALSE(error.isEmpty());
}

// ---- text and fonts ----

TEST_F(Reports, FontsGrowWithTheWidthAndTheCanvasResolution)
{
    EXPECT_EQ(ChartFontHeight(8, 600), -11);    // 8 x 96 / 72
    EXPECT_EQ(ChartFontHeight(8, 1200), -21);   // divisor 36
    EXPECT_EQ(ChartFontHeight(15, 600), -20);
    EXPECT_EQ(ChartFontHeight(8, 1000), -18);   // divisor 43: 17.86
    // No width, or one that rounds the divisor to 0, never divides by 0.
    EXPECT_EQ(ChartFontHeight(8, 0), -11);
    EXPECT_EQ(ChartFontHeight(8, -5), -11);
    EXPECT_LT(ChartFontHeight(8, 1e9f), 0);
    // The points are the canvas's, whatever the resolution of the target:
    // a page drawn for a 600-dpi printer keeps the screen's proportions.
    dorv::RecordingDc canvas(120);
    port.canvas = &canvas;
    EXPECT_EQ(ChartFontHeight(8, 600), -13);
    port.canvas = nullptr;
    dorv::RecordingDc printer(600);
    Place("Home\\Desk", 40);
    DrawSpreadsheet(printer, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400, 0, false);
    EXPECT_EQ(Calls(printer, DcOp::CreateFont).front()->a, -11);

    dorv::RecordingDc dc;
    DrawTextAlignedSized(dc, 100, 50, QStringLiteral("Sofa"), 8, 270, 1200, QStringLiteral("Arial"),
                         QStringLiteral("l"));
    const auto fonts = Calls(dc, DcOp::CreateFont);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0]->a, -21);
    EXPECT_EQ(fonts[0]->b, 2700);
    EXPECT_TRUE(dc.Undeleted().empty());
    const DcCall* t = FindText(dc, QStringLiteral("Sofa"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->a, 100);  // left edge at x, middle line at y
    EXPECT_LT(t->b, 50);

    // A code other than L, C or R draws nothing but still frees its font.
    dc.Clear();
    DrawTextAlignedSized(dc, 0, 0, QStringLiteral("x"), 8, 0, 600, QStringLiteral("Arial"), QStringLiteral("X"));
    EXPECT_TRUE(Texts(dc).empty());
    EXPECT_TRUE(dc.Undeleted().empty());
}

TEST_F(Reports, AlignedTextStandsOnItsMiddleLine)
{
    dorv::RecordingDc dc;
    const dorv::GdiObject font = dorv::CreateFontA(-16, 0, 0, 400, QStringLiteral("Arial"));
    dc.SelectObject(font);
    const QSize e = dc.GetTextExtentPoint32A(QStringLiteral("Total"));
    DrawTextAligned(dc, 200, 100, QStringLiteral("Total"), QStringLiteral("c"));
    DrawTextAligned(dc, 200, 100, QStringLiteral("Total"), QStringLiteral("R"));
    const auto t = Calls(dc, DcOp::TextOut);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_NEAR(t[0]->a, 200 - e.width() / 2.0, 0.5);
    EXPECT_EQ(t[1]->a, 200 - e.width());
    EXPECT_NEAR(t[0]->b, 100 - e.height() / 2.0, 0.5);
    dc.SelectObject(0);
    dorv::DeleteObject(font);
}

// ---- the spreadsheet ----

TEST_F(Reports, SpreadsheetPagesHoldTwentyRowsOrTenWithPictures)
{
    EXPECT_EQ(GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount, false), 1);
    PlaceGroups(10);
    EXPECT_EQ(GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount, true), 1);
    PlaceGroups(11);  // Item0 .. Item9 join their groups, Item10 makes 11
    EXPECT_EQ(GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount, true), 2);
    Place("Home\\Other1", 1);
    Place("Home\\Other2", 1);
    Place("Home\\Other3", 1);
    Place("Home\\Other4", 1);
    Place("Home\\Other5", 1);
    Place("Home\\Other6", 1);
    Place("Home\\Other7", 1);
    Place("Home\\Other8", 1);
    Place("Home\\Other9", 1);
    Place("Home\\Other10", 1);  // 21 groups
    EXPECT_EQ(GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount, false), 2);
    EXPECT_EQ(GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount, true), 3);
    port.showItems = false;
    EXPECT_EQ(GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount), 2);
}

TEST_F(Reports, SpreadsheetShowsTheTotalOnTheLastPageAndThePageOnEvery)
{
    PlaceGroups(20, 2);
    Place("Home\\Item0", 2);
    Place("Home\\Last", 5);  // 21 groups: two pages without pictures
    dorv::RecordingDc dc;
    DrawSpreadsheet(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400, 0, false);
    std::vector<QString> t = Texts(dc);
    EXPECT_NE(FindText(dc, QStringLiteral("lang_Page 1 lang_of 2")), nullptr);
    EXPECT_EQ(FindText(dc, QStringLiteral("lang_Total $47.00")), nullptr);
    EXPECT_NE(FindText(dc, QStringLiteral(" 2")), nullptr);     // Item0, twice
    EXPECT_NE(FindText(dc, QStringLiteral("$4.00")), nullptr);  // its subtotal
    EXPECT_EQ(FindText(dc, QStringLiteral("Last")), nullptr);
    EXPECT_TRUE(dc.Undeleted().empty());
    // The font: 8 points on 600 pixels.
    EXPECT_EQ(Calls(dc, DcOp::CreateFont).front()->a, -11);

    dc.Clear();
    DrawSpreadsheet(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400, 1, false);
    EXPECT_NE(FindText(dc, QStringLiteral("lang_Page 2 lang_of 2")), nullptr);
    EXPECT_NE(FindText(dc, QStringLiteral("Last")), nullptr);
    EXPECT_EQ(FindText(dc, QStringLiteral("Item0")), nullptr);
    // The sum over every group, not only this page's one row.
    EXPECT_NE(FindText(dc, QStringLiteral("lang_Total $47.00")), nullptr);

    // Past the last page: the first rows again.
    dc.Clear();
    DrawSpreadsheet(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400, 2, false);
    EXPECT_NE(FindText(dc, QStringLiteral("Item0")), nullptr);
    EXPECT_NE(FindText(dc, QStringLiteral("lang_Page 3 lang_of 2")), nullptr);
}

TEST_F(Reports, SpreadsheetPixelsAndItemPictures)
{
    Place("Home\\Desk", 40, 0x2020C0);
    Place("Home\\Desk", 40, 0x2020C0);
    const QImage img = Render([&](dorv::DeviceContext& dc) {
        DrawSpreadsheet(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400, 0, true);
    });
    // Title band: light blue at its top (x from 30 to 570, y from T + 0.3r).
    const double r = 400.0 / 13;
    const QRgb band = img.pixel(100, int(0.3 * r) + 1);
    EXPECT_GT(qBlue(band), qRed(band));  // &HFFCCCC: blue high, red low
    // The first row's picture cell holds the desk's own colour.
    bool desk = false;
    for (int y = int(1.5 * r); y < int(2.5 * r) && !desk; ++y)
        for (int x = 30; x < 120 && !desk; ++x) desk = Rgb(img, x, y) == 0x2020C0;
    EXPECT_TRUE(desk);
    // The grey cell frames.
    EXPECT_EQ(Rgb(img, 300 - 75, int(1.5 * r) + 5), 0xCCCCCC);
}

TEST_F(Reports, ALongNameIsCutToItsSpreadsheetCell)
{
    Place("Home\\Tall cupboard with glass doors", 40);
    Place("Home\\Stool", 5);
    for (bool pictures : {true, false}) {
        dorv::RecordingDc dc;
        DrawSpreadsheet(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400, 0, pictures);
        // The name cell, u = 30: from cx - 6u (with pictures) or from
        // cx - w/2 + u, to cx - 2.5u - 5.
        const int cellLeft = pictures ? 120 : 30, cellRight = 300 - 75 - 5;
        const DcCall* name = nullptr;
        for (const DcCall& c : dc.Calls())
            if (c.op == DcOp::TextOut && c.text.startsWith("Tall")) name = &c;
        ASSERT_NE(name, nullptr);
        EXPECT_GE(name->a, cellLeft);
        EXPECT_LE(name->a + Extent(qPrintable(name->text)).width(), cellRight) << name->text.toStdString();
        // Cut where it must be, and marked as cut; a short name stands whole.
        EXPECT_EQ(name->text.endsWith("..."), pictures) << name->text.toStdString();
        EXPECT_NE(FindText(dc, "Stool"), nullptr);
    }
}

// ---- the charts ----

TEST_F(Reports, PieOfOneGroupIsOneRedSliceLabelledLeftOfTheCentre)
{
    Place("Home\\Desk", 40);
    G.GraphShowCosts[0] = false;
    dorv::RecordingDc dc;
    DrawPieChart(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    // The shadow's three ellipses, then the one top face.
    const auto fills = PolygonFills(dc);
    ASSERT_EQ(fills.size(), 4u);
    EXPECT_EQ(fills[3], 0xFF);
    EXPECT_TRUE(dc.Undeleted().empty());
    // B = 160, C = 180; the label at 0.7B, half a turn round.
    const auto labels = Calls(dc, DcOp::TextOut);
    const DcCall* one = nullptr;
    for (const DcCall* c : labels)
        if (c->text == QStringLiteral(" 1") && c->a < 250) one = c;
    ASSERT_NE(one, nullptr);
    EXPECT_NEAR(one->a + Extent(" 1").width() / 2.0, 300 - 0.7 * 160, 1);

    const QImage img = Render([&](dorv::DeviceContext& d) {
        DrawPieChart(d, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    });
    EXPECT_EQ(Rgb(img, 300 + 60, 180 - 60), 0xFF);  // inside the slice: red
}

TEST_F(Reports, PieColoursRepeatAfterNineAndThinSlicesAreLabelledOutside)
{
    PlaceGroups(10);
    for (int i = 0; i < 40; ++i) Place("Home\\Item0", 1);  // one big slice, nine thin ones
    G.GraphShowCosts[0] = false;
    G.GraphShowPictures[0] = false;
    dorv::RecordingDc dc;
    DrawPieChart(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    const auto fills = PolygonFills(dc);
    ASSERT_EQ(fills.size(), 3u + 10u);
    EXPECT_EQ(fills[3], 0xFF);
    EXPECT_EQ(fills[4], 0x88FF);
    EXPECT_EQ(fills[3 + 9], 0xFF);  // the tenth slice takes the first colour again
    // Slice 2 spans 1/50 of a turn (0.126 rad): its number stands at 0.88B.
    const double k = 6.2831856 / 50, am = k * (41 + 0.5);
    const QSize e = Extent(" 2");
    bool found = false;
    for (const DcCall* c : Calls(dc, DcOp::TextOut)) {
        if (c->text != QStringLiteral(" 2")) continue;
        const double x = c->a + e.width() / 2.0;
        if (std::abs(x - (300 + 0.88 * 160 * std::cos(am))) < 2) found = true;
    }
    EXPECT_TRUE(found);
}

TEST_F(Reports, ThreeDPieGivesSidesOnlyToTheFrontHalf)
{
    Place("Home\\A", 1);  // angles 0 .. pi/2: back half only
    for (int i = 0; i < 3; ++i) Place("Home\\B", 1);  // pi/2 .. 2 pi
    G.GraphShowCosts[0] = false;
    G.Graph3D[0] = true;
    dorv::RecordingDc dc;
    DrawPieChart(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    const auto fills = PolygonFills(dc);
    // Three shadows, one side band (B's), two tops.
    ASSERT_EQ(fills.size(), 6u);
    EXPECT_EQ(fills[3], 0x4488);
    EXPECT_EQ(fills[4], 0xFF);
    EXPECT_EQ(fills[5], 0x88FF);
}

TEST_F(Reports, ChartsOfNothingToPlotDrawNoSlicesOrColumnsAndNeverHang)
{
    Place("Home\\Rug", 0);
    G.SpentTotal = 0;
    G.GraphShowCosts.fill(true);  // costs of a scene without prices: sum 0
    for (auto draw : {DrawPieChart, DrawBarGraph, DrawPictogram, DrawLineGraph}) {
        dorv::RecordingDc dc;
        draw(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
        EXPECT_TRUE(dc.Undeleted().empty());
        EXPECT_TRUE(Calls(dc, DcOp::Polygon).empty());
        EXPECT_FALSE(Texts(dc).empty());  // the title at least
        // An area too small to draw in draws nothing.
        dc.Clear();
        draw(dc, G.PlacedItems, G.PlacedItemCount, 0, 0, 0, 0);
        EXPECT_TRUE(dc.Calls().empty());
    }
    // A slice of a sum so large that a fiftieth no longer moves the angle.
    Place("Home\\Palace", 2e7f);
    Place("Home\\Pebble", 1);
    const auto start = std::chrono::steady_clock::now();
    for (bool in3D : {false, true}) {
        G.Graph3D[0] = in3D;
        dorv::RecordingDc dc;
        DrawPieChart(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
        for (const DcCall* p : Calls(dc, DcOp::Polygon)) EXPECT_LE(p->points.size(), 801u);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(Reports, GridStepsFollowTheLargestValueAndCountsStepInWholeItems)
{
    Place("Home\\Desk", 1);
    G.GraphShowCosts[1] = true;
    dorv::RecordingDc dc;
    DrawBarGraph(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    // A largest cost of 1: scale 248, divided once: lines 24.8 apart, each
    // labelled 0.0, 0.1, ...
    for (const char* label : {"$0.0", "$0.1", "$0.5", "$1.0"})
        EXPECT_NE(FindText(dc, QLatin1String(label)), nullptr) << label;
    EXPECT_EQ(FindText(dc, QStringLiteral("$2.0")), nullptr);
    // The column's top stands at the line labelled 1.0 (y0 - 248 = 52).
    const DcCall* bar = nullptr;
    for (const DcCall* c : Calls(dc, DcOp::Rectangle))
        if (c->b == 300 || c->d == 300) bar = c;
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(std::min(bar->b, bar->d), 52);

    Place("Home\\Desk", 1);
    Place("Home\\Desk", 1);  // largest 3: spacing 8.27, every fifth line labelled
    dc.Clear();
    DrawBarGraph(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    for (const char* label : {"$0.0", "$0.5", "$1.0", "$3.0"})
        EXPECT_NE(FindText(dc, QLatin1String(label)), nullptr) << label;
    EXPECT_EQ(FindText(dc, QStringLiteral("$0.1")), nullptr);
    EXPECT_TRUE(dc.Undeleted().empty());

    // Counted, the same three desks, or one, step by whole items: a line
    // for each, labelled, and never half a desk.
    using Chart = void (*)(dorv::DeviceContext&, const std::vector<ItemRecord>&, int32_t, float, float, int32_t,
                           int32_t);
    G.GraphShowCosts.fill(false);
    for (int32_t desks : {3, 1}) {
        G.PlacedItemCount = G.Room.FirstRealItem + desks;
        for (Chart chart : {&DrawBarGraph, &DrawPictogram, &DrawLineGraph}) {
            dc.Clear();
            chart(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
            for (int32_t n = 0; n <= desks; ++n) EXPECT_NE(FindText(dc, QString::number(n)), nullptr) << n;
            for (const QString& t : Texts(dc)) EXPECT_FALSE(t.contains(QLatin1Char('.'))) << t.toStdString();
        }
    }
}

TEST_F(Reports, GridLabelsOfACheapSceneAreEachTheirOwn)
{
    // 35 cents: spacing 248 / 0.35 divided twice, 7.09 pixels for a cent,
    // every fifth line labelled with the cents it stands for.
    Place("Home\\Pin", 0.35f);
    G.GraphShowCosts[1] = true;
    auto labels = [&] {
        dorv::RecordingDc dc;
        DrawBarGraph(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
        std::vector<QString> grid;
        for (const QString& t : Texts(dc))
            if (t.startsWith(QLatin1Char('$'))) grid.push_back(t);
        return grid;
    };
    std::vector<QString> grid = labels();
    ASSERT_GE(grid.size(), 8u);
    EXPECT_EQ(std::vector<QString>(grid.begin(), grid.begin() + 4),
              (std::vector<QString>{"$0.00", "$0.05", "$0.10", "$0.15"}));
    // The cost over the column is money: two decimals whatever the grid.
    grid.erase(std::remove(grid.begin(), grid.end(), QStringLiteral("$0.35")), grid.end());
    std::sort(grid.begin(), grid.end());
    EXPECT_EQ(std::adjacent_find(grid.begin(), grid.end()), grid.end());

    // A tenth of that: three decimals.
    G.PlacedItems[size_t(G.PlacedItemCount - 1)].Price = 0.035f;
    grid = labels();
    ASSERT_GE(grid.size(), 3u);
    EXPECT_EQ(grid[1], QStringLiteral("$0.005"));
}

TEST_F(Reports, CostsArePlottedInTheDisplayCurrencyWithItsSymbol)
{
    Place("Home\\Desk", 10);
    Place("Home\\Lamp", 5);
    G.CurrencyRate = 2;
    G.CurrencySymbol = QStringLiteral("R$");
    dorv::RecordingDc dc;
    DrawBarGraph(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    // Largest value 20: lines 12.4 pixels apart for steps of 1, every fifth
    // labelled, in whole numbers after the symbol.
    bool symbol = false;
    for (const QString& t : Texts(dc)) symbol |= t.startsWith(QStringLiteral("R$")) && !t.contains(QLatin1Char('.'));
    EXPECT_TRUE(symbol);
    EXPECT_NE(FindText(dc, QStringLiteral("R$20.00")), nullptr);  // the desk's cost over its column
    EXPECT_NE(FindText(dc, QStringLiteral("R$10.00")), nullptr);
}

TEST_F(Reports, BarsIn3DAndTheirColoursRepeatAfterNine)
{
    PlaceGroups(10);
    G.GraphShowCosts[1] = false;
    G.Graph3D[1] = true;
    dorv::RecordingDc dc;
    DrawBarGraph(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    const auto fills = PolygonFills(dc);
    ASSERT_EQ(fills.size(), 10u);
    EXPECT_EQ(fills[0], 0x88);
    EXPECT_EQ(fills[9], 0x88);
    const auto p = Calls(dc, DcOp::Polygon);
    EXPECT_EQ(p[0]->points.size(), 6u);
    EXPECT_TRUE(dc.Undeleted().empty());

    const QImage img = Render([&](dorv::DeviceContext& d) {
        DrawBarGraph(d, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    });
    // s = 50: the first bar from x 60 to 100, y 52 to 300, in red.
    EXPECT_EQ(Rgb(img, 80, 200), 0xFF);
    EXPECT_EQ(Rgb(img, 101, 100), 0x88);  // its dark right side
}

TEST_F(Reports, PictogramColumnsHoldPicturesEvenForATinyValue)
{
    Place("Home\\Desk", 100, 0x2020C0);
    Place("Home\\Pin", 0.01f, 0x20C020);
    G.GraphShowCosts[2] = true;
    G.GraphShowPictures[2] = false;
    const QImage img = Render([&](dorv::DeviceContext& d) {
        DrawPictogram(d, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    });
    // s = 150; the pin's column at x 330 .. 450 is a sliver, but one picture
    // of the pin stands on the base line (y 300).
    int pin = 0, desk = 0;
    for (int y = 250; y < 300; ++y)
        for (int x = 330; x < 370; ++x) pin += Rgb(img, x, y) == 0x20C020;
    for (int y = 60; y < 300; ++y)
        for (int x = 180; x < 220; ++x) desk += Rgb(img, x, y) == 0x2020C0;
    EXPECT_GT(pin, 0);
    EXPECT_GT(desk, pin * 5);  // the desk's column is full of desks
}

TEST_F(Reports, LineGraphAndTheAreaGraphClosingAlongTheBaseLine)
{
    Place("Home\\A", 1);
    Place("Home\\B", 1);
    Place("Home\\B", 1);
    G.GraphShowCosts[3] = false;
    dorv::RecordingDc dc;
    DrawLineGraph(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    const auto lines = Calls(dc, DcOp::Polyline);
    ASSERT_FALSE(lines.empty());
    // s = 150: points at x 240 and 390; B (2, the largest) at y0 - 248 = 52.
    EXPECT_EQ(lines[0]->points, (std::vector<QPoint>{{240, 176}, {390, 52}}));

    G.Graph3D[3] = true;
    dc.Clear();
    DrawLineGraph(dc, G.PlacedItems, G.PlacedItemCount, 300, 200, 600, 400);
    const auto fills = PolygonFills(dc);
    ASSERT_GE(fills.size(), 1u);
    EXPECT_EQ(fills[0], 0xFF);
    EXPECT_EQ(Calls(dc, DcOp::Polygon)[0]->points,
              (std::vector<QPoint>{{240, 176}, {390, 52}, {390, 300}, {240, 300}}));
    EXPECT_TRUE(dc.Undeleted().empty());
}

// ---- the view ----

// The box each text of a recording covers, turned with its font.
std::vector<std::pair<QRect, QString>> TextBoxes(const dorv::RecordingDc& dc)
{
    std::map<dorv::GdiObject, int32_t> escapements;
    int32_t escapement = 0;
    std::vector<std::pair<QRect, QString>> out;
    for (const DcCall& c : dc.Calls()) {
        if (c.op == DcOp::CreateFont) escapements[c.object] = c.b;
        if (c.op == DcOp::SelectObject && escapements.count(c.object)) escapement = escapements[c.object];
        if (c.op != DcOp::TextOut) continue;
        // Turned to run downwards, a text's height lies left of its corner;
        // turned to run upwards, its length lies above the corner.
        const QRect box = escapement == 2700 ? QRect(c.a - c.d, c.b, c.d, c.c)
                          : escapement == 900 ? QRect(c.a, c.b - c.c, c.d, c.c)
                                              : QRect(c.a, c.b, c.c, c.d);
        out.emplace_back(box, c.text);
    }
    return out;
}
// Boxes cover left .. left + width, top .. top + height.
bool Overlap(const QRect& a, const QRect& b)
{
    return a.x() < b.x() + b.width() && b.x() < a.x() + a.width() && a.y() < b.y() + b.height() &&
           b.y() < a.y() + a.height();
}
QRect Bounds(const std::vector<QPoint>& points)
{
    QRect r;
    for (const QPoint& p : points) r |= QRect(p, QSize(1, 1));
    return r;
}
// Whether the line from a to b, `clear` pixels thick on each side, touches
// the box (sampled every half pixel).
bool Touches(QPointF a, QPointF b, const QRect& box, double clear)
{
    const QRectF wide = QRectF(box).adjusted(-clear, -clear, clear, clear);
    const int n = int(std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())) * 2) + 1;
    for (int i = 0; i <= n; ++i) {
        const QPointF p = a + (b - a) * (double(i) / n);
        if (p.x() > wide.left() && p.x() < wide.right() && p.y() > wide.top() && p.y() < wide.bottom()) return true;
    }
    return false;
}

TEST_F(Reports, ChartLabelsStayOnTheCanvasApartAndClearOfWhatTheyDescribe)
{
    // Twenty kinds with long names on the canvas that a 1024 x 768 screen
    // leaves a chart beside its panel: costs up to 1500 that jump from one
    // kind to the next, and pairs of small slices side by side in the pie.
    std::set<QString> prices;
    for (int i = 0; i < 20; ++i) {
        const float price = i % 3 == 0 ? 1500 - 10.0f * i : 9 + 2.0f * i;
        Place(qPrintable(QStringLiteral("Home\\Teacher's wide desk %1").arg(i)), price);
        if (i % 4 == 1) Place(qPrintable(QStringLiteral("Home\\Teacher's wide desk %1").arg(i)), price);
        prices.insert(CommonMod::FormatMoney(i % 4 == 1 ? 2 * price : price, 1));
    }
    const int w = 520, h = 595;
    using Chart = void (*)(dorv::DeviceContext&, const std::vector<ItemRecord>&, int32_t, float, float, int32_t,
                           int32_t);
    const Chart charts[] = {&DrawPieChart, &DrawBarGraph, &DrawPictogram, &DrawLineGraph};
    for (int kind = 0; kind < 4; ++kind) {
        for (int variant = 0; variant < 4; ++variant) {
            const bool in3D = variant & 1, pictures = variant & 2;
            G.GraphShowCosts.fill(true);
            G.GraphShowPictures.fill(pictures);
            G.Graph3D.fill(in3D);
            dorv::RecordingDc dc;
            charts[kind](dc, G.PlacedItems, G.PlacedItemCount, w / 2.0f, h / 2.0f, w, h);
            const std::string where = std::to_string(kind) + (in3D ? " in 3D" : "") + (pictures ? " with pictures" : "");
            const auto texts = TextBoxes(dc);
            int names = 0, costs = 0;
            for (const auto& [box, text] : texts) {
                names += text.startsWith("Teacher");
                costs += int(prices.count(text));
                // Wholly on the canvas.
                EXPECT_TRUE(box.x() >= 0 && box.y() >= 0 && box.x() + box.width() <= w && box.y() + box.height() <= h)
                    << where << ": " << text.toStdString() << " leaves the canvas";
            }
            EXPECT_EQ(names, pictures ? 0 : 20) << where;
            EXPECT_GE(costs, 20) << where;
            // Over no other label.
            for (size_t i = 0; i < texts.size(); ++i)
                for (size_t j = i + 1; j < texts.size(); ++j)
                    EXPECT_FALSE(Overlap(texts[i].first, texts[j].first))
                        << where << ": " << texts[i].second.toStdString() << " over " << texts[j].second.toStdString();
            EXPECT_TRUE(dc.Undeleted().empty());
            if (kind == 0) continue;
            // A cost keeps clear of the bars, the columns and their pictures,
            // the markers, and the line (4 pixels wide) or the area's outline.
            std::vector<QRect> drawn;
            std::vector<std::vector<QPoint>> lines;
            for (const DcCall& c : dc.Calls()) {
                if (c.op == DcOp::Rectangle) drawn.push_back(QRect(QPoint(c.a, c.b), QPoint(c.c, c.d)).normalized());
                if (c.op == DcOp::Polyline && kind == 3) {
                    lines.push_back(c.points);
                } else if (c.op == DcOp::Polygon && kind == 3 && c.points.size() != 180) {
                    lines.push_back(c.points);
                    lines.back().push_back(c.points.front());
                } else if (c.op == DcOp::Polygon || c.op == DcOp::PolyPolygon || c.op == DcOp::Polyline) {
                    drawn.push_back(Bounds(c.points));
                }
            }
            for (const auto& [box, text] : texts) {
                if (!prices.count(text)) continue;
                for (const QRect& r : drawn)
                    EXPECT_FALSE(Overlap(box, r)) << where << ": " << text.toStdString() << " on a shape";
                for (const auto& line : lines)
                    for (size_t i = 1; i < line.size(); ++i)
                        EXPECT_FALSE(Touches(line[i - 1], line[i], box, 2))
                            << where << ": the line runs over " << text.toStdString();
            }
        }
    }
}

// The classroom example's costs (tall and short side by side, an 8 between a
// 149 and a 531) drawn on the canvas beside the graph panel on a 1280 x 1024
// and on a 1024 x 768 screen.
class ClassroomCosts : public Reports {
protected:
    static constexpr float kCosts[20] = {69, 129, 149, 399, 89, 149, 8, 531, 342, 747,
                                         189, 139, 25, 119, 90, 59, 119, 29, 189, 35};
    static constexpr QSize kCanvases[2] = {{776, 850}, {520, 595}};
    dorv::RecordingDc dc;
    std::vector<QRect> boxes;     // the costs' boxes in the groups' order
    std::vector<bool> white;      // and whether each is written in white
    int y0 = 0, left = 0, s = 0;  // from the grid: the base line, the first column's left, the columns' width

    void Draw(decltype(&DrawBarGraph) chart, bool in3D, const QSize& canvas)
    {
        Reports::SetUp();
        for (int i = 0; i < 20; ++i) Place(qPrintable(QStringLiteral("Home\\Kind%1").arg(i)), kCosts[i]);
        G.GraphShowCosts.fill(true);
        G.Graph3D.fill(in3D);
        dc.Clear();
        chart(dc, G.PlacedItems, G.PlacedItemCount, canvas.width() / 2.0f, canvas.height() / 2.0f, canvas.width(),
              canvas.height());
        const auto texts = TextBoxes(dc);
        boxes.clear();
        white.clear();
        bool light = false;
        size_t n = 0;
        for (const DcCall& c : dc.Calls()) {
            if (c.op == DcOp::SetTextColor) light = c.c == 0xFFFFFF;
            if (c.op != DcOp::TextOut) continue;
            if (c.text.contains(QLatin1Char('.'))) boxes.push_back(texts[n].first), white.push_back(light);
            ++n;  // the grid's labels are whole, the names have no point
        }
        // The grid runs from the first column's slot to a slot short of the right edge.
        y0 = Calls(dc, DcOp::MoveTo).front()->b;
        left = Calls(dc, DcOp::MoveTo).front()->a;
        s = canvas.width() - Calls(dc, DcOp::LineTo).front()->a;
    }
};

TEST_F(ClassroomCosts, EachCostStandsJustOverItsOwnColumn)
{
    for (const auto chart : {&DrawBarGraph, &DrawPictogram})
        for (const bool in3D : {false, true})
            for (const QSize& canvas : kCanvases) {
                SCOPED_TRACE(::testing::Message() << (chart == &DrawPictogram) << in3D << canvas.width());
                Draw(chart, in3D, canvas);
                ASSERT_EQ(boxes.size(), 20u);
                const double h = canvas.height(), depth = !in3D ? 0 : chart == &DrawPictogram ? 14 : 0.05 * s;
                for (int g = 0; g < 20; ++g) {
                    // The column's top: its 3D top, or its first picture.
                    const double x0 = left + g * s, column = y0 - kCosts[g] * 0.62 * h / 747 - depth;
                    const double top = chart == &DrawPictogram ? std::min(column, y0 - h / 20) : column;
                    const QRect& box = boxes[size_t(g)];
                    EXPECT_TRUE(box.center().x() >= x0 + 0.2 * s - 1 && box.center().x() <= x0 + s + depth + 1) << g;
                    EXPECT_TRUE(box.bottom() <= top + 1 && box.bottom() >= top - 0.03 * h - 3) << g << " off its top";
                }
            }
}

TEST_F(ClassroomCosts, EachCostOfTheLineStandsByItsOwnPointAboveTheAxisAndReadsOnTheArea)
{
    for (const bool area : {false, true})
        for (const QSize& canvas : kCanvases) {
            SCOPED_TRACE(::testing::Message() << area << canvas.width());
            Draw(&DrawLineGraph, area, canvas);
            std::vector<QPoint> points;  // the markers' centres
            for (const DcCall* p : Calls(dc, DcOp::Polygon))
                if (p->points.size() == 180) points.push_back(Bounds(p->points).center());
            ASSERT_TRUE(boxes.size() == 20u && points.size() == 20u);
            const auto& first = Calls(dc, DcOp::Polygon).front()->points;  // the area, drawn before the markers
            const QPolygonF fill = area ? QPolygon(QList<QPoint>(first.begin(), first.end())) : QPolygon();
            const int reach = int(std::lround(0.01 * canvas.height())) + 4;  // the marker's radius and a gap
            for (int g = 0; g < 20; ++g) {
                const QRect& box = boxes[size_t(g)];
                const QPoint p = points[size_t(g)];
                EXPECT_LT(box.bottom(), y0 - 1) << g << " is on or under the base line";
                // Over, under or right beside its point, and near it.
                EXPECT_TRUE(box.x() <= p.x() + reach && box.x() + box.width() >= p.x() - reach) << g;
                EXPECT_LT(QLineF(box.center(), p).length(), 0.06 * canvas.height() + box.width() / 2.0) << g;
                // Dark off the area, white wholly on it.
                for (const QPointF& corner : QPolygonF(QRectF(box)))
                    EXPECT_EQ(fill.containsPoint(corner, Qt::OddEvenFill), bool(white[size_t(g)])) << g;
            }
            EXPECT_EQ(std::count(white.begin(), white.end(), true) > 0, area);  // deep valleys' costs by their points
        }
}

TEST_F(Reports, TheViewShowsWhyThereIsNothingToShow)
{
    G.ViewMode = 3;
    G.GraphKind = 0;
    auto draw = [&] {
        dorv::RecordingDc dc;
        DrawMod::DrawCurrentView(DrawMod::SceneViewDrawing(dc, 300, 200, 400));
        return Texts(dc);
    };
    EXPECT_EQ(draw(), std::vector<QString>{QStringLiteral("lang_NoItemsToDisplay")});
    Place("Home\\Rug", 0);
    EXPECT_EQ(draw(), std::vector<QString>{QStringLiteral("lang_NoItemsWithPricesToDisplay")});
    G.GraphKind = 2;
    G.GraphShowCosts[1] = false;  // a count graph is drawn all the same
    EXPECT_NE(draw().size(), 1u);
    G.GraphShowCosts[1] = true;
    EXPECT_EQ(draw(), std::vector<QString>{QStringLiteral("lang_NoItemsWithPricesToDisplay")});
    G.GraphKind = 0;
    Place("Home\\Desk", 40);
    port.page = 0;  // a page box reading 0 shows the first page
    const std::vector<QString> texts = draw();
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("lang_Page 1 lang_of 1")), texts.end());
}

}  // namespace
