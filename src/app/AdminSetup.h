#pragma once
// The settings file AdminSetup.txt: lines "key:value", read once at start-up
// into the program's folders, currencies and languages, never written.

#include "scene/SceneState.h"

#include <QByteArray>
#include <QString>

// What the settings say of the environment chooser's "Load worksheet ..."
// button: nothing (it stays as it was made), shown, or hidden.
enum class WorksheetButton { AsMade, Shown, Hidden };

// Gives the five folders of `state` their defaults (below `appPath`; the
// user folder is `userFolder`), makes its currency table the one element
// that carries no currency, then applies every line of `text`. Keys are
// compared in lower case as written (a blank before the colon makes a key
// unknown); values are used untrimmed. Unknown keys and lines without a
// colon are ignored; a later line for a key overrides an earlier one, but
// currency lines add up.
WorksheetButton ApplyAdminSetup(const QByteArray& text, SceneState& state, const QString& appPath,
                                const QString& userFolder);

// The same from the file at `path`; a file that is missing or cannot be read
// leaves the defaults.
WorksheetButton ReadAdminSetupFile(const QString& path, SceneState& state, const QString& appPath,
                                   const QString& userFolder);

// A language number of the settings: a whole number within the 16-bit
// range, blanks around it allowed; anything else is 0 (English).
int32_t SettingsLanguage(const QString& value);
