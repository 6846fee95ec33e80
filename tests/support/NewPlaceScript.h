#pragma once
// Answers the new-place flow's dialogs by script: the environment chooser
// and the place-setup dialog are driven through their controls as a child
// would, with the mouse and the keyboard.

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/ListView.h"

#include <functional>
#include <memory>

class EnvSelect;
class Floors;
class Main;

// Shows the main window as the desktop starts the program (its start-up
// runs the scripted dialogs) and, unless the start-up ended the program,
// waits until it is on the screen with the keyboard and the windows it
// brought stand beside it.
void StartProgram(Main& main);
// Activates a form shown by the dialog script and waits until it is the
// active window, so that its activation handler has run before the script
// acts.
void Activate(dorv::Form& form);
// Clicks entry `index` (from 1) of a list, once or twice.
void ClickEntry(dorv::ListView& list, int index, bool doubleClick = false);
void ClickButton(QWidget& button);

// The next showing of the chooser: click entry `entry`, then Select.
void ExpectChoice(int entry);
// The next showing of the place dialog: `script` acts on it (typing,
// choosing a unit, pressing a button). Without a script: OK.
void ExpectPlaceDialog(std::function<void(Floors&)> script = nullptr);
// The whole flow once: the environment of entry `entry`, then OK.
void ExpectNewPlace(int entry = 1);

// Ends a program a test started: the main window and every form go, the
// ending flag and the content folder are put back and the scene state is
// new again, so the next test starts as a fresh run.
void CloseProgram(std::unique_ptr<Main>& main);
