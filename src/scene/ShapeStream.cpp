#include "scene/ShapeStream.h"

#include "platform/Rounding.h"
#include "scene/Records.h"

#include <algorithm>

namespace Shapes {

Table Used(const ShapeStream& s, int32_t count)
{
    Table t;
    t.words = s.data();
    t.count = std::max<int32_t>(0, std::min<int32_t>(count, static_cast<int32_t>(s.size())));
    return t;
}

RecordWalker::RecordWalker(const Table& t, int32_t begin, int32_t end)
    : t_(t), pos_(begin), end_(std::min(end, t.count))
{
}

RecordWalker RecordWalker::Children(const Table& t, const Record& group)
{
    if (!group.isGroup()) return RecordWalker(t, 0, 0);
    return RecordWalker(t, group.index + kGroupHeaderWords, group.end);
}

bool RecordWalker::next(Record& r)
{
    const int32_t step = RecordStep(t_, pos_, end_);
    if (step == 0) {
        pos_ = end_;
        return false;
    }
    r.index = pos_;
    r.end = pos_ + step;
    const int32_t kind = t_.at(pos_);
    if ((kind == kShape && step >= kShapeHeaderWords) || (kind == kGroup && step >= kGroupHeaderWords))
        r.kind = kind;
    else
        r.kind = kind == kShape || kind == kGroup ? 0 : kind;
    pos_ += step;
    return true;
}

Box RecordBox(const Table& t, const Record& r)
{
    Box b;
    if (r.end - r.index >= 6) {
        b.minX = t.at(r.index + 2);
        b.minY = t.at(r.index + 3);
        b.maxX = t.at(r.index + 4);
        b.maxY = t.at(r.index + 5);
    }
    return b;
}

int32_t FillWord(const Table& t, const Record& shape)
{
    return shape.isShape() ? t.at(shape.index + 6) : kNoColour;
}

int32_t LineWord(const Table& t, const Record& shape)
{
    return shape.isShape() ? t.at(shape.index + 7) : kNoColour;
}

PathReader::PathReader(const Table& t, const Record& shape)
    : t_(t), pos_(shape.index + kShapeHeaderWords), end_(shape.isShape() ? shape.end : 0)
{
}

bool PathReader::next(PathOp& op)
{
    while (pos_ < end_) {
        const int32_t token = t_.at(pos_);
        int operands = 0;
        switch (token) {
        case kTokenEnd:
            pos_ = end_;
            return false;
        case kTokenMoveTo:
        case kTokenLineTo:
            operands = 2;
            break;
        case kTokenCurve:
            operands = 6;
            break;
        case kTokenClose:
            operands = 0;
            break;
        default:
            ++pos_;  // a word that draws nothing
            continue;
        }
        if (operands > end_ - pos_ - 1) {
            pos_ = end_;
            return false;
        }
        const int32_t* w = t_.words + pos_ + 1;
        pos_ += 1 + operands;
        if (token == kTokenMoveTo) started_ = true;
        if (!started_) continue;
        switch (token) {
        case kTokenMoveTo:
            op.kind = PathOp::MoveTo;
            op.p[0] = QPoint(w[0], w[1]);
            break;
        case kTokenLineTo:
            op.kind = PathOp::LineTo;
            op.p[0] = QPoint(w[0], w[1]);
            break;
        case kTokenClose:
            op.kind = PathOp::Close;
            break;
        default:
            op.kind = PathOp::Curve;
            op.p[0] = QPoint(w[0], w[1]);
            op.p[1] = QPoint(w[2], w[3]);
            op.p[2] = QPoint(w[4], w[5]);
            break;
        }
        return true;
    }
    return false;
}

ShapeColour ColourToShiftedLong(int32_t rgb)
{
    return static_cast<int32_t>((static_cast<uint32_t>(rgb) & 0xFFFFFFu) << 8);
}

int32_t ShiftedLongToColour(ShapeColour word)
{
    // Bits 8 to 31; the low byte is ignored.
    return static_cast<int32_t>((static_cast<uint32_t>(word) >> 8) & 0xFFFFFFu);
}

void Reserve(ShapeStream& s, int32_t needed)
{
    if (needed > static_cast<int32_t>(s.size())) s.resize(static_cast<size_t>(needed));
}

bool CopyItemRun(const ShapeStream& src, int32_t srcCount, ItemRecord& item, ShapeStream& dst,
                 int32_t& dstCount)
{
    const Table t = Used(src, srcCount);
    if (item.ShapeStart < 0 || item.ShapeEnd < item.ShapeStart || item.ShapeEnd > t.count)
        return false;
    if (dstCount < 0 || dstCount > static_cast<int32_t>(dst.size())) return false;
    const int32_t n = item.ShapeEnd - item.ShapeStart;
    // Taken out first: source and destination may be the same table, which
    // growing would move.
    const std::vector<int32_t> run(src.begin() + item.ShapeStart, src.begin() + item.ShapeEnd);
    Reserve(dst, dstCount + n);
    std::copy(run.begin(), run.end(), dst.begin() + dstCount);
    item.ShapeStart = dstCount;
    item.ShapeEnd = dstCount + n;
    dstCount += n;
    return true;
}

}  // namespace Shapes
