// Place information files: lines, keys, numbers, colours and the two
// fields that start afresh with every file.
#include "platform/FileSystem.h"
#include "scene/PlaceInfo.h"
#include "support/RecordingWindows.h"
#include "support/TempDir.h"

#include <QFile>
#include <QLocale>
#include <QDir>
#include <gtest/gtest.h>

#include "../fuzz/FuzzEntries.h"

using FileMod::LeadingNumber;
using FileMod::ReadInfoData;

namespace {
PlanInfoRecord Read(const QByteArray& text, PlanInfoRecord info = PlanInfoRecord())
{
    ReadInfoData(text, info);
    return info;
}
}  // namespace

TEST(PlaceInfo, EveryLineEndAndControlByteSeparatesLines)
{
    const PlanInfoRecord r = Read("max_width:4\r\nmax_depth:5\n\n\nmax_height:6\rmin_width:1\r\n"
                                  "\tmin_depth:2\x01\x02min_height:3\r\n"
                                  "default_width:\t7\r\n"  // the tab cuts the value off
                                  "gridsize m:0.5");       // no line break after the last line
    EXPECT_FLOAT_EQ(r.max_width, 4);
    EXPECT_FLOAT_EQ(r.max_depth, 5);
    EXPECT_FLOAT_EQ(r.max_height, 6);
    EXPECT_FLOAT_EQ(r.min_width, 1);
    EXPECT_FLOAT_EQ(r.min_depth, 2);
    EXPECT_FLOAT_EQ(r.min_height, 3);
    EXPECT_FLOAT_EQ(r.default_width, 0);
    EXPECT_FLOAT_EQ(r.gridsize_m, 0.5f);
}

TEST(PlaceInfo, KeysAreLoweredButOtherwiseExact)
{
    const PlanInfoRecord r = Read("Max_Width:3\n max_depth:9\nscale  1:7\nSCALE 1:25\nMin Scale 1:10\n"
                                  "max scale 1:100\nlanguage [English]\nfoo;bar\nunknown:1\n"
                                  "max_width:4\n");  // the later line wins
    EXPECT_FLOAT_EQ(r.max_width, 4);
    EXPECT_FLOAT_EQ(r.max_depth, 0);
    EXPECT_FLOAT_EQ(r.scale1, 25);
    EXPECT_FLOAT_EQ(r.min_scale1, 10);
    EXPECT_FLOAT_EQ(r.max_scale1, 100);
}

TEST(PlaceInfo, TextsKeepTheirBlanks)
{
    const PlanInfoRecord r = Read("name: Our classroom\nenvir:School\nplace:Room 3:a\nclass:4B \n"
                                  "usage:art\xE9\n");
    EXPECT_EQ(r.name, QStringLiteral(" Our classroom"));
    EXPECT_EQ(r.envir, QStringLiteral("School"));
    EXPECT_EQ(r.place, QStringLiteral("Room 3:a"));  // the key ends at the first colon
    EXPECT_EQ(r.class_, QStringLiteral("4B "));
    EXPECT_EQ(r.usage, QString::fromUtf8("art\xC3\xA9"));  // Windows-1252
}

TEST(PlaceInfo, ScaleAndDefaultHeightRules)
{
    PlanInfoRecord held;
    held.scale1 = 0;
    EXPECT_FLOAT_EQ(Read("name:x\n", held).scale1, 1);
    EXPECT_FLOAT_EQ(Read("scale 1:0\n", held).scale1, 1);
    EXPECT_FLOAT_EQ(Read("scale 1:0\n", held).scale1, 1);
    // A scale below 0, or beyond what a Single holds, is no scale either.
    EXPECT_FLOAT_EQ(Read("scale 1:-40\n", held).scale1, 1);
    EXPECT_FLOAT_EQ(Read("scale 1:1e300\n", held).scale1, 1);
    held.scale1 = 30;
    EXPECT_FLOAT_EQ(Read("name:x\n", held).scale1, 30);

    held.default_height = 0;
    EXPECT_FLOAT_EQ(Read("min_height:2.5\n", held).default_height, 2.5f);
    EXPECT_FLOAT_EQ(Read("min_height:2.5\ndefault_height:3\n", held).default_height, 3);
    held.default_height = 2.7f;
    EXPECT_FLOAT_EQ(Read("min_height:2.5\n", held).default_height, 2.7f);
}

TEST(PlaceInfo, ColoursSkipTheFirstCharacterOfTheValue)
{
    const PlanInfoRecord r = Read("floor_colour: C0C0C0\nwall_colour:#FF8000\nbackground_colour:C0C0C0\n");
    EXPECT_EQ(r.floor_colour, 0xC0C0C0);
    EXPECT_EQ(r.wall_colour, 0xFF8000);
    EXPECT_EQ(r.background_colour, 0x0C0C0);
    EXPECT_EQ(Read("wall_colour:#FFFFFF77\n").wall_colour, 0xFFFFFF);  // six digits at most
    EXPECT_EQ(Read("wall_colour:#ff\n").wall_colour, 0xFF);
    EXPECT_EQ(Read("wall_colour:#\n").wall_colour, 0);
    EXPECT_EQ(Read("wall_colour:#zz\n").wall_colour, 0);
    EXPECT_EQ(Read("wall_colour: F F 0 0\n").wall_colour, 0xFF0);  // six characters, blanks skipped
}

TEST(PlaceInfo, TheseTwoFieldsStartAfreshWithEveryFile)
{
    PlanInfoRecord held;
    held.useprices = false;
    held.background_colour = 0x123456;
    held.max_width = 9;
    const PlanInfoRecord r = Read("min_width:1\n", held);
    EXPECT_TRUE(r.useprices);
    EXPECT_EQ(r.background_colour, 0xFFFFFF);
    EXPECT_FLOAT_EQ(r.max_width, 9);  // what a file does not name stays
}

TEST(PlaceInfo, FlagsLookAtTheFirstCharacterOnly)
{
    EXPECT_FALSE(Read("useprices:false\n").useprices);
    EXPECT_FALSE(Read("useprices:F\n").useprices);
    EXPECT_TRUE(Read("useprices: false\n").useprices);
    EXPECT_TRUE(Read("useprices:no\n").useprices);

    PlanInfoRecord held;
    EXPECT_TRUE(Read("noprices:True\n", held).noprices);
    held.noprices = true;
    EXPECT_FALSE(Read("noprices:f\n", held).noprices);
    EXPECT_TRUE(Read("noprices:yes\n", held).noprices);
    EXPECT_TRUE(Read("noprices:\n", held).noprices);
}

TEST(PlaceInfo, LeadingNumbers)
{
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral(" 1 2.5 m")), 12.5);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("-3e2")), -300);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("2D3")), 2000);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("1e")), 1);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral(".5")), 0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("+7.")), 7);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("2,5")), 2);  // a point, whatever the locale
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("1.2.3")), 1.2);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("&H1F")), 31);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("&o17")), 15);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("abc")), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("-")), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber(QString()), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("1e-400")), 0);
    bool ok = true;
    LeadingNumber(QStringLiteral("1e400"), &ok);
    EXPECT_FALSE(ok);
}

TEST(PlaceInfo, AValueThatCannotBeHeldSkipsItsLine)
{
    PlanInfoRecord held;
    held.max_width = 6;
    held.budget = 500;
    const PlanInfoRecord r = Read("max_width:1e400\nmax_depth:1e39\nbudget:lots\nbudget:\nmin_width:2\n", held);
    EXPECT_FLOAT_EQ(r.max_width, 6);
    EXPECT_FLOAT_EQ(r.max_depth, 0);  // beyond a Single
    EXPECT_FLOAT_EQ(r.budget, 500);
    EXPECT_FLOAT_EQ(r.min_width, 2);
}

TEST(PlaceInfo, TheBudgetIsReadInTheUsersLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_FLOAT_EQ(Read("budget:1,234.50\n").budget, 1234.5f);
    EXPECT_FLOAT_EQ(Read("budget: 80 \n").budget, 80);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    EXPECT_FLOAT_EQ(Read("budget:1.234,50\n").budget, 1234.5f);
    EXPECT_FLOAT_EQ(Read("budget:99,5\n").budget, 99.5f);
    QLocale::setDefault(before);
}

TEST(PlaceInfo, FilesAreReadFromTheirFolder)
{
    TempDir t;
    t.write(QStringLiteral("Home/PlanInfo.dvf"), "name:Home\r\nmax_width:8\r\n");
    t.write(QStringLiteral("Home/Walls/WallInfo.dvf"), "useprices:false\r\nmax_depth:3\r\n");
    RecordingWindows windows;
    PlanInfoRecord info;
    ASSERT_TRUE(FileMod::ReadInfoFile(t.file(QStringLiteral("home")), QStringLiteral("\\planinfo.dvf"), info));
    ASSERT_TRUE(FileMod::ReadInfoFile(t.file(QStringLiteral("Home\\")), QStringLiteral("walls\\wallinfo.dvf"), info));
    EXPECT_EQ(info.name, QStringLiteral("Home"));
    EXPECT_FLOAT_EQ(info.max_width, 8);
    EXPECT_FLOAT_EQ(info.max_depth, 3);
    EXPECT_FALSE(info.useprices);
    EXPECT_TRUE(windows.messages.isEmpty());
}

TEST(PlaceInfo, AFileTooLargeIsReportedAndChangesNothing)
{
    TempDir t;
    const QString path = t.write(QStringLiteral("PlanInfo.dvf"), "max_width:3\n");
    QFile f(path);
    ASSERT_TRUE(f.resize(64 * 1024 * 1024));  // sparse: cheap to make
    RecordingWindows windows;
    PlanInfoRecord info;
    info.useprices = false;
    info.background_colour = 7;
    EXPECT_FALSE(FileMod::ReadInfoFile(t.path(), QStringLiteral("/PlanInfo.dvf"), info));
    EXPECT_FLOAT_EQ(info.max_width, 0);
    EXPECT_FALSE(info.useprices);
    EXPECT_EQ(info.background_colour, 7);
    ASSERT_EQ(windows.messages.size(), 1);
    EXPECT_TRUE(windows.messages[0].contains(QStringLiteral("PlanInfo.dvf")));
    EXPECT_EQ(windows.styles[0], 48);
}

// The fuzz target's corpus, replayed through the same checks.
TEST(FuzzCorpus, InfoFiles)
{
    const QFileInfoList files =
        QDir(QStringLiteral(DORV_SOURCE_DIR "/fuzz/corpus/fuzz_info_file")).entryInfoList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QFileInfo& f : files) {
        QFile file(f.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(FuzzEntries::InfoFile(file.readAll())) << f.fileName().toStdString();
    }
}
