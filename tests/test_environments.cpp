// Environments and item groups: the environment table, the lists of the
// chooser and the item-groups window, and the pictures they show.
#include "scene/Environments.h"
#include "scene/FileMod.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "support/RecordingWindows.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

using namespace FileMod;
using EnvList = WindowPort::EnvList;

namespace {

// A run-length coded bitmap of 5000 x 5000 pixels: small on disk, large
// once loaded.
QByteArray HugeBitmap()
{
    QByteArray b("BM");
    auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    const uint32_t offset = 14 + 40 + 2 * 4;
    put(offset + 2, 4);
    put(0, 4);
    put(offset, 4);
    for (uint32_t v : {40u, 5000u, 5000u}) put(v, 4);
    put(1, 2);
    put(8, 2);
    for (uint32_t v : {1u, 2u, 2835u, 2835u, 2u, 0u}) put(v, 4);  // RLE8, two colours
    put(0x000000FF, 4);
    put(0x0000FF00, 4);
    b.append("\x00\x01", 2);  // end of the bitmap
    return b;
}

class Environments : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        G.EnvironmentTable.clear();
        G.EnvironmentCount = 0;
        G.EnvironPlusDir.clear();
        G.PlanInfo = PlanInfoRecord();
        GroupPath.clear();
        LangMod::EnvTexts = {};
    }
    // A picture file of the given side.
    void Picture(const QString& relative, int side)
    {
        t.mkdir(QFileInfo(relative).path());
        QImage image(side, side, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(t.file(relative), "BMP"));
    }
    // "key" for a picture, "key*" for the default one.
    QStringList Pictures(EnvList list)
    {
        QStringList out;
        for (const auto& p : windows.pictures[list]) out.append(p.key + (p.isDefault ? QStringLiteral("*") : QString()));
        return out;
    }
    QStringList Keys(EnvList list)
    {
        QStringList out;
        for (const auto& e : windows.entries[list]) out.append(e.key);
        return out;
    }
    TempDir t;
    RecordingWindows windows;
};

}  // namespace

TEST_F(Environments, SpecialFoldersAndGroupsFillTheirColumns)
{
    for (const char* f : {"Envs/school/Desks", "Envs/school/+Extra", "Envs/school/=Walls", "Envs/school/chairs",
                          "Envs/school/!Doors", "Envs/Garden"})
        t.mkdir(QString::fromLatin1(f));
    t.write(QStringLiteral("Envs/school/notes.txt"), "a file is not a group");
    BuildEnvironmentList(t.file(QStringLiteral("Envs/")));

    ASSERT_EQ(G.EnvironmentCount, 2);
    ASSERT_EQ(G.EnvironmentTable.size(), 3u);  // an empty row after the last
    EXPECT_EQ(GetFileNamePart(G.EnvironmentTable[0][0]), QStringLiteral("Garden"));
    const EnvironmentRow& school = G.EnvironmentTable[1];
    EXPECT_EQ(GetFileNamePart(school[0]), QStringLiteral("school"));
    EXPECT_EQ(school[1], QStringLiteral("+Extra"));
    EXPECT_EQ(school[2], QStringLiteral("=Walls"));
    EXPECT_EQ(school[3], QStringLiteral("!Doors"));
    EXPECT_EQ(school[4], QStringLiteral("chairs"));
    EXPECT_EQ(school[5], QStringLiteral("Desks"));
    EXPECT_TRUE(school[6].isEmpty());
    EXPECT_TRUE(G.EnvironmentTable[2][0].isEmpty());

    for (EnvList list : {EnvList::Chooser, EnvList::AllEnvironments}) {
        ASSERT_EQ(windows.entries[list].size(), 2u);
        const WindowPort::ListEntry& e = windows.entries[list][1];
        EXPECT_EQ(e.iconKey, QStringLiteral("school"));
        EXPECT_EQ(e.tag, QStringLiteral("school\\school"));
        EXPECT_EQ(e.text, QStringLiteral("school"));  // before the texts are loaded
    }
}

TEST_F(Environments, AMissingEnvironmentsFolderGivesNoEnvironments)
{
    G.EnvironmentTable.assign(4, EnvironmentRow());
    G.EnvironmentCount = 3;
    BuildEnvironmentList(t.file(QStringLiteral("nowhere")));
    EXPECT_EQ(G.EnvironmentCount, 0);
    EXPECT_EQ(G.EnvironmentTable.size(), 1u);
    EXPECT_TRUE(windows.entries[EnvList::Chooser].empty());
    EXPECT_EQ(FindEnvironmentIndex(QString()), -1);

    BuildEnvironmentList(QString());  // never the current folder
    EXPECT_EQ(G.EnvironmentCount, 0);
}

TEST_F(Environments, SeventeenGroupsFitAndLaterOnesAreLeftOut)
{
    for (int i = 0; i < 20; ++i) t.mkdir(QStringLiteral("Envs/Big/g%1").arg(i, 2, 10, QLatin1Char('0')));
    BuildEnvironmentList(t.file(QStringLiteral("Envs")));
    const EnvironmentRow& row = G.EnvironmentTable[0];
    EXPECT_EQ(row[3], QStringLiteral("g00"));
    EXPECT_EQ(row[19], QStringLiteral("g16"));
    // The item-groups window lists them all from the folder.
    EXPECT_FALSE(LoadEnvironmentItemGroups(0, row[0]).isEmpty());
    EXPECT_EQ(windows.entries[EnvList::Groups].size(), 20u);
}

TEST_F(Environments, EnvironmentPicturesComeFromTheFolderTheMirrorOrTheDefault)
{
    Picture(QStringLiteral("Envs/A/icon.bmp"), 32);
    Picture(QStringLiteral("Plus/B/Icon.BMP"), 16);  // names match in any case
    t.mkdir(QStringLiteral("Envs/B"));
    t.mkdir(QStringLiteral("Envs/C"));
    t.write(QStringLiteral("Envs/D/icon.bmp"), "BM this is no picture");
    Picture(QStringLiteral("Plus/D/icon.bmp"), 16);  // not used: D has its own file
    const QString huge = t.write(QStringLiteral("Envs/E/icon.bmp"), HugeBitmap());
    ASSERT_EQ(QImage(huge).size(), QSize(5000, 5000));  // a picture, but far too large for a list
    G.EnvironPlusDir = t.file(QStringLiteral("Plus"));
    BuildEnvironmentList(t.file(QStringLiteral("Envs")));

    const QStringList expected = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C*"),
                                  QStringLiteral("D*"), QStringLiteral("E*")};
    EXPECT_EQ(Pictures(EnvList::Chooser), expected);
    EXPECT_EQ(Pictures(EnvList::AllEnvironments), expected);
    EXPECT_EQ(windows.pictures[EnvList::Chooser][0].size, QSize(32, 32));
    EXPECT_EQ(windows.pictures[EnvList::Chooser][1].size, QSize(16, 16));
}

TEST_F(Environments, PlanAndWallGroupsAreListedPerView)
{
    for (const char* f : {"Home/Beds", "Home/+Start", "Home/=Rooms", "Home/!Windows", "Home/chairs",
                          "Home/Pictures"})
        t.mkdir(QString::fromLatin1(f));
    t.write(QStringLiteral("Home/Pictures/WALLINFO.DVF"), "useprices:false\r\n");
    const QString home = t.file(QStringLiteral("Home"));

    for (int16_t view : {0, 1, 3}) {
        EXPECT_EQ(LoadEnvironmentItemGroups(view, home), home + QStringLiteral("\\Beds"));
        EXPECT_EQ(Keys(EnvList::Groups), (QStringList{QStringLiteral("Beds"), QStringLiteral("chairs")}));
    }
    EXPECT_EQ(LoadEnvironmentItemGroups(2, home), home + QStringLiteral("\\!Windows"));
    EXPECT_EQ(Keys(EnvList::Groups), (QStringList{QStringLiteral("!Windows"), QStringLiteral("Pictures")}));
    const WindowPort::ListEntry& e = windows.entries[EnvList::Groups][1];
    EXPECT_EQ(e.iconKey, QStringLiteral("Pictures"));
    EXPECT_EQ(e.tag, QStringLiteral("Home\\Pictures"));
    EXPECT_EQ(e.text, QStringLiteral("Pictures"));

    LangMod::AddLanguageEntry(QStringLiteral("Pictures"), QStringLiteral("Quadros"), QStringLiteral("Home"),
                              LangMod::EnvTexts, 0);
    LoadEnvironmentItemGroups(2, home);
    EXPECT_EQ(windows.entries[EnvList::Groups][1].text, QStringLiteral("Quadros"));

    t.mkdir(QStringLiteral("Bare/+Only"));
    EXPECT_EQ(LoadEnvironmentItemGroups(0, t.file(QStringLiteral("Bare"))), QString());
    EXPECT_TRUE(windows.entries[EnvList::Groups].empty());
    EXPECT_EQ(LoadEnvironmentItemGroups(0, t.file(QStringLiteral("missing"))), QString());
}

TEST_F(Environments, HiddenFoldersAreNeitherEnvironmentsNorGroups)
{
    for (const char* f : {"Envs/.Trash-1000/Beds", "Envs/Home/.git", "Envs/Home/Beds", "Envs/Home/!Windows",
                          "Envs/Home/.!Hidden", "Envs/Home/Pictures/.cache"})
        t.mkdir(QString::fromLatin1(f));
    t.write(QStringLiteral("Envs/Home/Pictures/WallInfo.dvf"), "useprices:false\r\n");
    BuildEnvironmentList(t.file(QStringLiteral("Envs")));
    ASSERT_EQ(G.EnvironmentCount, 1);
    EXPECT_EQ(GetFileNamePart(G.EnvironmentTable[0][0]), QStringLiteral("Home"));
    ASSERT_EQ(windows.entries[EnvList::Chooser].size(), 1u);
    EXPECT_EQ(windows.entries[EnvList::Chooser][0].iconKey, QStringLiteral("Home"));

    // The plan opens on its first real group, and the wall view lists no
    // hidden wall group either.
    const QString home = G.EnvironmentTable[0][0];
    EXPECT_EQ(LoadEnvironmentItemGroups(0, home), home + QStringLiteral("\\Beds"));
    EXPECT_EQ(Keys(EnvList::Groups), QStringList{QStringLiteral("Beds")});
    LoadEnvironmentItemGroups(2, home);
    EXPECT_EQ(Keys(EnvList::Groups), (QStringList{QStringLiteral("!Windows"), QStringLiteral("Pictures")}));
}

TEST_F(Environments, GroupPicturesAndTheMirrorsPlaceInformation)
{
    t.mkdir(QStringLiteral("Envs/Home/Beds"));
    Picture(QStringLiteral("Envs/Home/Chairs/icon.bmp"), 24);
    t.mkdir(QStringLiteral("Envs/Home/Lamps"));
    t.write(QStringLiteral("Envs/Home/Tables/icon.bmp"), QByteArray(100, '\x42'));
    Picture(QStringLiteral("Plus/Home/Beds.bmp"), 20);
    Picture(QStringLiteral("Plus/Home/Tables.bmp"), 20);  // not used: Tables has its own file
    t.write(QStringLiteral("Plus/Home/PlanInfo.dvf"), "name:Home plus\r\n");
    G.EnvironPlusDir = t.file(QStringLiteral("Plus"));

    LoadEnvironmentItemGroups(0, t.file(QStringLiteral("Envs/Home")));
    EXPECT_EQ(Pictures(EnvList::Groups), (QStringList{QStringLiteral("Beds"), QStringLiteral("Chairs"),
                                                      QStringLiteral("Lamps*"), QStringLiteral("Tables*")}));
    EXPECT_EQ(GroupPath, t.file(QStringLiteral("Plus")) + QStringLiteral("\\Home\\"));
    EXPECT_EQ(G.PlanInfo.name, QStringLiteral("Home plus"));
}

TEST_F(Environments, FindEnvironmentIndexIgnoresCaseAndTrailingBlanks)
{
    EXPECT_EQ(FindEnvironmentIndex(QStringLiteral("Home")), -1);  // empty table
    for (const char* f : {"Envs/Classroom", "Envs/Home  "}) t.mkdir(QString::fromLatin1(f));
    BuildEnvironmentList(t.file(QStringLiteral("Envs")));
    EXPECT_EQ(FindEnvironmentIndex(QStringLiteral("CLASSROOM")), 0);
    EXPECT_EQ(FindEnvironmentIndex(QStringLiteral("home")), 1);
    EXPECT_EQ(FindEnvironmentIndex(QStringLiteral("Garden")), -1);
    EXPECT_EQ(FindEnvironmentIndex(QString()), -1);  // not the empty row after the last
}

TEST(SpecialFolders, TheDocumentsFolderOrHome)
{
    const QString documents = FindSpecialFolder::GetSpecialFolderPath(5);
    ASSERT_FALSE(documents.isEmpty());
    EXPECT_TRUE(documents.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(documents).isDir());
    EXPECT_EQ(FindSpecialFolder::GetSpecialFolderPath(0), QString());
}
