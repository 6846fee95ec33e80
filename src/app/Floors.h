#pragma once
// The place-setup dialog: the child sets the width, length and height of the
// place just chosen in a length unit of their choice, picks the currency and
// the budget, and sees the room drawn in 3D as the sizes are typed. The
// sizes are kept in metres in G.PlaceWidth, G.PlaceLength, G.PlaceHeight;
// the outcome goes to G.PlaceSetupResult (0 OK, -2 Back or closed).

#include "platform/Controls.h"
#include "platform/DeviceContext.h"
#include "platform/Forms.h"
#include "platform/InputControls.h"

#include <array>
#include <optional>

class Floors : public dorv::Form {
public:
    Floors();

    // The dialog of the run, made and loaded on first use; nullptr when the
    // program has no such dialog.
    static Floors* Window();

    dorv::TextBox* Text1;  // width
    dorv::TextBox* Text2;  // length
    dorv::TextBox* Text3;  // height
    dorv::TextBox* Text4;  // budget
    dorv::ComboBox* Combo1;  // currency
    // metres, centimetres, millimetres, yards, feet, inches
    std::array<dorv::OptionButton*, 6> Option1{};
    // OK, Back, Defaults
    std::array<dorv::CommandButton*, 3> Command1{};
    dorv::PictureBox* Picture1;  // the preview (pixel scale)
    dorv::Label* Label1;  // "Width", "Length", "Height" beside the boxes
    dorv::Label* Label2;
    dorv::Label* Label3;
    dorv::Label* Label4;  // the program's name
    dorv::Label* Label5;  // "Currency"
    dorv::Label* Label6;  // "Budget"
    std::array<dorv::Label*, 6> UnitLabels{};  // Label9 .. Label14: the units' names
    dorv::Label* Label15;  // the sizes as typed, over the preview
    dorv::Label* Label16;
    dorv::Label* Label17;

    // ---- handlers ----
    void Command1_Click(int16_t index);
    void Option1_Click(int16_t index);
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Picture1_Paint();

    // Draws the room of W x L x H (preview units) in 3D about (ox, oy): the
    // floor, the back wall along the width, the side wall along the length
    // and the outline of the open side and the top. The sizes are first
    // fitted (W and L at most 100, H at most 80) and come back fitted.
    static void DrawPlacePreview(dorv::DeviceContext& dc, float& W, float& L, float& H, int32_t ox, int32_t oy);

    // A size as the child typed it: the whole text a number, in the user's
    // way of writing numbers or with a decimal point; nothing otherwise.
    static std::optional<double> SizeNumber(const QString& text);
    // A typed size in the current unit as metres; nothing when the text is
    // no number.
    static std::optional<float> MetresFromText(const QString& text);
    // Metres in the current unit, with two decimals.
    static QString TextFromMetres(float metres);
    // Whether a box shows `metres` as the unit shows it: its number with two
    // decimals reads as TextFromMetres(metres). A size that only differs
    // from a limit by the rounding of the unit shown is that limit.
    static bool ShowsAs(const QString& text, float metres);
    // A number of the place information as the boxes first show it: a blank
    // where a minus would stand, then the number in plain digits.
    static QString StrOf(float value);
    // A budget as the budget box first shows it: StrOf with the locale's
    // decimal separator, so that it reads back as the same amount in every
    // locale (" 12.125" would be twelve thousand on a Portuguese desktop).
    static QString BudgetBoxText(float value);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Paint() override;
    void Form_Resize() override;
    void Form_QueryUnload(int16_t& cancel, int unloadMode) override;

private:
    void makeControls();
    // A size box changed: with a positive number in it, the preview, the
    // read-out and the size in metres follow it; a number the unit shows as
    // `limit` is that limit.
    void sizeChanged(const dorv::TextBox* box, dorv::Label* readout, const char* key, float& size, float limit);
};
