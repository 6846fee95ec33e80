#pragma once
// Numbers written through a format pattern ("0", "0.0", "0.00", "0.000"):
// money, dimension labels, chart labels, exports and the test of whether
// money was spent. Unlike the whole-number rounding of Rounding.h, these
// round halves away from zero, on the number as it is written: 0.125 with
// two decimals gives 0.13, 4.25 with one gives 4.3, 0.5 with none gives 1,
// and their negatives -0.13, -4.3 and -1.

#include <QString>

namespace dorv {

// `value` with exactly `decimals` decimals (0 for none), at least one whole
// digit and no thousands separator, `point` between the whole number and
// the decimals. A value that shows as nothing but zeros carries no minus
// sign. The value is rounded as its shortest decimal form reads (a float as
// a float, a double as a double), so a typed 4.35 shows 4.4 with one
// decimal. Infinity and NaN are written as "inf" and "nan".
QString FormatFixed(double value, int decimals, const QString& point);
QString FormatFixed(float value, int decimals, const QString& point);

// The same with the decimal separator of the user's locale.
QString FormatFixed(double value, int decimals);
QString FormatFixed(float value, int decimals);

}  // namespace dorv
