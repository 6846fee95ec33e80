#include "app/AdminSetup.h"

#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "scene/PlaceInfo.h"

#include <cfloat>
#include <cmath>

namespace {

// Blanks off both ends (only blanks: a tab is part of the text).
QString trimBlanks(const QString& s)
{
    int from = 0, to = s.size();
    while (from < to && s[from] == QLatin1Char(' ')) ++from;
    while (to > from && s[to - 1] == QLatin1Char(' ')) --to;
    return s.mid(from, to - from);
}

// Character by character, so that no letter turns into two.
QString upper(const QString& s)
{
    QString out = s;
    for (QChar& c : out) c = c.toUpper();
    return out;
}

QString lower(const QString& s)
{
    QString out = s;
    for (QChar& c : out) c = c.toLower();
    return out;
}

}  // namespace

int32_t SettingsLanguage(const QString& value)
{
    const QString t = trimBlanks(value);
    if (t.isEmpty()) return 0;
    int i = 0;
    if (t[0] == QLatin1Char('+') || t[0] == QLatin1Char('-')) ++i;
    if (i == t.size()) return 0;
    for (int k = i; k < t.size(); ++k)
        if (!t[k].isDigit() || t[k].unicode() > '9') return 0;
    bool ok = false;
    int v = t.toInt(&ok);
    if (!ok || v < -32768 || v > 32767) return 0;
    return v;
}

WorksheetButton ApplyAdminSetup(const QByteArray& text, SceneState& state, const QString& appPath,
                                const QString& userFolder)
{
    state.EnvironDir = appPath + QStringLiteral("\\Environments");
    state.EnvironPlusDir = appPath + QStringLiteral("\\EnvironPlus");
    state.UserDir = userFolder;
    state.ExamplesDir = appPath + QStringLiteral("\\Examples");
    state.WorksheetDir = appPath + QStringLiteral("\\Worksheets");
    state.CurrencyTable.assign(1, NamedAmount());

    WorksheetButton button = WorksheetButton::AsMade;
    QString all = dorv::DecodeCp1252(text);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = all.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('\''))) continue;
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0) continue;
        const QString key = lower(line.left(colon));
        const QString value = line.mid(colon + 1);
        const QString lowered = lower(value);
        const bool keepDefault = lowered == QLatin1String("default");
        if (key == QLatin1String("environdir")) {
            if (!keepDefault) state.EnvironDir = lowered;
        } else if (key == QLatin1String("environplusdir")) {
            if (!keepDefault) state.EnvironPlusDir = lowered;
        } else if (key == QLatin1String("userdir")) {
            if (!keepDefault) state.UserDir = lowered;
        } else if (key == QLatin1String("examplesdir")) {
            if (!keepDefault) state.ExamplesDir = lowered;
        } else if (key == QLatin1String("worksheetdir")) {
            if (lowered == QLatin1String("none")) {
                button = WorksheetButton::Hidden;
            } else {
                button = WorksheetButton::Shown;
                if (!keepDefault) state.WorksheetDir = lowered;
            }
        } else if (key == QLatin1String("currency")) {
            const QString v = upper(value);
            const int semicolon = v.indexOf(QLatin1Char(';'));
            if (semicolon < 0) continue;
            NamedAmount currency;
            currency.Name = trimBlanks(v.left(semicolon));
            const double rate = FileMod::LeadingNumber(trimBlanks(v.mid(semicolon + 1)));
            // A rate that is no positive Single (0, negative, too large to
            // hold, or so small that it becomes 0) would break every
            // conversion: it counts as 1.
            currency.Amount = rate > 0 && rate <= FLT_MAX && float(rate) > 0 ? float(rate) : 1.0f;
            state.CurrencyTable.push_back(currency);
        } else if (key == QLatin1String("language")) {
            state.UiLanguage = SettingsLanguage(lowered);
        } else if (key == QLatin1String("itemlang")) {
            state.ItemLanguage = SettingsLanguage(lowered);
        }
    }
    return button;
}

WorksheetButton ReadAdminSetupFile(const QString& path, SceneState& state, const QString& appPath,
                                   const QString& userFolder)
{
    bool ok = false;
    const QByteArray text = dorv::ReadWholeFile(dorv::FindPath(path), &ok, 1024 * 1024);
    return ApplyAdminSetup(ok ? text : QByteArray(), state, appPath, userFolder);
}
