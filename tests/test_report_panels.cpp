// The graph options panel, the spreadsheet options panel and the price
// dialog, driven as a child would drive them.
#include "app/Main.h"
#include "app/frmChangePrice.h"
#include "app/frmGraphs.h"
#include "app/frmSpreadSht.h"
#include "platform/AppInfo.h"
#include "platform/RecordingDc.h"
#include "platform/Rounding.h"
#include "scene/ItemCatalogue.h"
#include "scene/LangMod.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/WindowPort.h"
#include "support/ItemFiles.h"
#include "support/NewPlaceScript.h"
#include "support/TestDialogs.h"
#include "support/SampleItems.h"
#include "support/TempDir.h"
#include "support/WaitFor.h"
#include "views/Graphs.h"
#include "views/ViewRender.h"

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A canvas that records what the view draws, and the spreadsheet panel's
// settings as the main window passes them on.
struct Canvas : WindowPort {
    dorv::RecordingDc dc;
    int redraws = 0;
    dorv::DeviceContext* CanvasDC() override { return &dc; }
    QSizeF CanvasSize() override { return {600, 400}; }
    void ShowCanvas(const dorv::DeviceContext&, int, int) override { ++redraws; }
    int32_t SpreadsheetPage() override { return frmSpreadSht::Window()->PageNumber(); }
    bool SpreadsheetShowsItems() override { return frmSpreadSht::Window()->ShowItems(); }
    bool Drew(const QString& text) const
    {
        for (const dorv::DcCall& c : dc.Calls())
            if (c.op == dorv::DcOp::TextOut && c.text == text) return true;
        return false;
    }
};

class Panels : public ::testing::Test {
protected:
    Canvas canvas;

    static void SetUpTestSuite()
    {
        dorv::SetAppPath(QStringLiteral(DORV_CONTENT_BUILD_DIR));
        dorv::Form::Register(QStringLiteral("frmGraphs"), [] { return new frmGraphs; });
        dorv::Form::Register(QStringLiteral("frmSpreadSht"), [] { return new frmSpreadSht; });
        dorv::Form::Register(QStringLiteral("frmChangePrice"), [] { return new frmChangePrice; });
    }
    void SetUp() override
    {
        G = SceneState();
        SetWindows(&canvas);
        CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 3, 5, 2.5f, 0x336699, 0x608040);
        G.CurrencySymbol = QStringLiteral("$");
    }
    void TearDown() override { SetWindows(nullptr); }
    // The panels go with the suite: the program's run below makes its own.
    static void TearDownTestSuite() { dorv::Form::DestroyAll(); }

    int32_t Place(const QString& name, float price)
    {
        ItemRecord item = TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, name, 20000, 20000, 20000, 0x2020C0);
        item.Price = price;
        G.PlacedItems.resize(size_t(G.PlacedItemCount) + 1);
        G.PlacedItems[size_t(G.PlacedItemCount)] = item;
        G.SpentTotal += price;
        return G.PlacedItemCount++;
    }
    static void Press(QWidget* w) { QTest::mousePress(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2)); QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2)); }
};

TEST_F(Panels, EachChartKindKeepsItsOwnOptions)
{
    frmGraphs* f = frmGraphs::Window();
    ASSERT_NE(f, nullptr);
    f->Show();
    // The chart buttons wear their faces.
    for (dorv::PictureBox* b : f->Picture1) EXPECT_FALSE(b->Picture().isNull());

    f->Picture1_Click(4);  // 3D pie
    EXPECT_EQ(G.GraphKind, 1);
    EXPECT_TRUE(G.Graph3D[0]);
    EXPECT_EQ(f->Frame2->title(), QStringLiteral("lang_PieChart"));
    Press(f->Option1[0]);  // count the pie's items
    Press(f->Option2[0]);  // and label it with names
    EXPECT_FALSE(G.GraphShowCosts[0]);
    EXPECT_FALSE(G.GraphShowPictures[0]);

    QTest::mouseClick(f->Picture1[1], Qt::LeftButton);  // the flat bar graph
    EXPECT_EQ(G.GraphKind, 2);
    EXPECT_FALSE(G.Graph3D[1]);
    EXPECT_EQ(f->Frame2->title(), QStringLiteral("lang_BarChart"));
    EXPECT_TRUE(f->Option1[1]->Value());  // the bar graph still counts money
    EXPECT_TRUE(f->Option2[1]->Value());

    f->Picture1_Click(4);
    EXPECT_TRUE(f->Option1[0]->Value());
    EXPECT_TRUE(f->Option2[0]->Value());
    EXPECT_TRUE(G.GraphShowCosts[1]);
    Press(f->Option2[1]);
    f->Picture1_Click(0);  // the flat pie shows "Display items" chosen
    EXPECT_FALSE(G.Graph3D[0]);
    EXPECT_TRUE(f->Option2[1]->Value());

    // A place without prices: the costs option goes, and the pie counts.
    Press(f->Option1[1]);
    EXPECT_TRUE(G.GraphShowCosts[0]);
    f->SetCostsAvailable(false);
    EXPECT_FALSE(f->Option1[1]->isEnabled());
    EXPECT_FALSE(G.GraphShowCosts[0]);
    EXPECT_TRUE(f->Option1[0]->Value());
    f->SetCostsAvailable(true);
    EXPECT_TRUE(f->Option1[1]->isEnabled());

    // With the spreadsheet shown no chart's options change.
    G.GraphKind = 0;
    const auto costs = G.GraphShowCosts;
    Press(f->Option1[1]);
    EXPECT_EQ(G.GraphShowCosts, costs);
    f->Hide();
}

TEST_F(Panels, PageBoxKeepsToThePagesThereAre)
{
    for (int i = 0; i < 21; ++i) Place(QStringLiteral("Home\\Item%1").arg(i), 1);
    G.ViewMode = 3;
    G.GraphKind = 0;
    frmSpreadSht* f = frmSpreadSht::Window();
    ASSERT_NE(f, nullptr);
    f->Show();
    f->Check1->setChecked(false);  // 20 rows a page: two pages
    f->Text1->SetText(QStringLiteral("1"));

    canvas.dc.Clear();
    QTest::mouseClick(f->Command1[1], Qt::LeftButton);  // ">"
    EXPECT_EQ(f->Text1->Text(), QStringLiteral("2"));
    EXPECT_TRUE(canvas.Drew(QStringLiteral("lang_Page 2 lang_of 2")));
    const int before = canvas.redraws;
    f->Command1_Click(1);  // ">" on the last page
    EXPECT_EQ(f->Text1->Text(), QStringLiteral("2"));
    EXPECT_EQ(canvas.redraws, before);

    // Typing 99 shows the last page; 0 leaves the view as it was.
    f->Text1->clear();
    QTest::keyClicks(f->Text1, QStringLiteral("99"));
    EXPECT_EQ(f->Text1->Text(), QStringLiteral("2"));
    f->Text1->SetText(QStringLiteral("1"));
    const int shown = canvas.redraws;
    f->Text1->SetText(QStringLiteral("0"));
    EXPECT_EQ(canvas.redraws, shown);
    f->Text1->SetText(QStringLiteral("1"));
    f->Command1_Click(0);  // "<" on page 1
    EXPECT_EQ(f->Text1->Text(), QStringLiteral("1"));

    // With pictures, 10 rows a page: three pages, and the view is drawn again.
    canvas.dc.Clear();
    QTest::mouseClick(f->Check1, Qt::LeftButton);
    EXPECT_TRUE(f->ShowItems());
    EXPECT_TRUE(canvas.Drew(QStringLiteral("lang_Page 1 lang_of 3")));
    EXPECT_EQ(f->PageNumber(), 1);
    f->Text1->SetText(QStringLiteral(" 3 pages"));
    EXPECT_EQ(f->PageNumber(), 3);
    f->Hide();
}

TEST_F(Panels, PriceDialogChangesEveryItemOfTheNameAndRemembersIt)
{
    TempDir dir;
    ItemFiles::Item desk;
    desk.priceWord = ItemFiles::PriceWord(1250);
    dir.write(QStringLiteral("Desks/desk.dvo"), ItemFiles::ItemFile(desk));
    dir.write(QStringLiteral("Desks/lamp.dvo"), ItemFiles::ItemFile());
    const QString folder = dir.file(QStringLiteral("Desks"));
    FileMod::LoadItemCatalogue(folder, G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount);
    ASSERT_EQ(G.PaletteCount, 2);
    G.PaletteSelection = 0;
    const ItemRecord entry = G.Palette[0];
    ASSERT_FLOAT_EQ(entry.Price, 12.5f);
    for (int i = 0; i < 3; ++i) {
        G.PlacedItems.push_back(entry);
        ++G.PlacedItemCount;
    }
    G.PlacedItems.push_back(G.Palette[1]);
    ++G.PlacedItemCount;
    const float spent = G.SpentTotal = 37.5f;

    frmChangePrice* f = frmChangePrice::Window();
    ASSERT_NE(f, nullptr);
    f->Show();
    f->Text1->SetText(QStringLiteral("$20.75"));
    QTest::mouseClick(f->Command1, Qt::LeftButton);
    EXPECT_FALSE(f->isVisible());
    EXPECT_FLOAT_EQ(G.Palette[0].Price, 20.75f);
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(G.PlacedItems[size_t(G.Room.FirstRealItem + i)].Price, 20.75f);
    EXPECT_FLOAT_EQ(G.PlacedItems[size_t(G.Room.FirstRealItem + 3)].Price, 12.5f);
    EXPECT_EQ(G.SpentTotal, spent);  // what was paid stays paid
    ASSERT_EQ(G.PriceOverrideCount, 1);
    EXPECT_EQ(G.PriceOverrides[0].Name, entry.Name.str());

    // Once more: the same override takes the new price.
    f->Text1->SetText(QStringLiteral("30"));
    f->Command1_Click();
    EXPECT_EQ(G.PriceOverrideCount, 1);
    EXPECT_FLOAT_EQ(G.PriceOverrides[0].Amount, 30);

    // The group loaded again shows the changed price.
    FileMod::LoadItemCatalogue(folder, G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount);
    EXPECT_FLOAT_EQ(G.Palette[0].Price, 30);
    EXPECT_FLOAT_EQ(G.Palette[1].Price, 12.5f);

    // Default shows the item file's price; Cancel then stores nothing.
    f->Show();
    f->Command3_Click();
    EXPECT_EQ(f->Text1->Text(), QStringLiteral("12.50"));
    f->Command2_Click();
    EXPECT_FALSE(f->isVisible());
    EXPECT_FLOAT_EQ(G.Palette[0].Price, 30);

    // A text that could mean two prices is refused, and the dialog stays.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    f->Show();
    f->Text1->SetText(QStringLiteral("1,5"));
    TestDialogs().ExpectMsgBox(dorv::vbOK);
    f->Command1_Click();
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_FLOAT_EQ(G.Palette[0].Price, 30);
    // One with a thousands separator is taken as typed.
    f->Text1->SetText(QStringLiteral("1,250.50"));
    f->Command1_Click();
    EXPECT_FALSE(f->isVisible());
    EXPECT_FLOAT_EQ(G.Palette[0].Price, 1250.5f);

    // What is no amount, is below nothing, or is more than the program keeps
    // to the cent, is refused with one message, by Enter in the box as by OK,
    // and the price stays; the child types again in the box, its text chosen.
    f->Show();
    const QString number = LangMod::GetMessage(QStringLiteral("lang_EnterNumberGreaterThan0"));
    const QString largest = LangMod::GetMessage(QStringLiteral("lang_LargestAmount")).replace('%', "40000.00");
    const std::pair<const char*, QString> refused[] = {{"abc", number},     {"", number},    {"1e7", number},
                                                       {"$5 each", number}, {"-3", number},  {"$-0.01", number},
                                                       {"99,999,999,999", largest}};
    WAIT_FOR(QApplication::activeWindow() == f);
    bool enter = true;
    for (const auto& [text, message] : refused) {
        f->Text1->setFocus();
        f->Text1->selectAll();
        QTest::keyClick(f->Text1, Qt::Key_Delete);
        QTest::keyClicks(f->Text1, QLatin1String(text));
        const qsizetype asked = TestDialogs().Asked().size();
        TestDialogs().ExpectMsgBox(dorv::vbOK);
        if ((enter = !enter))
            QTest::keyClick(f->Text1, Qt::Key_Return);
        else
            QTest::mouseClick(f->Command1, Qt::LeftButton);
        EXPECT_TRUE(f->isVisible()) << text;
        EXPECT_EQ(TestDialogs().Asked().mid(asked).join('\n').toStdString(), "MsgBox 48: " + message.toStdString())
            << text;
        EXPECT_FLOAT_EQ(G.Palette[0].Price, 1250.5f) << text;
        EXPECT_EQ(QApplication::activeWindow(), f) << text;
        EXPECT_EQ(QApplication::focusWidget(), f->Text1) << text;
        EXPECT_EQ(f->Text1->selectedText(), QLatin1String(text)) << text;
    }
    EXPECT_EQ(TestDialogs().Pending(), 0);
    f->Text1->SetText(QStringLiteral("$0"));
    f->Command1_Click();
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(G.Palette[0].Price, 0);
    QLocale::setDefault(before);

    // No palette entry chosen: nothing is touched.
    G.PaletteSelection = 7;
    f->Text1->SetText(QStringLiteral("5"));
    f->Command1_Click();
    f->Command3_Click();
    EXPECT_EQ(G.PriceOverrideCount, 1);
    float price = -1;
    ItemRecord broken = entry;
    broken.FootprintShape = G.CatalogueShapeCount;
    EXPECT_FALSE(frmChangePrice::CataloguePrice(broken, G.CatalogueShapes, G.CatalogueShapeCount, price));
    EXPECT_EQ(price, -1);
}

// The panels inside the program: the view switch shows them, and the
// spreadsheet and the charts follow what the child does in them.
class PanelsInTheProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        dorv::SetAppPath(QStringLiteral(DORV_CONTENT_BUILD_DIR));
        dorv::SetCommandLine(QString());
        dorv::Form::Register(QStringLiteral("frmGraphs"), [] { return new frmGraphs; });
        dorv::Form::Register(QStringLiteral("frmSpreadSht"), [] { return new frmSpreadSht; });
        ExpectNewPlace(2);
        main = std::make_unique<Main>();
        StartProgram(*main);
        ASSERT_EQ(TestDialogs().Pending(), 0);
        ASSERT_TRUE(main->CanvasDC);
    }
    void TearDown() override
    {
        main.reset();
        dorv::Form::DestroyAll();
        dorv::ResetEnding();
        dorv::SetAppPath(QString());
        G = SceneState();
    }
    // An item placed and paid for, as a drop from the palette pays.
    static int32_t Place(const QString& name, float price)
    {
        ItemRecord item = TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, name, 20000, 20000, 20000, 0x2020C0);
        item.Price = price;
        G.PlacedItems.resize(size_t(G.PlacedItemCount) + 1);
        G.PlacedItems[size_t(G.PlacedItemCount)] = item;
        G.SpentTotal += price;
        return G.PlacedItemCount++;
    }
    std::unique_ptr<Main> main;
};

TEST_F(PanelsInTheProgram, TheViewSwitchAndThePanelsDriveTheDrawing)
{
    // Two chairs and a desk, paid for.
    Place(QStringLiteral("Home\\Chair"), 10);
    Place(QStringLiteral("Home\\Chair"), 10);
    Place(QStringLiteral("Home\\Desk"), 50);
    auto pixel = [&](int x, int y) {
        const QRgb p = main->CanvasDC->Surface()->pixel(x, y);
        return qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16);
    };

    main->Picture1_Click(3);
    frmSpreadSht* sheet = frmSpreadSht::Window();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(G.ViewMode, 3);
    EXPECT_EQ(G.GraphKind, 0);

    main->Picture1_Click(4);
    frmGraphs* graphs = frmGraphs::Window();
    ASSERT_NE(graphs, nullptr);
    EXPECT_TRUE(graphs->isVisible());
    EXPECT_FALSE(sheet->isVisible());
    // The panel opens on the options in force: the pie counts money and is
    // labelled with pictures.
    EXPECT_TRUE(graphs->Option1[1]->Value());
    EXPECT_TRUE(graphs->Option2[1]->Value());
    EXPECT_FALSE(graphs->Option1[0]->Value() || graphs->Option2[0]->Value());
    // The pie of costs: the chairs' slice (20 of 70) starts at angle 0, right
    // of the centre, in the first colour.
    const float cx = G.CanvasCentreX, cy = G.CanvasCentreY;
    const float h = main->Picture2->ScaleHeight();
    const int x = dorv::RoundHalfEven(cx + 0.3 * (h / 2 - h / 10)), y = dorv::RoundHalfEven(cy - h / 20 + 2);
    EXPECT_EQ(pixel(x, y - 6), 0xFF);
    graphs->Picture1_Click(1);          // the bar graph
    EXPECT_EQ(G.GraphKind, 2);
    EXPECT_NE(pixel(x, y - 6), 0xFF);
    // A chart chosen from the menu brings its own options and title.
    G.GraphShowCosts[2] = false;
    G.GraphShowPictures[2] = false;
    main->mnu_showPictogram->Choose();
    EXPECT_EQ(G.GraphKind, 3);
    EXPECT_TRUE(graphs->Option1[0]->Value());
    EXPECT_TRUE(graphs->Option2[0]->Value());
    EXPECT_EQ(graphs->Frame2->title(), LangMod::GetMessage(QStringLiteral("lang_Pictogram")));
    graphs->Picture1_Click(1);

    // A place without prices: the costs option goes.
    main->Picture1_Click(1);
    G.PlanInfo.noprices = true;
    G.GraphShowCosts[1] = true;
    main->Picture1_Click(4);
    EXPECT_FALSE(graphs->Option1[1]->isEnabled());
    EXPECT_FALSE(G.GraphShowCosts[1]);
    EXPECT_TRUE(graphs->Option1[0]->Value());
}

TEST_F(PanelsInTheProgram, AfterALanguageSwitchTheGraphPanelStillNamesTheChartShown)
{
    Place(QStringLiteral("Home\\Chair"), 10);
    main->Picture1_Click(4);
    frmGraphs* graphs = frmGraphs::Window();
    ASSERT_NE(graphs, nullptr);
    ASSERT_TRUE(graphs->isVisible());
    graphs->Picture1_Click(5);  // the 3D bar graph
    main->mnu_languageselect[1]->Choose();
    EXPECT_EQ(graphs->Frame2->title(), QString::fromUtf8("Gráfico de Barras"));
    EXPECT_EQ(G.GraphKind, 2);
    EXPECT_TRUE(G.Graph3D[1]);
    // The area graph, named back in English.
    graphs->Picture1_Click(7);
    main->mnu_languageselect[0]->Choose();
    EXPECT_EQ(graphs->Frame2->title(), QStringLiteral("Line Graph"));
    // The pie's options stay as the child left them through the switch.
    graphs->Picture1_Click(0);
    QTest::mouseClick(graphs->Option1[0], Qt::LeftButton);  // count the items
    main->mnu_languageselect[1]->Choose();
    EXPECT_EQ(graphs->Frame2->title(), QString::fromUtf8("Gráfico de Pizza"));
    EXPECT_TRUE(graphs->Option1[0]->Value());
    EXPECT_FALSE(graphs->Option1[1]->Value());
    main->mnu_languageselect[0]->Choose();
}

TEST_F(PanelsInTheProgram, ThePageBoxFollowsThePagesAfterDisplayItemsAndDeletions)
{
    // Eleven kinds of item: two pages with pictures, one without.
    for (int i = 0; i < 11; ++i) Place(QStringLiteral("Home\\Item%1").arg(i), 1);
    main->Picture1_Click(3);
    frmSpreadSht* sheet = frmSpreadSht::Window();
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->isVisible());
    ASSERT_TRUE(sheet->ShowItems());
    auto footer = [] {
        dorv::RecordingDc dc;
        DrawMod::DrawCurrentView(DrawMod::SceneViewDrawing(dc, 300, 200, 400));
        for (const dorv::DcCall& c : dc.Calls())
            if (c.op == dorv::DcOp::TextOut && c.text.startsWith(LangMod::GetMessage(QStringLiteral("lang_Page"))))
                return c.text;
        return QString();
    };
    auto page = [](int p, int of) {
        return LangMod::GetMessage(QStringLiteral("lang_Page")) + QStringLiteral(" %1 ").arg(p) +
               LangMod::GetMessage(QStringLiteral("lang_of")) + QStringLiteral(" %1").arg(of);
    };
    QTest::mouseClick(sheet->Command1[1], Qt::LeftButton);  // ">"
    EXPECT_EQ(sheet->Text1->Text(), QStringLiteral("2"));

    // Without pictures one page holds them all: the box comes back to it.
    QTest::mouseClick(sheet->Check1, Qt::LeftButton);
    EXPECT_FALSE(sheet->ShowItems());
    EXPECT_EQ(sheet->Text1->Text(), QStringLiteral("1"));
    EXPECT_EQ(footer(), page(1, 1));

    // With pictures again, on page 2; then an item is deleted in the plan:
    // back in the spreadsheet, ten kinds make one page.
    QTest::mouseClick(sheet->Check1, Qt::LeftButton);
    QTest::mouseClick(sheet->Command1[1], Qt::LeftButton);
    EXPECT_EQ(footer(), page(2, 2));
    main->Picture1_Click(1);
    G.SelectedItem = G.PlacedItemCount - 1;
    main->mnu_delete_Click();
    main->Picture1_Click(3);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->Text1->Text(), QStringLiteral("1"));
    EXPECT_EQ(footer(), page(1, 1));
    // ">" has nowhere to go, "<" neither.
    QTest::mouseClick(sheet->Command1[1], Qt::LeftButton);
    QTest::mouseClick(sheet->Command1[0], Qt::LeftButton);
    EXPECT_EQ(sheet->Text1->Text(), QStringLiteral("1"));
}

TEST_F(PanelsInTheProgram, TheSpreadsheetPanelCountsMoneyAsTheViewDoes)
{
    // A rug without a price; a desk and a lamp bought and deleted again:
    // nothing spent, not even a crumb of a cent.
    Place(QStringLiteral("Home\\Rug"), 0);
    const int32_t desk = Place(QStringLiteral("Home\\Desk"), 12.99f);
    const int32_t lamp = Place(QStringLiteral("Home\\Lamp"), 0.35f);
    main->DeleteItem(G.PlacedItems, desk);
    main->DeleteItem(G.PlacedItems, lamp - 1);
    ASSERT_EQ(G.SpentTotal, 0);
    main->Picture1_Click(3);
    frmSpreadSht* sheet = frmSpreadSht::Window();
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(sheet->isVisible());

    // Half a unit of money is money spent.
    main->Picture1_Click(1);
    Place(QStringLiteral("Home\\Pin"), 0.5f);
    G.SpentTotal = 0.5f;
    main->Picture1_Click(3);
    EXPECT_TRUE(sheet->isVisible());
}

}  // namespace
