// Item definition files and the catalogue of an item group, with fixture
// groups written by the tests.
#include "scene/Environments.h"
#include "scene/ItemCatalogue.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "support/ItemFiles.h"
#include "support/RecordingWindows.h"
#include "support/TempDir.h"

#include <QFile>
#include <QDir>
#include <gtest/gtest.h>

#include "../fuzz/FuzzEntries.h"

using namespace ItemFiles;
using FileMod::LoadItemCatalogue;
using FileMod::LoadItemDefinition;

namespace {

QString Padded(const char* name) { return QString::fromLatin1(name).leftJustified(32, QLatin1Char(' ')); }

// A table that already holds one item, so that loads append after it.
struct Table {
    ShapeStream words;
    int32_t count = 0;
    Table()
    {
        const Words first = ItemWords(Item());
        words.assign(first.begin(), first.end());
        words.push_back(0);
        words.push_back(0);
        count = static_cast<int32_t>(first.size()) + 1;
    }
};

// Loads `bytes` as grp\item.dvo into a table that holds an item, expects a
// failure reported in exactly one box, and that nothing changed.
QString ExpectRefused(const QByteArray& bytes)
{
    TempDir t;
    const QString path = t.write(QStringLiteral("grp/item.dvo"), bytes);
    RecordingWindows windows;
    Table table;
    const Table before = table;
    ItemRecord item;
    item.X = 5;
    EXPECT_FALSE(LoadItemDefinition(table.words, table.count, path, item));
    EXPECT_EQ(table.words, before.words);
    EXPECT_EQ(table.count, before.count);
    EXPECT_EQ(item.X, 5);
    EXPECT_EQ(item.Name, FixedText<32>());
    EXPECT_EQ(windows.messages.size(), 1);
    return windows.messages.value(0);
}

// Resets what the catalogue reads and writes of the program-wide state.
class Catalogue : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        G.Palette.clear();
        G.PaletteCount = 0;
        G.CatalogueShapes.clear();
        G.CatalogueShapeCount = 0;
        G.PlanInfo = PlanInfoRecord();
        G.PriceOverrides.clear();
        G.PriceOverrideCount = 0;
        FileMod::GroupPath.clear();
        LangMod::MessageTexts = {};
        LangMod::EnvTexts = {};
    }
    void Load(const QString& folder)
    {
        G.CatalogueShapeCount = 0;
        LoadItemCatalogue(folder, G.CatalogueShapes, G.CatalogueShapeCount, G.Palette, G.PaletteCount);
    }
    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < G.PaletteCount; ++i) names.append(G.Palette[static_cast<size_t>(i)].Name.trimmed());
        return names;
    }
    TempDir t;
    RecordingWindows windows;
};

}  // namespace

TEST(ItemFile, AWellFormedFileDescribesItsItem)
{
    TempDir t;
    Item layout;
    layout.before = Other(9, 3);  // stepped over on the way to the first shape
    const Words file = ItemWords(layout);
    const QString path = t.write(QStringLiteral("Chairs/Red chair.dvo"), Bytes(file));
    Table table;
    const int32_t base = table.count;
    ItemRecord item;
    ASSERT_TRUE(LoadItemDefinition(table.words, table.count, path, item));

    EXPECT_EQ(item.Name.str(), Padded("Chairs\\Red chair"));
    const int32_t first = base + 10 + 3;
    const int32_t shapeWords = static_cast<int32_t>(Shape(Box(), 0, 0).size());
    EXPECT_EQ(item.FirstShape, first);
    EXPECT_EQ(item.FootprintShape, first + shapeWords);
    EXPECT_EQ(item.ShapeStart, first + 2 * shapeWords);
    EXPECT_EQ(item.ShapeEnd, base + static_cast<int32_t>(file.size()));
    EXPECT_EQ(item.ViewCount, 4);
    EXPECT_EQ(item.FootMinX, -18144);
    EXPECT_EQ(item.FootMinY, -9072);
    EXPECT_EQ(item.FootWidth, 36288);
    EXPECT_EQ(item.FootDepth, 18144);
    EXPECT_EQ(item.Height, 18144);
    EXPECT_FLOAT_EQ(item.WidthMm, 1000);
    EXPECT_FLOAT_EQ(item.DepthMm, 500);
    EXPECT_FLOAT_EQ(item.HeightMm, 500);
    EXPECT_FLOAT_EQ(item.Price, 12.5f);
    EXPECT_EQ(item.Flags, 1);

    // The file's words follow the earlier item unchanged, then the zero word
    // past the file, which the count includes, then the one past the count.
    EXPECT_EQ(table.count, base + static_cast<int32_t>(file.size()) + 1);
    ASSERT_GE(table.words.size(), static_cast<size_t>(table.count) + 1);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), table.words.begin() + base));
    EXPECT_EQ(table.words[static_cast<size_t>(table.count) - 1], 0);
    EXPECT_EQ(table.words[static_cast<size_t>(table.count)], 0);
}

TEST(ItemFile, PricesAndFlagsRoundHalvesToEven)
{
    TempDir t;
    struct Case {
        int32_t priceWord, flagsWord;
        float price;
        int32_t flags;
    } cases[] = {
        {1000 * 256 + 128, 5 * 256 + 127, 10.00f, 5},  // 1000.5 goes to the even 1000
        {1000 * 256 + 192, 5 * 256 + 128, 10.01f, 6},  // 5.5 goes to 6
        {1001 * 256 + 128, 0x1F * 256, 10.02f, 15},    // only four flag bits
        {-256, 0, 167772.15f, 0},                      // 24 bits of price
    };
    for (const Case& c : cases) {
        Item layout;
        layout.priceWord = c.priceWord;
        layout.flagsWord = c.flagsWord;
        const QString path = t.write(QStringLiteral("g/a.dvo"), ItemFile(layout));
        ShapeStream words;
        int32_t count = 0;
        ItemRecord item;
        ASSERT_TRUE(LoadItemDefinition(words, count, path, item));
        EXPECT_FLOAT_EQ(item.Price, c.price) << c.priceWord;
        EXPECT_EQ(item.Flags, c.flags) << c.flagsWord;
    }
}

TEST(ItemFile, AFileWithTrailingBytesOrOneViewLoads)
{
    TempDir t;
    Item layout;
    layout.views = 1;
    const QString path = t.write(QStringLiteral("g/odd.dvo"), ItemFile(layout) + QByteArray("\x01\x02", 2));
    ShapeStream words;
    int32_t count = 0;
    ItemRecord item;
    ASSERT_TRUE(LoadItemDefinition(words, count, path, item));
    EXPECT_EQ(item.ViewCount, 1);
    EXPECT_EQ(words[static_cast<size_t>(count) - 1], 0x0201);  // the partial word, zero-filled
}

TEST(ItemFile, AMissingFileFailsSilently)
{
    RecordingWindows windows;
    Table table;
    const Table before = table;
    ItemRecord item;
    EXPECT_FALSE(LoadItemDefinition(table.words, table.count, QStringLiteral("/no/such/g/x.dvo"), item));
    EXPECT_EQ(table.words, before.words);
    EXPECT_TRUE(windows.messages.isEmpty());
}

TEST(ItemFile, WarningsNameTheItemAndChangeNothing)
{
    Item noFootprint;
    Words bad = ItemWords(noFootprint);
    bad[10 + Shape(Box(), 0, 0).size()] = 7;  // the footprint is not a shape
    EXPECT_EQ(ExpectRefused(Bytes(bad)),
              QStringLiteral("Item:") + Padded("grp\\item") + QStringLiteral("\nlang_WarningFootprintNotFound\n\n"));

    const Words noGroup = WithHeader({Shape(Box(), 0, 0), Shape(Box(), 0, 0), Shape(Box(), 0, 0)});
    EXPECT_TRUE(ExpectRefused(Bytes(noGroup)).contains(QStringLiteral("lang_WarningFirstPlanShouldBeGroup")));

    Words odd = ItemWords(Item());
    odd.resize(odd.size() - Group(Box(), {Shape(Box(), 0, 0)}).size());  // drop the last group
    EXPECT_TRUE(ExpectRefused(Bytes(odd)).contains(QStringLiteral("lang_WarningOddNumberOfGroups")));
}

TEST(ItemFile, BrokenFilesAreReportedWithoutReadingOutsideThem)
{
    // Empty: the first walk runs past the table. Before the file gives a
    // name, the box names the file: its group and its name.
    EXPECT_EQ(ExpectRefused(QByteArray()), QStringLiteral("Item:grp\\item.dvo\n\nThe records run outside the file."));
    // Only a header: the walks stop on the zero word past it.
    EXPECT_TRUE(ExpectRefused(Bytes(Words(10, 0))).contains(QStringLiteral("lang_WarningFootprintNotFound")));

    // A record whose length points past the end, at each place a walk meets it.
    Words longFirst = ItemWords(Item());
    longFirst[11] = 400000;
    EXPECT_TRUE(ExpectRefused(Bytes(longFirst)).contains(QStringLiteral("outside the file")));
    Words longLast = ItemWords(Item());
    const size_t lastGroup = longLast.size() - Group(Box(), {Shape(Box(), 0, 0)}).size();
    longLast[lastGroup + 1] = 400000;
    const QString last = ExpectRefused(Bytes(longLast));
    EXPECT_TRUE(last.contains(QStringLiteral("grp\\item")));
    EXPECT_TRUE(last.contains(QStringLiteral("outside the file")));

    // A negative length that steps back before the file.
    Words back = ItemWords(Item());
    back[11] = -4000;
    EXPECT_TRUE(ExpectRefused(Bytes(back)).contains(QStringLiteral("outside the file")));

    // A footprint cut off by the end of the file.
    Words cut = WithHeader({Shape(Box(), 0, 0), Words{2, 8}});
    EXPECT_FALSE(ExpectRefused(Bytes(cut)).isEmpty());

    // A footprint whose width overflows a Long.
    Item wide;
    wide.foot = {-2000000000, 0, 2000000000, 10};
    EXPECT_TRUE(ExpectRefused(ItemFile(wide)).contains(QStringLiteral("out of range")));

    // Random bytes.
    QByteArray noise;
    uint32_t x = 12345;
    for (int i = 0; i < 4096; ++i) {
        x = x * 1103515245u + 12345u;
        noise.append(static_cast<char>(x >> 24));
    }
    ExpectRefused(noise);
}

TEST(ItemFile, AHugeFileIsRefused)
{
    TempDir t;
    const QString path = t.write(QStringLiteral("g/huge.dvo"), ItemFile());
    QFile f(path);
    ASSERT_TRUE(f.resize(FileMod::kMaxItemFileBytes + 4));  // sparse
    RecordingWindows windows;
    Table table;
    const Table before = table;
    ItemRecord item;
    EXPECT_FALSE(LoadItemDefinition(table.words, table.count, path, item));
    EXPECT_EQ(table.words, before.words);
    ASSERT_EQ(windows.messages.size(), 1);
    // Refused before the first shape is found: the box names the file.
    EXPECT_EQ(windows.messages[0], QStringLiteral("Item:g\\huge.dvo\n\nThe file is too large."));
}

TEST_F(Catalogue, ABadFileIsReportedOnceAndLeavesNoGap)
{
    Item cheap, dear;
    cheap.priceWord = PriceWord(300);
    dear.priceWord = PriceWord(9900);
    t.write(QStringLiteral("Env/Tables/b desk.dvo"), ItemFile(cheap));
    t.write(QStringLiteral("Env/Tables/A table.dvo"), ItemFile(dear));
    Words bad = ItemWords(Item());
    bad[10 + Shape(Box(), 0, 0).size()] = 0;
    t.write(QStringLiteral("Env/Tables/B bench.dvo"), Bytes(bad));
    t.write(QStringLiteral("Env/Tables/c.DVO"), ItemFile());
    t.write(QStringLiteral("Env/Tables/notes.txt"), "not an item");

    Load(t.file(QStringLiteral("Env/Tables")));
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("Tables\\A table"), QStringLiteral("Tables\\b desk"),
                                    QStringLiteral("Tables\\c")}));
    ASSERT_EQ(windows.messages.size(), 1);
    EXPECT_TRUE(windows.messages[0].startsWith(QStringLiteral("Item:") + Padded("Tables\\B bench")));
    EXPECT_TRUE(windows.messages[0].contains(QStringLiteral("lang_WarningFootprintNotFound")));
    EXPECT_FLOAT_EQ(G.Palette[0].Price, 99);
    EXPECT_FLOAT_EQ(G.Palette[1].Price, 3);
    // Each item's pictures follow the previous one's in the table.
    EXPECT_EQ(G.Palette[0].FirstShape, 10);
    EXPECT_LT(G.Palette[0].ShapeEnd, G.Palette[1].FirstShape);
    EXPECT_EQ(G.Palette[2].ShapeEnd + 1, G.CatalogueShapeCount);
}

TEST_F(Catalogue, HiddenFilesAreNotItems)
{
    t.write(QStringLiteral("Env/Chairs/chair.dvo"), ItemFile());
    // What another system leaves beside a file, and an editor's hidden copy.
    t.write(QStringLiteral("Env/Chairs/._chair.dvo"), QByteArray("\0\x05\x16\x07", 4));
    t.write(QStringLiteral("Env/Chairs/.stool.dvo"), ItemFile());
    Load(t.file(QStringLiteral("Env/Chairs")));
    EXPECT_EQ(Names(), QStringList{QStringLiteral("Chairs\\chair")});
    EXPECT_TRUE(windows.messages.isEmpty());
}

TEST_F(Catalogue, AnEmptyGroupStillReadsItsPlaceInformationAndSetsTheBox)
{
    t.write(QStringLiteral("Env/Empty/planinfo.dvf"), "useprices:false\r\nname:Nothing\r\n");
    G.Palette.resize(3);
    G.PaletteCount = 3;
    LangMod::AddLanguageEntry(QStringLiteral("lang_UsePrices"), QStringLiteral("Use prices for %"),
                              QStringLiteral("msg"), LangMod::MessageTexts, 0);
    Load(t.file(QStringLiteral("Env/Empty")));
    EXPECT_EQ(G.PaletteCount, 0);
    EXPECT_EQ(G.CatalogueShapeCount, 0);
    EXPECT_EQ(G.PlanInfo.name, QStringLiteral("Nothing"));
    EXPECT_EQ(windows.usePricesTicked, 0);
    EXPECT_EQ(windows.usePricesCaption, QStringLiteral("Use prices for Empty"));

    // No group at all: nothing is taken from the current folder.
    t.write(QStringLiteral("Here/stray.dvo"), ItemFile());
    t.write(QStringLiteral("Here/PlanInfo.dvf"), "name:Stray\r\n");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(t.file(QStringLiteral("Here"))));
    FileMod::GroupPath = t.file(QStringLiteral("Here"));
    Load(QString());
    QDir::setCurrent(before);
    EXPECT_EQ(G.PaletteCount, 0);
    EXPECT_EQ(G.PlanInfo.name, QStringLiteral("Nothing"));
}

TEST_F(Catalogue, TheCaptionNamesTheGroupInTheItemLanguage)
{
    t.mkdir(QStringLiteral("Home/Beds"));
    LangMod::AddLanguageEntry(QStringLiteral("lang_UsePrices"), QStringLiteral("% (%)"), QStringLiteral("msg"),
                              LangMod::MessageTexts, 0);
    LangMod::AddLanguageEntry(QStringLiteral("Beds"), QStringLiteral("Camas"), QStringLiteral("Home"),
                              LangMod::EnvTexts, 0);
    Load(t.file(QStringLiteral("Home/Beds")));
    EXPECT_EQ(windows.usePricesCaption, QStringLiteral("Camas (Camas)"));
}

TEST_F(Catalogue, WallInformationIsReadOverPlanInformation)
{
    t.write(QStringLiteral("Env/!Doors/PlanInfo.dvf"), "max_width:4\r\nmax_depth:5\r\nuseprices:false\r\n");
    t.write(QStringLiteral("Env/!Doors/WallInfo.dvf"), "max_width:7\r\n");
    Load(t.file(QStringLiteral("Env/!Doors")));
    EXPECT_FLOAT_EQ(G.PlanInfo.max_width, 7);
    EXPECT_FLOAT_EQ(G.PlanInfo.max_depth, 5);
    EXPECT_TRUE(G.PlanInfo.useprices);  // starts afresh with the second file
    EXPECT_EQ(windows.usePricesTicked, 1);
}

TEST_F(Catalogue, TheMirrorFolderAddsItsItemsAfterTheGroupsOwn)
{
    t.write(QStringLiteral("Env/Chairs/b.dvo"), ItemFile());
    t.write(QStringLiteral("Env/Chairs/PlanInfo.dvf"), "max_width:4\r\nmax_depth:5\r\n");
    t.write(QStringLiteral("Plus/Env/chairs/a.dvo"), ItemFile());
    t.write(QStringLiteral("Plus/Env/chairs/c.dvo"), QByteArray());  // reported, left out
    t.write(QStringLiteral("Plus/Env/chairs/planinfo.dvf"), "max_width:9\r\n");
    G.PriceOverrides = {{Padded("Chairs\\b"), 1.5f}, {Padded("Chairs\\a"), 2.5f}, {Padded("Chairs\\b"), 4}};
    G.PriceOverrideCount = 3;
    FileMod::GroupPath = t.file(QStringLiteral("Plus/Env/"));

    Load(t.file(QStringLiteral("Env/Chairs")));
    // Add-on items are named after the group folder as the loader names it.
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("Chairs\\b"), QStringLiteral("Chairs\\a")}));
    EXPECT_FLOAT_EQ(G.Palette[0].Price, 4);      // the later override wins
    EXPECT_FLOAT_EQ(G.Palette[1].Price, 12.5f);  // no overrides for add-on items
    EXPECT_FLOAT_EQ(G.PlanInfo.max_width, 9);
    EXPECT_FLOAT_EQ(G.PlanInfo.max_depth, 5);
    ASSERT_EQ(windows.messages.size(), 1);
    // It fails before its name is known: the box names the mirror's file.
    EXPECT_TRUE(windows.messages[0].startsWith(QStringLiteral("Item:Chairs\\c.dvo\n")));

    // A group without a mirror is silent.
    windows.messages.clear();
    t.write(QStringLiteral("Env/Beds/x.dvo"), ItemFile());
    Load(t.file(QStringLiteral("Env/Beds")));
    EXPECT_EQ(Names(), QStringList{QStringLiteral("Beds\\x")});
    EXPECT_TRUE(windows.messages.isEmpty());
}

// The fuzz target's corpus, replayed through the same checks.
TEST(FuzzCorpus, ItemFiles)
{
    const QFileInfoList files =
        QDir(QStringLiteral(DORV_SOURCE_DIR "/fuzz/corpus/fuzz_item_file")).entryInfoList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QFileInfo& f : files) {
        QFile file(f.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(FuzzEntries::ItemFile(file.readAll())) << f.fileName().toStdString();
    }
}
