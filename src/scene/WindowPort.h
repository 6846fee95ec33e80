#pragma once
// The one narrow way scene and view code reaches the windows: the budget
// texts, the place-size texts, captions, scroll ranges, the lists of the
// chooser and the item-groups window, the currency pictures. The app layer
// implements it and installs it at start-up; until then (and in tests that
// install nothing) every call goes to a port that has no windows and does
// nothing, so scene and view code runs and is tested without windows.
//
// Add an operation here when a routine of scene or views must touch a
// window; keep each one a plain value in, plain value out.

#include <QString>

class WindowPort {
public:
    virtual ~WindowPort() = default;

    // The pictures that show the currency: the image of the main window's
    // first image list for the budget tool-bar button, and of its fourth
    // image list for the change-price button (numbers count from 1).
    virtual void SetCurrencyPictures(int budgetImage, int priceImage) {}
};

// The installed port (a do-nothing port when none is installed).
WindowPort& Windows();
// Installs a port; nullptr goes back to the do-nothing port. The caller
// keeps ownership.
void SetWindows(WindowPort* port);
