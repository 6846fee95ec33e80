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

#include <QImage>
#include <QSizeF>
#include <QString>

#include <cstdint>

namespace dorv {
class DeviceContext;
}

class WindowPort {
public:
    virtual ~WindowPort() = default;

    // The pictures that show the currency: the image of the main window's
    // first image list for the budget tool-bar button, and of its fourth
    // image list for the change-price button (numbers count from 1).
    virtual void SetCurrencyPictures(int budgetImage, int priceImage) {}

    // A message box in the runtime's styles (buttons plus icon: 0 OK, 16
    // stop, 48 exclamation, ...) under `title`; returns the button pressed
    // (1 OK, 2 Cancel, 6 Yes, 7 No). Without windows nobody answers: OK.
    virtual int MsgBox(const QString& prompt, int style, const QString& title) { return 1; }

    // The lists of environments and item groups, each with its own pictures
    // kept by key; an entry shows the picture of its icon key.
    enum class EnvList {
        Chooser,          // the environment chooser's list (EnvSelect)
        AllEnvironments,  // the item-groups window's list of every environment
        Groups,           // the item-groups window's groups of the current environment
    };
    struct ListEntry {
        QString iconKey;
        QString text;
        QString tag;
        QString key;  // empty: the entry has no key
        // An environment's entry: the 1-based row of G.EnvironmentTable it
        // stands for, which a click on it chooses. 0 for other entries.
        int32_t row = 0;
    };
    virtual void ClearListPictures(EnvList list) {}
    virtual void AddListPicture(EnvList list, const QString& key, const QImage& picture) {}
    // The default picture of an environment or group without one (picture
    // 13 of the main window's tool-bar list).
    virtual void AddDefaultListPicture(EnvList list, const QString& key) {}
    virtual void ClearListEntries(EnvList list) {}
    virtual void AddListEntry(EnvList list, const ListEntry& entry) {}

    // The item-groups window's "Use Prices" label and its check box.
    virtual void SetUsePricesCaption(const QString& text) {}
    virtual void SetUsePricesTicked(bool ticked) {}

    // Whether the "Use Prices" box is ticked: a new item's price then counts
    // against the budget. Without windows it is not ticked.
    virtual bool UsePricesTicked() { return false; }
    // The budget window's spent-so-far and last-item texts.
    virtual void SetBudgetSpentTexts(const QString& spent, const QString& lastItem) {}

    // Sets the palette's scroll bar for the catalogue just loaded (its range
    // from the palette's height, its value 0).
    virtual void UpdateItemListScrollRange() {}

    // The main view canvas. Its off-screen surface: a memory context holding
    // a bitmap at least the canvas's size, or nullptr while there is none.
    virtual dorv::DeviceContext* CanvasDC() { return nullptr; }
    // The canvas's inner width and height in pixels.
    virtual QSizeF CanvasSize() { return {}; }
    // Copies the top-left width x height pixels of the off-screen surface to
    // the canvas on the screen, in one piece.
    virtual void ShowCanvas(const dorv::DeviceContext& surface, int width, int height) {}
    // The check marks of the menu entries that show the dimension lines and
    // the wire frames of the items off the current wall.
    virtual bool ShowDimensions() { return false; }
    virtual bool ShowWireObjects() { return false; }

    // The spreadsheet panel: the page number in its page box (the whole
    // number the box reads, which may be 0 or less) and whether its Display
    // Items box is ticked. Without the panel: page 1, with the pictures.
    virtual int32_t SpreadsheetPage() { return 1; }
    virtual bool SpreadsheetShowsItems() { return true; }
    // The sizes as typed in the place-setup dialog, which label the
    // dimension lines: 1 the width, 2 the length, 3 the height.
    virtual QString PlaceSizeText(int box) { return {}; }
    virtual void SetPlaceSizeText(int box, const QString& text) {}
    // The budget window's text boxes, as amounts formatted for the child:
    // 1 the initial budget, 2 the money spent, 3 what is left, 4 the last
    // item's price. The scene files and the exports read and write them.
    virtual QString BudgetText(int box) { return {}; }
    virtual void SetBudgetText(int box, const QString& text) {}
};

// The installed port (a do-nothing port when none is installed).
WindowPort& Windows();
// Installs a port; nullptr goes back to the do-nothing port. The caller
// keeps ownership.
void SetWindows(WindowPort* port);
