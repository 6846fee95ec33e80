#pragma once
// Device contexts: the one surface every picture of the program is drawn on
// (the off-screen canvases, picture boxes, the printer, recorded calls for
// tests and metafiles). The operations keep the shape and the names of the
// Windows graphics calls the drawing code was designed around, so that one
// drawing routine serves every device.
//
// Conventions every back end keeps:
// - Coordinates are device pixels, x to the right, y down, whole numbers.
//   No anti-aliasing for lines and fills: a pixel is filled when its centre
//   lies inside the shape.
// - Colours are ColorRef values 0x00bbggrr: red in the low byte.
// - Objects (pens, brushes, fonts, bitmaps) belong to the process, not to a
//   device context: they are created and deleted by free functions and may be
//   selected into any context. SelectObject returns the object it replaces;
//   the caller selects that back before deleting its own object. An object
//   deleted while still selected somewhere is freed when it is deselected.
// - Lines (LineTo, Polyline, PolyPolyline) leave out their very last pixel,
//   so that a closed figure or a chain of LineTo calls touches each pixel
//   once, which XOR drawing relies on.
// - Rectangle(l, t, r, b): the corners may come in any order. Right and
//   bottom are exclusive: with a pen, the outline runs over the boundary
//   pixels of the columns l .. r-1 and rows t .. b-1 (a wider pen is centred
//   on that boundary) and the brush fills the pixels inside it; with the null
//   pen nothing is outlined and the brush fills columns l .. r-2 and rows
//   t .. b-2, one pixel less each way. Callers that fill with the null pen
//   add 1 to right and bottom to fill exactly l .. r-1, t .. b-1.
// - Polygons fill with the alternate (even-odd) rule: in PolyPolygon an inner
//   polygon cuts a hole in the outer one.
// - Text out places the upper-left corner of the text's cell (ascent above
//   the baseline) at (x, y); a font with an escapement turns the text about
//   that corner, counter-clockwise in tenths of a degree.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

namespace dorv {

using ColorRef = int32_t;
using GdiObject = uint32_t;  // a pen, brush, font or bitmap; 0 is none

// Pen styles.
constexpr int32_t PS_SOLID = 0;
constexpr int32_t PS_NULL = 5;
constexpr int32_t PS_GEOMETRIC = 0x10000;
// Mix modes of SetROP2.
constexpr int R2_XORPEN = 7;
constexpr int R2_COPYPEN = 13;
// Background modes of SetBkMode.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// GetDeviceCaps indexes.
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
// The one raster operation of BitBlt.
constexpr uint32_t SRCCOPY = 0xCC0020;
// Font weights.
constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_BOLD = 700;

constexpr ColorRef RGB(int r, int g, int b) { return (r & 255) | ((g & 255) << 8) | ((b & 255) << 16); }

class DeviceContext;

// What an object is, as a recorder or a metafile writer needs to know it.
enum class GdiKind : uint8_t { None, Pen, Brush, Font, Bitmap };
struct GdiObjectInfo {
    GdiKind kind = GdiKind::None;
    int32_t style = 0;   // pen
    int32_t width = 0;   // pen width; bitmap width
    ColorRef colour = 0; // pen, brush
    int32_t height = 0;  // font height as created; bitmap height
    int32_t escapement = 0, orientation = 0, weight = 0;  // font
    QString face;        // font
    bool stock = false;  // a context's default object, never freed
};

// A pen: PS_NULL draws nothing; any other style draws solid lines of `width`
// pixels (0 counts as 1) with round ends and joins.
GdiObject CreatePen(int32_t style, int32_t width, ColorRef colour);
GdiObject CreateSolidBrush(ColorRef colour);
// A font. height < 0: the character (em) height in pixels, as the drawing
// code computes it with -MulDiv(points, LOGPIXELSY, 72); height > 0: the cell
// height (ascent plus descent); 0: a default of 16 pixels. escapement turns
// the text, in tenths of a degree; weight 0 means FW_NORMAL.
GdiObject CreateFontA(int32_t height, int32_t escapement, int32_t orientation, int32_t weight,
                      const QString& face);
// A bitmap of the context's kind (32-bit colour), white, for a memory context.
// A width or height of 0 gives a 1 x 1 bitmap; a negative size, or one that
// cannot be allocated, gives 0.
GdiObject CreateCompatibleBitmap(const DeviceContext& dc, int32_t width, int32_t height);
// False for an unknown handle. Stock objects are never freed.
bool DeleteObject(GdiObject object);

GdiObjectInfo DescribeGdiObject(GdiObject object);
// Objects created and not yet freed (stock objects not counted).
int LiveGdiObjectCount();
// The picture of a bitmap object, or nullptr.
const QImage* GdiBitmapImage(GdiObject bitmap);

// Told of every object created or deleted while it is registered.
class GdiObserver {
public:
    virtual ~GdiObserver() = default;
    virtual void ObjectCreated(GdiObject object, const GdiObjectInfo& info) = 0;
    virtual void ObjectDeleted(GdiObject object, bool deleted) = 0;
};
void AddGdiObserver(GdiObserver* observer);
void RemoveGdiObserver(GdiObserver* observer);

// number x numerator / denominator with a 64-bit intermediate, rounded to the
// nearest whole number, halves away from zero; -1 when denominator is 0 or
// the result does not fit in 32 bits.
int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator);

// The desktop's colours that the window backgrounds use, taken from the
// application palette: 3 the inactive title bar (inactive highlight), 5 the
// window background (base), 19 the inactive title text (inactive highlighted
// text). Other indexes give black.
ColorRef GetSysColor(int index);

class DeviceContext {
public:
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    virtual ~DeviceContext();

    // Returns the object of the same kind that was selected, or 0 when
    // `object` is unknown or cannot be selected here (a bitmap outside a
    // memory context, or one already selected into another context).
    virtual GdiObject SelectObject(GdiObject object);
    // Returns the previous mode; an unknown mode changes nothing and gives 0.
    virtual int SetROP2(int mode);
    virtual int SetBkMode(int mode);
    virtual ColorRef SetTextColor(ColorRef colour);
    // Moves the device origin; returns the previous one.
    virtual QPoint SetViewportOrgEx(int x, int y);
    // Sets the current position; returns the previous one.
    virtual QPoint MoveToEx(int x, int y);
    int GetDeviceCaps(int index) const;

    // Drawing. points/counts are read only as far as the counts say. A line
    // or polygon needs 2 points at least; a poly- call with a part of fewer
    // points, or a negative number of parts, draws nothing at all.
    virtual void PolyPolygon(const QPoint* points, const int32_t* counts, int polygons) = 0;
    virtual void PolyPolyline(const QPoint* points, const int32_t* counts, int lines) = 0;
    virtual void Polygon(const QPoint* points, int count) = 0;
    virtual void Polyline(const QPoint* points, int count) = 0;
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    // A line from the current position; the end becomes the current position.
    virtual void LineTo(int x, int y) = 0;
    virtual void TextOutA(int x, int y, const QString& text) = 0;
    // Width and height (ascent plus descent) of `text` in the selected font,
    // unturned.
    virtual QSize GetTextExtentPoint32A(const QString& text) const;

    // The picture this context draws on (a memory context's bitmap, a picture
    // box's surface), or nullptr (printer, recorder). It is shared with the
    // context: copy it (QImage::copy) to keep a picture of it.
    virtual const QImage* Surface() const { return nullptr; }

    GdiObject CurrentPen() const { return pen_; }
    GdiObject CurrentBrush() const { return brush_; }
    GdiObject CurrentFont() const { return font_; }
    GdiObject CurrentBitmap() const { return bitmap_; }
    int ROP2() const { return rop2_; }
    int BkMode() const { return bkMode_; }
    ColorRef TextColor() const { return textColour_; }
    QPoint CurrentPosition() const { return position_; }
    QPoint ViewportOrg() const { return origin_; }
    int LogPixelsY() const { return logPixelsY_; }

protected:
    explicit DeviceContext(int logPixelsY);
    // A memory context takes bitmaps; others refuse them.
    virtual bool AcceptBitmap(GdiObject bitmap) { return false; }
    // Copies `from` of `source` to (x, y) of this context (BitBlt's target).
    virtual void DrawSurface(int x, int y, const QImage& source, const QRect& from) = 0;
    friend bool BitBlt(DeviceContext&, int, int, int, int, const DeviceContext&, int, int, uint32_t);

    GdiObject pen_, brush_, font_, bitmap_ = 0;
    int rop2_ = R2_COPYPEN;
    int bkMode_ = OPAQUE;
    ColorRef textColour_ = 0;
    QPoint position_;
    QPoint origin_;
    int logPixelsY_;
    // Set when a selection or mode changed; back ends clear them once they
    // have carried the change over to their own state.
    bool penChanged_ = true, brushChanged_ = true, fontChanged_ = true;
};

// A memory context for off-screen drawing, of the same resolution as `dc`
// (or 96 dots per inch without one). It holds a 1 x 1 stock bitmap, on which
// nothing is drawn, until a bitmap is selected into it.
std::unique_ptr<DeviceContext> CreateCompatibleDC(const DeviceContext* dc);
// Frees a context, deselecting its objects. Returns false for none.
bool DeleteDC(std::unique_ptr<DeviceContext>& dc);

// Copies a w x h block at (sx, sy) of `source`'s picture to (x, y) of
// `target`, whatever target's mix mode. Only SRCCOPY is offered. False when
// the source has no picture or the operation is another.
bool BitBlt(DeviceContext& target, int x, int y, int w, int h, const DeviceContext& source, int sx,
            int sy, uint32_t rop);

}  // namespace dorv
