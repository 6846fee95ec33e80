#pragma once
// What turns numbers into what the child sees and back: the length unit of
// the place, money amounts with the currency symbol and rate, the currency
// choice with its pictures, and opening a document or web address with the
// desktop's default handler. The scene itself never changes unit or currency:
// geometry stays in internal units and prices in the base currency.

#include <QString>

#include <cstdint>
#include <optional>

namespace CommonMod {

// Scale modes of the windowing runtime that lengths are measured in.
constexpr int kScaleInches = 5;
constexpr int kScaleMillimetres = 6;

// One row of the length-unit table.
struct LengthUnit {
    const char* LabelKey;  // message key of the unit's name
    int32_t Factor;        // millimetres or inches per unit
    int16_t ScaleMode;     // kScaleMillimetres or kScaleInches
};

constexpr int kLengthUnitCount = 8;
// metre, centimetre, millimetre, yard, foot, inch, kilometre, mile. The place
// dialog offers the first six; the last two come only from scene files.
extern const LengthUnit LengthUnitTable[kLengthUnitCount];

// For a unit of the table: sets G.UnitIndex, G.UnitFactor and G.UnitScaleMode
// and returns a blank and the unit's name (" metres"). Any other value only
// sets G.UnitIndex and returns "". Callers store the result in G.UnitText.
QString SetLengthUnit(int16_t unit);

// value x factor, from the scale mode's unit (inches or millimetres) to
// millimetres.
float ScaleToMillimetres(float value, int32_t scaleMode, int32_t factor);
// value / factor, from millimetres to the scale mode's unit.
float ScaleFromMillimetres(float value, int32_t scaleMode, int32_t factor);

// The pattern "0.00": at least one integer digit, exactly two decimals
// rounded to the nearest hundredth (halves away from zero), no thousands
// separator, the locale's decimal separator.
QString FormatTwoDecimals(float value);

// A place size as typed: the whole text a finite number, in the user's way
// of writing numbers or with a decimal point, never with thousands
// separators ("1,5" is no size where the comma groups thousands); nothing
// otherwise. The place dialog checks sizes with it and the scene writer
// stores them with it.
std::optional<double> ReadSizeText(const QString& text);

// The amount in the display currency with two decimals and the locale's
// decimal separator, prefixed by the currency symbol when `withSymbol` is
// non-zero. A negative amount begins with "- " before the symbol, unless it
// shows as 0.00.
QString FormatMoney(float amount, int16_t withSymbol);
// amount x G.CurrencyRate.
float ToDisplayCurrency(float amount);

// Money added up. A child reads each price as it shows, to the cent of the
// currency shown, and adds what it reads; a Single cannot hold such a sum
// (1,199,999.70 is no Single) and adding in Singles loses cents well within
// a class set of chairs. So a total (the money spent, a group's value, a
// subtotal, a total) is a double in the base currency that shows as a whole
// number of cents: each amount goes in as it shows, and the cents add
// exactly.
//
// The amount as it shows, in whole cents of the currency shown (negative
// for a negative amount): a Single as FormatMoney writes it, a total as
// FormatTotal writes it.
double ShownCents(float amount);
double ShownCents(double total);
// total + times x amount, the amount taken as it shows.
double AddMoney(double total, float amount, int64_t times = 1);
// A total as FormatMoney writes an amount: the symbol when `withSymbol` is
// non-zero, two decimals with the locale's separator, "- " before a
// negative one.
QString FormatTotal(double total, int16_t withSymbol);
// Whether money counts as spent: G.SpentTotal written with no decimals does
// not read "0". Half a unit spent is spent; a crumb of a cent is not. The
// view, the spreadsheet panel and the item summary all ask this one
// question.
bool MoneySpent();
// A typed or formatted amount back in the base currency. Every character
// must belong to the amount: blanks around it, a leading sign, a currency
// symbol (the current one or one of the settings) before or after the
// number, and the number itself, read as the desktop's locale writes
// numbers, with its thousands separators ("1,000.50"; "1.250,50" in
// Portuguese), or else as digits with a decimal point ("12.50" in any
// locale). Anything else is no amount: nothing. So is text without digits,
// and text with digits that neither reads ("1,5" in English, "1e7", "7
// apples").
std::optional<float> ReadMoneyText(const QString& text);
// The same amount as written, in the currency shown and to the last digit:
// what a total shows reads back whole, where a Single would drop its cents.
std::optional<double> ReadShownAmount(const QString& text);
// ReadMoneyText with 0 for what is no amount: for texts the program wrote.
float ParseMoneyText(const QString& text);

// The largest amount a child may type, in the currency shown. Amounts are
// kept as Singles in the base currency and shown times the rate, a Single
// too; each of these two roundings is at most 2^-24 of the amount, so up to
// this every amount comes back to the cent at any rate. Beyond it cents go
// astray. Totals are not Singles (see AddMoney): they may go far beyond it.
constexpr double kLargestAmount = 40000;
// Why a typed amount cannot be taken, as the message to show: no amount at
// all, or one below 0 (lang_EnterNumberGreaterThan0), or one beyond
// kLargestAmount (lang_LargestAmount, which names it). Empty when the text
// is an amount to keep.
QString TypedAmountFault(const QString& text);

// Takes `symbol` as the currency: its rate from G.CurrencyTable (the last
// matching row; 1.0 when none) and the pictures that show it. The current
// symbol changes nothing.
void SetCurrency(const QString& symbol);

// Opens a document or web address with the desktop's default handler.
// Returns 1 when the handler accepted it, 0 otherwise; callers do not report
// a failure.
int32_t OpenWithShell(const QString& target);

}  // namespace CommonMod
