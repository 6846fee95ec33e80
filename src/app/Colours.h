#pragma once
// The colours tool window: two swatches, the floor's and the walls', each
// with a button that opens the colour dialog; OK paints the room in them,
// Cancel hides the window and what was picked is forgotten on the next
// showing. The swatches show the scene's own colours whenever the window is
// shown and whenever another scene arrives, so OK changes only what the
// child picked.

#include "platform/Controls.h"
#include "platform/Forms.h"

#include <array>

class Colours : public dorv::Form {
public:
    Colours();

    // The window of the run, made hidden and loaded on first use; nullptr
    // when the program has none.
    static Colours* Window();

    std::array<dorv::PictureBox*, 2> Picture1{};       // swatches: 0 floor, 1 walls
    std::array<dorv::CommandButton*, 4> Command1{};    // 0 Floor, 1 Walls, 2 OK, 3 Cancel

    // The swatches take the scene's floor and wall colours.
    void ShowSceneColours();

    // ---- handlers ----
    void Command1_Click(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void Form_Paint() override;
    void Form_QueryUnload(int16_t& cancel, int unloadMode) override;
};
