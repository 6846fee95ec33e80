#include "platform/Metafiles.h"

#include "platform/ByteIO.h"
#include "platform/Cp1252.h"

#include <QHash>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <limits>

namespace dorv {

namespace {

// What a metafile writer does with the calls, once Play has sorted out the
// objects, the origin and the current position.
class Sink {
public:
    virtual ~Sink() = default;
    // Index of the first slot of the metafile's object table.
    virtual int firstIndex() const = 0;
    virtual void create(int index, const GdiObjectInfo& info) = 0;
    // A context's first pen or brush as the metafile's own stock object,
    // when it has one: its index.
    virtual bool stock(const GdiObjectInfo&, int32_t&) { return false; }
    virtual void select(int index, const GdiObjectInfo& info) = 0;
    virtual void remove(int index) = 0;
    virtual void rop2(int mode) = 0;
    virtual void bkMode(int mode) = 0;
    virtual void textColour(ColorRef colour) = 0;
    virtual void moveTo(QPoint p) = 0;
    virtual void lineTo(QPoint from, QPoint to) = 0;
    // Corners in order: left < right, top < bottom (right and bottom exclusive).
    virtual void rectangle(const QRect& r) = 0;
    virtual void poly(DcOp op, const std::vector<QPoint>& points, const std::vector<int32_t>& counts) = 0;
    virtual void text(QPoint at, const QString& text, const std::vector<int32_t>& advances, QSize extent,
                      int escapement) = 0;
};

bool isObjectCall(DcOp op)
{
    return op == DcOp::CreatePen || op == DcOp::CreateSolidBrush || op == DcOp::CreateFont ||
           op == DcOp::CreateBitmap;
}

// Walks the calls and hands them to the sink.
void Play(const std::vector<DcCall>& calls, Sink& sink)
{
    QHash<GdiObject, GdiObjectInfo> known;  // objects made during the recording
    QHash<GdiObject, int> defined;          // objects the metafile holds, by table index
    std::vector<bool> used;                 // table slots taken
    GdiObject selected[3] = {0, 0, 0};      // pen, brush, font
    GdiObjectInfo font;                     // the selected font
    QHash<GdiObject, bool> pendingDelete;
    QPoint origin, position;

    auto slotOf = [](GdiKind k) { return k == GdiKind::Pen ? 0 : k == GdiKind::Brush ? 1 : k == GdiKind::Font ? 2 : -1; };
    auto freeSlot = [&]() {
        for (size_t i = 0; i < used.size(); ++i)
            if (!used[i]) {
                used[i] = true;
                return int(i);
            }
        used.push_back(true);
        return int(used.size() - 1);
    };
    auto drop = [&](GdiObject h) {
        auto it = defined.find(h);
        if (it == defined.end()) return;
        sink.remove(*it + sink.firstIndex());
        used[size_t(*it)] = false;
        defined.erase(it);
    };
    auto moved = [&](const std::vector<QPoint>& pts) {
        std::vector<QPoint> out(pts);
        for (QPoint& p : out) p += origin;
        return out;
    };

    for (const DcCall& c : calls) {
        if (isObjectCall(c.op)) {
            if (c.op != DcOp::CreateBitmap) known.insert(c.object, CreatedObjectInfo(c));
            continue;
        }
        switch (c.op) {
        case DcOp::DeleteObject: {
            known.remove(c.object);
            bool isSelected = std::find(std::begin(selected), std::end(selected), c.object) != std::end(selected);
            if (isSelected && defined.contains(c.object))
                pendingDelete.insert(c.object, true);
            else
                drop(c.object);
            break;
        }
        case DcOp::SelectObject: {
            GdiObjectInfo info = known.contains(c.object) ? known.value(c.object) : c.info;
            int slot = slotOf(info.kind);
            if (slot < 0) break;
            GdiObject previous = selected[slot];
            int32_t stockIndex = 0;
            if (!defined.contains(c.object) && sink.stock(info, stockIndex)) {
                sink.select(stockIndex, info);
            } else {
                if (!defined.contains(c.object)) {
                    int index = freeSlot();
                    defined.insert(c.object, index);
                    sink.create(index + sink.firstIndex(), info);
                }
                sink.select(defined.value(c.object) + sink.firstIndex(), info);
            }
            selected[slot] = c.object;
            if (slot == 2) font = info;
            if (previous && previous != c.object && pendingDelete.contains(previous)) {
                pendingDelete.remove(previous);
                drop(previous);
            }
            break;
        }
        case DcOp::SetROP2:
            if (c.a >= 1 && c.a <= 16) sink.rop2(c.a);
            break;
        case DcOp::SetBkMode:
            if (c.a == TRANSPARENT || c.a == OPAQUE) sink.bkMode(c.a);
            break;
        case DcOp::SetTextColor: sink.textColour(c.c & 0xFFFFFF); break;
        case DcOp::SetViewportOrg: origin = QPoint(c.a, c.b); break;
        case DcOp::MoveTo:
            position = QPoint(c.a, c.b) + origin;
            sink.moveTo(position);
            break;
        case DcOp::LineTo: {
            QPoint to = QPoint(c.a, c.b) + origin;
            sink.lineTo(position, to);
            position = to;
            break;
        }
        case DcOp::Rectangle: {
            QRect r(QPoint(std::min(c.a, c.c), std::min(c.b, c.d)), QPoint(std::max(c.a, c.c), std::max(c.b, c.d)));
            // QRect's right and bottom are inclusive; the sink's are exclusive,
            // so keep the given corners as they are.
            r.translate(origin);
            sink.rectangle(r);
            break;
        }
        case DcOp::Polygon:
        case DcOp::Polyline:
            if (c.points.size() >= 2) sink.poly(c.op, moved(c.points), {int32_t(c.points.size())});
            break;
        case DcOp::PolyPolygon:
        case DcOp::PolyPolyline: {
            if (c.counts.empty()) break;
            bool ok = std::all_of(c.counts.begin(), c.counts.end(), [](int32_t n) { return n >= 2; });
            int64_t total = 0;
            for (int32_t n : c.counts) total += n;
            if (ok && total == int64_t(c.points.size())) sink.poly(c.op, moved(c.points), c.counts);
            break;
        }
        case DcOp::TextOut: {
            // A text recorded without a font to measure it was not drawn.
            if (c.text.isEmpty() || c.counts.size() != size_t(c.text.size())) break;
            sink.text(QPoint(c.a, c.b) + origin, c.text, c.counts, QSize(c.c, c.d), font.escapement);
            break;
        }
        default: break;
        }
    }
}

// Collects the bounds of what is drawn.
class BoundsSink : public Sink {
public:
    QRect bounds;
    int firstIndex() const override { return 0; }
    void create(int, const GdiObjectInfo&) override {}
    void select(int, const GdiObjectInfo& info) override
    {
        if (info.kind == GdiKind::Pen) penHalf_ = info.style == PS_NULL ? -1 : std::max(info.width, 1) / 2;
    }
    void remove(int) override {}
    void rop2(int) override {}
    void bkMode(int) override {}
    void textColour(ColorRef) override {}
    void moveTo(QPoint) override {}
    void lineTo(QPoint from, QPoint to) override
    {
        if (penHalf_ < 0) return;
        add(QRect(from, from), penHalf_);
        add(QRect(to, to), penHalf_);
    }
    void rectangle(const QRect& r) override
    {
        add(QRect(r.topLeft(), r.bottomRight() - QPoint(1, 1)).normalized(), std::max(penHalf_, 0));
    }
    void poly(DcOp op, const std::vector<QPoint>& points, const std::vector<int32_t>&) override
    {
        bool filled = op == DcOp::Polygon || op == DcOp::PolyPolygon;
        if (!filled && penHalf_ < 0) return;
        for (const QPoint& p : points) add(QRect(p, p), std::max(penHalf_, 0));
    }
    void text(QPoint at, const QString&, const std::vector<int32_t>&, QSize extent, int escapement) override
    {
        QRectF cell(0, 0, std::max(extent.width(), 1), std::max(extent.height(), 1));
        QTransform t = QTransform::fromTranslate(at.x(), at.y());
        t.rotate(-(escapement % 3600) / 10.0);
        QRectF turned = t.mapRect(cell);
        add(QRect(QPoint(int(std::floor(turned.left())), int(std::floor(turned.top()))),
                  QPoint(int(std::ceil(turned.right())) - 1, int(std::ceil(turned.bottom())) - 1)),
            0);
    }

private:
    void add(const QRect& r, int grow)
    {
        QRect g = r.adjusted(-grow, -grow, grow, grow);
        bounds = bounds.isNull() ? g : bounds.united(g);
    }
    int penHalf_ = 0;  // the stock pen: one pixel
};

// ---- enhanced metafile ----

class EmfSink : public Sink {
public:
    ByteWriter w;
    int records = 0;
    int handles = 1;  // slot 0 is the metafile's own
    int firstIndex() const override { return 1; }

    void create(int index, const GdiObjectInfo& info) override
    {
        handles = std::max(handles, index + 1);
        if (info.kind == GdiKind::Pen) {
            begin(emr::CreatePen, 28);
            w.i32(index);
            w.i32(info.style == PS_NULL ? PS_NULL : PS_SOLID);
            w.i32(std::max(info.width, 1));  // width as a point: x holds it, y unused
            w.i32(0);
            w.i32(info.colour & 0xFFFFFF);
        } else if (info.kind == GdiKind::Brush) {
            begin(emr::CreateBrushIndirect, 24);
            w.i32(index);
            w.i32(0);  // solid
            w.i32(info.colour & 0xFFFFFF);
            w.i32(0);
        } else {
            begin(emr::ExtCreateFontIndirectW, 12 + 92);
            w.i32(index);
            w.i32(info.height ? info.height : 16);
            w.i32(0);  // width: the face's own
            w.i32(info.escapement);
            w.i32(info.orientation);
            w.i32(info.weight ? info.weight : FW_NORMAL);
            w.u8(0);  // italic
            w.u8(0);  // underline
            w.u8(0);  // strike-out
            w.u8(0);  // ANSI character set
            w.u8(0);  // default precisions and quality
            w.u8(0);
            w.u8(0);
            w.u8(0);  // default pitch and family
            QString face = (info.face.isEmpty() ? QStringLiteral("Arial") : info.face).left(31);
            for (int i = 0; i < 32; ++i) w.i16(i < face.size() ? int16_t(face.at(i).unicode()) : 0);
        }
    }
    bool stock(const GdiObjectInfo& info, int32_t& index) override
    {
        if (!info.stock || (info.kind != GdiKind::Pen && info.kind != GdiKind::Brush)) return false;
        // The context's first pen is black and one pixel wide, its first
        // brush white: the metafile's BLACK_PEN and WHITE_BRUSH.
        index = int32_t(info.kind == GdiKind::Pen ? 0x80000007u : 0x80000000u);
        return true;
    }
    void select(int index, const GdiObjectInfo&) override { simple(emr::SelectObject, index); }
    void remove(int index) override { simple(emr::DeleteObject, index); }
    void rop2(int mode) override { simple(emr::SetRop2, mode); }
    void bkMode(int mode) override { simple(emr::SetBkMode, mode); }
    void textColour(ColorRef colour) override { simple(emr::SetTextColor, colour); }
    void moveTo(QPoint p) override { point(emr::MoveToEx, p); }
    void lineTo(QPoint, QPoint to) override { point(emr::LineTo, to); }
    void rectangle(const QRect& r) override
    {
        begin(emr::Rectangle, 24);
        rect(r.left(), r.top(), r.right(), r.bottom());
    }
    void poly(DcOp op, const std::vector<QPoint>& points, const std::vector<int32_t>& counts) override
    {
        const int n = int(points.size());
        const QRect box = boundsOf(points);
        if (op == DcOp::Polygon || op == DcOp::Polyline) {
            begin(op == DcOp::Polygon ? emr::Polygon : emr::Polyline, 28 + 8 * n);
            rect(box.left(), box.top(), box.right(), box.bottom());
            w.i32(n);
        } else {
            const int parts = int(counts.size());
            begin(op == DcOp::PolyPolygon ? emr::PolyPolygon : emr::PolyPolyline, 32 + 4 * parts + 8 * n);
            rect(box.left(), box.top(), box.right(), box.bottom());
            w.i32(parts);
            w.i32(n);
            for (int32_t c : counts) w.i32(c);
        }
        for (const QPoint& p : points) {
            w.i32(p.x());
            w.i32(p.y());
        }
    }
    void text(QPoint at, const QString& text, const std::vector<int32_t>& advances, QSize extent, int) override
    {
        const int n = text.size();
        const int stringBytes = (n * 2 + 3) / 4 * 4;
        constexpr int kFixed = 76;  // up to the string
        begin(emr::ExtTextOutW, kFixed + stringBytes + 4 * n);
        rect(at.x(), at.y(), at.x() + extent.width() - 1, at.y() + extent.height() - 1);
        w.i32(1);  // compatible graphics mode
        w.f32(scaleX);
        w.f32(scaleY);
        w.i32(at.x());
        w.i32(at.y());
        w.i32(n);
        w.i32(kFixed);
        w.i32(0);  // no options: the rectangle below is not used
        rect(0, 0, -1, -1);
        w.i32(kFixed + stringBytes);
        for (int i = 0; i < n; ++i) w.i16(int16_t(text.at(i).unicode()));
        for (int i = n * 2; i < stringBytes; ++i) w.u8(0);
        for (int32_t a : advances) w.i32(a);
    }
    void eof()
    {
        begin(emr::Eof, 20);
        w.i32(0);   // no palette
        w.i32(16);  // where the palette would start
        w.i32(20);  // this record's size again
    }

    float scaleX = 100.0f * 25.4f / 96, scaleY = 100.0f * 25.4f / 96;

private:
    static QRect boundsOf(const std::vector<QPoint>& points)
    {
        int l = std::numeric_limits<int>::max(), t = l, r = std::numeric_limits<int>::min(), b = r;
        for (const QPoint& p : points) {
            l = std::min(l, p.x());
            t = std::min(t, p.y());
            r = std::max(r, p.x());
            b = std::max(b, p.y());
        }
        return QRect(QPoint(l, t), QPoint(r, b));
    }
    void begin(uint32_t type, int size)
    {
        ++records;
        w.i32(int32_t(type));
        w.i32(size);
    }
    void simple(uint32_t type, int32_t value)
    {
        begin(type, 12);
        w.i32(value);
    }
    void point(uint32_t type, QPoint p)
    {
        begin(type, 16);
        w.i32(p.x());
        w.i32(p.y());
    }
    void rect(int l, int t, int r, int b)
    {
        w.i32(l);
        w.i32(t);
        w.i32(r);
        w.i32(b);
    }
};

// ---- Windows metafile ----

int16_t clamp16(int v) { return int16_t(std::clamp(v, -32768, 32767)); }

class WmfSink : public Sink {
public:
    ByteWriter w;
    int maxRecordWords = 3;
    int objects = 0;
    int firstIndex() const override { return 0; }

    void create(int index, const GdiObjectInfo& info) override
    {
        objects = std::max(objects, index + 1);
        if (info.kind == GdiKind::Pen) {
            begin(meta::CreatePenIndirect, 5);
            w.i16(info.style == PS_NULL ? PS_NULL : PS_SOLID);
            w.i16(clamp16(std::max(info.width, 1)));
            w.i16(0);
            w.i32(info.colour & 0xFFFFFF);
        } else if (info.kind == GdiKind::Brush) {
            begin(meta::CreateBrushIndirect, 4);
            w.i16(0);  // solid
            w.i32(info.colour & 0xFFFFFF);
            w.i16(0);
        } else {
            begin(meta::CreateFontIndirect, 25);
            w.i16(clamp16(info.height ? info.height : 16));
            w.i16(0);
            w.i16(clamp16(info.escapement));
            w.i16(clamp16(info.orientation));
            w.i16(clamp16(info.weight ? info.weight : FW_NORMAL));
            for (int i = 0; i < 8; ++i) w.u8(0);  // italic ... pitch and family
            QByteArray face = EncodeCp1252(info.face.isEmpty() ? QStringLiteral("Arial") : info.face).left(31);
            face.append(QByteArray(32 - face.size(), '\0'));
            w.bytes(face);
        }
    }
    void select(int index, const GdiObjectInfo&) override { one(meta::SelectObject, index); }
    void remove(int index) override { one(meta::DeleteObject, index); }
    void rop2(int mode) override { one(meta::SetRop2, mode); }
    void bkMode(int mode) override { one(meta::SetBkMode, mode); }
    void textColour(ColorRef colour) override
    {
        begin(meta::SetTextColor, 2);
        w.i32(colour & 0xFFFFFF);
    }
    void moveTo(QPoint p) override { yx(meta::MoveTo, p); }
    void lineTo(QPoint, QPoint to) override { yx(meta::LineTo, to); }
    void rectangle(const QRect& r) override
    {
        begin(meta::Rectangle, 4);
        w.i16(clamp16(r.bottom()));
        w.i16(clamp16(r.right()));
        w.i16(clamp16(r.top()));
        w.i16(clamp16(r.left()));
    }
    void poly(DcOp op, const std::vector<QPoint>& points, const std::vector<int32_t>& counts) override
    {
        if (op == DcOp::PolyPolygon) {
            begin(meta::PolyPolygon, 1 + int(counts.size()) + 2 * int(points.size()));
            w.i16(clamp16(int(counts.size())));
            for (int32_t c : counts) w.i16(clamp16(c));
            for (const QPoint& p : points) xy(p);
            return;
        }
        // The Windows metafile has no poly-polyline: one polyline a part.
        size_t at = 0;
        for (int32_t c : counts) {
            begin(op == DcOp::Polygon ? meta::Polygon : meta::Polyline, 1 + 2 * c);
            w.i16(clamp16(c));
            for (int32_t i = 0; i < c; ++i) xy(points[at + size_t(i)]);
            at += size_t(c);
        }
    }
    void text(QPoint at, const QString& text, const std::vector<int32_t>&, QSize, int) override
    {
        QByteArray bytes = EncodeCp1252(text);
        const int n = bytes.size();
        if (n % 2) bytes.append('\0');
        begin(meta::TextOut, 1 + bytes.size() / 2 + 2);
        w.i16(clamp16(n));
        w.bytes(bytes);
        w.i16(clamp16(at.y()));
        w.i16(clamp16(at.x()));
    }
    void mapping(const QRect& bounds)
    {
        one(meta::SetMapMode, 8);  // anisotropic
        yx(meta::SetWindowOrg, bounds.topLeft());
        yx(meta::SetWindowExt, QPoint(bounds.width(), bounds.height()));
    }
    void eof() { begin(meta::Eof, 0); }

private:
    void begin(uint16_t function, int paramWords)
    {
        const int words = 3 + paramWords;
        maxRecordWords = std::max(maxRecordWords, words);
        w.i32(words);
        w.i16(int16_t(function));
    }
    void one(uint16_t function, int value)
    {
        begin(function, 1);
        w.i16(clamp16(value));
    }
    void yx(uint16_t function, QPoint p)
    {
        begin(function, 2);
        w.i16(clamp16(p.y()));
        w.i16(clamp16(p.x()));
    }
    void xy(QPoint p)
    {
        w.i16(clamp16(p.x()));
        w.i16(clamp16(p.y()));
    }
};

}  // namespace

QRect RecordedBounds(const std::vector<DcCall>& calls)
{
    BoundsSink sink;
    Play(calls, sink);
    return sink.bounds;
}

QByteArray EnhancedMetafileBytes(const std::vector<DcCall>& calls, const MetafileReference& reference,
                                 const QString& description)
{
    const QRect bounds = RecordedBounds(calls);
    const int dpiX = reference.dpiX > 0 ? reference.dpiX : 96, dpiY = reference.dpiY > 0 ? reference.dpiY : 96;
    EmfSink body;
    body.scaleX = 2540.0f / dpiX;
    body.scaleY = 2540.0f / dpiY;
    Play(calls, body);
    body.eof();

    constexpr int kHeaderSize = 108;  // with both extensions of the header
    const int descriptionBytes = (description.size() * 2 + 3) / 4 * 4;
    const int headerRecord = kHeaderSize + descriptionBytes;
    const int64_t total = int64_t(headerRecord) + body.w.data().size();

    ByteWriter h;
    h.i32(int32_t(emr::Header));
    h.i32(headerRecord);
    // Bounds in pixels and frame in hundredths of a millimetre, both with
    // right and bottom inclusive; an empty picture has an empty rectangle.
    QRect b = bounds.isNull() ? QRect(QPoint(0, 0), QPoint(-1, -1)) : bounds;
    h.i32(b.left());
    h.i32(b.top());
    h.i32(b.right());
    h.i32(b.bottom());
    auto hmm = [](int pixels, int dpi) { return int32_t(int64_t(pixels) * 2540 / dpi); };
    h.i32(hmm(b.left(), dpiX));
    h.i32(hmm(b.top(), dpiY));
    h.i32(hmm(b.right() + 1, dpiX) - 1);
    h.i32(hmm(b.bottom() + 1, dpiY) - 1);
    h.i32(int32_t(emr::Signature));
    h.i32(0x10000);  // version
    h.i32(int32_t(total));
    h.i32(body.records + 1);
    h.i16(int16_t(body.handles));
    h.i16(0);
    h.i32(description.size());
    h.i32(description.isEmpty() ? 0 : kHeaderSize);
    h.i32(0);  // no palette
    const int devW = reference.widthPixels > 0 ? reference.widthPixels : std::max(b.right() + 1, 1);
    const int devH = reference.heightPixels > 0 ? reference.heightPixels : std::max(b.bottom() + 1, 1);
    h.i32(devW);
    h.i32(devH);
    h.i32(int32_t(int64_t(devW) * 254 / (dpiX * 10)));
    h.i32(int32_t(int64_t(devH) * 254 / (dpiY * 10)));
    h.i32(0);  // no pixel format
    h.i32(0);
    h.i32(0);  // no OpenGL records
    h.i32(int32_t(int64_t(devW) * 25400 / dpiX));
    h.i32(int32_t(int64_t(devH) * 25400 / dpiY));
    for (QChar ch : description) h.i16(int16_t(ch.unicode()));
    for (int i = description.size() * 2; i < descriptionBytes; ++i) h.u8(0);
    QByteArray out = h.data();
    out.append(body.w.data());
    return out;
}

QByteArray WindowsMetafileBits(const std::vector<DcCall>& calls)
{
    const QRect bounds = RecordedBounds(calls);
    if (bounds.isNull()) return {};
    WmfSink body;
    body.mapping(bounds);
    Play(calls, body);
    body.eof();

    constexpr int kHeaderBytes = 18;
    const int64_t words = (kHeaderBytes + body.w.data().size()) / 2;
    ByteWriter h;
    h.i16(1);  // a memory metafile
    h.i16(9);  // header words
    h.i16(0x0300);
    h.i16(int16_t(words & 0xFFFF));
    h.i16(int16_t((words >> 16) & 0xFFFF));
    h.i16(int16_t(body.objects));
    h.i32(body.maxRecordWords);
    h.i16(0);
    QByteArray out = h.data();
    out.append(body.w.data());
    return out;
}

}  // namespace dorv
