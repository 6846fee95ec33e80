// The File menu as a child uses it: save a place, start a new one, open the
// first again and find it as it was; the save question before a command
// that would drop work; overwriting; damaged files; examples; exports; the
// scene named on the command line.
#include "app/Budget.h"
#include "app/EnvSelect.h"
#include "app/Floors.h"
#include "app/ItemGroups.h"
#include "app/Main.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Forms.h"
#include "scene/FileMod.h"
#include "scene/LangMod.h"
#include "scene/RecordIO.h"
#include "scene/SceneFile.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"

#include "support/NewPlaceScript.h"
#include "support/QtPrint.h"
#include "support/SampleItems.h"
#include "support/TempDir.h"
#include "support/TestDialogs.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <utility>
#include <vector>

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

// A scene of the old stream format in the Home environment: its four walls
// and its plan each hold `count` entries of the item file `item`.
QByteArray OldScene(int16_t count, const QByteArray& group, const QByteArray& item)
{
    ByteWriter w;
    auto counted = [&](const QByteArray& text) {
        w.i32(static_cast<int32_t>(text.size()));
        w.bytes(text);
    };
    for (const char* text : {"DorvFile", "0.02B", "Home", "Old room"}) counted(text);
    w.f64(256);                                                    // scale 1
    for (int32_t v : {0, 0, 100, 200, 300, 260}) w.i32(v);         // the floor box
    for (double v : {50.0, 0.0, 12.5}) w.f64(v);                   // budget, spent
    counted("\xA3");
    counted("unused");
    w.i16(0);
    for (int16_t v : {10, 20, 30, 200, 100, 50}) w.i16(v);         // colours
    for (double v : {4.0, 3.0, 2.0, 0.0, 0.0, 0.0}) w.f64(v);      // sizes
    for (const char* section : {"north", "west", "south", "east", "plan"}) {
        counted(section);
        w.i16(count);
        const bool plan = section[0] == 'p';
        for (int16_t k = 0; k < count; ++k) {
            counted(group);
            counted(item);
            w.i32(plan ? 200 : 1000);
            w.i32(plan ? 230 : 0);
            w.i16(0);
            for (int32_t v : {0, 0, 0}) w.i32(v);
        }
    }
    return w.data();
}

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
    // Starts the program; a new place of `environment` is set up, or, with
    // -1, as the test has scripted.
    void start(int environment = kHome)
    {
        if (environment >= 0) ExpectNewPlace(environment);
        main = std::make_unique<Main>();
        StartProgram(*main);
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
    // Writes the scene as it stands to `path`.
    QString saveAs(QString path) const
    {
        EXPECT_TRUE(FileMod::SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes,
                                           G.SceneShapeCount, G.Room));
        return path;
    }
    // The folder and the file name the last file dialog was opened with.
    static FileDialogRequest lastDialog()
    {
        const auto& requests = TestDialogs().FileRequests();
        return requests.empty() ? FileDialogRequest() : requests.back();
    }

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

// Save As that saves nothing (its dialog cancelled, the overwrite declined,
// a file that cannot be written) leaves the scene its name: the question at
// Exit still names it.
TEST_F(FileCommands, SaveAsThatSavesNothingLeavesTheFilesAndTheScenesName)
{
    start();
    furnish(0);
    const QString first = saveAs(dir.file("first.dvp"));
    G.SceneFileName = first;
    const QString existing = dir.write("other.dvp", "someone else's");
    dir.mkdir("locked.dvp");
    const std::vector<std::pair<std::optional<FileDialogAnswer>, int>> ways = {
        {std::nullopt, 0}, {File(existing), vbCancel}, {File(dir.file("locked")), vbOK}};
    for (const auto& [answer, box] : ways) {
        TestDialogs().ExpectSave(answer);
        if (box) TestDialogs().ExpectMsgBox(box);
        main->mnu_saveas->Choose();
        EXPECT_EQ(G.SceneFileName, first);
    }
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(ReadFile(existing), "someone else's");
    EXPECT_FALSE(G.CleanFlag);
    TestDialogs().Reset();
    TestDialogs().ExpectMsgBox(vbCancel);
    main->mnu_exit->Choose();
    QString question = LangMod::GetMessage("lang_DoYouWantToSave");
    EXPECT_EQ(asked("MsgBox"), QStringList({"MsgBox 51: " + question.replace('%', "first.dvp")}));

    // A name typed without the extension is asked about the file it would
    // replace.
    TestDialogs().ExpectSave(File(dir.file("other")));
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_saveas->Choose();
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

// A file from outside whose numbers are no numbers, whose version is no
// version or whose room has no floor is damaged: it is refused and the open
// scene stays as it was.
TEST_F(FileCommands, AFileWithNoNumbersNoVersionOrNoFloorIsRefused)
{
    start();
    furnish(0);
    const QString good = saveAs(dir.file("good.dvp"));
    const QByteArray bytes = ReadFile(good);
    const int item = static_cast<int>(bytes.size()) - kItemRecordSize;  // the bed
    furnish(2000);
    G.SceneFileName = dir.file("mine.dvp");
    G.CleanFlag = true;
    const QByteArray before = sceneBytes();

    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    auto number = [&](int offset, float value) {
        ByteWriter w;
        w.f32(value);
        return QByteArray(bytes).replace(offset, 4, w.data());
    };
    auto version = [&](const char* text) { return QByteArray(bytes).replace(16, 5, text); };
    const std::vector<std::pair<const char*, QByteArray>> damaged = {
        {"budget", number(157, nan)},         {"spent", number(161, -inf)},    {"width", number(165, nan)},
        {"length", number(169, inf)},         {"height", number(173, nan)},    {"price", number(item + 58, nan)},
        {"elevation", number(item + 108, -inf)}, {"x", number(item + 120, nan)}, {"y", number(item + 124, inf)},
        {"angle", number(item + 136, nan)},   {"version nan", version("nan  ")}, {"version -0.0A", version("-0.0A")},
        {"version blank", version("     ")}, {"room of zeros", QByteArray(bytes).replace(kSceneHeaderSize, kRoomRecordSize,
                                                                                      QByteArray(kRoomRecordSize, 0))},
        // Numbers, but beyond what a scene holds: two such prices add up to
        // "inf", such a place size is drawn with 39 digits, and such an
        // elevation overflows the wall view's lettering.
        {"budget 3e38", number(157, 3e38f)},  {"spent -1e25", number(161, -1e25f)}, {"width 1e20", number(165, 1e20f)},
        {"price 1e20", number(item + 58, 1e20f)}, {"height mm 1e10", number(item + 76, 1e10f)},
        {"elevation -1e20", number(item + 108, -1e20f)}, {"x 3e9", number(item + 120, 3e9f)},
    };
    for (const auto& [name, b] : damaged) {
        const QString path = dir.write("damaged.dvp", b);
        TestDialogs().Reset();
        TestDialogs().ExpectOpen(File(path));
        TestDialogs().ExpectMsgBox(vbOK);
        main->mnu_open->Choose();
        EXPECT_EQ(TestDialogs().Pending(), 0) << name;
        EXPECT_EQ(asked("MsgBox"), QStringList({Box(48, "lang_ErrorLoadingThisFile")})) << name;
        EXPECT_EQ(sceneBytes(), before) << name;
        EXPECT_EQ(G.SceneFileName, dir.file("mine.dvp")) << name;
    }
    // The file itself opens, and so do the largest numbers the program
    // writes: a price older versions took, the widest place in millimetres,
    // an item at its edge.
    const std::vector<std::pair<const char*, QByteArray>> sound = {
        {"price", number(item + 58, 99999999999.0f)}, {"width", number(165, 10000000)},
        {"x", number(item + 120, 10000 * 36288 / 2)}, {"as saved", bytes}};
    for (const auto& [name, b] : sound) {
        const QString path = dir.write(QStringLiteral("sound %1.dvp").arg(QLatin1String(name)), b);
        TestDialogs().Reset();
        TestDialogs().ExpectOpen(File(path));
        main->mnu_open->Choose();
        EXPECT_TRUE(asked("MsgBox").isEmpty()) << name;
        EXPECT_EQ(G.SceneFileName, path) << name;
    }
}

// Open and Save agree on the largest scene: an old file that would build a
// scene larger than a scene file can hold is refused before it is built, and
// a scene that large is never written, so the file on disk still opens.
TEST_F(FileCommands, NoSceneLargerThanOpenTakesIsBuiltOrWritten)
{
    start();
    furnish(0);
    const QString mine = saveAs(dir.file("mine.dvp"));
    const QByteArray saved = ReadFile(mine);
    G.SceneFileName = mine;
    G.CleanFlag = true;
    const QByteArray before = sceneBytes();

    // Five sections of 8,000 bunk beds, 1.6 MB, would make a file of 1.1 GB.
    const QString huge = dir.write("huge.dvp", OldScene(8000, "Bedroom", "bunkbed"));
    TestDialogs().ExpectOpen(File(huge));
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_open->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    // A file of the current format beyond the limit is not read.
    QFile beyond(dir.file("beyond.dvp"));
    ASSERT_TRUE(beyond.open(QIODevice::WriteOnly) && beyond.write(saved) == saved.size() &&
                beyond.resize(FileMod::kLargestSceneFile + 1));
    beyond.close();
    TestDialogs().ExpectOpen(File(beyond.fileName()));
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_open->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(asked("MsgBox"), QStringList(2, Box(48, "lang_SceneTooLargeToOpen")));
    EXPECT_EQ(sceneBytes(), before);
    EXPECT_EQ(G.SceneFileName, mine);

    // A scene grown past the limit: Save and the save question say so and
    // write nothing.
    const int32_t words = G.SceneShapeCount;
    G.SceneShapes.resize(static_cast<size_t>(FileMod::kLargestSceneFile / 4) + 1);
    G.SceneShapeCount = static_cast<int32_t>(FileMod::kLargestSceneFile / 4);
    G.CleanFlag = false;
    TestDialogs().Reset();
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_save->Choose();
    TestDialogs().ExpectMsgBox(vbYes);
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_exit->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_FALSE(Ending());
    EXPECT_EQ(asked("MsgBox"), QStringList({Box(48, "lang_SceneTooLargeToSave"), Box(51, "lang_DoYouWantToSave").replace('%', "mine.dvp"),
                                            Box(48, "lang_SceneTooLargeToSave")}));
    EXPECT_EQ(ReadFile(mine), saved);
    EXPECT_EQ(G.SceneFileName, mine);
    EXPECT_FALSE(G.CleanFlag);
    G.SceneShapes.resize(static_cast<size_t>(words) + 1);
    G.SceneShapes.shrink_to_fit();
    G.SceneShapeCount = words;

    // The same old file with fewer entries opens.
    G.CleanFlag = true;
    const QString small = dir.write("small.dvp", OldScene(2, "Bedroom", "bunkbed"));
    TestDialogs().Reset();
    TestDialogs().ExpectOpen(File(small));
    main->mnu_open->Choose();
    EXPECT_TRUE(asked("MsgBox").isEmpty());
    EXPECT_EQ(G.PlacedItemCount, G.Room.FirstRealItem + 10);
    EXPECT_EQ(G.SceneFileName, small);
}

TEST_F(FileCommands, APlaceChosenAfterOpeningAnUnknownEnvironmentsSceneIsANewScene)
{
    start(kHome);
    furnish(0);
    furnish(900);
    // A scene made where an environment is installed that is not here.
    const QString home = G.EnvFolder;
    G.EnvFolder = dir.file("Moonbase");
    QString moon = dir.file("moon.dvp");
    ASSERT_TRUE(FileMod::SaveSceneFile(moon, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount,
                                       G.Room));
    G.EnvFolder = home;
    const QByteArray saved = ReadFile(moon);
    G.CleanFlag = true;

    // New; the chooser's "Load a file ..." opens it; its environment is
    // unknown, so the chooser comes back, and the Garden is set up.
    TestDialogs().ExpectModal("EnvSelect", [](Form& f) {
        auto& chooser = dynamic_cast<EnvSelect&>(f);
        Activate(chooser);
        ClickButton(*chooser.Command2);
    });
    TestDialogs().ExpectOpen(File(moon));
    ExpectNewPlace(kGarden);
    main->mnu_new->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(G.EnvironmentIndex, kGarden);
    // The Garden's room alone: none of the opened items or pictures.
    EXPECT_EQ(G.PlacedItemCount, G.Room.FirstRealItem);
    for (int32_t i = 0; i < G.PlacedItemCount; ++i)
        EXPECT_FALSE(G.PlacedItems[size_t(i)].Name.str().startsWith("Beds")) << i;
    EXPECT_TRUE(G.SceneFileName.isEmpty());
    EXPECT_TRUE(G.CleanFlag);

    // Changed and saved, it asks for a name and leaves the opened file.
    furnish(0);
    TestDialogs().Reset();
    TestDialogs().ExpectSave(std::nullopt);
    main->mnu_save->Choose();
    EXPECT_EQ(asked("Save"), QStringList({"Save: Dorv File|*.dvp"}));
    EXPECT_EQ(ReadFile(moon), saved);
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

// Worksheets stay as they ship, and no save of a new scene offers to replace
// a file opened before.
TEST_F(FileCommands, AWorksheetOpensUntitledAndNewWorkIsSavedInTheUsersFolder)
{
    start(kHome);
    G.UserDir = dir.mkdir("documents");
    G.WorksheetDir = dir.mkdir("worksheets");
    furnish(0);
    const QString worksheet = saveAs(dir.file("worksheets/Furnish a bedroom.dvp"));
    const QByteArray shipped = ReadFile(worksheet);
    G.CleanFlag = true;

    // File > Open of the worksheets, after another scene was opened from the
    // user's folder.
    const QString own = saveAs(dir.file("documents/own.dvp"));
    TestDialogs().ExpectOpen(File(own));
    main->mnu_open->Choose();
    ASSERT_EQ(G.SceneFileName, own);
    TestDialogs().ExpectOpen(File(worksheet));
    main->mnu_open->Choose();
    EXPECT_EQ(lastDialog().InitDir, FindPath(G.UserDir));
    EXPECT_TRUE(lastDialog().FileName.isEmpty());
    EXPECT_EQ(G.PlacedItemCount, G.Room.FirstRealItem + 1);
    EXPECT_TRUE(G.SceneFileName.isEmpty());
    EXPECT_TRUE(G.CleanFlag);

    // The first Save asks for a name in the user's folder.
    furnish(500);
    TestDialogs().ExpectSave(File(dir.file("documents/my bedroom")));
    main->mnu_save->Choose();
    EXPECT_EQ(lastDialog().InitDir, FindPath(G.UserDir));
    EXPECT_TRUE(lastDialog().FileName.isEmpty());
    EXPECT_EQ(G.SceneFileName, dir.file("documents/my bedroom.dvp"));
    EXPECT_EQ(ReadFile(worksheet), shipped);

    // Opened again, then New: neither Save nor the save question of the
    // next New offers the worksheet's file.
    TestDialogs().ExpectOpen(File(worksheet));
    main->mnu_open->Choose();
    ExpectNewPlace(kGarden);
    main->mnu_new->Choose();
    furnish(100);
    TestDialogs().ExpectSave(std::nullopt);
    main->mnu_save->Choose();
    EXPECT_EQ(lastDialog().InitDir, FindPath(G.UserDir));
    EXPECT_TRUE(lastDialog().FileName.isEmpty());
    TestDialogs().ExpectMsgBox(vbYes);
    TestDialogs().ExpectSave(std::nullopt);
    main->mnu_new->Choose();
    EXPECT_EQ(asked("MsgBox"), QStringList({Box(51, "lang_DoYouWantToSaveYourWork")}));
    EXPECT_EQ(lastDialog().InitDir, FindPath(G.UserDir));
    EXPECT_TRUE(lastDialog().FileName.isEmpty());
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(ReadFile(worksheet), shipped);

    // An example reached through File > Open stays as it ships too.
    G.ExamplesDir = dir.mkdir("examples");
    const QString example = saveAs(dir.file("examples/Garden.dvp"));
    const QByteArray shippedExample = ReadFile(example);
    G.CleanFlag = true;
    TestDialogs().ExpectOpen(File(example));
    main->mnu_open->Choose();
    EXPECT_TRUE(G.SceneFileName.isEmpty());
    furnish(300);
    TestDialogs().ExpectSave(File(dir.file("documents/my garden")));
    main->mnu_save->Choose();
    EXPECT_EQ(G.SceneFileName, dir.file("documents/my garden.dvp"));
    EXPECT_EQ(ReadFile(example), shippedExample);
}

// The chooser's "Load worksheet ..." opens the worksheets, whatever file the
// dialog showed last.
TEST_F(FileCommands, LoadWorksheetAlwaysStartsInTheWorksheets)
{
    start(kHome);
    G.UserDir = dir.mkdir("documents");
    G.WorksheetDir = dir.mkdir("worksheets");
    furnish(0);
    const QString worksheet = saveAs(dir.file("worksheets/Play area.dvp"));
    TestDialogs().ExpectSave(File(dir.file("documents/mine.dvp")));
    main->mnu_saveas->Choose();
    ASSERT_EQ(G.SceneFileName, dir.file("documents/mine.dvp"));

    TestDialogs().ExpectModal("EnvSelect", [](Form& f) {
        auto& chooser = dynamic_cast<EnvSelect&>(f);
        Activate(chooser);
        chooser.Command3->SetVisible(true);
        ClickButton(*chooser.Command3);
    });
    TestDialogs().ExpectOpen(File(worksheet));
    main->mnu_new->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(lastDialog().InitDir, FindPath(G.WorksheetDir));
    EXPECT_TRUE(lastDialog().FileName.isEmpty());
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(G.SceneFileName.isEmpty());
    EXPECT_TRUE(G.CleanFlag);
}

// A file that is not a scene, or a scene of an environment that is not
// installed, loaded from the chooser: the message, then the chooser alone, as
// often as the child tries.
TEST_F(FileCommands, AFileThatIsNotASceneBringsBackOnlyTheChooser)
{
    start(kHome);
    ASSERT_TRUE(Form::Existing("ItemGroups")->isVisible());
    furnish(0);
    QByteArray scene = sceneBytes();
    scene.replace(21, 4, "Zzzz");  // the environment's name
    const QString elsewhere = dir.write("elsewhere.dvp", scene);
    G.CleanFlag = true;
    const QString noise = dir.write("noise.dvp", QByteArray("\x13\x9a\x41\x07\xfe\x00\x55\x21\x80\x7f", 10));
    const QString empty = dir.write("empty.dvp", QByteArray());
    auto loadFile = [this]() {
        TestDialogs().ExpectModal("EnvSelect", [this](Form& f) {
            auto& chooser = dynamic_cast<EnvSelect&>(f);
            Activate(chooser);
            EXPECT_FALSE(main->isVisible());
            EXPECT_FALSE(Form::Existing("ItemGroups")->isVisible());
            ClickButton(*chooser.Command2);
        });
    };
    loadFile();
    TestDialogs().ExpectOpen(File(noise));
    TestDialogs().ExpectMsgBox(vbOK);
    loadFile();
    TestDialogs().ExpectOpen(File(empty));
    TestDialogs().ExpectMsgBox(vbOK);
    loadFile();
    TestDialogs().ExpectOpen(File(elsewhere));
    TestDialogs().ExpectModal("EnvSelect", [this](Form& f) {
        auto& chooser = dynamic_cast<EnvSelect&>(f);
        Activate(chooser);
        EXPECT_FALSE(main->isVisible());
        EXPECT_FALSE(Form::Existing("ItemGroups")->isVisible());
        ClickEntry(*chooser.ListView1, kGarden);
        ClickButton(*chooser.Command1);
    });
    ExpectPlaceDialog();
    main->mnu_new->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    QString refused = LangMod::GetMessage("lang_AppDoesntRecogniseThisFile");
    refused.replace('%', AppTitle());
    EXPECT_EQ(asked("MsgBox"), QStringList({"MsgBox 48: " + refused, "MsgBox 48: " + refused}));
    EXPECT_EQ(G.EnvironmentIndex, kGarden);
    EXPECT_TRUE(main->isVisible());
}

// Every way out of the chooser after File > New, an environment clicked
// first: the item groups appear once, beside the main window once it is on
// the screen, ticked in the View menu, with the groups of the scene's
// environment and the first of them in the palette.
TEST_F(FileCommands, EveryWayOutOfTheChooserShowsTheItemGroupsBesideTheWindow)
{
    start(kHome);
    Form* groups = Form::Existing("ItemGroups");
    ASSERT_NE(groups, nullptr);
    struct Shows : QObject {
        QStringList seen;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Show || e->type() == QEvent::Hide)
                seen << static_cast<Form*>(o)->Name() + (e->type() == QEvent::Show ? " shown" : " hidden");
            return false;
        }
    } shows;
    main->installEventFilter(&shows);
    groups->installEventFilter(&shows);
    // Load worksheet ..., Load a file ..., Select.
    const std::pair<int, const char*> ways[] = {
        {3, "Make a play area with 1500.dvp"}, {2, "Finish the classroom with 600.dvp"}, {1, nullptr}};
    for (const auto& [button, file] : ways) {
        SCOPED_TRACE(button);
        shows.seen.clear();
        TestDialogs().ExpectModal("EnvSelect", [button = button](Form& f) {
            auto& chooser = dynamic_cast<EnvSelect&>(f);
            Activate(chooser);
            ClickEntry(*chooser.ListView1, kHome);
            ClickButton(button == 3 ? *chooser.Command3 : button == 2 ? *chooser.Command2 : *chooser.Command1);
        });
        if (file)
            TestDialogs().ExpectOpen(File(FindPath(G.WorksheetDir + "\\" + QLatin1String(file))));
        else
            ExpectPlaceDialog();
        main->mnu_new->Choose();
        EXPECT_EQ(TestDialogs().Pending(), 0);
        EXPECT_EQ(shows.seen, QStringList({"Main hidden", "ItemGroups hidden", "Main shown", "ItemGroups shown"}));
        EXPECT_TRUE(groups->isVisible());
        EXPECT_TRUE(main->mnu_showItemGroups->Checked());
        const auto* list = dynamic_cast<ItemGroups*>(groups)->ListView1;
        ASSERT_GT(list->Count(), 0);
        EXPECT_EQ(G.ItemFolder, G.EnvFolder + "\\" + list->ItemKey(1));
        EXPECT_TRUE(G.EnvFolder.endsWith(button == 3 ? "Garden" : button == 2 ? "Classroom" : "Home"));
    }
}

// After a changed scene is dropped, the scene opened has nothing to save.
TEST_F(FileCommands, ASceneJustOpenedIsCleanWhateverTheSceneBefore)
{
    start(kHome);
    furnish(0);
    const QString saved = saveAs(dir.file("saved.dvp"));
    TestDialogs().ExpectMsgBox(vbNo);
    TestDialogs().ExpectOpen(File(saved));
    main->mnu_open->Choose();
    EXPECT_TRUE(G.CleanFlag);
    TestDialogs().ExpectOpen(std::nullopt);
    main->mnu_open->Choose();
    EXPECT_EQ(asked("MsgBox").size(), 1);
    EXPECT_EQ(TestDialogs().Pending(), 0);
}

// The window's title and the budget window tell of the scene opened: its
// place, its money, what is left of its budget.
TEST_F(FileCommands, TheTitleAndTheBudgetFollowTheOpenedScene)
{
    start(kGarden);
    const QString garden = G.PlanInfo.place;
    Budget* budget = Budget::Window();
    ASSERT_NE(budget, nullptr);
    budget->Text1->SetText(CommonMod::FormatMoney(500, true));
    budget->Text2->SetText(CommonMod::FormatMoney(150, true));
    const QString gardenFile = saveAs(dir.file("garden.dvp"));
    G.CleanFlag = true;

    // A room at home, overspent, its last item shown in another currency.
    ExpectNewPlace(kHome);
    main->mnu_new->Choose();
    const QString home = G.PlanInfo.place;
    ASSERT_NE(home, garden);
    EXPECT_TRUE(main->Caption().endsWith(home));
    budget->Text1->SetText(CommonMod::FormatMoney(100, true));
    budget->Text2->SetText(CommonMod::FormatMoney(150, true));
    ASSERT_EQ(budget->Text3->palette().color(QPalette::Base), QColor(255, 0, 0));
    CommonMod::SetCurrency(QStringLiteral("R$"));
    budget->Text4->SetText("- " + CommonMod::FormatMoney(139.23f, true));

    CommonMod::SetCurrency(G.CurrencyTable[1].Name);
    TestDialogs().ExpectOpen(File(gardenFile));
    main->mnu_open->Choose();
    QString title = LangMod::GetMessage("lang_CurrentEnvironment");
    EXPECT_EQ(main->Caption(), AppTitle() + " - " + title.replace('%', garden));
    EXPECT_EQ(budget->Text1->Text(), CommonMod::FormatMoney(500, true));
    EXPECT_EQ(budget->Text3->Text(), CommonMod::FormatMoney(350, true));
    const ColorRef c3 = GetSysColor(3);
    EXPECT_EQ(budget->Text3->palette().color(QPalette::Base), QColor(c3 & 255, (c3 >> 8) & 255, (c3 >> 16) & 255));
    EXPECT_TRUE(budget->Text4->Text().isEmpty());

    // A new place starts with nothing bought either.
    budget->Text4->SetText("- " + CommonMod::FormatMoney(12, true));
    ExpectNewPlace(kHome);
    main->mnu_new->Choose();
    EXPECT_TRUE(budget->Text4->Text().isEmpty());
    EXPECT_TRUE(main->Caption().endsWith(home));
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

    // An untitled scene does not take a name it could not be written
    // under: the next question offers the dialog again, and another name.
    G.SceneFileName.clear();
    dir.mkdir("locked.dvp");
    TestDialogs().Reset();
    TestDialogs().ExpectMsgBox(vbYes);
    TestDialogs().ExpectSave(File(dir.file("locked")));
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_exit->Choose();
    EXPECT_FALSE(Ending());
    EXPECT_TRUE(G.SceneFileName.isEmpty());
    const QByteArray scene = sceneBytes();
    TestDialogs().ExpectMsgBox(vbYes);
    TestDialogs().ExpectSave(File(dir.file("free")));
    main->mnu_exit->Choose();
    EXPECT_EQ(TestDialogs().Pending(), 0);
    report = LangMod::GetMessage("lang_FileNotSaved");
    EXPECT_EQ(asked("MsgBox"), QStringList({Box(51, "lang_DoYouWantToSaveYourWork"),
                                            "MsgBox 48: " + report.replace('%', "locked.dvp"),
                                            Box(51, "lang_DoYouWantToSaveYourWork")}));
    EXPECT_EQ(asked("Save").size(), 2);
    EXPECT_EQ(ReadFile(dir.file("free.dvp")), scene);
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

// The request of the last file dialog shown.
const FileDialogRequest& LastRequest() { return TestDialogs().FileRequests().back(); }

bool IsEmf(const QByteArray& b) { return b.size() > 44 && b.startsWith(QByteArray("\x01\0\0\0", 4)) && b.mid(40, 4) == " EMF"; }
bool IsWmf(const QByteArray& b) { return b.startsWith("\xD7\xCD\xC6\x9A"); }

TEST_F(FileCommands, ExportOffersTheScenesNameAsAListAndNeverWritesOverAFileUnasked)
{
    start();
    furnish(0);
    TestDialogs().ExpectSave(File(dir.file("room")));
    main->mnu_save->Choose();
    const QByteArray scene = ReadFile(dir.file("room.dvp"));
    ASSERT_FALSE(scene.isEmpty());
    // Amounts with a point also on a Portuguese (Brazil) desktop.
    const QLocale desktop;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));

    // The scene's name, as a list, in the scene's folder.
    TestDialogs().ExpectSave(File(dir.file("room.csv")));
    main->mnu_export->Choose();
    EXPECT_EQ(LastRequest().FileName, "room.csv");
    EXPECT_EQ(QFileInfo(LastRequest().InitDir).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());
    const QByteArray list = ReadFile(dir.file("room.csv"));
    EXPECT_TRUE(list.contains(",  1,80.00,80.00\r\n")) << list.constData();
    EXPECT_EQ(ReadFile(dir.file("room.dvp")), scene);

    // The scene's own name typed: the list goes beside it, the scene stays.
    TestDialogs().ExpectSave(File(dir.file("room.dvp")));
    main->mnu_export->Choose();
    EXPECT_EQ(ReadFile(dir.file("room.dvp")), scene);
    EXPECT_EQ(ReadFile(dir.file("room.dvp.csv")), list);

    // An existing list is replaced only after the question.
    furnish(100);
    TestDialogs().ExpectSave(File(dir.file("room")));
    TestDialogs().ExpectMsgBox(vbCancel);
    main->mnu_export->Choose();
    EXPECT_EQ(asked("MsgBox"), QStringList({Box(1, "lang_FileExistsAlready")}));
    EXPECT_EQ(ReadFile(dir.file("room.csv")), list);
    TestDialogs().ExpectSave(File(dir.file("room.csv")));
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_export->Choose();
    EXPECT_NE(ReadFile(dir.file("room.csv")), list);

    // A bare name takes the extension of the type chosen. The next export
    // offers the CSV list again, also after a snapshot chose another type.
    TestDialogs().ExpectSave(File(dir.file("words"), 2));
    main->mnu_export->Choose();
    EXPECT_TRUE(ReadFile(dir.file("words.txt")).startsWith("DorvText file\r\n"));
    TestDialogs().ExpectSave(File(dir.file("view"), 3));
    main->mnu_snapToFile->Choose();
    EXPECT_TRUE(QFile::exists(dir.file("view.emf")));
    TestDialogs().ExpectSave(std::nullopt);
    main->mnu_export->Choose();
    EXPECT_EQ(LastRequest().FileName, "room.csv");
    EXPECT_EQ(LastRequest().FilterIndex, 1);
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_FALSE(QFile::exists(dir.file("words")));

    QLocale::setDefault(desktop);
}

TEST_F(FileCommands, SnapshotsTakeTheTypeOfTheirNameAndShareTheOtherDialogsFolderNameAndType)
{
    start();
    G.UserDir = dir.mkdir("documents");
    furnish(0);
    // Before any file dialog: the user's folder, never the program's.
    TestDialogs().ExpectSave(std::nullopt);
    main->mnu_snapToFile->Choose();
    EXPECT_EQ(LastRequest().InitDir, G.UserDir);
    EXPECT_TRUE(LastRequest().FileName.isEmpty());

    dir.mkdir("work");
    TestDialogs().ExpectSave(File(dir.file("work/room")));
    main->mnu_save->Choose();
    // The scene's folder and name, as the type last chosen.
    TestDialogs().ExpectSave(File(dir.file("work/wall.emf"), 1));
    main->mnu_snapToFile->Choose();
    EXPECT_EQ(LastRequest().FileName, "room.bmp");
    EXPECT_EQ(QFileInfo(LastRequest().InitDir).canonicalFilePath(), QFileInfo(dir.file("work")).canonicalFilePath());
    // "wall.emf" typed with the bitmap type chosen is an enhanced metafile.
    EXPECT_TRUE(IsEmf(ReadFile(dir.file("work/wall.emf"))));
    EXPECT_EQ(main->CommonDialog1.FilterIndex, 3);

    // A bare name gets the type's extension; an existing file is asked about.
    TestDialogs().ExpectSave(File(dir.file("work/plan"), 2));
    main->mnu_snapToFile->Choose();
    EXPECT_EQ(LastRequest().FileName, "wall.emf");
    EXPECT_TRUE(IsWmf(ReadFile(dir.file("work/plan.wmf"))));
    EXPECT_FALSE(QFile::exists(dir.file("work/plan")));
    dir.write("work/old.bmp", "kept");
    TestDialogs().ExpectSave(File(dir.file("work/old"), 1));
    TestDialogs().ExpectMsgBox(vbCancel);
    main->mnu_snapToFile->Choose();
    EXPECT_EQ(ReadFile(dir.file("work/old.bmp")), "kept");
    TestDialogs().ExpectSave(File(dir.file("work/old.bmp"), 1));
    TestDialogs().ExpectMsgBox(vbOK);
    main->mnu_snapToFile->Choose();
    EXPECT_TRUE(ReadFile(dir.file("work/old.bmp")).startsWith("BM"));

    // The item: its own name, as the type last chosen where the item has it.
    ASSERT_GT(G.PaletteCount, 0);
    const QString item = FileMod::GetTrimmedFileName(G.Palette[size_t(G.PaletteSelection)].Name.str());
    TestDialogs().ExpectSave(File(dir.file("work/chair.wmf"), 2));
    main->mnu_snapItemToFile->Choose();
    EXPECT_EQ(LastRequest().FileName, item + ".wmf");
    EXPECT_TRUE(IsWmf(ReadFile(dir.file("work/chair.wmf"))));
    TestDialogs().ExpectSave(File(dir.file("work/chair"), 2));
    main->mnu_snapItemToFile->Choose();
    EXPECT_EQ(LastRequest().FileName, item + ".wmf");
    EXPECT_TRUE(IsEmf(ReadFile(dir.file("work/chair.emf"))));

    // The examples folder, which the other dialog serves, never takes the
    // snapshots there; nor do the worksheets the file dialogs opened.
    G.WorksheetDir = dir.mkdir("program/Worksheets");
    QString sheet = dir.file("program/Worksheets/sheet.dvp");
    ASSERT_TRUE(FileMod::SaveSceneFile(sheet, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount,
                                       G.Room));
    G.CleanFlag = true;
    TestDialogs().ExpectOpen(File(sheet));
    main->mnu_open->Choose();
    G.ExamplesDir = dir.mkdir("program/Examples");
    TestDialogs().ExpectOpen(std::nullopt);
    main->mnu_examples->Choose();
    TestDialogs().ExpectSave(std::nullopt);
    main->mnu_snapToFile->Choose();
    EXPECT_EQ(LastRequest().InitDir, G.UserDir);
    EXPECT_EQ(TestDialogs().Pending(), 0);
}

// The face a button shows: "i" for picture i of the view buttons' list,
// "grey i" for picture i of the list of greyed faces.
QString Face(const Main& m, const QImage& picture)
{
    for (int i = 1; i <= m.ImageList1.Count(); ++i)
        if (picture == m.ImageList1.Image(i)) return QString::number(i);
    for (int i = 1; i <= m.ImageList2.Count(); ++i)
        if (picture == m.ImageList2.Image(i)) return QStringLiteral("grey %1").arg(i);
    return QStringLiteral("other");
}

// What the window shows of the scene in hand.
QStringList WindowState(Main& m)
{
    QStringList state;
    state << "caption " + m.Caption() << QStringLiteral("view button %1").arg(m.CurrentViewButton);
    for (int i = 0; i < 5; ++i)
        state << QStringLiteral("button %1 %2 face %3").arg(i).arg(m.Picture1[i]->Enabled()).arg(Face(m, m.Picture1[i]->Picture()));
    state << QStringLiteral("turn %1 face %2 wall %3 %4 %5")
                 .arg(m.Picture3[9]->Enabled())
                 .arg(Face(m, m.Picture3[9]->Picture()))
                 .arg(m.mnu_wallView->Enabled())
                 .arg(m.mnu_rotateWall->Enabled())
                 .arg(m.mnu_showWallBar->Enabled());
    state << QStringLiteral("sheet %1 price %2").arg(m.mnu_showSheet->Enabled()).arg(m.Command2->Visible());
    state << QStringLiteral("pans %1 %2 at %3 %4").arg(m.HScroll2->Enabled()).arg(m.VScroll2->Enabled())
                 .arg(m.HScroll2->Value()).arg(m.VScroll2->Value());
    state << QStringLiteral("plan at %1 %2 zoom %3, 3D at %4 %5 zoom %6, walls zoom %7")
                 .arg(G.PlanPanX).arg(G.PlanPanY).arg(G.PlanScale)
                 .arg(G.IsoPanX).arg(G.IsoPanY).arg(G.IsoScale).arg(G.WallScale);
    state << QStringLiteral("palette %1 items, bar %2 to %3 at %4")
                 .arg(G.PaletteCount)
                 .arg(m.VScroll1->Min())
                 .arg(m.VScroll1->Max())
                 .arg(m.VScroll1->Value());
    const Form* groups = Form::Existing("ItemGroups");
    state << QStringLiteral("groups %1 %2 %3")
                 .arg(groups && groups->IsWindowVisible())
                 .arg(m.mnu_showItemGroups->Enabled())
                 .arg(m.mnu_showItemGroups->Checked());
    if (const auto* list = groups ? dynamic_cast<const ItemGroups*>(groups)->ListView1 : nullptr)
        state << QStringLiteral("group list %1 entries at %2").arg(list->Count()).arg(list->verticalScrollBar()->value());
    return state;
}

// File > Open, from any view of a room with walls, leaves the window as a
// fresh start with the opened scene does: a garden too low for walls has no
// wall view, whatever view was shown, the palette scrolls over the
// garden's items alone, the item groups list the garden's from the top, and
// the room shows centred at its first zoom however far the plan was panned.
TEST_F(FileCommands, OpenLeavesTheWindowAsAStartWithTheSceneDoes)
{
    ExpectChoice(kGarden);
    ExpectPlaceDialog([](Floors& floors) {
        floors.Text3->SetText(QStringLiteral("0"));
        floors.Command1[0]->click();
    });
    start(-1);
    ASSERT_EQ(G.Room.WallSectionCount, 0);
    furnish(2000);
    const QString path = saveAs(dir.file("from the desktop.dvp"));
    const QByteArray place = sceneBytes();

    // The program started with the garden named on its command line.
    CloseProgram(main);
    SetAppPath(DORV_CONTENT_BUILD_DIR);
    SetCommandLine("\"" + path + "\"");
    main = std::make_unique<Main>();
    StartProgram(*main);
    EXPECT_TRUE(TestDialogs().Asked().isEmpty());
    EXPECT_EQ(G.EnvironmentIndex, kGarden);
    EXPECT_EQ(G.SceneFileName, path);
    EXPECT_TRUE(G.CleanFlag);
    EXPECT_EQ(sceneBytes(), place);
    const QStringList fresh = WindowState(*main);
    EXPECT_TRUE(fresh.contains("turn 0 face grey 2 wall 0 0 0"));
    EXPECT_TRUE(fresh.contains("button 2 0 face grey 1"));
    EXPECT_TRUE(fresh.contains("caption Dorv Zorazev - Place: Garden"));

    // Opened from each view of a room at home.
    for (int16_t button : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(button);
        ExpectNewPlace(kHome);
        main->mnu_new->Choose();
        // The home's groups scrolled down.
        QScrollBar* groupsBar = ItemGroups::Window()->ListView1->verticalScrollBar();
        groupsBar->setValue(groupsBar->maximum());
        ASSERT_GT(groupsBar->value(), 0);
        // The plan panned to a far corner and zoomed in.
        main->HScroll2->SetValue(main->HScroll2->Max());
        main->VScroll2->SetValue(main->VScroll2->Min());
        main->mnu_zoomIn->Choose();
        ASSERT_NE(G.PlanPanX, 0);
        main->Picture1_Click(button);
        TestDialogs().ExpectOpen(File(path));
        main->mnu_open->Choose();
        EXPECT_EQ(TestDialogs().Pending(), 0);
        EXPECT_EQ(sceneBytes(), place);
        EXPECT_EQ(WindowState(*main).join("\n").toStdString(), fresh.join("\n").toStdString());
    }
}

}  // namespace
