#include "scene/RoomGeometry.h"

#include "platform/Rounding.h"
#include "scene/Colours.h"
#include "scene/SceneState.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using dorv::RoundHalfEven;
using Shapes::PathOp;
using Shapes::PathReader;
using Shapes::Record;
using Shapes::RecordWalker;
using Shapes::Table;
using Shapes::kTokenClose;
using Shapes::kTokenEnd;
using Shapes::kTokenLineTo;
using Shapes::kTokenMoveTo;

namespace CommonMod {

namespace {
constexpr int32_t kBlankName = 0x20202020;  // four blanks

constexpr int32_t kFloorSectionFlags = 0x182;
constexpr int32_t kWallSectionFlags = 0x142;

void Put(ShapeStream& s, int32_t& count, int32_t word)
{
    Shapes::Reserve(s, count + 1);
    s[static_cast<size_t>(count++)] = word;
}

// A new blank item at `itemCount` (not yet counted).
ItemRecord& NewItem(std::vector<ItemRecord>& items, int32_t itemCount)
{
    if (static_cast<int32_t>(items.size()) <= itemCount) items.resize(static_cast<size_t>(itemCount) + 1);
    ItemRecord& item = items[static_cast<size_t>(itemCount)];
    item = ItemRecord();
    return item;
}

// The shapes of the floor group: its shape children, and of each nested group
// the first shape found in it (depth first).
std::vector<Record> FloorShapes(const Table& t, const Record& group)
{
    std::vector<Record> shapes;
    RecordWalker top = RecordWalker::Children(t, group);
    Record r;
    while (top.next(r)) {
        if (r.isShape()) {
            shapes.push_back(r);
        } else if (r.isGroup()) {
            std::vector<RecordWalker> stack{RecordWalker::Children(t, r)};
            bool found = false;
            while (!stack.empty() && !found) {
                Record c;
                if (!stack.back().next(c)) {
                    stack.pop_back();
                } else if (c.isShape()) {
                    shapes.push_back(c);
                    found = true;
                } else if (c.isGroup()) {
                    stack.push_back(RecordWalker::Children(t, c));
                }
            }
        }
    }
    return shapes;
}

struct SectionBuild {
    std::vector<ItemRecord>& items;
    int32_t& itemCount;
    ShapeStream& scene;
    int32_t& sceneCount;
    int32_t cx, cy;  // centre of the floor group's box
};

// One floor section per polygon of the floor shape.
void BuildFloorSections(const Table& t, const Record& shape, SectionBuild& b)
{
    const int32_t fill = Shapes::FillWord(t, shape);
    const int32_t level = Shapes::LineWord(t, shape);  // the floor's height
    const Box box = Shapes::RecordBox(t, shape);

    bool open = false;
    ItemRecord* item = nullptr;
    int32_t group3D = 0;
    std::vector<QPoint> polygon;
    bool closed = false;

    auto finish = [&]() {
        item->FaceColourShape = b.sceneCount;
        ConvertShapeToIso(polygon, closed, b.scene, b.sceneCount, fill, 0, level);
        FinishRecordBounds(b.scene, b.sceneCount, group3D);
        item->ShapeEnd = b.sceneCount;
        ++b.itemCount;
        open = false;
    };
    auto face = [&](QPoint from, QPoint to) {
        AppendIsoBox(b.scene, b.sceneCount, from.x(), from.y(), to.x(), to.y(), 0, level, fill, -1);
    };

    PathReader path(t, shape);
    PathOp op;
    while (path.next(op)) {
        switch (op.kind) {
        case PathOp::MoveTo: {
            if (open) finish();
            const int32_t n = b.itemCount;
            item = &NewItem(b.items, n);
            item->FootWidth = box.maxX - box.minX;
            item->FootDepth = box.maxY - box.minY;
            item->Height = level;
            item->Name.set(QStringLiteral("FloorSect") + QString::number(n));
            item->ViewCount = 1;
            item->ShapeStart = b.sceneCount;
            item->Flags = kFloorSectionFlags;
            item->X = static_cast<float>((double(box.minX) + box.maxX) * 0.5 - b.cx);
            item->Y = static_cast<float>(b.cy - (double(box.minY) + box.maxY) * 0.5);
            // From above: the floor shape itself.
            const int32_t plan = AppendGroupHeader(b.scene, b.sceneCount);
            item->FloorColourShape = b.sceneCount;
            for (int32_t w = shape.index; w < shape.end; ++w) Put(b.scene, b.sceneCount, t.at(w));
            FinishRecordBounds(b.scene, b.sceneCount, plan);
            // In 3D: the edge faces, then the floor projected.
            group3D = AppendGroupHeader(b.scene, b.sceneCount);
            polygon.assign(1, op.p[0]);
            closed = false;
            open = true;
            break;
        }
        case PathOp::LineTo:
            if (!open) break;  // after a close, only a move-to starts a section
            face(polygon.back(), op.p[0]);
            polygon.push_back(op.p[0]);
            break;
        case PathOp::Close:
            if (!open) break;
            face(polygon.back(), polygon.front());
            closed = true;
            finish();
            break;
        case PathOp::Curve:
            break;
        }
    }
    if (open) finish();
}

// The lowest floor beneath the wall from (x1, y1) to (x2, y2): the smallest
// height of the floor shapes that have an edge along which the wall stands;
// -1 when the wall stands on no floor edge.
int32_t WallBase(const Table& t, const std::vector<Record>& floors, int32_t x1, int32_t y1, int32_t x2,
                 int32_t y2)
{
    // Scaled down so that the cross products stay small. The edge's ends are
    // not rounded: along a long edge the rounding alone would take a wall
    // that stands on it for one that does not.
    const double ax = x1 / 256.0, ay = y1 / 256.0, bx = x2 / 256.0, by = y2 / 256.0;
    auto onEdge = [&](QPoint p, QPoint q) {
        const double ex1 = p.x() / 256.0, ey1 = p.y() / 256.0, ex2 = q.x() / 256.0, ey2 = q.y() / 256.0;
        return PointLineCrossAbs(ex1, ey1, ex2, ey2, ax, ay) < 2000 &&
               PointLineCrossAbs(ex1, ey1, ex2, ey2, bx, by) < 2000;
    };
    int32_t base = -1;
    for (const Record& shape : floors) {
        const int32_t level = Shapes::LineWord(t, shape);
        PathReader path(t, shape);
        PathOp op;
        QPoint current, first;
        while (path.next(op)) {
            bool stands = false;
            switch (op.kind) {
            case PathOp::MoveTo:
                current = first = op.p[0];
                break;
            case PathOp::LineTo:
                stands = onEdge(current, op.p[0]);
                current = op.p[0];
                break;
            case PathOp::Close:
                stands = onEdge(current, first);
                current = first;
                break;
            case PathOp::Curve:
                current = op.p[2];
                break;
            }
            if (stands && (base == -1 || base > level)) base = level;
        }
    }
    return base;
}

// One wall section from (x1, y1) to (x2, y2), `height` high, in `colour`.
void BuildWallSectionPieces(const Table& t, const std::vector<Record>& floors, int32_t x1, int32_t y1,
                            int32_t x2, int32_t y2, int32_t height, int32_t colour, SectionBuild& b)
{
    const int32_t base = WallBase(t, floors, x1, y1, x2, y2);
    const int32_t n = b.itemCount;
    ItemRecord& item = NewItem(b.items, n);
    const double dx = double(x2) - x1, dy = double(y2) - y1;
    item.Name.set(QStringLiteral("WallSect") + QString::number(n));
    item.FootWidth = RoundHalfEven(std::fabs(dx));
    item.FootDepth = RoundHalfEven(std::fabs(dy));
    item.Height = height - base;
    item.Elevation = static_cast<float>(base);
    item.SectionLength = RoundHalfEven(std::sqrt(dx * dx + dy * dy));
    item.WallSide = ComparePoints(x1, y1, x2, y2);
    item.Flags = kWallSectionFlags;
    if (int64_t(x2) + y2 > int64_t(x1) + y1) item.Flags |= kItemSectionBack;
    item.ViewCount = 1;
    item.X = static_cast<float>((double(x1) + x2) * 0.5 - b.cx);
    item.Y = static_cast<float>(b.cy - (double(y1) + y2) * 0.5);

    // From above: the wall's base line. The run starts at this shape, not at
    // the group that wraps it: the current-wall record reads the wall's end
    // points from the shape's path.
    const int32_t plan = AppendGroupHeader(b.scene, b.sceneCount);
    item.ShapeStart = b.sceneCount;
    const int32_t line = AppendShapeHeader(b.scene, b.sceneCount, colour, -1);
    AppendRecordValues5(b.scene, b.sceneCount, kTokenMoveTo, x1, y1);
    AppendRecordValues5(b.scene, b.sceneCount, kTokenLineTo, x2, y2);
    Box box;
    NormaliseRect(box, x1, y1, x2, y2);
    CloseShapeRecord(b.scene, b.sceneCount, line, box);
    FinishRecordBounds(b.scene, b.sceneCount, plan);

    // In 3D: the wall's face.
    const int32_t iso = AppendGroupHeader(b.scene, b.sceneCount);
    item.FaceColourShape = b.sceneCount;
    item.WallAngle = AppendIsoBox(b.scene, b.sceneCount, x1, y1, x2, y2, base, height, colour, 0);
    FinishRecordBounds(b.scene, b.sceneCount, iso);

    item.ShapeEnd = b.sceneCount;
    ++b.itemCount;
}

// One wall section per edge of the wall path; its line-colour word holds the
// walls' height. A close token runs back to the first point of the whole
// path; a later move-to only moves the current point.
void BuildWallSections(const Table& t, const Record& wallPath, const std::vector<Record>& floors,
                       int32_t colour, SectionBuild& b)
{
    const int32_t height = Shapes::LineWord(t, wallPath);
    PathReader path(t, wallPath);
    PathOp op;
    QPoint current, first;
    bool started = false;
    while (path.next(op)) {
        switch (op.kind) {
        case PathOp::MoveTo:
            current = op.p[0];
            if (!started) first = current;
            started = true;
            break;
        case PathOp::LineTo:
            BuildWallSectionPieces(t, floors, current.x(), current.y(), op.p[0].x(), op.p[0].y(), height, colour, b);
            current = op.p[0];
            break;
        case PathOp::Close:
            BuildWallSectionPieces(t, floors, current.x(), current.y(), first.x(), first.y(), height, colour, b);
            current = first;
            break;
        case PathOp::Curve:
            break;
        }
    }
}

}  // namespace

void AppendQuadShape(ShapeStream& s, int32_t& count, int32_t fill, int32_t line, int32_t x1, int32_t y1,
                     int32_t x2, int32_t y2)
{
    const int32_t start = AppendShapeHeader(s, count, fill, line);
    AppendRecordValues5(s, count, kTokenMoveTo, x2, y2);
    AppendRecordValues5(s, count, kTokenLineTo, x1, y2);
    AppendRecordValues5(s, count, kTokenLineTo, x1, y1);
    AppendRecordValues5(s, count, kTokenLineTo, x2, y1);
    AppendRecordValues5(s, count, kTokenLineTo, x2, y2);
    Box box;
    NormaliseRect(box, x1, y1, x2, y2);
    CloseShapeRecord(s, count, start, box);
}

int32_t AppendShapeHeader(ShapeStream& s, int32_t& count, int32_t fill, int32_t line)
{
    const int32_t start = count;
    for (int32_t w : {Shapes::kShape, 0, 0, 0, 0, 0, fill, line, Shapes::kShapeWord8, Shapes::kShapeWord9})
        Put(s, count, w);
    return start;
}

void CloseShapeRecord(ShapeStream& s, int32_t& count, int32_t start, const Box& box)
{
    Put(s, count, kTokenEnd);
    s[static_cast<size_t>(start) + 1] = (count - start) * 4;
    WriteRecordValues(s, start + 2, box.minX, box.minY, box.maxX, box.maxY);
}

int32_t AppendGroupHeader(ShapeStream& s, int32_t& count)
{
    const int32_t start = count;
    for (int32_t w : {Shapes::kGroup, 0, 0, 0, 0, 0, kBlankName, kBlankName, kBlankName}) Put(s, count, w);
    return start;
}

void FinishRecordBounds(ShapeStream& s, int32_t count, int32_t start)
{
    s[static_cast<size_t>(start) + 1] = (count - start) * 4;
    Box box;
    InitBoundingBox(box);
    const Table t = Shapes::Used(s, count);
    RecordWalker w(t, start + Shapes::kGroupHeaderWords, count);
    Record r;
    while (w.next(r)) {
        if (!r.isShape() && !r.isGroup()) continue;
        const Box b = Shapes::RecordBox(t, r);
        ExtendBoundingBox(box, b.minX, b.minY);
        ExtendBoundingBox(box, b.maxX, b.maxY);
    }
    WriteRecordValues(s, start + 2, box.minX, box.minY, box.maxX, box.maxY);
}

void AppendRecordValues5(ShapeStream& s, int32_t& count, int32_t token, int32_t x, int32_t y)
{
    Shapes::Reserve(s, count + 5);
    WriteRecordValues4(s, count, token, x, y);
}

void WriteRecordValues4(ShapeStream& s, int32_t& index, int32_t token, int32_t x, int32_t y)
{
    s[static_cast<size_t>(index)] = token;
    s[static_cast<size_t>(index) + 1] = x;
    s[static_cast<size_t>(index) + 2] = y;
    index += 3;
}

void WriteRecordValues(ShapeStream& s, int32_t index, int32_t a, int32_t b, int32_t c, int32_t d)
{
    s[static_cast<size_t>(index)] = a;
    s[static_cast<size_t>(index) + 1] = b;
    s[static_cast<size_t>(index) + 2] = c;
    s[static_cast<size_t>(index) + 3] = d;
}

int16_t ComparePoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (y1 > y2) return 1;
    if (y1 < y2) return 3;
    return x1 < x2 ? 2 : 0;
}

void AppendIsoPoint(ShapeStream& s, int32_t& count, int32_t token, int32_t x, int32_t y, int32_t z, Box& box)
{
    const int64_t sum = int64_t(x) + y, diff = int64_t(y) - x;
    const int32_t px = RoundHalfEven(double(sum) * kIsoCos);
    const int32_t py = RoundHalfEven(double(diff) * 0.5 + z);
    AppendRecordValues5(s, count, token, px, py);
    ExtendBoundingBox(box, px, py);
}

void ConvertShapeToIso(const std::vector<QPoint>& polygon, bool closed, ShapeStream& s, int32_t& count,
                       int32_t fill, int32_t line, int32_t z)
{
    const int32_t start = AppendShapeHeader(s, count, fill, line);
    Box box;
    InitBoundingBox(box);
    for (size_t k = 0; k < polygon.size(); ++k)
        AppendIsoPoint(s, count, k == 0 ? kTokenMoveTo : kTokenLineTo, polygon[k].x(), polygon[k].y(), z, box);
    if (!polygon.empty()) {
        AppendIsoPoint(s, count, kTokenLineTo, polygon[0].x(), polygon[0].y(), z, box);
        if (closed) Put(s, count, kTokenClose);
    }
    CloseShapeRecord(s, count, start, box);
}

float AppendIsoBox(ShapeStream& s, int32_t& count, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t z0,
                   int32_t z1, int32_t colour, int32_t line)
{
    float factor = 0;
    int32_t fill = ShadeColourByAngle(x1, y1, x2, y2, colour, factor);
    if (int64_t(x2) + y2 >= int64_t(x1) + y1) {
        // Faces that look towards the viewer are left open.
        fill = -1;
        line = -1;
    }
    const int32_t start = AppendShapeHeader(s, count, fill, line);
    Box box;
    InitBoundingBox(box);
    AppendIsoPoint(s, count, kTokenMoveTo, x1, y1, z0, box);
    AppendIsoPoint(s, count, kTokenLineTo, x2, y2, z0, box);
    AppendIsoPoint(s, count, kTokenLineTo, x2, y2, z1, box);
    AppendIsoPoint(s, count, kTokenLineTo, x1, y1, z1, box);
    AppendIsoPoint(s, count, kTokenLineTo, x1, y1, z0, box);
    CloseShapeRecord(s, count, start, box);
    return factor;
}

QPoint IsoProjectPoint(float x, float y, float z, int32_t ox, int32_t oy)
{
    // The sum and the difference are single-precision values, as the
    // coordinates are; only the products and the offsets are in double.
    return QPoint(RoundHalfEven(double(x + y) * kIsoCos + ox), RoundHalfEven(double(y - x) * 0.5 + z + oy));
}

float IsoX(float a, float b)
{
    return static_cast<float>((a + b) * kIsoCos);
}

float IsoY(float a, float b, float c)
{
    return static_cast<float>((b - a) * 0.5f + c);
}

void BuildRoomGeometry(RoomRecord& room, std::vector<ItemRecord>& items, int32_t& itemCount, float width,
                       float length, float height, int32_t floorColour, int32_t wallColour)
{
    const float L = static_cast<float>(length * 36.288 * 1000);
    const float W = static_cast<float>(width * 36.288 * 1000);
    const int32_t H = RoundHalfEven(height * 36.288 * 1000);
    const int32_t hx = RoundHalfEven(L * 0.5);
    const int32_t hy = RoundHalfEven(W * 0.5);
    room.RoomKind = 1;
    room.ExtentX = RoundHalfEven(L);
    room.ExtentY = RoundHalfEven(W);
    room.ExtentZ = H;

    ShapeStream& rs = G.RoomShapes;
    int32_t& rc = G.RoomShapeCount;
    room.RoomListStart = rc;
    AppendQuadShape(rs, rc, 0, 0, 0, 0, 10, H);  // the height marker

    room.FloorGroupStart = rc;
    const int32_t group = AppendGroupHeader(rs, rc);
    const int32_t floor = rc;
    AppendQuadShape(rs, rc, ColourToShiftedLong(floorColour), 0, -hx, -hy, hx, hy);
    rs[static_cast<size_t>(group) + 1] = (rc - group) * 4;
    for (int k = 2; k <= 5; ++k) rs[static_cast<size_t>(group + k)] = rs[static_cast<size_t>(floor + k)];

    room.WallPathStart = rc;
    AppendQuadShape(rs, rc, -1, H, -hx, -hy, hx, hy);  // the walls' height in place of a line colour
    room.RoomListEnd = rc;

    BuildRoomSections(room, rs, rc, ColourToShiftedLong(wallColour), items, itemCount);
    room.FirstRealItem = itemCount;
}

void BuildRoomSections(RoomRecord& room, const ShapeStream& roomShapes, int32_t roomShapeCount,
                       int32_t wallShapeColour, std::vector<ItemRecord>& items, int32_t& itemCount)
{
    const Table t = Shapes::Used(roomShapes, roomShapeCount);
    Record group;
    std::vector<Record> floors;
    int32_t cx = 0, cy = 0;
    if (DrawMod::PictureRecordAt(t, room.FloorGroupStart, group) && group.isGroup()) {
        const Box gb = Shapes::RecordBox(t, group);
        cx = RoundHalfEven((double(gb.minX) + gb.maxX) * 0.5);
        cy = RoundHalfEven((double(gb.minY) + gb.maxY) * 0.5);
        floors = FloorShapes(t, group);
    }
    SectionBuild b{items, itemCount, G.SceneShapes, G.SceneShapeCount, cx, cy};
    for (const Record& shape : floors) BuildFloorSections(t, shape, b);

    Record marker;
    room.ExtentZ = 0;
    if (DrawMod::PictureRecordAt(t, room.RoomListStart, marker)) {
        const Box mb = Shapes::RecordBox(t, marker);
        room.ExtentZ = mb.maxY - mb.minY;
    }
    room.FirstWallSection = 0;
    room.WallSectionCount = 0;
    Record wallPath;
    if (room.ExtentZ <= kLowestWallHeight || !DrawMod::PictureRecordAt(t, room.WallPathStart, wallPath)) return;
    room.FirstWallSection = itemCount;
    BuildWallSections(t, wallPath, floors, wallShapeColour, b);
    room.WallSectionCount = itemCount - room.FirstWallSection;
}

}  // namespace CommonMod
