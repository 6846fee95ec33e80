#pragma once
// The language tables and the lookups of every text the program shows other
// than the built-in window captions: messages (message boxes, view titles,
// labels, unit names), environment and item-group display names, and item
// display names. The tables are filled once at start-up from the language
// sections of "dvf" files and never cleared; changing the interface or item
// language only changes which slot the lookups read.

#include <QHash>
#include <QString>

#include <array>
#include <optional>

namespace LangMod {

// Language indexes run from 0 (English) and 1 (Portuguese) to 20.
constexpr int kLanguageSlots = 21;

// Texts by key; keys are compared without regard to letter case. A key that
// is already present keeps its first text.
class TextTable {
public:
    // False (and nothing stored) when the key is already present.
    bool Add(const QString& key, const QString& text);
    // The text of the key, or nullptr when the key is missing.
    const QString* Find(const QString& key) const;
    int Count() const { return static_cast<int>(texts_.size()); }

private:
    QHash<QString, QString> texts_;  // by case-folded key
};

// One table per language index; a slot stays empty until its first entry.
using LanguageTables = std::array<std::optional<TextTable>, kLanguageSlots>;

// Messages, keys "msg\<key>", read through G.UiLanguage.
extern LanguageTables MessageTexts;
// Environment and item-group names, keys "<environment folder>\<key>", read
// through G.ItemLanguage.
extern LanguageTables EnvTexts;
// Item names, keys "<item-group folder>\<key>", read through G.ItemLanguage.
extern LanguageTables PlanInfoTexts;

// Reads the program folder's Messages.dvf into MessageTexts with the prefix
// "msg". Returns false when the file cannot be read; the lookups then give
// their keys.
bool LoadMessages();
// Reads envdata.dvf of every environment of G.EnvironmentTable that has one.
void LoadEnvData();
// Reads planinfo.dvf (else wallinfo.dvf) of every item group of every
// environment of G.EnvironmentTable.
void LoadPlanWallInfo();

// Reads every language section of a dvf file (Windows-1252; lines end with
// CR LF, LF or CR) into `tables`: the first section is language 0, the next
// 1, and so on. Returns false when the file cannot be read.
bool ReadLanguageFile(const QString& path, const QString& prefix, LanguageTables& tables);
// The same over bytes already read.
void ReadLanguageText(const QByteArray& bytes, const QString& prefix, LanguageTables& tables);

// Stores `text` (with "%APP" and "%SAPP" replaced by the program's title)
// under prefix & "\" & key in the slot of `language`. A duplicate key or a
// language beyond the slots drops the entry without a word.
void AddLanguageEntry(const QString& key, const QString& text, const QString& prefix,
                      LanguageTables& tables, int language);

// The message of `key` in the interface language; the key itself when there
// is no such text (or it is empty). Callers substitute "%" and "$" places.
QString GetMessage(const QString& key);
// The environment or item-group name of `key` ("<environment>\<name>") in the
// item language; otherwise the part after its last backslash, trailing blanks
// removed.
QString GetEnvText(const QString& key);
// The display name of an item name ("<group>\<item>", blank-padded) in the
// item language; otherwise the part after its last backslash.
QString GetPlanInfoText(const QString& key);
// The place's name (`PlanInfo.place`) in the item language, as the
// environment chooser names environments: the entry of that name in the
// language file of the place's environment (`EnvironmentIndex`); the name as
// it stands otherwise. Scene files keep the name itself.
QString GetPlaceText();

// A window whose captions are message keys at design time. The windows
// implement it; TranslateFormCaptions only reads and sets texts.
class CaptionedWindow {
public:
    virtual ~CaptionedWindow() = default;
    // The controls that carry a caption (controls without one are not counted).
    virtual int CaptionCount() const = 0;
    virtual QString Caption(int control) const = 0;
    virtual void SetCaption(int control, const QString& text) = 0;
    // The window's own caption.
    virtual QString WindowCaption() const = 0;
    virtual void SetWindowCaption(const QString& text) = 0;
};

// Replaces every control's caption by GetMessage of it, then the window's own.
void TranslateFormCaptions(CaptionedWindow& form);

}  // namespace LangMod
