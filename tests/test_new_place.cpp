// The new-place flow as a child meets it: the environment chooser, the
// place-setup dialog with its checks and its preview, Back, closing, the
// load buttons, File > New, and the room that OK builds.
#include "app/EnvSelect.h"
#include "app/Floors.h"
#include "app/Main.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/RecordingDc.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"

#include "support/NewPlaceScript.h"
#include "support/QtPrint.h"
#include "support/TempDir.h"
#include "support/TestDialogs.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QColor>
#include <QLocale>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using namespace dorv;

namespace {

// The shipped environments, in the order the chooser lists them.
constexpr int kClassroom = 1, kGarden = 2, kHome = 3;

// A stand-in for the item-groups window, which the flow shows at its end.
class GroupsStandIn : public Form {
public:
    GroupsStandIn() : Form(QStringLiteral("ItemGroups")) { Move(0, 0, 3000, 4500); }
};

void Type(TextBox& box, const QString& text)
{
    box.setFocus();
    box.selectAll();
    if (text.isEmpty())
        QTest::keyClick(&box, Qt::Key_Delete);
    else
        QTest::keyClicks(&box, text);
}

QRgb Rgb(ColorRef c) { return qRgb(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

QString Message(const char* key) { return QStringLiteral("MsgBox 48: ") + LangMod::GetMessage(QLatin1String(key)); }

class NewPlace : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAppPath(DORV_CONTENT_BUILD_DIR);
        SetCommandLine(QString());
        Form::Register(QStringLiteral("ItemGroups"), [] { return new GroupsStandIn; });
    }
    void TearDown() override
    {
        CloseProgram(main);
    }
    // Starts the program as the desktop does; the dialogs answer as scripted.
    void start(std::function<void(Main&)> before = nullptr)
    {
        main = std::make_unique<Main>();
        if (before) before(*main);
        StartProgram(*main);
    }
    QStringList modals() const { return TestDialogs().Asked().filter(QStringLiteral("Modal")); }
    std::unique_ptr<Main> main;
};

TEST_F(NewPlace, TheChooserShowsTheShippedEnvironmentsWithTheirPicturesAndNames)
{
    ExpectNewPlace(kHome);
    start();
    EnvSelect* chooser = EnvSelect::Window();
    ASSERT_NE(chooser, nullptr);
    ASSERT_EQ(chooser->ListView1->Count(), 3);
    EXPECT_EQ(chooser->ListView1->ItemText(kClassroom), "Classroom");
    EXPECT_EQ(chooser->ListView1->ItemText(kGarden), "Garden");
    EXPECT_EQ(chooser->ListView1->ItemText(kHome), "Home");
    for (const char* key : {"Classroom", "Garden", "Home"}) {
        const QImage picture = chooser->ImageList1.Image(QLatin1String(key));
        EXPECT_EQ(picture.size(), QSize(64, 64)) << key;
        EXPECT_NE(picture, main->ImageList2.Image(13)) << key;  // its own, not the default
        EXPECT_FALSE(chooser->ListView1->item(0)->icon().isNull());
    }
    // The settings name a worksheet folder: its button shows; both load
    // buttons open scenes.
    EXPECT_TRUE(chooser->Command3->Visible());
    EXPECT_TRUE(chooser->Command2->Enabled());
    EXPECT_TRUE(chooser->Command3->Enabled());

    // The names follow the item language.
    G.ItemLanguage = 1;
    chooser->LanguageChanged();
    EXPECT_EQ(chooser->ListView1->ItemText(kHome), "Casa");
    EXPECT_EQ(chooser->ListView1->ItemText(kGarden), QString::fromUtf8("Jardim"));
}

TEST_F(NewPlace, OKBuildsTheRoomAndShowsItInThePlanView)
{
    ExpectChoice(kHome);
    ExpectPlaceDialog([](Floors& floors) {
        // The dialog starts in metres with the place's sizes and budget, the
        // first currency of the settings chosen.
        EXPECT_EQ(floors.Caption(), "Set up your place: Room at home");
        EXPECT_TRUE(floors.Option1[0]->Value());
        EXPECT_EQ(floors.Text1->Text(), "4.00");
        EXPECT_EQ(floors.Text2->Text(), "5.00");
        EXPECT_EQ(floors.Text3->Text(), "2.50");
        EXPECT_EQ(floors.Text4->Text(), " 3000");
        EXPECT_EQ(floors.Combo1->ListCount(), 4);
        EXPECT_EQ(floors.Combo1->Text(), QString(QChar(0xA3)));
        EXPECT_TRUE(floors.Text3->Visible());
        EXPECT_EQ(floors.Label15->Caption(), "Width = 4.00 metres");
        floors.Combo1->SetText(QString(QChar(0x20AC)));
        Type(*floors.Text4, QStringLiteral("1170"));
        ClickButton(*floors.Command1[0]);
    });
    start();
    EXPECT_EQ(modals(), QStringList({"Modal EnvSelect", "Modal Floors"}));
    EXPECT_FALSE(Ending());
    EXPECT_TRUE(main->isVisible());

    EXPECT_TRUE(G.EnvFolder.endsWith("Home"));
    EXPECT_EQ(G.HomeEnvironmentFolder, G.EnvFolder);
    EXPECT_EQ(main->Caption(), "Dorv Zorazev - Place: Room at home");
    // 4 m wide, 5 m long, 2.5 m high, in internal units.
    EXPECT_EQ(G.Room.ExtentX, 181440);
    EXPECT_EQ(G.Room.ExtentY, 145152);
    EXPECT_EQ(G.Room.ExtentZ, 90720);
    EXPECT_EQ(G.Room.WallSectionCount, 4);
    EXPECT_EQ(G.PlacedItemCount, 5);
    EXPECT_EQ(G.Room.FirstRealItem, 5);
    EXPECT_FLOAT_EQ(G.PlanScale, 1.0f / (40.0f / 50 * 512));  // the place's scale 1 of 40
    EXPECT_EQ(G.ViewMode, 0);
    // The money: the budget typed, in euros, kept in the base currency.
    EXPECT_EQ(G.CurrencySymbol, QString(QChar(0x20AC)));
    EXPECT_NEAR(G.PlanInfo.budget, 1000.0f, 0.01f);
    EXPECT_EQ(G.FloorColour, G.PlanInfo.floor_colour);
    EXPECT_EQ(G.WallColour, G.PlanInfo.wall_colour);
    // Walls: the wall view is offered; turning waits for the wall view.
    EXPECT_TRUE(main->Picture1[2]->Enabled());
    EXPECT_EQ(main->Picture1[2]->Picture(), main->ImageList2.Image(5));
    EXPECT_FALSE(main->Picture3[9]->Enabled());
    // Prices: the spreadsheet and the change-price button are there.
    EXPECT_TRUE(main->Picture1[3]->Enabled());
    EXPECT_TRUE(main->Command2->Visible());
    // The item groups stand beside the window.
    EXPECT_TRUE(Form::Existing("ItemGroups")->IsWindowVisible());
    EXPECT_TRUE(main->mnu_showItemGroups->Checked());

    // The plan view shows the floor in the middle of the canvas, white
    // beyond it.
    const QImage canvas = main->Picture2->Surface();
    const QPoint centre(canvas.width() / 2, canvas.height() / 2);
    EXPECT_EQ(canvas.pixel(centre), Rgb(G.FloorColour));
    EXPECT_EQ(canvas.pixel(3, 3), qRgb(255, 255, 255));
}

TEST_F(NewPlace, BackAndTheCloseBoxReturnToTheChooser)
{
    ExpectChoice(kClassroom);
    ExpectPlaceDialog([](Floors& floors) { ClickButton(*floors.Command1[1]); });
    TestDialogs().ExpectModal("EnvSelect", [](Form& f) {
        auto& chooser = dynamic_cast<EnvSelect&>(f);
        Activate(chooser);
        // Nothing chosen yet: Select waits for a click.
        EXPECT_FALSE(chooser.Command1->Enabled());
        EXPECT_EQ(chooser.ListView1->SelectedIndex(), 0);
        ClickEntry(*chooser.ListView1, kGarden);
        EXPECT_TRUE(chooser.Command1->Enabled());
        ClickButton(*chooser.Command1);
    });
    ExpectPlaceDialog([](Floors& floors) { floors.close(); });
    TestDialogs().ExpectModal("EnvSelect", [](Form& f) {
        auto& chooser = dynamic_cast<EnvSelect&>(f);
        Activate(chooser);
        // A double click chooses at once.
        ClickEntry(*chooser.ListView1, kHome, true);
    });
    ExpectPlaceDialog();
    start();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(modals().size(), 6);
    EXPECT_FALSE(Ending());
    EXPECT_TRUE(G.EnvFolder.endsWith("Home"));
    EXPECT_EQ(G.PlaceSetupResult, 0);
    EXPECT_EQ(G.PlacedItemCount, 5);  // one room, not one per pass
}

TEST_F(NewPlace, ClosingTheChooserEndsTheProgramWithoutAQuestion)
{
    int asked = 0;
    TestDialogs().ExpectModal("EnvSelect", [](Form& f) { f.close(); });
    start([&asked](Main& m) {
        m.ConfirmSaveChanges = [&asked] {
            ++asked;
            return false;
        };
    });
    EXPECT_TRUE(Ending());
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(TestDialogs().Asked().filter("MsgBox").isEmpty());
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(G.PlacedItemCount, 0);
}

TEST_F(NewPlace, NewAsksOnceThenRunsTheFlowAgain)
{
    ExpectNewPlace(kHome);
    start();
    int asked = 0;
    bool cancel = true;
    main->ConfirmSaveChanges = [&] {
        ++asked;
        return cancel;
    };
    // Cancelling the save question leaves the place as it is.
    main->mnu_new->Choose();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(G.EnvFolder.endsWith("Home"));
    EXPECT_EQ(modals().size(), 2);

    cancel = false;
    G.UnitIndex = 4;
    ExpectChoice(kGarden);
    ExpectPlaceDialog([this](Floors& floors) {
        // The main window waits hidden meanwhile.
        EXPECT_FALSE(main->isVisible());
        EXPECT_EQ(floors.Text3->Text(), "1.20");
        ClickButton(*floors.Command1[0]);
    });
    main->mnu_new->Choose();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(G.EnvFolder.endsWith("Garden"));
    EXPECT_EQ(main->Caption(), "Dorv Zorazev - Place: Garden");
    EXPECT_EQ(G.PlacedItemCount, 5);  // the new room only
    EXPECT_EQ(G.Room.ExtentY, 362880);  // 10 m wide
    EXPECT_EQ(G.UnitIndex, 0);          // back to metres
    EXPECT_TRUE(Form::Existing("ItemGroups")->IsWindowVisible());

    // Closing the chooser after New ends the program without a second
    // question.
    TestDialogs().ExpectModal("EnvSelect", [](Form& f) { f.close(); });
    main->mnu_new->Choose();
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(Ending());
}

TEST_F(NewPlace, NewFromAnyViewGivesThePlanWithItsPanBarsAndItemGroups)
{
    ExpectNewPlace(kHome);
    start();
    main->ConfirmSaveChanges = [] { return false; };
    // 3D, wall, spreadsheet and graphs each take the pan bars or the item
    // groups away while they show.
    for (int16_t button : {0, 2, 3, 4}) {
        SCOPED_TRACE(button);
        main->Picture1_Click(button);
        ExpectNewPlace(kHome);
        main->mnu_new->Choose();
        EXPECT_EQ(TestDialogs().Pending(), 0);
        EXPECT_EQ(G.ViewMode, 0);
        EXPECT_EQ(main->CurrentViewButton, 1);
        EXPECT_EQ(main->Picture1[1]->Picture(), main->ImageList1.Image(4));
        EXPECT_EQ(main->Picture1[button]->Picture(), main->ImageList1.Image(2 * button + 1));
        EXPECT_TRUE(main->HScroll2->Enabled());
        EXPECT_TRUE(main->VScroll2->Enabled());
        EXPECT_TRUE(main->mnu_showItemGroups->Enabled());
        EXPECT_TRUE(main->mnu_showItemGroups->Checked());
        EXPECT_TRUE(Form::Existing("ItemGroups")->IsWindowVisible());
    }
}

TEST_F(NewPlace, SizesThatAreNotPositiveNumbersAreRefused)
{
    ExpectChoice(kHome);
    ExpectPlaceDialog([](Floors& floors) {
        // What is typed, and the width kept meanwhile: the last positive
        // number the box held as it was typed, never 0.
        const std::pair<const char*, float> typed[] = {{"", 4}, {"0", 4}, {"-2", 4}, {"5abc", 5}, {"4.5.1", 4.5f}};
        for (const auto& [text, kept] : typed) {
            Type(*floors.Text1, QLatin1String(text));
            ClickButton(*floors.Command1[0]);
            EXPECT_TRUE(floors.isVisible()) << text;
            EXPECT_EQ(floors.Text1->Text(), QLatin1String(text));  // the typed text stays
            EXPECT_FLOAT_EQ(G.PlaceWidth, kept) << text;
        }
        Type(*floors.Text1, QStringLiteral("4"));
        Type(*floors.Text2, QStringLiteral("abc"));
        ClickButton(*floors.Command1[0]);
        Type(*floors.Text2, QStringLiteral("5"));
        // The height is checked like the width and the length.
        Type(*floors.Text3, QStringLiteral("two"));
        ClickButton(*floors.Command1[0]);
        Type(*floors.Text3, QStringLiteral(""));
        ClickButton(*floors.Command1[0]);
        EXPECT_TRUE(floors.isVisible());
        EXPECT_FLOAT_EQ(G.PlaceHeight, 2.5f);
        Type(*floors.Text3, QStringLiteral("2.7"));
        ClickButton(*floors.Command1[0]);
        EXPECT_FALSE(floors.isVisible());
    });
    for (int i = 0; i < 8; ++i) TestDialogs().ExpectMsgBox(vbOK);
    start();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    const QStringList messages = TestDialogs().Asked().filter("MsgBox");
    ASSERT_EQ(messages.size(), 8);
    for (const QString& m : messages) EXPECT_EQ(m, Message("lang_EnterNumberGreaterThan0"));
    EXPECT_EQ(G.Room.ExtentZ, RoundHalfEven(2.7 * 36288));
}

TEST_F(NewPlace, SizesOverThePlacesLimitsAreRefusedWithTheLimitsInMetres)
{
    ExpectChoice(kHome);  // at most 12 m by 12 m
    ExpectPlaceDialog([](Floors& floors) {
        Type(*floors.Text1, QStringLiteral("12.01"));
        ClickButton(*floors.Command1[0]);
        Type(*floors.Text1, QStringLiteral("12"));
        Type(*floors.Text2, QStringLiteral("13"));
        ClickButton(*floors.Command1[0]);
        // In feet: 40 feet is over 12 m; the message still speaks metres.
        ClickButton(*floors.Option1[4]);
        EXPECT_EQ(floors.Text1->Text(), "39.37");
        Type(*floors.Text1, QStringLiteral("40"));
        Type(*floors.Text2, QStringLiteral("30"));
        ClickButton(*floors.Command1[0]);
        EXPECT_TRUE(floors.isVisible());
        // Exactly at the limit is accepted.
        ClickButton(*floors.Option1[0]);
        Type(*floors.Text1, QStringLiteral("12"));
        Type(*floors.Text2, QStringLiteral("12"));
        ClickButton(*floors.Command1[0]);
        EXPECT_FALSE(floors.isVisible());
    });
    for (int i = 0; i < 3; ++i) TestDialogs().ExpectMsgBox(vbOK);
    start();
    const QStringList messages = TestDialogs().Asked().filter("MsgBox");
    ASSERT_EQ(messages.size(), 3);
    for (const QString& m : messages)
        EXPECT_EQ(m, "MsgBox 48: This place is too big. It can be at most 12 metres wide and at most 12 metres long.");
    EXPECT_EQ(G.Room.ExtentX, 12 * 36288);
}

TEST_F(NewPlace, TheBudgetReadsAsTypedOrIsRefused)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ExpectChoice(kHome);
    ExpectPlaceDialog([](Floors& floors) {
        // One and a half, or fifteen? Neither is taken; nor is what is no
        // amount at all, below nothing, or a number with anything but its
        // own marks. The child types again in the box, its text chosen.
        for (const char* text :
             {"1,5", "lots", "", "1e7", "7 pounds", "12-", "-5", "\u00A3-0.01", "99,999,999,999", "40,000.01"}) {
            Type(*floors.Text4, QString::fromUtf8(text));
            ClickButton(*floors.Command1[0]);
            EXPECT_TRUE(floors.isVisible()) << text;
            EXPECT_EQ(floors.Text4->Text(), QString::fromUtf8(text));
            EXPECT_EQ(QApplication::focusWidget(), floors.Text4) << text;
            EXPECT_EQ(floors.Text4->selectedText(), QString::fromUtf8(text)) << text;
        }
        Type(*floors.Text4, QStringLiteral("40,000"));
        ClickButton(*floors.Command1[0]);
        EXPECT_FALSE(floors.isVisible());
    });
    for (int i = 0; i < 10; ++i) TestDialogs().ExpectMsgBox(vbOK);
    start();
    QStringList refused(8, Message("lang_EnterNumberGreaterThan0"));
    refused << Message("lang_LargestAmount").replace('%', "40000.00") << Message("lang_LargestAmount").replace('%', "40000.00");
    EXPECT_EQ(TestDialogs().Asked().filter("MsgBox"), refused);
    EXPECT_EQ(G.PlanInfo.budget, 40000.0f);
    QLocale::setDefault(before);
}

TEST_F(NewPlace, APortugueseBudgetReadsWithItsThousandsSeparator)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    ExpectChoice(kHome);
    ExpectPlaceDialog([](Floors& floors) {
        Type(*floors.Text4, QStringLiteral("1,000.50"));  // English, on a Portuguese desktop
        ClickButton(*floors.Command1[0]);
        EXPECT_TRUE(floors.isVisible());
        Type(*floors.Text4, QStringLiteral("1.250,50"));
        ClickButton(*floors.Command1[0]);
    });
    TestDialogs().ExpectMsgBox(vbOK);
    start();
    EXPECT_EQ(TestDialogs().Asked().filter("MsgBox"), QStringList{Message("lang_EnterNumberGreaterThan0")});
    EXPECT_EQ(G.PlanInfo.budget, 1250.5f);
    QLocale::setDefault(before);
}

TEST_F(NewPlace, TheLargestPlaceStaysTheLargestInEveryUnit)
{
    ExpectChoice(kClassroom);  // at most 20 m by 20 m
    ExpectPlaceDialog([](Floors& floors) {
        // 20 m is 787.40 inches as shown; a hundredth more is too big.
        ClickButton(*floors.Option1[5]);
        Type(*floors.Text1, QStringLiteral("787.41"));
        Type(*floors.Text2, QStringLiteral("787.40"));
        ClickButton(*floors.Command1[0]);
        EXPECT_TRUE(floors.isVisible());
        // 20 m is 65.62 feet as shown, which goes back to 20.001 m: the limit.
        ClickButton(*floors.Option1[4]);
        Type(*floors.Text1, QStringLiteral("65.62"));
        Type(*floors.Text2, QStringLiteral("65.62"));
        ClickButton(*floors.Command1[0]);
        EXPECT_FALSE(floors.isVisible());
    });
    TestDialogs().ExpectMsgBox(vbOK);
    start();
    EXPECT_EQ(TestDialogs().Asked().filter("MsgBox"),
              QStringList({"MsgBox 48: This place is too big. It can be at most 20 metres wide and at most 20 metres "
                           "long."}));
    EXPECT_EQ(G.PlaceWidth, 20.0f);
    EXPECT_EQ(G.PlaceLength, 20.0f);
    EXPECT_EQ(G.Room.ExtentX, 20 * 36288);
    EXPECT_EQ(G.Room.ExtentY, 20 * 36288);
}

TEST_F(NewPlace, SwitchingUnitsNeverMovesASize)
{
    ExpectChoice(kClassroom);  // at most 20 m by 20 m, at least 2 m high
    ExpectPlaceDialog([](Floors& floors) {
        Type(*floors.Text1, QStringLiteral("20"));
        Type(*floors.Text2, QStringLiteral("13.37"));
        Type(*floors.Text3, QStringLiteral("2"));
        // Round the units and back: each shows the size set in metres.
        const char* const shown[][3] = {{"2000.00", "1337.00", "200.00"}, {"20000.00", "13370.00", "2000.00"},
                                        {"21.87", "14.62", "2.19"},       {"65.62", "43.86", "6.56"},
                                        {"787.40", "526.38", "78.74"},    {"65.62", "43.86", "6.56"}};
        const int units[] = {1, 2, 3, 4, 5, 4};
        for (int i = 0; i < 6; ++i) {
            ClickButton(*floors.Option1[units[i]]);
            EXPECT_EQ(floors.Text1->Text(), QLatin1String(shown[i][0])) << units[i];
            EXPECT_EQ(floors.Text2->Text(), QLatin1String(shown[i][1])) << units[i];
            EXPECT_EQ(floors.Text3->Text(), QLatin1String(shown[i][2])) << units[i];
        }
        // The feet that show the limit are the limit, in inches too.
        Type(*floors.Text1, QStringLiteral("65.62"));
        Type(*floors.Text3, QStringLiteral("6.56"));
        ClickButton(*floors.Option1[5]);
        EXPECT_EQ(floors.Text1->Text(), "787.40");
        EXPECT_EQ(floors.Text3->Text(), "78.74");
        ClickButton(*floors.Command1[0]);
        EXPECT_FALSE(floors.isVisible());
    });
    start();
    EXPECT_TRUE(TestDialogs().Asked().filter("MsgBox").isEmpty());
    EXPECT_EQ(G.PlaceWidth, 20.0f);
    EXPECT_EQ(G.PlaceLength, 13.37f);
    EXPECT_EQ(G.PlaceHeight, 2.0f);
    EXPECT_EQ(G.Room.ExtentY, 20 * 36288);
    EXPECT_EQ(G.Room.ExtentX, RoundHalfEven(13.37f * 36288.0));
    EXPECT_EQ(G.Room.ExtentZ, 2 * 36288);
}

TEST_F(NewPlace, AGardenOfHeightZeroHasNoWalls)
{
    ExpectChoice(kGarden);  // the garden may have no height at all
    ExpectPlaceDialog([](Floors& floors) {
        EXPECT_TRUE(floors.Text3->Visible());
        Type(*floors.Text3, QStringLiteral("0"));
        ClickButton(*floors.Command1[0]);
        EXPECT_FALSE(floors.isVisible());
    });
    start();
    EXPECT_TRUE(TestDialogs().Asked().filter("MsgBox").isEmpty());
    EXPECT_EQ(G.PlaceHeight, 0.0f);
    EXPECT_EQ(G.Room.ExtentZ, 0);
    EXPECT_EQ(G.Room.WallSectionCount, 0);
    EXPECT_EQ(G.PlacedItemCount, 1);
    EXPECT_FALSE(main->Picture1[2]->Enabled());
}

TEST_F(NewPlace, AClassroomLowerThanItsSmallestHeightIsRefusedWithThatHeight)
{
    ExpectChoice(kClassroom);  // at least 2 m high
    ExpectPlaceDialog([](Floors& floors) {
        for (const char* low : {"0", "1.5", "-3"}) {
            Type(*floors.Text3, QLatin1String(low));
            ClickButton(*floors.Command1[0]);
            EXPECT_TRUE(floors.isVisible()) << low;
        }
        // 2 m is 6.56 feet as shown, which goes back to 1.9995 m: the limit.
        ClickButton(*floors.Option1[4]);
        Type(*floors.Text3, QStringLiteral("6.56"));
        ClickButton(*floors.Command1[0]);
        EXPECT_FALSE(floors.isVisible());
    });
    for (int i = 0; i < 3; ++i) TestDialogs().ExpectMsgBox(vbOK);
    start();
    const QString tooLow = "MsgBox 48: This place is too low. It must be at least 2 metres high.";
    EXPECT_EQ(TestDialogs().Asked().filter("MsgBox"), QStringList({tooLow, tooLow, tooLow}));
    EXPECT_EQ(G.PlaceHeight, 2.0f);
    EXPECT_EQ(G.Room.ExtentZ, 2 * 36288);
}

TEST_F(NewPlace, SizesTypedInCentimetresBecomeTheRightRoom)
{
    ExpectChoice(kHome);
    ExpectPlaceDialog([](Floors& floors) {
        ClickButton(*floors.Option1[1]);
        EXPECT_EQ(floors.Text1->Text(), "400.00");
        EXPECT_EQ(floors.Text3->Text(), "250.00");
        ClickButton(*floors.Option1[0]);
        EXPECT_EQ(floors.Text1->Text(), "4.00");
        ClickButton(*floors.Option1[1]);
        Type(*floors.Text1, QStringLiteral("450"));
        Type(*floors.Text2, QStringLiteral("320.5"));
        Type(*floors.Text3, QStringLiteral("240"));
        EXPECT_EQ(floors.Label15->Caption(), "Width = 450 centimetres");
        EXPECT_EQ(floors.Label16->Caption(), "Length = 320.5 centimetres");
        ClickButton(*floors.Command1[0]);
    });
    start();
    EXPECT_FLOAT_EQ(G.PlaceWidth, 4.5f);
    EXPECT_FLOAT_EQ(G.PlaceLength, 3.205f);
    EXPECT_FLOAT_EQ(G.PlaceHeight, 2.4f);
    EXPECT_EQ(G.Room.ExtentY, 163296);  // 4.5 m wide
    EXPECT_EQ(G.Room.ExtentX, 116303);  // 3.205 m long
    EXPECT_EQ(G.Room.ExtentZ, 87091);   // 2.4 m high
    EXPECT_EQ(G.UnitIndex, 1);          // the scene keeps the unit chosen
}

TEST_F(NewPlace, DefaultsAreShownInTheChosenUnit)
{
    ExpectChoice(kClassroom);  // 6 m by 8 m by 3 m
    ExpectPlaceDialog([](Floors& floors) {
        ClickButton(*floors.Option1[1]);
        Type(*floors.Text1, QStringLiteral("100"));
        Type(*floors.Text4, QStringLiteral("5"));
        ClickButton(*floors.Command1[2]);
        EXPECT_EQ(floors.Text1->Text(), "600.00");
        EXPECT_EQ(floors.Text2->Text(), "800.00");
        EXPECT_EQ(floors.Text3->Text(), "300.00");
        EXPECT_EQ(floors.Text4->Text(), QStringLiteral(" %1").arg(G.PlanInfo.budget));
        EXPECT_FLOAT_EQ(G.PlaceWidth, 6.0f);
        ClickButton(*floors.Command1[0]);
    });
    start();
    EXPECT_EQ(G.Room.ExtentY, 6 * 36288);
}

TEST_F(NewPlace, APlaceTooLowForWallsHasNoWallCommands)
{
    ExpectChoice(kGarden);
    ExpectPlaceDialog([](Floors& floors) {
        Type(*floors.Text3, QStringLiteral("0.01"));  // 1 cm: no room for a wall
        ClickButton(*floors.Command1[0]);
    });
    start();
    EXPECT_EQ(G.Room.WallSectionCount, 0);
    EXPECT_EQ(G.PlacedItemCount, 1);
    EXPECT_FALSE(main->Picture1[2]->Enabled());
    EXPECT_EQ(main->Picture1[2]->Picture(), main->ImageList2.Image(1));
    EXPECT_FALSE(main->Picture3[9]->Enabled());
    EXPECT_EQ(main->Picture3[9]->Picture(), main->ImageList2.Image(2));
}

// Environments of the test's own: names that end alike, a place without a
// height, without prices and with a scale below 0, and one without any
// place information or picture.
class OwnEnvironments : public NewPlace {
protected:
    void SetUp() override
    {
        NewPlace::SetUp();
        dir.write("AdminSetup.txt", QStringLiteral("environdir:%1\r\nworksheetdir:none\r\ncurrency:EUR;2\r\n")
                                        .arg(dir.file("Envs"))
                                        .toUtf8());
        dir.write("Envs/Home/PlanInfo.dvf", "place:Flat\r\ndefault_width:3\r\ndefault_depth:4\r\n"
                                            "noprices:true\r\nscale 1:-20\r\nbudget:100\r\n");
        dir.write("Envs/MyHome/PlanInfo.dvf", "place:House\r\ndefault_width:5\r\ndefault_depth:6\r\n"
                                              "default_height:2\r\nscale 1:25\r\n");
        dir.mkdir("Envs/Plain");
        // The program's pictures: each a colour of its own, to tell them apart.
        dir.mkdir("Pictures/ImageList2");
        for (int i = 1; i <= 14; ++i) {
            QImage picture(40, 40, QImage::Format_RGB32);
            picture.fill(QColor::fromHsv(i * 25, 200, 200));
            picture.save(dir.file(QStringLiteral("Pictures/ImageList2/%1.png").arg(i, 2, 10, QLatin1Char('0'))));
        }
        SetAppPath(dir.path());
    }
    TempDir dir;
};

TEST_F(OwnEnvironments, AClickChoosesTheEnvironmentItShows)
{
    // "Home" is the end of "MyHome": a click on Home is still Home.
    ExpectChoice(1);
    ExpectPlaceDialog([](Floors& floors) {
        EXPECT_EQ(floors.Text1->Text(), "3.00");
        ClickButton(*floors.Command1[0]);
    });
    start();
    EXPECT_TRUE(G.EnvFolder.endsWith("\\Home")) << G.EnvFolder.toStdString();
    EXPECT_EQ(G.PlanInfo.place, "Flat");
    // The settings hide the worksheet button.
    EXPECT_FALSE(EnvSelect::Window()->Command3->Visible());
}

TEST_F(OwnEnvironments, APlaceWithoutHeightOrPricesGetsNoWallsNoMoneyAndAScaleOfOne)
{
    ExpectChoice(1);
    ExpectPlaceDialog([](Floors& floors) {
        // No height box; no currency or budget to choose.
        EXPECT_FALSE(floors.Text3->Visible());
        EXPECT_FALSE(floors.Label3->Visible());
        EXPECT_FALSE(floors.Label17->Visible());
        EXPECT_FALSE(floors.Combo1->Enabled());
        EXPECT_FALSE(floors.Text4->Enabled());
        ClickButton(*floors.Command1[0]);
    });
    start();
    EXPECT_EQ(G.Room.ExtentZ, 0);
    EXPECT_EQ(G.Room.WallSectionCount, 0);
    EXPECT_FALSE(main->Picture1[2]->Enabled());
    EXPECT_FLOAT_EQ(G.PlanScale, 1.0f / (1.0f / 50 * 512));
    EXPECT_FALSE(main->Picture1[3]->Enabled());
    EXPECT_EQ(main->Picture1[3]->Picture(), main->ImageList2.Image(14));
    EXPECT_FALSE(main->Command2->Visible());
    for (int kind = 0; kind <= 4; ++kind) EXPECT_FALSE(G.GraphShowCosts[kind]);
}

TEST_F(OwnEnvironments, TheProposedBudgetReadsBackInEveryLocale)
{
    // The place information writes its budget as the desktop does; the box
    // shows it so too, since 12.125 with a point would be twelve thousand on
    // a Portuguese desktop.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    dir.write("Envs/MyHome/PlanInfo.dvf", "place:House\r\ndefault_width:5\r\ndefault_depth:6\r\nbudget:12,125\r\n");
    ExpectChoice(2);
    ExpectPlaceDialog([](Floors& floors) {
        EXPECT_EQ(floors.Text4->Text(), QStringLiteral(" 12,125"));
        ClickButton(*floors.Command1[0]);
    });
    start();
    EXPECT_EQ(G.PlanInfo.place, "House");
    EXPECT_FLOAT_EQ(G.PlanInfo.budget, 12.125f / 2);  // in the base currency: 2 euros to the unit
    QLocale::setDefault(before);
}

TEST_F(OwnEnvironments, AProposedBudgetTooLargeToKeepShowsInDigitsAndIsRefused)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    dir.write("Envs/MyHome/PlanInfo.dvf", "place:House\r\ndefault_width:5\r\ndefault_depth:6\r\nbudget:12345678\r\n");
    ExpectChoice(2);
    ExpectPlaceDialog([](Floors& floors) {
        EXPECT_EQ(floors.Text4->Text(), QStringLiteral(" 12345678"));
        ClickButton(*floors.Command1[0]);
        EXPECT_TRUE(floors.isVisible());
        Type(*floors.Text4, QStringLiteral("12345.67"));
        ClickButton(*floors.Command1[0]);
    });
    TestDialogs().ExpectMsgBox(vbOK);
    start();
    EXPECT_EQ(TestDialogs().Asked().filter("MsgBox"),
              QStringList{Message("lang_LargestAmount").replace('%', "40000.00")});
    EXPECT_FLOAT_EQ(G.PlanInfo.budget, 12345.67f / 2);  // 2 euros to the unit
    QLocale::setDefault(before);
}

TEST_F(OwnEnvironments, AnEnvironmentWithoutPlaceInformationOrPictureStillMakesAPlace)
{
    ExpectChoice(3);
    ExpectPlaceDialog([](Floors& floors) {
        // No sizes to offer: the child types them.
        Type(*floors.Text1, QStringLiteral("2"));
        Type(*floors.Text2, QStringLiteral("3"));
        ClickButton(*floors.Command1[0]);
    });
    start();
    EXPECT_EQ(EnvSelect::Window()->ImageList1.Image(QStringLiteral("Plain")), main->ImageList2.Image(13));
    EXPECT_TRUE(G.EnvFolder.endsWith("Plain"));
    EXPECT_GT(G.PlanScale, 0.0f);
    EXPECT_EQ(G.Room.ExtentX, 3 * 36288);
}

TEST_F(OwnEnvironments, APlaceWithoutLimitsStillFitsTheProgram)
{
    // No limits in the place information; the scene's coordinates still
    // have theirs, and the message names them only for the side beyond
    // them (the other side as it stands).
    ExpectChoice(3);
    ExpectPlaceDialog([](Floors& floors) {
        Type(*floors.Text1, QStringLiteral("1e30"));
        Type(*floors.Text2, QStringLiteral("3"));
        ClickButton(*floors.Command1[0]);
        Type(*floors.Text1, QStringLiteral("2"));
        Type(*floors.Text2, QStringLiteral("10001"));
        ClickButton(*floors.Command1[0]);
        // 10000 m shown in feet is no more than the program's largest side.
        Type(*floors.Text2, QStringLiteral("3"));
        ClickButton(*floors.Option1[4]);
        Type(*floors.Text1, QStringLiteral("32808.40"));
        ClickButton(*floors.Command1[0]);
    });
    for (int i = 0; i < 2; ++i) TestDialogs().ExpectMsgBox(vbOK);
    start();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    const QString tooBig = "MsgBox 48: " + LangMod::GetMessage("lang_MaxSizeOfPlace");
    EXPECT_EQ(TestDialogs().Asked().filter("MsgBox"),
              QStringList({QString(tooBig).replace('%', " 10000").replace('$', " 3"),
                           QString(tooBig).replace('%', " 2").replace('$', " 10000")}));
    EXPECT_EQ(G.Room.ExtentY, 10000 * 36288);
}

// The load buttons hand over to the Open command, the dialog starting in the
// user's folder or the worksheets; a cancelled or unknown scene brings the
// chooser back, a scene of a known environment ends the flow.
TEST_F(NewPlace, TheLoadButtonsRunTheOpenCommand)
{
    QStringList folders;
    int opened = 0;
    auto load = [](int button) {
        TestDialogs().ExpectModal("EnvSelect", [button](Form& f) {
            auto& chooser = dynamic_cast<EnvSelect&>(f);
            EXPECT_TRUE(chooser.Command2->Enabled());
            ClickButton(button == 2 ? *chooser.Command2 : *chooser.Command3);
        });
    };
    load(2);  // cancelled
    load(3);  // a scene of no known environment
    load(2);  // a scene of the Garden
    start([&](Main& m) {
        m.OpenCommand = [&](const QString& folder) {
            folders << folder;
            EXPECT_EQ(G.EnvironmentIndex, -1);
            if (++opened == 1) return;
            G.SceneFileName = QStringLiteral("/tmp/scene%1.dvp").arg(opened);
            G.EnvironmentIndex = opened == 2 ? -1 : kGarden;
            G.EnvFolder = G.EnvironmentTable[kGarden - 1][0];
        };
    });
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(folders, QStringList({G.UserDir, G.WorksheetDir, G.UserDir}));
    EXPECT_TRUE(modals().filter("Floors").isEmpty());
    EXPECT_FALSE(Ending());
    EXPECT_EQ(G.HomeEnvironmentFolder, G.EnvFolder);
    EXPECT_TRUE(main->isVisible());
}

// A key as the keyboard sends it: to the window that has the keyboard.
void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key(key), modifiers);
}

// Whether entry `index` is drawn with the focus mark: as the list draws it
// with the keyboard and without.
bool DrawnWithFocusMark(ListView& list, int index)
{
    const QRect entry = list.ItemRect(index);
    const QImage focused = list.viewport()->grab(entry).toImage();
    list.clearFocus();
    const QImage plain = list.viewport()->grab(entry).toImage();
    list.setFocus();
    return focused != plain;
}

// A child without a mouse: the chooser's focus mark on the first
// environment, which the first arrow chooses, each time the chooser appears,
// also after a load button had the keyboard; Enter for Select and OK, Escape
// for Back.
TEST_F(NewPlace, TheKeyboardAloneSetsUpAPlace)
{
    TestDialogs().ExpectModal("EnvSelect", [](Form& f) {
        auto& chooser = dynamic_cast<EnvSelect&>(f);
        Activate(chooser);
        // Load a file ..., whose dialog is cancelled.
        Press(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), chooser.Command2);
        Press(Qt::Key_Return);
        EXPECT_FALSE(chooser.isVisible());
    });
    TestDialogs().ExpectModal("EnvSelect", [](Form& f) {
        auto& chooser = dynamic_cast<EnvSelect&>(f);
        Activate(chooser);
        ASSERT_EQ(QApplication::focusWidget(), chooser.ListView1);
        EXPECT_TRUE(chooser.Command1->isDefault());
        EXPECT_TRUE(DrawnWithFocusMark(*chooser.ListView1, kClassroom));
        // Nothing chosen: Enter waits.
        Press(Qt::Key_Return);
        EXPECT_TRUE(chooser.isVisible());
        Press(Qt::Key_Down);
        EXPECT_EQ(chooser.ListView1->SelectedIndex(), kClassroom);
        Press(Qt::Key_Return);
        EXPECT_FALSE(chooser.isVisible());
    });
    ExpectPlaceDialog([](Floors& floors) {
        Press(Qt::Key_Escape);
        EXPECT_FALSE(floors.isVisible());
    });
    TestDialogs().ExpectModal("EnvSelect", [](Form& f) {
        auto& chooser = dynamic_cast<EnvSelect&>(f);
        Activate(chooser);
        // Shown again, the first environment is where the keys start.
        EXPECT_TRUE(DrawnWithFocusMark(*chooser.ListView1, kClassroom));
        Press(Qt::Key_Right);
        Press(Qt::Key_Right);
        EXPECT_EQ(chooser.ListView1->SelectedIndex(), kGarden);
        Press(Qt::Key_Enter, Qt::KeypadModifier);
    });
    ExpectPlaceDialog([](Floors& floors) {
        ASSERT_TRUE(floors.Text1->hasFocus());
        Press(Qt::Key_Return);
        EXPECT_FALSE(floors.isVisible());
    });
    start([](Main& m) {
        // The open dialog takes the keyboard and is cancelled.
        m.OpenCommand = [](const QString&) {
            Form dialog(QStringLiteral("OpenDialog"));
            dialog.Show();
            Activate(dialog);
        };
    });
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(modals().size(), 5);
    EXPECT_EQ(G.PlaceSetupResult, 0);
    EXPECT_TRUE(G.EnvFolder.endsWith("Garden"));
}

// The windows a view brings (the item groups, the spreadsheet's panel)
// leave the keyboard in the main window, where its keys work at once.
TEST_F(NewPlace, TheKeyboardStaysInTheMainWindowAcrossViews)
{
    ExpectNewPlace(kHome);
    start();
    int asked = 0;
    main->ConfirmSaveChanges = [&asked] {
        ++asked;
        return true;
    };
    G.SpentTotal = 100;  // the spreadsheet's panel has pages to show
    Activate(*main);
    for (int16_t button : {2, 1, 0, 3, 1}) {
        SCOPED_TRACE(button);
        QTest::mouseClick(main->Picture1[button], Qt::LeftButton);
        // Once the windows the view brought are on the screen, any keyboard
        // they took would have come with them.
        for (const char* name : {"ItemGroups", "frmSpreadSht"})
            if (Form* f = Form::Existing(QLatin1String(name)); f && f->isVisible())
                WAIT_FOR(f->windowHandle()->isExposed());
        EXPECT_EQ(Form::Existing(button == 3 ? "frmSpreadSht" : "ItemGroups")->isVisible(), button != 0);
        EXPECT_EQ(QApplication::activeWindow(), main.get());
        Press(Qt::Key_N, Qt::ControlModifier);  // New, which asks first
    }
    EXPECT_EQ(asked, 5);
}

TEST(PlacePreview, LargeSizesAreFittedBeforeDrawing)
{
    G = SceneState();
    G.PlanInfo.floor_colour = 0x3366CC;
    RecordingDc dc;
    // 30 m by 20 m at 3 m, in metres: 450 by 300 by 45 preview units.
    float W = 450, L = 300, H = 45;
    Floors::DrawPlacePreview(dc, W, L, H, 100, 120);
    EXPECT_FLOAT_EQ(W, 100);
    EXPECT_NEAR(L, 66.67f, 0.01f);
    EXPECT_FLOAT_EQ(H, 10);
    // The floor, the back wall and the side wall, each with its brush; then
    // the open side and the top.
    QStringList ops;
    std::vector<ColorRef> brushes;
    std::vector<std::vector<QPoint>> shapes;
    for (const DcCall& c : dc.Calls()) {
        if (c.op == DcOp::CreateSolidBrush) brushes.push_back(c.c);
        if (c.op == DcOp::Polygon) ops << "Polygon";
        if (c.op == DcOp::Polyline) ops << "Polyline";
        if (c.op == DcOp::Polygon || c.op == DcOp::Polyline) shapes.push_back(c.points);
    }
    EXPECT_EQ(ops, QStringList({"Polygon", "Polygon", "Polygon", "Polyline", "Polyline"}));
    EXPECT_EQ(brushes, std::vector<ColorRef>({0x3366CC, 0x999999, 0xBBBBBB}));
    EXPECT_TRUE(dc.Undeleted().empty());
    // The floor's first corner: (-50, -33.33) at height 0.
    ASSERT_EQ(shapes[0].size(), 4u);
    EXPECT_EQ(shapes[0][0], QPoint(RoundHalfEven((-50 - 33.333) * 0.866025404 + 100), RoundHalfEven(8.333 + 120)));
    // The top is closed; the back wall rises H above the floor.
    ASSERT_EQ(shapes[4].size(), 5u);
    EXPECT_EQ(shapes[4].front(), shapes[4].back());
    EXPECT_EQ(shapes[1][1].y(), shapes[1][0].y() - 10);

    // A small place is drawn as it is.
    W = 60, L = 75, H = 37.5f;
    Floors::DrawPlacePreview(dc, W, L, H, 0, 0);
    EXPECT_FLOAT_EQ(W, 60);
    EXPECT_FLOAT_EQ(L, 75);
    EXPECT_FLOAT_EQ(H, 37.5f);
}

TEST_F(NewPlace, ThePreviewFollowsTheTypedSizes)
{
    ExpectChoice(kHome);
    ExpectPlaceDialog([](Floors& floors) {
        auto floorPixels = [&floors] {
            const QImage shot = floors.Picture1->Surface();
            const QRgb colour = Rgb(G.PlanInfo.floor_colour);
            int n = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x) n += shot.pixel(x, y) == colour;
            return n;
        };
        const int first = floorPixels();
        EXPECT_GT(first, 100);
        Type(*floors.Text1, QStringLiteral("6"));
        EXPECT_GT(floorPixels(), first * 5 / 4);
        Type(*floors.Text1, QStringLiteral("3"));
        EXPECT_LT(floorPixels(), first);
        ClickButton(*floors.Command1[0]);
    });
    start();
    EXPECT_EQ(TestDialogs().Pending(), 0);
}

}  // namespace
