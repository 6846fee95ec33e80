// Records, path tokens, colours and run copies in picture tables. The tables
// are sized exactly to their counts, so a read outside one is caught by the
// address sanitizer.
#include "platform/Rounding.h"
#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Shapes;

namespace {
// Builds a shape record with the given path tokens (no end word added).
std::vector<int32_t> ShapeRec(int32_t fill, int32_t line, const std::vector<int32_t>& path)
{
    std::vector<int32_t> r = {kShape, 0, 0, 0, 10, 10, fill, line, kShapeWord8, kShapeWord9};
    r.insert(r.end(), path.begin(), path.end());
    r[1] = static_cast<int32_t>(r.size() * 4);
    return r;
}

std::vector<int32_t> GroupRec(const std::vector<std::vector<int32_t>>& children)
{
    std::vector<int32_t> r = {kGroup, 0, 0, 0, 10, 10, 0x20202020, 0x20202020, 0x20202020};
    for (const auto& c : children) r.insert(r.end(), c.begin(), c.end());
    r[1] = static_cast<int32_t>(r.size() * 4);
    return r;
}

std::vector<Record> Walk(const ShapeStream& s, int32_t begin, int32_t end)
{
    Table t = Used(s, static_cast<int32_t>(s.size()));
    RecordWalker w(t, begin, end);
    std::vector<Record> out;
    Record r;
    while (w.next(r)) out.push_back(r);
    return out;
}

std::vector<PathOp> ReadAll(const ShapeStream& s)
{
    Table t = Used(s, static_cast<int32_t>(s.size()));
    RecordWalker w(t, 0, t.count);
    Record r;
    std::vector<PathOp> ops;
    if (!w.next(r)) return ops;
    PathReader pr(t, r);
    PathOp op;
    while (pr.next(op)) ops.push_back(op);
    return ops;
}
}  // namespace

TEST(RecordWalk, StepsOverRecordsAndEntersGroupsOnlyOnRequest)
{
    ShapeStream s = GroupRec({ShapeRec(-1, 0, {2, 0, 0, 8, 5, 5, 0}), ShapeRec(-256, -1, {0})});
    const auto g2 = GroupRec({});
    s.insert(s.end(), g2.begin(), g2.end());
    const std::vector<int32_t> unknown = {99, 8};  // a two-word record of an unknown kind
    s.insert(s.end(), unknown.begin(), unknown.end());

    auto top = Walk(s, 0, static_cast<int32_t>(s.size()));
    ASSERT_EQ(top.size(), 3u);
    EXPECT_TRUE(top[0].isGroup());
    EXPECT_TRUE(top[1].isGroup());
    EXPECT_EQ(top[1].end - top[1].index, 9);  // an empty group is 36 bytes
    EXPECT_EQ(top[2].kind, 99);

    Table t = Used(s, static_cast<int32_t>(s.size()));
    RecordWalker kids = RecordWalker::Children(t, top[0]);
    Record r;
    int shapes = 0;
    while (kids.next(r)) shapes += r.isShape();
    EXPECT_EQ(shapes, 2);
}

TEST(RecordWalk, MalformedLengthsEndTheWalkInsideTheTable)
{
    const auto good = ShapeRec(0, 0, {2, 1, 1, 0});
    for (int32_t badLength : {0, 1, 2, -4, -400, 1 << 30, 0x7FFFFFFF, static_cast<int32_t>(0x80000000)}) {
        ShapeStream s = good;
        s.insert(s.end(), {kShape, badLength, 0, 0, 0, 0, -1, -1, 1, 2});
        s.insert(s.end(), good.begin(), good.end());  // never reached
        auto recs = Walk(s, 0, static_cast<int32_t>(s.size()));
        EXPECT_EQ(recs.size(), 1u) << "length " << badLength;
    }
    // A group whose length runs past its table: its own walk ends, and so does
    // a walk of its children that it would otherwise lead outside.
    ShapeStream g = GroupRec({good});
    g[1] += 400;
    EXPECT_TRUE(Walk(g, 0, static_cast<int32_t>(g.size())).empty());
    // A child that claims more than its group holds ends the children's walk.
    ShapeStream g2 = GroupRec({good, good});
    g2[kGroupHeaderWords + 1] = 4 * 100;
    Table t = Used(g2, static_cast<int32_t>(g2.size()));
    Record top;
    RecordWalker w(t, 0, t.count);
    ASSERT_TRUE(w.next(top));
    RecordWalker kids = RecordWalker::Children(t, top);
    Record r;
    EXPECT_FALSE(kids.next(r));
    // The count, not the storage, bounds the walk.
    ShapeStream twice = good;
    twice.insert(twice.end(), good.begin(), good.end());
    Table half = Used(twice, static_cast<int32_t>(good.size()) + 3);
    RecordWalker hw(half, 0, half.count);
    int n = 0;
    while (hw.next(r)) ++n;
    EXPECT_EQ(n, 1);
    // Walks that start outside the table, or in its last word, see nothing.
    EXPECT_TRUE(Walk(good, -5, 100).empty());
    EXPECT_TRUE(Walk(good, static_cast<int32_t>(good.size()) - 1, 100).empty());
}

TEST(RecordWalk, HalfWordLengthsRoundToEven)
{
    // 6 bytes is 1.5 words: rounds to 2; 10 bytes is 2.5 words: rounds to 2.
    ShapeStream s = {7, 6, 7, 10, 7, 4};
    auto recs = Walk(s, 0, static_cast<int32_t>(s.size()));
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[1].index, 2);
    EXPECT_EQ(recs[2].index, 4);
    // 2 bytes is half a word: rounds to 0, which ends the walk.
    ShapeStream z = {7, 2, 7, 4};
    EXPECT_TRUE(Walk(z, 0, 4).empty());
}

TEST(RecordWalk, RecordsTooShortForTheirKindAreNotShapesOrGroups)
{
    ShapeStream s = {kShape, 4 * 6, 0, 0, 1, 1, kGroup, 4 * 8, 0, 0, 1, 1, 0, 0};
    auto recs = Walk(s, 0, static_cast<int32_t>(s.size()));
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_FALSE(recs[0].isShape());
    EXPECT_FALSE(recs[1].isGroup());
    Table t = Used(s, static_cast<int32_t>(s.size()));
    EXPECT_EQ(FillWord(t, recs[0]), kNoColour);
    PathReader pr(t, recs[0]);
    PathOp op;
    EXPECT_FALSE(pr.next(op));
}

TEST(PathTokens, PolygonsCurvesAndClose)
{
    auto ops = ReadAll(ShapeRec(0, 0, {2, 0, 0, 8, 10, 0, 6, 1, 2, 3, 4, 5, 6, 5, 2, 20, 20, 8, 30, 20, 0, 8, 9, 9}));
    ASSERT_EQ(ops.size(), 6u);
    EXPECT_EQ(ops[0].kind, PathOp::MoveTo);
    EXPECT_EQ(ops[1].kind, PathOp::LineTo);
    EXPECT_EQ(ops[1].p[0], QPoint(10, 0));
    EXPECT_EQ(ops[2].kind, PathOp::Curve);
    EXPECT_EQ(ops[2].p[2], QPoint(5, 6));
    EXPECT_EQ(ops[3].kind, PathOp::Close);
    EXPECT_EQ(ops[4].kind, PathOp::MoveTo);
    EXPECT_EQ(ops[5].p[0], QPoint(30, 20));  // the 0 token ends the path
}

TEST(PathTokens, EdgeCases)
{
    // A path that starts with the end token draws nothing.
    EXPECT_TRUE(ReadAll(ShapeRec(0, 0, {0, 2, 1, 1, 8, 2, 2})).empty());
    // Tokens before the first move-to draw nothing, operands included.
    auto ops = ReadAll(ShapeRec(0, 0, {8, 2, 3, 5, 6, 1, 1, 1, 1, 1, 1, 2, 7, 7, 8, 9, 9}));
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].p[0], QPoint(7, 7));
    // Unknown tokens are single words: here 1, 3, 4, 7 and 9 sit between real ones.
    ops = ReadAll(ShapeRec(0, 0, {1, 2, 0, 0, 3, 4, 7, 9, 8, 5, 5}));
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[1].p[0], QPoint(5, 5));
    // No end word: the path ends with the record.
    ops = ReadAll(ShapeRec(0, 0, {2, 0, 0, 8, 1, 1}));
    EXPECT_EQ(ops.size(), 2u);
    // A token whose operands run past the record ends the path there.
    ops = ReadAll(ShapeRec(0, 0, {2, 0, 0, 6, 1, 1, 1}));
    EXPECT_EQ(ops.size(), 1u);
    ops = ReadAll(ShapeRec(0, 0, {2, 0}));
    EXPECT_TRUE(ops.empty());
}

TEST(ShapeColours, EncodingAndNone)
{
    EXPECT_EQ(ColourToShiftedLong(0xFFFFFF), -256);  // white is drawn; -1 is none
    EXPECT_NE(ColourToShiftedLong(0xFFFFFF), kNoColour);
    EXPECT_EQ(ColourToShiftedLong(0x0000FF), 0xFF00);
    EXPECT_LT(ColourToShiftedLong(0x800000), 0);  // blue of 128 or more: negative word
    for (int32_t c : {0, 0x123456, 0xFFFFFF, 0x800000, 0x7F7F7F})
        EXPECT_EQ(ShiftedLongToColour(ColourToShiftedLong(c)), c);
    EXPECT_EQ(ShiftedLongToColour(ColourToShiftedLong(0x123456) | 0x7F), 0x123456);  // low byte ignored
    EXPECT_EQ(ColourToShiftedLong(0x7F123456), ColourToShiftedLong(0x123456));
}

TEST(ItemRuns, CopyRebasesAndRoundTrips)
{
    ShapeStream cat = {1, 2, 3};
    const auto g = GroupRec({ShapeRec(ColourToShiftedLong(0xFF), -1, {2, 0, 0, 8, 9, 9, 0})});
    cat.insert(cat.end(), g.begin(), g.end());
    cat.insert(cat.end(), g.begin(), g.end());
    ItemRecord item;
    item.ShapeStart = 3;
    item.ShapeEnd = static_cast<int32_t>(cat.size());
    item.FirstShape = 1;
    item.FootprintShape = 2;

    ShapeStream scene = {42};
    int32_t sceneCount = 1;
    ItemRecord placed = item;
    ASSERT_TRUE(CopyItemRun(cat, static_cast<int32_t>(cat.size()), placed, scene, sceneCount));
    EXPECT_EQ(placed.ShapeStart, 1);
    EXPECT_EQ(placed.ShapeEnd, 1 + item.ShapeEnd - item.ShapeStart);
    EXPECT_EQ(sceneCount, placed.ShapeEnd);
    EXPECT_EQ(placed.FirstShape, 1);  // not rebased
    EXPECT_EQ(scene[0], 42);
    EXPECT_TRUE(std::equal(cat.begin() + 3, cat.end(), scene.begin() + 1));

    // To a clip table at 0 and back: the same words.
    ShapeStream clip;
    int32_t clipCount = 0;
    ItemRecord clipped = placed;
    ASSERT_TRUE(CopyItemRun(scene, sceneCount, clipped, clip, clipCount));
    EXPECT_EQ(clipped.ShapeStart, 0);
    ItemRecord back = clipped;
    ASSERT_TRUE(CopyItemRun(clip, clipCount, back, scene, sceneCount));
    EXPECT_TRUE(std::equal(scene.begin() + back.ShapeStart, scene.begin() + back.ShapeEnd, cat.begin() + 3));

    // Copying within one table, which must grow while copying.
    ItemRecord self = placed;
    ShapeStream& same = scene;
    same.shrink_to_fit();
    ASSERT_TRUE(CopyItemRun(same, sceneCount, self, same, sceneCount));
    EXPECT_TRUE(std::equal(same.begin() + self.ShapeStart, same.begin() + self.ShapeEnd, cat.begin() + 3));
}

TEST(ItemRuns, RunsOutsideTheSourceAreRefused)
{
    ShapeStream src(20, 7);
    ShapeStream dst;
    int32_t dstCount = 0;
    for (auto [start, end] : std::vector<std::pair<int32_t, int32_t>>{{-1, 5}, {5, 4}, {0, 21}, {15, 1000}}) {
        ItemRecord r;
        r.ShapeStart = start;
        r.ShapeEnd = end;
        EXPECT_FALSE(CopyItemRun(src, 20, r, dst, dstCount));
        EXPECT_EQ(r.ShapeStart, start);
        EXPECT_EQ(dstCount, 0);
    }
    ItemRecord r;
    r.ShapeStart = 0;
    r.ShapeEnd = 15;
    EXPECT_FALSE(CopyItemRun(src, 10, r, dst, dstCount));  // past the count
}

TEST(RecordWalk, StepsAreTheByteLengthOverFourHalvesToEven)
{
    for (int32_t length : {-10, -6, -2, 0, 3, 4, 6, 7, 10, 14, 40, 42, 46}) {
        ShapeStream s(64, 0);
        s[1] = length;
        const int32_t words = dorv::RoundHalfEven(length / 4.0);
        EXPECT_EQ(RecordStep(Used(s, 64), 0, 64), words >= 1 ? words : 0) << length;
    }
}
