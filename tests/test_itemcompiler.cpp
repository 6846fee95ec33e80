// The item compiler: descriptions in, item files out. The words are checked
// as the program's loader reads them: the walk from word 10 to the first
// shape (the height), the footprint right after it (flags and price in its
// colour words), and pairs of picture groups placed as the views place them.
#include "ItemCompiler.h"
#include "ItemSource.h"
#include "platform/Rounding.h"
#include "scene/ShapeStream.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>

#include <vector>

using namespace ItemTool;

namespace {

std::vector<int32_t> Compile(const char* text)
{
    ItemSource item;
    QString error;
    EXPECT_TRUE(ParseItemSource(text, item, &error)) << error.toStdString();
    return CompileItem(item);
}

QString ParseError(const char* text)
{
    ItemSource item;
    QString error;
    EXPECT_FALSE(ParseItemSource(text, item, &error)) << text;
    return error;
}

struct TopLevel {
    std::vector<Shapes::Record> shapes, groups;
};

TopLevel Walk(const std::vector<int32_t>& w)
{
    const Shapes::Table t = Shapes::Used(w, static_cast<int32_t>(w.size()));
    Shapes::RecordWalker walk(t, 10, t.count);
    TopLevel out;
    Shapes::Record r;
    int32_t end = 10;
    while (walk.next(r)) {
        (r.isGroup() ? out.groups : out.shapes).push_back(r);
        end = r.end;
    }
    EXPECT_EQ(end, static_cast<int32_t>(w.size())) << "the records must fill the file exactly";
    return out;
}

Shapes::Box BoxOf(const std::vector<int32_t>& w, const Shapes::Record& r)
{
    return Shapes::RecordBox(Shapes::Used(w, static_cast<int32_t>(w.size())), r);
}

// Shapes inside a group, in drawing order, with nested groups entered.
std::vector<Shapes::Record> ShapesIn(const std::vector<int32_t>& w, const Shapes::Record& g)
{
    const Shapes::Table t = Shapes::Used(w, static_cast<int32_t>(w.size()));
    std::vector<Shapes::Record> out;
    Shapes::RecordWalker walk = Shapes::RecordWalker::Children(t, g);
    Shapes::Record r;
    while (walk.next(r)) {
        if (r.isShape()) out.push_back(r);
        if (r.isGroup()) {
            const auto inner = ShapesIn(w, r);
            out.insert(out.end(), inner.begin(), inner.end());
        }
    }
    return out;
}

const char* kTable = R"(
# A table: the top must be drawn after its legs.
size 120 60 76
price 45.50
colour top #D9B382   # a colour word is not a comment
box 0 0 0 4 4 72 black
box 116 0 0 120 4 72 black
box 0 56 0 4 60 72 black
box 116 56 0 120 60 72 black
box 0 0 72 120 60 76 top
)";

}  // namespace

TEST(ItemCompiler, HeaderHeightAndFootprintAsTheLoaderReadsThem)
{
    const std::vector<int32_t> w = Compile(kTable);
    const int32_t W = dorv::RoundHalfEven(120 * kUnitsPerCm), D = dorv::RoundHalfEven(60 * kUnitsPerCm),
                  H = dorv::RoundHalfEven(76 * kUnitsPerCm);
    EXPECT_EQ(w[0], kHeaderSignature);
    EXPECT_EQ(w[2], 4);  // views

    const TopLevel top = Walk(w);
    ASSERT_EQ(top.shapes.size(), 2u);
    const Shapes::Record first = top.shapes[0], foot = top.shapes[1];
    EXPECT_EQ(first.index, 10);
    EXPECT_EQ(foot.index, first.end);  // the footprint follows the height marker
    EXPECT_EQ(w[first.index + 5] - w[first.index + 3], H);
    EXPECT_EQ(w[foot.index + 4] - w[foot.index + 2], W);
    EXPECT_EQ(w[foot.index + 5] - w[foot.index + 3], D);
    EXPECT_EQ(dorv::RoundHalfEven(w[foot.index + 7] / 256.0) & 0xFFFFFF, 4550);
    EXPECT_EQ(dorv::RoundHalfEven(w[foot.index + 6] / 256.0) & 15, kFlagFromFile);
    EXPECT_EQ(top.groups.front().index, foot.end);  // the views start right after
    EXPECT_EQ(top.groups.size(), 8u);
}

TEST(ItemCompiler, LargePricesAndEveryFlagSurviveTheColourWords)
{
    // 100000.00 has bit 23 set: the shifted word is negative.
    const std::vector<int32_t> w = Compile("size 10 10 10\nprice 100000\nflags stacks infront\nbox 0 0 0 10 10 10 red\n");
    const Shapes::Record foot = Walk(w).shapes[1];
    EXPECT_LT(w[foot.index + 7], 0);
    EXPECT_EQ(dorv::RoundHalfEven(w[foot.index + 7] / 256.0) & 0xFFFFFF, 10000000);
    EXPECT_EQ(dorv::RoundHalfEven(w[foot.index + 6] / 256.0) & 15, kFlagStacks | kFlagFromFile | kFlagInFront);
}

TEST(ItemCompiler, ViewsAreQuarterTurnsWithPlacedPictures)
{
    const std::vector<int32_t> w = Compile(kTable);
    const TopLevel top = Walk(w);
    const int32_t W = dorv::RoundHalfEven(120 * kUnitsPerCm), D = dorv::RoundHalfEven(60 * kUnitsPerCm),
                  H = dorv::RoundHalfEven(76 * kUnitsPerCm);
    for (int v = 0; v < 4; ++v) {
        const int32_t pw = v % 2 ? D : W, pd = v % 2 ? W : D;
        const Shapes::Box plan = BoxOf(w, top.groups[2 * v]);
        EXPECT_EQ(plan.maxX - plan.minX, pw) << v;
        EXPECT_EQ(plan.maxY - plan.minY, pd) << v;
        // The 3D picture's lower-left corner is the picture of the plan box's
        // lower-left: (0, 0) projected across, the south-east corner down.
        const Shapes::Box iso = BoxOf(w, top.groups[2 * v + 1]);
        EXPECT_EQ(iso.minX, 0) << v;
        EXPECT_EQ(iso.minY, dorv::RoundHalfEven(-pw * 0.5)) << v;
        EXPECT_EQ(iso.maxY, dorv::RoundHalfEven(pd * 0.5 + H)) << v;
    }
}

TEST(ItemCompiler, HigherAndNearerSolidsAreDrawnLater)
{
    const std::vector<int32_t> w = Compile(kTable);
    const TopLevel top = Walk(w);
    const int32_t topColour = Shapes::ColourToShiftedLong(0x82B3D9);  // #D9B382
    for (int v = 0; v < 4; ++v) {
        // From above the table top hides the legs: it is the last shape.
        const auto plan = ShapesIn(w, top.groups[2 * v]);
        ASSERT_FALSE(plan.empty());
        EXPECT_EQ(w[plan.back().index + 6], topColour) << v;
        // In 3D the top's three visible faces come after every leg face, and
        // they are shaded differently by their directions.
        const auto iso = ShapesIn(w, top.groups[2 * v + 1]);
        ASSERT_GE(iso.size(), 3u);
        std::vector<int32_t> lastFills;
        for (size_t i = iso.size() - 3; i < iso.size(); ++i) lastFills.push_back(w[iso[i].index + 6]);
        for (size_t i = 0; i + 3 < iso.size(); ++i)
            EXPECT_LE(Shapes::ShiftedLongToColour(w[iso[i].index + 6]) & 0xFF, 0x20) << "leg faces are dark";
        EXPECT_NE(lastFills[0], lastFills[1]);
        EXPECT_NE(lastFills[1], lastFills[2]);
        EXPECT_NE(lastFills[0], lastFills[2]);
        EXPECT_TRUE(std::find(lastFills.begin(), lastFills.end(), topColour) != lastFills.end())
            << "the upper face keeps the full colour";
    }
}

TEST(ItemCompiler, WallItemsHaveFiveViewsAndAFrontPicture)
{
    const std::vector<int32_t> w =
        Compile("size 100 10 50\nprice 20\nflags wall\nbox 0 5 0 100 10 50 white\npanel 5 10 10 90 10 90 40 blue\n");
    EXPECT_EQ(w[2], 5);
    const TopLevel top = Walk(w);
    ASSERT_EQ(top.groups.size(), 10u);
    const int32_t W = dorv::RoundHalfEven(100 * kUnitsPerCm), H = dorv::RoundHalfEven(50 * kUnitsPerCm);
    const Shapes::Box front = BoxOf(w, top.groups[8]);
    EXPECT_EQ(front.maxX - front.minX, W);
    EXPECT_EQ(front.maxY - front.minY, H);
    // Seen from the front the panel lies before the board: drawn last, and
    // as the full rectangle it is.
    const auto shapes = ShapesIn(w, top.groups[8]);
    ASSERT_EQ(shapes.size(), 2u);
    const Shapes::Box panel = BoxOf(w, shapes[1]);
    EXPECT_EQ(panel.minX, dorv::RoundHalfEven(10 * kUnitsPerCm));
    EXPECT_EQ(panel.maxY, dorv::RoundHalfEven(40 * kUnitsPerCm));
    // Against the west wall (view 1) the item's width runs north-south.
    const Shapes::Box west = BoxOf(w, top.groups[2]);
    EXPECT_EQ(west.maxY - west.minY, W);
}

TEST(ItemCompiler, AMountedWallItemHangsAtItsHeightAndCountsFromTheFloor)
{
    // A clock 30 cm across hung 180 cm up: every solid kind that has a height.
    const std::vector<int32_t> w = Compile(
        "size 30 10 30\nprice 5\nflags wall\nmount 180\nbox 0 5 0 30 10 30 white\ncylinder 15 5 10 20 4 red\n"
        "ball 15 3 15 2 blue\nwedge 0 0 0 30 5 5 n green\ndial 0 15 15 10 yellow\npanel 0 1 1 2 1 2 2 black\n"
        "flat 6 1 1 4 1 4 4 black\ndisc 6 10 3 2 black\n");
    const auto cm = [](double v) { return dorv::RoundHalfEven(v * kUnitsPerCm); };
    const TopLevel top = Walk(w);
    ASSERT_GE(top.shapes.size(), 2u);
    const Shapes::Box height = BoxOf(w, top.shapes[0]);
    EXPECT_EQ(height.maxY - height.minY, cm(210));  // from the floor to its top
    EXPECT_EQ(w[7], cm(210));                        // the header says the same
    // The front picture starts on the floor line, and what it draws hangs
    // from 180 cm up to 210 cm.
    ASSERT_EQ(top.groups.size(), 10u);
    const Shapes::Box front = BoxOf(w, top.groups[8]);
    EXPECT_EQ(front.minY, 0);
    EXPECT_EQ(front.maxY, cm(210));
    int32_t low = INT32_MAX, high = INT32_MIN;
    for (const Shapes::Record& s : ShapesIn(w, top.groups[8])) {
        low = std::min(low, BoxOf(w, s).minY);
        high = std::max(high, BoxOf(w, s).maxY);
    }
    EXPECT_EQ(low, cm(180));
    EXPECT_EQ(high, cm(210));
    // The 3D picture is lifted by the same height: its lowest corner
    // (the front left of the footprint) lies 180 cm higher than unmounted.
    const std::vector<int32_t> flat = Compile("size 30 10 30\nprice 5\nflags wall\nbox 0 5 0 30 10 30 white\n");
    const std::vector<int32_t> hung = Compile("size 30 10 30\nprice 5\nflags wall\nmount 180\nbox 0 5 0 30 10 30 white\n");
    const auto lowest3d = [&](const std::vector<int32_t>& words) {
        int32_t y = INT32_MAX;
        for (const Shapes::Record& s : ShapesIn(words, Walk(words).groups[1])) y = std::min(y, BoxOf(words, s).minY);
        return y;
    };
    EXPECT_EQ(lowest3d(hung) - lowest3d(flat), cm(180));

    EXPECT_TRUE(ParseError("size 10 10 10\nprice 1\nmount 50\nbox 0 0 0 10 10 10 red\n").contains("wall"));
    EXPECT_TRUE(ParseError("size 10 10 10\nprice 1\nflags wall\nmount -5\nbox 0 0 0 10 10 10 red\n").contains("mount"));
    // The solids still lie inside the item's own size.
    EXPECT_TRUE(ParseError("size 10 10 10\nprice 1\nflags wall\nmount 50\nbox 0 0 50 10 10 60 red\n").contains("z"));
}

TEST(ItemCompiler, EveryShapeIsAClosedPathEndedByZero)
{
    const std::vector<int32_t> w = Compile(
        "size 50 50 50\nprice 1\nviews 1\ncylinder 25 25 0 30 20 10 red\nball 25 25 40 10 blue\ndisc 30 25 25 5 white\n");
    for (const Shapes::Record& g : Walk(w).groups)
        for (const Shapes::Record& s : ShapesIn(w, g)) {
            EXPECT_EQ(w[s.end - 1], 0);
            EXPECT_EQ(w[s.end - 2], 5);  // close
            EXPECT_EQ(w[s.index + 10], 2);  // move-to
        }
}

// The VRML model: the item's solids in metres, centred over the footprint,
// y up from the floor, the front towards +z, faces turned outwards.
TEST(ItemModel, ABoxIsCentredInMetresWithOutwardFacesInItsColour)
{
    ItemSource item;
    ASSERT_TRUE(ParseItemSource("size 100 50 80\nprice 1\nviews 1\nbox 0 0 0 100 50 80 #FF8000\n", item, nullptr));
    const QString model = QString::fromUtf8(ItemVrmlModel(item, QStringLiteral("Desks/box")));
    EXPECT_TRUE(model.startsWith("#VRML V2.0 utf8\n# Desks/box"));
    EXPECT_TRUE(model.contains("diffuseColor 1 0.502 0 "));
    EXPECT_TRUE(model.contains("solid TRUE"));
    const QRegularExpression pointRe(QStringLiteral("^\\s*(-?[\\d.]+) (-?[\\d.]+) (-?[\\d.]+),$"),
                                     QRegularExpression::MultilineOption);
    std::vector<std::array<double, 3>> pts;
    for (auto it = pointRe.globalMatch(model); it.hasNext();) {
        const auto m = it.next();
        pts.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble()});
    }
    ASSERT_EQ(pts.size(), 24u);  // six faces of four corners
    for (const auto& p : pts) {
        EXPECT_DOUBLE_EQ(std::fabs(p[0]), 0.5);
        EXPECT_TRUE(p[1] == 0 || p[1] == 0.8);
        EXPECT_DOUBLE_EQ(std::fabs(p[2]), 0.25);
    }
    // Each face's corners run counterclockwise seen from outside: its
    // normal points away from the box's centre (0, 0.4, 0).
    for (size_t f = 0; f < 6; ++f) {
        const auto& a = pts[4 * f];
        const auto& b = pts[4 * f + 1];
        const auto& c = pts[4 * f + 2];
        const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v[3] = {c[0] - b[0], c[1] - b[1], c[2] - b[2]};
        const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        const double out = n[0] * a[0] + n[1] * (a[1] - 0.4) + n[2] * a[2];
        EXPECT_GT(out, 0) << "face " << f;
    }
}

TEST(ItemSource, RejectsWhatCannotBeBuilt)
{
    EXPECT_TRUE(ParseError("size 10 10 10\nbox 0 0 0 10 10 10 red\n").contains("no price"));
    EXPECT_TRUE(ParseError("size 10 10 10\nprice 1\nbox 0 0 0 10 10 12 red\n").contains("line 3"));
    EXPECT_TRUE(ParseError("size 10 10 10\nprice 1\nbox 0 0 0 10 10 10 mauve\n").contains("unknown colour"));
    EXPECT_TRUE(ParseError("size 10 10 10\nprice 1\nbox 5 0 0 2 10 10 red\n").contains("reversed"));
    EXPECT_TRUE(ParseError("size 10 10 10\nprice 1\nflags wall stacks\nbox 0 0 0 10 10 10 red\n").contains("stack"));
    EXPECT_TRUE(ParseError("size 10 10 10\nprice 1\nviews 3\nbox 0 0 0 10 10 10 red\n").contains("views"));
    EXPECT_TRUE(ParseError("size 10 10 10\nprice 200000\nbox 0 0 0 10 10 10 red\n").contains("price"));
    EXPECT_TRUE(ParseError("box 0 0 0 10 10 10 red\nsize 10 10 10\nprice 1\n").contains("size"));
    EXPECT_TRUE(ParseError("size 10 10 10\nprice 1\nflat 1 0 0 10 0 red\n").contains("three points"));
    EXPECT_TRUE(ParseError("size 10 10 10\nprice 1\nbox 0 0 0 10 10 1e999 red\n").contains("not a number"));
}

TEST(ItemSource, EveryShippedDescriptionCompiles)
{
    QDirIterator it(QStringLiteral(DORV_SOURCE_DIR "/content"), {QStringLiteral("*.item")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int count = 0;
    while (it.hasNext()) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        ItemSource item;
        QString error;
        EXPECT_TRUE(ParseItemSource(f.readAll(), item, &error)) << f.fileName().toStdString() << ": " << error.toStdString();
        EXPECT_GT(item.priceCents, 0) << f.fileName().toStdString();
        ++count;
    }
    EXPECT_GE(count, 80);
}
