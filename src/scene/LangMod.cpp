#include "scene/LangMod.h"

#include "platform/AppInfo.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "scene/FileMod.h"
#include "scene/SceneState.h"

#include <QByteArrayView>

#include <vector>

namespace LangMod {

LanguageTables MessageTexts;
LanguageTables EnvTexts;
LanguageTables PlanInfoTexts;

bool TextTable::Add(const QString& key, const QString& text)
{
    const QString folded = key.toCaseFolded();
    if (texts_.contains(folded)) return false;
    texts_.insert(folded, text);
    return true;
}

const QString* TextTable::Find(const QString& key) const
{
    auto it = texts_.constFind(key.toCaseFolded());
    return it == texts_.constEnd() ? nullptr : &it.value();
}

namespace {

// The file's lines without their ends. A line ends at CR LF, LF or CR; a line
// end at the very end of the file does not start another (empty) line.
std::vector<QByteArrayView> SplitLines(const QByteArray& bytes)
{
    std::vector<QByteArrayView> lines;
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i] != '\r' && data[i] != '\n') continue;
        lines.emplace_back(data + start, i - start);
        if (data[i] == '\r' && i + 1 < n && data[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.emplace_back(data + start, n - start);
    return lines;
}

// A section header: its first 8 characters, lower-cased, are "language" and
// it holds "[" somewhere. A leading blank makes it an ordinary line.
bool IsSectionHeader(QByteArrayView line)
{
    if (line.size() < 8) return false;
    static const char kWord[] = "language";
    for (int i = 0; i < 8; ++i) {
        char c = line[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kWord[i]) return false;
    }
    return line.contains('[');
}

// The text under `key`, when its slot holds it and it is not empty.
const QString* FindText(const LanguageTables& tables, int language, const QString& key)
{
    if (language < 0 || language >= kLanguageSlots || !tables[language]) return nullptr;
    const QString* text = tables[language]->Find(key);
    return text && !text->isEmpty() ? text : nullptr;
}

// The entries of one section, from the line after its header (at `next`)
// up to the line holding "]", which is consumed. The line read when the
// file runs out is never an entry, so an unclosed last section loses its
// last line.
void ReadLanguageSection(const std::vector<QByteArrayView>& lines, size_t& next, const QString& prefix,
                         LanguageTables& tables, int language)
{
    const size_t n = lines.size();
    if (next >= n) return;
    QByteArrayView line = lines[next++];
    while (!line.contains(']') && next < n) {
        const qsizetype semicolon = line.indexOf(';');
        if (semicolon >= 0) {
            AddLanguageEntry(dorv::DecodeCp1252(line.data(), static_cast<int>(semicolon)),
                             dorv::DecodeCp1252(line.data() + semicolon + 1,
                                                static_cast<int>(line.size() - semicolon - 1)),
                             prefix, tables, language);
        }
        line = lines[next++];
    }
}

}  // namespace

void ReadLanguageText(const QByteArray& bytes, const QString& prefix, LanguageTables& tables)
{
    const std::vector<QByteArrayView> lines = SplitLines(bytes);
    const size_t n = lines.size();
    size_t next = 0;
    int language = 0;
    while (next < n) {
        if (!IsSectionHeader(lines[next++])) continue;
        ReadLanguageSection(lines, next, prefix, tables, language);
        ++language;
    }
}

bool ReadLanguageFile(const QString& path, const QString& prefix, LanguageTables& tables)
{
    bool ok = false;
    const QByteArray bytes = dorv::ReadWholeFile(dorv::FindPath(path), &ok);
    if (!ok) return false;
    ReadLanguageText(bytes, prefix, tables);
    return true;
}

void AddLanguageEntry(const QString& key, const QString& text, const QString& prefix,
                      LanguageTables& tables, int language)
{
    if (language < 0 || language >= kLanguageSlots) return;
    std::optional<TextTable>& slot = tables[language];
    if (!slot) slot.emplace();
    QString value = text;
    const QString title = dorv::AppTitle();
    value.replace(QStringLiteral("%APP"), title, Qt::CaseSensitive);
    value.replace(QStringLiteral("%SAPP"), title, Qt::CaseSensitive);
    slot->Add(prefix + QLatin1Char('\\') + key, value);
}

bool LoadMessages()
{
    return ReadLanguageFile(dorv::AppPath() + QStringLiteral("\\Messages.dvf"), QStringLiteral("msg"),
                            MessageTexts);
}

void LoadEnvData()
{
    for (const EnvironmentRow& row : G.EnvironmentTable) {
        // The table keeps an empty row after the last environment; an empty
        // folder would make the path name a file at the root of the disk.
        if (row[0].isEmpty()) continue;
        const QString path = row[0] + QStringLiteral("\\envdata.dvf");
        if (FileMod::FileExists(path)) ReadLanguageFile(path, FileMod::GetTrimmedFileName(row[0]), EnvTexts);
    }
}

void LoadPlanWallInfo()
{
    for (const EnvironmentRow& row : G.EnvironmentTable) {
        if (row[0].isEmpty()) continue;
        // Column 3 is always tried (an environment without item groups has
        // its own folder's file read under an empty group name); later
        // columns while they name a group.
        int column = 3;
        do {
            const QString& group = row[column];
            const QString folder = row[0] + QLatin1Char('\\') + group + QLatin1Char('\\');
            QString path = folder + QStringLiteral("planinfo.dvf");
            if (!FileMod::FileExists(path)) path = folder + QStringLiteral("wallinfo.dvf");
            if (FileMod::FileExists(path)) ReadLanguageFile(path, group, PlanInfoTexts);
            ++column;
        } while (column < kEnvironmentColumns && !row[column].isEmpty());
    }
}

QString GetMessage(const QString& key)
{
    const QString* text = FindText(MessageTexts, G.UiLanguage, QStringLiteral("msg\\") + key);
    return text ? *text : key;
}

QString GetEnvText(const QString& key)
{
    const QString* text = FindText(EnvTexts, G.ItemLanguage, key);
    return text ? *text : FileMod::GetTrimmedFileName(key);
}

QString GetPlanInfoText(const QString& key)
{
    // Item names are blank-padded to 32 characters.
    int begin = 0, end = static_cast<int>(key.size());
    while (begin < end && key[begin] == QLatin1Char(' ')) ++begin;
    while (end > begin && key[end - 1] == QLatin1Char(' ')) --end;
    const QString trimmed = key.mid(begin, end - begin);
    const QString* text = FindText(PlanInfoTexts, G.ItemLanguage, trimmed);
    return text ? *text : FileMod::GetTrimmedFileName(trimmed);
}

QString GetPlaceText()
{
    const QString& place = G.PlanInfo.place;
    const int32_t row = G.EnvironmentIndex;
    if (row < 1 || row > static_cast<int32_t>(G.EnvironmentTable.size())) return place;
    const QString environment = FileMod::GetTrimmedFileName(G.EnvironmentTable[static_cast<size_t>(row - 1)][0]);
    const QString* text = FindText(EnvTexts, G.ItemLanguage, environment + QLatin1Char('\\') + place);
    return text ? *text : place;
}

void TranslateFormCaptions(CaptionedWindow& form)
{
    const int count = form.CaptionCount();
    for (int i = 0; i < count; ++i) form.SetCaption(i, GetMessage(form.Caption(i)));
    form.SetWindowCaption(GetMessage(form.WindowCaption()));
}

}  // namespace LangMod
