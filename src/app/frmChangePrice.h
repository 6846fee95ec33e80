#pragma once
// The price dialog: the child types a new price for the item chosen in the
// palette. OK gives the palette entry and every placed item of that name the
// new price and remembers it for the rest of the run (a group loaded again
// keeps it); Default shows the price the item file gives; Cancel changes
// nothing. It is filled and shown by the item panel.

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/InputControls.h"
#include "scene/Records.h"
#include "scene/ShapeStream.h"

class frmChangePrice : public dorv::Form {
public:
    frmChangePrice();

    // The dialog of the run, made and loaded on first use.
    static frmChangePrice* Window();

    dorv::TextBox* Text1;  // the price, in the display currency
    dorv::CommandButton* Command1;  // OK
    dorv::CommandButton* Command2;  // Cancel
    dorv::CommandButton* Command3;  // Default
    dorv::Label* Label1;  // the item's name
    dorv::Label* Label2;  // the currency symbol

    // ---- handlers ----
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // The price the item file gives an item: word 7 of its footprint record
    // in `shapes`, in hundredths in bits 8 to 31. False when the record does
    // not lie in the table.
    static bool CataloguePrice(const ItemRecord& item, const ShapeStream& shapes, int32_t shapeCount, float& price);

protected:
    void Form_Paint() override;

private:
    void makeControls();
};
