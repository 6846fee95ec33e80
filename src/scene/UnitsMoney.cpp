#include "scene/UnitsMoney.h"

#include "platform/NumberFormat.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "scene/WindowPort.h"

#include <QDesktopServices>
#include <QLocale>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace CommonMod {

const LengthUnit LengthUnitTable[kLengthUnitCount] = {
    {"lang_metres", 1000, kScaleMillimetres},
    {"lang_centimetres", 10, kScaleMillimetres},
    {"lang_millimetres", 1, kScaleMillimetres},
    {"lang_yards", 36, kScaleInches},
    {"lang_feet", 12, kScaleInches},
    {"lang_inches", 1, kScaleInches},
    {"lang_kilometres", 1000000, kScaleMillimetres},
    {"lang_miles", 63360, kScaleInches},
};

QString SetLengthUnit(int16_t unit)
{
    G.UnitIndex = unit;
    if (unit < 0 || unit >= kLengthUnitCount) return QString();
    const LengthUnit& u = LengthUnitTable[unit];
    G.UnitFactor = u.Factor;
    G.UnitScaleMode = u.ScaleMode;
    return QLatin1Char(' ') + LangMod::GetMessage(QString::fromLatin1(u.LabelKey));
}

namespace {
constexpr double kMillimetresPerInch = 25.4;
}

float ScaleToMillimetres(float value, int32_t scaleMode, int32_t factor)
{
    double v = static_cast<double>(value) * factor;
    if (scaleMode == kScaleInches) v *= kMillimetresPerInch;
    return static_cast<float>(v);
}

float ScaleFromMillimetres(float value, int32_t scaleMode, int32_t factor)
{
    if (factor == 0) return 0;  // no unit has a zero factor; never divide by it
    double v = static_cast<double>(value) / factor;
    if (scaleMode == kScaleInches) v /= kMillimetresPerInch;
    return static_cast<float>(v);
}

QString FormatTwoDecimals(float value) { return dorv::FormatFixed(value, 2); }

namespace {

// The rate amounts are divided by: a rate of zero (or not a number) would
// turn every amount into infinity, so it counts as 1.
double DivisorRate()
{
    const double rate = G.CurrencyRate;
    return rate != 0 && std::isfinite(rate) ? rate : 1.0;
}

}  // namespace

QString FormatMoney(float amount, int16_t withSymbol)
{
    const QString prefix = withSymbol != 0 ? G.CurrencySymbol : QString();
    const float shown = std::fabs(amount) * G.CurrencyRate;
    const QString number = FormatTwoDecimals(shown);
    // Only an amount that shows as one is owed: what prices added and taken
    // away again leave behind (-0.0000004) shows as no money at all.
    if (amount < 0 && number != FormatTwoDecimals(0.0f)) return QStringLiteral("- ") + prefix + number;
    return prefix + number;
}

std::optional<double> ReadSizeText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    QLocale local;
    local.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = local.toDouble(t, &ok);
    if (!ok) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        v = c.toDouble(t, &ok);
    }
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

float ToDisplayCurrency(float amount)
{
    return amount * G.CurrencyRate;
}

namespace {

// The whole cents of a number written with two decimals and a point
// ("1234.50"): "0.00" is the one rounding of every amount shown.
double CentsOf(QString twoDecimals)
{
    twoDecimals.remove(QLatin1Char('.'));
    bool ok = false;
    const double cents = twoDecimals.toDouble(&ok);
    return ok && std::isfinite(cents) ? cents : 0;
}

// A Single times a Single rate stays a Single, as FormatMoney shows it; a
// double total is shown as a double.
template <typename T>
double Cents(T amount, T rate)
{
    const double cents = CentsOf(dorv::FormatFixed(std::fabs(amount) * rate, 2, QStringLiteral(".")));
    return amount < 0 ? -cents : cents;
}

}  // namespace

double ShownCents(float amount) { return Cents(amount, G.CurrencyRate); }

double ShownCents(double total) { return Cents(total, static_cast<double>(G.CurrencyRate)); }

double AddMoney(double total, float amount, int64_t times)
{
    // Whole numbers of cents add exactly in a double (up to 2^53 of them);
    // the sum goes back to the base currency, where it shows as the same
    // cents again.
    const double cents = ShownCents(total) + ShownCents(amount) * static_cast<double>(times);
    return cents / 100 / DivisorRate();
}

QString FormatTotal(double total, int16_t withSymbol)
{
    const double cents = ShownCents(total);
    const QString prefix = withSymbol != 0 ? G.CurrencySymbol : QString();
    const QString number = dorv::FormatFixed(std::fabs(cents) / 100, 2);
    return cents < 0 ? QStringLiteral("- ") + prefix + number : prefix + number;
}

bool MoneySpent() { return dorv::FormatFixed(G.SpentTotal, 0) != QStringLiteral("0"); }

namespace {

// The currency symbols a typed amount may carry: the current one and those
// of the settings (the place dialog's budget is typed before its currency is
// taken), longest first, so that "R$" is never read as "R" and "$".
QStringList KnownSymbols()
{
    QStringList symbols;
    if (!G.CurrencySymbol.isEmpty()) symbols << G.CurrencySymbol;
    for (size_t i = 1; i < G.CurrencyTable.size(); ++i)
        if (!G.CurrencyTable[i].Name.isEmpty()) symbols << G.CurrencyTable[i].Name;
    std::stable_sort(symbols.begin(), symbols.end(),
                     [](const QString& a, const QString& b) { return a.size() > b.size(); });
    return symbols;
}

// The amount as typed, in the currency shown: nothing when a character of
// the text belongs to no amount.
std::optional<double> TypedAmount(const QString& text)
{
    QString t = text.trimmed();
    // A sign before the symbol ("- £3.00", as amounts are shown) or after
    // it ("£-5.00", as the budget window writes what is left); one only.
    bool signed_ = false, negative = false;
    auto takeSign = [&] {
        if (signed_ || t.isEmpty() || (t[0] != QLatin1Char('-') && t[0] != QLatin1Char('+'))) return;
        signed_ = true;
        negative = t[0] == QLatin1Char('-');
        t = t.mid(1).trimmed();
    };
    takeSign();
    // The symbol is never part of the number, even when it holds a point
    // ("Fr.").
    for (const QString& symbol : KnownSymbols()) {
        if (t.startsWith(symbol)) {
            t = t.mid(symbol.size()).trimmed();
            break;
        }
        if (t.endsWith(symbol)) {
            t = t.chopped(symbol.size()).trimmed();
            break;
        }
    }
    takeSign();

    // What is left is the number: digits, points and commas, and the
    // locale's own decimal and grouping marks where they are neither.
    const QLocale locale;
    const QString point = locale.decimalPoint(), group = locale.groupSeparator();
    bool digits = false;
    for (QChar c : t) {
        const char16_t u = c.unicode();
        if (u >= '0' && u <= '9')
            digits = true;
        else if (u != '.' && u != ',' && QString(c) != point && QString(c) != group)
            return std::nullopt;
    }
    if (!digits) return std::nullopt;

    // As the desktop's locale writes numbers, thousands separators and all
    // ("1,000.50"; "1.250,50" and "1.000" in Portuguese); failing that, with
    // a decimal point whatever the locale ("12.50"), as amounts were always
    // read. A text that neither reads ("1,5" in English) is no amount.
    bool asLocale = false, asWritten = false;
    double number = locale.toDouble(t, &asLocale);
    if (!asLocale && !t.contains(QLatin1Char(',')) && t.count(QLatin1Char('.')) <= 1 &&
        !(point != QStringLiteral(".") && t.contains(point)))
        number = QLocale::c().toDouble(t, &asWritten);
    if ((!asLocale && !asWritten) || !std::isfinite(number)) return std::nullopt;
    return negative ? -number : number;
}

}  // namespace

std::optional<double> ReadShownAmount(const QString& text) { return TypedAmount(text); }

std::optional<float> ReadMoneyText(const QString& text)
{
    const std::optional<double> number = TypedAmount(text);
    if (!number) return std::nullopt;
    const float result = static_cast<float>(*number / DivisorRate());
    // A number beyond the single-precision range is as unreadable as none.
    if (!std::isfinite(result)) return std::nullopt;
    return result;
}

QString TypedAmountFault(const QString& text)
{
    // A price or a budget is never below nothing; 0 is a free item.
    const std::optional<float> amount = ReadMoneyText(text);
    if (!amount || *amount < 0) return LangMod::GetMessage(QStringLiteral("lang_EnterNumberGreaterThan0"));
    // An amount is taken to the cent: what rounds to the largest is the
    // largest.
    if (std::fabs(*TypedAmount(text)) >= kLargestAmount + 0.005)
        return LangMod::GetMessage(QStringLiteral("lang_LargestAmount"))
            .replace(QLatin1Char('%'), FormatTwoDecimals(static_cast<float>(kLargestAmount)));
    return QString();
}

float ParseMoneyText(const QString& text) { return ReadMoneyText(text).value_or(0.0f); }

void SetCurrency(const QString& symbol)
{
    if (symbol == G.CurrencySymbol) return;
    G.CurrencyRate = 1.0f;
    G.CurrencySymbol = symbol;
    for (size_t i = 1; i < G.CurrencyTable.size(); ++i) {
        const NamedAmount& row = G.CurrencyTable[i];
        // A rate that is not a positive number would show every price as
        // nothing or nonsense; such a row is passed over.
        if (row.Name == symbol && row.Amount > 0 && std::isfinite(row.Amount)) G.CurrencyRate = row.Amount;
    }
    int budgetImage = 25, priceImage = 1;
    if (symbol == QString(QChar(0x00A3))) {
        budgetImage = 27;
        priceImage = 3;
    } else if (symbol == QString(QChar(0x20AC))) {
        budgetImage = 26;
        priceImage = 2;
    }
    Windows().SetCurrencyPictures(budgetImage, priceImage);
}

int32_t OpenWithShell(const QString& target)
{
    if (target.isEmpty()) return 0;
    return QDesktopServices::openUrl(QUrl::fromUserInput(target)) ? 1 : 0;
}

}  // namespace CommonMod
