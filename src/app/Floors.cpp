#include "app/Floors.h"

#include "app/DialogLook.h"
#include "platform/Dialogs.h"
#include "platform/NumberFormat.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/PlaceInfo.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "views/ViewRender.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// Client area in pixels.
constexpr int kWidth = 680, kHeight = 470;
// Twips: the preview across the top, three rows of boxes, the buttons.
constexpr int32_t kPreviewTop = 100, kPreviewHeight = 3600;
constexpr int32_t kRowTop = 3900, kRowStep = 570, kRowHeight = 450;
constexpr int32_t kButtonsTop = 6000, kButtonHeight = 690;

// The widest and longest floor in metres. The scene's coordinates are 32-bit
// whole numbers, 36288 to the metre, centred on the floor: a floor beyond
// this would not fit them with room to spare for the items on it.
constexpr float kLargestSide = 10000;

// The limits in metres: the place's own, or else the program's.
bool OwnLimit(float limit) { return limit > 0 && limit <= kLargestSide; }
float WidestPlace() { return OwnLimit(G.PlanInfo.max_width) ? G.PlanInfo.max_width : kLargestSide; }
float LongestPlace() { return OwnLimit(G.PlanInfo.max_depth) ? G.PlanInfo.max_depth : kLargestSide; }
// The height reaches the place's smallest: 0 where it allows a place
// without walls, which the room builder makes of a height of 0.
float LowestPlace() { return std::max(0.0f, G.PlanInfo.min_height); }

}  // namespace

Floors* Floors::Window()
{
    auto* floors = dynamic_cast<Floors*>(dorv::Form::Get(QStringLiteral("Floors")));
    if (floors) floors->Load();
    return floors;
}

Floors::Floors() : dorv::Form(QStringLiteral("Floors"))
{
    SetCaption(QStringLiteral("Floor Selection"));
    makeControls();
    SetDialogLook(*this, kWidth, kHeight, 11);
    QFont bold = Command1[0]->font();
    bold.setBold(true);
    Command1[0]->setFont(bold);
    // Enter is OK, Escape is Back.
    Command1[0]->SetDefault(true);
    Command1[1]->SetCancel(true);
}

void Floors::makeControls()
{
    using dorv::Label;
    QWidget* client = Client();

    Picture1 = new dorv::PictureBox(client, QStringLiteral("Picture1"));
    Picture1->SetScaleMode(dorv::vbPixels);
    Picture1->Move(100, kPreviewTop, kWidth * 15 - 200, kPreviewHeight);
    Picture1->Paint = [this] { Picture1_Paint(); };
    // The sizes as typed, in the preview's top-left corner.
    Label15 = new Label(Picture1, QStringLiteral("Label15"), QStringLiteral("Width"));
    Label16 = new Label(Picture1, QStringLiteral("Label16"), QStringLiteral("Length"));
    Label17 = new Label(Picture1, QStringLiteral("Label17"), QStringLiteral("Height"));
    Label15->Move(150, 90, 5400, 330);
    Label16->Move(150, 420, 5400, 330);
    Label17->Move(150, 750, 5400, 330);

    // The sizes, on the left.
    const int32_t row[3] = {kRowTop, kRowTop + kRowStep, kRowTop + 2 * kRowStep};
    Label1 = new Label(client, QStringLiteral("Label1"), QStringLiteral("Width"));
    Label2 = new Label(client, QStringLiteral("Label2"), QStringLiteral("Length"));
    Label3 = new Label(client, QStringLiteral("Label3"), QStringLiteral("Height"));
    Text1 = new dorv::TextBox(client, QStringLiteral("Text1"));
    Text2 = new dorv::TextBox(client, QStringLiteral("Text2"));
    Text3 = new dorv::TextBox(client, QStringLiteral("Text3"));
    Label* sizeLabels[3] = {Label1, Label2, Label3};
    dorv::TextBox* sizeBoxes[3] = {Text1, Text2, Text3};
    for (int i = 0; i < 3; ++i) {
        sizeLabels[i]->Move(300, row[i], 1620, kRowHeight);
        sizeBoxes[i]->Move(1920, row[i], 1410, kRowHeight);
    }

    // The units in the middle, two columns of three.
    static const char* const unitNames[6] = {"metres", "cm", "mm", "yards", "feet", "inches"};
    for (int i = 0; i < 6; ++i) {
        Option1[i] = new dorv::OptionButton(client, QStringLiteral("Option1(%1)").arg(i));
        UnitLabels[i] = new Label(client, QStringLiteral("Label%1").arg(9 + i), QLatin1String(unitNames[i]));
        const int32_t left = i < 3 ? 3450 : 5050;
        Option1[i]->Move(left, row[i % 3], 330, kRowHeight);
        UnitLabels[i]->Move(left + 330, row[i % 3], 1200, kRowHeight);
        const int16_t index = static_cast<int16_t>(i);
        Option1[i]->Click = [this, index] { Option1_Click(index); };
    }

    // The money on the right.
    Label5 = new Label(client, QStringLiteral("Label5"), QStringLiteral("Currency"));
    Label6 = new Label(client, QStringLiteral("Label6"), QStringLiteral("Budget"));
    Combo1 = new dorv::ComboBox(client, QStringLiteral("Combo1"));
    Text4 = new dorv::TextBox(client, QStringLiteral("Text4"));
    Label5->Move(6750, row[0], 1350, kRowHeight);
    Combo1->Move(8100, row[0], 1950, kRowHeight);
    Label6->Move(6750, row[1], 1350, kRowHeight);
    Text4->Move(8100, row[1], 1950, kRowHeight);
    Label4 = new Label(client, QStringLiteral("Label4"), QStringLiteral("DorvZorazev"));
    Label4->Move(6750, row[2], 3300, kRowHeight);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont small = Label4->font();
    small.setItalic(true);
    Label4->setFont(small);

    // The buttons along the bottom: Back and Defaults on the left, OK on
    // the right.
    Command1[0] = new dorv::CommandButton(client, QStringLiteral("Command1(0)"), QStringLiteral("Select"));
    Command1[1] = new dorv::CommandButton(client, QStringLiteral("Command1(1)"), QStringLiteral("Back"));
    Command1[2] = new dorv::CommandButton(client, QStringLiteral("Command1(2)"), QStringLiteral("Default"));
    Command1[1]->Move(300, kButtonsTop, 2100, kButtonHeight);
    Command1[2]->Move(300 + 2100 + 180, kButtonsTop, 2100, kButtonHeight);
    Command1[0]->Move(kWidth * 15 - 300 - 2400, kButtonsTop, 2400, kButtonHeight);
    for (int i = 0; i < 3; ++i) {
        const int16_t index = static_cast<int16_t>(i);
        Command1[i]->Click = [this, index] { Command1_Click(index); };
    }

    Text1->Change = [this] { Text1_Change(); };
    Text2->Change = [this] { Text2_Change(); };
    Text3->Change = [this] { Text3_Change(); };
}

// ---- sizes and units ----

QString Floors::StrOf(float value)
{
    // In plain digits, however large or small: as few as read back as the
    // same Single.
    char digits[64];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    const QString number = QString::fromLatin1(digits, end.ec == std::errc() ? end.ptr - digits : 0);
    return (value >= 0 ? QStringLiteral(" ") : QString()) + number;
}

QString Floors::BudgetBoxText(float value)
{
    return StrOf(value).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

std::optional<double> Floors::SizeNumber(const QString& text) { return CommonMod::ReadSizeText(text); }

std::optional<float> Floors::MetresFromText(const QString& text)
{
    const std::optional<double> number = SizeNumber(text);
    if (!number) return std::nullopt;
    const float metres =
        CommonMod::ScaleToMillimetres(static_cast<float>(*number), dorv::RoundHalfEven(G.UnitScaleMode), G.UnitFactor) /
        1000;
    if (!std::isfinite(metres)) return std::nullopt;
    return metres;
}

QString Floors::TextFromMetres(float metres)
{
    return CommonMod::FormatTwoDecimals(
        CommonMod::ScaleFromMillimetres(metres * 1000, dorv::RoundHalfEven(G.UnitScaleMode), G.UnitFactor));
}

bool Floors::ShowsAs(const QString& text, float metres)
{
    const std::optional<double> number = SizeNumber(text);
    return number && dorv::FormatFixed(*number, 2) == TextFromMetres(metres);
}

// ---- events ----

void Floors::Form_Load()
{
    Combo1->Clear();
    for (size_t i = 1; i < G.CurrencyTable.size(); ++i) Combo1->AddItem(G.CurrencyTable[i].Name);
    Combo1->setCurrentIndex(Combo1->ListCount() > 0 ? 0 : -1);
}

void Floors::Form_Activate()
{
    // Every showing starts in metres, and the metres button shows it.
    Option1[0]->SetValue(true);
    Option1_Click(0);
    Text1_Change();
    // A place without a default height has no height box.
    const bool height = G.PlanInfo.default_height > 0;
    Text3->SetVisible(height);
    Label3->SetVisible(height);
    Label17->SetVisible(height);
}

void Floors::Option1_Click(int16_t index)
{
    G.UnitText = CommonMod::SetLengthUnit(index);
    // The boxes show the sizes in the new unit, rounded; the sizes stay as
    // they were set, so that no round of the units moves them.
    const float width = G.PlaceWidth, length = G.PlaceLength, height = G.PlaceHeight;
    Text1->SetText(TextFromMetres(width));
    Text2->SetText(TextFromMetres(length));
    Text3->SetText(TextFromMetres(height));
    G.PlaceWidth = width;
    G.PlaceLength = length;
    G.PlaceHeight = height;
    Label15->Refresh();
}

void Floors::sizeChanged(const dorv::TextBox* box, dorv::Label* readout, const char* key, float& size, float limit)
{
    // A text that is no positive number changes nothing: the size keeps its
    // last positive value.
    const std::optional<double> number = SizeNumber(box->Text());
    if (!number || *number <= 0) return;
    const std::optional<float> metres = MetresFromText(box->Text());
    if (!metres) return;
    Picture1->Refresh();
    readout->SetCaption(LangMod::GetMessage(QLatin1String(key)) + QStringLiteral(" = ") + box->Text() + G.UnitText);
    // A size the unit shows as a limit is that limit, in every unit after.
    size = ShowsAs(box->Text(), limit) ? limit : *metres;
}

void Floors::Text1_Change() { sizeChanged(Text1, Label15, "lang_Width", G.PlaceWidth, WidestPlace()); }
void Floors::Text2_Change() { sizeChanged(Text2, Label16, "lang_Length", G.PlaceLength, LongestPlace()); }
void Floors::Text3_Change() { sizeChanged(Text3, Label17, "lang_Height", G.PlaceHeight, LowestPlace()); }

void Floors::Command1_Click(int16_t index)
{
    switch (index) {
    case 0: {
        // The width and the length must be positive numbers, the height a
        // number.
        auto positive = [](const dorv::TextBox* box) {
            const std::optional<double> n = SizeNumber(box->Text());
            return n && *n > 0;
        };
        const bool height = Text3->Visible();
        const std::optional<float> typedHeight = MetresFromText(Text3->Text());
        if (!positive(Text1) || !positive(Text2) || G.PlaceWidth <= 0 || G.PlaceLength <= 0 ||
            (height && !typedHeight)) {
            dorv::MsgBox(LangMod::GetMessage(QStringLiteral("lang_EnterNumberGreaterThan0")), dorv::vbExclamation);
            return;
        }
        const PlanInfoRecord& info = G.PlanInfo;
        float placeHeight = G.PlaceHeight;
        if (height) {
            const float lowest = LowestPlace();
            // The box shows the height kept, unless it holds one that is
            // never kept (0, or below).
            const float boxHeight = ShowsAs(Text3->Text(), G.PlaceHeight) ? G.PlaceHeight : *typedHeight;
            if (ShowsAs(Text3->Text(), lowest)) {
                placeHeight = lowest;
            } else if (boxHeight < lowest) {
                QString text = LangMod::GetMessage(QStringLiteral("lang_MinHeightOfPlace"));
                text.replace(QLatin1Char('%'), StrOf(lowest));
                dorv::MsgBox(text, dorv::vbExclamation);
                return;
            } else {
                placeHeight = boxHeight;
            }
        }
        // A place without limits of its own still has the program's. The
        // limits are in metres, whatever unit is shown; a size the unit
        // shows as its limit is the limit.
        const bool ownWidth = OwnLimit(info.max_width), ownDepth = OwnLimit(info.max_depth);
        const float maxWidth = WidestPlace(), maxDepth = LongestPlace();
        const bool widest = ShowsAs(Text1->Text(), maxWidth), longest = ShowsAs(Text2->Text(), maxDepth);
        const float width = widest ? maxWidth : G.PlaceWidth, length = longest ? maxDepth : G.PlaceLength;
        const bool tooWide = width > maxWidth, tooLong = length > maxDepth;
        if (tooWide || tooLong) {
            // The program's own limit is named only for a side beyond it; a
            // side without a limit of its own is otherwise named as it is.
            QString text = LangMod::GetMessage(QStringLiteral("lang_MaxSizeOfPlace"));
            text.replace(QLatin1Char('%'), StrOf(ownWidth || tooWide ? maxWidth : width));
            text.replace(QLatin1Char('$'), StrOf(ownDepth || tooLong ? maxDepth : length));
            dorv::MsgBox(text, dorv::vbExclamation);
            return;
        }
        // The budget is read as typed, or not at all: a text that is no
        // amount, or could mean two, is refused rather than taken as
        // either, and so is one the program cannot keep to the cent.
        if (Text4->Enabled()) {
            const QString fault = CommonMod::TypedAmountFault(Text4->Text());
            if (!fault.isEmpty()) {
                dorv::MsgBox(fault, dorv::vbExclamation);
                Text4->setFocus();
                Text4->selectAll();
                return;
            }
        }
        G.PlaceWidth = width;
        G.PlaceLength = length;
        if (height) G.PlaceHeight = placeHeight;
        G.PlaceSetupResult = 0;
        Hide();
        return;
    }
    case 1:
        G.PlaceSetupResult = -2;
        Hide();
        return;
    case 2: {
        // The defaults are metres; the boxes show them in the unit chosen,
        // and the sizes are the defaults themselves, not what the unit
        // rounds them to.
        const PlanInfoRecord& info = G.PlanInfo;
        Text1->SetText(TextFromMetres(info.default_width));
        Text2->SetText(TextFromMetres(info.default_depth));
        Text3->SetText(TextFromMetres(info.default_height));
        Text4->SetText(BudgetBoxText(info.budget));
        if (info.default_width > 0) G.PlaceWidth = info.default_width;
        if (info.default_depth > 0) G.PlaceLength = info.default_depth;
        if (info.default_height > 0) G.PlaceHeight = info.default_height;
        return;
    }
    default: return;
    }
}

void Floors::Form_QueryUnload(int16_t& cancel, int unloadMode)
{
    G.PlaceSetupResult = -2;
}

void Floors::Form_Resize()
{
    Picture1->Cls();
    const int32_t width = dorv::RoundHalfEven(ScaleWidth()) - 200;
    if (width > 0) Picture1->SetWidth(width);
    Picture1->Refresh();
}

void Floors::Form_Paint()
{
    int32_t top = 0, bottom = 0;
    DrawMod::PaintFormBackground(hDC(), Client()->width(), Client()->height(), dorv::GetSysColor(19),
                                 dorv::GetSysColor(3), top, bottom, 4);
}

// ---- the preview ----

void Floors::Picture1_Paint()
{
    dorv::DeviceContext& dc = Picture1->hDC();
    const int32_t w = dorv::RoundHalfEven(Picture1->ScaleWidth());
    const int32_t h = dorv::RoundHalfEven(Picture1->ScaleHeight());
    // Each painting starts from the empty box.
    const dorv::ColorRef back = Picture1->BackColor();
    DrawMod::DrawBox(dc, -1, -1, w + 1, h + 1, back, back, 1);
    const int32_t ox = dorv::RoundHalfEven(Picture1->ScaleWidth() * 0.5);
    const int32_t oy = dorv::RoundHalfEven(Picture1->ScaleHeight() * 0.6);
    float W = static_cast<float>(15 * FileMod::LeadingNumber(Text1->Text()));
    float L = static_cast<float>(15 * FileMod::LeadingNumber(Text2->Text()));
    float H = static_cast<float>(15 * FileMod::LeadingNumber(Text3->Text()));
    DrawPlacePreview(dc, W, L, H, ox, oy);
}

void Floors::DrawPlacePreview(dorv::DeviceContext& dc, float& W, float& L, float& H, int32_t ox, int32_t oy)
{
    if (W > 100) {
        H = H * 100 / W;
        L = L * 100 / W;
        W = 100;
    }
    if (H > 80) {
        W = W * 80 / H;
        L = L * 80 / H;
        H = 80;
    }
    if (L > 100) {
        H = H * 100 / L;
        W = W * 100 / L;
        L = 100;
    }
    const float w = W / 2, l = L / 2;
    // (across the width, along the length, height above the floor)
    auto P = [ox, oy](float across, float along, float z) { return CommonMod::IsoProjectPoint(across, along, -z, ox, oy); };
    auto fill = [&dc](const QPoint* points, int count, dorv::ColorRef colour) {
        const dorv::GdiObject brush = dorv::CreateSolidBrush(colour);
        const dorv::GdiObject old = dc.SelectObject(brush);
        dc.Polygon(points, count);
        dc.SelectObject(old);
        dorv::DeleteObject(brush);
    };
    const QPoint floor[4] = {P(-w, -l, 0), P(w, -l, 0), P(w, l, 0), P(-w, l, 0)};
    fill(floor, 4, G.PlanInfo.floor_colour);
    const QPoint back[4] = {P(-w, -l, 0), P(-w, -l, H), P(w, -l, H), P(w, -l, 0)};
    fill(back, 4, 0x999999);
    const QPoint side[4] = {P(w, -l, 0), P(w, -l, H), P(w, l, H), P(w, l, 0)};
    fill(side, 4, 0xBBBBBB);
    const QPoint open[4] = {P(-w, -l, 0), P(-w, -l, H), P(-w, l, H), P(-w, l, 0)};
    dc.Polyline(open, 4);
    const QPoint top[5] = {P(-w, -l, H), P(w, -l, H), P(w, l, H), P(-w, l, H), P(-w, -l, H)};
    dc.Polyline(top, 5);
}
