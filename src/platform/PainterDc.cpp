#include "platform/PainterDc.h"

#include "platform/GdiTable.h"

#include <QPrinter>
#include <QTransform>

#include <algorithm>

namespace dorv {

namespace {

QColor toQColor(ColorRef c) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

// Checks a poly- call's counts; returns the number of points, or -1.
int64_t totalPoints(const int32_t* counts, int parts)
{
    if (parts < 0 || (parts > 0 && !counts)) return -1;
    int64_t total = 0;
    for (int i = 0; i < parts; ++i) {
        if (counts[i] < 2) return -1;
        total += counts[i];
    }
    return total;
}

}  // namespace

PainterDc::PainterDc(int logPixelsY) : DeviceContext(logPixelsY) {}

bool PainterDc::beginOn(QPaintDevice* device)
{
    if (painter_.isActive()) painter_.end();
    if (!device || !painter_.begin(device)) return false;
    if (!origin_.isNull()) painter_.setTransform(QTransform::fromTranslate(origin_.x(), origin_.y()));
    xorActive_ = false;
    applyMixMode();
    forgetApplied();
    return true;
}

void PainterDc::forgetApplied()
{
    painterPen_ = kUnknown;
    painterBrush_ = kUnknown;
    penChanged_ = brushChanged_ = true;
    fontApplied_ = false;
}

int PainterDc::SetROP2(int mode)
{
    int previous = DeviceContext::SetROP2(mode);
    if (previous != 0) applyMixMode();
    return previous;
}

void PainterDc::applyMixMode()
{
    bool want = rop2_ == R2_XORPEN;
    if (want == xorActive_) return;
    xorActive_ = want;
    if (xorAgainstWhite_) {
        penChanged_ = brushChanged_ = true;  // colours change, not the painter's mode
    } else if (painter_.isActive()) {
        painter_.setCompositionMode(want ? QPainter::RasterOp_SourceXorDestination
                                         : QPainter::CompositionMode_SourceOver);
    }
}

QPoint PainterDc::SetViewportOrgEx(int x, int y)
{
    QPoint previous = DeviceContext::SetViewportOrgEx(x, y);
    if (previous != origin_ && painter_.isActive())
        painter_.setTransform(QTransform::fromTranslate(x, y));
    return previous;
}

void PainterDc::refreshKeys()
{
    bool invert = xorActive_ && xorAgainstWhite_;
    if (penChanged_) {
        const gdi::Entry* pen = gdi::Find(pen_);
        if (!pen || (pen->info.style & 0xF) == PS_NULL) {
            penKey_ = kNone;
        } else {
            ColorRef c = pen->info.colour ^ (invert ? 0xFFFFFF : 0);
            penKey_ = (uint64_t(uint32_t(std::max(pen->info.width, 1))) << 24) | uint32_t(c & 0xFFFFFF);
        }
        penChanged_ = false;
    }
    if (brushChanged_) {
        const gdi::Entry* brush = gdi::Find(brush_);
        if (!brush) {
            brushKey_ = kNone;
        } else {
            ColorRef c = brush->info.colour ^ (invert ? 0xFFFFFF : 0);
            brushKey_ = uint32_t(c & 0xFFFFFF);
        }
        brushChanged_ = false;
    }
}

bool PainterDc::applyPen()
{
    refreshKeys();
    if (penKey_ == kNone) {
        applyNoPen();
        return false;
    }
    if (painterPen_ != penKey_) {
        painter_.setPen(gdi::PainterPen(int32_t(penKey_ >> 24), ColorRef(penKey_ & 0xFFFFFF)));
        painterPen_ = penKey_;
    }
    return true;
}

void PainterDc::applyBrush()
{
    refreshKeys();
    if (brushKey_ == kNone) {
        applyNoBrush();
        return;
    }
    if (painterBrush_ != brushKey_) {
        painter_.setBrush(gdi::PainterBrush(ColorRef(brushKey_)));
        painterBrush_ = brushKey_;
    }
}

QColor PainterDc::brushColour() const
{
    return toQColor(ColorRef(brushKey_ == kNone ? 0xFFFFFF : brushKey_));
}

void PainterDc::applyNoPen()
{
    if (painterPen_ != kNone) {
        painter_.setPen(Qt::NoPen);
        painterPen_ = kNone;
    }
}

void PainterDc::applyNoBrush()
{
    if (painterBrush_ != kNone) {
        painter_.setBrush(Qt::NoBrush);
        painterBrush_ = kNone;
    }
}

void PainterDc::PolyPolygon(const QPoint* points, const int32_t* counts, int polygons)
{
    int64_t total = totalPoints(counts, polygons);
    if (total <= 0 || !points || !painter_.isActive()) return;
    if (polygons == 1) {
        applyBrush();
        applyPen();
        painter_.drawPolygon(points, counts[0], Qt::OddEvenFill);
        return;
    }
    // All parts as one outline: each part is closed back to its first point
    // and joined to the first part's first point by an edge walked there and
    // back, which the even-odd rule does not count. So the parts fill as one
    // figure and an inner part cuts a hole, without building a path.
    joined_.clear();
    const QPoint anchor = points[0];
    const QPoint* part = points;
    for (int i = 0; i < polygons; ++i) {
        joined_.insert(joined_.end(), part, part + counts[i]);
        joined_.push_back(part[0]);
        if (i > 0) joined_.push_back(anchor);
        part += counts[i];
    }
    applyBrush();
    bool outline = penKey_ != kNone;  // applyBrush refreshed the keys
    applyNoPen();
    painter_.drawPolygon(joined_.data(), int(joined_.size()), Qt::OddEvenFill);
    if (outline) {
        applyNoBrush();
        applyPen();
        part = points;
        for (int i = 0; i < polygons; ++i) {
            painter_.drawPolygon(part, counts[i]);
            part += counts[i];
        }
    }
}

void PainterDc::PolyPolyline(const QPoint* points, const int32_t* counts, int lines)
{
    int64_t total = totalPoints(counts, lines);
    if (total <= 0 || !points || !painter_.isActive() || !applyPen()) return;
    const QPoint* part = points;
    for (int i = 0; i < lines; ++i) {
        painter_.drawPolyline(part, counts[i]);
        part += counts[i];
    }
}

void PainterDc::Polygon(const QPoint* points, int count)
{
    if (count < 2 || !points || !painter_.isActive()) return;
    applyBrush();
    applyPen();
    painter_.drawPolygon(points, count, Qt::OddEvenFill);
}

void PainterDc::Polyline(const QPoint* points, int count)
{
    if (count < 2 || !points || !painter_.isActive() || !applyPen()) return;
    painter_.drawPolyline(points, count);
}

void PainterDc::Rectangle(int left, int top, int right, int bottom)
{
    if (!painter_.isActive()) return;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right == left || bottom == top) return;
    refreshKeys();
    if (penKey_ == kNone) {
        if (right - left > 1 && bottom - top > 1)
            painter_.fillRect(QRect(left, top, right - left - 1, bottom - top - 1), brushColour());
        return;
    }
    if (right - left > 2 && bottom - top > 2)
        painter_.fillRect(QRect(left + 1, top + 1, right - left - 2, bottom - top - 2), brushColour());
    applyPen();
    // The outline as one closed line over the boundary pixels; its last
    // point, the first one again, is left out, so each pixel is drawn once.
    const QPoint edge[5] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}, {left, top}};
    painter_.drawPolyline(edge, 5);
}

void PainterDc::LineTo(int x, int y)
{
    QPoint from = position_;
    position_ = QPoint(x, y);
    if (!painter_.isActive() || !applyPen()) return;
    painter_.drawLine(from, position_);
}

void PainterDc::TextOutA(int x, int y, const QString& text)
{
    if (text.isEmpty() || !painter_.isActive()) return;
    const gdi::Entry* f = gdi::Find(font_);
    if (!f || !f->metrics) return;
    if (!fontApplied_ || fontChanged_) {
        painter_.setFont(f->font);
        fontApplied_ = true;
        fontChanged_ = false;
    }
    // Text ignores the mix mode.
    bool restoreXor = xorActive_ && !xorAgainstWhite_;
    if (restoreXor) painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    int escapement = f->info.escapement % 3600;
    if (escapement != 0) {
        QTransform t = QTransform::fromTranslate(origin_.x() + x, origin_.y() + y);
        t.rotate(-escapement / 10.0);
        painter_.setTransform(t);
        x = y = 0;
    }
    if (bkMode_ == OPAQUE) {
        QSize extent = GetTextExtentPoint32A(text);
        painter_.fillRect(QRect(QPoint(x, y), extent), Qt::white);
    }
    painter_.setPen(toQColor(textColour_));
    painterPen_ = kUnknown;
    painter_.drawText(QPoint(x, y + f->metrics->ascent()), text);
    if (escapement != 0) painter_.setTransform(QTransform::fromTranslate(origin_.x(), origin_.y()));
    if (restoreXor) painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
}

void PainterDc::DrawSurface(int x, int y, const QImage& source, const QRect& from)
{
    if (!painter_.isActive()) return;
    QRect clipped = from.intersected(source.rect());
    if (clipped.isEmpty()) return;
    QPoint to(x + clipped.x() - from.x(), y + clipped.y() - from.y());
    bool restoreXor = xorActive_ && !xorAgainstWhite_;
    if (restoreXor) painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (painter_.device() == &source)
        painter_.drawImage(to, source.copy(clipped));  // a block copied onto itself
    else
        painter_.drawImage(to, source, clipped);
    if (restoreXor) painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
}

// ---- pictures ----

ImageDc::ImageDc(int logPixelsY) : PainterDc(logPixelsY), memory_(true)
{
    bitmap_ = gdi::StockBitmap();
    gdi::Selected(bitmap_);
    image_ = const_cast<QImage*>(GdiBitmapImage(bitmap_));
}

ImageDc::ImageDc(QImage* picture, int logPixelsY) : PainterDc(logPixelsY), image_(picture), memory_(false)
{
    beginOn(picture);
}

ImageDc::~ImageDc()
{
    if (painter_.isActive()) painter_.end();
}

void ImageDc::ShowArea(const QRect& area)
{
    if (!memory_ && painter_.isActive() && area.isValid()) painter_.setWindow(area);
}

bool ImageDc::AcceptBitmap(GdiObject bitmap)
{
    if (!memory_) return false;
    gdi::Entry* e = gdi::Find(bitmap);
    if (!e || !e->image) return false;
    if (e->info.stock) {
        // Nothing is drawn on the shared 1 x 1 bitmap.
        if (painter_.isActive()) painter_.end();
    } else if (!beginOn(e->image.get())) {
        return false;
    }
    image_ = e->image.get();
    return true;
}

// ---- printers ----

PrinterDc::PrinterDc(QPrinter* printer) : PainterDc(printer ? printer->resolution() : 0), printer_(printer)
{
    xorAgainstWhite_ = true;
    if (printer_) beginOn(printer_);
}

PrinterDc::~PrinterDc()
{
    if (painter_.isActive()) painter_.end();
}

bool PrinterDc::NewPage() { return painter_.isActive() && printer_->newPage(); }

bool PrinterDc::EndDoc() { return painter_.isActive() && painter_.end(); }

}  // namespace dorv
