#pragma once
// The item-groups tool window beside the main window: the item groups of an
// environment as pictures, a click loading a group into the palette; the
// "Use Prices" box; and, while "Show all item groups" is ticked, the window
// grows to the left to list every environment, so that a child may borrow
// furniture from another kind of place.

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/InputControls.h"
#include "platform/ListView.h"
#include "scene/WindowPort.h"

#include <array>
#include <vector>

class ItemGroups : public dorv::Form {
public:
    ItemGroups();

    // The window of the run, made hidden and loaded on first use; nullptr
    // when the program has none.
    static ItemGroups* Window();

    dorv::ListView* ListView1;  // the groups of the environment shown
    dorv::ListView* ListView2;  // every environment (while "Show all" is ticked)
    std::array<dorv::CheckBox*, 2> Check1{};  // 0 "Use Prices", 1 "Show all item groups"
    dorv::Label* Label1;                      // the text of Check1(0)
    dorv::Label* Label2;                      // the text of Check1(1)
    dorv::CommandButton* Command1;            // Reset
    dorv::CommandButton* Command2;            // ">>": back to the narrow window
    dorv::ImageList ImageList1;               // a picture per group, by folder name
    dorv::ImageList ImageList3;               // a picture per environment, by folder name

    // Widths of the two forms (twips), and how far the wide one reaches left.
    static constexpr int32_t kNarrowWidth = 2400;
    static constexpr int32_t kWideWidth = 3940;
    static constexpr int32_t kGrowLeft = 1540;
    // Left edge of the group list and the boxes (pixels) in each form.
    static constexpr int32_t kNarrowLeft = 8;
    static constexpr int32_t kWideLeft = 111;
    // Height of the client area (pixels) as the window is designed, and the
    // least it gives up to when docked on a small screen: the group list
    // grows shorter and scrolls, and at least one group shows whole.
    static constexpr int32_t kClientHeight = 380;
    static constexpr int32_t kLeastClientHeight = 260;

    // Loads an item group into the palette.
    void LoadItemGroup(const QString& folder);
    // After a language change: every entry's text again from its tag, and
    // the group shown reloaded so that the palette shows the new item names.
    void LanguageChanged();
    // Back to the narrow form with the box "Show all item groups" unticked,
    // without going back to the home environment (the new-place flow does
    // this once the place is set).
    void NarrowForm();

    // The lists as the environment and group listings fill them.
    void ClearListPictures(WindowPort::EnvList list);
    void AddListPicture(WindowPort::EnvList list, const QString& key, const QImage& picture);
    void ClearListEntries(WindowPort::EnvList list);
    void AddListEntry(WindowPort::EnvList list, const WindowPort::ListEntry& entry);

    // ---- handlers ----
    void Check1_Click(int index);
    void Label1_Click();
    void Label2_Click();
    void Command1_Click();
    void Command2_Click();
    void ListView1_ItemClick(int index);
    void ListView2_ItemClick(int index);

protected:
    void Form_Paint() override;
    void Form_Resize() override;
    void Form_QueryUnload(int16_t& cancel, int unloadMode) override;

private:
    // The group list and both boxes at `left` (pixels), each label just
    // right of its box; the lists take the height the window leaves them,
    // the boxes and the buttons keep theirs below.
    void placeLists(int32_t left);
    int32_t listsLeft_ = kNarrowLeft;
    // Lists the groups of `folder` and loads the first one.
    void showEnvironment(const QString& folder);
    // The table row of each entry of ListView2, by entry number - 1.
    std::vector<int32_t> rows_;
};
