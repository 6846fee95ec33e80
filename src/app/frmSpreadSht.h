#pragma once
// The spreadsheet options panel: pages through the spreadsheet view ("<",
// ">" or a page number typed into the box) and switches the items' pictures
// in its rows on and off. Shown by the view switch beside the main window
// while money is spent and prices are in use.

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/InputControls.h"

#include <QCheckBox>

#include <array>

class frmSpreadSht : public dorv::Form {
public:
    frmSpreadSht();

    // The panel of the run, made and loaded on first use.
    static frmSpreadSht* Window();

    QCheckBox* Check1;  // Display Items: each row shows the item's picture
    dorv::TextBox* Text1;  // the page number, from 1
    std::array<dorv::CommandButton*, 2> Command1{};  // "<", ">"
    dorv::Label* Label1;  // "Page No"
    dorv::Label* Label2;  // "Display items" (Check1 shows these words)
    dorv::PictureBox* Picture1;  // the panel's picture, Picture1(3): a spreadsheet

    // The page number the box reads: the whole number its text begins with
    // (blanks skipped, a sign allowed), 0 when it begins with none.
    int32_t PageNumber() const;
    // Brings a page number beyond the pages there are now back to the last
    // page, without drawing: the pages change with the items, the money
    // spent and Display Items.
    void KeepPageInRange();
    bool ShowItems() const { return Check1->isChecked(); }

    // ---- handlers ----
    void Check1_Click();
    void Command1_Click(int16_t index);
    void Text1_Change();

protected:
    void Form_Paint() override;

private:
    void makeControls();
};
