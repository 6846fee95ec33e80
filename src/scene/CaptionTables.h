#pragma once
// The built-in captions of the windows in English and Portuguese: window
// titles, menu entries, button and label texts and tool tips, each row naming
// the window and the control it belongs to. Other interface languages have no
// built-in captions (their messages still come from the message file).

#include <cstdint>
#include <vector>

namespace LangMod {

struct CaptionText {
    const char* window;   // the form's name: "Main", "Floors", "ItemGroups", ...
    const char* control;  // the control's name ("Command1(2)" for an element); "" is the window itself
    bool toolTip;         // the control's tool tip rather than its caption
    const char* text[2];  // UTF-8: English (language 0), Portuguese (language 1)
};

// Every caption in the order it is set: the main window first, then the
// environment chooser, the place setup dialog, the item-groups, budget and
// colours windows, the print preview, the splash screen, the graph and
// spreadsheet panels, the price dialog, and last the tool tips.
const std::vector<CaptionText>& BuiltInCaptions();

// The caption of one control (not its tool tip) in `language` (0 or 1);
// nullptr for another language or a control the tables do not name.
const char* BuiltInCaption(const char* window, const char* control, int16_t language);

}  // namespace LangMod
