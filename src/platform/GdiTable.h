#pragma once
// The process's table of drawing objects, shared by the device-context back
// ends. Handles carry a generation, so a handle of a freed object is never
// taken for the object that later reuses its slot.

#include "platform/DeviceContext.h"

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QPen>

#include <memory>

namespace dorv::gdi {

struct Entry {
    GdiObjectInfo info;                    // pens and brushes need no more
    QFont font;                            // fonts
    std::unique_ptr<QFontMetrics> metrics; // fonts
    std::unique_ptr<QImage> image;         // bitmaps (a stable address for painters)
    int selected = 0;                      // contexts it is selected into
    bool deletePending = false;
    bool live = false;
    uint16_t generation = 0;
};

// The live object of a handle, or nullptr.
Entry* Find(GdiObject object);

// What a painter draws with for a pen of `width` pixels (0 and 1 both mean
// one device pixel) and a brush, in `colour`: made once for each width and
// colour in use and shared after that, since the views make and free a pen
// and a brush for every shape they draw.
const QPen& PainterPen(int32_t width, ColorRef colour);
const QBrush& PainterBrush(ColorRef colour);

// The objects a new context starts with.
GdiObject StockPen();     // black, 1 pixel
GdiObject StockBrush();   // white
GdiObject StockFont();    // Arial, 16 pixels
GdiObject StockBitmap();  // 1 x 1, held by a memory context before its own bitmap

// Selection counts: an object deleted while selected is freed when its last
// context lets it go.
void Selected(GdiObject object);
void Deselected(GdiObject object);

}  // namespace dorv::gdi
