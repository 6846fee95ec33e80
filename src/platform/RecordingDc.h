#pragma once
// A device context that draws nothing and lists every call made on it, with
// the objects created and deleted while it records: for tests of drawing
// code, and as the source of the metafile writers.

#include "platform/DeviceContext.h"

#include <QStringList>

#include <vector>

namespace dorv {

enum class DcOp : uint8_t {
    CreatePen, CreateSolidBrush, CreateFont, CreateBitmap, DeleteObject,
    SelectObject, SetROP2, SetBkMode, SetTextColor, SetViewportOrg, MoveTo,
    PolyPolygon, PolyPolyline, Polygon, Polyline, Rectangle, LineTo, TextOut, BitBlt,
};

struct DcCall {
    explicit DcCall(DcOp o) : op(o) {}
    DcOp op;
    GdiObject object = 0;            // created, deleted or selected object
    int32_t a = 0, b = 0, c = 0, d = 0;  // coordinates, modes, colours
    std::vector<QPoint> points;
    std::vector<int32_t> counts;     // parts of a poly- call; a text's advances
    QString text;
    // SelectObject: the object as it was when selected (objects made before
    // the recording began are known only from here).
    GdiObjectInfo info;
};

// The object a recorded create call made: the reverse of how the recorder
// notes a created object, kept beside it so that the two stay in step.
GdiObjectInfo CreatedObjectInfo(const DcCall& c);

class RecordingDc : public DeviceContext, private GdiObserver {
public:
    explicit RecordingDc(int logPixelsY = 96);
    ~RecordingDc() override;

    const std::vector<DcCall>& Calls() const { return calls_; }
    void Clear() { calls_.clear(); }
    // One readable line per call, such as "Rectangle 0 0 10 10" or
    // "SelectObject pen#3": objects are numbered in the order of creation.
    QStringList Lines() const;
    // Objects created while recording and not deleted again.
    std::vector<GdiObject> Undeleted() const;

    GdiObject SelectObject(GdiObject object) override;
    int SetROP2(int mode) override;
    int SetBkMode(int mode) override;
    ColorRef SetTextColor(ColorRef colour) override;
    QPoint SetViewportOrgEx(int x, int y) override;
    QPoint MoveToEx(int x, int y) override;

    void PolyPolygon(const QPoint* points, const int32_t* counts, int polygons) override;
    void PolyPolyline(const QPoint* points, const int32_t* counts, int lines) override;
    void Polygon(const QPoint* points, int count) override;
    void Polyline(const QPoint* points, int count) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void LineTo(int x, int y) override;
    void TextOutA(int x, int y, const QString& text) override;

protected:
    void DrawSurface(int x, int y, const QImage& source, const QRect& from) override;

private:
    void ObjectCreated(GdiObject object, const GdiObjectInfo& info) override;
    void ObjectDeleted(GdiObject object, bool deleted) override;
    void poly(DcOp op, const QPoint* points, const int32_t* counts, int parts);

    std::vector<DcCall> calls_;
};

}  // namespace dorv
