#pragma once
// Vector pictures as records in a table of 32-bit words.
//
// A record starts with its kind (2 shape, 6 group, anything else is stepped
// over) and its length in bytes, then its bounding box. A shape holds a fill
// and a line colour and a path of tokens; a group holds child records. Every
// walk here checks each index against the table's count: a record whose
// length steps less than one word or past the end of what holds it ends the
// walk, so a malformed table can never make a reader leave it.

#include "platform/Rounding.h"

#include <QPoint>

#include <algorithm>
#include <cstdint>
#include <vector>

struct ItemRecord;

using ShapeStream = std::vector<int32_t>;

namespace Shapes {

constexpr int32_t kShape = 2;
constexpr int32_t kGroup = 6;
constexpr int32_t kShapeHeaderWords = 10;  // the path begins at word 10
constexpr int32_t kGroupHeaderWords = 9;   // the children begin at word 9
constexpr int32_t kShapeWord8 = 1;         // written into words 8 and 9 of every
constexpr int32_t kShapeWord9 = 67240002;  // shape we make; no reader uses them
constexpr int32_t kNoColour = -1;

// The tokens of a shape's path; every operand is one word. Any other value
// is one word that draws nothing.
enum PathToken : int32_t {
    kTokenEnd = 0,     // end of the path
    kTokenMoveTo = 2,  // x, y: begins a polygon
    kTokenClose = 5,   // adds the polygon's first point again
    kTokenCurve = 6,   // x1, y1, x2, y2, x3, y3: cubic Bezier from the current point
    kTokenLineTo = 8,  // x, y
};

// A colour inside a record: an RGB value (red in the low byte) shifted left
// by 8 bits; -1 (kNoColour) means none.
using ShapeColour = int32_t;

// A read-only view of a table's used words [0, count).
struct Table {
    const int32_t* words = nullptr;
    int32_t count = 0;
    int32_t at(int32_t i) const { return words[i]; }
};
// The used part of a stream; the count is clamped to what the stream holds.
Table Used(const ShapeStream& s, int32_t count);

struct Box {
    int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// Grows `b` to hold `o`; the first box (`any` false) is taken as it is.
inline void Extend(Box& b, bool& any, const Box& o)
{
    if (!any) {
        b = o;
        any = true;
        return;
    }
    b.minX = std::min(b.minX, o.minX);
    b.minY = std::min(b.minY, o.minY);
    b.maxX = std::max(b.maxX, o.maxX);
    b.maxY = std::max(b.maxY, o.maxY);
}

// One record found by a walk.
struct Record {
    int32_t index = 0;  // first word
    int32_t end = 0;    // one past its last word
    // 2 or 6 when the record is long enough to hold that kind's header;
    // any other value (stepped over by readers) otherwise.
    int32_t kind = 0;
    bool isShape() const { return kind == kShape; }
    bool isGroup() const { return kind == kGroup; }
};

// Words a record occupies: its byte length / 4, halves to even. 0 when the
// record at `index` cannot be stepped over inside [index, limit).
inline int32_t RecordStep(const Table& t, int32_t index, int32_t limit)
{
    // Inline: every walk and every drawn picture steps through here. The
    // byte length / 4, rounded by the program's one rule.
    if (limit > t.count) limit = t.count;
    if (index < 0 || index + 2 > limit) return 0;
    const int32_t step = dorv::RoundHalfEven(t.at(index + 1) / 4.0);
    if (step < 1 || step > limit - index) return 0;
    return step;
}

// Calls `shape`(record) for every shape record from `begin` up to `end`, in
// stream order, entering groups: the order in which a picture paints, later
// shapes over earlier ones. Inline, since every drawn picture walks here.
template <typename Fn>
inline void ForEachShapeInOrder(const Table& t, int32_t begin, int32_t end, Fn&& shape)
{
    int32_t i = begin;
    while (i < end) {
        int32_t step = RecordStep(t, i, end);
        if (step == 0) break;
        const int32_t kind = t.at(i);
        if (kind == kShape && step >= kShapeHeaderWords)
            shape(Record{i, i + step, kShape});
        else if (kind == kGroup && step >= kGroupHeaderWords)
            step = kGroupHeaderWords;  // go on with its children
        i += step;
    }
}

// Walks the records lying back to back in [begin, end) without entering groups.
class RecordWalker {
public:
    RecordWalker(const Table& t, int32_t begin, int32_t end);
    // The children of a group record.
    static RecordWalker Children(const Table& t, const Record& group);
    // Moves to the next record; false when the walk has ended.
    bool next(Record& r);

private:
    Table t_;
    int32_t pos_;
    int32_t end_;
};

// The bounding box of a shape or group record.
Box RecordBox(const Table& t, const Record& r);
// Fill and line colour words of a shape record.
int32_t FillWord(const Table& t, const Record& shape);
int32_t LineWord(const Table& t, const Record& shape);

// One step of a shape's path. Points are in picture units, y pointing north.
struct PathOp {
    enum Kind { MoveTo, LineTo, Close, Curve } kind = MoveTo;
    QPoint p[3];  // MoveTo/LineTo: p[0]; Curve: two control points and the end
};

// Reads the path of a shape record token by token. Tokens before the first
// move-to draw nothing and are not reported; an unknown token is one word
// that draws nothing; the path ends at a 0 token, at the record's end, or at
// a token whose operands would run past the record's end.
class PathReader {
public:
    PathReader(const Table& t, const Record& shape);
    bool next(PathOp& op);

private:
    Table t_;
    int32_t pos_;
    int32_t end_;
    bool started_ = false;
};

ShapeColour ColourToShiftedLong(int32_t rgb);
int32_t ShiftedLongToColour(ShapeColour word);

// Makes room for at least `needed` words, keeping the contents.
void Reserve(ShapeStream& s, int32_t needed);

// Appends the words of `item`'s run [ShapeStart, ShapeEnd) from `src` to
// `dst` at `dstCount`, advances `dstCount` and rebases the item's ShapeStart
// and ShapeEnd to the copy. A run that does not lie inside the source's used
// words is not copied and the item is left unchanged (returns false).
bool CopyItemRun(const ShapeStream& src, int32_t srcCount, ItemRecord& item, ShapeStream& dst,
                 int32_t& dstCount);

}  // namespace Shapes
