// Language sections of dvf files, the three tables and their lookups.
#include "platform/AppInfo.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "support/TempDir.h"

#include "../fuzz/FuzzEntries.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace LangMod;

namespace {

// The text stored under prefix "p" and `key` in `language`, or "<none>".
QString Stored(const LanguageTables& tables, int language, const char* key)
{
    if (language < 0 || language >= kLanguageSlots || !tables[language]) return QStringLiteral("<none>");
    const QString* t = tables[language]->Find(QStringLiteral("p\\") + QString::fromLatin1(key));
    return t ? *t : QStringLiteral("<none>");
}

LanguageTables Read(const QByteArray& text)
{
    LanguageTables tables;
    ReadLanguageText(text, QStringLiteral("p"), tables);
    return tables;
}

// Empties the program-wide tables around each test and restores the languages.
class LangTables : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override
    {
        Clear();
        G.UiLanguage = 0;
        G.ItemLanguage = 0;
        G.EnvironmentTable.clear();
        G.EnvironmentCount = 0;
    }
    static void Clear()
    {
        MessageTexts = {};
        EnvTexts = {};
        PlanInfoTexts = {};
    }
};

}  // namespace

TEST(LanguageSections, HeadersAreRecognisedByTheirFirstWordAndABracket)
{
    const LanguageTables t = Read(
        "LANGUAGE [English]\r\na;upper\r\n]\r\n"
        " language [lead]\r\nb;leading blank\r\n]\r\n"   // not a header: ignored
        "Language Portuguese\r\nc;no bracket\r\n]\r\n"   // not a header either
        "LaNgUaGe[Portugu\xEAs]\r\nd;mixed\r\n]\r\n"      // both brackets: still opens
        "trailer\r\n");
    EXPECT_EQ(Stored(t, 0, "a"), QStringLiteral("upper"));
    EXPECT_EQ(Stored(t, 0, "b"), QStringLiteral("<none>"));
    EXPECT_EQ(Stored(t, 0, "c"), QStringLiteral("<none>"));
    EXPECT_EQ(Stored(t, 1, "d"), QStringLiteral("mixed"));
    EXPECT_EQ(t[0]->Count(), 1);
    EXPECT_FALSE(t[2].has_value());
}

TEST(LanguageSections, EntriesSplitAtTheFirstSemicolonAndKeepTheirBlanks)
{
    const LanguageTables t = Read(
        "language [en]\n"
        "lang_Width ;Width\n"           // the blank belongs to the key
        "k2; two; parts ;\n"           // later ";" belong to the text
        "empty;\n"
        "no separator here\n"
        "Key3;first\n"
        "KEY3;second\n"                // same key in another case: first wins
        ";keyless\n"
        "]\n");
    EXPECT_EQ(Stored(t, 0, "lang_Width"), QStringLiteral("<none>"));
    EXPECT_EQ(Stored(t, 0, "lang_Width "), QStringLiteral("Width"));
    EXPECT_EQ(Stored(t, 0, "k2"), QStringLiteral(" two; parts ;"));
    EXPECT_EQ(Stored(t, 0, "empty"), QString());
    EXPECT_EQ(Stored(t, 0, "key3"), QStringLiteral("first"));
    EXPECT_EQ(Stored(t, 0, ""), QStringLiteral("keyless"));
    EXPECT_EQ(t[0]->Count(), 5);
}

TEST(LanguageSections, LineEndsOfEveryKindAndTheLastLine)
{
    // CR, LF and CR LF mixed; a CR LF pair is one line end, LF CR two.
    const LanguageTables mixed = Read("language [\ra;1\nb;2\r\nc;3\n\rd;4\r]\r\n");
    EXPECT_EQ(Stored(mixed, 0, "a"), QStringLiteral("1"));
    EXPECT_EQ(Stored(mixed, 0, "b"), QStringLiteral("2"));
    EXPECT_EQ(Stored(mixed, 0, "c"), QStringLiteral("3"));
    EXPECT_EQ(Stored(mixed, 0, "d"), QStringLiteral("4"));
    EXPECT_EQ(mixed[0]->Count(), 4);

    // An unclosed last section loses its last line, with or without a line end.
    for (const char* text : {"language [\r\na;1\r\nb;2\r\n", "language [\r\na;1\r\nb;2"}) {
        const LanguageTables t = Read(text);
        EXPECT_EQ(Stored(t, 0, "a"), QStringLiteral("1")) << text;
        EXPECT_EQ(Stored(t, 0, "b"), QStringLiteral("<none>")) << text;
    }
    // A header on the last line, an empty file, a lone line end: nothing.
    for (const char* text : {"x;y\r\nlanguage [", "", "\r\n", "]"}) {
        const LanguageTables t = Read(text);
        for (const auto& slot : t) EXPECT_FALSE(slot.has_value()) << text;
    }
    // Lines outside sections (place information keys) are not entries.
    const LanguageTables t = Read("width;300\r\nlanguage [\r\na;1\r\n]\r\nheight;200\r\nlanguage [\r\n]\r\n");
    EXPECT_EQ(Stored(t, 0, "width"), QStringLiteral("<none>"));
    EXPECT_EQ(Stored(t, 0, "height"), QStringLiteral("<none>"));
    EXPECT_FALSE(t[1].has_value());  // an empty section makes no table
}

TEST(LanguageSections, TwentyOneLanguagesAtMost)
{
    QByteArray text;
    for (int i = 0; i < 22; ++i) text += "Language [" + QByteArray::number(i) + "]\r\nk;text " + QByteArray::number(i) + "\r\n]\r\n";
    const LanguageTables t = Read(text);
    EXPECT_EQ(Stored(t, 0, "k"), QStringLiteral("text 0"));
    EXPECT_EQ(Stored(t, 20, "k"), QStringLiteral("text 20"));
    // The 22nd section was read past and dropped; nothing else changed.
    for (int i = 0; i < kLanguageSlots; ++i) EXPECT_EQ(t[i]->Count(), 1);
}

TEST(LanguageSections, AppTitleSubstitutionAndWindows1252)
{
    const LanguageTables t = Read(
        "language [\r\n"
        "a;Welcome to %APP and %SAPP!\r\n"
        "b;%app stays, so does %Sapp\r\n"
        "%APP;keys are not substituted\r\n"
        "c;Medi\xE7\xE3o em \x80\r\n"
        "]\r\n");
    const QString title = dorv::AppTitle();
    EXPECT_EQ(Stored(t, 0, "a"), QStringLiteral("Welcome to ") + title + QStringLiteral(" and ") + title + QLatin1Char('!'));
    EXPECT_EQ(Stored(t, 0, "b"), QStringLiteral("%app stays, so does %Sapp"));
    EXPECT_EQ(Stored(t, 0, "%APP"), QStringLiteral("keys are not substituted"));
    EXPECT_EQ(Stored(t, 0, "c"), QStringLiteral("Medição em €"));
}

TEST_F(LangTables, MessagesFollowTheInterfaceLanguage)
{
    TempDir dir;
    dir.write(QStringLiteral("Messages.dvf"),
              "Language [English]\r\nlang_Width;Width\r\nlang_Empty;\r\n]\r\n"
              "Language [Portugu\xEAs]\r\nlang_Width;Largura\r\n]\r\n");
    dorv::SetAppPath(dir.path());
    const bool loaded = LoadMessages();
    dorv::SetAppPath(QString());
    ASSERT_TRUE(loaded);

    EXPECT_EQ(GetMessage(QStringLiteral("lang_Width")), QStringLiteral("Width"));
    EXPECT_EQ(GetMessage(QStringLiteral("LANG_WIDTH")), QStringLiteral("Width"));
    EXPECT_EQ(GetMessage(QStringLiteral("lang_Empty")), QStringLiteral("lang_Empty"));
    EXPECT_EQ(GetMessage(QStringLiteral("lang_Missing")), QStringLiteral("lang_Missing"));
    G.UiLanguage = 1;
    EXPECT_EQ(GetMessage(QStringLiteral("lang_Width")), QStringLiteral("Largura"));
    EXPECT_EQ(GetMessage(QStringLiteral("lang_Empty")), QStringLiteral("lang_Empty"));
    for (int language : {2, 20, 21, -1, 1000}) {
        G.UiLanguage = language;
        EXPECT_EQ(GetMessage(QStringLiteral("lang_Width")), QStringLiteral("lang_Width")) << language;
    }
}

TEST_F(LangTables, MissingMessageFileLeavesTheKeys)
{
    TempDir dir;
    dorv::SetAppPath(dir.path());
    const bool loaded = LoadMessages();
    dorv::SetAppPath(QString());
    EXPECT_FALSE(loaded);
    EXPECT_EQ(GetMessage(QStringLiteral("lang_Width")), QStringLiteral("lang_Width"));
}

TEST_F(LangTables, EnvironmentAndItemTextsFromEveryEnvironment)
{
    TempDir dir;
    // Two environments with a group of the same name; the first read serves both.
    dir.write(QStringLiteral("Envs/Home  /EnvData.DVF"),
              "language [\r\nHome;Home sweet home\r\nChairs;Seats\r\n]\r\n"
              "language [\r\nHome;Lar\r\n]\r\n");
    dir.write(QStringLiteral("Envs/Home  /Chairs/PlanInfo.dvf"),
              "width;3\r\nlanguage [\r\nred;Red chair\r\n]\r\nlanguage [\r\nred;Cadeira vermelha\r\n]\r\n");
    dir.write(QStringLiteral("Envs/Home  /Pictures/wallinfo.dvf"), "language [\r\nclock;Clock\r\n]\r\n");
    dir.write(QStringLiteral("Envs/School/chairs/planinfo.dvf"),
              "language [\r\nred;School chair\r\nblue;Blue chair\r\n]\r\n");
    // An environment without item groups: its own folder's file, empty prefix.
    dir.write(QStringLiteral("Envs/Garden/wallinfo.dvf"), "language [\r\nbench;Bench\r\n]\r\n");
    const QString envs = dir.path() + QStringLiteral("\\envs\\");

    G.EnvironmentTable.assign(4, EnvironmentRow{});
    G.EnvironmentTable[0][0] = envs + QStringLiteral("Home  ");
    G.EnvironmentTable[0][3] = QStringLiteral("Chairs");
    G.EnvironmentTable[0][4] = QStringLiteral("Pictures");
    G.EnvironmentTable[0][6] = QStringLiteral("Unreached");  // after an empty column
    G.EnvironmentTable[1][0] = envs + QStringLiteral("School");
    G.EnvironmentTable[1][3] = QStringLiteral("Chairs");
    G.EnvironmentTable[2][0] = envs + QStringLiteral("Garden");
    G.EnvironmentCount = 3;  // row 3 stays empty
    dir.write(QStringLiteral("Envs/Home  /Unreached/planinfo.dvf"), "language [\r\nx;X\r\n]\r\n");

    LoadEnvData();
    LoadPlanWallInfo();

    EXPECT_EQ(GetEnvText(QStringLiteral("Home\\Home")), QStringLiteral("Home sweet home"));
    EXPECT_EQ(GetEnvText(QStringLiteral("home\\chairs")), QStringLiteral("Seats"));
    EXPECT_EQ(GetEnvText(QStringLiteral("School\\School  ")), QStringLiteral("School"));  // fall-back
    EXPECT_EQ(GetPlanInfoText(QStringLiteral("Chairs\\red").leftJustified(32)), QStringLiteral("Red chair"));
    EXPECT_EQ(GetPlanInfoText(QStringLiteral("  Chairs\\blue")), QStringLiteral("Blue chair"));
    EXPECT_EQ(GetPlanInfoText(QStringLiteral("Pictures\\clock")), QStringLiteral("Clock"));
    EXPECT_EQ(GetPlanInfoText(QStringLiteral("\\bench")), QStringLiteral("Bench"));
    EXPECT_EQ(GetPlanInfoText(QStringLiteral("Unreached\\x")), QStringLiteral("x"));
    EXPECT_EQ(GetPlanInfoText(QStringLiteral("Chairs\\green     ")), QStringLiteral("green"));

    G.ItemLanguage = 1;
    EXPECT_EQ(GetEnvText(QStringLiteral("Home\\Home")), QStringLiteral("Lar"));
    EXPECT_EQ(GetEnvText(QStringLiteral("Home\\Chairs")), QStringLiteral("Chairs"));
    EXPECT_EQ(GetPlanInfoText(QStringLiteral("Chairs\\red")), QStringLiteral("Cadeira vermelha"));
    EXPECT_EQ(GetPlanInfoText(QStringLiteral("Chairs\\blue")), QStringLiteral("blue"));
    // The interface language does not move the item texts.
    G.UiLanguage = 1;
    G.ItemLanguage = 0;
    EXPECT_EQ(GetPlanInfoText(QStringLiteral("Chairs\\red")), QStringLiteral("Red chair"));
}

namespace {
class FakeWindow : public CaptionedWindow {
public:
    QStringList captions;
    QString title;
    int CaptionCount() const override { return static_cast<int>(captions.size()); }
    QString Caption(int i) const override { return captions[i]; }
    void SetCaption(int i, const QString& text) override { captions[i] = text; }
    QString WindowCaption() const override { return title; }
    void SetWindowCaption(const QString& text) override { title = text; }
};
}  // namespace

TEST_F(LangTables, FormCaptionsAreTranslatedByKey)
{
    ReadLanguageText("language [\r\nnAboutTitle;About %APP\r\nnCloseWindow;Close\r\n]\r\n", QStringLiteral("msg"),
                     MessageTexts);
    FakeWindow w;
    w.captions = {QStringLiteral("nCloseWindow"), QStringLiteral("1.0.000"), QString()};
    w.title = QStringLiteral("nAboutTitle");
    TranslateFormCaptions(w);
    EXPECT_EQ(w.captions, (QStringList{QStringLiteral("Close"), QStringLiteral("1.0.000"), QString()}));
    EXPECT_EQ(w.title, QStringLiteral("About ") + dorv::AppTitle());
}

// The fuzz target's corpus, replayed through the same checks, and each file
// with every line end taken away in turn.
TEST(FuzzCorpus, LanguageFiles)
{
    const QFileInfoList files =
        QDir(QStringLiteral(DORV_SOURCE_DIR "/fuzz/corpus/fuzz_language")).entryInfoList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QFileInfo& f : files) {
        QFile file(f.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(FuzzEntries::Language(bytes)) << f.fileName().toStdString();
        for (qsizetype at = bytes.indexOf('\n'); at >= 0; at = bytes.indexOf('\n', at + 1))
            EXPECT_TRUE(FuzzEntries::Language(QByteArray(bytes).remove(at, 1))) << f.fileName().toStdString() << at;
    }
}
