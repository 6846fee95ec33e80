// Rounding, number formatting, the Windows-1252 codec and the bounds-checked
// byte reader.
#include "platform/ByteIO.h"
#include "platform/Cp1252.h"
#include "platform/NumberFormat.h"
#include "platform/Rounding.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace dorv;

TEST(Rounding, HalvesGoToEven)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(-2.5001), -3);
    EXPECT_EQ(RoundHalfEven(1000.01 * 100), 100001);
}

TEST(Rounding, AgreesWithNearestEvenEverywhereInRange)
{
    // The default rounding mode of the machine rounds to nearest even.
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> wide(-2.2e9, 2.2e9), narrow(-4, 4);
    for (int k = 0; k < 200000; ++k) {
        const double v = k % 2 ? wide(random) : narrow(random);
        const double halves = std::floor(v) + 0.5;  // ties too
        for (double x : {v, halves, -halves}) {
            const double r = std::nearbyint(x);
            const int32_t expected = r >= 2147483647.0 ? std::numeric_limits<int32_t>::max()
                                     : r <= -2147483648.0 ? std::numeric_limits<int32_t>::min()
                                                          : static_cast<int32_t>(r);
            ASSERT_EQ(RoundHalfEven(x), expected) << x;
        }
    }
    EXPECT_EQ(RoundHalfEven(2147483646.5), 2147483646);
    EXPECT_EQ(RoundHalfEven(-2147483647.5), -2147483648);
    EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0);
}

TEST(Rounding, OutOfRangeIsClampedNotUndefined)
{
    EXPECT_EQ(RoundHalfEven(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundHalfEven(-1e12), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
    EXPECT_EQ(RoundHalfEven(HUGE_VAL), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundHalfEven16(40000.0), 32767);
    EXPECT_EQ(RoundHalfEven16(-32768.5), -32768);
}

TEST(FormatFixed, HalvesGoAwayFromZeroOnTheNumberAsWritten)
{
    const QString p = QStringLiteral(".");
    EXPECT_EQ(FormatFixed(0.125, 2, p), "0.13");
    EXPECT_EQ(FormatFixed(-0.125, 2, p), "-0.13");
    EXPECT_EQ(FormatFixed(4.25, 1, p), "4.3");
    EXPECT_EQ(FormatFixed(-4.25f, 1, p), "-4.3");
    EXPECT_EQ(FormatFixed(0.5, 0, p), "1");
    EXPECT_EQ(FormatFixed(-0.5f, 0, p), "-1");
    EXPECT_EQ(FormatFixed(0.49999, 0, p), "0");
    // Stored a little below what was written, rounded as written.
    EXPECT_EQ(FormatFixed(4.35, 1, p), "4.4");
    EXPECT_EQ(FormatFixed(4.35f, 1, p), "4.4");
    EXPECT_EQ(FormatFixed(1.0005f, 3, p), "1.001");
    EXPECT_EQ(FormatFixed(2.675, 2, p), "2.68");
    // Carries, padding, no thousands separator, no minus on a shown zero.
    EXPECT_EQ(FormatFixed(9.995, 2, p), "10.00");
    EXPECT_EQ(FormatFixed(-99.96, 1, p), "-100.0");
    EXPECT_EQ(FormatFixed(7.0, 3, p), "7.000");
    EXPECT_EQ(FormatFixed(1234567.5f, 2, p), "1234567.50");
    EXPECT_EQ(FormatFixed(3e9f, 2, p), "3000000000.00");
    EXPECT_EQ(FormatFixed(1e20, 0, p), "100000000000000000000");
    EXPECT_EQ(FormatFixed(-0.004, 2, p), "0.00");
    EXPECT_EQ(FormatFixed(3.87e-7f, 0, p), "0");
    EXPECT_EQ(FormatFixed(-0.0, 1, p), "0.0");
    EXPECT_EQ(FormatFixed(4.9e-324, 2, p), "0.00");
    EXPECT_EQ(FormatFixed(std::nan(""), 2, p), "nan");
    EXPECT_EQ(FormatFixed(-HUGE_VAL, 2, p), "-inf");
    // The separator given, or the locale's.
    EXPECT_EQ(FormatFixed(0.125, 2, QStringLiteral(",")), "0,13");
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    EXPECT_EQ(FormatFixed(1234.565, 2), "1234,57");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatFixed(1234.565f, 2), "1234.57");
    QLocale::setDefault(before);
}

TEST(Cp1252, EuroAndAccents)
{
    EXPECT_EQ(EncodeCp1252(QStringLiteral("\u20AC")), QByteArray("\x80"));
    EXPECT_EQ(DecodeCp1252(QByteArray("\x80")), QStringLiteral("\u20AC"));
    EXPECT_EQ(EncodeCp1252(QStringLiteral("Cadeira Tr\u00EAs \u00A3")), QByteArray("Cadeira Tr\xEAs \xA3"));
    EXPECT_EQ(EncodeCp1252(QStringLiteral("\u4E2D")), QByteArray("?"));
    EXPECT_EQ(DecodeCp1252(QByteArray("\x93ol\xE1\x94")), QStringLiteral("\u201Col\u00E1\u201D"));
}

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all(256, 0);
    for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
    EXPECT_EQ(EncodeCp1252(DecodeCp1252(all)), all);
}

TEST(ByteReader, LittleEndianFieldsAndStickyFailure)
{
    const QByteArray data("\x01\x02\x03\x04\xFE\xFF\x00\x00\x80\x3F", 10);
    ByteReader r(data);
    EXPECT_EQ(r.i32(), 0x04030201);
    EXPECT_EQ(r.i16(), -2);
    EXPECT_EQ(r.f32(), 1.0f);
    EXPECT_TRUE(r.atEnd());
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.i32(), 0);
    EXPECT_FALSE(r.ok());
    r.seek(0);
    EXPECT_FALSE(r.ok());  // stays failed

    ByteReader s(data);
    char buf[16];
    s.bytes(buf, 16);
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(buf[0], 0);
    ByteReader n(data);
    n.skip(-1);
    EXPECT_FALSE(n.ok());
    ByteReader q(data);
    q.seek(11);
    EXPECT_FALSE(q.ok());
}

TEST(ByteWriter, WritesWhatTheReaderReads)
{
    ByteWriter w;
    w.i16(-12345);
    w.i32(-7);
    w.f32(3.25f);
    w.f64(-2.5);
    w.u8(200);
    ByteReader r(w.data());
    EXPECT_EQ(r.i16(), -12345);
    EXPECT_EQ(r.i32(), -7);
    EXPECT_EQ(r.f32(), 3.25f);
    EXPECT_EQ(r.f64(), -2.5);
    EXPECT_EQ(r.u8(), 200);
    EXPECT_TRUE(r.ok() && r.atEnd());
}
