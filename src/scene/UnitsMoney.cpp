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

bool MoneySpent() { return dorv::FormatFixed(G.SpentTotal, 0) != QStringLiteral("0"); }

std::optional<float> ReadMoneyText(const QString& text)
{
    QString work = text;
    // The symbol is never part of the number, even when it holds a point or
    // a digit ("Fr.").
    if (!G.CurrencySymbol.isEmpty()) work.remove(G.CurrencySymbol);
    const QLocale locale;
    const QString point = locale.decimalPoint();
    // Digits, points, commas and minus signs are kept (with the locale's
    // decimal separator where it is neither); blanks, letters and every
    // other grouping mark go.
    QString kept;
    for (QChar c : work) {
        const char16_t u = c.unicode();
        if ((u >= '0' && u <= '9') || u == '.' || u == ',' || u == '-' || QString(c) == point) kept += c;
    }
    // An optional leading minus; a minus after it ends the number.
    qsizetype end = kept.startsWith(QLatin1Char('-')) ? 1 : 0;
    end = kept.indexOf(QLatin1Char('-'), end);
    if (end >= 0) kept.truncate(end);
    if (!std::any_of(kept.begin(), kept.end(), [](QChar c) { return c.isDigit(); })) return 0.0f;

    // As the desktop's locale writes numbers, thousands separators and all
    // ("1,000.50"; "1.250,50" and "1.000" in Portuguese); failing that, with
    // a decimal point whatever the locale ("12.50"), as amounts were always
    // read. A text that neither reads ("1,5" in English) is no amount.
    bool asLocale = false, asWritten = false;
    const double byLocale = locale.toDouble(kept, &asLocale);
    double written = 0;
    if (!asLocale && !kept.contains(QLatin1Char(',')) && kept.count(QLatin1Char('.')) <= 1 &&
        !(point != QStringLiteral(".") && kept.contains(point)))
        written = QLocale::c().toDouble(kept, &asWritten);
    std::optional<double> number;
    if (asLocale)
        number = byLocale;
    else if (asWritten)
        number = written;
    if (!number || !std::isfinite(*number)) return std::nullopt;
    const float result = static_cast<float>(*number / DivisorRate());
    // A number beyond the single-precision range is as unreadable as none.
    if (!std::isfinite(result)) return std::nullopt;
    return result;
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
