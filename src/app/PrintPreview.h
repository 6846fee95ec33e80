#pragma once
// The print preview: the current view on a page box shaped like the
// printer's paper, with a bar of buttons to print, zoom and show a second
// page (the spreadsheet's next page). Modeless and without an owner.

#include "platform/Controls.h"
#include "platform/Forms.h"

#include <array>

class PrintPreview : public dorv::Form {
public:
    PrintPreview();

    dorv::PictureBox* Picture1;  // the button bar
    // "&Print", "&NextPage", "Pre&v Page", "&Two Page", "Zoom &in", "Zoom &out", "&Close"
    std::array<dorv::CommandButton*, 7> Command1{};
    dorv::PictureBox* Picture2;  // page one (pixel scale)
    dorv::PictureBox* Picture3;  // page two (pixel scale)

    // Page magnification, 1.0 to 5.0 in steps of 0.5.
    double PreviewZoom = 1.0;
    // Two-page mode: the second page box beside the first.
    bool PreviewTwoPage = false;

    void Command1_Click(int index);
    void Picture1_Paint();
    void Picture2_Paint();
    void Picture3_Paint();

    // The bar's height, in twips.
    static constexpr int32_t kBarHeight = 540;

protected:
    void Form_Activate() override;
    void Form_Paint() override;
    void Form_Resize() override;

private:
    void makeControls();
};
