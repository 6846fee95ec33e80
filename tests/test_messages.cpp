// The shipped message file: every message key the program looks up has an
// English and a Portuguese text, and the two languages keep the same places
// for the values that callers put in.
#include "platform/AppInfo.h"
#include "platform/FileSystem.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace LangMod;

namespace {

const QString kSource = QStringLiteral(DORV_SOURCE_DIR);

QString MessageFile() { return kSource + QStringLiteral("/content/Messages.dvf"); }

// Every "lang_" key written in the program's sources.
QSet<QString> KeysInSources()
{
    QSet<QString> keys;
    const QRegularExpression key(QStringLiteral("\\blang_[A-Za-z0-9_]+"));
    QDirIterator it(kSource + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = key.globalMatch(text); m.hasNext();) keys.insert(m.next().captured());
    }
    return keys;
}

// The keys of one section, without the "msg\" prefix, as written.
QStringList SectionKeys(const QByteArray& bytes, int section)
{
    QStringList keys;
    int index = -1;
    bool inside = false;
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray l = line.endsWith('\r') ? line.chopped(1) : line;
        if (!inside && l.left(8).toLower() == "language" && l.contains('[')) {
            inside = true;
            ++index;
        } else if (inside && l.contains(']')) {
            inside = false;
        } else if (inside && index == section && l.contains(';')) {
            keys.append(QString::fromLatin1(l.left(l.indexOf(';'))));
        }
    }
    return keys;
}

}  // namespace

TEST(MessageFile, EveryKeyOfTheSourcesHasEnglishAndPortuguese)
{
    LanguageTables tables;
    ASSERT_TRUE(ReadLanguageFile(MessageFile(), QStringLiteral("msg"), tables)) << MessageFile().toStdString();
    ASSERT_TRUE(tables[0] && tables[1]);

    const QSet<QString> keys = KeysInSources();
    EXPECT_FALSE(keys.isEmpty());
    QStringList missing;
    for (const QString& key : keys) {
        for (int language : {0, 1}) {
            const QString* text = tables[language]->Find(QStringLiteral("msg\\") + key);
            if (!text || text->isEmpty())
                missing.append(key + (language == 0 ? QStringLiteral(" (English)") : QStringLiteral(" (Portuguese)")));
        }
    }
    missing.sort();
    EXPECT_TRUE(missing.isEmpty()) << "no text in content/Messages.dvf for: " << missing.join(", ").toStdString();

    // The About box's captions are keys too.
    for (const char* key : {"nAboutTitle", "nAbout1Title", "nAbout1", "nAbout2Title", "nAbout2", "nAbout3Title",
                            "nCloseWindow"})
        for (int language : {0, 1})
            EXPECT_TRUE(tables[language]->Find(QStringLiteral("msg\\") + QLatin1String(key))) << key << language;
}

TEST(MessageFile, BothLanguagesHaveTheSameKeysAndPlaces)
{
    bool ok = false;
    const QByteArray bytes = dorv::ReadWholeFile(MessageFile(), &ok);
    ASSERT_TRUE(ok);
    const QStringList english = SectionKeys(bytes, 0);
    QStringList portuguese = SectionKeys(bytes, 1);
    EXPECT_EQ(english.size(), QSet<QString>(english.begin(), english.end()).size()) << "a key twice";
    EXPECT_EQ(english, portuguese);

    LanguageTables tables;
    ReadLanguageText(bytes, QStringLiteral("msg"), tables);
    for (const QString& key : english) {
        const QString* en = tables[0]->Find(QStringLiteral("msg\\") + key);
        const QString* pt = tables[1]->Find(QStringLiteral("msg\\") + key);
        ASSERT_TRUE(en && pt) << key.toStdString();
        // Callers replace "%" and "$"; a translation must keep every place.
        for (QChar place : {QLatin1Char('%'), QLatin1Char('$')})
            EXPECT_EQ(en->count(place), pt->count(place)) << key.toStdString();
    }
}

TEST(MessageFile, IsWindows1252WithCrLf)
{
    bool ok = false;
    const QByteArray bytes = dorv::ReadWholeFile(MessageFile(), &ok);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
        }
        if (b == '\r') {
            EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at byte " << i;
        }
        // Text saved as UTF-8 by mistake shows as a lead byte and a continuation byte.
        if (b >= 0xC2 && b <= 0xF4 && i + 1 < bytes.size()) {
            const auto next = static_cast<unsigned char>(bytes[i + 1]);
            EXPECT_FALSE(next >= 0x80 && next <= 0xBF) << "UTF-8 sequence at byte " << i;
        }
    }
}

TEST(MessageFile, TheShippedCopyServesTheProgram)
{
    dorv::SetAppPath(QStringLiteral(DORV_CONTENT_BUILD_DIR));
    const bool loaded = LoadMessages();
    dorv::SetAppPath(QString());
    ASSERT_TRUE(loaded);
    G.UiLanguage = 1;
    const QString label = CommonMod::SetLengthUnit(4);
    const QString title = GetMessage(QStringLiteral("nAboutTitle"));
    const QString price = GetMessage(QStringLiteral("lang_Price"));
    G.UiLanguage = 0;
    const QString metres = CommonMod::SetLengthUnit(0);
    MessageTexts = {};
    EXPECT_EQ(label, QStringLiteral(" pés"));
    EXPECT_EQ(title, QStringLiteral("Sobre o ") + dorv::AppTitle());
    EXPECT_EQ(price, QStringLiteral("Preço"));
    EXPECT_EQ(metres, QStringLiteral(" metres"));
}
