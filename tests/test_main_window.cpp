// The main window shell: the settings file, the command line, the layout on
// resize, the background bands, the off-screen surfaces, the tool windows on
// minimise and restore, and the exit sequence.
#include "app/AdminSetup.h"
#include "app/Main.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"

#include "support/NewPlaceScript.h"
#include "support/QtPrint.h"
#include "support/TempDir.h"
#include "support/TestDialogs.h"
#include "support/WaitFor.h"

#include "../fuzz/FuzzEntries.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace dorv;

namespace {

// Twips as a control keeps them: rounded to whole pixels of 15 twips.
int32_t px(int32_t twips) { return RoundHalfEven(twips / 15.0) * 15; }

// ---- the settings file ----

struct Settings {
    SceneState state;
    WorksheetButton button;
};

Settings apply(const QByteArray& text)
{
    Settings s;
    s.state.UiLanguage = 7;  // to see that a missing line leaves it alone
    s.button = ApplyAdminSetup(text, s.state, "/opt/dorv", "/home/ana/Documents/");
    return s;
}

TEST(AdminSetup, WithoutLinesEveryFolderHasItsDefault)
{
    Settings s = apply("");
    EXPECT_EQ(s.state.EnvironDir, "/opt/dorv\\Environments");
    EXPECT_EQ(s.state.EnvironPlusDir, "/opt/dorv\\EnvironPlus");
    EXPECT_EQ(s.state.UserDir, "/home/ana/Documents/");
    EXPECT_EQ(s.state.ExamplesDir, "/opt/dorv\\Examples");
    EXPECT_EQ(s.state.WorksheetDir, "/opt/dorv\\Worksheets");
    ASSERT_EQ(s.state.CurrencyTable.size(), 1u);
    EXPECT_TRUE(s.state.CurrencyTable[0].Name.isEmpty());
    EXPECT_EQ(s.button, WorksheetButton::AsMade);
    EXPECT_EQ(s.state.UiLanguage, 7);

    // A missing or unreadable file gives the same.
    SceneState state;
    state.CurrencyTable.resize(3);
    TempDir dir;
    ReadAdminSetupFile(dir.file("AdminSetup.txt"), state, "/opt/dorv", "/u/");
    EXPECT_EQ(state.EnvironDir, "/opt/dorv\\Environments");
    EXPECT_EQ(state.CurrencyTable.size(), 1u);
    ReadAdminSetupFile(dir.mkdir("folder"), state, "/opt/dorv", "/u/");
    EXPECT_EQ(state.UserDir, "/u/");
}

TEST(AdminSetup, KeysAreLowerCasedButNeverTrimmed)
{
    Settings s = apply("ENVIRONDIR:D:\\Envs\r\n"
                       "examplesdir :/ignored\r\n"
                       "' userdir:/commented/out\r\n"
                       "no colon on this line\r\n"
                       "environplusdir:Default\r\n"
                       "userdir: /Home/Ana \r\n");
    EXPECT_EQ(s.state.EnvironDir, "d:\\envs");
    EXPECT_EQ(s.state.ExamplesDir, "/opt/dorv\\Examples");
    EXPECT_EQ(s.state.EnvironPlusDir, "/opt/dorv\\EnvironPlus");  // "default" in any case
    EXPECT_EQ(s.state.UserDir, " /home/ana ");                    // the value as written, lower-cased
}

TEST(AdminSetup, TheLastLineForAKeyWinsAndLineEndsMayBeAnyKind)
{
    Settings s = apply("examplesdir:/a\rexamplesdir:/b\nlanguage:1\r\nitemlang:1\r\nlanguage:0");
    EXPECT_EQ(s.state.ExamplesDir, "/b");
    EXPECT_EQ(s.state.UiLanguage, 0);
    EXPECT_EQ(s.state.ItemLanguage, 1);
}

TEST(AdminSetup, CurrencyLinesAddUp)
{
    Settings s = apply("currency:\xA3;0\r\n"      // the pound sign, rate 0
                       "currency:eur;1.17\r\n"
                       "currency:dollar\r\n"      // no semicolon: nothing
                       "currency: r$ ; 7.30xyz\r\n"
                       "currency:yen;-3\r\n"
                       "currency:odd;lots\r\n"
                       "currency:big;1e300\r\n");
    ASSERT_EQ(s.state.CurrencyTable.size(), 7u);
    EXPECT_EQ(s.state.CurrencyTable[1].Name, QString(QChar(0xA3)));
    EXPECT_FLOAT_EQ(s.state.CurrencyTable[1].Amount, 1.0f);
    EXPECT_EQ(s.state.CurrencyTable[2].Name, "EUR");
    EXPECT_FLOAT_EQ(s.state.CurrencyTable[2].Amount, 1.17f);
    EXPECT_EQ(s.state.CurrencyTable[3].Name, "R$");
    EXPECT_FLOAT_EQ(s.state.CurrencyTable[3].Amount, 7.30f);
    EXPECT_FLOAT_EQ(s.state.CurrencyTable[4].Amount, 1.0f);  // negative
    EXPECT_FLOAT_EQ(s.state.CurrencyTable[5].Amount, 1.0f);  // no number
    EXPECT_FLOAT_EQ(s.state.CurrencyTable[6].Amount, 1.0f);  // beyond a Single
}

TEST(AdminSetup, WorksheetButton)
{
    Settings none = apply("worksheetdir:NONE\r\n");
    EXPECT_EQ(none.button, WorksheetButton::Hidden);
    EXPECT_EQ(none.state.WorksheetDir, "/opt/dorv\\Worksheets");
    Settings keep = apply("worksheetdir:default\r\n");
    EXPECT_EQ(keep.button, WorksheetButton::Shown);
    EXPECT_EQ(keep.state.WorksheetDir, "/opt/dorv\\Worksheets");
    Settings own = apply("worksheetdir:/srv/Sheets\r\n");
    EXPECT_EQ(own.button, WorksheetButton::Shown);
    EXPECT_EQ(own.state.WorksheetDir, "/srv/sheets");
}

TEST(AdminSetup, ALanguageThatIsNoWholeNumberIsEnglish)
{
    EXPECT_EQ(SettingsLanguage("1"), 1);
    EXPECT_EQ(SettingsLanguage(" 2 "), 2);
    EXPECT_EQ(SettingsLanguage("+1"), 1);
    EXPECT_EQ(SettingsLanguage("portuguese"), 0);
    EXPECT_EQ(SettingsLanguage("1.5"), 0);
    EXPECT_EQ(SettingsLanguage("1x"), 0);
    EXPECT_EQ(SettingsLanguage(""), 0);
    EXPECT_EQ(SettingsLanguage("-"), 0);
    EXPECT_EQ(SettingsLanguage("99999"), 0);
    EXPECT_EQ(SettingsLanguage("\u0661"), 0);  // a digit of another script
    EXPECT_EQ(apply("itemlang:abc").state.ItemLanguage, 0);
}

// The fuzz target's corpus, replayed through the same checks, and damaged
// copies of each file: whatever the settings say, the folders, currencies
// and languages are sane.
TEST(AdminSetup, FuzzCorpusGivesSaneSettings)
{
    const QFileInfoList files =
        QDir(QStringLiteral(DORV_SOURCE_DIR "/fuzz/corpus/fuzz_settings")).entryInfoList(QDir::Files);
    ASSERT_GE(files.size(), 4);
    for (const QFileInfo& f : files) {
        QFile file(f.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray seed = file.readAll();
        EXPECT_TRUE(FuzzEntries::Settings(seed)) << f.fileName().toStdString();
        for (int at = 0; at < seed.size(); at += 3) {
            QByteArray b = seed;
            b[at] = static_cast<char>(b[at] ^ 0x20);  // letter case, blanks into NULs
            EXPECT_TRUE(FuzzEntries::Settings(b)) << f.fileName().toStdString() << " " << at;
        }
    }
}

TEST(CommandLine, ALineOfFourCharactersOrFewerNamesNoScene)
{
    EXPECT_EQ(Main::SceneFromCommandLine(""), std::nullopt);
    EXPECT_EQ(Main::SceneFromCommandLine("a.dv"), std::nullopt);
    EXPECT_EQ(Main::SceneFromCommandLine("\"\"\"\""), std::nullopt);
    EXPECT_EQ(Main::SceneFromCommandLine("a.dvp"), QString("a.dvp"));
    EXPECT_EQ(Main::SceneFromCommandLine("\"/home/ana/My Room.dvp\""), QString("/home/ana/My Room.dvp"));
    EXPECT_EQ(Main::SceneFromCommandLine("\"/x/open.dvp"), QString("/x/open.dvp"));
    EXPECT_EQ(Main::SceneFromCommandLine("\"\"/x.dvp\"\""), QString("\"/x.dvp\""));  // one quote each end only
}

// ---- the window ----

// A stand-in for a tool window: it notes when it is unloaded.
class ToolForm : public Form {
public:
    explicit ToolForm(const QString& name) : Form(name) { Move(0, 0, 3000, 2250); }
    static QStringList& unloads()
    {
        static QStringList u;
        return u;
    }

protected:
    void Form_Unload(int16_t&) override { unloads() << Name(); }
};

void registerToolWindows()
{
    for (const char* name : {"ItemGroups", "Budget", "Colours", "frmSpreadSht", "frmGraphs"})
        Form::Register(QLatin1String(name), [name] { return new ToolForm(QLatin1String(name)); });
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAppPath(DORV_CONTENT_BUILD_DIR);
        SetCommandLine(QString());
        registerToolWindows();
        ToolForm::unloads().clear();
        // Start-up runs the new-place flow: the first environment, as it
        // comes.
        ExpectNewPlace();
        main = std::make_unique<Main>();
        StartProgram(*main);
        ASSERT_EQ(TestDialogs().Pending(), 0);
    }
    void TearDown() override
    {
        main.reset();
        Form::DestroyAll();
        ResetEnding();
        SetAppPath(QString());
    }
    // Gives the client area w x h pixels.
    void clientSize(int w, int h)
    {
        const QSize frame = main->size() - main->Client()->size();
        main->resize(QSize(w, h) + frame);
        WAIT_FOR(main->Client()->size() == QSize(w, h));
    }
    std::unique_ptr<Main> main;
};

TEST_F(MainWindowTest, StartUpReadsTheSettingsAndShowsTheButtonFaces)
{
    EXPECT_EQ(G.LanguageName, "english");
    EXPECT_EQ(G.PaletteLayout, 0);
    EXPECT_TRUE(main->VScroll1->Visible());
    EXPECT_FALSE(main->HScroll1->Visible());
    // The shipped settings name four currencies.
    EXPECT_EQ(G.CurrencyTable.size(), 5u);
    EXPECT_GT(G.EnvironmentCount, 0);
    EXPECT_EQ(main->Picture1[0]->Picture(), main->ImageList1.Image(1));
    EXPECT_EQ(main->Picture1[1]->Picture(), main->ImageList1.Image(4));  // the plan, pressed
    EXPECT_EQ(main->Picture3[11]->Picture(), main->ImageList1.Image(23));
    EXPECT_FALSE(main->Picture3[12]->Picture().isNull());
    EXPECT_FALSE(main->Picture7[6]->Picture().isNull());
    EXPECT_EQ(main->CommandLineScene, std::nullopt);
    EXPECT_TRUE(main->mnu_showItemGroups->Enabled());  // the tests' stand-in is known
}

TEST_F(MainWindowTest, TheControlsAreLaidOutOnEveryResize)
{
    // With no docked window shown the canvas reaches the right edge.
    Form::Existing("ItemGroups")->Hide();
    clientSize(1000, 700);  // 15000 x 10500 twips
    const int32_t strip = main->Picture4->Height();
    EXPECT_EQ(strip, Main::kToolStripHeight);
    // The canvas: 3000 from the left, 100 below the strip (rounded to whole
    // pixels), as wide and high as the bars and the buttons leave.
    EXPECT_EQ(main->Picture2->Left(), 3000);
    EXPECT_EQ(main->Picture2->Top(), 735);  // 100 + 630 twips: 48.67 pixels, 49
    EXPECT_EQ(main->Picture2->Width(), 15000 - 3000 - 120 - 255);
    EXPECT_EQ(main->Picture2->Height(), px(10500 - 735 - 600 - 220 - 255));
    EXPECT_EQ(main->HScroll2->Left(), 3000);
    EXPECT_EQ(main->HScroll2->Top(), 735 + main->Picture2->Height());
    EXPECT_EQ(main->HScroll2->Width(), main->Picture2->Width());
    EXPECT_EQ(main->VScroll2->Left(), 3000 + main->Picture2->Width());
    EXPECT_EQ(main->VScroll2->Height(), main->Picture2->Height());
    // The palette beside it, 0.7 of the height, its bar on its right.
    EXPECT_EQ(main->Picture5->Left(), 120);
    EXPECT_EQ(main->Picture5->Top(), 735);
    EXPECT_EQ(main->Picture5->Width(), px(2780 - 255));
    EXPECT_EQ(main->Picture5->Height(), 7350);
    EXPECT_EQ(main->VScroll1->Left(), 120 + main->Picture5->Width());
    EXPECT_EQ(main->VScroll1->Height(), 7350);
    // The item panel from 100 below the palette to the bottom of the
    // canvas's bar, its first button at its right edge.
    EXPECT_EQ(main->Picture6->Top(), px(735 + 7350 + 100));
    EXPECT_EQ(main->Picture6->Top() + main->Picture6->Height(), main->HScroll2->Top() + main->HScroll2->Height());
    EXPECT_EQ(main->Picture6->Width(), px(2780));
    EXPECT_EQ(main->Command1->Left() + main->Command1->Width(), main->Picture6->ScaleWidth());
    // The strip across the whole window, the buttons 80 above the bottom.
    EXPECT_EQ(main->Picture4->Width(), main->Width());
    for (PictureBox* b : main->Picture1) EXPECT_EQ(b->Top(), px(10500 - 600 - 80));
    EXPECT_EQ(main->Picture3[12]->Top(), px(10500 - 600 - 80));
    // The canvas's centre, in pixels.
    EXPECT_FLOAT_EQ(G.CanvasCentreX, main->Picture2->ScaleWidth() / 2);
    EXPECT_FLOAT_EQ(G.CanvasCentreY, main->Picture2->ScaleHeight() / 2);

    // Another size, another layout.
    clientSize(800, 600);
    EXPECT_EQ(main->Picture2->Width(), 12000 - 3000 - 120 - 255);
    EXPECT_EQ(main->Picture5->Height(), 6300);
    for (PictureBox* b : main->Picture1) EXPECT_EQ(b->Top(), px(9000 - 600 - 80));
}

TEST_F(MainWindowTest, ANarrowWindowKeepsTheCanvasWidth)
{
    clientSize(800, 600);
    const int32_t width = main->Picture2->Width();
    clientSize(220, 600);  // 3300 twips: less than 3000 + 120 + the bar
    EXPECT_EQ(main->Picture2->Width(), width);
    EXPECT_EQ(main->Picture2->Height(), px(9000 - 735 - 600 - 220 - 255));
}

TEST_F(MainWindowTest, HidingTheToolStripMovesTheCanvasUp)
{
    clientSize(1000, 700);
    const int32_t height = main->Picture2->Height();
    ASSERT_TRUE(main->mnu_toolbar->Checked());
    main->mnu_toolbar->Choose();
    EXPECT_FALSE(main->Picture4->Visible());
    EXPECT_FALSE(main->mnu_toolbar->Checked());
    EXPECT_EQ(main->Picture2->Top(), 105);  // 100 twips: 6.67 pixels, 7
    EXPECT_EQ(main->Picture2->Height(), height + 630);
    EXPECT_EQ(main->Picture5->Top(), 105);
    main->mnu_toolbar->Choose();
    EXPECT_TRUE(main->Picture4->Visible());
    EXPECT_TRUE(main->mnu_toolbar->Checked());
    EXPECT_EQ(main->Picture2->Top(), 735);
    EXPECT_EQ(main->Picture2->Height(), height);
}

TEST_F(MainWindowTest, BothSurfacesFollowTheirControlsSizes)
{
    clientSize(1000, 700);
    ASSERT_TRUE(main->CanvasDC);
    ASSERT_TRUE(main->ListDC);
    const QImage* canvas = main->CanvasDC->Surface();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->width(), qRound(main->Picture2->ScaleWidth()));
    EXPECT_EQ(canvas->height(), qRound(main->Picture2->ScaleHeight()));
    EXPECT_EQ(main->ListDC->Surface()->size(),
              QSize(qRound(main->Picture5->ScaleWidth()), qRound(main->Picture5->ScaleHeight())));
    EXPECT_EQ(canvas, GdiBitmapImage(main->CanvasBitmap));
    const GdiObject before = main->CanvasBitmap;
    const int live = LiveGdiObjectCount();
    clientSize(900, 650);
    // Replaced, not added to: the old bitmap is gone.
    EXPECT_EQ(GdiBitmapImage(before), nullptr);
    EXPECT_EQ(main->CanvasDC->Surface()->width(), qRound(main->Picture2->ScaleWidth()));
    EXPECT_EQ(LiveGdiObjectCount(), live);
    // The view is drawn into the surface and copied to the canvas.
    EXPECT_EQ(main->Picture2->Surface().pixel(5, 5), main->CanvasDC->Surface()->pixel(5, 5));
}

TEST_F(MainWindowTest, TheBackgroundHasThreeBands)
{
    clientSize(600, 500);
    QImage shot = main->Client()->grab().toImage();
    const int h = 500;
    auto rgb = [](ColorRef c) { return qRgb(c & 255, (c >> 8) & 255, (c >> 16) & 255); };
    const QRgb c19 = rgb(GetSysColor(19)), c3 = rgb(GetSysColor(3));
    // A column no control covers: right of the buttons, below the canvas.
    const int x = 595;
    EXPECT_EQ(shot.pixel(x, h - 55), c3);      // the middle band starts at c3 ...
    EXPECT_NE(shot.pixel(x, h - 54), c3);      // in 1-pixel bands
    EXPECT_EQ(shot.pixel(x, h - 48), c19);     // ... the last one at c19
    EXPECT_NE(shot.pixel(x, h - 1), c19);      // and runs towards c3
    EXPECT_EQ(shot.pixel(x, h - 60), shot.pixel(x, h - 57));  // 4-pixel bands above
}

TEST_F(MainWindowTest, ToolWindowsDockAlongTheRightEdge)
{
    main->Move(1500, 1500, 12000, 9000);
    main->PositionToolWindows();
    Form* groups = Form::Existing("ItemGroups");
    Form* budget = Form::Existing("Budget");
    Form* colours = Form::Existing("Colours");
    Form* sheet = Form::Existing("frmSpreadSht");
    Form* graphs = Form::Existing("frmGraphs");
    ASSERT_TRUE(groups && budget && colours && sheet && graphs);
    EXPECT_TRUE(groups->IsLoaded());
    EXPECT_TRUE(groups->IsWindowVisible());  // the new place showed it
    EXPECT_FALSE(budget->IsWindowVisible());  // made hidden
    // Shown, each has the frame the desktop gives it.
    for (Form* f : {budget, colours, sheet, graphs}) f->Show(vbModeless, main.get());
    main->PositionToolWindows();
    EXPECT_EQ(groups->Left(), px(1500 + 12000 - groups->Width() - 200));
    EXPECT_EQ(groups->Top(), 495);  // 500 twips: 33.33 pixels, 33
    EXPECT_EQ(budget->Top(), groups->Top() + groups->Height() + 45);
    EXPECT_EQ(budget->Left(), groups->Left());
    EXPECT_EQ(colours->Top(), budget->Top() + budget->Height() + 45);
    // The panels take the item groups' place.
    EXPECT_EQ(sheet->Left(), px(1500 + 12000 - sheet->Width() - 200));
    EXPECT_EQ(sheet->Top(), groups->Top());
    EXPECT_EQ(graphs->Left(), px(1500 + 12000 - graphs->Width() - 200));
    EXPECT_EQ(graphs->Top(), groups->Top());
}

TEST_F(MainWindowTest, MinimisingHidesTheOpenToolWindowsAndRestoringShowsThemAgain)
{
    // The new place showed the item groups.
    main->mnu_changeColours_Click();
    Form* groups = Form::Existing("ItemGroups");
    Form* budget = Form::Existing("Budget");
    Form* colours = Form::Existing("Colours");
    ASSERT_TRUE(groups && budget && colours);
    EXPECT_TRUE(groups->IsWindowVisible());
    EXPECT_TRUE(main->mnu_showItemGroups->Checked());
    EXPECT_FALSE(budget->IsWindowVisible());

    main->SetWindowState(1);
    EXPECT_EQ(main->HiddenToolWindows, 8 + 1 + 4);
    EXPECT_FALSE(groups->IsWindowVisible());
    EXPECT_FALSE(colours->IsWindowVisible());

    main->SetWindowState(0);
    EXPECT_EQ(main->HiddenToolWindows, 0);
    EXPECT_TRUE(groups->IsWindowVisible());
    EXPECT_TRUE(colours->IsWindowVisible());
    EXPECT_FALSE(budget->IsWindowVisible());
    EXPECT_TRUE(main->mnu_showItemGroups->Checked());
    EXPECT_FALSE(main->mnu_showBudgetInfo->Checked());

    // Minimised with nothing open: restoring opens nothing.
    main->mnu_showItemGroups_Click();
    main->mnu_changeColours_Click();
    EXPECT_FALSE(main->mnu_showItemGroups->Checked());
    main->SetWindowState(1);
    EXPECT_EQ(main->HiddenToolWindows, 8);
    main->SetWindowState(0);
    EXPECT_FALSE(groups->IsWindowVisible());
    EXPECT_FALSE(colours->IsWindowVisible());
}

TEST_F(MainWindowTest, CancellingTheSaveQuestionKeepsTheProgramAndItsSurfaces)
{
    main->ConfirmSaveChanges = [] { return MsgBox("Save changes?", vbYesNoCancel | vbExclamation) == vbCancel; };
    Form::Get("ItemGroups")->Load();
    TestDialogs().ExpectMsgBox(vbCancel);
    main->mnu_exit->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_TRUE(main->IsLoaded());
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(Ending());
    EXPECT_TRUE(main->CanvasDC && main->ListDC);
    EXPECT_NE(main->CanvasBitmap, 0u);
    EXPECT_TRUE(ToolForm::unloads().isEmpty());

    // The window's close box asks the same question.
    TestDialogs().ExpectMsgBox(vbCancel);
    main->close();
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(TestDialogs().Asked().filter("MsgBox").size(), 2);
}

TEST_F(MainWindowTest, ExitUnloadsTheWindowsInOrderAndTheChooserEndsTheProgram)
{
    int asked = 0;
    main->ConfirmSaveChanges = [&asked] {
        ++asked;
        return MsgBox("Save changes?", vbYesNoCancel | vbExclamation) == vbCancel;
    };
    TestDialogs().ExpectMsgBox(vbNo);
    const int live = LiveGdiObjectCount();
    main->mnu_exit->Choose();
    EXPECT_EQ(asked, 1);
    // The item-groups window only hides when it is asked to go; the
    // chooser's unload ends the run, and nothing after it is unloaded.
    EXPECT_EQ(ToolForm::unloads(), QStringList({"frmGraphs", "frmSpreadSht"}));
    EXPECT_FALSE(Form::Existing("ItemGroups")->isVisible());
    EXPECT_FALSE(Form::Existing("EnvSelect")->IsLoaded());
    EXPECT_TRUE(Form::Existing("Budget")->IsLoaded());
    EXPECT_FALSE(main->CanvasDC);
    EXPECT_FALSE(main->ListDC);
    EXPECT_EQ(LiveGdiObjectCount(), live - 2);  // both bitmaps freed
    EXPECT_TRUE(Ending());
}

TEST_F(MainWindowTest, WhenTheSessionEndsTheProgramClosesWhateverTheAnswer)
{
    main->ConfirmSaveChanges = [] { return MsgBox("Save changes?", vbYesNoCancel | vbExclamation) == vbCancel; };
    TestDialogs().ExpectMsgBox(vbCancel);
    EXPECT_TRUE(main->Unload(vbAppWindows));
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_FALSE(main->IsLoaded());
    EXPECT_TRUE(Ending());
}

TEST_F(MainWindowTest, TheCommandLineNamesTheSceneToOpen)
{
    main.reset();
    SetCommandLine("\"/home/ana/My Room.dvp\"");
    main = std::make_unique<Main>();
    // No such file: the reader says so, and the child sets up a new place
    // rather than facing an empty window.
    TestDialogs().ExpectMsgBox(vbOK);
    ExpectNewPlace();
    main->Load();
    EXPECT_EQ(main->CommandLineScene, QString("/home/ana/My Room.dvp"));
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(TestDialogs().Asked().filter("MsgBox").first(),
              "MsgBox 48: " + LangMod::GetMessage("lang_ErrorLoadingThisFile"));
    EXPECT_TRUE(G.SceneFileName.isEmpty());
    EXPECT_GT(G.PlacedItemCount, 0);
}

}  // namespace
