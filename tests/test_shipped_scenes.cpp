// The example and worksheet scenes that ship with the program, as the build
// made them: each opens through the scene loader without a message, names an
// installed environment, keeps its items on the floor and the money spent
// they cost. And the scene description reader and builder that make them.
#include "SceneSource.h"
#include "platform/FileSystem.h"
#include "scene/Environments.h"
#include "scene/FileMod.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneFile.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>

#include <cmath>
#include <set>

namespace {

const QString kContent = QStringLiteral(DORV_CONTENT_BUILD_DIR);

QStringList SceneFiles(const QString& folder)
{
    QStringList out;
    for (const QString& f : dorv::ListFolder(kContent + QLatin1Char('/') + folder, dorv::ListKind::Files,
                                             QStringLiteral(".dvp")))
        out.append(kContent + QLatin1Char('/') + folder + QLatin1Char('/') + f);
    return out;
}

// Opens the scene at `path` as File > Examples does and checks it.
void CheckShippedScene(const QString& path, SceneTool::ToolWindows& windows, QString* environment)
{
    SCOPED_TRACE(path.toStdString());
    G = SceneState();
    FileMod::BuildEnvironmentList(kContent + QStringLiteral("/Environments"));
    windows.messages.clear();
    int16_t env = 0;
    ASSERT_TRUE(FileMod::LoadSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount,
                                       G.Room, env));
    EXPECT_TRUE(windows.messages.isEmpty()) << windows.messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_GE(env, 1);
    ASSERT_LE(env, G.EnvironmentCount);
    *environment = FileMod::GetTrimmedFileName(G.EnvironmentTable[size_t(env - 1)][0]);

    ASSERT_GT(G.Room.ExtentX, 0);
    ASSERT_GT(G.Room.ExtentY, 0);
    ASSERT_LT(G.Room.FirstRealItem, G.PlacedItemCount) << "a scene without items";
    double cost = 0;
    for (int32_t i = G.Room.FirstRealItem; i < G.PlacedItemCount; ++i) {
        const ItemRecord& item = G.PlacedItems[size_t(i)];
        SCOPED_TRACE(item.Name.trimmed().toStdString());
        EXPECT_FALSE(item.Flags & kItemSection);
        float w = 0, d = 0;
        DrawMod::GetItemPictureSize(item, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1.0f, w, d);
        EXPECT_GT(w, 0);
        EXPECT_GT(d, 0);
        // One unit of slack: a wall item's back lies on the wall.
        EXPECT_LE(std::fabs(item.X) + w / 2, G.Room.ExtentX / 2.0f + 1);
        EXPECT_LE(std::fabs(item.Y) + d / 2, G.Room.ExtentY / 2.0f + 1);
        EXPECT_GE(item.Elevation, 0);
        cost += item.Price;
    }
    EXPECT_NEAR(G.SpentTotal, cost, 0.01);
    EXPECT_GE(CommonMod::ParseMoneyText(windows.BudgetText(1)), G.SpentTotal) << "the budget is spent already";
}

class ShippedScenes : public ::testing::Test {
protected:
    void TearDown() override { G = SceneState(); }
    SceneTool::ToolWindows windows;
};

}  // namespace

TEST_F(ShippedScenes, EveryExampleOpensAndOneFurnishesEachEnvironment)
{
    const QStringList files = SceneFiles(QStringLiteral("Examples"));
    std::set<QString> environments;
    for (const QString& path : files) {
        QString env;
        CheckShippedScene(path, windows, &env);
        environments.insert(env);
        EXPECT_GE(G.PlacedItemCount - G.Room.FirstRealItem, 12) << "an example is furnished";
    }
    FileMod::BuildEnvironmentList(kContent + QStringLiteral("/Environments"));
    EXPECT_EQ(int(environments.size()), G.EnvironmentCount);
    EXPECT_EQ(files.size(), G.EnvironmentCount);
}

TEST_F(ShippedScenes, EveryWorksheetOpensWithMoneyLeftToSpend)
{
    const QStringList files = SceneFiles(QStringLiteral("Worksheets"));
    EXPECT_GE(files.size(), 2);
    for (const QString& path : files) {
        QString env;
        CheckShippedScene(path, windows, &env);
        EXPECT_GT(CommonMod::ParseMoneyText(windows.BudgetText(1)) - G.SpentTotal, 100) << path.toStdString();
    }
}

// ---- the description reader ----

TEST(SceneSource, ReadsEveryStatement)
{
    SceneTool::SceneSource s;
    QString error;
    ASSERT_TRUE(SceneTool::ParseSceneSource(
        "# a comment\r\n"
        "environment Home\n"
        "place Furnish a bedroom   # its task\n"
        "size 3.5 3 2.5\r"
        "unit 1\n"
        "currency \xe2\x82\xac\n"
        "budget 1000\n"
        "prices off\n"
        "floor #102030\n"
        "wall #A0B0C0\n"
        "background #FFFFFF\n"
        "item Bedroom\\bed 0.5 -1 2\n"
        "item Living\\rug 0 0\n"
        "wall HomeWalls\\door west 1.1\n"
        "wall HomeWalls\\window north -0.4\n",
        s, &error))
        << error.toStdString();
    EXPECT_EQ(s.environment, QStringLiteral("Home"));
    EXPECT_EQ(s.place, QStringLiteral("Furnish a bedroom"));
    EXPECT_FLOAT_EQ(s.width, 3.5f);
    EXPECT_FLOAT_EQ(s.length, 3);
    EXPECT_FLOAT_EQ(s.height, 2.5f);
    EXPECT_EQ(s.unit, 1);
    EXPECT_EQ(s.currency.value_or(QString()), QString(QChar(0x20AC)));
    EXPECT_FLOAT_EQ(s.budget.value_or(0), 1000);
    EXPECT_FALSE(s.prices);
    // Red in the low byte, as the program keeps colours.
    EXPECT_EQ(s.floorColour.value_or(0), 0x302010);
    EXPECT_EQ(s.wallColour.value_or(0), 0xC0B0A0);
    EXPECT_EQ(s.backgroundColour.value_or(0), 0xFFFFFF);
    ASSERT_EQ(s.items.size(), 4u);
    EXPECT_EQ(s.items[0].item, QStringLiteral("Bedroom\\bed"));
    EXPECT_FLOAT_EQ(s.items[0].x, 0.5f);
    EXPECT_FLOAT_EQ(s.items[0].y, -1);
    EXPECT_EQ(s.items[0].view, 2);
    EXPECT_EQ(s.items[0].wallSide, -1);
    EXPECT_EQ(s.items[1].view, 0);
    // A west wall runs along y, a north wall along x.
    EXPECT_EQ(s.items[2].wallSide, 1);
    EXPECT_FLOAT_EQ(s.items[2].y, 1.1f);
    EXPECT_EQ(s.items[3].wallSide, 0);
    EXPECT_FLOAT_EQ(s.items[3].x, -0.4f);
}

TEST(SceneSource, RefusesWhatItCannotBuildNamingTheLine)
{
    const char* const bad[] = {
        "environment Home\nsize 3 3\n",                       // two sizes
        "environment Home\nsize 3 -3 2\n",                    // a negative size
        "environment Home\nsize 3 3 2\nitem Living\\rug 0\n",  // no y
        "environment Home\nsize 3 3 2\nitem Living\\rug 0 0 4\n",
        "environment Home\nsize 3 3 2\nwall HomeWalls\\door up 0\n",
        "environment Home\nsize 3 3 2\nfloor #12345\n",
        "environment Home\nsize 3 3 2\nprices maybe\n",
        "environment Home\nsize 3 3 2\nunit 9\n",
        "environment Home\nsize 3 3 2\nsofa here\n",
    };
    for (const char* text : bad) {
        SceneTool::SceneSource s;
        QString error;
        EXPECT_FALSE(SceneTool::ParseSceneSource(text, s, &error)) << text;
        EXPECT_TRUE(error.startsWith(QStringLiteral("line "))) << error.toStdString();
    }
    SceneTool::SceneSource s;
    QString error;
    EXPECT_FALSE(SceneTool::ParseSceneSource("size 3 3 2\n", s, &error));
    EXPECT_FALSE(SceneTool::ParseSceneSource("environment Home\n", s, &error));
}

// ---- the builder, over the shipped items ----

namespace {

bool Build(const QByteArray& text, QString* error)
{
    SceneTool::SceneSource s;
    return SceneTool::ParseSceneSource(text, s, error) && SceneTool::BuildScene(s, kContent, error);
}

}  // namespace

TEST(SceneBuilder, PlacesItemsAsTheProgramDoesAndWritesAFileThatOpens)
{
    SceneTool::ToolWindows windows;
    SceneTool::SceneSource s;
    QString error;
    ASSERT_TRUE(SceneTool::ParseSceneSource("environment Home\nplace Test room\nsize 4 5 2.5\nbudget 2000\n"
                                            "item Living\\coffeetable 0 0\n"
                                            "item Living\\tablelamp 0 0\n"
                                            "item Living\\rug 0 0\n"
                                            "wall HomeWalls\\window north 1\n",
                                            s, &error))
        << error.toStdString();
    ASSERT_TRUE(SceneTool::BuildScene(s, kContent, &error)) << error.toStdString();
    EXPECT_TRUE(windows.messages.isEmpty());
    const int32_t first = G.Room.FirstRealItem;
    ASSERT_EQ(G.PlacedItemCount - first, 4);
    // The rug lies in front of the others: right after the room's sections.
    EXPECT_EQ(G.PlacedItems[size_t(first)].Name.trimmed(), QStringLiteral("Living\\rug"));
    const ItemRecord& table = G.PlacedItems[size_t(first + 1)];
    const ItemRecord& lamp = G.PlacedItems[size_t(first + 2)];
    EXPECT_EQ(lamp.Name.trimmed(), QStringLiteral("Living\\tablelamp"));
    EXPECT_FLOAT_EQ(lamp.Elevation, table.Elevation + float(table.Height)) << "the lamp stands on the table";
    const ItemRecord& window = G.PlacedItems[size_t(first + 3)];
    EXPECT_TRUE(window.Flags & kItemOnWall);
    EXPECT_EQ(window.ViewIndex, 0);
    // Its back against the north wall (y = -length / 2), inside the room.
    float w = 0, d = 0;
    DrawMod::GetItemPictureSize(window, kPictureFromAbove, G.SceneShapes, G.SceneShapeCount, 1.0f, w, d);
    EXPECT_NEAR(window.Y - d / 2, -G.Room.ExtentY / 2.0f, 2);
    EXPECT_NEAR(window.X, 36288, 1);
    const float cost = table.Price + lamp.Price + window.Price + G.PlacedItems[size_t(first)].Price;
    EXPECT_GT(cost, 0);
    EXPECT_FLOAT_EQ(G.SpentTotal, cost);

    TempDir dir;
    const QString path = dir.path() + QStringLiteral("/room.dvp");
    ASSERT_TRUE(SceneTool::WriteScene(s, path, &error)) << error.toStdString();
    const int32_t items = G.PlacedItemCount;
    G = SceneState();
    FileMod::BuildEnvironmentList(kContent + QStringLiteral("/Environments"));
    int16_t env = 0;
    ASSERT_TRUE(FileMod::LoadSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount,
                                       G.Room, env));
    EXPECT_TRUE(windows.messages.isEmpty());
    EXPECT_EQ(FileMod::GetTrimmedFileName(G.EnvironmentTable[size_t(env - 1)][0]), QStringLiteral("Home"));
    EXPECT_EQ(G.PlacedItemCount, items);
    EXPECT_FLOAT_EQ(G.SpentTotal, cost);
    EXPECT_FLOAT_EQ(CommonMod::ParseMoneyText(windows.BudgetText(1)), 2000);
    EXPECT_EQ(windows.PlaceSizeText(1).toFloat(), 4.0f);
    EXPECT_EQ(windows.PlaceSizeText(2).toFloat(), 5.0f);
    G = SceneState();
}

TEST(SceneBuilder, RefusesMissingItemsWallsAndItemsOffTheFloor)
{
    SceneTool::ToolWindows windows;
    QString error;
    EXPECT_FALSE(Build("environment Nowhere\nsize 4 5 2.5\n", &error));
    EXPECT_FALSE(Build("environment Home\nsize 40 5 2.5\n", &error)) << "larger than the place setup accepts";
    EXPECT_FALSE(Build("environment Home\nsize 4 5 2.5\nitem Living\\throne 0 0\n", &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("line 3"))) << error.toStdString();
    EXPECT_FALSE(Build("environment Home\nsize 4 5 2.5\nitem Living\\sofa 2.2 0\n", &error));
    EXPECT_FALSE(Build("environment Home\nsize 4 5 2.5\nwall HomeWalls\\door north 2.4\n", &error));
    // A garden without a fence height has no walls to hang anything on.
    EXPECT_FALSE(Build("environment Garden\nsize 5 5 0\nwall Fence\\gate north 0\n", &error));
    EXPECT_TRUE(Build("environment Garden\nsize 5 5 0\nitem Play\\sandpit 0 0\n", &error)) << error.toStdString();
    G = SceneState();
}
