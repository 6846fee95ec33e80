// Dimension lines: where the line, its arrowheads and its label go for
// every length class and direction, the printer's scale, and fractions.
#include "platform/RecordingDc.h"
#include "views/DimensionLines.h"

#include "support/QtPrint.h"

#include <gtest/gtest.h>

#include <cmath>

using dorv::DcCall;
using dorv::DcOp;
using dorv::RecordingDc;

namespace {

// The lines drawn, as "M x y" and "L x y".
QStringList Strokes(const RecordingDc& dc)
{
    QStringList out;
    for (const DcCall& c : dc.Calls()) {
        if (c.op == DcOp::MoveTo) out << QStringLiteral("M %1 %2").arg(c.a).arg(c.b);
        if (c.op == DcOp::LineTo) out << QStringLiteral("L %1 %2").arg(c.a).arg(c.b);
    }
    return out;
}

std::vector<const DcCall*> Of(const RecordingDc& dc, DcOp op)
{
    std::vector<const DcCall*> out;
    for (const DcCall& c : dc.Calls())
        if (c.op == op) out.push_back(&c);
    return out;
}

// The arrowheads of a line from p1 to p2 with arrow step a and side n,
// arrows inside (tips outward).
QStringList ArrowsInside(QPoint p1, QPoint p2, QPoint a, QPoint n)
{
    auto s = [](const char* op, QPoint p) { return QStringLiteral("%1 %2 %3").arg(QLatin1String(op)).arg(p.x()).arg(p.y()); };
    return {s("M", p2 - 2 * a), s("L", p2 + n), s("L", p2 - 2 * a + 2 * n), s("L", p2 - 2 * a),
            s("M", p1 + 2 * a), s("L", p1 + n), s("L", p1 + 2 * a + 2 * n), s("L", p1 + 2 * a)};
}

void Draw(RecordingDc& dc, float x1, float y1, float x2, float y2, const QString& label, float k = 1)
{
    Graphs::DrawDimensionLineScaled(dc, k, 96, x1, y1, x2, y2, label);
}

TEST(DimensionLines, ALongLineLeftToRightLiesBelowWithAGapForItsText)
{
    RecordingDc dc;
    Draw(dc, 100, 100, 300, 100, "3.0 m");  // 5 characters: a gap of 3 steps each side
    QStringList expected = {"M 110 105", "L 185 105", "M 215 105", "L 290 105"};
    expected += ArrowsInside({100, 100}, {300, 100}, {5, 0}, {0, 5});
    EXPECT_EQ(Strokes(dc), expected);
    // The text reads left to right, 8 points, centred just below the line.
    const auto fonts = Of(dc, DcOp::CreateFont);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0]->a, -11);  // 8 points at 96 dots per inch
    EXPECT_EQ(fonts[0]->b, 0);
    EXPECT_EQ(fonts[0]->text, "Arial");
    const auto texts = Of(dc, DcOp::TextOut);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text, "3.0 m");
    EXPECT_TRUE(dc.Undeleted().empty());
    RecordingDc measure;
    const dorv::GdiObject font = dorv::CreateFontA(-11, 0, 0, 400, QStringLiteral("Arial"));
    const dorv::GdiObject old = measure.SelectObject(font);
    const QSize size = measure.GetTextExtentPoint32A(QStringLiteral("3.0 m"));
    measure.SelectObject(old);
    dorv::DeleteObject(font);
    EXPECT_NEAR(texts[0]->a, 200 - size.width() / 2.0, 0.5);
    EXPECT_NEAR(texts[0]->b, 105 - size.height() / 2.0, 0.5);
    EXPECT_EQ(dc.BkMode(), dorv::TRANSPARENT);
}

TEST(DimensionLines, RightToLeftTheLineLiesAboveAndTheTextStillReadsLeftToRight)
{
    RecordingDc dc;
    Draw(dc, 300, 100, 100, 100, "3.0 m");
    QStringList expected = {"M 290 95", "L 215 95", "M 185 95", "L 110 95"};
    expected += ArrowsInside({300, 100}, {100, 100}, {-5, 0}, {0, -5});
    EXPECT_EQ(Strokes(dc), expected);
    const auto fonts = Of(dc, DcOp::CreateFont);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0]->b % 3600, 0);  // a whole turn reads as none
    // The text's left end lies left of the middle: it reads rightwards.
    EXPECT_LT(Of(dc, DcOp::TextOut)[0]->a, 200);
}

TEST(DimensionLines, AVerticalLineHasItsTextAlongIt)
{
    RecordingDc dc;
    Draw(dc, 100, 100, 100, 300, "5.0 m");
    QStringList expected = {"M 95 110", "L 95 185", "M 95 215", "L 95 290"};
    expected += ArrowsInside({100, 100}, {100, 300}, {0, 5}, {-5, 0});
    EXPECT_EQ(Strokes(dc), expected);
    EXPECT_EQ(Of(dc, DcOp::CreateFont)[0]->b, -900);  // a quarter turn
    // Upwards, the text turns the other way.
    RecordingDc up;
    Draw(up, 100, 300, 100, 100, "5.0 m");
    EXPECT_EQ(Of(up, DcOp::CreateFont)[0]->b, 900);
    EXPECT_EQ(Strokes(up)[0], "M 105 290");
}

TEST(DimensionLines, ShorterLinesMoveTheirTextAsideAndTheirArrowsOut)
{
    // Exactly 80 pixels: the text on the line, no line pieces.
    RecordingDc at80;
    Draw(at80, 0, 0, 80, 0, "2.0 m");
    EXPECT_EQ(Strokes(at80), ArrowsInside({0, 0}, {80, 0}, {5, 0}, {0, 5}));
    ASSERT_EQ(Of(at80, DcOp::TextOut).size(), 1u);

    // 50 pixels: the whole line, the text 20 pixels off the segment.
    RecordingDc mid;
    Draw(mid, 0, 0, 50, 0, "2.0 m");
    QStringList expected = {"M 10 5", "L 40 5"};
    expected += ArrowsInside({0, 0}, {50, 0}, {5, 0}, {0, 5});
    EXPECT_EQ(Strokes(mid), expected);
    const auto text = Of(mid, DcOp::TextOut);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_GT(text[0]->b, 5);  // below the line: centred 20 pixels down

    // 20 pixels: no line, arrows outside pointing in.
    RecordingDc tiny;
    Draw(tiny, 0, 0, 20, 0, "2.0 m");
    EXPECT_EQ(Strokes(tiny), QStringList({"M 30 10", "L 20 5", "L 30 0", "L 30 10",  //
                                          "M -10 10", "L 0 5", "L -10 0", "L -10 10"}));
    EXPECT_EQ(Of(tiny, DcOp::TextOut).size(), 1u);
}

TEST(DimensionLines, AZeroLabelOnAShortLineShowsOnlyTheArrows)
{
    RecordingDc shortLine;
    Draw(shortLine, 0, 0, 50, 0, "0");
    EXPECT_EQ(Strokes(shortLine), ArrowsInside({0, 0}, {50, 0}, {5, 0}, {0, 5}));
    EXPECT_TRUE(Of(shortLine, DcOp::TextOut).empty());
    EXPECT_TRUE(Of(shortLine, DcOp::CreateFont).empty());
    // On a long line it is written like any other.
    RecordingDc longLine;
    Draw(longLine, 0, 0, 100, 0, "0");
    ASSERT_EQ(Of(longLine, DcOp::TextOut).size(), 1u);
    EXPECT_EQ(Of(longLine, DcOp::TextOut)[0]->text, "0");
    // No length: nothing at all; an empty label: the line and arrows only.
    RecordingDc none;
    Draw(none, 40, 40, 40, 40, "3.0 m");
    Draw(none, 0, 0, NAN, 0, "3.0 m");
    EXPECT_TRUE(none.Calls().empty());
    RecordingDc blank;
    Draw(blank, 0, 0, 200, 0, "");
    EXPECT_TRUE(Of(blank, DcOp::TextOut).empty());
    EXPECT_EQ(Strokes(blank).size(), 12);
}

TEST(DimensionLines, OnAPrinterOfTwiceTheResolutionOffsetsDoubleAndTheTextKeepsItsSize)
{
    RecordingDc dc(192);
    Draw(dc, 100, 100, 500, 100, "3.0 m", 2);
    QStringList expected = {"M 120 110", "L 270 110", "M 330 110", "L 480 110"};
    expected += ArrowsInside({100, 100}, {500, 100}, {10, 0}, {0, 10});
    EXPECT_EQ(Strokes(dc), expected);
    EXPECT_EQ(Of(dc, DcOp::CreateFont)[0]->a, -21);  // still 8 points
    // 100 printer pixels are 50 on the screen: the text moves aside.
    RecordingDc shortLine(192);
    Draw(shortLine, 0, 0, 100, 0, "3.0 m", 2);
    EXPECT_EQ(Strokes(shortLine).size(), 10);  // the whole line and the arrows
}

TEST(DimensionLines, AFractionShowsItsNumeratorAndDenominatorSmaller)
{
    RecordingDc dc;
    Draw(dc, 0, 100, 400, 100, "2 1/2m");
    const auto fonts = Of(dc, DcOp::CreateFont);
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts[0]->a, -11);
    EXPECT_EQ(fonts[1]->a, -7);  // 5 points
    const auto texts = Of(dc, DcOp::TextOut);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0]->text, "2  /  m");
    EXPECT_EQ(texts[1]->text, "1");
    EXPECT_EQ(texts[2]->text, "2");
    // The numerator after the whole part, level with the line's top; the
    // denominator after the bar, lower.
    EXPECT_GT(texts[1]->a, texts[0]->a);
    EXPECT_EQ(texts[1]->b, texts[0]->b);
    EXPECT_GT(texts[2]->a, texts[1]->a);
    EXPECT_GT(texts[2]->b, texts[0]->b);
    EXPECT_TRUE(dc.Undeleted().empty());

    // A zero whole part is left blank; only the first slash is the bar.
    RecordingDc half;
    Draw(half, 0, 100, 400, 100, "0 1/2");
    EXPECT_EQ(Of(half, DcOp::TextOut)[0]->text, "   /  ");
    EXPECT_EQ(Of(half, DcOp::TextOut)[1]->text, " 1");
    RecordingDc slashes;
    Draw(slashes, 0, 100, 400, 100, "1 1/2/3");
    const auto parts = Of(slashes, DcOp::TextOut);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0]->text, "1  /  /3");
    EXPECT_EQ(parts[1]->text, "1");
    EXPECT_EQ(parts[2]->text, "2");
    // Without a blank before the numerator it cannot be split: as it stands.
    RecordingDc plain;
    Draw(plain, 0, 100, 400, 100, "1/2m");
    ASSERT_EQ(Of(plain, DcOp::TextOut).size(), 1u);
    EXPECT_EQ(Of(plain, DcOp::TextOut)[0]->text, "1/2m");
}

TEST(DimensionLines, AnglesAndTheHelpersWithoutADevice)
{
    EXPECT_NEAR(Graphs::LineAngle(0, 0, 10, 0), 1.57079633, 1e-9);
    EXPECT_NEAR(Graphs::LineAngle(10, 0, 0, 0), 1.57079633 + 3.14159268, 1e-9);
    EXPECT_NEAR(Graphs::LineAngle(0, 0, 0, 10), 0, 1e-4);  // a vertical line
    EXPECT_NEAR(Graphs::LineAngle(0, 0, 10, 10), 1.57079633 - std::atan(1.0), 1e-9);
    BitmapMod::DcMoveTo(nullptr, 1, 2);
    BitmapMod::DcLineTo(nullptr, 3, 4);
    RecordingDc dc;
    BitmapMod::DcMoveTo(&dc, 1, 2);
    BitmapMod::DcLineTo(&dc, 3, 4);
    EXPECT_EQ(Strokes(dc), QStringList({"M 1 2", "L 3 4"}));
}

}  // namespace
