#pragma once
// What the window manager made of the program's windows, read from the X
// server (with xprop) as the desktop sees them: whether it framed a window,
// what it lets the user do with it, whether the task bar lists it.

#include <QString>

class QWidget;

// The window manager's name ("Openbox", "Metacity"), empty when the tests run
// without one (offscreen, or a bare X server).
QString WindowManager();

// How a shown window is announced to the desktop: its kind ("dialog", "tool",
// "window"), whether it belongs to `owner`, the buttons it asks for and,
// under a window manager, what the desktop made of it: "framed" (a title
// bar), "move", "close", "minimise", "listed" (in the task bar and the window
// switcher; for a window with an owner that is each window manager's choice,
// left out). Waits until the window manager has taken the window.
QString Announced(const QWidget& window, const QWidget* owner);

// What the window manager grants a dialog or a tool window in the form of
// Announced: a frame to move it by and a close box; listed in the task bar
// when it belongs to no window. Openbox offers minimising whatever a window
// asks. Empty without a window manager.
QString Granted(bool listed);

// Asks the window manager to minimise the window, as its title bar's button
// does.
void MinimiseFromTheDesktop(const QWidget& window);
