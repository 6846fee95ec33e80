#pragma once
// Switching the program's languages: the interface language (built-in
// captions and message texts) and the item-text language (environment, group
// and item names).
//
// How a window takes part: ApplyLanguage sets the built-in captions of
// scene/CaptionTables.cpp by name. A window takes its captions when
//   - its form is registered under the name the table gives it
//     (dorv::Form::Register("PrintPreview", ...), "frmGraphs", "frmSpreadSht",
//     "frmChangePrice", ...), and
//   - its controls are named as the table names them (the objectName the
//     dorv controls take from their name: "Command1(3)" for element 3 of an
//     array, "Frame2", "Label1", a menu entry "mnu_open").
// Labels, buttons, check and option boxes take the text as their caption,
// group boxes as their title, menu entries as their caption; rows marked as
// tool tips set the control's tool tip. A window registered under a name in
// the table is made (hidden) and loaded the first time its captions are set,
// so it holds the current language's captions before it is first shown. A
// window that is not registered, or a control that is not there, is passed
// over. Nothing else is needed of a window.

#include <cstdint>

namespace LangMod {

// Stores both languages, checks the language menu entry of the pair, sets the
// built-in captions of the interface language (0 English, 1 Portuguese; any
// other language leaves every caption as it is), has the environment chooser
// and the item-groups window re-read their names, translates the length unit
// and redraws the view.
void ApplyLanguage(int16_t uiLanguage, int16_t itemLanguage);

// The built-in captions of `language` (0 or 1) on every window of the tables
// that the program has; other languages change nothing.
void ApplyBuiltInCaptions(int16_t language);

}  // namespace LangMod
