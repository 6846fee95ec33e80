#pragma once
// Waiting for the window system. Under a real X server a window's showing,
// its activation, the keyboard focus and its geometry come back from the
// server, late when the machine is busy; a step that needs one of them waits
// until it holds, and a wait that runs out fails the running test there,
// naming what it waited for.

#include <functional>

// Runs events until `done` holds. When it has not held after the patience
// of a loaded machine, records a fatal failure at `file`:`line` naming
// `what` and returns false.
bool WaitFor(const std::function<bool()>& done, const char* what, const char* file, int line);

// Waits for a condition; on time-out leaves the calling function (which
// returns nothing) at once.
#define WAIT_FOR(...)                                                                        \
    do {                                                                                     \
        if (!WaitFor([&] { return bool(__VA_ARGS__); }, #__VA_ARGS__, __FILE__, __LINE__)) \
            return;                                                                          \
    } while (false)
// The same wait as a value, for a function that returns one: true when the
// condition holds.
#define WAITED_FOR(...) WaitFor([&] { return bool(__VA_ARGS__); }, #__VA_ARGS__, __FILE__, __LINE__)
