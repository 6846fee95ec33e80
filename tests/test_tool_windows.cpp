// The tool windows beside the main window (item groups, budget, colours),
// the splash screen, the About box and the switch between English and
// Portuguese captions, driven as a child or a teacher would use them.
#include "app/About.h"
#include "app/ApplyLanguage.h"
#include "app/Budget.h"
#include "app/Colours.h"
#include "app/EnvSelect.h"
#include "app/Floors.h"
#include "app/ItemGroups.h"
#include "app/Main.h"
#include "app/Splash.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Forms.h"
#include "scene/CaptionTables.h"
#include "scene/FileMod.h"
#include "scene/LangMod.h"
#include "scene/SceneFile.h"
#include "scene/SceneState.h"
#include "views/ViewRender.h"
#include "scene/UnitsMoney.h"

#include "support/Desktop.h"
#include "support/NewPlaceScript.h"
#include "support/QtPrint.h"
#include "support/TempDir.h"
#include "support/TestDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QMap>
#include <QSet>
#include <QStyle>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QColor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>

#include <tuple>

using namespace dorv;

namespace {

constexpr int kClassroom = 1, kGarden = 2, kHome = 3;
// A window's outer width is set before the desktop has framed it: it may come
// out wider by the frame.
constexpr int kFrame = 90;

class ToolWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAppPath(DORV_CONTENT_BUILD_DIR);
        SetCommandLine(QString());
    }
    void TearDown() override
    {
        CloseProgram(main);
        QLocale::setDefault(QLocale::c());
        SetQtLanguage(QString());
    }
    // Starts the program and makes a place in the environment of `entry`.
    void start(int entry = kClassroom)
    {
        ExpectNewPlace(entry);
        main = std::make_unique<Main>();
        StartProgram(*main);
        ASSERT_EQ(TestDialogs().Pending(), 0);
        groups = ItemGroups::Window();
        ASSERT_NE(groups, nullptr);
    }
    QString envFolder(int row) const { return G.EnvironmentTable[static_cast<size_t>(row - 1)][0]; }
    // A window of the docked column appeared, went or changed its width: the
    // main window lays the column and the canvas out again through an event
    // it posts to itself, which runs here.
    static void layOutColumn() { QCoreApplication::sendPostedEvents(); }
    std::unique_ptr<Main> main;
    ItemGroups* groups = nullptr;
};

// The buttons a window's title bar offers, after its name.
QString TitleButtons(const Form& w)
{
    if (!w.windowHandle()) return w.Name() + " unshown";
    const Qt::WindowFlags flags = w.windowHandle()->flags();
    QString buttons = w.Name();
    if (flags & Qt::WindowMinimizeButtonHint) buttons += " minimise";
    if (flags & Qt::WindowMaximizeButtonHint) buttons += " maximise";
    if (flags & Qt::WindowCloseButtonHint) buttons += " close";
    return buttons;
}

// ---- item groups ----

TEST_F(ToolWindows, TheItemGroupsWindowListsThePlacesGroupsAndAClickLoadsOne)
{
    start(kHome);
    EXPECT_TRUE(groups->isVisible());
    EXPECT_TRUE(main->mnu_showItemGroups->Checked());
    EXPECT_NEAR(groups->Width(), ItemGroups::kNarrowWidth, kFrame);
    EXPECT_FALSE(groups->ListView2->Visible());
    // Every environment is listed for "Show all item groups", with its name.
    ASSERT_EQ(groups->ListView2->Count(), 3);
    EXPECT_EQ(groups->ListView2->ItemText(kHome), "Home");
    // The plan groups of the home, each with its picture; the wall group is
    // for the wall view.
    const int n = groups->ListView1->Count();
    ASSERT_GE(n, 2);
    for (int i = 1; i <= n; ++i) {
        EXPECT_NE(groups->ListView1->ItemKey(i), "HomeWalls");
        EXPECT_FALSE(groups->ImageList1.Image(groups->ListView1->ItemKey(i)).isNull());
    }

    // The palette scrolled down as far as the second group reaches: the
    // click shows that group from its top.
    ClickEntry(*groups->ListView1, 2);
    const int16_t reach = main->VScroll1->Max();
    ClickEntry(*groups->ListView1, 1);
    ASSERT_TRUE(main->VScroll1->SetValue(std::min(reach, main->VScroll1->Max())));
    ASSERT_GT(main->VScroll1->Value(), 0);
    ClickEntry(*groups->ListView1, 2);
    EXPECT_EQ(main->VScroll1->Value(), 0);
    EXPECT_EQ(G.ItemFolder, envFolder(kHome) + "\\" + groups->ListView1->ItemKey(2));
    EXPECT_EQ(G.ItemGroupIndex, 2);
    EXPECT_GT(G.PaletteCount, 0);
    EXPECT_EQ(G.PaletteSelection, 0);
    // The catalogue names the group in the Use Prices label.
    EXPECT_TRUE(groups->Label1->Caption().contains(groups->ListView1->ItemText(2))) << groups->Label1->Caption().toStdString();
}

TEST_F(ToolWindows, ShowAllItemGroupsWidensTheWindowAndBorrowsFromAnotherEnvironment)
{
    start(kClassroom);
    const int32_t left = groups->Left();
    const QString home = G.EnvFolder;
    EXPECT_EQ(G.HomeEnvironmentFolder, home);

    ClickButton(*groups->Label2);  // the label ticks its box
    EXPECT_EQ(groups->Check1[1]->Value(), 1);
    EXPECT_NEAR(groups->Width(), ItemGroups::kWideWidth, kFrame);
    EXPECT_NEAR(groups->Left(), left - ItemGroups::kGrowLeft, 15);  // whole pixels
    EXPECT_TRUE(groups->ListView2->Visible());
    EXPECT_TRUE(groups->Command2->Visible());
    EXPECT_EQ(groups->ListView1->Left(), ItemGroups::kWideLeft * TwipsPerPixelX());
    EXPECT_EQ(groups->Label1->Left(), groups->Check1[0]->Left() + groups->Check1[0]->Width() + 3 * TwipsPerPixelX());

    // The garden's groups, the first one in the palette; the place stays a
    // classroom.
    ClickEntry(*groups->ListView2, kGarden);
    EXPECT_EQ(G.EnvFolder, envFolder(kGarden));
    EXPECT_TRUE(G.ItemFolder.startsWith(envFolder(kGarden) + "\\")) << G.ItemFolder.toStdString();
    EXPECT_EQ(G.EnvironmentIndex, kClassroom);
    EXPECT_TRUE(G.ItemGroupsReady);
    EXPECT_TRUE(groups->ListView1->ItemTag(1).startsWith("Garden\\"));

    // ">>" unticks the box: back home, narrow, at the former place.
    ClickButton(*groups->Command2);
    EXPECT_EQ(groups->Check1[1]->Value(), 0);
    EXPECT_EQ(G.EnvFolder, home);
    EXPECT_TRUE(G.ItemFolder.startsWith(home + "\\"));
    EXPECT_NEAR(groups->Width(), ItemGroups::kNarrowWidth, kFrame);
    // Docked again by the column's right edge: a first width that came out
    // wider by the frame moves the left edge by as much.
    EXPECT_NEAR(groups->Left(), left, kFrame);
    EXPECT_FALSE(groups->ListView2->Visible());
    EXPECT_EQ(groups->ListView1->Left(), ItemGroups::kNarrowLeft * TwipsPerPixelX());
}

TEST_F(ToolWindows, ResetAtHomeDoesNothingAndTheUsePricesLabelTicksItsBox)
{
    start(kClassroom);
    G.ItemFolder = "untouched";
    ClickButton(*groups->Command1);
    EXPECT_EQ(G.ItemFolder, "untouched");  // not even a palette reload

    const int16_t before = groups->Check1[0]->Value();
    ClickButton(*groups->Label1);
    EXPECT_EQ(groups->Check1[0]->Value(), before ^ 1);
    ClickButton(*groups->Label1);
    EXPECT_EQ(groups->Check1[0]->Value(), before);
    ClickButton(*groups->Check1[0]);
    EXPECT_EQ(groups->Check1[0]->Value(), before ^ 1);
    // Ticking "Use Prices" leaves the window as it is.
    EXPECT_NEAR(groups->Width(), ItemGroups::kNarrowWidth, kFrame);
}

TEST_F(ToolWindows, ANewPlaceBringsTheItemGroupsWindowBackNarrowAndAtHome)
{
    start(kClassroom);
    ClickButton(*groups->Label2);
    ClickEntry(*groups->ListView2, kGarden);
    ExpectNewPlace(kHome);
    main->mnu_new->Choose();
    EXPECT_EQ(groups->Check1[1]->Value(), 0);
    EXPECT_FALSE(groups->ListView2->Visible());
    EXPECT_NEAR(groups->Width(), ItemGroups::kNarrowWidth, kFrame);
    EXPECT_EQ(G.HomeEnvironmentFolder, envFolder(kHome));
    EXPECT_TRUE(groups->isVisible());
}

// A child who picks a group, or looks at the budget, goes on with the main
// window's keys, as with a tool palette: its commands' keys and its menus'
// access keys work while a tool window has the keyboard.
TEST_F(ToolWindows, TheMainWindowsKeysWorkWhileAToolWindowHasTheKeyboard)
{
    start(kClassroom);
    main->mnu_showBudgetInfo->Choose();
    auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(static_cast<QWidget*>(nullptr), key, modifiers);  // to the window with the keyboard
    };
    const int32_t before = G.PlacedItemCount;
    for (Form* tool : std::initializer_list<Form*>{groups, Budget::Window()}) {
        SCOPED_TRACE(tool->Name().toStdString());
        main->AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes, G.Palette[0], G.PlacedItems,
                                  G.PlacedItemCount, 0, 0, 0, G.Room, G.PlanScale);
        ASSERT_EQ(G.PlacedItemCount, before + 1);
        if (tool == groups) ClickEntry(*groups->ListView1, 1);  // the palette's group changes
        Activate(*tool);
        ASSERT_EQ(QApplication::activeWindow(), tool);
        press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(G.PlacedItemCount, before);
        press(Qt::Key_F, Qt::AltModifier);
        EXPECT_EQ(QApplication::activePopupWidget(), main->mnu_file->Submenu());
        press(Qt::Key_Escape, Qt::NoModifier);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
    // In Portuguese the menus' own access keys: Alt+A for Arquivo.
    main->mnu_languageselect[1]->Choose();
    Activate(*groups);
    press(Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), main->mnu_file->Submenu());
    press(Qt::Key_Escape, Qt::NoModifier);
}

// ---- budget ----

TEST_F(ToolWindows, TheBudgetShowsWhatIsLeftAndTurnsRedWhenOverspent)
{
    start(kHome);
    Budget* budget = Budget::Window();
    ASSERT_NE(budget, nullptr);
    EXPECT_EQ(budget->Text1->Text(), CommonMod::FormatMoney(G.PlanInfo.budget, true));
    EXPECT_EQ(budget->Text2->Text(), CommonMod::FormatMoney(0, true));
    EXPECT_EQ(budget->Text3->Text(), CommonMod::FormatMoney(G.PlanInfo.budget, true));
    const QString s = G.CurrencySymbol;

    budget->Text1->SetText(s + "100.00");
    budget->Text2->SetText(s + "30.25");
    EXPECT_EQ(budget->Text3->Text(), s + "69.75");
    const ColorRef c3 = GetSysColor(3);
    const QColor normal(c3 & 255, (c3 >> 8) & 255, (c3 >> 16) & 255);
    EXPECT_EQ(budget->Text3->palette().color(QPalette::Base), normal);

    budget->Text2->SetText(s + "130.50");
    EXPECT_EQ(budget->Text3->Text(), s + "-30.50");
    EXPECT_EQ(budget->Text3->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(budget->Text3->palette().color(QPalette::Text), QColor(255, 255, 255));

    // Spending back to nothing brings the ordinary colours back.
    budget->Text2->SetText(s + "0.00");
    EXPECT_EQ(budget->Text3->Text(), s + "100.00");
    EXPECT_EQ(budget->Text3->palette().color(QPalette::Base), normal);
    EXPECT_EQ(budget->Text3->palette().color(QPalette::Text), QColor(0, 0, 0));

    // A new initial budget alone counts at once, colour and all.
    budget->Text1->SetText(s + "50.00");
    EXPECT_EQ(budget->Text3->Text(), s + "50.00");
    budget->Text1->SetText(s + "-1.00");
    EXPECT_EQ(budget->Text3->Text(), s + "-1.00");
    EXPECT_EQ(budget->Text3->palette().color(QPalette::Base), QColor(255, 0, 0));
}

TEST_F(ToolWindows, AnItemAddedWithUsePricesTickedIsSpentFromTheBudget)
{
    start(kHome);
    Budget* budget = Budget::Window();
    ClickEntry(*groups->ListView1, 1);
    ASSERT_GT(G.PaletteCount, 0);
    groups->Check1[0]->SetValue(1);
    const ItemRecord item = G.Palette[0];
    ASSERT_GT(item.Price, 0);
    main->AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes, item, G.PlacedItems,
                              G.PlacedItemCount, 0, 0, 0, G.Room, G.PlanScale);
    EXPECT_EQ(budget->Text2->Text(), CommonMod::FormatMoney(item.Price, true));
    EXPECT_EQ(budget->Text4->Text(), "- " + CommonMod::FormatMoney(item.Price, true));
    EXPECT_NEAR(Budget::AmountOf(budget->Text3->Text()), (G.PlanInfo.budget - item.Price) * G.CurrencyRate, 0.006);

    // Without the box ticked an item costs nothing.
    groups->Check1[0]->SetValue(0);
    main->AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes, item, G.PlacedItems,
                              G.PlacedItemCount, 0, 0, 0, G.Room, G.PlanScale);
    EXPECT_EQ(budget->Text2->Text(), CommonMod::FormatMoney(item.Price, true));
}

TEST_F(ToolWindows, ChairsAtTheDearestPriceAreSpentToTheCent)
{
    start(kHome);
    Budget* budget = Budget::Window();
    ClickEntry(*groups->ListView1, 1);
    groups->Check1[0]->SetValue(1);
    ItemRecord chair = G.Palette[0];
    chair.Price = CommonMod::ParseMoneyText("39999.99");  // as the price dialog takes it
    const QString s = G.CurrencySymbol;
    budget->Text1->SetText(s + "1200000.00");
    // What a child works out by hand for 4 chairs and for a class of 30.
    for (const auto& [chairs, spent, left] : {std::tuple(4, "159999.96", "1040000.04"),
                                              std::tuple(30, "1199999.70", "0.30")}) {
        while (G.PlacedItemCount - G.Room.FirstRealItem < chairs)
            main->AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes, chair, G.PlacedItems,
                                      G.PlacedItemCount, 0, 0, 0, G.Room, G.PlanScale);
        EXPECT_EQ(budget->Text2->Text(), s + spent);
        EXPECT_EQ(budget->Text3->Text(), s + left);
    }
    // A chair deleted, and the delete undone: the cents come back too.
    G.SelectedItem = G.PlacedItemCount - 1;
    main->mnu_delete_Click();
    EXPECT_EQ(budget->Text2->Text(), s + "1159999.71");
    EXPECT_EQ(budget->Text3->Text(), s + "40000.29");
    main->mnu_undo_Click();
    EXPECT_EQ(budget->Text2->Text(), s + "1199999.70");
}

TEST_F(ToolWindows, BudgetAmountsKeepTheirCentsInACommaLocale)
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    G.CurrencySymbol = "R$";
    EXPECT_DOUBLE_EQ(Budget::AmountOf("R$12,50"), 12.5);
    EXPECT_DOUBLE_EQ(Budget::AmountOf("R$-3,25"), -3.25);
    EXPECT_DOUBLE_EQ(Budget::AmountOf(CommonMod::FormatMoney(-7.5f, true)), -7.5);
    G.CurrencyRate = 2.0f;  // amounts are read as shown, whatever the rate
    EXPECT_NEAR(Budget::AmountOf("R$12,50"), 12.5, 1e-5);
}

// ---- colours ----

TEST_F(ToolWindows, OKPaintsTheFloorAndWallsInThePickedColours)
{
    start(kClassroom);
    main->mnu_changeColours->Choose();
    Colours* colours = Colours::Window();
    ASSERT_NE(colours, nullptr);
    EXPECT_TRUE(colours->isVisible());
    EXPECT_EQ(colours->Picture1[0]->BackColor(), G.FloorColour);
    EXPECT_EQ(colours->Picture1[1]->BackColor(), G.WallColour);

    const ShapeStream before = G.SceneShapes;
    TestDialogs().ExpectColor(RGB(200, 30, 40));
    TestDialogs().ExpectColor(RGB(10, 120, 60));
    ClickButton(*colours->Command1[0]);
    ClickButton(*colours->Command1[1]);
    EXPECT_EQ(colours->Picture1[0]->BackColor(), RGB(200, 30, 40));
    G.BufferDirty = false;
    ClickButton(*colours->Command1[2]);
    EXPECT_EQ(G.FloorColour, RGB(200, 30, 40));
    EXPECT_EQ(G.WallColour, RGB(10, 120, 60));
    EXPECT_NE(G.SceneShapes, before);  // the sections' pictures are recoloured
    // The canvas shows the new floor: rendered again at the next showing,
    // or already by a repaint of the canvas meanwhile.
    DrawMod::BlitView();
    const QImage* canvas = main->CanvasDC->Surface();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(QColor(canvas->pixel(canvas->width() / 2, canvas->height() / 2)), QColor(200, 30, 40));
    EXPECT_FALSE(G.BufferDirty);
    EXPECT_FALSE(G.CleanFlag);
    EXPECT_TRUE(colours->isVisible());  // the window stays

    // The same colours again mark the scene modified again.
    G.CleanFlag = true;
    ClickButton(*colours->Command1[2]);
    EXPECT_FALSE(G.CleanFlag);
}

TEST_F(ToolWindows, CancelForgetsAPickedColourOnTheNextShowing)
{
    start(kClassroom);
    main->mnu_changeColours->Choose();
    Colours* colours = Colours::Window();
    const int32_t floor = G.FloorColour;
    TestDialogs().ExpectColor(RGB(1, 2, 3));
    ClickButton(*colours->Command1[0]);
    ClickButton(*colours->Command1[3]);
    EXPECT_FALSE(colours->isVisible());
    EXPECT_EQ(G.FloorColour, floor);
    main->mnu_changeColours->Choose();
    EXPECT_EQ(colours->Picture1[0]->BackColor(), floor);
}

// The swatches show the colours of the scene in hand, whether it came from
// the command line or File > Open over another place with the window open,
// and OK with nothing picked leaves the scene as its file holds it.
TEST_F(ToolWindows, TheSwatchesShowTheOpenedScenesColoursAndOKAloneChangesNothing)
{
    start(kClassroom);
    main->mnu_changeColours->Choose();
    Colours* colours = Colours::Window();
    const ColorRef green = RGB(0, 200, 0), salmon = RGB(250, 128, 114);
    TestDialogs().ExpectColor(green);
    TestDialogs().ExpectColor(salmon);
    for (int button : {0, 1, 2}) ClickButton(*colours->Command1[button]);
    auto sceneBytes = [] {
        return FileMod::SceneFileBytes(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room);
    };
    const QByteArray scene = sceneBytes();
    TempDir dir;
    const QString path = dir.write("green.dvp", scene);

    CloseProgram(main);
    SetAppPath(DORV_CONTENT_BUILD_DIR);
    SetCommandLine(path);
    main = std::make_unique<Main>();
    StartProgram(*main);
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way ? "File > Open" : "command line");
        if (way) {
            TestDialogs().ExpectMsgBox(vbNo);  // OK marked the scene modified
            ExpectNewPlace(kHome);
            main->mnu_new->Choose();
            main->mnu_changeColours->Choose();
            TestDialogs().ExpectOpen(dorv::FileDialogAnswer{path, 1});
            main->mnu_open->Choose();
        } else {
            main->Picture3_Click(5);
        }
        colours = Colours::Window();
        ASSERT_TRUE(colours->isVisible());
        EXPECT_EQ(colours->Picture1[0]->BackColor(), green);
        EXPECT_EQ(colours->Picture1[1]->BackColor(), salmon);
        ClickButton(*colours->Command1[2]);
        EXPECT_EQ(sceneBytes(), scene);
    }
    EXPECT_EQ(TestDialogs().Pending(), 0);
}

// ---- closing ----

TEST_F(ToolWindows, EachToolWindowGoesItsOwnWayWhenClosed)
{
    start(kClassroom);
    main->mnu_showBudgetInfo->Choose();
    main->mnu_changeColours->Choose();
    Budget* budget = Budget::Window();
    Colours* colours = Colours::Window();
    ASSERT_TRUE(budget->isVisible() && colours->isVisible() && groups->isVisible());
    EXPECT_TRUE(main->mnu_showBudgetInfo->Checked());

    groups->close();
    EXPECT_FALSE(groups->isVisible());
    EXPECT_TRUE(groups->IsLoaded());
    EXPECT_TRUE(main->mnu_showItemGroups->Checked());

    budget->close();
    EXPECT_FALSE(budget->isVisible());
    EXPECT_TRUE(budget->IsLoaded());
    EXPECT_FALSE(main->mnu_showBudgetInfo->Checked());

    colours->close();
    EXPECT_FALSE(colours->isVisible());
    EXPECT_FALSE(colours->IsLoaded());
    EXPECT_FALSE(main->mnu_changeColours->Checked());

    // The next toggle shows the item groups again.
    main->mnu_showItemGroups->Choose();
    EXPECT_TRUE(groups->isVisible());
}

// The dialogs shown while the main window is hidden (the chooser, the place
// dialog) are windows of their own, which the task bar lists; the About box
// is a dialog of the main window, and the item groups, the budget and the
// colours are its tool windows. None offers to be minimised: minimised, they
// would leave an empty screen, or a main window that waits for them, with
// nothing to bring them back from. The desktop frames each, to be moved and
// closed. The main window keeps its own buttons.
TEST_F(ToolWindows, TheDesktopFramesTheDialogsAndToolWindowsThatCannotBeMinimisedAway)
{
    QStringList offered;
    auto announce = [&](Form& f) { offered << f.Name() + " " + Announced(f, main.get()); };
    TestDialogs().ExpectModal("EnvSelect", [&](Form& f) {
        announce(f);
        auto& chooser = dynamic_cast<EnvSelect&>(f);
        Activate(chooser);
        ClickEntry(*chooser.ListView1, kHome);
        ClickButton(*chooser.Command1);
    });
    ExpectPlaceDialog([&](Floors& floors) {
        announce(floors);
        ClickButton(*floors.Command1[0]);
    });
    main = std::make_unique<Main>();
    StartProgram(*main);
    main->mnu_showBudgetInfo->Choose();
    main->mnu_changeColours->Choose();
    for (Form* tool : std::initializer_list<Form*>{ItemGroups::Window(), Budget::Window(), Colours::Window()})
        announce(*tool);
    // Once the desktop has put the tool windows up, it has had its say about
    // the keyboard: the main window keeps it, also under window managers that
    // give it to every new window (fluxbox), so its keys go on working.
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), main.get());
    TestDialogs().ExpectModal("wAbout", [&](Form& about) {
        announce(about);
        about.Hide();
    });
    main->mnu_about->Choose();
    offered << TitleButtons(*main);
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(offered, QStringList({"EnvSelect window close | " + Granted(true),
                                    "Floors window close | " + Granted(true),
                                    "ItemGroups tool for owner close | " + Granted(false),
                                    "Budget tool for owner close | " + Granted(false),
                                    "Colours tool for owner close | " + Granted(false),
                                    "wAbout dialog for owner close | " + Granted(false),
                                    "Main minimise maximise close"}));
}

// ---- languages ----

TEST_F(ToolWindows, PortugueseAndBackSwitchesEveryCaption)
{
    start(kHome);
    Budget* budget = Budget::Window();
    Colours* colours = Colours::Window();
    Floors* floors = Floors::Window();
    ASSERT_EQ(main->Caption(), "Dorv Zorazev - Place: " + G.PlanInfo.place);

    main->mnu_languageselect[1]->Choose();
    // The title keeps naming the place, in the new language.
    EXPECT_EQ(main->Caption(), QString::fromUtf8("Dorv Zorazev - Espaço: Cômodo da casa"));
    EXPECT_EQ(G.UiLanguage, 1);
    EXPECT_EQ(G.ItemLanguage, 1);
    EXPECT_TRUE(main->mnu_languageselect[1]->Checked());
    EXPECT_FALSE(main->mnu_languageselect[0]->Checked());
    EXPECT_EQ(main->mnu_file->Caption(), "&Arquivo");
    EXPECT_EQ(main->mnu_languageselect[2]->Caption(), QString::fromUtf8("Inglês | Português"));
    EXPECT_EQ(main->mnu_showBudgetInfo->Caption(), QString::fromUtf8("Exibir Orçamento"));
    EXPECT_EQ(main->Picture3[7]->ToolTipText(), QString::fromUtf8("Orçamento"));
    EXPECT_EQ(groups->Caption(), "Grupos");
    EXPECT_EQ(groups->Command1->Caption(), "Voltar");
    EXPECT_EQ(budget->Caption(), QString::fromUtf8("Orçamento"));
    EXPECT_EQ(budget->Label4->Caption(), QString::fromUtf8("Último item "));
    EXPECT_EQ(colours->Command1[3]->Caption(), "Cancelar");
    EXPECT_EQ(floors->Command1[1]->Caption(), "Voltar");
    EXPECT_EQ(EnvSelect::Window()->Command1->Caption(), "Selecionar");
    EXPECT_EQ(G.UnitText, " " + LangMod::GetMessage("lang_metres"));
    EXPECT_EQ(G.UnitText, QString::fromUtf8(" metros"));
    // Names follow the item language: the environments and the groups.
    EXPECT_EQ(EnvSelect::Window()->ListView1->ItemText(kHome), "Casa");
    EXPECT_EQ(groups->ListView2->ItemText(kHome), "Casa");

    // English captions with Portuguese names.
    main->mnu_languageselect[2]->Choose();
    EXPECT_EQ(G.UiLanguage, 0);
    EXPECT_EQ(G.ItemLanguage, 1);
    EXPECT_EQ(main->Caption(), QString::fromUtf8("Dorv Zorazev - Place: Cômodo da casa"));
    EXPECT_TRUE(main->mnu_languageselect[2]->Checked());
    EXPECT_FALSE(main->mnu_languageselect[1]->Checked());
    EXPECT_EQ(main->mnu_file->Caption(), "&File");
    EXPECT_EQ(budget->Caption(), " Budget");
    EXPECT_EQ(budget->Label4->Caption(), "Last Item");
    EXPECT_EQ(main->Picture1[0]->ToolTipText(), "3D Isometric View");
    EXPECT_EQ(groups->ListView2->ItemText(kHome), "Casa");

    main->mnu_languageselect[0]->Choose();
    EXPECT_EQ(main->Caption(), "Dorv Zorazev - Place: " + G.PlanInfo.place);
    EXPECT_EQ(groups->ListView2->ItemText(kHome), "Home");
    EXPECT_EQ(G.UnitText, " metres");
}

// The texts of the desktop's own dialog that `command` opens (its labels and
// buttons), read while it is open; the dialog is then cancelled.
QStringList DesktopDialogTexts(const std::function<void()>& command)
{
    struct Desktop : DesktopDialogs {
        Desktop() { SetDialogs(this); }
        ~Desktop() override { SetDialogs(&TestDialogs()); }
    } desktop;
    QStringList texts;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        for (QLabel* l : dialog->findChildren<QLabel*>())
            if (l->isVisible()) texts << l->text();
        for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
            if (b->isVisible()) texts << b->text();
        dialog->reject();
    });
    poll.start(10);
    command();
    return texts;
}

TEST_F(ToolWindows, QtsOwnButtonsAndFileDialogsSpeakTheProgramsLanguage)
{
    // Qt's translations come from Debian's package, which build.sh installs.
    ASSERT_TRUE(QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_pt_BR.qm"));
    start(kHome);
    const struct {
        int entry;
        QStringList question, fileDialog;
    } languages[] = {
        {1,
         {"&Sim", QString::fromUtf8("&Não"), "Cancelar"},
         {"Procurar em:", "&Nome do arquivo:", "&Salvar", "Cancelar"}},
        {0, {"&Yes", "&No", "Cancel"}, {"Look in:", "File &name:", "&Save", "Cancel"}},
    };
    for (const auto& l : languages) {
        main->mnu_languageselect[l.entry]->Choose();
        G.CleanFlag = false;
        const QStringList question = DesktopDialogTexts([&] { main->mnu_new_Click(); });
        for (const QString& t : l.question)
            EXPECT_TRUE(question.contains(t)) << t.toStdString() << " in " << question.join(" / ").toStdString();
        const QStringList fileDialog = DesktopDialogTexts([&] { main->mnu_saveas_Click(); });
        for (const QString& t : l.fileDialog)
            EXPECT_TRUE(fileDialog.contains(t)) << t.toStdString() << " in " << fileDialog.join(" / ").toStdString();
    }
}

TEST_F(ToolWindows, AProgramStartedInPortugueseSpeaksItFromTheSplashOn)
{
    // The shipped content, with settings that start the program in
    // Portuguese.
    TempDir app;
    const QDir content(DORV_CONTENT_BUILD_DIR);
    for (const QFileInfo& entry : content.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entry.fileName() != "AdminSetup.txt") {
            ASSERT_TRUE(QFile::link(entry.absoluteFilePath(), app.file(entry.fileName())));
        }
    bool ok = false;
    QByteArray settings = ReadWholeFile(content.filePath("AdminSetup.txt"), &ok);
    ASSERT_TRUE(ok && settings.contains("\nlanguage:0") && settings.contains("\nitemlang:0"));
    app.write("AdminSetup.txt",
              settings.replace("\nlanguage:0", "\nlanguage:1").replace("\nitemlang:0", "\nitemlang:1"));
    SetAppPath(app.path());

    QString forLinux, placeDialog;
    TestDialogs().ExpectModal("frmSplash", [&](Form& f) {
        forLinux = dynamic_cast<frmSplash&>(f).lblForWindows->Caption();
        QTest::keyClick(&f, Qt::Key_Space);
    });
    ExpectChoice(kClassroom);
    ExpectPlaceDialog([&](Floors& floors) {
        placeDialog = floors.Caption();
        ClickButton(*floors.Command1[0]);
    });
    main = std::make_unique<Main>();
    StartProgram(*main);
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(forLinux, "Para Linux");
    // The place is named as the chooser names it.
    EXPECT_EQ(placeDialog, QString::fromUtf8("Prepare o seu espaço: Sala de aula"));
    EXPECT_EQ(main->Caption(), QString::fromUtf8("Dorv Zorazev - Espaço: Sala de aula"));
    G.CleanFlag = false;
    const QStringList question = DesktopDialogTexts([&] { main->mnu_new_Click(); });
    EXPECT_TRUE(question.contains("&Sim")) << question.join(" / ").toStdString();
    CloseProgram(main);
}

TEST_F(ToolWindows, EveryMenuEntryShownHasACaptionOfItsOwnInBothLanguages)
{
    start(kHome);
    // The entries shown of each menu, without their access-key marks.
    const auto shown = [&] {
        QMap<QString, QStringList> menus;
        std::function<void(const QString&, const QList<QAction*>&)> walk = [&](const QString& menu,
                                                                               const QList<QAction*>& actions) {
            for (QAction* a : actions) {
                if (a->isSeparator() || !a->isVisible()) continue;
                menus[menu] << QString(a->text()).remove('&');
                if (a->menu()) walk(a->objectName(), a->menu()->actions());
            }
        };
        walk("the bar", main->findChild<QMenuBar*>()->actions());
        return menus;
    };
    main->mnu_languageselect[1]->Choose();
    const QMap<QString, QStringList> portuguese = shown();
    main->mnu_languageselect[0]->Choose();
    const QMap<QString, QStringList> english = shown();
    ASSERT_EQ(english.keys(), portuguese.keys());
    for (const QString& menu : english.keys()) {
        SCOPED_TRACE(menu.toStdString());
        for (const QStringList& entries : {english[menu], portuguese[menu]})
            EXPECT_EQ(QSet<QString>(entries.begin(), entries.end()).size(), entries.size())
                << entries.join(", ").toStdString();
        ASSERT_EQ(english[menu].size(), portuguese[menu].size());
        // The maker's web page keeps its name in every language.
        for (int i = 0; i < english[menu].size(); ++i) {
            if (english[menu][i] != "Kelmo on the Web...") {
                EXPECT_NE(english[menu][i], portuguese[menu][i]);
            }
        }
    }
}

// Every caption a child can read, by window and control: window titles,
// labels, buttons, frames and menu entries of every window the program made.
QMap<QString, QString> AllCaptions()
{
    QMap<QString, QString> captions;
    std::function<void(const QString&, const QList<QAction*>&)> entries = [&](const QString& at,
                                                                               const QList<QAction*>& actions) {
        for (QAction* a : actions) {
            if (a->isSeparator()) continue;
            captions[at + "/" + a->objectName() + ":" + a->text()] = a->text();
            if (a->menu()) entries(at, a->menu()->actions());
        }
    };
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* form = dynamic_cast<Form*>(top);
        if (!form) continue;
        const QString at = form->Name();
        captions[at] = form->Caption();
        for (QLabel* l : form->findChildren<QLabel*>()) captions[at + "/" + l->objectName()] = l->text();
        for (QAbstractButton* b : form->findChildren<QAbstractButton*>()) captions[at + "/" + b->objectName()] = b->text();
        for (QGroupBox* g : form->findChildren<QGroupBox*>()) captions[at + "/" + g->objectName()] = g->title();
        if (QMenuBar* bar = form->findChild<QMenuBar*>()) entries(at, bar->actions());
    }
    return captions;
}

TEST_F(ToolWindows, NoCaptionKeepsItsEnglishTextInPortuguese)
{
    start(kHome);
    // Texts the same in both languages, as the tables have them.
    QSet<QString> same;
    for (const LangMod::CaptionText& row : LangMod::BuiltInCaptions())
        if (QString::fromUtf8(row.text[0]) == QString::fromUtf8(row.text[1])) same << QString::fromUtf8(row.text[0]);
    // The maker's web page keeps its name in every language.
    same << "Kelmo on the Web...";
    main->mnu_languageselect[0]->Choose();
    const QMap<QString, QString> english = AllCaptions();
    main->mnu_languageselect[1]->Choose();
    const QMap<QString, QString> portuguese = AllCaptions();
    QStringList kept;
    for (auto it = english.begin(); it != english.end(); ++it) {
        // Signs and numbers read the same in every language.
        if (!it.value().contains(QRegularExpression("[A-Za-z]{2}")) || same.contains(it.value())) continue;
        if (portuguese.value(it.key()) == it.value()) kept << it.key() + " \"" + it.value() + "\"";
    }
    EXPECT_TRUE(kept.isEmpty()) << kept.join(", ").toStdString();
    EXPECT_EQ(EnvSelect::Window()->Command2->Caption(), "Abrir arquivo ...");
    EXPECT_EQ(EnvSelect::Window()->Command3->Caption(), "Abrir atividade ...");
    main->mnu_languageselect[0]->Choose();
    EXPECT_EQ(EnvSelect::Window()->Command2->Caption(), "Load a file ...");
    EXPECT_EQ(EnvSelect::Window()->Command3->Caption(), "Load worksheet ...");
}

TEST_F(ToolWindows, ALanguageWithoutBuiltInCaptionsLeavesThemAsTheyAre)
{
    start(kHome);
    main->mnu_languageselect[1]->Choose();
    LangMod::ApplyLanguage(2, 0);
    EXPECT_EQ(G.UiLanguage, 2);
    EXPECT_EQ(main->mnu_file->Caption(), "&Arquivo");
    EXPECT_EQ(groups->Caption(), "Grupos");
    for (dorv::Menu* m : main->mnu_languageselect) EXPECT_FALSE(m->Checked());
    // Messages come from a third section the message file does not have:
    // their keys show.
    EXPECT_EQ(LangMod::GetMessage("lang_Version"), "lang_Version");
}

TEST_F(ToolWindows, EveryBuiltInCaptionFindsItsControl)
{
    start(kHome);
    // The windows this program has: every row of the tables for them names a
    // control that is there, so no caption is silently lost.
    QStringList missing;
    for (const LangMod::CaptionText& row : LangMod::BuiltInCaptions()) {
        Form* form = Form::Existing(QLatin1String(row.window));
        if (!form) continue;
        const QString control = QLatin1String(row.control);
        if (control.isEmpty()) continue;
        const bool widget = !form->findChildren<QWidget*>(control).isEmpty();
        bool entry = false;
        if (QMenuBar* bar = form->findChild<QMenuBar*>()) {
            std::function<bool(const QList<QAction*>&)> find = [&](const QList<QAction*>& actions) {
                for (QAction* a : actions)
                    if (a->objectName() == control || (a->menu() && find(a->menu()->actions()))) return true;
                return false;
            };
            entry = find(bar->actions());
        }
        if (!widget && !entry) missing << QLatin1String(row.window) + "." + control;
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
    // The tables hold both languages for every row.
    for (const LangMod::CaptionText& row : LangMod::BuiltInCaptions()) {
        EXPECT_NE(row.text[0], nullptr);
        EXPECT_NE(row.text[1], nullptr);
    }
}

// ---- texts that fit ----

// The texts a window's controls cut: each caption, label, option, frame
// title, box and list entry, measured with the control's own font against the
// room the control gives it.
QStringList TextsCutIn(Form& form)
{
    QStringList cut;
    auto check = [&](QWidget* w, const QString& text, int need, int room) {
        if (need > room)
            cut << QString("%1/%2 \"%3\" needs %4 px, has %5").arg(form.Name(), w->objectName(), text).arg(need).arg(room);
    };
    // A wrapped text: each word within the width, the lines within the height.
    auto wrapped = [&](QWidget* w, const QFontMetrics& fm, const QString& text, QSize room, int above) {
        for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) check(w, text, fm.horizontalAdvance(word), room.width());
        const QRect lines = fm.boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap | Qt::AlignHCenter, text);
        check(w, text, above + lines.height(), room.height());
    };
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&form)) continue;
        const QFontMetrics fm(w->font());
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->text().isEmpty()) continue;
            if (l->wordWrap()) {
                wrapped(l, fm, l->text(), l->contentsRect().size(), 0);
            } else {
                check(l, l->text(), fm.horizontalAdvance(l->text()), l->contentsRect().width());
                check(l, l->text(), fm.height(), l->contentsRect().height());
            }
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            const QString text = QString(b->text()).remove('&');
            if (text.isEmpty()) continue;
            // A button's text with a little air; a box or an option with its mark.
            check(b, text, qobject_cast<QPushButton*>(b) ? fm.horizontalAdvance(text) + 8 : b->sizeHint().width(),
                  b->width());
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            check(g, g->title(), fm.horizontalAdvance(g->title()) + 16, g->width());
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            check(e, e->text(), fm.horizontalAdvance(e->text()) + 8, e->width());
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            for (int i = 0; i < list->count(); ++i) {
                const QRect r = list->visualItemRect(list->item(i));
                // The entry draws its text inside the focus frame's margins.
                const int margin = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
                if (!r.isEmpty())
                    wrapped(list, fm, list->item(i)->text(), r.size() - QSize(margin, 2), list->iconSize().height());
            }
        }
    }
    return cut;
}

TEST_F(ToolWindows, EveryTextFitsItsControlInBothLanguages)
{
    start(kClassroom);
    Budget* budget = Budget::Window();
    EnvSelect* chooser = EnvSelect::Window();
    main->mnu_showBudgetInfo->Choose();
    QStringList cut;
    auto measureAll = [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* form = dynamic_cast<Form*>(top)) cut << TextsCutIn(*form);
    };
    for (int language : {0, 1}) {
        main->mnu_languageselect[language]->Choose();
        // The longest amounts a child meets: five figures in the currency
        // with the longest symbol, spent past the budget.
        G.CurrencySymbol = "R$";
        budget->Text1->SetText("R$12345.00");
        budget->Text2->SetText("R$23456.00");
        budget->Text3->SetText("R$-11111.00");
        budget->Text4->SetText("+ R$12345.00");
        // Every group's name in the "Use prices" text.
        for (int i = 1; i <= groups->ListView1->Count(); ++i) {
            ClickEntry(*groups->ListView1, i);
            cut << TextsCutIn(*groups);
        }
        groups->Check1[1]->SetValue(1);
        chooser->Show();
        measureAll();
        chooser->Hide();
        groups->Check1[1]->SetValue(0);
    }
    cut.removeDuplicates();
    EXPECT_TRUE(cut.isEmpty()) << cut.join("\n").toStdString();
}

// ---- docked windows beside the work ----

// The tool windows and panels that stand over the canvas or its bar.
QStringList WindowsOverTheCanvas(Main& m)
{
    const QRect canvas = QRect(m.Picture2->mapToGlobal(QPoint(0, 0)), m.Picture2->size())
                             .united(QRect(m.VScroll2->mapToGlobal(QPoint(0, 0)), m.VScroll2->size()));
    QStringList over;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* f = dynamic_cast<Form*>(top))
            if (f != &m && f->isVisible() && f->frameGeometry().intersects(canvas)) over << f->Name();
    return over;
}

// The floor as the canvas shows it lies wholly inside: its colour touches
// no edge.
bool FloorWhollyInView(Main& m)
{
    const QImage& img = *m.CanvasDC->Surface();
    QRect floor;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if ((qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16)) == G.FloorColour) floor |= QRect(x, y, 1, 1);
        }
    return floor.width() > 100 && floor.left() > 0 && floor.top() > 0 && floor.right() < img.width() - 1 &&
           floor.bottom() < img.height() - 1;
}

TEST_F(ToolWindows, DockedWindowsLeaveTheRoomTheSheetAndTheChartInView)
{
    start(kClassroom);  // 6 x 8 m at its own scale
    // A few priced items, so that the spreadsheet and the charts draw.
    ClickEntry(*groups->ListView1, 1);
    groups->Check1[0]->SetValue(1);
    for (int i = 0; i < 4; ++i)
        main->AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes, G.Palette[size_t(i)],
                                  G.PlacedItems, G.PlacedItemCount, 0, 0, 0, G.Room, G.PlanScale);
    main->Picture1_Click(1);
    main->mnu_showBudgetInfo->Choose();
    main->mnu_changeColours->Choose();
    // The main window as the program opens it on 1024 x 768 and 1280 x 1024
    // screens: the desktop less 16 pixels all round.
    for (const QSize screen : {QSize(1024, 768), QSize(1280, 1024)}) {
        SCOPED_TRACE(screen.width());
        main->Move(240, 240, (screen.width() - 32) * 15, (screen.height() - 32) * 15);
        main->PositionToolWindows();
        layOutColumn();
        EXPECT_TRUE(groups->isVisible() && Budget::Window()->isVisible() && Colours::Window()->isVisible());
        EXPECT_EQ(WindowsOverTheCanvas(*main).join(", ").toStdString(), "");
        EXPECT_TRUE(FloorWhollyInView(*main));
        // The item groups of every environment: the window grows to the left,
        // and the canvas gives way.
        groups->Check1[1]->SetValue(1);
        layOutColumn();
        EXPECT_EQ(WindowsOverTheCanvas(*main).join(", ").toStdString(), "");
        groups->Check1[1]->SetValue(0);
        // The spreadsheet and the charts with their panels.
        main->Picture1_Click(3);
        layOutColumn();
        EXPECT_TRUE(Form::Existing("frmSpreadSht")->isVisible());
        EXPECT_EQ(WindowsOverTheCanvas(*main).join(", ").toStdString(), "");
        main->Picture1_Click(4);
        layOutColumn();
        EXPECT_TRUE(Form::Existing("frmGraphs")->isVisible());
        EXPECT_EQ(WindowsOverTheCanvas(*main).join(", ").toStdString(), "");
        // Back in the plan, with the item groups alone the canvas widens.
        main->Picture1_Click(1);
        main->mnu_showBudgetInfo->Choose();
        main->mnu_changeColours->Choose();
        layOutColumn();
        const int withGroups = main->Picture2->width();
        EXPECT_EQ(WindowsOverTheCanvas(*main).join(", ").toStdString(), "");
        EXPECT_TRUE(FloorWhollyInView(*main));
        main->mnu_showItemGroups->Choose();
        layOutColumn();
        EXPECT_GT(main->Picture2->width(), withGroups);
        main->mnu_showItemGroups->Choose();
        main->mnu_showBudgetInfo->Choose();
        main->mnu_changeColours->Choose();
    }
}

// The budget below the widened item groups, after a language switch, in the
// spreadsheet and the chart views that withdraw the item groups: each docked
// window stands beside the canvas and its bar, whichever way the column
// changed.
TEST_F(ToolWindows, TheBudgetFollowsTheColumnWhenTheWideItemGroupsWithdraw)
{
    start(kHome);
    groups->Check1[0]->SetValue(1);
    for (int i = 0; i < 3; ++i)
        main->AddItemFromTemplate(G.SceneShapes, G.SceneShapeCount, G.CatalogueShapes, G.Palette[size_t(i)],
                                  G.PlacedItems, G.PlacedItemCount, 0, 0, 0, G.Room, G.PlanScale);
    main->mnu_showBudgetInfo->Choose();
    Form* budget = Budget::Window();
    for (const QSize screen : {QSize(1024, 768), QSize(1280, 1024)}) {
        SCOPED_TRACE(screen.width());
        main->Move(240, 240, (screen.width() - 32) * 15, (screen.height() - 32) * 15);
        main->PositionToolWindows();
        // The box is ticked in the item groups, the language chosen from
        // the main window's menu: the main window is activated again.
        Activate(*groups);
        groups->Check1[1]->SetValue(1);
        Activate(*main);
        main->mnu_languageselect[1]->Choose();
        for (const int view : {3, 4, 1}) {
            SCOPED_TRACE(view);
            main->Picture1_Click(view);
            layOutColumn();
            ASSERT_TRUE(budget->isVisible());
            EXPECT_EQ(WindowsOverTheCanvas(*main).join(", ").toStdString(), "");
            // The column's windows share its left edge or stand right of it.
            const int canvasRight = main->VScroll2->mapToGlobal(QPoint(main->VScroll2->width(), 0)).x();
            EXPECT_GT(budget->frameGeometry().left(), canvasRight);
            if (groups->isVisible()) {
                EXPECT_EQ(budget->frameGeometry().left(), groups->frameGeometry().left());
            }
        }
        groups->Check1[1]->SetValue(0);
        main->mnu_languageselect[0]->Choose();
        layOutColumn();
        EXPECT_EQ(WindowsOverTheCanvas(*main).join(", ").toStdString(), "");
    }
}

// The docked windows, with the frames the platform reports, stand inside the
// main window one below the other; everything in them is within reach.
TEST_F(ToolWindows, TheDockedColumnFitsInsideTheMainWindowFramesAndAll)
{
    start(kClassroom);
    main->mnu_showBudgetInfo->Choose();
    main->mnu_changeColours->Choose();
    Form* budget = Budget::Window();
    Colours* colours = Colours::Window();
    // The main window as the program opens it on a 1024 x 768 screen.
    main->Move(240, 240, (1024 - 32) * 15, (768 - 32) * 15);
    main->PositionToolWindows();
    const QRect room = main->frameGeometry();
    QRect above;
    for (Form* f : {static_cast<Form*>(groups), budget, static_cast<Form*>(colours)}) {
        SCOPED_TRACE(f->Name().toStdString());
        ASSERT_TRUE(f->isVisible());
        const QRect frame = f->frameGeometry();
        EXPECT_TRUE(room.contains(frame)) << frame.bottom() << " below " << room.bottom();
        EXPECT_GT(frame.top(), above.bottom());
        above = frame;
    }
    // The colours' OK and Cancel, the item groups' boxes and Reset.
    for (QWidget* w : std::initializer_list<QWidget*>{colours->Command1[2], colours->Command1[3], groups->Check1[0],
                                                      groups->Check1[1], groups->Label2, groups->Command1}) {
        SCOPED_TRACE(w->objectName().toStdString());
        const QRect at(w->mapTo(w->window(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(w->window()->rect().contains(at));
        EXPECT_TRUE(room.contains(QRect(w->mapToGlobal(QPoint(0, 0)), w->size())));
    }
    // The item groups gave up height: the list is shorter, and shows a group
    // whole above the boxes.
    EXPECT_LT(groups->height(), ItemGroups::kClientHeight);
    EXPECT_GE(groups->ListView1->height(), groups->ListView1->gridSize().height());
    EXPECT_LE(groups->ListView1->geometry().bottom(), groups->Check1[0]->geometry().top());
}

// The same with the frames a window manager draws: a title bar of 21 to 30
// pixels and thin borders, on a 1024 x 768 and a 1280 x 1024 screen.
TEST(DockColumn, WithTheWindowManagersFramesTheColumnEndsByTheBottom)
{
    const std::array<QSize, 3> clients{QSize(160, ItemGroups::kClientHeight), QSize(160, 190), QSize(160, 152)};
    for (const QMargins frame : {QMargins(1, 21, 1, 1), QMargins(4, 30, 4, 4)}) {
        for (const int bottom : {756, 1012}) {
            SCOPED_TRACE(testing::Message() << frame.top() << " " << bottom);
            const std::array<QMargins, 3> frames{frame, frame, frame};
            const auto placed = Main::DockColumn(QPoint(830, 33), bottom, 3, clients, frames,
                                                 ItemGroups::kLeastClientHeight);
            int top = 33;
            for (size_t i = 0; i < 3; ++i) {
                const QRect outer = placed[i].marginsAdded(frame);
                EXPECT_EQ(outer.topLeft(), QPoint(830, top));
                EXPECT_EQ(placed[i].width(), 160);
                if (i > 0) {
                    EXPECT_EQ(placed[i].height(), clients[i].height());
                }
                top = outer.bottom() + 1 + 3;
            }
            EXPECT_LE(placed[2].marginsAdded(frame).bottom() + 1, bottom);
            // The item groups give up only what the others need.
            if (bottom > 1000) {
                EXPECT_EQ(placed[0].height(), ItemGroups::kClientHeight);
            } else {
                EXPECT_EQ(placed[2].marginsAdded(frame).bottom() + 1, bottom);
            }
        }
    }
    // On a screen too small for the least item groups the column runs on
    // below, the item groups at their least; without the budget and the
    // colours they keep their height.
    const std::array<QMargins, 3> frames{QMargins(1, 21, 1, 1), QMargins(1, 21, 1, 1), QMargins(1, 21, 1, 1)};
    EXPECT_EQ(Main::DockColumn(QPoint(0, 33), 500, 3, clients, frames, 260)[0].height(), 260);
    EXPECT_EQ(Main::DockColumn(QPoint(0, 33), 500, 3, {clients[0], QSize(), QSize()}, frames, 260)[0].height(),
              ItemGroups::kClientHeight);
}

// ---- splash, About box, web page ----

TEST(Splash, TheVersionHasThreeRevisionDigits)
{
    const QString v = frmSplash::vsnstr();
    EXPECT_EQ(v, QString("%1.%2.%3").arg(AppMajor()).arg(AppMinor()).arg(AppRevision(), 3, 10, QChar('0')));
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+\\.\\d{3}$").match(v).hasMatch());
}

TEST_F(ToolWindows, TheSplashClosesOnThe81stTickOrAtAKey)
{
    LangMod::LoadMessages();
    // The splash shows while the main window loads; without another window
    // its unloading would end the run.
    Form keeper("keeper");
    keeper.Load();
    Form::Register("frmSplash", [] { return new frmSplash; });
    frmSplash* splash = frmSplash::Window();
    ASSERT_NE(splash, nullptr);
    bool shownWithPicture = false;
    TestDialogs().ExpectModal("frmSplash", [&](Form&) {
        shownWithPicture = !splash->Picture2->Picture().isNull();
        EXPECT_EQ(splash->lblVersion->Caption(), LangMod::GetMessage("lang_Version") + " " + frmSplash::vsnstr());
        EXPECT_EQ(splash->Timer1.Interval(), 50);
        for (int i = 0; i < 80; ++i) splash->Timer1_Timer();
        EXPECT_TRUE(splash->isVisible());
        splash->Timer1_Timer();
        EXPECT_FALSE(splash->isVisible());
        EXPECT_FALSE(splash->IsLoaded());
        EXPECT_TRUE(splash->Picture2->Picture().isNull());  // the picture is let go
    });
    splash->go();
    EXPECT_TRUE(shownWithPicture);
    EXPECT_FALSE(splash->Timer1.Enabled());

    TestDialogs().ExpectModal("frmSplash", [&](Form& f) {
        QTest::keyClick(&f, Qt::Key_A);
        EXPECT_FALSE(splash->IsLoaded());
    });
    splash->go();
    EXPECT_EQ(TestDialogs().Pending(), 0);
}

TEST_F(ToolWindows, TheSplashAndTheAboutBoxNameTheSystemDorvRunsOn)
{
    start(kHome);
    const QStringList linux = {QStringLiteral("For Linux"), QStringLiteral("Para Linux")};
    for (int16_t language : {int16_t(0), int16_t(1)}) {
        SCOPED_TRACE(language);
        LangMod::ApplyLanguage(language, language);
        auto* splash = dynamic_cast<frmSplash*>(Form::Existing("frmSplash"));
        std::unique_ptr<frmSplash> own;
        if (!splash) {
            own = std::make_unique<frmSplash>();
            splash = own.get();
            LangMod::ApplyBuiltInCaptions(language);
        }
        EXPECT_EQ(splash->lblForWindows->Caption().toStdString(), linux[language].toStdString());
        bool seen = false;
        TestDialogs().ExpectModal("wAbout", [&](Form& f) {
            seen = true;
            auto& about = dynamic_cast<wAbout&>(f);
            for (int c = 0; c < about.CaptionCount(); ++c)
                EXPECT_FALSE(about.Caption(c).contains(QStringLiteral("Windows"))) << about.Caption(c).toStdString();
            ClickButton(*about.PushButton1);
        });
        main->mnu_about->Choose();
        EXPECT_TRUE(seen);
    }
    EXPECT_EQ(frmSplash().lblForWindows->Caption().toStdString(), linux[0].toStdString());  // before any language is set
}

TEST_F(ToolWindows, TheAboutBoxTranslatesItsKeysAndClosesWithItsButton)
{
    start(kHome);
    bool seen = false;
    TestDialogs().ExpectModal("wAbout", [&](Form& f) {
        auto& about = dynamic_cast<wAbout&>(f);
        seen = true;
        EXPECT_EQ(about.WindowCaption(), LangMod::GetMessage("nAboutTitle"));
        EXPECT_TRUE(about.WindowCaption().contains(AppTitle()));  // %APP is the title
        EXPECT_EQ(about.Label1->Caption(), LangMod::GetMessage("nAbout1Title"));
        EXPECT_EQ(about.PushButton1->Caption(), LangMod::GetMessage("nCloseWindow"));
        EXPECT_EQ(about.version->Caption(), frmSplash::vsnstr());
        EXPECT_EQ(about.Label9->Caption(), LangMod::GetMessage("nAbout3"));
        ClickButton(*about.PushButton1);
        EXPECT_FALSE(about.isVisible());
    });
    main->mnu_about->Choose();
    EXPECT_TRUE(seen);
    EXPECT_EQ(Form::Existing("wAbout"), nullptr);  // let go once closed
    // Escape closes it as it does every other dialog.
    TestDialogs().ExpectModal("wAbout", [](Form& about) {
        QTest::keyClick(&about, Qt::Key_Escape);
        EXPECT_FALSE(about.isVisible());
    });
    main->mnu_about->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
}

}  // namespace

// The Help menu's link and the About box's open the page about Dorv that
// ships with it: a file that is there, naming the version and the places.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

namespace {

TEST_F(ToolWindows, TheWebLinkAndTheAboutBoxOpenThePageThatShipsWithDorv)
{
    start(kHome);
    UrlCatcher catcher;
    for (const char* scheme : {"file", "http", "https"}) QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    main->mKelmoOnTheWeb->Choose();
    TestDialogs().ExpectModal("wAbout", [&](Form& f) {
        auto& about = dynamic_cast<wAbout&>(f);
        EXPECT_FALSE(about.Label9->Caption().startsWith("nAbout"));  // it has a text in the message file
        QTest::mouseClick(about.Label9, Qt::LeftButton);
        ClickButton(*about.PushButton1);
    });
    main->mnu_about->Choose();
    for (const char* scheme : {"file", "http", "https"}) QDesktopServices::unsetUrlHandler(scheme);

    ASSERT_EQ(catcher.opened.size(), 2);
    EXPECT_EQ(catcher.opened[0], catcher.opened[1]);
    const QUrl page = catcher.opened[0];
    ASSERT_TRUE(page.isLocalFile()) << page.toString().toStdString();
    EXPECT_EQ(QFileInfo(page.toLocalFile()).canonicalFilePath(),
              QFileInfo(QStringLiteral(DORV_CONTENT_BUILD_DIR "/Dorv.html")).canonicalFilePath());
    bool ok = false;
    const QString html = QString::fromLatin1(dorv::ReadWholeFile(page.toLocalFile(), &ok));
    ASSERT_TRUE(ok);
    EXPECT_TRUE(html.contains("Version " + frmSplash::vsnstr()));
    for (int row = 1; row <= G.EnvironmentCount; ++row) {
        const QString name = LangMod::GetEnvText(FileMod::GetTrimmedFileName(envFolder(row)));
        EXPECT_TRUE(html.contains(">" + name + "<")) << name.toStdString();
    }
}

}  // namespace

#include "test_tool_windows.moc"
