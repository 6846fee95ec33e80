#include "platform/RecordingDc.h"

#include "platform/GdiTable.h"

#include <QHash>

#include <algorithm>

namespace dorv {

namespace {

const char* kindName(GdiKind k)
{
    switch (k) {
    case GdiKind::Pen: return "pen";
    case GdiKind::Brush: return "brush";
    case GdiKind::Font: return "font";
    case GdiKind::Bitmap: return "bitmap";
    case GdiKind::None: break;
    }
    return "object";
}

QString hex(ColorRef c) { return QStringLiteral("%1").arg(uint32_t(c) & 0xFFFFFF, 6, 16, QLatin1Char('0')); }

}  // namespace

RecordingDc::RecordingDc(int logPixelsY) : DeviceContext(logPixelsY) { AddGdiObserver(this); }

RecordingDc::~RecordingDc() { RemoveGdiObserver(this); }

void RecordingDc::ObjectCreated(GdiObject object, const GdiObjectInfo& info)
{
    if (info.stock) return;
    DcCall call(DcOp::CreatePen);
    switch (info.kind) {
    case GdiKind::Pen:
        call.op = DcOp::CreatePen;
        call.a = info.style;
        call.b = info.width;
        call.c = info.colour;
        break;
    case GdiKind::Brush:
        call.op = DcOp::CreateSolidBrush;
        call.c = info.colour;
        break;
    case GdiKind::Font:
        call.op = DcOp::CreateFont;
        call.a = info.height;
        call.b = info.escapement;
        call.c = info.orientation;
        call.d = info.weight;
        call.text = info.face;
        break;
    case GdiKind::Bitmap:
        call.op = DcOp::CreateBitmap;
        call.a = info.width;
        call.b = info.height;
        break;
    case GdiKind::None: return;
    }
    call.object = object;
    calls_.push_back(std::move(call));
}

GdiObjectInfo CreatedObjectInfo(const DcCall& c)
{
    GdiObjectInfo info;
    switch (c.op) {
    case DcOp::CreatePen:
        info.kind = GdiKind::Pen;
        info.style = c.a;
        info.width = c.b;
        info.colour = c.c;
        break;
    case DcOp::CreateSolidBrush:
        info.kind = GdiKind::Brush;
        info.colour = c.c;
        break;
    case DcOp::CreateFont:
        info.kind = GdiKind::Font;
        info.height = c.a;
        info.escapement = c.b;
        info.orientation = c.c;
        info.weight = c.d;
        info.face = c.text;
        break;
    default:
        info.kind = GdiKind::Bitmap;  // bitmaps never reach a metafile
        break;
    }
    return info;
}

void RecordingDc::ObjectDeleted(GdiObject object, bool deleted)
{
    DcCall call(DcOp::DeleteObject);
    call.object = object;
    call.a = deleted;
    calls_.push_back(std::move(call));
}

std::vector<GdiObject> RecordingDc::Undeleted() const
{
    // Walk the calls in order: a handle may be reused once its object is gone.
    std::vector<GdiObject> live;
    for (const DcCall& call : calls_) {
        if (call.op == DcOp::CreatePen || call.op == DcOp::CreateSolidBrush || call.op == DcOp::CreateFont ||
            call.op == DcOp::CreateBitmap) {
            live.push_back(call.object);
        } else if (call.op == DcOp::DeleteObject) {
            auto it = std::find(live.begin(), live.end(), call.object);
            if (it != live.end()) live.erase(it);
        }
    }
    return live;
}

GdiObject RecordingDc::SelectObject(GdiObject object)
{
    GdiObject previous = DeviceContext::SelectObject(object);
    DcCall call(DcOp::SelectObject);
    call.object = object;
    call.a = int32_t(previous);
    call.info = DescribeGdiObject(object);
    call.b = int(call.info.kind);
    calls_.push_back(std::move(call));
    return previous;
}

int RecordingDc::SetROP2(int mode)
{
    DcCall call{DcOp::SetROP2};
    call.a = mode;
    calls_.push_back(std::move(call));
    return DeviceContext::SetROP2(mode);
}

int RecordingDc::SetBkMode(int mode)
{
    DcCall call(DcOp::SetBkMode);
    call.a = mode;
    calls_.push_back(std::move(call));
    return DeviceContext::SetBkMode(mode);
}

ColorRef RecordingDc::SetTextColor(ColorRef colour)
{
    DcCall call(DcOp::SetTextColor);
    call.c = colour & 0xFFFFFF;
    calls_.push_back(std::move(call));
    return DeviceContext::SetTextColor(colour);
}

QPoint RecordingDc::SetViewportOrgEx(int x, int y)
{
    DcCall call(DcOp::SetViewportOrg);
    call.a = x;
    call.b = y;
    calls_.push_back(std::move(call));
    return DeviceContext::SetViewportOrgEx(x, y);
}

QPoint RecordingDc::MoveToEx(int x, int y)
{
    DcCall call(DcOp::MoveTo);
    call.a = x;
    call.b = y;
    calls_.push_back(std::move(call));
    return DeviceContext::MoveToEx(x, y);
}

void RecordingDc::poly(DcOp op, const QPoint* points, const int32_t* counts, int parts)
{
    DcCall call(op);
    if (parts < 0 || (parts > 0 && (!counts || !points))) {
        calls_.push_back(std::move(call));
        return;
    }
    int64_t total = 0;
    for (int i = 0; i < parts; ++i) {
        call.counts.push_back(counts[i]);
        total += std::max(counts[i], 0);
    }
    call.points.assign(points, points + total);
    calls_.push_back(std::move(call));
}

void RecordingDc::PolyPolygon(const QPoint* points, const int32_t* counts, int polygons)
{
    poly(DcOp::PolyPolygon, points, counts, polygons);
}

void RecordingDc::PolyPolyline(const QPoint* points, const int32_t* counts, int lines)
{
    poly(DcOp::PolyPolyline, points, counts, lines);
}

void RecordingDc::Polygon(const QPoint* points, int count)
{
    DcCall call(DcOp::Polygon);
    if (points && count > 0) call.points.assign(points, points + count);
    calls_.push_back(std::move(call));
}

void RecordingDc::Polyline(const QPoint* points, int count)
{
    DcCall call(DcOp::Polyline);
    if (points && count > 0) call.points.assign(points, points + count);
    calls_.push_back(std::move(call));
}

void RecordingDc::Rectangle(int left, int top, int right, int bottom)
{
    DcCall call(DcOp::Rectangle);
    call.a = left;
    call.b = top;
    call.c = right;
    call.d = bottom;
    calls_.push_back(std::move(call));
}

void RecordingDc::LineTo(int x, int y)
{
    DcCall call(DcOp::LineTo);
    call.a = x;
    call.b = y;
    calls_.push_back(std::move(call));
    position_ = QPoint(x, y);
}

void RecordingDc::TextOutA(int x, int y, const QString& text)
{
    DcCall call(DcOp::TextOut);
    call.a = x;
    call.b = y;
    call.text = text;
    // The text's width and height in the selected font, and the advance of
    // each character, as a metafile needs them to place the characters.
    if (const gdi::Entry* f = gdi::Find(font_); f && f->metrics) {
        const QSize extent = GetTextExtentPoint32A(text);
        call.c = extent.width();
        call.d = extent.height();
        int before = 0;
        for (int i = 1; i <= text.size(); ++i) {
            const int upTo = f->metrics->horizontalAdvance(text.left(i));
            call.counts.push_back(upTo - before);
            before = upTo;
        }
    }
    calls_.push_back(std::move(call));
}

void RecordingDc::DrawSurface(int x, int y, const QImage& source, const QRect& from)
{
    DcCall call(DcOp::BitBlt);
    call.a = x;
    call.b = y;
    call.c = from.width();
    call.d = from.height();
    calls_.push_back(std::move(call));
}

QStringList RecordingDc::Lines() const
{
    QStringList lines;
    QHash<GdiObject, QString> names;
    int ordinal[5] = {};
    auto nameOf = [&](GdiObject h) {
        auto it = names.constFind(h);
        return it != names.constEnd() ? *it : (h ? QStringLiteral("other") : QStringLiteral("none"));
    };
    auto pointList = [](const DcCall& c) {
        QStringList p;
        for (const QPoint& pt : c.points) p << QStringLiteral("%1,%2").arg(pt.x()).arg(pt.y());
        return p.join(QLatin1Char(' '));
    };
    auto countList = [](const DcCall& c) {
        QStringList p;
        for (int32_t n : c.counts) p << QString::number(n);
        return p.join(QLatin1Char('+'));
    };
    auto created = [&](const DcCall& c, GdiKind kind) {
        QString n = QStringLiteral("%1#%2").arg(QLatin1String(kindName(kind))).arg(++ordinal[int(kind)]);
        names.insert(c.object, n);
        return n;
    };
    for (const DcCall& c : calls_) {
        switch (c.op) {
        case DcOp::CreatePen:
            lines << QStringLiteral("CreatePen %1 %2 %3 -> %4").arg(c.a).arg(c.b).arg(hex(c.c), created(c, GdiKind::Pen));
            break;
        case DcOp::CreateSolidBrush:
            lines << QStringLiteral("CreateSolidBrush %1 -> %2").arg(hex(c.c), created(c, GdiKind::Brush));
            break;
        case DcOp::CreateFont:
            lines << QStringLiteral("CreateFont %1 %2 %3 %4 %5 -> %6")
                         .arg(c.a).arg(c.b).arg(c.c).arg(c.d).arg(c.text, created(c, GdiKind::Font));
            break;
        case DcOp::CreateBitmap:
            lines << QStringLiteral("CreateBitmap %1 %2 -> %3").arg(c.a).arg(c.b).arg(created(c, GdiKind::Bitmap));
            break;
        case DcOp::DeleteObject: {
            QString n = nameOf(c.object);
            lines << QStringLiteral("DeleteObject %1").arg(n);
            break;
        }
        case DcOp::SelectObject:
            lines << QStringLiteral("SelectObject %1").arg(nameOf(c.object));
            break;
        case DcOp::SetROP2: lines << QStringLiteral("SetROP2 %1").arg(c.a); break;
        case DcOp::SetBkMode: lines << QStringLiteral("SetBkMode %1").arg(c.a); break;
        case DcOp::SetTextColor: lines << QStringLiteral("SetTextColor %1").arg(hex(c.c)); break;
        case DcOp::SetViewportOrg: lines << QStringLiteral("SetViewportOrg %1 %2").arg(c.a).arg(c.b); break;
        case DcOp::MoveTo: lines << QStringLiteral("MoveTo %1 %2").arg(c.a).arg(c.b); break;
        case DcOp::PolyPolygon:
            lines << QStringLiteral("PolyPolygon %1: %2").arg(countList(c), pointList(c));
            break;
        case DcOp::PolyPolyline:
            lines << QStringLiteral("PolyPolyline %1: %2").arg(countList(c), pointList(c));
            break;
        case DcOp::Polygon: lines << QStringLiteral("Polygon %1").arg(pointList(c)); break;
        case DcOp::Polyline: lines << QStringLiteral("Polyline %1").arg(pointList(c)); break;
        case DcOp::Rectangle:
            lines << QStringLiteral("Rectangle %1 %2 %3 %4").arg(c.a).arg(c.b).arg(c.c).arg(c.d);
            break;
        case DcOp::LineTo: lines << QStringLiteral("LineTo %1 %2").arg(c.a).arg(c.b); break;
        case DcOp::TextOut: lines << QStringLiteral("TextOut %1 %2 %3").arg(c.a).arg(c.b).arg(c.text); break;
        case DcOp::BitBlt: lines << QStringLiteral("BitBlt %1 %2 %3 %4").arg(c.a).arg(c.b).arg(c.c).arg(c.d); break;
        }
    }
    return lines;
}

}  // namespace dorv
