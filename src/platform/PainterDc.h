#pragma once
// Device contexts that draw with a QPainter: on a picture (screen surfaces,
// off-screen bitmaps) and on a printer (paper, PDF).
//
// The painter's pen, brush, font and mix mode are changed only when a drawing
// call needs a different one, and no drawing call allocates beyond what
// QPainter itself does, so drawing through a context costs little more than
// drawing with QPainter directly.

#include "platform/DeviceContext.h"

#include <QPainter>

#include <vector>

class QPrinter;

namespace dorv {

class PainterDc : public DeviceContext {
public:
    int SetROP2(int mode) override;
    QPoint SetViewportOrgEx(int x, int y) override;

    void PolyPolygon(const QPoint* points, const int32_t* counts, int polygons) override;
    void PolyPolyline(const QPoint* points, const int32_t* counts, int lines) override;
    void Polygon(const QPoint* points, int count) override;
    void Polyline(const QPoint* points, int count) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void LineTo(int x, int y) override;
    void TextOutA(int x, int y, const QString& text) override;

protected:
    explicit PainterDc(int logPixelsY);
    // Starts drawing on `device` (ending any earlier painting) and carries
    // the context's state over to the fresh painter.
    bool beginOn(QPaintDevice* device);
    void DrawSurface(int x, int y, const QImage& source, const QRect& from) override;

    // How XOR drawing is done: by the painter's raster operation (pictures),
    // or, where the device cannot combine with what is already there, by
    // drawing in the colour XOR gives over white (printers).
    bool xorAgainstWhite_ = false;
    QPainter painter_;

private:
    // Bring the painter's pen / brush to the selected one; false when the
    // selected pen is the null pen.
    bool applyPen();
    void applyBrush();
    void refreshKeys();
    QColor brushColour() const;
    void applyNoPen();
    void applyNoBrush();
    void applyMixMode();
    void forgetApplied();

    // What the painter holds now, as keys: a colour in the low 24 bits, the
    // width above it; kNone for no pen / no brush, kUnknown when not known.
    static constexpr uint64_t kNone = ~uint64_t(0) - 1;
    static constexpr uint64_t kUnknown = ~uint64_t(0);
    uint64_t painterPen_ = kUnknown;
    uint64_t painterBrush_ = kUnknown;
    // The selected pen and brush as the same keys, refreshed on selection.
    uint64_t penKey_ = kUnknown;
    uint64_t brushKey_ = kUnknown;
    bool fontApplied_ = false;
    bool xorActive_ = false;
    std::vector<QPoint> joined_;  // PolyPolygon's parts as one even-odd outline
};

// A context drawing on a picture. Made by CreateCompatibleDC it is a memory
// context, which draws on the bitmap selected into it; made on a picture
// (a picture box's surface) it draws on that picture, which must outlive it.
class ImageDc : public PainterDc {
public:
    explicit ImageDc(int logPixelsY);             // memory context
    ImageDc(QImage* picture, int logPixelsY);     // on a given picture
    ~ImageDc() override;
    const QImage* Surface() const override { return image_; }
    // Stretches the device area `area` over the whole picture: on a picture
    // of the area's size the drawing is only shifted, on a smaller one it is
    // also shrunk. Only for a context made on a given picture.
    void ShowArea(const QRect& area);

protected:
    bool AcceptBitmap(GdiObject bitmap) override;

private:
    QImage* image_ = nullptr;
    bool memory_;
};

// A context drawing on a printer (paper or a PDF file) that is ready to
// print: the caller keeps the printer, and new pages go through NewPage.
// Fonts keep their pixel heights in the printer's own pixels, since the
// drawing code sizes them from this context's LOGPIXELSY (the printer's
// resolution). Paper cannot be read back, so XOR drawing cannot combine with
// what is printed already: while R2_XORPEN is set, pens and brushes draw in
// the colour that XOR would give over white paper (their colour inverted).
class PrinterDc : public PainterDc {
public:
    explicit PrinterDc(QPrinter* printer);
    ~PrinterDc() override;
    bool IsActive() const { return painter_.isActive(); }
    bool NewPage();
    // Finishes the document; later drawing does nothing.
    bool EndDoc();

private:
    QPrinter* printer_;
};

}  // namespace dorv
