#pragma once
// The graph options panel: eight chart buttons choose the chart the graph
// view draws (pie, bar, pictogram, line; 3D pie, bar, pictogram, area), and
// two pairs of options choose, for the chart shown, whether it counts items
// or money and whether names or pictures label it. Each chart kind keeps its
// own options. Shown by the view switch beside the main window.

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/InputControls.h"

#include <QGroupBox>

#include <array>

class frmGraphs : public dorv::Form {
public:
    frmGraphs();

    // The panel of the run, made and loaded on first use.
    static frmGraphs* Window();

    QGroupBox* Frame2;  // its title names the chart shown
    std::array<dorv::OptionButton*, 2> Option1{};  // number of items, costs
    std::array<dorv::OptionButton*, 2> Option2{};  // item names, items' pictures
    std::array<dorv::PictureBox*, 8> Picture1{};   // the chart buttons

    // ---- handlers ----
    void Option1_MouseDown(int16_t index);
    void Option2_MouseDown(int16_t index);
    void Picture1_Click(int16_t index);

    // The frame names the chart shown and its options show the choices in
    // force for it.
    void ShowKindOptions();
    // Offers the costs option, or (in a place without prices) takes it away:
    // the current kind then counts items, and the options show it.
    void SetCostsAvailable(bool available);

protected:
    void Form_Paint() override;

private:
    void makeControls();
};
