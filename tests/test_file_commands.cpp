// The File menu as a child uses it: save a place, start a new one, open the
// first again and find it as it was; the save question before a command
// that would drop work; overwriting; damaged files; examples; exports; the
// scene named on the command line.
#include "app/Main.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "scene/FileMod.h"
#include "scene/LangMod.h"
#include "scene/SceneFile.h"
#include "scene/SceneState.h"

#include "support/NewPlaceScript.h"
#include "support/SampleItems.h"
#include "support/TempDir.h"
#include "support/TestDialogs.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace dorv;

namespace {

constexpr int kGarden = 2, kHome = 3;

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Box(int style, const char* key) { return QStringLiteral("MsgBox %1: ").arg(style) + LangMod::GetMessage(key); }

FileDialogAnswer File(const QString& path, int filter = 1) { return FileDialogAnswer{path, filter}; }

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAppPath(DORV_CONTENT_BUILD_DIR);
        SetCommandLine(QString());
    }
    void TearDown() override
    {
        CloseProgram(main);
    }
    void start(int environment = kHome)
    {
        ExpectNewPlace(environment);
        main = std::make_unique<Main>();
        main->Show();
        Settle();
        ASSERT_EQ(TestDialogs().Pending(), 0);
        // What the file commands ask is all that is listed from here on.
        TestDialogs().Reset();
    }
    // A bed in the room, as a drop from the palette leaves it.
    void furnish(float x)
    {
        ItemRecord bed = TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount, QStringLiteral("Beds\\bed"), 72576,
                                            36288, 18144, 0x3060A0);
        bed.X = x;
        bed.Price = 80;
        G.PlacedItems.resize(static_cast<size_t>(G.PlacedItemCount) + 2);
        G.PlacedItems[static_cast<size_t>(G.PlacedItemCount++)] = bed;
        G.CleanFlag = false;
    }
    QByteArray sceneBytes() const
    {
        return FileMod::SceneFileBytes(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room);
    }
    QStringList asked(const char* kind) const { return TestDialogs().Asked().filter(QLatin1String(kind)); }

    std::unique_ptr<Main> main;
    TempDir dir;
};

TEST_F(FileCommands, SaveNewAndOpenAgainGiveTheSamePlace)
{
    start(kHome);
    furnish(1000);
    furnish(-5000);
    const QByteArray place = sceneBytes();
    EXPECT_TRUE(main->mnu_save->Enabled());

    // Untitled: the save dialog names the file, without its extension.
    TestDialogs().ExpectSave(File(dir.file("my room")));
    main->mnu_save->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(G.SceneFileName, dir.file("my room.dvp"));
    EXPECT_TRUE(G.CleanFlag);
    EXPECT_EQ(ReadFile(dir.file("my room.dvp")), place);
    EXPECT_EQ(asked("Save"), QStringList({"Save: Dorv File|*.dvp"}));

    // A saved scene is clean: New asks nothing and builds the Garden.
    ExpectNewPlace(kGarden);
    main->mnu_new->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_TRUE(asked("MsgBox").isEmpty());
    EXPECT_EQ(G.EnvironmentIndex, kGarden);
    EXPECT_NE(sceneBytes(), place);

    furnish(300);
    main->PushUndoRecord(Main::kUndoAdd, G.PlacedItems, G.PlacedItemCount - 1);
    ASSERT_EQ(main->UndoPos, 1);
    G.SelectedItem = G.PlacedItemCount - 1;
    G.CleanFlag = true;
    // Opened from the wall view, the place shows in the plan, with the
    // palette of its own environment.
    main->Picture1_Click(2);
    ASSERT_EQ(G.ViewMode, 2);
    TestDialogs().ExpectOpen(File(dir.file("my room.dvp")));
    main->mnu_open->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(G.ViewMode, 0);
    EXPECT_TRUE(G.ItemFolder.contains("Home"));
    EXPECT_GT(G.PaletteCount, 0);
    EXPECT_EQ(sceneBytes(), place);
    // The Garden's history does not reach into the opened place.
    EXPECT_EQ(main->UndoPos, 0);
    EXPECT_EQ(G.SelectedItem, -1);
    EXPECT_EQ(G.EnvironmentIndex, kHome);
    EXPECT_TRUE(G.EnvFolder.endsWith("Home"));
    EXPECT_EQ(G.SceneFileName, dir.file("my room.dvp"));
    EXPECT_TRUE(G.CleanFlag);
    EXPECT_EQ(asked("Open"), QStringList({"Open: Dorv scenes|*.dvp"}));
}

TEST_F(FileCommands, YesThenACancelledSaveDialogStopsTheOpenCommand)
{
    start();
    furnish(0);
    TestDialogs().ExpectMsgBox(vbYes);
    TestDialogs().ExpectSave(std::nullopt);
    main->mnu_open->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(asked("MsgBox"), QStringList({Box(51, "lang_DoYouWantToSaveYourWork")}));
    EXPECT_EQ(asked("Save"), QStringList({"Save: *.dvp"}));
    EXPECT_TRUE(asked("Open").isEmpty());
    EXPECT_FALSE(G.CleanFlag);
}

TEST_F(FileCommands, ATitledSceneIsSavedAtOnceAndTheQuestionNamesIt)
{
    start();
    furnish(0);
    const QString path = dir.write("kept.dvp", "old");
    G.SceneFileName = path;
    main->mnu_save->Choose();
    EXPECT_TRUE(TestDialogs().Asked().isEmpty());
    EXPECT_EQ(ReadFile(path), sceneBytes());
    EXPECT_TRUE(G.CleanFlag);

    // Modified again, the save question names the file; No drops the work.
    furnish(100);
    TestDialogs().ExpectMsgBox(vbNo);
    TestDialogs().ExpectOpen(std::nullopt);
    main->mnu_open->Choose();
    QString question = LangMod::GetMessage("lang_DoYouWantToSave");
    EXPECT_EQ(asked("MsgBox"), QStringList({"MsgBox 51: " + question.replace('%', "kept.dvp")}));
}

TEST_F(FileCommands, DecliningTheOverwriteLeavesTheFileAndTheSceneUntitled)
{
    start();
    furnish(0);
    G.SceneFileName = dir.file("first.dvp");
    const QString existing = dir.write("other.dvp", "someone else's");
    TestDialogs().ExpectSave(File(existing));
    TestDialogs().ExpectMsgBox(vbCancel);
    main->mnu_saveas->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(asked("MsgBox"), QStringList({Box(1, "lang_FileExistsAlready")}));
    EXPECT_EQ(ReadFile(existing), "someone else's");
    EXPECT_TRUE(G.SceneFileName.isEmpty());
    EXPECT_FALSE(G.CleanFlag);

    // A name typed without the extension is asked about the file it would
    // replace.
    TestDialogs().ExpectSave(File(dir.file("other")));
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_save->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(ReadFile(existing), sceneBytes());
    EXPECT_EQ(G.SceneFileName, existing);
}

TEST_F(FileCommands, ADamagedFileLeavesTheSceneAndItsName)
{
    start();
    furnish(0);
    G.SceneFileName = dir.file("mine.dvp");
    const QByteArray before = sceneBytes();
    const QString damaged = dir.write("damaged.dvp", QByteArray("\x08\0\0\0DorvFile\x05\0\0\0" "2.01A", 21));
    TestDialogs().ExpectMsgBox(vbNo);
    TestDialogs().ExpectOpen(File(damaged));
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_open->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(asked("MsgBox").last(), Box(48, "lang_ErrorLoadingThisFile"));
    EXPECT_EQ(sceneBytes(), before);
    EXPECT_EQ(G.SceneFileName, dir.file("mine.dvp"));
}

TEST_F(FileCommands, AnExampleOpensUntitledAndModified)
{
    start();
    const QString example = dir.file("examples/Bedroom.dvp");
    dir.mkdir("examples");
    furnish(0);
    QString path = example;
    ASSERT_TRUE(FileMod::SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount,
                                       G.Room));
    G.CleanFlag = true;
    G.ExamplesDir = dir.file("examples");
    TestDialogs().ExpectOpen(File(example));
    main->mnu_examples->Choose();
    EXPECT_TRUE(G.SceneFileName.isEmpty());
    EXPECT_FALSE(G.CleanFlag);
    EXPECT_EQ(G.PlacedItemCount, G.Room.FirstRealItem + 1);

    // Closing it at once asks to save it.
    TestDialogs().ExpectMsgBox(vbCancel);
    main->mnu_exit->Choose();
    EXPECT_EQ(asked("MsgBox"), QStringList({Box(51, "lang_DoYouWantToSaveYourWork")}));
    EXPECT_FALSE(Ending());
}

TEST_F(FileCommands, AFileThatCannotBeWrittenIsReportedAndNothingIsLost)
{
    start();
    furnish(0);
    const QString nowhere = dir.file("no/such/folder/room.dvp");
    G.SceneFileName = nowhere;
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_save->Choose();
    QString report = LangMod::GetMessage("lang_FileNotSaved");
    EXPECT_EQ(asked("MsgBox"), QStringList({"MsgBox 48: " + report.replace('%', "room.dvp")}));
    EXPECT_FALSE(G.CleanFlag);
    EXPECT_EQ(G.SceneFileName, nowhere);

    // In the save question, a failed save cancels the command.
    TestDialogs().ExpectMsgBox(vbYes);
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_exit->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_FALSE(Ending());
    EXPECT_TRUE(main->isVisible());
}

TEST_F(FileCommands, ExportWritesTheFormatOfTheFilterChosen)
{
    start();
    furnish(0);
    TestDialogs().ExpectSave(File(dir.file("list.txt"), 2));
    main->mnu_export->Choose();
    EXPECT_TRUE(ReadFile(dir.file("list.txt")).startsWith("DorvText file\r\n"));
    TestDialogs().ExpectSave(File(dir.file("world.wrl"), 3));
    main->mnu_export->Choose();
    EXPECT_TRUE(ReadFile(dir.file("world.wrl")).startsWith("#VRML V2.0 utf8\r\n"));
    TestDialogs().ExpectSave(File(dir.file("items.csv"), 1));
    main->mnu_export->Choose();
    EXPECT_FALSE(ReadFile(dir.file("items.csv")).isEmpty());
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_FALSE(G.CleanFlag);  // exporting leaves the mark alone
}

TEST_F(FileCommands, TheCommandLineOpensItsSceneInsteadOfTheNewPlaceFlow)
{
    start(kGarden);
    furnish(2000);
    QString path = dir.file("from the desktop.dvp");
    ASSERT_TRUE(FileMod::SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount,
                                       G.Room));
    const QByteArray place = sceneBytes();
    main.reset();
    Form::DestroyAll();
    G = SceneState();
    SetCommandLine("\"" + path + "\"");
    TestDialogs().Reset();
    main = std::make_unique<Main>();
    main->Show();
    Settle();
    EXPECT_TRUE(TestDialogs().Asked().isEmpty());
    EXPECT_EQ(G.EnvironmentIndex, kGarden);
    EXPECT_EQ(G.SceneFileName, path);
    EXPECT_EQ(sceneBytes(), place);
}

}  // namespace
