#pragma once
// The budget tool window: the initial budget, the money spent so far, what
// is left to spend (white on red once the budget is overspent) and the price
// of the last item added. The new-place flow, the item commands and the scene
// reader write the initial, spent and last-item texts; the window keeps what
// is left in step with both the budget and the money spent.

#include "platform/Forms.h"
#include "platform/InputControls.h"

class Budget : public dorv::Form {
public:
    Budget();

    // The window of the run, made hidden and loaded on first use; nullptr
    // when the program has none.
    static Budget* Window();

    dorv::TextBox* Text1;  // initial budget
    dorv::TextBox* Text2;  // spent so far
    dorv::TextBox* Text3;  // left to spend
    dorv::TextBox* Text4;  // last item
    dorv::Label* Label1;
    dorv::Label* Label2;
    dorv::Label* Label3;
    dorv::Label* Label4;

    // The amount in a budget text as it shows, to the cent: the number
    // after the currency symbol, read with a point as decimal separator (or
    // the locale's comma, as the money texts are written); 0 when none.
    static double AmountOf(const QString& text);

    // ---- handlers ----
    // A new budget or a new spent amount: what is left, white on red when
    // below 0.
    void Text2_Change();

protected:
    void Form_Paint() override;
    void Form_QueryUnload(int16_t& cancel, int unloadMode) override;
};
