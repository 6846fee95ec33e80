// The content that ships with the program, as built into the build tree's
// content folder, read through the program's own loaders: every environment
// lists its place information and its groups, every item file loads without
// a message, and every environment, group and item has its name in English
// and Portuguese.
#include "platform/FileSystem.h"
#include "scene/FileMod.h"
#include "scene/Environments.h"
#include "scene/ItemCatalogue.h"
#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/PlaceInfo.h"
#include "scene/Records.h"
#include "scene/ShapeStream.h"
#include "scene/SceneState.h"
#include "support/RecordingWindows.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace {

const QString kContent = QStringLiteral(DORV_CONTENT_BUILD_DIR);

QString EnvironmentsFolder() { return kContent + QStringLiteral("/Environments"); }

bool HasText(const LangMod::LanguageTables& tables, int language, const QString& key)
{
    const auto& slot = tables[static_cast<size_t>(language)];
    if (!slot) return false;
    const QString* text = slot->Find(key);
    return text && !text->trimmed().isEmpty();
}

class Content : public ::testing::Test {
protected:
    void SetUp() override
    {
        G.EnvironPlusDir = kContent + QStringLiteral("/EnvironPlus");
        FileMod::BuildEnvironmentList(EnvironmentsFolder());
        LangMod::LoadEnvData();
        LangMod::LoadPlanWallInfo();
    }
    // The folder path and name of every environment.
    std::vector<std::pair<QString, QString>> Environments() const
    {
        std::vector<std::pair<QString, QString>> out;
        for (int i = 0; i < G.EnvironmentCount; ++i) {
            const QString path = G.EnvironmentTable[static_cast<size_t>(i)][0];
            out.emplace_back(path, FileMod::GetTrimmedFileName(path));
        }
        return out;
    }
    // The groups the item-groups window lists for a view mode.
    std::vector<QString> Groups(const QString& environment, int16_t viewMode)
    {
        FileMod::LoadEnvironmentItemGroups(viewMode, environment);
        std::vector<QString> out;
        for (const auto& e : windows.entries[WindowPort::EnvList::Groups]) out.push_back(e.key);
        return out;
    }
    RecordingWindows windows;
};

}  // namespace

TEST_F(Content, EveryEnvironmentHasPlaceInformationNamesAndGroups)
{
    const auto envs = Environments();
    ASSERT_GE(envs.size(), 3u);
    for (const auto& [path, name] : envs) {
        SCOPED_TRACE(name.toStdString());
        for (int lang : {0, 1}) EXPECT_TRUE(HasText(LangMod::EnvTexts, lang, name + QLatin1Char('\\') + name));

        ASSERT_TRUE(FileMod::FileExists(path + QStringLiteral("\\PlanInfo.dvf")));
        PlanInfoRecord info;
        ASSERT_TRUE(FileMod::ReadInfoFile(path, QStringLiteral("\\PlanInfo.dvf"), info));
        EXPECT_FALSE(info.place.trimmed().isEmpty());
        // The place is named in both languages, as the environment is.
        for (int lang : {0, 1}) EXPECT_TRUE(HasText(LangMod::EnvTexts, lang, name + QLatin1Char('\\') + info.place));
        EXPECT_GT(info.default_width, 0);
        EXPECT_GT(info.default_depth, 0);
        EXPECT_LE(info.default_width, info.max_width);
        EXPECT_LE(info.default_depth, info.max_depth);
        EXPECT_GT(info.scale1, 0);
        EXPECT_GT(info.budget, 0);
        EXPECT_TRUE(info.useprices);
        EXPECT_FALSE(info.noprices);
        EXPECT_NE(info.floor_colour, info.wall_colour);

        EXPECT_FALSE(QImage(dorv::FindPath(path + QStringLiteral("\\icon.bmp"))).isNull());
        const auto plan = Groups(path, 0);
        // Every group has a picture of its own, not the default one.
        for (const auto& pic : windows.pictures[WindowPort::EnvList::Groups]) EXPECT_FALSE(pic.isDefault);
        const auto wall = Groups(path, 2);
        EXPECT_GE(plan.size(), 3u);
        EXPECT_GE(wall.size(), 1u);
        for (const auto& groups : {plan, wall})
            for (const QString& g : groups) {
                for (int lang : {0, 1})
                    EXPECT_TRUE(HasText(LangMod::EnvTexts, lang, name + QLatin1Char('\\') + g)) << g.toStdString();
                EXPECT_FALSE(QImage(dorv::FindPath(path + QLatin1Char('\\') + g + QStringLiteral("\\icon.bmp"))).isNull())
                    << g.toStdString();
                // The environment picture stands for the environment only.
            }
    }
}

TEST_F(Content, EveryItemLoadsQuietlyWithNamesInBothLanguages)
{
    int total = 0;
    for (const auto& [path, name] : Environments()) {
        for (int16_t mode : {int16_t(0), int16_t(2)})
            for (const QString& g : Groups(path, mode)) {
                SCOPED_TRACE((name + QLatin1Char('/') + g).toStdString());
                const QString folder = path + QLatin1Char('\\') + g;
                const int files = static_cast<int>(dorv::ListFolder(folder, dorv::ListKind::Files, ".dvo").size());
                ShapeStream shapes;
                int32_t words = 0, count = 0;
                std::vector<ItemRecord> items;
                FileMod::LoadItemCatalogue(folder, shapes, words, items, count);
                EXPECT_TRUE(windows.messages.isEmpty()) << windows.messages.join(QLatin1Char('\n')).toStdString();
                windows.messages.clear();
                EXPECT_EQ(count, files);
                EXPECT_GE(count, 4);
                for (int i = 0; i < count; ++i) {
                    const ItemRecord& it = items[static_cast<size_t>(i)];
                    const QString itemName = it.Name.str().trimmed();
                    SCOPED_TRACE(itemName.toStdString());
                    for (int lang : {0, 1}) EXPECT_TRUE(HasText(LangMod::PlanInfoTexts, lang, itemName));
                    EXPECT_GT(it.Price, 0);
                    EXPECT_GT(it.Height, 0);
                    EXPECT_GT(it.FootWidth, 0);
                    EXPECT_GT(it.FootDepth, 0);
                    // Wall groups hold wall items facing each wall plus a
                    // front picture; plan groups hold none.
                    if (mode == 2) {
                        EXPECT_NE(it.Flags & kItemOnWall, 0);
                        EXPECT_EQ(it.ViewCount, 5);
                    } else {
                        EXPECT_EQ(it.Flags & kItemOnWall, 0);
                        EXPECT_TRUE(it.ViewCount == 1 || it.ViewCount == 2 || it.ViewCount == 4);
                    }
                }
                total += count;
            }
    }
    EXPECT_GE(total, 80);
}

// The lowest point that a shape of `group` draws, nested groups entered.
static int32_t LowestDrawn(const Shapes::Table& t, const Shapes::Record& group)
{
    int32_t low = INT32_MAX;
    Shapes::RecordWalker walk = Shapes::RecordWalker::Children(t, group);
    Shapes::Record r;
    while (walk.next(r)) {
        if (r.isShape()) low = std::min(low, Shapes::RecordBox(t, r).minY);
        if (r.isGroup()) low = std::min(low, LowestDrawn(t, r));
    }
    return low;
}

TEST_F(Content, WallThingsHangAtTheirUsualHeights)
{
    // The program keeps wall items on the floor line; the pictures of each
    // shipped wall item carry its height above the floor.
    int checked = 0;
    for (const auto& [path, name] : Environments())
        for (const QString& g : Groups(path, 2)) {
            const QString folder = path + QLatin1Char('\\') + g;
            for (const QString& file : dorv::ListFolder(folder, dorv::ListKind::Files, ".dvo")) {
                SCOPED_TRACE((name + QLatin1Char('/') + g + QLatin1Char('/') + file).toStdString());
                ShapeStream shapes;
                int32_t words = 0;
                ItemRecord item;
                ASSERT_TRUE(FileMod::LoadItemDefinition(shapes, words, folder + QLatin1Char('\\') + file, item));
                const Shapes::Table t = Shapes::Used(shapes, words);
                Shapes::Record front;
                ASSERT_TRUE(DrawMod::PictureRecordAt(t, DrawMod::PictureStart(item, 0, item.ViewCount - 1, t), front));
                EXPECT_EQ(Shapes::RecordBox(t, front).minY, 0);  // the picture's foot is the floor line
                const double cm = LowestDrawn(t, front) / 362.88;
                const QString kind = file.toLower();
                if (kind.contains("door") || kind.contains("fence") || kind.contains("gate") || kind.contains("trellis")) {
                    EXPECT_LT(cm, 1) << "stands on the floor";
                } else if (kind.contains("clock")) {
                    EXPECT_NEAR(cm, 180, 20);
                } else if (kind.contains("window") || kind.contains("board")) {
                    EXPECT_NEAR(cm, 90, 10);
                } else {
                    EXPECT_GE(cm, 5) << "hangs on the wall";
                }
                // What hangs stays below the top of the place's walls at
                // their usual height.
                if (cm >= 1) {
                    EXPECT_LE(item.Height / 362.88, name == "Garden" ? 121 : 250);
                }
                ++checked;
            }
        }
    EXPECT_GE(checked, 20);
}

TEST_F(Content, EveryItemHasAModelAndEveryEnvironmentASkyForItsVrmlWorlds)
{
    int models = 0;
    for (const auto& [path, name] : Environments()) {
        const QString vrml = kContent + QStringLiteral("/VRML/") + name;
        for (const char* side : {"front", "back", "left", "right", "top", "bottom"})
            EXPECT_FALSE(QImage(vrml + QStringLiteral("/Bkg_%1.jpg").arg(side)).isNull()) << name.toStdString() << side;
        for (int16_t mode : {int16_t(0), int16_t(2)})
            for (const QString& g : Groups(path, mode))
                for (const QString& file : dorv::ListFolder(path + QLatin1Char('/') + g, dorv::ListKind::Files, ".dvo")) {
                    const QString model = vrml + QLatin1Char('/') + g + QLatin1Char('/') + QFileInfo(file).completeBaseName() +
                                          QStringLiteral(".wrl");
                    bool ok = false;
                    EXPECT_TRUE(dorv::ReadWholeFile(model, &ok).startsWith("#VRML V2.0 utf8\n")) << model.toStdString();
                    models += ok;
                }
    }
    EXPECT_GE(models, 80);
}

TEST(ContentPictures, EveryImageListPictureAndTheSplashLoad)
{
    auto expectPicture = [](const QString& relative, int size) {
        const QImage img(kContent + QLatin1Char('/') + relative);
        EXPECT_FALSE(img.isNull()) << relative.toStdString();
        if (size > 0) {
            EXPECT_EQ(img.size(), QSize(size, size)) << relative.toStdString();
        }
    };
    for (int n = 1; n <= 27; ++n) expectPicture(QStringLiteral("Pictures/ImageList1/%1.png").arg(n, 2, 10, QLatin1Char('0')), 40);
    for (int n : {1, 2, 5, 9, 10, 11, 12, 14})
        expectPicture(QStringLiteral("Pictures/ImageList2/%1.png").arg(n, 2, 10, QLatin1Char('0')), 40);
    expectPicture(QStringLiteral("Pictures/ImageList2/13.png"), 64);
    for (int n = 1; n <= 3; ++n) {
        expectPicture(QStringLiteral("Pictures/ImageList3/%1.png").arg(n, 2, 10, QLatin1Char('0')), 32);
        expectPicture(QStringLiteral("Pictures/ImageList4/%1.png").arg(n, 2, 10, QLatin1Char('0')), 40);
    }
    for (const char* name : {"New", "Open", "Save", "Paste", "Copy", "Cut", "Print"})
        expectPicture(QStringLiteral("Pictures/Toolbar/%1.png").arg(QLatin1String(name)), 32);
    expectPicture(QStringLiteral("Pictures/Toolbar/ResetZoom.png"), 40);
    expectPicture(QStringLiteral("Splash.jpg"), 0);
}

TEST(ContentSettings, EverySettingIsAKnownKeyExplainedByTheCommentAboveIt)
{
    bool ok = false;
    const QByteArray text = dorv::ReadWholeFile(kContent + QStringLiteral("/AdminSetup.txt"), &ok);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(text.contains("\r\n"));
    const QStringList known = {QStringLiteral("environdir"), QStringLiteral("environplusdir"),
                               QStringLiteral("userdir"),    QStringLiteral("examplesdir"),
                               QStringLiteral("worksheetdir"), QStringLiteral("currency"),
                               QStringLiteral("language"),   QStringLiteral("itemlang")};
    QString comments;
    int currencies = 0;
    QStringList explained;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromLatin1(raw).remove(QLatin1Char('\r'));
        if (line.startsWith(QLatin1Char('\''))) {
            comments += line;
            continue;
        }
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0) continue;
        const QString key = line.left(colon).toLower();
        EXPECT_TRUE(known.contains(key)) << key.toStdString();
        EXPECT_TRUE(comments.contains(key + QLatin1Char(':'))) << key.toStdString() << " has no comment";
        if (key == QLatin1String("currency")) {
            const QStringList parts = line.mid(colon + 1).split(QLatin1Char(';'));
            ASSERT_EQ(parts.size(), 2);
            EXPECT_GT(parts[1].toDouble(), 0);
            ++currencies;
        }
    }
    EXPECT_GE(currencies, 3);
}
