#include "scene/PlaceInfo.h"

#include "platform/AppInfo.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/WindowPort.h"

#include <QDir>
#include <QLocale>

#include <cfloat>
#include <cmath>

namespace FileMod {

namespace {

// Place information files are a few kilobytes even with many language
// sections; anything far larger is not one.
constexpr qint64 kMaxInfoFileBytes = 4 * 1024 * 1024;

int DigitValue(QChar c, int base)
{
    int d = -1;
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        d = u - '0';
    else if (u >= 'a' && u <= 'f')
        d = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        d = u - 'A' + 10;
    return d >= 0 && d < base ? d : -1;
}

bool IsBlank(QChar c) { return c == QLatin1Char(' '); }

// A value that a Single can hold; false for one beyond its range.
bool ToSingle(double d, float& out)
{
    if (!std::isfinite(d) || std::fabs(d) > FLT_MAX) return false;
    out = static_cast<float>(d);
    return true;
}

void SetNumber(const QString& value, float& field)
{
    bool ok = false;
    const double d = LeadingNumber(value, &ok);
    float f = 0;
    // A number that cannot be held leaves the field as it was.
    if (ok && ToSingle(d, f)) field = f;
}

// Characters 2 to 7 of the value read as hexadecimal: the first character
// (a blank or "#" in the files) is skipped whatever it is.
void SetColour(const QString& value, int32_t& field)
{
    field = dorv::RoundHalfEven(LeadingNumber(QStringLiteral("&H") + value.mid(1, 6)));
}

// The whole value as a number in the user's locale, with its decimal and
// thousands separators.
void SetLocaleNumber(const QString& value, float& field)
{
    int begin = 0, end = static_cast<int>(value.size());
    while (begin < end && IsBlank(value[begin])) ++begin;
    while (end > begin && IsBlank(value[end - 1])) --end;
    bool ok = false;
    const double d = QLocale().toDouble(QStringView(value).mid(begin, end - begin), &ok);
    float f = 0;
    // A budget that is not a number leaves the budget as it was.
    if (ok && ToSingle(d, f)) field = f;
}

// The next line of the file from `pos` on: the bytes below 32 before it are
// passed over, and the one that ends it is consumed. Every byte below 32
// ends a line, so a run of them is one line end. "" when only such bytes
// remained.
QString ReadBinaryLine(const QByteArray& bytes, int& pos)
{
    const int n = static_cast<int>(bytes.size());
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    while (pos < n && b[pos] < 32) ++pos;
    const int start = pos;
    while (pos < n && b[pos] >= 32) ++pos;
    const QString line = dorv::DecodeCp1252(bytes.constData() + start, pos - start);
    if (pos < n) ++pos;
    return line;
}

QChar FirstLower(const QString& value) { return value.isEmpty() ? QChar() : value[0].toLower(); }

void ApplyLine(const QString& line, PlanInfoRecord& info)
{
    const int colon = static_cast<int>(line.indexOf(QLatin1Char(':')));
    if (colon < 0) return;  // language-section lines and the like
    const QString key = line.left(colon).toLower();
    const QString value = line.mid(colon + 1);

    struct NumberKey {
        const char* key;
        float PlanInfoRecord::*field;
    };
    static const NumberKey numbers[] = {
        {"max_width", &PlanInfoRecord::max_width},
        {"max_depth", &PlanInfoRecord::max_depth},
        {"max_height", &PlanInfoRecord::max_height},
        {"min_width", &PlanInfoRecord::min_width},
        {"min_depth", &PlanInfoRecord::min_depth},
        {"min_height", &PlanInfoRecord::min_height},
        {"default_width", &PlanInfoRecord::default_width},
        {"default_depth", &PlanInfoRecord::default_depth},
        {"default_height", &PlanInfoRecord::default_height},
        {"scale 1", &PlanInfoRecord::scale1},
        {"min scale 1", &PlanInfoRecord::min_scale1},
        {"max scale 1", &PlanInfoRecord::max_scale1},
        {"gridsize m", &PlanInfoRecord::gridsize_m},
    };
    for (const NumberKey& n : numbers)
        if (key == QLatin1String(n.key)) return SetNumber(value, info.*(n.field));

    struct ColourKey {
        const char* key;
        int32_t PlanInfoRecord::*field;
    };
    static const ColourKey colours[] = {
        {"wall_colour", &PlanInfoRecord::wall_colour},
        {"floor_colour", &PlanInfoRecord::floor_colour},
        {"background_colour", &PlanInfoRecord::background_colour},
    };
    for (const ColourKey& c : colours)
        if (key == QLatin1String(c.key)) return SetColour(value, info.*(c.field));

    struct TextKey {
        const char* key;
        QString PlanInfoRecord::*field;
    };
    static const TextKey texts[] = {
        {"name", &PlanInfoRecord::name},   {"envir", &PlanInfoRecord::envir},
        {"place", &PlanInfoRecord::place}, {"class", &PlanInfoRecord::class_},
        {"usage", &PlanInfoRecord::usage},
    };
    for (const TextKey& t : texts)
        if (key == QLatin1String(t.key)) {
            info.*(t.field) = value;
            return;
        }

    if (key == QLatin1String("budget")) return SetLocaleNumber(value, info.budget);
    if (key == QLatin1String("useprices")) {
        // Only "f..." changes it; the field starts true with every file.
        if (FirstLower(value) == QLatin1Char('f')) info.useprices = false;
        return;
    }
    if (key == QLatin1String("noprices")) {
        const QChar c = FirstLower(value);
        if (c == QLatin1Char('t')) info.noprices = true;
        if (c == QLatin1Char('f')) info.noprices = false;
    }
}

}  // namespace

double LeadingNumber(const QString& text, bool* ok)
{
    if (ok) *ok = true;
    const int n = static_cast<int>(text.size());
    int i = 0;
    auto skipBlanks = [&] {
        while (i < n && IsBlank(text[i])) ++i;
    };
    skipBlanks();

    if (i < n && text[i] == QLatin1Char('&')) {
        ++i;
        skipBlanks();
        if (i >= n) return 0;
        const QChar radix = text[i].toLower();
        const int base = radix == QLatin1Char('h') ? 16 : radix == QLatin1Char('o') ? 8 : 0;
        if (base == 0) return 0;
        ++i;
        double v = 0;
        for (; i < n; ++i) {
            if (IsBlank(text[i])) continue;
            const int d = DigitValue(text[i], base);
            if (d < 0) break;
            v = v * base + d;
        }
        if (!std::isfinite(v)) {
            if (ok) *ok = false;
            return 0;
        }
        return v;
    }

    // Gathered into a plain C-locale form: [-]digits[.digits][e[-]digits].
    QByteArray number;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        if (text[i] == QLatin1Char('-')) number += '-';
        ++i;
    }
    bool anyDigit = false;
    auto takeDigits = [&](QByteArray& into) {
        for (; i < n; ++i) {
            if (IsBlank(text[i])) continue;
            const int d = DigitValue(text[i], 10);
            if (d < 0) break;
            into += static_cast<char>('0' + d);
            anyDigit = true;
        }
    };
    QByteArray whole, fraction;
    takeDigits(whole);
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        takeDigits(fraction);
    }
    if (!anyDigit) return 0;
    number += whole.isEmpty() ? QByteArray("0") : whole;
    if (!fraction.isEmpty()) number += '.' + fraction;

    if (i < n) {
        const QChar e = text[i].toLower();
        if (e == QLatin1Char('e') || e == QLatin1Char('d')) {
            ++i;
            skipBlanks();
            bool negative = false;
            if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
                negative = text[i] == QLatin1Char('-');
                ++i;
            }
            // Far beyond any Double; kept small so the text stays short.
            int exponent = 0;
            bool anyExponentDigit = false;
            for (; i < n; ++i) {
                if (IsBlank(text[i])) continue;
                const int d = DigitValue(text[i], 10);
                if (d < 0) break;
                exponent = std::min(exponent * 10 + d, 100000);
                anyExponentDigit = true;
            }
            if (anyExponentDigit) number += 'e' + QByteArray::number(negative ? -exponent : exponent);
        }
    }
    bool converted = false;
    const double v = number.toDouble(&converted);
    if (!converted || !std::isfinite(v)) {
        if (ok) *ok = false;
        return 0;
    }
    return v;
}

void ReadInfoData(const QByteArray& bytes, PlanInfoRecord& info)
{
    info.background_colour = 0xFFFFFF;
    info.useprices = true;

    const int n = static_cast<int>(bytes.size());
    int pos = 0;
    while (pos < n) ApplyLine(ReadBinaryLine(bytes, pos), info);

    // The views' scales are divided by it: a scale that is not a positive
    // number would turn them infinite or draw the place mirrored.
    if (!(info.scale1 > 0) || !std::isfinite(info.scale1)) info.scale1 = 1.0f;
    if (info.min_height > 0 && info.default_height == 0) info.default_height = info.min_height;
}

bool ReadInfoFile(const QString& folder, const QString& fileName, PlanInfoRecord& info)
{
    const QString path = folder + fileName;
    bool ok = false;
    const QByteArray bytes = dorv::ReadWholeFile(path, &ok, kMaxInfoFileBytes);
    if (!ok) {
        Windows().MsgBox(LangMod::GetMessage(QStringLiteral("lang_ErrorLoadingThisFile")) + QLatin1Char('\n') +
                             QDir::toNativeSeparators(dorv::FindPath(path)),
                         48, dorv::AppTitle());
        return false;
    }
    ReadInfoData(bytes, info);
    return true;
}

}  // namespace FileMod
