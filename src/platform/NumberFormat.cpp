#include "platform/NumberFormat.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace dorv {

namespace {

constexpr int kMostDecimals = 30;

template <typename T>
QString Format(T value, int decimals, const QString& point)
{
    decimals = std::clamp(decimals, 0, kMostDecimals);
    if (std::isnan(value)) return QStringLiteral("nan");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");

    // The shortest decimal form that reads back as the same value, without
    // an exponent: the number as a person would write it. The longest
    // (the smallest double) takes some 330 characters.
    char buffer[512];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (r.ec != std::errc()) return QString::number(static_cast<double>(value), 'f', decimals);
    std::string text(buffer, r.ptr);

    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    const size_t dot = text.find('.');
    std::string whole = text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? std::string() : text.substr(dot + 1);
    if (whole.empty()) whole = "0";

    // The first digit dropped decides: 5 or more rounds the magnitude up,
    // which is away from zero on either side.
    bool up = false;
    if (fraction.size() > size_t(decimals)) {
        up = fraction[size_t(decimals)] >= '5';
        fraction.resize(size_t(decimals));
    } else {
        fraction.append(size_t(decimals) - fraction.size(), '0');
    }
    std::string digits = whole + fraction;
    if (up) {
        size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    const size_t wholeDigits = digits.size() - size_t(decimals);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;

    QString out = negative && !zero ? QStringLiteral("-") : QString();
    out += QString::fromLatin1(digits.data(), qsizetype(wholeDigits));
    if (decimals > 0) out += point + QString::fromLatin1(digits.data() + wholeDigits, decimals);
    return out;
}

}  // namespace

QString FormatFixed(double value, int decimals, const QString& point) { return Format(value, decimals, point); }
QString FormatFixed(float value, int decimals, const QString& point) { return Format(value, decimals, point); }
QString FormatFixed(double value, int decimals) { return Format(value, decimals, QLocale().decimalPoint()); }
QString FormatFixed(float value, int decimals) { return Format(value, decimals, QLocale().decimalPoint()); }

}  // namespace dorv
