// Path routines and the letter-case-blind file access beneath them.
#include "platform/FileSystem.h"
#include "scene/FileMod.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace FileMod;

TEST(PathText, TrimTrailingSpaces)
{
    EXPECT_EQ(TrimTrailingSpaces(QStringLiteral("     ")), QString());
    EXPECT_EQ(TrimTrailingSpaces(QStringLiteral(" a b  ")), QStringLiteral(" a b"));
    EXPECT_EQ(TrimTrailingSpaces(QStringLiteral("a\t")), QStringLiteral("a\t"));  // blanks only
}

TEST(PathText, FileNamePart)
{
    EXPECT_EQ(GetFileNamePart(QStringLiteral("C:\\env\\chairs\\")), QString());
    EXPECT_EQ(GetFileNamePart(QStringLiteral("chair.dvo")), QStringLiteral("chair.dvo"));
    EXPECT_EQ(GetFileNamePart(QStringLiteral("a\\b\\chair.dvo")), QStringLiteral("chair.dvo"));
    EXPECT_EQ(GetFileNamePart(QStringLiteral("a/b/chair.dvo")), QStringLiteral("chair.dvo"));
    EXPECT_EQ(GetFileNamePart(QStringLiteral("a\\b/c\\d")), QStringLiteral("d"));
    const QString padded = QStringLiteral("Classroom").leftJustified(32, QLatin1Char(' '));
    EXPECT_EQ(GetTrimmedFileName(padded), QStringLiteral("Classroom"));
    EXPECT_EQ(GetTrimmedFileName(QStringLiteral("x\\Home  ")), QStringLiteral("Home"));
}

TEST(PathText, LastTwoParts)
{
    EXPECT_EQ(GetLastTwoPathParts(QStringLiteral("env\\chairs\\red.dvo")), QStringLiteral("chairs\\red.dvo"));
    EXPECT_EQ(GetLastTwoPathParts(QStringLiteral("red.dvo")), QStringLiteral("red.dvo"));
    EXPECT_EQ(GetLastTwoPathParts(QStringLiteral("chairs\\red.dvo")), QStringLiteral("chairs\\red.dvo"));
    EXPECT_EQ(GetLastTwoPathParts(QStringLiteral("/opt/env/chairs/red.dvo")), QStringLiteral("chairs/red.dvo"));
}

TEST(FileAccess, FindsFilesWhateverTheirCase)
{
    TempDir t;
    t.write(QStringLiteral("Environments/Classroom/PlanInfo.dvf"), "x");
    const QString mixed = t.path() + QStringLiteral("\\environments\\CLASSROOM\\planinfo.DVF");
    EXPECT_TRUE(FileExists(mixed));
    EXPECT_EQ(dorv::FindPath(mixed), t.file(QStringLiteral("Environments/Classroom/PlanInfo.dvf")));
    // A name that does not exist keeps its spelling, so it can be created.
    EXPECT_EQ(dorv::FindPath(t.path() + QStringLiteral("/ENVIRONMENTS/New/a.dvp")),
              t.file(QStringLiteral("Environments/New/a.dvp")));
    EXPECT_FALSE(FileExists(t.path() + QStringLiteral("/environments/classroom/wallinfo.dvf")));
}

TEST(FileAccess, LookupsInAScopeThatKeepsFoldersAnswerAsWithout)
{
    TempDir t;
    t.write(QStringLiteral("Environments/Home/Beds/bed.dvo"), "x");
    t.write(QStringLiteral("Environments/Home/Beds/Cot.dvo"), "x");
    t.write(QStringLiteral("Environments/Home/Walls/shelf.dvo"), "x");
    t.mkdir(QStringLiteral("Environments/Home/Beds/folder.dvo"));
    const QString home = t.path() + QStringLiteral("\\environments\\HOME\\");
    const QStringList paths = {
        home + QStringLiteral("Beds\\bed.dvo"),      home + QStringLiteral("beds\\BED.dvo"),
        home + QStringLiteral("BEDS\\cot.DVO"),      home + QStringLiteral("beds\\missing.dvo"),
        home + QStringLiteral("Nowhere\\bed.dvo"),   home + QStringLiteral("beds\\folder.dvo"),
        home + QStringLiteral("walls/SHELF.dvo"),     home + QStringLiteral("beds\\..\\Walls\\shelf.dvo"),
        home + QStringLiteral("beds\\"),             home + QStringLiteral("beds//bed.dvo"),
        QStringLiteral("relative\\missing.dvo"),
    };
    QStringList found, readable;
    for (const QString& p : paths) {
        found << dorv::FindPath(p);
        readable << (FileExists(p) ? QStringLiteral("yes") : QStringLiteral("no"));
    }
    ASSERT_EQ(readable.join(QLatin1Char(' ')), QStringLiteral("yes yes yes no no no yes yes no yes no"));
    for (int round = 0; round < 2; ++round) {  // first learning the folders, then from what was learnt
        const dorv::FolderLookupScope scope;
        for (int k = 0; k < 2; ++k)
            for (int i = 0; i < paths.size(); ++i) {
                EXPECT_EQ(dorv::FindPath(paths[i]), found[i]) << i;
                EXPECT_EQ(FileExists(paths[i]) ? QStringLiteral("yes") : QStringLiteral("no"), readable[i]) << i;
            }
    }
}

TEST(FileAccess, FoldersAreNotFiles)
{
    TempDir t;
    t.mkdir(QStringLiteral("Chairs"));
    EXPECT_FALSE(FileExists(t.file(QStringLiteral("Chairs"))));
    EXPECT_FALSE(FileExists(t.file(QStringLiteral("chairs\\"))));
    EXPECT_TRUE(dorv::IsFolder(t.file(QStringLiteral("CHAIRS"))));
    EXPECT_FALSE(FileExists(QString()));
}

TEST(FileAccess, UnreadableFileDoesNotExist)
{
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    TempDir t;
    const QString p = t.write(QStringLiteral("locked.dvo"), "x");
    QFile::setPermissions(p, QFileDevice::WriteOwner);
    EXPECT_FALSE(FileExists(p));
}

TEST(FileAccess, ListingsSortWithoutRegardToCase)
{
    TempDir t;
    for (const char* n : {"b.dvo", "A.dvo", "c.DVO", "notes.txt"}) t.write(QString::fromLatin1(n), "x");
    t.mkdir(QStringLiteral("zeta"));
    t.mkdir(QStringLiteral("Alpha"));
    EXPECT_EQ(dorv::ListFolder(t.path(), dorv::ListKind::Files, QStringLiteral(".dvo")),
              (QStringList{QStringLiteral("A.dvo"), QStringLiteral("b.dvo"), QStringLiteral("c.DVO")}));
    EXPECT_EQ(dorv::ListFolder(t.path(), dorv::ListKind::Folders),
              (QStringList{QStringLiteral("Alpha"), QStringLiteral("zeta")}));
    EXPECT_TRUE(dorv::ListFolder(t.file(QStringLiteral("missing")), dorv::ListKind::Files).isEmpty());
}

TEST(FileAccess, WholeFilesAndSizeLimit)
{
    TempDir t;
    const QString p = t.write(QStringLiteral("data.bin"), QByteArray(100, 'x'));
    bool ok = false;
    EXPECT_EQ(dorv::ReadWholeFile(p, &ok).size(), 100);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(dorv::ReadWholeFile(p, &ok, 99).isEmpty());
    EXPECT_FALSE(ok);
    EXPECT_TRUE(dorv::WriteWholeFile(t.file(QStringLiteral("out.bin")), "abc"));
    EXPECT_EQ(dorv::ReadWholeFile(t.file(QStringLiteral("OUT.BIN")), &ok), QByteArray("abc"));
    EXPECT_FALSE(dorv::WriteWholeFile(t.file(QStringLiteral("no/such/folder/x.bin")), "abc"));
}
