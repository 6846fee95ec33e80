// Scene files: what is saved loads back byte for byte, every version the
// program reads loads, and a file that is not a scene, is newer or breaks its
// own counts is refused with the scene in memory left exactly as it was.
#include "platform/AppInfo.h"
#include "platform/ByteIO.h"
#include "platform/Cp1252.h"
#include "platform/Rounding.h"
#include "scene/Environments.h"
#include "scene/FileMod.h"
#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/RecordIO.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneFile.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"

#include "../fuzz/FuzzEntries.h"
#include "support/ItemFiles.h"
#include "support/RecordingWindows.h"
#include "support/SampleItems.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <gtest/gtest.h>

using namespace FileMod;

namespace {

// A window port that keeps the budget and size texts, as the windows do.
class TextWindows : public RecordingWindows {
public:
    QString BudgetText(int box) override { return budget[box]; }
    void SetBudgetText(int box, const QString& text) override { budget[box] = text; }
    QString PlaceSizeText(int box) override { return sizes[box]; }
    void SetPlaceSizeText(int box, const QString& text) override { sizes[box] = text; }
    std::map<int, QString> budget, sizes;
};

QByteArray ItemBytes(const ItemRecord& r)
{
    dorv::ByteWriter w;
    WriteItemRecord(w, r);
    return w.data();
}

QByteArray RoomBytes(const RoomRecord& r)
{
    dorv::ByteWriter w;
    WriteRoomRecord(w, r);
    return w.data();
}

QByteArray Counted(const QByteArray& text)
{
    dorv::ByteWriter w;
    w.i32(static_cast<int32_t>(text.size()));
    w.bytes(text);
    return w.data();
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SceneFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = SceneState();
        QLocale::setDefault(QLocale::c());
        // The shipped messages, so that their places are filled in.
        static const bool loaded = [] {
            dorv::SetAppPath(DORV_CONTENT_BUILD_DIR);
            return LangMod::LoadMessages();
        }();
        ASSERT_TRUE(loaded);
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        dorv::SetAppPath(QString());
    }

    // A furnished place: the room of 4 x 3 x 2.5 m, a bed and a lamp on it,
    // in euros, in feet, in the Home environment.
    void makeScene()
    {
        G.EnvironmentTable = {EnvironmentRow{}, EnvironmentRow{}};
        G.EnvironmentTable[0][0] = QStringLiteral("/content/Environments/Garden");
        G.EnvironmentTable[1][0] = QStringLiteral("/content/Environments/Home");
        G.EnvironmentCount = 2;
        G.EnvFolder = G.EnvironmentTable[1][0];
        G.PlanInfo.place = QStringLiteral("Bedroom");
        G.PlanInfo.name = QStringLiteral("My room");
        G.CurrencyTable.push_back({QString(QChar(0x20AC)), 1.17f});
        CommonMod::SetCurrency(QString(QChar(0x20AC)));
        G.PlacedItems.assign(1, ItemRecord());
        G.SceneShapes.assign(1, 0);
        CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 4, 3, 2.5f, 0x3366CC, 0xDDEEFF);
        for (int k = 0; k < 2; ++k) {
            ItemRecord item = TestItems::BoxItem(G.SceneShapes, G.SceneShapeCount,
                                                 k == 0 ? QStringLiteral("Beds\\bed") : QStringLiteral("Lights\\lamp"),
                                                 72576, 36288, 18144, 0x2040C0);
            item.X = 1234.5f + k;
            item.Y = -999.25f;
            item.Elevation = k * 18144.0f;
            item.ViewIndex = static_cast<int16_t>(k + 1);
            item.Price = 99.95f;
            // Reserved bytes travel with the record.
            item.SubRecords[7] = 0xAB;
            item.Reserved32[1] = -5;
            item.ReservedAfterPosition[3] = 9;
            if (static_cast<int32_t>(G.PlacedItems.size()) <= G.PlacedItemCount + 1)
                G.PlacedItems.resize(static_cast<size_t>(G.PlacedItemCount) + 2);
            G.PlacedItems[static_cast<size_t>(G.PlacedItemCount++)] = item;
        }
        G.FloorColour = 0x3366CC;
        G.WallColour = 0xDDEEFF;
        G.BackgroundColour = 0xF0F0F0;
        G.LanguageName = QStringLiteral("portuguese");
        G.UnitText = CommonMod::SetLengthUnit(4);
        G.SpentTotal = 33.25f;
        windows.budget[1] = CommonMod::FormatMoney(120.5f, 1);
        windows.budget[2] = CommonMod::FormatMoney(33.25f, 1);
        windows.sizes = {{1, QStringLiteral(" 13.12")}, {2, QStringLiteral(" 9.84")}, {3, QStringLiteral(" 8.2")}};
    }

    QByteArray currentBytes() const
    {
        return SceneFileBytes(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room);
    }

    // Loads into the scene state; the environment number comes back.
    bool load(const QString& path, int16_t& environment)
    {
        return LoadSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room,
                             environment);
    }
    bool loadBytes(const QByteArray& bytes, int16_t& environment)
    {
        return LoadSceneData(bytes, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room,
                             environment);
    }

    // Loading `bytes` is refused with `message` and leaves the scene, its
    // settings and its texts as they were.
    void expectRefused(const QByteArray& bytes, const QString& message)
    {
        const QByteArray before = currentBytes();
        const float spent = G.SpentTotal;
        const QString currency = G.CurrencySymbol, language = G.LanguageName;
        const auto budget = windows.budget, sizes = windows.sizes;
        windows.messages.clear();
        G.ViewListCount = 3;
        int16_t environment = 99;
        EXPECT_FALSE(loadBytes(bytes, environment));
        EXPECT_EQ(windows.messages, QStringList({message}));
        EXPECT_EQ(environment, 99);
        EXPECT_EQ(currentBytes(), before);
        EXPECT_EQ(G.SpentTotal, spent);
        EXPECT_EQ(G.CurrencySymbol, currency);
        EXPECT_EQ(G.LanguageName, language);
        EXPECT_EQ(G.ViewListCount, 3);
        EXPECT_EQ(windows.budget, budget);
        EXPECT_EQ(windows.sizes, sizes);
    }

    TextWindows windows;
    TempDir dir;
};

TEST_F(SceneFiles, SavingAddsTheExtensionUnlessItIsThereInAnyCase)
{
    makeScene();
    QString path = dir.file("room");
    ASSERT_TRUE(SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room));
    EXPECT_EQ(path, dir.file("room.dvp"));
    QString upper = dir.file("Room.DVP");
    ASSERT_TRUE(SaveSceneFile(upper, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room));
    EXPECT_EQ(upper, dir.file("Room.DVP"));
    QString other = dir.file("room.dv");
    ASSERT_TRUE(SaveSceneFile(other, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room));
    EXPECT_EQ(other, dir.file("room.dv.dvp"));
}

TEST_F(SceneFiles, TheLayoutIsHeaderRoomWordsItems)
{
    makeScene();
    const QByteArray b = currentBytes();
    ASSERT_EQ(b.size(), kSceneHeaderSize + kRoomRecordSize + 4 * G.SceneShapeCount + kItemRecordSize * G.PlacedItemCount);
    dorv::ByteReader in(b);
    EXPECT_EQ(ReadCountedString(in), "DorvFile");
    EXPECT_EQ(ReadCountedString(in), "2.01A");
    EXPECT_EQ(b.mid(21, 32), QByteArray("Home").leftJustified(32, ' '));
    EXPECT_EQ(b.mid(53, 32), QByteArray("Bedroom").leftJustified(32, ' '));
    EXPECT_EQ(b.mid(117, 24), QByteArray(24, '\0'));
    in.seek(141);
    EXPECT_EQ(in.i32(), G.SceneShapeCount);
    EXPECT_EQ(in.i32(), G.PlacedItemCount);
    EXPECT_EQ(b.mid(149, 8), QByteArray("\x80       ", 8));  // the euro sign in Windows-1252
    // Amounts in the base currency, read back from the euro texts.
    in.seek(157);
    EXPECT_NEAR(in.f32(), 120.5f, 0.01f);
    EXPECT_NEAR(in.f32(), 33.25f, 0.01f);
    EXPECT_FLOAT_EQ(in.f32(), 13.12f);
    in.seek(221);
    EXPECT_EQ(in.i16(), 4);  // feet
    EXPECT_EQ(b.mid(kSceneHeaderSize, kRoomRecordSize), RoomBytes(G.Room));
    EXPECT_EQ(b.right(kItemRecordSize), ItemBytes(G.PlacedItems[static_cast<size_t>(G.PlacedItemCount - 1)]));
}

TEST_F(SceneFiles, WhatIsSavedLoadsBackByteForByte)
{
    makeScene();
    const int32_t items = G.PlacedItemCount, words = G.SceneShapeCount;
    std::vector<QByteArray> itemBytes;
    for (int32_t i = 0; i < items; ++i) itemBytes.push_back(ItemBytes(G.PlacedItems[static_cast<size_t>(i)]));
    const ShapeStream shapes(G.SceneShapes.begin(), G.SceneShapes.begin() + words);
    const QByteArray room = RoomBytes(G.Room);
    const auto budget = windows.budget;
    QString path = dir.file("scene");
    ASSERT_TRUE(SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room));
    const QByteArray saved = ReadFile(path);

    // Another scene in memory, in other units and money, is replaced whole.
    G.PlacedItems.assign(1, ItemRecord());
    G.PlacedItemCount = 0;
    G.SceneShapes.assign(1, 0);
    G.SceneShapeCount = 0;
    G.Room = RoomRecord();
    G.FloorColour = G.WallColour = G.BackgroundColour = 0;
    G.LanguageName = QStringLiteral("english");
    G.UnitText = CommonMod::SetLengthUnit(0);
    CommonMod::SetCurrency(QStringLiteral("$"));
    G.SpentTotal = 0;
    G.ViewListCount = 5;
    windows.budget.clear();
    windows.sizes.clear();

    int16_t environment = 0;
    ASSERT_TRUE(load(path, environment));
    EXPECT_TRUE(windows.messages.isEmpty());
    EXPECT_EQ(environment, 2);
    EXPECT_EQ(G.ViewListCount, 0);
    ASSERT_EQ(G.PlacedItemCount, items);
    for (int32_t i = 0; i < items; ++i) EXPECT_EQ(ItemBytes(G.PlacedItems[static_cast<size_t>(i)]), itemBytes[size_t(i)]);
    ASSERT_EQ(G.SceneShapeCount, words);
    EXPECT_TRUE(std::equal(shapes.begin(), shapes.end(), G.SceneShapes.begin()));
    EXPECT_EQ(RoomBytes(G.Room), room);
    EXPECT_EQ(G.FloorColour, 0x3366CC);
    EXPECT_EQ(G.WallColour, 0xDDEEFF);
    EXPECT_EQ(G.BackgroundColour, 0xF0F0F0);
    EXPECT_EQ(G.CurrencySymbol, QString(QChar(0x20AC)));
    EXPECT_FLOAT_EQ(G.CurrencyRate, 1.17f);
    // The money spent as the budget window showed it, in the base currency.
    EXPECT_NEAR(G.SpentTotal, 33.25f, 0.01f);
    EXPECT_EQ(G.LanguageName, "portuguese");
    EXPECT_EQ(G.UnitIndex, 4);
    EXPECT_EQ(G.UnitText, CommonMod::SetLengthUnit(4));
    EXPECT_EQ(windows.budget[1], budget.at(1));
    EXPECT_EQ(windows.budget[2], budget.at(2));
    EXPECT_EQ(windows.sizes[1], "13.12");
    EXPECT_EQ(windows.sizes[2], "9.84");
    EXPECT_EQ(windows.sizes[3], "8.2");

    // Saved again, the file is the same file.
    QString again = dir.file("again.dvp");
    ASSERT_TRUE(SaveSceneFile(again, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room));
    EXPECT_EQ(ReadFile(again), saved);
}

TEST_F(SceneFiles, MoneySpentBeyondTheCentsOfASingleOpensAsItWasSpent)
{
    // A class of 30 chairs at the dearest price, in euros: the header's
    // Single cannot hold what was spent to the cent.
    makeScene();
    G.PlacedItemCount = G.Room.FirstRealItem + 30;
    G.PlacedItems.resize(size_t(G.PlacedItemCount) + 2, ItemRecord(G.PlacedItems[size_t(G.Room.FirstRealItem)]));
    for (int32_t i = G.Room.FirstRealItem; i < G.PlacedItemCount; ++i)
        G.PlacedItems[static_cast<size_t>(i)].Price = CommonMod::ParseMoneyText("39999.99");
    const QString spent = windows.budget[2] = QString(QChar(0x20AC)) + "1199999.70";
    QString path = dir.file("class.dvp");
    int16_t environment = 0;
    ASSERT_TRUE(SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room));
    ASSERT_TRUE(load(path, environment));
    EXPECT_EQ(windows.budget[2], spent);
    EXPECT_EQ(CommonMod::FormatTotal(G.SpentTotal, 1), spent);

    // A chair's price changed after it was bought: the prices no longer add
    // up to what was spent, and the file's Single stands, as it shows.
    G.PlacedItems[static_cast<size_t>(G.Room.FirstRealItem)].Price = 9.99f;
    ASSERT_TRUE(SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room));
    ASSERT_TRUE(load(path, environment));
    EXPECT_EQ(windows.budget[2], CommonMod::FormatMoney(CommonMod::ParseMoneyText(spent), 1));
    EXPECT_EQ(CommonMod::FormatTotal(G.SpentTotal, 1), windows.budget[2]);
}

// A place of many thousands of the shipped items makes a file of hundreds
// of megabytes (each item carries its pictures): what was saved must open
// again, word for word.
TEST_F(SceneFiles, AVeryLargeSceneOpensAgainAfterItWasSaved)
{
    makeScene();
    const int32_t extra = 20 * 1024 * 1024;  // 80 MB of picture words
    const int32_t count = G.SceneShapeCount;
    G.SceneShapes.resize(static_cast<size_t>(count) + extra + 1);
    for (int32_t i = 0; i < extra; i += 4099) G.SceneShapes[static_cast<size_t>(count + i)] = i;
    G.SceneShapeCount = count + extra;
    const ShapeStream words = G.SceneShapes;
    QString path = dir.file(QStringLiteral("many items"));
    ASSERT_TRUE(SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room));
    EXPECT_GT(QFileInfo(path).size(), 80 * 1024 * 1024);

    G.SceneShapes.assign(1, 0);
    G.SceneShapeCount = 0;
    int16_t environment = 0;
    ASSERT_TRUE(load(path, environment)) << windows.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(windows.messages.isEmpty());
    ASSERT_EQ(G.SceneShapeCount, count + extra);
    EXPECT_TRUE(std::equal(words.begin(), words.begin() + count + extra, G.SceneShapes.begin()));
}

TEST_F(SceneFiles, AFileSavedWhereACommaSeparatesDecimalsLoads)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    makeScene();
    const QByteArray b = currentBytes();
    EXPECT_EQ(b.mid(16, 5), "2,01A");
    const QByteArray before = b;
    int16_t environment = 0;
    ASSERT_TRUE(loadBytes(b, environment));
    EXPECT_TRUE(windows.messages.isEmpty());
    EXPECT_EQ(windows.sizes[1], "13,12");
    EXPECT_EQ(currentBytes(), before);
}

TEST_F(SceneFiles, AVersion200FileHasNoUnitAndLoadsInMetres)
{
    makeScene();
    QByteArray b = currentBytes();
    b.replace(16, 5, "2.00A");
    b.remove(221, 2);  // its header ends before the unit
    for (const char* version : {"2.00A", "2,00A"}) {
        b.replace(16, 5, version);
        G.UnitText = CommonMod::SetLengthUnit(3);
        const int32_t items = G.PlacedItemCount;
        const QByteArray room = RoomBytes(G.Room);
        int16_t environment = 0;
        ASSERT_TRUE(loadBytes(b, environment)) << version;
        EXPECT_EQ(G.UnitIndex, 0) << version;
        EXPECT_EQ(G.PlacedItemCount, items);
        EXPECT_EQ(RoomBytes(G.Room), room);
    }
    EXPECT_TRUE(windows.messages.isEmpty());
}

TEST_F(SceneFiles, NewerVersionsAreRefusedNamingTheVersion)
{
    makeScene();
    for (const char* version : {"2.02A", "3.00A", "2,02A"}) {
        QByteArray b = currentBytes();
        b.replace(16, 5, version);
        QString message = LangMod::GetMessage("lang_AppCantLoadThisVersion");
        message.replace('%', dorv::AppTitle()).replace('$', QLatin1String(version));
        expectRefused(b, message);
    }
}

TEST_F(SceneFiles, AFileWithoutTheMagicIsNotRecognised)
{
    makeScene();
    QString message = LangMod::GetMessage("lang_AppDoesntRecogniseThisFile");
    message.replace('%', dorv::AppTitle());
    QByteArray b = currentBytes();
    b.replace(4, 8, "DorvFilf");
    expectRefused(b, message);
    expectRefused(QByteArray(), message);
    expectRefused(QByteArray("\x08\0\0\0Dorv", 8), message);
}

TEST_F(SceneFiles, AFileThatBreaksItsOwnCountsIsRefused)
{
    makeScene();
    const QString message = LangMod::GetMessage("lang_ErrorLoadingThisFile");
    const QByteArray good = currentBytes();
    auto patched = [&](int offset, int32_t value) {
        QByteArray b = good;
        dorv::ByteWriter w;
        w.i32(value);
        b.replace(offset, 4, w.data());
        return b;
    };
    const int itemsAt = kSceneHeaderSize + kRoomRecordSize + 4 * G.SceneShapeCount;
    const int lastItem = itemsAt + kItemRecordSize * (G.PlacedItemCount - 1);
    expectRefused(good.left(good.size() - 1), message);                  // cut short
    expectRefused(good.left(200), message);                              // inside the header
    expectRefused(patched(141, G.SceneShapeCount + 1), message);        // more words than the file holds
    expectRefused(patched(141, -1), message);
    expectRefused(patched(145, G.PlacedItemCount + 1), message);
    expectRefused(patched(145, -3), message);
    expectRefused(patched(lastItem + 44, G.SceneShapeCount + 1), message);  // ShapeEnd past the words
    expectRefused(patched(lastItem + 32, -1), message);                     // ShapeStart before them
    expectRefused(patched(lastItem + 52, G.SceneShapeCount + 9), message);  // a colour index past them
    expectRefused(patched(kSceneHeaderSize + 86, G.PlacedItemCount + 1), message);  // first real item
    expectRefused(patched(kSceneHeaderSize + 82, G.PlacedItemCount), message);      // wall sections
    QByteArray unit = good;
    unit[221] = 8;
    expectRefused(unit, message);
    // Bytes after the last item are never read.
    int16_t environment = 0;
    EXPECT_TRUE(loadBytes(good + QByteArray(100, 'x'), environment));
}

TEST_F(SceneFiles, AFileThatCannotBeReadIsReported)
{
    makeScene();
    const QByteArray before = currentBytes();
    int16_t environment = 5;
    EXPECT_FALSE(load(dir.file("missing.dvp"), environment));
    EXPECT_EQ(windows.messages, QStringList({LangMod::GetMessage("lang_ErrorLoadingThisFile")}));
    EXPECT_EQ(currentBytes(), before);
}

TEST_F(SceneFiles, AnEnvironmentThatIsNotInstalledGivesNumberZero)
{
    makeScene();
    G.EnvFolder = QStringLiteral("/content/Environments/Castle");
    const QByteArray b = currentBytes();
    int16_t environment = 7;
    ASSERT_TRUE(loadBytes(b, environment));
    EXPECT_EQ(environment, 0);
    // Letter case and trailing blanks of the folder's name aside.
    G.EnvFolder = QStringLiteral("/x/HOME");
    ASSERT_TRUE(loadBytes(currentBytes(), environment));
    EXPECT_EQ(environment, 2);
}

// A child's work must never be lost to a save: every scene file the tests
// hold, of every version, that opens saves to a file that opens again to
// the same scene (the same file saved again, the same texts shown).
TEST_F(SceneFiles, EverySceneThatOpensSavesToAFileThatOpensToTheSameScene)
{
    FileMod::BuildEnvironmentList(QStringLiteral(DORV_CONTENT_BUILD_DIR "/Environments"));
    for (const char* folder : {DORV_SOURCE_DIR "/fuzz/corpus/fuzz_scene_file", DORV_CONTENT_BUILD_DIR "/Examples",
                               DORV_CONTENT_BUILD_DIR "/Worksheets"}) {
        int opened = 0;
        for (const QFileInfo& f : QDir(QLatin1String(folder)).entryInfoList(QDir::Files)) {
            SCOPED_TRACE(f.filePath().toStdString());
            int16_t environment = 0;
            if (!load(f.filePath(), environment)) continue;
            ++opened;
            // As Open does, the scene takes the environment of its file; one
            // of an environment not installed keeps the one before, here none.
            G.EnvFolder = environment > 0 ? G.EnvironmentTable[size_t(environment - 1)][0] : QString();
            const auto budget = windows.budget, sizes = windows.sizes;
            QString path = dir.file(QStringLiteral("saved"));
            ASSERT_TRUE(
                SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room));
            windows.messages.clear();
            int16_t again = 0;
            ASSERT_TRUE(load(path, again)) << windows.messages.join(QLatin1Char('\n')).toStdString();
            EXPECT_EQ(again, environment);
            EXPECT_EQ(windows.budget, budget);
            EXPECT_EQ(windows.sizes, sizes);
            EXPECT_EQ(currentBytes(), ReadFile(path));
        }
        EXPECT_GT(opened, 0) << folder;
    }
}

TEST(CountedStrings, OutOfRangeLengthsReadNothingMore)
{
    dorv::ByteWriter w;
    w.i32(0);
    w.i32(-4);
    w.i32(10001);
    w.i32(3);
    w.bytes(QByteArray("a\xE9z"));
    w.i32(50);
    w.bytes(QByteArray("short"));
    const QByteArray b = w.data();
    dorv::ByteReader in(b);
    EXPECT_EQ(ReadCountedString(in), "");
    EXPECT_EQ(in.pos(), 4);
    EXPECT_EQ(ReadCountedString(in), "");
    EXPECT_EQ(ReadCountedString(in), "");
    EXPECT_EQ(in.pos(), 12);
    EXPECT_EQ(ReadCountedString(in), QString::fromUtf8("a\u00E9z"));
    EXPECT_TRUE(in.ok());
    ReadCountedString(in);
    EXPECT_FALSE(in.ok());
}

// ---- the old stream formats ----

class OldSceneFiles : public SceneFiles {
protected:
    void SetUp() override
    {
        SceneFiles::SetUp();
        dorv::SetAppPath(dir.path());
        // An item 36288 x 18144 units (1 m x 0.5 m), four views, stacking.
        dir.write("Environments/Home/Beds/bed.dvo", ItemFiles::ItemFile());
        dir.write("Environments/Home/Walls/shelf.dvo", ItemFiles::ItemFile());
        G.EnvironmentTable = {EnvironmentRow{}};
        G.EnvironmentTable[0][0] = dir.file("Environments/Home");
        G.EnvironmentCount = 1;
    }

    struct Entry {
        QByteArray group, name;
        int32_t p = 0, q = 0;
        int16_t r = 0;
        int32_t h = 0;
    };
    struct Section {
        QByteArray name;
        std::vector<Entry> entries;
    };

    // An old file: the Home environment, scale 256 (s = 1), the floor box
    // from (100, 200) to (300, 260), budget 50, spent 12.5, sizes that make
    // a room of 4.32 x 3.24 x 2.16 m.
    QByteArray oldFile(const QByteArray& version, const std::vector<Section>& walls, const Section& plan,
                       const QByteArray& magic = "DorvFile", const QByteArray& environment = "Home")
    {
        const bool v002 = version == "0.02B";
        dorv::ByteWriter w;
        w.bytes(Counted(magic));
        w.bytes(Counted(version));
        w.bytes(Counted(environment));
        w.bytes(Counted("My old room"));
        w.f64(256);
        w.i32(0);
        w.i32(0);
        for (int32_t v : {100, 200, 300, 260}) w.i32(v);
        w.f64(50);
        w.f64(0);
        w.f64(12.5);
        if (v002)
            w.bytes(Counted("\xA3"));
        else
            w.u8(0xA3);
        w.bytes(Counted("unused"));
        w.i16(0);
        for (int16_t v : {10, 20, 30}) w.i16(v);     // walls
        for (int16_t v : {200, 100, 50}) w.i16(v);   // floor
        for (double v : {4.0, 3.0, 2.0}) w.f64(v);
        for (double v : {0.0, 0.0, 0.0}) w.f64(v);
        auto section = [&](const Section& s) {
            w.bytes(Counted(s.name));
            w.i16(static_cast<int16_t>(s.entries.size()));
            for (const Entry& e : s.entries) {
                w.bytes(Counted(e.group));
                w.bytes(Counted(e.name));
                w.i32(e.p);
                w.i32(e.q);
                w.i16(e.r);
                w.i32(e.h);
                if (v002) w.i32(77);
                w.i32(88);
            }
        };
        for (const Section& s : walls) section(s);
        section(plan);
        return w.data();
    }

    std::vector<Section> noWalls() const
    {
        return {{"north", {}}, {"west", {}}, {"south", {}}, {"east", {}}};
    }
};

TEST_F(OldSceneFiles, BothOldVersionsBuildTheRoomAndPlaceTheirItems)
{
    for (const char* version : {"0.01B", "0.02B"}) {
        G.RoomShapeCount = 0;
        auto walls = noWalls();
        walls[0].entries.push_back({"Walls", "shelf", 1002, 0, 4, 1});  // north, 2 steps east, view 2
        walls[1].entries.push_back({"Walls", "gone", 1000, 0, 0, 0});   // missing: left out silently
        walls[3].entries.push_back({"Walls", "shelf", 999, 0, 1, 0});   // east, view round(0.5) = 0
        Section plan{"plan", {{"Beds", "bed", 195, 235, 2, 0}, {"Beds", "bed", 195, 235, 6, 0}, {"Beds", "lost", 0, 0, 0, 0}}};
        windows.messages.clear();
        windows.styles.clear();
        int16_t environment = 0;
        ASSERT_TRUE(loadBytes(oldFile(version, walls, plan), environment)) << version;

        // The missing plan item is named, in a box without an icon.
        ASSERT_EQ(windows.messages.size(), 1);
        EXPECT_TRUE(windows.messages[0].contains("lost.dvo")) << windows.messages[0].toStdString();
        EXPECT_EQ(windows.styles[0], 0);
        EXPECT_EQ(environment, 1);

        // The room of the old sizes x 1.08, in its colours.
        EXPECT_EQ(G.Room.ExtentZ, dorv::RoundHalfEven(2.16f * 36.288 * 1000));
        EXPECT_EQ(G.WallColour, 10 | 20 << 8 | 30 << 16);
        EXPECT_EQ(G.FloorColour, 200 | 100 << 8 | 50 << 16);
        EXPECT_EQ(G.BackgroundColour, 0xFFFFFF);
        EXPECT_EQ(G.LanguageName, "english");
        EXPECT_EQ(G.CurrencySymbol, QString(QChar(0x00A3)));
        EXPECT_FLOAT_EQ(G.SpentTotal, 12.5f);
        EXPECT_EQ(windows.budget[1], CommonMod::FormatMoney(50, 1));
        EXPECT_EQ(G.UnitIndex, 0);
        EXPECT_EQ(windows.sizes[1], "4.32");

        const int32_t first = G.Room.FirstRealItem;
        ASSERT_EQ(G.PlacedItemCount, first + 4);
        const ItemRecord& north = G.PlacedItems[size_t(first)];
        const ItemRecord& east = G.PlacedItems[size_t(first + 1)];
        const ItemRecord& bed1 = G.PlacedItems[size_t(first + 2)];
        const ItemRecord& bed2 = G.PlacedItems[size_t(first + 3)];
        EXPECT_EQ(north.Name.trimmed(), "Walls\\shelf");
        EXPECT_TRUE(north.Flags & kItemOnWall);
        EXPECT_EQ(north.ViewIndex, 2);
        float w = 0, d = 0;
        DrawMod::GetItemPictureSize(north, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1, w, d);
        EXPECT_GT(w, 0);
        // cx = 200, cy = 230; north offset 200 - 230 = -30.
        EXPECT_FLOAT_EQ(north.X, 2 * 840 + w / 2);
        EXPECT_FLOAT_EQ(north.Y, -30 * 3300 - d / 2);
        EXPECT_FLOAT_EQ(north.Elevation, 3300);
        EXPECT_EQ(east.ViewIndex, 0);
        DrawMod::GetItemPictureSize(east, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1, w, d);
        EXPECT_FLOAT_EQ(east.X, 100 * 3300 + w / 2);  // east offset 300 - 200
        EXPECT_FLOAT_EQ(east.Y, -840 + d / 2);

        EXPECT_FALSE(bed1.Flags & kItemOnWall);
        EXPECT_EQ(bed1.ViewIndex, 1);
        DrawMod::GetItemPictureSize(bed1, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1, w, d);
        EXPECT_FLOAT_EQ(bed1.X, -5 * 3300 + w / 2);
        EXPECT_FLOAT_EQ(bed1.Y, 5 * 3300 + d / 2);
        EXPECT_EQ(bed1.Elevation, 0);
        // The second bed stacks on the first.
        EXPECT_EQ(bed2.ViewIndex, 3);
        EXPECT_FLOAT_EQ(bed2.Elevation, static_cast<float>(bed1.Height));
        // Pictures and words agree: the items' runs lie in the words.
        for (int32_t i = 0; i < G.PlacedItemCount; ++i)
            EXPECT_LE(G.PlacedItems[size_t(i)].ShapeEnd, G.SceneShapeCount);
    }
}

TEST_F(OldSceneFiles, AFileWithoutAPlanKeepsItsWalls)
{
    auto walls = noWalls();
    walls[2].entries.push_back({"Walls", "shelf", 1000, 0, 0, 0});
    int16_t environment = 0;
    ASSERT_TRUE(loadBytes(oldFile("0.02B", walls, {"floor", {}}), environment));
    EXPECT_EQ(windows.messages, QStringList({LangMod::GetMessage("lang_PlanNotFoundInDorvFile")}));
    EXPECT_EQ(G.PlacedItemCount, G.Room.FirstRealItem + 1);
}

TEST_F(OldSceneFiles, BrokenOldFilesChangeNothing)
{
    makeScene();
    G.EnvironmentTable = {EnvironmentRow{}};
    G.EnvironmentTable[0][0] = dir.file("Environments/Home");
    const int32_t roomShapes = G.RoomShapeCount;
    auto walls = noWalls();
    walls[0].entries.push_back({"Walls", "shelf", 1002, 0, 4, 1});
    const QByteArray whole = oldFile("0.02B", walls, {"plan", {{"Beds", "bed", 210, 240, 2, 0}}});
    const QString damaged = LangMod::GetMessage("lang_ErrorLoadingThisFile");
    expectRefused(whole.left(whole.size() - 3), damaged);
    expectRefused(whole.left(60), damaged);
    // A product beyond a Long.
    expectRefused(oldFile("0.01B", noWalls(), {"plan", {{"Beds", "bed", 2000000, 240, 2, 0}}}), damaged);
    // Numbers beyond what a scene holds, as a file of the current format
    // would be refused for: a scale that hangs the shelf 3.3e15 units up and
    // out (such an elevation overflows the wall view's lettering), a budget
    // or a money spent that adds up to "inf", a room without a floor (no
    // width; a length of less than a unit).
    auto number = [&](int at, double v) {
        dorv::ByteWriter w;
        w.f64(v);
        return QByteArray(whole).replace(at, 8, w.data());
    };
    for (const auto& [at, v] :
         {std::pair(44, 256e12), {44, -256e6}, {76, 1e20}, {92, -3e38}, {129, 0.0}, {137, 1e-9}})
        expectRefused(number(at, v), damaged);
    // In the child's language.
    G.UiLanguage = 1;
    EXPECT_NE(LangMod::GetMessage("lang_ErrorLoadingThisFile"), damaged);
    expectRefused(whole.left(60), LangMod::GetMessage("lang_ErrorLoadingThisFile"));
    G.UiLanguage = 0;
    // A 0.02B file whose first string is not the magic.
    expectRefused(oldFile("0.02B", noWalls(), {"plan", {}}, "NotDorv!"), LangMod::GetMessage("lang_ThisIsNotADorvFile"));
    EXPECT_EQ(G.RoomShapeCount, roomShapes);
}

TEST_F(OldSceneFiles, NamesThatLeadOutOfTheEnvironmentNameNoFile)
{
    dir.write("Environments/secret.dvo", ItemFiles::ItemFile());
    int16_t environment = 0;
    ASSERT_TRUE(loadBytes(oldFile("0.02B", noWalls(), {"plan", {{"..", "secret", 0, 0, 0, 0}}}), environment));
    EXPECT_EQ(G.PlacedItemCount, G.Room.FirstRealItem);
    EXPECT_EQ(windows.messages.size(), 1);

    // An environment name that climbs out of the environments folder: the
    // entry would otherwise reach the file above.
    windows.messages.clear();
    ASSERT_TRUE(loadBytes(oldFile("0.02B", noWalls(), {"plan", {{"Environments", "secret", 0, 0, 0, 0}}},
                                  "DorvFile", ".."),
                          environment));
    EXPECT_EQ(G.PlacedItemCount, G.Room.FirstRealItem);
    EXPECT_EQ(windows.messages.size(), 1);

    // Control characters belong to no file name.
    windows.messages.clear();
    ASSERT_TRUE(loadBytes(oldFile("0.02B", noWalls(), {"plan", {{"Beds", QByteArray("bed\0x", 5), 0, 0, 0, 0}}}),
                          environment));
    EXPECT_EQ(G.PlacedItemCount, G.Room.FirstRealItem);
    EXPECT_EQ(windows.messages.size(), 1);
}

// The fuzz target's seeds: a scene of every version the reader knows, made
// here, and damaged copies of each, through the target's own checks. With
// DORV_WRITE_SCENE_CORPUS naming a folder, the seeds are written there for
// the fuzzer.
TEST_F(OldSceneFiles, FuzzSeedsOfEveryVersion)
{
    makeScene();
    QByteArray current = currentBytes();
    QByteArray v200 = current;
    v200.replace(16, 5, "2.00A");
    v200.remove(221, 2);
    auto walls = noWalls();
    walls[0].entries.push_back({"Walls", "shelf", 1002, 0, 4, 1});
    const Section plan{"plan", {{"Beds", "bed", 210, 240, 2, 0}, {"Beds", "bed", 210, 240, 6, 0}}};
    const std::map<QString, QByteArray> seeds = {
        {"current", current}, {"v200", v200}, {"v001B", oldFile("0.01B", walls, plan)}, {"v002B", oldFile("0.02B", walls, plan)}};
    const QString out = qEnvironmentVariable("DORV_WRITE_SCENE_CORPUS");
    if (!out.isEmpty())
        for (const auto& [name, bytes] : seeds) {
            QFile f(out + QLatin1Char('/') + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }

    std::map<QString, QByteArray> all = seeds;
    const QDir corpus(QStringLiteral(DORV_SOURCE_DIR "/fuzz/corpus/fuzz_scene_file"));
    for (const QFileInfo& f : corpus.entryInfoList(QDir::Files))
        all[f.fileName() + QStringLiteral(" in the corpus")] = ReadFile(f.filePath());
    for (const auto& [name, seed] : all) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(FuzzEntries::SceneFile(seed));
        for (int cut = 0; cut < seed.size(); cut += 7) EXPECT_TRUE(FuzzEntries::SceneFile(seed.left(cut))) << cut;
        for (int at = 0; at < seed.size(); at += 5) {
            QByteArray b = seed;
            b[at] = static_cast<char>(b[at] ^ 0x81);
            EXPECT_TRUE(FuzzEntries::SceneFile(b)) << at;
        }
    }
}

}  // namespace
