#include "scene/UnitsMoney.h"

#include "platform/NumberFormat.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "scene/WindowPort.h"

#include <QDesktopServices>
#include <QLocale>
#include <QUrl>

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

float ParseMoneyText(const QString& text)
{
    if (text.isEmpty()) return 0;
    QString work = text;
    // The symbol is never part of the number, even when it holds a point or
    // a digit ("Fr.").
    if (!G.CurrencySymbol.isEmpty()) work.remove(G.CurrencySymbol);
    // FormatMoney writes the locale's decimal separator: where that is not a
    // point and the text holds no point, it is the decimal point, so amounts
    // shown in such a locale read back with their cents.
    const QString point = QLocale().decimalPoint();
    if (point != QStringLiteral(".") && !point.isEmpty() && !work.contains(QLatin1Char('.')))
        work.replace(point, QStringLiteral("."));

    QByteArray kept;
    for (QChar c : work) {
        const char16_t u = c.unicode();
        if ((u >= '0' && u <= '9') || u == '.' || u == ',' || u == '-') kept += static_cast<char>(u);
    }
    // An optional leading minus, digits and at most one point; the first
    // character that does not fit ends the number.
    qsizetype end = 0;
    if (end < kept.size() && kept[end] == '-') ++end;
    bool digits = false, seenPoint = false;
    for (; end < kept.size(); ++end) {
        const char c = kept[end];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!digits) return 0;
    bool ok = false;
    const double number = kept.left(end).toDouble(&ok);
    if (!ok) return 0;
    const float result = static_cast<float>(number / DivisorRate());
    // A number beyond the single-precision range is as unreadable as none.
    return std::isfinite(result) ? result : 0.0f;
}

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
